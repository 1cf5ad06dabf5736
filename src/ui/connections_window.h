#pragma once
// "Conexiones": the window in which the director chooses where passes from a
// track sensor come from (none, a serial port at a speed, or a gate on the
// network), sees the link's state and tries each lane before a race ("coche
// 3 visto"). Other connections (the results page) put their panel below.

#include <QDialog>
#include <array>
#include <functional>
#include <vector>

#include "platform/decoder_link.h"
#include "race/model.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSettings;
class QSpinBox;

namespace ui {

// The link chosen in an earlier run; none when nothing was saved.
platform::LinkChoice LoadLinkChoice(QSettings& settings);
void SaveLinkChoice(QSettings& settings, const platform::LinkChoice& choice);

// The state of the link in a few words, for the window and the main window.
QString LinkStateText(platform::DecoderLink::State state, bool spanish);

class ConnectionsWindow final : public QDialog {
 public:
  // `settings` keeps the choice for the next run; it may be null (no keeping).
  ConnectionsWindow(platform::DecoderLink& link, QSettings* settings, QWidget* parent = nullptr);

  // The serial ports to offer; the machine's by default.
  void SetPortLister(std::function<QStringList()> ports) { ports_ = std::move(ports); }
  // A panel of another connection or setting, placed below the sensor's and
  // the panels added before (the window grows to hold it) and told the
  // language on each opening. Beside the others, it starts a column of its
  // own on the right.
  void AddPanel(QWidget* panel, std::function<void(bool spanish)> setLanguage, bool besideTheOthers = false);

  // Sets the texts in the language and shows the window modally.
  int ShowModal(bool spanish);
  void Prepare(bool spanish);

  // "Conectar": opens the chosen link and keeps the choice.
  void Apply();

 private:
  void BuildControls();
  void SetTexts();
  void ShowChoice(const platform::LinkChoice& choice);
  platform::LinkChoice ChosenLink() const;
  void ShowStatus();

  platform::DecoderLink& link_;
  QSettings* settings_;
  std::function<QStringList()> ports_;
  std::vector<std::function<void(bool)>> panelLanguages_;
  int panelsBottom_ = 0;   // below the sensor's
  int besideBottom_ = 0;  // in the column on the right
  bool spanish_ = true;
  std::array<bool, race::kCars + 1> seen_{};  // cars seen since the window opened
  int lastSeen_ = 0;

  QGroupBox* sensorGroup_ = nullptr;
  QButtonGroup* kinds_ = nullptr;
  std::array<QRadioButton*, 3> kindItems_{};
  QComboBox* portBox_ = nullptr;
  QComboBox* baudBox_ = nullptr;
  QLineEdit* hostEdit_ = nullptr;
  QSpinBox* tcpPortBox_ = nullptr;
  QPushButton* connectButton_ = nullptr;
  QLabel* stateLabel_ = nullptr;
  QLabel* detailsLabel_ = nullptr;
  QLabel* seenLabel_ = nullptr;
  std::array<QLabel*, race::kCars + 1> carCells_{};
  QPushButton* closeButton_ = nullptr;
};

}  // namespace ui

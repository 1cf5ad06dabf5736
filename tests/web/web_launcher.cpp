// The program as it runs with the results page switched on from the command
// line ("--web [ADDRESS:]PORT"), for the page's end-to-end tests: the same
// windows and services as src/app/main.cpp, plus the web server fed from
// the main window's race control.
//
// The main window keeps its race control and its observer methods to itself
// until it offers the hook the page needs. Until then this launcher, and
// only this test launcher, reaches them through explicit template
// instantiation, which the language exempts from access checks: no file of
// the program is changed for it.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <cstring>

#include "platform/clock.h"
#include "platform/counter.h"
#include "platform/directory.h"
#include "platform/qt_message_boxes.h"
#include "platform/qt_sound.h"
#include "printing/print_dialogs.h"
#include "printing/print_setup_window.h"
#include "printing/printer_settings.h"
#include "ui/events_review_window.h"
#include "ui/files_browser.h"
#include "ui/main_window.h"
#include "ui/record_folder.h"
#include "ui/results_window.h"
#include "web/live_feed.h"
#include "web/web_server.h"

namespace {

template <typename Tag, typename Tag::type Member>
struct Reach {
  friend typename Tag::type Get(Tag) { return Member; }
};

struct RaceOf {
  using type = race::RaceControl ui::TForm1::*;
  friend type Get(RaceOf);
};
struct ScreenChangedOf {
  using type = void (ui::TForm1::*)();
  friend type Get(ScreenChangedOf);
};
struct RunningChangedOf {
  using type = void (ui::TForm1::*)(bool);
  friend type Get(RunningChangedOf);
};
struct PassAcceptedOf {
  using type = void (ui::TForm1::*)(int);
  friend type Get(PassAcceptedOf);
};
struct ShowTextOf {
  using type = void (ui::TForm1::*)(const std::string&);
  friend type Get(ShowTextOf);
};
struct ShowMessageOf {
  using type = void (ui::TForm1::*)(const std::string&);
  friend type Get(ShowMessageOf);
};

template struct Reach<RaceOf, &ui::TForm1::race_>;
template struct Reach<ScreenChangedOf, &ui::TForm1::ScreenChanged>;
template struct Reach<RunningChangedOf, &ui::TForm1::RunningChanged>;
template struct Reach<PassAcceptedOf, &ui::TForm1::PassAccepted>;
template struct Reach<ShowTextOf, &ui::TForm1::ShowError>;
template struct Reach<ShowMessageOf, &ui::TForm1::ShowMessage>;

// What the main window's own ScreenChanged() will do once it has the hook:
// render, then tell the feed.
class WindowAndFeed final : public race::RaceObserver {
 public:
  WindowAndFeed(ui::TForm1& window, web::LiveFeed& feed) : window_(window), feed_(feed) {}
  void ScreenChanged() override {
    (window_.*Get(ScreenChangedOf{}))();
    feed_.ScreenChanged();
  }
  void RunningChanged(bool running) override { (window_.*Get(RunningChangedOf{}))(running); }
  void PassAccepted(int car) override { (window_.*Get(PassAcceptedOf{}))(car); }
  void ShowError(const std::string& message) override { (window_.*Get(ShowTextOf{}))(message); }
  void ShowMessage(const std::string& message) override { (window_.*Get(ShowMessageOf{}))(message); }

 private:
  ui::TForm1& window_;
  web::LiveFeed& feed_;
};

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("PULSE_LATENCY_MSEC")) qputenv("PULSE_LATENCY_MSEC", "60");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(ui::kAppTitle));

  std::optional<web::WebAddress> webAddress;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--web") != 0) continue;
    webAddress = i + 1 < argc ? web::ParseWebAddress(QString::fromLocal8Bit(argv[i + 1])) : std::nullopt;
    if (!webAddress) {
      std::fprintf(stderr, "usage: %s [--web [ADDRESS:]PORT]\n", argv[0]);
      return 64;
    }
  }

  platform::QtMessageBoxes boxes;
  const QString programFolder = QCoreApplication::applicationDirPath();
  const QString folder = ui::ChooseRecordFolder(programFolder, QStringLiteral(TRELVIX_INSTALLED_BINDIR));
  const auto lock = ui::LockRecordFolder(folder, boxes);
  if (!lock) return 1;

  platform::MonotonicCounter counter;
  platform::SystemClock clock;
  platform::QtSound sound{QDir(ui::ChooseCueFolder(programFolder, QStringLiteral(TRELVIX_INSTALLED_CUEDIR)))};
  platform::PosixDirectoryLister lister;
  const std::string recordFolder = QDir::toNativeSeparators(folder).toStdString();
  ui::TForm1 form1({counter, clock, sound.device(), boxes, lister, recordFolder, platform::ReadBootId()});
  boxes.SetParent(&form1);
  printing::PrinterSettings printerSettings;
  printing::QtPrintDialogs printDialogs;
  ui::SettingsReportPrinter reportPrinter(printerSettings, boxes);
  ui::TForm2 form2({lister, boxes, reportPrinter, recordFolder}, &form1);
  ui::TForm3 form3(boxes, reportPrinter, &form2);
  printing::TForm8 form8(printerSettings, printDialogs, boxes, &form2);
  form2.SetEventsReview(&form3);
  form2.SetPrintSetup(&form8);
  ui::TForm4 form4;
  form1.SetFilesBrowser(&form2);
  form1.SetResultsWindow(&form4);
  form1.SetQuitHandler([](int code) { QCoreApplication::exit(code); });

  race::RaceControl& control = form1.*Get(RaceOf{});
  web::WebServer server(recordFolder);
  web::LiveFeed feed(control, server);
  WindowAndFeed observer(form1, feed);
  control.SetObserver(&observer);
  // The program goes on without the page when its port is taken.
  if (webAddress && !server.Start(*webAddress)) boxes.Info(ui::kAppTitle, server.message().toStdString());

  form1.show();
  const int code = QApplication::exec();
  control.SetObserver(nullptr);
  return code;
}

// The setup panel: race length, timing, minimum lap, description, sound,
// second monitor and the language square.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTextDocument>

#include "race/setup.h"
#include "ui/main_window.h"
#include "ui/results_window.h"
#include "ui/widgets.h"

namespace ui {

namespace {

constexpr Words kLongRaces{"Para carreras de larga duración se recomienda cuentavueltas automático.",
                           "For long races an automatic lap counter is recommended."};
constexpr Words kResultsWindowAt{"Ventana de resultados en:\r-Vertical: %1\r-Horizontal: %2",
                                 "Results window on:\r-Vertical: %1\r-Horizontal: %2"};

// A radio group whose items the operator picks; items are placed column by
// column, as many rows per column as `rows`.
QGroupBox* MakeRadioGroup(QWidget* parent, const char* name, const QRect& place, int items, int rows,
                          int columnWidth, QButtonGroup*& group) {
  auto* box = new QGroupBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(place);
  box->setFont(SmallFont());
  group = new QButtonGroup(box);
  for (int i = 0; i < items; ++i) {
    auto* item = new QRadioButton(box);
    item->setObjectName(QString::fromLatin1(name) + QStringLiteral("Item") + QString::number(i));
    item->setGeometry(5 + (i / rows) * columnWidth, 13 + (i % rows) * 18, columnWidth - 2, 16);
    item->setFont(SmallFont());
    group->addButton(item, i);
  }
  return box;
}

// Spin boxes here change only by their arrows: typing is refused.
QSpinBox* MakeArrowSpin(QWidget* parent, const char* name, const QRect& place, int minimum, int maximum) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setGeometry(place);
  spin->setFont(SmallFont());
  spin->setRange(minimum, maximum);
  if (auto* typing = spin->findChild<QLineEdit*>()) typing->setReadOnly(true);
  return spin;
}

}  // namespace

void TForm1::BuildSetupPanel() {
  panel3_ = MakeFrame(this, QStringLiteral("Panel3"), QRect(80, 0, 349, 153));
  panel3_->setFont(SmallFont());

  radioGroup2_ = MakeRadioGroup(panel3_, "RadioGroup2", QRect(4, 0, 161, 73), race::kDurationItems, 3, 52,
                                durations_);
  durations_->button(0)->setText(QStringLiteral("5 min"));
  durations_->button(1)->setText(QStringLiteral("10 min"));
  durations_->button(2)->setText(QStringLiteral("15 min"));
  durations_->button(3)->setText(QStringLiteral("20 min"));
  durations_->button(4)->setText(QStringLiteral("30 min"));
  durations_->button(5)->setText(QStringLiteral("45 min"));
  connect(durations_, &QButtonGroup::idClicked, this, [this](int item) { race_.RadioGroup2Click(item); });

  spinEdit1_ = MakeArrowSpin(panel3_, "SpinEdit1", QRect(112, 36, 49, 19), race::kMinSpinMinutes,
                             race::kMaxSpinMinutes);
  connect(spinEdit1_, &QSpinBox::valueChanged, this, [this](int minutes) { SpinEdit1Change(minutes); });

  radioGroup1_ = MakeRadioGroup(panel3_, "RadioGroup1", QRect(244, 40, 77, 49), 2, 2, 74, timings_);
  timings_->button(0)->setText(QStringLiteral("Individual"));
  connect(timings_, &QButtonGroup::idClicked, this, [this](int item) { race_.RadioGroup1Click(item); });

  MakeCaption(panel3_, "Label95", 168, 6, SmallFont());
  label96_ = MakeCell(panel3_, QStringLiteral("Label96"), QRect(232, 6, 17, 13), CellFont(), Qt::AlignRight,
                      Qt::white);
  MakeCaption(panel3_, "Label91", 168, 32, SmallFont());
  label92_ = MakeCaption(panel3_, "Label92", 180, 48, SmallFont());

  MakeCaption(panel3_, "Label90", 8, 96, SmallFont());
  edit1_ = new QLineEdit(panel3_);
  edit1_->setObjectName(QStringLiteral("Edit1"));
  edit1_->setGeometry(64, 92, 273, 22);
  edit1_->setFont(CellFont());
  edit1_->setMaxLength(race::kDescriptionMaxLength);
  connect(edit1_, &QLineEdit::textEdited, this, [this](const QString& text) { Edit1Change(text); });

  MakeCaption(panel3_, "Label93", 4, 128, SmallFont());
  spinEdit2_ = MakeArrowSpin(panel3_, "SpinEdit2", QRect(72, 124, 45, 19), race::kMinMinLapSeconds,
                             race::kMaxMinLapSeconds);
  connect(spinEdit2_, &QSpinBox::valueChanged, this,
          [this](int seconds) { race_.Setup().SetMinLapSeconds(seconds); });

  checkBox13_ = new QCheckBox(panel3_);
  checkBox13_->setObjectName(QStringLiteral("CheckBox13"));
  checkBox13_->setGeometry(256, 4, 50, 17);
  checkBox13_->setFont(SmallFont());
  connect(checkBox13_, &QCheckBox::clicked, this, [this](bool ticked) { race_.Setup().SetSoundTicked(ticked); });

  checkBox14_ = new QCheckBox(QStringLiteral("Multimonitor"), panel3_);
  checkBox14_->setObjectName(QStringLiteral("CheckBox14"));
  checkBox14_->setGeometry(256, 20, 73, 17);
  checkBox14_->setFont(SmallFont());
  connect(checkBox14_, &QCheckBox::clicked, this, [this](bool ticked) { CheckBox14Click(ticked); });

  auto* square = new ClickableLabel(panel3_);
  square->setObjectName(QStringLiteral("Label98"));
  square->setGeometry(324, 8, 4, 4);
  square->setToolTip(QStringLiteral("Cambia idioma/Changes language"));
  SetColour(square, QPalette::Window, Qt::yellow);
  square->onClick = [this] { Label98Click(); };

  memo3_ = new QPlainTextEdit(panel3_);
  memo3_->setObjectName(QStringLiteral("Memo3"));
  memo3_->setGeometry(128, 116, 209, 33);
  memo3_->setEnabled(false);
  memo3_->setFont(SmallFont());
  memo3_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo3_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo3_->document()->setDocumentMargin(2);
  SetColour(memo3_, QPalette::Base, QColor(255, 0, 255));
  SetColour(memo3_, QPalette::Text, Qt::black);
}

void TForm1::RenderSetupPanel(bool all) {
  const race::SetupChoices& setup = race_.Setup();
  const race::RaceScreen& s = race_.Screen();
  const SetupShown now{setup.durationItem(), setup.timingItem(), setup.spinMinutes(), setup.minLapSeconds(),
                       setup.soundTicked()};
  if (all || !(now == shownSetup_)) {
    const QSignalBlocker quietDurations(durations_);
    const QSignalBlocker quietTimings(timings_);
    const QSignalBlocker quietSpin1(spinEdit1_);
    const QSignalBlocker quietSpin2(spinEdit2_);
    durations_->button(now.durationItem)->setChecked(true);
    timings_->button(now.timingItem)->setChecked(true);
    spinEdit1_->setValue(now.spinMinutes);
    spinEdit2_->setValue(now.minLapSeconds);
    checkBox13_->setChecked(now.soundTicked);
    shownSetup_ = now;
  }
  // The description as the setup has it, when it came from elsewhere (a
  // meeting's heat); what the operator types is already there.
  const QString description = Q(setup.Description(race_.spanish()));
  if (edit1_->text() != description) edit1_->setText(description);
  ShowChanged(label96_, s.participantCount, shown_.participantCount, all);
  if (all || s.nextFile != shown_.nextFile) {
    label92_->setText(Q(s.nextFile));
    label92_->adjustSize();
    shown_.nextFile = s.nextFile;
  }
}

void TForm1::SpinEdit1Change(int minutes) {
  race_.SpinEdit1Change(minutes);
  // Longer races are better counted by machine; the limit stays where it is.
  if (minutes == race::kMaxSpinMinutes) {
    services_.boxes.Info(kAppTitle, kLongRaces.Pick(race_.spanish()));
  }
}

void TForm1::Edit1Change(const QString& text) { race_.Setup().SetDescription(race_.spanish(), text.toStdString()); }

void TForm1::CheckBox14Click(bool ticked) {
  if (form4_ != nullptr) {
    if (ticked) {
      form4_->show();
      services_.boxes.Info(kAppTitle, records::Filled(kResultsWindowAt.Pick(race_.spanish()),
                                                      std::to_string(form4_->y()), std::to_string(form4_->x())));
    } else {
      form4_->hide();
    }
  }
  // The function keys must reach the lap input again.
  activateWindow();
  setFocus();
}

void TForm1::Label98Click() {
  race_.ToggleLanguage();
  ApplyLanguage(false);
}

}  // namespace ui

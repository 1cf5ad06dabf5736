// The main window's texts in the chosen language, as the yellow square
// switches them.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

#include "race/texts.h"
#include "ui/main_window.h"
#include "ui/widgets.h"

namespace ui {

namespace {

constexpr Words kTiming{"Cronometraje", "Timing"};
constexpr Words kCommon{"Común", "Common"};
constexpr Words kRaceLength{"Duración", "Race length"};
constexpr Words kOther{"Otra...", "Other..."};

constexpr Words kTitle{"Cuentavueltas/incidolímetro TRELVIX (TRELVIX). Versión 0.9902",
                      "Lap/events counter TRELVIX (TRELVIX). Version 0.9902"};

// The checklist before a start; the last line stays empty.
constexpr std::array<Words, 9> kChecklist = {{{"IMPORTANTE:", "IMPORTANT:"},
                                             {"-Participantes.", "-Participants."},
                                             {"-Duración.", "-Race length."},
                                             {"-Cronometraje.", "-Timing."},
                                             {"-Vuelta mínima.", "-Minimum lap."},
                                             {"-Descripción.", "-Description."},
                                             {"-Sonoro.", "-Sound."},
                                             {"-Multimonitor.", "-Multimonitor."},
                                             {"", ""}}};

constexpr std::array<Words, 2> kSponsorMemo = {{{"Espacio para patrocinadores:", "Room for sponsors:"},
                                               {"su club o su tienda aquí.", "your club or shop here."}}};
constexpr Words kSponsorLine{"Conoce a los patrocinadores", "Meet our sponsors"};

// Captions that take their size from their text.
struct Caption {
  const char* name;
  Words text;
};
constexpr std::array<Caption, 18> kCaptions = {{
    {"Label52", {"Vueltas", "Laps"}},
    {"Label14", {"Última vuelta", "Last lap"}},
    {"Label39", {"Vuelta rápida", "Fastest lap"}},
    {"Label1", {"Tiempo acumulado", "Accumulated time"}},
    {"Label66", {"Estado", "State"}},
    {"Label53", {"Pto.", "Pos."}},
    {"Label97", {"Uso: F1-F12", "Use: F1-F12"}},
    {"Label89", {"Paso", "Pass"}},
    {"Label90", {"Descripción", "Description"}},
    {"Label95", {"Participantes", "Participants"}},
    {"Label91", {"Sig. fichero", "Next file"}},
    {"Label93", {"Vuelta mínima", "Minimum lap"}},
    {"Label81", {"Incidencias de carrera", "Race events"}},
    {"Label86", {"Incidencia", "Event"}},
    {"Label79", {"Rptj.", "Fuel."}},
    {"Label80", {"Prda.", "Stop"}},
    {"Label82", {"Inc.", "Rst."}},
    {"Label85", {"Sal.", "Out"}},
}};

struct ButtonText {
  const char* name;
  Words text;
};
constexpr std::array<ButtonText, 6> kButtons = {{
    {"Button1", {"Inicio", "Start"}},
    {"ButtonConexiones", {"Conexiones", "Connections"}},
    {"ButtonReunion", {"Reunión", "Meeting"}},
    {"Button75", {"Parar", "Stop"}},
    {"Button88", {"Ficheros", "Files"}},
    {"CheckBox13", {"Sonoro", "Sound"}},
}};

}  // namespace

void TForm1::ApplyLanguage(bool atStartUp) {
  const bool es = race_.spanish();
  for (int n = 1; n <= race::kCars; ++n) participant_[n]->setText(Q(race::ParticipantCaption(n, es, atStartUp)));

  setWindowTitle(Tr(kTitle, es));
  radioGroup1_->setTitle(Tr(kTiming, es));
  timings_->button(1)->setText(Tr(kCommon, es));
  radioGroup2_->setTitle(Tr(kRaceLength, es));
  durations_->button(race::kOtherDurationItem)->setText(Tr(kOther, es));

  QStringList checklist;
  for (const Words& line : kChecklist) checklist << Tr(line, es);
  // The design text of line 7 has no full stop; the first switch gives it one.
  if (atStartUp) checklist[7] = QStringLiteral("-Multimonitor");
  memo2_->setPlainText(checklist.join(QLatin1Char('\n')));
  // Eight lines of the checklist fill the memo's 97 pixels.
  QTextCursor all(memo2_->document());
  all.select(QTextCursor::Document);
  QTextBlockFormat tight;
  tight.setLineHeight(11, QTextBlockFormat::FixedHeight);
  all.mergeBlockFormat(tight);
  memo3_->setPlainText(Tr(kSponsorMemo[0], es) + QLatin1Char('\n') + Tr(kSponsorMemo[1], es));

  for (const Caption& caption : kCaptions) {
    auto* label = findChild<QLabel*>(QString::fromLatin1(caption.name));
    label->setText(Tr(caption.text, es));
    label->adjustSize();
  }
  edit1_->setText(Q(race_.Setup().Description(es)));
  edit2_->setText(Tr(kSponsorLine, es));
  for (const ButtonText& button : kButtons) {
    findChild<QAbstractButton*>(QString::fromLatin1(button.name))->setText(Tr(button.text, es));
  }
  RenderSensor();
  // The race state word and the message panel come from the race control.
  shownValid_ = false;
  Render();
}

}  // namespace ui

// The yellow square switches every text of the window between Spanish and
// English.
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "window_fixture.h"

namespace {

using testing_support::WindowTest;

struct Expected {
  const char* name;
  const char* es;
  const char* en;
};

// Every caption, button and panel the switch rewrites.
const Expected kTexts[] = {
    {"Button1", "Inicio", "Start"},
    {"RadioGroup1Item1", "Común", "Common"},
    {"RadioGroup2Item6", "Otra...", "Other..."},
    {"Label52", "Vueltas", "Laps"},
    {"Label14", "Última vuelta", "Last lap"},
    {"Label39", "Vuelta rápida", "Fastest lap"},
    {"Label1", "Tiempo acumulado", "Accumulated time"},
    {"Label66", "Estado", "State"},
    {"Label53", "Pto.", "Pos."},
    {"Label97", "Uso: F1-F12", "Use: F1-F12"},
    {"Label89", "Paso", "Pass"},
    {"Label90", "Descripción", "Description"},
    {"Label95", "Participantes", "Participants"},
    {"Label91", "Sig. fichero", "Next file"},
    {"Label93", "Vuelta mínima", "Minimum lap"},
    {"Label81", "Incidencias de carrera", "Race events"},
    {"Label86", "Incidencia", "Event"},
    {"CheckBox13", "Sonoro", "Sound"},
    {"Panel5", "Parada", "Stopped"},
    {"Button75", "Parar", "Stop"},
    {"Button88", "Ficheros", "Files"},
    {"Label79", "Rptj.", "Fuel."},
    {"Label80", "Prda.", "Stop"},
    {"Label82", "Inc.", "Rst."},
    {"Label85", "Sal.", "Out"},
    // Left alone by the switch.
    {"CheckBox14", "Multimonitor", "Multimonitor"},
    {"RadioGroup1Item0", "Individual", "Individual"},
    {"RadioGroup2Item0", "5 min", "5 min"},
    {"RadioGroup2Item5", "45 min", "45 min"},
    {"Label83", "Box", "Box"},
    {"Label84", "StGo", "StGo"},
    {"Label94", "Zurb", "Zurb"},
    {"Button74", "Manual", "Manual"},
    {"Button50", "Z1", "Z1"},
};

class Language : public WindowTest {
 protected:
  QString Shown(const char* name) const {
    QWidget* w = Find(name);
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return qobject_cast<QLabel*>(w)->text();
  }
  void ExpectAll(bool spanish) const {
    for (const Expected& e : kTexts) EXPECT_EQ(Shown(e.name), QString::fromUtf8(spanish ? e.es : e.en)) << e.name;
  }
  QString Checklist() const { return Find<QTextEdit>("Memo2")->toPlainText(); }
};

TEST_F(Language, SquareSwitchesEveryTextAndBack) {
  Open();
  ExpectAll(true);
  EXPECT_EQ(Checklist(),
            "IMPORTANTE:\n-Participantes.\n-Duración.\n-Cronometraje.\n-Vuelta mínima.\n-Descripción.\n-Sonoro.\n"
            "-Multimonitor\n");
  const QString sponsorEs = Find<QLineEdit>("Edit2")->text();
  const QString memo3Es = Find<QPlainTextEdit>("Memo3")->toPlainText();

  ClickLabel("Label98");
  ExpectAll(false);
  EXPECT_EQ(window->windowTitle(), "Lap/events counter TRELVIX (TRELVIX). Version 0.9902");
  EXPECT_EQ(Find<QGroupBox>("RadioGroup1")->title(), "Timing");
  EXPECT_EQ(Find<QGroupBox>("RadioGroup2")->title(), "Race length");
  EXPECT_EQ(Checklist(),
            "IMPORTANT:\n-Participants.\n-Race length.\n-Timing.\n-Minimum lap.\n-Description.\n-Sound.\n"
            "-Multimonitor.\n");
  EXPECT_NE(Find<QLineEdit>("Edit2")->text(), sponsorEs);
  EXPECT_NE(Find<QPlainTextEdit>("Memo3")->toPlainText(), memo3Es);
  EXPECT_EQ(Find<QPlainTextEdit>("Memo3")->toPlainText().count('\n'), 1);
  EXPECT_EQ(Find<QCheckBox>("CheckBox1")->text(), "Car 1");
  EXPECT_EQ(Find<QCheckBox>("CheckBox12")->text(), "Car 12");
  EXPECT_EQ(Text("Label67"), "Stopped");
  EXPECT_EQ(Text("Label78"), "Disabled");

  ClickLabel("Label98");
  ExpectAll(true);
  EXPECT_EQ(window->windowTitle(), "Cuentavueltas/incidolímetro TRELVIX (TRELVIX). Versión 0.9902");
  EXPECT_EQ(Find<QGroupBox>("RadioGroup1")->title(), "Cronometraje");
  EXPECT_EQ(Find<QGroupBox>("RadioGroup2")->title(), "Duración");
  EXPECT_EQ(Find<QCheckBox>("CheckBox1")->text(), "Coche 1");
  EXPECT_TRUE(Checklist().endsWith("-Multimonitor.\n"));
  EXPECT_EQ(Find<QLineEdit>("Edit2")->text(), sponsorEs);
  EXPECT_EQ(Text("Label78"), "Desactivado");
}

TEST_F(Language, SwitchEmptiesTheMessagePanelAndIdlesTheStateWord) {
  Open();
  Click("Button1");
  QTest::keyClick(window.get(), Qt::Key_F12);
  EXPECT_EQ(Text("Panel19"), "1 No corre F12");
  boxes.answers = {true, true};
  Click("Button75");
  EXPECT_EQ(Text("Panel5"), "Finalizada");
  ClickLabel("Label98");
  EXPECT_EQ(Text("Panel19"), "");
  EXPECT_EQ(Text("Panel5"), "Stopped");
}

TEST_F(Language, RaceWordsAndMessagesFollowTheLanguage) {
  Open();
  ClickLabel("Label98");
  Click("Button1");
  EXPECT_EQ(Text("Label67"), "Released");
  EXPECT_EQ(Text("Panel5"), "Started");
  Wait(1);
  QTest::keyClick(window.get(), Qt::Key_F1);
  EXPECT_EQ(Text("Label67"), "In race");
  QTest::keyClick(window.get(), Qt::Key_F11);
  EXPECT_EQ(Text("Panel19"), "1 F11 doesn't race");
  Click("Button76");  // G1
  EXPECT_EQ(Text("Panel19"), "Stop&Go for 1");
}

}  // namespace

// A past race read back for its charts and exports: laps per car, the lap
// chart's positions, the CSV tables and the results page.
#include <gtest/gtest.h>

#include <fstream>

#include "records/readers.h"
#include "results/csv.h"
#include "results/html_page.h"
#include "results/laps.h"
#include "results/race_sheet.h"
#include "results/tables.h"
#include "support/passes.h"
#include "support/temp_dir.h"

namespace {

constexpr auto Pass = testing_support::MakePass;

// Cars 1 and 2: car 1 leads laps 1 and 2, car 2 passes it on lap 3.
std::vector<records::TPaso> Overtake() {
  return {Pass(1, 1, 1, 12.0), Pass(2, 2, 1, 12.5), Pass(3, 1, 2, 10.0), Pass(4, 2, 2, 10.2),
          Pass(6, 1, 3, 11.0), Pass(5, 2, 3, 9.9)};
}

TEST(Laps, CommonTimingKeepsTheFirstPartialLapApartAndMarksTheFastest) {
  const auto laps = results::LapsOf(Overtake(), {1, 2, 5}, true);
  ASSERT_EQ(laps.size(), 3u);
  ASSERT_TRUE(laps[0].partialFirst);
  EXPECT_EQ(laps[0].partialFirst->lap, 1);
  ASSERT_EQ(laps[0].laps.size(), 2u);
  EXPECT_EQ(laps[0].laps[0].lap, 2);
  EXPECT_DOUBLE_EQ(laps[0].laps[1].elapsed, 33.0);
  EXPECT_EQ(laps[0].fastest, 0u);
  EXPECT_EQ(laps[1].fastest, 1u);  // 9,900 on lap 3
  // A car that took part without passing has an empty entry, not none.
  EXPECT_EQ(laps[2].car, 5);
  EXPECT_TRUE(laps[2].laps.empty());
  EXPECT_FALSE(laps[2].fastest);
}

TEST(Laps, IndividualTimingLeavesOutTheCrossingThatStartsTheClock) {
  const auto laps = results::LapsOf({Pass(1, 4, 0, 3.2), Pass(2, 4, 1, 15.0), Pass(3, 4, 2, 14.0)}, {4}, false);
  ASSERT_EQ(laps[0].laps.size(), 2u);
  EXPECT_FALSE(laps[0].partialFirst);
  EXPECT_EQ(laps[0].laps[0].lap, 1);
  EXPECT_DOUBLE_EQ(laps[0].laps[1].elapsed, 29.0);
}

TEST(Laps, TheLapChartShowsTheOvertake) {
  const auto positions = results::PositionsByLap(results::LapsOf(Overtake(), {1, 2}, true));
  using Points = std::vector<std::pair<int, int>>;
  EXPECT_EQ(positions[0].points, (Points{{1, 1}, {2, 1}, {3, 2}}));
  EXPECT_EQ(positions[1].points, (Points{{1, 2}, {2, 2}, {3, 1}}));
}

TEST(Csv, QuotesAsRfc4180AndTakesTheLanguagesSeparatorAndDecimalMark) {
  EXPECT_EQ(results::CsvField("plain"), "plain");
  EXPECT_EQ(results::CsvField("a,b"), "\"a,b\"");
  EXPECT_EQ(results::CsvField("a,b", ';'), "a,b");
  EXPECT_EQ(results::CsvField("a;b", ';'), "\"a;b\"");
  EXPECT_EQ(results::CsvField("say \"hi\"\nthen"), "\"say \"\"hi\"\"\nthen\"");
  EXPECT_EQ(results::SecondsOf("01'27\"310"), 87.31);
  EXPECT_EQ(results::SecondsOf("1h 03'07\"042"), 3787.042);
  EXPECT_EQ(results::SecondsOf("250,117"), 250.117);
  EXPECT_FALSE(results::SecondsOf("rubbish"));

  results::RaceSheet sheet;
  records::TInci manual;
  manual.number = 6;
  manual.time = "262,900";
  manual.type = "MANU";
  manual.hasDetail = true;
  manual.detail = "bandera roja, \"puente\"";
  sheet.events = {manual};
  EXPECT_EQ(results::EventsCsv(sheet, false),
            "\xEF\xBB\xBF" "event,car,lap,time_s,type,detail\r\n6,,,262.900,MANU,\"bandera roja, \"\"puente\"\"\"\r\n");
  // What a Spanish spreadsheet opens on a double-click: ';' between fields, comma decimals.
  EXPECT_EQ(results::EventsCsv(sheet, true),
            "\xEF\xBB\xBF" "incidencia;coche;vuelta;tiempo_s;tipo;detalle\r\n6;;;262,900;MANU;\"bandera roja, \"\"puente\"\"\"\r\n");
}

TEST(Csv, AHeatsRaceNamesEachCarsDriverRightAfterTheCarAndNoOtherRaceDoes) {
  results::RaceSheet sheet;
  sheet.name = *records::RaceId::Of("261206", 1);
  sheet.hasClassification = true;
  sheet.classification.finishLine = "Carrera 01 finalizada";
  sheet.classification.rows.items = {{1, 2, 3, "00'32\"100", 9.9}, {2, 1, 3, "00'33\"000", 10.0}, {3, 3, 0, "", 0.0}};
  sheet.hasPasses = true;
  sheet.passes = Overtake();
  for (auto& pass : sheet.passes) pass.total = "00'00\"000";  // any time: the lap table counts the passes
  const std::string plainCsv = results::ClassificationCsv(sheet, false);
  EXPECT_EQ(plainCsv.substr(0, plainCsv.find('\r')),
            "\xEF\xBB\xBF"
            "position,car,laps,total_time_s,fastest_lap_s");
  const std::string plainPage = results::ResultsPage(sheet, true, {});

  // Car 3 sits in no seat: its driver's cell stays empty.
  sheet.drivers = {{1, "Ana López"}, {2, "-Bea, la rápida"}};
  EXPECT_EQ(results::ClassificationCsv(sheet, true),
            "\xEF\xBB\xBF"
            "posicion;coche;piloto;vueltas;tiempo_total_s;vuelta_rapida_s\r\n"
            "1;2;'-Bea, la rápida;3;32,100;9,900\r\n2;1;Ana López;3;33,000;10,000\r\n3;3;;0;;0,000\r\n");
  const std::string passes = results::PassesCsv(sheet, false);
  EXPECT_EQ(passes.substr(0, passes.find("\r\n", passes.find("\r\n") + 2)),
            "\xEF\xBB\xBF"
            "pass,car,driver,lap,lap_time_s,total_time_s\r\n1,1,Ana López,1,12.000,0.000");
  EXPECT_EQ(results::ClassificationTable(sheet, false).columns[2].label, "Driver");

  // The page: a driver column in the classification, each lap column headed by car and driver.
  const std::string page = results::ResultsPage(sheet, true, {});
  for (const char* text : {"<th>Coche</th><th class=\"text\">Piloto</th>", "<td class=\"text\">Ana López</td>",
                           "<th>1 · Ana López</th>", "<th>2 · -Bea, la rápida</th>"}) {
    EXPECT_NE(page.find(text), std::string::npos) << text;
    EXPECT_EQ(plainPage.find(text), std::string::npos) << text;
  }
  EXPECT_NE(plainPage.find("<th>Coche 1</th>"), std::string::npos);
}

TEST(Csv, TextsASpreadsheetWouldRunAreNeutralisedButNumbersStayNumbers) {
  for (const char* formula : {"=HYPERLINK(\"http://x\",\"y\")", "@SUM(1)", "+1+1", "-2+3", "\tx", "\rx", "-"}) {
    EXPECT_EQ(results::NeutralisedText(formula), std::string("'") + formula) << formula;
  }
  for (const char* plain : {"-5", "+3,5", "-12.25", "bandera roja", "", "a=b"}) {
    EXPECT_EQ(results::NeutralisedText(plain), plain) << plain;
  }
}

TEST(RaceSheet, LoadsWhatIsThereAndSaysWhatIsNot) {
  testing_support::TempDir dir;
  auto write = [&dir](const std::string& name, const std::string& bytes) {
    std::ofstream(dir.File(name), std::ios::binary) << bytes;
  };
  write("26120600.TXT", "1\t10\t2\t18h05'03\"045\tFinal\r\n");
  write("26120601.cls", "Final\r\nCarrera 01\r\n\r\n");  // never finished
  // A line short of a field, then a last line a crash cut short: read with
  // the fields it lacks taken from the line before, it would be made up.
  write("26120601.pss",
        "1\t3\t1\t20,125\t00'20\"125\r\n3\t3\t3\t18,000\r\n2\t3\t2\t19,000\t00'39\"125\r\n4\t1\t4\t17,5");
  platform::PosixDirectoryLister lister;

  const auto loaded = results::LoadRace(lister, dir.path(), *records::RaceId::Parse("26120601"));
  ASSERT_EQ(loaded.failure, results::LoadFailure::None);
  EXPECT_TRUE(loaded.sheet.commonTiming);  // no lap-0 crossing
  EXPECT_EQ(loaded.sheet.Description(), "Final");
  EXPECT_EQ(loaded.sheet.passes.size(), 3u);
  ASSERT_EQ(loaded.sheet.problems.size(), 2u);
  EXPECT_EQ(results::ProblemText(loaded.sheet.problems[0], true),
            "26120601.pss: la última línea está cortada y se dejó fuera: «4 1 4 17,5»");
  EXPECT_EQ(results::ProblemText(loaded.sheet.problems[1], false),
            "26120601.pss: malformed line, not Pass-Car-Lap-Time-Total t.");
  EXPECT_EQ(loaded.sheet.Cars(), std::vector<int>{3});
  EXPECT_TRUE(loaded.sheet.Unfinished());
  EXPECT_EQ(loaded.sheet.MissingFiles(), std::vector<std::string>{"26120601.inc"});

  // A number that does not convert, worded in the page's language.
  write("26120601.inc", "1\t3\t2\t40,250\tBOX\r\n2\t3x\t2\t41,000\tBOX\r\n");
  const auto events = results::LoadRace(lister, dir.path(), *records::RaceId::Parse("26120601"));
  EXPECT_EQ(events.sheet.events.size(), 1u);
  EXPECT_EQ(results::ProblemText(events.sheet.problems.back(), true),
            "26120601.inc: «3x» no es un número entero válido; solo se leyeron las líneas anteriores");

  EXPECT_EQ(results::LoadRace(lister, dir.path(), *records::RaceId::Parse("26120602")).failure,
            results::LoadFailure::NoSuchRace);
  EXPECT_FALSE(records::RaceId::Parse("26120600"));
  EXPECT_FALSE(records::RaceId::Parse("2612060a"));
}

TEST(ResultsPage, SpeaksItsLanguageWithItsDecimalMarkAndShowsTheManualTexts) {
  results::RaceSheet sheet;
  sheet.name = *records::RaceId::Of("261206", 1);
  sheet.hasClassification = true;
  sheet.classification.startLine = "Carrera 01 (5 minutos 1 coches) iniciada a las 18h5'3\"45";
  sheet.passes = {Pass(1, 1, 0, 3.0), Pass(2, 1, 1, 14.536)};
  sheet.passes[0].total = "00'03\"000";  // as the passes file writes them
  sheet.passes[1].total = "00'14\"536";
  sheet.commonTiming = false;
  records::TInci manual;
  manual.number = 1;
  manual.time = "17,536";
  manual.type = "MANU";
  manual.hasDetail = true;
  manual.detail = "bandera roja";
  sheet.events = {manual};
  sheet.problems = {{"26120601.inc", results::RecordProblem::Kind::BadLine, records::kBadEventsLine}};

  const std::string en = results::ResultsPage(sheet, false, {});
  for (const char* text : {"<td class=\"best\">14.536</td>", "<td>17.536</td>", "bandera roja", "Date: 6 December 2026",
                           "Unfinished race", "26120601.inc: malformed line, not Event-Car-Lap"}) {
    EXPECT_NE(en.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(en.find("14,536"), std::string::npos);
  const std::string es = results::ResultsPage(sheet, true, {});
  for (const char* text : {"<td class=\"best\">14,536</td>", "Fecha: 6 de diciembre de 2026", "Carrera sin terminar",
                           "26120601.inc: línea mal formada, no Inc-Coche-Vuelta", "iniciada a las 18h5&#39;3&quot;45"}) {
    EXPECT_NE(es.find(text), std::string::npos) << text;
  }
}

TEST(ResultsPage, EscapesTheRecordsTextsAndEmbedsItsImages) {
  EXPECT_EQ(results::Base64("Man"), "TWFu");
  EXPECT_EQ(results::Base64("Ma"), "TWE=");
  EXPECT_EQ(results::Base64("M"), "TQ==");

  results::RaceSheet sheet;
  sheet.name = *records::RaceId::Of("261206", 1);
  sheet.hasClassification = true;
  sheet.classification.description = "<script>alert(1)</script> & co";
  const std::string page = results::ResultsPage(sheet, true, {{"Tiempos", "image/png", "Man"}});
  EXPECT_EQ(page.find("<script>"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt; &amp; co"), std::string::npos);
  EXPECT_NE(page.find("src=\"data:image/png;base64,TWFu\""), std::string::npos);
  EXPECT_NE(page.find("Ningún coche completó una vuelta."), std::string::npos);
  EXPECT_EQ(page.find("http"), std::string::npos);  // nothing from outside
}

}  // namespace

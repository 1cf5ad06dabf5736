#include "meeting/roster_csv.h"

#include <gtest/gtest.h>

#include <set>

#include "meeting/text.h"
#include "meeting/texts.h"

namespace {

using meeting::Driver;
using meeting::ImportFailure;
using meeting::PlanRosterImport;
using meeting::RowProblem;

Driver Make(meeting::DriverId id, std::string name, std::string shortName, std::optional<int> number,
            std::string className = "GT", bool active = true) {
  return Driver{id, std::move(name), std::move(shortName), number, std::move(className), active};
}

TEST(RosterImport, ThreeHundredRowsWithFiveBadOnesAndTwoDuplicates) {
  const std::vector<Driver> roster = {Make(1, "Piloto 1", "P1", 1), Make(2, "Piloto 2", "Old", 2),
                                      Make(3, "Ana", "Ana", 280, "gt")};
  // Row r of the file holds driver r - 1; the seven refused rows are planted.
  std::string csv = "nombre,abreviatura,número,clase,activo\r\n";
  for (int i = 1; i <= 300; ++i) {
    std::string name = "Piloto " + std::to_string(i), shortName = "P" + std::to_string(i);
    std::string number = std::to_string(i), active = "sí";
    if (i == 17) name = "";                       // row 18: no name
    if (i == 45) shortName = "Abreviatura13";     // row 46: 13 characters
    if (i == 101) number = "12a";                 // row 102
    if (i == 150) active = "quizá";               // row 151
    if (i == 222) name = "\"Piloto 222\"x";       // row 223: text after the closing quote
    if (i == 260) name = "PILOTO   5", number = "";  // row 261: row 6's name again
    csv += name + ',' + shortName + ',' + number + ",GT," + active + "\r\n";  // row 281: Ana's 280
  }
  const auto plan = PlanRosterImport(csv, roster);
  ASSERT_EQ(plan.failure, ImportFailure::None);
  std::vector<std::pair<int, RowProblem>> refused;
  for (const auto& r : plan.refused) refused.emplace_back(r.row, r.problem);
  const std::vector<std::pair<int, RowProblem>> expected = {
      {18, RowProblem::MissingName},  {46, RowProblem::ShortNameTooLong}, {102, RowProblem::BadNumber},
      {151, RowProblem::BadActive},   {223, RowProblem::Malformed},       {261, RowProblem::DuplicateName},
      {281, RowProblem::NumberTaken}};
  EXPECT_EQ(refused, expected);
  EXPECT_EQ(meeting::RefusalText(plan.refused[5], true), "Fila 261: nombre repetido (como la fila 6)");
  EXPECT_EQ(meeting::RefusalText(plan.refused[6], false), "Row 281: number already used in the class (Ana)");

  EXPECT_EQ(plan.unchangedRows, std::vector<int>{2});
  ASSERT_EQ(plan.changed.size(), 1u);
  EXPECT_EQ(plan.changed[0].row, 3);
  EXPECT_EQ(plan.changed[0].after.shortName, "P2");
  EXPECT_EQ(plan.changed[0].after.id, 2);
  EXPECT_EQ(plan.added.size(), 291u);

  const auto after = meeting::ApplyImport(roster, plan, 10);
  ASSERT_EQ(after.size(), 294u);
  std::set<std::string> names;
  for (const auto& d : after) EXPECT_TRUE(names.insert(meeting::MatchKey(d.name)).second) << d.name;
  EXPECT_EQ(after.back().id, 300);
  EXPECT_EQ(after[1].shortName, "P2");
}

TEST(RosterImport, ReadsWindows1252SemicolonsQuotesAndEitherLanguage) {
  // "Número;NOMBRE;Clase;Activo;Notas" in Windows-1252, a delimiter, doubled
  // quotes and a line break inside quoted fields.
  const std::string cp1252 =
      "N\xFAmero;NOMBRE;Clase;Activo;Notas\r\n"
      "7;\"Garc\xED" "a; Jos\xE9\";Mini-Z;no;x\r\n"
      "\r\n"
      "8;\"Ana \"\"la r\xE1" "pida\"\"\r\nP\xE9" "rez\";GT;;\r\n";
  auto plan = PlanRosterImport(cp1252, {});
  EXPECT_EQ(plan.encoding, meeting::TextEncoding::Windows1252);
  EXPECT_EQ(plan.delimiter, ';');
  EXPECT_EQ(plan.ignoredColumns, std::vector<std::string>{"Notas"});
  ASSERT_EQ(plan.added.size(), 2u);
  EXPECT_EQ(plan.added[0].driver, Make(0, "García; José", "García; José", 7, "Mini-Z", false));
  EXPECT_EQ(plan.added[1].row, 4);  // a blank row still counts
  EXPECT_EQ(plan.added[1].driver, Make(0, "Ana \"la rápida\" Pérez", "Ana \"la rápi", 8, "GT", true));

  // UTF-8 with a byte order mark, English headings in another order, no class.
  plan = PlanRosterImport("\xEF\xBB\xBF" "Short Name,Name,Race Number\nJo,José Pérez,\n", {});
  EXPECT_EQ(plan.encoding, meeting::TextEncoding::Utf8);
  ASSERT_EQ(plan.added.size(), 1u);
  EXPECT_EQ(plan.added[0].driver, Make(0, "José Pérez", "Jo", std::nullopt, ""));
}

TEST(RosterImport, ExportReadsBackUnchanged) {
  const std::vector<Driver> roster = {Make(4, "Pérez, \"Nano\"", "Nano", 12), Make(9, "Lía;Ruiz", "Lía", std::nullopt, "Mini-Z", false),
                                      Make(5, "Zoë Ñúñez", "Zoë", 3, "")};
  for (bool spanish : {true, false}) {
    const auto csv = meeting::RosterCsv(roster, spanish);
    const auto same = PlanRosterImport(csv, roster);
    EXPECT_FALSE(same.HasChanges());
    EXPECT_TRUE(same.refused.empty());
    EXPECT_EQ(same.unchangedRows, (std::vector<int>{2, 3, 4}));
    auto fresh = meeting::ApplyImport({}, PlanRosterImport(csv, {}), 4);
    fresh[1].id = 9, fresh[2].id = 5;
    EXPECT_EQ(fresh, roster);
  }
  EXPECT_EQ(meeting::RosterCsv({roster[0]}, false), "name,short name,number,class,active\r\n\"Pérez, \"\"Nano\"\"\",Nano,12,GT,yes\r\n");
}

TEST(RosterImport, WholeFileRefusalsAndBounds) {
  EXPECT_EQ(PlanRosterImport("", {}).failure, ImportFailure::NoNameColumn);
  EXPECT_EQ(PlanRosterImport("alias,club\nx,y\n", {}).failure, ImportFailure::NoNameColumn);
  EXPECT_EQ(PlanRosterImport("nombre,Name\nx,y\n", {}).failure, ImportFailure::DuplicateColumn);
  EXPECT_EQ(PlanRosterImport(std::string(meeting::kMaxRosterFileBytes + 1, 'a'), {}).failure, ImportFailure::TooLarge);
  std::string many = "name\n";
  for (int i = 0; i < 5001; ++i) many += "a\n";
  EXPECT_EQ(PlanRosterImport(many, {}).failure, ImportFailure::TooManyRows);

  const std::string rows = "name,class\n" + std::string(300, 'x') + ",GT\n" + "b,GT,extra\n" + "b2,GT,,\n" + "c" + std::string(40, ',') +
                           "\n\"d\x01\",GT\n" + std::string(61, 'e') + ",GT\n";
  const auto plan = PlanRosterImport(rows, {});
  std::vector<RowProblem> problems;
  for (const auto& r : plan.refused) problems.push_back(r.problem);
  EXPECT_EQ(problems, (std::vector<RowProblem>{RowProblem::FieldTooLong, RowProblem::TooManyFields, RowProblem::TooManyFields,
                                               RowProblem::ControlCharacter, RowProblem::NameTooLong}));
  ASSERT_EQ(plan.added.size(), 1u);  // empty fields past the headings are let be
  EXPECT_EQ(plan.added[0].driver.name, "b2");
}

TEST(RosterImport, RaceNumbersStayUniqueWithinAClass) {
  const std::vector<Driver> roster = {Make(1, "Ana", "Ana", 5), Make(2, "Bea", "Bea", 6), Make(3, "Cris", "Cris", 7)};
  // Two drivers swap numbers in one file: both change.
  auto plan = PlanRosterImport("name,number\nAna,6\nBea,5\n", roster);
  EXPECT_EQ(plan.changed.size(), 2u);
  EXPECT_TRUE(plan.refused.empty());
  // Ana cannot take Bea's 6, so she keeps her 5, which the new Dani then cannot have.
  plan = PlanRosterImport("name,class,number\nDani,GT,5\nAna,GT,6\nEva,gt,6\n", roster);
  ASSERT_EQ(plan.refused.size(), 3u);
  EXPECT_EQ(plan.refused[0].otherName, "Ana");
  EXPECT_EQ(plan.refused[1].otherName, "Bea");
  EXPECT_EQ(plan.refused[2].otherName, "Bea");
  // Another class may use the same number; a row without the column keeps it.
  plan = PlanRosterImport("name,class,number\nDani,Mini-Z,5\n", roster);
  EXPECT_EQ(plan.added.size(), 1u);
  // The window's own check before it saves a driver.
  EXPECT_EQ(meeting::CheckDriver(roster, Make(4, "ana", "A", 9)), meeting::DriverProblem::NameTaken);
  EXPECT_EQ(meeting::CheckDriver(roster, Make(4, "Dani", "D", 6, "gt")), meeting::DriverProblem::NumberTaken);
  EXPECT_FALSE(meeting::CheckDriver(roster, Make(2, "Bea", "B", 6)));
  plan = PlanRosterImport("name,active\nCris,no\n", roster);
  ASSERT_EQ(plan.changed.size(), 1u);
  EXPECT_EQ(plan.changed[0].after, Make(3, "Cris", "Cris", 7, "GT", false));
}

}  // namespace

#include "records/browser_model.h"

#include <gtest/gtest.h>

namespace {

using Cells = std::vector<std::string>;

TEST(BrowserModel, DaysFromRacesFilesOfAnyCaseSortedLatestLast) {
  const auto days = records::DayList({"26120600.TXT", "26113000.txt", "26120601.pss", "notes.txt", "2612060.TXT",
                                      "26120100.TXT.bak", "26120700.Txt"});
  EXPECT_EQ(days, (Cells{"261130", "261206", "261207"}));
  EXPECT_TRUE(records::DayList({}).empty());
}

TEST(BrowserModel, GridCellsArePaddedAsShown) {
  records::TLClasif row{1, 3, 14, "09'58\"713", 40.102};
  EXPECT_EQ(records::ClassificationCells(row), (Cells{"   1", "  3", "    14", "09'58\"713", " 40,102"}));
  records::TPaso pass{12, 3, 4, 21.532, "01'27\"310"};
  EXPECT_EQ(records::PassCells(pass), (Cells{"  12", "  3", "     4", "  21,532", "  01'27\"310"}));
  records::TRace race{7, 10, 4, "18h05'03\"045", "x"};
  EXPECT_EQ(records::RaceCells(race), (Cells{"   7", "  10", "   4", "18h05'03\"045"}));
  EXPECT_EQ(records::FixedSeconds(0.0, 7), "  0,000");
  // Numbers no race writes but a hand edit may: shown, never a crash.
  EXPECT_EQ(records::FixedSeconds(-1e19, 8), "-10000000000000000000,000");
  EXPECT_EQ(records::FixedSeconds(1e15, 8), "1000000000000000,000");
}

TEST(BrowserModel, DescriptionAndDetailsValues) {
  auto stopped = records::ReadClassification(
      "Copa\r\nCarrera 01 (5 minutos 2 coches) iniciada a las 18h5'3\"45\r\n"
      "Crono com\xFAn. Carrera parada a 04'10\"250\r\n");
  EXPECT_EQ(records::DescriptionValue(stopped), "Copa. Crono común. Carrera parada a 04'10\"250.");
  EXPECT_EQ(records::DetailsValue(stopped), "Carrera 01 (5 minutos 2 coches) iniciada a las 18h5'3\"45.");
  auto unfinished = records::ReadClassification("Copa\r\nCarrera 02 (5 minutos 2 coches) iniciada a las 9h0'0\"0\r\n");
  EXPECT_EQ(records::DescriptionValue(unfinished), "Copa. .");
  EXPECT_TRUE(unfinished.rows.items.empty());
}

TEST(BrowserModel, RaceFileNamesAndGridHeights) {
  EXPECT_EQ(records::RaceFileName("261206", 7, ".inc"), "26120607.inc");
  EXPECT_EQ(records::GridHeight(0, 44, 460), 42);
  EXPECT_EQ(records::GridHeight(3, 44, 460), 70);
  EXPECT_EQ(records::GridHeight(300, 44, 460), 392);  // scrolls beyond whole rows that fit
  EXPECT_EQ(records::GridPixelHeight(3, 44, 460, true), 72);
  EXPECT_EQ(records::GridPixelHeight(3, 44, 460, false), 78);
}

}  // namespace

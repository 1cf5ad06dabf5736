#include "records/lines.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t At(int h, int m, int s, int ms) { return ((h * 60LL + m) * 60 + s) * 1000 + ms; }

TEST(RecordLines, ClockTimesPaddedAndPlain) {
  EXPECT_EQ(records::PaddedClockTime(At(9, 5, 3, 45)), "09h05'03\"045");
  EXPECT_EQ(records::PlainClockTime(At(9, 5, 3, 45)), "9h5'3\"45");
  EXPECT_EQ(records::PlainClockTime(At(18, 5, 3, 120)), "18h5'3\"120");
}

TEST(RecordLines, FieldsAreTabSeparated) {
  EXPECT_EQ(records::RacesLine(7, 10, 4, At(18, 5, 3, 45), "Descripción de carrera"),
            "7\t10\t4\t18h05'03\"045\tDescripción de carrera");
  EXPECT_EQ(records::RacesLine(1, 5, 10, At(9, 5, 3, 45), ""), "1\t5\t10\t09h05'03\"045\t");
  EXPECT_EQ(records::PassLine(12, 3, 4, "21,532", "01'27\"310"), "12\t3\t4\t21,532\t01'27\"310");
  EXPECT_EQ(records::EventLine(5, 3, 12, "250,117", "RPTJ"), "5\t3\t12\t250,117\tRPTJ");
  EXPECT_EQ(records::ErrorEventLine(8, 11, "3,000", "NOCO"), "8\t11\t--\t3,000\tNOCO");
  EXPECT_EQ(records::ClassificationRow(1, 3, 14, "09'58\"713", "40,102"), "1\t3\t14\t09'58\"713\t40,102");
}

TEST(RecordLines, OperatorTextsCannotSplitAField) {
  EXPECT_EQ(records::ManualEventLine(6, "262,900", "track\tblocked\r\nat the bridge"),
            "6\t--\t--\t262,900\tMANU\ttrack blocked  at the bridge");
  EXPECT_EQ(records::RacesLine(1, 5, 2, 0, "a\tb"), "1\t5\t2\t00h00'00\"000\ta b");
}

TEST(RecordLines, ClassificationStartAndFinishLinesInBothLanguages) {
  EXPECT_EQ(records::ClassificationStartLine(true, 7, 10, 4, At(18, 5, 3, 45)),
            "Carrera 07 (10 minutos 4 coches) iniciada a las 18h5'3\"45");
  EXPECT_EQ(records::ClassificationStartLine(false, 7, 10, 4, At(18, 5, 3, 45)),
            "Race 07 (10 minutes 4 cars) started at 18h5'3\"45");
  EXPECT_EQ(records::ClassificationFinishLine(true, false, false, ""), "Crono común. Carrera terminada normalmente");
  EXPECT_EQ(records::ClassificationFinishLine(true, true, true, "07'42\"118"),
            "Crono individual. Carrera parada a 07'42\"118");
  EXPECT_EQ(records::ClassificationFinishLine(false, true, true, "04'10\"250"),
            "Individual timing. Race stopped at 04'10\"250");
  EXPECT_EQ(records::ClassificationFinishLine(false, false, false, ""), "Common timing. Race finished normally");
}

}  // namespace

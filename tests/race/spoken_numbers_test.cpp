#include "race/spoken_numbers.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  std::int64_t value;
  const char* spanish;
  const char* english;
};

TEST(SpokenNumbers, WholeNumbersInBothLanguages) {
  const Case cases[] = {
      {0, "cero", "zero"}, {1, "uno", "one"}, {7, "siete", "seven"}, {12, "doce", "twelve"},
      {15, "quince", "fifteen"}, {16, "dieciséis", "sixteen"}, {20, "veinte", "twenty"},
      {21, "veintiuno", "twenty-one"}, {22, "veintidós", "twenty-two"}, {30, "treinta", "thirty"},
      {31, "treinta y uno", "thirty-one"}, {99, "noventa y nueve", "ninety-nine"}, {100, "cien", "one hundred"},
      {101, "ciento uno", "one hundred and one"}, {115, "ciento quince", "one hundred and fifteen"},
      {200, "doscientos", "two hundred"}, {555, "quinientos cincuenta y cinco", "five hundred and fifty-five"},
      {999, "novecientos noventa y nueve", "nine hundred and ninety-nine"}, {1000, "mil", "one thousand"},
      {1005, "mil cinco", "one thousand and five"}, {21000, "veintiún mil", "twenty-one thousand"},
      {101231, "ciento un mil doscientos treinta y uno", "one hundred and one thousand two hundred and thirty-one"},
      {-3, "cero", "zero"},
      {5000000, "novecientos noventa y nueve mil novecientos noventa y nueve",
       "nine hundred and ninety-nine thousand nine hundred and ninety-nine"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(race::SpokenNumber(c.value, true), c.spanish) << c.value;
    EXPECT_EQ(race::SpokenNumber(c.value, false), c.english) << c.value;
  }
}

TEST(SpokenNumbers, SecondsToTheNearestTenthHalfUp) {
  const Case cases[] = {
      {12400, "doce coma cuatro", "twelve point four"}, {60000, "sesenta coma cero", "sixty point zero"},
      {9950, "diez coma cero", "ten point zero"}, {9949, "nueve coma nueve", "nine point nine"},
      {21049, "veintiuno coma cero", "twenty-one point zero"}, {50, "cero coma uno", "zero point one"},
      {135750, "ciento treinta y cinco coma ocho", "one hundred and thirty-five point eight"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(race::SpokenTenths(c.value, true), c.spanish) << c.value;
    EXPECT_EQ(race::SpokenTenths(c.value, false), c.english) << c.value;
  }
}

}  // namespace

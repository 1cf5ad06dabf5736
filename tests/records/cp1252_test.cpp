#include "records/cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252, RoundTripsTheProgramsOwnWords) {
  const std::string words = "común Descripción Índice ráp. €‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ";
  const std::string bytes = records::Utf8ToCp1252(words);
  EXPECT_EQ(bytes.substr(0, 5), "com\xFAn");
  EXPECT_EQ(records::Cp1252ToUtf8(bytes), words);
}

TEST(Cp1252, UnencodableAndBrokenInputBecomesQuestionMarks) {
  EXPECT_EQ(records::Utf8ToCp1252("a\xE2\x82"), "a?");        // cut short
  EXPECT_EQ(records::Utf8ToCp1252("x\xFFy"), "x?y");           // not UTF-8
  EXPECT_EQ(records::Utf8ToCp1252("日本"), "??");               // outside the page
  EXPECT_EQ(records::Utf8ToCp1252("\xF0\x9F\x8F\x81"), "?");   // a flag emoji
}

TEST(Cp1252, FieldTextTurnsBreaksAndTabsIntoBlanks) {
  EXPECT_EQ(records::FieldText("a\tb\r\nc"), "a b  c");
}

}  // namespace

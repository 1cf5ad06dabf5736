#include "events/event_types.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using events::EventKind;

TEST(EventTypes, ButtonNumbersMapBackToTheirEventAndCar) {
  std::set<int> seen;
  for (const auto& t : events::EventTypes()) {
    for (int car = 1; car <= 12; ++car) {
      const int number = events::ButtonNumber(t.kind, car);
      EXPECT_TRUE(seen.insert(number).second) << number;
      const auto target = events::ButtonTargetOf(number);
      ASSERT_TRUE(target.has_value());
      EXPECT_EQ(target->kind, t.kind);
      EXPECT_EQ(target->car, car);
    }
  }
  EXPECT_EQ(events::ButtonTargetOf(38)->kind, EventKind::Boxes);
  EXPECT_EQ(events::ButtonTargetOf(87)->kind, EventKind::StopAndGo);
  EXPECT_EQ(events::ButtonTargetOf(87)->car, 12);
  for (int other : {1, 74, 75, 88, 0, -3}) EXPECT_FALSE(events::ButtonTargetOf(other).has_value()) << other;
}

TEST(EventTypes, CaptionsAndRowOrder) {
  EXPECT_EQ(events::ButtonCaption(EventKind::Refuel, 1), "R1");
  EXPECT_EQ(events::ButtonCaption(EventKind::Zurb, 12), "Z12");
  std::string letters;
  for (const auto& t : events::EventTypes()) letters += t.letter;
  EXPECT_EQ(letters, "RPBGISZ");
}

TEST(EventTypes, MessagesInBothLanguages) {
  EXPECT_EQ(events::EventMessage(EventKind::Stop, 4, true), "Se para 4");
  EXPECT_EQ(events::EventMessage(EventKind::Boxes, 4, false), "To boxes 4");
  EXPECT_EQ(events::EventMessage(EventKind::Rejoin, 10, true), "Se reincorpora 10");
  EXPECT_EQ(events::EventMessage(EventKind::OffTrack, 7, false), "Out 7");
}

TEST(EventTypes, ManualTextJoinsTheFirstTwelveLines) {
  std::vector<std::string> lines(14, "x");
  EXPECT_EQ(events::JoinManualText(lines), std::string(12, 'x'));
  EXPECT_EQ(events::JoinManualText({}), "");
}

}  // namespace

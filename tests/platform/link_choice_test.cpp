#include "platform/link_choice.h"

#include <gtest/gtest.h>

namespace {

using platform::LinkChoice;
using platform::ParseLinkChoice;

TEST(LinkChoice, SerialPortsWithOrWithoutASpeed) {
  const auto plain = ParseLinkChoice("/dev/ttyUSB0");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->kind, LinkChoice::Kind::kSerial);
  EXPECT_EQ(plain->device, "/dev/ttyUSB0");
  EXPECT_EQ(plain->baud, 115200);
  const auto fast = ParseLinkChoice("/dev/serial/by-id/usb-gate@230400");
  ASSERT_TRUE(fast);
  EXPECT_EQ(fast->device, "/dev/serial/by-id/usb-gate");
  EXPECT_EQ(fast->baud, 230400);
  EXPECT_EQ(platform::LinkChoiceText(*fast), "/dev/serial/by-id/usb-gate@230400");
  EXPECT_FALSE(ParseLinkChoice("/dev/ttyUSB0@fast"));
  EXPECT_FALSE(ParseLinkChoice("ttyUSB0"));
}

TEST(LinkChoice, GatesOnTheNetwork) {
  const auto gate = ParseLinkChoice("tcp:gate.local:4000");
  ASSERT_TRUE(gate);
  EXPECT_EQ(gate->kind, LinkChoice::Kind::kTcp);
  EXPECT_EQ(gate->host, "gate.local");
  EXPECT_EQ(gate->port, 4000);
  const auto v6 = ParseLinkChoice("tcp:[fe80::1]:4000");
  ASSERT_TRUE(v6);
  EXPECT_EQ(v6->host, "fe80::1");
  EXPECT_EQ(platform::LinkChoiceText(*v6), "tcp:[fe80::1]:4000");
  EXPECT_FALSE(ParseLinkChoice("tcp:gate.local"));
  EXPECT_FALSE(ParseLinkChoice("tcp:gate.local:70000"));
  EXPECT_EQ(ParseLinkChoice("none")->kind, LinkChoice::Kind::kNone);
}

}  // namespace

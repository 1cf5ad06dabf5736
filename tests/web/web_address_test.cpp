#include "web/web_address.h"

#include <gtest/gtest.h>

namespace {

TEST(WebAddressTest, PortAloneListensOnEveryInterface) {
  const auto where = web::ParseWebAddress(QStringLiteral("8081"));
  ASSERT_TRUE(where);
  EXPECT_EQ(where->address, QHostAddress(QHostAddress::Any));
  EXPECT_EQ(where->port, 8081);
}

TEST(WebAddressTest, AddressAndPort) {
  const auto v4 = web::ParseWebAddress(QStringLiteral("127.0.0.1:9000"));
  ASSERT_TRUE(v4);
  EXPECT_EQ(v4->address, QHostAddress(QHostAddress::LocalHost));
  EXPECT_EQ(v4->port, 9000);
  const auto v6 = web::ParseWebAddress(QStringLiteral("[::1]:9001"));
  ASSERT_TRUE(v6);
  EXPECT_EQ(v6->address, QHostAddress(QHostAddress::LocalHostIPv6));
  EXPECT_EQ(web::WebAddressText(*v6), QStringLiteral("[::1]:9001"));
}

TEST(WebAddressTest, RefusesWhatIsNotAnAddressAndPort) {
  for (const char* text : {"", "0", "65536", "-1", "+80", " 80", "80 ", "x", "localhost:80", "::1:80", "[::1]80",
                           "1.2.3:80", "127.0.0.1:", ":80", "[127.0.0.1]:80"}) {
    EXPECT_FALSE(web::ParseWebAddress(QString::fromLatin1(text))) << text;
  }
}

TEST(WebAddressTest, PageUrlNamesTheAddressListenedOn) {
  web::WebAddress where{QHostAddress(QStringLiteral("192.0.2.7")), 8080};
  EXPECT_EQ(web::PageUrl(where), QStringLiteral("http://192.0.2.7:8080/"));
  // Every interface: an address a phone can reach, never 0.0.0.0.
  where.address = QHostAddress::Any;
  EXPECT_TRUE(web::PageUrl(where).startsWith(QStringLiteral("http://")));
  EXPECT_FALSE(web::PageUrl(where).contains(QStringLiteral("0.0.0.0")));
}

}  // namespace

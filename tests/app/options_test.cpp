// The command line as the program reads it before Qt starts.
#include "app/options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using app::Options;
using Action = Options::Action;

Options Read(const QStringList& tail) { return app::ReadOptions(QStringList{QStringLiteral("trelvix")} + tail); }

TEST(Options, QtWindowOptionsReachTheApplicationBesideOurs) {
  const Options options = Read({"-platform", "offscreen", "-style=fusion", "--reverse", "-display", ":3", "--decoder",
                                "tcp:gate.local:4000", "--web=127.0.0.1:8081"});
  ASSERT_EQ(options.action, Action::kWindow) << options.text.toStdString();
  EXPECT_TRUE(options.platformChosen);
  ASSERT_TRUE(options.decoder);
  EXPECT_EQ(options.decoder->kind, platform::LinkChoice::Kind::kTcp);
  EXPECT_EQ(options.decoder->port, 4000);
  ASSERT_TRUE(options.web);
  EXPECT_EQ(web::WebAddressText(*options.web), "127.0.0.1:8081");
  EXPECT_FALSE(Read({"--decoder", "none"}).platformChosen);
}

TEST(Options, TheExportIsHandedOnInOneSpelling) {
  EXPECT_EQ(Read({"--export=26120601", "-to", "out", "--lang", "en", "--from=/media/stick"}).exportArguments,
            (QStringList{"trelvix", "--export", "26120601", "--to", "out", "--from", "/media/stick", "--lang", "en"}));
  // What the export itself checks (a missing --to, a bad race) is left to it.
  const Options bare = Read({"--export", "2612"});
  EXPECT_EQ(bare.action, Action::kExport);
  EXPECT_EQ(bare.exportArguments, (QStringList{"trelvix", "--export", "2612"}));
}

TEST(Options, MistakesAreSaidNotIgnored) {
  const std::vector<std::pair<QStringList, const char*>> cases = {
      {{"--exprot", "26120601"}, "exprot"},
      {{"--decoder", "bogus:x"}, "--decoder bogus:x: expected"},
      {{"--decoder"}, "decoder"},
      {{"--web", "70000"}, "--web 70000: expected [ADDRESS:]PORT"},
      {{"--to", "out"}, "go with --export"},
      {{"--export", "26120601", "--to", "out", "--web", "8080"}, "--export takes no other options"},
      {{"--export", "26120601", "--to", "out", "-platform", "xcb"}, "--export takes no other options"},
      {{"26120601"}, "unexpected argument '26120601'"},
  };
  for (const auto& [arguments, message] : cases) {
    const Options options = Read(arguments);
    EXPECT_EQ(options.action, Action::kError) << arguments.join(' ').toStdString();
    EXPECT_THAT(options.text.toStdString(), testing::HasSubstr(message)) << arguments.join(' ').toStdString();
  }
}

TEST(Options, HelpListsOurOptionsAndVersionIsTheProjects) {
  const Options help = Read({"-h"});
  ASSERT_EQ(help.action, Action::kHelp);
  for (const char* name : {"--decoder", "--web", "--export", "--to", "--from", "--lang", "--help", "--version"}) {
    EXPECT_THAT(help.text.toStdString(), testing::HasSubstr(name));
  }
  EXPECT_THAT(help.text.toStdString(), testing::Not(testing::HasSubstr("platform")));
  const Options version = Read({"--version"});
  EXPECT_EQ(version.action, Action::kVersion);
  EXPECT_EQ(version.text, QStringLiteral("trelvix " TRELVIX_PROJECT_VERSION "\n"));
}

}  // namespace

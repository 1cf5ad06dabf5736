#include "ui/web_panel.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>

#include "support/temp_dir.h"
#include "web/web_server.h"

namespace {

class WebPanelTest : public ::testing::Test {
 protected:
  // A free port: taken for a moment, then let go.
  static quint16 FreePort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::Any, 0) ? probe.serverPort() : 0;
  }
  QString Text(const char* name) const { return panel.findChild<QLabel*>(QString::fromLatin1(name))->text(); }

  testing_support::TempDir dir;
  web::WebServer server{dir.path()};
  ui::WebPanel panel{server};
};

TEST_F(WebPanelTest, TheBoxSwitchesThePageAndShowsItsAddress) {
  const quint16 port = FreePort();
  panel.SetSettings({false, {QHostAddress(QHostAddress::Any), port}});
  EXPECT_FALSE(server.listening());
  EXPECT_EQ(Text("WebState"), QStringLiteral("Página de resultados apagada."));
  QSignalSpy changed(&panel, &ui::WebPanel::SettingsChanged);
  panel.findChild<QCheckBox*>(QStringLiteral("WebOn"))->click();
  EXPECT_TRUE(server.listening());
  EXPECT_EQ(server.address().port, port);
  ASSERT_EQ(changed.size(), 1);
  EXPECT_TRUE(changed[0][0].value<ui::WebSetting>().on);
  EXPECT_TRUE(Text("WebUrl").endsWith(QStringLiteral(":%1/").arg(port)));
  EXPECT_TRUE(Text("WebState").contains(Text("WebUrl")));
  EXPECT_FALSE(panel.findChild<QLabel*>(QStringLiteral("WebQr"))->pixmap().isNull());
  panel.SetSpanish(false);
  EXPECT_TRUE(Text("WebState").startsWith(QStringLiteral("Results page at http://")));
  EXPECT_EQ(panel.findChild<QCheckBox*>(QStringLiteral("WebOn"))->text(),
            QStringLiteral("Live results on the network (phones)"));
  panel.findChild<QCheckBox*>(QStringLiteral("WebOn"))->click();
  EXPECT_FALSE(server.listening());
  EXPECT_TRUE(Text("WebUrl").isEmpty());
  EXPECT_TRUE(panel.findChild<QLabel*>(QStringLiteral("WebQr"))->pixmap().isNull());
}

TEST_F(WebPanelTest, AnAddressForThisComputerOnlyIsKeptAndNoCodeSendsPhonesThere) {
  // Started as "--web 127.0.0.1:PORT" does, then switched off and on in the panel.
  const web::WebAddress local{QHostAddress(QHostAddress::LocalHost), FreePort()};
  ASSERT_TRUE(server.Start(local));
  auto* box = panel.findChild<QCheckBox*>(QStringLiteral("WebOn"));
  box->click();
  EXPECT_FALSE(server.listening());
  box->click();
  ASSERT_TRUE(server.listening());
  EXPECT_EQ(server.address().address, local.address);
  EXPECT_EQ(server.address().port, local.port);
  EXPECT_EQ(Text("WebUrl"), QStringLiteral("http://127.0.0.1:%1/").arg(local.port));
  EXPECT_TRUE(panel.findChild<QLabel*>(QStringLiteral("WebQr"))->pixmap().isNull());
  EXPECT_TRUE(Text("WebQr").contains(QStringLiteral("los móviles no llegan")));
  EXPECT_EQ(panel.findChild<QComboBox*>(QStringLiteral("WebHost"))->currentData().toString(),
            QStringLiteral("127.0.0.1"));
  // What the panel keeps reads back the same in the next run.
  QTemporaryDir kept;
  QSettings file(kept.filePath(QStringLiteral("t.ini")), QSettings::IniFormat);
  ui::SaveWebSetting(file, panel.settings());
  const ui::WebSetting read = ui::LoadWebSetting(file);
  EXPECT_TRUE(read.on);
  EXPECT_EQ(read.where.address, local.address);
  EXPECT_EQ(read.where.port, local.port);
  // Every network again, from the list: the page is at the machine's address.
  auto* host = panel.findChild<QComboBox*>(QStringLiteral("WebHost"));
  host->setCurrentIndex(0);
  emit host->activated(0);
  ASSERT_TRUE(server.listening());
  EXPECT_TRUE(web::IsAnyAddress(server.address().address));
  EXPECT_FALSE(panel.findChild<QLabel*>(QStringLiteral("WebQr"))->pixmap().isNull());
}

TEST_F(WebPanelTest, APortTakenIsShownAndThePageStaysOff) {
  QTcpServer taken;
  ASSERT_TRUE(taken.listen(QHostAddress::Any, 0));
  panel.SetSettings({true, {QHostAddress(QHostAddress::Any), taken.serverPort()}});
  EXPECT_FALSE(server.listening());
  EXPECT_TRUE(Text("WebState").contains(QStringLiteral("ya está en uso")));
  panel.SetSpanish(false);
  EXPECT_TRUE(Text("WebState").contains(QStringLiteral("already in use")));
}

TEST_F(WebPanelTest, TheQrCodeReadsAsThePageAddress) {
  const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
  ASSERT_FALSE(zbarimg.isEmpty()) << "zbarimg (zbar-tools, installed by tools/setup.sh) is missing";
  panel.SetSettings({true, {QHostAddress(QHostAddress::Any), FreePort()}});
  ASSERT_TRUE(server.listening());
  QTemporaryDir out;
  const QString png = out.filePath(QStringLiteral("qr.png"));
  ASSERT_TRUE(panel.findChild<QLabel*>(QStringLiteral("WebQr"))->pixmap().save(png));
  QProcess zbar;
  zbar.start(zbarimg, {QStringLiteral("--raw"), QStringLiteral("-q"), png});
  ASSERT_TRUE(zbar.waitForFinished(10000));
  EXPECT_EQ(QString::fromUtf8(zbar.readAllStandardOutput()).trimmed(), Text("WebUrl"));
}

}  // namespace

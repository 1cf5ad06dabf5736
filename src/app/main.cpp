// TRELVIX: lap counter and race-event recorder for model-car racing.
// The composition root: the machine's services wired into the windows.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <cstdio>

#include "app/export_command.h"
#include "app/options.h"
#include "platform/decoder_link.h"
#include "ui/connections_window.h"
#include "web/live_feed.h"
#include "web/web_address.h"
#include "web/web_panel.h"
#include "web/web_server.h"

#include "platform/clock.h"
#include "platform/counter.h"
#include "platform/directory.h"
#include "platform/file_dialogs.h"
#include "platform/qt_message_boxes.h"
#include "platform/qt_sound.h"
#include "printing/print_dialogs.h"
#include "printing/print_setup_window.h"
#include "printing/printer_settings.h"
#include "ui/charts_window.h"
#include "ui/events_review_window.h"
#include "ui/files_browser.h"
#include "ui/main_window.h"
#include "ui/record_folder.h"
#include "ui/results_window.h"

int main(int argc, char* argv[]) {
  // Qt's PulseAudio output drops some plays of short cues with its default
  // latency; this must be set before the sound system starts.
  if (qEnvironmentVariableIsEmpty("PULSE_LATENCY_MSEC")) qputenv("PULSE_LATENCY_MSEC", "60");
  // An export needs no display: it runs over ssh on a machine without one.
  const bool exporting = app::WantsExport(argc, argv);
  if (exporting) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(ui::kAppTitle));
  const QString programFolder = QCoreApplication::applicationDirPath();
  if (exporting) {
    return app::RunExport(QCoreApplication::arguments(),
                          ui::ChooseRecordFolder(programFolder, QStringLiteral(TRELVIX_INSTALLED_BINDIR)));
  }
  const app::Options options = app::ReadOptions(QCoreApplication::arguments());
  const auto webAddress = options.web ? web::ParseWebAddress(QString::fromStdString(*options.web)) : std::nullopt;
  if (options.error.empty() && options.web && !webAddress) {
    std::fprintf(stderr, "trelvix: --web %s: expected [ADDRESS:]PORT, e.g. 8080 or 192.168.1.20:8080\n",
                 options.web->c_str());
    return 2;
  }
  if (!options.error.empty()) {
    std::fprintf(stderr, "trelvix: %s\n", options.error.c_str());
    return 2;
  }

  platform::QtMessageBoxes boxes;
  const ui::RecordFolders folders = ui::ChooseRecordFolders(programFolder, QStringLiteral(TRELVIX_INSTALLED_BINDIR));
  const QString& folder = folders.records;
  // A second copy on the same folder would number the same races.
  const auto lock = ui::LockRecordFolder(folder, boxes);
  if (!lock) return 1;

  platform::MonotonicCounter counter;
  platform::SystemClock clock;
  // Cue files are looked up beside the program, else among the installed
  // defaults; cues play one after another without ever holding up a key press.
  platform::QtSound sound{QDir(ui::ChooseCueFolder(programFolder, QStringLiteral(TRELVIX_INSTALLED_CUEDIR)))};
  platform::PosixDirectoryLister lister;
  ui::TForm1 form1({counter, clock, sound.device(), boxes, lister, QDir::toNativeSeparators(folder).toStdString(),
                    platform::ReadBootId(), nullptr, QDir::toNativeSeparators(folders.other).toStdString(),
                    folders.programFolderUnwritable});
  boxes.SetParent(&form1);
  // The printer settings: the default printer and "Courier New" 14 points.
  printing::PrinterSettings printerSettings;
  printing::QtPrintDialogs printDialogs;
  ui::SettingsReportPrinter reportPrinter(printerSettings, boxes);
  platform::QtFileDialogs fileDialogs;
  ui::TForm2 form2({lister, boxes, reportPrinter, QDir::toNativeSeparators(folder).toStdString(), &fileDialogs,
                    &printerSettings.Font()},
                   &form1);
  ui::ChartsWindow charts({boxes, fileDialogs, &printerSettings}, &form2);
  form2.SetChartsWindow(&charts);
  ui::TForm3 form3(boxes, reportPrinter, &form2);
  printing::TForm8 form8(printerSettings, printDialogs, boxes, &form2);
  form2.SetEventsReview(&form3);
  form2.SetPrintSetup(&form8);
  ui::TForm4 form4;
  form1.SetFilesBrowser(&form2);
  form1.SetResultsWindow(&form4);
  form1.SetQuitHandler([](int code) { QCoreApplication::exit(code); });

  // The results page for phones: read-only, on a thread of its own, told of
  // the race only once a pass's line is on disk.
  web::WebServer webServer(QDir::toNativeSeparators(folder).toStdString());
  web::LiveFeed feed(form1.Race(), webServer);

  // The track sensor: the link kept from the last run, or the command line's for this one.
  QSettings settings(QStringLiteral("TRELVIX"), QStringLiteral("TRELVIX"));
  platform::DecoderLink link(counter);
  ui::ConnectionsWindow connections(link, options.decoder ? nullptr : &settings, &form1);
  form1.SetDecoderLink(&link);
  form1.SetConnectionsWindow(&connections);
  link.Open(options.decoder.value_or(ui::LoadLinkChoice(settings)));

  form1.SetScreenListener([&feed] { feed.ScreenChanged(); });
  auto* webPanel = new web::WebPanel(webServer);
  connections.AddPanel(webPanel, [webPanel](bool spanish) { webPanel->SetSpanish(spanish); });
  if (!options.web) {
    QObject::connect(webPanel, &web::WebPanel::SettingsChanged, &settings, [&settings](bool on, quint16 port) {
      settings.setValue(QStringLiteral("web/on"), on);
      settings.setValue(QStringLiteral("web/port"), port);
      settings.sync();
    });
  }
  // After the start-up report: a port already taken is said, and the program goes on without the page.
  form1.SetAfterStartUp([&] {
    if (webAddress) {
      webServer.Start(*webAddress);
    } else if (settings.value(QStringLiteral("web/on")).toBool()) {
      webPanel->SetSettings(true, static_cast<quint16>(settings.value(QStringLiteral("web/port"), 8080).toUInt()));
    }
    const bool wanted = webAddress || settings.value(QStringLiteral("web/on")).toBool();
    if (wanted && !webServer.listening()) boxes.Info(ui::kAppTitle, webServer.message().toStdString());
  });

  form1.show();
  return QApplication::exec();
}

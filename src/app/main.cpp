// TRELVIX: lap counter and race-event recorder for model-car racing.
// The composition root: the machine's services wired into the windows.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <cstdio>
#include <optional>

#include "app/display_check.h"
#include "app/export_command.h"
#include "app/options.h"
#include "app/record_folder.h"
#include "platform/clock.h"
#include "platform/counter.h"
#include "platform/decoder_link.h"
#include "platform/directory.h"
#include "platform/file_dialogs.h"
#include "platform/qt_message_boxes.h"
#include "platform/qt_sound.h"
#include "printing/print_dialogs.h"
#include "printing/print_setup_window.h"
#include "printing/printer_settings.h"
#include "ui/charts_window.h"
#include "ui/corrections_window.h"
#include "ui/connections_window.h"
#include "ui/events_review_window.h"
#include "ui/files_browser.h"
#include "ui/main_window.h"
#include "ui/results_window.h"
#include "ui/web_panel.h"
#include "web/live_feed.h"
#include "web/web_address.h"
#include "web/web_server.h"

int main(int argc, char* argv[]) {
  // Read before Qt starts: help, version, mistakes and exports need no display.
  const app::Options options = app::ReadOptions(app::ArgumentList(argc, argv));
  switch (options.action) {
    case app::Options::Action::kHelp:
    case app::Options::Action::kVersion:
      std::fputs(options.text.toLocal8Bit().constData(), stdout);
      return 0;
    case app::Options::Action::kError:
      std::fprintf(stderr, "trelvix: %s\nSee trelvix --help.\n", options.text.toLocal8Bit().constData());
      return 2;
    case app::Options::Action::kExport:
      qputenv("QT_QPA_PLATFORM", "offscreen");
      break;
    case app::Options::Action::kWindow:
      if (const QString missing = app::MissingDisplay(options.platformChosen); !missing.isEmpty()) {
        app::ReportNoWindow(missing);
        return app::kNoDisplayExit;
      }
      break;
  }
  // Qt's PulseAudio output drops some plays of short cues with its default
  // latency; this must be set before the sound system starts.
  if (qEnvironmentVariableIsEmpty("PULSE_LATENCY_MSEC")) qputenv("PULSE_LATENCY_MSEC", "60");
  // A display named but gone: a sentence and exit 1 rather than Qt's abort.
  std::optional<app::FatalStartGuard> guard(std::in_place);
  QApplication app(argc, argv);
  guard.reset();
  QApplication::setApplicationName(QString::fromLatin1(ui::kAppTitle));
  const QString programFolder = QCoreApplication::applicationDirPath();
  if (options.action == app::Options::Action::kExport) {
    return app::RunExport(options.exportArguments,
                          app::ChooseRecordFolder(programFolder, QStringLiteral(TRELVIX_INSTALLED_BINDIR)));
  }

  platform::QtMessageBoxes boxes;
  const app::RecordFolders folders = app::ChooseRecordFolders(programFolder, QStringLiteral(TRELVIX_INSTALLED_BINDIR));
  const QString& folder = folders.records;
  // A second copy on the same folder would number the same races.
  const auto lock = app::LockRecordFolder(folder, boxes);
  if (!lock) return 1;

  platform::MonotonicCounter counter;
  platform::SystemClock clock;
  // Cue files are looked up beside the program, else among the installed
  // defaults; cues play one after another without ever holding up a key press.
  platform::QtSound sound{QDir(app::ChooseCueFolder(programFolder, QStringLiteral(TRELVIX_INSTALLED_CUEDIR)))};
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
  ui::TForm2 form2({lister, boxes, reportPrinter, QDir::toNativeSeparators(folder).toStdString(), &fileDialogs},
                   &form1);
  ui::ChartsWindow charts({boxes, fileDialogs, &printerSettings}, &form2);
  form2.SetChartsWindow(&charts);
  // Corrections split laps no shorter than the minimum lap the director races with.
  ui::CorrectionsWindow corrections(
      {lister, boxes, QDir::toNativeSeparators(folder).toStdString(),
       [&form1] { return static_cast<long long>(form1.Race().Setup().minLapSeconds()) * 1000; }},
      &form2);
  form2.SetCorrectionsWindow(&corrections);
  ui::TForm3 form3(boxes, reportPrinter, &form2);
  printing::TForm8 form8(printerSettings, printDialogs, boxes, &form2);
  form2.SetEventsReview(&form3);
  form2.SetPrintSetup(&form8);
  ui::TForm4 form4;
  form1.SetFilesBrowser(&form2);
  form1.SetResultsWindow(&form4);
  form1.SetQuitHandler([](int code) { QCoreApplication::exit(code); });

  // The results page for phones: read-only, on a thread of its own, told of
  // the race only once a pass's line is on disk. It follows the race's facts
  // after the results window.
  web::WebServer webServer(QDir::toNativeSeparators(folder).toStdString());
  web::LiveFeed feed(form1.Race(), webServer);
  form1.AddRaceListener(&feed);

  // The track sensor: the link kept from the last run, or the command line's for this one.
  QSettings settings(QStringLiteral("TRELVIX"), QStringLiteral("TRELVIX"));
  platform::DecoderLink link(counter);
  ui::ConnectionsWindow connections(link, options.decoder ? nullptr : &settings, &form1);
  form1.SetDecoderLink(&link);
  form1.SetConnectionsWindow(&connections);
  link.Open(options.decoder.value_or(ui::LoadLinkChoice(settings)));

  auto* webPanel = new ui::WebPanel(webServer);
  connections.AddPanel(webPanel, [webPanel](bool spanish) { webPanel->SetSpanish(spanish); });
  if (!options.web) {
    QObject::connect(webPanel, &ui::WebPanel::SettingsChanged, &settings,
                     [&settings](const ui::WebSetting& setting) { ui::SaveWebSetting(settings, setting); });
  }
  // After the start-up report: a port already taken is said, and the program goes on without the page.
  form1.SetAfterStartUp([&] {
    if (options.web) {
      webServer.Start(*options.web);
    } else if (const ui::WebSetting kept = ui::LoadWebSetting(settings); kept.on) {
      webPanel->SetSettings(kept);
    }
    const bool wanted = options.web || settings.value(QStringLiteral("web/on")).toBool();
    if (wanted && !webServer.listening()) boxes.Info(ui::kAppTitle, webServer.message().toStdString());
  });

  form1.show();
  return QApplication::exec();
}

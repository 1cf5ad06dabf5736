// TRELVIX: lap counter and race-event recorder for model-car racing.
// The composition root: the machine's services wired into the windows.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <cmath>
#include <cstdio>
#include <optional>

#include "app/display_check.h"
#include "app/export_command.h"
#include "app/import_command.h"
#include "app/options.h"
#include "app/record_folder.h"
#include "platform/clock.h"
#include "platform/counter.h"
#include "platform/decoder_link.h"
#include "platform/directory.h"
#include "platform/file_dialogs.h"
#include "platform/qt_message_boxes.h"
#include "platform/qt_speaker.h"
#include "platform/qt_sound.h"
#include "platform/sqlite_store.h"
#include "printing/print_dialogs.h"
#include "printing/print_setup_window.h"
#include "printing/printer_settings.h"
#include "race/voice.h"
#include "ui/charts_window.h"
#include "ui/corrections_window.h"
#include "ui/connections_window.h"
#include "ui/events_review_window.h"
#include "ui/files_browser.h"
#include "ui/main_window.h"
#include "ui/meeting_link.h"
#include "ui/meeting_window.h"
#include "ui/results_window.h"
#include "ui/voice_panel.h"
#include "ui/web_panel.h"
#include "web/board_feed.h"
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
    case app::Options::Action::kExportMeeting:
    case app::Options::Action::kImport:
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
  if (options.action == app::Options::Action::kExportMeeting) {
    return app::RunMeetingExport(options.exportArguments,
                                 app::ChooseRecordFolder(programFolder, QStringLiteral(TRELVIX_INSTALLED_BINDIR)));
  }
  if (options.action == app::Options::Action::kImport) {
    return app::RunImport(options.exportArguments,
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
  // The voice reads the race out through speech-dispatcher: after the cue
  // when both play, or in place of the pass cues when the director says so.
  platform::QtSpeaker speaker([&sound] { return sound.Playing(); });
  const ui::TForm1* raceWindow = nullptr;
  const double frequency = static_cast<double>(counter.Frequency().value_or(1000000000));
  race::Voice voice(
      speaker, [&counter, frequency] { return std::llround(static_cast<double>(counter.Read()) / frequency * 1000.0); },
      [&raceWindow] { return raceWindow == nullptr || raceWindow->Race().spanish(); });
  speaker.SetOnFree([&voice] { voice.Pump(); });
  race::CuesBesideVoice cues(sound.device(), voice);
  ui::TForm1 form1({counter, clock, cues, boxes, lister, QDir::toNativeSeparators(folder).toStdString(),
                    platform::ReadBootId(), nullptr, QDir::toNativeSeparators(folders.other).toStdString(),
                    folders.programFolderUnwritable});
  raceWindow = &form1;
  boxes.SetParent(&form1);
  // The printer settings: the default printer and "Courier New" 14 points.
  printing::PrinterSettings printerSettings;
  printing::QtPrintDialogs printDialogs;
  ui::SettingsReportPrinter reportPrinter(printerSettings, boxes);
  platform::QtFileDialogs fileDialogs;
  // Club meetings: their store beside the record files, which never depend
  // on it. A heat's race names its drivers in the files browser's charts,
  // exports and printed reports, read through a connection of its own that
  // never makes the database: the browser only reads.
  const std::string storePath = QDir(folder).filePath(QString::fromLatin1(platform::kStoreFileName)).toStdString();
  platform::SqliteStore meetingStore(storePath);
  platform::SqliteStore meetingReader(storePath, 250, platform::SqliteStore::Access::ReadOnly);
  ui::TForm2 form2(
      {lister, boxes, reportPrinter, QDir::toNativeSeparators(folder).toStdString(), &fileDialogs, &meetingReader},
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

  // The meeting follows the race's facts after the results window, so a
  // heat's drivers are known to the page and the voice from its start.
  ui::MeetingLink meetingLink(meetingStore, lister, QDir::toNativeSeparators(folder).toStdString());
  form1.AddRaceListener(&meetingLink);
  // The results page for phones: read-only, on a thread of its own, told of
  // the race only once a pass's line is on disk.
  web::WebServer webServer(QDir::toNativeSeparators(folder).toStdString());
  web::LiveFeed feed(form1.Race(), webServer);
  form1.AddRaceListener(&feed);
  // The voice follows last: it only notes each fact and speaks when free. A
  // meeting heat's passes are read with its drivers' names, and a prepared
  // heat's line-up is read out.
  form1.AddRaceListener(&voice);
  voice.SetNamesLookup([&meetingLink](const records::RaceId& race) { return meetingLink.NamesOf(race); });
  // The page shows a heat's drivers beside the car numbers.
  feed.SetNamesLookup([&meetingLink](const records::RaceId& race) { return meetingLink.NamesOf(race); });
  // Between heats the page shows the next heat's line-up and the standings,
  // read from the store when a heat is prepared, when a result is entered
  // and when the meeting window closes; never on a pass.
  web::BoardFeed board(meetingStore, [&meetingLink] { return meetingLink.Prepared(); }, webServer);
  form1.AddRaceListener(&board);
  QObject::connect(&meetingLink, &ui::MeetingLink::Changed, &board,
                   [&board](qint64 meeting) { board.MeetingChanged(meeting); });
  meetingLink.SetOnPrepared([&voice, &board](const race::DriverNames& lineUp) {
    voice.AnnounceHeat(lineUp);
    board.Refresh();
  });
  ui::MeetingWindow meetingWindow({meetingStore, boxes, fileDialogs, meetingLink, [&form1] { return form1.PanelSetup(); },
                                   [&form1](const race::RaceSetup& setup) { form1.ShowSetup(setup); }, &reportPrinter},
                                  &form1);
  QObject::connect(&meetingWindow, &QDialog::finished, &board, &web::BoardFeed::Refresh);
  form1.SetMeetingWindow(&meetingWindow);
  // A box would take the race's keys: during a race the meeting window
  // says it when next opened.
  QObject::connect(&meetingLink, &ui::MeetingLink::Problem, &form1, [&boxes, &form1](const QString& text) {
    if (!form1.raceRunning()) boxes.Info(ui::kAppTitle, text.toStdString());
  });

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
  // The voice's panel, in a column beside the others; its setting is kept
  // in the same settings file.
  auto* voicePanel = new ui::VoicePanel(speaker);
  const auto applyVoice = [&voice, &speaker](const ui::VoiceSetting& setting) {
    speaker.ChooseVoice(setting.voice.toStdString());
    voice.Configure(setting.says);
  };
  const ui::VoiceSetting keptVoice = ui::LoadVoiceSetting(settings);
  voicePanel->SetSettings(keptVoice);
  applyVoice(keptVoice);
  connections.AddPanel(
      voicePanel,
      [voicePanel, &form1](bool spanish) {
        voicePanel->SetSpanish(spanish);
        voicePanel->SetRaceRunning(form1.raceRunning());
      },
      true);
  QObject::connect(&speaker, &platform::QtSpeaker::EngineChanged, voicePanel, [voicePanel, &speaker] {
    voicePanel->ShowEngine();
    // For whoever looks after the machine: whether the voice can speak.
    if (speaker.state() == platform::QtSpeaker::kNone) {
      qInfo("voice: no speech engine (%s)", qPrintable(speaker.error()));
    } else if (speaker.state() == platform::QtSpeaker::kReady) {
      qInfo("voice: ready");
    }
  });
  QObject::connect(voicePanel, &ui::VoicePanel::SettingsChanged, &settings,
                   [&settings, applyVoice](const ui::VoiceSetting& setting) {
                     ui::SaveVoiceSetting(settings, setting);
                     applyVoice(setting);
                   });
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

#include "app/export_command.h"

#include <QDir>
#include <QRegularExpression>
#include <cstdio>

#include "app/command_options.h"
#include "exports/meeting_export.h"
#include "exports/race_export.h"
#include "meeting/store.h"
#include "platform/directory.h"
#include "platform/sqlite_store.h"
#include "records/race_id.h"
#include "results/wording.h"

namespace app {

namespace {

constexpr const char* kUsage = "usage: trelvix --export YYMMDDnn --to DIR [--from RECORD_FOLDER] [--lang es|en]";
constexpr const char* kMeetingUsage =
    "usage: trelvix --export-meeting ID --to DIR [--from RECORD_FOLDER] [--lang es|en] [--best N]";
constexpr records::Words kMeetingExportFailed{"la reunión %1 no se exportó: ", "meeting %1 was not exported: "};

int Usage(const QString& problem, const char* usage = kUsage) {
  std::fprintf(stderr, "trelvix: %s\n%s\n", problem.toLocal8Bit().constData(), usage);
  return 2;
}

}  // namespace

int RunExport(const QStringList& arguments, const QString& recordFolder) {
  const CommandOptions options = ReadCommandOptions(
      arguments, {QStringLiteral("--export"), QStringLiteral("--to"), QStringLiteral("--from"), QStringLiteral("--lang")});
  if (!options.problem.isEmpty()) return Usage(options.problem);
  const QString race = options.values.value(QStringLiteral("--export"));
  const QString to = options.values.value(QStringLiteral("--to"));
  const QString from = options.values.value(QStringLiteral("--from"), recordFolder);
  const QString lang = options.values.value(QStringLiteral("--lang"), QStringLiteral("es"));
  const auto raceName = records::RaceId::Parse(race.toStdString());
  if (!raceName) return Usage(QStringLiteral("--export %1: expected a race such as 26120601").arg(race));
  if (to.isEmpty()) return Usage(QStringLiteral("--to: the folder to write into is missing"));
  if (lang != QLatin1String("es") && lang != QLatin1String("en")) return Usage(QStringLiteral("--lang: es or en"));

  const bool spanish = lang == QLatin1String("es");
  platform::PosixDirectoryLister lister;
  // A meeting heat's race names its drivers; a folder with no meetings
  // database, or one that cannot be read, exports the race as it stands.
  platform::SqliteStore meetings(QDir(from).filePath(QString::fromLatin1(platform::kStoreFileName)).toStdString(), 250,
                                 platform::SqliteStore::Access::ReadOnly);
  const exports::ExportResult result =
      exports::ExportRace(lister, QDir::toNativeSeparators(from).toStdString(), *raceName, to, spanish,
                          meeting::DriverNamesOfRace(meetings, raceName->Text()));
  for (const auto& path : result.written) std::printf("%s\n", path.c_str());
  std::fflush(stdout);
  // Said in the export's language, like everything the export writes.
  const std::string name = raceName->Text();
  const char* warning = results::words::kWarning.Pick(spanish);
  for (const auto& text : result.warnings) std::fprintf(stderr, "trelvix: %s%s\n", warning, text.c_str());
  if (result.partial) {
    std::fprintf(stderr, "trelvix: %s%s\n", warning,
                 results::Filled(results::words::kReadWhatCould.Pick(spanish), name).c_str());
  }
  if (!result.ok) {
    std::fprintf(stderr, "trelvix: %s%s\n", results::Filled(results::words::kExportFailed.Pick(spanish), name).c_str(),
                 result.error.c_str());
    return 1;
  }
  return 0;
}

int RunMeetingExport(const QStringList& arguments, const QString& recordFolder) {
  const CommandOptions options =
      ReadCommandOptions(arguments, {QStringLiteral("--export-meeting"), QStringLiteral("--to"), QStringLiteral("--from"),
                                     QStringLiteral("--lang"), QStringLiteral("--best")});
  if (!options.problem.isEmpty()) return Usage(options.problem, kMeetingUsage);
  const QString idText = options.values.value(QStringLiteral("--export-meeting"));
  const QString to = options.values.value(QStringLiteral("--to"));
  const QString from = options.values.value(QStringLiteral("--from"), recordFolder);
  const QString lang = options.values.value(QStringLiteral("--lang"), QStringLiteral("es"));
  const QString bestText = options.values.value(QStringLiteral("--best"), QStringLiteral("0"));
  static const QRegularExpression kId(QStringLiteral("^[1-9][0-9]{0,14}$"));
  static const QRegularExpression kBest(QStringLiteral("^[0-9]{1,2}$"));
  if (!kId.match(idText).hasMatch()) return Usage(QStringLiteral("--export-meeting %1: expected a meeting number").arg(idText), kMeetingUsage);
  if (to.isEmpty()) return Usage(QStringLiteral("--to: the folder to write into is missing"), kMeetingUsage);
  if (lang != QLatin1String("es") && lang != QLatin1String("en")) return Usage(QStringLiteral("--lang: es or en"), kMeetingUsage);
  if (!kBest.match(bestText).hasMatch()) return Usage(QStringLiteral("--best: a number of meetings, 0 to 99"), kMeetingUsage);

  const bool spanish = lang == QLatin1String("es");
  const std::string id = idText.toStdString();
  // Read only: an export never makes or changes the database.
  platform::SqliteStore store(QDir(from).filePath(QString::fromLatin1(platform::kStoreFileName)).toStdString(),
                              250, platform::SqliteStore::Access::ReadOnly);
  const exports::ExportResult result = exports::ExportMeeting(store, idText.toLongLong(), bestText.toInt(), to, spanish);
  for (const auto& path : result.written) std::printf("%s\n", path.c_str());
  std::fflush(stdout);
  if (!result.ok) {
    std::fprintf(stderr, "trelvix: %s%s\n", results::Filled(kMeetingExportFailed.Pick(spanish), id).c_str(),
                 result.error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace app

#include "app/export_command.h"

#include <QDir>
#include <cstdio>

#include "exports/race_export.h"
#include "platform/directory.h"
#include "records/race_id.h"
#include "results/wording.h"

namespace app {

namespace {

constexpr const char* kUsage = "usage: trelvix --export YYMMDDnn --to DIR [--from RECORD_FOLDER] [--lang es|en]";

int Usage(const QString& problem) {
  std::fprintf(stderr, "trelvix: %s\n%s\n", problem.toLocal8Bit().constData(), kUsage);
  return 2;
}

}  // namespace

int RunExport(const QStringList& arguments, const QString& recordFolder) {
  QString race;
  QString to;
  QString from = recordFolder;
  QString lang = QStringLiteral("es");
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    QString name = arguments[i];
    QString value;
    if (name.startsWith(QLatin1String("--")) && name.contains(QLatin1Char('='))) {
      value = name.section(QLatin1Char('='), 1);
      name = name.section(QLatin1Char('='), 0, 0);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      return Usage(name + QStringLiteral(": a value is missing"));
    }
    if (name == QLatin1String("--export")) {
      race = value;
    } else if (name == QLatin1String("--to")) {
      to = value;
    } else if (name == QLatin1String("--from")) {
      from = value;
    } else if (name == QLatin1String("--lang")) {
      lang = value;
    } else {
      return Usage(QStringLiteral("unknown option for an export: ") + name);
    }
  }
  const auto raceName = records::RaceId::Parse(race.toStdString());
  if (!raceName) return Usage(QStringLiteral("--export %1: expected a race such as 26120601").arg(race));
  if (to.isEmpty()) return Usage(QStringLiteral("--to: the folder to write into is missing"));
  if (lang != QLatin1String("es") && lang != QLatin1String("en")) return Usage(QStringLiteral("--lang: es or en"));

  const bool spanish = lang == QLatin1String("es");
  platform::PosixDirectoryLister lister;
  const exports::ExportResult result =
      exports::ExportRace(lister, QDir::toNativeSeparators(from).toStdString(), *raceName, to, spanish);
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

}  // namespace app

#include "app/import_command.h"

#include <QDir>
#include <cstdio>
#include <fstream>

#include "app/command_options.h"
#include "meeting/roster_csv.h"
#include "meeting/texts.h"
#include "platform/sqlite_store.h"

namespace app {

namespace {

constexpr const char* kUsage = "usage: trelvix --import-drivers FILE.csv [--from RECORD_FOLDER] [--lang es|en]";

int Usage(const QString& problem) {
  std::fprintf(stderr, "trelvix: %s\n%s\n", problem.toLocal8Bit().constData(), kUsage);
  return 2;
}

int Nothing(const std::string& reason, bool spanish) {
  std::fprintf(stderr, "trelvix: %s%s\n", spanish ? "nada importado: " : "nothing imported: ", reason.c_str());
  return 1;
}

std::string Described(const meeting::Driver& d) {
  std::string text = d.name + " (" + d.shortName;
  if (d.number) text += ", #" + std::to_string(*d.number);
  if (!d.className.empty()) text += ", " + d.className;
  return text + ")";
}

}  // namespace

int RunImport(const QStringList& arguments, const QString& recordFolder) {
  const CommandOptions options = ReadCommandOptions(
      arguments, {QStringLiteral("--import-drivers"), QStringLiteral("--from"), QStringLiteral("--lang")});
  if (!options.problem.isEmpty()) return Usage(options.problem);
  const QString file = options.values.value(QStringLiteral("--import-drivers"));
  const QString from = options.values.value(QStringLiteral("--from"), recordFolder);
  const QString lang = options.values.value(QStringLiteral("--lang"), QStringLiteral("es"));
  if (file.isEmpty()) return Usage(QStringLiteral("--import-drivers: the file is missing"));
  if (lang != QLatin1String("es") && lang != QLatin1String("en")) return Usage(QStringLiteral("--lang: es or en"));
  const bool spanish = lang == QLatin1String("es");

  // At most one byte past the limit is read: enough to know it is too large.
  std::ifstream in(QFile::encodeName(file).toStdString(), std::ios::binary);
  if (!in) return Nothing(std::string(spanish ? "no se puede leer " : "cannot read ") + file.toStdString(), spanish);
  std::string bytes(meeting::kMaxRosterFileBytes + 1, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));

  if (!QDir(from).exists()) {
    return Nothing(std::string(spanish ? "no existe la carpeta " : "no such folder ") + from.toStdString(), spanish);
  }
  platform::SqliteStore store(QDir(from).filePath(QString::fromLatin1(platform::kStoreFileName)).toStdString());
  const auto roster = store.Drivers();
  if (!roster) return Nothing(meeting::StoreProblemText(store.Status(), spanish), spanish);
  const meeting::ImportPlan plan = meeting::PlanRosterImport(bytes, *roster);
  if (plan.failure != meeting::ImportFailure::None) return Nothing(meeting::WordsOf(plan.failure).Pick(spanish), spanish);

  for (const auto& row : plan.refused) {
    std::printf("%s %s\n", spanish ? "rechazada:" : "refused:", meeting::RefusalText(row, spanish).c_str());
  }
  if (!plan.HasChanges()) {
    std::fflush(stdout);
    return Nothing(spanish ? "ninguna fila añade ni cambia un piloto" : "no row adds or changes a driver", spanish);
  }
  if (!store.ApplyImport(plan)) return Nothing(meeting::StoreProblemText(store.Status(), spanish), spanish);
  const char* row = meeting::words::kRow.Pick(spanish);
  for (const auto& a : plan.added) {
    std::printf("%s %s %d: %s\n", spanish ? "añadido:" : "added:", row, a.row, Described(a.driver).c_str());
  }
  for (const auto& c : plan.changed) {
    std::printf("%s %s %d: %s -> %s\n", spanish ? "cambiado:" : "changed:", row, c.row, Described(c.before).c_str(),
                Described(c.after).c_str());
  }
  std::printf("%s %zu, %s %zu, %s %zu, %s %zu\n", spanish ? "añadidos" : "added", plan.added.size(),
              spanish ? "cambiados" : "changed", plan.changed.size(), spanish ? "sin cambios" : "unchanged",
              plan.unchangedRows.size(), spanish ? "rechazadas" : "refused", plan.refused.size());
  return 0;
}

}  // namespace app

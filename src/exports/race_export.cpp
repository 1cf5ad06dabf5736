#include "exports/race_export.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <vector>
#include <system_error>

#include "charts/race_charts.h"
#include "exports/results_document.h"
#include "exports/staged_files.h"
#include "exports/workbook.h"
#include "records/durable_file.h"
#include "results/csv.h"
#include "results/html_page.h"
#include "results/laps.h"
#include "results/tables.h"
#include "results/wording.h"

namespace exports {

namespace {


std::string_view View(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Makes the folder and its missing parents, each new one durable in its parent.
bool MakeFolder(const std::filesystem::path& folder, std::string& error) {
  std::vector<std::filesystem::path> made;
  std::error_code code;
  for (auto p = folder; !p.empty() && !std::filesystem::exists(p, code); p = p.parent_path()) {
    made.push_back(p);
    if (p == p.parent_path()) break;
  }
  if (!std::filesystem::create_directories(folder, code) && code) {
    error = code.message();
    return false;
  }
  for (auto it = made.rbegin(); it != made.rend(); ++it) {
    const std::string parent = it->has_parent_path() ? it->parent_path().string() : ".";
    if (const auto synced = records::SyncFolder(parent); !synced) {
      error = synced.error;
      return false;
    }
  }
  return true;
}

}  // namespace

bool WriteWhole(const QString& path, const QByteArray& bytes, std::string& error) {
  const QFileInfo info(path);
  StagedFiles file(QFile::encodeName(info.absolutePath()).toStdString());
  if (!file.Add(QFile::encodeName(info.fileName()).toStdString(), View(bytes)) || !file.Commit()) {
    error = file.SystemError();
    return false;
  }
  return true;
}

bool AddTables(FileList& files, const std::vector<results::Table>& tables, const std::vector<std::string>& suffixes,
               const std::string& stem, const std::string& title, bool spanish, ExportResult& result) {
  for (std::size_t i = 0; i < tables.size() && i < suffixes.size(); ++i) {
    const std::string csv = results::Csv(tables[i], spanish);
    files.emplace_back(stem + suffixes[i], QByteArray(csv.data(), static_cast<qsizetype>(csv.size())));
  }
  std::string failure;
  const QByteArray workbook = ResultsWorkbook(tables, title, failure);
  if (workbook.isEmpty()) {
    result.error = results::Filled(results::words::kCannotWrite.Pick(spanish), stem + ".xlsx", failure);
    return false;
  }
  files.emplace_back(stem + ".xlsx", workbook);
  return true;
}

bool WriteTogether(const QString& targetFolder, const FileList& files, bool spanish,
                   ExportResult& result) {
  const bool es = spanish;
  const std::string folder = QFile::encodeName(QDir::cleanPath(targetFolder)).toStdString();
  std::string why;
  if (!MakeFolder(folder, why)) {
    result.error = results::Filled(results::words::kCannotMakeFolder.Pick(es), targetFolder.toStdString(), why);
    return false;
  }
  StagedFiles staged(folder);
  for (const auto& [name, bytes] : files) {
    if (!staged.Add(name, View(bytes))) break;
  }
  if (!staged.FailedName().empty() || !staged.Commit()) {
    result.error = results::Filled(results::words::kCannotWrite.Pick(es), staged.FailedName(), staged.SystemError());
    return false;
  }
  result.written = staged.Paths();
  result.ok = true;
  return true;
}

ExportResult ExportRace(const results::RaceSheet& sheet, const QString& targetFolder, bool spanish) {
  const bool es = spanish;
  ExportResult result;
  for (const auto& problem : sheet.problems) result.warnings.push_back(results::ProblemText(problem, es));
  result.partial = !sheet.problems.empty();
  if (sheet.Unfinished()) result.warnings.emplace_back(results::words::kUnfinished.Pick(es));

  if (const auto missing = sheet.MissingFiles(); !missing.empty()) {
    std::string names;
    for (const auto& name : missing) names += (names.empty() ? "" : ", ") + name;
    result.error = results::Filled(results::words::kMissingFiles.Pick(es), names);
    return result;
  }
  // Everything is made in memory first; only then does the folder see a file.
  const std::string stem = sheet.name.Text();
  FileList files;
  auto add = [&files](std::string name, const std::string& bytes) {
    files.emplace_back(std::move(name), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  };
  const std::vector<results::Table> tables = {results::ClassificationTable(sheet, es), results::PassesTable(sheet, es),
                                              results::EventsTable(sheet, es)};
  const std::string title = results::PageTitle(sheet, es);
  if (!AddTables(files, tables, {"-classification.csv", "-passes.csv", "-events.csv"}, stem, title, es, result)) {
    return result;
  }

  const auto laps = results::LapsOf(sheet);
  charts::Chart lapTimes = charts::LapTimesChart(laps, sheet.commonTiming, es, sheet.drivers);
  charts::Chart lapChart = charts::LapChart(results::PositionsByLap(laps), es, sheet.drivers);
  std::vector<results::PageImage> images;
  std::vector<DocumentChart> documentCharts;
  for (const auto& [kind, chart] : {std::pair{charts::Kind::LapTimes, &lapTimes}, std::pair{charts::Kind::LapChart, &lapChart}}) {
    if (!chart->chart) continue;
    const QString chartTitle = charts::ChartTitle(kind, es);
    images.push_back({chartTitle.toStdString(), "image/svg+xml",
                      charts::ChartSvg(*chart->chart, charts::kLayoutSize, chartTitle).toStdString()});
    documentCharts.push_back({chart->chart->title(), chart->chart.get()});
  }
  add(stem + ".html", results::ResultsPage(sheet, es, images));
  std::string failure;
  const QByteArray pdf = ResultsPdf(sheet, es, documentCharts, failure);
  if (pdf.isEmpty()) {
    result.error = results::Filled(results::words::kCannotWrite.Pick(es), stem + ".pdf", failure);
    return result;
  }
  files.emplace_back(stem + ".pdf", pdf);
  // The charts as pictures of their own, for a website or a message.
  if (lapTimes.chart) files.emplace_back(stem + "-lap-times.png", charts::ChartPng(*lapTimes.chart, QSize(1600, 900)));
  if (lapChart.chart) files.emplace_back(stem + "-lap-chart.png", charts::ChartPng(*lapChart.chart, QSize(1600, 900)));

  WriteTogether(targetFolder, files, es, result);
  return result;
}

ExportResult ExportRace(platform::DirectoryLister& lister, const std::string& recordFolder, const records::RaceId& race,
                        const QString& targetFolder, bool spanish, const std::map<int, std::string>& drivers) {
  results::LoadedRace loaded = results::LoadRace(lister, recordFolder, race);
  if (loaded.failure != results::LoadFailure::None) {
    ExportResult result;
    result.error = results::FailureText(loaded, spanish);
    return result;
  }
  loaded.sheet.drivers = drivers;
  return ExportRace(loaded.sheet, targetFolder, spanish);
}

}  // namespace exports

#include "exports/race_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cstdio>
#include <unistd.h>

#include "charts/race_charts.h"
#include "events/events_review.h"
#include "printing/line_printer.h"
#include "printing/painter_surface.h"
#include "records/browser_model.h"
#include "records/pass_order.h"
#include "results/csv.h"
#include "results/html_page.h"
#include "results/laps.h"

namespace exports {

namespace {

QByteArray Bytes(const std::string& text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

std::vector<std::string> FirstFive(const std::array<std::string, 6>& cells) { return {cells.begin(), cells.begin() + 5}; }

// The PDF goes to a temporary name first and is renamed when the job ended.
bool WriteReportPdf(const printing::Report& report, const QString& path, bool spanish, const QFont& font,
                    std::string& error) {
  const QString partial = QFileInfo(path).dir().filePath(QStringLiteral(".") + QFileInfo(path).fileName() +
                                                         QStringLiteral(".part"));
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(partial);
    printer.setDocName(QString::fromStdString(report.title));
    printing::PainterSurface surface(printer, font);
    if (!surface.Started()) {
      error = "cannot write " + path.toStdString();
      QFile::remove(partial);
      return false;
    }
    printing::LinePrinter lines(surface);
    printing::WriteReport(lines, report, spanish);
  }
  QFile written(partial);
  // Whole and on disk before it takes the real name.
  if (written.size() == 0 || !written.open(QIODevice::ReadOnly) || ::fsync(written.handle()) != 0) {
    error = "cannot write " + path.toStdString();
    QFile::remove(partial);
    return false;
  }
  written.close();
  if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(path).constData()) != 0) {
    error = "cannot write " + path.toStdString();
    QFile::remove(partial);
    return false;
  }
  return true;
}

}  // namespace

bool WriteWhole(const QString& path, const QByteArray& bytes, std::string& error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    error = "cannot write " + path.toStdString() + ": " + file.errorString().toStdString();
    file.cancelWriting();
    return false;
  }
  return true;
}

std::vector<printing::Report> RaceReports(const results::RaceSheet& sheet, bool spanish) {
  printing::Report frame;
  frame.day = sheet.name.day;
  if (sheet.hasClassification) {
    frame.description = records::DescriptionValue(sheet.classification);
    frame.details = records::DetailsValue(sheet.classification);
  }
  std::vector<printing::Report> reports(4, frame);

  printing::Report& classification = reports[0];
  classification.title = spanish ? "Clasificación" : "Classification";
  classification.headings = records::ClassificationHeadings(spanish);
  for (const auto& row : sheet.classification.rows.items) classification.rows.push_back(records::ClassificationCells(row));

  printing::Report& passes = reports[1];
  passes.title = spanish ? "Pasos por paso" : "Passes by pass";
  passes.headings = records::PassesHeadings(spanish);
  std::vector<records::TPaso> byPass = sheet.passes;
  records::OrderPassesByPass(byPass);
  for (const auto& pass : byPass) passes.rows.push_back(records::PassCells(pass));

  printing::Report& races = reports[2];
  races.title = spanish ? "Carreras" : "Races";
  races.headings = records::RacesHeadings(spanish);
  for (const auto& race : sheet.dayRaces) races.rows.push_back(records::RaceCells(race));

  printing::Report& events = reports[3];
  events.title = events::InciReportTitle(spanish, events::InciOrder::ByEvent);
  events.headings = FirstFive(events::InciHeadings(spanish));
  std::vector<records::TInci> byEvent = sheet.events;
  events::OrderInci(byEvent, events::InciOrder::ByEvent);
  for (const auto& entry : byEvent) events.rows.push_back(FirstFive(events::InciCells(entry)));
  return reports;
}

ExportResult ExportRace(const results::RaceSheet& sheet, const QString& targetFolder, bool spanish,
                        const QFont& reportFont) {
  ExportResult result;
  result.warnings = sheet.problems;
  QDir folder(targetFolder);
  if (!folder.exists() && !QDir().mkpath(targetFolder)) {
    result.error = "cannot make the folder " + targetFolder.toStdString();
    return result;
  }
  const QString stem = folder.filePath(QString::fromStdString(sheet.name.Text()));
  auto write = [&result](const QString& path, const QByteArray& bytes) {
    if (!WriteWhole(path, bytes, result.error)) return false;
    result.written.push_back(path.toStdString());
    return true;
  };

  if (!write(stem + QStringLiteral("-classification.csv"), Bytes(results::ClassificationCsv(sheet, spanish))) ||
      !write(stem + QStringLiteral("-passes.csv"), Bytes(results::PassesCsv(sheet, spanish))) ||
      !write(stem + QStringLiteral("-events.csv"), Bytes(results::EventsCsv(sheet, spanish)))) {
    return result;
  }

  // The page, with both charts as SVG (or what stands in for them).
  const auto laps = results::LapsOf(sheet.passes, sheet.Cars(), sheet.commonTiming);
  std::vector<results::PageImage> images;
  const QSize size(960, 540);
  charts::Chart lapTimes = charts::LapTimesChart(laps, sheet.commonTiming, spanish);
  if (lapTimes.chart) {
    const QString title = charts::ChartTitle(charts::Kind::LapTimes, spanish);
    images.push_back({title.toStdString(), "image/svg+xml", charts::ChartSvg(*lapTimes.chart, size, title).toStdString()});
  }
  charts::Chart lapChart = charts::LapChart(results::PositionsByLap(laps), spanish);
  if (lapChart.chart) {
    const QString title = charts::ChartTitle(charts::Kind::LapChart, spanish);
    images.push_back({title.toStdString(), "image/svg+xml", charts::ChartSvg(*lapChart.chart, size, title).toStdString()});
  }
  if (!write(stem + QStringLiteral(".html"), Bytes(results::ResultsPage(sheet, spanish, images)))) return result;
  // The charts as pictures of their own, for a website or a message.
  if (lapTimes.chart && !write(stem + QStringLiteral("-lap-times.png"), charts::ChartPng(*lapTimes.chart, QSize(1600, 900)))) {
    return result;
  }
  if (lapChart.chart && !write(stem + QStringLiteral("-lap-chart.png"), charts::ChartPng(*lapChart.chart, QSize(1600, 900)))) {
    return result;
  }

  static constexpr const char* kReportNames[] = {"-classification.pdf", "-passes.pdf", "-races.pdf", "-events.pdf"};
  const auto reports = RaceReports(sheet, spanish);
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const QString path = stem + QString::fromLatin1(kReportNames[i]);
    if (!WriteReportPdf(reports[i], path, spanish, reportFont, result.error)) return result;
    result.written.push_back(path.toStdString());
  }
  result.ok = true;
  return result;
}

ExportResult ExportRace(platform::DirectoryLister& lister, const std::string& recordFolder,
                        const results::RaceName& race, const QString& targetFolder, bool spanish,
                        const QFont& reportFont) {
  const results::LoadedRace loaded = results::LoadRace(lister, recordFolder, race);
  if (loaded.failure != results::LoadFailure::None) {
    ExportResult result;
    result.error = loaded.message;
    return result;
  }
  return ExportRace(loaded.sheet, targetFolder, spanish, reportFont);
}

}  // namespace exports

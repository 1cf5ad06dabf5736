// Printing a report on the current printer. These tests run with no print
// system, so the only printer there can be is a PDF file.
#include "printing/print_report.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "recording_boxes.h"

namespace {

printing::Report Races() {
  printing::Report report;
  report.day = "261206";
  report.description = "Resistencia";
  report.details = "Inicio 10:00:00";
  report.title = "Carreras";
  report.headings = {"Carrera", "Hora"};
  report.rows = {{"01", "10:00:00"}, {"02", "11:30:00"}};
  return report;
}

TEST(PrintReport, WithoutAPrinterSaysSoAndPrintsNothing) {
  printing::PrinterSettings settings;
  ASSERT_FALSE(settings.HasPrinter());
  printing_tests::RecordingBoxes boxes;
  EXPECT_FALSE(printing::PrintReport(settings, Races(), true, boxes));
  EXPECT_EQ(boxes.shown, (std::vector<std::string>{"There is no default printer currently selected"}));
  // Qt would otherwise fall back to writing a PDF file of its own.
  EXPECT_TRUE(settings.Printer().outputFileName().isEmpty());
}

TEST(PrintReport, APdfFileChosenAsPrinterGetsTheReport) {
  const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
  ASSERT_FALSE(pdftotext.isEmpty()) << "pdftotext (poppler-utils, installed by tools/setup.sh) is missing";
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("races.pdf"));
  printing::PrinterSettings settings;
  settings.Printer().setOutputFormat(QPrinter::PdfFormat);
  settings.Printer().setOutputFileName(pdf);
  ASSERT_TRUE(settings.HasPrinter());
  EXPECT_EQ(settings.PrinterName(), pdf);

  printing_tests::RecordingBoxes boxes;
  ASSERT_TRUE(printing::PrintReport(settings, Races(), false, boxes));
  EXPECT_TRUE(boxes.shown.empty());

  QProcess process;
  process.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  ASSERT_TRUE(process.waitForFinished(30000));
  const QString text = QString::fromUtf8(process.readAllStandardOutput());
  EXPECT_TRUE(text.contains(QStringLiteral("Date: 261206"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Resistencia"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Carreras"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("02\\s+11:30:00")))) << text.toStdString();
  EXPECT_EQ(text.count(QLatin1Char('\f')), 1) << "one page";
}

}  // namespace

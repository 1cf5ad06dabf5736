// Prints through the machine's print system, for tools/cups_print_test.sh.
//   cups_print_check --no-printer   expects the no-printer message
//   cups_print_check --print NAME   prints a two-page classification on the
//                                   default printer as the job NAME
// Exits 0 when things went as expected.
#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "printing/print_report.h"
#include "recording_boxes.h"

namespace {

printing::Report LongClassification() {
  printing::Report report;
  report.day = "261206";
  report.description = "Final GT";
  report.details = "Inicio 10:00:00. Crono común.";
  report.title = "Clasificación";
  report.headings = {"Pos", "Coche", "Vueltas"};
  // Enough rows for a second page in a 14 point font.
  for (int i = 1; i <= 70; ++i) {
    report.rows.push_back(
        {(i < 10 ? " " : "") + std::to_string(i), "Fila" + std::to_string(i), std::to_string(100 - i)});
  }
  return report;
}

int ExpectNoPrinter() {
  printing::PrinterSettings settings;
  printing_tests::RecordingBoxes boxes;
  const bool printed = printing::PrintReport(settings, LongClassification(), true, boxes);
  if (printed || boxes.shown != std::vector<std::string>{printing::kNoPrinterMessage}) {
    std::fprintf(stderr, "expected only the no-printer message; printed=%d, %zu messages\n", printed,
                 boxes.shown.size());
    return 1;
  }
  return 0;
}

int Print(const char* jobName) {
  printing::PrinterSettings settings;
  if (!settings.HasPrinter()) {
    std::fprintf(stderr, "no default printer found\n");
    return 1;
  }
  std::printf("printing on %s\n", settings.PrinterName().toLocal8Bit().constData());
  printing_tests::RecordingBoxes boxes;
  printing::Report report = LongClassification();
  report.jobName = jobName;
  if (!printing::PrintReport(settings, report, true, boxes)) {
    for (const auto& text : boxes.shown) std::fprintf(stderr, "message: %s\n", text.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir runtime;
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  QApplication app(argc, argv);
  if (argc == 2 && std::strcmp(argv[1], "--no-printer") == 0) return ExpectNoPrinter();
  if (argc == 3 && std::strcmp(argv[1], "--print") == 0) return Print(argv[2]);
  std::fprintf(stderr, "usage: %s --no-printer | --print NAME\n", argv[0]);
  return 2;
}

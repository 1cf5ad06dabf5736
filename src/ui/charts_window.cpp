#include "ui/charts_window.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>

#include "exports/race_export.h"
#include "printing/printer_settings.h"
#include "results/wording.h"
#include "ui/widgets.h"

namespace ui {

namespace {

constexpr Words kCharts{"Gráficos", "Charts"};
constexpr Words kPrint{"Imprimir", "Print"};
constexpr Words kSavePng{"Guardar PNG…", "Save PNG…"};
constexpr Words kSavePdf{"Guardar PDF…", "Save PDF…"};
constexpr Words kClose{"Cerrar", "Close"};
constexpr Words kSave{"Guardar ", "Save "};
constexpr Words kRace{"Carrera %1", "Race %1"};
constexpr Words kUnreadableLines{"  (ficheros con líneas ilegibles: se muestra lo leído)",
                                 "  (files with unreadable lines: showing what was read)"};
constexpr Words kJobRefused{"La impresora no aceptó el trabajo", "The printer did not accept the print job"};

std::size_t Index(charts::Kind kind) { return kind == charts::Kind::LapTimes ? 0 : 1; }

}  // namespace

ChartsWindow::ChartsWindow(const ChartsServices& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint),
      services_(services) {
  setObjectName(QStringLiteral("ChartsWindow"));
  setFixedSize(kWidth, kHeight);
  setModal(true);
  raceLabel_ = new QLabel(this);
  raceLabel_->setObjectName(QStringLiteral("ChartsRace"));
  raceLabel_->setGeometry(8, 6, kWidth - 16, 18);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("ChartsTabs"));
  tabs_->setGeometry(8, 28, kWidth - 16, kHeight - 28 - 44);
  for (Tab& tab : tab_) {
    tab.stack = new QStackedWidget;
    tab.view = new QChartView;
    tab.view->setRenderHint(QPainter::Antialiasing);
    tab.message = new QLabel;
    tab.message->setAlignment(Qt::AlignCenter);
    tab.message->setWordWrap(true);
    tab.stack->addWidget(tab.view);
    tab.stack->addWidget(tab.message);
    tabs_->addTab(tab.stack, QString());
  }
  tab_[0].view->setObjectName(QStringLiteral("LapTimesView"));
  tab_[1].view->setObjectName(QStringLiteral("LapChartView"));
  tab_[0].message->setObjectName(QStringLiteral("LapTimesMessage"));
  tab_[1].message->setObjectName(QStringLiteral("LapChartMessage"));
  connect(tabs_, &QTabWidget::currentChanged, this, [this] { UpdateButtons(); });

  auto button = [this](const char* name, int x, int width) {
    auto* b = new QPushButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, kHeight - 36, width, 26);
    return b;
  };
  print_ = button("ChartsPrint", 8, 110);
  savePng_ = button("ChartsSavePng", 126, 130);
  savePdf_ = button("ChartsSavePdf", 264, 130);
  close_ = button("ChartsClose", kWidth - 8 - 110, 110);
  connect(print_, &QPushButton::clicked, this, [this] { PrintClick(); });
  connect(savePng_, &QPushButton::clicked, this, [this] { SavePngClick(); });
  connect(savePdf_, &QPushButton::clicked, this, [this] { SavePdfClick(); });
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
  SetTexts();
}

void ChartsWindow::SetTexts() {
  const bool es = spanish_;
  setWindowTitle(Tr(kCharts, es));
  tabs_->setTabText(0, charts::ChartTitle(charts::Kind::LapTimes, es));
  tabs_->setTabText(1, charts::ChartTitle(charts::Kind::LapChart, es));
  print_->setText(Tr(kPrint, es));
  savePng_->setText(Tr(kSavePng, es));
  savePdf_->setText(Tr(kSavePdf, es));
  close_->setText(Tr(kClose, es));
}

charts::Chart ChartsWindow::Build(charts::Kind kind) const {
  if (kind == charts::Kind::LapTimes)
    return charts::LapTimesChart(laps_, sheet_.commonTiming, spanish_, sheet_.drivers);
  return charts::LapChart(results::PositionsByLap(laps_), spanish_, sheet_.drivers);
}

void ChartsWindow::SetRace(const results::RaceSheet& sheet, bool spanish) {
  sheet_ = sheet;
  spanish_ = spanish;
  laps_ = results::LapsOf(sheet_);
  SetTexts();
  QString text = Tr(kRace, spanish).arg(Q(sheet.name.Text()));
  if (!sheet.Description().empty()) text += QStringLiteral(" · ") + Q(sheet.Description());
  if (!sheet.problems.empty()) {
    text += Tr(kUnreadableLines, spanish);
  }
  raceLabel_->setText(text);
  for (charts::Kind kind : {charts::Kind::LapTimes, charts::Kind::LapChart}) {
    Tab& tab = tab_[Index(kind)];
    charts::Chart built = Build(kind);
    tab.hasChart = built.chart != nullptr;
    if (tab.hasChart) {
      QChart* old = tab.view->chart();
      tab.view->setChart(built.chart.release());
      delete old;
      tab.stack->setCurrentWidget(tab.view);
    } else {
      tab.message->setText(built.message);
      tab.stack->setCurrentWidget(tab.message);
    }
  }
  UpdateButtons();
}

int ChartsWindow::ShowModal(const results::RaceSheet& sheet, bool spanish) {
  SetRace(sheet, spanish);
  return exec();
}

QChart* ChartsWindow::ChartOf(charts::Kind kind) const {
  const Tab& tab = tab_[Index(kind)];
  return tab.hasChart ? tab.view->chart() : nullptr;
}

QString ChartsWindow::MessageOf(charts::Kind kind) const {
  const Tab& tab = tab_[Index(kind)];
  return tab.hasChart ? QString() : tab.message->text();
}

charts::Kind ChartsWindow::Current() const {
  return tabs_->currentIndex() == 0 ? charts::Kind::LapTimes : charts::Kind::LapChart;
}

void ChartsWindow::Choose(charts::Kind kind) { tabs_->setCurrentIndex(static_cast<int>(Index(kind))); }

void ChartsWindow::UpdateButtons() {
  const bool drawn = tab_[Index(Current())].hasChart;
  for (QPushButton* b : {print_, savePng_, savePdf_}) b->setEnabled(drawn);
}

QString ChartsWindow::FileStem() const {
  return Q(sheet_.name.Text()) +
         (Current() == charts::Kind::LapTimes ? QStringLiteral("-lap-times") : QStringLiteral("-lap-chart"));
}

void ChartsWindow::PrintClick() {
  charts::Chart built = Build(Current());
  if (!built.chart) return;
  if (services_.printer == nullptr || !services_.printer->HasPrinter()) {
    services_.boxes.Info(printing::kMessageCaption, printing::kNoPrinterMessage);
    return;
  }
  QPrinter& printer = services_.printer->Printer();
  printer.setDocName(charts::ChartTitle(Current(), spanish_));
  QPainter painter;
  if (!painter.begin(&printer)) {
    services_.boxes.Info(printing::kMessageCaption, kJobRefused.Pick(spanish_));
    return;
  }
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  charts::DrawChart(*built.chart, painter, charts::FittedRect(QRectF(QPointF(0, 0), page.size()), charts::kLayoutSize),
                    QSizeF(charts::kLayoutSize));
  painter.end();
}

void ChartsWindow::SavePngClick() {
  Save(QStringLiteral("PNG"), [](QChart& chart) { return charts::ChartPng(chart, QSize(1600, 900)); });
}

void ChartsWindow::SavePdfClick() {
  const QString title = charts::ChartTitle(Current(), spanish_);
  Save(QStringLiteral("PDF"), [&title](QChart& chart) { return charts::ChartPdf(chart, title); });
}

void ChartsWindow::Save(const QString& format, const std::function<QByteArray(QChart&)>& draw) {
  charts::Chart built = Build(Current());
  if (!built.chart) return;
  const QString extension = format.toLower();
  const auto path = services_.dialogs.SaveFileName(
      this, Tr(kSave, spanish_) + format,
      FileStem() + QLatin1Char('.') + extension, format + QStringLiteral(" (*.") + extension + QLatin1Char(')'));
  if (!path) return;
  std::string error;
  if (!exports::WriteWhole(*path, draw(*built.chart), error)) {
    services_.boxes.Info(printing::kMessageCaption,
                         results::Filled(results::words::kCannotWrite.Pick(spanish_), path->toStdString(), error));
  }
}

}  // namespace ui

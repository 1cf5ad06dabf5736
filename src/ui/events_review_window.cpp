#include "ui/events_review_window.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>

#include "printing/printer_settings.h"
#include "ui/record_grid.h"
#include "ui/widgets.h"

namespace ui {

namespace {

constexpr Words kEvents{"Incidencias", "Events"};
constexpr Words kFile{"Fichero", "File"};
constexpr Words kDetail{"Detalle", "Detail"};
constexpr Words kPrint{"Imprimir", "Print"};

constexpr int kGridTop = 52;
constexpr int kGridWidth = 304;
constexpr int kMemoMaxChars = 255;

std::vector<std::string> FirstFive(const std::array<std::string, 6>& cells) {
  return {cells.begin(), cells.begin() + 5};
}

}  // namespace

TForm3::TForm3(platform::MessageBoxes& boxes, ReportPrinter& printer, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowSystemMenuHint),
      boxes_(boxes),
      printer_(printer) {
  setObjectName(QStringLiteral("Form3"));
  setFixedSize(kWidth, kHeight);
  setModal(true);
  setFont(SmallFont());

  label3_ = MakeCaption(this, "Label3", 8, 8, SmallFont());
  label4_ = MakeCaption(this, "Label4", 48, 8, SmallFont());
  SetColour(label4_, QPalette::Window, Qt::white);
  label1_ = MakeCaption(this, "Label1", 100, 36, SmallFont());
  label2_ = MakeCaption(this, "Label2", 376, 36, SmallFont());

  button3_ = new QPushButton(this);
  button3_->setObjectName(QStringLiteral("Button3"));
  button3_->setGeometry(216, 36, 53, 16);
  button3_->setFont(SmallFont());
  connect(button3_, &QPushButton::clicked, this, [this] { Button3Click(); });

  stringGrid1_ = MakeRecordGrid(this, "StringGrid1", QRect(6, kGridTop, kGridWidth, 32), {40, 32, 48, 88, 40, 32},
                                PixelFont("Courier New", 11));
  stringGrid1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(stringGrid1_, &QTableWidget::cellClicked, this, [this](int row, int) { StringGrid1Click(row); });
  connect(stringGrid1_, &QTableWidget::currentCellChanged, this, [this](int row, int, int previousRow, int) {
    if (row >= 0 && row != previousRow) StringGrid1Click(row);
  });

  memo1_ = new QPlainTextEdit(this);
  memo1_->setObjectName(QStringLiteral("Memo1"));
  memo1_->setGeometry(312, 52, 201, 61);
  memo1_->setFont(PixelFont("Courier New", 11));
  memo1_->setReadOnly(true);
  SetColour(memo1_, QPalette::Base, Qt::white);

  radioGroup1_ = new QGroupBox(this);
  radioGroup1_->setObjectName(QStringLiteral("RadioGroup1"));
  radioGroup1_->setGeometry(312, 124, 93, 77);
  radioGroup1_->setFont(SmallFont());
  auto* choices = new QButtonGroup(radioGroup1_);
  for (int i = 0; i < 3; ++i) {
    auto* item = new QRadioButton(radioGroup1_);
    item->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(i));
    item->setGeometry(8, 16 + i * 19, 81, 17);
    choices->addButton(item, i);
    orderItems_[static_cast<std::size_t>(i)] = item;
  }
  connect(choices, &QButtonGroup::idClicked, this, [this](int item) { RadioGroup1Click(item); });

  HideDetail();
}

void TForm3::Prepare(EventsReviewRequest request) { request_ = std::move(request); }

int TForm3::ShowModal(EventsReviewRequest request) {
  Prepare(std::move(request));
  return exec();
}

void TForm3::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormActivate();
}

void TForm3::hideEvent(QHideEvent* event) {
  // Closing releases the entries; the next opening reads the file again.
  if (!event->spontaneous()) inciList_.clear();
  QDialog::hideEvent(event);
}

void TForm3::FormActivate() {
  if (const QScreen* s = screen()) {
    const QRect area = s->geometry();
    move(area.x() + area.width() / 2 - width() / 2, area.y() + area.height() / 2 - height() / 2);
  }
  const bool es = request_.spanish;
  setWindowTitle(Tr(kEvents, es));
  label3_->setText(Tr(kFile, es));
  label1_->setText(Q(events::InciCountText(es, 0)));
  label2_->setText(Tr(kDetail, es));
  radioGroup1_->setTitle(Tr(kEvents, es));
  const auto captions = events::InciOrderCaptions(es);
  for (std::size_t i = 0; i < orderItems_.size(); ++i) orderItems_[i]->setText(Q(captions[i]));
  button3_->setText(Tr(kPrint, es));
  for (QLabel* label : {label3_, label1_, label2_}) label->adjustSize();

  const auto headings = events::InciHeadings(es);
  SetGridHeadings(stringGrid1_, {headings.begin(), headings.end()});
  FillGridRows(stringGrid1_, {});
  ClearGridSelection(stringGrid1_);
  stringGrid1_->resize(kGridWidth, 2 * kGridRowHeight + 4);

  label4_->setText(Q(request_.eventsFileName));
  label4_->adjustSize();
  HideDetail();

  inciList_.clear();
  CargaInci(request_.path);
}

void TForm3::CargaInci(const std::string& path) {
  std::string bytes;
  records::ReadResult<records::TInci> read;
  if (records::ReadWholeFile(path, bytes)) read = records::ReadEvents(bytes);
  // A number that does not convert ends the reading: the entries before the
  // bad line are shown.
  for (const auto& message : read.messages) boxes_.Info(printing::kMessageCaption, message);
  inciList_ = std::move(read.items);
  ShowOrderChoice(events::InciOrder::ByEvent);
  MuestraInci();
}

void TForm3::MuestraInci() {
  std::vector<std::vector<std::string>> rows;
  rows.reserve(inciList_.size());
  for (const auto& entry : inciList_) {
    const auto cells = events::InciCells(entry);
    rows.emplace_back(cells.begin(), cells.end());
  }
  const QSignalBlocker quiet(stringGrid1_);
  FillGridRows(stringGrid1_, rows);
  const int rowCount = static_cast<int>(std::max<std::size_t>(inciList_.size(), 1)) + 1;
  stringGrid1_->resize(kGridWidth, events::InciGridHeight(rowCount, kGridTop, kOuterHeight));
  label1_->setText(Q(events::InciCountText(request_.spanish, inciList_.size())));
  label1_->adjustSize();
}

void TForm3::RadioGroup1Click(int item) {
  if (item < 0 || item > 2) return;
  ShowOrderChoice(static_cast<events::InciOrder>(item));
  events::OrderInci(inciList_, order_);
  HideDetail();
  {
    const QSignalBlocker quiet(stringGrid1_);
    ClearGridSelection(stringGrid1_);
  }
  MuestraInci();
}

void TForm3::StringGrid1Click(int row) {
  if (row < 0 || row >= static_cast<int>(inciList_.size()) || !inciList_[static_cast<std::size_t>(row)].hasDetail) {
    HideDetail();
    return;
  }
  const QString text = Q(inciList_[static_cast<std::size_t>(row)].detail).left(kMemoMaxChars);
  memo1_->setPlainText(text);
  label2_->show();
  memo1_->show();
}

void TForm3::Button3Click() {
  printing::Report report;
  report.day = request_.day;
  report.description = request_.description;
  report.details = request_.details;
  report.title = events::InciReportTitle(request_.spanish, order_);
  report.headings = FirstFive(events::InciHeadings(request_.spanish));
  for (auto& cells : GridRows(stringGrid1_)) {
    cells.resize(5);
    report.rows.push_back(std::move(cells));
  }
  printer_.Print(report, request_.spanish);
}

void TForm3::ShowOrderChoice(events::InciOrder order) {
  order_ = order;
  orderItems_[static_cast<std::size_t>(order)]->setChecked(true);
}

void TForm3::HideDetail() {
  label2_->hide();
  memo1_->hide();
  memo1_->clear();
}

}  // namespace ui

#include "printing/print_setup_window.h"

#include <QFontInfo>
#include <QFrame>
#include <array>

#include "records/words.h"

namespace printing {

namespace {

QFont ArialPixels(int pixels) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(pixels);
  return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int x, int y) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(x, y);
  return label;
}

QLabel* MakeValue(QWidget* parent, const char* name, int x, int y) {
  QLabel* label = MakeLabel(parent, name, x, y);
  label->setFont(ArialPixels(11));
  label->resize(200 - x, 16);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, int x) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(x, 4, 89, 33);
  button->setFont(ArialPixels(13));
  return button;
}

using records::Words;
QString Tr(const Words& words, bool spanish) { return QString::fromUtf8(words.Pick(spanish)); }

constexpr Words kFixed{"Fijo", "Fixed"};
constexpr Words kDefault{"Por defecto", "Default"};
constexpr Words kSelection{"Selección", "Selection"};
constexpr Words kFont{"Letra", "Font"};
constexpr Words kFontHint{"Recomendable fuente justificada, como Courier, de unos 14 puntos",
                          "Recommended fixed font, as Courier, of about 14 points"};
constexpr Words kPresent{"Actual", "Present"};
constexpr Words kTypeface{"Fuente", "Font"};
constexpr std::array<Words, 4> kStyles = {
    {{"Negrita", "Bold"}, {"Cursiva", "Italic"}, {"Subrayado", "Underline"}, {"Tachado", "Strikeout"}}};

QString PitchWord(Pitch pitch, bool spanish) {
  switch (pitch) {
    case Pitch::kVariable:
      return QStringLiteral("Variable");
    case Pitch::kFixed:
      return Tr(kFixed, spanish);
    case Pitch::kDefault:
      break;
  }
  return Tr(kDefault, spanish);
}

int PointSize(const QFont& font) {
  if (font.pointSize() > 0) return font.pointSize();
  return QFontInfo(font).pointSize();
}

}  // namespace

TForm8::TForm8(PrinterSettings& settings, PrintDialogs& dialogs, platform::MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), settings_(settings), dialogs_(dialogs), boxes_(boxes) {
  setObjectName(QStringLiteral("Form8"));
  setWindowTitle(QStringLiteral("Impresora"));
  setFixedSize(208, 260);

  button1_ = MakeButton(this, "Button1", 4);
  button2_ = MakeButton(this, "Button2", 108);
  connect(button1_, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(button2_, &QPushButton::clicked, this, [this] { Button2Click(); });

  label1_ = MakeLabel(this, "Label1", 0, 52);
  label2_ = MakeValue(this, "Label2", 8, 76);
  label3_ = MakeLabel(this, "Label3", 0, 100);
  label4_ = MakeValue(this, "Label4", 8, 124);
  label5_ = MakeValue(this, "Label5", 8, 148);
  label6_ = MakeValue(this, "Label6", 7, 172);

  // The style boxes only show the font's style: their panel is disabled.
  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setGeometry(24, 196, 157, 61);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setEnabled(false);
  const std::array<QPoint, 4> places{QPoint(8, 12), QPoint(8, 36), QPoint(80, 12), QPoint(80, 36)};
  for (std::size_t i = 0; i < styleBoxes_.size(); ++i) {
    auto* box = new QCheckBox(panel);
    box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
    box->setFont(ArialPixels(11));
    box->setGeometry(places[i].x(), places[i].y(), 72, 17);
    styleBoxes_[i] = box;
  }
}

int TForm8::ShowModal(bool spanish) {
  spanish_ = spanish;
  return exec();
}

void TForm8::showEvent(QShowEvent* event) {
  FormActivate();
  QDialog::showEvent(event);
}

void TForm8::FormActivate() {
  const bool es = spanish_;
  setWindowTitle(QStringLiteral("Impresora"));
  button1_->setText(Tr(kSelection, es));
  button1_->setToolTip(QStringLiteral("Impresora, orientación..."));
  button2_->setText(Tr(kFont, es));
  button2_->setToolTip(Tr(kFontHint, es));
  label1_->setText(Tr(kPresent, es));
  label1_->adjustSize();
  label3_->setText(Tr(kTypeface, es));
  label3_->adjustSize();
  for (std::size_t i = 0; i < styleBoxes_.size(); ++i) styleBoxes_[i]->setText(Tr(kStyles[i], es));
  ShowPrinterName();
  ShowFont();
}

void TForm8::Button1Click() {
  dialogs_.SetUpPrinter(settings_.Printer(), this);
  ShowPrinterName();
}

void TForm8::Button2Click() {
  const QFont& current = settings_.Font();
  const QFont preset(current.family(), PointSize(current));
  const auto chosen = dialogs_.ChooseFont(preset, this);
  if (!chosen) return;
  settings_.SetChosenFont(*chosen);
  FormActivate();
}

void TForm8::ShowPrinterName() {
  if (!settings_.HasPrinter()) {
    label2_->clear();
    boxes_.Info(kMessageCaption, kNoPrinterMessage);
    return;
  }
  label2_->setText(settings_.PrinterName().left(kNameLength));
}

void TForm8::ShowFont() {
  const QFont& font = settings_.Font();
  label4_->setText(font.family());
  label5_->setText(QString::number(PointSize(font)));
  label6_->setText(PitchWord(settings_.FontPitch(), spanish_));
  styleBoxes_[0]->setChecked(font.weight() >= QFont::Bold);
  styleBoxes_[1]->setChecked(font.italic());
  styleBoxes_[2]->setChecked(font.underline());
  styleBoxes_[3]->setChecked(font.strikeOut());
}

}  // namespace printing

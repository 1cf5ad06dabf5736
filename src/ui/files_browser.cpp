#include "ui/files_browser.h"

namespace ui {

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Ficheros"));
  setFixedSize(480, 320);
  setModal(true);
}

}  // namespace ui

#include "platform/qt_message_boxes.h"

#include <QMessageBox>

namespace platform {

QString BoxText(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

void QtMessageBoxes::Info(const std::string& caption, const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption), BoxText(text), QMessageBox::Ok, parent_);
  box.exec();
}

bool QtMessageBoxes::Confirm(const std::string& caption, const std::string& text) {
  QMessageBox box(QMessageBox::Question, QString::fromStdString(caption), BoxText(text),
                  QMessageBox::Ok | QMessageBox::Cancel, parent_);
  // Enter on a question keeps things as they are.
  box.setDefaultButton(QMessageBox::Cancel);
  box.setEscapeButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok;
}

}  // namespace platform

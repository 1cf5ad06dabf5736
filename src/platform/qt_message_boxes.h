#pragma once
// The message boxes on screen, as QMessageBox dialogs.

#include <QPointer>
#include <QWidget>

#include "platform/message_boxes.h"

namespace platform {

class QtMessageBoxes final : public MessageBoxes {
 public:
  // Boxes are centred on the parent when one is set.
  void SetParent(QWidget* parent) { parent_ = parent; }
  void Info(const std::string& caption, const std::string& text) override;
  bool Confirm(const std::string& caption, const std::string& text) override;

 private:
  QPointer<QWidget> parent_;
};

// A message text with its "\r" line breaks turned into the "\n" Qt shows.
QString BoxText(const std::string& text);

}  // namespace platform

#pragma once
// TForm2, the files browser, opened modally from the "Ficheros" button. For
// now an empty window with its caption.

#include <QDialog>

namespace ui {

class TForm2 final : public QDialog {
 public:
  explicit TForm2(QWidget* parent = nullptr);
};

}  // namespace ui

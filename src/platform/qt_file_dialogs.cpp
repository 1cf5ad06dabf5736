#include <QDir>
#include <QFileDialog>

#include "platform/file_dialogs.h"

namespace platform {

std::optional<QString> QtFileDialogs::SaveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                                   const QString& filter) {
  const QString name =
      QFileDialog::getSaveFileName(parent, caption, QDir::home().filePath(suggested), filter);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> QtFileDialogs::FolderName(QWidget* parent, const QString& caption) {
  const QString name = QFileDialog::getExistingDirectory(parent, caption, QDir::homePath());
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> QtFileDialogs::OpenFileName(QWidget* parent, const QString& caption, const QString& filter) {
  const QString name = QFileDialog::getOpenFileName(parent, caption, QDir::homePath(), filter);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

}  // namespace platform

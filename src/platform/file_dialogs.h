#pragma once
// Asking the operator for a file to save into, a file to read or a folder to write into.
// Window code asks through this so that tests can answer themselves.

#include <QString>
#include <optional>

class QWidget;

namespace platform {

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // Nothing when the operator cancelled.
  virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                              const QString& filter) = 0;
  virtual std::optional<QString> FolderName(QWidget* parent, const QString& caption) = 0;
  virtual std::optional<QString> OpenFileName(QWidget* parent, const QString& caption, const QString& filter) = 0;
};

class QtFileDialogs final : public FileDialogs {
 public:
  std::optional<QString> SaveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                      const QString& filter) override;
  std::optional<QString> FolderName(QWidget* parent, const QString& caption) override;
  std::optional<QString> OpenFileName(QWidget* parent, const QString& caption, const QString& filter) override;
};

}  // namespace platform

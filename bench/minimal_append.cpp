// The smallest Qt program that does what a pass must: on every key press it
// appends one line to a file and syncs it. The yardstick for the program's
// key-to-disk time.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <string>

class Appender final : public QWidget {
 public:
  explicit Appender(int fd) : fd_(fd) {
    setWindowTitle(QStringLiteral("minimal_append"));
    resize(200, 100);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const std::string line = std::to_string(++count_) + "\t1\t1\t12,345\t01'02\"345\r\n";
    if (::write(fd_, line.data(), line.size()) < 0 || ::fdatasync(fd_) != 0) close();
    event->accept();
  }

 private:
  int fd_;
  int count_ = 0;
};

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 2) return 64;
  const int fd = ::open(argv[1], O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return 1;
  Appender window(fd);
  window.show();
  const int rc = QApplication::exec();
  ::close(fd);
  return rc;
}

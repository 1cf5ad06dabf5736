// TRELVIX: lap counter and race-event recorder for model-car racing.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("TRELVIX");
  QLabel placeholder(
      "TRELVIX\n\nThe race control core and the record files are built.\n"
      "The race director's window comes next.");
  placeholder.setWindowTitle("TRELVIX");
  placeholder.setMargin(24);
  placeholder.show();
  return QApplication::exec();
}

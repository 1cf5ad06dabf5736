// Plays the cues named on the command line through the program's real sound
// path (queue and Qt backend) from the folder given first, and exits 0 once
// every cue has ended, 1 when there is no audio device, 2 on a time-out.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>

#include "platform/qt_sound.h"

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 3) {
    std::fprintf(stderr, "usage: sound_playback_check FOLDER CUE...\n");
    return 64;
  }
  platform::QtSound sound{QDir(args[1])};
  auto& device = sound.device();
  if (device.OutputDeviceCount() < 1) {
    std::fprintf(stderr, "no audio output device\n");
    return 1;
  }
  auto& queue = static_cast<platform::CueQueue&>(device);
  for (int i = 2; i < args.size(); ++i) {
    if (args[i] == "beep") {
      device.Beep();
    } else {
      if (!device.CueExists(args[i].toStdString())) {
        std::fprintf(stderr, "missing cue %s\n", qPrintable(args[i]));
        return 3;
      }
      device.PlayCue(args[i].toStdString());
    }
  }
  int code = 2;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!queue.Playing()) {
      code = 0;
      QCoreApplication::quit();
    }
  });
  poll.start(20);
  QTimer::singleShot(20000, [] { QCoreApplication::quit(); });
  QCoreApplication::exec();
  return code;
}

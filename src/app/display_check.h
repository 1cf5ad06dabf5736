#pragma once
// The window needs a display. Over ssh there is none, and Qt's X11 plugin
// then aborts with a core dump: the program says so plainly instead.

#include <QString>
#include <QtGlobal>

namespace app {

// Why the window cannot open when no platform was chosen (QT_QPA_PLATFORM
// or -platform) and neither DISPLAY nor WAYLAND_DISPLAY names a display;
// empty when it may.
QString MissingDisplay(bool platformChosen);

// Says on standard error that the window cannot open, and why.
void ReportNoWindow(const QString& reason);

// While it lives, a fatal message from Qt (say, a display named but not
// reachable) ends the program with exit status 1 and a sentence on
// standard error, not an abort. Guards the making of the application only.
class FatalStartGuard final {
 public:
  FatalStartGuard() noexcept;
  ~FatalStartGuard();
  FatalStartGuard(const FatalStartGuard&) = delete;
  FatalStartGuard& operator=(const FatalStartGuard&) = delete;

 private:
  QtMessageHandler previous_;
};

// The exit status when the window cannot open.
inline constexpr int kNoDisplayExit = 1;

}  // namespace app

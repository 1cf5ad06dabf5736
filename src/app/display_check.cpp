#include "app/display_check.h"

#include <cstdio>
#include <cstdlib>

namespace app {

namespace {

QtMessageHandler g_previous = nullptr;

void EndOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (g_previous) g_previous(type, context, message);
  if (type != QtFatalMsg) return;
  ReportNoWindow(QStringLiteral("the window system did not start (Qt says why above)"));
  std::_Exit(kNoDisplayExit);
}

}  // namespace

QString MissingDisplay(bool platformChosen) {
  if (platformChosen || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return {};
  if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return {};
  return QStringLiteral("there is no display (DISPLAY and WAYLAND_DISPLAY are unset)");
}

void ReportNoWindow(const QString& reason) {
  std::fprintf(stderr,
               "trelvix: the window cannot open: %s.\nAn export needs none: trelvix --export YYMMDDnn --to DIR\n",
               reason.toLocal8Bit().constData());
  std::fflush(stderr);
}

FatalStartGuard::FatalStartGuard() noexcept : previous_(qInstallMessageHandler(EndOnFatal)) { g_previous = previous_; }

FatalStartGuard::~FatalStartGuard() {
  qInstallMessageHandler(previous_);
  g_previous = nullptr;
}

}  // namespace app

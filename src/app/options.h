#pragma once
// The program's command line, read before any window system is touched so
// that --help, --version, a mistake and an export answer without a display.
// The connections chosen here are for this run, over the ones kept from the
// last (race settings are never on the command line).

#include <QString>
#include <QStringList>
#include <optional>

#include "platform/link_choice.h"
#include "web/web_address.h"

namespace app {

struct Options {
  enum class Action { kWindow, kExport, kExportMeeting, kImport, kHelp, kVersion, kError };
  Action action = Action::kWindow;
  std::optional<platform::LinkChoice> decoder;  // --decoder DEVICE[@BAUD] | tcp:HOST:PORT | none
  std::optional<web::WebAddress> web;           // --web [ADDRESS:]PORT
  bool platformChosen = false;                  // Qt's -platform was given
  QStringList exportArguments;                  // the export's or import's own options, as RunExport/RunImport read them
  QString text;                                 // the help, the version line or what was wrong
};

// `arguments` as in argv, the program's name first. Qt's own window options
// (-platform, -display, -style ...) are accepted and left for QApplication.
Options ReadOptions(const QStringList& arguments);

// argv as a list, decoded as QCoreApplication decodes it.
QStringList ArgumentList(int argc, const char* const* argv);

}  // namespace app

#pragma once
// The program's command line: the connections chosen for this run, over the
// ones kept from the last (race settings are never on the command line).

#include <QStringList>
#include <optional>
#include <string>

#include "platform/link_choice.h"

namespace app {

struct Options {
  std::optional<platform::LinkChoice> decoder;  // --decoder DEVICE[@BAUD] | tcp:HOST:PORT | none
  std::optional<std::string> web;               // --web [ADDRESS:]PORT
  std::string error;                            // what was wrong with the line, empty when fine
};

// Reads the options it knows; others (such as --export, or Qt's own) are left alone.
Options ReadOptions(const QStringList& arguments);

}  // namespace app

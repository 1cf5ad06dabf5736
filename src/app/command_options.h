#pragma once
// The options of a run with no window (--export, --import-drivers), as
// ReadOptions hands them on: "--name value" or "--name=value" pairs after
// the program's name.

#include <QMap>
#include <QString>
#include <QStringList>

namespace app {

struct CommandOptions {
  QMap<QString, QString> values;  // by name, "--to" ...
  QString problem;                // what was wrong; empty when read
};

// Every name must be one of `known`.
CommandOptions ReadCommandOptions(const QStringList& arguments, const QStringList& known);

}  // namespace app

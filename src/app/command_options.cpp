#include "app/command_options.h"

namespace app {

CommandOptions ReadCommandOptions(const QStringList& arguments, const QStringList& known) {
  CommandOptions options;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    QString name = arguments[i];
    QString value;
    if (name.startsWith(QLatin1String("--")) && name.contains(QLatin1Char('='))) {
      value = name.section(QLatin1Char('='), 1);
      name = name.section(QLatin1Char('='), 0, 0);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      options.problem = name + QStringLiteral(": a value is missing");
      return options;
    }
    if (!known.contains(name)) {
      options.problem = QStringLiteral("unknown option: ") + name;
      return options;
    }
    options.values.insert(name, value);
  }
  return options;
}

}  // namespace app

#include "app/options.h"

namespace app {

Options ReadOptions(const QStringList& arguments) {
  Options options;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    const bool decoder = a == QLatin1String("--decoder") || a.startsWith(QLatin1String("--decoder="));
    const bool web = a == QLatin1String("--web") || a.startsWith(QLatin1String("--web="));
    if (!decoder && !web) continue;
    QString value;
    if (a.contains(QLatin1Char('='))) {
      value = a.section(QLatin1Char('='), 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      options.error = a.toStdString() + ": a value is missing";
      return options;
    }
    if (decoder) {
      options.decoder = platform::ParseLinkChoice(value.toStdString());
      if (!options.decoder) {
        options.error = "--decoder " + value.toStdString() +
                        ": expected a serial port (/dev/ttyUSB0 or /dev/ttyUSB0@115200), tcp:HOST:PORT or none";
        return options;
      }
    } else {
      options.web = value.toStdString();
    }
  }
  return options;
}

}  // namespace app

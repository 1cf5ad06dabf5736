#include "app/options.h"

#include <QCommandLineParser>

#include "app/version.h"

namespace app {

namespace {

// The options QApplication takes for itself (single dash, as Qt writes
// them); they reach it untouched and are not listed in the help.
constexpr const char* kQtValueOptions =
    "platform platformpluginpath platformtheme plugin qwindowgeometry qwindowicon qwindowtitle session display "
    "geometry title icon name style stylesheet qmljsdebugger";
constexpr const char* kQtFlags = "reverse widgetcount testability nograb dograb";

constexpr const char* kUsage =
    "Usage: trelvix [--decoder LINK] [--web [ADDRESS:]PORT] [Qt's window options]\n"
    "       trelvix --export YYMMDDnn --to DIR [--from FOLDER] [--lang es|en]\n"
    "       trelvix --export-meeting ID --to DIR [--from FOLDER] [--lang es|en] [--best N]\n"
    "       trelvix --import-drivers FILE.csv [--from FOLDER] [--lang es|en]\n"
    "Lap counter and race-event recorder for model-car racing: the window, or an\n"
    "export of a past race or club meeting with no window and no display needed.\n\n";

Options Failed(const QString& problem) {
  Options options;
  options.action = Options::Action::kError;
  options.text = problem;
  return options;
}

}  // namespace

QStringList ArgumentList(int argc, const char* const* argv) {
  QStringList list;
  for (int i = 0; i < argc; ++i) list.append(QString::fromLocal8Bit(argv[i]));
  return list;
}

Options ReadOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  // Qt's own options are single-dash words (-platform, -style).
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Shows the program's version."));
  const QCommandLineOption decoder(
      QStringLiteral("decoder"),
      QStringLiteral("Takes passes from a track gate for this run: a serial port (/dev/ttyUSB0 or "
                     "/dev/ttyUSB0@115200), tcp:HOST:PORT, or none."),
      QStringLiteral("LINK"));
  const QCommandLineOption web(QStringLiteral("web"),
                               QStringLiteral("Serves the live results page for this run, e.g. 8080 or "
                                              "192.168.1.20:8080."),
                               QStringLiteral("[ADDRESS:]PORT"));
  const QCommandLineOption exportRace(QStringLiteral("export"),
                                      QStringLiteral("Writes every export of a past race and exits."),
                                      QStringLiteral("YYMMDDnn"));
  const QCommandLineOption to(QStringLiteral("to"),
                              QStringLiteral("With --export: the folder to write into, made when missing."),
                              QStringLiteral("DIR"));
  const QCommandLineOption from(QStringLiteral("from"),
                                QStringLiteral("With --export: the record folder to read instead of the "
                                               "program's own."),
                                QStringLiteral("FOLDER"));
  const QCommandLineOption lang(QStringLiteral("lang"),
                                QStringLiteral("With --export: the language of the texts, es (default) or en."),
                                QStringLiteral("es|en"));
  const QCommandLineOption exportMeeting(
      QStringLiteral("export-meeting"),
      QStringLiteral("Writes a club meeting's heat sheet, results and championship (CSV, spreadsheet, HTML, PDF) "
                     "and exits."),
      QStringLiteral("ID"));
  const QCommandLineOption best(QStringLiteral("best"),
                                QStringLiteral("With --export-meeting: the championship counts each driver's best N "
                                               "meetings (default 0: all)."),
                                QStringLiteral("N"));
  const QCommandLineOption importDrivers(
      QStringLiteral("import-drivers"),
      QStringLiteral("Reads a roster file (CSV) into the club meetings' drivers, whole or not at all, and exits."),
      QStringLiteral("FILE.csv"));
  parser.addOptions({help, version, decoder, web, exportRace, exportMeeting, best, importDrivers, to, from, lang});
  const QStringList qtOptionNames = QString::fromLatin1(kQtValueOptions).split(QLatin1Char(' '));
  const QStringList qtFlagNames = QString::fromLatin1(kQtFlags).split(QLatin1Char(' '));
  for (const QString& name : qtOptionNames + qtFlagNames) {
    QCommandLineOption option(name);
    if (qtOptionNames.contains(name)) option.setValueName(QStringLiteral("VALUE"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }

  if (!parser.parse(arguments)) return Failed(parser.errorText());
  Options options;
  if (parser.isSet(help)) {
    const QString listing = parser.helpText();
    options.action = Options::Action::kHelp;
    options.text = QString::fromLatin1(kUsage) + listing.mid(listing.indexOf(QLatin1String("Options:")));
    return options;
  }
  if (parser.isSet(version)) {
    options.action = Options::Action::kVersion;
    options.text = QStringLiteral("trelvix ") + QString::fromLatin1(kTrelvixVersion) + QLatin1Char('\n');
    return options;
  }
  if (!parser.positionalArguments().isEmpty()) {
    return Failed(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().constFirst()));
  }
  bool windowOption = parser.isSet(decoder) || parser.isSet(web);
  for (const QString& name : qtOptionNames + qtFlagNames) windowOption = windowOption || parser.isSet(name);

  if (int(parser.isSet(exportRace)) + int(parser.isSet(exportMeeting)) + int(parser.isSet(importDrivers)) > 1) {
    return Failed(QStringLiteral("--export, --export-meeting and --import-drivers are separate runs"));
  }
  if (parser.isSet(best) && !parser.isSet(exportMeeting)) return Failed(QStringLiteral("--best goes with --export-meeting"));
  if (parser.isSet(exportMeeting)) {
    if (windowOption) {
      return Failed(QStringLiteral("--export-meeting takes no other options than --to, --from, --lang and --best"));
    }
    options.action = Options::Action::kExportMeeting;
    options.exportArguments = {arguments.value(0), QStringLiteral("--export-meeting"), parser.value(exportMeeting)};
    for (const QCommandLineOption* option : {&to, &from, &lang, &best}) {
      if (parser.isSet(*option)) {
        options.exportArguments << QStringLiteral("--") + option->names().constFirst() << parser.value(*option);
      }
    }
    return options;
  }
  if (parser.isSet(exportRace)) {
    if (windowOption) return Failed(QStringLiteral("--export takes no other options than --to, --from and --lang"));
    // Handed on in one spelling, whatever form was typed (--to=DIR, -to DIR).
    options.action = Options::Action::kExport;
    options.exportArguments = {arguments.value(0), QStringLiteral("--export"), parser.value(exportRace)};
    for (const QCommandLineOption* option : {&to, &from, &lang}) {
      if (parser.isSet(*option)) {
        options.exportArguments << QStringLiteral("--") + option->names().constFirst() << parser.value(*option);
      }
    }
    return options;
  }
  if (parser.isSet(importDrivers)) {
    if (windowOption || parser.isSet(to)) {
      return Failed(QStringLiteral("--import-drivers takes no other options than --from and --lang"));
    }
    options.action = Options::Action::kImport;
    options.exportArguments = {arguments.value(0), QStringLiteral("--import-drivers"), parser.value(importDrivers)};
    for (const QCommandLineOption* option : {&from, &lang}) {
      if (parser.isSet(*option)) {
        options.exportArguments << QStringLiteral("--") + option->names().constFirst() << parser.value(*option);
      }
    }
    return options;
  }
  if (parser.isSet(to) || parser.isSet(from) || parser.isSet(lang)) {
    return Failed(QStringLiteral("--to, --from and --lang go with --export"));
  }
  options.platformChosen = parser.isSet(QStringLiteral("platform"));
  if (parser.isSet(decoder)) {
    const QString value = parser.value(decoder);
    options.decoder = platform::ParseLinkChoice(value.toStdString());
    if (!options.decoder) {
      return Failed(QStringLiteral("--decoder %1: expected a serial port (/dev/ttyUSB0 or /dev/ttyUSB0@115200), "
                                   "tcp:HOST:PORT or none")
                        .arg(value));
    }
  }
  if (parser.isSet(web)) {
    const QString value = parser.value(web);
    options.web = web::ParseWebAddress(value);
    if (!options.web) {
      return Failed(QStringLiteral("--web %1: expected [ADDRESS:]PORT, e.g. 8080 or 192.168.1.20:8080").arg(value));
    }
  }
  return options;
}

}  // namespace app

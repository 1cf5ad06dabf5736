#include "exports/meeting_export.h"

#include "exports/results_document.h"
#include "meeting/store.h"
#include "results/html_page.h"
#include "results/wording.h"

namespace exports {

namespace {

constexpr records::Words kNoMeeting{"No hay reunión %1.", "There is no meeting %1."};
constexpr records::Words kMeetingTitle{"Reunión %1", "Meeting %1"};

QByteArray Bytes(const std::string& text) { return {text.data(), static_cast<qsizetype>(text.size())}; }

}  // namespace

std::string MeetingStem(const meeting::Meeting& meeting) {
  return "meeting-" + meeting::IsoDate(meeting.date) + "-" + std::to_string(meeting.id);
}

ExportResult ExportMeeting(const meeting::MeetingBook& book, const std::vector<meeting::Meeting>& meetings,
                           const meeting::SeasonTable& season, const QString& targetFolder, bool spanish) {
  const bool es = spanish;
  const meeting::Meeting& m = book.meeting;
  ExportResult result;
  const std::vector<results::Table> tables = {meeting::HeatSheet(book, es), meeting::MeetingResults(book, es),
                                              meeting::Championship(season, meetings, book.roster, es)};
  const std::string stem = MeetingStem(m);
  const std::string title = results::Filled(kMeetingTitle.Pick(es), m.name) + " · " + meeting::IsoDate(m.date);
  FileList files;
  if (!AddTables(files, tables, {"-heats.csv", "-results.csv", "-championship.csv"}, stem, title, es, result)) {
    return result;
  }

  const std::vector<std::string> lines = {meeting::MeetingLine(m, es)};
  const std::vector<results::TableSection> sections = {
      {meeting::MeetingResultsTitle(es), &tables[1]},
      {meeting::ChampionshipTitle(m.className, m.date.year, es), &tables[2]},
      {meeting::HeatSheetTitle(es), &tables[0]},
  };
  files.emplace_back(stem + ".html", Bytes(results::TablesPage(title, lines, sections, es)));
  // On paper the heat sheet takes a line per car, as the printed one does:
  // a grid of twelve cars is wider than the page.
  const results::Table heatList = meeting::HeatList(book, es);
  std::vector<results::TableSection> paper = sections;
  paper.back().table = &heatList;
  std::string failure;
  const QByteArray pdf =
      DocumentPdf(title, meeting::IsoDate(m.date), results::PrintedTables(title, lines, paper, es), es, {}, failure);
  if (pdf.isEmpty()) {
    result.error = results::Filled(results::words::kCannotWrite.Pick(es), stem + ".pdf", failure);
    return result;
  }
  files.emplace_back(stem + ".pdf", pdf);
  WriteTogether(targetFolder, files, es, result);
  return result;
}

ExportResult ExportMeeting(meeting::MeetingStore& store, meeting::MeetingId id, int bestOf, const QString& targetFolder,
                           bool spanish) {
  ExportResult result;
  const auto book = meeting::ReadBook(store, id);
  const auto meetings = book ? store.Meetings() : std::nullopt;
  const auto season = meetings ? meeting::SeasonMeetings(store, *meetings, book->meeting.className,
                                                         book->meeting.date.year, &*book)
                               : std::nullopt;
  if (!season) {
    const auto problem = store.Status().problem;
    result.error = problem == meeting::StoreProblem::None || problem == meeting::StoreProblem::Invalid
                       ? results::Filled(kNoMeeting.Pick(spanish), std::to_string(id))
                       : meeting::StoreProblemText(store.Status(), spanish);
    return result;
  }
  const auto table = meeting::Season(*season, book->meeting.className, book->meeting.date.year, bestOf);
  return ExportMeeting(*book, *meetings, table, targetFolder, spanish);
}

}  // namespace exports

#include "web/meeting_api.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <map>
#include <optional>
#include <string>

#include "meeting/board.h"
#include "meeting/season.h"
#include "meeting/standings.h"
#include "meeting/store.h"
#include "meeting/text.h"
#include "meeting/texts.h"

namespace web {

namespace {

using meeting::Driver;
using meeting::DriverId;

// The most drivers or meetings one answer lists; past it, "truncated".
constexpr qsizetype kMaxListed = 10000;
// The longest encoded class a season's path may carry.
constexpr std::size_t kMaxEncodedClass = 12 * meeting::kMaxClassChars;

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }
QByteArray Compact(const QJsonObject& object) { return QJsonDocument(object).toJson(QJsonDocument::Compact); }

JsonAnswer Error(int status, const char* code, const QString& message) {
  return {status, Compact(QJsonObject{{QStringLiteral("error"), QString::fromLatin1(code)},
                                      {QStringLiteral("message"), message}})};
}
JsonAnswer NotFound() { return Error(404, "not-found", QStringLiteral("No such meeting, class or year.")); }

// A whole number of at most `digits` digits, nothing else.
std::optional<long long> Number(std::string_view text, std::size_t digits) {
  if (text.empty() || text.size() > digits) return std::nullopt;
  long long n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

const char* StageName(meeting::Stage stage) {
  switch (stage) {
    case meeting::Stage::Qualifying:
      return "qualifying";
    case meeting::Stage::Final:
      return "final";
    case meeting::Stage::Rotation:
      break;
  }
  return "rotation";
}

const char* StatusName(meeting::CarStatus status) {
  switch (status) {
    case meeting::CarStatus::DidNotStart:
      return "did-not-start";
    case meeting::CarStatus::Disqualified:
      return "disqualified";
    case meeting::CarStatus::Classified:
      break;
  }
  return "classified";
}

QJsonObject DriverObject(const Driver& d) {
  return {{QStringLiteral("id"), static_cast<qint64>(d.id)},
          {QStringLiteral("name"), Text(d.name)},
          {QStringLiteral("shortName"), Text(d.shortName)},
          {QStringLiteral("number"), d.number ? QJsonValue(*d.number) : QJsonValue()},
          {QStringLiteral("class"), Text(d.className)},
          {QStringLiteral("active"), d.active}};
}

using Roster = std::map<DriverId, const Driver*>;

Roster ById(const std::vector<Driver>& drivers) {
  Roster roster;
  for (const Driver& d : drivers) roster.emplace(d.id, &d);
  return roster;
}

// A driver where a heat or a standing names one: id, name and short name.
void Name(QJsonObject& object, const Roster& roster, DriverId id) {
  object.insert(QStringLiteral("driver"), static_cast<qint64>(id));
  const auto d = roster.find(id);
  object.insert(QStringLiteral("name"), d != roster.end() ? QJsonValue(Text(d->second->name)) : QJsonValue());
  object.insert(QStringLiteral("shortName"), d != roster.end() ? QJsonValue(Text(d->second->shortName)) : QJsonValue());
}

QJsonObject SeatObject(const meeting::Seat& seat, const Roster& roster) {
  QJsonObject o{{QStringLiteral("car"), seat.car}};
  Name(o, roster, seat.driver);
  return o;
}

QJsonObject MeetingSummary(const meeting::Meeting& m) {
  const bool rotation = m.format == meeting::Format::Rotation;
  return {{QStringLiteral("id"), static_cast<qint64>(m.id)},
          {QStringLiteral("date"), Text(meeting::IsoDate(m.date))},
          {QStringLiteral("name"), Text(m.name)},
          {QStringLiteral("class"), Text(m.className)},
          {QStringLiteral("format"), rotation ? QStringLiteral("rotation") : QStringLiteral("qualifying-finals")},
          {QStringLiteral("entrants"), static_cast<qint64>(m.entrants.size())}};
}

QJsonObject Settings(const meeting::Meeting& m) {
  QJsonArray points;
  for (int p : m.points) points.append(p);
  if (m.format == meeting::Format::Rotation) {
    return {{QStringLiteral("lanes"), m.rotation.lanes},
            {QStringLiteral("stintMinutes"), m.rotation.stintMinutes},
            {QStringLiteral("points"), points}};
  }
  const auto& q = m.qualifying;
  return {
      {QStringLiteral("rounds"), q.rounds},
      {QStringLiteral("roundMinutes"), q.roundMinutes},
      {QStringLiteral("groupSize"), q.groupSize},
      {QStringLiteral("ranking"), q.ranking == meeting::QualifyingRanking::BestRound ? QStringLiteral("best-round")
                                                                                     : QStringLiteral("round-points")},
      {QStringLiteral("finalSize"), q.finalSize},
      {QStringLiteral("bumpUp"), q.bumpUp},
      {QStringLiteral("finalMinutes"), q.finalMinutes},
      {QStringLiteral("points"), points}};
}

QJsonArray HeatsArray(const std::vector<meeting::StoredHeat>& heats, const Roster& roster) {
  QJsonArray array;
  for (const auto& stored : heats) {
    const auto& slot = stored.heat.slot;
    QJsonArray seats;
    for (const auto& seat : stored.heat.seats) seats.append(SeatObject(seat, roster));
    array.append(QJsonObject{{QStringLiteral("number"), slot.number},
                             {QStringLiteral("stage"), QString::fromLatin1(StageName(slot.stage))},
                             {QStringLiteral("round"), slot.round},
                             {QStringLiteral("group"), slot.group},
                             {QStringLiteral("minutes"), slot.minutes},
                             {QStringLiteral("commonTiming"), slot.commonTiming},
                             {QStringLiteral("race"), stored.raceId ? QJsonValue(Text(*stored.raceId)) : QJsonValue()},
                             {QStringLiteral("seats"), seats}});
  }
  return array;
}

QJsonArray ResultsArray(const std::vector<meeting::HeatResult>& results, const std::vector<meeting::Heat>& heats) {
  QJsonArray array;
  for (const auto& r : results) {
    const auto heat = std::find_if(heats.begin(), heats.end(), [&](const auto& h) { return h.slot.number == r.heat; });
    QJsonArray cars;
    for (const auto& c : r.cars) {
      const auto driver = heat != heats.end() ? heat->DriverIn(c.car) : std::nullopt;
      cars.append(QJsonObject{
          {QStringLiteral("car"), c.car},
          {QStringLiteral("driver"), driver ? QJsonValue(static_cast<qint64>(*driver)) : QJsonValue()},
          {QStringLiteral("laps"), c.laps},
          {QStringLiteral("timeMs"), static_cast<qint64>(c.timeMs)},
          {QStringLiteral("bestLapMs"), c.bestLapMs > 0 ? QJsonValue(static_cast<qint64>(c.bestLapMs)) : QJsonValue()},
          {QStringLiteral("status"), QString::fromLatin1(StatusName(c.status))}});
    }
    array.append(QJsonObject{
        {QStringLiteral("heat"), r.heat}, {QStringLiteral("race"), Text(r.raceId)}, {QStringLiteral("cars"), cars}});
  }
  return array;
}

QJsonObject PlacingObject(const meeting::Placing& p, const Roster& roster) {
  QJsonObject o{{QStringLiteral("place"), p.place},
                {QStringLiteral("tied"), p.tied},
                {QStringLiteral("points"), p.points},
                {QStringLiteral("scored"), p.scored},
                {QStringLiteral("status"), QString::fromLatin1(StatusName(p.status))},
                {QStringLiteral("final"), p.final > 0 ? QJsonValue(p.final) : QJsonValue()}};
  Name(o, roster, p.driver);
  return o;
}

// A rotation's figures of a driver: laps, time, best lap and stints.
void AddRotationFigures(QJsonObject& o, const meeting::RotationRow& r) {
  o.insert(QStringLiteral("laps"), r.laps);
  o.insert(QStringLiteral("timeMs"), static_cast<qint64>(r.timeMs));
  o.insert(QStringLiteral("bestLapMs"), r.bestLapMs > 0 ? QJsonValue(static_cast<qint64>(r.bestLapMs)) : QJsonValue());
  o.insert(QStringLiteral("stints"), r.stints);
}

QJsonObject StandingsObject(const meeting::Classification& c, const Roster& roster) {
  QJsonArray placings;
  for (const auto& p : c.placings) placings.append(PlacingObject(p, roster));
  return {{QStringLiteral("complete"), c.complete}, {QStringLiteral("placings"), placings}};
}

QJsonArray RotationArray(const std::vector<meeting::RotationRow>& rows, const Roster& roster) {
  QJsonArray array;
  for (const auto& r : rows) {
    QJsonObject o{{QStringLiteral("place"), r.place}, {QStringLiteral("tied"), r.tied}};
    AddRotationFigures(o, r);
    Name(o, roster, r.driver);
    array.append(o);
  }
  return array;
}

std::vector<meeting::Heat> Lineups(const std::vector<meeting::StoredHeat>& stored) {
  std::vector<meeting::Heat> heats;
  heats.reserve(stored.size());
  for (const auto& h : stored) heats.push_back(h.heat);
  return heats;
}

}  // namespace

JsonAnswer MeetingApi::StoreFailed() const {
  static constexpr const char* kCodes[] = {"",        "busy",    "read-only", "corrupt",
                                           "too-new", "invalid", "failed",    "missing"};
  const auto& status = store_.Status();
  // The server only reads: a file it may not open cannot be read, whatever the program can write.
  const std::string message = status.problem == meeting::StoreProblem::ReadOnly
                                  ? "The meetings database cannot be read here (" + status.detail + ")."
                                  : meeting::StoreProblemText(status, false);
  return Error(503, kCodes[static_cast<int>(status.problem)], Text(message));
}

JsonAnswer MeetingApi::Drivers() const {
  const auto drivers = store_.Drivers();
  if (!drivers) return StoreFailed();
  QJsonArray array;
  for (const Driver& d : *drivers) {
    if (array.size() == kMaxListed) break;
    array.append(DriverObject(d));
  }
  return {200,
          Compact(QJsonObject{{QStringLiteral("drivers"), array},
                              {QStringLiteral("truncated"), array.size() < static_cast<qsizetype>(drivers->size())}})};
}

JsonAnswer MeetingApi::Meetings() const {
  const auto meetings = store_.Meetings();
  if (!meetings) return StoreFailed();
  QJsonArray array;
  for (const auto& m : *meetings) {
    if (array.size() == kMaxListed) break;
    array.append(MeetingSummary(m));
  }
  return {200,
          Compact(QJsonObject{{QStringLiteral("meetings"), array},
                              {QStringLiteral("truncated"), array.size() < static_cast<qsizetype>(meetings->size())}})};
}

JsonAnswer MeetingApi::Meeting(std::string_view idText) const {
  const auto id = Number(idText, 15);
  if (!id || *id == 0) return NotFound();
  const auto found = store_.MeetingById(*id);
  // The store says an unknown meeting is Invalid.
  if (!found) return store_.Status().problem == meeting::StoreProblem::Invalid ? NotFound() : StoreFailed();
  const auto drivers = store_.Drivers();
  const auto stored = drivers ? store_.Heats(*id) : std::nullopt;
  const auto results = stored ? store_.Results(*id) : std::nullopt;
  if (!results) return StoreFailed();
  const Roster roster = ById(*drivers);
  const auto heats = Lineups(*stored);
  const auto& m = *found;
  QJsonObject summary = MeetingSummary(m);
  summary.insert(QStringLiteral("settings"), Settings(m));
  QJsonArray entrants;
  for (DriverId d : m.entrants) {
    QJsonObject o;
    Name(o, roster, d);
    entrants.append(o);
  }
  summary.insert(QStringLiteral("entrants"), entrants);
  // The next heat to run: the first without a result.
  QJsonValue next;
  for (const auto& h : heats) {
    if (meeting::ResultOf(*results, h.slot.number) == nullptr) {
      next = h.slot.number;
      break;
    }
  }
  QJsonObject object{
      {QStringLiteral("meeting"), summary},
      {QStringLiteral("heats"), HeatsArray(*stored, roster)},
      {QStringLiteral("nextHeat"), next},
      {QStringLiteral("results"), ResultsArray(*results, heats)},
      {QStringLiteral("standings"), StandingsObject(meeting::MeetingClassification(m, heats, *results), roster)}};
  if (m.format == meeting::Format::Rotation) {
    object.insert(QStringLiteral("rotation"), RotationArray(meeting::RotationStandings(m, heats, *results), roster));
  }
  return {200, Compact(object)};
}

JsonAnswer MeetingApi::Season(std::string_view rest, std::string_view bestText) const {
  const auto slash = rest.rfind('/');
  if (slash > kMaxEncodedClass) return NotFound();  // no slash at all (npos) is larger still
  const auto year = Number(rest.substr(slash + 1), 4);
  if (!year || *year < 2000 || *year > 2099) return NotFound();
  const std::string className =
      QByteArray::fromPercentEncoding(QByteArray(rest.data(), static_cast<qsizetype>(slash))).toStdString();
  if (!meeting::IsUtf8(className) || meeting::HasControl(className) ||
      meeting::CharCount(className) > meeting::kMaxClassChars) {
    return NotFound();
  }
  int bestOf = 0;
  if (!bestText.empty()) {
    const auto n = Number(bestText, 2);
    if (!n) return Error(400, "bad-best", QStringLiteral("best must be a number of meetings, 0 to 99."));
    bestOf = static_cast<int>(*n);
  }
  const auto meetings = store_.Meetings();
  const auto drivers = meetings ? store_.Drivers() : std::nullopt;
  if (!drivers) return StoreFailed();
  const std::string key = meeting::MatchKey(className);
  std::vector<meeting::SeasonMeeting> season;
  for (const auto& m : *meetings) {
    if (m.date.year != *year || meeting::MatchKey(m.className) != key) continue;
    const auto stored = store_.Heats(m.id);
    const auto results = stored ? store_.Results(m.id) : std::nullopt;
    if (!results) return StoreFailed();
    season.push_back({m.id, m.date, m.className, meeting::MeetingClassification(m, Lineups(*stored), *results)});
  }
  const auto table = meeting::Season(season, className, static_cast<int>(*year), bestOf);
  const Roster roster = ById(*drivers);
  QJsonArray columns;
  for (auto id : table.meetings) {
    const auto m = std::find_if(meetings->begin(), meetings->end(), [id](const auto& x) { return x.id == id; });
    columns.append(MeetingSummary(*m));
  }
  QJsonArray rows;
  for (const auto& r : table.rows) {
    QJsonArray per;
    for (std::size_t i = 0; i < r.meetingPoints.size(); ++i) {
      per.append(
          QJsonObject{{QStringLiteral("points"), r.meetingPoints[i] ? QJsonValue(*r.meetingPoints[i]) : QJsonValue()},
                      {QStringLiteral("dropped"), i < r.dropped.size() && r.dropped[i]}});
    }
    QJsonObject o{{QStringLiteral("place"), r.place},
                  {QStringLiteral("tied"), r.tied},
                  {QStringLiteral("points"), r.points},
                  {QStringLiteral("allPoints"), r.allPoints},
                  {QStringLiteral("meetings"), per}};
    Name(o, roster, r.driver);
    rows.append(o);
  }
  return {200, Compact(QJsonObject{{QStringLiteral("class"), Text(className)},
                                   {QStringLiteral("year"), static_cast<int>(*year)},
                                   {QStringLiteral("bestOf"), bestOf},
                                   {QStringLiteral("meetings"), columns},
                                   {QStringLiteral("standings"), rows}})};
}

QByteArray BoardJson(const meeting::Board& board, bool spanish) {
  const Roster roster = ById(board.drivers);
  QJsonArray lineup;
  for (const auto& seat : board.lineup) lineup.append(SeatObject(seat, roster));
  QJsonArray standings;
  for (const auto& row : board.standings) {
    QJsonObject o = PlacingObject(row.placing, roster);
    if (row.rotation) AddRotationFigures(o, *row.rotation);
    standings.append(o);
  }
  const auto& next = board.next;
  return Compact(QJsonObject{
      {QStringLiteral("id"), static_cast<qint64>(board.meeting)},
      {QStringLiteral("name"), Text(board.name)},
      {QStringLiteral("heat"), next ? QJsonValue(Text(meeting::HeatTitle(*next, board.heatCount, spanish))) : QJsonValue()},
      {QStringLiteral("heatNumber"), next ? QJsonValue(next->number) : QJsonValue()},
      {QStringLiteral("complete"), board.complete},
      {QStringLiteral("lineup"), lineup},
      {QStringLiteral("standings"), standings},
      {QStringLiteral("truncated"), board.truncated}});
}

}  // namespace web

#include "web/record_api.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "platform/directory.h"
#include "records/browser_model.h"
#include "records/naming.h"
#include "records/race_id.h"
#include "records/readers.h"
#include "results/race_sheet.h"

namespace web {

namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

template <typename Record>
QJsonArray Messages(const records::ReadResult<Record>& read) {
  QJsonArray messages;
  for (const std::string& m : read.messages) messages.append(Text(m));
  return messages;
}

// How far the reading of one record file went, for a club website to show:
// the readers end a file at the first number they cannot convert.
template <typename Record>
QJsonObject Reading(const records::ReadResult<Record>& read, bool present = true) {
  const bool stopped = present && read.stopped && !read.messages.empty();
  return QJsonObject{
      {QStringLiteral("present"), present},
      {QStringLiteral("complete"), !stopped},
      {QStringLiteral("stoppedAtLine"), stopped ? QJsonValue(static_cast<qint64>(read.stoppedLine)) : QJsonValue()},
      {QStringLiteral("reason"), stopped ? QJsonValue(QStringLiteral("not-a-number")) : QJsonValue()},
      {QStringLiteral("message"), stopped ? QJsonValue(Text(read.messages.back())) : QJsonValue()}};
}

QJsonArray RacesArray(const std::string& day, const records::ReadResult<records::TRace>& races) {
  QJsonArray array;
  for (const records::TRace& r : races.items) {
    array.append(QJsonObject{{QStringLiteral("race"), Text(records::NextRaceBase(day, r.race))},
                             {QStringLiteral("number"), r.race},
                             {QStringLiteral("minutes"), r.minutes},
                             {QStringLiteral("cars"), r.cars},
                             {QStringLiteral("start"), Text(r.startTime)},
                             {QStringLiteral("description"), Text(r.description)}});
  }
  return array;
}

QJsonArray ClassificationArray(const records::ClassificationFile& file) {
  QJsonArray rows;
  for (const records::TLClasif& row : file.rows.items) {
    rows.append(QJsonObject{{QStringLiteral("position"), row.position},
                            {QStringLiteral("car"), row.car},
                            {QStringLiteral("laps"), row.laps},
                            {QStringLiteral("total"), Text(row.total)},
                            {QStringLiteral("fastestLap"), row.fastestLap}});
  }
  return rows;
}

QJsonArray PassesArray(const records::ReadResult<records::TPaso>& passes) {
  QJsonArray array;
  for (const records::TPaso& p : passes.items) {
    array.append(QJsonObject{{QStringLiteral("pass"), p.pass},
                             {QStringLiteral("car"), p.car},
                             {QStringLiteral("lap"), p.lap},
                             {QStringLiteral("lapTime"), p.lapTime},
                             {QStringLiteral("total"), Text(p.total)}});
  }
  return array;
}

QJsonArray EventsArray(const records::ReadResult<records::TInci>& events) {
  QJsonArray array;
  for (const records::TInci& e : events.items) {
    QJsonObject o{{QStringLiteral("number"), e.number},
                  {QStringLiteral("car"), e.hasCar ? QJsonValue(e.car) : QJsonValue()},
                  {QStringLiteral("lap"), e.hasLap ? QJsonValue(e.lap) : QJsonValue()},
                  {QStringLiteral("time"), Text(e.time)},
                  {QStringLiteral("type"), Text(e.type)},
                  {QStringLiteral("detail"), e.hasDetail ? QJsonValue(Text(e.detail)) : QJsonValue()}};
    array.append(o);
  }
  return array;
}

// Each car's laps after the corrections: a lap a correction split in two
// has no pass of its own (null).
QJsonArray LapsArray(const std::vector<results::CarLaps>& cars) {
  QJsonArray array;
  for (const results::CarLaps& car : cars) {
    QJsonArray laps;
    auto add = [&laps](const results::Lap& lap) {
      laps.append(QJsonObject{{QStringLiteral("lap"), lap.lap},
                              {QStringLiteral("lapTime"), lap.seconds},
                              {QStringLiteral("elapsed"), lap.elapsed},
                              {QStringLiteral("pass"), lap.pass > 0 ? QJsonValue(lap.pass) : QJsonValue()}});
    };
    if (car.partialFirst) add(*car.partialFirst);
    for (const results::Lap& lap : car.laps) add(lap);
    array.append(QJsonObject{{QStringLiteral("car"), car.car}, {QStringLiteral("laps"), laps}});
  }
  return array;
}

QByteArray Compact(const QJsonObject& object) { return QJsonDocument(object).toJson(QJsonDocument::Compact); }

}  // namespace

bool IsDayName(std::string_view name) noexcept { return records::IsDayStem(name); }

std::optional<std::string> RecordApi::ReadFile(std::string_view name) const {
  // The folder's own spelling of the name, whatever its letter case.
  const std::string entry = records::FindEntryIgnoringCase(lister_, folder_, name);
  std::string bytes;
  if (entry.empty() || !records::ReadWholeFile(records::JoinPath(folder_, entry), bytes)) return std::nullopt;
  return bytes;
}

QByteArray RecordApi::Days() const {
  QJsonArray days;
  for (const std::string& day : records::DayList(lister_.List(folder_))) {
    if (IsDayName(day)) days.append(Text(day));
  }
  return Compact(QJsonObject{{QStringLiteral("days"), days}});
}

std::optional<QByteArray> RecordApi::Day(std::string_view day) const {
  if (!IsDayName(day)) return std::nullopt;
  const auto bytes = ReadFile(records::RacesFileName(day));
  if (!bytes) return std::nullopt;
  const auto races = records::ReadRaces(*bytes);
  const std::string stem(day);
  return Compact(QJsonObject{{QStringLiteral("day"), Text(stem)},
                             {QStringLiteral("races"), RacesArray(stem, races)},
                             {QStringLiteral("messages"), Messages(races)},
                             {QStringLiteral("reading"), QJsonObject{{QStringLiteral("races"), Reading(races)}}}});
}

std::optional<QByteArray> RecordApi::RaceObject(std::string_view race, bool withLines) const {
  const auto id = records::RaceId::Parse(race);
  if (!id) return std::nullopt;
  const auto cls = ReadFile(id->FileName(".cls"));
  if (!cls) return std::nullopt;
  const auto passesFile = ReadFile(id->FileName(".pss"));
  const auto eventsFile = ReadFile(id->FileName(".inc"));
  const auto passes = records::SacaPSS(passesFile.value_or(""));
  const auto events = records::ReadEvents(eventsFile.value_or(""));
  // The classification and laps after the corrections among the events,
  // worked out as every other view of the race works them out.
  results::RaceSheet sheet;
  sheet.name = *id;
  sheet.hasClassification = true;
  sheet.classification = records::ReadClassification(*cls);
  sheet.passes = passes.items;
  sheet.events = events.items;
  sheet.commonTiming = results::IsCommonTiming(sheet.classification, sheet.passes);
  results::ApplyCorrections(sheet);
  const records::ClassificationFile& file = sheet.classification;
  QJsonObject object{{QStringLiteral("race"), Text(std::string(race))},
                     {QStringLiteral("description"), Text(file.description)},
                     {QStringLiteral("start"), Text(file.startLine)},
                     {QStringLiteral("finish"), Text(file.finishLine)},
                     {QStringLiteral("finished"), !file.finishLine.empty()},
                     {QStringLiteral("corrected"), sheet.corrected},
                     {QStringLiteral("classification"), ClassificationArray(file)}};
  QJsonArray messages = Messages(file.rows);
  QJsonObject reading{{QStringLiteral("classification"), Reading(file.rows)}};
  if (withLines) {
    object.insert(QStringLiteral("passes"), PassesArray(passes));
    object.insert(QStringLiteral("events"), EventsArray(events));
    object.insert(QStringLiteral("laps"), LapsArray(results::LapsOf(sheet)));
    for (const auto& m : Messages(passes)) messages.append(m);
    for (const auto& m : Messages(events)) messages.append(m);
    reading.insert(QStringLiteral("passes"), Reading(passes, passesFile.has_value()));
    reading.insert(QStringLiteral("events"), Reading(events, eventsFile.has_value()));
  }
  object.insert(QStringLiteral("messages"), messages);
  object.insert(QStringLiteral("reading"), reading);
  return Compact(object);
}

std::optional<QByteArray> RecordApi::Race(std::string_view race) const { return RaceObject(race, true); }

QByteArray RecordApi::LastClassification() const {
  const std::vector<std::string> days = records::DayList(lister_.List(folder_));
  for (auto day = days.rbegin(); day != days.rend(); ++day) {
    if (!IsDayName(*day)) continue;
    const auto bytes = ReadFile(records::RacesFileName(*day));
    if (!bytes) continue;
    const auto races = records::ReadRaces(*bytes);
    for (auto r = races.items.rbegin(); r != races.items.rend(); ++r) {
      if (auto object = RaceObject(records::NextRaceBase(*day, r->race), false)) return *object;
    }
  }
  return {};
}

}  // namespace web

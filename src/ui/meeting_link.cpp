#include "ui/meeting_link.h"

#include <QMetaObject>
#include <algorithm>
#include <cmath>

#include "records/numbers.h"
#include "records/race_id.h"
#include "records/words.h"

namespace ui {

namespace {

constexpr records::Words kNotLinked{"La carrera %1 no se ha enlazado a la manga %2: ",
                                    "Race %1 was not linked to heat %2: "};
constexpr records::Words kNotEntered{"El resultado de la carrera %1 no se ha anotado en la reunión: ",
                                     "The result of race %1 was not entered into the meeting: "};
constexpr records::Words kOtherCars{"se ha iniciado con otros coches que los de la manga.",
                                    "it started with other cars than the heat's."};

QString Filled(const records::Words& words, bool spanish, const QString& a, const QString& b = {}) {
  return QString::fromUtf8(words.Pick(spanish)).arg(a, b);
}

}  // namespace

meeting::HeatResult HeatResultOf(const results::RaceSheet& sheet, int heat) {
  meeting::HeatResult result;
  result.heat = heat;
  result.raceId = sheet.name.Text();
  for (const auto& row : sheet.classification.rows.items) {
    if (row.car < 1 || row.car > 12) continue;
    if (std::any_of(result.cars.begin(), result.cars.end(), [&](const auto& c) { return c.car == row.car; })) continue;
    meeting::CarResult car;
    car.car = row.car;
    car.laps = row.laps;
    car.timeMs = std::max(0LL, records::ParseDurationMillis(row.total).value_or(0));
    car.bestLapMs = row.fastestLap > 0 ? static_cast<std::int64_t>(std::llround(row.fastestLap * 1000.0)) : 0;
    if (car.laps == 0) car.status = meeting::CarStatus::DidNotStart;
    result.cars.push_back(car);
  }
  return result;
}

MeetingLink::MeetingLink(meeting::MeetingStore& store, platform::DirectoryLister& lister, std::string recordFolder,
                         QObject* parent)
    : QObject(parent), store_(store), lister_(lister), folder_(std::move(recordFolder)) {
  connect(this, &MeetingLink::Problem, this, [this](const QString& text) { lastProblem_ = text; });
}

void MeetingLink::Prepare(meeting::MeetingId meeting, int heat, std::vector<int> cars, race::DriverNames names) {
  std::sort(cars.begin(), cars.end());
  prepared_ = PreparedHeat{{meeting, heat}, std::move(cars), std::move(names)};
  if (onPrepared_) onPrepared_(prepared_->names);
}

race::DriverNames MeetingLink::NamesOf(const records::RaceId& race) const {
  if (named_ && named_->race == race.Text()) return named_->names;
  return {};
}

std::optional<meeting::HeatLink> MeetingLink::Prepared() const {
  if (!prepared_) return std::nullopt;
  return prepared_->heat;
}

// A resumed race keeps the link it has: nothing to do at its start.
void MeetingLink::RaceStarted(const race::StartFact& fact) {
  if (fact.resumed) return;
  named_.reset();
  if (!prepared_) return;
  std::vector<int> cars = fact.setup.Cars();
  std::sort(cars.begin(), cars.end());
  if (cars == prepared_->cars) named_ = NamedRace{fact.race.Text(), prepared_->names};
  QMetaObject::invokeMethod(
      this, [this, race = fact.race.Text(), cars = fact.setup.Cars()] { LinkStarted(race, cars); },
      Qt::QueuedConnection);
}

void MeetingLink::RaceFinished(const race::FinishFact& fact) {
  QMetaObject::invokeMethod(this, [this, race = fact.race.Text()] { EnterFinished(race); }, Qt::QueuedConnection);
}

void MeetingLink::LinkStarted(const std::string& race, std::vector<int> cars) {
  if (!prepared_) return;
  const PreparedHeat heat = *prepared_;
  std::sort(cars.begin(), cars.end());
  const QString number = QString::number(heat.heat.heat);
  if (cars != heat.cars) {
    emit Problem(Filled(kNotLinked, spanish_, QString::fromStdString(race), number) +
                 QString::fromUtf8(kOtherCars.Pick(spanish_)));
    return;
  }
  // The heat is taken: the next start needs another "Prepare".
  prepared_.reset();
  if (!store_.LinkRace(heat.heat.meeting, heat.heat.heat, race)) {
    emit Problem(Filled(kNotLinked, spanish_, QString::fromStdString(race), number) +
                 QString::fromStdString(meeting::StoreProblemText(store_.Status(), spanish_)));
    return;
  }
  emit Changed(heat.heat.meeting);
}

void MeetingLink::EnterFinished(const std::string& race) {
  const auto link = store_.HeatOfRace(race);
  const QString name = QString::fromStdString(race);
  if (!link) {
    emit Problem(Filled(kNotEntered, spanish_, name) +
                 QString::fromStdString(meeting::StoreProblemText(store_.Status(), spanish_)));
    return;
  }
  if (!*link) return;  // no heat of a meeting
  const auto id = records::RaceId::Parse(race);
  if (!id) return;
  const results::LoadedRace loaded = results::LoadRace(lister_, folder_, *id);
  if (loaded.failure != results::LoadFailure::None) {
    emit Problem(Filled(kNotEntered, spanish_, name) + QString::fromStdString(results::FailureText(loaded, spanish_)));
    return;
  }
  if (!store_.EnterResult((*link)->meeting, HeatResultOf(loaded.sheet, (*link)->heat))) {
    emit Problem(Filled(kNotEntered, spanish_, name) +
                 QString::fromStdString(meeting::StoreProblemText(store_.Status(), spanish_)));
    return;
  }
  emit Changed((*link)->meeting);
}

}  // namespace ui

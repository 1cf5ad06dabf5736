#pragma once
// The meeting's ear on the stream of race facts. "Preparar" / "Prepare"
// names the heat the next start runs; the start links that heat to the
// race's id (a race taken in again after a crash keeps its link), and the
// finish enters the race's result, read back from its record files (the
// classification file is the source of truth). The facts are only noted
// when they arrive; the store is written after the handler returns, so a
// key press never waits for the database.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "meeting/store.h"
#include "platform/directory.h"
#include "race/race_listener.h"
#include "race/spoken_texts.h"
#include "results/race_sheet.h"

namespace ui {

// A heat's result from its race's record files: each classified car's laps,
// total time and best lap; a car with no lap did not start.
meeting::HeatResult HeatResultOf(const results::RaceSheet& sheet, int heat);

class MeetingLink final : public QObject, public race::RaceListener {
  Q_OBJECT

 public:
  MeetingLink(meeting::MeetingStore& store, platform::DirectoryLister& lister, std::string recordFolder,
              QObject* parent = nullptr);

  // The heat the next start runs, with its cars and their drivers' short
  // names: a start of other cars is no heat of the meeting.
  void Prepare(meeting::MeetingId meeting, int heat, std::vector<int> cars, race::DriverNames names = {});
  // Told of each heat prepared, with its line-up (the voice reads it out).
  void SetOnPrepared(std::function<void(const race::DriverNames&)> onPrepared) { onPrepared_ = std::move(onPrepared); }
  // The drivers of a race that started as the prepared heat, by car; none
  // for any other race. Known from that race's start on.
  race::DriverNames NamesOf(const records::RaceId& race) const;
  void ForgetPrepared() { prepared_.reset(); }
  void SetSpanish(bool spanish) { spanish_ = spanish; }
  // The last problem said, until taken.
  QString TakeProblem() { return std::exchange(lastProblem_, QString()); }
  std::optional<meeting::HeatLink> Prepared() const;

  void RaceStarted(const race::StartFact& fact) override;
  void RaceFinished(const race::FinishFact& fact) override;

 signals:
  // A heat was linked or its result entered: standings change.
  void Changed(qint64 meeting);
  // The store or the record files could not be used: the director's sentence.
  void Problem(const QString& text);

 private:
  void LinkStarted(const std::string& race, std::vector<int> cars);
  void EnterFinished(const std::string& race);

  struct PreparedHeat {
    meeting::HeatLink heat;
    std::vector<int> cars;
    race::DriverNames names;
  };
  struct NamedRace {
    std::string race;
    race::DriverNames names;
  };
  meeting::MeetingStore& store_;
  platform::DirectoryLister& lister_;
  std::string folder_;
  std::optional<PreparedHeat> prepared_;
  std::optional<NamedRace> named_;
  std::function<void(const race::DriverNames&)> onPrepared_;
  bool spanish_ = true;
  QString lastProblem_;
};

}  // namespace ui

#pragma once
// Hands the results page the meeting's board between heats: the heat that
// runs next with its line-up, and the standings so far. The board is read
// from the meeting store only when a heat is prepared, when a heat's result
// is entered, or when the meeting window closes, never on a pass and never
// while a race runs; it reaches the server as a copy, as the race does.
//
// A board is shown while a meeting's heat is prepared, or when the last
// race to finish was a meeting's heat (then the next heat of that meeting,
// or its final standings once every heat has run). A race of other cars
// takes it off the page.

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include "meeting/board.h"
#include "meeting/store.h"
#include "race/race_listener.h"

namespace web {

class WebServer;

class BoardFeed final : public QObject, public race::RaceListener {
 public:
  using PreparedHeat = std::function<std::optional<meeting::HeatLink>()>;
  using Publish = std::function<void(std::shared_ptr<const meeting::Board>)>;

  // prepared: the heat the next start runs, if any.
  BoardFeed(meeting::MeetingStore& store, PreparedHeat prepared, WebServer& server, QObject* parent = nullptr);
  BoardFeed(meeting::MeetingStore& store, PreparedHeat prepared, Publish publish, QObject* parent = nullptr);

  // A heat was prepared or the meeting window closed: the board read again.
  void Refresh();
  // A heat of the meeting was linked to its race (at its start) or had its
  // result entered (after its finish).
  void MeetingChanged(meeting::MeetingId meeting);

  void RaceStarted(const race::StartFact& fact) override;
  void RaceFinished(const race::FinishFact& fact) override;

 private:
  meeting::MeetingStore& store_;
  PreparedHeat prepared_;
  Publish publish_;
  bool running_ = false;
  std::optional<meeting::MeetingId> lastHeat_;  // the meeting of the heat that ran last
};

}  // namespace web

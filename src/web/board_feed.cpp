#include "web/board_feed.h"

#include <QMetaObject>

#include "web/web_server.h"

namespace web {

BoardFeed::BoardFeed(meeting::MeetingStore& store, PreparedHeat prepared, WebServer& server, QObject* parent)
    : BoardFeed(
          store, std::move(prepared),
          [&server](std::shared_ptr<const meeting::Board> board) { server.PublishBoard(std::move(board)); }, parent) {}

BoardFeed::BoardFeed(meeting::MeetingStore& store, PreparedHeat prepared, Publish publish, QObject* parent)
    : QObject(parent), store_(store), prepared_(std::move(prepared)), publish_(std::move(publish)) {}

void BoardFeed::Refresh() {
  // A race on the page shows itself; its finish brings the board back.
  if (running_) return;
  const std::optional<meeting::HeatLink> prepared = prepared_ ? prepared_() : std::nullopt;
  const std::optional<meeting::MeetingId> id = prepared ? std::optional(prepared->meeting) : lastHeat_;
  if (!id) {
    publish_(nullptr);
    return;
  }
  const auto found = store_.MeetingById(*id);
  const auto drivers = found ? store_.Drivers() : std::nullopt;
  const auto stored = drivers ? store_.Heats(*id) : std::nullopt;
  const auto results = stored ? store_.Results(*id) : std::nullopt;
  // A store that cannot be read leaves the page without a board: the
  // meeting window tells the director why.
  if (!results) {
    publish_(nullptr);
    return;
  }
  std::vector<meeting::Heat> heats;
  heats.reserve(stored->size());
  for (const auto& h : *stored) heats.push_back(h.heat);
  publish_(std::make_shared<const meeting::Board>(
      meeting::BoardOf(*found, *drivers, heats, *results, prepared ? prepared->heat : 0)));
}

void BoardFeed::MeetingChanged(meeting::MeetingId meeting) {
  lastHeat_ = meeting;
  Refresh();
}

void BoardFeed::RaceStarted(const race::StartFact& fact) {
  running_ = true;
  // A race taken in again after a crash is still the heat it was.
  if (!fact.resumed) lastHeat_.reset();
}

void BoardFeed::RaceFinished(const race::FinishFact& /*fact*/) {
  running_ = false;
  // Read after the finish's handler returns; the meeting has entered the
  // heat's result by then (it hears the finish first).
  QMetaObject::invokeMethod(this, &BoardFeed::Refresh, Qt::QueuedConnection);
}

}  // namespace web

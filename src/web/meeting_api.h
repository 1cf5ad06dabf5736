#pragma once
// The JSON interface to the club meetings: the roster, the meetings, one
// meeting's heats, results and standings, and a class's season. Read from
// the meeting store through a connection of the server's own, opened for
// reading only: nothing a client sends can change the store. A store that
// is missing, busy, damaged or from a later version answers 503 with the
// reason; names that are not a meeting's id, a class or a year answer 404.

#include <QByteArray>
#include <string_view>

namespace meeting {
class MeetingStore;
struct Board;
}

namespace web {

struct JsonAnswer {
  int status = 200;
  QByteArray body;
};

// The "meeting" member of GET /api/race between heats: the next heat's
// title (in the language) and line-up, and the standings so far.
QByteArray BoardJson(const meeting::Board& board, bool spanish);

class MeetingApi final {
 public:
  explicit MeetingApi(meeting::MeetingStore& store) : store_(store) {}

  // GET /api/drivers
  JsonAnswer Drivers() const;
  // GET /api/meetings
  JsonAnswer Meetings() const;
  // GET /api/meetings/{id}: `id` as it follows the prefix.
  JsonAnswer Meeting(std::string_view id) const;
  // GET /api/season/{class}/{year}[?best=N]: `rest` is "{class}/{year}",
  // the class percent-encoded; `best` the query's value (empty: every meeting).
  JsonAnswer Season(std::string_view rest, std::string_view best) const;

 private:
  JsonAnswer StoreFailed() const;
  meeting::MeetingStore& store_;
};

}  // namespace web

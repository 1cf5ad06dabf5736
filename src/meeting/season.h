#pragma once
// The season championship of one class and year: each driver's points from
// the complete meetings of that class and year, each meeting scoring by its
// own table, optionally only the best N meetings of each driver.
//
// Order: more points counted; then countback over every meeting of the
// season, dropped ones included: more wins, then more second places, and so
// on; drivers still equal share the place (listed by driver id).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "meeting/meeting.h"
#include "meeting/standings.h"

namespace meeting {

struct SeasonMeeting {
  MeetingId meeting = 0;
  Date date;
  std::string className;
  Classification classification;
};

struct SeasonRow {
  DriverId driver = 0;
  int place = 0;
  bool tied = false;
  int points = 0;     // counted
  int allPoints = 0;  // every meeting, dropped ones too
  // Per column of SeasonTable::meetings: the points scored there, nothing
  // when the driver has no scoring place in it; and whether they were dropped.
  std::vector<std::optional<int>> meetingPoints;
  std::vector<bool> dropped;
};

struct SeasonTable {
  std::vector<MeetingId> meetings;  // the columns: by date, then id
  std::vector<SeasonRow> rows;      // drivers with a scoring place in any of them
};

// bestOf 0 counts every meeting. A meeting counts when its class matches
// (MatchKey), its date lies in the year and its classification is complete.
SeasonTable Season(const std::vector<SeasonMeeting>& meetings, std::string_view className, int year, int bestOf);

}  // namespace meeting

#pragma once
// The JSON interface to the record folder: the days, a day's races, and one
// race's classification, passes and events, read with the program's own
// readers. Names that are not record names are refused before any file is
// touched, so nothing outside the folder is ever read.

#include <QByteArray>
#include <optional>
#include <string>
#include <string_view>

namespace platform {
class DirectoryLister;
}

namespace web {

// "261206": six digits (a race's name is a records::RaceId).
bool IsDayName(std::string_view name) noexcept;

class RecordApi final {
 public:
  RecordApi(std::string folder, platform::DirectoryLister& lister) : folder_(std::move(folder)), lister_(lister) {}

  // GET /api/days: {"days": ["261205", "261206"]}, the latest day last.
  QByteArray Days() const;
  // GET /api/days/YYMMDD: the day's races; nothing when the day has no races file.
  std::optional<QByteArray> Day(std::string_view day) const;
  // GET /api/races/YYMMDDnn: nothing when the race has no classification file.
  std::optional<QByteArray> Race(std::string_view race) const;
  // The classification of the latest race in the folder (as Race(), without
  // passes and events); empty when there is none.
  QByteArray LastClassification() const;

 private:
  std::optional<std::string> ReadFile(std::string_view name) const;
  std::optional<QByteArray> RaceObject(std::string_view race, bool withLines) const;

  std::string folder_;
  platform::DirectoryLister& lister_;
};

}  // namespace web

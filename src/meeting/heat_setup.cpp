#include "meeting/heat_setup.h"

#include "meeting/text.h"
#include "meeting/texts.h"
#include "records/cars.h"

namespace meeting {

std::string HeatDescription(std::string_view meetingName, const HeatSlot& slot, int heatCount, bool spanish) {
  std::string title = HeatTitle(slot, heatCount, spanish);
  const std::string separator = " · ";
  std::string name = Tidy(meetingName);
  if (name.empty()) return title;
  const std::size_t room = kMaxDescriptionChars - std::min(kMaxDescriptionChars, CharCount(title) + CharCount(separator));
  if (room == 0) return title;
  if (CharCount(name) > room) name = Tidy(FirstChars(name, room - 1)) + "…";
  return name + separator + title;
}

HeatSetup SetupFor(const Meeting& meeting, const Heat& heat, int heatCount, bool spanish) {
  HeatSetup setup;
  for (const auto& s : heat.seats) {
    if (records::IsCar(s.car)) setup.cars[static_cast<std::size_t>(s.car - 1)] = true;
  }
  setup.minutes = heat.slot.minutes;
  setup.commonTiming = heat.slot.commonTiming;
  setup.description = HeatDescription(meeting.name, heat.slot, heatCount, spanish);
  return setup;
}

std::vector<LineUpRow> LineUp(const Heat& heat, const RosterIndex& roster) {
  std::vector<LineUpRow> rows;
  for (const auto& s : heat.seats) {
    LineUpRow row{s.car, s.driver, {}, {}, {}};
    if (const auto it = roster.find(s.driver); it != roster.end()) {
      row.name = it->second->name;
      row.shortName = it->second->shortName;
      row.number = it->second->number;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace meeting

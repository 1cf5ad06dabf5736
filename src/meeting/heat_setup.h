#pragma once
// What "Preparar" / "Prepare" puts into the setup panel for a heat, and the
// heat's line-up with names for the panel, the page and the heat sheet.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "meeting/driver.h"
#include "meeting/heat.h"
#include "meeting/meeting.h"
#include "records/cars.h"

namespace meeting {

// The setup panel's description box holds at most 50 characters.
inline constexpr std::size_t kMaxDescriptionChars = 50;

// "Club night · Heat 3/7" / "Noche del club · Manga 3/7": the meeting's
// name, shortened with "…" when the whole would not fit, and the title.
std::string HeatDescription(std::string_view meetingName, const HeatSlot& slot, int heatCount, bool spanish);

struct HeatSetup {
  std::array<bool, records::kCars> cars{};  // the participant boxes, car 1 first
  int minutes = 0;
  bool commonTiming = true;
  std::string description;
};
HeatSetup SetupFor(const Meeting& meeting, const Heat& heat, int heatCount, bool spanish);

struct LineUpRow {
  int car = 0;
  DriverId driver = 0;
  std::string name;       // empty for a driver no longer in the roster
  std::string shortName;
  std::optional<int> number;
};
// By car number.
std::vector<LineUpRow> LineUp(const Heat& heat, const RosterIndex& roster);

}  // namespace meeting

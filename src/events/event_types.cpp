#include "events/event_types.h"
#include "records/cars.h"

namespace events {

const std::array<EventType, kEventKinds>& EventTypes() {
  static const std::array<EventType, kEventKinds> types = {{
      {EventKind::Refuel, "RPTJ", 'R', {"Rptj.", "Fuel."}, {"Reposta ", "Refuels "}, 1},
      {EventKind::Stop, "PRDA", 'P', {"Prda.", "Stop"}, {"Se para ", "Stops "}, 13},
      {EventKind::Boxes, "BOX", 'B', {"Box", "Box"}, {"A boxes ", "To boxes "}, 37},
      {EventKind::StopAndGo, "S&G", 'G', {"StGo", "StGo"}, {"Stop&Go de ", "Stop&Go for "}, 75},
      {EventKind::Rejoin, "INCO", 'I', {"Inc.", "Rst."}, {"Se reincorpora ", "Restarts "}, 25},
      {EventKind::OffTrack, "SALE", 'S', {"Sal.", "Out"}, {"Se sale ", "Out "}, 61},
      {EventKind::Zurb, "ZURB", 'Z', {"Zurb", "Zurb"}, {"Zurb de ", "Zurb for "}, 49},
  }};
  return types;
}

const EventType& TypeOf(EventKind kind) { return EventTypes()[static_cast<std::size_t>(kind)]; }

std::string ButtonCaption(EventKind kind, int car) { return TypeOf(kind).letter + std::to_string(car); }

int ButtonNumber(EventKind kind, int car) { return TypeOf(kind).buttonBase + car; }

std::optional<ButtonTarget> ButtonTargetOf(int buttonNumber) {
  for (const auto& t : EventTypes()) {
    const int car = buttonNumber - t.buttonBase;
    if (records::IsCar(car)) return ButtonTarget{t.kind, car};
  }
  return std::nullopt;
}

std::string EventMessage(EventKind kind, int car, bool spanish) {
  const auto& t = TypeOf(kind);
  return t.message.Pick(spanish) + std::to_string(car);
}

std::string JoinManualText(const std::vector<std::string>& memoLines) {
  std::string text;
  for (std::size_t i = 0; i < memoLines.size() && i < kManualTextLines; ++i) text += memoLines[i];
  return text;
}

}  // namespace events

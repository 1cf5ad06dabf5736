#pragma once
// The per-car race events the operator records with the event buttons, and
// the codes the events file uses for every kind of event.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/words.h"

namespace events {

// In the order of the buttons in a car's row: R, P, B, G, I, S, Z.
enum class EventKind { Refuel, Stop, Boxes, StopAndGo, Rejoin, OffTrack, Zurb };

inline constexpr int kEventKinds = 7;

struct EventType {
  EventKind kind;
  const char* code;        // written in the events file
  char letter;             // caption letter: "R" + car number
  records::Words column;   // column label above the buttons
  records::Words message;  // message panel text, followed by the car number
  int buttonBase;          // component "Button" + (base + car)
};

// The seven per-car event types in row order.
const std::array<EventType, kEventKinds>& EventTypes();
const EventType& TypeOf(EventKind kind);

// The caption of a car's button: "R1" ... "Z12".
std::string ButtonCaption(EventKind kind, int car);

// The component number of a car's button ("Button38" is boxes of car 1).
int ButtonNumber(EventKind kind, int car);

// The event and car a component number stands for; nothing for any other number.
struct ButtonTarget {
  EventKind kind;
  int car;
};
std::optional<ButtonTarget> ButtonTargetOf(int buttonNumber);

// The message panel text for an event of a car, in the chosen language.
// The panel draws "&&" as one ampersand, so the text is given as shown.
std::string EventMessage(EventKind kind, int car, bool spanish);

// Codes written by the lap input and the manual event.
inline constexpr const char* kManualCode = "MANU";
inline constexpr const char* kNotRacingCode = "NOCO";
inline constexpr const char* kTooShortCode = "ERRO";
// Notes of the keys and the track gate, with a detail: a key press that a
// gate crossing of the same car replaced, and a gate pass that was timed
// with less accuracy than normal.
inline constexpr const char* kKeyReplacedCode = "TECL";
inline constexpr const char* kApproximateCode = "SENS";
// A race continued after a restart whose wall clock could not be trusted:
// its times count from an estimate from then on.
inline constexpr const char* kClockEstimatedCode = "HORA";

// The manual text from the memo's lines: lines 0 to 11 joined with nothing
// between them.
std::string JoinManualText(const std::vector<std::string>& memoLines);

inline constexpr int kManualTextMaxLength = 112;
// The memo's lines that make up the manual text.
inline constexpr std::size_t kManualTextLines = 12;

}  // namespace events

#pragma once
// The lines of the record files, as UTF-8 text without the line ending.
// Fields are separated by one TAB; operator texts are made fit for a field.

#include <cstdint>
#include <string>
#include <string_view>

namespace records {

// Whole milliseconds as seconds with three decimals and a comma, on every
// locale: 83407 gives 83,407.
std::string SecondsText(long long millis);

// "%2.2dh%2.2d'%2.2d\"%3.3d" of a time of day in milliseconds: 18h05'03"045.
std::string PaddedClockTime(std::int64_t millisOfDay);
// The same without leading zeros: 18h5'3"45.
std::string PlainClockTime(std::int64_t millisOfDay);

std::string RacesLine(int raceNumber, int minutes, int participants, std::int64_t startMillisOfDay,
                      std::string_view description);
std::string PassLine(int passCount, int car, int laps, std::string_view lapText, std::string_view totalText);
// A per-car event (car and laps), an ERRO/NOCO line (car, laps "--"), a
// manual line (car and laps "--", with the operator's text as detail) or a
// note of a car (laps "--", with the program's words as detail).
std::string EventLine(int number, int car, int laps, std::string_view time, std::string_view code);
std::string ErrorEventLine(int number, int car, std::string_view time, std::string_view code);
std::string ManualEventLine(int number, std::string_view time, std::string_view text);
// A note the program writes itself: its code and a detail; car 0 gives "--".
std::string NoteEventLine(int number, int car, std::string_view time, std::string_view code, std::string_view detail);
std::string ClassificationRow(int position, int car, int laps, std::string_view total, std::string_view best);

// Classification line 2: "Carrera 07 (10 minutos 4 coches) iniciada a las 18h5'3\"45".
std::string ClassificationStartLine(bool spanish, int raceNumber, int minutes, int participants,
                                    std::int64_t startMillisOfDay);
// Classification line 3; `stoppedAt` is the race time of an operator stop,
// empty for a race that ended by itself.
std::string ClassificationFinishLine(bool spanish, bool individualTiming, bool stopped,
                                     std::string_view stoppedAt);

}  // namespace records

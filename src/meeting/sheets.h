#pragma once
// A meeting on paper: the heat sheet a club pins on the wall (who drives
// which car, heat by heat), the meeting's results and the season's
// championship, as typed tables. The meeting window shows them, the
// printer prints them and the meeting's export writes them, so all three
// always agree.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "meeting/season.h"
#include "meeting/store.h"
#include "results/tables.h"

namespace meeting {

// Everything of one meeting the sheets are made from.
struct MeetingBook {
  Meeting meeting;
  std::vector<StoredHeat> heats;     // lined up so far, by number
  std::vector<HeatResult> results;
  std::vector<Driver> roster;
};

// Reads a meeting's book from the store; nothing when the store fails or
// there is no such meeting (its Status() says which: Invalid for the latter).
std::optional<MeetingBook> ReadBook(MeetingStore& store, MeetingId id);

// The line-ups without their links.
std::vector<Heat> LineUps(const std::vector<StoredHeat>& heats);

// The meetings of a class and year with their classifications, for
// Season(); `current` stands in for its stored self (the window's copy).
std::optional<std::vector<SeasonMeeting>> SeasonMeetings(MeetingStore& store, const std::vector<Meeting>& meetings,
                                                         std::string_view className, int year,
                                                         const MeetingBook* current = nullptr);

// One row per heat of the meeting's plan, a column per car: the drivers'
// short names, "(por alinear)" for a heat still to be lined up, then the
// race that ran it and a tick once its result is in.
results::Table HeatSheet(const MeetingBook& book, bool spanish);

// The same heats for the wall, a line per car: the heat's title on its
// first line, then each car number with its driver's full name; a heat
// still to be lined up says so. Narrow enough for a portrait page with any
// number of cars.
results::Table HeatList(const MeetingBook& book, bool spanish);

// The meeting's standings: a rotation's laps, time, best lap and stints,
// or the final that places each driver; the points in both.
results::Table MeetingResults(const MeetingBook& book, bool spanish);

// The championship: place, driver, points counted, then a column per
// meeting (its date), a dropped meeting's points in brackets.
results::Table Championship(const SeasonTable& season, const std::vector<Meeting>& meetings,
                            const std::vector<Driver>& roster, bool spanish);

// "Campeonato GT 2026" / "Championship GT 2026".
std::string ChampionshipTitle(std::string_view className, int year, bool spanish);
// "Hoja de mangas" / "Heat sheet", "Resultados de la reunión" / "Meeting results".
std::string HeatSheetTitle(bool spanish);
std::string MeetingResultsTitle(bool spanish);
// "Noche del club · GT · Rotación, 4 carriles, mangas de 5 min": what a sheet's head says of the meeting.
std::string MeetingLine(const Meeting& meeting, bool spanish);

}  // namespace meeting

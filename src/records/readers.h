#pragma once
// Reading the record files back. Every reader takes the raw bytes of a file
// (Windows-1252, any line ending), never crashes on anything a hand edit may
// have left, and reports bad lines with the program's own messages.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace records {

// A line of the day's races file.
struct TRace {
  std::uint8_t race = 0;
  std::uint8_t minutes = 0;
  std::uint8_t cars = 0;
  std::string startTime;    // as read, e.g. 18h05'03"045
  std::string description;  // UTF-8
};

// A line of a passes file.
struct TPaso {
  std::uint16_t pass = 0;
  std::uint8_t car = 0;
  std::uint16_t lap = 0;
  double lapTime = 0.0;  // seconds
  std::string total;     // as read, e.g. 01'27"310
};

// A row of a classification file.
struct TLClasif {
  std::uint8_t position = 0;
  std::uint8_t car = 0;
  std::uint16_t laps = 0;
  std::string total;
  double fastestLap = 0.0;  // seconds
};

// A line of an events file.
struct TInci {
  std::uint16_t number = 0;
  bool hasCar = false;
  std::uint8_t car = 0;
  bool hasLap = false;
  std::uint16_t lap = 0;
  std::string time;  // as read, e.g. 250,117
  std::string type;
  bool hasDetail = false;
  std::string detail;  // UTF-8
};

// What a reader made of a file: the records read, one message per bad line
// in file order, and whether an unconvertible number ended the reading early
// (its message is then the last one) and on which line of the file.
template <typename Record>
struct ReadResult {
  std::vector<Record> items;
  std::vector<std::string> messages;
  bool stopped = false;
  std::size_t stoppedLine = 0;  // counted from 1; 0 when not stopped
};

struct ClassificationFile {
  std::string description;  // line 1
  std::string startLine;    // line 2
  std::string finishLine;   // line 3, empty for a race that never finished
  ReadResult<TLClasif> rows;
};

ReadResult<TRace> ReadRaces(std::string_view bytes);
ReadResult<TPaso> SacaPSS(std::string_view bytes);
// The same into a list that is reused: its room is kept from one file to the next.
void SacaPSS(std::string_view bytes, ReadResult<TPaso>& into);
ClassificationFile ReadClassification(std::string_view bytes);
ReadResult<TInci> ReadEvents(std::string_view bytes);

// The messages for malformed lines, one per file kind.
inline constexpr const char* kBadRacesLine = "Algo raro: no Cra-Minutos-Coches-Hora-Desc.";
inline constexpr const char* kBadPassesLine = "Algo raro: no Paso-Coche-Vuelta-Tiempo-T. Total";
inline constexpr const char* kBadClassificationRow = "Algo raro: no Pto-Coche-Vueltas-T. Total-V. ráp.";
inline constexpr const char* kBadEventsLine = "Algo raro: no Inc-Coche-Vuelta-T. Total-Tipo(-Detalle)";

// Reads a whole file into bytes, reusing their room; false when it cannot be
// opened (bytes untouched) or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace records

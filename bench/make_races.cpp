// Writes a day of 99 races, each with a passes file of 3000 lines, in the
// program's own line formats: the folder the files browser is timed on.
#include <cstdio>
#include <fstream>
#include <string>

#include "records/lines.h"
#include "records/naming.h"
#include "records/race_files.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_races FOLDER YYMMDD\n");
    return 64;
  }
  const std::string folder = argv[1];
  const std::string day = argv[2];
  std::ofstream races(records::JoinPath(folder, records::RacesFileName(day)), std::ios::binary);
  for (int race = 1; race <= 99; ++race) {
    const std::string base = records::NextRaceBase(day, race);
    const std::int64_t start = (9 * 3600 + race * 120) * 1000LL;
    races << records::EncodeLine(records::RacesLine(race, 45, 12, start, "Carrera de resistencia"));
    std::ofstream pss(records::JoinPath(folder, base + ".pss"), std::ios::binary);
    for (int pass = 1; pass <= 3000; ++pass) {
      const int car = (pass - 1) % 12 + 1;
      const int lap = (pass - 1) / 12 + 1;
      char lapTime[32], total[32];
      std::snprintf(lapTime, sizeof lapTime, "%d,%03d", 10 + pass % 3, pass % 1000);
      std::snprintf(total, sizeof total, "%02d'%02d\"%03d", lap * 11 / 60 % 60, lap * 11 % 60, pass % 1000);
      pss << records::EncodeLine(records::PassLine(pass, car, lap, lapTime, total));
    }
    std::ofstream inc(records::JoinPath(folder, base + ".inc"), std::ios::binary);
    for (int e = 1; e <= 40; ++e) {
      inc << records::EncodeLine(records::EventLine(e, e % 12 + 1, e * 3, "125,500", "RPTJ"));
    }
    std::ofstream cls(records::JoinPath(folder, base + ".cls"), std::ios::binary);
    cls << records::EncodeLine("Carrera de resistencia")
        << records::EncodeLine(records::ClassificationStartLine(true, race, 45, 12, start))
        << records::EncodeLine(records::ClassificationFinishLine(true, false, false, ""));
    for (int pos = 1; pos <= 12; ++pos) {
      cls << records::EncodeLine(records::ClassificationRow(pos, pos, 250 - pos, "45'10\"250", "10,125"));
    }
  }
  return 0;
}

#include "race/spoken_texts.h"

#include "race/spoken_numbers.h"
#include "race/texts.h"

namespace race {

namespace {

namespace spoken {
inline constexpr Words kCar{"coche", "car"};
inline constexpr Words kPosition{"posición", "position"};
// The same word as the recorded finish cue.
inline constexpr Words kCarFinished{"fin", "finished"};
inline constexpr Words kLeader{"Lidera {}", "{} leads"};
inline constexpr Words kTheCar{"el coche", "car"};
inline constexpr Words kOneMinute{"Un minuto", "One minute"};
inline constexpr Words kTimeUp{"Se acabó el tiempo", "Time is up"};
inline constexpr Words kResults{"Clasificación", "Results"};
inline constexpr Words kNextHeat{"Próxima manga", "Next heat"};
}  // namespace spoken

// Every sentence begins with a capital; the words that can begin one are
// plain ASCII, and a name keeps whatever it has.
std::string Capitalized(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text;
}

std::string Named(int car, const DriverNames& names) {
  const auto it = names.find(car);
  return it == names.end() ? std::string() : it->second;
}

std::string Car(const Words& car, int n, bool spanish) {
  return std::string(car.Pick(spanish)) + ' ' + SpokenNumber(n, spanish);
}

}  // namespace

std::string SpeakableName(std::string_view name) {
  std::string out;
  std::size_t characters = 0;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool continuation = (byte & 0xC0U) == 0x80U;
    if (!continuation && characters == kMaxSpokenNameLength) break;
    if (byte <= 0x20U || byte == 0x7FU || c == '<' || c == '>' || c == '&') {
      // Blanks, control and markup characters: one space at most.
      if (!out.empty() && out.back() != ' ') {
        out += ' ';
        ++characters;
      }
      continue;
    }
    out += c;
    if (!continuation) ++characters;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string CarOrDriver(int car, const DriverNames& names, bool spanish) {
  std::string name = Named(car, names);
  return name.empty() ? Car(spoken::kCar, car, spanish) : name;
}

std::string PassSentence(int car, const DriverNames& names, std::int64_t lapMillis, int position, bool finished,
                         bool spanish) {
  std::string text = CarOrDriver(car, names, spanish) + ", " + SpokenTenths(lapMillis, spanish);
  if (position > 0) text += ", " + Car(spoken::kPosition, position, spanish);
  if (finished) text += std::string(", ") + spoken::kCarFinished.Pick(spanish);
  return Capitalized(std::move(text));
}

std::string LeaderSentence(int car, const DriverNames& names, std::int64_t lapMillis, bool spanish) {
  std::string who = Named(car, names);
  if (who.empty()) who = Car(spoken::kTheCar, car, spanish);
  std::string text = spoken::kLeader.Pick(spanish);
  text.replace(text.find("{}"), 2, who);
  if (lapMillis > 0) text += ", " + SpokenTenths(lapMillis, spanish);
  return Capitalized(std::move(text));
}

std::string OneMinuteSentence(bool spanish) { return spoken::kOneMinute.Pick(spanish); }

std::string TimeUpSentence(bool spanish) { return spoken::kTimeUp.Pick(spanish); }

std::string FinishSentence(const std::vector<int>& order, const DriverNames& names, bool spanish) {
  std::string text = spoken::kResults.Pick(spanish);
  int place = 0;
  for (const int car : order) {
    text += ". " + Capitalized(SpokenOrdinal(++place, spanish)) + ", " + CarOrDriver(car, names, spanish);
  }
  return text;
}

std::string LineUpSentence(const DriverNames& lineUp, bool spanish) {
  std::string text = spoken::kNextHeat.Pick(spanish);
  for (const auto& [car, name] : lineUp) {
    text += ". " + Capitalized(Car(spoken::kCar, car, spanish));
    if (!name.empty()) text += ", " + name;
  }
  return text;
}

}  // namespace race

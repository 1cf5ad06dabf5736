#pragma once
// A race's name in the record folder, "YYMMDDnn": the six digits of its day
// and its two-digit number within the day, 01 to 99 (00 is the day's races
// file, never a race). Every file of the race is named after it.

#include <optional>
#include <string>
#include <string_view>

namespace records {

class RaceId final {
 public:
  // Names no race (an empty text): a place for one yet to be read.
  RaceId() = default;
  // "26120601"; nothing for anything else (eight digits, number 01 to 99).
  static std::optional<RaceId> Parse(std::string_view text);
  // A day's six digits and a number 1 to 99.
  static std::optional<RaceId> Of(std::string_view day, int number);
  // The race a file is of: "26120601.pss", "26120601.CLS"; nothing for the
  // races file, a name without a race's eight characters and a point, or
  // any other name.
  static std::optional<RaceId> OfFileName(std::string_view fileName);

  const std::string& day() const noexcept { return day_; }
  int number() const noexcept { return number_; }
  // "26120601"; empty for no race.
  std::string Text() const;
  // The number as the names write it: "01".
  std::string NumberText() const;
  // The race's file of a kind: FileName(".pss") is "26120601.pss".
  std::string FileName(std::string_view extension) const;

  bool operator==(const RaceId&) const = default;

 private:
  RaceId(std::string day, int number) : day_(std::move(day)), number_(number) {}
  std::string day_;
  int number_ = 0;
};

// Six decimal digits: a day as record files name it.
bool IsDayStem(std::string_view text) noexcept;

}  // namespace records

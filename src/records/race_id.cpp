#include "records/race_id.h"

#include <algorithm>

namespace records {

namespace {

bool Digits(std::string_view text) noexcept {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool IsDayStem(std::string_view text) noexcept { return text.size() == 6 && Digits(text); }

std::optional<RaceId> RaceId::Of(std::string_view day, int number) {
  if (!IsDayStem(day) || number < 1 || number > 99) return std::nullopt;
  return RaceId(std::string(day), number);
}

std::optional<RaceId> RaceId::Parse(std::string_view text) {
  if (text.size() != 8 || !Digits(text)) return std::nullopt;
  return Of(text.substr(0, 6), (text[6] - '0') * 10 + (text[7] - '0'));
}

std::optional<RaceId> RaceId::OfFileName(std::string_view fileName) {
  if (fileName.size() < 9 || fileName[8] != '.') return std::nullopt;
  return Parse(fileName.substr(0, 8));
}

std::string RaceId::NumberText() const {
  return {static_cast<char>('0' + number_ / 10), static_cast<char>('0' + number_ % 10)};
}

std::string RaceId::Text() const {
  if (number_ == 0) return {};
  return day_ + NumberText();
}

std::string RaceId::FileName(std::string_view extension) const { return Text() + std::string(extension); }

}  // namespace records

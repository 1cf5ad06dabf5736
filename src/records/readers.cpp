#include "records/readers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "records/cp1252.h"
#include "records/numbers.h"

namespace records {
namespace {

// A line longer than this is cut; the rest up to its line ending is dropped.
constexpr std::size_t kMaxLineBytes = 255;

// Five fields for every kind of line, plus the detail of an events line.
constexpr std::size_t kRecordFields = 5;
constexpr std::size_t kEventFields = 6;

// Hands out the lines of a file one by one, without their line ending.
// A line ends at CR LF, a lone LF or a lone CR; the ending of the last line
// does not start one more, empty, line.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

  bool Next(std::string_view& line) {
    if (pos_ >= bytes_.size()) return false;
    const char* data = bytes_.data();
    const std::size_t size = bytes_.size();
    const void* lf = std::memchr(data + pos_, '\n', size - pos_);
    std::size_t end = lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : size;
    if (const void* cr = std::memchr(data + pos_, '\r', end - pos_)) {
      end = static_cast<std::size_t>(static_cast<const char*>(cr) - data);
    }
    line = bytes_.substr(pos_, std::min(end - pos_, kMaxLineBytes));
    ++number_;
    pos_ = end;
    if (pos_ < bytes_.size()) {
      const bool crlf = bytes_[pos_] == '\r' && pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '\n';
      pos_ += crlf ? 2 : 1;
    }
    return true;
  }
  // The line Next() handed out last, counted from 1.
  std::size_t number() const noexcept { return number_; }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
  std::size_t number_ = 0;
};

// The field texts of the file being read. They are kept from one line to the
// next: a line with too few fields leaves the missing ones as they were on
// the line before (empty on the first line). The views point into the input.
using Fields = std::array<std::string_view, kEventFields>;

// Splits `line` at every TAB into the first `keep` entries of `fields` and
// returns how many fields the line has in all.
std::size_t SplitLine(std::string_view line, std::size_t keep, Fields& fields) {
  std::size_t count = 0;
  std::size_t start = 0;
  const char* data = line.data();
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (data[i] != '\t') continue;
    if (count < keep) fields[count] = line.substr(start, i - start);
    ++count;
    start = i + 1;
  }
  if (count < keep) fields[count] = line.substr(start);
  return count + 1;
}

// Converts field texts to numbers; the first text that does not convert
// leaves the message that ends the reading of the file.
class Converter {
 public:
  template <typename Unsigned>
  bool Whole(std::string_view text, Unsigned& value) {
    if (ParseWhole(text, value)) return true;
    Fail(text, "integer");
    return false;
  }

  bool Real(std::string_view text, double& value) {
    if (const auto real = ParseCommaDecimal(text)) {
      value = *real;
      return true;
    }
    Fail(text, "floating point");
    return false;
  }

  const std::string& error() const { return error_; }

 private:
  // Decimal digits with an optional sign; the value must fit `Unsigned`,
  // so only a negative zero gets past the '-'.
  template <typename Unsigned>
  static bool ParseWhole(std::string_view text, Unsigned& value) {
    static_assert(sizeof(Unsigned) <= 2, "values are checked in 32 bits");
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      negative = text[i] == '-';
      ++i;
    }
    if (i == text.size()) return false;
    std::uint32_t v = 0;
    for (; i < text.size(); ++i) {
      const char c = text[i];
      if (c < '0' || c > '9') return false;
      v = v * 10 + static_cast<std::uint32_t>(c - '0');
      if (v > std::numeric_limits<Unsigned>::max()) return false;
    }
    if (negative && v != 0) return false;
    value = static_cast<Unsigned>(v);
    return true;
  }

  void Fail(std::string_view text, const char* kind) {
    error_ = "'" + Cp1252ToUtf8(text) + "' is not a valid " + kind + " value";
  }

  std::string error_;
};

// Reads every remaining line of `lines` as a record. A line whose field
// count `fits` refuses adds `badLine` but is still read; the first field
// that does not convert ends the reading without taking that line.
template <typename Record, typename FitsCount, typename Convert>
void ReadLines(LineReader& lines, std::size_t keep, FitsCount fits, const char* badLine, Convert convert,
               ReadResult<Record>& result) {
  Fields fields{};
  std::string_view line;
  Converter converter;
  while (lines.Next(line)) {
    const std::size_t count = SplitLine(line, keep, fields);
    if (!fits(count)) result.messages.emplace_back(badLine);
    Record& record = result.items.emplace_back();
    if (!convert(fields, count, converter, record)) {
      result.items.pop_back();
      result.messages.push_back(converter.error());
      result.stopped = true;
      result.stoppedLine = lines.number();
      return;
    }
  }
}

bool FiveFields(std::size_t count) { return count == kRecordFields; }
bool AtLeastFiveFields(std::size_t count) { return count >= kRecordFields; }

// An events field that reads exactly "--" stands for no car or no lap.
template <typename Unsigned>
bool OptionalWhole(Converter& converter, std::string_view text, bool& present, Unsigned& value) {
  present = text != "--";
  return !present || converter.Whole(text, value);
}

}  // namespace

ReadResult<TRace> ReadRaces(std::string_view bytes) {
  ReadResult<TRace> result;
  LineReader lines(bytes);
  ReadLines(
      lines, kRecordFields, FiveFields, kBadRacesLine,
      [](const Fields& f, std::size_t, Converter& c, TRace& r) {
        if (!c.Whole(f[0], r.race) || !c.Whole(f[1], r.minutes) || !c.Whole(f[2], r.cars)) return false;
        r.startTime = Cp1252ToUtf8(f[3]);
        r.description = Cp1252ToUtf8(f[4]);
        return true;
      },
      result);
  return result;
}

ReadResult<TPaso> SacaPSS(std::string_view bytes) {
  ReadResult<TPaso> result;
  SacaPSS(bytes, result);
  return result;
}

void SacaPSS(std::string_view bytes, ReadResult<TPaso>& result) {
  result.items.clear();
  result.messages.clear();
  result.stopped = false;
  result.stoppedLine = 0;
  LineReader lines(bytes);
  ReadLines(
      lines, kRecordFields, FiveFields, kBadPassesLine,
      [](const Fields& f, std::size_t, Converter& c, TPaso& p) {
        if (!c.Whole(f[0], p.pass) || !c.Whole(f[1], p.car) || !c.Whole(f[2], p.lap) || !c.Real(f[3], p.lapTime)) {
          return false;
        }
        p.total = Cp1252ToUtf8(f[4]);
        return true;
      },
      result);
}

ClassificationFile ReadClassification(std::string_view bytes) {
  ClassificationFile file;
  LineReader lines(bytes);
  std::string_view line;
  for (std::string* header : {&file.description, &file.startLine, &file.finishLine}) {
    if (!lines.Next(line)) return file;
    *header = Cp1252ToUtf8(line);
  }
  ReadLines(
      lines, kRecordFields, FiveFields, kBadClassificationRow,
      [](const Fields& f, std::size_t, Converter& c, TLClasif& row) {
        if (!c.Whole(f[0], row.position) || !c.Whole(f[1], row.car) || !c.Whole(f[2], row.laps)) return false;
        row.total = Cp1252ToUtf8(f[3]);
        return c.Real(f[4], row.fastestLap);
      },
      file.rows);
  return file;
}

ReadResult<TInci> ReadEvents(std::string_view bytes) {
  ReadResult<TInci> result;
  LineReader lines(bytes);
  ReadLines(
      lines, kEventFields, AtLeastFiveFields, kBadEventsLine,
      [](const Fields& f, std::size_t count, Converter& c, TInci& e) {
        if (!c.Whole(f[0], e.number) || !OptionalWhole(c, f[1], e.hasCar, e.car) ||
            !OptionalWhole(c, f[2], e.hasLap, e.lap)) {
          return false;
        }
        e.time = Cp1252ToUtf8(f[3]);
        e.type = Cp1252ToUtf8(f[4]);
        e.hasDetail = count >= kEventFields;
        if (e.hasDetail) e.detail = Cp1252ToUtf8(f[5]);
        return true;
      },
      result);
  return result;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // The caller's buffer is reused, so reading race after race does not ask
  // the system for fresh memory every time.
  struct stat info {};
  std::size_t room = 65536;
  if (::fstat(fd, &info) == 0 && info.st_size > 0) room = static_cast<std::size_t>(info.st_size) + 1;
  bytes.resize(room);
  std::size_t used = 0;
  bool ok = true;
  while (true) {
    if (used == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    used += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes.resize(used);
  return ok;
}

}  // namespace records

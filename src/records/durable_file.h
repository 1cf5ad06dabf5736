#pragma once
// A record file open for appending whose every line reaches the disk before
// the call returns: one write of the whole line, then fdatasync.

#include <string>
#include <string_view>

namespace records {

// The outcome of a file operation; `error` holds the system's own words
// ("No space left on device") when it failed.
struct IoResult {
  bool ok = true;
  std::string error;

  static IoResult Failure(int errnum, std::string_view what);
  explicit operator bool() const noexcept { return ok; }
};

class DurableFile final {
 public:
  DurableFile() = default;
  ~DurableFile();
  DurableFile(const DurableFile&) = delete;
  DurableFile& operator=(const DurableFile&) = delete;
  DurableFile(DurableFile&& other) noexcept;
  DurableFile& operator=(DurableFile&& other) noexcept;

  // Creates the file empty (an existing one is emptied) and keeps it open.
  IoResult Create(const std::string& path);
  // Opens for appending, creating the file when it does not exist.
  IoResult OpenAppend(const std::string& path);
  // Writes the bytes as given and makes them durable.
  IoResult Append(std::string_view bytes);
  IoResult Close();

 private:
  IoResult Open(const std::string& path, int flags);
  int fd_ = -1;
  std::string path_;
};

// Makes the entries of a folder (new files) durable.
IoResult SyncFolder(const std::string& folder);

}  // namespace records

#pragma once
// Files that appear in a folder whole or not at all. Each is first written
// under a temporary name of its own, made exclusively (a name someone else
// made, or a link planted there, is never written through), checked to hold
// every byte and synced; only when all of them are, they take their names,
// and the folder is synced. Whatever fails leaves the folder as it was.

#include <string>
#include <string_view>
#include <vector>

namespace exports {

class StagedFiles final {
 public:
  // The folder must exist.
  explicit StagedFiles(std::string folder);
  // Removes every temporary file that did not take its name.
  ~StagedFiles();
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;

  // Writes the bytes under a temporary name, to be called `name` on commit.
  // False on failure: FailedName() and SystemError() say which and why.
  bool Add(const std::string& name, std::string_view bytes);
  // Gives every file its name and syncs the folder. On failure none of the
  // names given keeps a file of this batch.
  bool Commit();

  // The paths of the files, in the order added.
  std::vector<std::string> Paths() const;
  const std::string& FailedName() const noexcept { return failedName_; }
  const std::string& SystemError() const noexcept { return systemError_; }

 private:
  struct Staged {
    std::string name;
    std::string temporary;
    bool named = false;
  };
  bool Fail(const std::string& name, int errnum);
  void RemoveAll();

  std::string folder_;
  int folderFd_ = -1;
  int openErrno_ = 0;
  std::vector<Staged> staged_;
  std::string failedName_;
  std::string systemError_;
};

}  // namespace exports

#pragma once
// A fresh folder under the system's temporary folder, removed with its files.

#include <string>

namespace testing_support {

class TempDir final {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // The whole content of a file of the folder; empty when it is missing.
  std::string Read(const std::string& name) const;
  bool Exists(const std::string& name) const;
  void Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

}  // namespace testing_support

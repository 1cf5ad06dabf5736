#pragma once
// Listing a folder and matching names against DOS-style wildcards.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class DirectoryLister {
 public:
  virtual ~DirectoryLister() = default;
  // Every entry name of the folder (files and folders alike, "." and ".."
  // left out); empty when the folder cannot be read.
  virtual std::vector<std::string> List(const std::string& folder) = 0;
};

class PosixDirectoryLister final : public DirectoryLister {
 public:
  std::vector<std::string> List(const std::string& folder) override;
};

// '*' matches any run of characters, '?' exactly one; letters compare
// without regard to case (ASCII letters only).
bool WildcardMatch(std::string_view pattern, std::string_view name) noexcept;

// The names of the folder matching the pattern, in listing order.
std::vector<std::string> ListMatching(DirectoryLister& lister, const std::string& folder,
                                      std::string_view pattern);

}  // namespace platform

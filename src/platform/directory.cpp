#include "platform/directory.h"

#include <dirent.h>

#include <cstring>

namespace platform {

std::vector<std::string> PosixDirectoryLister::List(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return names;
  while (dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    names.emplace_back(entry->d_name);
  }
  closedir(dir);
  return names;
}

namespace {
char Fold(char c) noexcept { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) noexcept {
  // Iterative matcher with one backtrack point: linear in practice, never
  // recursive, so a hostile name cannot blow the stack.
  std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> ListMatching(DirectoryLister& lister, const std::string& folder,
                                      std::string_view pattern) {
  std::vector<std::string> out;
  for (auto& name : lister.List(folder)) {
    if (WildcardMatch(pattern, name)) out.push_back(std::move(name));
  }
  return out;
}

}  // namespace platform

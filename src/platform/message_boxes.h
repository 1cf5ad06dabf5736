#pragma once
// Message boxes: a report with an OK button, and a question with OK and
// Cancel where Cancel is the default. Window code asks through this so that
// tests can answer the boxes themselves.

#include <string>

namespace platform {

// The program's title: the caption of its message boxes and the task bar's.
inline constexpr const char* kProgramTitle = "TRELVIX";

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Texts break their lines with "\r", as the program's messages are written.
  virtual void Info(const std::string& caption, const std::string& text) = 0;
  // True only when the operator chose OK.
  virtual bool Confirm(const std::string& caption, const std::string& text) = 0;
};

}  // namespace platform

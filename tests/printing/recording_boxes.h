#pragma once
// Message boxes that only remember what they were asked to show.

#include <string>
#include <vector>

#include "platform/message_boxes.h"

namespace printing_tests {

class RecordingBoxes final : public platform::MessageBoxes {
 public:
  void Info(const std::string&, const std::string& text) override { shown.push_back(text); }
  bool Confirm(const std::string&, const std::string& text) override {
    shown.push_back(text);
    return false;
  }
  std::vector<std::string> shown;
};

}  // namespace printing_tests

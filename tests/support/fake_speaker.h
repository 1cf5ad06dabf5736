#pragma once
// A speaker that keeps what it was given and stays busy until the test says
// it has finished.

#include <string>
#include <vector>

#include "platform/speaker.h"

namespace testing_support {

class FakeSpeaker final : public platform::Speaker {
 public:
  bool Available() override { return available; }
  bool Ready() override { return available && !speaking; }
  void Say(const std::string& text, bool spanish) override {
    said.push_back(text);
    inSpanish.push_back(spanish);
    speaking = true;
  }
  void Finish() { speaking = false; }

  bool available = true;
  bool speaking = false;
  std::vector<std::string> said;
  std::vector<bool> inSpanish;
};

}  // namespace testing_support

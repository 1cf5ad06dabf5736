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
  std::vector<std::string> Voices(bool spanish) override { return spanish ? spanishVoices : englishVoices; }
  void ChooseVoice(const std::string& name) override { voice = name; }
  void Finish() { speaking = false; }

  bool available = true;
  bool speaking = false;
  std::vector<std::string> said;
  std::vector<bool> inSpanish;
  std::vector<std::string> spanishVoices;
  std::vector<std::string> englishVoices;
  std::string voice;
};

}  // namespace testing_support

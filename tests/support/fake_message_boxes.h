#pragma once
// Message boxes answered by the test: every box is recorded, questions take
// the next scripted answer (Cancel, the default, when none is left), and a
// hook runs while a box is "open" for what happens meanwhile.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_boxes.h"

namespace testing_support {

class FakeMessageBoxes final : public platform::MessageBoxes {
 public:
  struct Box {
    bool question = false;
    std::string caption;
    std::string text;
  };

  void Info(const std::string& caption, const std::string& text) override { Show(false, caption, text); }
  bool Confirm(const std::string& caption, const std::string& text) override {
    Show(true, caption, text);
    if (answers.empty()) return false;
    const bool ok = answers.front();
    answers.pop_front();
    return ok;
  }

  std::deque<bool> answers;  // true = OK
  std::vector<Box> shown;
  std::function<void(const Box&)> whileOpen;

 private:
  void Show(bool question, const std::string& caption, const std::string& text) {
    shown.push_back({question, caption, text});
    if (whileOpen) whileOpen(shown.back());
  }
};

}  // namespace testing_support

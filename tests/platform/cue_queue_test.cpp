#include "platform/cue_queue.h"

#include <gtest/gtest.h>

#include <vector>


namespace {

using Started = std::vector<std::string>;

// A device whose cues play until the test ends them.
class HeldBackend final : public platform::CueBackend {
 public:
  int OutputDeviceCount() override { return 1; }
  bool CueExists(const std::string& fileName) override { return fileName != "missing.wav"; }
  void Start(const std::string& fileName) override { started.push_back(fileName.empty() ? "BEEP" : fileName); }
  Started started;
};

TEST(CueQueue, CuesPlayOneAfterAnotherInTheOrderAsked) {
  HeldBackend backend;
  platform::CueQueue queue(backend);
  queue.PlayCue("sal.wav");
  queue.PlayCue("3.wav");
  queue.Beep();
  queue.PlayCue("fin.wav");
  EXPECT_EQ(backend.started, Started{"sal.wav"});
  EXPECT_EQ(queue.Waiting(), 3u);
  queue.CueFinished();
  queue.CueFinished();
  EXPECT_EQ(backend.started, (Started{"sal.wav", "3.wav", "BEEP"}));
  queue.CueFinished();
  queue.CueFinished();
  EXPECT_EQ(backend.started.back(), "fin.wav");
  EXPECT_FALSE(queue.Playing());
  queue.PlayCue("4.wav");  // an idle queue starts at once
  EXPECT_EQ(backend.started.back(), "4.wav");
}

TEST(CueQueue, ABackendThatEndsACueAtOnceKeepsTheOrder) {
  struct Instant final : platform::CueBackend {
    int OutputDeviceCount() override { return 0; }
    bool CueExists(const std::string&) override { return false; }
    void Start(const std::string& f) override {
      started.push_back(f);
      queue->CueFinished();
    }
    platform::CueQueue* queue = nullptr;
    Started started;
  } backend;
  platform::CueQueue queue(backend);
  backend.queue = &queue;
  queue.Beep();
  queue.PlayCue("1.wav");
  EXPECT_EQ(backend.started, (Started{"", "1.wav"}));
  EXPECT_FALSE(queue.Playing());
}

}  // namespace

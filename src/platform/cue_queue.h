#pragma once
// Sound cues played one after another without ever holding up the caller:
// a cue asked for while another plays waits its turn, in the order asked.

#include <deque>
#include <string>

#include "platform/sound.h"

namespace platform {

// What actually makes the sound. Start() must return at once; the backend
// calls CueQueue::CueFinished() when the cue has ended.
class CueBackend {
 public:
  virtual ~CueBackend() = default;
  virtual int OutputDeviceCount() = 0;
  virtual bool CueExists(const std::string& fileName) = 0;
  // An empty file name stands for the beep.
  virtual void Start(const std::string& fileName) = 0;
};

class CueQueue final : public SoundDevice {
 public:
  explicit CueQueue(CueBackend& backend) : backend_(backend) {}

  int OutputDeviceCount() override { return backend_.OutputDeviceCount(); }
  bool CueExists(const std::string& fileName) override { return backend_.CueExists(fileName); }
  void PlayCue(const std::string& fileName) override { Enqueue(fileName); }
  void Beep() override { Enqueue(std::string()); }

  // The cue being played has ended: the next one starts.
  void CueFinished();

  bool Playing() const noexcept { return playing_; }
  std::size_t Waiting() const noexcept { return waiting_.size(); }

 private:
  void Enqueue(std::string fileName);

  CueBackend& backend_;
  std::deque<std::string> waiting_;
  bool playing_ = false;
};

}  // namespace platform

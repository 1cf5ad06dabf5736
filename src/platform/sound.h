#pragma once
// The sound device: cue files by name and the system beep.

#include <string>

namespace platform {

class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  // How many audio output devices the machine has.
  virtual int OutputDeviceCount() = 0;
  // Whether the cue file of that plain name exists beside the program.
  virtual bool CueExists(const std::string& fileName) = 0;
  // Plays a cue file; a file that exists but cannot be played gives the
  // platform's default sound instead.
  virtual void PlayCue(const std::string& fileName) = 0;
  // The error and fallback beep.
  virtual void Beep() = 0;
};

// No sound at all: no device, no files (the benchmarks' machine makes no noise).
class SilentSound final : public SoundDevice {
 public:
  int OutputDeviceCount() override { return 0; }
  bool CueExists(const std::string&) override { return false; }
  void PlayCue(const std::string&) override {}
  void Beep() override {}
};

}  // namespace platform

#pragma once
// A speech engine that reads announcements aloud at the track.

#include <string>
#include <vector>

namespace platform {

class Speaker {
 public:
  virtual ~Speaker() = default;
  // Whether a speech engine is there at all; without one nothing is said
  // and the recorded cues go on as before.
  virtual bool Available() = 0;
  // Whether it can take a text now: not while it speaks. The program's
  // speaker also waits while a recorded cue plays, so that the cue comes first.
  virtual bool Ready() = 0;
  // Starts reading the text in Spanish or English and returns at once; the
  // speaker becomes Ready() again when it has finished.
  virtual void Say(const std::string& text, bool spanish) = 0;
  // The voices installed for the language, by name; empty while the engine
  // is still starting or when there is none.
  virtual std::vector<std::string> Voices(bool spanish) = 0;
  // The voice to read with; empty, or a name the language lacks, reads with
  // the language's default voice.
  virtual void ChooseVoice(const std::string& name) = 0;
};

}  // namespace platform

#include "platform/cue_queue.h"

namespace platform {

void CueQueue::Enqueue(std::string fileName) {
  if (playing_) {
    waiting_.push_back(std::move(fileName));
    return;
  }
  playing_ = true;
  backend_.Start(fileName);
}

void CueQueue::CueFinished() {
  if (waiting_.empty()) {
    playing_ = false;
    return;
  }
  std::string next = std::move(waiting_.front());
  waiting_.pop_front();
  backend_.Start(next);
}

}  // namespace platform

#pragma once
// The link to a track sensor (a gate speaking our line protocol): opens the
// chosen serial port or TCP connection, opens it again every second while it
// is down, and hands over the passes the gate reports, on the counter's time
// base. Reading is bounded per turn of the event loop, so a flooding sensor
// never holds up a key press.

#include <QObject>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/counter.h"
#include "platform/link_choice.h"

class QIODevice;

namespace decoder {
class Session;
}

namespace platform {

class DecoderLink final : public QObject {
  Q_OBJECT

 public:
  enum class State {
    kOff,         // no sensor chosen
    kConnecting,  // chosen, not (yet) open
    kUp,          // open, lines arriving
    kLost,        // was up, and the cable, the network or the gate went away
    kFault,       // up, but the gate floods or sends nothing but bad lines
  };
  struct Status {
    State state = State::kOff;
    std::string hello;   // the gate's hello text
    long long lines = 0;
    long long badLines = 0;
    long long dropped = 0;  // passes and lines thrown away in a flood
    long long resets = 0;
    std::string error;   // the system's words for the last failure to open
  };

  explicit DecoderLink(PerformanceCounter& counter, QObject* parent = nullptr);
  ~DecoderLink() override;
  DecoderLink(const DecoderLink&) = delete;
  DecoderLink& operator=(const DecoderLink&) = delete;

  // Opens the chosen link (closing the one before); kNone closes.
  void Open(const LinkChoice& choice);
  void Close();
  const LinkChoice& choice() const noexcept { return choice_; }
  const Status& status() const noexcept { return status_; }

  // How long without a line before a link counts as lost: a gate sends a
  // heartbeat at least once a second.
  static constexpr int kSilenceMillis = 3000;
  // Bytes read in one turn of the event loop at most.
  static constexpr qint64 kReadBudget = 4096;

 signals:
  // Car 1..12 crossed the line at counter count `when`.
  void Crossed(int car, qint64 when);
  void StatusChanged();

 private:
  void Retry();
  void Connected();
  void ReadSome();
  void Lost(const std::string& why);
  void SetState(State state);
  void CheckSilence();

  PerformanceCounter& counter_;
  std::int64_t frequency_;
  LinkChoice choice_;
  Status status_;
  std::unique_ptr<QIODevice> device_;
  std::unique_ptr<decoder::Session> session_;
  QTimer retry_;
  QTimer silence_;
  bool readQueued_ = false;
  std::int64_t lastLine_ = 0;
  std::int64_t attemptStarted_ = 0;
};

}  // namespace platform

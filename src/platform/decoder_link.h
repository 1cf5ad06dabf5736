#pragma once
// The link to a track sensor (a gate speaking our line protocol): opens the
// chosen serial port or TCP connection, opens it again every second while it
// is down, and hands over the passes the gate reports, on the counter's time
// base. Reading is bounded per turn of the event loop, so a flooding sensor
// never holds up a key press. Only an error closes a connection: a silent
// one is shown as lost but kept, since it may still deliver (TCP keepalive
// finds a peer that is gone), and whatever arrived is read before a device
// is closed.

#include <QObject>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/counter.h"
#include "platform/link_choice.h"

class QIODevice;

namespace decoder {
class Session;
struct GatePass;
}  // namespace decoder

namespace platform {

class DecoderLink final : public QObject {
  Q_OBJECT

 public:
  enum class State {
    kOff,         // no sensor chosen
    kConnecting,  // chosen, not (yet) open
    kUp,          // open, lines arriving
    kLost,        // was up, and the cable, the network or the gate went away,
                  // or nothing came for kSilenceMillis
    kFault,       // up, but the gate floods or sends nothing but bad lines
  };
  struct Status {
    State state = State::kOff;
    std::string hello;  // the gate's hello text
    long long lines = 0;
    long long badLines = 0;
    long long dropped = 0;  // passes and lines thrown away in a flood
    long long resets = 0;
    std::string error;  // the system's words for the last failure to open
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

  // How long without a line before a link is shown as lost: a gate sends a
  // heartbeat at least once a second. The connection stays open.
  static constexpr int kSilenceMillis = 3000;
  // Bytes read in one turn of the event loop at most.
  static constexpr qint64 kReadBudget = 4096;
  // Bytes read at most from a device that is being closed.
  static constexpr qint64 kDrainLimit = 1 << 20;
  // TCP keepalive: a gate that went away without a word is found after
  // this many seconds of quiet and a probe a second that is never answered.
  static constexpr int kKeepAliveIdleSeconds = 2;
  static constexpr int kKeepAliveProbes = 3;

 signals:
  // Car 1..12 crossed the line at counter count `when`; `approximate`: timed
  // with less accuracy than normal (decoder::GatePass::approximate).
  void Crossed(int car, qint64 when, bool approximate);
  void StatusChanged();

 private:
  void Retry();
  void Connected();
  void ReadSome();
  void Read(qint64 most);
  void Hand(const std::vector<decoder::GatePass>& passes);
  void Drop();
  void Lost(const std::string& why);
  void SetState(State state);
  void Tick();

  PerformanceCounter& counter_;
  std::int64_t frequency_;
  LinkChoice choice_;
  Status status_;
  std::unique_ptr<QIODevice> device_;
  std::unique_ptr<decoder::Session> session_;
  QTimer retry_;
  QTimer tick_;  // while a link is chosen: silence, and passes that waited their longest
  bool readQueued_ = false;
  std::int64_t lastLine_ = 0;
  std::int64_t attemptStarted_ = 0;
};

}  // namespace platform

#pragma once
// The server's side of WebServer, on the server's own thread: the listening
// socket, the HTTP server and the viewers, and the latest race handed over
// from the race's thread.

#include <QObject>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

#include "meeting/board.h"
#include "platform/directory.h"
#include "web/limits.h"
#include "web/live_race.h"
#include "web/meeting_api.h"
#include "web/record_api.h"
#include "web/web_address.h"

namespace web {

class BoundedTcpServer;
class ResultsSite;

// The latest race, left by the race's thread and taken by the server's.
// Only the newest one counts: a race handed over twice before the server
// looked is sent once. The meeting's board stays in it, for a server
// started later, and is shown between races only.
struct RaceMailbox {
  std::mutex lock;
  std::optional<LiveRace> race;
  std::shared_ptr<const meeting::Board> board;
  bool boardChanged = false;
  std::atomic<bool> posted{false};
};

struct ListenResult {
  bool ok = false;
  quint16 port = 0;
  QString es, en;  // why it failed
};

class SiteWorker final : public QObject {
  Q_OBJECT
 public:
  SiteWorker(std::string recordFolder, const Limits& limits, RaceMailbox& mailbox, std::atomic<int>& viewers);
  ~SiteWorker() override;

  // On the server's thread.
  ListenResult Listen(const WebAddress& where);
  void Close();
  void TakeRace();

 signals:
  void ViewersChanged(int viewers);

 private:
  const Limits limits_;
  RaceMailbox& mailbox_;
  std::atomic<int>& viewers_;
  platform::PosixDirectoryLister lister_;
  const std::string folder_;
  RecordApi records_;
  // The meeting store, read through a connection of this thread's own.
  std::unique_ptr<meeting::MeetingStore> store_;
  std::unique_ptr<MeetingApi> meetings_;
  ResultsSite* site_ = nullptr;
  LiveRace current_;
  bool shown_ = false;  // current_ has been put on the page
  QByteArray last_;     // the latest classification in the records
  bool lastRead_ = false;
  bool wasRunning_ = false;
  std::shared_ptr<const meeting::Board> board_;
  QByteArray boardJson_;  // board_ in the language of current_
  bool boardSpanish_ = true;
};

}  // namespace web

#pragma once
// The live results page on the club's network. The server runs on a thread
// of its own with its own event loop; the race's thread only hands it the
// current race (Publish), which costs a copy and never waits on a client.

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <string>

#include "web/limits.h"
#include "web/live_race.h"
#include "web/web_address.h"

class QThread;

namespace meeting {
struct Board;
}

namespace web {

class SiteWorker;
struct RaceMailbox;

class WebServer final : public QObject {
  Q_OBJECT
 public:
  // recordFolder: the program's record folder, read for GET /api/days and
  // /api/races and for the last classification between races.
  explicit WebServer(std::string recordFolder, const Limits& limits = {}, QObject* parent = nullptr);
  ~WebServer() override;
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  // Starts listening (port 0: any free port). False when it could not, the
  // port being taken or the address not this machine's: message() says why.
  bool Start(const WebAddress& where);
  void Stop();
  bool listening() const noexcept { return listening_; }
  // Where it listens, with the port actually taken.
  const WebAddress& address() const noexcept { return address_; }
  // Why the last start failed, in Spanish and in English, a carriage return
  // between them (as the program's other two-language messages); empty
  // after a start that worked.
  QString message() const;
  // One line for the settings panel: off, listening at its address, or the failure.
  QString StateText(bool spanish) const;
  // Viewers connected to the page right now.
  int viewers() const noexcept { return viewers_; }

  // The current race. Cheap and never blocks: the newest race waits for
  // the server's thread, which sends it on when it gets to it.
  void Publish(LiveRace race);
  // The meeting's board for the page between heats; null for none. Kept
  // across a restart of the server. Cheap and never blocks, as Publish.
  void PublishBoard(std::shared_ptr<const meeting::Board> board);

 signals:
  void StateChanged();
  void ViewersChanged(int viewers);

 private:
  void StopThread();

  const std::string folder_;
  const Limits limits_;
  std::unique_ptr<RaceMailbox> mailbox_;
  std::atomic<int> viewers_{0};
  QThread* thread_ = nullptr;
  SiteWorker* worker_ = nullptr;
  bool listening_ = false;
  WebAddress address_;
  QString failureEs_, failureEn_;
};

}  // namespace web

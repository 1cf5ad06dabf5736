#include "web/site_worker.h"

#include <utility>

#include "platform/sqlite_store.h"
#include "records/naming.h"
#include "web/bounded_tcp_server.h"
#include "web/results_site.h"

namespace web {

SiteWorker::SiteWorker(std::string recordFolder, const Limits& limits, RaceMailbox& mailbox, std::atomic<int>& viewers)
    : limits_(limits),
      mailbox_(mailbox),
      viewers_(viewers),
      folder_(std::move(recordFolder)),
      records_(folder_, lister_) {}

SiteWorker::~SiteWorker() { Close(); }

ListenResult SiteWorker::Listen(const WebAddress& where) {
  Close();
  // Opened here, on the server's thread, for reading only: a database that
  // is not there yet is looked for again at each request.
  store_ = std::make_unique<platform::SqliteStore>(records::JoinPath(folder_, platform::kStoreFileName), 100,
                                                   platform::SqliteStore::Access::ReadOnly);
  meetings_ = std::make_unique<MeetingApi>(*store_);
  auto site = std::make_unique<ResultsSite>(records_, limits_, meetings_.get(), this);
  auto* tcp = new BoundedTcpServer(limits_);
  tcp->SetHttpServer(site.get());
  ListenResult result;
  if (!tcp->listen(where.address, where.port)) {
    const QString at = WebAddressText(where);
    if (tcp->serverError() == QAbstractSocket::AddressInUseError) {
      result.es = QStringLiteral("El puerto %1 ya está en uso: la página de resultados no se abre (%2).")
                      .arg(where.port)
                      .arg(at);
      result.en =
          QStringLiteral("Port %1 is already in use: the results page is not served (%2).").arg(where.port).arg(at);
    } else {
      result.es = QStringLiteral("La página de resultados no se abre en %1: %2.").arg(at, tcp->errorString());
      result.en = QStringLiteral("The results page cannot be served on %1: %2.").arg(at, tcp->errorString());
    }
    delete tcp;
    return result;
  }
  site->bind(tcp);
  connect(tcp, &BoundedTcpServer::NewViewer, site.get(), &ResultsSite::AddViewer);
  connect(&site->channel(), &LiveChannel::ViewersChanged, this, [this](int n) {
    viewers_ = n;
    emit ViewersChanged(n);
  });
  site_ = site.release();
  lastRead_ = false;
  wasRunning_ = false;
  shown_ = false;
  TakeRace();
  result.ok = true;
  result.port = tcp->serverPort();
  return result;
}

void SiteWorker::Close() {
  delete site_;
  site_ = nullptr;
  meetings_.reset();
  store_.reset();
  viewers_ = 0;
}

void SiteWorker::TakeRace() {
  if (site_ == nullptr) return;
  // Cleared before the take: a race handed over from now on posts again.
  mailbox_.posted = false;
  std::optional<LiveRace> race;
  std::shared_ptr<const meeting::Board> board;
  bool boardChanged = false;
  {
    const std::lock_guard hold(mailbox_.lock);
    race.swap(mailbox_.race);
    board = mailbox_.board;
    boardChanged = std::exchange(mailbox_.boardChanged, false);
  }
  // A post whose race and board an earlier take already had brings nothing new.
  if (!race && !boardChanged && shown_) return;
  if (race) current_ = std::move(*race);
  shown_ = true;
  if (board != board_ || boardSpanish_ != current_.spanish) {
    board_ = std::move(board);
    boardSpanish_ = current_.spanish;
    boardJson_ = board_ ? BoardJson(*board_, boardSpanish_) : QByteArray();
  }
  // The records are read when the page first shows an idle race and when
  // a race has just finished, its classification complete on disk.
  if (!current_.running && (!lastRead_ || wasRunning_)) {
    last_ = records_.LastClassification();
    lastRead_ = true;
  }
  wasRunning_ = current_.running;
  // Between heats the page shows the next heat and the standings; a race shows itself.
  site_->SetRace(current_.running ? LiveRaceJson(current_, {}) : LiveRaceJson(current_, last_, boardJson_));
}

}  // namespace web

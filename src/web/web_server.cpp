#include "web/web_server.h"

#include <QThread>

#include "web/site_worker.h"
#include "records/words.h"

namespace web {

WebServer::WebServer(std::string recordFolder, const Limits& limits, QObject* parent)
    : QObject(parent), folder_(std::move(recordFolder)), limits_(limits), mailbox_(std::make_unique<RaceMailbox>()) {}

WebServer::~WebServer() { StopThread(); }

bool WebServer::Start(const WebAddress& where) {
  StopThread();
  thread_ = new QThread(this);
  thread_->setObjectName(QStringLiteral("WebServer"));
  worker_ = new SiteWorker(folder_, limits_, *mailbox_, viewers_);
  worker_->moveToThread(thread_);
  connect(worker_, &SiteWorker::ViewersChanged, this, &WebServer::ViewersChanged);
  thread_->start();
  // The sockets are made on the server's thread; the start waits for the
  // answer once, before any race is handed over.
  ListenResult result;
  QMetaObject::invokeMethod(
      worker_, [this, where, &result] { result = worker_->Listen(where); }, Qt::BlockingQueuedConnection);
  address_ = where;
  failureEs_ = result.es;
  failureEn_ = result.en;
  listening_ = result.ok;
  if (result.ok) {
    address_.port = result.port;
  } else {
    StopThread();
  }
  emit StateChanged();
  return listening_;
}

void WebServer::Stop() {
  const bool was = listening_;
  StopThread();
  failureEs_.clear();
  failureEn_.clear();
  if (was) emit StateChanged();
}

void WebServer::StopThread() {
  listening_ = false;
  if (thread_ == nullptr) return;
  // Every socket is closed on its own thread, then the thread ends.
  QMetaObject::invokeMethod(
      worker_, [this] { worker_->Close(); }, Qt::BlockingQueuedConnection);
  thread_->quit();
  thread_->wait();
  delete worker_;
  worker_ = nullptr;
  delete thread_;
  thread_ = nullptr;
  viewers_ = 0;
}

QString WebServer::message() const {
  if (failureEs_.isEmpty()) return {};
  return failureEs_ + u'\r' + failureEn_;
}

namespace {

constexpr records::Words kPageAt{"Página de resultados en %1", "Results page at %1"};
constexpr records::Words kPageOff{"Página de resultados apagada.", "Results page off."};

QString Tr(const records::Words& words, bool spanish) { return QString::fromUtf8(words.Pick(spanish)); }

}  // namespace

QString WebServer::StateText(bool spanish) const {
  if (listening_) return Tr(kPageAt, spanish).arg(PageUrl(address_));
  if (failureEs_.isEmpty()) return Tr(kPageOff, spanish);
  return spanish ? failureEs_ : failureEn_;
}

void WebServer::Publish(LiveRace race) {
  {
    const std::lock_guard hold(mailbox_->lock);
    mailbox_->race = std::move(race);
  }
  if (worker_ == nullptr || mailbox_->posted.exchange(true)) return;
  QMetaObject::invokeMethod(worker_, &SiteWorker::TakeRace, Qt::QueuedConnection);
}

void WebServer::PublishBoard(std::shared_ptr<const meeting::Board> board) {
  {
    const std::lock_guard hold(mailbox_->lock);
    mailbox_->board = std::move(board);
    mailbox_->boardChanged = true;
  }
  if (worker_ == nullptr || mailbox_->posted.exchange(true)) return;
  QMetaObject::invokeMethod(worker_, &SiteWorker::TakeRace, Qt::QueuedConnection);
}

}  // namespace web

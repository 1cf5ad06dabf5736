#include "web/live_channel.h"

#include <QWebSocket>
#include <vector>

namespace web {

namespace {

// Viewers send nothing but control frames; anything bigger is refused.
constexpr quint64 kMaxIncomingBytes = 1024;

}  // namespace

LiveChannel::LiveChannel(const Limits& limits, QObject* parent) : QObject(parent), limits_(limits) {
  ping_.setInterval(limits_.pingIntervalMs);
  connect(&ping_, &QTimer::timeout, this, &LiveChannel::PingAll);
  ping_.start();
}

LiveChannel::~LiveChannel() {
  // The sockets go with the channel; their signals must not reach it half gone.
  for (QWebSocket* viewer : viewers_.keys()) viewer->disconnect(this);
}

void LiveChannel::Add(std::unique_ptr<QWebSocket> owned) {
  QWebSocket* viewer = owned.release();
  viewer->setParent(this);
  viewer->setMaxAllowedIncomingFrameSize(kMaxIncomingBytes);
  viewer->setMaxAllowedIncomingMessageSize(kMaxIncomingBytes);
  viewers_.insert(viewer, true);
  connect(viewer, &QWebSocket::disconnected, this, [this, viewer] { Drop(viewer); });
  connect(viewer, &QWebSocket::pong, this, [this, viewer] {
    if (auto it = viewers_.find(viewer); it != viewers_.end()) it.value() = true;
  });
  emit ViewersChanged(viewers());
  if (!current_.isEmpty()) Send(viewer);
}

void LiveChannel::Push(const QByteArray& json) {
  current_ = QString::fromUtf8(json);
  // Taken out first: a dropped viewer leaves the table while it is walked.
  const std::vector<QWebSocket*> all(viewers_.keyBegin(), viewers_.keyEnd());
  for (QWebSocket* viewer : all) Send(viewer);
}

void LiveChannel::Send(QWebSocket* viewer) {
  if (viewer->bytesToWrite() > limits_.maxUnsentBytes) {
    Drop(viewer);
    return;
  }
  viewer->sendTextMessage(current_);
}

void LiveChannel::Drop(QWebSocket* viewer) {
  if (viewers_.remove(viewer) == 0) return;
  viewer->disconnect(this);
  viewer->abort();
  viewer->deleteLater();
  emit ViewersChanged(viewers());
}

void LiveChannel::PingAll() {
  const std::vector<QWebSocket*> all(viewers_.keyBegin(), viewers_.keyEnd());
  for (QWebSocket* viewer : all) {
    if (!viewers_.value(viewer)) {
      Drop(viewer);
      continue;
    }
    viewers_[viewer] = false;
    viewer->ping();
  }
}

}  // namespace web

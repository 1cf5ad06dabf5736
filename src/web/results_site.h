#pragma once
// The results page's HTTP server: the page's own embedded files, the JSON
// interface and the viewers' push channel. Read-only: GET and HEAD only
// (405 for any other method) and any path but the few it serves gets 404.
// Qt's server parses; the listening socket (BoundedTcpServer) and a guard on
// each connection bound and check what it is handed, refuse bodies, and hand
// viewers to the WebSocket server.

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QHash>

#include "web/limits.h"
#include "web/live_channel.h"
#include "web/meeting_api.h"
#include "web/record_api.h"

class QWebSocket;

namespace web {

class ResultsSite final : public QAbstractHttpServer {
  Q_OBJECT
 public:
  // meetings: the club meetings' interface; none, and its paths are 404.
  ResultsSite(const RecordApi& records, const Limits& limits, const MeetingApi* meetings = nullptr,
              QObject* parent = nullptr);

  // The current race, as GET /api/race answers and the viewers are pushed.
  void SetRace(const QByteArray& json);
  // A viewer whose WebSocket is up: it gets the race now and every change.
  void AddViewer(QWebSocket* viewer);
  const LiveChannel& channel() const noexcept { return channel_; }
  LiveChannel& channel() noexcept { return channel_; }

 protected:
  bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
  void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

 private:
  struct Answer {
    int status = 404;
    QByteArray type;
    QByteArray body;
  };
  Answer Route(const QByteArray& path, const QUrl& url) const;

  const RecordApi& records_;
  const MeetingApi* meetings_;
  LiveChannel channel_;
  QByteArray race_;
  struct PageFile {
    QByteArray type;
    QByteArray body;
  };
  QHash<QByteArray, PageFile> files_;  // by path: "/", "/live.js"
};

}  // namespace web

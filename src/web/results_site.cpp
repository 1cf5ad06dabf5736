#include "web/results_site.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpSocket>
#include <QUrlQuery>
#include <QWebSocket>

#include "web/connection_guard.h"

namespace web {

namespace {

using Status = QHttpServerResponder::StatusCode;

constexpr const char* kLivePath = "/live";
constexpr const char* kJson = "application/json";

QByteArray Resource(const QString& name) {
  QFile file(QStringLiteral(":/web/") + name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool HasBody(const QHttpServerRequest& request) {
  const QByteArray length = request.value("content-length").trimmed();
  return !request.body().isEmpty() || (!length.isEmpty() && length != "0") ||
         !request.value("transfer-encoding").isEmpty();
}

bool IsUpgrade(const QHttpServerRequest& request) {
  return request.value("connection").toLower().contains("upgrade") &&
         request.value("upgrade").compare("websocket", Qt::CaseInsensitive) == 0;
}

// The part of the path after a prefix; the record interface checks it is a record name.
std::string NameAfter(const QByteArray& path, const QByteArray& prefix) {
  if (!path.startsWith(prefix)) return {};
  return path.mid(prefix.size()).toStdString();
}

}  // namespace

ResultsSite::ResultsSite(const RecordApi& records, const Limits& limits, const MeetingApi* meetings, QObject* parent)
    : QAbstractHttpServer(parent), records_(records), meetings_(meetings), channel_(limits, this) {
  const PageFile page{"text/html; charset=utf-8", Resource(QStringLiteral("index.html"))};
  files_.insert("/", page);
  files_.insert("/index.html", page);
  files_.insert("/live.js", {"text/javascript; charset=utf-8", Resource(QStringLiteral("live.js"))});
  files_.insert("/live.css", {"text/css; charset=utf-8", Resource(QStringLiteral("live.css"))});
  files_.insert("/icon.svg", {"image/svg+xml", Resource(QStringLiteral("icon.svg"))});
}

void ResultsSite::SetRace(const QByteArray& json) {
  if (json == race_) return;
  race_ = json;
  channel_.Push(race_);
}

void ResultsSite::AddViewer(QWebSocket* viewer) { channel_.Add(std::unique_ptr<QWebSocket>(viewer)); }

ResultsSite::Answer ResultsSite::Route(const QByteArray& path, const QUrl& url) const {
  if (const auto file = files_.constFind(path); file != files_.constEnd()) return {200, file->type, file->body};
  if (path == "/api/race") return {200, kJson, race_};
  if (path == "/api/days") return {200, kJson, records_.Days()};
  if (const std::string day = NameAfter(path, "/api/days/"); !day.empty()) {
    if (auto json = records_.Day(day)) return {200, kJson, *json};
  }
  if (const std::string race = NameAfter(path, "/api/races/"); !race.empty()) {
    if (auto json = records_.Race(race)) return {200, kJson, *json};
  }
  if (meetings_ != nullptr) {
    const auto json = [](const JsonAnswer& a) { return Answer{a.status, kJson, a.body}; };
    if (path == "/api/drivers") return json(meetings_->Drivers());
    if (path == "/api/meetings") return json(meetings_->Meetings());
    if (const std::string id = NameAfter(path, "/api/meetings/"); !id.empty()) return json(meetings_->Meeting(id));
    if (const std::string rest = NameAfter(path, "/api/season/"); !rest.empty()) {
      const QByteArray best = QUrlQuery(url).queryItemValue(QStringLiteral("best"), QUrl::FullyEncoded).toLatin1();
      return json(meetings_->Season(rest, best.toStdString()));
    }
  }
  // The push channel answers only an upgrade to a WebSocket.
  if (path == kLivePath) return {426, "text/plain; charset=utf-8", "426 Upgrade Required\n"};
  return {404, "text/plain; charset=utf-8", "404 Not Found\n"};
}

bool ResultsSite::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
  // Upgrades never get here: the connection's guard hands them to the viewers' server.
  if (IsUpgrade(request)) return false;
  ConnectionGuard* guard = ConnectionGuard::Of(socket);
  const auto method = request.method();
  const bool head = method == QHttpServerRequest::Method::Head;
  Answer answer;
  if (!head && method != QHttpServerRequest::Method::Get) {
    answer = {405, "text/plain; charset=utf-8", "405 Method Not Allowed\n"};
  } else if (HasBody(request)) {
    answer = {413, "text/plain; charset=utf-8", "413 Payload Too Large\n"};
  } else {
    // The path as it was sent, percent signs and all: "%2e%2e" never
    // becomes a name, and only exact names are served.
    answer = Route(request.url().path(QUrl::FullyEncoded).toLatin1(), request.url());
  }
  {
    QHttpServerResponder responder = makeResponder(request, socket);
    responder.writeStatusLine(static_cast<Status>(answer.status));
    responder.writeHeader("Content-Type", answer.type);
    responder.writeHeader("Content-Length", QByteArray::number(answer.body.size()));
    responder.writeHeader("Cache-Control", "no-store");
    responder.writeHeader("X-Content-Type-Options", "nosniff");
    responder.writeHeader("Referrer-Policy", "no-referrer");
    if (answer.status == 405) responder.writeHeader("Allow", "GET, HEAD");
    if (guard != nullptr && guard->ClosesAfterAnswer()) responder.writeHeader("Connection", "close");
    if (answer.type == kJson) {
      // Club websites and overlays read the interface from pages of their own.
      responder.writeHeader("Access-Control-Allow-Origin", "*");
    } else {
      responder.writeHeader("Content-Security-Policy",
                            "default-src 'self'; connect-src 'self'; frame-ancestors 'none'; form-action 'none'");
    }
    responder.writeBody(head ? QByteArray() : answer.body);
  }
  if (guard != nullptr) guard->Answered();
  return true;
}

void ResultsSite::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
  // Not reached: the connection's guard answers every upgrade itself.
  QHttpServerResponder responder = makeResponder(request, socket);
  responder.write(QByteArrayLiteral("404 Not Found\n"), QByteArrayLiteral("text/plain; charset=utf-8"),
                  Status::NotFound);
}

}  // namespace web

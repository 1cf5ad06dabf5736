#include "web/request_head.h"

#include <algorithm>

namespace web {

namespace {

// Blank bytes a client may leave before a request line (Qt's server skips the same).
bool IsLeadingBlank(char c) { return c == '\r' || c == '\n' || c == ' ' || c == '\t' || c == '\v'; }

// RFC 9110's token characters: what a method and a field name are made of.
bool IsTokenChar(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool IsToken(QByteArrayView text) { return !text.isEmpty() && std::all_of(text.begin(), text.end(), IsTokenChar); }

bool AllDigits(QByteArrayView text) {
  return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A request target: no spaces, no control characters.
bool IsTarget(QByteArrayView text) {
  return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u > 0x20 && u != 0x7f;
  });
}

// Whether a comma-separated field value holds `token`, in any letter case.
bool HasToken(const QByteArray& list, QByteArrayView token) {
  for (const QByteArray& item : list.split(',')) {
    if (item.trimmed().compare(token, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

RequestHead Refused(int status, qsizetype length) { return {RequestHead::Kind::Refuse, status, length, true}; }

// What the fields of one head said that matters here.
struct Fields {
  int lengths = 0, encodings = 0, hosts = 0;
  QByteArray length, connection, upgrade, expect;
  bool bad = false;
};

void TakeField(QByteArrayView line, Fields& f) {
  const qsizetype colon = line.indexOf(':');
  // A folded line (starting with a blank) and a blank before the colon are refused.
  if (colon <= 0 || !IsToken(line.first(colon))) {
    f.bad = true;
    return;
  }
  const QByteArray name = line.first(colon).toByteArray().toLower();
  const QByteArray value = line.sliced(colon + 1).toByteArray().trimmed();
  if (name == "content-length") {
    ++f.lengths;
    f.length = value;
  } else if (name == "transfer-encoding") {
    ++f.encodings;
  } else if (name == "host") {
    ++f.hosts;
  } else if (name == "connection") {
    f.connection += ',' + value;
  } else if (name == "upgrade") {
    f.upgrade = value;
  } else if (name == "expect") {
    f.expect = value;
  }
}

// METHOD SP TARGET SP HTTP/1.x, one space apart: 0 when it is one.
int RequestLineStatus(QByteArrayView line) {
  const qsizetype space1 = line.indexOf(' ');
  const qsizetype space2 = space1 < 0 ? -1 : line.indexOf(' ', space1 + 1);
  if (space2 < 0 || line.indexOf(' ', space2 + 1) >= 0) return 400;
  const QByteArrayView version = line.sliced(space2 + 1);
  if (!IsToken(line.first(space1)) || !IsTarget(line.sliced(space1 + 1, space2 - space1 - 1))) return 400;
  const bool digits = version.size() == 8 && version.startsWith("HTTP/") && version[6] == '.' &&
                      AllDigits(version.sliced(5, 1)) && AllDigits(version.sliced(7, 1));
  if (!digits) return 400;
  return version[5] == '1' ? 0 : 505;
}

}  // namespace

RequestHead ReadRequestHead(QByteArrayView bytes, qsizetype maxBytes) {
  qsizetype start = 0;
  while (start < bytes.size() && IsLeadingBlank(bytes[start])) ++start;
  // Lines up to the first empty one; each without its CR LF (or lone LF).
  qsizetype at = start;
  QByteArrayView requestLine;
  Fields fields;
  for (bool first = true;; first = false) {
    const qsizetype lf = bytes.indexOf('\n', at);
    if (lf < 0 || lf + 1 - start > maxBytes) {
      if (bytes.size() - start > maxBytes) return Refused(431, bytes.size());
      return {};
    }
    QByteArrayView line = bytes.sliced(at, lf - at);
    if (line.endsWith('\r')) line.chop(1);
    at = lf + 1;
    if (first) {
      // A bad request line is answered at once, without waiting for the fields.
      if (const int status = RequestLineStatus(line)) return Refused(status, at);
      requestLine = line;
      continue;
    }
    if (line.isEmpty()) break;
    TakeField(line, fields);
  }
  const qsizetype length = at;

  const QByteArrayView method = requestLine.first(requestLine.indexOf(' '));
  const QByteArrayView target = requestLine.sliced(method.size() + 1, requestLine.lastIndexOf(' ') - method.size() - 1);
  const bool http10 = requestLine.endsWith('0');

  // Two ways to read a body's length are refused, and so is one that is no number.
  if (fields.bad || fields.lengths > 1 || fields.encodings > 1 || (fields.lengths && fields.encodings) ||
      (fields.lengths && !AllDigits(fields.length)) || fields.hosts > 1 || (!http10 && fields.hosts == 0)) {
    return Refused(400, length);
  }
  if (!fields.expect.isEmpty() && fields.expect.compare("100-continue", Qt::CaseInsensitive) != 0) {
    return Refused(417, length);
  }
  const bool getOrHead = method == "GET" || method == "HEAD";
  // No request may carry a body: refused at once, so a client that waits
  // for "100 Continue" before it sends one is answered without waiting.
  const bool body = fields.encodings > 0 || (fields.lengths && fields.length.count('0') != fields.length.size());
  if (body) return Refused(getOrHead ? 413 : 405, length);
  if (HasToken(fields.connection, "upgrade") && fields.upgrade.compare("websocket", Qt::CaseInsensitive) == 0) {
    if (method == "GET" && target == "/live") return {RequestHead::Kind::Upgrade, 0, length, false};
    return Refused(404, length);
  }
  return {RequestHead::Kind::Answer, 0, length, http10 || HasToken(fields.connection, "close")};
}

}  // namespace web

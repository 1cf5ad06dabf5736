#pragma once
// The bounds the results page's server keeps, whatever a client sends.

#include <QtGlobal>

namespace web {

struct Limits {
  // Request line and headers together; beyond: 431 (413 once a body began).
  qint64 maxRequestBytes = 16 * 1024;
  // Open connections, page viewers included; more get 503.
  int maxConnections = 256;
  // A request must arrive whole within this time of the connection opening
  // or of the previous answer; an idle connection is closed after it.
  int requestTimeoutMs = 10000;
  // Pushes a viewer has not taken yet; a viewer further behind is dropped.
  qint64 maxUnsentBytes = 256 * 1024;
  // Viewers are pinged this often; one that did not answer the last ping is dropped.
  int pingIntervalMs = 15000;
};

}  // namespace web

#pragma once
// The head of one HTTP/1.1 request (request line and header fields), read
// strictly before Qt's server parses it: whatever two parsers could read in
// two ways (two lengths, a length and chunks, a folded line, a space before
// a colon, an unknown version) is refused, so nothing in front of the
// program can be led to see other requests than the program does.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace web {

struct RequestHead {
  enum class Kind {
    Incomplete,  // the head has not ended yet
    Answer,      // a request for Qt's server to answer
    Refuse,      // answered with `status` and the connection closed
    Upgrade,     // a viewer asking for the push channel (GET /live)
  };
  Kind kind = Kind::Incomplete;
  int status = 0;         // for Refuse: 400, 404, 405, 413, 417, 431, 505
  qsizetype length = 0;   // bytes of the head, blank lines before it included
  bool close = false;     // the client wants the connection closed after the answer
};

// Reads the request at the start of `bytes`; a head longer than `maxBytes`
// (or one that has not ended within them) is refused with 431.
RequestHead ReadRequestHead(QByteArrayView bytes, qsizetype maxBytes);

}  // namespace web

// libFuzzer target: the head of an HTTP request as a phone, a browser or
// anyone on the club's network may send it. Whatever the bytes, reading
// them ends in a verdict that stays within them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "web/request_head.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr qsizetype kMax = 16 * 1024;
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const web::RequestHead head = web::ReadRequestHead(bytes, kMax);
  using Kind = web::RequestHead::Kind;
  // A request to answer or a viewer to take on is whole within what came.
  if ((head.kind == Kind::Answer || head.kind == Kind::Upgrade) && (head.length <= 0 || head.length > bytes.size())) {
    std::abort();
  }
  if (head.kind == Kind::Refuse) {
    switch (head.status) {
      case 400: case 404: case 405: case 413: case 417: case 431: case 505: break;
      default: std::abort();
    }
    if (!head.close) std::abort();
  }
  // More bytes than the bound never wait for more.
  if (head.kind == Kind::Incomplete && bytes.size() > kMax) std::abort();
  return 0;
}

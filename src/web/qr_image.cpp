#include "web/qr_image.h"

#include <qrencode.h>

#include <memory>

namespace web {

namespace {

// The four-module white border the symbol must have to be read.
constexpr int kQuietZone = 4;

struct QrFree {
  void operator()(QRcode* code) const noexcept { QRcode_free(code); }
};

}  // namespace

QImage QrImage(const QString& text, int scale) {
  const QByteArray utf8 = text.toUtf8();
  const std::unique_ptr<QRcode, QrFree> code(QRcode_encodeString(utf8.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1));
  if (!code || scale < 1) return {};
  const int modules = code->width + 2 * kQuietZone;
  QImage image(modules * scale, modules * scale, QImage::Format_Grayscale8);
  image.fill(Qt::white);
  for (int y = 0; y < code->width; ++y) {
    for (int x = 0; x < code->width; ++x) {
      // Bit 0 of each byte: the module is dark.
      if ((code->data[y * code->width + x] & 1) == 0) continue;
      for (int dy = 0; dy < scale; ++dy) {
        uchar* line = image.scanLine((y + kQuietZone) * scale + dy);
        std::fill_n(line + (x + kQuietZone) * scale, scale, uchar{0});
      }
    }
  }
  return image;
}

}  // namespace web

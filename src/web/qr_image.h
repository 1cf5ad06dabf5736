#pragma once
// A QR code of a short text (the page's address) drawn as an image: black
// modules on white with the quiet zone around them, for a phone's camera.

#include <QImage>
#include <QString>

namespace web {

// Each module `scale` pixels square; a null image when the text cannot be encoded.
QImage QrImage(const QString& text, int scale);

}  // namespace web

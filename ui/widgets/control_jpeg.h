// JPEG decoding with libjpeg, independent of Qt's image plug-ins.
#pragma once

#include <QByteArray>
#include <QImage>

// Decodes a baseline or progressive JPEG into an RGB image; a null image when
// the data is not a JPEG the library can read.
QImage DecodeJpeg(const QByteArray& data);

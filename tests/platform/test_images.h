#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>

namespace vinylo::platform::test {

// A small picture in one of the formats Qt writes (PNG, JPEG, BMP).
inline QByteArray EncodedImage(const char* format, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Qt reads GIF but does not write it: a 1x1 GIF89a, byte by byte.
inline QByteArray TinyGif() {
    static const unsigned char kGif[] = {'G',  'I',  'F',  '8',  '9',  'a',  0x01, 0x00, 0x01,
                                         0x00, 0x80, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00,
                                         0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01,
                                         0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
    return QByteArray(reinterpret_cast<const char*>(kGif), sizeof kGif);
}

}  // namespace vinylo::platform::test

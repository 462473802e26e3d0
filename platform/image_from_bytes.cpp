#include "platform/image_from_bytes.h"

#include <QBuffer>
#include <QImageReader>

namespace vinylo::platform {
namespace {

bool IsAllowedFormat(const QByteArray& format) {
    return format == "png" || format == "jpeg" || format == "gif" || format == "bmp";
}

}  // namespace

DecodedImage ImageFromBytes(const QByteArray& bytes) {
    if (bytes.size() < 5)
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // Only the four picture formats of the chat: the other decoders Qt may
    // have (SVG, XPM, ...) are not exposed to bytes from the network.
    if (!IsAllowedFormat(reader.format()))
        return {};
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return {};
    const auto pixels = static_cast<unsigned long long>(size.width()) *
                        static_cast<unsigned long long>(size.height());
    if (pixels * 4 > kMaxDecodedImageBytes)
        return {};
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return {};
    return DecodedImage(std::move(image));
}

}  // namespace vinylo::platform

#pragma once

#include <QByteArray>
#include <cstddef>

#include "platform/decoded_image.h"

namespace vinylo::platform {

// The decoded pixels of one picture may take at most this much memory: a
// 12-megapixel photo fits, a crafted header that claims a gigapixel does not.
inline constexpr size_t kMaxDecodedImageBytes = 64u << 20;

// Decodes a BMP, GIF (first frame), JPEG or PNG picture. Fewer than 5 bytes,
// another format, a picture larger than the limit above, or bytes that do not
// decode give an empty image. Safe on any thread.
DecodedImage ImageFromBytes(const QByteArray& bytes);

}  // namespace vinylo::platform

#pragma once

#include <QImage>

namespace vinylo::platform {

// A decoded raster image (BMP, GIF, JPEG or PNG), possibly empty (meaning
// none). It never changes after decoding and copies share the pixels, so one
// download can be shown in many places for the cost of one.
class DecodedImage {
public:
    DecodedImage() = default;
    explicit DecodedImage(QImage image) : image_(std::move(image)) {}

    bool isEmpty() const { return image_.isNull(); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    const QImage& image() const { return image_; }

private:
    QImage image_;
};

}  // namespace vinylo::platform

#include "platform/image_from_bytes.h"

#include <gtest/gtest.h>

#include <QtEndian>
#include <thread>
#include <vector>

#include "tests/platform/test_images.h"

namespace vinylo::platform {
namespace {

TEST(ImageFromBytesTest, DecodesEachPictureFormat) {
    for (const char* format : {"PNG", "JPEG", "BMP"}) {
        const DecodedImage image = ImageFromBytes(test::EncodedImage(format, 7, 5));
        ASSERT_FALSE(image.isEmpty()) << format;
        EXPECT_EQ(image.width(), 7) << format;
        EXPECT_EQ(image.height(), 5) << format;
    }
    const DecodedImage gif = ImageFromBytes(test::TinyGif());
    ASSERT_FALSE(gif.isEmpty());
    EXPECT_EQ(gif.width(), 1);
    EXPECT_EQ(gif.height(), 1);
}

TEST(ImageFromBytesTest, ShortUndecodableAndOtherFormatsGiveAnEmptyImage) {
    const QByteArray png = test::EncodedImage("PNG", 4, 4);
    const QByteArray cases[] = {
        QByteArray(),
        png.left(4),                           // fewer than 5 bytes
        png.left(png.size() / 2),              // cut short
        QByteArray("<html>not found</html>"),  // an error page
        QByteArray(4096, '\xAB'),
        QByteArray("/* XPM */\nstatic char *x[] = {\"1 1 1 1\", \"a c #FF0000\", \"a\"};\n"),
        QByteArray("P1\n1 1\n1\n"),  // PBM: Qt reads it, the chat does not
    };
    for (const auto& bytes : cases) {
        EXPECT_TRUE(ImageFromBytes(bytes).isEmpty()) << bytes.left(20).toStdString();
    }
}

TEST(ImageFromBytesTest, PictureLargerThanTheMemoryLimitIsRefused) {
    // A BMP header that claims 20000 x 20000 pixels (1.6 GB decoded).
    QByteArray bmp = test::EncodedImage("BMP", 2, 2);
    qToLittleEndian<qint32>(20000, bmp.data() + 18);
    qToLittleEndian<qint32>(20000, bmp.data() + 22);
    EXPECT_TRUE(ImageFromBytes(bmp).isEmpty());
}

TEST(ImageFromBytesTest, DecodesOnManyThreadsAtOnce) {
    const QByteArray jpeg = test::EncodedImage("JPEG", 33, 21);
    const QByteArray gif = test::TinyGif();
    std::vector<int> widths(8, 0);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < widths.size(); ++i) {
        threads.emplace_back([&, i] {
            for (int round = 0; round < 20; ++round) {
                widths[i] = ImageFromBytes(i % 2 ? gif : jpeg).width();
            }
        });
    }
    for (auto& t : threads)
        t.join();
    for (size_t i = 0; i < widths.size(); ++i)
        EXPECT_EQ(widths[i], i % 2 ? 1 : 33);
}

}  // namespace
}  // namespace vinylo::platform

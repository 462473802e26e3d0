#include <gtest/gtest.h>

#include <QPainter>
#include <QScrollBar>

#include "client/chatview/bubble_skin.h"
#include "client/chatview/default_avatar.h"
#include "tests/chatview/chat_view_fixture.h"

namespace vinylo::client::testing {
namespace {

using platform::DecodedImage;

const QRgb kWhite = qRgb(0xFF, 0xFF, 0xFF);
const QRgb kOutline = qRgb(0xED, 0xED, 0xED);
const QRgb kGreen = qRgb(0x9E, 0xEA, 0x6A);
const QRgb kNoticeGrey = qRgb(0xC1, 0xC1, 0xC1);
const QRgb kAvatarGrey = qRgb(0xB2, 0xB2, 0xB2);

DecodedImage Solid(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    return DecodedImage(image);
}

class ChatRenderTest : public ChatViewFixture {
protected:
    // Item `index`'s pixel at `p` (item coordinates) in a fresh rendering.
    QRgb PixelOf(int index, QPoint p) {
        const QImage image = Render();
        return image.pixel(p + QPoint(0, list().itemTopInView(index))) | 0xFF000000u;
    }
    // How many pixels of item `index`'s column `x`, rows [top, bottom), are not white.
    int NonWhiteInColumn(const QImage& image, int index, int x, int top, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            const QRgb c = image.pixel(x, y + list().itemTopInView(index));
            if (qRed(c) < 250 || qGreen(c) < 250 || qBlue(c) < 250)
                ++count;
        }
        return count;
    }
};

TEST_F(ChatRenderTest, OthersBubbleIsWhiteWithALightOutlineAndTailOnTheLeft) {
    view_.SetShowNames(false);
    const int i = view_.AddText(QStringLiteral(u"小明"), Solid(40, 40, Qt::red), QString(), false);
    const QRect b = item(i).bubbleRect;
    const QImage image = Render();
    const int top = list().itemTopInView(i);
    EXPECT_EQ(image.pixel(b.center() + QPoint(0, top)), kWhite);
    EXPECT_EQ(image.pixel(b.left(), b.top() + 20 + top), kWhite);  // the tail covers the edge here
    EXPECT_EQ(image.pixel(b.left(), b.top() + 6 + top), kOutline);
    EXPECT_EQ(image.pixel(b.left() + 30, b.top() + top), kOutline);
    EXPECT_EQ(image.pixel(b.right(), b.top() + 30 + top), kOutline);
    EXPECT_GT(NonWhiteInColumn(image, i, b.left() - 4, b.top(), b.top() + 40), 0);
    EXPECT_EQ(NonWhiteInColumn(image, i, b.left() + b.width() + 3, b.top(), b.top() + 40), 0);
    // The avatar it was given, not the default one.
    EXPECT_EQ(image.pixel(item(i).avatarRect.center() + QPoint(0, top)), qRgb(0xFF, 0, 0));
}

TEST_F(ChatRenderTest, OwnBubbleIsGreenWithTheTailPointingAtTheAvatar) {
    view_.SetShowNames(false);
    const int i = view_.AddText(QStringLiteral(u"我"), {}, QStringLiteral("."), true);
    const QRect b = item(i).bubbleRect;
    const QImage image = Render();
    const int top = list().itemTopInView(i);
    EXPECT_EQ(image.pixel(b.left() + 3, b.top() + 20 + top), kGreen);
    EXPECT_EQ(image.pixel(b.left() + b.width() + 3, b.top() + 20 + top), kGreen);  // tail
    EXPECT_EQ(image.pixel(b.left() + b.width() + 6, b.top() + 6 + top), kWhite);
    EXPECT_EQ(NonWhiteInColumn(image, i, b.left() - 4, b.top(), b.top() + 40), 0);
    // Own pictures use the same green skin.
    const int picture = view_.AddPicture(QString(), {}, Solid(100, 100, Qt::blue), true);
    const QImage again = Render();
    const QRect pb = item(picture).bubbleRect;
    const int ptop = list().itemTopInView(picture);
    EXPECT_EQ(again.pixel(pb.left() + 1, pb.top() + 50 + ptop), kGreen);
    EXPECT_EQ(again.pixel(item(picture).contentRect.center() + QPoint(0, ptop)), qRgb(0, 0, 0xFF));
}

TEST_F(ChatRenderTest, NoticeIsAGreyPillWithWhiteText) {
    const QRect b = item(0).bubbleRect;
    const QImage image = Render();
    EXPECT_EQ(image.pixel(b.left() + 2, b.top() + 15), kNoticeGrey);
    EXPECT_EQ(image.pixel(b.left() + b.width() - 3, b.top() + 15), kNoticeGrey);
    EXPECT_EQ(image.pixel(b.left() - 2, b.top() + 15), kWhite);
    bool whiteText = false;
    const QRect c = item(0).contentRect;
    for (int x = c.left(); x < c.left() + c.width() && !whiteText; ++x) {
        for (int y = c.top(); y < c.top() + c.height(); ++y) {
            if (image.pixel(x, y) == kWhite) {
                whiteText = true;
                break;
            }
        }
    }
    EXPECT_TRUE(whiteText);
}

TEST_F(ChatRenderTest, MissingAvatarShowsTheDefaultOne) {
    const int i = view_.AddText(QStringLiteral(u"小明"), {}, QStringLiteral("hi"), false);
    const QImage image = Render();
    const QRect a = item(i).avatarRect;
    const QImage shown = image.copy(a.translated(0, list().itemTopInView(i)));
    EXPECT_EQ(shown.pixel(1, 1) | 0xFF000000u, kAvatarGrey);
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
              DefaultAvatar().convertToFormat(QImage::Format_RGB32));
    int whitish = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            whitish += qGray(shown.pixel(x, y)) > 0xF0;
    EXPECT_GT(whitish, 20);  // the head-and-shoulders outline
}

TEST_F(ChatRenderTest, NicknameIsGreyAndEmptyPictureDrawsAnEmptyBubble) {
    const int i = view_.AddPicture(QStringLiteral(u"小明小明"), {}, DecodedImage(), false);
    const QImage image = Render();
    const int top = list().itemTopInView(i);
    const QRect n = item(i).nameRect;
    int darkest = 255;
    for (int y = n.top(); y < n.top() + n.height(); ++y) {
        for (int x = n.left(); x < n.left() + n.width(); ++x) {
            const QRgb c = image.pixel(x, y + top);
            EXPECT_EQ(qRed(c), qBlue(c));  // grey, no colour
            darkest = std::min(darkest, qRed(c));
        }
    }
    EXPECT_GE(darkest, 0x70);
    EXPECT_LE(darkest, 0x90);
    EXPECT_EQ(image.pixel(item(i).bubbleRect.center() + QPoint(0, top)), kWhite);
}

TEST_F(ChatRenderTest, TextIsDrawnInsideItsContentRectOnly) {
    view_.SetShowNames(false);
    const int i = view_.AddText(QString(), {}, QStringLiteral("line\n").repeated(500), false);
    view_.ScrollToBottom();
    const QImage image = Render();
    const int top = list().itemTopInView(i);
    const QRect c = item(i).contentRect;
    const QRect b = item(i).bubbleRect;
    // Below the clipped text the bubble is blank down to its margin.
    for (int y = c.top() + c.height(); y < b.top() + b.height() - 2; ++y) {
        const int row = y + top;
        if (row < 0 || row >= image.height())
            continue;
        for (int x = b.left() + 2; x < b.left() + b.width() - 2; ++x) {
            ASSERT_EQ(image.pixel(x, row), kWhite) << x << "," << y;
        }
    }
    bool ink = false;
    for (int y = c.top() + c.height() - LineHeight(); y < c.top() + c.height(); ++y) {
        const int row = y + top;
        for (int x = c.left(); x < c.left() + 30 && row >= 0 && row < image.height(); ++x) {
            ink = ink || qGray(image.pixel(x, row)) < 128;
        }
    }
    EXPECT_TRUE(ink);
}

TEST_F(ChatRenderTest, NineSliceKeepsCornersAndStretchesTheMiddle) {
    const BubbleSkin& skin = BubbleSkin::ForStyle(0);
    EXPECT_EQ(skin.image().size(), QSize(80, 40));
    EXPECT_EQ(skin.bodySource(), QRect(10, 0, 60, 40));
    EXPECT_EQ(&BubbleSkin::ForStyle(7), &BubbleSkin::ForStyle(0));
    EXPECT_EQ(&BubbleSkin::ForStyle(-1), &BubbleSkin::ForStyle(0));
    // Two transparent columns between each tail and the body.
    for (int x : {8, 9, 70, 71})
        EXPECT_EQ(qAlpha(skin.image().pixel(x, 20)), 0) << x;
    EXPECT_EQ(qAlpha(skin.image().pixel(0, 19)), 255);
    EXPECT_EQ(qAlpha(skin.image().pixel(79, 20)), 255);
    EXPECT_EQ(qAlpha(skin.image().pixel(5, 5)), 0);

    QImage out(200, 100, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    skin.DrawBody(painter, QRect(0, 0, 200, 100));
    painter.end();
    const QImage body = skin.image().copy(skin.bodySource());
    for (QPoint p : {QPoint(0, 0), QPoint(3, 2), QPoint(9, 9)}) {
        EXPECT_EQ(out.pixel(p), body.pixel(p)) << p.x() << "," << p.y();  // top-left corner
    }
    EXPECT_EQ(out.pixel(199, 99), body.pixel(59, 39));  // bottom-right corner
    EXPECT_EQ(out.pixel(100, 0), body.pixel(30, 0));    // top edge stretched
    EXPECT_EQ(out.pixel(100, 50), body.pixel(30, 20));  // centre
    EXPECT_EQ(out.pixel(0, 50), body.pixel(0, 20));     // left edge
}

}  // namespace
}  // namespace vinylo::client::testing

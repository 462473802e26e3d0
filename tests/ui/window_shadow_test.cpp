#include <gtest/gtest.h>

#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include "ui/window_shadow.h"

namespace vinylo::ui {
namespace {

const QColor kClientColour(208, 208, 208);
const QColor kServerColour(128, 128, 128);

// The alphas across the ring at the middle of each side, outermost first.
struct Ring {
    std::vector<int> left, right, top, bottom;
};

Ring RingAlphas(const QImage& image, int width) {
    Ring ring;
    const int midX = image.width() / 2;
    const int midY = image.height() / 2;
    for (int i = 0; i <= width; ++i) {
        ring.left.push_back(qAlpha(image.pixel(i, midY)));
        ring.right.push_back(qAlpha(image.pixel(image.width() - 1 - i, midY)));
        ring.top.push_back(qAlpha(image.pixel(midX, i)));
        ring.bottom.push_back(qAlpha(image.pixel(midX, image.height() - 1 - i)));
    }
    return ring;
}

void ExpectRing(const QImage& image, int width, const std::vector<int>& expected) {
    const Ring ring = RingAlphas(image, width);
    for (const auto* side : {&ring.left, &ring.right, &ring.top, &ring.bottom}) {
        EXPECT_EQ(*side, expected);
    }
}

bool HasNoAlphaInside(const QImage& image, int width) {
    for (int y = width; y < image.height() - width; ++y)
        for (int x = width; x < image.width() - width; ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
    return true;
}

TEST(ShadowRingTest, ClientAndServerRingsHaveTheirAlphaSteps) {
    const QImage client = RenderShadowRing(QSize(304, 204), kClientColour, 2);
    ExpectRing(client, 2, {50, 100, 0});
    EXPECT_TRUE(HasNoAlphaInside(client, 2));
    const QColor line =
        QColor::fromRgba(client.convertToFormat(QImage::Format_ARGB32).pixel(0, 100));
    EXPECT_NEAR(line.red(), 208, 1);  // stored premultiplied
    EXPECT_NEAR(line.blue(), 208, 1);

    const QImage server = RenderShadowRing(QSize(310, 210), kServerColour, 5);
    ExpectRing(server, 5, {20, 40, 60, 80, 100, 0});
    EXPECT_TRUE(HasNoAlphaInside(server, 5));

    // From 9 pixels on the steps share 150 instead of 100.
    const QImage wide = RenderShadowRing(QSize(100, 100), kServerColour, 10);
    ExpectRing(wide, 10, {15, 30, 45, 60, 75, 90, 105, 120, 135, 150, 0});
}

TEST(ShadowRingTest, CornersAreRounded) {
    const QImage ring = RenderShadowRing(QSize(100, 80), kClientColour, 2);
    EXPECT_EQ(qAlpha(ring.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(ring.pixel(99, 79)), 0);
    EXPECT_GT(qAlpha(ring.pixel(1, 4)), 0);
}

class WindowShadowTest : public ::testing::Test {
protected:
    void SetUp() override {
        target_.setWindowFlags(Qt::FramelessWindowHint);
        target_.setGeometry(100, 120, 300, 200);
    }
    QWidget* Shadow() { return ShadowOf(&target_); }
    QImage RenderShadow() {
        QImage image(Shadow()->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        Shadow()->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
        return image;
    }

    QWidget target_;
};

TEST_F(WindowShadowTest, AttachedShadowIsAClickThroughNonActivatingWindow) {
    ASSERT_TRUE(SetWindowShadow(&target_, kClientColour, 2));
    QWidget* shadow = Shadow();
    ASSERT_NE(shadow, nullptr);
    EXPECT_TRUE(shadow->isWindow());
    EXPECT_TRUE(shadow->windowFlags() & Qt::WindowTransparentForInput);
    EXPECT_TRUE(shadow->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(shadow->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(shadow->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(shadow->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(shadow->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(shadow->focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(shadow->isVisible());  // the target is not shown yet
}

TEST_F(WindowShadowTest, FollowsTheTargetAndPaintsTheRing) {
    ASSERT_TRUE(SetWindowShadow(&target_, kClientColour, 2));
    target_.show();
    ASSERT_TRUE(Shadow()->isVisible());
    EXPECT_EQ(Shadow()->geometry(), target_.frameGeometry().adjusted(-2, -2, 2, 2));
    ExpectRing(RenderShadow(), 2, {50, 100, 0});

    target_.move(40, 60);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shadow()->geometry().topLeft() == QPoint(38, 58); }));
    target_.resize(250, 150);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shadow()->size() == QSize(254, 154); }));
    ExpectRing(RenderShadow(), 2, {50, 100, 0});

    target_.hide();
    EXPECT_FALSE(Shadow()->isVisible());
    target_.show();
    EXPECT_TRUE(Shadow()->isVisible());
    EXPECT_EQ(Shadow()->geometry(), target_.frameGeometry().adjusted(-2, -2, 2, 2));
}

TEST_F(WindowShadowTest, HiddenWhileMinimisedOrMaximised) {
    ASSERT_TRUE(SetWindowShadow(&target_, kServerColour));
    target_.show();
    ASSERT_TRUE(Shadow()->isVisible());
    target_.showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Shadow()->isVisible(); }));
    target_.showNormal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shadow()->isVisible(); }));
    target_.showMaximized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Shadow()->isVisible(); }));
    target_.showNormal();
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return Shadow()->isVisible() &&
               Shadow()->geometry() == target_.frameGeometry().adjusted(-5, -5, 5, 5);
    }));
}

TEST_F(WindowShadowTest, AttachingAgainKeepsOneShadowAndUpdatesIt) {
    ASSERT_TRUE(SetWindowShadow(&target_, kClientColour, 2));
    QWidget* first = Shadow();
    target_.show();
    ASSERT_TRUE(SetWindowShadow(&target_, kServerColour));  // no size: 5
    EXPECT_EQ(Shadow(), first);
    EXPECT_EQ(target_.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_EQ(Shadow()->geometry(), target_.frameGeometry().adjusted(-5, -5, 5, 5));
    ExpectRing(RenderShadow(), 5, {20, 40, 60, 80, 100, 0});
}

TEST_F(WindowShadowTest, SizeZeroOrLessDetaches) {
    ASSERT_TRUE(SetWindowShadow(&target_, kClientColour, 2));
    target_.show();
    EXPECT_FALSE(SetWindowShadow(&target_, kClientColour, 0));
    EXPECT_EQ(Shadow(), nullptr);
    target_.move(10, 10);  // no shadow left to follow
    EXPECT_FALSE(SetWindowShadow(&target_, kClientColour, -3));
    PlaceShadow(&target_);
    ASSERT_TRUE(SetWindowShadow(&target_, kClientColour, 2));
    EXPECT_TRUE(Shadow()->isVisible());
}

TEST_F(WindowShadowTest, OnlyWindowsGetAShadow) {
    EXPECT_FALSE(SetWindowShadow(nullptr, kClientColour, 2));
    QWidget child(&target_);
    EXPECT_FALSE(SetWindowShadow(&child, kClientColour, 2));
    EXPECT_EQ(ShadowOf(&child), nullptr);
    PlaceShadow(nullptr);
}

TEST_F(WindowShadowTest, ShadowGoesWithItsTarget) {
    QPointer<QWidget> shadow;
    {
        QWidget target(nullptr, Qt::FramelessWindowHint);
        target.resize(100, 100);
        ASSERT_TRUE(SetWindowShadow(&target, kClientColour, 2));
        shadow = ShadowOf(&target);
        target.show();
    }
    EXPECT_TRUE(shadow.isNull());
}

}  // namespace
}  // namespace vinylo::ui

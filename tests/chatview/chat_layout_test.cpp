#include <gtest/gtest.h>

#include <QFrame>
#include <QScrollBar>

#include "client/chatview/bubble_skin.h"
#include "client/chatview/chat_layout.h"
#include "tests/chatview/chat_view_fixture.h"

namespace vinylo::client::testing {
namespace {

using platform::DecodedImage;

int RightOf(const QRect& r) {
    return r.left() + r.width();
}
int BottomOf(const QRect& r) {
    return r.top() + r.height();
}

DecodedImage Picture(int w, int h, QColor colour = Qt::blue) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    return DecodedImage(image);
}

using ChatLayoutTest = ChatViewFixture;

TEST_F(ChatLayoutTest, MarginComesFromTheFontsLineHeight) {
    EXPECT_GT(LineHeight(), 10);
    EXPECT_EQ(LineHeight(), list().metrics().MeasureLine(QStringLiteral(u"中文")).height());
    EXPECT_EQ(P(), (40 - LineHeight()) / 2);
    EXPECT_EQ(W(), kWidth);  // no scroll bar while everything fits
}

TEST_F(ChatLayoutTest, WelcomeNoticeIsItemZeroCentredInAGreyPill) {
    ASSERT_EQ(list().count(), 1);
    const ChatItem& welcome = item(0);
    EXPECT_EQ(welcome.kind, ChatItemKind::Notice);
    EXPECT_EQ(welcome.content, QString::fromUtf16(PopChatView::kWelcomeNotice));
    const int textWidth = list().metrics().MeasureLine(welcome.content).width();
    EXPECT_EQ(welcome.bubbleRect.width(), std::max(textWidth + 10, 100));
    EXPECT_EQ(welcome.bubbleRect.top(), 5);
    EXPECT_EQ(welcome.bubbleRect.height(), 30);
    EXPECT_EQ(welcome.height, 40);
    EXPECT_EQ(welcome.bubbleRect.left(), (W() - welcome.bubbleRect.width()) / 2);
    EXPECT_EQ(welcome.contentRect, welcome.bubbleRect.adjusted(5, 0, -5, 0));
    EXPECT_TRUE(welcome.nameRect.isNull());
}

TEST_F(ChatLayoutTest, NoticesAreOneLineAtLeast100WideAndNeverWiderThanTheView) {
    const int shortOne = view_.AddNotice(QStringLiteral("ok"));
    const int longOne = view_.AddNotice(QString(200, QChar(u'长')));
    const int broken = view_.AddNotice(QStringLiteral(u"第一行\n第二行\r\n第三行"));
    EXPECT_EQ(item(shortOne).bubbleRect.width(), 100);
    EXPECT_EQ(item(longOne).bubbleRect.width(), W() - 2 * P() - 10);
    EXPECT_EQ(item(longOne).contentRect.width(), W() - 2 * P() - 20);
    for (int i : {shortOne, longOne, broken}) {
        EXPECT_EQ(item(i).height, 40) << i;  // line breaks are not honoured
    }
}

TEST_F(ChatLayoutTest, EmptyTextStillGetsTheSmallestBubble) {
    view_.SetShowNames(false);
    const int i = view_.AddText(QStringLiteral(u"小明"), {}, QString(), false);
    EXPECT_EQ(item(i).bubbleRect, QRect(57, 5, 60, 40));
    EXPECT_EQ(item(i).height, 50);
}

TEST_F(ChatLayoutTest, OneCharacterOwnMessageSitsTwelvePixelsLeftOfTheAvatar) {
    view_.SetShowNames(false);
    const int i = view_.AddText(QStringLiteral(u"我"), {}, QStringLiteral(u"好"), true);
    const ChatItem& own = item(i);
    EXPECT_EQ(own.avatarRect, QRect(W() - 45, 5, 40, 40));
    EXPECT_EQ(own.bubbleRect.width(), 60);
    EXPECT_EQ(own.bubbleRect.height(), 40);
    EXPECT_EQ(RightOf(own.bubbleRect), own.avatarRect.left() - 12);
    EXPECT_EQ(own.bubbleRect.top(), own.avatarRect.top());  // level with the avatar
    EXPECT_EQ(own.contentRect.topLeft(), own.bubbleRect.topLeft() + QPoint(P(), P()));
    EXPECT_EQ(own.style, static_cast<int>(BubbleSkin::Style::OwnText));
    EXPECT_EQ(own.height, 50);
}

TEST_F(ChatLayoutTest, OthersMessagesSitRightOfTheirAvatar) {
    const int i = view_.AddText(QStringLiteral(u"小明"), {}, QStringLiteral(u"你好"), false);
    const ChatItem& msg = item(i);
    EXPECT_EQ(msg.avatarRect, QRect(5, 5, 40, 40));
    EXPECT_EQ(msg.nameRect.left(), 57);
    EXPECT_EQ(msg.nameRect.top(), 5);
    EXPECT_EQ(msg.bubbleRect.left(), 57);
    EXPECT_EQ(msg.bubbleRect.top(), BottomOf(msg.nameRect));
    EXPECT_EQ(msg.height, BottomOf(msg.bubbleRect) + 5);
}

struct PictureCase {
    QSize picture;
    QSize shown;
};

TEST_F(ChatLayoutTest, PicturesShrinkToFitAndAreNeverEnlarged) {
    view_.SetShowNames(false);
    const std::vector<PictureCase> cases{
        {{1000, 10}, {10, 10}},  // 200 x 2 is raised to the 10 px minimum
        {{100, 100}, {100, 100}}, {{800, 600}, {200, 150}}, {{400, 100}, {200, 50}},
        {{300, 900}, {50, 150}},  {{10, 1000}, {10, 10}},   {{3, 4}, {10, 10}},
    };
    for (const auto& c : cases) {
        const int i = view_.AddPicture(QStringLiteral(u"小明"), {},
                                       Picture(c.picture.width(), c.picture.height()), false);
        EXPECT_EQ(item(i).contentRect.size(), c.shown)
            << c.picture.width() << "x" << c.picture.height();
        EXPECT_EQ(item(i).contentRect.topLeft(), item(i).bubbleRect.topLeft() + QPoint(3, 3));
        EXPECT_EQ(item(i).bubbleRect.width(), std::max(c.shown.width() + 6, 60));
        EXPECT_EQ(item(i).bubbleRect.height(), std::max(c.shown.height() + 6, 40));
    }
    const int big = view_.AddPicture(QString(), {}, Picture(800, 600), true);
    EXPECT_EQ(item(big).bubbleRect.size(), QSize(206, 156));
    EXPECT_EQ(item(big).style, static_cast<int>(BubbleSkin::Style::OwnPicture));
    const int empty = view_.AddPicture(QString(), {}, DecodedImage(), false);
    EXPECT_EQ(item(empty).bubbleRect.size(), QSize(60, 40));
}

TEST_F(ChatLayoutTest, FitPictureFollowsTheBoxItIsGiven) {
    EXPECT_EQ(ChatLayout::FitPicture({800, 600}, 100, 75), QSize(100, 75));
    EXPECT_EQ(ChatLayout::FitPicture({30000, 30000}, 200, 150), QSize(150, 150));
    EXPECT_EQ(ChatLayout::FitPicture({0, 0}, 200, 150), QSize(10, 10));
}

TEST_F(ChatLayoutTest, NicknameLineIsAtLeast100WideAndStaysInsideTheView) {
    const QString longName(120, QChar(u'名'));
    const int shortOther = view_.AddText(QStringLiteral("a"), {}, QStringLiteral("x"), false);
    const int shortOwn = view_.AddText(QStringLiteral("a"), {}, QStringLiteral("x"), true);
    const int longOther = view_.AddText(longName, {}, QStringLiteral("x"), false);
    const int longOwn = view_.AddText(longName, {}, QStringLiteral("x"), true);

    EXPECT_EQ(item(shortOther).nameRect, QRect(57, 5, 100, 20));
    EXPECT_EQ(item(shortOwn).nameRect, QRect(W() - 45 - 12 - 100, 5, 100, 20));
    for (int i : {longOther, longOwn}) {
        const QRect name = item(i).nameRect;
        EXPECT_EQ(name.width(), W() - 62) << i;
        EXPECT_GE(name.left(), 5) << i;
        EXPECT_LE(RightOf(name), W() - 5) << i;
        EXPECT_EQ(item(i).bubbleRect.top(), BottomOf(name)) << i;
    }
    EXPECT_EQ(item(longOther).nameRect.left(), 57);
    EXPECT_EQ(RightOf(item(longOwn).nameRect), W() - 57);
}

TEST_F(ChatLayoutTest, SwitchingNamesOffLiftsBubblesAndOnAgainRestoresThem) {
    const int text = view_.AddText(QStringLiteral(u"小明"), {}, QStringLiteral(u"你好"), false);
    const int picture = view_.AddPicture(QStringLiteral(u"小红"), {}, Picture(100, 100), true);
    const int noName = view_.AddText(QString(), {}, QStringLiteral(u"无名"), false);
    const int notice = view_.AddNotice(QStringLiteral(u"通知"));
    std::vector<int> heightsOn;
    for (int i = 0; i < list().count(); ++i)
        heightsOn.push_back(item(i).height);
    const QRect noticeBubble = item(notice).bubbleRect;

    view_.SetShowNames(false);
    for (int i : {text, picture}) {
        EXPECT_TRUE(item(i).nameRect.isNull()) << i;
        EXPECT_EQ(item(i).bubbleRect.top(), 5) << i;
        EXPECT_EQ(item(i).height, heightsOn[static_cast<std::size_t>(i)] - 20) << i;
    }
    EXPECT_EQ(item(noName).height, 50);
    EXPECT_EQ(item(noName).height, heightsOn[static_cast<std::size_t>(noName)]);
    // Notices look the same (centred in the view, which may have lost its scroll bar).
    EXPECT_EQ(item(notice).bubbleRect.size(), noticeBubble.size());
    EXPECT_EQ(item(notice).bubbleRect.top(), noticeBubble.top());
    EXPECT_EQ(item(notice).bubbleRect.left(), (W() - noticeBubble.width()) / 2);
    EXPECT_EQ(item(0).height, heightsOn[0]);
    int top = 0;
    for (int i = 0; i < list().count(); ++i) {
        EXPECT_EQ(list().itemTop(i), top) << i;
        top += item(i).height;
    }
    EXPECT_EQ(list().contentHeight(), top);

    // Items added while names are off have no nickname line either.
    const int later = view_.AddText(QStringLiteral(u"小明"), {}, QStringLiteral(u"又来了"), false);
    EXPECT_TRUE(item(later).nameRect.isNull());

    view_.SetShowNames(true);
    for (int i = 0; i < static_cast<int>(heightsOn.size()); ++i) {
        EXPECT_EQ(item(i).height, heightsOn[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_FALSE(item(later).nameRect.isNull());
}

TEST_F(ChatLayoutTest, LongTextWrapsWithinItsColumnAndIsClippedAt1000Pixels) {
    view_.SetShowNames(false);
    const int wrapWidth = W() - 110 - 2 * P();
    const int paragraph = view_.AddText(QString(), {}, QString(100, QChar(u'字')), false);
    EXPECT_LE(item(paragraph).contentRect.width(), wrapWidth);
    EXPECT_GT(item(paragraph).contentRect.width(), wrapWidth - 20);
    EXPECT_EQ(item(paragraph).contentRect.height() % LineHeight(), 0);
    EXPECT_GE(item(paragraph).contentRect.height(), 2 * LineHeight());

    // A word longer than the column breaks inside the word.
    const int word = view_.AddText(QString(), {}, QString(300, QLatin1Char('w')), false);
    EXPECT_LE(item(word).contentRect.width(), wrapWidth);
    EXPECT_GE(item(word).contentRect.height(), 2 * LineHeight());

    // Line breaks are honoured.
    const int lines = view_.AddText(QString(), {}, QStringLiteral("a\nb\r\nc"), false);
    EXPECT_EQ(item(lines).contentRect.height(), 3 * LineHeight());

    const int tall = view_.AddText(QString(), {}, QStringLiteral("line\n").repeated(500), false);
    EXPECT_EQ(item(tall).contentRect.height(), 1000);
    EXPECT_EQ(item(tall).bubbleRect.height(), 1000 + 2 * P());
    EXPECT_EQ(item(tall).height, 5 + 1000 + 2 * P() + 5);
}

TEST_F(ChatLayoutTest, CreateRefusesASecondViewAndAMissingParent) {
    EXPECT_FALSE(view_.Create(&host_, 0, 0, 100, 100, 0, true));
    PopChatView orphan;
    EXPECT_FALSE(orphan.Create(nullptr, 0, 0, 100, 100, 0, true));
    EXPECT_EQ(orphan.AddText(QStringLiteral("a"), {}, QStringLiteral("b"), false), -1);
    EXPECT_EQ(orphan.AddNotice(QStringLiteral("n")), -1);
    orphan.ScrollToBottom();

    QWidget other;
    PopChatView squeezed;
    ASSERT_TRUE(squeezed.Create(&other, 3, 4, -10, -20, 0, false));
    EXPECT_EQ(squeezed.frame()->geometry(), QRect(3, 4, 0, 0));
    EXPECT_EQ(squeezed.list()->count(), 1);
    EXPECT_EQ(squeezed.AddText(QStringLiteral("a"), {}, QStringLiteral("b"), true), 1);
}

TEST_F(ChatLayoutTest, ViewCanBeCreatedAgainAfterItsParentIsGone) {
    PopChatView view;
    {
        QWidget parent;
        ASSERT_TRUE(view.Create(&parent, 0, 0, 300, 200, 0, true));
        EXPECT_EQ(view.AddNotice(QStringLiteral("x")), 1);
    }
    EXPECT_EQ(view.list(), nullptr);
    EXPECT_EQ(view.AddNotice(QStringLiteral("y")), -1);
    QWidget parent;
    ASSERT_TRUE(view.Create(&parent, 0, 0, 300, 200, 0, true));
    EXPECT_EQ(view.list()->count(), 1);
}

TEST_F(ChatLayoutTest, ResizingLaysEveryItemOutForTheNewWidth) {
    const int own = view_.AddText(QStringLiteral(u"我"), {}, QString(60, QChar(u'字')), true);
    const int oldLines = item(own).contentRect.height();
    view_.frame()->resize(400, kHeight);
    EXPECT_EQ(W(), 400);
    EXPECT_EQ(item(own).layoutWidth, 400);
    EXPECT_EQ(item(own).avatarRect.left(), 400 - 45);
    EXPECT_GT(item(own).contentRect.height(), oldLines);
    EXPECT_EQ(item(0).bubbleRect.left(), (400 - item(0).bubbleRect.width()) / 2);
}

TEST_F(ChatLayoutTest, ScrollBarAppearsWhenItemsNoLongerFitAndTheWidthFollows) {
    EXPECT_FALSE(list().scrollBar()->isVisible());
    for (int i = 0; i < 20; ++i) {
        view_.AddText(QStringLiteral(u"小明"), {}, QStringLiteral(u"消息 %1").arg(i), i % 2 == 0);
        view_.ScrollToBottom();
    }
    ASSERT_TRUE(list().scrollBar()->isVisible());
    const int w = W();
    EXPECT_EQ(w, kWidth - list().scrollBar()->width());
    for (int i = 0; i < list().count(); ++i)
        EXPECT_EQ(item(i).layoutWidth, w) << i;
    EXPECT_TRUE(item(1).own);
    EXPECT_EQ(item(1).avatarRect.left(), w - 45);  // own items move clear of the bar

    const int last = list().count() - 1;
    EXPECT_EQ(list().itemTopInView(last) + item(last).height, list().height());
    list().scrollBar()->setValue(0);
    EXPECT_EQ(list().itemTopInView(0), 0);
}

}  // namespace
}  // namespace vinylo::client::testing

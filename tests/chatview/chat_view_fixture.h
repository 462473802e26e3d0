#pragma once

#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QImage>
#include <QWidget>

#include "client/chatview/chat_list.h"
#include "client/chatview/pop_chat_view.h"

namespace vinylo::client::testing {

// A chat view as the client puts it: 576 x 302 inside its host box, with
// the text font pinned so the figures do not depend on the machine.
class ChatViewFixture : public ::testing::Test {
protected:
    static constexpr int kWidth = 576;
    static constexpr int kHeight = 302;

    static QFont PinnedFont() {
        QFont font(QStringLiteral("WenQuanYi Micro Hei"));
        font.setPixelSize(12);
        return font;
    }

    void SetUp() override {
        ASSERT_EQ(QFontInfo(PinnedFont()).family(), QStringLiteral("WenQuanYi Micro Hei"))
            << "the tests measure text in the WenQuanYi Micro Hei font (fonts-wqy-microhei)";
        host_.resize(kWidth, kHeight);
        view_.SetFont(PinnedFont());
        ASSERT_TRUE(view_.Create(&host_, 0, 0, kWidth, kHeight, 0, true));
        host_.show();
    }

    ChatList& list() { return *view_.list(); }
    const ChatItem& item(int index) { return list().itemAt(index); }
    int W() { return list().contentWidth(); }
    int P() { return list().metrics().margin(); }
    int LineHeight() { return list().metrics().lineHeight(); }

    // The list as painted, scrolled as it is.
    QImage Render() {
        QImage image(list().size(), QImage::Format_ARGB32);
        image.fill(Qt::black);
        list().render(&image);
        return image;
    }

    QWidget host_;
    PopChatView view_;
};

}  // namespace vinylo::client::testing

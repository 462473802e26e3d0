#pragma once

#include <QSize>

#include "client/chatview/chat_item.h"
#include "client/chatview/chat_text_metrics.h"

namespace vinylo::client {

// Computes where everything of an item goes for a given view width. Sizes
// are whole pixels; quotients are rounded toward zero.
class ChatLayout {
public:
    static constexpr int kAvatarSize = 40;
    static constexpr int kEdge = 5;  // space around avatars, notices and items
    static constexpr int kGap = 12;  // between avatar and bubble or nickname
    static constexpr int kMaxTextHeight = 1000;

    explicit ChatLayout(const ChatTextMetrics& metrics) : metrics_(metrics) {}

    // Measures what does not depend on the width (once per item).
    void Measure(ChatItem& item) const;
    // Lays `item` out for the view width `width`.
    void Layout(ChatItem& item, int width) const;
    // The width message texts wrap to in a view `width` wide.
    int TextWrapWidth(int width) const;

    // The shown size of a picture of `size` in a `maxWidth` x `maxHeight`
    // box: shrunk to fit, never enlarged, no side below 10.
    static QSize FitPicture(QSize size, int maxWidth, int maxHeight);

private:
    void LayOutNotice(ChatItem& item, int width) const;
    void LayOutMessage(ChatItem& item, int width) const;
    QSize ContentSize(ChatItem& item, int width) const;

    const ChatTextMetrics& metrics_;
};

}  // namespace vinylo::client

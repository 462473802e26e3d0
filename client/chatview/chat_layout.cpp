#include "client/chatview/chat_layout.h"

#include <algorithm>
#include <cstdint>

namespace vinylo::client {
namespace {

constexpr int kNoticePadding = 5;
constexpr int kNoticeMinWidth = 100;
constexpr int kNoticeMinHeight = 30;
constexpr int kNameMinWidth = 100;
constexpr int kNameMinHeight = 20;
constexpr int kBubbleMinWidth = 60;
constexpr int kBubbleMinHeight = 40;
constexpr int kPictureMargin = 3;
constexpr int kPictureMaxWidth = 200;
constexpr int kPictureMinSide = 10;
// Room the text column leaves for the avatar and its gaps on both sides.
constexpr int kTextSideRoom = 110;

}  // namespace

void ChatLayout::Measure(ChatItem& item) const {
    if (item.kind == ChatItemKind::Notice) {
        item.lineSize = metrics_.MeasureLine(item.content);
    } else if (!item.nickname.isEmpty()) {
        item.lineSize = metrics_.MeasureLine(item.nickname);
    }
}

void ChatLayout::Layout(ChatItem& item, int width) const {
    if (item.kind == ChatItemKind::Notice) {
        LayOutNotice(item, width);
    } else {
        LayOutMessage(item, width);
    }
    item.layoutWidth = width;
}

void ChatLayout::LayOutNotice(ChatItem& item, int width) const {
    const int p = metrics_.margin();
    const int maxWidth = width - 2 * p - 2 * kNoticePadding;
    int w = item.lineSize.width() + 2 * kNoticePadding;
    int h = item.lineSize.height() + 2 * kNoticePadding;
    w = std::min(std::max(w, kNoticeMinWidth), maxWidth);
    h = std::max(h, kNoticeMinHeight);
    const int left = (width - w) / 2;
    item.bubbleRect = QRect(left, kEdge, w, h);
    item.contentRect = item.bubbleRect.adjusted(kNoticePadding, 0, -kNoticePadding, 0);
    item.avatarRect = QRect();
    item.nameRect = QRect();
    item.height = kEdge + h + kEdge;
}

int ChatLayout::TextWrapWidth(int width) const {
    return width - kTextSideRoom - 2 * metrics_.margin();
}

QSize ChatLayout::ContentSize(ChatItem& item, int width) const {
    if (item.kind == ChatItemKind::Text) {
        if (item.wrappedForWidth != width) {
            item.wrappedSize =
                metrics_.MeasureWrapped(item.content, TextWrapWidth(width), kMaxTextHeight);
            item.wrappedForWidth = width;
        }
        return QSize(item.wrappedSize.width(), std::min(item.wrappedSize.height(), kMaxTextHeight));
    }
    if (item.picture.isEmpty())
        return QSize(0, 0);
    const int maxWidth = std::min(TextWrapWidth(width), kPictureMaxWidth);
    return FitPicture(QSize(item.picture.width(), item.picture.height()), maxWidth,
                      maxWidth * 3 / 4);
}

void ChatLayout::LayOutMessage(ChatItem& item, int width) const {
    const bool nameLine = item.showNames && !item.nickname.isEmpty();
    int nw = 0;
    int nh = 0;
    if (nameLine) {
        // Never wider than the room beside the avatar, so the ellipsis of a
        // long nickname stays in view.
        const int room = width - kEdge - kAvatarSize - kGap - kEdge;
        nw = std::min({std::max(item.lineSize.width(), kNameMinWidth), width - 20, room});
        nh = std::max(item.lineSize.height(), kNameMinHeight);
    }

    const QSize content = ContentSize(item, width);
    const int m = item.kind == ChatItemKind::Text ? metrics_.margin() : kPictureMargin;

    item.avatarRect = item.own ? QRect(width - kEdge - kAvatarSize, kEdge, kAvatarSize, kAvatarSize)
                               : QRect(kEdge, kEdge, kAvatarSize, kAvatarSize);
    const int avatarLeft = item.avatarRect.left();
    const int avatarRight = avatarLeft + kAvatarSize;

    int bubbleTop = kEdge;
    if (nameLine) {
        const int left = item.own ? avatarLeft - kGap - nw : avatarRight + kGap;
        item.nameRect = QRect(left, kEdge, nw, nh);
        bubbleTop = kEdge + nh;
    } else {
        item.nameRect = QRect();
    }

    const int bw = std::max(content.width() + 2 * m, kBubbleMinWidth);
    const int bh = std::max(content.height() + 2 * m, kBubbleMinHeight);
    const int bubbleLeft = item.own ? avatarLeft - kGap - bw : avatarRight + kGap;
    item.bubbleRect = QRect(bubbleLeft, bubbleTop, bw, bh);
    item.contentRect = QRect(bubbleLeft + m, bubbleTop + m, content.width(), content.height());
    item.height = bubbleTop + bh + kEdge;
}

QSize ChatLayout::FitPicture(QSize size, int maxWidth, int maxHeight) {
    std::int64_t w = size.width();
    std::int64_t h = size.height();
    if (w > maxWidth && w > 0) {
        h = h * maxWidth / w;
        w = maxWidth;
    }
    if (h > maxHeight && h > 0) {
        w = w * maxHeight / h;
        h = maxHeight;
    }
    if (w < kPictureMinSide || h < kPictureMinSide)
        return QSize(kPictureMinSide, kPictureMinSide);
    return QSize(static_cast<int>(w), static_cast<int>(h));
}

}  // namespace vinylo::client

#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include "platform/decoded_image.h"

namespace vinylo::client {

enum class ChatItemKind : unsigned char { Text, Notice, Picture };

// One entry of the chat view. Rects are relative to the item's top-left
// corner. The item keeps copies of its texts and shares its images.
struct ChatItem {
    ChatItemKind kind = ChatItemKind::Notice;
    bool own = false;        // avatar, nickname and bubble on the right
    bool showNames = false;  // the nickname line is shown (never for a notice)
    unsigned char style = 0;

    int layoutWidth = 0;  // the width the rects were computed for
    int height = 0;

    QRect avatarRect;
    QRect bubbleRect;
    QRect contentRect;  // the text, or the picture of a picture message
    QRect nameRect;     // empty when there is no nickname line

    QString content;                 // text of a text message (line breaks normalised) or notice
    QString nickname;                // empty for notices
    platform::DecodedImage avatar;   // empty: the default avatar
    platform::DecodedImage picture;  // picture messages only

    // Measurements kept between layouts: only the wrapped text depends on
    // the width, and switching nicknames on and off measures nothing.
    QSize lineSize;     // the notice text or the nickname on one line
    QSize wrappedSize;  // the text wrapped for `wrappedForWidth`
    int wrappedForWidth = -1;
};

}  // namespace vinylo::client

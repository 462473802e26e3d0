#pragma once

#include <QFont>
#include <QFrame>
#include <QPointer>
#include <QString>
#include <optional>

#include "client/chatview/chat_list.h"
#include "platform/decoded_image.h"

class QWidget;

namespace vinylo::client {

// The chat room's message area: text bubbles and picture bubbles with the
// sender's avatar and nickname, and centred notices. It only displays: the
// caller downloads and decodes images and converts wire texts (GBK) to
// QString with platform::FromGbk before adding them. Items are only ever
// appended and are kept as long as the view's widgets live.
//
// The view is a frame (child of the parent given to Create) holding the
// owner-drawn list. Adds before Create, or after the parent is gone, add
// nothing and return -1.
class PopChatView {
public:
    static constexpr char16_t kWelcomeNotice[] = u"欢迎进入Vinylo软件的聊天室";

    PopChatView();
    ~PopChatView();
    PopChatView(const PopChatView&) = delete;
    PopChatView& operator=(const PopChatView&) = delete;

    // Creates the frame at x, y with that size inside `parent` (border style
    // 0: no border) and adds the welcome notice as item 0. Refuses when the
    // view already exists or there is no parent.
    bool Create(QWidget* parent, int x, int y, int width, int height, int borderStyle,
                bool showNames);
    // Sets whether messages show a nickname line above their bubble, for
    // the items added later and for every existing one.
    void SetShowNames(bool show);
    int AddText(const QString& nickname, const platform::DecodedImage& avatar,
                const QString& content, bool own);
    int AddNotice(const QString& text);
    int AddPicture(const QString& nickname, const platform::DecodedImage& avatar,
                   const platform::DecodedImage& picture, bool own);
    void ScrollToBottom();

    // The font of every text in the view; the system's GUI font unless set.
    void SetFont(const QFont& font);

    QFrame* frame() const { return frame_; }
    ChatList* list() const { return list_; }

private:
    int Add(ChatItem item);

    QPointer<QFrame> frame_;
    QPointer<ChatList> list_;
    bool showNames_ = false;
    std::optional<QFont> font_;
};

}  // namespace vinylo::client

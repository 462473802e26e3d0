#include "client/chatview/pop_chat_view.h"

#include <QFrame>
#include <QVBoxLayout>
#include <algorithm>

#include "client/chatview/bubble_skin.h"

namespace vinylo::client {

PopChatView::PopChatView() = default;

PopChatView::~PopChatView() {
    delete frame_.data();
}

bool PopChatView::Create(QWidget* parent, int x, int y, int width, int height, int borderStyle,
                         bool showNames) {
    if (frame_ || !parent)
        return false;
    auto* frame = new QFrame(parent);
    frame->setObjectName(QStringLiteral("QuilloPopChatFrame"));
    frame->hide();
    frame->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
    frame->setFrameShape(borderStyle == 0 ? QFrame::NoFrame : QFrame::StyledPanel);
    auto* list = new ChatList(frame);
    if (font_)
        list->setFont(*font_);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(frame->frameWidth(), frame->frameWidth(), frame->frameWidth(),
                               frame->frameWidth());
    layout->setSpacing(0);
    layout->addWidget(list);
    list->setGeometry(frame->contentsRect());
    frame_ = frame;
    list_ = list;
    SetShowNames(showNames);
    AddNotice(QString::fromUtf16(kWelcomeNotice));
    frame->show();
    return true;
}

void PopChatView::SetShowNames(bool show) {
    showNames_ = show;
    if (list_)
        list_->SetShowNames(show);
}

int PopChatView::Add(ChatItem item) {
    if (!list_)
        return -1;
    return list_->Append(std::move(item));
}

int PopChatView::AddText(const QString& nickname, const platform::DecodedImage& avatar,
                         const QString& content, bool own) {
    ChatItem item;
    item.kind = ChatItemKind::Text;
    item.own = own;
    item.style =
        static_cast<unsigned char>(own ? BubbleSkin::Style::OwnText : BubbleSkin::Style::Others);
    item.nickname = nickname;
    item.avatar = avatar;
    item.content = ChatTextMetrics::ForWrapping(content);
    return Add(std::move(item));
}

int PopChatView::AddNotice(const QString& text) {
    ChatItem item;
    item.kind = ChatItemKind::Notice;
    item.content = text;
    return Add(std::move(item));
}

int PopChatView::AddPicture(const QString& nickname, const platform::DecodedImage& avatar,
                            const platform::DecodedImage& picture, bool own) {
    ChatItem item;
    item.kind = ChatItemKind::Picture;
    item.own = own;
    item.style =
        static_cast<unsigned char>(own ? BubbleSkin::Style::OwnPicture : BubbleSkin::Style::Others);
    item.nickname = nickname;
    item.avatar = avatar;
    item.picture = picture;
    return Add(std::move(item));
}

void PopChatView::ScrollToBottom() {
    if (list_)
        list_->ScrollToBottom();
}

void PopChatView::SetFont(const QFont& font) {
    font_ = font;
    if (list_)
        list_->setFont(font);
}

}  // namespace vinylo::client

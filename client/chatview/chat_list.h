#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "client/chatview/chat_item.h"
#include "client/chatview/chat_text_metrics.h"

class QScrollBar;

namespace vinylo::client {

// The owner-drawn, vertically scrolling list of chat items behind
// PopChatView. Each item is laid out once when it is added and again only
// when the width, the font or its nickname flag changes; the items' tops are
// kept as running sums, so an append costs the same however long the list
// is, and painting finds the first visible item by binary search.
class ChatList : public QWidget {
    Q_OBJECT
public:
    explicit ChatList(QWidget* parent = nullptr);
    ~ChatList() override;

    // Appends `item` (kind, texts, images, own, style), laying it out with
    // the list's nickname flag; returns its index.
    int Append(ChatItem item);
    void SetShowNames(bool show);
    bool showNames() const { return showNames_; }
    void ScrollToBottom();

    int count() const { return static_cast<int>(items_.size()); }
    const ChatItem& itemAt(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    // The item's top in the list's content, and in the widget as scrolled.
    int itemTop(int index) const { return tops_.at(static_cast<std::size_t>(index)); }
    int itemTopInView(int index) const;
    // The width items are laid out for (the widget less a shown scroll bar).
    int contentWidth() const;
    int contentHeight() const { return tops_.back(); }
    const ChatTextMetrics& metrics() const { return *metrics_; }
    QScrollBar* scrollBar() const { return bar_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void EnsureLayout();
    void RelayoutAll();
    void RebuildTops();
    void UpdateScrollBar();
    void PlaceScrollBar();
    bool AtBottom() const;
    void PaintItem(QPainter& painter, const ChatItem& item) const;
    void PaintMessage(QPainter& painter, const ChatItem& item) const;

    std::unique_ptr<ChatTextMetrics> metrics_;
    std::vector<ChatItem> items_;
    std::vector<int> tops_{0};  // tops_[i] is item i's top; the last entry is the total
    QScrollBar* bar_;
    bool showNames_ = false;
    bool barShown_ = false;
    bool switchingBar_ = false;
    int layoutWidth_ = -1;
    int scrolledTo_ = 0;
};

}  // namespace vinylo::client

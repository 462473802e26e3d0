#include "client/chatview/chat_list.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "client/chatview/bubble_skin.h"
#include "client/chatview/chat_layout.h"
#include "client/chatview/default_avatar.h"

namespace vinylo::client {
namespace {

constexpr int kScrollStep = 20;
const QColor kNicknameColour(0x80, 0x80, 0x80);

// Draws `image` scaled whole into `rect`. Scaled copies are kept in Qt's
// bounded pixmap cache, keyed by the shared image, so a picture or avatar
// seen many times is scaled once and memory stays bounded.
void DrawScaled(QPainter& painter, const QRect& rect, const QImage& image) {
    if (image.size() == rect.size()) {
        painter.drawImage(rect.topLeft(), image);
        return;
    }
    const QString key = QStringLiteral("vinylo-chat-%1-%2x%3")
                            .arg(image.cacheKey())
                            .arg(rect.width())
                            .arg(rect.height());
    QPixmap scaled;
    if (!QPixmapCache::find(key, &scaled)) {
        scaled = QPixmap::fromImage(
            image.scaled(rect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        QPixmapCache::insert(key, scaled);
    }
    painter.drawPixmap(rect.topLeft(), scaled);
}

}  // namespace

ChatList::ChatList(QWidget* parent)
    : QWidget(parent),
      metrics_(std::make_unique<ChatTextMetrics>(font())),
      bar_(new QScrollBar(Qt::Vertical, this)) {
    setObjectName(QStringLiteral("QuilloPopChat"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::ArrowCursor);
    bar_->hide();
    bar_->setSingleStep(kScrollStep);
    bar_->setRange(0, 0);
    connect(bar_, &QScrollBar::valueChanged, this, [this](int value) {
        const int dy = scrolledTo_ - value;
        scrolledTo_ = value;
        if (isVisible()) {
            scroll(0, dy, QRect(0, 0, contentWidth(), height()));
        } else {
            update();
        }
    });
}

ChatList::~ChatList() = default;

int ChatList::contentWidth() const {
    return std::max(0, width() - (barShown_ ? bar_->sizeHint().width() : 0));
}

int ChatList::itemTopInView(int index) const {
    return itemTop(index) - bar_->value();
}

int ChatList::Append(ChatItem item) {
    EnsureLayout();
    if (item.kind == ChatItemKind::Notice)
        item.showNames = false;
    else
        item.showNames = showNames_;
    if (item.style >= BubbleSkin::kStyleCount)
        item.style = 0;
    const ChatLayout layout(*metrics_);
    layout.Measure(item);
    layout.Layout(item, layoutWidth_);
    const int top = tops_.back();
    tops_.push_back(top + item.height);
    items_.push_back(std::move(item));
    const int index = count() - 1;

    UpdateScrollBar();
    const QRect area(0, itemTopInView(index), contentWidth(), items_.back().height);
    if (area.intersects(rect()))
        update(area);
    return index;
}

void ChatList::SetShowNames(bool show) {
    showNames_ = show;
    EnsureLayout();
    const bool atBottom = AtBottom();
    const ChatLayout layout(*metrics_);
    bool changed = false;
    for (ChatItem& item : items_) {
        if (item.kind == ChatItemKind::Notice || item.showNames == show)
            continue;
        item.showNames = show;
        layout.Layout(item, layoutWidth_);
        changed = true;
    }
    if (!changed)
        return;
    RebuildTops();
    UpdateScrollBar();
    if (atBottom)
        ScrollToBottom();
    update();
}

void ChatList::ScrollToBottom() {
    EnsureLayout();
    bar_->setValue(bar_->maximum());
}

bool ChatList::AtBottom() const {
    return bar_->value() >= bar_->maximum();
}

void ChatList::EnsureLayout() {
    // A hidden widget gets its resize events only when shown; the width is
    // checked here too so adds and paints never use a stale layout.
    if (contentWidth() != layoutWidth_)
        RelayoutAll();
}

void ChatList::RelayoutAll() {
    const bool atBottom = AtBottom();
    layoutWidth_ = contentWidth();
    const ChatLayout layout(*metrics_);
    for (ChatItem& item : items_)
        layout.Layout(item, layoutWidth_);
    RebuildTops();
    UpdateScrollBar();
    if (atBottom)
        bar_->setValue(bar_->maximum());
    update();
}

void ChatList::RebuildTops() {
    tops_.resize(items_.size() + 1);
    int top = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        tops_[i] = top;
        top += items_[i].height;
    }
    tops_.back() = top;
}

void ChatList::UpdateScrollBar() {
    const bool needed = contentHeight() > height();
    if (needed != barShown_ && !switchingBar_) {
        // Showing or hiding the bar changes the width: lay everything out
        // again once for it. Narrower items are never shorter, so this does
        // not swing back.
        switchingBar_ = true;
        barShown_ = needed;
        bar_->setVisible(needed);
        PlaceScrollBar();
        RelayoutAll();
        switchingBar_ = false;
    }
    bar_->setRange(0, std::max(0, contentHeight() - height()));
    bar_->setPageStep(std::max(1, height()));
}

void ChatList::PlaceScrollBar() {
    const int w = bar_->sizeHint().width();
    bar_->setGeometry(width() - w, 0, w, height());
}

void ChatList::resizeEvent(QResizeEvent*) {
    PlaceScrollBar();
    if (contentWidth() != layoutWidth_) {
        RelayoutAll();
    } else {
        const bool atBottom = AtBottom();
        UpdateScrollBar();
        if (atBottom)
            bar_->setValue(bar_->maximum());
    }
}

void ChatList::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        metrics_ = std::make_unique<ChatTextMetrics>(font());
        const ChatLayout layout(*metrics_);
        for (ChatItem& item : items_) {
            item.wrappedForWidth = -1;
            layout.Measure(item);
        }
        RelayoutAll();
    }
    QWidget::changeEvent(event);
}

void ChatList::wheelEvent(QWheelEvent* event) {
    if (barShown_)
        QCoreApplication::sendEvent(bar_, event);
}

void ChatList::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
            bar_->triggerAction(QAbstractSlider::SliderSingleStepSub);
            break;
        case Qt::Key_Down:
            bar_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            break;
        case Qt::Key_PageUp:
            bar_->triggerAction(QAbstractSlider::SliderPageStepSub);
            break;
        case Qt::Key_PageDown:
            bar_->triggerAction(QAbstractSlider::SliderPageStepAdd);
            break;
        case Qt::Key_Home:
            bar_->triggerAction(QAbstractSlider::SliderToMinimum);
            break;
        case Qt::Key_End:
            bar_->triggerAction(QAbstractSlider::SliderToMaximum);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void ChatList::paintEvent(QPaintEvent* event) {
    EnsureLayout();
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, Qt::white);
    if (items_.empty())
        return;

    const int offset = bar_->value();
    const int from = offset + area.top();
    const int to = offset + area.top() + area.height();
    // The last item whose top is at or above the first painted row.
    auto it = std::upper_bound(tops_.begin(), tops_.end() - 1, from);
    std::size_t i = it == tops_.begin() ? 0 : static_cast<std::size_t>(it - tops_.begin()) - 1;
    painter.setClipRect(area);
    for (; i < items_.size() && tops_[i] < to; ++i) {
        painter.save();
        painter.translate(0, tops_[i] - offset);
        painter.setClipRect(QRect(0, 0, layoutWidth_, items_[i].height), Qt::IntersectClip);
        PaintItem(painter, items_[i]);
        painter.restore();
    }
}

void ChatList::PaintItem(QPainter& painter, const ChatItem& item) const {
    if (item.kind == ChatItemKind::Notice) {
        const BubbleSkin& skin = BubbleSkin::Notice();
        skin.DrawBody(painter, item.bubbleRect);
        metrics_->DrawLine(painter, item.contentRect, item.content, Qt::AlignCenter,
                           skin.textColour());
        return;
    }
    PaintMessage(painter, item);
}

void ChatList::PaintMessage(QPainter& painter, const ChatItem& item) const {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    DrawScaled(painter, item.avatarRect,
               item.avatar.isEmpty() ? DefaultAvatar() : item.avatar.image());

    const BubbleSkin& skin = BubbleSkin::ForStyle(item.style);
    skin.DrawBody(painter, item.bubbleRect);
    skin.DrawTail(painter, item.bubbleRect, item.own);

    if (!item.nickname.isEmpty() && item.nameRect.width() > 0) {
        metrics_->DrawLine(painter, item.nameRect, item.nickname,
                           Qt::AlignTop | (item.own ? Qt::AlignRight : Qt::AlignLeft),
                           kNicknameColour);
    }
    if (item.kind == ChatItemKind::Text) {
        const int wrapWidth = ChatLayout(*metrics_).TextWrapWidth(item.layoutWidth);
        metrics_->DrawWrapped(painter, item.contentRect, wrapWidth, item.content,
                              skin.textColour());
    } else if (!item.picture.isEmpty() && item.contentRect.width() > 0 &&
               item.contentRect.height() > 0) {
        DrawScaled(painter, item.contentRect, item.picture.image());
    }
}

}  // namespace vinylo::client

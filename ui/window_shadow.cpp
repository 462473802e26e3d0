#include "ui/window_shadow.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>
#include <algorithm>

namespace vinylo::ui {
namespace {

// A ring wider than this would only make a huge, invisible window (alpha 0).
constexpr int kMaxShadowSize = 64;

// The shadow window of one target. It is a child window of the target (so it
// stays with it and goes with it) and watches the target's events, which the
// Windows programs did by subclassing the target.
class ShadowWindow : public QWidget {
    Q_OBJECT
public:
    explicit ShadowWindow(QWidget* target)
        : QWidget(target, Qt::Tool | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint |
                              Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus),
          target_(target) {
        setObjectName(QStringLiteral("WindowShadow"));
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
        target->installEventFilter(this);
    }

    void SetLook(const QColor& colour, int size) {
        colour_ = colour;
        size_ = size;
    }
    int ringWidth() const { return size_; }

protected:
    bool event(QEvent* event) override {
        // Some platforms (offscreen among them) activate every window shown,
        // whatever its flags: the activation belongs to the target.
        if (event->type() == QEvent::WindowActivate && target_->isVisible()) {
            target_->activateWindow();
        }
        return QWidget::event(event);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == target_) {
            switch (event->type()) {
                case QEvent::Move:
                case QEvent::Resize:
                case QEvent::WindowStateChange:
                    PlaceShadow(target_);
                    break;
                case QEvent::Show:
                    PlaceShadow(target_, true);
                    break;
                case QEvent::Hide:
                    PlaceShadow(target_, false);
                    break;
                default:
                    break;
            }
        }
        return QWidget::eventFilter(watched, event);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        PaintShadowRing(painter, size(), colour_, size_);
    }

private:
    QWidget* target_;
    QColor colour_;
    int size_ = kDefaultShadowSize;
};

ShadowWindow* FindShadow(QWidget* target) {
    if (!target)
        return nullptr;
    return target->findChild<ShadowWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace

bool SetWindowShadow(QWidget* target, const QColor& colour, std::optional<int> size) {
    if (!target || !target->isWindow())
        return false;
    auto* shadow = FindShadow(target);
    if (size && *size <= 0) {
        // Deleting the shadow also removes its event filter from the target.
        delete shadow;
        return false;
    }
    if (!shadow)
        shadow = new ShadowWindow(target);
    shadow->SetLook(colour, std::min(size.value_or(kDefaultShadowSize), kMaxShadowSize));
    PlaceShadow(target);
    return true;
}

void PlaceShadow(QWidget* target, std::optional<bool> visible) {
    auto* shadow = FindShadow(target);
    if (!shadow)
        return;
    const bool shown = visible.value_or(target->isVisible());
    if (!shown || target->isMinimized() || target->isMaximized() || target->isFullScreen()) {
        shadow->hide();
        return;
    }
    const QRect frame = target->frameGeometry();
    if (frame.width() <= 0 || frame.height() <= 0)
        return;
    const int s = shadow->ringWidth();
    shadow->setGeometry(frame.adjusted(-s, -s, s, s));
    if (!shadow->isVisible())
        shadow->show();
    shadow->update();
}

QWidget* ShadowOf(QWidget* target) {
    return FindShadow(target);
}

void PaintShadowRing(QPainter& painter, QSize size, const QColor& colour, int ringWidth) {
    const int w = size.width();
    const int h = size.height();
    const int s = ringWidth;
    if (s <= 0 || w <= 0 || h <= 0)
        return;
    const int per = (s < 9 ? 100 : 150) / s;

    painter.save();
    painter.setClipRegion(QRegion(0, 0, w, h) - QRegion(s, s, w - 2 * s, h - 2 * s));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 1; i <= s; ++i) {
        QColor line = colour;
        line.setAlpha(std::min(per * i, 255));
        // Line i is a one-pixel band on pixel column/row i - 1 from the
        // outside, a rounded outline of radius 4 along its middle. Filling
        // between two outlines whose straight edges lie on pixel borders
        // gives those pixels exactly the line's alpha.
        QPainterPath band;
        band.setFillRule(Qt::OddEvenFill);
        band.addRoundedRect(QRectF(i - 1, i - 1, w - 2 * i + 2, h - 2 * i + 2), 4.5, 4.5);
        band.addRoundedRect(QRectF(i, i, w - 2 * i, h - 2 * i), 3.5, 3.5);
        painter.fillPath(band, line);
    }
    painter.restore();
}

QImage RenderShadowRing(QSize size, const QColor& colour, int ringWidth) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PaintShadowRing(painter, size, colour, ringWidth);
    return image;
}

}  // namespace vinylo::ui

#include "window_shadow.moc"

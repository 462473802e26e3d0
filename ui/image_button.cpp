#include "ui/image_button.h"

#include <QEnterEvent>
#include <QPainter>

#include "ui/palette.h"

namespace vinylo::ui {

ImageButton::ImageButton(ButtonPainter painter, QWidget* parent)
    : QAbstractButton(parent), painter_(std::move(painter)) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

QSize ImageButton::sizeHint() const {
    return {40, 40};
}

ButtonLook ImageButton::look() const {
    return ButtonLook{hovered_, isDown(), isEnabled(), hasFocus()};
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter_(painter, QRectF(rect()), look());
}

void ImageButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

namespace {

void PaintTitleButtonFace(QPainter& painter, const QRectF& rect, const ButtonLook& look,
                          QColor hoverColour) {
    if (!look.hovered && !look.pressed)
        return;
    QColor face = hoverColour;
    if (look.pressed)
        face = face.darker(125);
    painter.setPen(Qt::NoPen);
    painter.setBrush(face);
    painter.drawRoundedRect(rect.adjusted(4, 4, -4, -4), 5, 5);
}

QPen GlyphPen(const ButtonLook& look) {
    QPen pen(look.enabled ? QColor(255, 255, 255) : QColor(255, 255, 255, 110), 1.6);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

}  // namespace

void PaintMinimiseGlyph(QPainter& painter, const QRectF& rect, const ButtonLook& look) {
    PaintTitleButtonFace(painter, rect, look, QColor(255, 255, 255, 50));
    painter.setPen(GlyphPen(look));
    const QPointF c = rect.center();
    painter.drawLine(QPointF(c.x() - 6, c.y() + 0.5), QPointF(c.x() + 6, c.y() + 0.5));
}

void PaintCloseGlyph(QPainter& painter, const QRectF& rect, const ButtonLook& look) {
    PaintTitleButtonFace(painter, rect, look, palette::kCloseHover);
    painter.setPen(GlyphPen(look));
    const QPointF c = rect.center();
    painter.drawLine(QPointF(c.x() - 5.5, c.y() - 5.5), QPointF(c.x() + 5.5, c.y() + 5.5));
    painter.drawLine(QPointF(c.x() + 5.5, c.y() - 5.5), QPointF(c.x() - 5.5, c.y() + 5.5));
}

}  // namespace vinylo::ui

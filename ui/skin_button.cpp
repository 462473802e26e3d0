#include "ui/skin_button.h"

#include <QEnterEvent>
#include <QLinearGradient>
#include <QPainter>

#include "ui/palette.h"
#include "ui/skin.h"

namespace vinylo::ui {

SkinButton::SkinButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setFont(skin::CaptionFont());
    setCursor(Qt::PointingHandCursor);
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);

    QColor top = palette::kAccentLight;
    QColor bottom = palette::kAccent;
    if (!isEnabled()) {
        top = bottom = palette::kDisabled;
    } else if (isDown()) {
        top = palette::kAccentDark;
        bottom = palette::kAccent;
    } else if (hovered_) {
        top = palette::kAccentLight.lighter(108);
        bottom = palette::kAccentLight;
    }
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, bottom);
    painter.setPen(QPen(palette::kAccentDark, 1.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(face, 4, 4);
    if (hasFocus()) {
        painter.setPen(QPen(QColor(255, 255, 255, 150), 1.0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(face.adjusted(2, 2, -2, -2), 3, 3);
    }

    QString caption = text();
    caption.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    painter.setPen(Qt::white);
    painter.setFont(font());
    painter.drawText(face.adjusted(2, 2, -2, -2),
                     Qt::AlignCenter | Qt::TextWordWrap | Qt::TextWrapAnywhere, caption);
}

void SkinButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QPushButton::enterEvent(event);
}

void SkinButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QPushButton::leaveEvent(event);
}

}  // namespace vinylo::ui

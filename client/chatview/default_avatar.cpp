#include "client/chatview/default_avatar.h"

#include <QPainter>
#include <QPainterPath>

namespace vinylo::client {

const QImage& DefaultAvatar() {
    static const QImage avatar = [] {
        QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(0xB2, 0xB2, 0xB2));
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(20, 15), 6.5, 7);
        // Shoulders: a rounded arch open at the bottom edge.
        QPainterPath shoulders;
        shoulders.moveTo(7.5, 40);
        shoulders.cubicTo(7.5, 30, 12, 25.5, 20, 25.5);
        shoulders.cubicTo(28, 25.5, 32.5, 30, 32.5, 40);
        p.drawPath(shoulders);
        return image;
    }();
    return avatar;
}

}  // namespace vinylo::client

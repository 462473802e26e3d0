#include "client/chatview/bubble_skin.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <array>
#include <optional>

namespace vinylo::client {
namespace {

constexpr int kSkinWidth = 80;
constexpr int kSkinHeight = 40;

QPolygonF LeftTail(qreal inset) {
    // Base on column 7 (it covers the body's edge column when drawn), apex on
    // column 0 at rows 19-20.
    return QPolygonF({QPointF(8, 13 + inset), QPointF(inset, 19 + inset / 2),
                      QPointF(inset, 21 - inset / 2), QPointF(8, 27 - inset)});
}

QPolygonF Mirrored(const QPolygonF& polygon) {
    QPolygonF out;
    for (const QPointF& p : polygon)
        out << QPointF(kSkinWidth - p.x(), p.y());
    return out;
}

QImage MakeSkinImage(const QColor& fill, const std::optional<QColor>& outline) {
    QImage image(kSkinWidth, kSkinHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRectF body(10, 0, 60, kSkinHeight);
    const QPolygonF left = LeftTail(0);
    const QPolygonF right = Mirrored(left);
    if (outline) {
        p.setBrush(*outline);
        p.drawRoundedRect(body, 4, 4);
        p.drawPolygon(left);
        p.drawPolygon(right);
        p.setBrush(fill);
        p.drawRoundedRect(body.adjusted(1, 1, -1, -1), 3, 3);
        p.drawPolygon(LeftTail(1.2));
        p.drawPolygon(Mirrored(LeftTail(1.2)));
    } else {
        p.setBrush(fill);
        p.drawRoundedRect(body, 4, 4);
        p.drawPolygon(left);
        p.drawPolygon(right);
    }
    return image;
}

}  // namespace

BubbleSkin::BubbleSkin(QImage image, QColor textColour)
    : image_(std::move(image)), textColour_(textColour) {}

const BubbleSkin& BubbleSkin::Notice() {
    static const BubbleSkin skin(MakeSkinImage(QColor(0xC1, 0xC1, 0xC1), std::nullopt),
                                 QColor(Qt::white));
    return skin;
}

const BubbleSkin& BubbleSkin::ForStyle(int style) {
    static const std::array<BubbleSkin, kStyleCount> skins = [] {
        const QImage own = MakeSkinImage(QColor(0x9E, 0xEA, 0x6A), std::nullopt);
        return std::array<BubbleSkin, kStyleCount>{
            BubbleSkin(MakeSkinImage(Qt::white, QColor(0xED, 0xED, 0xED)), QColor(Qt::black)),
            BubbleSkin(own, QColor(Qt::black)),
            BubbleSkin(own, QColor(Qt::black)),  // own pictures share the own-text image
        };
    }();
    if (style < 0 || style >= kStyleCount)
        style = 0;
    return skins[static_cast<std::size_t>(style)];
}

void BubbleSkin::DrawBody(QPainter& painter, const QRect& target) const {
    const QRect body = bodySource();
    const QRect centre = centreSource();
    if (target.size() == body.size()) {
        painter.drawImage(target.topLeft(), image_, body);
        return;
    }
    // Source and destination edges of the three columns and three rows.
    const std::array<int, 4> sx{body.left(), centre.left(), centre.left() + centre.width(),
                                body.left() + body.width()};
    const std::array<int, 4> sy{body.top(), centre.top(), centre.top() + centre.height(),
                                body.top() + body.height()};
    const int right = target.left() + target.width();
    const int bottom = target.top() + target.height();
    const std::array<int, 4> dx{target.left(), target.left() + (sx[1] - sx[0]),
                                right - (sx[3] - sx[2]), right};
    const std::array<int, 4> dy{target.top(), target.top() + (sy[1] - sy[0]),
                                bottom - (sy[3] - sy[2]), bottom};
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t c = 0; c < 3; ++c) {
            const QRect to(QPoint(dx[c], dy[r]), QPoint(dx[c + 1] - 1, dy[r + 1] - 1));
            if (to.width() <= 0 || to.height() <= 0)
                continue;
            const QRect from(QPoint(sx[c], sy[r]), QPoint(sx[c + 1] - 1, sy[r + 1] - 1));
            painter.drawImage(to, image_, from);
        }
    }
    painter.restore();
}

void BubbleSkin::DrawTail(QPainter& painter, const QRect& body, bool rightSide) const {
    if (rightSide) {
        const QRect strip(image_.width() - kTailWidth, 0, kTailWidth, image_.height());
        painter.drawImage(QPoint(body.left() + body.width() - 1, body.top()), image_, strip);
    } else {
        const QRect strip(0, 0, kTailWidth, image_.height());
        painter.drawImage(QPoint(body.left() - (kTailWidth - 1), body.top()), image_, strip);
    }
}

}  // namespace vinylo::client

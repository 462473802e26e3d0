#include "client/chatview/emoticon_icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <functional>

#include "client/chatview/emoticon_table.h"

namespace vinylo::client {
namespace {

constexpr int kIconSize = 36;
const QColor kInk(0x5A, 0x34, 0x12);
const QColor kTongue(0xF0, 0x6A, 0x7A);
const QColor kTear(0x5C, 0xB8, 0xF5);
const QColor kBlush(0xFF, 0x8A, 0x80, 150);
const QColor kHand(0xFF, 0xC8, 0x3D);

QPen InkPen(qreal width = 1.6) {
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void YellowFace(QPainter& p) {
    QRadialGradient fill(QPointF(14, 11), 20);
    fill.setColorAt(0, QColor(0xFF, 0xEE, 0x8A));
    fill.setColorAt(0.7, QColor(0xFF, 0xD2, 0x3F));
    fill.setColorAt(1, QColor(0xF5, 0xB0, 0x25));
    p.setPen(QPen(QColor(0xE0, 0x98, 0x1A), 1));
    p.setBrush(fill);
    p.drawEllipse(QPointF(18, 18.5), 15.5, 15.5);
}

void Blush(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kBlush);
    p.drawEllipse(QPointF(9, 22), 3.2, 2);
    p.drawEllipse(QPointF(27, 22), 3.2, 2);
}

void DotEyes(QPainter& p, qreal dx = 0, qreal dy = 0, qreal r = 2.2) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(12.5 + dx, 15 + dy), r * 0.85, r * 1.15);
    p.drawEllipse(QPointF(23.5 + dx, 15 + dy), r * 0.85, r * 1.15);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12 + dx + 0.3, 14 + dy), 0.7, 0.7);
    p.drawEllipse(QPointF(23 + dx + 0.3, 14 + dy), 0.7, 0.7);
}

// Happy closed eyes: arches.
void ArchEyes(QPainter& p, qreal y = 15) {
    p.setPen(InkPen(1.8));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(9, y - 2, 7, 6), 20 * 16, 140 * 16);
    p.drawArc(QRectF(20, y - 2, 7, 6), 20 * 16, 140 * 16);
}

// Gentle closed eyes: smiling curves.
void ClosedEyes(QPainter& p) {
    p.setPen(InkPen(1.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(9, 11, 7, 6), 200 * 16, 140 * 16);
    p.drawArc(QRectF(20, 11, 7, 6), 200 * 16, 140 * 16);
}

void HalfLidEyes(QPainter& p, qreal dx = 0) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawChord(QRectF(9.5 + dx, 12, 6, 6), 180 * 16, 180 * 16);
    p.drawChord(QRectF(20.5 + dx, 12, 6, 6), 180 * 16, 180 * 16);
    p.setPen(InkPen(1.3));
    p.drawLine(QPointF(9 + dx, 15), QPointF(16 + dx, 15));
    p.drawLine(QPointF(20 + dx, 15), QPointF(27 + dx, 15));
}

void Heart(QPainter& p, QPointF centre, qreal size, const QColor& colour) {
    QPainterPath heart;
    const qreal s = size / 2;
    heart.moveTo(centre.x(), centre.y() + s * 0.9);
    heart.cubicTo(centre.x() - s * 1.3, centre.y() - s * 0.1, centre.x() - s * 0.6,
                  centre.y() - s * 1.1, centre.x(), centre.y() - s * 0.35);
    heart.cubicTo(centre.x() + s * 0.6, centre.y() - s * 1.1, centre.x() + s * 1.3,
                  centre.y() - s * 0.1, centre.x(), centre.y() + s * 0.9);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(heart);
}

// A positive tilt lowers the brow's inner end (cross), a negative one raises
// it (worried).
void Brows(QPainter& p, qreal leftTilt, qreal rightTilt, qreal y = 10) {
    p.setPen(InkPen(1.5));
    p.drawLine(QPointF(9.5, y - leftTilt), QPointF(15, y + leftTilt));
    p.drawLine(QPointF(21, y + rightTilt), QPointF(26.5, y - rightTilt));
}

void SmileMouth(QPainter& p, qreal width = 10, qreal y = 21) {
    p.setPen(InkPen(1.7));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(18 - width / 2, y - 3, width, 7), 200 * 16, 140 * 16);
}

void OpenMouth(QPainter& p, qreal width = 13, qreal height = 9, qreal y = 21) {
    QPainterPath mouth;
    mouth.moveTo(18 - width / 2, y);
    mouth.lineTo(18 + width / 2, y);
    mouth.arcTo(QRectF(18 - width / 2, y - height, width, 2 * height), 0, -180);
    mouth.closeSubpath();
    p.setPen(InkPen(1.2));
    p.setBrush(QColor(0x8A, 0x2E, 0x1E));
    p.drawPath(mouth);
    p.save();
    p.setClipPath(mouth);
    p.setPen(Qt::NoPen);
    p.setBrush(kTongue);
    p.drawEllipse(QPointF(18, y + height), width * 0.32, height * 0.55);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(18 - width / 2, y, width, 2));
    p.restore();
}

void Tears(QPainter& p, qreal y = 18) {
    p.setPen(Qt::NoPen);
    p.setBrush(kTear);
    for (qreal x : {6.5, 29.5}) {
        QPainterPath drop;
        drop.moveTo(x, y);
        drop.cubicTo(x - 3, y + 4, x - 2.5, y + 7, x, y + 7);
        drop.cubicTo(x + 2.5, y + 7, x + 3, y + 4, x, y);
        p.drawPath(drop);
    }
}

void Hand(QPainter& p, QPointF centre, qreal angle) {
    p.save();
    p.translate(centre);
    p.rotate(angle);
    p.setPen(QPen(QColor(0xD9, 0x8E, 0x10), 1));
    p.setBrush(kHand);
    p.drawRoundedRect(QRectF(-4, -3.5, 8, 7.5), 3, 3);
    for (int i = 0; i < 3; ++i)
        p.drawRoundedRect(QRectF(-4 + i * 2.7, -7, 2.6, 5), 1.3, 1.3);
    p.restore();
}

void Finger(QPainter& p, QPointF tip, qreal length) {
    p.setPen(QPen(QColor(0xD9, 0x8E, 0x10), 1));
    p.setBrush(kHand);
    p.drawRoundedRect(QRectF(tip.x() - 1.8, tip.y(), 3.6, length), 1.8, 1.8);
    p.drawRoundedRect(QRectF(tip.x() - 4, tip.y() + length - 3, 8, 7), 3, 3);
}

// The three animal faces.
void Doge(QPainter& p) {
    const QColor fur(0xE3, 0xA8, 0x5A);
    const QColor cream(0xFB, 0xEB, 0xCF);
    p.setPen(QPen(QColor(0xB0, 0x74, 0x2E), 1));
    p.setBrush(fur);
    p.drawPolygon(QPolygonF({QPointF(5, 14), QPointF(7, 2), QPointF(14, 8)}));
    p.drawPolygon(QPolygonF({QPointF(31, 14), QPointF(29, 2), QPointF(22, 8)}));
    p.drawEllipse(QRectF(3, 5, 30, 28));
    p.setPen(Qt::NoPen);
    p.setBrush(cream);
    p.drawEllipse(QRectF(9, 17, 18, 15));
    p.drawEllipse(QPointF(12, 11), 2.3, 1.5);
    p.drawEllipse(QPointF(24, 11), 2.3, 1.5);
    // The famous sideways glance.
    p.setBrush(kInk);
    p.drawEllipse(QPointF(12.8, 15.5), 1.9, 1.6);
    p.drawEllipse(QPointF(24.8, 15.5), 1.9, 1.6);
    p.setBrush(QColor(0x3A, 0x22, 0x10));
    p.drawEllipse(QPointF(18, 21), 3, 2.1);
    p.setPen(InkPen(1.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(13, 21, 5, 5), 200 * 16, 160 * 16);
    p.drawArc(QRectF(18, 21, 5, 5), 180 * 16, 160 * 16);
}

void Cat(QPainter& p) {
    const QColor fur(0xFF, 0xB8, 0x5C);
    p.setPen(QPen(QColor(0xD0, 0x80, 0x2A), 1));
    p.setBrush(fur);
    p.drawPolygon(QPolygonF({QPointF(5, 16), QPointF(6, 3), QPointF(15, 9)}));
    p.drawPolygon(QPolygonF({QPointF(31, 16), QPointF(30, 3), QPointF(21, 9)}));
    p.drawEllipse(QRectF(3, 6, 30, 27));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xA0, 0xA8));
    p.drawPolygon(QPolygonF({QPointF(7.5, 12), QPointF(8, 6), QPointF(12.5, 9)}));
    p.drawPolygon(QPolygonF({QPointF(28.5, 12), QPointF(28, 6), QPointF(23.5, 9)}));
    p.setPen(QPen(QColor(0xE0, 0x8E, 0x30), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18, 7), QPointF(18, 11));
    p.drawLine(QPointF(15, 7.5), QPointF(15.5, 10.5));
    p.drawLine(QPointF(21, 7.5), QPointF(20.5, 10.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3A, 0x2A, 0x1A));
    p.drawEllipse(QPointF(12, 17), 2.6, 3.2);
    p.drawEllipse(QPointF(24, 17), 2.6, 3.2);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12.8, 15.8), 0.9, 0.9);
    p.drawEllipse(QPointF(24.8, 15.8), 0.9, 0.9);
    p.setBrush(QColor(0xF0, 0x6A, 0x7A));
    p.drawPolygon(QPolygonF({QPointF(16.5, 21), QPointF(19.5, 21), QPointF(18, 22.8)}));
    p.setPen(InkPen(1.1));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(14, 21, 4, 4), 200 * 16, 160 * 16);
    p.drawArc(QRectF(18, 21, 4, 4), 180 * 16, 160 * 16);
    p.setPen(QPen(QColor(0x7A, 0x5A, 0x40), 0.8));
    for (qreal dy : {-1.0, 1.0}) {
        p.drawLine(QPointF(9, 22 + dy), QPointF(2, 21 + 2.5 * dy));
        p.drawLine(QPointF(27, 22 + dy), QPointF(34, 21 + 2.5 * dy));
    }
}

void Husky(QPainter& p) {
    const QColor dark(0x5E, 0x66, 0x72);
    p.setPen(QPen(QColor(0x40, 0x46, 0x50), 1));
    p.setBrush(dark);
    p.drawPolygon(QPolygonF({QPointF(4, 16), QPointF(7, 1.5), QPointF(15, 8)}));
    p.drawPolygon(QPolygonF({QPointF(32, 16), QPointF(29, 1.5), QPointF(21, 8)}));
    p.drawEllipse(QRectF(3, 5, 30, 28));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF2, 0xF4, 0xF7));
    QPainterPath mask;
    mask.moveTo(18, 9);
    mask.cubicTo(22, 14, 31, 13, 31, 22);
    mask.cubicTo(31, 30, 24, 33, 18, 33);
    mask.cubicTo(12, 33, 5, 30, 5, 22);
    mask.cubicTo(5, 13, 14, 14, 18, 9);
    p.drawPath(mask);
    p.setBrush(QColor(0xFF, 0xC4, 0xC8));
    p.drawPolygon(QPolygonF({QPointF(7.5, 12), QPointF(8, 5), QPointF(12.5, 9)}));
    p.drawPolygon(QPolygonF({QPointF(28.5, 12), QPointF(28, 5), QPointF(23.5, 9)}));
    p.setBrush(QColor(0x4A, 0x9E, 0xE8));
    p.drawEllipse(QPointF(12, 18), 2.4, 2.4);
    p.drawEllipse(QPointF(24, 18), 2.4, 2.4);
    p.setBrush(QColor(0x1A, 0x22, 0x30));
    p.drawEllipse(QPointF(12, 18), 1.1, 1.1);
    p.drawEllipse(QPointF(24, 18), 1.1, 1.1);
    p.drawEllipse(QPointF(18, 23.5), 2.8, 2);
    // The derpy tongue.
    p.setBrush(kTongue);
    p.drawRoundedRect(QRectF(18.5, 26, 4, 5), 2, 2);
    p.setPen(QPen(QColor(0x30, 0x30, 0x38), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(13.5, 23, 4.5, 4), 200 * 16, 160 * 16);
    p.drawArc(QRectF(18, 23, 4.5, 4), 180 * 16, 160 * 16);
}

using Painter = std::function<void(QPainter&)>;

// The yellow faces, in table order from position 3.
const std::array<Painter, kEmoticonCount - 3>& FacePainters() {
    static const std::array<Painter, kEmoticonCount - 3> painters{{
        // 3 tanshou: spreading hands, a flat "whatever" mouth.
        [](QPainter& p) {
            DotEyes(p);
            Brows(p, -1, -1, 10);
            p.setPen(InkPen());
            p.drawLine(QPointF(14, 23), QPointF(22, 23));
            Hand(p, QPointF(4.5, 28), -35);
            Hand(p, QPointF(31.5, 28), 35);
        },
        // 4 chigua: watching, munching a slice of watermelon.
        [](QPainter& p) {
            DotEyes(p, 0, -1);
            QPainterPath rind;
            rind.moveTo(8, 24);
            rind.arcTo(QRectF(8, 16, 20, 16), 180, 180);
            rind.closeSubpath();
            p.setPen(QPen(QColor(0x2E, 0x8B, 0x3A), 1.6));
            p.setBrush(QColor(0xF4, 0x4A, 0x5A));
            p.drawPath(rind);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x30, 0x20, 0x20));
            for (qreal x : {13.0, 18.0, 23.0})
                p.drawEllipse(QPointF(x, 27), 0.9, 1.3);
        },
        // 5 kuxiao: laughing to tears.
        [](QPainter& p) {
            ArchEyes(p);
            OpenMouth(p, 15, 9, 20);
            Tears(p, 14);
        },
        // 6 huaixiao: a sly grin.
        [](QPainter& p) {
            HalfLidEyes(p, 0.5);
            Brows(p, 1.2, -1.2, 9.5);
            p.setPen(InkPen(1.7));
            QPainterPath grin;
            grin.moveTo(12, 22);
            grin.cubicTo(16, 26, 22, 25, 25, 19.5);
            p.setBrush(Qt::NoBrush);
            p.drawPath(grin);
        },
        // 7 xiaoku: smiling through tears.
        [](QPainter& p) {
            ClosedEyes(p);
            SmileMouth(p, 9, 22);
            p.setPen(Qt::NoPen);
            p.setBrush(kTear);
            p.drawRoundedRect(QRectF(10, 17, 3.5, 14), 1.7, 1.7);
            p.drawRoundedRect(QRectF(22.5, 17, 3.5, 14), 1.7, 1.7);
        },
        // 8 chanzui: drooling with heart-shaped longing.
        [](QPainter& p) {
            DotEyes(p, 0, -2.5, 2);
            OpenMouth(p, 11, 6, 21);
            p.setPen(Qt::NoPen);
            p.setBrush(kTear);
            QPainterPath drop;
            drop.moveTo(21, 25);
            drop.cubicTo(19, 29, 19.5, 31, 21.5, 31);
            drop.cubicTo(23.5, 31, 23.5, 29, 21, 25);
            p.drawPath(drop);
            Blush(p);
        },
        // 9 baibai: waving goodbye.
        [](QPainter& p) {
            ArchEyes(p);
            SmileMouth(p, 10, 21);
            Blush(p);
            Hand(p, QPointF(30, 25), 25);
            p.setPen(QPen(QColor(0xD9, 0x8E, 0x10), 1, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(28, 11, 7, 7), 0, 90 * 16);
        },
        // 10 youhengheng: a sulky look to the right.
        [](QPainter& p) {
            DotEyes(p, 2.5, 0, 2);
            Brows(p, 1.5, 1.5, 10);
            p.setPen(InkPen(1.6));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(16, 22, 8, 5), 30 * 16, 120 * 16);
            p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF, 220), 1.3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(27, 23), QPointF(32, 22));
            p.drawLine(QPointF(27.5, 26), QPointF(32, 27));
        },
        // 11 zhouma: cursing, the mouth blacked out.
        [](QPainter& p) {
            DotEyes(p, 0, 1, 2);
            Brows(p, 2, 2, 10.5);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x30, 0x20, 0x18));
            p.drawRoundedRect(QRectF(10, 21, 16, 7), 2, 2);
            p.setPen(QPen(QColor(0xFF, 0x5A, 0x4A), 1.2));
            p.drawLine(QPointF(12, 23), QPointF(15, 26));
            p.drawLine(QPointF(15, 23), QPointF(12, 26));
            p.setPen(QPen(QColor(0xFF, 0xE0, 0x40), 1.2));
            p.drawEllipse(QPointF(19, 24.5), 1.6, 1.6);
            p.setPen(QPen(QColor(0x7A, 0xD0, 0xFF), 1.2));
            p.drawLine(QPointF(23, 22.5), QPointF(23, 25));
            p.drawPoint(QPointF(23, 26.6));
        },
        // 12 ding: thumbs up.
        [](QPainter& p) {
            DotEyes(p);
            SmileMouth(p, 10, 21);
            p.setPen(QPen(QColor(0xD9, 0x8E, 0x10), 1));
            p.setBrush(kHand);
            p.drawRoundedRect(QRectF(24, 24, 9, 8), 2.5, 2.5);
            p.drawRoundedRect(QRectF(25.5, 17, 3.6, 9), 1.8, 1.8);
        },
        // 13 weixiao: a plain smile.
        [](QPainter& p) {
            DotEyes(p);
            SmileMouth(p, 12, 21);
            Blush(p);
        },
        // 14 touxiao: giggling behind a hand.
        [](QPainter& p) {
            ClosedEyes(p);
            Blush(p);
            Hand(p, QPointF(18, 26), 0);
        },
        // 15 tianping: licking the screen.
        [](QPainter& p) {
            DotEyes(p, 0, -1);
            p.setPen(Qt::NoPen);
            p.setBrush(kTongue);
            p.drawRoundedRect(QRectF(12.5, 20, 11, 14), 5.5, 5.5);
            p.setPen(QPen(QColor(0xC8, 0x40, 0x55), 1));
            p.drawLine(QPointF(18, 22), QPointF(18, 29));
            p.setPen(InkPen(1.6));
            p.drawLine(QPointF(10, 20.5), QPointF(26, 20.5));
        },
        // 16 qinqin: blowing a kiss.
        [](QPainter& p) {
            DotEyes(p, 0, 0, 2);
            Blush(p);
            p.setPen(InkPen(1.6));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(15, 19, 5, 4), 270 * 16, 180 * 16);
            p.drawArc(QRectF(15, 23, 5, 4), 270 * 16, 180 * 16);
            Heart(p, QPointF(28.5, 26), 8, QColor(0xF5, 0x3B, 0x57));
        },
        // 17 taikaixin: overjoyed.
        [](QPainter& p) {
            ArchEyes(p, 14);
            OpenMouth(p, 17, 10, 19.5);
            Blush(p);
        },
        // 18 huaxin: heart eyes.
        [](QPainter& p) {
            Heart(p, QPointF(12, 15), 9, QColor(0xF5, 0x3B, 0x57));
            Heart(p, QPointF(24, 15), 9, QColor(0xF5, 0x3B, 0x57));
            OpenMouth(p, 12, 7, 21.5);
        },
        // 19 bingbujiandan: "not that simple", one brow up.
        [](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(kInk);
            p.drawEllipse(QPointF(12.5, 16), 1.8, 1.8);
            p.drawEllipse(QPointF(23.5, 15), 2.2, 2.6);
            p.setPen(InkPen(1.5));
            p.drawLine(QPointF(9.5, 13), QPointF(15, 13.5));
            p.drawLine(QPointF(20.5, 10.5), QPointF(26.5, 8.5));
            p.drawLine(QPointF(13, 24), QPointF(23, 22));
        },
        // 20 heng: humph, turned away.
        [](QPainter& p) {
            HalfLidEyes(p, -2);
            Brows(p, 1.5, 1.5, 10);
            p.setPen(InkPen(1.7));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(11, 22, 10, 6), 20 * 16, 140 * 16);
        },
        // 21 wabi: picking its nose.
        [](QPainter& p) {
            HalfLidEyes(p);
            p.setPen(Qt::NoPen);
            p.setBrush(kInk);
            p.drawEllipse(QPointF(16, 20), 0.9, 1.1);
            p.setPen(InkPen(1.6));
            p.drawLine(QPointF(12, 26), QPointF(18, 26));
            Finger(p, QPointF(20, 18.5), 8);
        },
        // 22 xu: shush, a finger on the lips.
        [](QPainter& p) {
            DotEyes(p, -1, 0, 2);
            p.setPen(InkPen(1.6));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(18, 23.5), 2.6, 2);
            Finger(p, QPointF(18, 19), 7);
        },
        // 23 yinxian: a sinister grin under a dark brow.
        [](QPainter& p) {
            QLinearGradient shade(0, 3, 0, 17);
            shade.setColorAt(0, QColor(0x4A, 0x30, 0x70, 200));
            shade.setColorAt(1, QColor(0x4A, 0x30, 0x70, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(shade);
            p.drawChord(QRectF(2.5, 3, 31, 31), 0, 180 * 16);
            Brows(p, 2, 2, 11);
            HalfLidEyes(p);
            QPainterPath grin;
            grin.moveTo(9, 20);
            grin.quadTo(18, 31, 27, 20);
            grin.quadTo(18, 24, 9, 20);
            p.setPen(InkPen(1.2));
            p.setBrush(Qt::white);
            p.drawPath(grin);
        },
        // 24 xiaoerbuyu: smiling without a word.
        [](QPainter& p) {
            ClosedEyes(p);
            SmileMouth(p, 8, 22);
            Blush(p);
        },
    }};
    return painters;
}

}  // namespace

QImage EmoticonIcon(int index) {
    if (index < 0 || index >= kEmoticonCount)
        return {};
    QImage image(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
        case 0:
            Doge(p);
            break;
        case 1:
            Cat(p);
            break;
        case 2:
            Husky(p);
            break;
        default:
            YellowFace(p);
            FacePainters()[static_cast<std::size_t>(index - 3)](p);
            break;
    }
    return image;
}

}  // namespace vinylo::client

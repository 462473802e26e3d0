#include "ui/glyph_button.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "ui/flat_palette.h"

namespace vinylo::ui {
namespace {

void DrawPlay(QPainter& p, QPointF c, double s) {
    // Shifted right a little: a triangle looks centred by its area, not its box.
    const double shift = s * 0.07;
    const QPointF points[] = {{c.x() - s * 0.32 + shift, c.y() - s * 0.42},
                              {c.x() - s * 0.32 + shift, c.y() + s * 0.42},
                              {c.x() + s * 0.42 + shift, c.y()}};
    p.drawPolygon(points, 3);
}

void DrawPause(QPainter& p, QPointF c, double s) {
    const double barWidth = s * 0.26;
    const double gap = s * 0.24;
    const double height = s * 0.84;
    p.drawRoundedRect(QRectF(c.x() - gap / 2 - barWidth, c.y() - height / 2, barWidth, height), 1,
                      1);
    p.drawRoundedRect(QRectF(c.x() + gap / 2, c.y() - height / 2, barWidth, height), 1, 1);
}

void DrawStop(QPainter& p, QPointF c, double s) {
    const double side = s * 0.56;
    p.drawRoundedRect(QRectF(c.x() - side / 2, c.y() - side / 2, side, side), 1.5, 1.5);
}

// The speaker body with 0, 1 or 2 sound waves; `cross` draws an x for mute.
void DrawSpeaker(QPainter& p, QPointF c, double s, int waves, bool cross, const QColor& colour) {
    const double left = c.x() - s * 0.5;
    const QPointF body[] = {{left, c.y() - s * 0.17},
                            {left + s * 0.2, c.y() - s * 0.17},
                            {left + s * 0.45, c.y() - s * 0.42},
                            {left + s * 0.45, c.y() + s * 0.42},
                            {left + s * 0.2, c.y() + s * 0.17},
                            {left, c.y() + s * 0.17}};
    p.setPen(QPen(colour, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(colour);
    p.drawPolygon(body, 6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, std::max(1.4, s * 0.09), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF centre(left + s * 0.45, c.y());
    for (int i = 1; i <= waves; ++i) {
        const double r = s * (0.14 + 0.2 * i);
        p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
    }
    if (cross) {
        const double x = left + s * 0.78;
        const double d = s * 0.17;
        p.drawLine(QPointF(x - d, c.y() - d), QPointF(x + d, c.y() + d));
        p.drawLine(QPointF(x - d, c.y() + d), QPointF(x + d, c.y() - d));
    }
}

}  // namespace

GlyphButton::GlyphButton(Glyph glyph, Kind kind, QWidget* parent)
    : QAbstractButton(parent), glyph_(glyph), kind_(kind) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void GlyphButton::setGlyph(Glyph glyph) {
    if (glyph == glyph_)
        return;
    glyph_ = glyph;
    update();
}

QSize GlyphButton::sizeHint() const {
    return kind_ == Kind::Filled ? QSize(32, 32) : QSize(26, 26);
}

void GlyphButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void GlyphButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void GlyphButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double diameter = std::min(width(), height()) - 1.0;
    const QPointF centre(width() / 2.0, height() / 2.0);
    const QRectF circle(centre.x() - diameter / 2, centre.y() - diameter / 2, diameter, diameter);

    QColor glyphColour = QColor(palette::kGlyph);
    if (kind_ == Kind::Filled) {
        QColor fill = QColor(palette::kAccent);
        if (!isEnabled()) {
            fill = QColor(palette::kTrack);
        } else if (isDown()) {
            fill = QColor(palette::kAccentPressed);
        } else if (hovered_) {
            fill = QColor(palette::kAccentHover);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawEllipse(circle);
        glyphColour = Qt::white;
    } else {
        if (isEnabled() && (isDown() || hovered_)) {
            p.setPen(Qt::NoPen);
            p.setBrush(isDown() ? QColor(palette::kPressed) : QColor(palette::kHover));
            p.drawEllipse(circle);
        }
        if (!isEnabled())
            glyphColour = QColor(palette::kTextDisabled);
    }
    if (hasFocus()) {
        p.setPen(QPen(QColor(palette::kAccentHover), 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(circle.adjusted(0.5, 0.5, -0.5, -0.5));
    }

    double s = diameter * 0.42;
    if (kind_ == Kind::Plain)
        s = glyph_ == Glyph::Stop ? diameter * 0.58 : diameter * 0.66;
    p.setPen(QPen(glyphColour, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(glyphColour);
    switch (glyph_) {
        case Glyph::Play:
            DrawPlay(p, centre, s);
            break;
        case Glyph::Pause:
            DrawPause(p, centre, s);
            break;
        case Glyph::Stop:
            DrawStop(p, centre, s);
            break;
        case Glyph::Speaker:
            DrawSpeaker(p, centre, s, 2, false, glyphColour);
            break;
        case Glyph::SpeakerQuiet:
            DrawSpeaker(p, centre, s, 1, false, glyphColour);
            break;
        case Glyph::SpeakerMuted:
            DrawSpeaker(p, centre, s, 0, true, glyphColour);
            break;
        case Glyph::SpeakerMissing: {
            const QColor faded =
                isEnabled() ? QColor(palette::kTextMuted) : QColor(palette::kTextDisabled);
            DrawSpeaker(p, centre, s, 1, false, faded);
            p.setPen(QPen(faded, std::max(1.4, s * 0.09), Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(centre.x() - s * 0.5, centre.y() - s * 0.5),
                       QPointF(centre.x() + s * 0.5, centre.y() + s * 0.5));
            break;
        }
    }
}

}  // namespace vinylo::ui

#include "ui/glyph_button.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "ui/palette.h"

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
    : ImageButton(
          [this](QPainter& painter, const QRectF& rect, const ButtonLook& look) {
              PaintGlyphButton(painter, rect, look, glyph_, kind_);
          },
          parent),
      glyph_(glyph),
      kind_(kind) {
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

void PaintGlyphButton(QPainter& p, const QRectF& rect, const ButtonLook& look,
                      GlyphButton::Glyph glyph, GlyphButton::Kind kind) {
    using Glyph = GlyphButton::Glyph;
    const double diameter = std::min(rect.width(), rect.height()) - 1.0;
    const QPointF centre = rect.center();
    const QRectF circle(centre.x() - diameter / 2, centre.y() - diameter / 2, diameter, diameter);

    QColor glyphColour = palette::kAccentDark;
    if (kind == GlyphButton::Kind::Filled) {
        QColor fill = palette::kAccent;
        if (!look.enabled) {
            fill = palette::kDisabled;
        } else if (look.pressed) {
            fill = palette::kAccentDark;
        } else if (look.hovered) {
            fill = palette::kAccentLight;
        }
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawEllipse(circle);
        glyphColour = Qt::white;
    } else {
        if (look.enabled && (look.pressed || look.hovered)) {
            p.setPen(Qt::NoPen);
            p.setBrush(look.pressed ? palette::kSelection : palette::kHover);
            p.drawEllipse(circle);
        }
        if (!look.enabled)
            glyphColour = palette::kDisabled;
    }
    if (look.focused) {
        p.setPen(QPen(palette::kAccentLight, 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(circle.adjusted(0.5, 0.5, -0.5, -0.5));
    }

    double s = diameter * 0.42;
    if (kind == GlyphButton::Kind::Plain)
        s = glyph == Glyph::Stop ? diameter * 0.58 : diameter * 0.66;
    p.setPen(QPen(glyphColour, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(glyphColour);
    switch (glyph) {
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
            const QColor faded = look.enabled ? palette::kQuietText : palette::kDisabled;
            DrawSpeaker(p, centre, s, 1, false, faded);
            p.setPen(QPen(faded, std::max(1.4, s * 0.09), Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(centre.x() - s * 0.5, centre.y() - s * 0.5),
                       QPointF(centre.x() + s * 0.5, centre.y() + s * 0.5));
            break;
        }
    }
}

}  // namespace vinylo::ui

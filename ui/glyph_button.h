#pragma once

#include "ui/image_button.h"

namespace vinylo::ui {

// A round flat button that draws its own glyph: the filled kind is the
// accent-coloured main action, the plain kind shows a light circle on hover.
class GlyphButton : public ImageButton {
    Q_OBJECT

public:
    enum class Glyph { Play, Pause, Stop, Speaker, SpeakerQuiet, SpeakerMuted, SpeakerMissing };
    enum class Kind { Filled, Plain };

    GlyphButton(Glyph glyph, Kind kind, QWidget* parent = nullptr);

    Glyph glyph() const { return glyph_; }
    void setGlyph(Glyph glyph);

    QSize sizeHint() const override;

private:
    Glyph glyph_;
    Kind kind_;
};

// Paints a glyph button's face into `rect`.
void PaintGlyphButton(QPainter& painter, const QRectF& rect, const ButtonLook& look,
                      GlyphButton::Glyph glyph, GlyphButton::Kind kind);

}  // namespace vinylo::ui

#pragma once

#include <QAbstractButton>

namespace vinylo::ui {

// A round flat button that draws its own glyph: the filled kind is the
// accent-coloured main action, the plain kind shows a light circle on hover.
class GlyphButton : public QAbstractButton {
    Q_OBJECT

public:
    enum class Glyph { Play, Pause, Stop, Speaker, SpeakerQuiet, SpeakerMuted, SpeakerMissing };
    enum class Kind { Filled, Plain };

    GlyphButton(Glyph glyph, Kind kind, QWidget* parent = nullptr);

    Glyph glyph() const { return glyph_; }
    void setGlyph(Glyph glyph);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Glyph glyph_;
    Kind kind_;
    bool hovered_ = false;
};

}  // namespace vinylo::ui

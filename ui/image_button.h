#pragma once

#include <QAbstractButton>
#include <functional>

class QPainter;

namespace vinylo::ui {

// How a button looks at the moment it is painted.
struct ButtonLook {
    bool hovered = false;
    bool pressed = false;
    bool enabled = true;
    bool focused = false;
};

// Paints a button's face into `rect`.
using ButtonPainter = std::function<void(QPainter&, const QRectF& rect, const ButtonLook&)>;

// A button that is only a picture: the painter draws it in each state. It
// takes no keyboard focus unless given a focus policy.
class ImageButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit ImageButton(ButtonPainter painter, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    ButtonLook look() const;

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    ButtonPainter painter_;
    bool hovered_ = false;
};

// Title-bar glyphs, white on the dark title bar; the close button turns red
// under the mouse, as people expect.
void PaintMinimiseGlyph(QPainter& painter, const QRectF& rect, const ButtonLook& look);
void PaintCloseGlyph(QPainter& painter, const QRectF& rect, const ButtonLook& look);

}  // namespace vinylo::ui

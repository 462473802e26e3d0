#pragma once

#include <QColor>
#include <QWidget>

namespace vinylo::ui {

// A fixed-size top-level window without the system frame; it draws its own
// title area (see WindowDragger, ImageButton).
class FramelessWindow : public QWidget {
    Q_OBJECT

public:
    FramelessWindow(QSize size, QWidget* parent = nullptr);

    // Shows the window in its normal state, centred on its screen.
    void ShowNormalCentred();

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A plain filled area (a shape box of the design), optionally with a border
// along the part of it that lies inside its parent.
class ShapeBox : public QWidget {
    Q_OBJECT

public:
    explicit ShapeBox(QColor fill, QWidget* parent = nullptr);
    void SetBorderColour(QColor colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
    QColor border_;
};

}  // namespace vinylo::ui

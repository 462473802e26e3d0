#pragma once

#include <QAbstractSlider>

namespace vinylo::ui {

// A thin horizontal slider: a rounded track, the part up to the value in the
// accent colour, and a round handle. A press anywhere on it jumps there and
// drags from there (sliderMoved while held, sliderReleased at the end).
class FlatSlider : public QAbstractSlider {
    Q_OBJECT

public:
    explicit FlatSlider(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int valueAt(double x) const;
    double grooveLeft() const;
    double grooveRight() const;

    bool hovered_ = false;
};

}  // namespace vinylo::ui

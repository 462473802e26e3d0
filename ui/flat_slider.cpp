#include "ui/flat_slider.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/palette.h"

namespace vinylo::ui {
namespace {

constexpr double kTrackHeight = 4.0;
constexpr double kHandleRadius = 6.0;

}  // namespace

FlatSlider::FlatSlider(QWidget* parent) : QAbstractSlider(parent) {
    setOrientation(Qt::Horizontal);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

QSize FlatSlider::sizeHint() const {
    return QSize(120, 16);
}

double FlatSlider::grooveLeft() const {
    return kHandleRadius + 1;
}
double FlatSlider::grooveRight() const {
    return width() - kHandleRadius - 1;
}

int FlatSlider::valueAt(double x) const {
    const double span = std::max(1.0, grooveRight() - grooveLeft());
    const double fraction = std::clamp((x - grooveLeft()) / span, 0.0, 1.0);
    return minimum() + static_cast<int>(std::lround(fraction * (double(maximum()) - minimum())));
}

void FlatSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double cy = height() / 2.0;
    const double left = grooveLeft();
    const double right = grooveRight();
    const double range = double(maximum()) - minimum();
    const double fraction = range > 0 ? (double(sliderPosition()) - minimum()) / range : 0.0;
    const double x = left + fraction * (right - left);

    p.setPen(Qt::NoPen);
    p.setBrush(palette::kTrack);
    p.drawRoundedRect(QRectF(left, cy - kTrackHeight / 2, right - left, kTrackHeight),
                      kTrackHeight / 2, kTrackHeight / 2);
    if (!isEnabled())
        return;

    if (x > left) {
        p.setBrush(palette::kAccent);
        p.drawRoundedRect(QRectF(left, cy - kTrackHeight / 2, x - left, kTrackHeight),
                          kTrackHeight / 2, kTrackHeight / 2);
    }
    const bool active = hovered_ || isSliderDown() || hasFocus();
    const double r = active ? kHandleRadius : kHandleRadius - 1;
    p.setBrush(Qt::white);
    p.setPen(QPen(active ? palette::kAccent : palette::kAccentLight, 1.5));
    p.drawEllipse(QPointF(x, cy), r - 0.75, r - 0.75);
}

void FlatSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || maximum() <= minimum()) {
        event->ignore();
        return;
    }
    setSliderDown(true);
    setSliderPosition(valueAt(event->position().x()));
    event->accept();
}

void FlatSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!isSliderDown()) {
        event->ignore();
        return;
    }
    setSliderPosition(valueAt(event->position().x()));
    event->accept();
}

void FlatSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (!isSliderDown() || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setSliderPosition(valueAt(event->position().x()));
    setSliderDown(false);
    event->accept();
}

void FlatSlider::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractSlider::enterEvent(event);
}

void FlatSlider::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractSlider::leaveEvent(event);
}

}  // namespace vinylo::ui

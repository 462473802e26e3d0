#include "ui/frameless_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace vinylo::ui {

FramelessWindow::FramelessWindow(QSize size, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setFixedSize(size);
}

void FramelessWindow::ShowNormalCentred() {
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    if (QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(width() / 2, height() / 2));
    }
    showNormal();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        raise();
        activateWindow();
    }
}

void FramelessWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
}

ShapeBox::ShapeBox(QColor fill, QWidget* parent) : QWidget(parent), fill_(fill) {}

void ShapeBox::SetBorderColour(QColor colour) {
    border_ = colour;
    update();
}

void ShapeBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), fill_);
    if (!border_.isValid() || parentWidget() == nullptr)
        return;
    const QRect inside = rect().intersected(parentWidget()->rect().translated(-pos()));
    painter.setPen(border_);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(inside.adjusted(0, 0, -1, -1));
}

}  // namespace vinylo::ui

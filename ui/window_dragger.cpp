#include "ui/window_dragger.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace vinylo::ui {

WindowDragger* WindowDragger::Install(QWidget* handle) {
    return new WindowDragger(handle);
}

WindowDragger::WindowDragger(QWidget* handle) : QObject(handle), window_(handle->window()) {
    AddHandle(handle);
}

void WindowDragger::AddHandle(QWidget* widget) {
    widget->installEventFilter(this);
}

bool WindowDragger::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton)
                break;
            QWindow* handle = window_->windowHandle();
            if (handle != nullptr && handle->startSystemMove()) {
                return true;
            }
            dragging_ = true;
            grabOffset_ = mouse->globalPosition().toPoint() - window_->frameGeometry().topLeft();
            return true;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (dragging_ && (mouse->buttons() & Qt::LeftButton)) {
                window_->move(mouse->globalPosition().toPoint() - grabOffset_);
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && dragging_) {
                dragging_ = false;
                return true;
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vinylo::ui

#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace vinylo::ui {

// Lets the left mouse button drag a frameless window by one of its widgets
// (the title area and what sits on it). The window system moves the window
// where it can; elsewhere (offscreen, some X11 setups) we move it ourselves.
class WindowDragger : public QObject {
    Q_OBJECT

public:
    // Drags `handle`'s top-level window; owned by `handle`.
    static WindowDragger* Install(QWidget* handle);

    // Also drag by `widget` (a label or picture lying on the title area).
    void AddHandle(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit WindowDragger(QWidget* handle);

    QWidget* window_;
    bool dragging_ = false;
    QPoint grabOffset_;
};

}  // namespace vinylo::ui

#pragma once

#include <QPushButton>

namespace vinylo::ui {

// A push button in the skin's colours. The caption is drawn as designed:
// "\r\n" breaks the line and a caption wider than the button wraps, so a
// tall narrow button reads top to bottom. text() stays the designed caption.
class SkinButton : public QPushButton {
    Q_OBJECT

public:
    explicit SkinButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool hovered_ = false;
};

}  // namespace vinylo::ui

#include "platform/message_box.h"

#include <QMessageBox>

namespace vinylo::platform {
namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Warning: return QMessageBox::Warning;
        case MessageIcon::Error: return QMessageBox::Critical;
        case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void ShowMessageBox(QWidget* parent, const QString& text, const QString& caption,
                    MessageIcon icon, std::function<void()> onClosed) {
    MessageBoxRequest request{text, caption.isEmpty() ? QString::fromUtf16(kDefaultCaption) : caption,
                              icon};
    if (Handler()) {
        Handler()(request);
        if (onClosed) onClosed();
        return;
    }
    auto* box = new QMessageBox(ToQtIcon(icon), request.caption, request.text, QMessageBox::Ok,
                                parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    if (onClosed) {
        QObject::connect(box, &QMessageBox::finished, box, [onClosed](int) { onClosed(); });
    }
    box->open();
}

void SetMessageBoxHandler(MessageBoxHandler handler) { Handler() = std::move(handler); }

}  // namespace vinylo::platform

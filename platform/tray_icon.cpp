#include "platform/tray_icon.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace vinylo::platform {

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {}

TrayIcon::~TrayIcon() = default;

bool TrayIcon::IsSystemTrayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::Show(const QIcon& icon, const QString& tip, QMenu* menu) {
    if (!IsSystemTrayAvailable()) {
        return;
    }
    if (icon_ == nullptr) {
        icon_ = new QSystemTrayIcon(this);
        connect(icon_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger) {
                        emit leftClicked();
                    }
                });
    }
    icon_->setIcon(icon);
    icon_->setToolTip(tip);
    icon_->setContextMenu(menu);
    icon_->show();
}

bool TrayIcon::IsShown() const {
    return icon_ != nullptr && icon_->isVisible();
}

}  // namespace vinylo::platform

#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>

class QMenu;
class QSystemTrayIcon;

namespace vinylo::platform {

// The program's icon in the notification area. Many Linux desktops have no
// tray and the offscreen platform has none: then nothing is shown, and the
// window must stay reachable by other means (see IsAvailable).
class TrayIcon : public QObject {
    Q_OBJECT

public:
    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    static bool IsSystemTrayAvailable();

    // Shows the icon with its tip; `menu` opens on the right mouse button.
    // Does nothing when there is no tray.
    void Show(const QIcon& icon, const QString& tip, QMenu* menu);
    bool IsShown() const;

signals:
    void leftClicked();

private:
    QSystemTrayIcon* icon_ = nullptr;
};

}  // namespace vinylo::platform

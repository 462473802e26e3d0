#pragma once

#include <QPointer>
#include <memory>
#include <optional>

#include "ui/frameless_window.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTextEdit;

namespace vinylo::platform {
class Player;
class ServerSocket;
class TrayIcon;
}  // namespace vinylo::platform

namespace vinylo::ui {
class ImageButton;
class ReportList;
}  // namespace vinylo::ui

namespace vinylo::server {

class ChatLog;
class ConnectionRegistry;
class OperatorCommands;
class SongQueue;

struct ServerWindowOptions {
    // Bytes a slow peer may fall behind before it is disconnected.
    qint64 maxPendingBytes;
    // Whether minimising hides to the tray; unset: ask the system.
    std::optional<bool> trayAvailable;
    // What plays the songs, owned by the caller and outliving the window;
    // null when no media engine could be started (requests are then queued
    // but nothing plays).
    platform::Player* player = nullptr;
    // The period of the playback timer 时钟1.
    int playbackTickMs;

    ServerWindowOptions();
};

// The server's one window. Its controls are the server's state: every control
// carries its designed name as objectName and sits at its designed geometry.
// The window builds them and hands them to the components that own the
// behaviour: ConnectionRegistry, SongQueue and OperatorCommands.
class ServerWindow : public ui::FramelessWindow {
    Q_OBJECT

public:
    static constexpr QSize kSize{622, 496};

    explicit ServerWindow(ServerWindowOptions options = {}, QWidget* parent = nullptr);
    ~ServerWindow() override;

    platform::ServerSocket& serverSocket() const { return *socket_; }  // 服务器1
    ConnectionRegistry& registry() const { return *registry_; }
    ChatLog& chatLog() const { return *chatLog_; }
    SongQueue& queue() const { return *queue_; }
    OperatorCommands& operatorCommands() const { return *operatorCommands_; }
    platform::Player* player() const { return player_; }

    ui::ReportList* onlineUsers() const { return onlineUsers_; }  // 超级列表框1
    ui::ReportList* songQueue() const { return songQueue_; }      // 超级列表框2
    // The player's control bar; a plain panel when there is no player.
    QWidget* playerArea() const { return playerArea_; }                    // 播放器1
    QPushButton* clearQueueButton() const { return clearQueue_; }          // 清空
    QPushButton* deleteSelectedButton() const { return deleteSelected_; }  // 删除选中项
    QPushButton* cutSongButton() const { return cutSong_; }                // 切歌
    QPushButton* updateAnnouncementButton() const { return updateAnnouncement_; }  // 更新公告
    QPushButton* clearChatButton() const { return clearChat_; }                    // 清空对话
    QPushButton* sendMessageButton() const { return sendMessage_; }                // 发送信息
    QTextEdit* announcementEdit() const { return announcement_; }  // 超级编辑框1
    QTextEdit* chatLogEdit() const { return chatLogEdit_; }        // 超级编辑框2
    QTextEdit* operatorInput() const { return operatorInput_; }    // 超级编辑框3
    QTextEdit* operatorNameEdit() const { return operatorName_; }  // 超级编辑框4
    QLabel* nowPlayingLabel() const { return nowPlayingLabel_; }   // 透明标签2
    QLineEdit* nowPlayingEdit() const { return nowPlayingEdit_; }  // 编辑框1
    QLineEdit* coverEdit() const { return coverEdit_; }            // 歌曲封面
    QMenu* trayMenu() const { return trayMenu_; }                  // 菜单
    QMenu* kickMenu() const { return kickMenu_; }                  // 踢人: 踢出, 禁言, 解禁
    QAction* kickAction() const { return kick_; }
    QAction* muteAction() const { return mute_; }
    QAction* unmuteAction() const { return unmute_; }

    bool trayAvailable() const { return trayAvailable_; }

    // The left mouse button on the tray icon: hidden -> shown, centred;
    // shown -> hidden.
    void ToggleFromTray();

signals:
    // 关闭按钮 or 退出: the program ends at once.
    void quitRequested();

protected:
    // The first activation gives the window its drop shadow.
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTitleArea(QWidget* background);
    void BuildLists();
    void BuildAnnouncementColumn();
    void BuildBottomRow(QWidget* background);
    void BuildMenus();
    void BuildComponents(const ServerWindowOptions& options);
    void HideOrMinimise();

    bool trayAvailable_;
    bool shadowAttached_ = false;
    platform::Player* player_;
    platform::ServerSocket* socket_;
    platform::TrayIcon* tray_;
    QWidget* logo_ = nullptr;  // 图片框2
    ui::ReportList* onlineUsers_ = nullptr;
    ui::ReportList* songQueue_ = nullptr;
    QWidget* playerArea_ = nullptr;
    QPushButton* clearQueue_ = nullptr;
    QPushButton* deleteSelected_ = nullptr;
    QPushButton* cutSong_ = nullptr;
    QPushButton* updateAnnouncement_ = nullptr;
    QPushButton* clearChat_ = nullptr;
    QPushButton* sendMessage_ = nullptr;
    QTextEdit* announcement_ = nullptr;
    QTextEdit* chatLogEdit_ = nullptr;
    QTextEdit* operatorInput_ = nullptr;
    QTextEdit* operatorName_ = nullptr;
    QLabel* nowPlayingLabel_ = nullptr;
    QLineEdit* nowPlayingEdit_ = nullptr;
    QLineEdit* coverEdit_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    QMenu* kickMenu_ = nullptr;
    QAction* kick_ = nullptr;
    QAction* mute_ = nullptr;
    QAction* unmute_ = nullptr;
    std::unique_ptr<ChatLog> chatLog_;
    ConnectionRegistry* registry_ = nullptr;
    SongQueue* queue_ = nullptr;
    OperatorCommands* operatorCommands_ = nullptr;
};

}  // namespace vinylo::server

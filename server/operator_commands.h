#pragma once

#include <QObject>
#include <QTime>
#include <functional>
#include <string_view>

class QAction;
class QPushButton;
class QTextEdit;

namespace vinylo::ui {
class ReportList;
}

namespace vinylo::server {

class ChatLog;
class ConnectionRegistry;

// What the person at the server does from its window: chat under their own
// name, publish the announcement, clear the log, and kick, mute or unmute the
// user selected in the online-users list. The operator has no connection:
// their lines carry a fixed avatar and the address text "127.0.0.1:800".
class OperatorCommands : public QObject {
    Q_OBJECT

public:
    // Any picture the clients can fetch; it stands for the operator in the chat.
    static constexpr std::string_view kOperatorAvatarUrl =
        "https://q1.qlogo.cn/g?b=qq&nk=10000&s=100";

    struct Controls {
        QTextEdit* operatorName = nullptr;          // 超级编辑框4
        QTextEdit* operatorInput = nullptr;         // 超级编辑框3
        QTextEdit* announcement = nullptr;          // 超级编辑框1
        QPushButton* sendMessage = nullptr;         // 发送信息
        QPushButton* updateAnnouncement = nullptr;  // 更新公告
        QPushButton* clearChat = nullptr;           // 清空对话
        ui::ReportList* onlineUsers = nullptr;      // 超级列表框1
        QAction* kick = nullptr;                    // 踢出
        QAction* mute = nullptr;                    // 禁言
        QAction* unmute = nullptr;                  // 解禁
    };
    using Clock = std::function<QTime()>;

    OperatorCommands(Controls controls, ConnectionRegistry& registry, ChatLog& chatLog,
                     QObject* parent = nullptr);

    void SetClock(Clock clock);

    // 发送信息 and Enter in the input: the line to everyone and into the log
    // under a red header; an empty input only takes the focus.
    void SendOperatorLine();
    // 更新公告: the announcement to everyone, who show it as the room's title.
    void SendAnnouncement();
    // 清空对话
    void ClearChat();
    // The 踢人 menu, on the selected user; nothing without a selection.
    void KickSelected();
    void MuteSelected();
    void UnmuteSelected();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Controls controls_;
    ConnectionRegistry& registry_;
    ChatLog& chatLog_;
    Clock clock_;
};

}  // namespace vinylo::server

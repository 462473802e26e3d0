#include "server/operator_commands.h"

#include <QAction>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextEdit>

#include "platform/gbk_text.h"
#include "protocol/server_messages.h"
#include "protocol/wire_texts.h"
#include "server/chat_log.h"
#include "server/clock_text.h"
#include "server/connection_registry.h"
#include "ui/report_list.h"

namespace vinylo::server {
namespace {

// "<127.0.0.1:800>", where a client's line has its own address.
QString OperatorAddressText() {
    return QStringLiteral("<") + platform::FromGbk(protocol::wire::kOperatorAddress) +
           QStringLiteral(">");
}

}  // namespace

OperatorCommands::OperatorCommands(Controls controls, ConnectionRegistry& registry,
                                   ChatLog& chatLog, QObject* parent)
    : QObject(parent), controls_(controls), registry_(registry), chatLog_(chatLog), clock_([] {
          return QTime::currentTime();
      }) {
    connect(controls_.sendMessage, &QPushButton::clicked, this,
            &OperatorCommands::SendOperatorLine);
    connect(controls_.updateAnnouncement, &QPushButton::clicked, this,
            &OperatorCommands::SendAnnouncement);
    connect(controls_.clearChat, &QPushButton::clicked, this, &OperatorCommands::ClearChat);
    connect(controls_.kick, &QAction::triggered, this, &OperatorCommands::KickSelected);
    connect(controls_.mute, &QAction::triggered, this, &OperatorCommands::MuteSelected);
    connect(controls_.unmute, &QAction::triggered, this, &OperatorCommands::UnmuteSelected);
    controls_.operatorInput->installEventFilter(this);
}

void OperatorCommands::SetClock(Clock clock) {
    clock_ = std::move(clock);
}

void OperatorCommands::SendOperatorLine() {
    QTextEdit& input = *controls_.operatorInput;
    const QString text = input.toPlainText();
    if (text.isEmpty()) {
        input.setFocus(Qt::OtherFocusReason);
        return;
    }
    const QString name = controls_.operatorName->toPlainText();
    // Exactly as typed: markers and separators in the text are not touched.
    registry_.BroadcastToAll(protocol::BuildChatLine({
        .avatarUrl = std::string(kOperatorAvatarUrl),
        .nickname = platform::ToGbk(name),
        .address = std::string(protocol::wire::kOperatorAddress),
        .text = platform::ToGbk(text),
    }));
    chatLog_.AppendChatLog(
        name + OperatorAddressText() + ClockTimeText(clock_()) + QLatin1Char(':'),
        ChatLog::kOperatorHeaderColour, text);
    input.clear();
    input.setFocus(Qt::OtherFocusReason);
}

void OperatorCommands::SendAnnouncement() {
    registry_.BroadcastToAll(
        protocol::BuildAnnouncement(platform::ToGbk(controls_.announcement->toPlainText())));
}

void OperatorCommands::ClearChat() {
    chatLog_.Clear();
}

void OperatorCommands::KickSelected() {
    const int row = controls_.onlineUsers->SelectedRow();
    if (row < 0)
        return;
    registry_.Disconnect(registry_.AddressOfRow(row));
}

void OperatorCommands::MuteSelected() {
    const int row = controls_.onlineUsers->SelectedRow();
    if (row < 0)
        return;
    registry_.SendToClient(registry_.AddressOfRow(row), protocol::BuildMuted());
    controls_.onlineUsers->SetCellText(row, ConnectionRegistry::kStateColumn,
                                       ConnectionRegistry::MutedState());
}

void OperatorCommands::UnmuteSelected() {
    const int row = controls_.onlineUsers->SelectedRow();
    if (row < 0)
        return;
    registry_.SendToClient(registry_.AddressOfRow(row), protocol::BuildUnmuted());
    controls_.onlineUsers->SetCellText(row, ConnectionRegistry::kStateColumn,
                                       ConnectionRegistry::NormalState());
}

bool OperatorCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == controls_.operatorInput && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Taken here: the line goes out and no line break is left behind.
            SendOperatorLine();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vinylo::server

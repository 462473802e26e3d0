#include "server/server_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTextEdit>
#include <QTimer>

#include "platform/player.h"
#include "platform/server_socket.h"
#include "platform/tray_icon.h"
#include "server/chat_log.h"
#include "server/connection_registry.h"
#include "server/operator_commands.h"
#include "server/song_queue.h"
#include "ui/image_button.h"
#include "ui/palette.h"
#include "ui/player_control_bar.h"
#include "ui/report_list.h"
#include "ui/skin.h"
#include "ui/skin_button.h"
#include "ui/window_dragger.h"
#include "ui/window_shadow.h"

namespace vinylo::server {
namespace {

template <typename Widget>
Widget* Placed(Widget* widget, const QString& name, QRect geometry) {
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QTextEdit* RichEdit(QWidget* parent, const QString& name, QRect geometry, const QString& text) {
    auto* edit = Placed(new QTextEdit(parent), name, geometry);
    edit->setAcceptRichText(false);
    edit->setPlainText(text);
    return edit;
}

QLabel* TransparentLabel(QWidget* parent, const QString& name, QRect geometry,
                         const QString& text) {
    auto* label = Placed(new QLabel(text, parent), name, geometry);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

const QString& TrayTip() {
    static const QString tip = QStringLiteral("局域网点歌服务端！");
    return tip;
}

}  // namespace

ServerWindowOptions::ServerWindowOptions()
    : maxPendingBytes(platform::ServerSocket::kDefaultMaxPendingBytes),
      playbackTickMs(SongQueue::kTickIntervalMs) {}

ServerWindow::ServerWindow(ServerWindowOptions options, QWidget* parent)
    : FramelessWindow(kSize, parent),
      trayAvailable_(options.trayAvailable.value_or(platform::TrayIcon::IsSystemTrayAvailable())),
      player_(options.player),
      socket_(new platform::ServerSocket(this, options.maxPendingBytes)),
      tray_(new platform::TrayIcon(this)) {
    setWindowTitle(QStringLiteral("Vinylo服务端"));
    setWindowIcon(ui::skin::ProgramIcon());
    setFont(ui::skin::ControlFont());
    setStyleSheet(ui::skin::ControlStyleSheet());
    socket_->setObjectName(QStringLiteral("服务器1"));

    auto* background =
        Placed(new ui::ShapeBox(Qt::white, this), QStringLiteral("外形框1"), QRect(0, 0, 625, 528));
    background->SetBorderColour(ui::palette::kWindowBorder);
    BuildTitleArea(background);
    BuildLists();
    BuildAnnouncementColumn();
    BuildBottomRow(background);
    BuildMenus();

    BuildComponents(options);

    if (trayAvailable_) {
        tray_->Show(ui::skin::ProgramIcon(), TrayTip(), trayMenu_);
    }
    connect(tray_, &platform::TrayIcon::leftClicked, this, &ServerWindow::ToggleFromTray);
}

ServerWindow::~ServerWindow() = default;

void ServerWindow::BuildComponents(const ServerWindowOptions& options) {
    chatLog_ = std::make_unique<ChatLog>(chatLogEdit_);
    registry_ = new ConnectionRegistry(*socket_, *onlineUsers_, *chatLog_, operatorInput_, this);
    // 时钟1 starts with the window.
    queue_ = new SongQueue(
        SongQueue::Controls{
            .queue = songQueue_,
            .nowPlayingLabel = nowPlayingLabel_,
            .nowPlayingEdit = nowPlayingEdit_,
            .coverEdit = coverEdit_,
            .cutSongButton = cutSong_,
            .deleteSelected = deleteSelected_,
            .clearQueueButton = clearQueue_,
        },
        player_, [this](std::string_view message) { registry_->BroadcastToAll(message); },
        options.playbackTickMs, this);
    registry_->SetSongQueueHandler(
        [this](protocol::ClientKind kind, const std::string& payload, const QString& address) {
            queue_->HandleMessage(kind, payload, address);
        });
    operatorCommands_ = new OperatorCommands(
        OperatorCommands::Controls{
            .operatorName = operatorName_,
            .operatorInput = operatorInput_,
            .announcement = announcement_,
            .sendMessage = sendMessage_,
            .updateAnnouncement = updateAnnouncement_,
            .clearChat = clearChat_,
            .onlineUsers = onlineUsers_,
            .kick = kick_,
            .mute = mute_,
            .unmute = unmute_,
        },
        *registry_, *chatLog_, this);
}

void ServerWindow::BuildTitleArea(QWidget* background) {
    auto* titleArea =
        Placed(new QLabel(background), QStringLiteral("图片框1"), QRect(0, 0, 625, 168));
    titleArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    titleArea->setPixmap(QPixmap::fromImage(ui::skin::TitleBarImage(QSize(625, 49))));

    auto* logo = Placed(new QLabel(titleArea), QStringLiteral("图片框2"), QRect(15, 15, 24, 24));
    logo->setPixmap(QPixmap::fromImage(ui::skin::LogoImage(24)));
    logo->installEventFilter(this);
    logo_ = logo;

    auto* title = TransparentLabel(titleArea, QStringLiteral("透明标签1"), QRect(47, 14, 121, 24),
                                   QStringLiteral("Vinylo服务端"));
    title->setFont(ui::skin::TitleFont());
    title->setStyleSheet(QStringLiteral("color: white;"));

    ui::WindowDragger* dragger = ui::WindowDragger::Install(titleArea);
    dragger->AddHandle(logo);
    dragger->AddHandle(title);

    auto* minimise = Placed(new ui::ImageButton(ui::PaintMinimiseGlyph, this),
                            QStringLiteral("最小化按钮"), QRect(536, 5, 40, 40));
    minimise->setToolTip(QStringLiteral("最小化"));
    connect(minimise, &QAbstractButton::clicked, this, [this] { showMinimized(); });
    auto* close = Placed(new ui::ImageButton(ui::PaintCloseGlyph, this), QStringLiteral("关闭按钮"),
                         QRect(576, 5, 40, 40));
    close->setToolTip(QStringLiteral("关闭"));
    connect(close, &QAbstractButton::clicked, this, &ServerWindow::quitRequested);
}

void ServerWindow::BuildLists() {
    onlineUsers_ = Placed(new ui::ReportList(ConnectionRegistry::Columns(), this),
                          QStringLiteral("超级列表框1"), QRect(10, 65, 376, 169));
    songQueue_ = Placed(new ui::ReportList(SongQueue::Columns(), this),
                        QStringLiteral("超级列表框2"), QRect(10, 238, 374, 162));
}

void ServerWindow::BuildAnnouncementColumn() {
    Placed(new QGroupBox(QStringLiteral("公告"), this), QStringLiteral("分组框1"),
           QRect(399, 59, 216, 341));
    announcement_ = RichEdit(this, QStringLiteral("超级编辑框1"), QRect(408, 73, 200, 55),
                             QStringLiteral("软件使用请看说明书！"));
    updateAnnouncement_ = Placed(new ui::SkinButton(QStringLiteral("更新聊天标题"), this),
                                 QStringLiteral("更新公告"), QRect(408, 128, 200, 40));
    chatLogEdit_ = RichEdit(this, QStringLiteral("超级编辑框2"), QRect(408, 170, 176, 148), {});
    chatLogEdit_->setReadOnly(true);
    chatLogEdit_->setFont(ChatLog::LogFont());
    clearChat_ = Placed(new ui::SkinButton(QStringLiteral("清空对话"), this),
                        QStringLiteral("清空对话"), QRect(584, 170, 23, 146));
    operatorName_ = RichEdit(this, QStringLiteral("超级编辑框4"), QRect(409, 321, 112, 24),
                             QStringLiteral("管理员"));
    operatorName_->setLineWrapMode(QTextEdit::NoWrap);
    operatorName_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    operatorName_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    operatorName_->document()->setDocumentMargin(2);
    operatorInput_ = RichEdit(this, QStringLiteral("超级编辑框3"), QRect(409, 353, 112, 40), {});
    operatorInput_->document()->setDocumentMargin(2);
    sendMessage_ = Placed(new ui::SkinButton(QStringLiteral("发送信息\r\n(ENTER)"), this),
                          QStringLiteral("发送信息"), QRect(529, 321, 76, 70));
}

void ServerWindow::BuildBottomRow(QWidget* background) {
    const QRect playerGeometry(8, 406, ui::PlayerControlBar::kWidth, ui::PlayerControlBar::kHeight);
    if (player_ != nullptr) {
        playerArea_ = Placed(new ui::PlayerControlBar(*player_, this), QStringLiteral("播放器1"),
                             playerGeometry);
    } else {
        auto* unavailable = Placed(new QLabel(QStringLiteral("播放器不可用"), this),
                                   QStringLiteral("播放器1"), playerGeometry);
        unavailable->setAlignment(Qt::AlignCenter);
        unavailable->setStyleSheet(ui::skin::PanelStyleSheet(QStringLiteral("QLabel#播放器1")));
        playerArea_ = unavailable;
    }
    clearQueue_ = Placed(new ui::SkinButton(QStringLiteral("清空"), this), QStringLiteral("清空"),
                         QRect(364, 406, 76, 62));
    deleteSelected_ = Placed(new ui::SkinButton(QStringLiteral("删除选中项"), this),
                             QStringLiteral("删除选中项"), QRect(451, 406, 76, 62));
    cutSong_ = Placed(new ui::SkinButton(QStringLiteral("切歌"), this), QStringLiteral("切歌"),
                      QRect(538, 406, 76, 62));

    nowPlayingLabel_ =
        TransparentLabel(background, QStringLiteral("透明标签2"), QRect(10, 470, 344, 24),
                         QStringLiteral("♪ 欢迎使用 Vinylo 点歌服务端，等待第一首点歌"));
    nowPlayingLabel_->setStyleSheet(ui::skin::TextColourStyle(ui::palette::kAccentDark));
    auto* version = TransparentLabel(this, QStringLiteral("透明标签3"), QRect(498, 470, 115, 24),
                                     QStringLiteral("Vinylo服务端V3.0"));
    version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    version->setStyleSheet(ui::skin::TextColourStyle(ui::palette::kQuietText));

    // Off the visible area, as designed: they carry the latest notices.
    nowPlayingEdit_ =
        Placed(new QLineEdit(background), QStringLiteral("编辑框1"), QRect(11, 506, 189, 24));
    coverEdit_ = Placed(new QLineEdit(this), QStringLiteral("歌曲封面"), QRect(192, 584, 189, 24));
}

void ServerWindow::BuildMenus() {
    trayMenu_ = new QMenu(this);
    trayMenu_->setObjectName(QStringLiteral("菜单"));
    QAction* show = trayMenu_->addAction(QStringLiteral("显示"));
    show->setObjectName(QStringLiteral("显示"));
    QAction* hide = trayMenu_->addAction(QStringLiteral("隐藏"));
    hide->setObjectName(QStringLiteral("隐藏"));
    QAction* quit = trayMenu_->addAction(QStringLiteral("退出"));
    quit->setObjectName(QStringLiteral("退出"));
    connect(show, &QAction::triggered, this, &ServerWindow::ShowNormalCentred);
    connect(hide, &QAction::triggered, this, &ServerWindow::HideOrMinimise);
    connect(quit, &QAction::triggered, this, &ServerWindow::quitRequested);

    kickMenu_ = new QMenu(this);
    kickMenu_->setObjectName(QStringLiteral("踢人"));
    kick_ = kickMenu_->addAction(QStringLiteral("踢出"));
    kick_->setObjectName(QStringLiteral("踢出"));
    mute_ = kickMenu_->addAction(QStringLiteral("禁言"));
    mute_->setObjectName(QStringLiteral("禁言"));
    unmute_ = kickMenu_->addAction(QStringLiteral("解禁"));
    unmute_->setObjectName(QStringLiteral("解禁"));
    connect(onlineUsers_, &ui::ReportList::rightButtonPressed, kickMenu_,
            [this](const QPoint& at) { kickMenu_->popup(at); });
}

void ServerWindow::ToggleFromTray() {
    if (isHidden()) {
        ShowNormalCentred();
    } else {
        hide();
    }
}

void ServerWindow::HideOrMinimise() {
    // Without a tray a hidden window could never be brought back.
    if (trayAvailable_) {
        hide();
    } else {
        showMinimized();
    }
}

void ServerWindow::changeEvent(QEvent* event) {
    FramelessWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !shadowAttached_) {
        shadowAttached_ = true;
        ui::SetWindowShadow(this, QColor(128, 128, 128));
        update();
    }
    if (event->type() == QEvent::WindowStateChange && isMinimized() && trayAvailable_) {
        // Hidden after the state change has settled; the tray brings it back.
        QTimer::singleShot(0, this, [this] {
            if (isMinimized())
                hide();
        });
    }
}

void ServerWindow::closeEvent(QCloseEvent* event) {
    // Closed by the window system (a keyboard shortcut, the task bar): the
    // same as 关闭按钮.
    event->accept();
    emit quitRequested();
}

bool ServerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == logo_ && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            trayMenu_->popup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return FramelessWindow::eventFilter(watched, event);
}

}  // namespace vinylo::server

#include "client/chatview/emoticon_picker.h"

#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "client/chatview/emoticon_icons.h"
#include "platform/gbk_text.h"
#include "platform/message_box.h"
#include "protocol/client_messages.h"
#include "ui/window_shadow.h"

namespace vinylo::client {
namespace {

constexpr int kCell = 40;

QPixmap CrossPixmap(const QColor& colour) {
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(1.5, 1.5), QPointF(10.5, 10.5));
    p.drawLine(QPointF(10.5, 1.5), QPointF(1.5, 10.5));
    return pixmap;
}

const char kTabStyle[] = R"(
QTabWidget::pane { border: none; border-top: 1px solid #E4E4E4; background: #FFFFFF; top: -1px; }
QTabBar::tab { color: #555555; background: transparent; padding: 5px 12px 4px 12px;
               border: none; border-bottom: 2px solid transparent; }
QTabBar::tab:selected { color: #222222; border-bottom: 2px solid #5CB85C; }
QListWidget { border: none; background: #FFFFFF; outline: none; }
QListWidget::item { border-radius: 4px; }
QListWidget::item:hover { background: #EEF7E9; }
QListWidget::item:selected { background: #DDEFD3; }
QScrollBar:vertical { width: 8px; background: transparent; margin: 2px 1px 2px 0px; }
QScrollBar::handle:vertical { background: #D4D4D4; border-radius: 3px; min-height: 24px; }
QScrollBar::handle:vertical:hover { background: #B8B8B8; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0px; }
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }
)";

const char kBarStyle[] = R"(
QFrame { background: #F6F6F6; border-top: 1px solid #E4E4E4; }
QPushButton { color: #444444; background: transparent; border: none; }
QPushButton:hover { color: #111111; background: #E8E8E8; }
QToolButton { background: transparent; border: none; }
QToolButton:hover { background: #E81123; }
)";

}  // namespace

EmoticonPicker::EmoticonPicker(QWidget* mainWindow, Services services, std::string host)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint),
      services_(std::move(services)),
      host_(std::move(host)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    BuildTabs();
    BuildBottomBar();
    if (mainWindow)
        move(mainWindow->frameGeometry().topLeft() + kOffset);
    // A frameless window on a white chat page needs an edge: the same soft
    // outline the main window has.
    ui::SetWindowShadow(this, QColor(208, 208, 208), 2);
}

void EmoticonPicker::BuildTabs() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral(u"选择夹1"));
    tabs_->setGeometry(0, 0, kWidth, 160);
    tabs_->setStyleSheet(QString::fromLatin1(kTabStyle));
    tabs_->setDocumentMode(true);

    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    auto* shape = new QFrame(page);
    shape->setObjectName(QStringLiteral(u"外形框1"));
    pageLayout->addWidget(shape);
    auto* shapeLayout = new QVBoxLayout(shape);
    shapeLayout->setContentsMargins(1, 1, 1, 1);

    list_ = new QListWidget(shape);
    list_->setObjectName(QStringLiteral(u"超级列表框1"));
    list_->setViewMode(QListView::IconMode);
    list_->setMovement(QListView::Static);
    list_->setResizeMode(QListView::Adjust);
    list_->setIconSize(QSize(36, 36));
    list_->setGridSize(QSize(kCell, kCell));
    list_->setSpacing(0);
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list_->verticalScrollBar()->setSingleStep(kCell / 2);
    list_->setCursor(Qt::PointingHandCursor);
    for (int i = 0; i < kEmoticonCount; ++i) {
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(EmoticonIcon(i))), QString());
        item->setSizeHint(QSize(kCell, kCell));
        list_->addItem(item);
    }
    list_->setCurrentRow(-1);
    list_->installEventFilter(this);
    connect(list_, &QListWidget::itemClicked, this, [this] { Pick(); });
    shapeLayout->addWidget(list_);

    tabs_->addTab(page, QStringLiteral(u"第一组表情"));
}

void EmoticonPicker::BuildBottomBar() {
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral(u"图片框1"));
    bar->setGeometry(-1, 159, kWidth, 26);
    bar->setStyleSheet(QString::fromLatin1(kBarStyle));

    auto* defaults = new QPushButton(QStringLiteral(u"默认"), bar);
    defaults->setObjectName(QStringLiteral(u"超级按钮1"));
    defaults->setGeometry(2, 0, 48, 26);
    defaults->setCursor(Qt::PointingHandCursor);
    connect(defaults, &QPushButton::clicked, this, [this] { tabs_->setCurrentIndex(0); });

    auto* closeButton = new QToolButton(bar);
    closeButton->setObjectName(QStringLiteral(u"按钮1"));
    closeButton->setGeometry(264, 0, 34, 26);
    QIcon cross;
    cross.addPixmap(CrossPixmap(QColor(0x70, 0x70, 0x70)), QIcon::Normal);
    cross.addPixmap(CrossPixmap(Qt::white), QIcon::Active);
    closeButton->setIcon(cross);
    closeButton->setIconSize(QSize(12, 12));
    closeButton->setAutoRaise(true);
    connect(closeButton, &QToolButton::clicked, this, &QWidget::close);
}

void EmoticonPicker::Pick() {
    const int row = list_->currentRow();
    if (row < 0 || row >= kEmoticonCount)
        return;
    const protocol::PictureShareFields fields{
        EmoticonAddress(row, host_),
        platform::ToGbk(services_.avatarUrl ? services_.avatarUrl() : QString()),
        platform::ToGbk(services_.nickname ? services_.nickname() : QString()),
    };
    const std::string message = protocol::BuildPictureShare(fields);
    if (!services_.send || !services_.send(message)) {
        platform::ShowMessageBox(this, QStringLiteral(u"发送失败！"), QStringLiteral(u"错误！"),
                                 platform::MessageIcon::Error);
        return;
    }
    close();
}

bool EmoticonPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Pick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EmoticonPicker::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace vinylo::client

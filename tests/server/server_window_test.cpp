#include "server/server_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

#include "platform/fake_player.h"
#include "ui/player_control_bar.h"
#include "ui/report_list.h"
#include "ui/window_shadow.h"

namespace vinylo::server {
namespace {

struct Placement {
    const char* name;
    QRect geometry;       // in the window's coordinates
    const char* caption;  // "" when the control shows no caption
};

// The designed layout; positions inside 图片框1 are given in the window's
// coordinates too (图片框1 sits at 0, 0).
const Placement kPlacements[] = {
    {"外形框1", {0, 0, 625, 528}, ""},
    {"图片框1", {0, 0, 625, 168}, ""},
    {"图片框2", {15, 15, 24, 24}, ""},
    {"透明标签1", {47, 14, 121, 24}, "Vinylo服务端"},
    {"最小化按钮", {536, 5, 40, 40}, ""},
    {"关闭按钮", {576, 5, 40, 40}, ""},
    {"超级列表框1", {10, 65, 376, 169}, ""},
    {"超级列表框2", {10, 238, 374, 162}, ""},
    {"播放器1", {8, 406, 344, 62}, ""},
    {"清空", {364, 406, 76, 62}, "清空"},
    {"删除选中项", {451, 406, 76, 62}, "删除选中项"},
    {"切歌", {538, 406, 76, 62}, "切歌"},
    {"分组框1", {399, 59, 216, 341}, "公告"},
    {"超级编辑框1", {408, 73, 200, 55}, "软件使用请看说明书！"},
    {"更新公告", {408, 128, 200, 40}, "更新聊天标题"},
    {"超级编辑框2", {408, 170, 176, 148}, ""},
    {"清空对话", {584, 170, 23, 146}, "清空对话"},
    {"超级编辑框4", {409, 321, 112, 24}, "管理员"},
    {"超级编辑框3", {409, 353, 112, 40}, ""},
    {"发送信息", {529, 321, 76, 70}, "发送信息\r\n(ENTER)"},
    {"透明标签2", {10, 470, 344, 24}, nullptr},
    {"透明标签3", {498, 470, 115, 24}, "Vinylo服务端V3.0"},
    {"编辑框1", {11, 506, 189, 24}, ""},
    {"歌曲封面", {192, 584, 189, 24}, ""},
};

QString CaptionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* edit = qobject_cast<QTextEdit*>(widget))
        return edit->toPlainText();
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return line->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title();
    return {};
}

ServerWindowOptions WithTray(bool available) {
    ServerWindowOptions options;
    options.trayAvailable = available;
    return options;
}

TEST(ServerWindowTest, PlacesEveryControlAtItsDesignedGeometryWithItsCaption) {
    platform::FakePlayer player;
    ServerWindowOptions options = WithTray(false);
    options.player = &player;
    ServerWindow window(options);
    EXPECT_NE(qobject_cast<ui::PlayerControlBar*>(window.playerArea()), nullptr);
    EXPECT_EQ(window.size(), QSize(622, 496));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vinylo服务端"));
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.name);
        auto* widget = window.findChild<QWidget*>(QString::fromUtf8(p.name));
        ASSERT_NE(widget, nullptr);
        const QRect inWindow(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        EXPECT_EQ(inWindow, p.geometry);
        if (p.caption != nullptr) {
            EXPECT_EQ(CaptionOf(widget), QString::fromUtf8(p.caption));
        }
    }
    EXPECT_FALSE(window.nowPlayingLabel()->text().isEmpty());  // a welcome line
    EXPECT_NE(window.findChild<QObject*>(QStringLiteral("服务器1")), nullptr);
}

TEST(ServerWindowTest, CaptionsButtonsInMicrosoftYaHeiThirteenPixels) {
    ServerWindow window(WithTray(false));
    for (const char* name : {"清空", "删除选中项", "切歌", "更新公告", "清空对话", "发送信息"}) {
        SCOPED_TRACE(name);
        auto* button = window.findChild<QPushButton*>(QString::fromUtf8(name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->font().families().value(0), QStringLiteral("微软雅黑"));
        EXPECT_EQ(button->font().pixelSize(), 13);
        EXPECT_EQ(button->font().weight(), QFont::Normal);
    }
}

TEST(ServerWindowTest, ListsHaveTheirDesignedColumnsLeftAligned) {
    ServerWindow window(WithTray(false));
    const struct {
        ui::ReportList* list;
        std::vector<std::pair<const char*, int>> columns;
    } lists[] = {
        {window.onlineUsers(),
         {{"用户", 52}, {"IP地址", 100}, {"端口", 45}, {"登陆时间", 120}, {"状态", 50}}},
        {window.songQueue(),
         {{"点歌用户", 80},
          {"歌曲名称", 150},
          {"歌手名称", 150},
          {"歌曲地址", 529},
          {"歌曲封面", 150}}},
    };
    for (const auto& l : lists) {
        ASSERT_EQ(l.list->columnCount(), static_cast<int>(l.columns.size()));
        for (int i = 0; i < l.list->columnCount(); ++i) {
            EXPECT_EQ(l.list->headerItem()->text(i), QString::fromUtf8(l.columns[size_t(i)].first));
            EXPECT_EQ(l.list->columnWidth(i), l.columns[size_t(i)].second);
            EXPECT_TRUE(l.list->headerItem()->textAlignment(i) & Qt::AlignLeft);
        }
        EXPECT_EQ(l.list->RowCount(), 0);
    }
}

TEST(ServerWindowTest, ReportListReadsEmptyAndIgnoresWritesOutOfRange) {
    ui::ReportList list({{QStringLiteral("a"), 10}, {QStringLiteral("b"), 10}});
    EXPECT_EQ(list.AppendRow(), 0);
    EXPECT_EQ(list.AppendRow(), 1);
    list.SetCellText(1, 1, QStringLiteral("x"));
    list.SetCellText(2, 0, QStringLiteral("ignored"));
    list.SetCellText(0, 5, QStringLiteral("ignored"));
    EXPECT_EQ(list.CellText(1, 1), QStringLiteral("x"));
    EXPECT_EQ(list.CellText(-1, 0), QString());
    EXPECT_EQ(list.CellText(0, 2), QString());
    EXPECT_EQ(list.SelectedRow(), -1);
    list.topLevelItem(1)->setSelected(true);
    EXPECT_EQ(list.SelectedRow(), 1);
    list.DeleteRow(7);
    EXPECT_EQ(list.RowCount(), 2);
    list.DeleteRow(0);
    EXPECT_EQ(list.CellText(0, 1), QStringLiteral("x"));
    list.DeleteAllRows();
    EXPECT_EQ(list.RowCount(), 0);
}

TEST(ServerWindowTest, HasItsMenusWithTheirItemsInOrder) {
    ServerWindow window(WithTray(false));
    auto names = [](QMenu* menu) {
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << action->text();
        return texts;
    };
    EXPECT_EQ(window.trayMenu()->objectName(), QStringLiteral("菜单"));
    EXPECT_EQ(names(window.trayMenu()), (QStringList{QStringLiteral("显示"), QStringLiteral("隐藏"),
                                                     QStringLiteral("退出")}));
    EXPECT_EQ(window.kickMenu()->objectName(), QStringLiteral("踢人"));
    EXPECT_EQ(names(window.kickMenu()), (QStringList{QStringLiteral("踢出"), QStringLiteral("禁言"),
                                                     QStringLiteral("解禁")}));
}

TEST(ServerWindowTest, RightButtonOnTheLogoAndTheUserListOpensTheirMenus) {
    ServerWindow window(WithTray(false));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mousePress(window.findChild<QWidget*>(QStringLiteral("图片框2")), Qt::RightButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.trayMenu()->isVisible(); }, 5000));
    window.trayMenu()->hide();
    QTest::mousePress(window.onlineUsers()->viewport(), Qt::RightButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.kickMenu()->isVisible(); }, 5000));
    window.kickMenu()->hide();
}

TEST(ServerWindowTest, MinimisingHidesToTheTrayOnlyWhenThereIsOne) {
    for (const bool tray : {true, false}) {
        SCOPED_TRACE(tray ? "with a tray" : "without a tray");
        ServerWindow window(WithTray(tray));
        window.ShowNormalCentred();
        QTest::mouseClick(window.findChild<QAbstractButton*>(QStringLiteral("最小化按钮")),
                          Qt::LeftButton);
        if (tray) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return window.isHidden(); }, 5000));
            window.ToggleFromTray();
            EXPECT_TRUE(window.isVisible());
            EXPECT_FALSE(window.isMinimized());
            window.ToggleFromTray();
            EXPECT_TRUE(window.isHidden());
        } else {
            EXPECT_TRUE(window.isMinimized());
            QTest::qWait(50);
            EXPECT_TRUE(window.isVisible());
        }
    }
}

TEST(ServerWindowTest, HideMenuItemKeepsTheWindowReachableWithoutATray) {
    ServerWindow window(WithTray(false));
    window.ShowNormalCentred();
    window.findChild<QAction*>(QStringLiteral("隐藏"))->trigger();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
    window.findChild<QAction*>(QStringLiteral("显示"))->trigger();
    EXPECT_FALSE(window.isMinimized());

    ServerWindow withTray(WithTray(true));
    withTray.ShowNormalCentred();
    withTray.findChild<QAction*>(QStringLiteral("隐藏"))->trigger();
    EXPECT_TRUE(withTray.isHidden());
    withTray.findChild<QAction*>(QStringLiteral("显示"))->trigger();
    EXPECT_TRUE(withTray.isVisible());
}

TEST(ServerWindowTest, CloseButtonAndExitEndTheProgram) {
    ServerWindow window(WithTray(false));
    window.show();
    QSignalSpy quit(&window, &ServerWindow::quitRequested);
    QTest::mouseClick(window.findChild<QAbstractButton*>(QStringLiteral("关闭按钮")),
                      Qt::LeftButton);
    EXPECT_EQ(quit.count(), 1);
    window.findChild<QAction*>(QStringLiteral("退出"))->trigger();
    EXPECT_EQ(quit.count(), 2);
}

TEST(ServerWindowTest, DraggingTheTitleAreaMovesTheWindow) {
    ServerWindow window(WithTray(false));
    window.move(100, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* title = window.findChild<QWidget*>(QStringLiteral("图片框1"));
    const QPoint start = window.pos();
    auto send = [&](QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
        const QPoint global = title->mapToGlobal(local);
        QMouseEvent event(type, QPointF(local), QPointF(global),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(title, &event);
    };
    send(QEvent::MouseButtonPress, {300, 20}, Qt::LeftButton);
    send(QEvent::MouseMove, {340, 50}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {340, 50}, Qt::NoButton);
    EXPECT_EQ(window.pos(), start + QPoint(40, 30));
}

TEST(ServerWindowTest, TakesItsGreyDropShadowWhenFirstActivated) {
    ServerWindow window(WithTray(false));
    EXPECT_EQ(ui::ShadowOf(&window), nullptr);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui::ShadowOf(&window) != nullptr; }, 5000));
    QWidget* shadow = ui::ShadowOf(&window);
    // The designed ring of 5 on every side, and the window keeps the activation.
    EXPECT_EQ(shadow->size(), window.size() + QSize(10, 10));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    window.hide();
    window.show();
    window.activateWindow();
    EXPECT_EQ(ui::ShadowOf(&window), shadow) << "one shadow, attached once";
}

TEST(ServerWindowTest, WithoutAPlayerTheControlBarsPlaceSaysSo) {
    ServerWindow window(WithTray(false));
    auto* area = qobject_cast<QLabel*>(window.playerArea());
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->objectName(), QStringLiteral("播放器1"));
    EXPECT_EQ(area->text(), QStringLiteral("播放器不可用"));
}

}  // namespace
}  // namespace vinylo::server

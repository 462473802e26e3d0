#include <gtest/gtest.h>

#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "client/chatview/emoticon_picker.h"
#include "client/chatview/emoticon_table.h"
#include "platform/gbk_text.h"
#include "tests/support/message_box_recorder.h"

namespace vinylo::client {
namespace {

using vinylo::testing::MessageBoxRecorder;

// Never fetched: the picker only builds addresses.
constexpr char kHost[] = "http://127.0.0.1:9";
constexpr char kAvatar[] = "http://127.0.0.1:9/avatar.png";

class EmoticonPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBoxRecorder::Clear();
        main_.setGeometry(200, 150, 600, 500);
    }

    EmoticonPicker* Open() {
        EmoticonPicker::Services services;
        services.send = [this](const std::string& message) {
            attempts_.push_back(message);
            return sendSucceeds_;
        };
        services.avatarUrl = [] { return QString::fromLatin1(kAvatar); };
        services.nickname = [] { return QStringLiteral(u"小明"); };
        auto* picker = new EmoticonPicker(&main_, services, kHost);
        picker->show();
        return picker;
    }

    static void ClickItem(EmoticonPicker* picker, int row) {
        QListWidget* list = picker->list();
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    static bool Closed(QPointer<EmoticonPicker>& picker) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return picker.isNull() || !picker->isVisible();
    }

    static std::string Expected(std::string_view address) {
        return std::string(address) + "ooobiaoqing" + kAvatar + "ouutx%tx" +
               platform::ToGbk(QStringLiteral(u"小明")) + "|||77";
    }

    QWidget main_;
    std::vector<std::string> attempts_;
    bool sendSucceeds_ = true;
};

TEST(EmoticonTableTest, AddressesComeFromTheHostAndTheTable) {
    EXPECT_EQ(EmoticonAddress(0),
              std::string(kEmoticonHost) +
                  "/t4/appstyle/expression/ext/normal/a1/2018new_doge02_org.png");
    EXPECT_EQ(EmoticonAddress(13, "http://h"),
              "http://h/t4/appstyle/expression/ext/normal/e3/2018new_weixioa02_org.png");
    EXPECT_EQ(EmoticonAddress(24, "http://h"),
              "http://h/t4/appstyle/expression/ext/normal/2d/2018new_xiaoerbuyu_org.png");
    EXPECT_EQ(EmoticonAddress(1, "http://h"),
              "http://h/t4/appstyle/expression/ext/normal/7b/2018new_miaomiao_thumb.png");
    EXPECT_EQ(EmoticonAddress(-1), "");
    EXPECT_EQ(EmoticonAddress(25), "");
}

TEST_F(EmoticonPickerTest, OpensAboveTheInputAreaWith25Icons) {
    QPointer<EmoticonPicker> picker = Open();
    EXPECT_EQ(picker->size(), QSize(296, 186));
    EXPECT_EQ(picker->pos(), main_.frameGeometry().topLeft() + QPoint(98, 187));
    ASSERT_EQ(picker->tabs()->count(), 1);
    EXPECT_EQ(picker->tabs()->tabText(0), QStringLiteral(u"第一组表情"));
    EXPECT_EQ(picker->tabs()->objectName(), QStringLiteral(u"选择夹1"));
    ASSERT_EQ(picker->list()->count(), 25);
    for (int i = 0; i < 25; ++i) {
        const QListWidgetItem* item = picker->list()->item(i);
        EXPECT_TRUE(item->text().isEmpty());
        EXPECT_FALSE(item->icon().pixmap(36, 36).isNull()) << i;
    }
    EXPECT_EQ(picker->list()->currentRow(), -1);
    EXPECT_NE(picker->findChild<QPushButton*>(QStringLiteral(u"超级按钮1")), nullptr);
    EXPECT_NE(picker->findChild<QToolButton*>(QStringLiteral(u"按钮1")), nullptr);
    delete picker;
}

TEST_F(EmoticonPickerTest, ClickingAnEmoticonSharesItAndCloses) {
    for (int row : {0, 24}) {
        attempts_.clear();
        QPointer<EmoticonPicker> picker = Open();
        ClickItem(picker, row);
        ASSERT_EQ(attempts_.size(), 1u) << row;
        EXPECT_EQ(attempts_[0], Expected(EmoticonAddress(row, kHost))) << row;
        EXPECT_TRUE(Closed(picker)) << row;
    }
    EXPECT_TRUE(MessageBoxRecorder::Shown().empty());
}

TEST_F(EmoticonPickerTest, ReopeningSendsTheSameEmoticonAgain) {
    for (int round = 0; round < 2; ++round) {
        QPointer<EmoticonPicker> picker = Open();
        ClickItem(picker, 5);
        EXPECT_TRUE(Closed(picker));
    }
    ASSERT_EQ(attempts_.size(), 2u);
    EXPECT_EQ(attempts_[0], attempts_[1]);
}

TEST_F(EmoticonPickerTest, NothingCurrentSendsNothing) {
    QPointer<EmoticonPicker> picker = Open();
    picker->Pick();
    QTest::keyClick(picker->list(), Qt::Key_Return);
    EXPECT_TRUE(attempts_.empty());
    EXPECT_TRUE(picker->isVisible());
    delete picker;
}

TEST_F(EmoticonPickerTest, EnterSendsTheCurrentEmoticonOnce) {
    QPointer<EmoticonPicker> picker = Open();
    picker->list()->setCurrentRow(3);
    QTest::keyClick(picker->list(), Qt::Key_Return);
    ASSERT_EQ(attempts_.size(), 1u);
    EXPECT_EQ(attempts_[0], Expected(EmoticonAddress(3, kHost)));
    EXPECT_TRUE(Closed(picker));
}

TEST_F(EmoticonPickerTest, FailedSendSaysSoAndStaysOpenForAnotherTry) {
    sendSucceeds_ = false;
    QPointer<EmoticonPicker> picker = Open();
    ClickItem(picker, 0);
    ASSERT_EQ(attempts_.size(), 1u);
    ASSERT_EQ(MessageBoxRecorder::Shown().size(), 1u);
    const auto& box = MessageBoxRecorder::Shown()[0];
    EXPECT_EQ(box.text, QStringLiteral(u"发送失败！"));
    EXPECT_EQ(box.caption, QStringLiteral(u"错误！"));
    EXPECT_EQ(box.icon, platform::MessageIcon::Error);
    EXPECT_FALSE(Closed(picker));

    sendSucceeds_ = true;
    ClickItem(picker, 0);
    EXPECT_EQ(attempts_.size(), 2u);
    EXPECT_TRUE(Closed(picker));
    EXPECT_EQ(MessageBoxRecorder::Shown().size(), 1u);
}

TEST_F(EmoticonPickerTest, DefaultButtonKeepsTheOneTabAndCloseButtonCloses) {
    QPointer<EmoticonPicker> picker = Open();
    QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral(u"超级按钮1")),
                      Qt::LeftButton);
    EXPECT_EQ(picker->tabs()->currentIndex(), 0);
    EXPECT_TRUE(picker->isVisible());
    QTest::mouseClick(picker->findChild<QToolButton*>(QStringLiteral(u"按钮1")), Qt::LeftButton);
    EXPECT_TRUE(Closed(picker));
    EXPECT_TRUE(attempts_.empty());
}

}  // namespace
}  // namespace vinylo::client

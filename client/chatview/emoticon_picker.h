#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "client/chatview/emoticon_table.h"

class QListWidget;
class QTabWidget;

namespace vinylo::client {

// The small window of 25 emoticons. A click on one shares its image address
// with the chat room as a PictureShare message; it is shown when the server
// relays it back. The picker closes (and deletes itself) after a successful
// send or a click on its close button; when the send fails it says so and
// stays open.
//
// The client shell opens one per click on its emoticon button:
//   new EmoticonPicker(mainWindow, {send, avatarUrl, nickname}) ... ->show();
// (it may keep a QPointer to raise an open one instead of opening another).
class EmoticonPicker : public QWidget {
    Q_OBJECT
public:
    struct Services {
        // Sends one whole message (GBK bytes, code included) to the server;
        // false when it could not be sent.
        std::function<bool(const std::string& gbkMessage)> send;
        // The user's avatar address and nickname at the time of the pick.
        std::function<QString()> avatarUrl;
        std::function<QString()> nickname;
    };

    static constexpr int kWidth = 296;
    static constexpr int kHeight = 186;
    // Where the picker sits relative to the main window's top-left corner:
    // just above the chat input area.
    static constexpr QPoint kOffset{98, 187};

    // `host` is where the emoticon images are; tests point it elsewhere.
    EmoticonPicker(QWidget* mainWindow, Services services,
                   std::string host = std::string(kEmoticonHost));

    // Sends the list's current emoticon; nothing when no item is current.
    void Pick();

    QTabWidget* tabs() const { return tabs_; }
    QListWidget* list() const { return list_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildTabs();
    void BuildBottomBar();

    Services services_;
    std::string host_;
    QTabWidget* tabs_ = nullptr;   // 选择夹1
    QListWidget* list_ = nullptr;  // 超级列表框1
};

}  // namespace vinylo::client

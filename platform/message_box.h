#pragma once

#include <QString>
#include <functional>

class QWidget;

// Every message box of both programs goes through here. Boxes open without
// blocking (no nested event loop), and tests replace them with a recorder.
namespace vinylo::platform {

enum class MessageIcon { None, Information, Warning, Error };

struct MessageBoxRequest {
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
};

// The caption of a box opened without one.
inline constexpr char16_t kDefaultCaption[] = u"信息：";

// Shows a modal box and returns at once; `onClosed` runs when the user closes it.
void ShowMessageBox(QWidget* parent, const QString& text, const QString& caption = {},
                    MessageIcon icon = MessageIcon::None, std::function<void()> onClosed = {});

// Replaces the real boxes (an empty handler puts them back).
using MessageBoxHandler = std::function<void(const MessageBoxRequest&)>;
void SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace vinylo::platform

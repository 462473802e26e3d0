#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QTextEdit;

namespace vinylo::server {

// The server's chat log (超级编辑框2): a header line in its colour, then the
// body in black, in "宋体" 9 pt. It keeps the newest lines only, so a server
// that runs for months does not grow without end.
class ChatLog {
public:
    static constexpr QColor kRelayHeaderColour{0, 0, 255};
    static constexpr QColor kOperatorHeaderColour{255, 0, 0};
    static constexpr QColor kBodyColour{0, 0, 0};
    static constexpr int kMaximumLines = 20000;

    explicit ChatLog(QTextEdit* box);

    // Appends a line break and the header, then a line break and the body,
    // and scrolls to the end. Line breaks inside the texts are kept.
    void AppendChatLog(const QString& header, QColor headerColour, const QString& body);
    void Clear();

    QTextEdit* box() const { return box_; }

    static QFont LogFont();

private:
    void Append(const QString& text, QColor colour);

    QTextEdit* box_;
};

}  // namespace vinylo::server

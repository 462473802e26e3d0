#include "server/chat_log.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "ui/skin.h"

namespace vinylo::server {

ChatLog::ChatLog(QTextEdit* box) : box_(box) {
    box_->document()->setMaximumBlockCount(kMaximumLines);
}

QFont ChatLog::LogFont() {
    QFont font;
    font.setFamilies(ui::skin::CjkFamilies(QStringLiteral("宋体")));
    font.setPointSize(9);
    return font;
}

void ChatLog::AppendChatLog(const QString& header, QColor headerColour, const QString& body) {
    Append(header, headerColour);
    Append(body, kBodyColour);
    // The box need not take the focus to scroll: the caller's focus stays.
    box_->moveCursor(QTextCursor::End);
    box_->ensureCursorVisible();
}

void ChatLog::Clear() {
    box_->clear();
}

void ChatLog::Append(const QString& text, QColor colour) {
    QTextCharFormat format;
    const QFont font = LogFont();
    format.setFontFamilies(font.families());
    format.setFontPointSize(font.pointSizeF());
    format.setForeground(colour);
    QTextCursor cursor(box_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock(QTextBlockFormat(), format);
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    cursor.insertText(lines, format);
}

}  // namespace vinylo::server

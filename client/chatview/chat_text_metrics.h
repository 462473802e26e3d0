#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace vinylo::client {

// Measures and draws the chat view's texts in one font, so that what is
// measured at layout time is exactly what is drawn later.
//
// Single-line texts show line breaks as spaces; wrapped texts break at word
// boundaries, and inside a word that does not fit the width.
class ChatTextMetrics {
public:
    explicit ChatTextMetrics(const QFont& font);

    const QFont& font() const { return font_; }
    // Height of one line of text (laid out from a sample of two ideographs).
    int lineHeight() const { return lineHeight_; }
    // The bubble's inner margin: (40 - line height) / 2, so one line plus
    // both margins fills a 40-pixel bubble.
    int margin() const { return margin_; }

    // The natural size of `text` on one line.
    QSize MeasureLine(const QString& text) const;
    // The size of `text` wrapped to `width`; lines are laid out only until
    // `maxHeight` is passed (the height can exceed it by at most one line).
    QSize MeasureWrapped(const QString& text, int width, int maxHeight) const;

    // One line in `rect`, cut with an ellipsis at the end when too long.
    void DrawLine(QPainter& painter, const QRect& rect, const QString& text,
                  Qt::Alignment alignment, const QColor& colour) const;
    // `text` wrapped to `wrapWidth`, top-left in `rect`, clipped to it.
    void DrawWrapped(QPainter& painter, const QRect& rect, int wrapWidth, const QString& text,
                     const QColor& colour) const;

    // Texts as they are stored for display: line breaks of any kind become
    // the one separator the text layout breaks at.
    static QString ForWrapping(const QString& text);
    static QString ForSingleLine(const QString& text);

private:
    QFont font_;
    int lineHeight_ = 0;
    int margin_ = 0;
};

}  // namespace vinylo::client

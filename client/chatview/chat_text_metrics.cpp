#include "client/chatview/chat_text_metrics.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace vinylo::client {
namespace {

QTextOption WrapOption() {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setUseDesignMetrics(false);
    return option;
}

template <typename EachLine>
void LayOutWrapped(QTextLayout& layout, int width, int maxHeight, EachLine&& eachLine) {
    layout.setTextOption(WrapOption());
    layout.setCacheEnabled(false);
    layout.beginLayout();
    qreal y = 0;
    while (y <= maxHeight) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(std::max(width, 0));
        line.setPosition(QPointF(0, y));
        y += line.height();
        eachLine(line);
    }
    layout.endLayout();
}

}  // namespace

ChatTextMetrics::ChatTextMetrics(const QFont& font) : font_(font) {
    lineHeight_ = MeasureWrapped(QStringLiteral(u"中文"), 500, 100).height();
    margin_ = std::max(0, (40 - lineHeight_) / 2);
}

QSize ChatTextMetrics::MeasureLine(const QString& text) const {
    QTextLayout layout(ForSingleLine(text), font_);
    layout.setCacheEnabled(false);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return QSize(0, lineHeight_);
    return QSize(static_cast<int>(std::ceil(line.naturalTextWidth())),
                 static_cast<int>(std::ceil(line.height())));
}

QSize ChatTextMetrics::MeasureWrapped(const QString& text, int width, int maxHeight) const {
    if (text.isEmpty())
        return QSize(0, 0);
    QTextLayout layout(text, font_);
    qreal widest = 0;
    qreal bottom = 0;
    LayOutWrapped(layout, width, maxHeight, [&](const QTextLine& line) {
        widest = std::max(widest, line.naturalTextWidth());
        bottom = line.y() + line.height();
    });
    return QSize(static_cast<int>(std::ceil(widest)), static_cast<int>(std::ceil(bottom)));
}

void ChatTextMetrics::DrawLine(QPainter& painter, const QRect& rect, const QString& text,
                               Qt::Alignment alignment, const QColor& colour) const {
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    const QFontMetricsF metrics(font_);
    const QString shown = metrics.elidedText(ForSingleLine(text), Qt::ElideRight, rect.width());
    painter.save();
    painter.setFont(font_);
    painter.setPen(colour);
    painter.drawText(rect, static_cast<int>(alignment) | Qt::TextSingleLine, shown);
    painter.restore();
}

void ChatTextMetrics::DrawWrapped(QPainter& painter, const QRect& rect, int wrapWidth,
                                  const QString& text, const QColor& colour) const {
    if (text.isEmpty() || rect.width() <= 0 || rect.height() <= 0)
        return;
    QTextLayout layout(text, font_);
    LayOutWrapped(layout, wrapWidth, rect.height(), [](const QTextLine&) {});
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setPen(colour);
    layout.draw(&painter, rect.topLeft());
    painter.restore();
}

QString ChatTextMetrics::ForWrapping(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    out.replace(QLatin1Char('\r'), QChar::LineSeparator);
    out.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return out;
}

QString ChatTextMetrics::ForSingleLine(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator || c == QLatin1Char('\t')) {
            c = QLatin1Char(' ');
        }
    }
    return out;
}

}  // namespace vinylo::client

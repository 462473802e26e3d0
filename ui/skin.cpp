#include "ui/skin.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <utility>

#include "ui/palette.h"

namespace vinylo::ui::skin {

QStringList CjkFamilies(const QString& designed) {
    return {designed, QStringLiteral("Microsoft YaHei"), QStringLiteral("WenQuanYi Micro Hei"),
            QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Droid Sans Fallback")};
}

QFont CaptionFont() {
    QFont font;
    font.setFamilies(CjkFamilies(QStringLiteral("微软雅黑")));
    font.setPixelSize(13);
    font.setWeight(QFont::Normal);
    return font;
}

QFont ControlFont() {
    QFont font = CaptionFont();
    font.setPixelSize(12);
    return font;
}

QFont TitleFont() {
    QFont font = CaptionFont();
    font.setPixelSize(15);
    font.setWeight(QFont::DemiBold);
    return font;
}

namespace {

void PaintGrooves(QPainter& painter, QPointF centre, double outer, double inner, QColor colour) {
    painter.setBrush(Qt::NoBrush);
    for (double r = outer; r > inner; r -= 3.0) {
        colour.setAlphaF(0.05f + 0.05f * static_cast<float>(std::fmod(r, 9.0) < 3.0));
        painter.setPen(QPen(colour, 1.0));
        painter.drawEllipse(centre, r, r);
    }
}

}  // namespace

QImage TitleBarImage(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF band(0, 0, size.width(), size.height());

    QLinearGradient base(band.topLeft(), band.topRight());
    base.setColorAt(0.0, palette::kTitleDeep);
    base.setColorAt(0.55, palette::kTitleMiddle);
    base.setColorAt(1.0, palette::kTitleBright);
    painter.fillRect(band, base);

    // Record grooves rising from behind the title buttons.
    painter.save();
    painter.setClipRect(band);
    PaintGrooves(painter, QPointF(size.width() - 150.0, size.height() + 40.0), 120.0, 20.0,
                 Qt::white);
    painter.restore();

    // A row of sound bars across the middle, quiet enough to sit behind text.
    painter.setPen(Qt::NoPen);
    const double baseline = size.height() - 6.0;
    for (int i = 0; i < 64; ++i) {
        const double x = 190.0 + i * 5.0;
        if (x > size.width() - 120.0)
            break;
        const double wave = std::sin(i * 0.45) * 0.5 + std::sin(i * 0.17 + 1.0) * 0.5;
        const double height = 6.0 + 14.0 * std::abs(wave);
        QColor bar(255, 255, 255, 26 + static_cast<int>(20 * std::abs(wave)));
        painter.setBrush(bar);
        painter.drawRoundedRect(QRectF(x, baseline - height, 3.0, height), 1.5, 1.5);
    }

    // A soft sheen on the upper half and a hairline at the bottom edge.
    QLinearGradient sheen(band.topLeft(), band.bottomLeft());
    sheen.setColorAt(0.0, QColor(255, 255, 255, 40));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 8));
    sheen.setColorAt(0.51, QColor(255, 255, 255, 0));
    painter.fillRect(band, sheen);
    painter.fillRect(QRectF(0, size.height() - 1.0, size.width(), 1.0), QColor(0, 0, 0, 60));
    return image;
}

QImage LogoImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QPointF centre(s / 2.0, s / 2.0);
    const double outer = s / 2.0 - 0.5;

    QRadialGradient disc(centre, outer);
    disc.setColorAt(0.0, QColor(0x3a, 0x3f, 0x4a));
    disc.setColorAt(1.0, QColor(0x11, 0x13, 0x18));
    painter.setPen(QPen(QColor(255, 255, 255, 200), std::max(1.0, s / 24.0)));
    painter.setBrush(disc);
    painter.drawEllipse(centre, outer - s / 48.0, outer - s / 48.0);
    if (size >= 20) {
        PaintGrooves(painter, centre, outer - s / 8.0, s / 4.0, Qt::white);
    }

    // The sheen that makes it read as a record.
    QPainterPath sheen;
    sheen.moveTo(centre);
    sheen.arcTo(QRectF(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer), 100, 50);
    sheen.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 45));
    painter.drawPath(sheen);

    QLinearGradient label(QPointF(0, s * 0.3), QPointF(0, s * 0.7));
    label.setColorAt(0.0, palette::kAccentLight);
    label.setColorAt(1.0, palette::kAccentDark);
    painter.setBrush(label);
    painter.drawEllipse(centre, s * 0.22, s * 0.22);
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, s * 0.05, s * 0.05);
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(LogoImage(size)));
    }
    return icon;
}

namespace {

// A style sheet with the palette's colours put in for {name} placeholders.
QString WithColours(QString sheet) {
    const std::pair<const char*, QColor> colours[] = {
        {"{accent}", palette::kAccent},
        {"{accentLight}", palette::kAccentLight},
        {"{accentDark}", palette::kAccentDark},
        {"{border}", palette::kBorder},
        {"{divider}", palette::kDivider},
        {"{panel}", palette::kPanel},
        {"{header}", palette::kHeader},
        {"{alternateRow}", palette::kAlternateRow},
        {"{selection}", palette::kSelection},
        {"{selectionText}", palette::kSelectionText},
        {"{text}", palette::kText},
        {"{quietText}", palette::kQuietText},
        {"{scrollHandle}", palette::kScrollHandle},
        {"{scrollHandleHover}", palette::kScrollHandleHover},
    };
    for (const auto& [name, colour] : colours)
        sheet.replace(QLatin1String(name), colour.name());
    return sheet;
}

}  // namespace

QString ControlStyleSheet() {
    return WithColours(QStringLiteral(
        "QTreeWidget { border: 1px solid {border}; background: white;"
        "  alternate-background-color: {alternateRow}; selection-background-color: {selection};"
        "  selection-color: {selectionText}; }"
        "QHeaderView::section { background: {header}; color: {text}; border: none;"
        "  border-right: 1px solid {divider}; border-bottom: 1px solid {border};"
        "  padding: 2px 4px; }"
        "QTextEdit, QLineEdit { border: 1px solid {border}; border-radius: 3px;"
        "  background: white; selection-background-color: {accent}; }"
        "QTextEdit:focus, QLineEdit:focus { border-color: {accentLight}; }"
        "QGroupBox { border: 1px solid {border}; border-radius: 4px; margin-top: 7px;"
        "  background: {panel}; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px;"
        "  color: {accentDark}; }"
        "QScrollBar:vertical { width: 10px; background: transparent; margin: 0; }"
        "QScrollBar:horizontal { height: 10px; background: transparent; margin: 0; }"
        "QScrollBar::handle { background: {scrollHandle}; border-radius: 4px; min-height: 20px;"
        "  min-width: 20px; margin: 1px; }"
        "QScrollBar::handle:hover { background: {scrollHandleHover}; }"
        "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }"));
}

QString PanelStyleSheet(const QString& selector) {
    return selector + WithColours(QStringLiteral(
                          " { background: {panel}; border: 1px solid {border}; border-radius: 4px;"
                          "  color: {quietText}; }"));
}

QString TextColourStyle(QColor colour) {
    return QStringLiteral("color: %1;").arg(colour.name());
}

}  // namespace vinylo::ui::skin

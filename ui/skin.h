#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>

// The look both programs share: fonts, style sheets and the pictures we draw
// ourselves (title bar, logo, program icon); the colours are in palette.h. Everything is painted by
// code, so there are no image files to keep in step with the design.
namespace vinylo::ui::skin {

// Designed families first, then the CJK font a Linux machine has.
QStringList CjkFamilies(const QString& designed);

// Button captions: "微软雅黑" at a character height of 13 px, normal weight.
QFont CaptionFont();

// Lists, edit boxes and labels: the same family a little smaller, so a
// list's designed column widths hold their texts.
QFont ControlFont();

// The title of a window in its title bar, on the dark title-bar colours.
QFont TitleFont();

// The title-bar picture: a deep blue band with sound bars and record grooves.
QImage TitleBarImage(QSize size);

// The program's logo, a record with a blue label, `size` pixels square.
QImage LogoImage(int size);

// The logo in the sizes a window and a tray want.
QIcon ProgramIcon();

// A style sheet for the stock controls (lists, edits, group boxes).
QString ControlStyleSheet();

// A panel in the skin's colours (the control bar's look) for the widgets
// that `selector` picks, e.g. "QLabel#播放器1".
QString PanelStyleSheet(const QString& selector);

// "color: #rrggbb;"
QString TextColourStyle(QColor colour);

}  // namespace vinylo::ui::skin

#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>

// The look both programs share: fonts, colours and the pictures we draw
// ourselves (title bar, logo, program icon). Everything is painted by code,
// so there are no image files to keep in step with the design.
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

inline constexpr QColor kAccent{0x3d, 0x6f, 0xe0};
inline constexpr QColor kAccentLight{0x6a, 0x98, 0xf4};
inline constexpr QColor kAccentDark{0x2c, 0x52, 0xb3};
inline constexpr QColor kBorder{0xc9, 0xd4, 0xe6};
inline constexpr QColor kPanel{0xf3, 0xf6, 0xfb};
inline constexpr QColor kQuietText{0x6b, 0x76, 0x8a};

// The title-bar picture: a deep blue band with sound bars and record grooves.
QImage TitleBarImage(QSize size);

// The program's logo, a record with a blue label, `size` pixels square.
QImage LogoImage(int size);

// The logo in the sizes a window and a tray want.
QIcon ProgramIcon();

// A style sheet for the stock controls (lists, edits, group boxes).
QString ControlStyleSheet();

}  // namespace vinylo::ui::skin

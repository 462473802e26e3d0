#pragma once

#include <QColor>

// The colours of the flat, white skin: light greys and one accent.
namespace vinylo::ui::palette {

inline QColor Accent() { return QColor(0x2f, 0x7c, 0xf6); }
inline QColor AccentPressed() { return QColor(0x1f, 0x63, 0xd4); }
inline QColor AccentHover() { return QColor(0x4a, 0x8f, 0xf8); }
inline QColor Text() { return QColor(0x33, 0x38, 0x40); }
inline QColor TextMuted() { return QColor(0x8a, 0x90, 0x99); }
inline QColor TextDisabled() { return QColor(0xbf, 0xc4, 0xcb); }
inline QColor Panel() { return QColor(0xf6, 0xf7, 0xf9); }
inline QColor Border() { return QColor(0xe3, 0xe6, 0xea); }
inline QColor Track() { return QColor(0xdd, 0xe1, 0xe6); }
inline QColor Hover() { return QColor(0xe8, 0xeb, 0xef); }
inline QColor Pressed() { return QColor(0xdc, 0xe0, 0xe5); }

}  // namespace vinylo::ui::palette

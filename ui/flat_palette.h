#pragma once

#include <QRgb>

// The colours of the flat, white skin: light greys and one accent.
namespace vinylo::ui::palette {

inline constexpr QRgb kAccent = 0xff2f7cf6;
inline constexpr QRgb kAccentHover = 0xff4a8ff8;
inline constexpr QRgb kAccentPressed = 0xff1f63d4;
inline constexpr QRgb kText = 0xff333840;
inline constexpr QRgb kGlyph = 0xff4b525c;
inline constexpr QRgb kTextMuted = 0xff8a9099;
inline constexpr QRgb kTextDisabled = 0xffbfc4cb;
inline constexpr QRgb kPanel = 0xfff6f7f9;
inline constexpr QRgb kBorder = 0xffe3e6ea;
inline constexpr QRgb kTrack = 0xffdde1e6;
inline constexpr QRgb kHover = 0xffe8ebef;
inline constexpr QRgb kPressed = 0xffdce0e5;

}  // namespace vinylo::ui::palette

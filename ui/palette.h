#pragma once

#include <QColor>

// The colours of the one skin both programs wear: white surfaces, quiet
// blue-grey lines and one blue accent. Every control we draw or style takes
// its colours from here, so the pieces look like one window.
namespace vinylo::ui::palette {

// The accent: buttons, the played part of a slider, the selected control.
inline constexpr QColor kAccent{0x3d, 0x6f, 0xe0};
inline constexpr QColor kAccentLight{0x6a, 0x98, 0xf4};  // hover, a button's top
inline constexpr QColor kAccentDark{0x2c, 0x52, 0xb3};   // pressed, outlines, headings

// The title bar's band, left to right.
inline constexpr QColor kTitleDeep{0x1f, 0x2f, 0x6b};
inline constexpr QColor kTitleMiddle{0x2f, 0x55, 0xb8};
inline constexpr QColor kTitleBright{0x3f, 0x86, 0xe0};
// A title button under the mouse that ends something.
inline constexpr QColor kCloseHover{0xe8, 0x3b, 0x3b};

// Surfaces and lines.
inline constexpr QColor kWindowBorder{0x8a, 0x9b, 0xbd};
inline constexpr QColor kBorder{0xc9, 0xd4, 0xe6};
inline constexpr QColor kDivider{0xdb, 0xe3, 0xf0};
inline constexpr QColor kPanel{0xf3, 0xf6, 0xfb};
inline constexpr QColor kHeader{0xee, 0xf3, 0xfb};
inline constexpr QColor kAlternateRow{0xf6, 0xf8, 0xfc};
inline constexpr QColor kSelection{0xd6, 0xe3, 0xfb};
inline constexpr QColor kHover{0xe3, 0xeb, 0xf8};  // a plain glyph button under the mouse
inline constexpr QColor kTrack{0xd5, 0xde, 0xec};  // a slider's groove
inline constexpr QColor kScrollHandle{0xc3, 0xce, 0xe2};
inline constexpr QColor kScrollHandleHover{0x9f, 0xb3, 0xd6};

// Text and glyphs.
inline constexpr QColor kText{0x33, 0x41, 0x5c};
inline constexpr QColor kSelectionText{0x1b, 0x2a, 0x4a};
inline constexpr QColor kQuietText{0x6b, 0x76, 0x8a};
inline constexpr QColor kDisabled{0xb8, 0xc2, 0xd3};

}  // namespace vinylo::ui::palette

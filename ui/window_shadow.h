#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <optional>

class QPainter;
class QWidget;

// The soft outline around a frameless main window: a ring of thin, increasingly
// opaque rounded lines just outside the window, drawn in a separate click-through,
// non-activating translucent window that follows its target.
namespace vinylo::ui {

// The ring width when none is given.
inline constexpr int kDefaultShadowSize = 5;

// Attaches (or updates) the shadow of `target` with `colour` and ring width
// `size` (kDefaultShadowSize when not given). A given size <= 0 detaches the
// shadow and returns false. Attaching again reuses the one shadow window.
// Returns whether the target now has a shadow.
bool SetWindowShadow(QWidget* target, const QColor& colour, std::optional<int> size = std::nullopt);

// Moves, shows, hides and redraws the shadow of `target` (nothing when it has
// none). `visible` overrides the target's own visibility, as while it is being
// shown or hidden. The shadow is hidden while the target is minimised or
// maximised (or full screen).
void PlaceShadow(QWidget* target, std::optional<bool> visible = std::nullopt);

// The shadow window of `target`, or null.
QWidget* ShadowOf(QWidget* target);

// Draws the ring for a shadow window of `size` (the target's size plus the
// ring on every side): `ringWidth` one-pixel rounded outlines, the outermost
// the faintest, never painting inside the target's area.
void PaintShadowRing(QPainter& painter, QSize size, const QColor& colour, int ringWidth);
QImage RenderShadowRing(QSize size, const QColor& colour, int ringWidth);

}  // namespace vinylo::ui

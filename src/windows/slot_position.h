#pragma once
// Saved window positions: a window opens at its slot's top and left and
// stores them when it closes, falling back to the slot's default when the
// position lies beyond the screen.

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>

#include "startup/app_state.h"

class QWidget;

namespace zb {

// Opens the window at its slot's position, unless that would leave its title
// bar (or part of it) outside the available screen area: after a change of
// resolution or a hand-edited settings file it could not be reached to be
// moved back. Then the slot's default serves (the passbook's is 0, 0).
void MoveToSlot(QWidget* w, const AppState& s, WindowSlot slot);
// The choice itself, in pixels: saved when a title bar there lies inside
// area, else fallback; a fallback no better is pulled inside home.
QPoint ReachablePosition(QPoint saved, QPoint fallback, QSize titleBar, const QRegion& area,
                         const QRect& home);
// The window's top and left in whole twips (to the nearest, halves to even);
// a position that does not fit 32 bits is failure 6.
void SaveSlotPosition(const QWidget* w, AppState& s, WindowSlot slot);

}  // namespace zb

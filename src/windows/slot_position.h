#pragma once
// Saved window positions: a window opens at its slot's top and left and
// stores them when it closes, falling back to the slot's default when the
// position lies beyond the screen.

#include "startup/app_state.h"

class QWidget;

namespace zb {

void MoveToSlot(QWidget* w, const AppState& s, WindowSlot slot);
// The window's top and left in whole twips (to the nearest, halves to even);
// a position that does not fit 32 bits is failure 6.
void SaveSlotPosition(const QWidget* w, AppState& s, WindowSlot slot);

}  // namespace zb

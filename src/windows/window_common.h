#pragma once
// What the windows share: failure reports from event handlers, twip
// geometry, the border look of settings and the saved window positions.

#include <QRect>
#include <functional>
#include <new>
#include <vector>

#include "startup/app_state.h"
#include "startup/startup.h"
#include "windows/toolbar_pictures.h"

class QAction;
class QFrame;
class QToolBar;
class QWidget;

namespace zb {

// Runs an event handler; a run-time failure is reported and the program goes on.
template <typename F>
void RunHandler(AppState& s, F&& f) {
    try {
        f();
    } catch (const RunError& e) {
        ReportRunError(s, e);
    } catch (const std::bad_alloc&) {
        ReportRunError(s, RunError(kErrOutOfMemory, ErrorDescription(kErrOutOfMemory)));
    }
}

QRect TwipsRect(int left, int top, int width, int height);

// Twips as whole numbers, to the nearest with halves to even; beyond 32 bits
// is failure 6.
int32_t WholeTwips(double twips);

// Appearance (0 flat, 1 three-dimensional) and border style (0 none, 1 single).
void ApplyBorderLook(QFrame* frame, int appearance3D, int borderStyle);

// Moves a window to the position saved in its slot.
void PlaceAtSaved(QWidget* w, const AppState& s, WindowSlot slot);
// Saves a window's position in its slot; a top beyond the screen height or a
// left beyond its width is saved as the given fallback.
void SavePosition(AppState& s, const QWidget* w, WindowSlot slot, int32_t fallbackTop,
                  int32_t fallbackLeft);

struct ToolButtonDesign {
    const char16_t* caption;
    const char16_t* toolTip;
    ToolbarPicture picture;
};

// "Toolbar1" along the top of owner, heightTwips high, with the buttons in one
// group, captions beside their pictures. actions gets button i at index i
// (index 0 stays empty); a click calls click(i).
QToolBar* MakeGroupedToolbar(QWidget* owner, int heightTwips,
                             const std::vector<ToolButtonDesign>& buttons,
                             std::vector<QAction*>& actions, std::function<void(int)> click);

}  // namespace zb

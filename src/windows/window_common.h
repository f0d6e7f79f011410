#pragma once
// What the secondary windows share: twip geometry, the border look of the
// settings and a toolbar of grouped buttons.

#include <QColor>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "windows/toolbar_pictures.h"

class QAction;
class QFont;
class QFrame;
class QLabel;
class QPaintDevice;
class QToolBar;
class QWidget;

namespace zb {

// A fixed dialog frame: title bar with a close box, no minimise or maximise
// box. On Windows this is the thin dialog border with a system menu (the close
// box needs it); elsewhere the window manager reads the fixed size from the
// size hints, so give such a window setFixedSize as well. Window managers that
// add their own buttons to every window (openbox adds a minimise box) are not
// asked by any hint.
Qt::WindowFlags FixedDialogFrame();

// A text the core computed, for a widget.
inline QString Q(const std::u16string& t) {
    return QString::fromStdU16String(t);
}

QRect TwipsRect(int left, int top, int width, int height);

// Settings keep colours as 0x00BBGGRR.
QColor ColorFromValue(int32_t value);
int32_t ColorToValue(const QColor& color);

// Appearance (0 flat, 1 three-dimensional) and border style (0 none, 1 single).
void ApplyBorderLook(QFrame* frame, int appearance3D, int borderStyle);

struct ToolButtonDesign {
    const char16_t* caption;
    const char16_t* toolTip;
    ToolbarPicture picture;
    bool command = false;  // an action, not one of the grouped views
};

// "Toolbar1" along the top of owner, heightTwips high, with the buttons in one
// group, captions beside their pictures. actions gets button i at index i
// (index 0 stays empty); a click calls click(i).
QToolBar* MakeGroupedToolbar(QWidget* owner, int heightTwips,
                             const std::vector<ToolButtonDesign>& buttons,
                             std::vector<QAction*>& actions, std::function<void(int)> click);

// Pixels the text needs in font f drawn on `on` (its DPI, not the default
// one); one spare for the anti-aliased last edge.
int TextNeed(const QFont& f, const QString& text, const QPaintDevice* on);

// Gives a label the room its whole text needs. It may first grow from its
// design rectangle `at` toward `left` and `right` (pixels in its parent),
// keeping its alignment; then the font shrinks from `font` a pixel at a time,
// down to 4 points. The window never grows.
void FitLabel(QLabel* l, QRect at, int left, int right, QFont font);

// One font for a column of figures: the largest size, from `font` down a
// pixel at a time, at which every label's text fits its label as it stands,
// with `spare` pixels left free beside it (labels that touch their neighbours).
void FitFont(const std::vector<QLabel*>& labels, QFont font, int spare = 0);

}  // namespace zb

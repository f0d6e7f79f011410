#pragma once
// Keys the windows share: Esc closes a secondary window, Ctrl+C copies what a
// window shows, the page keys turn its pages, and a toolbar's buttons take
// the focus with Tab and are pressed with Enter or Space. Shortcuts of the
// window itself, so they work on every system Qt runs on.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QPlainTextEdit;
class QScrollBar;
class QToolBar;
class QWidget;

namespace zb {

// Esc closes the window as its close box does (it saves its place).
void CloseOnEscape(QWidget* window);

// Ctrl+C anywhere in the window puts text() on the clipboard; an empty text
// leaves the clipboard as it was.
void CopyOnCtrlC(QWidget* window, std::function<QString()> text);

// The text box selectable with the mouse and the keys; Ctrl+C anywhere in the
// window copies its selection.
void CopySelection(QWidget* window, QPlainTextEdit* text);

// Rows for a spreadsheet: the cells of a row joined by tabs, a row a line.
QString TabSeparated(const std::vector<QStringList>& rows);

// PageUp and PageDown move the scroll bar by `page` steps, Home and End to
// its first and last step, as the scroll bar itself would be moved; nothing
// while it is hidden or disabled.
void PageWithKeys(QWidget* window, QScrollBar* bar, int page);

// The toolbar's buttons take the focus with Tab, left to right, and Enter or
// Space presses the one that has it. Its separators take no focus.
void TabThroughToolbar(QToolBar* bar);

}  // namespace zb

#include "windows/window_keys.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QTextDocumentFragment>
#include <QToolBar>
#include <QToolButton>

namespace zb {

namespace {

QShortcut* WindowKey(const QKeySequence& key, QWidget* window, std::function<void()> run) {
    auto* s = new QShortcut(key, window);
    s->setContext(Qt::WindowShortcut);
    QObject::connect(s, &QShortcut::activated, window, std::move(run));
    return s;
}

// Enter presses a focused tool button as Space does.
class EnterPresses : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(e);
            if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
                !(k->modifiers() & ~Qt::KeypadModifier)) {
                if (auto* b = qobject_cast<QToolButton*>(watched)) {
                    b->click();
                    return true;
                }
            }
        }
        return QObject::eventFilter(watched, e);
    }
};

}  // namespace

void CloseOnEscape(QWidget* window) {
    WindowKey(QKeySequence(Qt::Key_Escape), window, [window] { window->close(); });
}

void CopyOnCtrlC(QWidget* window, std::function<QString()> text) {
    WindowKey(QKeySequence::Copy, window, [text = std::move(text)] {
        const QString t = text();
        if (!t.isEmpty()) QGuiApplication::clipboard()->setText(t);
    });
}

void CopySelection(QWidget* window, QPlainTextEdit* text) {
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    CopyOnCtrlC(window, [text] { return text->textCursor().selection().toPlainText(); });
}

QString TabSeparated(const std::vector<QStringList>& rows) {
    QString out;
    for (const QStringList& row : rows) out += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return out;
}

void PageWithKeys(QWidget* window, QScrollBar* bar, int page) {
    auto move = [bar](auto to) {
        return [bar, to] {
            if (!bar->isHidden() && bar->isEnabled()) bar->setValue(to(bar));
        };
    };
    WindowKey(QKeySequence(Qt::Key_PageDown), window,
              move([page](QScrollBar* b) { return b->value() + page; }));
    WindowKey(QKeySequence(Qt::Key_PageUp), window,
              move([page](QScrollBar* b) { return b->value() - page; }));
    WindowKey(QKeySequence(Qt::Key_Home), window, move([](QScrollBar* b) { return b->minimum(); }));
    WindowKey(QKeySequence(Qt::Key_End), window, move([](QScrollBar* b) { return b->maximum(); }));
}

void TabThroughToolbar(QToolBar* bar) {
    auto* enter = new EnterPresses(bar);
    QWidget* before = nullptr;
    for (QAction* a : bar->actions()) {
        auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        if (!b) continue;  // a separator
        b->setFocusPolicy(Qt::TabFocus);
        b->installEventFilter(enter);
        if (before) QWidget::setTabOrder(before, b);
        before = b;
    }
}

}  // namespace zb

#include "windows/window_common.h"

#include <QAction>
#include <QActionGroup>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QToolBar>
#include <QWidget>
#include <algorithm>

#include "windows/twips.h"

namespace zb {

Qt::WindowFlags FixedDialogFrame() {
    return Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
           Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
}

QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPxX(left), TwipsToPxY(top), TwipsToPxX(width), TwipsToPxY(height));
}

QColor ColorFromValue(int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    return QColor(static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF),
                  static_cast<int>((u >> 16) & 0xFF));
}

int32_t ColorToValue(const QColor& color) {
    return static_cast<int32_t>(static_cast<uint32_t>(color.red()) |
                                (static_cast<uint32_t>(color.green()) << 8) |
                                (static_cast<uint32_t>(color.blue()) << 16));
}

void ApplyBorderLook(QFrame* frame, int appearance3D, int borderStyle) {
    if (borderStyle == 0)
        frame->setFrameStyle(QFrame::NoFrame);
    else if (appearance3D != 0)
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    else
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(appearance3D != 0 ? 2 : 1);
}

QToolBar* MakeGroupedToolbar(QWidget* owner, int heightTwips,
                             const std::vector<ToolButtonDesign>& buttons,
                             std::vector<QAction*>& actions, std::function<void(int)> click) {
    auto* bar = new QToolBar(owner);
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setStyleSheet(QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 0px; }"));
    auto* group = new QActionGroup(bar);
    actions.assign(1, nullptr);
    for (const ToolButtonDesign& d : buttons) {
        QAction* a = bar->addAction(ToolbarIcon(d.picture), QString::fromStdU16String(d.caption));
        a->setObjectName(QStringLiteral("Toolbar1_Button%1").arg(actions.size()));
        a->setToolTip(QString::fromStdU16String(d.toolTip));
        // Said without the full-width blanks that even out the captions.
        bar->widgetForAction(a)->setAccessibleName(QString::fromStdU16String(d.caption).trimmed());
        if (!d.command) {
            a->setCheckable(true);
            group->addAction(a);
        }
        actions.push_back(a);
    }
    bar->setGeometry(0, 0, owner->width(), TwipsToPxY(heightTwips));
    QObject::connect(bar, &QToolBar::actionTriggered, owner, [&actions, click](QAction* a) {
        for (std::size_t i = 1; i < actions.size(); ++i)
            if (actions[i] == a) click(static_cast<int>(i));
    });
    return bar;
}

namespace {

// One pixel of the screen in points: the step by which fonts shrink.
double PixelPoints() {
    return 72.0 / LogicalDpiY();
}

int Indent(const QLabel* l, const QFont& f) {
    // A framed label without its own indent keeps half an "x" clear.
    if (l->indent() >= 0) return l->indent();
    return l->frameWidth() > 0 ? QFontMetrics(f, l).horizontalAdvance(QLatin1Char('x')) / 2 : 0;
}

int RoomIn(const QLabel* l, const QFont& f) {
    const bool oneSide = !(l->alignment() & Qt::AlignHCenter);
    return l->contentsRect().width() - 2 * l->margin() - (oneSide ? 1 : 2) * Indent(l, f);
}

}  // namespace

int TextNeed(const QFont& f, const QString& text, const QPaintDevice* on) {
    return text.isEmpty() ? 0 : QFontMetrics(f, on).horizontalAdvance(text) + 1;
}

void FitLabel(QLabel* l, QRect at, int left, int right, QFont font) {
    l->setGeometry(at);
    const QString text = l->text();
    // What the frame, indent and margins take from the label's width.
    const int chrome = at.width() - RoomIn(l, font);
    const int need = TextNeed(font, text, l) + chrome;
    if (need > at.width()) {
        const int width = std::clamp(need, at.width(), std::max(right - left, at.width()));
        int x = l->alignment() & Qt::AlignRight  ? at.left() + at.width() - width
                : l->alignment() & Qt::AlignLeft ? at.left()
                                                 : at.left() + (at.width() - width) / 2;
        x = std::clamp(x, left, std::max(left, right - width));
        at = QRect(x, at.top(), width, at.height());
        l->setGeometry(at);
    }
    while (TextNeed(font, text, l) > RoomIn(l, font) && font.pointSizeF() - PixelPoints() >= 4.0)
        font.setPointSizeF(font.pointSizeF() - PixelPoints());
    l->setFont(font);
}

void FitFont(const std::vector<QLabel*>& labels, QFont font, int spare) {
    auto fits = [&] {
        for (const QLabel* l : labels)
            if (!l->text().isEmpty() && TextNeed(font, l->text(), l) + spare > RoomIn(l, font))
                return false;
        return true;
    };
    while (!fits() && font.pointSizeF() - PixelPoints() >= 4.0)
        font.setPointSizeF(font.pointSizeF() - PixelPoints());
    for (QLabel* l : labels) l->setFont(font);
}

}  // namespace zb

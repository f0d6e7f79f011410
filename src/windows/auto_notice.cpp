#include "windows/auto_notice.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "startup/messages.h"

namespace zb {

AutoNotice::AutoNotice(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("AutoNotice"));
    setWindowTitle(QString::fromLatin1(kProductName));
    // Shown by a pass nobody asked for: it must not take the keys from the
    // window the user is typing in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    icon->setAccessibleName(QString::fromStdU16String(u"警告"));
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("NoticeText"));
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text_->setTextFormat(Qt::PlainText);
    row->addWidget(icon);
    row->addWidget(text_, 1);
    layout->addLayout(row);
    auto* close = new QPushButton(QString::fromStdU16String(u"閉じる"), this);
    close->setObjectName(QStringLiteral("NoticeClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    layout->addWidget(close, 0, Qt::AlignRight);
}

void AutoNotice::setNotice(const std::string& text) {
    if (text.empty()) {
        hide();
        return;
    }
    text_->setText(QString::fromStdString(text));
    adjustSize();
    if (isVisible()) return;
    // Above the main window, right edges aligned, kept on its screen.
    const QWidget* owner = parentWidget();
    QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QPoint at(0, 0);
    if (owner) {
        if (const QScreen* sc = owner->screen()) screen = sc->availableGeometry();
        // The notice is framed only once shown: the owner's frame stands in
        // for its own.
        const QRect o = owner->frameGeometry();
        const QSize frame = o.size() - owner->size();
        at = QPoint(o.right() - width() - frame.width() + 1, o.top() - height() - frame.height());
    }
    at.setX(std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() - width())));
    at.setY(std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() - height())));
    move(at);
    ++shown_;
    show();
}

}  // namespace zb

#include "windows/Fmlog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>

#include "windows/accessible.h"
#include "windows/event_handler.h"
#include "windows/look.h"
#include "windows/slot_position.h"
#include "windows/window_common.h"
#include "windows/window_keys.h"

namespace zb {

namespace {

constexpr int kClientWidth = 2760, kClientHeight = 3285;
constexpr int kRowHeight = 210;

QFont PGothic() {
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPointSizeF(9.75);
    return f;
}

}  // namespace

Fmlog::Fmlog(AppState& state, const DetailTexts& t, QWidget* parent)
    : QWidget(parent, FixedDialogFrame()), s_(state) {
    setObjectName(QStringLiteral("Fmlog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(TwipsToPxX(kClientWidth), TwipsToPxY(kClientHeight));
    const Settings& st = s_.settings;

    text1_ = new QPlainTextEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(TwipsRect(30, 30, 2700, 2235));
    text1_->setFont(QFont(QStringLiteral("ＭＳ ゴシック"), 9));
    text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A line with odds is 26 half-width characters: it fits beside the
    // scroll bar only with a text box's narrow margin; longer ones wrap.
    text1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text1_->document()->setDocumentMargin(1);
    text1_->setReadOnly(true);
    ApplyBorderLook(text1_, st);

    picture1_ = new QFrame(this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(TwipsRect(30, 2295, 2700, 960));
    ApplyBorderLook(picture1_, st);
    const int inset = picture1_->frameWidth();
    struct Row {
        const char* caption;
        const char* value;
        const char* unit;
        const char16_t* captionText;
        const char16_t* unitText;
        int top, valueLeft, valueWidth;
    };
    static constexpr Row kRows[4] = {
        {"Label4", "Lbtohyo", "Label7_0", u"投票", u"円", 75, 1035, 915},
        {"Label5", "Lbharai", "Label7_1", u"払戻", u"円", 285, 1035, 915},
        {"Label6", "Lbkei", "Label7_2", u"損益", u"円", 495, 1035, 915},
        {"Label3", "Lbpar", "Label2", u"回収率", u"％", 705, 1215, 735},
    };
    const std::u16string values[4] = {t.stake, t.payout, t.profit, t.rate};
    for (std::size_t i = 0; i < 4; ++i) {
        const Row& r = kRows[i];
        auto place = [&](const char* name, const QString& text, int left, int width) {
            auto* l = new QLabel(text, picture1_);
            l->setObjectName(QString::fromLatin1(name));
            l->setGeometry(TwipsRect(left, r.top, width, kRowHeight).translated(inset, inset));
            return l;
        };
        QLabel* caption = place(r.caption, Q(r.captionText), 450, r.valueLeft - 450);
        QLabel* v = place(r.value, Q(values[i]), r.valueLeft, r.valueWidth);
        v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // A long figure may reach left up to its caption's text, then shrinks.
        const int captionEnd =
            caption->x() + TextNeed(caption->font(), caption->text(), caption) + TwipsToPxX(45);
        FitLabel(v, v->geometry(), captionEnd, v->geometry().right() + 1, PGothic());
        v->setBackgroundRole(QPalette::Base);
        v->setForegroundRole(QPalette::Text);
        v->setAutoFillBackground(true);
        place(r.unit, Q(r.unitText), 2025, 2700 - 2025 - 60);
        SetSpoken(v, t.spoken[i]);
        values_[i] = v;
    }
    if (t.profitNegative) {
        QPalette pal = lbkei()->palette();
        pal.setColor(QPalette::Text, QColor(255, 0, 0));
        lbkei()->setPalette(pal);
    }

    // Lies over the payout, profit and rate rows before the race.
    picture2_ = new QFrame(this);
    picture2_->setObjectName(QStringLiteral("Picture2"));
    picture2_->setGeometry(TwipsRect(210, 2565, 2370, 630));
    SetBackColor(picture2_, Qt::white);
    lbTime_ = new QLabel(Q(t.postTime), picture2_);
    lbTime_->setObjectName(QStringLiteral("LbTime"));
    lbTime_->setGeometry(TwipsRect(0, 180, 2460, 255));
    lbTime_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    lbTime_->setFont(PGothic());
    SetForeColor(lbTime_, Qt::black);
    picture2_->setVisible(t.postTimeShown);
    picture2_->raise();

    // Below the client area: the results board takes its caption from it.
    lbkai_ = new QLabel(Q(t.title), this);
    lbkai_->setObjectName(QStringLiteral("Lbkai"));
    lbkai_->setGeometry(TwipsRect(30, 3420, 2700, 255));
    lbkai_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    lbkai_->setFont(PGothic());
    ApplyBorderLook(lbkai_, st);
    SetForeColor(lbkai_, Qt::black);

    std::u16string report = s_.ReportText;
    for (std::size_t p; (p = report.find(u"\r\n")) != std::u16string::npos;) report.erase(p, 1);
    text1_->setPlainText(Q(report));
    setWindowTitle(Q(t.caption));
    MoveToSlot(this, s_, kSlotRaceDetail);
    CloseOnEscape(this);
    CopySelection(this, text1_);
}

void Fmlog::closeEvent(QCloseEvent* e) {
    HandleEvent(s_, [&] { SaveSlotPosition(this, s_, kSlotRaceDetail); });
    if (FmVision) FmVision->close();
    e->accept();
}

}  // namespace zb

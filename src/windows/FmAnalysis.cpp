#include "windows/FmAnalysis.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "archive/analysis_spoken.h"
#include "archive/sqlite_db.h"
#include "platform/file_lookup.h"
#include "startup/messages.h"
#include "windows/event_handler.h"
#include "windows/modal_scope.h"
#include "windows/slot_position.h"
#include "windows/twips.h"
#include "windows/window_common.h"
#include "windows/window_keys.h"

namespace zb {

namespace {

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

constexpr int kRateRole = Qt::UserRole + 1;  // return rate in tenths, -1 none

// The return-rate cell: a bar to scale (its width is 200 %), a line at 100 %,
// losses in red; the figure right of it, where no bar reaches.
class RateBar : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) const override {
        const qlonglong tenths = i.data(kRateRole).toLongLong();
        if (tenths >= 0) {
            const int figure = o.fontMetrics.horizontalAdvance(QStringLiteral("99999.9")) + 8;
            const QRect r = o.rect.adjusted(2, 3, -std::min(figure, o.rect.width() / 2), -3);
            const double part = std::min(1.0, static_cast<double>(tenths) / 2000.0);
            p->fillRect(QRect(r.left(), r.top(), static_cast<int>(r.width() * part), r.height()),
                        tenths < 1000 ? QColor(240, 150, 150) : QColor(150, 190, 240));
            const int x = r.left() + r.width() / 2;
            p->setPen(QColor(90, 90, 90));
            p->drawLine(x, o.rect.top(), x, o.rect.bottom());
        }
        QStyledItemDelegate::paint(p, o, i);
    }
};

constexpr const char* kKeyNames[] = {"券種", "場", "レース", "年", "月", "オッズ", "人気", "金額"};

std::string DialogSaveFile(QWidget* parent, const std::string& suggested) {
    const ModalScope modal;
    return QFileDialog::getSaveFileName(parent, QString::fromStdU16String(u"収支分析の保存"),
                                        QString::fromStdString(suggested),
                                        QStringLiteral("CSV (*.csv)"))
        .toStdString();
}

}  // namespace

FmAnalysis::FmAnalysis(AppState& state, QWidget* parent)
    : QWidget(parent, FixedDialogFrame()), s_(state), pickSaveFile_(DialogSaveFile) {
    setObjectName(QStringLiteral("FmAnalysis"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromStdU16String(u"収支分析"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    auto* top = new QHBoxLayout;
    key_ = new QComboBox(this);
    key_->setObjectName(QStringLiteral("Key"));
    for (const char* k : kKeyNames) key_->addItem(Q(k));
    period_ = new QComboBox(this);
    period_->setObjectName(QStringLiteral("Period"));
    from_ = new QDateEdit(this);
    to_ = new QDateEdit(this);
    for (QDateEdit* d : {from_, to_}) {
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setCalendarPopup(true);
        // Some styles (Windows') measure the date a digit short.
        d->setMinimumWidth(d->sizeHint().width() + 2 * d->fontMetrics().horizontalAdvance(u'0'));
    }
    top->addWidget(new QLabel(Q("区分"), this));
    top->addWidget(key_);
    top->addWidget(new QLabel(Q("期間"), this));
    top->addWidget(period_);
    top->addWidget(from_);
    top->addWidget(new QLabel(Q("～"), this));
    top->addWidget(to_);
    top->addStretch();

    // Toggles as the bet list's views are chosen; none pressed means all.
    auto toggles = [this](QHBoxLayout* row, auto& buttons, auto name, const QString& object) {
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            auto* b = new QToolButton(this);
            b->setObjectName(object + QString::number(i + 1));
            b->setText(Q(name(static_cast<int>(i) + 1)));
            b->setCheckable(true);
            connect(b, &QToolButton::toggled, this, [this] { rebuild(); });
            row->addWidget(b);
            buttons[i] = b;
        }
        row->addStretch();
    };
    auto* types = new QHBoxLayout;
    toggles(types, types_, BetTypeName, QStringLiteral("Type"));
    auto* venues = new QHBoxLayout;
    toggles(venues, venues_, VenueName, QStringLiteral("Venue"));

    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("Table"));
    table_->setColumnCount(8);
    table_->setHorizontalHeaderLabels({Q("区分"), Q("点数"), Q("的中"), Q("的中率"), Q("投票"),
                                       Q("払戻"), Q("損益"), Q("回収率")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setItemDelegateForColumn(7, new RateBar(table_));
    // The figures as wide as they need; the bar takes the rest.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(7, QHeaderView::Stretch);
    table_->horizontalHeader()->setMinimumSectionSize(fontMetrics().horizontalAdvance(Q("回収率")) +
                                                      24);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int c) { sortBy(c); });

    auto* bottom = new QHBoxLayout;
    since_ = new QLabel(this);
    since_->setObjectName(QStringLiteral("Since"));
    save_ = new QPushButton(Q("保存"), this);
    save_->setObjectName(QStringLiteral("Save"));
    bottom->addWidget(since_, 1);
    bottom->addWidget(save_);
    connect(save_, &QPushButton::clicked, this, [this] { save(); });

    auto* v = new QVBoxLayout(this);
    v->addLayout(top);
    v->addLayout(types);
    v->addLayout(venues);
    v->addWidget(table_, 1);
    v->addLayout(bottom);
    setFixedSize(TwipsToPxX(kAnalysisWidth), TwipsToPxY(kAnalysisHeight));
    v->activate();  // the note's width, for its first text
    MoveToSlot(this, s_, kSlotAnalysis);

    // Years with bets make the period's choices.
    period_->addItem(Q("全期間"), 0);
    try {
        for (const AnalysisRow& r : Analyse(ArchivePath(s_), AnalysisKey::kYear, {}))
            if (r.label != "計") period_->addItem(Q(r.label), std::stoi(r.label));
    } catch (const std::exception&) {
        // Told by rebuild().
    }
    period_->addItem(Q("期間指定"), -1);
    const QDate today = QDate::currentDate();
    from_->setDate(QDate(today.year(), 1, 1));
    to_->setDate(today);
    connect(key_, &QComboBox::currentIndexChanged, this, [this] {
        sortColumn_ = -1;
        rebuild();
    });
    connect(period_, &QComboBox::currentIndexChanged, this, [this] { rebuild(); });
    connect(from_, &QDateEdit::dateChanged, this, [this] { rebuild(); });
    connect(to_, &QDateEdit::dateChanged, this, [this] { rebuild(); });
    rebuild();
    CloseOnEscape(this);
    CopyOnCtrlC(this, [this] { return ShownRows(); });
}

QString FmAnalysis::ShownRows() const {
    auto text = [](const QTableWidgetItem* i) { return i ? i->text() : QString(); };
    std::vector<QStringList> rows(static_cast<std::size_t>(table_->rowCount()) + 1);
    for (int c = 0; c < table_->columnCount(); ++c) {
        rows[0] << text(table_->horizontalHeaderItem(c));
        for (int r = 0; r < table_->rowCount(); ++r)
            rows[static_cast<std::size_t>(r) + 1] << text(table_->item(r, c));
    }
    return TabSeparated(rows);
}

AnalysisFilter FmAnalysis::filter() const {
    AnalysisFilter f;
    const int period = period_->currentData().toInt();
    if (period > 0) {
        f.from = period * 10000 + 101;
        f.to = period * 10000 + 1231;
    } else if (period < 0) {
        auto value = [](const QDate& d) { return d.year() * 10000 + d.month() * 100 + d.day(); };
        f.from = value(from_->date());
        f.to = value(to_->date());
    }
    for (std::size_t i = 0; i < types_.size(); ++i)
        if (types_[i]->isChecked()) f.types |= uint32_t{1} << (i + 1);
    for (std::size_t i = 0; i < venues_.size(); ++i)
        if (venues_[i]->isChecked()) f.venues |= uint32_t{1} << (i + 1);
    return f;
}

void FmAnalysis::chooseKey(AnalysisKey key) {
    key_->setCurrentIndex(static_cast<int>(key));
}

void FmAnalysis::rebuild() {
    from_->setEnabled(period_->currentData().toInt() < 0);
    to_->setEnabled(period_->currentData().toInt() < 0);
    const std::string path = ArchivePath(s_);
    QString note;
    try {
        rows_ = Analyse(path, static_cast<AnalysisKey>(key_->currentIndex()), filter());
        const int32_t first = ArchiveFirstDate(path);
        note = first == 0
                   ? Q("収支記録はまだありません。")
                   : Q(std::to_string(first / 10000) + "年" + std::to_string(first / 100 % 100) +
                       "月" + std::to_string(first % 100) +
                       "日からの投票を記録しています（それより前の日は通帳のみ）。");
    } catch (const SqliteError& e) {
        rows_ = {AnalysisRow{"計", 0, 0, 0, 0}};
        note = Q("収支記録「" + path + "」を読めません: " + e.what());
    }
    // The window does not grow: a long path is cut in its middle, whole in the tool tip.
    const QString shown = since_->fontMetrics().elidedText(note, Qt::ElideMiddle, since_->width());
    since_->setText(shown);
    since_->setToolTip(shown == note ? QString() : note);
    if (sortColumn_ >= 0) SortAnalysisRows(rows_, sortColumn_, descending_);
    fill();
}

void FmAnalysis::sortBy(int column) {
    descending_ = column == sortColumn_ ? !descending_ : column != 0;
    sortColumn_ = column;
    SortAnalysisRows(rows_, sortColumn_, descending_);
    fill();
}

void FmAnalysis::fill() {
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const std::vector<std::string> cells = AnalysisCells(rows_[r]);
        const std::vector<std::u16string> said =
            AnalysisSaidCells(rows_[r], static_cast<AnalysisKey>(key_->currentIndex()));
        for (int c = 0; c < 8; ++c) {
            auto* item = new QTableWidgetItem(Q(cells[static_cast<std::size_t>(c)]));
            // A reader says the cell as said, not "-3400" or a bar.
            item->setData(Qt::AccessibleTextRole,
                          QString::fromStdU16String(said[static_cast<std::size_t>(c)]));
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            if (c == 6 && rows_[r].payout < rows_[r].stake) item->setForeground(Qt::red);
            if (c == 7)
                item->setData(kRateRole,
                              QVariant::fromValue<qlonglong>(ReturnTenths(rows_[r]).value_or(-1)));
            table_->setItem(static_cast<int>(r), c, item);
        }
    }
}

void FmAnalysis::closeEvent(QCloseEvent* e) {
    HandleEvent(s_, [&] { SaveSlotPosition(this, s_, kSlotAnalysis); });
    e->accept();
}

void FmAnalysis::save() {
    const std::string path = pickSaveFile_(this, JoinPath(s_.HomeFolder, "\\Korvane-bunseki.csv"));
    if (path.empty()) return;
    try {
        SaveAnalysisCsv(s_, path, rows_);
    } catch (const RunError& e) {
        ReportRunError(s_, e);
    }
}

}  // namespace zb

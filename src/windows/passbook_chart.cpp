#include "windows/passbook_chart.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <climits>
#include <cmath>

#include "accounting/passbook_view.h"
#include "windows/accessible.h"
#include "windows/twips.h"
#include "windows/window_common.h"

namespace zb {

namespace {

const QColor kRed(255, 0, 0);

// 20261205 as "2026/12/05".
QString Slashed(const PassbookEntry& e) {
    const QString d = Q(e.date.str());
    return d.left(4) + u'/' + d.mid(4, 2) + u'/' + d.mid(6, 2);
}

}  // namespace

ProfitChart::ProfitChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Chart"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void ProfitChart::setDays(std::vector<PassbookEntry> days) {
    days_ = std::move(days);
    running_ = RunningProfit(days_);
    scale_ = ChartScaleOf(days_);
    SetSpoken(this, {u"損益の累計の推移", ChartSaid(days_)});
    Place();
    update();
}

// Room for the amounts at the left and the years at the bottom.
QRect ProfitChart::plot() const {
    const int bottom = QFontMetrics(labelFont_, this).height() + 4;
    return QRect(side_, 4, std::max(width() - side_ - 6, 1), std::max(height() - bottom - 8, 1));
}

double ProfitChart::Y(const QRect& r, int64_t v) const {
    return r.bottom() - scale_.at(v) * r.height();
}

void ProfitChart::Place() {
    // The amounts' column takes the widest of them, at most a third of the
    // chart: a smaller font before the curve gets squeezed.
    const std::vector<int64_t> values = ChartMarks(scale_);
    labelFont_ = font();
    auto widest = [&] {
        int w = 0;
        for (int64_t v : values) w = std::max(w, TextNeed(labelFont_, Q(Grouped(v)), this));
        return w;
    };
    const double pixel = 72.0 / LogicalDpiY();
    while (widest() + 6 > width() / 3 && labelFont_.pointSizeF() - pixel >= 4.0)
        labelFont_.setPointSizeF(labelFont_.pointSizeF() - pixel);
    side_ = widest() + 6;

    const QRect r = plot();
    pointDays_ = ChartDays(days_.size(), r.width());
    points_.clear();
    zeroY_ = Y(r, 0);
    const double n = static_cast<double>(std::max<std::size_t>(days_.size() - 1, 1));
    for (std::size_t d : pointDays_)
        points_.push_back(
            QPointF(r.left() + static_cast<double>(d) / n * r.width(), Y(r, running_[d])));

    // The most important amounts first; one that would touch a label already
    // placed is left out.
    marks_.clear();
    const int h = QFontMetrics(labelFont_, this).height();
    for (int64_t v : values) {
        const int y = static_cast<int>(std::lround(Y(r, v)));
        const QRect box(0, std::clamp(y - h / 2, 0, std::max(height() - h, 0)), side_ - 4, h);
        const bool apart = std::none_of(marks_.begin(), marks_.end(), [&](const Mark& m) {
            return m.box.adjusted(0, -1, 0, 1).intersects(box);
        });
        if (apart) marks_.push_back({Q(Grouped(v)), box, y, v < 0});
    }
}

void ProfitChart::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Place();
}

void ProfitChart::paintEvent(QPaintEvent*) {
    QPainter g(this);
    g.setFont(labelFont_);
    const QFontMetrics fm(labelFont_, this);
    const QRect r = plot();
    for (const Mark& m : marks_) {
        g.setPen(m.negative ? kRed : QColor(Qt::black));
        g.drawText(m.box, Qt::AlignRight | Qt::AlignVCenter, m.text);
    }
    g.setPen(QColor(128, 128, 128));
    g.drawLine(QPointF(r.left(), zeroY_), QPointF(r.right(), zeroY_));
    g.drawLine(r.bottomLeft() + QPoint(0, 2), r.bottomRight() + QPoint(0, 2));
    // A compressed scale says so: its amounts are not evenly spaced.
    if (scale_.unit > 0) {
        g.setPen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
        for (const Mark& m : marks_)
            if (std::abs(m.y - zeroY_) > 1) g.drawLine(r.left(), m.y, r.right(), m.y);
    }
    // A mark and the year where each year begins; over many years only every
    // second, fifth, tenth... year, so that marks and labels stay apart.
    std::vector<std::pair<int, int>> starts;  // year, x
    int lastYear = -1;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const int y = Q(days_[pointDays_[i]].date.str()).left(4).toInt();
        if (y != lastYear) starts.emplace_back(y, static_cast<int>(points_[i].x()));
        lastYear = y;
    }
    const int room = std::max(r.width() / (fm.horizontalAdvance(QStringLiteral("0000")) + 8), 1);
    int step = 1;
    for (int s : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000}) {
        step = s;
        if (static_cast<int>(starts.size()) / s <= room) break;
    }
    g.setPen(Qt::black);
    int lastTextEnd = -1;
    // A point may stand for more than a year: a mark goes where the year
    // passes a multiple of the step.
    int lastMark = INT_MIN;
    for (const auto& [year, x] : starts) {
        const int mark = year / step * step;
        if (mark == lastMark || (step > 1 && lastMark == INT_MIN && year % step != 0)) {
            lastMark = mark;
            continue;
        }
        lastMark = mark;
        g.drawLine(x, r.bottom() + 2, x, r.bottom() + 5);
        const QString label = QString::number(mark);
        if (x > lastTextEnd && x + fm.horizontalAdvance(label) < width()) {
            g.drawText(QPoint(x + 2, height() - 4), label);
            lastTextEnd = x + 2 + fm.horizontalAdvance(label) + 4;
        }
    }
    if (points_.empty()) return;
    g.setRenderHint(QPainter::Antialiasing);
    const QPolygonF curve(QList<QPointF>(points_.begin(), points_.end()));
    // The same curve twice: dark above the zero line, red below it.
    g.setClipRect(QRectF(0, 0, width(), zeroY_));
    g.setPen(QPen(QColor(0, 0, 128), 1.2));
    points_.size() == 1 ? g.drawEllipse(points_[0], 1.5, 1.5) : g.drawPolyline(curve);
    g.setClipRect(QRectF(0, zeroY_, width(), height()));
    g.setPen(QPen(kRed, 1.2));
    points_.size() == 1 ? g.drawEllipse(points_[0], 1.5, 1.5) : g.drawPolyline(curve);
}

QString ProfitChart::tipAt(int x) const {
    if (points_.empty()) return {};
    std::size_t best = 0;
    for (std::size_t i = 1; i < points_.size(); ++i)
        if (std::abs(points_[i].x() - x) < std::abs(points_[best].x() - x)) best = i;
    const std::size_t d = pointDays_[best];
    return Slashed(days_[d]) + QString::fromStdU16String(u"  累計 ") + Q(Grouped(running_[d]));
}

bool ProfitChart::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QString tip = tipAt(help->pos().x());
        tip.isEmpty() ? QToolTip::hideText() : QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(e);
}

}  // namespace zb

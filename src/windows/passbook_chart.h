#pragma once
// The passbook window's chart "推移": the running profit over all days.

#include <QWidget>
#include <cstdint>
#include <vector>

#include "accounting/passbook_history.h"
#include "startup/app_state.h"

namespace zb {

// The running profit over all days, drawn in the rows' area: a zero line, the
// curve (red below zero), years along the bottom, amounts at the side; the
// tool tip tells the day nearest the pointer.
class ProfitChart : public QWidget {
  public:
    explicit ProfitChart(QWidget* parent);
    void setDays(std::vector<PassbookEntry> days);
    // The points drawn, in the widget's pixels, and the day of each.
    const std::vector<QPointF>& points() const { return points_; }
    const std::vector<std::size_t>& pointDays() const { return pointDays_; }
    // "2026/12/05  累計 12,340" for the point nearest x.
    QString tipAt(int x) const;
    // An amount at the side: its text and where it stands.
    struct Mark {
        QString text;
        QRect box;
        int y = 0;  // where the amount stands on the scale
        bool negative = false;
    };
    // The amounts labelled, none overlapping another; each box holds its text.
    const std::vector<Mark>& marks() const { return marks_; }
    // The font of the amounts and years: smaller than the window's when the
    // amounts would take more than a third of the width.
    const QFont& labelFont() const { return labelFont_; }

  protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool event(QEvent* e) override;

  private:
    void Place();
    QRect plot() const;
    double Y(const QRect& r, int64_t v) const;
    std::vector<PassbookEntry> days_;
    std::vector<int64_t> running_;
    std::vector<std::size_t> pointDays_;
    std::vector<QPointF> points_;
    std::vector<Mark> marks_;
    ChartScale scale_;
    QFont labelFont_;
    int side_ = 0;  // the amounts' column at the left
    double zeroY_ = 0;
};

}  // namespace zb

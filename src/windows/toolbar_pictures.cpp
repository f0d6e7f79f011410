#include "windows/toolbar_pictures.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <map>

namespace zb {

namespace {

const QColor kGreen(0, 128, 0), kBlue(0, 0, 192), kRed(192, 0, 0), kNavy(0, 0, 128);

QPixmap Blank() {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    return p;
}

void Refresh(QPainter& g) {
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(kGreen, 2.0));
    g.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 280 * 16);
    QPainterPath head;
    head.moveTo(9.0, 0.5);
    head.lineTo(14.5, 3.0);
    head.lineTo(9.5, 6.5);
    head.closeSubpath();
    g.setPen(Qt::NoPen);
    g.setBrush(kGreen);
    g.drawPath(head);
}

void BankChart(QPainter& g) {
    g.setPen(Qt::black);
    g.drawLine(1, 14, 14, 14);
    g.drawLine(1, 1, 1, 14);
    g.fillRect(3, 8, 3, 6, kBlue);
    g.fillRect(7, 4, 3, 10, kRed);
    g.fillRect(11, 6, 3, 8, kBlue);
}

// A sheet of lines: the bet list, and under each view its own mark.
void Sheet(QPainter& g, int lines) {
    g.setPen(Qt::black);
    g.setBrush(Qt::white);
    g.drawRect(2, 0, 11, 15);
    g.setPen(kNavy);
    for (int i = 0, y = 3; i < lines; ++i, y += 3) g.drawLine(4, y, 11, y);
}

void Passbook(QPainter& g) {
    g.setPen(Qt::black);
    g.setBrush(QColor(0, 96, 160));
    g.drawRect(2, 1, 11, 14);
    g.fillRect(4, 1, 1, 14, QColor(0, 48, 96));
    g.fillRect(6, 4, 6, 3, Qt::white);
}

void Tick(QPainter& g) {
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(kGreen, 2.0));
    g.drawPolyline(QPolygonF({QPointF(6, 10), QPointF(9, 13.5), QPointF(15, 6)}));
}

void Clock(QPainter& g) {
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(160, 96, 0), 1.2));
    g.setBrush(QColor(255, 240, 160));
    g.drawEllipse(QRectF(7, 7, 8.5, 8.5));
    g.drawLine(QPointF(11.25, 11.25), QPointF(11.25, 8.5));
    g.drawLine(QPointF(11.25, 11.25), QPointF(13.5, 11.25));
}

void Star(QPainter& g, const QRectF& box, const QColor& c) {
    g.setRenderHint(QPainter::Antialiasing);
    QPainterPath star;
    const QPointF m = box.center();
    const double r = box.width() / 2;
    for (int i = 0; i < 10; ++i) {
        const double a = (i * 36.0 - 90.0) * 3.14159265358979 / 180.0;
        const double rr = i % 2 == 0 ? r : r * 0.45;
        const QPointF p(m.x() + rr * std::cos(a), m.y() + rr * std::sin(a));
        i == 0 ? star.moveTo(p) : star.lineTo(p);
    }
    star.closeSubpath();
    g.setPen(QPen(c.darker(150), 0.8));
    g.setBrush(c);
    g.drawPath(star);
}

// An arrow up (best days) or down (worst days) over a bar.
void Arrow(QPainter& g, bool up) {
    g.setRenderHint(QPainter::Antialiasing);
    const QColor c = up ? QColor(0, 0, 224) : QColor(224, 0, 0);
    QPainterPath a;
    a.moveTo(8, 1);
    a.lineTo(14, 8);
    a.lineTo(10, 8);
    a.lineTo(10, 15);
    a.lineTo(6, 15);
    a.lineTo(6, 8);
    a.lineTo(2, 8);
    a.closeSubpath();
    if (!up) g.setTransform(QTransform(1, 0, 0, -1, 0, 16));  // the same arrow upside down
    g.setPen(QPen(c.darker(150), 0.8));
    g.setBrush(c);
    g.drawPath(a);
}

// A rising and falling line over an axis: the running profit.
void Curve(QPainter& g) {
    g.setPen(Qt::black);
    g.drawLine(1, 1, 1, 14);
    g.drawLine(1, 9, 15, 9);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(kBlue, 1.6));
    g.drawPolyline(QPolygonF({QPointF(2, 8), QPointF(5, 5), QPointF(8, 7), QPointF(11, 2)}));
    g.setPen(QPen(kRed, 1.6));
    g.drawPolyline(QPolygonF({QPointF(11, 2), QPointF(13, 12), QPointF(15, 13)}));
}

// A calendar page: the year and month totals.
void Calendar(QPainter& g) {
    g.setPen(Qt::black);
    g.setBrush(Qt::white);
    g.drawRect(1, 2, 13, 12);
    g.fillRect(2, 3, 12, 3, kRed);
    g.setPen(kNavy);
    for (int y = 8; y <= 12; y += 2)
        for (int x = 3; x <= 12; x += 3) g.drawPoint(x, y);
}

// A floppy disk: saving the days to a file.
void Disk(QPainter& g) {
    g.setPen(Qt::black);
    g.setBrush(QColor(40, 40, 120));
    g.drawRect(1, 1, 13, 13);
    g.fillRect(4, 2, 8, 5, Qt::white);
    g.fillRect(4, 10, 8, 4, QColor(200, 200, 200));
    g.fillRect(9, 3, 2, 3, QColor(40, 40, 120));
}

QIcon DrawIcon(ToolbarPicture picture) {
    QPixmap p = Blank();
    {
        QPainter g(&p);
        switch (picture) {
            case ToolbarPicture::kRefresh:
                Refresh(g);
                break;
            case ToolbarPicture::kBankChart:
                BankChart(g);
                break;
            case ToolbarPicture::kBetList:
            case ToolbarPicture::kAllBets:
                Sheet(g, 4);
                break;
            case ToolbarPicture::kAcceptedBets:
                Sheet(g, 3);
                Tick(g);
                break;
            case ToolbarPicture::kUndecidedBets:
                Sheet(g, 3);
                Clock(g);
                break;
            case ToolbarPicture::kHitBets:
                Sheet(g, 3);
                Star(g, QRectF(6, 6, 10, 10), QColor(255, 200, 0));
                break;
            case ToolbarPicture::kPassbook:
            case ToolbarPicture::kDays:
                Passbook(g);
                break;
            case ToolbarPicture::kBestDays:
                Arrow(g, true);
                break;
            case ToolbarPicture::kWorstDays:
                Arrow(g, false);
                break;
            case ToolbarPicture::kProfitCurve:
                Curve(g);
                break;
            case ToolbarPicture::kPeriodTotals:
                Calendar(g);
                break;
            case ToolbarPicture::kSave:
                Disk(g);
                break;
        }
    }
    return QIcon(p);
}

// Drawn once: the style caches each icon's pixmaps under the icon's own key,
// so icons drawn anew at every opening of a window grew that cache for good.
std::map<ToolbarPicture, QIcon>& Drawn() {
    static auto* icons = new std::map<ToolbarPicture, QIcon>;
    return *icons;
}

}  // namespace

QIcon ToolbarIcon(ToolbarPicture picture) {
    std::map<ToolbarPicture, QIcon>& icons = Drawn();
    // Their pixmaps go with the application.
    if (icons.empty()) qAddPostRoutine([] { Drawn().clear(); });
    auto it = icons.find(picture);
    if (it == icons.end()) it = icons.emplace(picture, DrawIcon(picture)).first;
    return it->second;
}

}  // namespace zb

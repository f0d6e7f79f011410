// A window opens where its title bar can be reached.

#include "windows/slot_position.h"

#include <QtTest>

#include "windows/FmKei.h"

class SlotPositionTest : public QObject {
    Q_OBJECT
  private slots:
    void reachablePosition() {
        // 1280 x 1024 less a taskbar of 24, and a second screen on its left.
        const QRect home(0, 0, 1280, 1000);
        const QRegion one(home), two = one + QRect(-1024, 0, 1024, 768);
        const QPoint d(900, 700);
        const struct {
            QPoint saved;
            QRegion area;
            QPoint fallback, expected;
        } cases[] = {
            {{1080, 980}, one, d, {1080, 980}},             // flush with the corner
            {{1081, 0}, one, d, d},                         // a pixel beyond the right edge
            {{100, 981}, one, d, d},                        // under the taskbar
            {{-500, 100}, two, d, {-500, 100}},             // on the second screen
            {{-500, 760}, two, d, d},                       // below the second screen
            {{-500, 100}, one, {1800, 1500}, {1080, 980}},  // a larger screen's default
            {{5000, 5000}, one, {-300, -40}, {0, 0}},
        };
        for (const auto& c : cases)
            QCOMPARE(zb::ReachablePosition(c.saved, c.fallback, {200, 20}, c.area, home),
                     c.expected);
        // Wired into every window: a passbook saved far right opens at 0, 0.
        zb::AppState s;
        s.settings.Left(zb::kSlotPassbook) = 300000;
        QCOMPARE(zb::FmKei(s).pos(), QPoint(0, 0));
    }
};

QTEST_MAIN(SlotPositionTest)
#include "slot_position_test.moc"

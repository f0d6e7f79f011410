// Where a window opens: its saved position while its title bar can be
// reached, else its slot's default, pulled onto the screen when need be.

#include "windows/slot_position.h"

#include <QtTest>

#include "windows/FmKei.h"
#include "windows/twips.h"

class SlotPositionTest : public QObject {
    Q_OBJECT
  private slots:
    void reachablePosition() {
        // A 1280 x 1024 screen less a taskbar of 24, a second screen on its left.
        const QRect home(0, 0, 1280, 1000);
        const QRegion one(home), two = one + QRect(-1024, 0, 1024, 768);
        const QSize bar(200, 20);
        const QPoint dflt(900, 700);
        const struct {
            const char* name;
            QPoint saved;
            QRegion area;
            QPoint fallback, expected;
        } cases[] = {
            {"on screen", {100, 100}, one, dflt, {100, 100}},
            {"flush with the right edge", {1080, 0}, one, dflt, {1080, 0}},
            {"a pixel beyond the right edge", {1081, 0}, one, dflt, dflt},
            {"a pixel above the top", {100, -1}, one, dflt, dflt},
            {"under the taskbar", {100, 981}, one, dflt, dflt},
            {"just above the taskbar", {100, 980}, one, dflt, {100, 980}},
            {"far off", {20000, -20000}, one, dflt, dflt},
            {"on the second screen", {-500, 100}, two, dflt, {-500, 100}},
            {"below the second screen", {-500, 760}, two, dflt, dflt},
            {"second screen gone", {-500, 100}, one, dflt, dflt},
            {"default of a larger screen", {-500, 100}, one, {1800, 1500}, {1080, 980}},
            {"default above and left", {5000, 5000}, one, {-300, -40}, {0, 0}},
        };
        for (const auto& c : cases)
            QVERIFY2(zb::ReachablePosition(c.saved, c.fallback, bar, c.area, home) == c.expected,
                     c.name);
    }

    void windowSavedOffScreenOpensAtItsDefault() {
        zb::AppState s;
        s.settings.Left(zb::kSlotPassbook) = 300000;
        s.settings.Top(zb::kSlotPassbook) = 1500;
        zb::FmKei far(s);
        QCOMPARE(far.pos(), QPoint(0, 0));  // the passbook's default
        s.settings.Left(zb::kSlotPassbook) = 3000;
        zb::FmKei near(s);
        QCOMPARE(near.pos(), QPoint(zb::TwipsToPxX(3000), zb::TwipsToPxY(1500)));
    }
};

QTEST_MAIN(SlotPositionTest)
#include "slot_position_test.moc"

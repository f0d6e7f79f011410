// The analysis window on the demo folder's archive: the table as the report
// computes it, sorting, filters, saving, and pictures of every key.

#include "windows/FmAnalysis.h"

#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include "accounting/passbook.h"
#include "fixtures/loaded_day.h"
#include "fixtures/pat98_writer.h"
#include "fixtures/recording_sink.h"
#include "platform/file_lookup.h"
#include "tools/report_run.h"
#include "windows/FMmain.h"
#include "windows/qt_messages.h"
#include "windows/save_png.h"

class FmAnalysisTest : public QObject {
    Q_OBJECT
    zb::fixture::TempDir tmp_;
    zb::AppState s_;
    zb::fixture::RecordingSink sink_;
    static constexpr const char* kKeys[] = {"type",  "venue", "race",       "year",
                                            "month", "odds",  "popularity", "stake"};

    std::vector<std::vector<std::string>> shown(const zb::FmAnalysis& w) {
        std::vector<std::vector<std::string>> rows(std::size_t(w.table()->rowCount()));
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (int c = 0; c < 8; ++c)
                rows[r].push_back(w.table()->item(int(r), c)->text().toStdString());
        return rows;
    }

    // Each key's rows, without and with filters, are the report's lines; each
    // posted day's archived sums are the passbook's.
    void expectTheReport(zb::FmAnalysis& w, const zb::AppState& s) {
        for (const char* filter : {"", "Type2 Type5 Venue9"}) {
            for (const QString& b : QString(filter).split(u' ', Qt::SkipEmptyParts))
                w.findChild<QToolButton*>(b)->setChecked(true);
            for (int k = 0; k < 8; ++k) {
                w.chooseKey(zb::AnalysisKey(k));
                std::string lines = "区分,点数,的中,的中率,投票,払戻,損益,回収率\r\n";
                for (const auto& row : shown(w))
                    for (const std::string& c : row)
                        lines += c + (&c == &row.back() ? "\r\n" : ",");
                std::vector<std::string> args = {"--folder", s.HomeFolder, "--analysis", kKeys[k]};
                if (*filter) args.insert(args.end(), {"--type", "2,5", "--venue", "9"});
                QCOMPARE(lines, zb::test::RunReport(args).out);
            }
        }
        std::map<int32_t, std::pair<int64_t, int64_t>> sums, days;
        for (const zb::ArchivedBet& b : zb::ReadBets(zb::ArchivePath(s), 0, 99991231))
            sums[b.date] = {sums[b.date].first + b.stake, sums[b.date].second + b.payout};
        for (const zb::PassbookEntry& e : s.Passbook)
            if (e.date.view() != u"00000000")
                days[zb::LenientI32(e.date.view())] = {e.stake, e.payout};
        QCOMPARE(sums, days);
        QVERIFY(days.size() > 1);
    }

  private slots:
    void initTestCase() {
        zb::InstallFontSubstitutes();
        QCOMPARE(zb::test::RunProgram(ZB_DEMO_BINARY, {tmp_.path()}).status, 0);
        s_.HomeFolder = s_.Pat98Folder = tmp_.path();
        s_.AppFolder = tmp_.path() + "/";
        s_.Messages = &sink_;
    }

    void tableIsTheAnalysisForEveryKey() {
        zb::FmAnalysis w(s_);
        w.show();
        for (int k = 0; k < 8; ++k) {
            const auto key = *zb::ParseAnalysisKey(kKeys[k]);
            w.chooseKey(key);
            std::vector<std::vector<std::string>> expected;
            for (const auto& r : zb::Analyse(zb::ArchivePath(s_), key, {}))
                expected.push_back(zb::AnalysisCells(r));
            QCOMPARE(shown(w), expected);
            SavePng(&w, QStringLiteral("analysis-%1.png").arg(kKeys[k]));
        }
    }

    void sortsByAColumnAndKeepsTheTotalLast() {
        zb::FmAnalysis w(s_);
        w.sortBy(7);  // return rate, highest first
        const auto& rows = w.rows();
        QCOMPARE(rows.back().label, std::string("計"));
        for (std::size_t i = 1; i + 1 < rows.size(); ++i)
            QVERIFY(zb::ReturnTenths(rows[i - 1]) >= zb::ReturnTenths(rows[i]));
        w.sortBy(7);
        QVERIFY(zb::ReturnTenths(w.rows().front()) <= zb::ReturnTenths(w.rows()[1]));
    }

    void filtersAndSavingRefuseTheProgramsFiles() {
        zb::FmAnalysis w(s_);
        w.chooseKey(zb::AnalysisKey::kVenue);
        w.findChild<QToolButton*>(QStringLiteral("Type4"))->setChecked(true);  // 馬連
        zb::AnalysisFilter f;
        f.types = 1u << 4;
        QCOMPARE(w.rows().back().bets,
                 zb::Analyse(zb::ArchivePath(s_), zb::AnalysisKey::kVenue, f).back().bets);
        SavePng(&w, QStringLiteral("analysis-venue-filtered.png"));
        const std::string out = tmp_.path() + "/out.csv";
        for (const std::string& target : {zb::ArchivePath(s_), tmp_.path() + "/UY-A.JRA", out}) {
            w.setPickSaveFile([&](QWidget*, const std::string&) { return target; });
            w.save();
        }
        QCOMPARE(sink_.messages.size(), std::size_t{2});
        QCOMPARE(zb::fixture::ReadAll(out), "\xEF\xBB\xBF" + zb::AnalysisCsv(w.rows()));
    }

    // Days run through the program: the window opened on the first day's
    // archive and rebuilt by the refresh that reads the next; then the demo
    // folder, whose day the program adds to the archive the demo came with.
    void showsWhatTheReportPrintsOnDaysRunThroughTheProgram() {
        using namespace zb::fixture;
        RaceDay next("20261213");
        next.meeting(9, 5, 4).buy("20261213", {Bet::Place(9, 1, 3, 2), Bet::Wide(9, 1, 3, 8, 3),
                                               Bet::Bracket(9, 1, 2, 5, 1), Bet::Win(9, 2, 6, 4)});
        next.result(9, 1,
                    RaceResult().win(3, 650).place(3, 130).bracket(2, 5, 1560).wide(3, 8, 640));
        next.result(9, 2, RaceResult().win(1, 300).scratched(6));
        next.odds(9, 1, WinPlaceOdds(18).horse(3, "  6.5", "  2.1", "  2.9").bracket(2, 5, " 15.0"),
                  QuinellaOdds(18).pair(3, 8, "  30.1", "   7.5", "   9.0"));
        for (bool demo : {false, true}) {
            LoadedDay d;
            if (demo) QCOMPARE(zb::test::RunProgram(ZB_DEMO_BINARY, {d.tmp.path()}).status, 0);
            if (!demo) SmallSettledDay().write(d.dir);
            QVERIFY(zb::Main(*d.s, {d.tmp.path(), d.tmp.path() + "/", 12000, 12000}));
            zb::FMmain m(*d.s);
            m.MenuAnalysis_Click();
            if (!demo) next.write(d.dir);
            if (!demo) m.RefreshAll();
            QVERIFY(d.sink.messages.empty());
            expectTheReport(*qobject_cast<zb::FmAnalysis*>(m.analysis_.data()), *d.s);
        }
    }
};

QTEST_MAIN(FmAnalysisTest)
#include "FmAnalysis_test.moc"

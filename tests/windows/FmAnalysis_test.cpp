// The analysis window on the demo folder's archive: the table as the report
// computes it, sorting, filters, saving, and pictures of every key.

#include "windows/FmAnalysis.h"

#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include "fixtures/pat98_writer.h"
#include "fixtures/recording_sink.h"
#include "platform/file_lookup.h"
#include "tools/report_run.h"
#include "windows/qt_messages.h"
#include "windows/save_png.h"

class FmAnalysisTest : public QObject {
    Q_OBJECT
    zb::fixture::TempDir tmp_;
    zb::AppState s_;
    zb::fixture::RecordingSink sink_;

    std::vector<std::vector<std::string>> shown(const zb::FmAnalysis& w) {
        std::vector<std::vector<std::string>> rows(std::size_t(w.table()->rowCount()));
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (int c = 0; c < 8; ++c)
                rows[r].push_back(w.table()->item(int(r), c)->text().toStdString());
        return rows;
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
        const char* keys[] = {"type",  "venue", "race",       "year",
                              "month", "odds",  "popularity", "stake"};
        for (int k = 0; k < 8; ++k) {
            const auto key = *zb::ParseAnalysisKey(keys[k]);
            w.chooseKey(key);
            std::vector<std::vector<std::string>> expected;
            for (const auto& r : zb::Analyse(zb::ArchivePath(s_), key, {}))
                expected.push_back(zb::AnalysisCells(r));
            QCOMPARE(shown(w), expected);
            SavePng(&w, QStringLiteral("analysis-%1.png").arg(keys[k]));
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
        w.resize(w.width() * 2, w.height());
        SavePng(&w, QStringLiteral("analysis-venue-filtered.png"));
        const std::string out = tmp_.path() + "/out.csv";
        for (const std::string& target : {zb::ArchivePath(s_), tmp_.path() + "/UY-A.JRA", out}) {
            w.setPickSaveFile([&](QWidget*, const std::string&) { return target; });
            w.save();
        }
        QCOMPARE(sink_.messages.size(), std::size_t{2});
        QCOMPARE(zb::fixture::ReadAll(out), "\xEF\xBB\xBF" + zb::AnalysisCsv(w.rows()));
    }
};

QTEST_MAIN(FmAnalysisTest)
#include "FmAnalysis_test.moc"

// Saves pictures of the records page, the year page and the year's share
// card filled from a log: review_pictures LOG OUTDIR. Runs offscreen unless
// a display is given.
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "gui/review/RecordsPage.h"
#include "gui/review/YearReviewPage.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    using namespace tolvane;
    if (argc != 3) {
        std::fprintf(stderr, "usage: tolvane_review_pictures LOG OUTDIR\n");
        return 2;
    }
    QApplication app(argc, argv);
    Analysis analysis;
    if (AnalysisRun(analysis, Filter{}, GraphSettings{}, {}).run(argv[1]).state != RunOutcome::State::Completed) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    const RowList rows = allRows(analysis.plays);

    RecordsPage records;
    records.resize(1000, 700);
    records.setRecords(buildRecordsView(analysis.plays, rows));
    records.show();
    YearReviewPage year;
    year.resize(1100, 800);
    year.setYearSource(std::make_shared<const YearReviewSource>(analysis.plays, rows, 30));
    year.show();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
    records.showMonth(records.currentMonth() - 2);
    QApplication::processEvents();
    const bool saved = records.grab().save(out.filePath("records.png"))
        && year.grab().save(out.filePath("year-review.png")) && year.shareCard().save(out.filePath("share-card.png"));
    return saved ? 0 : 1;
}

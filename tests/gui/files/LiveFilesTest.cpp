#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "gui/HistoryNotifier.h"
#include "gui/files/ChartExport.h"
#include "gui/files/FileDrop.h"
#include "gui/files/LiveLog.h"
#include "gui/files/LogWatcher.h"
#include "gui/files/ScrollAnchor.h"
#include "gui/models/ItemRoles.h"
#include "gui/models/PlayListModel.h"
#include "support/GuiTest.h"
#include "support/LogGenerator.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QSet>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::testing::TempDir;
using tolvane::testing::writeBytes;

namespace {

class LiveFilesTest : public ::testing::Test {
protected:
    void SetUp() override { tolvane::testing::ensureApplication(); }
    TempDir dir;
};

QMimeData* dropOf(const std::vector<std::filesystem::path>& paths)
{
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const auto& p : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(p.string()));
    data->setUrls(urls);
    return data;
}

} // namespace

TEST_F(LiveFilesTest, ABurstOfWritesIsReportedOnceAndAReplacedFileIsStillWatched)
{
    const auto log = dir.file("score.txt");
    writeBytes(log, "start\r\n");
    LogWatcher watcher;
    QSignalSpy changed(&watcher, &LogWatcher::changed);
    watcher.watch(QString::fromStdString(log.string()));
    for (int i = 0; i < 10; ++i) {
        writeBytes(log, "more\r\n", std::ios::app);
        QTest::qWait(10);
    }
    QTest::qWait(LogWatcher::kSettleMs + 300);
    EXPECT_EQ(changed.size(), 1);

    // Replaced by a rename, as editors and some games save.
    writeBytes(dir.file("new.txt"), "new\r\n");
    std::filesystem::rename(dir.file("new.txt"), log);
    EXPECT_TRUE(changed.wait(2000));
    changed.clear();
    writeBytes(log, "after\r\n", std::ios::app);
    EXPECT_TRUE(changed.wait(2000));

    // Deleted and made again.
    std::filesystem::remove(log);
    QTest::qWait(LogWatcher::kSettleMs + 200);
    changed.clear();
    writeBytes(log, "again\r\n");
    EXPECT_TRUE(changed.wait(2000));
    watcher.stop();
    changed.clear();
    writeBytes(log, "unwatched\r\n", std::ios::app);
    QTest::qWait(LogWatcher::kSettleMs + 200);
    EXPECT_EQ(changed.size(), 0);
}

TEST_F(LiveFilesTest, DroppedFilesOpenAsOneHistoryAFolderGetsAMessage)
{
    writeBytes(dir.file("score.txt"), "x");
    writeBytes(dir.file("other.txt"), "x");
    const std::unique_ptr<QMimeData> one(dropOf({dir.file("score.txt")}));
    EXPECT_EQ(FileDrop::judge(*one).path.toStdString(), dir.file("score.txt").string());
    EXPECT_TRUE(FileDrop::judge(*one).message.empty());

    const std::unique_ptr<QMimeData> two(dropOf({dir.file("score.txt"), dir.file("other.txt")}));
    EXPECT_EQ(FileDrop::judge(*two).paths.size(), 2);
    EXPECT_TRUE(FileDrop::judge(*two).message.empty());
    const std::unique_ptr<QMimeData> folder(dropOf({dir.path()}));
    EXPECT_TRUE(FileDrop::judge(*folder).path.isEmpty());
    EXPECT_EQ(FileDrop::judge(*folder).message.front(), "フォルダは開けません。スコアファイルをドロップしてください。");
    QMimeData text;
    text.setText("score.txt");
    EXPECT_FALSE(FileDrop::judge(text).message.empty());
}

TEST_F(LiveFilesTest, AChartIsSavedAsPngAtItsPixelRatioOrAsSvgUnderItsTitleAndPeriod)
{
    QLabel chart("bars");
    chart.resize(200, 100);
    const qreal ratio = chart.devicePixelRatioF();
    const QImage bare = QImage::fromData(ChartExport::png(chart, {}, {}), "PNG");
    ASSERT_FALSE(bare.isNull());
    EXPECT_EQ(bare.size(), QSize(qRound(200 * ratio), qRound(100 * ratio)));
    EXPECT_TRUE(ChartExport::svg(chart, {}, {}).contains("viewBox=\"0 0 200 100\""));

    // With a heading the image grows by it, and its band holds ink.
    const QImage headed = QImage::fromData(ChartExport::png(chart, "年別", "2001年1月 – 2004年12月"), "PNG");
    ASSERT_GT(headed.height(), bare.height() + qRound(20 * ratio));
    const int band = headed.height() - bare.height();
    QSet<QRgb> colours;
    for (int y = 0; y < band; ++y)
        for (int x = 0; x < headed.width(); ++x)
            colours.insert(headed.pixel(x, y));
    EXPECT_GT(colours.size(), 1);
    const QString svg = QString::fromUtf8(ChartExport::svg(chart, "年別", "2001年1月 – 2004年12月"));
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains(">年別<")) << "the title as text";
    EXPECT_TRUE(svg.contains("2001年1月 – 2004年12月"));
    EXPECT_TRUE(svg.contains(QString("viewBox=\"0 0 200 %1\"").arg(100 + band / ratio)));
}

TEST_F(LiveFilesTest, PlaysAppendedToTheOpenLogShowUpKeepingTheListsScrollAndSelection)
{
    tolvane::testing::GeneratorOptions options;
    options.plays = 203;
    options.junkRate = 0;
    const auto log = tolvane::testing::generateLog(options);
    const std::size_t cut = log.bytes.find("[Start of Score]", log.bytes.size() * 199 / 203);
    const auto path = dir.file("score.txt");
    writeBytes(path, log.bytes.substr(0, cut));
    HistoryNotifier history;
    const RunOutcome outcome = history.load({LogSource{path}}, Filter{}, GraphSettings{}, {});
    ASSERT_EQ(outcome.state, RunOutcome::State::Completed);
    const Analysis& analysis = history.history().analysis();
    const int before = static_cast<int>(analysis.plays.size());

    PlayListModel model(analysis.plays);
    model.reset();
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    proxy.setSortRole(SortRole);
    QTableView view;
    view.setModel(&proxy);
    view.setSortingEnabled(true);
    view.sortByColumn(PlayListModel::No, Qt::DescendingOrder); // the new plays come in above
    view.resize(400, 300);
    view.show();
    view.selectRow(60);
    view.scrollTo(proxy.index(50, 0), QAbstractItemView::PositionAtTop);
    const QString selectedNo = view.selectionModel()->selectedRows().front().data().toString();
    const QString topNo = view.indexAt(QPoint(1, 1)).data().toString();

    LiveLog live(history);
    QString status;
    QObject::connect(&live, &LiveLog::statusText, [&status](const QString& text) { status = text; });
    QObject::connect(&live, &LiveLog::playsAdded, [&] {
        const ScrollAnchor anchor(view);
        model.syncRows();
    });
    QSignalSpy added(&live, &LiveLog::playsAdded);
    live.follow(QString::fromStdString(path.string()), Filter{}, outcome);
    QElapsedTimer clock;
    clock.start();
    writeBytes(path, log.bytes.substr(cut), std::ios::app);
    ASSERT_TRUE(added.wait(2000));
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(added.front().at(0).toInt(), static_cast<int>(analysis.plays.size()) - before);
    EXPECT_EQ(status, QString("%1 件追加").arg(analysis.plays.size() - before));
    EXPECT_EQ(proxy.rowCount(), static_cast<int>(analysis.plays.size()));
    EXPECT_EQ(view.selectionModel()->selectedRows().front().data().toString(), selectedNo);
    EXPECT_EQ(view.indexAt(QPoint(1, 1)).data().toString(), topNo);

    // Truncated: the log is to be read again in full.
    QSignalSpy reload(&live, &LiveLog::reloadNeeded);
    std::filesystem::resize_file(path, 100);
    ASSERT_TRUE(reload.wait(2000));
    EXPECT_FALSE(live.following());
}

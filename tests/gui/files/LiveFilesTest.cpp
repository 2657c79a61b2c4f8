#include "gui/files/ChartExport.h"
#include "gui/files/FileDrop.h"
#include "gui/files/LogWatcher.h"
#include "support/GuiTest.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
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

TEST_F(LiveFilesTest, OnlyOneDroppedFileOpensAFolderOrSeveralFilesGetAMessage)
{
    writeBytes(dir.file("score.txt"), "x");
    writeBytes(dir.file("other.txt"), "x");
    const std::unique_ptr<QMimeData> one(dropOf({dir.file("score.txt")}));
    EXPECT_EQ(FileDrop::judge(*one).path.toStdString(), dir.file("score.txt").string());
    EXPECT_TRUE(FileDrop::judge(*one).message.empty());

    const std::unique_ptr<QMimeData> two(dropOf({dir.file("score.txt"), dir.file("other.txt")}));
    EXPECT_TRUE(FileDrop::judge(*two).path.isEmpty());
    EXPECT_FALSE(FileDrop::judge(*two).message.empty());
    const std::unique_ptr<QMimeData> folder(dropOf({dir.path()}));
    EXPECT_TRUE(FileDrop::judge(*folder).path.isEmpty());
    EXPECT_EQ(FileDrop::judge(*folder).message.front(), "フォルダは開けません。スコアファイルをドロップしてください。");
    QMimeData text;
    text.setText("score.txt");
    EXPECT_FALSE(FileDrop::judge(text).message.empty());
}

TEST_F(LiveFilesTest, AChartIsSavedAsPngAtItsPixelRatioOrAsSvg)
{
    QLabel chart("年別");
    chart.resize(200, 100);
    const QImage image = QImage::fromData(ChartExport::png(chart), "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), qRound(200 * chart.devicePixelRatioF()));
    const QByteArray svg = ChartExport::svg(chart, "年別");
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 200 100\""));
}

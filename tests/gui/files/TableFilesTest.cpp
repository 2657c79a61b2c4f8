#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/export/CsvText.h"
#include "gui/files/PrintCommand.h"
#include "gui/files/RecentFilesMenu.h"
#include "gui/files/SaveCommand.h"
#include "gui/files/TableExport.h"
#include "gui/models/ItemRoles.h"
#include "gui/models/PlayListModel.h"
#include "support/GuiTest.h"
#include "support/LogGenerator.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::testing::MessageBoxAnswerer;
using tolvane::testing::readBytes;

namespace {

// A log analysed with a load filter, shown as the window shows the data list:
// a sorting and filtering proxy over the plays.
class TableFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tolvane::testing::ensureApplication();
        tolvane::testing::GeneratorOptions options;
        options.plays = 300;
        tolvane::testing::writeLog(log.string(), options);
        filter.ScoreFilter = true;
        filter.MinScore = 100000;
        ASSERT_EQ(AnalysisRun(analysis, filter, GraphSettings{}, {}).run(log).state, RunOutcome::State::Completed);
        model.reset();
        proxy.setSourceModel(&model);
        proxy.setSortRole(SortRole);
        view.setModel(&proxy);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
    }

    tolvane::testing::TempDir dir;
    std::filesystem::path log = dir.file("score.txt");
    Filter filter;
    Analysis analysis;
    PlayListModel model{analysis.plays};
    QSortFilterProxyModel proxy;
    QTableView view;
};

std::vector<std::string> linesOf(const std::string& text, std::string_view end)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = text.find(end, at);
        lines.push_back(text.substr(at, next - at));
        at = next == std::string::npos ? text.size() : next + end.size();
    }
    return lines;
}

} // namespace

TEST_F(TableFilesTest, TheCsvOfAFilteredDataListHasTheReportsCellsForTheSameRows)
{
    proxy.setFilterKeyColumn(PlayListModel::Genre);
    proxy.setFilterFixedString(QString::fromStdString(analysis.plays.row(0).genre));
    const std::string csv = TableExport::csv(view);
    ASSERT_EQ(csv.substr(0, 3), kUtf8ByteOrderMark);

    QProcess report;
    report.start(TOLVANE_REPORT_BIN,
        {"--format", "csv", "--view", "plays", "--min-score", "100000", QString::fromStdString(log.string())});
    ASSERT_TRUE(report.waitForFinished(30000));
    ASSERT_EQ(report.exitCode(), 0) << report.readAllStandardError().toStdString();
    const std::vector<std::string> all = linesOf(report.readAllStandardOutput().toStdString(), "\r\n");
    // The report's header, then its rows of the genre the list is filtered on.
    std::string expected = std::string(kUtf8ByteOrderMark) + all.front() + "\r\n";
    const std::string genre = csvField(analysis.plays.row(0).genre);
    int kept = 0;
    for (std::size_t i = 1; i < all.size(); ++i) {
        if (!all[i].empty() && linesOf(all[i], ",").at(4) == genre) {
            expected += all[i] + "\r\n";
            ++kept;
        }
    }
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, proxy.sourceModel()->rowCount());
    EXPECT_EQ(csv, expected);
}

TEST_F(TableFilesTest, TablesAreWrittenAndCopiedAsShownSortedWithTheirColumnsInScreenOrder)
{
    view.setSortingEnabled(true);
    view.sortByColumn(PlayListModel::Score, Qt::DescendingOrder);
    view.setColumnHidden(PlayListModel::Bpm, true);
    view.horizontalHeader()->moveSection(PlayListModel::Score, 0);
    const std::vector<std::string> lines = linesOf(TableExport::csv(view).substr(3), "\r\n");
    ASSERT_EQ(lines.front().substr(0, 16), "Score,No.,日時");
    EXPECT_EQ(lines.front().find("BPM"), std::string::npos);
    EXPECT_GE(std::stoi(lines[1]), std::stoi(lines[2]));

    const auto shown = [this](int row) {
        return (proxy.index(row, PlayListModel::Score).data().toString() + '\t'
            + proxy.index(row, PlayListModel::No).data().toString() + '\t')
            .toStdString();
    };
    view.selectRow(2);
    view.selectionModel()->select(proxy.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_TRUE(TableExport::copySelectedRows(view));
    const std::vector<std::string> copied = linesOf(QApplication::clipboard()->text().toStdString(), "\n");
    ASSERT_EQ(copied.size(), 3u); // the header, rows 0 and 2
    EXPECT_EQ(copied[0].substr(0, 16), "Score\tNo.\t日時");
    EXPECT_EQ(copied[1].substr(0, shown(0).size()), shown(0));
    EXPECT_EQ(copied[2].substr(0, shown(2).size()), shown(2));
    view.clearSelection();
    EXPECT_FALSE(TableExport::copySelectedRows(view));
}

TEST_F(TableFilesTest, SavingWritesTheWholeFileOrLeavesNothingWithAMessage)
{
    QWidget parent;
    SaveCommand save(parent);
    QString target = QString::fromStdString(dir.file("plays").string());
    save.setPathChooser([&](QWidget*, const QString&, const QString&, QString*) { return target; });
    ASSERT_TRUE(save.saveTable(view, "plays"));
    EXPECT_EQ(readBytes(dir.file("plays.csv")), TableExport::csv(view));

    target = QString::fromStdString((dir.file("gone") / "plays.csv").string());
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(save.saveTable(view, "plays"));
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_TRUE(answerer.seen()[0].text.startsWith("保存できませんでした。\n" + target))
        << answerer.seen()[0].text.toStdString();
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone")));
}

TEST_F(TableFilesTest, PrintingATableSplitsItsRowsOverPages)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("plays.pdf").string()));
    const int pages = PrintCommand::printTable(printer, view, "データ一覧");
    EXPECT_GT(pages, 1);
    EXPECT_LT(pages, proxy.rowCount());
    EXPECT_EQ(readBytes(dir.file("plays.pdf")).substr(0, 5), "%PDF-");
}

TEST(TableExportSafety, TheWindowsCsvKeepsFormulasFromRunningAndNumbersAsShown)
{
    tolvane::testing::ensureApplication();
    QStandardItemModel model(1, 4);
    const char* cells[] = {"=HYPERLINK(\"x\")", "@cmd", "-12", "-1E+20"};
    for (int c = 0; c < 4; ++c)
        model.setItem(0, c, new QStandardItem(cells[c]));
    QTableView view;
    view.setModel(&model);
    const std::string csv = TableExport::csv(view);
    EXPECT_EQ(csv.substr(csv.find("\r\n") + 2), "\"'=HYPERLINK(\"\"x\"\")\",'@cmd,-12,-1E+20\r\n");
}

TEST_F(TableFilesTest, ALinkIsSavedWhereItLeadsAfterAQuestionAndALoopIsRefused)
{
    QWidget parent;
    SaveCommand save(parent);
    std::filesystem::path chosen = dir.file("link.csv");
    std::filesystem::create_symlink("target.csv", chosen);
    save.setPathChooser(
        [&](QWidget*, const QString&, const QString&, QString*) { return QString::fromStdString(chosen.string()); });
    {
        MessageBoxAnswerer no({QMessageBox::No});
        EXPECT_FALSE(save.saveTable(view, "plays"));
        ASSERT_EQ(no.seen().size(), 1u);
        EXPECT_TRUE(no.seen()[0].text.contains("リンク先のないシンボリックリンク")) << no.seen()[0].text.toStdString();
        EXPECT_FALSE(std::filesystem::exists(dir.file("target.csv")));
    }
    {
        MessageBoxAnswerer yes({QMessageBox::Yes});
        EXPECT_TRUE(save.saveTable(view, "plays"));
        EXPECT_EQ(readBytes(dir.file("target.csv")), TableExport::csv(view));
        EXPECT_TRUE(std::filesystem::is_symlink(chosen));
    }
    {
        chosen = dir.file("loop.csv");
        std::filesystem::create_symlink("loop.csv", chosen);
        MessageBoxAnswerer answers;
        EXPECT_FALSE(save.saveTable(view, "plays"));
        ASSERT_EQ(answers.seen().size(), 1u);
        EXPECT_TRUE(answers.seen()[0].text.contains("シンボリックリンクが循環"))
            << answers.seen()[0].text.toStdString();
        EXPECT_TRUE(std::filesystem::is_symlink(chosen));
    }

    // A name typed without its suffix is asked about when the file with it is there.
    chosen = dir.file("target");
    MessageBoxAnswerer replace({QMessageBox::No});
    EXPECT_FALSE(save.saveTable(view, "plays"));
    ASSERT_EQ(replace.seen().size(), 1u);
    EXPECT_TRUE(replace.seen()[0].text.contains("既に存在します"));
}

TEST(RecentFilesMenuLength, ALongPathLosesItsMiddleAndIsWholeInTheTooltip)
{
    tolvane::testing::ensureApplication();
    QWidget parent;
    QMenu menu;
    RecentFilesMenu recent(menu, nullptr, parent);
    const std::string path = "/" + std::string(4000, 'd') + "/score-of-the-long-folder.txt";
    recent.setPaths({path});
    ASSERT_EQ(recent.actions().size(), 1);
    const QAction& entry = *recent.actions().front();
    EXPECT_LT(menu.fontMetrics().horizontalAdvance(entry.text()), 120 * menu.fontMetrics().averageCharWidth());
    EXPECT_TRUE(entry.text().endsWith("score-of-the-long-folder.txt"));
    EXPECT_TRUE(entry.text().contains(QChar(0x2026)));
    EXPECT_EQ(entry.toolTip().toStdString(), path);
}

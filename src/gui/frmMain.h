#pragma once

#include "core/trends/ChartStyle.h"
#include "core/analysis/Analysis.h"
#include "core/log/Filter.h"
#include "core/settings/SettingsFile.h"
#include "gui/MainLayout.h"

#include <QMainWindow>
#include <array>
#include <filesystem>

class QAction;
class QTabBar;
class QTableView;
class QToolBar;
class QFrame;

namespace tolvane {

class ChartPage;
class OpenCommand;
class PlayListModel;
class RankingPage;
class StatusProgress;

// The main window: menus, toolbar, the three pages (data list, rankings,
// usage trends with six chart pages) and the status bar. It wires the pieces
// together; the data list, the rankings, the status bar and the Open command
// are classes of their own.
class frmMain final : public QMainWindow {
    Q_OBJECT

public:
    // settingsFile is where the settings live; empty: the program's own place.
    explicit frmMain(std::filesystem::path settingsFile = {}, QWidget* parent = nullptr);
    ~frmMain() override;

    // The page shown: main tab 1..3 and, on page 3, chart tab 1..6.
    int CurrentPage = 1;
    int CurrentChartTab = 1;
    // The load filters and the chart styles, as the settings hold them.
    Filter filter;
    GraphSettings graph;
    // The window state the settings asked for at start (0 normal, 2 maximised).
    int windowStateSetting = 0;

    Analysis& analysis() { return analysis_; }
    OpenCommand& openCommand() { return *open_; }
    StatusProgress& statusProgress() { return *status_; }
    ChartPage& chartPage() { return *chartPage_; }

    // Commands.
    void mnuFileOpen_Click();
    void mnuFileNew_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFilePageSetup_Click();
    void mnuFilePrintPreview_Click();
    void mnuFilePrint_Click();
    void mnuFileExit_Click();
    void mnuEditCopy_Click();
    void mnuToolsOptions_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearchForHelpOn_Click();
    void mnuHelpAbout_Click();
    void tbToolBar_ButtonClick(const QString& key);
    void TabStrip1_Click(int selected);
    void TabStrip2_Click(int selected);
    void Form_Resize();
    // Reads every setting and places the window; runs once, before the window shows.
    void Form_Load();
    // Writes every setting back; runs once, when the window closes.
    void Form_Unload();
    const std::filesystem::path& settingsFile() const { return settingsFile_; }

    // The window's outer size in twips, as the layout rules and the settings
    // count it: the client area plus the frame, caption and menu bar a
    // desktop window of the original design carries.
    double outerWidthTwips() const;
    double outerHeightTwips() const;
    void resizeToOuterTwips(double width, double height);
    double dpi() const;

    // The data list's column widths in twips (ten columns).
    std::array<double, 10> listView1ColumnWidths() const;
    void setListView1ColumnWidths(const std::array<double, 10>& twips);

    // The chart pages, for the trend charts to fill: Frame2(1)..Frame2(6).
    QWidget* chartFrame(int chart) const { return frame2_.at(static_cast<std::size_t>(chart)); }

signals:
    // An analysis has drawn the charts (the chart pages redraw from the analysis).
    void chartsDrawn();
    // The bar styles were applied again (after the options dialog).
    void stylesApplied();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildPages();
    void applyLayout(const MainLayout& layout);
    void place(QWidget* widget, const TwipRect& rect, double topOffsetTwips = 0) const;
    void setRunning(bool running);

    Analysis analysis_;
    std::filesystem::path settingsFile_;
    WindowSettings loadedWindow_;
    bool unloaded_ = false;
    QToolBar* toolBar_ = nullptr;
    QTabBar* tabStrip1_ = nullptr;
    QFrame* tabStrip1Body_ = nullptr;
    std::array<QWidget*, 4> frame1_{};
    QTableView* listView1_ = nullptr;
    PlayListModel* playsModel_ = nullptr;
    RankingPage* rankingPage_ = nullptr;
    QTabBar* tabStrip2_ = nullptr;
    QFrame* tabStrip2Body_ = nullptr;
    std::array<QWidget*, 7> frame2_{};
    ChartPage* chartPage_ = nullptr;
    StatusProgress* status_ = nullptr;
    OpenCommand* open_ = nullptr;
    // Commands that could cut into a running analysis.
    QList<QAction*> runSensitive_;
    bool closeAfterRun_ = false;
};

} // namespace tolvane

#include "gui/frmMain.h"

#include "gui/charts/ChartPage.h"
#include "core/analysis/RunTexts.h"
#include "core/settings/SettingsFile.h"
#include "gui/dialogs/frmAbout.h"
#include "gui/dialogs/frmOption.h"
#include "gui/Messages.h"
#include "gui/OpenCommand.h"
#include "gui/models/PlayListModel.h"
#include "gui/pages/RankingPage.h"
#include "gui/StatusProgress.h"

#include <QAction>
#include <cmath>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QHeaderView>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

// The toolbar's own icons live in a static library, where the linker keeps
// them only when someone asks for them.
static void initIcons()
{
    Q_INIT_RESOURCE(icons);
}

namespace tolvane {

namespace {

// What a desktop window of the original design adds around its client area:
// the frame on both sides, and the caption with the frame and menu bar.
constexpr double kFrameWidthTwips = 120;
constexpr double kCaptionAndMenuTwips = 690;
constexpr int kDefaultColumnTwips = 2000;

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

frmMain::frmMain(std::filesystem::path settingsFile, QWidget* parent)
    : QMainWindow(parent), settingsFile_(std::move(settingsFile))
{
    initIcons();
    setObjectName("frmMain");
    setWindowTitle(text(RunTexts::kTitle));
    buildMenus();
    buildToolBar();
    buildPages();

    chartPage_ = new ChartPage(analysis_, frame2_, this);
    chartPage_->showDesigned();
    connect(this, &frmMain::chartsDrawn, chartPage_, &ChartPage::showAnalysis);
    connect(this, &frmMain::stylesApplied, chartPage_, &ChartPage::applyStyles);

    statusBar()->setObjectName("sbStatusBar");
    statusBar()->setSizeGripEnabled(true);
    status_ = new StatusProgress(statusBar());

    open_ = new OpenCommand(*this, analysis_, *status_, *playsModel_, *rankingPage_);
    connect(open_, &OpenCommand::runningChanged, this, &frmMain::setRunning);
    connect(open_, &OpenCommand::chartsDrawn, this, &frmMain::chartsDrawn);
    connect(open_, &OpenCommand::finished, this, [this] {
        if (closeAfterRun_)
            close();
    });

    if (settingsFile_.empty())
        settingsFile_ = settingsPath(QCoreApplication::applicationDirPath().toStdString());
    Form_Load();
}

frmMain::~frmMain() = default;

void frmMain::buildMenus()
{
    auto item = [this](QMenu* menu, const char* name, const QString& caption, void (frmMain::*slot)(),
                       bool shown = true) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setVisible(shown);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    auto separator = [](QMenu* menu, const char* name, bool shown = true) {
        QAction* action = menu->addSeparator();
        action->setObjectName(name);
        action->setVisible(shown);
    };

    QMenu* file = menuBar()->addMenu("ﾌｧｲﾙ(&F)");
    file->setObjectName("mnuFile");
    item(file, "mnuFileNew", "新規作成(&N)", &frmMain::mnuFileNew_Click, false)->setShortcut(QKeySequence("Ctrl+N"));
    runSensitive_ << item(file, "mnuFileOpen", "開く(&O)...", &frmMain::mnuFileOpen_Click);
    separator(file, "mnuFileBar0");
    item(file, "mnuFileSave", "上書き保存(&S)", &frmMain::mnuFileSave_Click, false);
    item(file, "mnuFileSaveAs", "名前を付けて保存(&A)...", &frmMain::mnuFileSaveAs_Click, false);
    separator(file, "mnuFileBar1", false);
    item(file, "mnuFilePageSetup", "ﾍﾟｰｼﾞ設定(&U)...", &frmMain::mnuFilePageSetup_Click, false);
    item(file, "mnuFilePrintPreview", "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", &frmMain::mnuFilePrintPreview_Click, false);
    item(file, "mnuFilePrint", "印刷(&P)...", &frmMain::mnuFilePrint_Click, false);
    separator(file, "mnuFileBar2", false);
    separator(file, "mnuFileBar3", false);
    item(file, "mnuFileExit", "終了(&X)", &frmMain::mnuFileExit_Click);

    QMenu* edit = menuBar()->addMenu("編集(&E)");
    edit->setObjectName("mnuEdit");
    edit->menuAction()->setVisible(false);
    item(edit, "mnuEditCopy", "ｺﾋﾟｰ(&C)", &frmMain::mnuEditCopy_Click)->setShortcut(QKeySequence("Ctrl+C"));

    QMenu* tools = menuBar()->addMenu("ﾂｰﾙ(&T)");
    tools->setObjectName("mnuTools");
    runSensitive_ << item(tools, "mnuToolsOptions", "ｵﾌﾟｼｮﾝ(&O)...", &frmMain::mnuToolsOptions_Click);

    QMenu* help = menuBar()->addMenu("ﾍﾙﾌﾟ(&H)");
    help->setObjectName("mnuHelp");
    item(help, "mnuHelpContents", "目次(&C)", &frmMain::mnuHelpContents_Click, false);
    item(help, "mnuHelpSearchForHelpOn", "ﾄﾋﾟｯｸの検索(&S)...", &frmMain::mnuHelpSearchForHelpOn_Click, false);
    separator(help, "mnuHelpBar0", false);
    item(help, "mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)", &frmMain::mnuHelpAbout_Click);
}

void frmMain::buildToolBar()
{
    toolBar_ = addToolBar("tbToolBar");
    toolBar_->setObjectName("tbToolBar");
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(16, 16));
    struct Button {
        const char* key;
        const char* icon;
        const char* theme;
    };
    static constexpr Button kButtons[] = {{"新規作成", "New", "document-new"},
                                          {"開く", "Open", "document-open"},
                                          {"上書き保存", "Save", "document-save"},
                                          {"印刷", "Print", "document-print"}};
    for (const Button& b : kButtons) {
        if (QString(b.icon) == "Print")
            toolBar_->addSeparator();
        const QString key = QString::fromUtf8(b.key);
        QAction* action = toolBar_->addAction(QIcon::fromTheme(b.theme, QIcon(QString(":/icons/") + b.icon)), key);
        action->setObjectName(QString("tbToolBar_") + b.icon);
        action->setToolTip(key);
        action->setData(key);
        connect(action, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
        if (key == "開く")
            runSensitive_ << action;
    }
}

void frmMain::buildPages()
{
    auto* client = new QWidget(this);
    client->setObjectName("client");
    setCentralWidget(client);

    tabStrip1Body_ = new QFrame(client);
    tabStrip1Body_->setFrameShape(QFrame::StyledPanel);
    tabStrip1_ = new QTabBar(client);
    tabStrip1_->setObjectName("TabStrip1");
    tabStrip1_->setExpanding(false);
    for (const char* caption : {"データ一覧", "ランキング", "利用傾向の調査"})
        tabStrip1_->addTab(caption);
    connect(tabStrip1_, &QTabBar::currentChanged, this, [this](int index) { TabStrip1_Click(index + 1); });

    for (int i = 1; i <= 3; ++i) {
        auto* frame = new QWidget(client);
        frame->setObjectName(QString("Frame1(%1)").arg(i));
        frame->setVisible(i == 1);
        frame1_[static_cast<std::size_t>(i)] = frame;
    }

    playsModel_ = new PlayListModel(analysis_.plays, this);
    listView1_ = new QTableView(frame1_[1]);
    listView1_->setObjectName("ListView1");
    listView1_->setModel(playsModel_);
    listView1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    listView1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listView1_->verticalHeader()->hide();
    listView1_->verticalHeader()->setDefaultSectionSize(listView1_->fontMetrics().height() + 4);
    // Rows of one height let the view skip measuring half a million of them.
    listView1_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    listView1_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    listView1_->setWordWrap(false);
    std::array<double, 10> widths;
    widths.fill(kDefaultColumnTwips);
    setListView1ColumnWidths(widths);

    rankingPage_ = new RankingPage(analysis_.rankings, frame1_[2]);
    rankingPage_->setObjectName("RankingPage");

    tabStrip2Body_ = new QFrame(frame1_[3]);
    tabStrip2Body_->setFrameShape(QFrame::StyledPanel);
    tabStrip2_ = new QTabBar(frame1_[3]);
    tabStrip2_->setObjectName("TabStrip2");
    tabStrip2_->setExpanding(false);
    for (const char* caption : {"総合", "年別", "月別", "日別", "曜日別", "時間帯別"})
        tabStrip2_->addTab(caption);
    connect(tabStrip2_, &QTabBar::currentChanged, this, [this](int index) { TabStrip2_Click(index + 1); });
    for (int i = 1; i <= 6; ++i) {
        auto* frame = new QWidget(frame1_[3]);
        frame->setObjectName(QString("Frame2(%1)").arg(i));
        frame->setVisible(false);
        frame2_[static_cast<std::size_t>(i)] = frame;
    }
}

double frmMain::dpi() const
{
    return logicalDpiX() > 0 ? logicalDpiX() : 96.0;
}

double frmMain::outerWidthTwips() const
{
    return pixelsToTwips(width(), dpi()) + kFrameWidthTwips;
}

double frmMain::outerHeightTwips() const
{
    return pixelsToTwips(height() - menuBar()->sizeHint().height(), dpi()) + kCaptionAndMenuTwips;
}

void frmMain::resizeToOuterTwips(double width, double height)
{
    resize(twipsToPixels(width - kFrameWidthTwips, dpi()),
           twipsToPixels(height - kCaptionAndMenuTwips, dpi()) + menuBar()->sizeHint().height());
}

std::array<double, 10> frmMain::listView1ColumnWidths() const
{
    std::array<double, 10> widths{};
    for (int c = 0; c < 10; ++c)
        widths[static_cast<std::size_t>(c)] = pixelsToTwips(listView1_->columnWidth(c), dpi());
    return widths;
}

void frmMain::setListView1ColumnWidths(const std::array<double, 10>& twips)
{
    for (int c = 0; c < 10; ++c)
        listView1_->setColumnWidth(c, twipsToPixels(twips[static_cast<std::size_t>(c)], dpi()));
}

void frmMain::place(QWidget* widget, const TwipRect& rect, double topOffsetTwips) const
{
    const double d = dpi();
    widget->setGeometry(twipsToPixels(rect.left, d), twipsToPixels(rect.top, d) - twipsToPixels(topOffsetTwips, d),
                        twipsToPixels(rect.width, d), twipsToPixels(rect.height, d));
}

void frmMain::applyLayout(const MainLayout& l)
{
    // The designed tops count from the top of the client area, where the
    // toolbar sits; here the pages' container starts below it.
    const double toolBarTwips = pixelsToTwips(toolBar_->height(), dpi());
    const double tabsTwips = l.frame1[1].top - l.tabStrip1.top;
    place(tabStrip1_, {l.tabStrip1.left, l.tabStrip1.top, l.tabStrip1.width, tabsTwips}, toolBarTwips);
    place(tabStrip1Body_,
          {l.tabStrip1.left, l.tabStrip1.top + tabsTwips, l.tabStrip1.width, std::max(0.0, l.tabStrip1.height - tabsTwips)},
          toolBarTwips);
    for (int i = 1; i <= 3; ++i)
        place(frame1_[static_cast<std::size_t>(i)], l.frame1[static_cast<std::size_t>(i)], toolBarTwips);
    place(listView1_, l.listView1);
    rankingPage_->setGeometry(0, 0, frame1_[2]->width(), frame1_[2]->height());
    if (auto* chooser = rankingPage_->findChild<QWidget*>("Combo1"))
        place(chooser, l.combo1);
    if (auto* list = rankingPage_->findChild<QWidget*>("ListView2"))
        place(list, l.listView2);

    const double chartTabsTwips = l.frame2[2].top - l.tabStrip2.top;
    place(tabStrip2_, {l.tabStrip2.left, l.tabStrip2.top, l.tabStrip2.width, chartTabsTwips});
    place(tabStrip2Body_,
          {l.tabStrip2.left, l.tabStrip2.top + chartTabsTwips, l.tabStrip2.width,
           std::max(0.0, l.tabStrip2.height - chartTabsTwips)});
    for (int i = 1; i <= 6; ++i)
        place(frame2_[static_cast<std::size_t>(i)], l.frame2[static_cast<std::size_t>(i)]);
    chartPage_->layout(l, dpi());
    for (int i = 1; i <= 3; ++i)
        frame1_[static_cast<std::size_t>(i)]->raise();
}

void frmMain::Form_Resize()
{
    // A minimised window keeps every size.
    if (isMinimized())
        return;
    applyLayout(MainLayout::forWindow(outerWidthTwips(), outerHeightTwips()));
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // A run in progress stops at its next yield; the window closes after it.
    if (open_->running()) {
        closeAfterRun_ = true;
        open_->requestStop();
        event->ignore();
        return;
    }
    Form_Unload();
    QMainWindow::closeEvent(event);
}

void frmMain::Form_Load()
{
    // A file that cannot be read gives the defaults; there is nothing to tell.
    const std::optional<IniFile> ini = loadSettingsFile(settingsFile_);
    const ProgramSettings s = readSettings(ini ? *ini : IniFile());
    loadedWindow_ = s.window;
    const double d = dpi();
    move(twipsToPixels(s.window.MainLeft, d), twipsToPixels(s.window.MainTop, d));
    resizeToOuterTwips(s.window.MainWidth, s.window.MainHeight);
    Form_Resize();
    setListView1ColumnWidths(s.window.columnWidths);
    filter = s.filter;
    graph = s.graph;
    windowStateSetting = s.window.WindowState;
    if (s.window.WindowState == 2)
        setWindowState(Qt::WindowMaximized);
}

void frmMain::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    status_->setStatus(text(RunTexts::kSavingStatus));
    ProgramSettings s;
    const double d = dpi();
    // Twips come back from whole pixels; a value the user left alone is
    // written as it was read, so the file does not drift from run to run.
    const double pixel = pixelsToTwips(1, d);
    auto unlessMoved = [pixel](double now, double read) { return std::abs(now - read) < pixel ? read : now; };
    s.window.MainLeft = unlessMoved(pixelsToTwips(x(), d), loadedWindow_.MainLeft);
    s.window.MainTop = unlessMoved(pixelsToTwips(y(), d), loadedWindow_.MainTop);
    s.window.MainWidth = unlessMoved(outerWidthTwips(), loadedWindow_.MainWidth);
    s.window.MainHeight = unlessMoved(outerHeightTwips(), loadedWindow_.MainHeight);
    const std::array<double, 10> widths = listView1ColumnWidths();
    for (std::size_t c = 0; c < widths.size(); ++c)
        s.window.columnWidths[c] = unlessMoved(widths[c], loadedWindow_.columnWidths[c]);
    s.filter = filter;
    s.graph = graph;
    const WindowPlacement placement = isMinimized() ? WindowPlacement::Minimised
        : isMaximized()                             ? WindowPlacement::Maximised
                                                    : WindowPlacement::Normal;
    std::string error;
    if (!saveSettingsFile(settingsFile_, s, placement, &error)) {
        // The window closes all the same; the user learns the settings were not kept.
        Messages::inform(this, {"設定を保存できませんでした。", settingsFile_.string(), error});
    }
}

void frmMain::setRunning(bool running)
{
    for (QAction* action : runSensitive_)
        action->setEnabled(!running);
    if (auto* chooser = rankingPage_->findChild<QComboBox*>("Combo1"))
        chooser->setEnabled(!running);
    chartPage_->setRunning(running);
}

void frmMain::TabStrip1_Click(int selected)
{
    if (selected == CurrentPage || selected < 1 || selected > 3)
        return;
    frame1_[static_cast<std::size_t>(selected)]->setVisible(true);
    frame1_[static_cast<std::size_t>(CurrentPage)]->setVisible(false);
    CurrentPage = selected;
    if (CurrentPage == 3)
        frame2_[static_cast<std::size_t>(CurrentChartTab)]->setVisible(true);
    tabStrip1_->setCurrentIndex(selected - 1);
}

void frmMain::TabStrip2_Click(int selected)
{
    if (selected == CurrentChartTab || selected < 1 || selected > 6)
        return;
    frame2_[static_cast<std::size_t>(selected)]->setVisible(true);
    frame2_[static_cast<std::size_t>(CurrentChartTab)]->setVisible(false);
    CurrentChartTab = selected;
    tabStrip2_->setCurrentIndex(selected - 1);
}

void frmMain::tbToolBar_ButtonClick(const QString& key)
{
    // Errors of the commands are not the toolbar's to report.
    try {
        if (key == "新規作成")
            mnuFileNew_Click();
        else if (key == "開く")
            mnuFileOpen_Click();
        else if (key == "上書き保存")
            mnuFileSave_Click();
        else if (key == "印刷")
            mnuFilePrint_Click();
    } catch (const std::exception&) {
    }
}

void frmMain::mnuFileOpen_Click()
{
    open_->run(filter, graph, windowStateSetting);
}

void frmMain::mnuFileNew_Click() { Messages::notImplemented(this); }
void frmMain::mnuFileSave_Click() { Messages::notImplemented(this); }
void frmMain::mnuFileSaveAs_Click() { Messages::notImplemented(this); }
void frmMain::mnuFilePageSetup_Click() { Messages::notImplemented(this); }
void frmMain::mnuFilePrintPreview_Click() { Messages::notImplemented(this); }
void frmMain::mnuFilePrint_Click() { Messages::notImplemented(this); }
void frmMain::mnuEditCopy_Click() { Messages::notImplemented(this); }
void frmMain::mnuHelpContents_Click() { Messages::notImplemented(this); }
void frmMain::mnuHelpSearchForHelpOn_Click() { Messages::notImplemented(this); }

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::mnuToolsOptions_Click()
{
    frmOption dialog(filter, graph, this);
    dialog.exec();
    // The styles may have changed while the dialog was open, whatever its answer.
    if (analysis_.navigation.AnalysisDone) {
        ChartColorset(graph, analysis_.styles);
        emit stylesApplied();
    }
}

void frmMain::mnuHelpAbout_Click()
{
    frmAbout about(TOLVANE_VERSION_MAJOR, TOLVANE_VERSION_MINOR, TOLVANE_VERSION_PATCH, this);
    about.exec();
}

} // namespace tolvane

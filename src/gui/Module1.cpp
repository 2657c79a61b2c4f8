#include "gui/Module1.h"

#include "gui/frmMain.h"

#include <QApplication>

namespace tolvane {

int Main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tolvane");
    frmMain window;
    window.show();
    window.CurrentPage = 1;
    window.CurrentChartTab = 1;
    window.analysis().navigation.AnalysisDone = false;
    return QApplication::exec();
}

} // namespace tolvane

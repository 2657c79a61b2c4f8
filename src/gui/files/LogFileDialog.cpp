#include "gui/files/LogFileDialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QStringList>

namespace tolvane {

void setUpLogFileDialog(QFileDialog& dialog)
{
    dialog.setObjectName("openLogDialog");
    dialog.setWindowTitle("開く");
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own dialog, so that the first file type matches score.txt in any letter case.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(
        {"BM98スコアファイル(score.txt)", QCoreApplication::translate("LogFileDialog", "ログファイル (*.txt)"),
            QCoreApplication::translate("LogFileDialog", "すべてのファイル (*)")});
    dialog.selectNameFilter(dialog.nameFilters().front());
    dialog.setFilter((dialog.filter() | QDir::Files | QDir::AllDirs) & ~QDir::CaseSensitive);
}

} // namespace tolvane

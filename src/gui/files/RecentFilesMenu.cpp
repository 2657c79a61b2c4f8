#include "gui/files/RecentFilesMenu.h"

#include "core/files/FileTexts.h"
#include "gui/Messages.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>

namespace tolvane {

RecentFilesMenu::RecentFilesMenu(QMenu& menu, QAction* before, QWidget& messageParent)
    : QObject(&menu)
    , menu_(menu)
    , before_(before)
    , messageParent_(messageParent)
{
}

void RecentFilesMenu::setPaths(const std::vector<std::string>& paths)
{
    recent_ = RecentFiles(paths);
    rebuild();
}

void RecentFilesMenu::add(const QString& path)
{
    recent_.add(QFile::encodeName(path).toStdString());
    rebuild();
    emit changed();
}

void RecentFilesMenu::pick(const QString& path)
{
    const std::string stored = QFile::encodeName(path).toStdString();
    if (!isExistingFile(stored)) {
        Messages::inform(&messageParent_, FileTexts::recentMissing(QDir::toNativeSeparators(path).toStdString()));
        recent_.remove(stored);
        rebuild();
        emit changed();
        return;
    }
    emit openRequested(path);
}

void RecentFilesMenu::rebuild()
{
    for (QAction* action : actions_) {
        menu_.removeAction(action);
        action->deleteLater();
    }
    actions_.clear();
    if (separator_) {
        menu_.removeAction(separator_);
        separator_->deleteLater();
        separator_ = nullptr;
    }
    int number = 0;
    for (const std::string& stored : recent_.paths()) {
        const QString path = QFile::decodeName(QByteArray::fromStdString(stored));
        // "&&" keeps an ampersand in a path from becoming a shortcut.
        QString text = QDir::toNativeSeparators(path);
        text.replace('&', "&&");
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(++number).arg(text), &menu_);
        action->setObjectName(QStringLiteral("recentFile%1").arg(number));
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] { pick(path); });
        menu_.insertAction(before_, action);
        actions_.append(action);
    }
    if (!actions_.isEmpty())
        separator_ = menu_.insertSeparator(before_);
}

} // namespace tolvane

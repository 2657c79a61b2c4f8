#include "gui/files/RecentFilesMenu.h"

#include "core/files/FileTexts.h"
#include "gui/Messages.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QMenu>

namespace tolvane {

RecentFilesMenu::RecentFilesMenu(QMenu& menu, QAction* before, QWidget& messageParent)
    : QObject(&menu)
    , menu_(menu)
    , before_(before)
    , messageParent_(messageParent)
{
    menu_.setToolTipsVisible(true);
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

int RecentFilesMenu::maxTextWidth() const
{
    return menu_.fontMetrics().averageCharWidth() * kMaxShownCharacters;
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
        // A long path loses its middle, not the file's name; the whole path
        // is the tooltip. "&&" keeps an ampersand from becoming a shortcut.
        QString text = menu_.fontMetrics().elidedText(QDir::toNativeSeparators(path), Qt::ElideMiddle, maxTextWidth());
        text.replace('&', "&&");
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(++number).arg(text), &menu_);
        action->setObjectName(QStringLiteral("recentFile%1").arg(number));
        action->setToolTip(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this, [this, path] { pick(path); });
        menu_.insertAction(before_, action);
        actions_.append(action);
    }
    if (!actions_.isEmpty())
        separator_ = menu_.insertSeparator(before_);
}

} // namespace tolvane

#pragma once

#include "core/files/RecentFiles.h"

#include <QObject>
#include <QString>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace tolvane {

// File's list of recent logs: up to five entries "&1 path" .. "&5 path" in a
// menu, before the action given. Picking one asks for it to be opened; a file
// that is gone gets a message and leaves the list. A path too long for the
// menu shows with its middle left out ("…"), and whole as the tooltip.
class RecentFilesMenu final : public QObject {
    Q_OBJECT

public:
    // The entries go into menu before `before` (null: at the menu's end), with
    // a separator after them while there are any.
    RecentFilesMenu(QMenu& menu, QAction* before, QWidget& messageParent);

    void setPaths(const std::vector<std::string>& paths);
    std::vector<std::string> paths() const { return recent_.paths(); }
    // A log was opened: it goes first.
    void add(const QString& path);

    // The entries as shown, for tests.
    QList<QAction*> actions() const { return actions_; }

signals:
    // The user picked a recent log that is there; open it through the confirmation.
    void openRequested(const QString& path);
    void changed();

private:
    void pick(const QString& path);
    void rebuild();
    // The widest an entry's path may be, in pixels: about this many characters.
    static constexpr int kMaxShownCharacters = 80;
    int maxTextWidth() const;

    QMenu& menu_;
    QAction* before_;
    QWidget& messageParent_;
    RecentFiles recent_;
    QList<QAction*> actions_;
    QAction* separator_ = nullptr;
};

} // namespace tolvane

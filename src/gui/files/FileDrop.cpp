#include "gui/files/FileDrop.h"

#include "core/files/FileTexts.h"
#include "gui/Messages.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace tolvane {

FileDrop::FileDrop(QWidget& target)
    : QObject(&target)
    , target_(target)
{
    target.setAcceptDrops(true);
    target.installEventFilter(this);
}

FileDrop::Verdict FileDrop::judge(const QMimeData& data)
{
    const QList<QUrl> urls = data.urls();
    if (urls.isEmpty())
        return {{}, {}, FileTexts::dropNotOneFile()};
    QStringList paths;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            return {{}, {}, FileTexts::dropNotOneFile()};
        const QString path = url.toLocalFile();
        if (QFileInfo(path).isDir())
            return {{}, {}, FileTexts::dropFolder(path.toStdString())};
        paths << path;
    }
    // Anything else goes the way of File > Open: a file that is missing or no
    // play log fails there with the usual message.
    return {paths.front(), paths, {}};
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &target_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        // Any files are taken, so that a wrong drop gets its message.
        if (drag->mimeData()->hasUrls())
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (drag->mimeData()->hasUrls())
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const Verdict verdict = judge(*drop->mimeData());
        drop->acceptProposedAction();
        if (!verdict.message.empty())
            Messages::inform(&target_, verdict.message);
        else
            emit filesDropped(verdict.paths);
        return true;
    }
    default: return QObject::eventFilter(watched, event);
    }
}

} // namespace tolvane

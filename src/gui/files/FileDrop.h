#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

class QMimeData;
class QWidget;

namespace tolvane {

// Lets a window take files dropped on it: local files are handed on to be
// opened, several of them as one history; a folder or anything else gets a
// message.
class FileDrop final : public QObject {
    Q_OBJECT

public:
    // Watches target's drag and drop events; target takes drops from now on.
    explicit FileDrop(QWidget& target);

    struct Verdict {
        QString path; // the first file to open, or empty
        QStringList paths; // every file to open
        std::vector<std::string> message; // why nothing opens, or empty
    };
    static Verdict judge(const QMimeData& data);

signals:
    void filesDropped(const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& target_;
};

} // namespace tolvane

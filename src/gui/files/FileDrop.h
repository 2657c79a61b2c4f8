#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <vector>

class QMimeData;
class QWidget;

namespace tolvane {

// Lets a window take a file dropped on it: one local file is handed on to be
// opened; a folder, several files or anything else gets a message.
class FileDrop final : public QObject {
    Q_OBJECT

public:
    // Watches target's drag and drop events; target takes drops from now on.
    explicit FileDrop(QWidget& target);

    struct Verdict {
        QString path; // the file to open, or empty
        std::vector<std::string> message; // why nothing opens, or empty
    };
    static Verdict judge(const QMimeData& data);

signals:
    void fileDropped(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& target_;
};

} // namespace tolvane

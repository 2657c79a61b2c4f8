#pragma once

#include "core/log/LogReadError.h"

#include <QDialog>
#include <vector>

class QTreeWidget;

namespace tolvane {

// The damaged entries a read went past, by line and reason, and the plays
// whose texts could not all be read, with a button that copies the list.
class SkippedEntriesDialog final : public QDialog {
    Q_OBJECT

public:
    SkippedEntriesDialog(const std::vector<SkippedEntry>& skipped, const std::vector<UnreadableText>& unreadable,
        QWidget* parent = nullptr);

    // The list as text, one entry a line, tab between line and reason.
    QString text() const;

private slots:
    void copyText();

private:
    QTreeWidget* list_ = nullptr;
};

} // namespace tolvane

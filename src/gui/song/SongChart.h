#pragma once

#include "core/insights/SongView.h"

#include <QChartView>

namespace tolvane {

// Score per attempt with the running best score as a line, and max combo per
// attempt on an axis of its own.
class SongChart final : public QChartView {
    Q_OBJECT

public:
    explicit SongChart(QWidget* parent = nullptr);

    void showAttempts(const std::vector<SongAttempt>& attempts);

protected:
    void changeEvent(QEvent* event) override;
};

} // namespace tolvane

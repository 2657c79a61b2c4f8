#pragma once

#include "core/analysis/PeriodView.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;

namespace tolvane {

// The view period: a preset chooser ("全期間", "今年", "過去12か月",
// "過去30日", "期間指定" with two dates) and, while a period narrows the
// views, a label saying which. The relative presets count back from the day
// of the last play.
class ViewPeriodBar final : public QWidget {
    Q_OBJECT

public:
    explicit ViewPeriodBar(QWidget* parent = nullptr);

    // A new analysis: the anchor for the presets and the dates the custom
    // span may take (the first and last play's days). Goes back to "全期間"
    // without announcing it.
    void setPlays(DateValue firstDay, DateValue lastDay);
    // New plays moved the last play's day: a preset that counts back from it
    // moves with it and is announced again; the chosen preset stays.
    void extendPlays(DateValue lastDay);

    PeriodPreset preset() const;
    void choose(PeriodPreset preset); // as the user would
    void setCustomDates(QDate from, QDate to); // as the user would
    ViewSpan span() const;
    // "表示期間: 2004/01/01 – 2004/12/31"; empty for the whole log.
    QString periodText() const;

    QComboBox* chooser() const { return presets_; }
    QLabel* banner() const { return banner_; }

signals:
    void spanChanged(tolvane::ViewSpan span);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void presetChosen();
    void datesEdited();
    void announce();

    QComboBox* presets_;
    QDateEdit* from_;
    QDateEdit* to_;
    QLabel* banner_;
    DateValue firstDay_ = 0;
    DateValue lastDay_ = 0;
};

} // namespace tolvane

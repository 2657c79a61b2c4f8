#pragma once

#include "core/review/YearReview.h"

#include <QDate>
#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tolvane {

class BarChart;

// The year in review: a year chooser, the year's figures as large numbers
// with their change against the year before, the top tens, plays by month,
// weekday and hour, and links to the busiest day, the longest streak and the
// longest session. It only shows what its source builds.
class YearReviewPage final : public QWidget {
    Q_OBJECT

public:
    // The review of a year; none when the year has no play.
    using YearBuilder = std::function<std::optional<YearReview>(int year)>;

    explicit YearReviewPage(QWidget* parent = nullptr);

    // The years offered (those with plays, in order) and how to build one;
    // the last year is shown.
    void setYearSource(std::vector<int> years, YearBuilder build);
    void setYearSource(std::shared_ptr<const YearReviewSource> source);
    void clear();

    void showYear(int year);
    int year() const; // 0 when none is shown
    const std::optional<YearReview>& review() const { return review_; }

    // The share card of the year shown; a null image when none is shown.
    QImage shareCard() const;
    // Puts the share card on the clipboard.
    void copyImage() const;

    QComboBox* yearChooser() const { return chooser_; }
    // The text of a figure or link label, by objectName: plays, daysPlayed,
    // sessions, minutes, songs, newSongs, records, firstFullCombos,
    // busiestDay, longestStreak, longestSession.
    QString figureText(const QString& name) const;

signals:
    // A link to a day (the busiest day, the longest streak's first day).
    void dayActivated(QDate day);
    // A link to a session, by its start (seconds since 1899-12-30).
    void sessionActivated(qint64 start);

private:
    void chooseYear(int index);
    void saveImage();
    void openLink(const QString& link);
    QLabel* addFigure(QGridLayout* grid, int at, const QString& caption, const QString& name);
    void fillTop(QTableWidget* table, const std::vector<NamedPlays>& top);

    std::vector<int> years_;
    YearBuilder build_;
    std::optional<YearReview> review_;
    QComboBox* chooser_;
    QPushButton* save_;
    QTableWidget* topSongs_;
    QTableWidget* topArtists_;
    QTableWidget* topGenres_;
    BarChart* months_;
    BarChart* weekdays_;
    BarChart* hours_;
};

} // namespace tolvane

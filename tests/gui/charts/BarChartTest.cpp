#include "gui/charts/BarChart.h"
#include "gui/charts/BrushPatterns.h"
#include "support/GuiTest.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QTest>
#include <QToolTip>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <utility>

namespace tolvane {
namespace {

// A tile as 64 bits, one for each pixel of the colour; moved over by d pixels (d % 8 across, d / 8 down).
std::uint64_t maskOf(const QImage& tile, const QColor& colour, int d = 0)
{
    std::uint64_t mask = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (tile.pixelColor(x, y) == colour)
                mask |= std::uint64_t{1} << ((y + d / 8) % 8 * 8 + (x + d % 8) % 8);
    return mask;
}

TEST(BrushPatterns, ShadesCoverTheirShareAndNoPatternIsAnotherMovedOver)
{
    const QColor ink(0, 0, 128), paper(255, 255, 0);
    std::array<QImage, kPatternCount> tiles;
    for (int i = 0; i < kPatternCount; ++i) {
        tiles[static_cast<std::size_t>(i)] = patternImage(i, ink, paper);
        const QImage& tile = tiles[static_cast<std::size_t>(i)];
        ASSERT_EQ(tile.size(), QSize(8, 8));
        EXPECT_EQ(maskOf(tile, ink) ^ maskOf(tile, paper), ~std::uint64_t{0}) << "two colours only: " << i;
        EXPECT_NE(maskOf(tile, ink), 0u) << i;
        EXPECT_NE(maskOf(tile, paper), 0u) << i;
    }
    const std::array<int, 5> shades{60, 56, 48, 32, 16};
    for (std::size_t i = 0; i < shades.size(); ++i)
        EXPECT_EQ(std::popcount(maskOf(tiles[i], ink)), shades[i]) << i;
    for (std::size_t a = 0; a < tiles.size(); ++a)
        for (std::size_t b = a + 1; b < tiles.size(); ++b)
            for (int d = 0; d < 64; ++d)
                EXPECT_NE(maskOf(tiles[a], ink, d), maskOf(tiles[b], ink)) << a << " looks like " << b;
}

TEST(BrushPatterns, BrushFollowsTheStyle)
{
    EXPECT_EQ(barBrush(BarStyle{}).style(), Qt::NoBrush);
    BarStyle style{BarFill::Pattern, 3, {255, 255, 0}, {0, 0, 128}};
    ASSERT_EQ(barBrush(style).style(), Qt::TexturePattern);
    EXPECT_EQ(maskOf(barBrush(style).textureImage(), QColor(0, 0, 128)),
        maskOf(patternImage(3, Qt::black, Qt::white), Qt::black));
    // A number that is no pattern paints the fill colour alone.
    for (int index : {-1, 18, 99}) {
        style.index = index;
        EXPECT_EQ(barBrush(style), QBrush(QColor(255, 255, 0))) << index;
    }
}

class BarChartTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureApplication(); }

    void showAt(int width)
    {
        chart.resize(width, 250);
        chart.show();
        QTest::qWait(20);
    }

    bool anyLabelCut() const
    {
        for (QGraphicsItem* item : chart.chart()->scene()->items()) {
            const auto* text = qgraphicsitem_cast<QGraphicsTextItem*>(item);
            if (text && text->isVisible() && text->toPlainText().contains(QStringLiteral("..."))) {
                ADD_FAILURE() << text->toPlainText().toStdString();
                return true;
            }
        }
        return false;
    }

    BarChart chart;
};

TEST_F(BarChartTest, RowsKeepTheirTextsAndAnEmptyValueHasNoBar)
{
    chart.setRows({{"1月", std::nullopt}, {"2月", 12}, {"3月", 0}});
    ASSERT_EQ(chart.rowCount(), 3);
    EXPECT_EQ(chart.rowLabel(1), QStringLiteral("1月"));
    EXPECT_EQ(chart.rowValue(1), QString());
    EXPECT_EQ(chart.rowValue(2), QStringLiteral("12"));
    EXPECT_EQ(chart.rowLabel(4), QString());
    EXPECT_EQ(chart.bars()->at(0), 0);
    EXPECT_EQ(chart.bars()->at(1), 12);
    EXPECT_EQ(chart.barToolTip(1), QStringLiteral("1月: 値なし"));
    EXPECT_EQ(chart.barToolTip(3), QStringLiteral("3月: 0回"));
    showAt(400);
    emit chart.bars()->hovered(true, 1);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("2月: 12回"));

    chart.setRows({});
    EXPECT_EQ(chart.bars()->count(), 0);
}

TEST_F(BarChartTest, AxesNameTheirUnitsAndTooltipsCountPlays)
{
    ChartRows hours;
    for (int h = 0; h < 24; ++h)
        hours.push_back({std::to_string(h), h});
    ChartRows days;
    for (int d = 1; d <= 31; ++d)
        days.push_back({std::to_string(d), d});
    const std::pair<ChartRows, QString> charts[] = {{{{"2001/12", 374}, {"2002/1", 5}}, "年/月"},
        {{{"12/1", 1}}, "月/日"}, {{{"12/2(日曜日)", 1}}, "月/日（曜日）"}, {{{"2001年", 1}}, "年"},
        {{{"１月", 1}}, "月"}, {{{"日曜日", 1}}, "曜日"}, {hours, "時"}, {days, "日"}, {{}, ""}};
    for (const auto& [rows, title] : charts) {
        chart.setRows(rows);
        EXPECT_EQ(categoryAxisTitle(rows), title);
        EXPECT_EQ(chart.categoryAxis()->titleText(), title.isEmpty() ? "" : title + "ごとのプレイ回数（回）");
    }
    chart.setRows({{"2001/12", 374}});
    EXPECT_EQ(chart.barToolTip(1), QStringLiteral("2001/12: 374回"));
    chart.setRows(hours);
    EXPECT_EQ(chart.barToolTip(22), QStringLiteral("21時: 21回"));
}

TEST_F(BarChartTest, ADarkPaletteGivesADarkChartWithLightText)
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Base, QColor(0x18, 0x18, 0x18));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    chart.setPalette(dark);
    EXPECT_EQ(chart.chart()->backgroundBrush().color(), QColor(0x18, 0x18, 0x18));
    EXPECT_EQ(chart.valueAxis()->labelsBrush().color(), QColor(0xee, 0xee, 0xee));
    EXPECT_EQ(chart.categoryAxis()->titleBrush().color(), QColor(0xee, 0xee, 0xee));
    EXPECT_EQ(chart.bars()->pen().color(), QColor(0xee, 0xee, 0xee)) << "the outline of unpainted bars";
}

TEST_F(BarChartTest, ValueAxisRunsFromZeroInWholeStepsOverTheHighestBar)
{
    for (const auto& [value, top] : {std::pair{ChartValue{}, 1}, std::pair{ChartValue{0}, 1},
             std::pair{ChartValue{7}, 8}, std::pair{ChartValue{123}, 150}, std::pair{ChartValue{100000}, 100000}}) {
        chart.setRows({{"a", 1}, {"b", value}});
        const QValueAxis* axis = chart.valueAxis();
        EXPECT_EQ(axis->min(), 0) << chartValueText(value);
        EXPECT_EQ(axis->max(), top) << chartValueText(value);
        const double step = axis->max() / (axis->tickCount() - 1);
        EXPECT_EQ(step, std::floor(step)) << chartValueText(value);
    }
}

TEST_F(BarChartTest, LongSpanShowsEveryFewLabelsUncut)
{
    ChartRows rows;
    for (int i = 0; i < 150; ++i)
        rows.push_back({std::to_string(2001 + i / 12) + "/" + std::to_string(i % 12 + 1), i % 40});
    chart.setRows(rows);
    showAt(600);
    EXPECT_FALSE(anyLabelCut());
    EXPECT_GT(chart.labelStep(), 1);
    EXPECT_GE(chart.categoryAxis()->count(), 5);
    EXPECT_EQ(chart.categoryAxis()->categoriesLabels().first(), QStringLiteral("2001/1"));

    chart.setRows(
        {{"日曜日", 1}, {"月曜日", 2}, {"火曜日", 3}, {"水曜日", 4}, {"木曜日", 5}, {"金曜日", 6}, {"土曜日", 7}});
    QTest::qWait(20);
    EXPECT_EQ(chart.categoryAxis()->count(), 7);
    EXPECT_FALSE(anyLabelCut());
}

} // namespace
} // namespace tolvane

#include "core/export/PlayCellText.h"

#include "core/analysis/PlayList.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

namespace tolvane {
namespace {

// The cells come out exactly as the data list's own, for every kind of
// number a log can hold: whole, fractional, exponent form, not finite.
TEST(PlayCellText, GivesTheDataListsCellTexts)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double numbers[] = {0.0, -0.0, 7, -3, 7.5, 155.25, 1.0 / 3, 999999999999999.0, 1e15, -1e15,
        123456789012345678.0, 1e20, 0.0001, 0.00012345, 1e-5, -2.5e-7, DBL_MAX, DBL_MIN, DBL_TRUE_MIN, inf, -inf,
        std::numeric_limits<double>::quiet_NaN()};
    const std::int32_t integers[] = {0, 1, -1, 2147483647, -2147483647 - 1};
    PlayList plays;
    TextPool& texts = *plays.texts();
    std::size_t i = 0;
    for (const double x : numbers) {
        PlayRecord p;
        p.no = integers[i % std::size(integers)];
        p.score = integers[(i + 2) % std::size(integers)];
        p.dateTime = texts.keep("2001/11/21 15:41:00");
        p.title = texts.intern("曲\"\\");
        p.level = x;
        p.bpm = -x;
        p.totalNotes = x * 10;
        p.maxCombo = x / 10;
        plays.append(std::move(p));
        ++i;
    }
    PlayCellText cell;
    for (std::size_t r = 0; r < plays.size(); ++r) {
        for (int c = 0; c < PlayList::kColumns; ++c)
            EXPECT_EQ(cell(plays.row(r), c), plays.cell(r, c)) << "row " << r << " column " << c;
    }
}

} // namespace
} // namespace tolvane

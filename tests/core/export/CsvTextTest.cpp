#include "core/export/CsvText.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tolvane;

TEST(CsvText, SpreadsheetSafeTextsCannotStartAFormulaAndNumbersStayAsTheyAre)
{
    const std::vector<std::string> cells = {"=HYPERLINK(\"x\")", "+1+2", "-2+3", "@SUM(A1)", "\tTab", "\rCR", "-",
        "a=b", "-12", "+3.5", "-1E+20", "-1,234"};
    EXPECT_EQ(csvLine(cells, CsvTexts::SpreadsheetSafe),
        "\"'=HYPERLINK(\"\"x\"\")\",'+1+2,'-2+3,'@SUM(A1),'\tTab,\"'\rCR\",'-,a=b,-12,+3.5,-1E+20,\"-1,234\"\r\n");
    // For scripts every text stays exact.
    EXPECT_EQ(csvLine(cells),
        "\"=HYPERLINK(\"\"x\"\")\",+1+2,-2+3,@SUM(A1),\tTab,\"\rCR\",-,a=b,-12,+3.5,-1E+20,\"-1,234\"\r\n");
}

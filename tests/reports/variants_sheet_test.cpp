#include <gtest/gtest.h>

#include <algorithm>

#include "ReportBuilder.h"
#include "VariantsSheet.h"
#include "XlsxReader.h"
#include "XlsxWriter.h"
#include "test_support.h"

using namespace kalvar;
using kalvar::testing::ScratchDir;

namespace {

struct Reported {
    Reported() {
        kalvar::testing::writePassDrawings(dir.path());
        startUp(session, dir.path().string());
        terms.objectName = "Котельная";
    }
    Workbook build() {
        ReportOptions options;
        options.date = 46000;
        return buildReport(session, owner, terms, options);
    }
    std::vector<std::string> sheetNames(const Workbook& book) const {
        std::vector<std::string> names;
        for (const Sheet& sheet : book.sheets)
            names.push_back(sheet.name);
        return names;
    }

    ScratchDir dir;
    Session session;
    OwnerDetails owner;
    DeliveryTerms terms;
};

// The row of column A holding `text`, or 0.
int rowOf(const Sheet& sheet, const std::string& text, int from = 1) {
    const int last = sheet.usedRange().lastRow;
    for (int row = from; row <= last; ++row)
        if (sheet.text(row, 1) == text) return row;
    return 0;
}

} // namespace

// Unasked, the report keeps its sheets; asked, "Варианты" follows the descriptions, in the saved
// workbook too.
TEST(VariantsSheet, OnlyWhenAsked) {
    Reported r;
    kalvar::testing::calculate(r.session, 4,
                               {{"Form2", {{"Text30", "0,5"}}}, {"Form3", {{"Text30", "0,3"}}}});
    const std::vector<std::string> plain = r.sheetNames(r.build());
    EXPECT_EQ(std::count(plain.begin(), plain.end(), "Варианты"), 0);

    r.terms.variantsSheet = true;
    const Workbook book = r.build();
    std::vector<std::string> expected = plain;
    expected.push_back("Варианты");
    EXPECT_EQ(r.sheetNames(book), expected);
    const std::string path = r.dir.file("report.xlsx");
    writeXlsx(book, path);
    EXPECT_EQ(r.sheetNames(readXlsx(path)), expected);
}

// One block per calculated window; the chosen row is the exchanger the window shows, bold and
// marked; a layout that breaks a limit is listed with the limit named.
TEST(VariantsSheet, BlocksWithChosenAndLimits) {
    Reported r;
    kalvar::testing::calculate(r.session, 4,
                               {{"Form2", {{"Text30", "2,5"}}}, {"Form3", {{"Text30", "0,3"}}}});
    r.terms.variantsSheet = true;
    const Workbook book = r.build();
    const Sheet& sheet = book.sheet("Варианты");
    const int lastColumn = sheet.usedRange().lastColumn;
    for (const auto& [title, window] : {std::pair{"Теплообменник отопления", &r.session.windows.heating},
                                        std::pair{"Теплообменник ГВС", &r.session.windows.hotWater}}) {
        SCOPED_TRACE(title);
        const int block = rowOf(sheet, title);
        ASSERT_GT(block, 0);
        EXPECT_EQ(sheet.text(block + 1, 1), "Обозначение");
        EXPECT_EQ(sheet.text(block + 1, lastColumn - 1), "Ограничение");
        EXPECT_EQ(sheet.text(block + 1, lastColumn), "Выбор");
        std::vector<std::string> chosen;
        int row = block + 2;
        for (; !sheet.text(row, 1).empty(); ++row)
            if (sheet.text(row, lastColumn) == "выбран") {
                chosen.push_back(sheet.text(row, 1));
                EXPECT_TRUE(sheet.findCell(row, 1)->format.bold);
            }
        EXPECT_EQ(chosen, std::vector<std::string>{window->designationBox.text});
        EXPECT_GT(row - block - 2, 1);
    }
    // The heating load is more than some layouts can carry within the limits.
    const int heating = rowOf(sheet, "Теплообменник отопления");
    int broken = 0;
    for (int row = heating + 2; !sheet.text(row, 1).empty(); ++row)
        broken += sheet.text(row, lastColumn - 1).empty() ? 0 : 1;
    EXPECT_GT(broken, 0);
}

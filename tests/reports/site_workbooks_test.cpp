#include <gtest/gtest.h>

#include <fstream>

#include "ReportBuilder.h"
#include "SiteWorkbooks.h"
#include "cipher.h"
#include "test_support.h"

using namespace kalvar;
using kalvar::testing::FixtureCells;
using kalvar::testing::ScratchDir;

namespace {

struct Shown {
    std::vector<std::pair<std::string, std::string>> boxes;
    MessageBox sink() {
        return [this](const std::string& title, const std::string& text) { boxes.emplace_back(title, text); };
    }
};

// The 18 cells: column C hot water, D heating, E ventilation; row 6 and other cells are
// headings the reader must leave alone.
FixtureCells inputCells() {
    FixtureCells cells;
    cells[{1, 1}] = std::string("Исходные данные площадки");
    cells[{1, 3}] = std::string("ГВС");
    const int rows[] = {2, 3, 4, 5, 7, 8};
    for (int column = 3; column <= 5; ++column)
        for (int i = 0; i < 6; ++i)
            cells[{rows[i], column}] = 10.0 * column + i;
    cells[{2, 4}] = 130.0;
    cells[{3, 4}] = std::string("70,5");
    cells[{6, 3}] = std::string("потери давления");
    cells[{2, 6}] = 999.0;
    return cells;
}

class InputWorkbook : public ::testing::TestWithParam<const char*> {
  protected:
    std::string path() const { return dir.file(std::string(inputWorkbookName) + GetParam()); }
    ScratchDir dir;
    Session session;
    Shown shown;
};

} // namespace

TEST_P(InputWorkbook, TheEighteenCellsLandInTheWindows) {
    kalvar::testing::writeFixture(path(), inputCells());
    startUp(session, dir.path().string());
    const OwnerDetails owner = readSiteWorkbooks(session, shown.sink());
    EXPECT_TRUE(shown.boxes.empty());

    EXPECT_EQ(session.windows.heating.heatingInletTemperature.text, "130");
    EXPECT_EQ(session.windows.heating.heatingOutletTemperature.text, "70,5");
    struct Expect {
        CalcWindow* window;
        int column;
    };
    for (const Expect e : {Expect{&session.windows.hotWater, 3}, Expect{&session.windows.ventilation, 5}}) {
        EXPECT_EQ(e.window->heatingInletTemperature.text, std::to_string(10 * e.column));
        EXPECT_EQ(e.window->heatingOutletTemperature.text, std::to_string(10 * e.column + 1));
        EXPECT_EQ(e.window->heatedInletTemperature.text, std::to_string(10 * e.column + 2));
        EXPECT_EQ(e.window->heatedOutletTemperature.text, std::to_string(10 * e.column + 3));
        EXPECT_EQ(e.window->heatingLossLimit.text, std::to_string(10 * e.column + 4));
        EXPECT_EQ(e.window->heatedLossLimit.text, std::to_string(10 * e.column + 5));
    }
    EXPECT_EQ(session.windows.heating.heatedLossLimit.text, "45");
    // No owner workbook: built-in details and the built-in prefix.
    EXPECT_EQ(owner.ownerName, OwnerDetails{}.ownerName);
    EXPECT_EQ(session.state.seriesPrefix, "КM");
}

TEST_P(InputWorkbook, AnEmptyCellStopsTheCopyThereWithTheErrorMessage) {
    FixtureCells cells = inputCells();
    cells.erase({4, 4}); // D4: heating Text3
    kalvar::testing::writeFixture(path(), cells);
    const std::string heatedInletBefore = session.windows.heating.heatedInletTemperature.text;
    EXPECT_FALSE(readInputWorkbook(session.windows, path(), shown.sink()));

    ASSERT_EQ(shown.boxes.size(), 1u);
    EXPECT_EQ(shown.boxes[0].first, "Открыть");
    EXPECT_EQ(shown.boxes[0].second, "Произошла ошибка  ячейка D4 первого листа не содержит значения");
    EXPECT_EQ(session.windows.hotWater.heatedLossLimit.text, "35");           // column C is in
    EXPECT_EQ(session.windows.heating.heatingOutletTemperature.text, "70,5"); // D2, D3 are in
    EXPECT_EQ(session.windows.heating.heatedInletTemperature.text, heatedInletBefore);
    EXPECT_NE(session.windows.ventilation.heatingInletTemperature.text, "50"); // column E was never reached
}

INSTANTIATE_TEST_SUITE_P(BothFormats, InputWorkbook, ::testing::Values(".xls", ".xlsx"),
                         [](const auto& info) { return std::string(info.param + 1); });

TEST(SiteWorkbookPath, OnlyTheExactNameCounts) {
    ScratchDir dir;
    const std::string base = inputWorkbookName;
    for (const char* other : {"Исходные данные.XLS", "Исходные данные.xls.bak", "Исходные данные.ods",
                              "Исходные данные 2.xls", "Исходные данные"})
        std::ofstream(dir.file(other)) << "x";
    std::filesystem::create_directory(dir.path() / "Исходные данные.xlsx"); // a folder is no workbook
    EXPECT_FALSE(siteWorkbookPath(dir.path().string(), base));

    std::ofstream(dir.file(base + ".xlsx")) << "x";
    EXPECT_EQ(siteWorkbookPath(dir.path().string(), base), std::nullopt)
        << "the folder of that name shadows it";
    std::filesystem::remove(dir.path() / (base + ".xlsx"));
    std::ofstream(dir.file(base + ".xlsx")) << "x";
    EXPECT_EQ(siteWorkbookPath(dir.path().string(), base), dir.file(base + ".xlsx"));
    std::ofstream(dir.file(base + ".xls")) << "x";
    EXPECT_EQ(siteWorkbookPath(dir.path().string(), base), dir.file(base + ".xls"))
        << "the legacy file comes first";
    EXPECT_EQ(siteWorkbookPath((dir.path() / "none").string(), base), std::nullopt);
}

TEST(SiteWorkbookErrors, MissingAndDamagedFilesGiveTheirMessages) {
    ScratchDir dir;
    Session session;
    Shown shown;
    EXPECT_FALSE(readInputWorkbook(session.windows, dir.file("Исходные данные.xls"), shown.sink()));
    std::ofstream(dir.file("broken.xls")) << "not a workbook at all";
    EXPECT_FALSE(readInputWorkbook(session.windows, dir.file("broken.xls"), shown.sink()));
    std::ofstream(dir.file("broken.xlsx")) << "PK but not really";
    EXPECT_FALSE(readInputWorkbook(session.windows, dir.file("broken.xlsx"), shown.sink()));

    ASSERT_EQ(shown.boxes.size(), 3u);
    EXPECT_EQ(shown.boxes[0], std::make_pair(std::string("Открыть"), std::string("Файл не найден")));
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(shown.boxes[i].first, "Открыть");
        EXPECT_TRUE(shown.boxes[i].second.starts_with("Произошла ошибка  ")) << shown.boxes[i].second;
        EXPECT_GT(shown.boxes[i].second.size(), std::string("Произошла ошибка  ").size());
    }
    EXPECT_EQ(session.windows.heating.heatingInletTemperature.text, "110"); // the designed text stays
}

namespace {

FixtureCells ownerCells() {
    FixtureCells cells;
    cells[{1, 1}] = std::string("Реквизиты");
    const char* plain[] = {"ЗАО «Тестовый завод»", "111111, г. Нигдеград, пр. Пробный, 7",
                           "+000 11 222-33-44",    "www.example.net",
                           "sales@example.net",    "ТП"};
    for (int i = 0; i < 6; ++i)
        cells[{2 + i, 2}] = encipher(plain[i]);
    return cells;
}

class OwnerWorkbook : public ::testing::TestWithParam<const char*> {
  protected:
    std::string path() const { return dir.file(std::string(ownerWorkbookName) + GetParam()); }
    ScratchDir dir;
    Shown shown;
};

} // namespace

TEST_P(OwnerWorkbook, RenamesTheSeriesAndFillsTheHeaderDetails) {
    kalvar::testing::writeFixture(path(), ownerCells());
    Session session;
    startUp(session, dir.path().string());
    bool found = false;
    const OwnerDetails owner = readSiteWorkbooks(session, shown.sink(), &found);
    EXPECT_TRUE(found);
    EXPECT_TRUE(shown.boxes.empty());
    EXPECT_EQ(owner.ownerName, "ЗАО «Тестовый завод»");
    EXPECT_EQ(owner.ownerAddress, "111111, г. Нигдеград, пр. Пробный, 7");
    EXPECT_EQ(owner.ownerPhone, "+000 11 222-33-44");
    EXPECT_EQ(owner.ownerSite, "www.example.net");
    EXPECT_EQ(owner.ownerEmail, "sales@example.net");
    EXPECT_EQ(owner.seriesPrefix, "ТП");
    EXPECT_EQ(session.state.seriesPrefix, "ТП");

    // The report's header carries them.
    const Workbook report = buildReport(session, owner, DeliveryTerms{});
    const Sheet& sheet = report.sheet("Лист4");
    EXPECT_EQ(sheet.text(1, 1), "ЗАО «Тестовый завод»");
    EXPECT_EQ(sheet.text(2, 1), "111111, г. Нигдеград, пр. Пробный, 7");
    EXPECT_EQ(sheet.text(2, 4), "Тел./Факс. +000 11 222-33-44");
    EXPECT_EQ(sheet.text(3, 4), "www.example.net");
    EXPECT_EQ(sheet.text(4, 4), "e-mail:sales@example.net");
}

TEST_P(OwnerWorkbook, AFailureKeepsWhatWasReadDecipheredAndTheRestBuiltIn) {
    FixtureCells cells = ownerCells();
    cells.erase({5, 2}); // B5: the web site
    kalvar::testing::writeFixture(path(), cells);
    bool ok = true;
    const OwnerDetails owner = readOwnerWorkbook(path(), shown.sink(), &ok);
    EXPECT_FALSE(ok);
    ASSERT_EQ(shown.boxes.size(), 1u);
    EXPECT_EQ(shown.boxes[0].second, "Произошла ошибка  ячейка B5 первого листа не содержит значения");
    EXPECT_EQ(owner.ownerPhone, "+000 11 222-33-44");
    EXPECT_EQ(owner.ownerSite, OwnerDetails{}.ownerSite);
    EXPECT_EQ(owner.seriesPrefix, "КM");
}

INSTANTIATE_TEST_SUITE_P(BothFormats, OwnerWorkbook, ::testing::Values(".xls", ".xlsx"),
                         [](const auto& info) { return std::string(info.param + 1); });

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "XlsxReader.h"
#include "cipher.h"
#include "pdf_text.h"
#include "report_command.h"
#include "test_support.h"

using namespace kalvar;
using kalvar::testing::ScratchDir;

namespace {

struct CommandRun {
    int code;
    std::string out, err;
};

// Runs the command in the folder, as kalvar-cli would from there.
CommandRun report(const std::filesystem::path& folder, const std::vector<std::string>& args) {
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    std::ostringstream out, err;
    const int code = reportCommand(args, out, err);
    std::filesystem::current_path(before);
    return {code, out.str(), err.str()};
}

} // namespace

TEST(ReportCommand, WritesTheWorkbookAndThePdfOfATask) {
    ScratchDir dir;
    kalvar::testing::writePassDrawings(dir.path());
    std::ofstream(dir.file("task.json")) << R"({"system": 8, "windows": {"Form1": {"Text30": "0,2"},
        "Form2": {"Text30": "0,5"}, "Form3": {"Text30": "0,35"}}})";
    std::ofstream(dir.file("terms.json")) << R"({"objectName": "Школа 5", "heating": {"price": "2000"},
        "ventilation": {"notes": "без монтажа"}})";
    const CommandRun r =
        report(dir.path(), {"task.json", "--xlsx", "out.xlsx", "--pdf", "out.pdf", "--terms", "terms.json"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "out.xlsx\nout.pdf\n");
    const Workbook book = readXlsx(dir.file("out.xlsx"));
    EXPECT_EQ(book.sheet("Лист4").text(8, 3), "Школа 5");
    EXPECT_EQ(book.sheet("Лист4").text(7, 3), "Смешанная схема с параллельной вентиляцией");
    EXPECT_EQ(book.sheet("Лист2").text(39, 3), "2000");
    EXPECT_EQ(book.sheet("Лист3").text(41, 3), "без монтажа");
    EXPECT_EQ(book.sheet("Лист1").text(40, 3), "EXW-Минск, 3-5 дней с \r\nмомента оплаты.\r\n");
    EXPECT_EQ(kalvar::testing::pdfPageCount(dir.file("out.pdf")), 4);
}

// "variantsSheet": true adds the sheet after the descriptions, to the workbook and the PDF; its
// chosen rows follow the task's limit answers, as the descriptions do.
TEST(ReportCommand, TheVariantsSheetWhenTheTermsAskForIt) {
    ScratchDir dir;
    kalvar::testing::writePassDrawings(dir.path());
    std::ofstream(dir.file("task.json"))
        << R"({"windows": {"Form2": {"Text30": "2,5", "Combo1": 0, "Combo2": 0,
        "Combo3": 0}}, "limitAnswers": ["Несколько теплообменников"]})";
    std::ofstream(dir.file("terms.json")) << R"({"objectName": "Котельная", "variantsSheet": true})";
    const CommandRun r =
        report(dir.path(), {"task.json", "--xlsx", "out.xlsx", "--pdf", "out.pdf", "--terms", "terms.json"});
    ASSERT_EQ(r.code, 0) << r.err;
    const Workbook book = readXlsx(dir.file("out.xlsx"));
    ASSERT_EQ(book.sheets.back().name, "Варианты");
    const Sheet& sheet = book.sheets.back();
    int chosen = 0;
    for (int row = 5; !sheet.text(row, 1).empty(); ++row)
        if (sheet.text(row, sheet.usedRange().lastColumn) == "выбран") {
            ++chosen;
            // "Несколько теплообменников": two units of the first series, one pass.
            EXPECT_EQ(sheet.text(row, 2) + "/" + sheet.text(row, 3) + "/" + sheet.text(row, 4), "1/1/2");
        }
    EXPECT_EQ(chosen, 1);
    EXPECT_GT(kalvar::testing::pdfPageCount(dir.file("out.pdf")), 2);
}

TEST(ReportCommand, UsageTaskAndTermsErrorsExitTwoWithTheReason) {
    ScratchDir dir;
    std::ofstream(dir.file("task.json")) << R"({"system": 2})";
    std::ofstream(dir.file("bad.json")) << R"({"sytem": 2})";
    std::ofstream(dir.file("terms.json")) << R"({"heating": {"prise": "1"}})";
    std::ofstream(dir.file("sheet.json")) << R"({"variantsSheet": "yes"})";
    struct Case {
        std::vector<std::string> args;
        const char* reason;
    };
    for (const Case& c :
         {Case{{}, "no task given"}, Case{{"task.json"}, "give --xlsx FILE, --pdf FILE or both"},
          Case{{"task.json", "--xlsx"}, "--xlsx needs a file name"},
          Case{{"task.json", "--xslx", "a.xlsx"}, "unexpected argument \"--xslx\""},
          Case{{"none.json", "--xlsx", "a.xlsx"}, "cannot read none.json"},
          Case{{"bad.json", "--xlsx", "a.xlsx"}, "unknown task key \"sytem\""},
          Case{{"task.json", "--xlsx", "a.xlsx", "--terms", "terms.json"},
               "unknown terms key \"heating.prise\""},
          Case{{"task.json", "--xlsx", "a.xlsx", "--terms", "sheet.json"},
               "\"variantsSheet\" must be true or false"}}) {
        const CommandRun r = report(dir.path(), c.args);
        EXPECT_EQ(r.code, 2) << c.reason;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "a.xlsx"));
    }
}

TEST(ReportCommand, AReportThatCannotBeWrittenExitsOneAndSaysWhy) {
    ScratchDir dir;
    kalvar::testing::writePassDrawings(dir.path());
    std::ofstream(dir.file("task.json")) << R"({"system": 2, "windows": {"Form2": {"Text30": "0,5"}}})";
    const CommandRun r = report(dir.path(), {"task.json", "--xlsx", "no/such/folder/out.xlsx"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("the report was not written"), std::string::npos) << r.err;

    // A device that takes nothing: the file is named, in the program's words.
    if (!std::filesystem::is_character_file("/dev/full")) return;
    for (const char* option : {"--pdf", "--xlsx"}) {
        const CommandRun full = report(dir.path(), {"task.json", option, "/dev/full"});
        EXPECT_EQ(full.code, 1) << option;
        EXPECT_NE(full.err.find("the report was not written: Файл \"/dev/full\" не записан"),
                  std::string::npos)
            << full.err;
        EXPECT_EQ(full.out, "");
    }
}

TEST(ReportCommand, TheSameFileForWorkbookAndPdfIsRefused) {
    ScratchDir dir;
    std::filesystem::create_directory(dir.path() / "sub");
    std::ofstream(dir.file("task.json")) << R"({"system": 2, "windows": {"Form2": {"Text30": "0,5"}}})";
    for (const auto& [xlsx, pdf] : std::vector<std::pair<std::string, std::string>>{
             {"r.out", "r.out"}, {"r.out", "./sub/../r.out"}, {dir.file("r.out"), "r.out"}}) {
        const CommandRun r = report(dir.path(), {"task.json", "--xlsx", xlsx, "--pdf", pdf});
        EXPECT_EQ(r.code, 2) << xlsx << " " << pdf;
        EXPECT_NE(r.err.find("the same file"), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "r.out"));
    }
}

// The owner workbook's B7 names the plate series, in the designations as in the desktop, unless
// the task names its own prefix.
TEST(ReportCommand, TheOwnerWorkbooksSeriesPrefixNamesTheExchangers) {
    ScratchDir dir;
    kalvar::testing::writePassDrawings(dir.path());
    kalvar::testing::FixtureCells cells;
    const char* plain[] = {"ООО Тест", "г. Тест", "123", "www.test", "a@test", "ТП"};
    for (int i = 0; i < 6; ++i)
        cells[{2 + i, 2}] = encipher(plain[i]);
    kalvar::testing::writeFixture(dir.file("Юридический адрес.xlsx"), cells);
    std::ofstream(dir.file("task.json")) << R"({"system": 2, "windows": {"Form2": {"Text30": "0,5"}}})";
    std::ofstream(dir.file("own.json"))
        << R"({"system": 2, "seriesPrefix": "ZZ", "windows": {"Form2": {"Text30": "0,5"}}})";
    struct Case {
        const char* task;
        const char* prefix;
    };
    for (const Case& c : {Case{"task.json", "ТП"}, Case{"own.json", "ZZ"}}) {
        const CommandRun r = report(dir.path(), {c.task, "--xlsx", "out.xlsx"});
        ASSERT_EQ(r.code, 0) << r.err;
        const Workbook book = readXlsx(dir.file("out.xlsx"));
        EXPECT_EQ(book.sheet("Лист4").text(1, 1), "ООО Тест");
        EXPECT_TRUE(book.sheet("Лист4").text(10, 5).starts_with(c.prefix)) << book.sheet("Лист4").text(10, 5);
        EXPECT_TRUE(book.sheet("Лист1").text(2, 1).ends_with("  " + book.sheet("Лист4").text(10, 5)));
    }
}

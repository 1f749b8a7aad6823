#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include <QProcess>
#include <QStandardPaths>

#include "ReportBuilder.h"
#include "SheetRenderer.h"
#include "XlsxReader.h"
#include "XlsxWriter.h"
#include "number_text.h"
#include "pdf_text.h"
#include "test_support.h"

using namespace kalvar;
using kalvar::testing::ScratchDir;

namespace {

constexpr double reportDate = 46000; // 09.12.2025

// A session started in a scratch folder that holds the pass drawings.
struct Reported {
    Reported() {
        kalvar::testing::writePassDrawings(dir.path());
        startUp(session, dir.path().string());
        terms.objectName = "Школа 5";
        terms.hotWater = {"1000", "ГВС: самовывоз", "примечание ГВС"};
        terms.heating = {"2000", "Отопление: доставка", "примечание отопления"};
        terms.ventilation = {"3000,5", "Вентиляция: по договору", "примечание вентиляции"};
    }
    Workbook build() {
        ReportOptions options;
        options.date = reportDate;
        return buildReport(session, owner, terms, options);
    }

    ScratchDir dir;
    Session session;
    OwnerDetails owner;
    DeliveryTerms terms;
};

std::string text(const Workbook& book, const char* sheet, const char* address) {
    const RangeRef r = parseRange(address);
    return book.sheet(sheet).text(r.firstRow, r.firstColumn);
}

std::optional<double> number(const Workbook& book, const char* sheet, const char* address) {
    const RangeRef r = parseRange(address);
    const Cell* c = book.sheet(sheet).findCell(r.firstRow, r.firstColumn);
    if (!c || !std::holds_alternative<double>(c->value)) return std::nullopt;
    return std::get<double>(c->value);
}

bool merged(const Sheet& sheet, const RangeRef& area) {
    return std::find(sheet.merges.begin(), sheet.merges.end(), area) != sheet.merges.end();
}

struct SystemCase {
    int kind;
    const char* scheme;
    std::map<std::string, std::map<std::string, std::string>> inputs;
    // Per exchanger: window, column, description sheet, terms column price, pass word.
    struct Exchanger {
        const char* window;
        int column;
        const char* sheet;
        const char* price;
        const char* passWord;
    };
    std::vector<Exchanger> exchangers;
};

void PrintTo(const SystemCase& c, std::ostream* out) {
    *out << "system " << c.kind;
}

class ReportOfSystem : public ::testing::TestWithParam<SystemCase> {};

} // namespace

TEST_P(ReportOfSystem, EveryCellMergeFormatAndPictureIsWrittenAndReadBack) {
    const SystemCase& c = GetParam();
    Reported r;
    kalvar::testing::calculate(r.session, c.kind, c.inputs);
    const Workbook book = r.build();

    // The sheets in the order the report has always had.
    ASSERT_EQ(book.sheets.size(), 4u);
    EXPECT_EQ(book.sheets[0].name, "Лист4");
    EXPECT_EQ(book.sheets[1].name, "Лист1");
    EXPECT_EQ(book.activeSheet, 1);

    EXPECT_EQ(text(book, "Лист4", "C7"), c.scheme);
    EXPECT_EQ(text(book, "Лист4", "C8"), "Школа 5");
    EXPECT_EQ(text(book, "Лист4", "A1"), r.owner.ownerName);
    EXPECT_EQ(text(book, "Лист4", "D2"), "Тел./Факс. " + r.owner.ownerPhone);
    EXPECT_EQ(text(book, "Лист4", "D4"), "e-mail:" + r.owner.ownerEmail);
    EXPECT_EQ(text(book, "Лист4", "B11"), "Гкал/ч");
    EXPECT_EQ(text(book, "Лист4", "B16"), "°C");
    EXPECT_EQ(text(book, "Лист4", "B17"), "°С");
    EXPECT_EQ(displayText(*book.sheet(1).findCell(6, 7)), "09.12.2025");

    for (const auto& e : c.exchangers) {
        SCOPED_TRACE(e.window);
        const CalcWindow& w = *r.session.windows.calcWindow(e.window);
        const Sheet& calc = book.sheet("Лист4");
        const int col = e.column;
        ASSERT_FALSE(w.designationBox.text.empty()) << "the calculation gave no designation";
        EXPECT_EQ(calc.text(10, col), w.designationBox.text);
        EXPECT_TRUE(calc.findCell(10, col)->format.bold);
        EXPECT_EQ(calc.text(9, col), col == 3 ? "ГВС" : col == 5 ? "отопление" : "вентиляция");
        for (int row : {9, 10, 11, 20, 23, 24, 25, 26, 28})
            EXPECT_TRUE(merged(calc, RangeRef{row, col, row, col + 1})) << row;
        const double plates = readNumber(w.plateCount.text);
        EXPECT_EQ(calc.findCell(13, col)->value, CellValue(plates / 2 - 1));
        EXPECT_EQ(calc.findCell(13, col + 1)->value, CellValue(plates / 2));
        ASSERT_TRUE(calc.findCell(20, col) && std::holds_alternative<double>(calc.findCell(20, col)->value));
        EXPECT_GT(std::get<double>(calc.findCell(20, col)->value), 0);
        EXPECT_TRUE(std::holds_alternative<std::string>(calc.findCell(27, col)->value)) << "volumes are text";

        const Sheet& description = book.sheet(e.sheet);
        EXPECT_EQ(description.text(2, 1), "ТЕХНИЧЕСКОЕ ОПИСАНИЕ НА ТЕПЛООБМЕННИК  " + w.designationBox.text);
        ASSERT_EQ(description.pictures.size(), 1u);
        // The drawing and the pass word tell the same passes; the two-stage exchanger says so instead.
        const std::string drawing = description.pictures[0].name;
        const char* byPasses[] = {"одноходовой", "двухходовой", "трехходовой"};
        const std::string word = *e.passWord ? e.passWord : byPasses[drawing.at(3) - '1'];
        EXPECT_NE(description.text(3, 1).find(", " + word + " теплообменник"), std::string::npos)
            << description.text(3, 1) << " / " << drawing;
        EXPECT_EQ(description.text(39, 3), generalNumberText(readNumber(e.price)));
        EXPECT_EQ(description.findCell(39, 3)->format.numberFormat, "0");
        EXPECT_EQ(description.text(35, 3), w.weight.text);
        ASSERT_EQ(description.pictures.size(), 1u);
        EXPECT_EQ(description.pictures[0].width, 280);
        EXPECT_EQ(description.rowHeight(3), 60);
    }

    // Written and read back by our own reader: nothing lost.
    const std::string path = r.dir.file("report.xlsx");
    writeXlsx(book, path);
    const Workbook back = readXlsx(path);
    ASSERT_EQ(back.sheets.size(), book.sheets.size());
    for (size_t i = 0; i < book.sheets.size(); ++i) {
        const Sheet& a = book.sheets[i];
        const Sheet& b = back.sheets[i];
        SCOPED_TRACE(a.name);
        EXPECT_EQ(b.name, a.name);
        for (const auto& [at, cell] : a.cells) {
            const Cell* got = b.findCell(at.row, at.column);
            ASSERT_NE(got, nullptr) << cellAddress(at.row, at.column);
            EXPECT_EQ(got->value, cell.value) << cellAddress(at.row, at.column);
            EXPECT_EQ(got->format, cell.format) << cellAddress(at.row, at.column);
        }
        EXPECT_EQ(b.merges.size(), a.merges.size());
        for (const RangeRef& m : a.merges)
            EXPECT_TRUE(merged(b, m)) << rangeAddress(m);
        EXPECT_EQ(b.rowHeights, a.rowHeights);
        for (int column = 1; column <= 9; ++column)
            EXPECT_EQ(b.columnWidthPoints(column), a.columnWidthPoints(column)) << column;
        EXPECT_EQ(b.leftMargin, a.leftMargin);
        EXPECT_EQ(b.rightMargin, a.rightMargin);
        ASSERT_EQ(b.pictures.size(), a.pictures.size());
        for (size_t p = 0; p < a.pictures.size(); ++p) {
            EXPECT_EQ(b.pictures[p].data, a.pictures[p].data);
            EXPECT_NEAR(b.pictures[p].top, 150, 0.5);
            EXPECT_NEAR(b.pictures[p].height, 420, 0.1);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Systems, ReportOfSystem,
    ::testing::Values(
        SystemCase{1,
                   "Теплообменник горячего водоснабжения",
                   {{"Form3", {{"Text30", "0,3"}}}},
                   {{"Form3", 3, "Лист1", "1000", ""}}},
        SystemCase{2,
                   "Теплообменник отопления",
                   {{"Form2", {{"Text30", "0,5"}}}},
                   {{"Form2", 5, "Лист1", "2000", ""}}},
        SystemCase{5,
                   "Двухступенчатая смешанная схема",
                   {{"Form2", {{"Text30", "0,6"}}}, {"Form3", {{"Text30", "0,3"}}}},
                   {{"Form3", 3, "Лист1", "1000", "двухступенчатый"}, {"Form2", 5, "Лист2", "2000", ""}}},
        SystemCase{
            8,
            "Смешанная схема с параллельной вентиляцией",
            {{"Form1", {{"Text30", "0,2"}}}, {"Form2", {{"Text30", "0,5"}}}, {"Form3", {{"Text30", "0,35"}}}},
            {{"Form3", 3, "Лист1", "1000", "двухступенчатый"},
             {"Form2", 5, "Лист2", "2000", ""},
             {"Form1", 7, "Лист3", "3000,5", ""}}}),
    [](const auto& info) { return "Kind" + std::to_string(info.param.kind); });

TEST(ReportCells, PassWordFollowsThePassesShown) {
    Reported r;
    kalvar::testing::calculate(r.session, 2, {{"Form2", {{"Text30", "0,5"}}}});
    CalcWindow& w = r.session.windows.heating;
    struct Case {
        int passList;
        const char* text59;
        const char* word;
    };
    for (const Case& c : {Case{0, "", "одноходовой"}, Case{1, "", "двухходовой"}, Case{2, "", "трехходовой"},
                          Case{3, "2", "двухходовой"}, Case{3, "3", "трехходовой"}}) {
        w.passCountList.listIndex = c.passList;
        w.searchedPassCount.text = c.text59;
        const Workbook book = r.build();
        EXPECT_NE(text(book, "Лист1", "A3").find(c.word), std::string::npos) << c.passList << " " << c.text59;
        const std::string drawing =
            "KM " + std::string(c.passList == 3 ? c.text59 : std::to_string(c.passList + 1)) + "x.jpg";
        EXPECT_EQ(book.sheet("Лист1").pictures.at(0).name, drawing);
    }
}

TEST(ReportCells, CountTextsOfSeveralExchangers) {
    Reported r;
    kalvar::testing::calculate(r.session, 1, {{"Form3", {{"Text30", "0,3"}}}});
    CalcWindow& w = r.session.windows.hotWater;
    w.surfaceArea.text = "2,76";
    w.weight.text = "41";
    struct Case {
        int n;
        const char* g1;
        const char* area;
    };
    for (const Case& c :
         {Case{1, "", "2.76"}, Case{2, "(2 штуки)", "2 x 2.76"}, Case{4, "(4 штуки)", "4 x 2.76"},
          Case{5, "(5 штук)", "5 x 2.76"}, Case{8, "(8 штук)", "8 x 2.76"}, Case{9, "", "9 x 2.76"}}) {
        w.exchangerCountList.listIndex = c.n - 1;
        const Workbook book = r.build();
        EXPECT_EQ(text(book, "Лист1", "G1"), c.g1) << c.n;
        EXPECT_EQ(text(book, "Лист4", "C24"), c.area) << c.n;
        EXPECT_EQ(text(book, "Лист4", "C28"), (c.n == 1 ? "" : std::to_string(c.n) + " x ") + "41") << c.n;
        EXPECT_TRUE(std::holds_alternative<std::string>(book.sheet(1).findCell(24, 3)->value));
    }
}

// After a rating the optimal outlet and flow are empty: the design outlet stands in, the empty
// boxes give empty cells, and the report is complete.
TEST(ReportCells, RatedExchangerIsReportedWithTheDesignOutlet) {
    Reported r;
    kalvar::testing::calculate(
        r.session, 2, {{"Form2", {{"Text38", "50"}}}},
        {{"Form2", {{"Check3", 0}, {"Check2", 0}, {"Check5", 1}, {"Combo1", 1}, {"Combo2", 1}}}});
    const CalcWindow& w = r.session.windows.heating;
    ASSERT_EQ(w.optimalHeatingOutletTemperature.text, "");
    ASSERT_FALSE(w.designationBox.text.empty());
    const Workbook book = r.build();
    const double t1 = readNumber(w.heatingInletTemperature.text),
                 t1out = readNumber(w.heatingOutletTemperature.text);
    const double t2 = readNumber(w.heatedInletTemperature.text),
                 t2out = readNumber(w.heatedOutletTemperature.text);
    EXPECT_EQ(number(book, "Лист4", "E19"), readNumber(formatNumber((t1 + t1out) / 2, 1)));
    EXPECT_EQ(number(book, "Лист4", "F19"), readNumber(formatNumber((t2 + t2out) / 2, 1)));
    const double a = t1out - t2, b = t1 - t2out;
    EXPECT_EQ(number(book, "Лист4", "E20"), readNumber(formatNumber((b - a) / std::log(b / a), 1)));
    EXPECT_EQ(book.sheet(1).findCell(18, 5)->value, CellValue{}); // Text32
    EXPECT_EQ(book.sheet(1).findCell(15, 5)->value, CellValue{}); // Text47
    EXPECT_EQ(book.sheet("Лист1").pictures.size(), 1u);
    EXPECT_EQ(text(book, "Лист1", "C41"), "примечание отопления");
}

TEST(ReportCells, MeanTemperatureDifferenceCases) {
    Reported r;
    selectSystem(r.session, 2);
    CalcWindow& w = r.session.windows.heating;
    w.passCountList.listIndex = 0;
    struct Case {
        const char* t1;
        const char* t1out;
        const char* t2;
        const char* t2out;
        std::optional<double> lmtd;
    };
    for (const Case& c : {Case{"90", "50", "40", "80", 10.0}, // equal ends: the difference itself
                          Case{"110", "70", "65", "95", 10.0 / std::log(3.0)}, // 5 and 15
                          Case{"60", "30", "40", "55", std::nullopt},          // crossed: ratio not positive
                          Case{"60", "30", "30", "55", std::nullopt}}) {       // one end zero
        w.heatingInletTemperature.text = c.t1;
        w.optimalHeatingOutletTemperature.text = c.t1out;
        w.heatedInletTemperature.text = c.t2;
        w.heatedOutletTemperature.text = c.t2out;
        const Workbook book = r.build();
        const auto got = number(book, "Лист4", "E20");
        if (c.lmtd)
            EXPECT_EQ(got, readNumber(formatNumber(*c.lmtd, 1))) << c.t1 << " " << c.t1out;
        else
            EXPECT_EQ(got, std::nullopt) << c.t1 << " " << c.t1out;
        EXPECT_EQ(book.sheet("Лист1").pictures.size(), 1u) << "the report goes on to the end";
    }
}

TEST(ReportCells, NumbersOfTextsThatHoldNoNumberAreLeftEmpty) {
    Reported r;
    selectSystem(r.session, 2);
    CalcWindow& w = r.session.windows.heating;
    w.passCountList.listIndex = 0;
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    for (const Case& c : {Case{"", std::nullopt}, Case{"abc", std::nullopt}, Case{"12abc", std::nullopt},
                          Case{"0x1A", std::nullopt}, Case{"inf", std::nullopt}, Case{"1e999", std::nullopt},
                          Case{"0,25", 0.25}, Case{" 3.5 ", 3.5}, Case{"-2", -2.0}}) {
        w.heatingLoss.text = c.text;
        w.plateCount.text = c.text;
        const Workbook book = r.build();
        EXPECT_EQ(number(book, "Лист4", "E21"), c.value) << c.text;
        EXPECT_EQ(number(book, "Лист4", "F13"), c.value ? std::optional(*c.value / 2) : std::nullopt)
            << c.text;
    }
}

TEST(ReportCells, AutomaticPlateTypeTakesTheLastChosenSeriesForTheVolume) {
    Reported r;
    selectSystem(r.session, 2);
    CalcWindow& w = r.session.windows.heating;
    w.plateTypeList.listIndex = autoPlateEntry;
    w.passCountList.listIndex = 0;
    w.plateCount.text = "20";
    const auto volume = [&](int type) {
        const auto t = static_cast<size_t>(type);
        const double v = r.session.state.catalogue.equivalentDiameter[t] *
                         r.session.state.catalogue.plateArea[t] * 19 * 1000 / 1.4;
        return generalNumberText(readNumber(formatNumber(v, 2)));
    };
    for (int type : {1, 3}) {
        r.session.state.heatingLastType = static_cast<int16_t>(type);
        EXPECT_EQ(text(r.build(), "Лист4", "E27"), volume(type)) << type;
    }
}

TEST(ReportCells, UnitsAndTermsColumnsFollowTheSettingsAndTheSystem) {
    Reported r;
    r.session.windows.units = UnitSettings{false, false, false};
    r.session.windows.decimalSeparator = ",";
    selectSystem(r.session, 3);
    r.session.windows.ventilation.passCountList.listIndex = 0;
    r.session.windows.ventilation.surfaceArea.text = "1,5";
    const Workbook book = r.build();
    EXPECT_EQ(text(book, "Лист4", "B11"), "кВт");
    EXPECT_EQ(text(book, "Лист4", "B15"), "л/с");
    EXPECT_EQ(text(book, "Лист4", "B21"), "атм");
    EXPECT_EQ(text(book, "Лист4", "G24"), "1,5"); // the user's decimal separator
    EXPECT_EQ(text(book, "Лист1", "C40"), "Вентиляция: по договору");
    EXPECT_EQ(number(book, "Лист1", "C39"), 3000.5);
}

TEST(ReportCells, AMissingPassDrawingEndsTheReportNamingTheFile) {
    Reported r;
    kalvar::testing::calculate(r.session, 2, {{"Form2", {{"Text30", "0,5"}}}});
    r.session.windows.heating.passCountList.listIndex = 2;
    std::filesystem::remove(r.dir.path() / "picture" / "KM 3x.jpg");
    try {
        r.build();
        ADD_FAILURE();
    } catch (const WorkbookError& e) {
        EXPECT_EQ(e.number, fileNotFoundError);
        EXPECT_NE(std::string(e.what()).find("KM 3x.jpg"), std::string::npos) << e.what();
    }
}

// Rows that hold the user's texts grow to show every line, wrapped or typed; the designed
// heights stay the least. Every used column has its width, and each sheet prints one page wide.
TEST(ReportLayout, UserTextRowsGrowAndSheetsPrintOnePageWide) {
    Reported r;
    kalvar::testing::calculate(r.session, 1, {{"Form3", {{"Text30", "0,35"}}}});
    const double line = 11 * 1.15; // one line of 11-point text, as office suites space it
    struct Case {
        const char* sheet;
        int row, column;
        std::string text;
        double least;
    };
    const std::string threeLines = "Первая строка\r\nвторая строка\r\nтретья строка";
    std::string longName;
    for (int i = 0; i < 120; ++i)
        longName += "Ш"; // a long object name, wider than its merged cell
    for (const Case& c : {Case{"Лист1", 40, 3, threeLines, 3 * line}, Case{"Лист1", 41, 3, "одна строка", 31},
                          Case{"Лист1", 39, 3, "по договору, " + threeLines, 3 * line},
                          Case{"Лист4", 8, 3, longName, 2 * line}, Case{"Лист4", 8, 3, "Школа 5", 31}}) {
        r.terms.hotWater = {"1000", "ГВС", "примечание"};
        r.terms.objectName = "Школа 5";
        if (c.row == 8) r.terms.objectName = c.text;
        if (c.row == 39) r.terms.hotWater.price = c.text;
        if (c.row == 40) r.terms.hotWater.terms = c.text;
        if (c.row == 41) r.terms.hotWater.notes = c.text;
        const Workbook book = r.build();
        const Sheet& sheet = book.sheet(c.sheet);
        EXPECT_GE(sheet.rowHeight(c.row), c.least) << c.sheet << " row " << c.row;
        if (c.least == 31) {
            EXPECT_EQ(sheet.rowHeight(c.row), 31) << c.sheet << " row " << c.row;
        }
    }
    // Eight exchangers in parallel: "8 x 191,75" and the like fit their value columns.
    r.session.windows.decimalSeparator = ",";
    r.session.windows.hotWater.exchangerCountList.listIndex = 7;
    const Workbook book = r.build();
    const Sheet& calculation = book.sheet("Лист4");
    EXPECT_TRUE(calculation.text(27, 3).starts_with("8 x ")) << calculation.text(27, 3);
    const TextMeasure measure = sheetFontMeasure();
    for (const auto& [at, cell] : calculation.cells) {
        if (at.row < 5 || at.column < 3 || cell.empty() || cell.format.wrap) continue;
        if (const RangeRef* m = calculation.mergeAt(at.row, at.column); m && !m->single()) continue;
        EXPECT_LE(measure(displayText(cell, ","), cell.format) + 3, calculation.columnWidthPoints(at.column))
            << cellAddress(at.row, at.column) << " " << displayText(cell, ",");
    }
    for (const char* name : {"Лист4", "Лист1"}) {
        const Sheet& sheet = book.sheet(name);
        EXPECT_EQ(sheet.fitToPagesWide, 1) << name;
        for (int c = 1; c <= sheet.usedRange().lastColumn; ++c)
            EXPECT_TRUE(sheet.columnWidths.contains(c)) << name << " " << columnName(c);
        EXPECT_EQ(paginate(sheet).size(), 1u) << name;
    }
}

TEST(PrintSelection, PresetsAndSheetOrderBySystem) {
    struct Case {
        int kind;
        std::vector<std::string> sheets;
    };
    for (const Case& c :
         {Case{1, {"Лист4", "Лист1"}}, Case{2, {"Лист4", "Лист1"}}, Case{3, {"Лист4", "Лист1"}},
          Case{4, {"Лист4", "Лист1", "Лист2"}}, Case{6, {"Лист4", "Лист1", "Лист2", "Лист3"}},
          Case{8, {"Лист4", "Лист1", "Лист2", "Лист3"}}})
        EXPECT_EQ(selectedSheetNames(presetPrintSelection(c.kind), c.kind), c.sheets) << c.kind;
    PrintSelection descriptionsOnly = presetPrintSelection(2);
    descriptionsOnly.calculation = false;
    EXPECT_EQ(selectedSheetNames(descriptionsOnly, 2), std::vector<std::string>{"Лист1"});
}

// Another spreadsheet program opens what we write: LibreOffice, when installed, converts the
// report to a PDF of one page per sheet (each sheet one page wide) that shows the report's texts.
// What LibreOffice prints on its console (a Java warning, say) is not judged: it says nothing
// about the workbook.
TEST(ReportInOtherPrograms, LibreOfficeConvertsItToOnePagePerSheet) {
    QString office = QStandardPaths::findExecutable("soffice");
    if (office.isEmpty()) office = QStandardPaths::findExecutable("libreoffice");
    if (office.isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
    Reported r;
    kalvar::testing::calculate(
        r.session, 8,
        {{"Form1", {{"Text30", "0,2"}}}, {"Form2", {{"Text30", "0,5"}}}, {"Form3", {{"Text30", "0,35"}}}});
    const Workbook book = r.build();
    const std::string xlsx = r.dir.file("report.xlsx");
    writeXlsx(book, xlsx);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(office, {"--headless",
                           "-env:UserInstallation=file://" + QString::fromStdString(r.dir.file("profile")),
                           "--convert-to", "pdf", "--outdir", QString::fromStdString(r.dir.path().string()),
                           QString::fromStdString(xlsx)});
    ASSERT_TRUE(process.waitForFinished(180000));
    const std::string output = QString::fromUtf8(process.readAll()).toStdString();
    const std::string pdf = r.dir.file("report.pdf");
    ASSERT_TRUE(std::filesystem::exists(pdf)) << output;
    std::ifstream in(pdf, std::ios::binary);
    std::string head(5, '\0');
    in.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-") << output;
    // LibreOffice converts every sheet, in the workbook's order.
    ASSERT_EQ(kalvar::testing::pdfPageCount(pdf), 4) << output;
    const auto pages = kalvar::testing::pdfPageTexts(pdf);
    if (!pages) return; // no text extractor: the page count has to do
    // Each page holds its sheet's texts, the right-hand columns included.
    const auto holds = [&](size_t page, const std::string& expected) {
        EXPECT_TRUE((*pages)[page].contains(QString::fromStdString(expected)))
            << "page " << page + 1 << " lacks \"" << expected << "\":\n"
            << (*pages)[page].toStdString();
    };
    holds(0, "Расчет пластинчатого теплообменника");
    holds(0, "09.12.2025");
    holds(0, "вентиляция");
    holds(0, "Школа 5");
    for (size_t page = 1; page <= 3; ++page) {
        holds(page, "ТЕХНИЧЕСКОЕ ОПИСАНИЕ");
        holds(page, "мм");
        holds(page, "Примечания:");
    }
}

#include <fstream>
#include <gtest/gtest.h>

#include "SheetRenderer.h"
#include "Workbook.h"
#include "XlsxReader.h"
#include "XlsxWriter.h"
#include "test_support.h"

#include <QImage>
#include <QPainter>

#include <zip.h>

using namespace kalvar;
using kalvar::testing::ScratchDir;

TEST(RangeAddress, ParsesCellsAndRangesAndRefusesTheRest) {
    struct Case {
        const char* text;
        RangeRef expected;
    };
    for (const Case& c :
         {Case{"C5:C35", {5, 3, 35, 3}}, Case{"A1", {1, 1, 1, 1}}, Case{"h8:c10", {8, 3, 10, 8}},
          Case{"AA100", {100, 27, 100, 27}}, Case{"XFD1048576", {1048576, 16384, 1048576, 16384}}})
        EXPECT_EQ(parseRange(c.text), c.expected) << c.text;
    for (const char* bad : {"", "5", "C", "C0", "C5:", "C5:D", "C5-D6", "XFE1", "A1048577", "A1 ", "Ж5"}) {
        try {
            parseRange(bad);
            ADD_FAILURE() << bad;
        } catch (const WorkbookError& e) {
            EXPECT_EQ(e.number, badAddressError) << bad;
        }
    }
    EXPECT_EQ(rangeAddress({7, 3, 7, 8}), "C7:H7");
    EXPECT_EQ(columnName(28), "AB");
}

TEST(CurrentRegion, GrowsOverTouchingValuesIncludingDiagonalOnes) {
    Sheet sheet("s");
    sheet.setText(6, 1, "a");
    sheet.setText(7, 2, "diagonal");
    sheet.setText(9, 4, "apart");         // row 8 and column C are empty between
    sheet.range("A10:D10").setBold(true); // formats alone do not count
    EXPECT_EQ(sheet.currentRegion(parseRange("A6")), (RangeRef{6, 1, 7, 2}));
    EXPECT_EQ(sheet.currentRegion(parseRange("D9")), (RangeRef{9, 4, 9, 4}));
    EXPECT_EQ(sheet.currentRegion(parseRange("F20")), (RangeRef{20, 6, 20, 6}));
}

TEST(AutoFit, WidensToTheLongestUnmergedTextAndLeavesEmptyColumns) {
    Sheet sheet("s");
    const TextMeasure sevenPointsPerLetter = [](const std::string& t, const CellFormat&) {
        return 7.0 * QString::fromStdString(t).size();
    };
    sheet.setText(1, 1, "short");
    sheet.setText(2, 1, "a much longer label");
    sheet.setText(3, 1, "x");
    sheet.range("A3:C3").merge(); // spans columns: does not count
    sheet.range("A3").autoFitCurrentRegionColumns(sevenPointsPerLetter);
    const double width = sheet.columnWidthPoints(1);
    EXPECT_GE(width, 7.0 * 19);
    EXPECT_LT(width, 7.0 * 19 + 12);
    EXPECT_EQ(sheet.columnWidth(2), Sheet::defaultColumnWidth);
}

TEST(CellDisplay, NumberFormatsAsTheSheetShowsThem) {
    struct Case {
        double value;
        const char* format;
        const char* shown;
    };
    for (const Case& c : {Case{1234.5, "0", "1235"}, Case{2.25, "0.0", "2,3"}, Case{-2.25, "0.0", "-2,3"},
                          Case{0.1 + 0.2, "General", "0,3"}, Case{12, "General", "12"},
                          Case{46000, "dd.mm.yyyy", "09.12.2025"}, Case{1.0e20, "General", "1E+20"},
                          // General keeps small numbers in fixed notation while they fit a column.
                          Case{0.00003, "General", "0,00003"}, Case{-0.00025, "General", "-0,00025"},
                          Case{0.0000123, "General", "0,0000123"}, Case{1.5e-12, "General", "1,5E-12"},
                          Case{12345678901, "General", "12345678901"}}) {
        Cell cell;
        cell.value = c.value;
        cell.format.numberFormat = c.format;
        EXPECT_EQ(displayText(cell, ","), c.shown) << c.value << " " << c.format;
    }
}

TEST(Merge, KeepsTheTopLeftValueAndReplacesOverlappingAreas) {
    Sheet sheet("s");
    sheet.setText(1, 1, "kept");
    sheet.setText(1, 2, "dropped");
    sheet.range("A1:B1").merge();
    EXPECT_EQ(sheet.text(1, 1), "kept");
    EXPECT_EQ(sheet.text(1, 2), "");
    sheet.range("A1:C2").merge();
    ASSERT_EQ(sheet.merges.size(), 1u);
    EXPECT_EQ(sheet.merges[0], parseRange("A1:C2"));
}

TEST(Pictures, AMissingOrForeignFileIsAnErrorWithItsNumber) {
    ScratchDir dir;
    Sheet sheet("s");
    try {
        sheet.addPicture(dir.file("none.jpg"), 0, 0, 10, 10);
        ADD_FAILURE();
    } catch (const WorkbookError& e) {
        EXPECT_EQ(e.number, fileNotFoundError);
    }
    std::ofstream(dir.file("text.jpg")) << "not a picture";
    EXPECT_THROW(sheet.addPicture(dir.file("text.jpg"), 0, 0, 10, 10), WorkbookError);
    EXPECT_TRUE(sheet.pictures.empty());
}

// Everything the writer can express survives a write and a read by our own reader.
TEST(XlsxRoundTrip, CellsFormatsMergesLayoutAndPicturesComeBack) {
    ScratchDir dir;
    kalvar::testing::writePassDrawings(dir.path());
    Workbook book = Workbook::reportWorkbook();
    Sheet& s = book.sheet("Лист4");
    s.leftMargin = 60;
    s.rightMargin = 20;
    s.setAllFontName("Arial CYR");
    s.setAllFontSize(11);
    s.setText(1, 1, "Заголовок «кавычки» & <теги>");
    s.setNumber(2, 3, 12.5);
    s.setText(3, 3, "строка 1\r\nстрока 2");
    s.setNumber(4, 4, 1234.567);
    s.range("D4").setNumberFormat("0.00").setBold(true).setFontSize(10);
    s.range("A1:G1").merge();
    s.range("C3:H3").merge().setWrap(true).setVAlign(VAlign::Centre).setHAlign(HAlign::Centre);
    s.range("C8:C12").setLeftBorder(thinBorder);
    s.range("A5:H5").setBottomBorder(thickBorder);
    s.range("A3").setRowHeight(60);
    s.columnWidths[1] = 23.5;
    s.addPicture((dir.path() / "picture" / "KM 2x.jpg").string(), 10, 150, 280, 420);
    book.sheet("Лист2").setText(1, 1, "второй");

    const std::string path = dir.file("book.xlsx");
    writeXlsx(book, path);
    const Workbook back = readXlsx(path);

    ASSERT_EQ(back.sheets.size(), 4u);
    EXPECT_EQ(back.sheets[0].name, "Лист4");
    EXPECT_EQ(back.sheets[1].name, "Лист1");
    EXPECT_EQ(back.sheets[3].name, "Лист3");
    EXPECT_EQ(back.activeSheet, 1);
    EXPECT_EQ(back.sheet("Лист2").text(1, 1), "второй");
    const Sheet& r = back.sheet(1);
    EXPECT_DOUBLE_EQ(r.leftMargin, 60);
    EXPECT_DOUBLE_EQ(r.rightMargin, 20);
    for (const auto& [at, cell] : s.cells) {
        const Cell* got = r.findCell(at.row, at.column);
        ASSERT_NE(got, nullptr) << cellAddress(at.row, at.column);
        EXPECT_EQ(got->value, cell.value) << cellAddress(at.row, at.column);
        EXPECT_EQ(got->format, cell.format) << cellAddress(at.row, at.column);
    }
    EXPECT_EQ(r.merges, s.merges);
    EXPECT_EQ(r.rowHeights, s.rowHeights);
    EXPECT_DOUBLE_EQ(r.columnWidthPoints(1), s.columnWidthPoints(1));
    EXPECT_DOUBLE_EQ(r.columnWidthPoints(2), s.columnWidthPoints(2));
    ASSERT_EQ(r.pictures.size(), 1u);
    EXPECT_EQ(r.pictures[0].data, s.pictures[0].data);
    EXPECT_NEAR(r.pictures[0].left, 10, 0.5); // placed on whole pixels
    EXPECT_NEAR(r.pictures[0].top, 150, 0.5);
    EXPECT_NEAR(r.pictures[0].width, 280, 0.1);
    EXPECT_NEAR(r.pictures[0].height, 420, 0.1);
}

TEST(XlsxWrite, AnUnwritablePlaceIsAnErrorAndLeavesNoFile) {
    ScratchDir dir;
    Workbook book = Workbook::reportWorkbook();
    EXPECT_THROW(writeXlsx(book, dir.file("no/such/folder/book.xlsx")), WorkbookError);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "no"));
}

namespace {

// An .xlsx package with the given parts, written with the zip library directly.
void writePackage(const std::string& path, const std::vector<std::pair<std::string, std::string>>& parts) {
    int code = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(zip, nullptr);
    for (const auto& [name, text] : parts) {
        zip_source_t* source = zip_source_buffer(zip, text.data(), text.size(), 0);
        ASSERT_GE(zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

const std::string workbookXml =
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="Лист1" sheetId="1" r:id="rId1"/></sheets></workbook>)";
const std::string workbookRels =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/></Relationships>)";

} // namespace

// A workbook or PDF that cannot be written whole is an error naming the file; what stood there
// before stays, and no part-written file is left.
TEST(FileWrite, AnIncompleteWriteIsAnErrorAndLeavesTheOldFile) {
    ScratchDir dir;
    kalvar::testing::writePassDrawings(dir.path());
    Workbook book = Workbook::reportWorkbook();
    for (int r = 1; r <= 200; ++r)
        book.sheet(1).setText(r, 1, "строка отчета " + std::to_string(r));
    book.sheet(1).addPicture((dir.path() / "picture" / "KM 2x.jpg").string(), 10, 150, 280, 420);
    using Write = std::function<void(const std::string&)>;
    const std::vector<std::pair<std::string, Write>> writers = {
        {"book.xlsx", [&](const std::string& path) { writeXlsx(book, path); }},
        {"book.pdf", [&](const std::string& path) { writePdf(book, path); }}};
    for (const auto& [name, write] : writers) {
        const std::string path = dir.file(name);
        std::ofstream(path) << "old";
        try {
            const kalvar::testing::FileSizeLimit limit(2048);
            write(path);
            ADD_FAILURE() << name;
        } catch (const WorkbookError& e) {
            EXPECT_EQ(e.number, writeFailedError);
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
        std::ifstream in(path);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old") << name;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            if (entry.is_regular_file()) { // nothing half-written beside the files
                EXPECT_TRUE(entry.path().filename() == "book.xlsx" || entry.path().filename() == "book.pdf")
                    << entry.path();
            }

        // A device that takes no bytes: told, and the device itself left alone.
        if (std::filesystem::is_character_file("/dev/full")) {
            EXPECT_THROW(write("/dev/full"), WorkbookError) << name;
            EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
        }
        write(path); // and without the limit it is written
        EXPECT_GT(std::filesystem::file_size(path), 1000u);
    }
}

namespace {

// One part of a package, as stored.
std::string packagePart(const std::string& path, const std::string& name) {
    int code = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!zip) return {};
    std::string text;
    if (zip_file_t* file = zip_fopen(zip, name.c_str(), 0)) {
        char buffer[4096];
        for (zip_int64_t n; (n = zip_fread(file, buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<size_t>(n));
        zip_fclose(file);
    }
    zip_close(zip);
    return text;
}

} // namespace

// Texts that hold the format's own character escapes literally are stored so that they read
// back unchanged, in this program and in an office suite.
TEST(XlsxWrite, LiteralCharacterEscapesInTextsStayAsTyped) {
    ScratchDir dir;
    Workbook book = Workbook::reportWorkbook();
    const std::vector<std::string> texts = {"Школа_x000D_5", "_x005F_x0041_", "a_x00e9_b", "_x12_ _x000G_",
                                            "_x000D_"};
    for (size_t i = 0; i < texts.size(); ++i)
        book.sheet(1).setText(static_cast<int>(i) + 1, 1, texts[i]);
    const std::string path = dir.file("escapes.xlsx");
    writeXlsx(book, path);
    const std::string shared = packagePart(path, "xl/sharedStrings.xml");
    EXPECT_NE(shared.find("Школа_x005F_x000D_5"), std::string::npos) << shared;
    EXPECT_NE(shared.find("_x005F_x005F_x005F_x0041_"), std::string::npos) << shared;
    EXPECT_NE(shared.find("_x12_ _x000G_"), std::string::npos) << shared; // no escape: stays as it is
    const Workbook back = readXlsx(path);
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(back.sheet(1).text(static_cast<int>(i) + 1, 1), texts[i]);
}

// Numbers a damaged or hostile file puts where indices and sizes belong are refused or kept in
// range; nothing overflows and nothing crashes.
TEST(XlsxRead, DamagedPartsAreRefusedOrReadSafely) {
    ScratchDir dir;
    const std::string path = dir.file("odd.xlsx");
    writePackage(
        path,
        {{"xl/workbook.xml", workbookXml},
         {"xl/_rels/workbook.xml.rels", workbookRels},
         {"xl/worksheets/sheet1.xml",
          R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><cols><col min="-3" max="1e300" width="nan"/></cols>)"
          R"(<sheetData><row r="-7" ht="1e999" customHeight="1"><c s="-5" t="s"><v>99999999999</v></c><c r="B2" s="1e30"><v>12.5</v></c>)"
          R"(<c r="C3" t="inlineStr"><is><t>a_x000D_b_x005F_c</t></is></c></row><row r="4000000000"><c><v>1</v></c></row></sheetData>)"
          R"(<mergeCells><mergeCell ref="A1:B2"/></mergeCells></worksheet>)"}});
    const Workbook book = readXlsx(path);
    const Sheet& sheet = book.sheet(1);
    EXPECT_EQ(sheet.text(2, 2), "12.5");
    EXPECT_EQ(sheet.text(3, 3), "a\rb_c");
    EXPECT_EQ(sheet.text(1048576, 1), "1");

    for (const auto& [name, text] : std::vector<std::pair<std::string, std::string>>{
             {"bad-address.xlsx",
              R"(<worksheet><sheetData><row><c r="ZZZZ1"><v>1</v></c></row></sheetData></worksheet>)"},
             {"bad-merge.xlsx", R"(<worksheet><mergeCells><mergeCell ref="A1:"/></mergeCells></worksheet>)"},
             {"bad-xml.xlsx", R"(<worksheet><sheetData><row>)"}}) {
        writePackage(dir.file(name), {{"xl/workbook.xml", workbookXml},
                                      {"xl/_rels/workbook.xml.rels", workbookRels},
                                      {"xl/worksheets/sheet1.xml", text}});
        try {
            readXlsx(dir.file(name));
            ADD_FAILURE() << name;
        } catch (const WorkbookError& e) {
            EXPECT_EQ(e.number, fileFormatError) << name;
        }
    }
    writePackage(dir.file("no-workbook.xlsx"), {{"hello.txt", "hi"}});
    EXPECT_THROW(readXlsx(dir.file("no-workbook.xlsx")), WorkbookError);
}

// A sheet larger than a page breaks on whole rows and columns, pages ordered down, then across;
// pictures count towards the printed area.
TEST(Pagination, BreaksOnWholeRowsAndColumnsDownThenAcross) {
    Sheet sheet("s");
    sheet.leftMargin = sheet.rightMargin = 36;
    sheet.topMargin = sheet.bottomMargin = 36;
    for (int c = 1; c <= 12; ++c)
        sheet.columnWidths[c] = 20; // 145 px = 108.75 pt: four columns fill 435 of the 523 pt
    sheet.setText(120, 12, "last");
    // 769.89 pt of rows per page: 51 rows of 15 pt.
    const std::vector<SheetPage> pages = paginate(sheet);
    ASSERT_EQ(pages.size(), 9u);
    const SheetPage expected[] = {{1, 51, 1, 4},  {52, 102, 1, 4},  {103, 120, 1, 4},
                                  {1, 51, 5, 8},  {52, 102, 5, 8},  {103, 120, 5, 8},
                                  {1, 51, 9, 12}, {52, 102, 9, 12}, {103, 120, 9, 12}};
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].firstRow, expected[i].firstRow) << i;
        EXPECT_EQ(pages[i].lastRow, expected[i].lastRow) << i;
        EXPECT_EQ(pages[i].firstColumn, expected[i].firstColumn) << i;
        EXPECT_EQ(pages[i].lastColumn, expected[i].lastColumn) << i;
    }

    Sheet picture("p");
    picture.setText(1, 1, "x");
    picture.pictures.push_back(Picture{"drawing", {}, 10, 150, 280, 420});
    const auto one = paginate(picture);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].lastRow, 38);   // 570 pt down: the 38th row of 15 pt
    EXPECT_EQ(one[0].lastColumn, 7); // 290 pt across: just past six columns of 48 pt
}

namespace {

// The first page of a sheet at 72 dpi: one pixel a point.
QImage renderFirstPage(const Sheet& sheet) {
    QImage image(static_cast<int>(pageWidthPoints), static_cast<int>(pageHeightPoints), QImage::Format_RGB32);
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, sheet, paginate(sheet).front(), ",");
    return image;
}

// Columns of the image with ink between the rows given, from left to right.
std::vector<int> inkedColumns(const QImage& image, int top, int bottom) {
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x)
        for (int y = top; y < bottom; ++y)
            if (qGray(image.pixel(x, y)) < 200) {
                columns.push_back(x);
                break;
            }
    return columns;
}

} // namespace

// Text that does not fit its cell runs on only over empty neighbours and never across a border;
// where it cannot run on it is shown smaller, not cut.
TEST(Rendering, TextStopsAtBordersAndShrinksWhereItCannotRunOn) {
    Sheet sheet("s");
    sheet.leftMargin = sheet.topMargin = 36;
    const std::string wide(30, '_'); // a line of ink, so that a cut shows at the cell's edge
    sheet.setText(2, 2, wide);
    sheet.range("B2").setHAlign(HAlign::Centre).setRightBorder(thinBorder);
    sheet.setText(4, 1, "a");
    sheet.setText(4, 2, wide);
    sheet.setText(4, 3, "c");
    sheet.range("B4").setHAlign(HAlign::Centre);
    const QImage page = renderFirstPage(sheet);
    const double left = 36 + sheet.columnWidthPoints(1), right = left + sheet.columnWidthPoints(2);
    const auto rowBand = [&](int row) {
        const int top = static_cast<int>(36 + (row - 1) * Sheet::defaultRowHeight);
        return inkedColumns(page, top + 1, top + static_cast<int>(Sheet::defaultRowHeight) + 1);
    };

    const std::vector<int> bordered = rowBand(2);
    ASSERT_FALSE(bordered.empty());
    EXPECT_LE(bordered.back(), right + 2) << "text crosses the border";
    EXPECT_NEAR(bordered.back(), right, 2) << "the border is drawn";
    EXPECT_LT(bordered.front(), left - 10) << "text runs on over the empty cell on the left";

    const std::vector<int> boxed = rowBand(4);
    std::vector<int> inCell;
    for (int x : boxed)
        if (x > left - 1 && x < right + 1) inCell.push_back(x);
    ASSERT_FALSE(inCell.empty());
    EXPECT_GT(inCell.front(), left + 0.5) << "cut at the left edge";
    EXPECT_LT(inCell.back(), right - 0.5) << "cut at the right edge";
    EXPECT_GT(inCell.back() - inCell.front(), (right - left) * 0.7) << "shown whole, only smaller";
}

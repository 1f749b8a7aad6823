// Damaged and hostile site workbooks: each is refused with a message that names the file, the
// program goes on with its built-in details, and the reading stays within 256 MB and a second.
// Every reading runs in a child process, so that its peak memory and processor time can be
// measured on their own, and so that a reader that runs away cannot take the test run with it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include "SiteWorkbooks.h"
#include "XlsReader.h"
#include "XlsxReader.h"
#include "cipher.h"
#include "test_support.h"
#include "xls_fixture.h"

using namespace kalvar;
using kalvar::testing::FixtureCells;
using kalvar::testing::ScratchDir;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif
#else
constexpr bool sanitized = false;
#endif

// What a reading in the child process showed and cost.
struct Reading {
    bool finished = false;  // the child ended normally rather than crashing or being killed
    std::string message;    // the text of the "Открыть" box, empty when none was shown
    bool defaults = false;  // the owner details are the built-in ones
    long peakKilobytes = 0; // peak resident memory above what the child started with
    double processorSeconds = 0;
};

long residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Runs the reading in a child: the owner-details reader of the start-up by default, or the whole
// workbook through its format's reader.
Reading measure(const std::string& path, bool whole) {
    int out[2];
    if (pipe(out) != 0) return {};
    std::fflush(nullptr); // or the child would write the test log's buffered lines again
    const pid_t child = fork();
    if (child == 0) {
        close(out[0]);
        alarm(60); // a reader that hangs is killed; the parent sees it
        if (!sanitized) {
            // A runaway reader fails in the child rather than swamping the machine.
            rlimit limit{};
            std::ifstream statm("/proc/self/statm");
            long pages = 0;
            statm >> pages;
            limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (2L << 30);
            setrlimit(RLIMIT_AS, &limit);
        }
        const long before = residentKilobytes();
        std::string message;
        bool defaults = false;
        try {
            if (whole) {
                try {
                    if (path.ends_with(".xlsx"))
                        (void)readXlsx(path);
                    else
                        (void)readXls(path);
                } catch (const WorkbookError& e) {
                    message = openFailureText(e.number, e.what());
                }
            } else {
                const OwnerDetails owner =
                    readOwnerWorkbook(path, [&](const std::string& title, const std::string& text) {
                        message = title == openMessageTitle ? text : "не тот заголовок: " + title;
                    });
                const OwnerDetails builtIn;
                defaults = owner.ownerName == builtIn.ownerName && owner.ownerEmail == builtIn.ownerEmail &&
                           owner.seriesPrefix == builtIn.seriesPrefix;
            }
        } catch (...) {
            _exit(1); // anything else escaping the reader is a failure; the child must not go on testing
        }
        const std::string report = std::to_string(before) + "\n" + (defaults ? "1" : "0") + "\n" + message;
        if (write(out[1], report.data(), report.size())) {
        }
        _exit(0);
    }
    close(out[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    Reading reading;
    reading.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const size_t first = report.find('\n'), second = report.find('\n', first + 1);
    if (!reading.finished || second == std::string::npos) return reading;
    reading.peakKilobytes = usage.ru_maxrss - std::stol(report.substr(0, first));
    reading.defaults = report.substr(first + 1, 1) == "1";
    reading.message = report.substr(second + 1);
    reading.processorSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return reading;
}

// ---- Hostile .xlsx files -----------------------------------------------------------------------

const char* const contentTypes =
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>)";
const char* const workbookXml =
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="Лист1" sheetId="1" r:id="rId1"/></sheets></workbook>)";
const char* const workbookRels =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Target="sharedStrings.xml"/></Relationships>)";
const std::string sheetStart =
    R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheetData>)";

// A part given either as text or as a number of zero bytes (made while packing, never held).
struct Part {
    std::string name;
    std::string text;
    zip_uint64_t zeros = 0;
};

zip_int64_t zeroSource(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto* left = static_cast<zip_uint64_t*>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_READ: {
        const zip_uint64_t n = std::min(length, left[0]);
        std::memset(data, 0, n);
        left[0] -= n;
        return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_STAT: {
        auto* st = static_cast<zip_stat_t*>(data);
        zip_stat_init(st);
        st->size = left[1];
        st->valid |= ZIP_STAT_SIZE;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return 2 * sizeof(int);
    case ZIP_SOURCE_FREE:
        delete[] left;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        return -1;
    }
}

void writeXlsxParts(const std::string& path, const std::vector<Part>& parts) {
    int code = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(zip, nullptr);
    for (const Part& part : parts) {
        zip_source_t* source =
            part.zeros ? zip_source_function(zip, zeroSource, new zip_uint64_t[2]{part.zeros, part.zeros})
                       : zip_source_buffer(zip, part.text.data(), part.text.size(), 0);
        const zip_int64_t index = zip_file_add(zip, part.name.c_str(), source, ZIP_FL_OVERWRITE);
        ASSERT_GE(index, 0);
        zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

// An owner workbook whose first sheet's rows and shared strings are as given.
void writeOwnerXlsx(const std::string& path, const std::string& sheetData, const std::string& strings = "",
                    const std::string& sheetEnd = "</sheetData></worksheet>") {
    writeXlsxParts(path, {{"[Content_Types].xml", contentTypes},
                          {"xl/workbook.xml", workbookXml},
                          {"xl/_rels/workbook.xml.rels", workbookRels},
                          {"xl/sharedStrings.xml", "<sst>" + strings + "</sst>"},
                          {"xl/worksheets/sheet1.xml", sheetStart + sheetData + sheetEnd}});
}

std::string repeated(const std::string& piece, size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

// A real owner workbook as a site keeps it.
void writeOwnerWorkbook(const std::string& path) {
    FixtureCells cells;
    for (int i = 0; i < 6; ++i)
        cells[{2 + i, 2}] = encipher("значение " + std::to_string(i));
    kalvar::testing::writeFixture(path, cells);
}

void truncateToHalf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), std::streamsize(bytes.size() / 2));
}

// ---- Hostile .xls files ------------------------------------------------------------------------

// A real legacy workbook with some bytes of its workbook stream changed where a record of the
// type is: the first `count` such records get `patch` applied to their bodies.
void writePatchedXls(const std::string& path, int sheets, uint16_t recordType,
                     const std::function<void(uint8_t* body)>& patch, int count = 1000) {
    std::vector<kalvar::testing::XlsSheet> book(static_cast<size_t>(sheets));
    for (int s = 0; s < sheets; ++s) {
        book[static_cast<size_t>(s)].name = "Лист" + std::to_string(s + 1);
        for (int i = 0; i < 6; ++i)
            book[static_cast<size_t>(s)].cells[{2 + i, 2}] = encipher("значение");
    }
    ASSERT_TRUE(kalvar::testing::writeXlsFixture(path, book));
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The fixture keeps the stream's records whole and in order from its third sector on.
    int patched = 0;
    for (size_t at = 1536; at + 4 <= bytes.size() && patched < count;) {
        const uint16_t type = static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
        const uint16_t length = static_cast<uint16_t>(bytes[at + 2] | bytes[at + 3] << 8);
        if (type == 0 && length == 0) break;
        if (type == recordType) {
            patch(&bytes[at + 4]);
            ++patched;
        }
        at += 4 + length;
    }
    ASSERT_GT(patched, 0);
    file.seekp(0);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void put32(uint8_t* at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(v >> (8 * i));
}
void put16(uint8_t* at, uint16_t v) {
    at[0] = static_cast<uint8_t>(v);
    at[1] = static_cast<uint8_t>(v >> 8);
}

// ---- The cases ---------------------------------------------------------------------------------

struct HostileCase {
    const char* name;
    const char* extension;
    std::function<void(const std::string& path)> write;
    const char* problem; // a piece of the message that says what is wrong; none: it reads
    bool whole = false;  // read the whole workbook rather than the owner details of the start-up
};

std::vector<HostileCase> hostileCases() {
    return {
        {"ZipBomb", ".xlsx",
         [](const std::string& p) {
             writeXlsxParts(p, {{"xl/workbook.xml", workbookXml},
                                {"xl/_rels/workbook.xml.rels", workbookRels},
                                {"xl/worksheets/sheet1.xml", "", 255u << 20}});
         },
         "распаковывается в 255 МБ"},
        {"PartsTogetherPastTheBudget", ".xlsx",
         [](const std::string& p) {
             // Each part below the limit of one, every sheet the same one read again.
             std::string sheets;
             for (int i = 0; i < 100; ++i)
                 sheets += R"(<sheet name="s)" + std::to_string(i) + R"(" r:id="rId1"/>)";
             writeXlsxParts(
                 p,
                 {{"xl/workbook.xml",
                   R"(<workbook xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>)" +
                       sheets + "</sheets></workbook>"},
                  {"xl/_rels/workbook.xml.rels", workbookRels},
                  {"xl/worksheets/sheet1.xml",
                   sheetStart + repeated("<row/>", 1u << 20) + "</sheetData></worksheet>"}});
         },
         "распаковываются больше чем в"},
        {"TwoMillionNestedElements", ".xlsx",
         [](const std::string& p) {
             writeOwnerXlsx(p, R"(<row r="2"><c r="B2" t="inlineStr"><is>)" + repeated("<a>", 2000000));
         },
         "вложенность элементов глубже 64"},
        {"MillionsOfSharedStrings", ".xlsx",
         [](const std::string& p) { writeOwnerXlsx(p, "", repeated("<si/>", 1500000)); },
         "больше 500000 строк"},
        {"SharedStringsPartTooLarge", ".xlsx",
         [](const std::string& p) { writeOwnerXlsx(p, "", repeated("<si><t>строка</t></si>", 3000000)); },
         "распаковывается в"},
        {"OneLongStringInEveryCell", ".xlsx",
         [](const std::string& p) {
             std::string rows;
             for (int r = 1; r <= 2000; ++r)
                 rows += "<row r=\"" + std::to_string(r) + "\">" + repeated(R"(<c t="s"><v>0</v></c>)", 50) +
                         "</row>";
             writeOwnerXlsx(p, rows, "<si><t>" + std::string(4u << 20, 'x') + "</t></si>");
         },
         "текст ячеек больше"},
        {"MillionsOfCells", ".xlsx",
         [](const std::string& p) {
             std::string rows;
             for (int r = 1; r <= 1000; ++r)
                 rows += "<row r=\"" + std::to_string(r) + "\">" + repeated("<c/>", 1000) + "</row>";
             writeOwnerXlsx(p, rows);
         },
         "больше 200000 ячеек"},
        {"CellBeyondTheLastColumn", ".xlsx",
         [](const std::string& p) { writeOwnerXlsx(p, R"(<row r="2"><c r="XFE2"><v>1</v></c></row>)"); },
         "неверный адрес ячейки \"XFE2\""},
        {"CellBeyondTheLastRow", ".xlsx",
         [](const std::string& p) { writeOwnerXlsx(p, R"(<row><c r="B1048577"><v>1</v></c></row>)"); },
         "неверный адрес ячейки \"B1048577\""},
        {"MergeBeyondTheSheet", ".xlsx",
         [](const std::string& p) {
             writeOwnerXlsx(
                 p, "", "",
                 R"(</sheetData><mergeCells><mergeCell ref="A1:XFD99999999"/></mergeCells></worksheet>)");
         },
         "неверная область объединения"},
        {"PicturesAnchoredAtTheFarCorner", ".xlsx",
         [](const std::string& p) {
             // Each picture's place was the sum of every row and column above and left of it.
             std::string anchors;
             for (int i = 0; i < 1000; ++i)
                 anchors +=
                     R"(<xdr:twoCellAnchor><xdr:from><xdr:col>16383</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>1048575</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:from><xdr:pic><xdr:blipFill><a:blip r:embed="rId1"/></xdr:blipFill></xdr:pic></xdr:twoCellAnchor>)";
             writeXlsxParts(
                 p,
                 {{"xl/workbook.xml", workbookXml},
                  {"xl/_rels/workbook.xml.rels", workbookRels},
                  {"xl/worksheets/sheet1.xml",
                   sheetStart + R"(</sheetData><drawing r:id="rId1"/></worksheet>)"},
                  {"xl/worksheets/_rels/sheet1.xml.rels",
                   R"(<Relationships><Relationship Id="rId1" Target="../drawings/drawing1.xml"/></Relationships>)"},
                  {"xl/drawings/drawing1.xml",
                   R"(<xdr:wsDr xmlns:xdr="http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing" xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)" +
                       anchors + "</xdr:wsDr>"},
                  {"xl/drawings/_rels/drawing1.xml.rels",
                   R"(<Relationships><Relationship Id="rId1" Target="../media/image1.png"/></Relationships>)"},
                  {"xl/media/image1.png", "\x89PNG not really a picture"}});
         },
         nullptr, true},
        {"EntityExpansion", ".xlsx",
         [](const std::string& p) {
             writeXlsxParts(p,
                            {{"xl/workbook.xml", workbookXml},
                             {"xl/_rels/workbook.xml.rels", workbookRels},
                             {"xl/worksheets/sheet1.xml",
                              R"(<!DOCTYPE worksheet [<!ENTITY e ")" + std::string(4000, 'x') +
                                  R"(">]><worksheet><sheetData><row><c r="B2" t="inlineStr"><is><t>)" +
                                  repeated("&e;", 1000000) + "</t></is></c></row></sheetData></worksheet>"}});
         },
         "объявления DTD не допускаются"},
        {"ThousandsOfAttributes", ".xlsx",
         [](const std::string& p) {
             std::string attributes;
             for (int i = 0; i < 100000; ++i)
                 attributes += " a" + std::to_string(i) + "=\"\"";
             writeOwnerXlsx(p, "<row" + attributes + "/>");
         },
         "атрибутов"},
        {"TruncatedXlsx", ".xlsx",
         [](const std::string& p) {
             writeOwnerWorkbook(p);
             truncateToHalf(p);
         },
         "не является книгой формата .xlsx или поврежден"},
        {"SheetAreasOfSixteenMillionCells", ".xls",
         [](const std::string& p) {
             // Three sheets of a few cells each, declared as 65536 rows by 256 columns: FreeXL set
             // aside 16 bytes for each cell of each before reading any.
             writePatchedXls(p, 3, 0x0200, [](uint8_t* body) {
                 put32(body + 4, 65536);
                 put16(body + 10, 256);
             });
         },
         "листы объявляют больше"},
        {"SheetAreaBeyondTheFormat", ".xls",
         [](const std::string& p) {
             writePatchedXls(p, 1, 0x0200, [](uint8_t* body) { put32(body + 4, 0xFFFFFFF0u); });
         },
         "размеры листа за пределами"},
        {"TwoBillionSharedStrings", ".xls",
         [](const std::string& p) {
             writePatchedXls(p, 1, 0x00FC, [](uint8_t* body) {
                 put32(body, 0x7FFFFFFF);
                 put32(body + 4, 0x7FFFFFFF);
             });
         },
         "строк"},
        {"TwoSharedStringTables", ".xls",
         [](const std::string& p) {
             // The first cell-format record becomes an empty table of strings, ahead of the
             // real one (a record's type stands just before its length and body).
             writePatchedXls(
                 p, 1, 0x00E0,
                 [](uint8_t* body) {
                     body[-4] = 0xFC;
                     put32(body, 0);
                     put32(body + 4, 0);
                 },
                 1);
         },
         "больше одной таблицы строк"},
        {"DirectoryEntryWithAnOverlongName", ".xls",
         [](const std::string& p) {
             writeOwnerWorkbook(p);
             // The third directory entry (an unused one) claims a name of 65535 bytes; FreeXL
             // converted it into a buffer of its own stack.
             std::fstream file(p, std::ios::binary | std::ios::in | std::ios::out);
             file.seekp(1024 + 2 * 128 + 0x40);
             file.write("\xFF\xFF\xFF", 3);
         },
         "неверная запись каталога"},
        {"TruncatedXls", ".xls",
         [](const std::string& p) {
             writeOwnerWorkbook(p);
             truncateToHalf(p);
         },
         "файл обрезан"},
    };
}

void PrintTo(const HostileCase& c, std::ostream* out) {
    *out << c.name;
}

class HostileWorkbook : public ::testing::TestWithParam<HostileCase> {};

} // namespace

TEST_P(HostileWorkbook, IsRefusedNamingTheFileWithinMemoryAndTime) {
    const HostileCase& c = GetParam();
    ScratchDir dir;
    const std::string path = dir.file(std::string(ownerWorkbookName) + c.extension);
    c.write(path);
    if (::testing::Test::HasFatalFailure()) return;

    const Reading reading = measure(path, c.whole);
    ASSERT_TRUE(reading.finished) << "the reading crashed, ran out of memory or hung";
    if (c.problem) {
        EXPECT_TRUE(reading.message.starts_with("Произошла ошибка  ")) << reading.message;
        EXPECT_NE(reading.message.find(path), std::string::npos) << reading.message;
        EXPECT_NE(reading.message.find(c.problem), std::string::npos) << reading.message;
    } else {
        EXPECT_EQ(reading.message, "");
    }
    if (!c.whole) {
        EXPECT_TRUE(reading.defaults) << "the built-in owner details stay";
    }
    // The sanitizers' own bookkeeping takes memory and time of its own.
    if (!sanitized) {
        EXPECT_LE(reading.peakKilobytes, 256 * 1024);
    }
    EXPECT_LE(reading.processorSeconds, sanitized ? 10.0 : 1.0);
}

INSTANTIATE_TEST_SUITE_P(SiteWorkbooks, HostileWorkbook, ::testing::ValuesIn(hostileCases()),
                         [](const ::testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

// The limits leave real workbooks alone: the site workbooks as a site keeps them read whole.
TEST(HostileWorkbookLimits, RealOwnerWorkbooksStillRead) {
    for (const char* extension : {".xls", ".xlsx"}) {
        ScratchDir dir;
        const std::string path = dir.file(std::string(ownerWorkbookName) + extension);
        writeOwnerWorkbook(path);
        bool ok = false;
        std::string shown;
        const OwnerDetails owner = readOwnerWorkbook(
            path, [&](const std::string&, const std::string& text) { shown = text; }, &ok);
        EXPECT_TRUE(ok) << extension << ": " << shown;
        EXPECT_EQ(owner.ownerName, "значение 0") << extension;
    }
}

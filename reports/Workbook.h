#pragma once
// An in-memory workbook with the operations the reports need: sheets by index and name, cells by
// row and column, ranges by address text, merges, wrapping, row heights, alignments, number
// formats, fonts, borders, column auto-fit, page margins and embedded pictures. The report is
// laid out here once and then written as an .xlsx file or painted for printing and PDF.
// Rows and columns count from 1, as the addresses do.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kalvar {

// Every failure of a workbook operation: a number and a description. 53 means that a file was
// not found.
class WorkbookError : public std::runtime_error {
  public:
    WorkbookError(int number, const std::string& description)
        : std::runtime_error(description), number(number) {}
    int number;
};

inline constexpr int fileNotFoundError = 53;
inline constexpr int badAddressError = 1004;
inline constexpr int fileFormatError = 1005;
inline constexpr int emptyCellError = 1006;
inline constexpr int writeFailedError = 1007;

enum class HAlign { General, Left, Centre, Right };
enum class VAlign { Bottom, Centre, Top };

// Border weights as the spreadsheet names them: 0 none, 2 thin, 3 medium, 4 thick.
inline constexpr int thinBorder = 2;
inline constexpr int mediumBorder = 3;
inline constexpr int thickBorder = 4;

struct CellFormat {
    std::string fontName = "Calibri";
    double fontSize = 11; // points
    bool bold = false;
    HAlign hAlign = HAlign::General;
    VAlign vAlign = VAlign::Bottom;
    bool wrap = false;
    std::string numberFormat = "General";
    int borderLeft = 0, borderRight = 0, borderTop = 0, borderBottom = 0;

    bool operator==(const CellFormat&) const = default;
};

using CellValue = std::variant<std::monostate, std::string, double>;

struct Cell {
    CellValue value;
    CellFormat format;
    bool empty() const { return std::holds_alternative<std::monostate>(value); }
};

struct CellRef {
    int row = 1, column = 1;
    bool operator==(const CellRef&) const = default;
    bool operator<(const CellRef& o) const { return row != o.row ? row < o.row : column < o.column; }
};

struct RangeRef {
    int firstRow = 1, firstColumn = 1, lastRow = 1, lastColumn = 1;
    bool operator==(const RangeRef&) const = default;
    bool contains(int row, int column) const {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
    bool single() const { return firstRow == lastRow && firstColumn == lastColumn; }
};

// "C5:C35" or "A1"; throws WorkbookError for anything else.
RangeRef parseRange(std::string_view address);
// "A".."XFD" for 1..16384.
std::string columnName(int column);
std::string cellAddress(int row, int column);
std::string rangeAddress(const RangeRef& range);

// An embedded picture: the file's bytes, kept with the document, placed in points from the
// sheet's top-left corner.
struct Picture {
    std::string name; // file name it came from
    std::vector<uint8_t> data;
    double left = 0, top = 0, width = 0, height = 0; // points
};

// Pixel size and resolution of a JPEG or PNG picture; nullopt for anything else.
struct ImageInfo {
    int width = 0, height = 0;
    double dpiX = 96, dpiY = 96;
    bool png = false;
};
std::optional<ImageInfo> imageInfo(const std::vector<uint8_t>& data);

// The width of a text in a cell's font, in points; the auto-fit asks it.
using TextMeasure = std::function<double(const std::string& text, const CellFormat& format)>;

class Sheet;

// A rectangle of cells by address, as the spreadsheet's Range object offers it.
class Range {
  public:
    Range(Sheet& sheet, RangeRef ref) : sheet_(sheet), ref_(ref) {}
    const RangeRef& ref() const { return ref_; }

    Range& merge();
    Range& setWrap(bool wrap);
    Range& setHAlign(HAlign align);
    Range& setVAlign(VAlign align);
    Range& setNumberFormat(const std::string& format);
    Range& setFontName(const std::string& name);
    Range& setFontSize(double points);
    Range& setBold(bool bold);
    Range& setRowHeight(double points);
    // Outer edges of the range.
    Range& setLeftBorder(int weight);
    Range& setRightBorder(int weight);
    Range& setBottomBorder(int weight);
    Range& setTopBorder(int weight);
    // CurrentRegion.EntireColumn.AutoFit.
    Range& autoFitCurrentRegionColumns(const TextMeasure& measure);
    // Widens (never narrows) each column of the range to show its widest text that is not merged
    // across columns.
    Range& widenColumnsToFit(const TextMeasure& measure);

  private:
    template <typename F> Range& forEach(F f);
    Sheet& sheet_;
    RangeRef ref_;
};

class Sheet {
  public:
    explicit Sheet(std::string name) : name(std::move(name)) {}

    std::string name;
    double leftMargin = 0.7 * 72, rightMargin = 0.7 * 72; // points
    double topMargin = 0.75 * 72, bottomMargin = 0.75 * 72;
    // Page setup "fit to N pages wide" (any number tall); 0 prints at full size.
    int fitToPagesWide = 0;
    CellFormat baseFormat; // the format every new cell starts with
    std::map<CellRef, Cell> cells;
    std::vector<RangeRef> merges;
    std::map<int, double> rowHeights;   // points
    std::map<int, double> columnWidths; // characters of the standard font
    std::vector<Picture> pictures;

    static constexpr double defaultRowHeight = 15;     // points
    static constexpr double defaultColumnWidth = 8.43; // characters

    Range range(std::string_view address) { return Range(*this, parseRange(address)); }
    Range range(int row, int column) { return Range(*this, RangeRef{row, column, row, column}); }
    Range range(const RangeRef& ref) { return Range(*this, ref); }

    // The cell, created with the base format when it is not there yet.
    Cell& cell(int row, int column);
    const Cell* findCell(int row, int column) const;
    void setText(int row, int column, const std::string& text);
    void setNumber(int row, int column, double value);
    void clear(int row, int column);
    // The value as text: a string as it stands, a number as the spreadsheet shows it in General
    // format; empty for an empty cell.
    std::string text(int row, int column) const;

    // Cells.Font: the base format and every existing cell.
    void setAllFontName(const std::string& name);
    void setAllFontSize(double points);

    // Shapes.AddPicture of a file, embedded; throws WorkbookError 53 when it is not there.
    void addPicture(const std::string& file, double left, double top, double width, double height);

    // The merged area that holds the cell, if any.
    const RangeRef* mergeAt(int row, int column) const;
    // The block of non-empty cells around a range, bounded by empty rows and columns.
    RangeRef currentRegion(const RangeRef& start) const;
    // Rows and columns in use (values, formats, merges), at least A1.
    RangeRef usedRange() const;

    double rowHeight(int row) const;
    double columnWidth(int column) const;
    // Column width in points: the spreadsheet's pixel rule at 96 dpi, 7 pixels per character
    // plus 5 of padding.
    double columnWidthPoints(int column) const;
};

class Workbook {
  public:
    // A new workbook as the report starts it: "Лист1".."Лист3", then "Лист4" added in front.
    static Workbook reportWorkbook();

    std::vector<Sheet> sheets;
    int activeSheet = 1; // index, from 1

    // By index from 1, or by name; throws WorkbookError when there is no such sheet.
    Sheet& sheet(int index);
    Sheet& sheet(std::string_view name);
    const Sheet& sheet(int index) const;
    const Sheet& sheet(std::string_view name) const;
    Sheet& addSheet(const std::string& name, int position = -1);
};

// General number display: up to 10 significant digits (or as many as asked), no trailing zeros,
// the decimal separator given.
std::string generalNumberText(double value, std::string_view decimalSeparator = ".",
                              int significantDigits = 10);
// A value as a cell's number format shows it ("0", "0.0", "0.00", "dd.mm.yyyy", General).
std::string displayText(const Cell& cell, std::string_view decimalSeparator = ".");

} // namespace kalvar

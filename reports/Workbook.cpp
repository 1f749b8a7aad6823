#include "Workbook.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include "number_text.h"

namespace kalvar {

namespace {

constexpr int maxRows = 1048576;
constexpr int maxColumns = 16384;

WorkbookError badAddress(std::string_view address) {
    return WorkbookError(badAddressError, "Неверный адрес диапазона \"" + std::string(address) + "\"");
}

// One cell address "C5" from the front of the text; advances pos.
CellRef parseCell(std::string_view address, size_t& pos, std::string_view whole) {
    long column = 0;
    const size_t start = pos;
    while (pos < address.size() && std::isalpha(static_cast<unsigned char>(address[pos]))) {
        column = column * 26 + (std::toupper(static_cast<unsigned char>(address[pos])) - 'A' + 1);
        if (column > maxColumns) throw badAddress(whole);
        ++pos;
    }
    if (pos == start) throw badAddress(whole);
    long row = 0;
    const size_t digits = pos;
    while (pos < address.size() && std::isdigit(static_cast<unsigned char>(address[pos]))) {
        row = row * 10 + (address[pos] - '0');
        if (row > maxRows) throw badAddress(whole);
        ++pos;
    }
    if (pos == digits || row < 1) throw badAddress(whole);
    return CellRef{static_cast<int>(row), static_cast<int>(column)};
}

} // namespace

RangeRef parseRange(std::string_view address) {
    size_t pos = 0;
    const CellRef first = parseCell(address, pos, address);
    CellRef last = first;
    if (pos < address.size()) {
        if (address[pos] != ':') throw badAddress(address);
        ++pos;
        last = parseCell(address, pos, address);
        if (pos != address.size()) throw badAddress(address);
    }
    return RangeRef{std::min(first.row, last.row), std::min(first.column, last.column),
                    std::max(first.row, last.row), std::max(first.column, last.column)};
}

std::string columnName(int column) {
    std::string name;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        name.insert(name.begin(), static_cast<char>('A' + digit));
        column = (column - 1) / 26;
    }
    return name;
}

std::string cellAddress(int row, int column) {
    return columnName(column) + std::to_string(row);
}

std::string rangeAddress(const RangeRef& range) {
    if (range.single()) return cellAddress(range.firstRow, range.firstColumn);
    return cellAddress(range.firstRow, range.firstColumn) + ":" +
           cellAddress(range.lastRow, range.lastColumn);
}

std::optional<ImageInfo> imageInfo(const std::vector<uint8_t>& d) {
    const auto be16 = [&](size_t i) { return (d[i] << 8) | d[i + 1]; };
    const auto be32 = [&](size_t i) {
        return (static_cast<uint32_t>(d[i]) << 24) | (d[i + 1] << 16) | (d[i + 2] << 8) | d[i + 3];
    };
    ImageInfo info;
    if (d.size() >= 24 && d[0] == 0x89 && d[1] == 'P' && d[2] == 'N' && d[3] == 'G') {
        info.png = true;
        info.width = static_cast<int>(be32(16));
        info.height = static_cast<int>(be32(20));
        // pHYs, when present with the metre unit, gives the resolution.
        size_t pos = 8;
        while (pos + 12 <= d.size()) {
            const uint32_t length = be32(pos);
            const std::string type(d.begin() + static_cast<long>(pos) + 4,
                                   d.begin() + static_cast<long>(pos) + 8);
            if (type == "pHYs" && pos + 17 <= d.size() && d[pos + 16] == 1) {
                info.dpiX = be32(pos + 8) * 0.0254;
                info.dpiY = be32(pos + 12) * 0.0254;
            }
            if (type == "IEND" || length > d.size()) break;
            pos += 12 + length;
        }
    } else if (d.size() >= 4 && d[0] == 0xFF && d[1] == 0xD8) {
        size_t pos = 2;
        bool haveSize = false;
        while (pos + 4 <= d.size() && d[pos] == 0xFF) {
            const int marker = d[pos + 1];
            const size_t length = static_cast<size_t>(be16(pos + 2));
            if (pos + 2 + length > d.size()) break;
            if (marker == 0xE0 && length >= 14 && d[pos + 4] == 'J' && d[pos + 5] == 'F') {
                const int units = d[pos + 11];
                const int x = be16(pos + 12), y = be16(pos + 14);
                if (units == 1 && x > 0 && y > 0) {
                    info.dpiX = x;
                    info.dpiY = y;
                } else if (units == 2 && x > 0 && y > 0) {
                    info.dpiX = x * 2.54;
                    info.dpiY = y * 2.54;
                }
            }
            if ((marker >= 0xC0 && marker <= 0xCF) && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
                info.height = be16(pos + 5);
                info.width = be16(pos + 7);
                haveSize = true;
                break;
            }
            pos += 2 + length;
        }
        if (!haveSize) return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (info.width <= 0 || info.height <= 0) return std::nullopt;
    return info;
}

// ---- Range -------------------------------------------------------------------------------------

template <typename F> Range& Range::forEach(F f) {
    for (int r = ref_.firstRow; r <= ref_.lastRow; ++r)
        for (int c = ref_.firstColumn; c <= ref_.lastColumn; ++c)
            f(sheet_.cell(r, c).format, r, c);
    return *this;
}

Range& Range::merge() {
    if (ref_.single()) return *this;
    // A new merged area takes the place of those it overlaps; only the top-left value stays.
    std::erase_if(sheet_.merges, [&](const RangeRef& m) {
        return !(m.lastRow < ref_.firstRow || m.firstRow > ref_.lastRow || m.lastColumn < ref_.firstColumn ||
                 m.firstColumn > ref_.lastColumn);
    });
    sheet_.merges.push_back(ref_);
    for (int r = ref_.firstRow; r <= ref_.lastRow; ++r)
        for (int c = ref_.firstColumn; c <= ref_.lastColumn; ++c)
            if (r != ref_.firstRow || c != ref_.firstColumn) sheet_.cell(r, c).value = std::monostate{};
    return *this;
}

Range& Range::setWrap(bool wrap) {
    return forEach([&](CellFormat& f, int, int) { f.wrap = wrap; });
}
Range& Range::setHAlign(HAlign align) {
    return forEach([&](CellFormat& f, int, int) { f.hAlign = align; });
}
Range& Range::setVAlign(VAlign align) {
    return forEach([&](CellFormat& f, int, int) { f.vAlign = align; });
}
Range& Range::setNumberFormat(const std::string& format) {
    return forEach([&](CellFormat& f, int, int) { f.numberFormat = format; });
}
Range& Range::setFontName(const std::string& name) {
    return forEach([&](CellFormat& f, int, int) { f.fontName = name; });
}
Range& Range::setFontSize(double points) {
    return forEach([&](CellFormat& f, int, int) { f.fontSize = points; });
}
Range& Range::setBold(bool bold) {
    return forEach([&](CellFormat& f, int, int) { f.bold = bold; });
}
Range& Range::setRowHeight(double points) {
    for (int r = ref_.firstRow; r <= ref_.lastRow; ++r)
        sheet_.rowHeights[r] = points;
    return *this;
}
Range& Range::setLeftBorder(int weight) {
    return forEach([&](CellFormat& f, int, int c) {
        if (c == ref_.firstColumn) f.borderLeft = weight;
    });
}
Range& Range::setRightBorder(int weight) {
    return forEach([&](CellFormat& f, int, int c) {
        if (c == ref_.lastColumn) f.borderRight = weight;
    });
}
Range& Range::setBottomBorder(int weight) {
    return forEach([&](CellFormat& f, int r, int) {
        if (r == ref_.lastRow) f.borderBottom = weight;
    });
}
Range& Range::setTopBorder(int weight) {
    return forEach([&](CellFormat& f, int r, int) {
        if (r == ref_.firstRow) f.borderTop = weight;
    });
}

namespace {

// The widest line of the column's texts that are not merged across columns, in points; -1 for a
// column without any.
double widestText(const Sheet& sheet, int column, const TextMeasure& measure) {
    double widest = -1;
    for (const auto& [at, cell] : sheet.cells) {
        if (at.column != column || cell.empty()) continue;
        const RangeRef* merged = sheet.mergeAt(at.row, at.column);
        if (merged && merged->firstColumn != merged->lastColumn) continue; // spans columns: not fitted
        const std::string shown = displayText(cell);
        size_t start = 0;
        while (start <= shown.size()) {
            size_t end = shown.find('\n', start);
            if (end == std::string::npos) end = shown.size();
            std::string line = shown.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            widest = std::max(widest, measure(line, cell.format));
            start = end + 1;
        }
    }
    return widest;
}

// A column width in characters that shows a text of that many points: points to pixels at
// 96 dpi, the cell's padding and a little air, then characters.
double fittingWidth(double textPoints) {
    const double pixels = std::ceil(textPoints / 0.75) + 9;
    return std::max(0.0, std::ceil((pixels - 5) / 7.0 * 100) / 100);
}

} // namespace

Range& Range::autoFitCurrentRegionColumns(const TextMeasure& measure) {
    const RangeRef region = sheet_.currentRegion(ref_);
    for (int c = region.firstColumn; c <= region.lastColumn; ++c) {
        const double widest = widestText(sheet_, c, measure);
        if (widest < 0) continue; // an empty column keeps its width
        sheet_.columnWidths[c] = fittingWidth(widest);
    }
    return *this;
}

Range& Range::widenColumnsToFit(const TextMeasure& measure) {
    for (int c = ref_.firstColumn; c <= ref_.lastColumn; ++c) {
        const double widest = widestText(sheet_, c, measure);
        if (widest >= 0) sheet_.columnWidths[c] = std::max(sheet_.columnWidth(c), fittingWidth(widest));
    }
    return *this;
}

// ---- Sheet -------------------------------------------------------------------------------------

Cell& Sheet::cell(int row, int column) {
    auto [it, inserted] = cells.try_emplace(CellRef{row, column});
    if (inserted) it->second.format = baseFormat;
    return it->second;
}

const Cell* Sheet::findCell(int row, int column) const {
    const auto it = cells.find(CellRef{row, column});
    return it == cells.end() ? nullptr : &it->second;
}

void Sheet::setText(int row, int column, const std::string& text) {
    Cell& c = cell(row, column);
    if (text.empty())
        c.value = std::monostate{};
    else
        c.value = text;
}

void Sheet::setNumber(int row, int column, double value) {
    cell(row, column).value = value;
}

void Sheet::clear(int row, int column) {
    cell(row, column).value = std::monostate{};
}

std::string Sheet::text(int row, int column) const {
    const Cell* c = findCell(row, column);
    if (!c) return {};
    if (const auto* s = std::get_if<std::string>(&c->value)) return *s;
    if (const auto* d = std::get_if<double>(&c->value)) return generalNumberText(*d);
    return {};
}

void Sheet::setAllFontName(const std::string& name) {
    baseFormat.fontName = name;
    for (auto& [at, c] : cells)
        c.format.fontName = name;
}

void Sheet::setAllFontSize(double points) {
    baseFormat.fontSize = points;
    for (auto& [at, c] : cells)
        c.format.fontSize = points;
}

void Sheet::addPicture(const std::string& file, double left, double top, double width, double height) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        throw WorkbookError(fileNotFoundError, "Файл не найден: " + file);
    std::ifstream in(file, std::ios::binary);
    Picture picture;
    picture.data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) throw WorkbookError(fileNotFoundError, "Файл не найден: " + file);
    if (!imageInfo(picture.data))
        throw WorkbookError(fileFormatError, "Файл не является рисунком JPEG или PNG: " + file);
    picture.name = std::filesystem::path(file).filename().string();
    picture.left = left;
    picture.top = top;
    picture.width = width;
    picture.height = height;
    pictures.push_back(std::move(picture));
}

const RangeRef* Sheet::mergeAt(int row, int column) const {
    for (const RangeRef& m : merges)
        if (m.contains(row, column)) return &m;
    return nullptr;
}

RangeRef Sheet::currentRegion(const RangeRef& start) const {
    const auto filled = [&](int r, int c) {
        if (r < 1 || c < 1) return false;
        const Cell* cell = findCell(r, c);
        return cell && !cell->empty();
    };
    RangeRef region = start;
    bool grew = true;
    while (grew) {
        grew = false;
        // Any value in the ring around the region, corners included, widens it on that side.
        for (int c = region.firstColumn - 1; c <= region.lastColumn + 1; ++c) {
            if (filled(region.firstRow - 1, c) && region.firstRow > 1) {
                --region.firstRow;
                grew = true;
                break;
            }
        }
        for (int c = region.firstColumn - 1; c <= region.lastColumn + 1; ++c) {
            if (filled(region.lastRow + 1, c)) {
                ++region.lastRow;
                grew = true;
                break;
            }
        }
        for (int r = region.firstRow - 1; r <= region.lastRow + 1; ++r) {
            if (filled(r, region.firstColumn - 1) && region.firstColumn > 1) {
                --region.firstColumn;
                grew = true;
                break;
            }
        }
        for (int r = region.firstRow - 1; r <= region.lastRow + 1; ++r) {
            if (filled(r, region.lastColumn + 1)) {
                ++region.lastColumn;
                grew = true;
                break;
            }
        }
    }
    return region;
}

RangeRef Sheet::usedRange() const {
    RangeRef used{1, 1, 1, 1};
    const auto include = [&](int r, int c) {
        used.lastRow = std::max(used.lastRow, r);
        used.lastColumn = std::max(used.lastColumn, c);
    };
    for (const auto& [at, c] : cells)
        include(at.row, at.column);
    for (const RangeRef& m : merges)
        include(m.lastRow, m.lastColumn);
    return used;
}

double Sheet::rowHeight(int row) const {
    const auto it = rowHeights.find(row);
    return it == rowHeights.end() ? defaultRowHeight : it->second;
}

double Sheet::columnWidth(int column) const {
    const auto it = columnWidths.find(column);
    return it == columnWidths.end() ? defaultColumnWidth : it->second;
}

double Sheet::columnWidthPoints(int column) const {
    const double w = columnWidth(column);
    const double pixels = w <= 0 ? 0 : std::floor(w * 7 + 5 + 0.5);
    return pixels * 0.75;
}

// ---- Workbook ----------------------------------------------------------------------------------

Workbook Workbook::reportWorkbook() {
    Workbook book;
    book.addSheet("Лист1");
    book.addSheet("Лист2");
    book.addSheet("Лист3");
    book.addSheet("Лист4", 1);
    book.activeSheet = 1;
    return book;
}

Sheet& Workbook::sheet(int index) {
    return const_cast<Sheet&>(std::as_const(*this).sheet(index));
}
Sheet& Workbook::sheet(std::string_view name) {
    return const_cast<Sheet&>(std::as_const(*this).sheet(name));
}

const Sheet& Workbook::sheet(int index) const {
    if (index < 1 || index > static_cast<int>(sheets.size()))
        throw WorkbookError(9, "Индекс вне допустимого диапазона: лист " + std::to_string(index));
    return sheets[static_cast<size_t>(index - 1)];
}

const Sheet& Workbook::sheet(std::string_view name) const {
    for (const Sheet& s : sheets)
        if (s.name == name) return s;
    throw WorkbookError(9, "Индекс вне допустимого диапазона: лист \"" + std::string(name) + "\"");
}

Sheet& Workbook::addSheet(const std::string& name, int position) {
    if (position < 1 || position > static_cast<int>(sheets.size())) return sheets.emplace_back(name);
    return *sheets.emplace(sheets.begin() + (position - 1), name);
}

// ---- Display -----------------------------------------------------------------------------------

namespace {

std::string withoutTrailingZeros(std::string text) {
    if (text.find('.') == std::string::npos) return text;
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

// Scientific notation as the spreadsheet writes it: "3E-10", "1.23457E+20".
std::string spreadsheetScientific(double value, int mantissaDecimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", mantissaDecimals, value);
    const std::string text = buffer;
    const size_t e = text.find('e');
    const int exponent = std::atoi(text.c_str() + e + 1);
    std::snprintf(buffer, sizeof buffer, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return withoutTrailingZeros(text.substr(0, e)) + buffer;
}

} // namespace

std::string generalNumberText(double value, std::string_view decimalSeparator, int significantDigits) {
    if (!std::isfinite(value)) return {};
    const int digits = std::clamp(significantDigits, 1, 17);
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    std::string text = buffer;
    if (text.find('e') != std::string::npos) {
        std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, value);
        const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
        if (exponent >= 0) {
            // Whole numbers up to 15 digits are shown in full.
            std::snprintf(buffer, sizeof buffer, "%.15g", value);
            text = std::strchr(buffer, 'e') ? spreadsheetScientific(value, std::min(digits - 1, 5)) : buffer;
        } else {
            // A small number is shown in fixed notation, as the spreadsheet's General format does,
            // while it fits the 11 characters of a standard column ("0.00003"); the default 10 digits
            // give way to that width, a caller asking for more gets them all.
            const int room = digits > 10 ? digits : std::min(digits, 11 - (1 - exponent));
            if (room >= 1) {
                std::snprintf(buffer, sizeof buffer, "%.*f", room - exponent - 1, value);
                text = withoutTrailingZeros(buffer);
            } else {
                text = spreadsheetScientific(value, std::min(digits - 1, 5));
            }
        }
    }
    if (text == "-0") text = "0";
    return replaceAll(text, ".", decimalSeparator);
}

namespace {

// Day, month and year of a spreadsheet date serial (days since 30 December 1899).
std::string dateText(double serial) {
    if (!std::isfinite(serial) || serial < 1 || serial > 2958465) return generalNumberText(serial);
    long days = static_cast<long>(std::floor(serial)) - 25569; // to days since 1 January 1970
    // Civil date from days (H. Hinnant's algorithm).
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long doe = days - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long y = yoe + era * 400;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const long d = doy - (153 * mp + 2) / 5 + 1;
    const long m = mp + (mp < 10 ? 3 : -9);
    if (m <= 2) ++y;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%02ld.%02ld.%04ld", d, m, y);
    return buffer;
}

} // namespace

std::string displayText(const Cell& cell, std::string_view decimalSeparator) {
    if (const auto* s = std::get_if<std::string>(&cell.value)) return *s;
    const auto* d = std::get_if<double>(&cell.value);
    if (!d) return {};
    const std::string& f = cell.format.numberFormat;
    if (f == "0") return formatNumber(*d, 0, decimalSeparator);
    if (f.size() >= 3 && f.rfind("0.", 0) == 0 && f.find_first_not_of('0', 2) == std::string::npos)
        return formatNumber(*d, static_cast<int>(f.size() - 2), decimalSeparator);
    if (f == "dd.mm.yyyy" || f == "dd/mm/yyyy" || f == "dd\\.mm\\.yyyy") return dateText(*d);
    return generalNumberText(*d, decimalSeparator);
}

} // namespace kalvar

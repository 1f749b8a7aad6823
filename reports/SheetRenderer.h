#pragma once
// Paints workbook sheets the way a spreadsheet prints them: A4 portrait, the sheet's margins,
// column widths and row heights, merged cells, wrapping, alignment, fonts, borders and pictures,
// split into pages down, then across. Printing and PDF both go through here.
#include <string>
#include <vector>

#include <QFont>
#include <QRectF>

#include "Workbook.h"

class QPagedPaintDevice;
class QPainter;

namespace kalvar {

// The font a cell is painted with: its own family first, then a metric-compatible sans font
// when that is not installed ("Arial CYR" is not, outside its home system).
QFont sheetFont(const CellFormat& format);

// Text widths in the sheet fonts, for the column auto-fit.
TextMeasure sheetFontMeasure();

// One printed page of a sheet: the rows and columns it shows.
struct SheetPage {
    int firstRow, lastRow, firstColumn, lastColumn;
};

// A4 portrait in points.
inline constexpr double pageWidthPoints = 595.28;
inline constexpr double pageHeightPoints = 841.89;

// The scale a sheet prints at: below 1 when it is fitted to fewer pages wide than it needs.
double printScale(const Sheet& sheet);

// The pages of a sheet: its used range (cells, merges, pictures) in column bands that fit
// between the side margins and row bands that fit between the top and bottom ones, at the
// sheet's print scale.
std::vector<SheetPage> paginate(const Sheet& sheet);

// Paints one page with the painter's unit being one point and (0, 0) the paper's corner.
void paintPage(QPainter& painter, const Sheet& sheet, const SheetPage& page,
               const std::string& decimalSeparator = ",");

// Prints the named sheets, all of them copies times over in that order, each sheet whole, on
// the device (a QPrinter or a QPdfWriter). Returns the number of pages. Throws WorkbookError for
// an unknown sheet name or a device that cannot be painted on.
int printSheets(QPagedPaintDevice& device, const Workbook& book, const std::vector<std::string>& sheetNames,
                int copies = 1, const std::string& decimalSeparator = ",");

// Writes the named sheets (all of them when none are named) as a PDF file.
void writePdf(const Workbook& book, const std::string& path, const std::vector<std::string>& sheetNames = {},
              const std::string& decimalSeparator = ",");

} // namespace kalvar

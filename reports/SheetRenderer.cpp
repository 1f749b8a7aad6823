#include "SheetRenderer.h"

#include <algorithm>
#include <cmath>

#include <QFileDevice>
#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "FileOutput.h"

namespace kalvar {

namespace {

constexpr double cellPadding = 1.5; // points, left and right of a cell's text

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Offsets of the columns and rows, in points from the sheet's corner, up to the given ones.
struct Grid {
    explicit Grid(const Sheet& sheet, int lastRow, int lastColumn) {
        left.resize(static_cast<size_t>(lastColumn) + 2);
        top.resize(static_cast<size_t>(lastRow) + 2);
        for (int c = 1; c <= lastColumn + 1; ++c)
            left[static_cast<size_t>(c)] =
                left[static_cast<size_t>(c - 1)] + (c > 1 ? sheet.columnWidthPoints(c - 1) : 0);
        for (int r = 1; r <= lastRow + 1; ++r)
            top[static_cast<size_t>(r)] =
                top[static_cast<size_t>(r - 1)] + (r > 1 ? sheet.rowHeight(r - 1) : 0);
    }
    double x(int column) const {
        return left[static_cast<size_t>(std::clamp<int>(column, 1, static_cast<int>(left.size()) - 1))];
    }
    double y(int row) const {
        return top[static_cast<size_t>(std::clamp<int>(row, 1, static_cast<int>(top.size()) - 1))];
    }
    std::vector<double> left, top;
};

// The rows and columns to print: the used range, widened to take in every picture.
RangeRef printArea(const Sheet& sheet) {
    RangeRef area = sheet.usedRange();
    for (const Picture& p : sheet.pictures) {
        double x = 0;
        int c = 1;
        while (x + sheet.columnWidthPoints(c) < p.left + p.width && c < 16384)
            x += sheet.columnWidthPoints(c++);
        double y = 0;
        int r = 1;
        while (y + sheet.rowHeight(r) < p.top + p.height && r < 1048576)
            y += sheet.rowHeight(r++);
        area.lastColumn = std::max(area.lastColumn, c);
        area.lastRow = std::max(area.lastRow, r);
    }
    return area;
}

// Consecutive bands of indices first..last whose sizes fit into the room, at least one per band.
template <typename Size> std::vector<std::pair<int, int>> bands(int first, int last, double room, Size size) {
    std::vector<std::pair<int, int>> out;
    int start = first;
    double used = 0;
    for (int i = first; i <= last; ++i) {
        const double s = size(i);
        if (i > start && used + s > room) {
            out.emplace_back(start, i - 1);
            start = i;
            used = 0;
        }
        used += s;
    }
    out.emplace_back(start, last);
    return out;
}

QString shownText(const Cell& cell, const std::string& decimalSeparator) {
    QString text = qs(displayText(cell, decimalSeparator));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

double borderWidthPoints(int weight) {
    switch (weight) {
    case 1:
        return 0.5;
    case thinBorder:
        return 0.75;
    case mediumBorder:
        return 1.5;
    default:
        return 2.25;
    }
}

} // namespace

QFont sheetFont(const CellFormat& format) {
    QFont font;
    font.setFamilies({qs(format.fontName), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(format.fontSize > 0 ? format.fontSize : 11);
    font.setBold(format.bold);
    return font;
}

TextMeasure sheetFontMeasure() {
    return [](const std::string& text, const CellFormat& format) {
        // Measured on a 96 dpi image, the resolution the column-width rule is stated in.
        static QImage ruler = [] {
            QImage image(1, 1, QImage::Format_RGB32);
            image.setDotsPerMeterX(3780);
            image.setDotsPerMeterY(3780);
            return image;
        }();
        const QFontMetricsF metrics(sheetFont(format), &ruler);
        return metrics.horizontalAdvance(qs(text)) * 72.0 / 96.0;
    };
}

double printScale(const Sheet& sheet) {
    if (sheet.fitToPagesWide < 1) return 1;
    const RangeRef area = printArea(sheet);
    double used = 0;
    for (int c = 1; c <= area.lastColumn; ++c)
        used += sheet.columnWidthPoints(c);
    const double room = std::max(36.0, pageWidthPoints - sheet.leftMargin - sheet.rightMargin);
    // As the spreadsheet does, the scale goes no lower than 10 %.
    return used <= room * sheet.fitToPagesWide ? 1.0 : std::max(0.1, room * sheet.fitToPagesWide / used);
}

std::vector<SheetPage> paginate(const Sheet& sheet) {
    const RangeRef area = printArea(sheet);
    const double scale = printScale(sheet);
    const double width = std::max(36.0, pageWidthPoints - sheet.leftMargin - sheet.rightMargin) / scale;
    const double height = std::max(36.0, pageHeightPoints - sheet.topMargin - sheet.bottomMargin) / scale;
    const auto columns = bands(1, area.lastColumn, width, [&](int c) { return sheet.columnWidthPoints(c); });
    const auto rows = bands(1, area.lastRow, height, [&](int r) { return sheet.rowHeight(r); });
    std::vector<SheetPage> pages;
    // Down, then across, as the spreadsheet orders its pages by default.
    for (const auto& [c0, c1] : columns)
        for (const auto& [r0, r1] : rows)
            pages.push_back(SheetPage{r0, r1, c0, c1});
    return pages;
}

void paintPage(QPainter& painter, const Sheet& sheet, const SheetPage& page,
               const std::string& decimalSeparator) {
    QPaintDevice* device = painter.device();
    const double kx = device->logicalDpiX() / 72.0, ky = device->logicalDpiY() / 72.0;
    const RangeRef area = printArea(sheet);
    // Room for text that runs on past the last column into the margin-free part of the page.
    const Grid grid(sheet, std::max(area.lastRow, page.lastRow),
                    std::max(area.lastColumn, page.lastColumn) + 32);
    // Sheet points to device units on this page.
    const double originX = sheet.leftMargin - grid.x(page.firstColumn);
    const double originY = sheet.topMargin - grid.y(page.firstRow);
    const auto toDevice = [&](double x, double y, double w, double h) {
        return QRectF((originX + x) * kx, (originY + y) * ky, w * kx, h * ky);
    };
    // The page's rows, across the whole printable width: unwrapped text may run on to the right
    // margin, as the spreadsheet prints it.
    const QRectF clip(sheet.leftMargin * kx, sheet.topMargin * ky,
                      std::max(grid.x(page.lastColumn + 1) - grid.x(page.firstColumn),
                               pageWidthPoints - sheet.leftMargin - sheet.rightMargin) *
                          kx,
                      (grid.y(page.lastRow + 1) - grid.y(page.firstRow)) * ky);
    painter.save();
    // A sheet fitted to the page width is drawn smaller, from the corner of the margins.
    if (const double scale = printScale(sheet); scale != 1) {
        painter.translate(sheet.leftMargin * kx, sheet.topMargin * ky);
        painter.scale(scale, scale);
        painter.translate(-sheet.leftMargin * kx, -sheet.topMargin * ky);
    }
    painter.setClipRect(clip.adjusted(-2 * kx, -2 * ky, 2 * kx, 2 * ky));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);

    const auto cellRect = [&](int r0, int c0, int r1, int c1) {
        return toDevice(grid.x(c0), grid.y(r0), grid.x(c1 + 1) - grid.x(c0), grid.y(r1 + 1) - grid.y(r0));
    };
    const auto isEmpty = [&](int r, int c) {
        const Cell* cell = sheet.findCell(r, c);
        return (!cell || cell->empty()) && !sheet.mergeAt(r, c);
    };
    // A border between column c and the next one on row r: text never runs across it.
    const auto bordered = [&](int r, int c) {
        const Cell* left = sheet.findCell(r, c);
        const Cell* right = sheet.findCell(r, c + 1);
        return (left && left->format.borderRight) || (right && right->format.borderLeft);
    };
    const auto visible = [&](const RangeRef& box) {
        return !(box.lastRow < page.firstRow || box.firstRow > page.lastRow ||
                 box.lastColumn < page.firstColumn || box.firstColumn > page.lastColumn);
    };

    // Pictures lie under the cells' text, as shapes over an empty part of the sheet do.
    for (const Picture& p : sheet.pictures) {
        QImage image;
        if (!image.loadFromData(p.data.data(), static_cast<int>(p.data.size()))) continue;
        painter.drawImage(toDevice(p.left, p.top, p.width, p.height), image);
    }

    // Text.
    for (const auto& [at, cell] : sheet.cells) {
        if (cell.empty()) continue;
        const RangeRef* merged = sheet.mergeAt(at.row, at.column);
        if (merged && (merged->firstRow != at.row || merged->firstColumn != at.column)) continue;
        RangeRef box = merged ? *merged : RangeRef{at.row, at.column, at.row, at.column};
        const CellFormat& f = cell.format;
        const QString text = shownText(cell, decimalSeparator);
        const bool number = std::holds_alternative<double>(cell.value);
        HAlign h = f.hAlign;
        if (h == HAlign::General) h = number ? HAlign::Right : HAlign::Left;

        QFont font = sheetFont(f);
        const auto widthOf = [&](const RangeRef& b) {
            return grid.x(b.lastColumn + 1) - grid.x(b.firstColumn);
        };
        const double needed = QFontMetricsF(font, device).horizontalAdvance(text) / kx + 2 * cellPadding;
        // Unwrapped text runs on over empty neighbours, as far as it needs, but not across a border.
        if (!f.wrap && !merged) {
            for (int guard = 0; widthOf(box) < needed && guard < 64; ++guard) {
                const bool right = h != HAlign::Right && isEmpty(at.row, box.lastColumn + 1) &&
                                   !bordered(at.row, box.lastColumn);
                const bool left = h != HAlign::Left && box.firstColumn > 1 &&
                                  isEmpty(at.row, box.firstColumn - 1) &&
                                  !bordered(at.row, box.firstColumn - 1);
                if (!right && !left) break;
                if (right) ++box.lastColumn;
                if (left && (h == HAlign::Right || widthOf(box) < needed)) --box.firstColumn;
            }
        }
        // What still does not fit on one line is shown smaller rather than cut.
        if (!f.wrap && widthOf(box) < needed && !text.contains(QLatin1Char('\n')))
            font.setPointSizeF(std::max(1.0, font.pointSizeF() * (widthOf(box) - 2 * cellPadding) /
                                                 (needed - 2 * cellPadding)));
        painter.setFont(font);
        if (!visible(box)) continue;
        const QRectF r = cellRect(box.firstRow, box.firstColumn, box.lastRow, box.lastColumn)
                             .adjusted(cellPadding * kx, 0, -cellPadding * kx, 0);
        int flags = 0;
        flags |= h == HAlign::Centre ? Qt::AlignHCenter : h == HAlign::Right ? Qt::AlignRight : Qt::AlignLeft;
        flags |= f.vAlign == VAlign::Top      ? Qt::AlignTop
                 : f.vAlign == VAlign::Centre ? Qt::AlignVCenter
                                              : Qt::AlignBottom;
        if (f.wrap) flags |= Qt::TextWordWrap;
        painter.save();
        painter.setClipRect(r.adjusted(-cellPadding * kx, 0, cellPadding * kx, 0), Qt::IntersectClip);
        painter.setPen(Qt::black);
        painter.drawText(r, flags, text);
        painter.restore();
    }

    // Borders, on the outline of a merged area only.
    for (const auto& [at, cell] : sheet.cells) {
        const CellFormat& f = cell.format;
        if (!f.borderLeft && !f.borderRight && !f.borderTop && !f.borderBottom) continue;
        if (!visible(RangeRef{at.row, at.column, at.row, at.column})) continue;
        const RangeRef* m = sheet.mergeAt(at.row, at.column);
        const QRectF r = cellRect(at.row, at.column, at.row, at.column);
        const auto line = [&](int weight, QPointF a, QPointF b) {
            if (!weight) return;
            QPen pen(Qt::black);
            pen.setWidthF(borderWidthPoints(weight) * kx);
            pen.setCapStyle(Qt::SquareCap);
            painter.setPen(pen);
            painter.drawLine(a, b);
        };
        if (!m || at.column == m->firstColumn) line(f.borderLeft, r.topLeft(), r.bottomLeft());
        if (!m || at.column == m->lastColumn) line(f.borderRight, r.topRight(), r.bottomRight());
        if (!m || at.row == m->firstRow) line(f.borderTop, r.topLeft(), r.topRight());
        if (!m || at.row == m->lastRow) line(f.borderBottom, r.bottomLeft(), r.bottomRight());
    }
    painter.restore();
}

int printSheets(QPagedPaintDevice& device, const Workbook& book, const std::vector<std::string>& sheetNames,
                int copies, const std::string& decimalSeparator) {
    std::vector<std::pair<const Sheet*, std::vector<SheetPage>>> sheets;
    for (const std::string& name : sheetNames) {
        const Sheet& sheet = book.sheet(name);
        sheets.emplace_back(&sheet, paginate(sheet));
    }
    size_t total = 0;
    for (const auto& entry : sheets)
        total += entry.second.size();
    if (total == 0 || copies < 1) return 0; // nothing chosen: no blank page either
    if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->setFullPage(true);
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&device))
        throw WorkbookError(writeFailedError, "Не удалось начать печать на выбранном устройстве");
    int pages = 0;
    for (int copy = 0; copy < copies; ++copy) {
        for (const auto& [sheet, sheetPages] : sheets) {
            for (const SheetPage& page : sheetPages) {
                if (pages > 0 && !device.newPage()) {
                    painter.end();
                    throw WorkbookError(writeFailedError, "Не удалось начать новую страницу печати");
                }
                paintPage(painter, *sheet, page, decimalSeparator);
                ++pages;
            }
        }
    }
    if (!painter.end()) throw WorkbookError(writeFailedError, "Печать не завершена");
    return pages;
}

void writePdf(const Workbook& book, const std::string& path, const std::vector<std::string>& sheetNames,
              const std::string& decimalSeparator) {
    std::vector<std::string> names = sheetNames;
    if (names.empty())
        for (const Sheet& s : book.sheets)
            names.push_back(s.name);
    for (const std::string& name : names)
        book.sheet(name); // an unknown sheet is refused before the file is touched
    FileOutput output(path);
    {
        QPdfWriter writer(&output.device());
        writer.setCreator(QStringLiteral("kalvar"));
        writer.setTitle(QStringLiteral("Расчет пластинчатого теплообменника"));
        try {
            printSheets(writer, book, names, 1, decimalSeparator);
        } catch (const WorkbookError& e) {
            output.fail(e.what()); // a device that fails shows first as a page that cannot begin
        }
    }
    output.commit();
}

} // namespace kalvar

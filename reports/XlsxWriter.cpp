#include "XlsxWriter.h"

#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

#include <unistd.h>
#include <xlsxwriter.h>

#include <QTemporaryDir>

#include "FileOutput.h"

namespace kalvar {

namespace {

uint8_t lxwBorder(int weight) {
    switch (weight) {
    case 0:
        return LXW_BORDER_NONE;
    case thinBorder:
        return LXW_BORDER_THIN;
    case mediumBorder:
        return LXW_BORDER_MEDIUM;
    case thickBorder:
        return LXW_BORDER_THICK;
    default:
        return weight < thinBorder ? LXW_BORDER_HAIR : LXW_BORDER_THICK;
    }
}

std::string formatKey(const CellFormat& f) {
    return f.fontName + '\x1f' + std::to_string(f.fontSize) + '\x1f' + std::to_string(f.bold) + '\x1f' +
           std::to_string(static_cast<int>(f.hAlign)) + '\x1f' + std::to_string(static_cast<int>(f.vAlign)) +
           '\x1f' + std::to_string(f.wrap) + '\x1f' + f.numberFormat + '\x1f' + std::to_string(f.borderLeft) +
           '\x1f' + std::to_string(f.borderRight) + '\x1f' + std::to_string(f.borderTop) + '\x1f' +
           std::to_string(f.borderBottom);
}

// The file format reads "_xHHHH_" in a text as the character HHHH; a text that holds those
// characters literally keeps them by writing its underscore as "_x005F_".
std::string escapedText(const std::string& text) {
    const auto isHex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && isHex(text[i + 2]) &&
            isHex(text[i + 3]) && isHex(text[i + 4]) && isHex(text[i + 5]) && text[i + 6] == '_')
            out += "_x005F";
        out += text[i];
    }
    return out;
}

class Writer {
  public:
    explicit Writer(const std::string& path) : path_(path) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_FALSE;
        options.tmpdir = nullptr;
        book_ = workbook_new_opt(path.c_str(), &options);
        if (!book_) fail(writeFailedError, "Не удалось создать книгу");
    }
    ~Writer() {
        if (book_) {
            // Closing frees everything; a workbook abandoned after an error leaves no file behind.
            workbook_close(book_);
            std::error_code error;
            std::filesystem::remove(path_, error);
        }
    }

    void write(const Workbook& book) {
        std::vector<lxw_worksheet*> sheets;
        for (const Sheet& sheet : book.sheets) {
            lxw_worksheet* ws = workbook_add_worksheet(book_, sheet.name.c_str());
            if (!ws) fail(writeFailedError, "Не удалось добавить лист \"" + sheet.name + "\"");
            sheets.push_back(ws);
            writeSheet(sheet, ws);
        }
        if (book.activeSheet >= 1 && book.activeSheet <= static_cast<int>(sheets.size()))
            worksheet_activate(sheets[static_cast<size_t>(book.activeSheet - 1)]);
        lxw_workbook* done = book_;
        book_ = nullptr;
        const lxw_error result = workbook_close(done);
        if (result != LXW_NO_ERROR) {
            std::error_code error;
            std::filesystem::remove(path_, error);
            fail(writeFailedError, std::string("Не удалось сохранить книгу: ") + lxw_strerror(result));
        }
    }

  private:
    [[noreturn]] static void fail(int number, const std::string& description) {
        throw WorkbookError(number, description);
    }

    void check(lxw_error result, const std::string& where) {
        if (result != LXW_NO_ERROR) fail(writeFailedError, where + ": " + lxw_strerror(result));
    }

    lxw_format* format(const CellFormat& f) {
        const std::string key = formatKey(f);
        if (auto it = formats_.find(key); it != formats_.end()) return it->second;
        lxw_format* x = workbook_add_format(book_);
        format_set_font_name(x, f.fontName.c_str());
        format_set_font_size(x, f.fontSize);
        if (f.bold) format_set_bold(x);
        switch (f.hAlign) {
        case HAlign::Left:
            format_set_align(x, LXW_ALIGN_LEFT);
            break;
        case HAlign::Centre:
            format_set_align(x, LXW_ALIGN_CENTER);
            break;
        case HAlign::Right:
            format_set_align(x, LXW_ALIGN_RIGHT);
            break;
        case HAlign::General:
            break;
        }
        switch (f.vAlign) {
        case VAlign::Top:
            format_set_align(x, LXW_ALIGN_VERTICAL_TOP);
            break;
        case VAlign::Centre:
            format_set_align(x, LXW_ALIGN_VERTICAL_CENTER);
            break;
        case VAlign::Bottom:
            break;
        }
        if (f.wrap) format_set_text_wrap(x);
        if (f.numberFormat != "General") format_set_num_format(x, f.numberFormat.c_str());
        if (f.borderLeft) format_set_left(x, lxwBorder(f.borderLeft));
        if (f.borderRight) format_set_right(x, lxwBorder(f.borderRight));
        if (f.borderTop) format_set_top(x, lxwBorder(f.borderTop));
        if (f.borderBottom) format_set_bottom(x, lxwBorder(f.borderBottom));
        formats_.emplace(key, x);
        return x;
    }

    void writeValue(lxw_worksheet* ws, int row, int column, const Cell& cell) {
        const auto r = static_cast<lxw_row_t>(row - 1);
        const auto c = static_cast<lxw_col_t>(column - 1);
        const std::string where = "ячейка " + cellAddress(row, column);
        lxw_format* f = format(cell.format);
        if (const auto* s = std::get_if<std::string>(&cell.value)) {
            check(worksheet_write_string(ws, r, c, escapedText(*s).c_str(), f), where);
        } else if (const auto* d = std::get_if<double>(&cell.value); d && std::isfinite(*d)) {
            check(worksheet_write_number(ws, r, c, *d, f), where);
        } else {
            check(worksheet_write_blank(ws, r, c, f), where);
        }
    }

    void writeSheet(const Sheet& sheet, lxw_worksheet* ws) {
        worksheet_set_paper(ws, 9); // A4
        worksheet_set_margins(ws, sheet.leftMargin / 72, sheet.rightMargin / 72, sheet.topMargin / 72,
                              sheet.bottomMargin / 72);
        if (sheet.fitToPagesWide > 0)
            worksheet_fit_to_pages(ws, static_cast<uint16_t>(sheet.fitToPagesWide), 0);
        for (const auto& [column, width] : sheet.columnWidths)
            check(worksheet_set_column(ws, static_cast<lxw_col_t>(column - 1),
                                       static_cast<lxw_col_t>(column - 1), width, nullptr),
                  "столбец " + columnName(column));
        for (const auto& [row, height] : sheet.rowHeights)
            check(worksheet_set_row(ws, static_cast<lxw_row_t>(row - 1), height, nullptr),
                  "строка " + std::to_string(row));

        // Merged areas first (they write blanks with the top-left format), then every cell with
        // its own value and format over them.
        for (const RangeRef& m : sheet.merges) {
            const Cell* topLeft = sheet.findCell(m.firstRow, m.firstColumn);
            const CellFormat f = topLeft ? topLeft->format : sheet.baseFormat;
            check(worksheet_merge_range(ws, static_cast<lxw_row_t>(m.firstRow - 1),
                                        static_cast<lxw_col_t>(m.firstColumn - 1),
                                        static_cast<lxw_row_t>(m.lastRow - 1),
                                        static_cast<lxw_col_t>(m.lastColumn - 1), "", format(f)),
                  "объединение " + rangeAddress(m));
        }
        for (const auto& [at, cell] : sheet.cells)
            writeValue(ws, at.row, at.column, cell);

        for (const Picture& picture : sheet.pictures) {
            const auto info = imageInfo(picture.data);
            if (!info) fail(fileFormatError, "Рисунок " + picture.name + " не является файлом JPEG или PNG");
            lxw_image_options options{};
            options.x_offset = static_cast<int32_t>(std::lround(picture.left / 0.75));
            options.y_offset = static_cast<int32_t>(std::lround(picture.top / 0.75));
            // The library sizes a picture by its pixels at its own resolution; scale to the points asked.
            options.x_scale = (picture.width / 0.75) / (info->width * 96.0 / info->dpiX);
            options.y_scale = (picture.height / 0.75) / (info->height * 96.0 / info->dpiY);
            options.object_position = LXW_OBJECT_MOVE_AND_SIZE;
            options.description = const_cast<char*>(picture.name.c_str());
            check(worksheet_insert_image_buffer_opt(ws, 0, 0, picture.data.data(), picture.data.size(),
                                                    &options),
                  "рисунок " + picture.name);
        }
    }

    std::string path_;
    lxw_workbook* book_ = nullptr;
    std::map<std::string, lxw_format*> formats_;
};

} // namespace

void writeXlsx(const Workbook& book, const std::string& path) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(path, error).parent_path();
    if (!std::filesystem::is_directory(folder, error))
        throw WorkbookError(fileNotFoundError, "Папка \"" + folder.string() + "\" не найдена");
    // Refused here with our own words rather than by the library on standard error.
    const bool exists = std::filesystem::exists(path, error);
    if (::access(exists ? path.c_str() : folder.c_str(), W_OK) != 0)
        throw WorkbookError(writeFailedError, "Нет доступа на запись: " + (exists ? path : folder.string()));
    // The library writes the package to a file of its own; it reaches the target whole or not at all.
    const QTemporaryDir scratch;
    if (!scratch.isValid()) throw WorkbookError(writeFailedError, "Не удалось создать временную папку");
    const std::string packagePath = scratch.filePath(QStringLiteral("book.xlsx")).toStdString();
    try {
        Writer writer(packagePath);
        writer.write(book);
    } catch (const WorkbookError& e) {
        throw WorkbookError(e.number, "Файл \"" + path + "\" не записан: " + e.what());
    }
    std::ifstream package(packagePath, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(package), std::istreambuf_iterator<char>()};
    if (!package.good() && !package.eof())
        throw WorkbookError(writeFailedError, "Не удалось прочесть записанную книгу " + packagePath);
    FileOutput output(path);
    output.write(bytes);
    output.commit();
}

} // namespace kalvar

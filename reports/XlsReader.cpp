#include "XlsReader.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <freexl.h>

namespace kalvar {

namespace {

std::string freexlProblem(int code) {
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return "Файл не найден";
    case FREEXL_INSUFFICIENT_MEMORY:
        return "Недостаточно памяти";
    case FREEXL_BIFF_OBFUSCATED:
    case FREEXL_BIFF_PASSWORD:
        return "Книга защищена паролем";
    case FREEXL_INVALID_CHARACTER:
    case FREEXL_UNSUPPORTED_CHARSET:
        return "Недопустимый символ в тексте книги";
    default:
        return "Файл не является книгой Excel 97-2003 (.xls) или поврежден (код " + std::to_string(code) +
               ")";
    }
}

class Handle {
  public:
    explicit Handle(const std::string& path) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            throw WorkbookError(fileNotFoundError, "Файл не найден");
        const int code = freexl_open(path.c_str(), &handle_);
        if (code != FREEXL_OK) {
            handle_ = nullptr;
            throw WorkbookError(code == FREEXL_FILE_NOT_FOUND ? fileNotFoundError : fileFormatError,
                                freexlProblem(code));
        }
    }
    ~Handle() {
        if (handle_) freexl_close(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    const void* get() const { return handle_; }

    void check(int code) const {
        if (code != FREEXL_OK) throw WorkbookError(fileFormatError, freexlProblem(code));
    }

  private:
    const void* handle_ = nullptr;
};

} // namespace

Workbook readXls(const std::string& path, int maxSheets, int maxRows, int maxColumns) {
    const Handle xls(path);
    unsigned int sheetCount = 0;
    xls.check(freexl_get_info(xls.get(), FREEXL_BIFF_SHEET_COUNT, &sheetCount));
    Workbook book;
    if (maxSheets > 0) sheetCount = std::min(sheetCount, static_cast<unsigned int>(maxSheets));
    for (unsigned short index = 0; index < sheetCount; ++index) {
        const char* name = nullptr;
        xls.check(freexl_get_worksheet_name(xls.get(), index, &name));
        Sheet& sheet = book.addSheet(name ? name : "Лист" + std::to_string(index + 1));
        xls.check(freexl_select_active_worksheet(xls.get(), index));
        unsigned int rows = 0;
        unsigned short columns = 0;
        xls.check(freexl_worksheet_dimensions(xls.get(), &rows, &columns));
        if (maxRows > 0) rows = std::min(rows, static_cast<unsigned int>(maxRows));
        if (maxColumns > 0) columns = std::min(columns, static_cast<unsigned short>(maxColumns));
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue value;
                xls.check(freexl_get_cell_value(xls.get(), r, c, &value));
                const int row = static_cast<int>(r) + 1, column = c + 1;
                switch (value.type) {
                case FREEXL_CELL_INT:
                    sheet.setNumber(row, column, value.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    if (std::isfinite(value.value.double_value))
                        sheet.setNumber(row, column, value.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    if (value.value.text_value && *value.value.text_value)
                        sheet.setText(row, column, value.value.text_value);
                    break;
                default:
                    break;
                }
            }
        }
    }
    return book;
}

} // namespace kalvar

#include "XlsReader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>

#include <freexl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvar {

namespace {

// What one workbook may bring. FreeXL sets aside room for every cell of the area each sheet
// declares before it reads any: a file of a few kilobytes can declare 65536 by 256 cells a sheet
// and take gigabytes. So the declarations are looked at first, in the file itself, and a file
// that declares more than these is not handed to FreeXL at all.
namespace limit {
constexpr std::uintmax_t fileBytes = 16u << 20;
constexpr uint64_t declaredCells = 4u << 20;    // over all sheets; FreeXL keeps 16 bytes a cell
constexpr uint32_t rows = 65536, columns = 256; // the format's own bounds
constexpr uint32_t sharedStrings = 1u << 20;
constexpr size_t cells = 200000; // cells with a value, kept in the workbook model
constexpr size_t cellTextBytes = 32u << 20;
} // namespace limit

std::string megabytes(uint64_t bytes) {
    return std::to_string(bytes >> 20) + " МБ";
}

WorkbookError damaged(const std::string& problem) {
    return WorkbookError(fileFormatError, "поврежден: " + problem);
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

// The compound file around the workbook stream, read just far enough to follow the chains of
// sectors that FreeXL follows. Every chain is cut at the number of sectors the file holds, so a
// loop in one costs no more than the file's size.
class CompoundFile {
  public:
    explicit CompoundFile(std::vector<uint8_t> bytes) : b_(std::move(bytes)) {
        static constexpr uint8_t signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
        if (b_.size() < 512 || std::memcmp(b_.data(), signature, 8) != 0)
            throw WorkbookError(fileFormatError, "не является книгой Excel 97-2003 (.xls)");
        const uint16_t shift = le16(b_, 0x1E), miniShift = le16(b_, 0x20);
        if ((shift != 9 && shift != 12) || miniShift != 6) throw damaged("неверный заголовок");
        sector_ = size_t{1} << shift;
        if (b_.size() < 2 * sector_) throw damaged("файл обрезан");
        sectors_ = b_.size() / sector_ - 1; // whole sectors only, after the header's
        miniCutoff_ = le32(b_, 0x38);

        // The sectors of the allocation table: 109 in the header, the rest in a chain of their own.
        std::vector<uint32_t> fatSectors;
        const uint32_t fatCount = le32(b_, 0x2C);
        if (fatCount > sectors_) throw damaged("неверная таблица размещения");
        for (size_t i = 0; i < 109 && fatSectors.size() < fatCount; ++i)
            fatSectors.push_back(le32(b_, 0x4C + 4 * i));
        uint32_t difat = le32(b_, 0x44);
        for (size_t steps = 0; fatSectors.size() < fatCount && difat < sectors_; ++steps) {
            if (steps > sectors_) throw damaged("цепочка секторов замкнута в кольцо");
            const size_t at = offset(difat);
            for (size_t i = 0; i + 1 < sector_ / 4 && fatSectors.size() < fatCount; ++i)
                fatSectors.push_back(le32(b_, at + 4 * i));
            difat = le32(b_, at + sector_ - 4);
        }
        if (fatSectors.empty() || fatSectors.size() < fatCount) throw damaged("неверная таблица размещения");
        for (const uint32_t s : fatSectors) {
            if (s >= sectors_) throw damaged("неверная таблица размещения");
            for (size_t i = 0; i < sector_ / 4; ++i)
                fat_.push_back(le32(b_, offset(s) + 4 * i));
        }
        if (le32(b_, 0x30) >= sectors_) throw damaged("неверный каталог");
        directory_ = chain(fat_, le32(b_, 0x30));
        miniFat_ = chain(fat_, le32(b_, 0x3C));
    }

    // Every stream that may be the workbook ("Workbook", or "Book" of older versions), whole chains.
    std::vector<std::vector<uint8_t>> workbookStreams() const {
        std::vector<std::vector<uint8_t>> streams;
        std::vector<uint8_t> ministream;
        for (size_t at = 0; at + 128 <= directory_.size(); at += 128) {
            const uint8_t type = directory_[at + 0x42];
            // FreeXL converts every entry's name by its stored length into a buffer of its own.
            const uint16_t nameBytes = le16(directory_, at + 0x40);
            if (nameBytes > 64 || nameBytes % 2 != 0 || (type != 0 && type != 1 && type != 2 && type != 5) ||
                (type != 0 && nameBytes < 2))
                throw damaged("неверная запись каталога");
            const uint32_t start = le32(directory_, at + 0x74), size = le32(directory_, at + 0x78);
            if (type == 5) ministream = chain(fat_, start);
            if (type != 2) continue;
            std::u16string name;
            const size_t length = std::min<size_t>(le16(directory_, at + 0x40), 64) / 2;
            for (size_t i = 0; i < length; ++i) {
                const char16_t ch = le16(directory_, at + 2 * i);
                if (ch == 0) break;
                name += ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch - u'A' + u'a') : ch;
            }
            if (name != u"workbook" && name != u"book") continue;
            streams.push_back(size < miniCutoff_ ? miniChain(ministream, start) : chain(fat_, start));
            if (streams.back().size() < size) throw damaged("файл обрезан");
        }
        return streams;
    }

  private:
    static constexpr uint32_t endOfChain = 0xFFFFFFFE;
    size_t offset(uint32_t sector) const { return (size_t{sector} + 1) * sector_; }

    // The bytes of a chain of sectors. A chain that leaves the file ends there: FreeXL stops at
    // the same place or refuses the file.
    std::vector<uint8_t> chain(const std::vector<uint32_t>& table, uint32_t first) const {
        std::vector<uint8_t> out;
        for (uint32_t s = first, steps = 0; s < sectors_; s = s < table.size() ? table[s] : endOfChain) {
            if (++steps > sectors_) throw damaged("цепочка секторов замкнута в кольцо");
            const size_t at = offset(s);
            out.insert(out.end(), b_.begin() + at, b_.begin() + at + sector_);
        }
        return out;
    }

    std::vector<uint8_t> miniChain(const std::vector<uint8_t>& ministream, uint32_t first) const {
        std::vector<uint8_t> out;
        std::vector<uint32_t> table;
        for (size_t at = 0; at + 4 <= miniFat_.size(); at += 4)
            table.push_back(le32(miniFat_, at));
        const size_t count = ministream.size() / 64;
        for (uint32_t s = first, steps = 0; s < count && s < table.size(); s = table[s]) {
            if (++steps > count) throw damaged("цепочка секторов замкнута в кольцо");
            out.insert(out.end(), ministream.begin() + 64 * s, ministream.begin() + 64 * (s + 1));
        }
        return out;
    }

    std::vector<uint8_t> b_;
    size_t sector_ = 512, sectors_ = 0;
    uint32_t miniCutoff_ = 4096;
    std::vector<uint32_t> fat_;
    std::vector<uint8_t> directory_, miniFat_;
};

// Walks the records of a workbook stream from a place and adds up what FreeXL would set aside for
// them: the cells of every declared sheet area, the shared strings. Gives the places where the
// sheet list says that sheets begin.
std::vector<size_t> checkDeclarations(const std::vector<uint8_t>& stream, size_t from, uint64_t& cells,
                                      std::vector<size_t>* walked) {
    std::vector<size_t> sheetStarts;
    int stringTables = 0;
    for (size_t at = from; at + 4 <= stream.size();) {
        if (walked) walked->push_back(at);
        const uint16_t type = le16(stream, at), length = le16(stream, at + 2);
        const size_t body = at + 4;
        if (body + length > stream.size()) break;
        uint64_t rows = 0, columns = 0, firstRow = 0, firstColumn = 0;
        bool dimensions = false;
        if (type == 0x0200 && length >= 14) { // BIFF8
            firstRow = le32(stream, body);
            rows = le32(stream, body + 4);
            firstColumn = le16(stream, body + 8);
            columns = le16(stream, body + 10);
            dimensions = true;
        } else if ((type == 0x0200 && length >= 10) || (type == 0x0000 && length >= 8)) { // BIFF2..7
            firstRow = le16(stream, body);
            rows = le16(stream, body + 2);
            firstColumn = le16(stream, body + 4);
            columns = le16(stream, body + 6);
            dimensions = true;
        } else if (type == 0x0085 && length >= 4) {
            sheetStarts.push_back(le32(stream, body));
        } else if (type == 0x00FC && length >= 8) {
            // FreeXL sizes its table by the first and writes the strings of every one into it.
            if (++stringTables > 1) throw damaged("в книге больше одной таблицы строк");
            const uint32_t total = le32(stream, body), unique = le32(stream, body + 4);
            if (total > limit::sharedStrings || unique > limit::sharedStrings)
                throw damaged("больше " + std::to_string(limit::sharedStrings) + " строк");
        }
        if (dimensions) {
            if (rows > limit::rows || columns > limit::columns || firstRow > rows || firstColumn > columns)
                throw damaged("размеры листа за пределами " + std::to_string(limit::rows) + " строк и " +
                              std::to_string(limit::columns) + " столбцов");
            cells += std::max<uint64_t>(rows, 1) * std::max<uint64_t>(columns, 1);
            if (cells > limit::declaredCells)
                throw damaged("листы объявляют больше " + std::to_string(limit::declaredCells) + " ячеек");
        }
        at = body + length;
        if (!walked && type == 0x000A) break; // a sheet's records end with its EOF
    }
    return sheetStarts;
}

// Refuses, before FreeXL sees it, a file that would cost more than its limits.
void checkBeforeOpening(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) throw WorkbookError(fileFormatError, "не удается прочитать");
    if (size > limit::fileBytes)
        throw WorkbookError(fileFormatError, "файл больше " + megabytes(limit::fileBytes));
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) throw WorkbookError(fileFormatError, "не удается прочитать");
    const CompoundFile file(std::move(bytes));
    uint64_t cells = 0;
    for (const auto& stream : file.workbookStreams()) {
        std::vector<size_t> walked;
        std::vector<size_t> starts = checkDeclarations(stream, 0, cells, &walked);
        // A sheet that starts where the walk from the front found no record is walked from there
        // too: a reader that jumps to it must not find a declaration the walk stepped over.
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        size_t elsewhere = 0;
        for (const size_t start : starts) {
            if (start >= stream.size() || std::binary_search(walked.begin(), walked.end(), start)) continue;
            if (++elsewhere > 256) throw damaged("неверный список листов");
            checkDeclarations(stream, start, cells, nullptr);
        }
    }
}

std::string freexlProblem(int code) {
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return "Файл не найден";
    case FREEXL_INSUFFICIENT_MEMORY:
        return "недостаточно памяти";
    case FREEXL_BIFF_OBFUSCATED:
    case FREEXL_BIFF_PASSWORD:
        return "книга защищена паролем";
    case FREEXL_INVALID_CHARACTER:
    case FREEXL_UNSUPPORTED_CHARSET:
        return "недопустимый символ в тексте книги";
    default:
        return "не является книгой Excel 97-2003 (.xls) или поврежден (код " + std::to_string(code) + ")";
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
            // FreeXL keeps what it had allocated in the handle even when the opening fails.
            if (handle_) freexl_close(handle_);
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

Workbook readWorkbook(const std::string& path, int maxSheets, int maxRows, int maxColumns) {
    const Handle xls(path);
    size_t cells = 0, textBytes = 0;
    // A value kept: the model's cells are far larger than FreeXL's, and one long shared string
    // may fill every cell.
    const auto keep = [&](size_t bytes) {
        if (++cells > limit::cells)
            throw damaged("больше " + std::to_string(limit::cells) + " ячеек со значениями");
        if ((textBytes += bytes) > limit::cellTextBytes)
            throw damaged("текст ячеек больше " + megabytes(limit::cellTextBytes));
    };
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
                    keep(0);
                    sheet.setNumber(row, column, value.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    if (std::isfinite(value.value.double_value)) {
                        keep(0);
                        sheet.setNumber(row, column, value.value.double_value);
                    }
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    if (value.value.text_value && *value.value.text_value) {
                        keep(std::strlen(value.value.text_value));
                        sheet.setText(row, column, value.value.text_value);
                    }
                    break;
                default:
                    break;
                }
            }
        }
    }
    return book;
}

// ---- FreeXL in a child process -------------------------------------------------------------------

// FreeXL trusts what a file says about itself: damaged workbooks have made it write past its
// buffers. So it reads in a child process, which sends back the sheets' values; whatever FreeXL
// does to the child's memory, the program only sees a file that could not be read. The child is
// also stopped after a few seconds, should a file send FreeXL round in circles.
constexpr unsigned childSeconds = 5;
constexpr size_t largestReply = (64u << 20) + 16 * limit::cells;

void putNumber(std::string& out, uint32_t v) {
    out.append(reinterpret_cast<const char*>(&v), sizeof v);
}
void putText(std::string& out, const std::string& text) {
    putNumber(out, static_cast<uint32_t>(text.size()));
    out += text;
}

// The reply: 'E', the error number and its description; or 'B' and each sheet's name and values.
std::string reply(const std::string& path, int maxSheets, int maxRows, int maxColumns) {
    std::string out;
    try {
        const Workbook book = readWorkbook(path, maxSheets, maxRows, maxColumns);
        out = "B";
        putNumber(out, static_cast<uint32_t>(book.sheets.size()));
        for (const Sheet& sheet : book.sheets) {
            putText(out, sheet.name);
            putNumber(out, static_cast<uint32_t>(sheet.cells.size()));
            for (const auto& [at, cell] : sheet.cells) {
                putNumber(out, static_cast<uint32_t>(at.row));
                putNumber(out, static_cast<uint32_t>(at.column));
                if (const auto* d = std::get_if<double>(&cell.value)) {
                    out += 'N';
                    out.append(reinterpret_cast<const char*>(d), sizeof *d);
                } else {
                    out += 'T';
                    putText(out, std::get<std::string>(cell.value));
                }
            }
        }
    } catch (const WorkbookError& e) {
        out = "E";
        putNumber(out, static_cast<uint32_t>(e.number));
        putText(out, e.what());
    } catch (const std::bad_alloc&) {
        out = "E";
        putNumber(out, static_cast<uint32_t>(fileFormatError));
        putText(out, "недостаточно памяти");
    }
    return out;
}

class ReplyReader {
  public:
    explicit ReplyReader(const std::string& data) : data_(data) {}
    uint32_t number() {
        uint32_t v = 0;
        take(&v, sizeof v);
        return v;
    }
    double real() {
        double v = 0;
        take(&v, sizeof v);
        return v;
    }
    char kind() {
        char c = 0;
        take(&c, 1);
        return c;
    }
    std::string text() {
        const uint32_t length = number();
        if (length > data_.size() - at_) throw damaged("чтение прервано");
        std::string t = data_.substr(at_, length);
        at_ += length;
        return t;
    }

  private:
    void take(void* to, size_t n) {
        if (n > data_.size() - at_) throw damaged("чтение прервано");
        std::memcpy(to, data_.data() + at_, n);
        at_ += n;
    }
    const std::string& data_;
    size_t at_ = 0;
};

Workbook readInChild(const std::string& path, int maxSheets, int maxRows, int maxColumns) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw WorkbookError(fileNotFoundError, "Файл не найден");
    checkBeforeOpening(path); // here, where a fuzz run sees what it covers
    int channel[2];
    if (pipe(channel) != 0) throw damaged("не удается начать чтение");
    const pid_t child = fork();
    if (child < 0) {
        close(channel[0]);
        close(channel[1]);
        throw damaged("не удается начать чтение");
    }
    if (child == 0) {
        close(channel[0]);
        alarm(childSeconds);
        std::string out;
        try {
            out = reply(path, maxSheets, maxRows, maxColumns);
        } catch (...) {
            _exit(2);
        }
        for (size_t done = 0; done < out.size();) {
            const ssize_t n = write(channel[1], out.data() + done, out.size() - done);
            if (n <= 0) _exit(3);
            done += static_cast<size_t>(n);
        }
        _exit(0); // nothing of the parent's (buffers, handlers) runs twice
    }
    close(channel[1]);
    std::string data;
    char buffer[65536];
    bool tooLong = false;
    for (;;) {
        const ssize_t n = read(channel[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        data.append(buffer, static_cast<size_t>(n));
        if (data.size() > largestReply) {
            tooLong = true;
            kill(child, SIGKILL);
            break;
        }
    }
    close(channel[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (tooLong) throw damaged("слишком много данных");
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
        throw damaged("чтение длилось дольше " + std::to_string(childSeconds) + " с");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw damaged("чтение прервано (" +
                      (WIFSIGNALED(status) ? "сигнал " + std::to_string(WTERMSIG(status))
                                           : "код " + std::to_string(WEXITSTATUS(status))) +
                      ")");
    ReplyReader in(data);
    const char kind = in.kind();
    if (kind == 'E') {
        const int number = static_cast<int>(in.number());
        throw WorkbookError(number, in.text());
    }
    if (kind != 'B') throw damaged("чтение прервано");
    Workbook book;
    const uint32_t sheets = in.number();
    for (uint32_t s = 0; s < sheets; ++s) {
        Sheet& sheet = book.addSheet(in.text());
        const uint32_t cells = in.number();
        for (uint32_t i = 0; i < cells; ++i) {
            const int row = static_cast<int>(in.number()), column = static_cast<int>(in.number());
            if (in.kind() == 'N')
                sheet.setNumber(row, column, in.real());
            else
                sheet.setText(row, column, in.text());
        }
    }
    return book;
}

} // namespace

Workbook readXls(const std::string& path, int maxSheets, int maxRows, int maxColumns) {
    // Every failure names the file: the user sees it in a message box at start-up.
    const auto failure = [&](int number, const std::string& problem) {
        return WorkbookError(number, "Файл " + path + " не прочитан: " + problem);
    };
    try {
        return readInChild(path, maxSheets, maxRows, maxColumns);
    } catch (const WorkbookError& e) {
        if (e.number == fileNotFoundError) throw;
        throw failure(e.number, e.what());
    } catch (const std::bad_alloc&) {
        throw failure(fileFormatError, "недостаточно памяти");
    }
}

} // namespace kalvar

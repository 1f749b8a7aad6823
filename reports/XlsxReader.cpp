#include "XlsxReader.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <new>
#include <string_view>

#include <QXmlStreamReader>
#include <zip.h>

namespace kalvar {

namespace {

constexpr double emuPerPoint = 12700;

// What one workbook may bring. Far above anything a site workbook or our own report holds, far below
// what would take the program's memory (256 MB) or more than a second: a damaged or hostile file is
// refused at the first limit it passes, before it has cost more.
namespace limit {
constexpr std::uintmax_t fileBytes = 32u << 20;
constexpr zip_int64_t entries = 10000;
constexpr zip_uint64_t partBytes = 16u << 20;     // one part unpacked (a picture may be a large one)
constexpr zip_uint64_t xmlPartBytes = 8u << 20;   // one XML part unpacked
constexpr zip_uint64_t unpackedBytes = 48u << 20; // every part read, together
constexpr zip_uint64_t xmlBytes = 16u << 20;      // every XML part read, together
constexpr int depth = 64;                         // element nesting; real parts go about ten deep
constexpr int attributesPerTag = 64;              // Qt compares attribute names pairwise
constexpr int namespaceDeclarations = 128;
constexpr size_t sharedStrings = 500000;
constexpr size_t textChars = 16u << 20; // characters of text kept from one part
constexpr size_t styleRecords = 65536;  // fonts, borders, number formats, cell formats each
constexpr size_t sheets = 256;
constexpr size_t cells = 200000;
constexpr size_t cellTextBytes = 32u << 20; // every cell's text: one long shared string may fill many cells
constexpr size_t columnRuns = 16384;
constexpr size_t pictures = 1024;
} // namespace limit

std::string megabytes(zip_uint64_t bytes) {
    return std::to_string(bytes >> 20) + " МБ";
}

class Archive {
  public:
    explicit Archive(const std::string& path) : path_(path) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            throw WorkbookError(fileNotFoundError, "Файл не найден");
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        if (!error && size > limit::fileBytes)
            throw WorkbookError(fileFormatError, "файл больше " + megabytes(limit::fileBytes));
        int code = 0;
        zip_ = zip_open(path.c_str(), ZIP_RDONLY, &code);
        if (!zip_) {
            if (code == ZIP_ER_NOENT) throw WorkbookError(fileNotFoundError, "Файл не найден");
            throw WorkbookError(fileFormatError, "не является книгой формата .xlsx или поврежден");
        }
        if (zip_get_num_entries(zip_, 0) > limit::entries)
            throw WorkbookError(fileFormatError,
                                "в книге больше " + std::to_string(limit::entries) + " частей");
    }
    ~Archive() {
        if (zip_) zip_discard(zip_);
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool has(const std::string& name) const { return zip_name_locate(zip_, name.c_str(), 0) >= 0; }

    // The part unpacked. A zip bomb declares its true size (libzip reads no further than it) and is
    // refused before anything is unpacked; so is a workbook whose parts together pass the budget.
    QByteArray read(const std::string& name, bool xml = true) const {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat(zip_, name.c_str(), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
            throw WorkbookError(fileFormatError, "в книге нет части " + name);
        const zip_uint64_t largest = xml ? limit::xmlPartBytes : limit::partBytes;
        if (st.size > largest)
            throw WorkbookError(fileFormatError, "часть книги " + name + " распаковывается в " +
                                                     megabytes(st.size) + ", больше " + megabytes(largest));
        unpacked_ += st.size;
        if (xml) xmlUnpacked_ += st.size;
        if (unpacked_ > limit::unpackedBytes || xmlUnpacked_ > limit::xmlBytes)
            throw WorkbookError(fileFormatError, "части книги распаковываются больше чем в " +
                                                     megabytes(xml ? limit::xmlBytes : limit::unpackedBytes));
        zip_file_t* file = zip_fopen(zip_, name.c_str(), 0);
        if (!file) throw WorkbookError(fileFormatError, "не удается прочитать часть книги " + name);
        QByteArray data(static_cast<qsizetype>(st.size), Qt::Uninitialized);
        const zip_int64_t got = zip_fread(file, data.data(), st.size);
        zip_fclose(file);
        if (got < 0 || static_cast<zip_uint64_t>(got) != st.size)
            throw WorkbookError(fileFormatError, "не удается прочитать часть книги " + name);
        return data;
    }

  private:
    std::string path_;
    zip_t* zip_ = nullptr;
    mutable zip_uint64_t unpacked_ = 0, xmlUnpacked_ = 0;
};

WorkbookError damaged(const std::string& part, const std::string& problem) {
    return WorkbookError(fileFormatError, "часть книги " + part + " повреждена: " + problem);
}

// What the XML reader itself would pay for without bound, looked for in the raw bytes before it
// starts: a document type (entities can expand a few bytes into gigabytes), a tag with thousands of
// attributes, thousands of namespace declarations. No part of a workbook has any of them.
void checkXmlShape(const QByteArray& bytes, const std::string& part) {
    const std::string_view data(bytes.constData(), static_cast<size_t>(bytes.size()));
    const size_t n = data.size();
    int namespaces = 0;
    for (size_t i = data.find('<'); i < n; i = data.find('<', i)) {
        const std::string_view rest = data.substr(i);
        if (rest.starts_with("<!--")) {
            i = data.find("-->", i + 4);
            continue;
        }
        if (rest.starts_with("<![CDATA[")) {
            i = data.find("]]>", i + 9);
            continue;
        }
        if (rest.starts_with("<!")) throw damaged(part, "объявления DTD не допускаются");
        // A tag (or the declaration): its attributes end at the first '>' outside quotes.
        int attributes = 0;
        char quote = 0;
        for (++i; i < n; ++i) {
            const char ch = data[i];
            if (quote) {
                if (ch == quote) quote = 0;
            } else if (ch == '>') {
                break;
            } else if (ch == '"' || ch == '\'') {
                quote = ch;
            } else if (ch == '=' && ++attributes > limit::attributesPerTag) {
                throw damaged(part,
                              "у элемента больше " + std::to_string(limit::attributesPerTag) + " атрибутов");
            } else if (ch == 'x' && data.substr(i).starts_with("xmlns") &&
                       ++namespaces > limit::namespaceDeclarations) {
                throw damaged(part, "больше " + std::to_string(limit::namespaceDeclarations) +
                                        " объявлений пространств имен");
            }
        }
    }
}

// The stream reader with its nesting kept in bounds: every token comes through readNext, which
// refuses an element deeper than the limit before the reader's own stack grows any further. The
// calls of the base that read ahead on their own (readElementText, skipCurrentElement,
// readNextStartElement) are hidden by bounded ones.
class PartReader : public QXmlStreamReader {
  public:
    PartReader(const Archive& zip, const std::string& part)
        : QXmlStreamReader(checkedPart(zip, part)), part_(part) {}

    TokenType readNext() {
        const TokenType type = QXmlStreamReader::readNext();
        if (type == StartElement && ++depth_ > limit::depth)
            throw damaged(part_, "вложенность элементов глубже " + std::to_string(limit::depth));
        if (type == EndElement) --depth_;
        if (type == DTD || type == EntityReference) throw damaged(part_, "объявления DTD не допускаются");
        return type;
    }

    // Called at a start element: the text within it, child elements' text included; ends after its
    // end element.
    QString readElementText() {
        QString text;
        const int outer = depth_ - 1;
        while (!atEnd()) {
            readNext();
            if (isCharacters()) {
                if (static_cast<size_t>(text.size() + this->text().size()) > limit::textChars - kept_)
                    throw damaged(part_, "текст больше " + std::to_string(limit::textChars) + " знаков");
                text += this->text();
            } else if (isEndElement() && depth_ == outer) {
                break;
            }
        }
        kept_ += static_cast<size_t>(text.size());
        return text;
    }

    // Called at a start element: reads past its end element.
    void skipCurrentElement() {
        const int outer = depth_ - 1;
        while (!atEnd()) {
            readNext();
            if (isEndElement() && depth_ == outer) return;
        }
    }

    // The next child element of the current one: true at its start, false at the current one's end.
    bool readNextStartElement() {
        while (!atEnd()) {
            readNext();
            if (isStartElement()) return true;
            if (isEndElement()) return false;
        }
        return false;
    }

    const std::string& part() const { return part_; }

  private:
    static QByteArray checkedPart(const Archive& zip, const std::string& part) {
        QByteArray data = zip.read(part);
        checkXmlShape(data, part);
        return data;
    }

    std::string part_;
    int depth_ = 0;
    size_t kept_ = 0;
};

// A count of records kept in bounds.
void checkCount(size_t count, size_t largest, const std::string& part, const char* what) {
    if (count > largest) throw damaged(part, "больше " + std::to_string(largest) + " " + what);
}

// The folder part of a part name ("xl/worksheets/sheet1.xml" -> "xl/worksheets/").
std::string folderOf(const std::string& part) {
    const size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// A relationship target resolved against the folder of the part that names it.
std::string resolve(const std::string& folder, const std::string& target) {
    if (!target.empty() && target.front() == '/') return target.substr(1);
    std::vector<std::string> parts;
    const auto push = [&](const std::string& path) {
        size_t start = 0;
        while (start <= path.size()) {
            size_t end = path.find('/', start);
            if (end == std::string::npos) end = path.size();
            const std::string piece = path.substr(start, end - start);
            if (piece == "..") {
                if (!parts.empty()) parts.pop_back();
            } else if (!piece.empty() && piece != ".") {
                parts.push_back(piece);
            }
            start = end + 1;
        }
    };
    push(folder);
    push(target);
    std::string out;
    for (const std::string& p : parts)
        out += (out.empty() ? "" : "/") + p;
    return out;
}

std::string relsOf(const std::string& part) {
    const std::string folder = folderOf(part);
    return folder + "_rels/" + part.substr(folder.size()) + ".rels";
}

// Texts escape characters XML cannot hold as "_xHHHH_"; "_x005F_" is an underscore itself.
std::string unescapeText(const QString& text) {
    if (!text.contains(QLatin1String("_x"))) return text.toStdString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('_') && i + 6 < text.size() && text[i + 1] == QLatin1Char('x') &&
            text[i + 6] == QLatin1Char('_')) {
            bool ok = false;
            const uint code = text.mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out += QChar(static_cast<char16_t>(code));
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out.toStdString();
}

std::string attr(const QXmlStreamReader& xml, const char* name) {
    return xml.attributes().value(QLatin1String(name)).toString().toStdString();
}

// A relationship id attribute (r:id, r:embed) whatever its prefix.
std::string relId(const QXmlStreamReader& xml, const char* localName) {
    for (const QXmlStreamAttribute& a : xml.attributes())
        if (a.name() == QLatin1String(localName) &&
            a.namespaceUri().toString().contains(QLatin1String("relationships")))
            return a.value().toString().toStdString();
    return attr(xml, localName);
}

double attrNumber(const QXmlStreamReader& xml, const char* name, double fallback) {
    bool ok = false;
    const double v = xml.attributes().value(QLatin1String(name)).toDouble(&ok);
    return ok && std::isfinite(v) ? v : fallback;
}

// A whole number kept inside [low, high]: damaged or hostile files cannot overflow a conversion.
int clampedInt(double v, int low, int high) {
    if (!std::isfinite(v) || v < low) return low;
    if (v > high) return high;
    return static_cast<int>(v);
}

int attrInt(const QXmlStreamReader& xml, const char* name, int fallback, int low, int high) {
    return clampedInt(attrNumber(xml, name, fallback), low, high);
}

constexpr int largestIndex = 1 << 24;

bool attrTrue(const QXmlStreamReader& xml, const char* name) {
    const auto v = xml.attributes().value(QLatin1String(name));
    return v == QLatin1String("1") || v == QLatin1String("true");
}

void checkXml(const QXmlStreamReader& xml, const std::string& part) {
    if (xml.hasError())
        throw WorkbookError(fileFormatError,
                            "часть книги " + part + " повреждена: " + xml.errorString().toStdString());
}

std::map<std::string, std::string> readRels(const Archive& zip, const std::string& part) {
    std::map<std::string, std::string> rels;
    const std::string name = relsOf(part);
    if (!zip.has(name)) return rels;
    PartReader xml(zip, name);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Relationship") &&
            attr(xml, "TargetMode") != "External")
            rels[attr(xml, "Id")] = resolve(folderOf(part), attr(xml, "Target"));
    }
    checkXml(xml, name);
    return rels;
}

int borderWeight(const std::string& style) {
    if (style.empty() || style == "none") return 0;
    if (style == "thick" || style == "double") return thickBorder;
    if (style.find("medium") != std::string::npos) return mediumBorder;
    if (style == "hair") return 1;
    return thinBorder;
}

struct Styles {
    std::vector<CellFormat> xfs;
};

std::string builtInNumberFormat(int id) {
    switch (id) {
    case 0:
        return "General";
    case 1:
        return "0";
    case 2:
        return "0.00";
    case 14:
        return "dd.mm.yyyy";
    default:
        return "General";
    }
}

Styles readStyles(const Archive& zip, const std::string& part) {
    Styles styles;
    if (part.empty() || !zip.has(part)) {
        styles.xfs.emplace_back();
        return styles;
    }
    struct Font {
        std::string name = "Calibri";
        double size = 11;
        bool bold = false;
    };
    struct Border {
        int left = 0, right = 0, top = 0, bottom = 0;
    };
    std::map<int, std::string> numberFormats;
    std::vector<Font> fonts;
    std::vector<Border> borders;
    PartReader xml(zip, part);
    enum class In { None, Fonts, Borders, CellXfs } in = In::None;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            const auto n = xml.name();
            if (n == QLatin1String("fonts") || n == QLatin1String("borders") || n == QLatin1String("cellXfs"))
                in = In::None;
            continue;
        }
        if (!xml.isStartElement()) continue;
        const auto n = xml.name();
        if (n == QLatin1String("numFmt")) {
            checkCount(numberFormats.size() + 1, limit::styleRecords, part, "форматов чисел");
            numberFormats[attrInt(xml, "numFmtId", 0, 0, largestIndex)] = attr(xml, "formatCode");
        } else if (n == QLatin1String("fonts")) {
            in = In::Fonts;
        } else if (n == QLatin1String("borders")) {
            in = In::Borders;
        } else if (n == QLatin1String("cellXfs")) {
            in = In::CellXfs;
        } else if (in == In::Fonts && n == QLatin1String("font")) {
            checkCount(fonts.size() + 1, limit::styleRecords, part, "шрифтов");
            fonts.emplace_back();
        } else if (in == In::Fonts && !fonts.empty()) {
            if (n == QLatin1String("b"))
                fonts.back().bold = attr(xml, "val") != "0" && attr(xml, "val") != "false";
            if (n == QLatin1String("sz")) fonts.back().size = attrNumber(xml, "val", 11);
            if (n == QLatin1String("name")) fonts.back().name = attr(xml, "val");
        } else if (in == In::Borders && n == QLatin1String("border")) {
            checkCount(borders.size() + 1, limit::styleRecords, part, "границ");
            borders.emplace_back();
        } else if (in == In::Borders && !borders.empty()) {
            const int w = borderWeight(attr(xml, "style"));
            if (n == QLatin1String("left")) borders.back().left = w;
            if (n == QLatin1String("right")) borders.back().right = w;
            if (n == QLatin1String("top")) borders.back().top = w;
            if (n == QLatin1String("bottom")) borders.back().bottom = w;
        } else if (in == In::CellXfs && n == QLatin1String("xf")) {
            checkCount(styles.xfs.size() + 1, limit::styleRecords, part, "форматов ячеек");
            CellFormat f;
            const auto font = static_cast<size_t>(attrInt(xml, "fontId", 0, 0, largestIndex));
            if (font < fonts.size()) {
                f.fontName = fonts[font].name;
                f.fontSize = fonts[font].size;
                f.bold = fonts[font].bold;
            }
            const auto border = static_cast<size_t>(attrInt(xml, "borderId", 0, 0, largestIndex));
            if (border < borders.size()) {
                f.borderLeft = borders[border].left;
                f.borderRight = borders[border].right;
                f.borderTop = borders[border].top;
                f.borderBottom = borders[border].bottom;
            }
            const int numFmt = attrInt(xml, "numFmtId", 0, 0, largestIndex);
            const auto custom = numberFormats.find(numFmt);
            f.numberFormat = custom != numberFormats.end() ? custom->second : builtInNumberFormat(numFmt);
            styles.xfs.push_back(f);
        } else if (in == In::CellXfs && n == QLatin1String("alignment") && !styles.xfs.empty()) {
            CellFormat& f = styles.xfs.back();
            const std::string h = attr(xml, "horizontal"), v = attr(xml, "vertical");
            if (h == "left") f.hAlign = HAlign::Left;
            if (h == "center") f.hAlign = HAlign::Centre;
            if (h == "right") f.hAlign = HAlign::Right;
            if (v == "top") f.vAlign = VAlign::Top;
            if (v == "center") f.vAlign = VAlign::Centre;
            f.wrap = attrTrue(xml, "wrapText");
        }
    }
    checkXml(xml, part);
    if (styles.xfs.empty()) styles.xfs.emplace_back();
    return styles;
}

std::vector<std::string> readSharedStrings(const Archive& zip, const std::string& part) {
    std::vector<std::string> strings;
    if (part.empty() || !zip.has(part)) return strings;
    PartReader xml(zip, part);
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("si")) {
                checkCount(strings.size() + 1, limit::sharedStrings, part, "строк");
                strings.emplace_back();
            }
            if (xml.name() == QLatin1String("rPh")) ++phonetic;
            if (xml.name() == QLatin1String("t") && !phonetic && !strings.empty())
                strings.back() += unescapeText(xml.readElementText());
        } else if (xml.isEndElement() && xml.name() == QLatin1String("rPh")) {
            --phonetic;
        }
    }
    checkXml(xml, part);
    return strings;
}

// Column and row (1-based) of an address like "C5".
bool splitAddress(const std::string& r, int& row, int& column) {
    try {
        const RangeRef ref = parseRange(r);
        row = ref.firstRow;
        column = ref.firstColumn;
        return ref.single();
    } catch (const WorkbookError&) {
        return false;
    }
}

// The width of the columns left of a column, in points: the columns of the default width counted
// at once, so that an anchor far to the right costs no more than one near the corner.
double widthBefore(const Sheet& sheet, int column) {
    const double standard = Sheet("").columnWidthPoints(1);
    double width = standard * (column - 1);
    for (auto it = sheet.columnWidths.begin(); it != sheet.columnWidths.end() && it->first < column; ++it)
        width += sheet.columnWidthPoints(it->first) - standard;
    return width;
}

// The height of the rows above a row, in points, counted likewise.
double heightAbove(const Sheet& sheet, int row) {
    double height = Sheet::defaultRowHeight * (row - 1);
    for (auto it = sheet.rowHeights.begin(); it != sheet.rowHeights.end() && it->first < row; ++it)
        height += it->second - Sheet::defaultRowHeight;
    return height;
}

void readPictures(const Archive& zip, const std::string& drawingPart, Sheet& sheet) {
    if (!zip.has(drawingPart)) return;
    const auto rels = readRels(zip, drawingPart);
    PartReader xml(zip, drawingPart);
    struct Anchor {
        int col = 0, row = 0;
        double colOff = 0, rowOff = 0; // EMU
        double x = -1, y = -1, cx = 0, cy = 0;
        std::string embed, name;
    } a;
    enum class Part { None, From, Ext } where = Part::None;
    std::string element;
    while (!xml.atEnd()) {
        xml.readNext();
        const auto n = xml.name();
        if (xml.isStartElement()) {
            if (n == QLatin1String("twoCellAnchor") || n == QLatin1String("oneCellAnchor") ||
                n == QLatin1String("absoluteAnchor"))
                a = Anchor{};
            else if (n == QLatin1String("from"))
                where = Part::From;
            else if (where == Part::From && (n == QLatin1String("col") || n == QLatin1String("row") ||
                                             n == QLatin1String("colOff") || n == QLatin1String("rowOff"))) {
                const double v = xml.readElementText().toDouble();
                if (n == QLatin1String("col")) a.col = clampedInt(v, 0, 16383);
                if (n == QLatin1String("row")) a.row = clampedInt(v, 0, 1048575);
                if (n == QLatin1String("colOff")) a.colOff = v;
                if (n == QLatin1String("rowOff")) a.rowOff = v;
            } else if (n == QLatin1String("cNvPr")) {
                a.name = attr(xml, "descr");
                if (a.name.empty()) a.name = attr(xml, "name");
            } else if (n == QLatin1String("blip")) {
                a.embed = relId(xml, "embed");
            } else if (n == QLatin1String("off")) {
                a.x = attrNumber(xml, "x", -1);
                a.y = attrNumber(xml, "y", -1);
            } else if (n == QLatin1String("ext") &&
                       xml.namespaceUri().toString().contains(QLatin1String("drawingml/2006/main"))) {
                a.cx = attrNumber(xml, "cx", 0);
                a.cy = attrNumber(xml, "cy", 0);
            }
        } else if (xml.isEndElement()) {
            if (n == QLatin1String("from")) where = Part::None;
            if ((n == QLatin1String("twoCellAnchor") || n == QLatin1String("oneCellAnchor") ||
                 n == QLatin1String("absoluteAnchor")) &&
                !a.embed.empty()) {
                const auto target = rels.find(a.embed);
                if (target == rels.end() || !zip.has(target->second)) continue;
                checkCount(sheet.pictures.size() + 1, limit::pictures, drawingPart, "рисунков");
                Picture p;
                const QByteArray bytes = zip.read(target->second, false);
                p.data.assign(bytes.begin(), bytes.end());
                p.name = a.name;
                if (n == QLatin1String("absoluteAnchor") && a.x >= 0) {
                    p.left = a.x / emuPerPoint;
                    p.top = a.y / emuPerPoint;
                } else {
                    p.left = widthBefore(sheet, a.col + 1);
                    p.top = heightAbove(sheet, a.row + 1);
                    p.left += a.colOff / emuPerPoint;
                    p.top += a.rowOff / emuPerPoint;
                }
                p.width = a.cx / emuPerPoint;
                p.height = a.cy / emuPerPoint;
                sheet.pictures.push_back(std::move(p));
            }
        }
    }
    checkXml(xml, drawingPart);
}

// What the sheets of one workbook have taken so far, across all of them.
struct WorkbookBudget {
    size_t cells = 0, textBytes = 0;
};

// A cell "c" at the reader: its address (or the one after the last), its style and its value,
// shared, inline or its own; row and column become the cell's. It takes the bounded reader, whose
// calls hide the base's.
void readCell(PartReader& xml, const std::string& part, const Styles& styles,
              const std::vector<std::string>& strings, Sheet& sheet, WorkbookBudget& budget, int& row,
              int& column) {
    int r = row, c = std::min(column + 1, 16384);
    const std::string address = attr(xml, "r");
    if (!address.empty() && !splitAddress(address, r, c))
        throw WorkbookError(fileFormatError, "неверный адрес ячейки \"" + address + "\" в части " + part);
    if (r < 1) r = 1;
    row = r;
    column = c;
    const std::string type = attr(xml, "t");
    const auto xf = static_cast<size_t>(attrInt(xml, "s", 0, 0, largestIndex));
    Cell cell;
    cell.format = xf < styles.xfs.size() ? styles.xfs[xf] : styles.xfs.front();
    std::string raw;
    bool haveValue = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("v")) {
            raw = xml.readElementText().toStdString();
            haveValue = true;
        } else if (xml.name() == QLatin1String("is")) {
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("t")) {
                    raw += unescapeText(xml.readElementText());
                } else if (xml.name() == QLatin1String("r")) {
                    while (xml.readNextStartElement()) {
                        if (xml.name() == QLatin1String("t"))
                            raw += unescapeText(xml.readElementText());
                        else
                            xml.skipCurrentElement();
                    }
                } else {
                    xml.skipCurrentElement();
                }
            }
            haveValue = true;
        } else {
            xml.skipCurrentElement();
        }
    }
    if (haveValue) {
        if (type == "s") {
            const auto index = static_cast<size_t>(std::strtoul(raw.c_str(), nullptr, 10));
            if (index < strings.size()) cell.value = strings[index];
        } else if (type == "str" || type == "inlineStr" || type == "e") {
            cell.value = raw;
        } else if (type == "b") {
            cell.value = raw == "1" ? std::string("ИСТИНА") : std::string("ЛОЖЬ");
        } else if (!raw.empty()) {
            char* end = nullptr;
            const double v = std::strtod(raw.c_str(), &end);
            if (end && *end == '\0' && std::isfinite(v))
                cell.value = v;
            else
                cell.value = raw;
        }
        if (const auto* s = std::get_if<std::string>(&cell.value); s && s->empty())
            cell.value = std::monostate{};
        else if (s && (budget.textBytes += s->size()) > limit::cellTextBytes)
            throw damaged(part, "текст ячеек больше " + megabytes(limit::cellTextBytes));
    }
    const size_t before = sheet.cells.size();
    sheet.cells[CellRef{r, c}] = std::move(cell);
    budget.cells += sheet.cells.size() - before;
    checkCount(budget.cells, limit::cells, part, "ячеек");
}

void readSheet(const Archive& zip, const std::string& part, const Styles& styles,
               const std::vector<std::string>& strings, Sheet& sheet, WorkbookBudget& budget) {
    PartReader xml(zip, part);
    const auto rels = readRels(zip, part);
    std::string drawing;
    int row = 0, column = 0;
    size_t columnRuns = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        const auto n = xml.name();
        if (n == QLatin1String("col")) {
            const int first = attrInt(xml, "min", 0, 0, 16384);
            const int last = attrInt(xml, "max", 0, 0, 16384);
            // The file holds the width with its padding; the sheet model holds characters.
            const double stored = attrNumber(xml, "width", Sheet::defaultColumnWidth);
            const double width = stored < 1 ? stored : (std::round(stored * 7) - 5) / 7;
            checkCount(++columnRuns, limit::columnRuns, part, "описаний столбцов");
            for (int c = std::max(1, first); c <= std::min(last, 16384) && c - first < 256; ++c)
                sheet.columnWidths[c] = width;
        } else if (n == QLatin1String("row")) {
            row = attrInt(xml, "r", row + 1, 1, 1048576);
            column = 0;
            if (attrTrue(xml, "customHeight"))
                sheet.rowHeights[row] = attrNumber(xml, "ht", Sheet::defaultRowHeight);
        } else if (n == QLatin1String("c")) {
            readCell(xml, part, styles, strings, sheet, budget, row, column);
        } else if (n == QLatin1String("mergeCell")) {
            try {
                checkCount(sheet.merges.size() + 1, limit::cells, part, "объединений");
                sheet.merges.push_back(parseRange(attr(xml, "ref")));
            } catch (const WorkbookError&) {
                throw WorkbookError(fileFormatError, "неверная область объединения в части " + part);
            }
        } else if (n == QLatin1String("pageMargins")) {
            sheet.leftMargin = attrNumber(xml, "left", 0.7) * 72;
            sheet.rightMargin = attrNumber(xml, "right", 0.7) * 72;
            sheet.topMargin = attrNumber(xml, "top", 0.75) * 72;
            sheet.bottomMargin = attrNumber(xml, "bottom", 0.75) * 72;
        } else if (n == QLatin1String("drawing")) {
            const auto it = rels.find(relId(xml, "id"));
            if (it != rels.end()) drawing = it->second;
        }
    }
    checkXml(xml, part);
    if (!drawing.empty()) readPictures(zip, drawing, sheet);
}

Workbook readWorkbook(const std::string& path) {
    const Archive zip(path);
    if (!zip.has("xl/workbook.xml")) throw WorkbookError(fileFormatError, "не является книгой формата .xlsx");
    const auto bookRels = readRels(zip, "xl/workbook.xml");
    std::string stylesPart, stringsPart;
    for (const auto& [id, target] : bookRels) {
        if (target.ends_with("styles.xml")) stylesPart = target;
        if (target.ends_with("sharedStrings.xml")) stringsPart = target;
    }
    const Styles styles = readStyles(zip, stylesPart);
    const std::vector<std::string> strings = readSharedStrings(zip, stringsPart);

    Workbook book;
    std::vector<std::string> parts;
    PartReader xml(zip, "xl/workbook.xml");
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("sheet")) {
            const auto it = bookRels.find(relId(xml, "id"));
            if (it == bookRels.end()) continue;
            checkCount(parts.size() + 1, limit::sheets, "xl/workbook.xml", "листов");
            book.addSheet(attr(xml, "name"));
            parts.push_back(it->second);
        } else if (xml.name() == QLatin1String("workbookView")) {
            book.activeSheet = attrInt(xml, "activeTab", 0, 0, largestIndex) + 1;
        }
    }
    checkXml(xml, "xl/workbook.xml");
    WorkbookBudget budget;
    for (size_t i = 0; i < parts.size(); ++i)
        readSheet(zip, parts[i], styles, strings, book.sheets[i], budget);
    return book;
}

} // namespace

Workbook readXlsx(const std::string& path) {
    // Every failure names the file: the user sees it in a message box at start-up.
    const auto failure = [&](int number, const std::string& problem) {
        return WorkbookError(number, "Файл " + path + " не прочитан: " + problem);
    };
    try {
        return readWorkbook(path);
    } catch (const WorkbookError& e) {
        if (e.number == fileNotFoundError) throw;
        throw failure(e.number, e.what());
    } catch (const std::bad_alloc&) {
        throw failure(fileFormatError, "недостаточно памяти");
    }
}

} // namespace kalvar

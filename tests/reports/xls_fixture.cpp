#include "xls_fixture.h"

#include <cstring>
#include <fstream>

#include <QString>

namespace kalvar::testing {

namespace {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void putDouble(Bytes& b, double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    put32(b, static_cast<uint32_t>(bits));
    put32(b, static_cast<uint32_t>(bits >> 32));
}
void record(Bytes& stream, uint16_t type, const Bytes& body) {
    put16(stream, type);
    put16(stream, static_cast<uint32_t>(body.size()));
    stream.insert(stream.end(), body.begin(), body.end());
}
// UTF-16 characters of a UTF-8 text.
std::u16string utf16(const std::string& s) {
    const QString q = QString::fromStdString(s);
    return std::u16string(reinterpret_cast<const char16_t*>(q.utf16()), static_cast<size_t>(q.size()));
}
void putUnicode(Bytes& b, const std::u16string& s, bool shortLength) {
    if (shortLength)
        b.push_back(static_cast<uint8_t>(s.size()));
    else
        put16(b, static_cast<uint32_t>(s.size()));
    b.push_back(0x01); // UTF-16LE characters
    for (char16_t c : s)
        put16(b, c);
}

Bytes bof(uint16_t kind) {
    Bytes b;
    put16(b, 0x0600); // BIFF8
    put16(b, kind);
    put16(b, 0x0DBB);
    put16(b, 0x07CC);
    put32(b, 0);
    put32(b, 0x06);
    return b;
}

Bytes xf(bool style) {
    Bytes b;
    put16(b, 0); // font
    put16(b, 0); // number format: General
    put16(b, style ? 0xFFF5 : 0x0001);
    put16(b, 0x0020);
    put16(b, 0);
    put16(b, 0);
    put32(b, 0);
    put32(b, 0);
    put16(b, 0x20C0);
    return b;
}

Bytes workbookStream(const std::vector<XlsSheet>& sheets) {
    std::vector<std::u16string> strings;
    std::map<std::u16string, uint32_t> index;
    for (const XlsSheet& sheet : sheets)
        for (const auto& [at, value] : sheet.cells)
            if (const auto* s = std::get_if<std::string>(&value)) {
                const auto u = utf16(*s);
                if (index.emplace(u, static_cast<uint32_t>(strings.size())).second) strings.push_back(u);
            }

    Bytes globals;
    record(globals, 0x0809, bof(0x0005));
    record(globals, 0x0042, Bytes{0xB0, 0x04}); // code page 1200 (UTF-16)
    {
        Bytes font;
        put16(font, 200); // height, twips
        put16(font, 0);
        put16(font, 0x7FFF);
        put16(font, 400);
        put16(font, 0);
        font.push_back(0);
        font.push_back(0);
        font.push_back(0);
        font.push_back(0);
        putUnicode(font, u"Arial", true);
        for (int i = 0; i < 5; ++i)
            record(globals, 0x0031, font); // index 4 is skipped by readers, so write five
    }
    for (int i = 0; i < 15; ++i)
        record(globals, 0x00E0, xf(true));
    record(globals, 0x00E0, xf(false)); // XF 15: the cells'
    std::vector<size_t> sheetPositionAt;
    for (const XlsSheet& sheet : sheets) {
        Bytes b;
        sheetPositionAt.push_back(globals.size() + 4);
        put32(b, 0); // filled in below
        b.push_back(0);
        b.push_back(0);
        putUnicode(b, utf16(sheet.name), true);
        record(globals, 0x0085, b);
    }
    {
        Bytes sst;
        put32(sst, static_cast<uint32_t>(strings.size()));
        put32(sst, static_cast<uint32_t>(strings.size()));
        for (const auto& s : strings)
            putUnicode(sst, s, false);
        record(globals, 0x00FC, sst);
    }
    record(globals, 0x000A, {});

    Bytes stream = globals;
    for (size_t i = 0; i < sheets.size(); ++i) {
        const auto position = static_cast<uint32_t>(stream.size());
        for (int k = 0; k < 4; ++k)
            stream[sheetPositionAt[i] + static_cast<size_t>(k)] = static_cast<uint8_t>(position >> (8 * k));
        record(stream, 0x0809, bof(0x0010));
        int lastRow = 0, lastColumn = 0;
        for (const auto& [at, value] : sheets[i].cells) {
            lastRow = std::max(lastRow, at.first);
            lastColumn = std::max(lastColumn, at.second);
        }
        Bytes dims;
        put32(dims, 0);
        put32(dims, static_cast<uint32_t>(lastRow));
        put16(dims, 0);
        put16(dims, static_cast<uint32_t>(lastColumn));
        put16(dims, 0);
        record(stream, 0x0200, dims);
        for (const auto& [at, value] : sheets[i].cells) {
            Bytes cell;
            put16(cell, static_cast<uint32_t>(at.first - 1));
            put16(cell, static_cast<uint32_t>(at.second - 1));
            put16(cell, 15);
            if (const auto* d = std::get_if<double>(&value)) {
                putDouble(cell, *d);
                record(stream, 0x0203, cell);
            } else {
                put32(cell, index.at(utf16(std::get<std::string>(value))));
                record(stream, 0x00FD, cell);
            }
        }
        record(stream, 0x000A, {});
    }
    return stream;
}

} // namespace

bool writeXlsFixture(const std::string& path, const std::vector<XlsSheet>& sheets) {
    constexpr uint32_t freeSector = 0xFFFFFFFF, endOfChain = 0xFFFFFFFE, fatSector = 0xFFFFFFFD;
    Bytes stream = workbookStream(sheets);
    const uint32_t streamSize = static_cast<uint32_t>(std::max<size_t>(stream.size(), 4096));
    stream.resize((streamSize + 511) / 512 * 512, 0); // at least the mini-stream cut-off: regular sectors
    const uint32_t streamSectors = static_cast<uint32_t>(stream.size() / 512);

    // Sector 0: the allocation table; sector 1: the directory; then the Workbook stream.
    Bytes header;
    const uint8_t signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    header.insert(header.end(), signature, signature + 8);
    header.resize(24, 0);
    put16(header, 0x003E);
    put16(header, 0x0003);
    put16(header, 0xFFFE);
    put16(header, 9);
    put16(header, 6);
    header.resize(44, 0);
    put32(header, 1); // allocation-table sectors
    put32(header, 1); // first directory sector
    put32(header, 0);
    put32(header, 4096);
    put32(header, endOfChain);
    put32(header, 0);
    put32(header, endOfChain);
    put32(header, 0);
    put32(header, 0); // the allocation table is sector 0
    while (header.size() < 512)
        put32(header, freeSector);

    Bytes fat;
    put32(fat, fatSector);
    put32(fat, endOfChain);
    for (uint32_t i = 0; i < streamSectors; ++i)
        put32(fat, i + 1 == streamSectors ? endOfChain : 2 + i + 1);
    while (fat.size() < 512)
        put32(fat, freeSector);

    const auto entry = [](const std::u16string& name, uint8_t type, uint32_t child, uint32_t start,
                          uint32_t size) {
        Bytes e;
        for (char16_t c : name)
            put16(e, c);
        e.resize(64, 0);
        put16(e, name.empty() ? 0 : static_cast<uint32_t>((name.size() + 1) * 2));
        e.push_back(type);
        e.push_back(1); // black
        put32(e, 0xFFFFFFFF);
        put32(e, 0xFFFFFFFF);
        put32(e, child);
        e.resize(116, 0);
        put32(e, start);
        put32(e, size);
        put32(e, 0);
        return e;
    };
    Bytes directory;
    for (const Bytes& e :
         {entry(u"Root Entry", 5, 1, endOfChain, 0), entry(u"Workbook", 2, 0xFFFFFFFF, 2, streamSize),
          entry(u"", 0, 0xFFFFFFFF, 0, 0), entry(u"", 0, 0xFFFFFFFF, 0, 0)})
        directory.insert(directory.end(), e.begin(), e.end());

    std::ofstream out(path, std::ios::binary);
    for (const Bytes* part : {&header, &fat, &directory, &stream})
        out.write(reinterpret_cast<const char*>(part->data()), static_cast<std::streamsize>(part->size()));
    return static_cast<bool>(out);
}

} // namespace kalvar::testing

// Fuzzes the .xlsx reader: any input must end in a workbook or a WorkbookError naming the file,
// never a crash, a hang or unbounded memory. An input that starts like a zip archive is read as it
// is; any other is taken as parts ("@@name" lines, each followed by the part's text) and packed
// first, uncompressed, so that the mutations reach the XML instead of breaking checksums.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <zip.h>

#include "XlsxReader.h"
#include "workbook_input.h"

namespace {

std::vector<uint8_t> packParts(std::string_view text) {
    std::vector<uint8_t> out;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* zip = buffer ? zip_open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
    if (!zip) std::abort();
    zip_source_keep(buffer);
    std::vector<std::string> texts; // the sources point into these until the archive closes
    texts.reserve(text.size() / 3 + 1);
    size_t at = text.find("@@");
    while (at != std::string_view::npos) {
        const size_t nameEnd = text.find('\n', at);
        if (nameEnd == std::string_view::npos) break;
        const std::string name(text.substr(at + 2, nameEnd - at - 2));
        const size_t content = nameEnd + 1;
        const size_t next = text.substr(content, 2) == "@@" ? nameEnd : text.find("\n@@", content);
        texts.emplace_back(text.substr(content, next == std::string_view::npos ? next : next - content));
        zip_source_t* part = zip_source_buffer(zip, texts.back().data(), texts.back().size(), 0);
        const zip_int64_t index = part ? zip_file_add(zip, name.c_str(), part, ZIP_FL_OVERWRITE) : -1;
        if (index < 0) {
            if (part) zip_source_free(part);
        } else {
            zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
        }
        at = next == std::string_view::npos ? next : next + 1;
    }
    if (zip_close(zip) != 0) {
        zip_discard(zip);
        zip_source_free(buffer);
        return out;
    }
    if (zip_source_open(buffer) == 0) {
        zip_stat_t st;
        if (zip_source_stat(buffer, &st) == 0 && (st.valid & ZIP_STAT_SIZE)) {
            out.resize(st.size);
            if (zip_source_read(buffer, out.data(), st.size) != static_cast<zip_int64_t>(st.size))
                out.clear();
        }
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> packed;
    if (!(size >= 2 && data[0] == 'P' && data[1] == 'K')) {
        packed = packParts(std::string_view(reinterpret_cast<const char*>(data), size));
        data = packed.data();
        size = packed.size();
    }
    const kalvar::fuzz::MemoryFile file(data, size);
    try {
        (void)kalvar::readXlsx(file.path());
    } catch (const kalvar::WorkbookError& e) {
        if (e.number != kalvar::fileNotFoundError &&
            std::string_view(e.what()).find(file.path()) == std::string_view::npos)
            std::abort(); // every failure names the file
    }
    return 0;
}

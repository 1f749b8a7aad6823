// Fuzzes the .xls reader: any input must end in a workbook or a WorkbookError naming the file,
// never a crash, a hang or unbounded memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "XlsReader.h"
#include "workbook_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const kalvar::fuzz::MemoryFile file(data, size);
    try {
        (void)kalvar::readXls(file.path());
    } catch (const kalvar::WorkbookError& e) {
        if (e.number != kalvar::fileNotFoundError &&
            std::string_view(e.what()).find(file.path()) == std::string_view::npos)
            std::abort(); // every failure names the file
    }
    return 0;
}

// Fuzzes task reading and the whole calculation: any input must end in a result or a task
// error, never a crash, a hang, or a non-finite number written into a box.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "number_text.h"
#include "task.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string task(reinterpret_cast<const char*>(data), size);
    try {
        const auto result = kalvar::runTask(task, "/nonexistent");
        (void)result.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    } catch (const kalvar::TaskError&) {
    }
    if (kalvar::nonFiniteWrites() != 0) std::abort();
    return 0;
}

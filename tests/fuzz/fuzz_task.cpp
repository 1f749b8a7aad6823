// Fuzzes task reading, the whole calculation and its summary: any input must end in a result or a task
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
        const kalvar::TaskRun run = kalvar::runTask(task, "/nonexistent", true);
        (void)run.result.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        (void)kalvar::summaryText(run.summaries, run.result);
    } catch (const kalvar::TaskError&) {
    }
    if (kalvar::nonFiniteWrites() != 0) std::abort();
    return 0;
}

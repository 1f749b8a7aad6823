#pragma once
// The variants of a task: for every window its "Расчет" calculates, every layout sized side by
// side (calc/variants.h), filtered and sorted as `kalvar-cli variants` prints them, as JSON or CSV.
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "variants.h"

namespace kalvar {

// The CSV columns, in order; each may also name the sort key.
inline constexpr const char* variantColumns[] = {
    "window",          "designation",     "series", "passes",       "units",       "plates",
    "surface",         "margin",          "k",      "loss_heating", "loss_heated", "velocity_heating",
    "velocity_heated", "nozzle_velocity", "weight", "limit",        "chosen"};

struct VariantOptions {
    std::optional<WindowId> window;  // only this window
    std::string sortKey = "surface"; // a column; ascending, or descending with a leading "-"
    bool all = false;                // also the variants that break a limit
};

struct TaskVariants {
    UnitSettings units;
    std::vector<WindowVariants> windows; // filtered and sorted
};

// The window a task-format key names ("heating", "hotWater", "ventilation"), or nullopt.
std::optional<WindowId> windowOfKey(const std::string& key);
// True when `key`, less a leading "-", is one of the columns.
bool isVariantSortKey(const std::string& key);

// Runs the task's "Расчет" and sizes the variants of its windows; throws TaskError (task.h) for a
// task that cannot run.
TaskVariants taskVariants(const std::string& taskText, const std::string& workDir,
                          const VariantOptions& options);

// {"units": {...}, "heating": [variant, …], …}: each variant its `series`, `passes`, `units`,
// `limit` (null within every limit), `chosen`, `totalSurface` and `totalWeight` (of all units) and
// the named results of the window for it (of one unit, as the window shows them).
nlohmann::ordered_json variantsJson(const TaskVariants& variants);
nlohmann::ordered_json variantJson(const Variant& variant);
// A header and one row per variant, numbers at full precision; `surface` and `weight` of all units.
std::string variantsCsv(const TaskVariants& variants);

} // namespace kalvar

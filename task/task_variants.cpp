#include "task_variants.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "batch.h"
#include "startup.h"
#include "task.h"
#include "task_file.h"
#include "task_results.h"

namespace kalvar {

namespace {

using Json = nlohmann::ordered_json;

// A column's value of a variant: a number, a text, or null when the variant has none.
Json columnValue(const Variant& v, const std::string& column, WindowId window) {
    const WindowResults& r = v.results;
    if (column == "window") return windowKey(window);
    if (column == "designation") return r.designation;
    if (column == "series") return v.series;
    if (column == "passes") return v.passes;
    if (column == "units") return v.units;
    if (column == "plates") return r.plateCount;
    if (column == "surface") return v.totalSurface();
    if (column == "margin") return r.margin ? Json(*r.margin) : Json(nullptr);
    if (column == "k") return r.k;
    if (column == "loss_heating") return r.heatingSide.loss;
    if (column == "loss_heated") return r.heatedSide.loss;
    if (column == "velocity_heating") return r.heatingSide.velocity;
    if (column == "velocity_heated") return r.heatedSide.velocity;
    if (column == "nozzle_velocity") return std::max(r.heatingNozzleVelocity, r.heatedNozzleVelocity);
    if (column == "weight") return v.totalWeight() ? Json(*v.totalWeight()) : Json(nullptr);
    if (column == "limit") return v.limit;
    if (column == "chosen") return v.chosen ? 1 : 0;
    return nullptr;
}

// Ascending by the key, a variant without a value last; ties keep the order of the layouts.
void sortVariants(std::vector<Variant>& variants, const std::string& sortKey, WindowId window) {
    const bool descending = !sortKey.empty() && sortKey[0] == '-';
    const std::string column = descending ? sortKey.substr(1) : sortKey;
    std::stable_sort(variants.begin(), variants.end(), [&](const Variant& a, const Variant& b) {
        const Json x = columnValue(a, column, window), y = columnValue(b, column, window);
        if (x.is_null() || y.is_null()) return !x.is_null() && y.is_null();
        return descending ? y < x : x < y;
    });
}

std::string csvValue(const Json& value) {
    if (value.is_null()) return "";
    if (value.is_string()) return value.get<std::string>();
    if (value.is_number_float() && !std::isfinite(value.get<double>())) return "";
    return value.dump();
}

} // namespace

std::optional<WindowId> windowOfKey(const std::string& key) {
    for (WindowId id : {WindowId::Heating, WindowId::HotWater, WindowId::Ventilation})
        if (key == windowKey(id)) return id;
    return std::nullopt;
}

bool isVariantSortKey(const std::string& key) {
    const std::string column = !key.empty() && key[0] == '-' ? key.substr(1) : key;
    return std::find(std::begin(variantColumns), std::end(variantColumns), column) !=
           std::end(variantColumns);
}

TaskVariants taskVariants(const std::string& taskText, const std::string& workDir,
                          const VariantOptions& options) {
    const TaskRun run = runTask(taskText, workDir, false, true);
    TaskVariants out;
    out.units = run.inputs->windows.units;
    for (WindowVariants& table : sessionVariants(*run.inputs, pressedLimitAnswers(run.limitAnswers))) {
        if (options.window && table.window != *options.window) continue;
        if (!options.all) std::erase_if(table.variants, [](const Variant& v) { return !v.withinLimits(); });
        sortVariants(table.variants, options.sortKey, table.window);
        out.windows.push_back(std::move(table));
    }
    // A window the task does not calculate has no variants: an empty list, not a missing one.
    if (options.window && out.windows.empty()) out.windows.push_back(WindowVariants{*options.window, {}});
    return out;
}

Json variantJson(const Variant& v) {
    Json out = Json{{"series", v.series}, {"passes", v.passes},
                    {"units", v.units},   {"limit", v.limit.empty() ? Json(nullptr) : Json(v.limit)},
                    {"chosen", v.chosen}, {"totalSurface", v.totalSurface()}};
    if (v.totalWeight()) out["totalWeight"] = *v.totalWeight();
    const Json results = windowResultsJson(v.results);
    for (const auto& [key, value] : results.items())
        if (key != "series" && key != "passes" && key != "unitsInParallel") out[key] = value;
    return out;
}

Json variantsJson(const TaskVariants& variants) {
    Json out = Json::object();
    out["units"] = Json{{"heat", variants.units.heatInGcalPerHour ? "Гкал/ч" : "кВт"},
                        {"flow", variants.units.flowInM3PerHour ? "м3/ч" : "л/с"},
                        {"pressure", variants.units.pressureInKPa ? "кПа" : "атм"}};
    for (const WindowVariants& table : variants.windows) {
        Json list = Json::array();
        for (const Variant& v : table.variants)
            list.push_back(variantJson(v));
        out[windowKey(table.window)] = list;
    }
    return out;
}

std::string variantsCsv(const TaskVariants& variants) {
    std::string out = csvRow(std::vector<std::string>(std::begin(variantColumns), std::end(variantColumns)));
    for (const WindowVariants& table : variants.windows)
        for (const Variant& v : table.variants) {
            std::vector<std::string> fields;
            for (const char* column : variantColumns)
                fields.push_back(csvValue(columnValue(v, column, table.window)));
            out += csvRow(fields);
        }
    return out;
}

} // namespace kalvar

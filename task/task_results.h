#pragma once
// The "results" object of a task's result: the quantities of every window the calculation ran, as
// numbers at full precision, named as the named task format names them.
#include <nlohmann/json.hpp>

#include "window_results.h"

namespace kalvar {

class Calculator;
struct WindowSet;
struct UnitSettings;
enum class WindowId;

// The task-format name of a calculation window: "heating", "hotWater" or "ventilation".
const char* windowKey(WindowId id);

// The units a set of windows shows, as the tasks' "units" names them.
nlohmann::ordered_json unitsJson(const UnitSettings& units);

// One window's results. A quantity the calculation did not compute is absent; no value is NaN.

nlohmann::ordered_json windowResultsJson(const WindowResults& results);

// {"units": {...}, "heating": {...}, "hotWater": {...}, "ventilation": {...}}: every window the last
// "Расчет" of `calculator` began, null for one it stopped with a message.
nlohmann::ordered_json taskResultsJson(const Calculator& calculator, const WindowSet& windows);

} // namespace kalvar

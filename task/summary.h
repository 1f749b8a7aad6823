#pragma once
// The readable result of a task: for every window the calculation ran, the quantities an engineer
// looks at, with the texts the windows show and the units the task chose; then the messages and
// limit dialogs. The same rows make the CSV of a batch.
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "window_model.h"

namespace kalvar {

struct Session;

// One quantity of a summary: a single value, one per medium (heating, heated), or several parts
// (the dimensions).
struct SummaryRow {
    std::string key;   // CSV column, or prefix of the columns "<key>_<part>"
    std::string label; // what the readable summary calls it
    std::string unit;
    std::vector<std::string> values; // "" where the window shows nothing
    std::vector<std::string> parts;  // names of the values when more than one: "heating", "heated", …
};

struct WindowSummary {
    WindowId id = WindowId::Heating;
    std::string window;      // "Form2"
    std::string title;       // "Отопление"
    std::string designation; // Text1
    std::string heatUnit, flowUnit, pressureUnit;
    std::vector<SummaryRow> rows;
};

// The summary of one calculated window. The pipe rows are those Form12 shows when this window fills
// it, so the session's Form12 is filled from the window: call it after the result is taken.
WindowSummary summariseWindow(Session& session, CalcWindow& window);

// Replaces the values of the summary's rows by the full-precision numbers of the window's entry of
// a result's "results" object (null for a window stopped with a message: no numbers); the rows the
// results do not hold (the nozzle size, the valve's pressure drop as typed) keep their texts.
void useResultNumbers(WindowSummary& summary, const nlohmann::ordered_json& windowResults);

// The readable text: the windows' blocks, then the messages and limit dialogs of the result.
std::string summaryText(const std::vector<WindowSummary>& windows, const nlohmann::ordered_json& result);

// The texts of the result's messages and limit dialogs, one line each.
std::vector<std::string> messageLines(const nlohmann::ordered_json& result);
std::vector<std::string> limitDialogLines(const nlohmann::ordered_json& result);

} // namespace kalvar

#pragma once
// One description per heat-supply system: its names wherever the program shows them, the
// calculation windows it shows and the order "Расчет" takes them in, the columns and sheets of its
// report and its print preset. Every part of the program that differs by system reads it here.
#include <span>

#include "calc_state.h"
#include "window_model.h"

namespace kalvar {

// What the second-stage inputs of the hot-water window (the section loss limit, the bore and the
// velocity of the pipe between the sections) do when the system is picked.
enum class SecondStageInputs { Unchanged, Shown, Hidden };

// An exchanger of the report: its window, its column of the calculation sheet and its description
// sheet (2 is the first sheet after the calculation sheet).
struct ReportColumn {
    WindowId window;
    int column;
    int sheet;
};

struct SystemDescription {
    SystemKind kind;
    const char* taskName; // its name in the named task files: "heating", "twoStageMixed", …
    const char* caption; // in the main window's caption: "Пластинчатый теплообменник - [caption]"
    const char* menuCaption;               // the main window's "система" menu
    const char* menuObjectName;            // that menu item's object name
    bool separatorBefore;                  // the "система" menu starts a group with it
    const char* panelCaption;              // the item of the main panel's "Система" menu
    int panelItem;                         // its position in that menu
    const char* reportName;                // the scheme named on the report's calculation sheet
    std::span<const WindowId> windows;     // the windows shown, from the top of the main window down
    std::span<const WindowId> sizingOrder; // the order "Расчет" sizes them in
    // The hot-water exchanger is sized in two sections on the return water of the windows sized
    // before it in `sizingOrder`.
    bool twoStageHotWater;
    SecondStageInputs secondStage;
    std::span<const ReportColumn> reportColumns; // also the description sheets, in this order
    // The single window of a one-exchanger system, which "Расчет" calculates; null for a scheme.
    const WindowId* singleWindow;

    bool shows(WindowId id) const;
};

// The systems in kind order 1..8.
std::span<const SystemDescription> systemDescriptions();
// The description of a kind 1..8; null for any other number.
const SystemDescription* findSystem(int kind);
// The description of a kind 1..8 (the heating system for any other number).
const SystemDescription& describeSystem(int kind);

} // namespace kalvar

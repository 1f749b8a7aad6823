#pragma once
// Start-up of the calculation side of the main window, and the system handlers that arrange the
// calculation windows for a heat-supply system.
#include <string>

#include "calc_state.h"
#include "window_model.h"

namespace kalvar {

// The main window's calculation state and the windows it calculates, as start-up leaves them.
struct Session {
    CalcState state;
    WindowSet windows;
};

// Remembers the working directory, loads the catalogue, makes the heating system current and
// prepares Form12 with its pipe lists.
void startUp(Session& session, const std::string& workDir);

// The system handler of a kind 1..8: which windows are shown, the second-stage inputs of the
// hot-water window, the main caption, `currentWindow` for the single-exchanger systems.
void selectSystem(Session& session, int kind);

// The main-window caption of a system kind.
std::string systemCaption(int kind);

} // namespace kalvar

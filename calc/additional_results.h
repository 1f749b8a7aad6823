#pragma once
// The additional-results window Form12 as the calculation windows fill it: the copy of a window's
// secondary results, its two views, and the refresh after "Расчет". Placing and showing the window
// is the desktop's job.
#include <optional>

#include "startup.h"
#include "window_results.h"

namespace kalvar {

// What ticking a window's `Check1` copies into Form12: dimensions, channel geometry, nozzle size
// with the pipe lists chosen from it, media properties and transfer numbers, the valve, the
// drawing and its legend; then the geometric view, and `currentWindow` := window.
void fillAdditionalResults(Session& session, CalcWindow& window);

// `Command1`: the geometric view (pipes, valve, dimensions, drawing) on light cyan.
void selectGeometricView(AdditionalResultsWindow& form12);
// `Command2`: the thermophysical view (the property grid) on light yellow.
void selectThermophysicalView(AdditionalResultsWindow& form12);

// After "Расчет": every calculation window whose `Check1` is ticked fills Form12 again, in the
// order Form1, Form2, Form3.
void refreshTickedAdditionalResults(Session& session);

// The velocity Form12 shows in a pipe of that bore (mm) for one side of `window`: from the flow the
// window shows, in m/s; nullopt when the window shows no flow.
std::optional<double> shownPipeVelocity(const WindowSet& windows, const CalcWindow& window, int bore,
                                        bool heatingSide);

// The pipe of one side that Form12 shows when `window` fills it: the bore its nozzle asks for (else
// the list's entry) and its velocity; nullopt when no bore is chosen.
std::optional<PipeResults> shownPipe(const WindowSet& windows, const CalcWindow& window, bool heatingSide);

} // namespace kalvar

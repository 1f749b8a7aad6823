#pragma once
// Variants: every layout of one calculation window — plate series, passes, units in parallel — that
// the sizing accepts with the window's other inputs unchanged, side by side. Each is sized as
// picking it in the window's "Компоновка" lists and pressing "Расчет" would size it, with the limit
// dialog answered "Продолжить": a layout that breaks a limit is still sized and carries the
// dialog's reason. A layout whose sizing stops with a message is no variant.
//
// The session given is never changed: the sizings run on a copy of its windows and state, so the
// session may be as a task or the user left it, before or after its own "Расчет".
#include <optional>
#include <string>
#include <vector>

#include "calc_ui.h"
#include "window_model.h"
#include "window_results.h"

namespace kalvar {

struct Session;

// The layouts tried: the four series of the catalogue, 1 to 3 passes, 1 to 8 units in parallel.
inline constexpr int variantSeriesCount = 4;
inline constexpr int variantMaxPasses = 3;
inline constexpr int variantMaxUnits = 8;

struct Variant {
    int series = 0; // 1..4: the series list's entry (Combo1 index + 1)
    int passes = 0; // 1..3: the pass list's entry (Combo2 index + 1)
    int units = 0;  // 1..8: units in parallel (Combo3 index + 1)
    // The limits its exchanger breaks, as the limit dialog names them ("Колличество пластин выше
    // допустимого…" for the frame's plates per pass, "Слишком большая скорость в патрубке…"), joined
    // by "; "; empty within every limit. Every limit a dialog of its sizing named is among them; so
    // is one the search no longer tested once "Продолжить" was answered.
    std::string limit;
    // The layout the window's own "Расчет" picked (its automatic search, or its fixed picks).
    bool chosen = false;
    // What the window shows for this layout; `results.series`, `.passes`, `.unitsInParallel` are the
    // fields above.
    WindowResults results;

    bool withinLimits() const { return limit.empty(); }
    // Of all units together (the window shows one unit's): what the alternatives are weighed by.
    double totalSurface() const { return results.surface * units; }
    std::optional<double> totalWeight() const {
        if (!results.weight) return std::nullopt;
        return *results.weight * units;
    }
};

struct WindowVariants {
    WindowId window = WindowId::Heating;
    std::vector<Variant> variants; // by series, then passes, then units
};

// The variants of every window the session's "Расчет" calculates, in the order it takes them.
// `limitAnswers` answers, in order, the limit dialogs of that "Расчет" itself, which picks the
// chosen layouts (as a task's "limitAnswers"); "Продолжить" answers any after them.
//
// Which layouts are tried follows the window's "Расчет": a window that is rated (its plate count
// given) rates each layout with that plate count (a rating shows no limit dialog: its exchanger is
// tested the same way as a sized one); the hot-water exchanger of a
// two-stage scheme always has
// two passes in its first section, so only its two-pass layouts are tried, with the return water of
// the windows sized before it.
std::vector<WindowVariants> sessionVariants(const Session& session,
                                            const std::vector<LimitDialogAnswers>& limitAnswers = {});

// The variants of one window; empty when the session's "Расчет" does not calculate it.
std::vector<Variant> windowVariants(const Session& session, WindowId window,
                                    const std::vector<LimitDialogAnswers>& limitAnswers = {});

} // namespace kalvar

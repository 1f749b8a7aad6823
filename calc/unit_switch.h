#pragma once
// The display units of the main panel's "Размерность" menu: a pick converts the numbers already
// standing in the affected boxes of the three calculation windows (and Form12's valve drop),
// rewrites their unit labels and records the choice the calculation reads.
#include <string_view>

#include "window_model.h"

namespace kalvar {

// Applies a picked unit caption: "Гкал/ч", "кВт", "м3/ч", "л/с", "кПа" or "атм". Returns false,
// changing nothing, for any other caption. The desktop then mirrors `windows.units` into the
// menu's check marks.
bool switchUnit(WindowSet& windows, std::string_view pickedCaption);

} // namespace kalvar

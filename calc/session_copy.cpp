#include "session_copy.h"

namespace kalvar {

namespace {

// The public fields only: the change handlers stay those of `to`'s session.
void copyControl(const Control& from, Control& to) {
    to.kind = from.kind;
    to.text = from.text;
    to.items = from.items;
    to.listIndex = from.listIndex;
    to.value = from.value;
    to.visible = from.visible;
    to.enabled = from.enabled;
    to.locked = from.locked;
    to.bold = from.bold;
    to.backColor = from.backColor;
    to.foreColor = from.foreColor;
    to.toolTip = from.toolTip;
}

#define KALVAR_COPY_CONTROL(member, ...) copyControl(from.member, to.member);

void copyCalcWindow(const CalcWindow& from, CalcWindow& to) {
    to.name = from.name;
    to.caption = from.caption;
    to.visible = from.visible;
    to.backColor = from.backColor;
    KALVAR_CALC_WINDOW_CONTROLS(KALVAR_COPY_CONTROL)
    KALVAR_SECOND_STAGE_CONTROLS(KALVAR_COPY_CONTROL)
}

void copyAdditionalResults(const AdditionalResultsWindow& from, AdditionalResultsWindow& to) {
    if (from.loaded()) to.ensureLoaded();
    to.name = from.name;
    to.visible = from.visible;
    to.geometricView = from.geometricView;
    to.backColor = from.backColor;
    KALVAR_ADDITIONAL_RESULTS_CONTROLS(KALVAR_COPY_CONTROL)
}

#undef KALVAR_COPY_CONTROL

// The window of `to` that stands where `window` stands in `from`.
CalcWindow* counterpart(const WindowSet& from, WindowSet& to, const CalcWindow* window) {
    if (window == &from.ventilation) return &to.ventilation;
    if (window == &from.heating) return &to.heating;
    if (window == &from.hotWater) return &to.hotWater;
    return nullptr;
}

} // namespace

void copySession(const Session& from, Session& to) {
    const WindowSet& a = from.windows;
    WindowSet& b = to.windows;
    copyCalcWindow(a.ventilation, b.ventilation);
    copyCalcWindow(a.heating, b.heating);
    copyCalcWindow(a.hotWater, b.hotWater);
    copyAdditionalResults(a.additionalResults, b.additionalResults);
    b.mainCaption = a.mainCaption;
    b.units = a.units;
    b.decimalSeparator = a.decimalSeparator;
    to.state = from.state;
    to.state.currentWindow = counterpart(a, b, from.state.currentWindow);
}

} // namespace kalvar

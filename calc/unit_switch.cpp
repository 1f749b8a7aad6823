#include "unit_switch.h"

#include <cmath>

#include "number_text.h"

namespace kalvar {

namespace {

enum class Quantity { Heat, Flow, Pressure };

struct UnitPick {
    const char* caption;
    Quantity quantity;
    bool first;    // the first unit of its menu, the start-up one
    double factor; // each box value is multiplied by it
    int decimals;  // of the result pattern
};

// The factors as the menu has always used them (0.277777778, not 1/3.6).
// clang-format off
constexpr UnitPick picks[] = {
    {"кВт",    Quantity::Heat,     false, 1163.223525, 2},
    {"Гкал/ч", Quantity::Heat,     true,  1163.223525, 3},
    {"л/с",    Quantity::Flow,     false, 0.277777778, 3},
    {"м3/ч",   Quantity::Flow,     true,  0.277777778, 2},
    {"атм",    Quantity::Pressure, false, 100,         3},
    {"кПа",    Quantity::Pressure, true,  100,         1},
};
// clang-format on

const UnitPick* findPick(std::string_view caption) {
    for (const UnitPick& pick : picks)
        if (caption == pick.caption) return &pick;
    return nullptr;
}

// "кВт", "л/с" and "кПа" multiply by the factor, their partners divide by it.
bool multiplies(const UnitPick& pick) {
    return pick.quantity == Quantity::Pressure ? pick.first : !pick.first;
}

void convert(const WindowSet& windows, const UnitPick& pick, Control& box) {
    const double value = readNumber(box.text);
    const double converted = multiplies(pick) ? value * pick.factor : value / pick.factor;
    // A number too large for a double keeps its text; the calculation refuses it with a message.
    if (!std::isfinite(converted)) return;
    box.text = windows.format(converted, pick.decimals);
}

} // namespace

bool switchUnit(WindowSet& windows, std::string_view pickedCaption) {
    const UnitPick* pick = findPick(pickedCaption);
    if (pick == nullptr) return false;
    CalcWindow* const calcWindows[] = {&windows.ventilation, &windows.heating, &windows.hotWater};
    const std::string caption(pickedCaption);

    switch (pick->quantity) {
    case Quantity::Heat:
        if (windows.ventilation.heatLoadUnitLabel.text != caption)
            for (CalcWindow* f : calcWindows)
                convert(windows, *pick, f->heatLoad);
        for (CalcWindow* f : calcWindows)
            f->heatLoadUnitLabel.text = caption;
        windows.units.heatInGcalPerHour = pick->first;
        break;
    case Quantity::Flow: {
        const std::string label = pick->first ? "м  /ч" : caption;
        if (windows.ventilation.flowUnitLabel.text != label)
            for (CalcWindow* f : calcWindows)
                for (Control* box : {&f->heatingFlow, &f->heatedFlow, &f->optimalHeatingFlow})
                    convert(windows, *pick, *box);
        for (CalcWindow* f : calcWindows) {
            f->flowUnitLabel.text = label;
            f->flowUnitSuperscript.visible = pick->first;
        }
        windows.units.flowInM3PerHour = pick->first;
        break;
    }
    case Quantity::Pressure: {
        AdditionalResultsWindow& form12 = windows.additionalResults;
        form12.ensureLoaded();
        if (windows.ventilation.lossLimitUnitLabel.text != caption) {
            for (CalcWindow* f : calcWindows)
                for (Control* box :
                     {&f->heatingLossLimit, &f->heatedLossLimit, &f->heatingLoss, &f->heatedLoss})
                    convert(windows, *pick, *box);
            convert(windows, *pick, form12.valvePressureDrop);
        }
        for (CalcWindow* f : calcWindows)
            f->lossLimitUnitLabel.text = caption;
        for (CalcWindow* f : calcWindows)
            f->lossUnitLabel.text = caption;
        form12.valvePressureDropUnitLabel.text = caption;
        windows.units.pressureInKPa = pick->first;
        break;
    }
    }
    return true;
}

} // namespace kalvar

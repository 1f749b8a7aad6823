#include "system_kinds.h"

#include <algorithm>
#include <array>

namespace kalvar {

namespace {

constexpr WindowId hotWater = WindowId::HotWater;
constexpr WindowId heating = WindowId::Heating;
constexpr WindowId ventilation = WindowId::Ventilation;

constexpr std::array hotWaterOnly{hotWater};
constexpr std::array heatingOnly{heating};
constexpr std::array ventilationOnly{ventilation};
constexpr std::array twoWindows{hotWater, heating};
constexpr std::array threeWindows{hotWater, heating, ventilation};

constexpr std::array heatingThenHotWater{heating, hotWater};
constexpr std::array heatingHotWaterVentilation{heating, hotWater, ventilation};
constexpr std::array ventilationHeatingHotWater{ventilation, heating, hotWater};

// The calculation sheet's columns: hot water C, heating E, ventilation G; the description sheets
// follow the windows' order.
constexpr std::array<ReportColumn, 1> hotWaterReport{{{hotWater, 3, 2}}};
constexpr std::array<ReportColumn, 1> heatingReport{{{heating, 5, 2}}};
constexpr std::array<ReportColumn, 1> ventilationReport{{{ventilation, 7, 2}}};
constexpr std::array<ReportColumn, 2> twoWindowReport{{{hotWater, 3, 2}, {heating, 5, 3}}};
constexpr std::array<ReportColumn, 3> threeWindowReport{
    {{hotWater, 3, 2}, {heating, 5, 3}, {ventilation, 7, 4}}};

using enum SecondStageInputs;

// clang-format off
const std::array<SystemDescription, 8> systems{{
    {hotWaterSystem, "hotWater", "Система горячего водоснабжения", "Теплообменник для ГВС", "mnuисход", false,
     "Теплообменник ГВС", 1, "Теплообменник горячего водоснабжения",
     hotWaterOnly, hotWaterOnly, false, Hidden, hotWaterReport, &hotWaterOnly[0]},
    {heatingSystem, "heating", "Система отопления", "Теплообменник для отопления", "mnuтепло", false,
     "Теплообменник отопления", 2, "Теплообменник отопления",
     heatingOnly, heatingOnly, false, Unchanged, heatingReport, &heatingOnly[0]},
    {ventilationSystem, "ventilation", "Система вентиляции", "Теплообменник для вентиляции", "mnuвент", false,
     "Теплообменник вентиляции", 3, "Теплообменник вентиляции",
     ventilationOnly, ventilationOnly, false, Unchanged, ventilationReport, &ventilationOnly[0]},
    {parallelScheme, "parallel", "Параллельная схема", "Параллельная схема", "mnuодин", true,
     "Параллельная схема", 5, "Параллельная схема для 2-х контуров",
     twoWindows, heatingThenHotWater, false, Hidden, twoWindowReport, nullptr},
    {twoStageMixedScheme, "twoStageMixed", "Двухступенчатая смешанная схема", "Двухступенчатая смешанная схема", "mnuдвасмеш", false,
     "Двухступенчатая смешанная схема", 6, "Двухступенчатая смешанная схема",
     twoWindows, heatingThenHotWater, true, Shown, twoWindowReport, nullptr},
    {parallelThreeCircuits, "parallelThreeCircuits", "Параллельная схема для трех контуров", "Параллельная схема для 3-х контуров", "mnuодинсв", true,
     "Параллельная схема для трех контуров", 8, "Параллельная схема для 3-х контуров",
     threeWindows, heatingHotWaterVentilation, false, Hidden, threeWindowReport, nullptr},
    {mixedThreeCircuits, "mixedThreeCircuits", "Смешанная схема для трех контуров", "Смешанная схема для 3-х контуров", "mnuдвасв", false,
     "Смешанная схема для трех контуров", 9, "Смешанная схема для 3-х контуров",
     threeWindows, ventilationHeatingHotWater, true, Shown, threeWindowReport, nullptr},
    {mixedWithParallelVentilation, "mixedWithParallelVentilation", "Смешанная схема с параллельной вентиляцией",
     "Смешанная схема с параллельной вентиляцией", "mnuспв", false,
     "Смешанная схема с параллельной вентиляцией", 10, "Смешанная схема с параллельной вентиляцией",
     threeWindows, heatingHotWaterVentilation, true, Shown, threeWindowReport, nullptr},
}};
// clang-format on

} // namespace

bool SystemDescription::shows(WindowId id) const {
    return std::find(windows.begin(), windows.end(), id) != windows.end();
}

std::span<const SystemDescription> systemDescriptions() {
    return systems;
}

const SystemDescription* findSystem(int kind) {
    if (kind < 1 || kind > static_cast<int>(systems.size())) return nullptr;
    return &systems[kind - 1];
}

const SystemDescription& describeSystem(int kind) {
    const SystemDescription* system = findSystem(kind);
    return system ? *system : systems[heatingSystem - 1];
}

} // namespace kalvar

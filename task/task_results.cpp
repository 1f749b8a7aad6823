#include "task_results.h"

#include <algorithm>
#include <cmath>

#include "calculator.h"

namespace kalvar {

namespace {

using Json = nlohmann::ordered_json;

// A number that is not finite was not computed: it is left out.
void put(Json& object, const char* key, double value) {
    if (std::isfinite(value)) object[key] = value;
}

void put(Json& object, const char* key, const std::optional<double>& value) {
    if (value) put(object, key, *value);
}

Json sideJson(const SideResults& side) {
    Json out = Json::object();
    put(out, "flow", side.flow);
    put(out, "inletTemperature", side.inletTemperature);
    put(out, "outletTemperature", side.outletTemperature);
    put(out, "velocity", side.velocity);
    put(out, "loss", side.loss);
    put(out, "pumpPower", side.pumpPower);
    return out;
}

Json pipeJson(const PipeResults& pipe) {
    Json out = Json{{"bore", pipe.bore}};
    put(out, "velocity", pipe.velocity);
    return out;
}

Json dimensionsJson(const Dimensions& d) {
    Json out = Json::object();
    put(out, "A", d.a);
    put(out, "B", d.b);
    put(out, "C", d.c);
    put(out, "D", d.d);
    put(out, "E", d.e);
    put(out, "F", d.f);
    put(out, "L", d.l);
    return out;
}

} // namespace

Json unitsJson(const UnitSettings& units) {
    return Json{{"heat", units.heatInGcalPerHour ? "Гкал/ч" : "кВт"},
                {"flow", units.flowInM3PerHour ? "м3/ч" : "л/с"},
                {"pressure", units.pressureInKPa ? "кПа" : "атм"}};
}

const char* windowKey(WindowId id) {
    switch (id) {
    case WindowId::HotWater:
        return "hotWater";
    case WindowId::Ventilation:
        return "ventilation";
    default:
        return "heating";
    }
}

Json windowResultsJson(const WindowResults& r) {
    Json out = Json::object();
    out["designation"] = r.designation;
    out["series"] = r.series;
    out["plateCount"] = r.plateCount;
    out["passes"] = r.passes;
    out["unitsInParallel"] = r.unitsInParallel;
    put(out, "heatLoad", r.heatLoad);
    put(out, "k", r.k);
    put(out, "surface", r.surface);
    put(out, "margin", r.margin);
    put(out, "weight", r.weight);
    if (r.dimensions) out["dimensions"] = dimensionsJson(*r.dimensions);
    out["heatingSide"] = sideJson(r.heatingSide);
    out["heatedSide"] = sideJson(r.heatedSide);
    Json optimal = Json::object();
    if (r.optimal) {
        put(optimal, "heatingFlow", r.optimal->heatingFlow);
        put(optimal, "heatingOutletTemperature", r.optimal->heatingOutletTemperature);
    }
    put(optimal, "heatingVelocity", r.optimalHeatingVelocity);
    out["optimal"] = optimal;
    Json nozzle = Json::object();
    if (!r.nozzleSize.empty()) nozzle["size"] = r.nozzleSize;
    put(nozzle, "heatingVelocity", r.heatingNozzleVelocity);
    put(nozzle, "heatedVelocity", r.heatedNozzleVelocity);
    out["nozzle"] = nozzle;
    if (r.heatingPipe || r.heatedPipe) {
        Json pipes = Json::object();
        if (r.heatingPipe) pipes["heating"] = pipeJson(*r.heatingPipe);
        if (r.heatedPipe) pipes["heated"] = pipeJson(*r.heatedPipe);
        out["pipes"] = pipes;
    }
    if (r.valve) {
        Json valve = Json::object();
        put(valve, "nominalDiameter", r.valve->nominalDiameter);
        put(valve, "flowCapacity", r.valve->flowCapacity);
        out["valve"] = valve;
    }
    if (r.secondStage) {
        const SecondStageResults& s = *r.secondStage;
        Json second = Json{{"plateCount", s.plateCount}};
        put(second, "heatingFlow", s.heatingFlow);
        put(second, "heatingVelocity", s.heatingVelocity);
        put(second, "heatingLoss", s.heatingLoss);
        put(second, "lossLimit", s.lossLimit);
        if (s.interstagePipe) second["interstagePipe"] = pipeJson(*s.interstagePipe);
        out["secondStage"] = second;
    }
    return out;
}

Json taskResultsJson(const Calculator& calculator, const WindowSet& windows) {
    Json out = Json::object();
    out["units"] = unitsJson(windows.units);
    const auto& began = calculator.calculatedWindows();
    for (WindowId id : {WindowId::Heating, WindowId::HotWater, WindowId::Ventilation}) {
        if (std::find(began.begin(), began.end(), id) == began.end()) continue;
        const WindowResults* results = calculator.results(id);
        out[windowKey(id)] = results ? windowResultsJson(*results) : Json(nullptr);
    }
    return out;
}

} // namespace kalvar

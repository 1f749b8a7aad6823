#include "summary.h"

#include <algorithm>

#include "additional_results.h"
#include "startup.h"

namespace kalvar {

namespace {

using Json = nlohmann::ordered_json;

std::string titleOf(const CalcWindow& f) {
    switch (f.id) {
    case WindowId::HotWater:
        return "ГВС";
    case WindowId::Heating:
        return "Отопление";
    default:
        return "Вентиляция";
    }
}

// The flow label shows "м  /ч" with a raised "3" beside it.
std::string flowUnitOf(const CalcWindow& f) {
    return f.flowUnitLabel.text == "м  /ч" ? "м3/ч" : f.flowUnitLabel.text;
}

std::string selectedItem(const Control& list) {
    if (list.listIndex < 0 || list.listIndex >= static_cast<int>(list.items.size())) return "";
    return list.items[static_cast<size_t>(list.listIndex)];
}

// Display width in characters: UTF-8 continuation bytes take no column.
size_t columns(const std::string& text) {
    return static_cast<size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string padded(const std::string& text, size_t width) {
    const size_t used = columns(text);
    return used >= width ? text : text + std::string(width - used, ' ');
}

// A value as its cell shows it: "—" for nothing, a line break or tab of a typed text as a blank so
// that the columns hold.
std::string shown(std::string text) {
    if (text.empty()) return "—";
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    return text;
}

// A message text starts with a line break; a summary line shows it in one line.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first);
}

} // namespace

WindowSummary summariseWindow(Session& session, CalcWindow& f) {
    AdditionalResultsWindow& r = session.windows.additionalResults;
    // The pipe velocities are what Form12 shows for this window: nothing stays from another one.
    r.ensureLoaded();
    r.heatingPipeVelocity.text.clear();
    r.heatedPipeVelocity.text.clear();
    fillAdditionalResults(session, f);
    const bool sized = !f.nozzleSize.text.empty();

    WindowSummary out;
    out.id = f.id;
    out.window = f.name;
    out.title = titleOf(f);
    out.designation = f.designationBox.text;
    out.heatUnit = f.heatLoadUnitLabel.text;
    out.flowUnit = flowUnitOf(f);
    out.pressureUnit = f.lossUnitLabel.text;
    const std::string& heat = out.heatUnit;
    const std::string& flow = out.flowUnit;
    const std::string& pressure = out.pressureUnit;
    const std::vector<std::string> sides = {"heating", "heated"};
    // clang-format off
    out.rows = {
        {"heat_load",              "Тепловая нагрузка Q",                   heat,         {f.heatLoad.text}, {}},
        {"flow",                   "Расход G",                              flow,         {f.heatingFlow.text, f.heatedFlow.text}, sides},
        {"inlet_temperature",      "Температура на входе",                  "°C",         {f.heatingInletTemperature.text, f.heatedInletTemperature.text}, sides},
        {"outlet_temperature",     "Температура на выходе",                 "°C",         {f.heatingOutletTemperature.text, f.heatedOutletTemperature.text}, sides},
        {"channel_velocity",       "Скорость в каналах",                    "м/с",        {f.heatingVelocity.text, f.heatedVelocity.text}, sides},
        {"pressure_loss",          "Потери давления",                       pressure,     {f.heatingLoss.text, f.heatedLoss.text}, sides},
        {"pump_power",             "Мощность на прокачку",                  "Вт",         {f.heatingPumpPower.text, f.heatedPumpPower.text}, sides},
        {"optimal_heating_flow",   "Оптимальный расход греющей среды",      flow,         {f.optimalHeatingFlow.text}, {}},
        {"optimal_heating_outlet", "Оптимальная t греющей среды на выходе", "°C",         {f.optimalHeatingOutletTemperature.text}, {}},
        {"k",                      "Коэффициент теплопередачи K",           "Вт/(м2·°C)", {f.heatTransferCoefficient.text}, {}},
        {"surface",                "Площадь поверхности S",                 "м2",         {f.surfaceArea.text}, {}},
        {"margin",                 "Запас поверхности",                     "%",          {f.surfaceMargin.text}, {}},
        {"weight",                 "Масса",                                 "кг",         {f.weight.text}, {}},
        {"plates",                 "Число пластин n",                       "",           {f.plateCount.text}, {}},
        {"dimension",              "Габариты A / L / B / C / E / F",        "мм",
         {f.dimensionA.text, f.lengthL.text, f.dimensionB.text, f.dimensionC.text, f.dimensionE.text, f.dimensionF.text},
         {"a", "l", "b", "c", "e", "f"}},
        {"nozzle",                 "Фланцы (патрубки) Ду",                  "",           {f.nozzleSize.text}, {}},
        {"pipe_bore",              "Трубы Ду",                              "мм",
         {sized ? selectedItem(r.heatingPipeList) : "", sized ? selectedItem(r.heatedPipeList) : ""}, sides},
        {"pipe_velocity",          "Скорость в трубах",                     "м/с",        {r.heatingPipeVelocity.text, r.heatedPipeVelocity.text}, sides},
        {"valve_pressure_drop",    "Перепад давления на клапане",           pressure,     {r.valvePressureDrop.text}, {}},
        {"valve_kvs",              "Клапан Kvs",                            "м3/ч",       {f.valveFlowCapacity.text}, {}},
        {"valve_bore",             "Клапан Ду",                             "мм",         {f.valveNominalDiameter.text}, {}},
    };
    // clang-format on
    return out;
}

namespace {

// Where each numeric row of a summary finds its numbers in a window's results, value by value.
struct ResultPaths {
    const char* key;
    std::vector<const char*> paths;
};

// clang-format off
const ResultPaths resultPaths[] = {
    {"heat_load",              {"/heatLoad"}},
    {"flow",                   {"/heatingSide/flow", "/heatedSide/flow"}},
    {"inlet_temperature",      {"/heatingSide/inletTemperature", "/heatedSide/inletTemperature"}},
    {"outlet_temperature",     {"/heatingSide/outletTemperature", "/heatedSide/outletTemperature"}},
    {"channel_velocity",       {"/heatingSide/velocity", "/heatedSide/velocity"}},
    {"pressure_loss",          {"/heatingSide/loss", "/heatedSide/loss"}},
    {"pump_power",             {"/heatingSide/pumpPower", "/heatedSide/pumpPower"}},
    {"optimal_heating_flow",   {"/optimal/heatingFlow"}},
    {"optimal_heating_outlet", {"/optimal/heatingOutletTemperature"}},
    {"k",                      {"/k"}},
    {"surface",                {"/surface"}},
    {"margin",                 {"/margin"}},
    {"weight",                 {"/weight"}},
    {"plates",                 {"/plateCount"}},
    {"dimension",              {"/dimensions/A", "/dimensions/L", "/dimensions/B", "/dimensions/C", "/dimensions/E", "/dimensions/F"}},
    {"pipe_bore",              {"/pipes/heating/bore", "/pipes/heated/bore"}},
    {"pipe_velocity",          {"/pipes/heating/velocity", "/pipes/heated/velocity"}},
    {"valve_kvs",              {"/valve/flowCapacity"}},
    {"valve_bore",             {"/valve/nominalDiameter"}},
};
// clang-format on

} // namespace

void useResultNumbers(WindowSummary& summary, const Json& windowResults) {
    for (SummaryRow& row : summary.rows) {
        const auto paths = std::find_if(std::begin(resultPaths), std::end(resultPaths),
                                        [&](const ResultPaths& p) { return row.key == p.key; });
        if (paths == std::end(resultPaths)) continue;
        for (size_t i = 0; i < row.values.size() && i < paths->paths.size(); ++i) {
            const Json::json_pointer at(paths->paths[i]);
            const bool held = windowResults.is_object() && windowResults.contains(at);
            // nlohmann writes a double so that it reads back exactly.
            row.values[i] = held ? windowResults.at(at).dump() : "";
        }
    }
}

std::vector<std::string> messageLines(const Json& result) {
    std::vector<std::string> lines;
    for (const Json& m : result["messages"])
        lines.push_back(m["title"].get<std::string>() + ": " + oneLine(m["text"].get<std::string>()));
    return lines;
}

std::vector<std::string> limitDialogLines(const Json& result) {
    std::vector<std::string> lines;
    for (const Json& d : result["limitDialogs"])
        lines.push_back(d["caption"].get<std::string>() + ": " + d["label"].get<std::string>() +
                        " — ответ «" + d["answer"].get<std::string>() + "»");
    return lines;
}

std::string summaryText(const std::vector<WindowSummary>& windows, const Json& result) {
    size_t labelWidth = 0, valueWidth = columns("греющая");
    for (const WindowSummary& w : windows)
        for (const SummaryRow& row : w.rows) {
            labelWidth = std::max(labelWidth, columns(row.label + (row.unit.empty() ? "" : ", " + row.unit)));
            if (row.values.size() <= 2)
                for (const std::string& v : row.values)
                    valueWidth = std::max(valueWidth, columns(shown(v)));
        }
    labelWidth += 2;
    valueWidth += 2;

    std::string out;
    for (const WindowSummary& w : windows) {
        if (!out.empty()) out += "\n";
        out += w.title + " (" + w.window + "): " + shown(w.designation) + "\n";
        size_t previousValues = 1;
        for (const SummaryRow& row : w.rows) {
            // Each run of rows per medium gets the column heads.
            if (row.values.size() == 2 && previousValues != 2)
                out += "  " + padded("", labelWidth) + padded("греющая", valueWidth) + "нагреваемая\n";
            previousValues = row.values.size();
            std::string line =
                "  " + padded(row.label + (row.unit.empty() ? "" : ", " + row.unit), labelWidth);
            if (row.values.size() == 2) {
                line += padded(shown(row.values[0]), valueWidth) + shown(row.values[1]);
            } else {
                for (size_t i = 0; i < row.values.size(); ++i)
                    line += (i > 0 ? " / " : "") + shown(row.values[i]);
            }
            out += line + "\n";
        }
    }
    const auto messages = messageLines(result);
    const auto dialogs = limitDialogLines(result);
    out += "\nСообщения:" + std::string(messages.empty() ? " нет\n" : "\n");
    for (const std::string& m : messages)
        out += "  " + m + "\n";
    out += "Диалоги ограничения:" + std::string(dialogs.empty() ? " нет\n" : "\n");
    for (const std::string& d : dialogs)
        out += "  " + d + "\n";
    return out;
}

} // namespace kalvar

#pragma once
// A table of tasks that reaches every path the results come from: the eight systems, sizing by heat
// load and by heated flow, rating, both unit sets, custom media on either side, automatic and fixed
// layouts, a control valve and the pipe between the two stages now and then.
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kalvar::testing {

enum class TaskMode { ByLoad, ByFlow, Rating };

struct TaskCase {
    std::string label; // names the case in a failure
    std::string task;
};

inline std::string taskCase(int system, TaskMode mode, bool otherUnits, int medium, int layout,
                            int variation) {
    using Json = nlohmann::ordered_json;
    Json task = Json::object();
    task["system"] = system;
    if (otherUnits) task["units"] = Json{{"heat", "кВт"}, {"flow", "л/с"}, {"pressure", "атм"}};
    const bool comma = variation % 2 == 1;
    if (comma) task["decimalSeparator"] = ",";
    Json windows = Json::object();
    for (const char* form : {"Form1", "Form2", "Form3"}) {
        Json c = Json::object();
        // A load each window's default temperatures can carry, a little different per window.
        const double scale = 1 + 0.3 * (form[4] - '1') + 0.15 * (variation % 3);
        const double gcal = 0.2 * scale;
        c["Text30"] = otherUnits ? std::to_string(static_cast<int>(gcal * 1163.2235)) : std::to_string(gcal);
        if (mode == TaskMode::ByFlow) {
            c["Check3"] = 0;
            c["Check2"] = 1;
            c["Text33"] = otherUnits ? std::to_string(1.2 * scale) : std::to_string(4.3 * scale);
        }
        if (medium == 1) {
            c["Combo4"] = 1;
            c["Text11"] = "3600", c["Text12"] = "1030", c["Text13"] = comma ? "1,8" : "1.8",
            c["Text14"] = "0.5";
        } else if (medium == 2) {
            c["Combo7"] = 1;
            c["Text18"] = "3500", c["Text19"] = "1040", c["Text20"] = comma ? "3,2" : "3.2",
            c["Text21"] = "0.45";
        }
        if (layout == 1) {
            c["Combo1"] = 0;
            c["Combo2"] = 3;
        } else if (layout == 2) {
            c["Combo1"] = 1;
            c["Combo2"] = 1;
            c["Combo3"] = 1;
        }
        windows[form] = c;
    }
    if (mode == TaskMode::Rating) {
        const char* rated = system == 1 ? "Form3" : system == 3 ? "Form1" : "Form2";
        windows[rated]["Check3"] = 0;
        windows[rated]["Check5"] = 1;
        windows[rated]["Text38"] = std::to_string(40 + 10 * variation);
        windows[rated]["Combo1"] = layout == 2 ? 1 : variation % 4;
        windows[rated]["Combo2"] = variation % 3;
    }
    if (variation % 2 == 0) windows["Form12"] = Json{{"Text10", comma ? "30,5" : "30.5"}};
    if (variation % 3 == 0) windows["Form3"]["Combo8"] = 4;
    task["windows"] = windows;
    return task.dump();
}

// Every system with every mode and unit set, the media, layouts and variations spread over them.
inline std::vector<TaskCase> taskCorpus(int spread = 4) {
    std::vector<TaskCase> cases;
    int n = 0;
    for (int system = 1; system <= 8; ++system)
        for (TaskMode mode : {TaskMode::ByLoad, TaskMode::ByFlow, TaskMode::Rating})
            for (bool otherUnits : {false, true})
                for (int k = 0; k < spread; ++k, ++n) {
                    const int medium = n % 3, layout = (n / 3) % 3, variation = n % 5;
                    cases.push_back({"system " + std::to_string(system) + ", mode " +
                                         std::to_string(static_cast<int>(mode)) +
                                         (otherUnits ? ", кВт л/с атм" : "") + ", medium " +
                                         std::to_string(medium) + ", layout " + std::to_string(layout) +
                                         ", variation " + std::to_string(variation),
                                     taskCase(system, mode, otherUnits, medium, layout, variation)});
                }
    return cases;
}

} // namespace kalvar::testing

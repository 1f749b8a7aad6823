// The "results" object: every number, formatted with the decimals of the box that shows it, gives
// that box's text, on tasks of every system, mode, unit set and medium; nothing is NaN.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "number_text.h"
#include "task.h"
#include "task_corpus.h"

namespace {

using Json = nlohmann::ordered_json;
using kalvar::formatNumber;
using kalvar::readNumber;

const char* formOf(const std::string& key) {
    return key == "heating" ? "Form2" : key == "hotWater" ? "Form3" : "Form1";
}

// Every number of the object is finite, and no quantity is null.
void expectAllFinite(const Json& value, const std::string& path) {
    if (value.is_object() || value.is_array()) {
        for (const auto& [key, item] : value.items())
            expectAllFinite(item, path + "/" + key);
        return;
    }
    EXPECT_FALSE(value.is_null()) << path;
    if (value.is_number_float()) {
        EXPECT_TRUE(std::isfinite(value.get<double>())) << path;
    }
}

class ShownAs {
  public:
    ShownAs(const Json& window, const std::string& separator) : window_(window), separator_(separator) {}

    // The box shows the number with that many decimals.
    void computed(const Json& number, int decimals, const char* box) const {
        ASSERT_TRUE(number.is_number()) << box;
        EXPECT_EQ(formatNumber(number.get<double>(), decimals, separator_), text(box)) << box;
    }
    // The box holds what the task typed; the number is what the calculation read from it (a float
    // field holds it to float precision).
    void typed(const Json& number, const char* box) const {
        ASSERT_TRUE(number.is_number()) << box;
        const double read = readNumber(text(box));
        EXPECT_NEAR(number.get<double>(), read, 1e-6 * std::fabs(read)) << box;
    }
    // A number the results leave out is a box the calculation left empty.
    void optional(const Json& parent, const char* key, int decimals, const char* box) const {
        if (parent.contains(key))
            computed(parent[key], decimals, box);
        else
            EXPECT_EQ(text(box), "") << box;
    }
    std::string text(const char* box) const { return window_.at(box).get<std::string>(); }

  private:
    const Json& window_;
    std::string separator_;
};

TEST(TaskResults, EveryNumberGivesTheTextItsBoxShows) {
    int windowsChecked = 0, ratings = 0, twoStage = 0, stopped = 0;
    for (const auto& [label, task] : kalvar::testing::taskCorpus()) {
        SCOPED_TRACE(label + ": " + task);
        const kalvar::TaskRun run = kalvar::runTask(task, ".", true);
        const Json& result = run.result;
        ASSERT_TRUE(result.contains("results"));
        const Json& results = result["results"];
        const Json given = Json::parse(task);
        const std::string separator = given.value("decimalSeparator", ".");
        const bool kW = results["units"]["heat"] == "кВт", atm = results["units"]["pressure"] == "атм";
        for (const auto& [key, r] : results.items()) {
            if (key == "units") continue;
            if (r.is_null()) {
                ++stopped;
                EXPECT_FALSE(result["messages"].empty()) << key << " has no results and no message";
                continue;
            }
            SCOPED_TRACE(key);
            expectAllFinite(r, key);
            ++windowsChecked;
            const Json& texts = result["windows"][formOf(key)];
            const ShownAs shown(texts, separator);
            const bool rating = texts["Check5"] == 1, byFlow = texts["Check2"] == 1;
            ratings += rating;
            EXPECT_EQ(r["designation"], texts["Text1"]);
            EXPECT_EQ(std::to_string(r["plateCount"].get<int>()), shown.text("Text38"));
            if (texts["Combo1"] != 5) {
                EXPECT_EQ(r["series"], texts["Combo1"].get<int>() + 1); // not "Автовыбор"
            }
            if (rating || byFlow)
                shown.computed(r["heatLoad"], kW ? 2 : 4, "Text30");
            else
                shown.typed(r["heatLoad"], "Text30");
            shown.computed(r["k"], 1, "Text26");
            shown.computed(r["surface"], 2, "Text27");
            shown.optional(r, "margin", 2, "Text28");
            EXPECT_EQ(rating, !r.contains("margin"));
            shown.computed(r["weight"], 0, "Text29");
            const Json& d = r.at("dimensions");
            shown.computed(d["A"], 0, "Text50");
            shown.computed(d["L"], 0, "Text56");
            shown.computed(d["B"], 0, "Text52");
            for (auto [part, box] :
                 {std::pair{"C", "Text45"}, {"D", "Text46"}, {"E", "Text48"}, {"F", "Text51"}})
                if (d.contains(part)) shown.computed(d[part], 0, box);

            const Json &heating = r["heatingSide"], &heated = r["heatedSide"];
            shown.computed(heating["flow"], 3, "Text31");
            if (rating || !byFlow)
                shown.computed(heated["flow"], 3, "Text33");
            else
                shown.typed(heated["flow"], "Text33");
            for (auto [side, inlet, outlet] :
                 {std::tuple{&heating, "Text2", "Text4"}, {&heated, "Text3", "Text5"}}) {
                shown.typed((*side)["inletTemperature"], inlet);
                shown.typed((*side)["outletTemperature"], outlet);
            }
            shown.computed(heating["velocity"], 3, "Text34");
            shown.computed(heated["velocity"], 3, "Text35");
            shown.computed(heating["loss"], atm ? 3 : 1, "Text36");
            shown.computed(heated["loss"], atm ? 3 : 1, "Text37");
            shown.computed(heating["pumpPower"], 1, "Text54");
            shown.computed(heated["pumpPower"], 1, "Text55");

            const Json& optimal = r["optimal"];
            shown.optional(optimal, "heatingFlow", 3, "Text47");
            shown.optional(optimal, "heatingOutletTemperature", 1, "Text32");
            shown.computed(optimal["heatingVelocity"], 3, "Text49");
            EXPECT_EQ(r["nozzle"]["size"], texts["Text58"]);
            shown.optional(r.value("valve", Json::object()), "nominalDiameter", 0, "Text8");
            shown.optional(r.value("valve", Json::object()), "flowCapacity", 1, "Text9");

            // The pipes as Form12 shows them when this window fills it.
            const auto summary = std::find_if(run.summaries.begin(), run.summaries.end(),
                                              [&](const auto& s) { return s.window == formOf(key); });
            ASSERT_NE(summary, run.summaries.end());
            for (const auto& row : summary->rows) {
                if (row.key != "pipe_bore" && row.key != "pipe_velocity") continue;
                for (size_t side = 0; side < 2; ++side) {
                    const Json& pipe = r.at("pipes").at(side == 0 ? "heating" : "heated");
                    if (row.key == "pipe_bore")
                        EXPECT_EQ(std::to_string(pipe["bore"].get<int>()), row.values[side]);
                    else
                        EXPECT_EQ(formatNumber(pipe["velocity"].get<double>(), 2, separator),
                                  row.values[side]);
                }
            }

            if (r.contains("secondStage")) {
                ++twoStage;
                const Json& second = r["secondStage"];
                const std::string designation = r["designation"];
                EXPECT_EQ(designation.substr(designation.rfind('/') + 1),
                          std::to_string(second["plateCount"].get<int>()));
                if (second.contains("interstagePipe"))
                    shown.computed(second["interstagePipe"]["velocity"], 2, "Text67");
                else
                    EXPECT_EQ(shown.text("Text67"), "");
            }
        }
    }
    // The corpus reaches what it is for.
    EXPECT_GT(windowsChecked, 200);
    EXPECT_GT(ratings, 10);
    EXPECT_GT(twoStage, 10);
    EXPECT_GT(stopped, 0);
}

TEST(TaskResults, WindowsTheCalculationDidNotRunAreAbsentAndStoppedOnesNull) {
    const Json result = kalvar::runTask(R"({"system": 4, "windows": {"Form3": {"Text2": "300"}}})", ".");
    const Json& results = result["results"];
    EXPECT_EQ(results["units"], (Json{{"heat", "Гкал/ч"}, {"flow", "м3/ч"}, {"pressure", "кПа"}}));
    EXPECT_TRUE(results["heating"].is_object());
    EXPECT_TRUE(results["hotWater"].is_null());
    EXPECT_FALSE(results.contains("ventilation"));
    // The first three keys stay as they were.
    EXPECT_EQ(result.begin().key(), "windows");
    EXPECT_EQ(std::next(result.begin()).key(), "messages");
    EXPECT_EQ(std::next(result.begin(), 2).key(), "limitDialogs");
}

} // namespace

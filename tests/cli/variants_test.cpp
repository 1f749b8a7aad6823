// Variants: every listed layout, run alone as a task with that series, passes and units, gives the
// results of its row; the chosen row is what `calc` gives; and `kalvar-cli variants` as a user calls it.
#include <algorithm>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "cli_run.h"
#include "messages.h"
#include "task.h"
#include "task_corpus.h"
#include "task_results.h"
#include "task_variants.h"

namespace {

using Json = nlohmann::ordered_json;
using kalvar::testing::runCli;

const char* formOf(kalvar::WindowId id) {
    switch (id) {
    case kalvar::WindowId::HotWater:
        return "Form3";
    case kalvar::WindowId::Ventilation:
        return "Form1";
    default:
        return "Form2";
    }
}

// The caption the limit dialog names a window by.
const char* captionOf(kalvar::WindowId id) {
    switch (id) {
    case kalvar::WindowId::HotWater:
        return "ГВС";
    case kalvar::WindowId::Heating:
        return "Отопление";
    default:
        return "";
    }
}

// The task with the window's layout lists picked as the variant's, every limit dialog answered
// "Продолжить".
std::string withLayout(const std::string& task, kalvar::WindowId window, const kalvar::Variant& v) {
    Json t = Json::parse(task);
    Json& lists = t["windows"][formOf(window)];
    lists["Combo1"] = v.series - 1;
    lists["Combo2"] = v.passes - 1;
    lists["Combo3"] = v.units - 1;
    t.erase("limitAnswers");
    return t.dump();
}

// The reasons of the limit dialogs a window's sizing showed in a result.
std::vector<std::string> limitsShown(const Json& result, const std::string& caption) {
    std::vector<std::string> reasons;
    for (const Json& dialog : result["limitDialogs"])
        if (dialog["caption"] == caption) reasons.push_back(dialog["label"]);
    return reasons;
}

void expectRowsRerunAlike(const std::string& label, const std::string& task) {
    SCOPED_TRACE(label + ": " + task);
    kalvar::VariantOptions everything;
    everything.all = true;
    everything.sortKey = "series";
    const kalvar::TaskVariants tables = kalvar::taskVariants(task, ".", everything);
    const Json calculated = kalvar::runTask(task, ".")["results"];
    for (const kalvar::WindowVariants& table : tables.windows) {
        const std::string key = kalvar::windowKey(table.window);
        SCOPED_TRACE(key);
        ASSERT_TRUE(calculated.contains(key)) << "variants of a window calc does not calculate";
        const auto chosen = std::count_if(table.variants.begin(), table.variants.end(),
                                          [](const kalvar::Variant& v) { return v.chosen; });
        EXPECT_LE(chosen, 1);
        for (const kalvar::Variant& v : table.variants) {
            SCOPED_TRACE("series " + std::to_string(v.series) + ", passes " + std::to_string(v.passes) +
                         ", units " + std::to_string(v.units));
            EXPECT_EQ(v.results.series, v.series);
            EXPECT_EQ(v.results.passes, v.passes);
            EXPECT_EQ(v.results.unitsInParallel, v.units);
            const Json alone = kalvar::runTask(withLayout(task, table.window, v), ".");
            EXPECT_EQ(alone["results"][key], kalvar::windowResultsJson(v.results));
            // Every limit its dialogs named is in the row's, and the row names limits only.
            for (const std::string& reason : limitsShown(alone, captionOf(table.window)))
                EXPECT_NE(v.limit.find(reason), std::string::npos) << reason;
            EXPECT_TRUE(v.limit.empty() || v.limit.starts_with(kalvar::messages::plateLimitLabel) ||
                        v.limit == kalvar::messages::nozzleLimitLabel)
                << v.limit;
            if (v.chosen) {
                EXPECT_EQ(v.results.designation, calculated[key]["designation"]);
            }
        }
        if (calculated[key].is_object() && chosen == 0)
            ADD_FAILURE() << "no row is chosen though calc gives " << calculated[key]["designation"];
    }
}

TEST(Variants, EveryRowRunAloneAsATaskGivesItsResultsAndTheChosenOneIsCalcs) {
    for (const auto& [label, task] : kalvar::testing::taskCorpus(1))
        expectRowsRerunAlike(label, task);
}

TEST(Variants, ATaskOfLimitAnswersStillChoosesWhatCalcGives) {
    // "Несколько теплообменников" from the dialog of a fixed first series: the chosen layout has two
    // units, as calc's.
    expectRowsRerunAlike("limit answers",
                         R"({"windows": {"Form2": {"Text30": "0,6", "Combo1": 0, "Combo2": 0}},
                             "limitAnswers": ["Несколько теплообменников"]})");
}

std::vector<std::vector<std::string>> csvRecords(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields(1);
        for (char c : line)
            if (c == ',')
                fields.emplace_back();
            else
                fields.back() += c;
        records.push_back(fields);
    }
    return records;
}

// A parallel scheme: two windows, some of whose layouts break a limit.
constexpr const char* parallelTask =
    R"({"system": 4, "windows": {"Form2": {"Text30": "0.9"}, "Form3": {"Text30": "0.4"}}})";

TEST(VariantsCommand, PrintsEachWindowsVariantsWithinTheLimitsSortedBySurface) {
    const auto run = runCli("variants -", parallelTask);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json out = Json::parse(run.out);
    EXPECT_EQ(out.begin().key(), "units");
    for (const char* key : {"heating", "hotWater"}) {
        SCOPED_TRACE(key);
        const Json& list = out.at(key);
        ASSERT_FALSE(list.empty());
        int chosen = 0;
        double previous = 0;
        for (const Json& v : list) {
            EXPECT_TRUE(v["limit"].is_null());
            // Sorted by the surface of all units together.
            EXPECT_GE(v["totalSurface"].get<double>(), previous);
            EXPECT_DOUBLE_EQ(v["totalSurface"].get<double>(),
                             v["surface"].get<double>() * v["units"].get<int>());
            previous = v["totalSurface"];
            chosen += v["chosen"].get<bool>();
            for (const char* field :
                 {"series", "passes", "units", "designation", "plateCount", "heatingSide", "nozzle"})
                EXPECT_TRUE(v.contains(field)) << field;
        }
        EXPECT_EQ(chosen, 1);
    }
    EXPECT_FALSE(out.contains("ventilation"));
    // Asked for by name, a window the system does not calculate has an empty list.
    EXPECT_EQ(Json::parse(runCli("variants - --window ventilation", parallelTask).out)["ventilation"],
              Json::array());

    const Json all = Json::parse(runCli("variants - --all", parallelTask).out);
    EXPECT_GT(all["heating"].size(), out["heating"].size());
    EXPECT_TRUE(std::any_of(all["heating"].begin(), all["heating"].end(),
                            [](const Json& v) { return v["limit"].is_string(); }));
}

TEST(VariantsCommand, CsvWindowAndSortOptions) {
    const auto run = runCli("variants - --csv --all --window hotWater --sort -weight", parallelTask);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto records = csvRecords(run.out);
    ASSERT_GT(records.size(), 2u);
    const std::vector<std::string> header = {
        "window",          "designation",     "series", "passes",       "units",       "plates",
        "surface",         "margin",          "k",      "loss_heating", "loss_heated", "velocity_heating",
        "velocity_heated", "nozzle_velocity", "weight", "limit",        "chosen"};
    EXPECT_EQ(records[0], header);
    const Json json =
        Json::parse(runCli("variants - --all --window hotWater --sort -weight", parallelTask).out);
    ASSERT_EQ(json["hotWater"].size(), records.size() - 1);
    for (size_t i = 1; i < records.size(); ++i) {
        const Json& v = json["hotWater"][i - 1];
        EXPECT_EQ(records[i][0], "hotWater");
        EXPECT_EQ(records[i][1], v["designation"]);
        EXPECT_EQ(records[i][6], v["totalSurface"].dump());
        EXPECT_EQ(records[i][14], v["totalWeight"].dump());
        EXPECT_EQ(records[i][15], v["limit"].is_null() ? "" : v["limit"].get<std::string>());
        EXPECT_EQ(records[i][16], v["chosen"].get<bool>() ? "1" : "0");
        if (i > 1) {
            EXPECT_LE(std::stod(records[i][14]), std::stod(records[i - 1][14])); // heaviest first
        }
    }
}

TEST(VariantsCommand, RefusesWhatItCannotRun) {
    struct Case {
        const char* arguments;
        const char* input;
        const char* says;
    };
    const Case cases[] = {
        {"variants - --window kitchen", parallelTask, "--window takes"},
        {"variants - --sort colour", parallelTask, "--sort takes"},
        {"variants - --sort", parallelTask, "needs a value"},
        {"variants - --jobs 2", parallelTask, "unknown option"},
        {"variants a.json b.json", parallelTask, "one task file only"},
        {"variants /no/such/task.json", parallelTask, "cannot read"},
        {"variants -", "{oops", "not valid JSON"},
        {"variants -", R"({"system": 9})", "system"},
    };
    for (const Case& c : cases) {
        const auto run = runCli(c.arguments, std::string(c.input));
        EXPECT_EQ(run.exitCode, 2) << c.arguments;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.arguments;
    }
    const auto help = runCli("help variants");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("kalvar-cli variants"), std::string::npos);
    EXPECT_NE(runCli("--help").out.find("variants"), std::string::npos);
}

} // namespace

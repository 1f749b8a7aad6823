// kalvar-cli's task contract: what a task may set, what the result holds, and the refusals.
#include <filesystem>

#include <gtest/gtest.h>

#include "cli_run.h"
#include "task.h"

using kalvar::runTask;
using kalvar::TaskError;

TEST(Task, RefusesWhatItCannotRun) {
    const char* tasks[] = {
        "{",
        "[]",
        R"({"system": 9})",
        R"({"system": "2"})",
        R"({"units": {"heat": "MW"}})",
        R"({"windows": {"Form4": {}}})",
        R"({"windows": {"Form2": {"Text99": "1"}}})",
        R"({"windows": {"Form2": {"Text30": 1}}})",
        R"({"windows": {"Form2": {"Combo1": "КM1"}}})",
        R"({"windows": {"Form2": {"Combo1": 6}}})",
        R"({"windows": {"Form2": {"Check5": 2}}})",
        R"({"windows": {"Form1": {"Text10": "7"}}})",
        R"({"limitAnswers": ["Да"]})",
        // Only a point or a comma writes numbers anyone can read back.
        R"({"decimalSeparator": ""})",
        R"({"decimalSeparator": "ab"})",
        R"({"decimalSeparator": ", "})",
        // A misspelt key would silently calculate the start-up task.
        R"({"sytem": 3})",
        R"({"name": 7})",
        // The first series is the last one automatic choice may not pass: no "Другой типоразмер"
        // once the third series is reached by hand.
        R"({"windows": {"Form2": {"Text30": "5", "Combo1": 2, "Combo2": 0}}, "limitAnswers": ["Другой типоразмер"]})",
    };
    for (const char* task : tasks)
        EXPECT_THROW(runTask(task, "."), TaskError) << task;
}

TEST(Task, ResultHoldsEveryWindowMessagesAndDialogs) {
    const auto result = runTask(
        R"({"windows": {"Form2": {"Text30": "0,6", "Combo1": 0, "Combo2": 0}}, "limitAnswers": ["Несколько теплообменников"]})",
        ".");
    for (const char* window : {"Form1", "Form2", "Form3", "Form12"})
        EXPECT_TRUE(result["windows"].contains(window));
    EXPECT_TRUE(result["windows"]["Form3"].contains("Combo8"));
    EXPECT_FALSE(result["windows"]["Form2"].contains("Combo8"));
    EXPECT_EQ(result["windows"]["Form2"]["Combo1"], 0);
    EXPECT_EQ(result["windows"]["Form2"]["Check3"], 1);
    ASSERT_GE(result["limitDialogs"].size(), 2u);
    EXPECT_EQ(result["limitDialogs"][0]["answer"], "Несколько теплообменников");
    EXPECT_EQ(result["limitDialogs"][1]["answer"], "Продолжить"); // once the list is used up
    EXPECT_EQ(result["limitDialogs"][0]["caption"], "Отопление");
    EXPECT_TRUE(result["messages"].empty());
    EXPECT_EQ(result["windows"]["Form2"]["Text1"].get<std::string>().substr(0, 2), "2x");
}

TEST(Task, OptionsReachTheWindows) {
    const auto result = runTask(
        R"({"system": 1, "decimalSeparator": ",", "seriesPrefix": "ПР", "units": {"heat": "кВт"},
            "windows": {"Form3": {"Text30": "250"}}})",
        ".");
    const auto& hw = result["windows"]["Form3"];
    EXPECT_EQ(hw["Text1"].get<std::string>().substr(0, 4), "ПР");
    EXPECT_NE(hw["Text33"].get<std::string>().find(','), std::string::npos);
    EXPECT_EQ(result["windows"]["Form2"]["Text1"], "");
}

using kalvar::testing::runCli;

TEST(Cli, EveryExampleRunsAndWritesNoInfinityOrNan) {
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KALVAR_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".json") continue;
        ++examples;
        const auto run = runCli("calc '" + entry.path().string() + "'");
        EXPECT_EQ(run.exitCode, 0) << entry.path();
        const auto result = nlohmann::json::parse(run.out);
        for (const auto& [window, controls] : result["windows"].items())
            for (const auto& [name, value] : controls.items())
                if (value.is_string()) {
                    const std::string text = value.get<std::string>();
                    EXPECT_EQ(text.find("inf"), std::string::npos) << window << "." << name;
                    EXPECT_EQ(text.find("nan"), std::string::npos) << window << "." << name;
                }
    }
    EXPECT_GT(examples, 0);
}

TEST(Cli, ExitCodes) {
    EXPECT_EQ(runCli("calc /nonexistent/task.json").exitCode, 2);
    EXPECT_EQ(runCli("frobnicate").exitCode, 2);
    EXPECT_EQ(runCli("calc - < '" KALVAR_EXAMPLES_DIR "/heating-by-load.json'").exitCode, 0);
    EXPECT_EQ(runCli("calc /dev/null").exitCode, 2); // not JSON
    EXPECT_EQ(runCli("calc < /dev/null").exitCode, 2);
}

TEST(Task, UnitsArePickedAsTheMenuDoesAndConvertTheStandingNumbers) {
    const auto plain = runTask(R"({})", ".");
    const auto switched = runTask(R"({"units": {"heat": "кВт", "flow": "л/с", "pressure": "атм"}})", ".");
    const auto& f = switched["windows"]["Form2"];
    // The start-up load, losses and valve drop converted: the same exchanger as in the first units.
    EXPECT_EQ(f["Text1"], plain["windows"]["Form2"]["Text1"]);
    EXPECT_EQ(f["Text30"], "232,64"); // shown back with a comma once read
    EXPECT_EQ(f["Text6"], "0,200");
    EXPECT_EQ(switched["windows"]["Form12"]["Text10"], "1.000");
    EXPECT_EQ(switched["windows"]["Form12"]["Text8"], plain["windows"]["Form12"]["Text8"]);
    for (const char* window : {"Form1", "Form2", "Form3"}) {
        EXPECT_EQ(switched["windows"][window]["Label57"], "кВт");
        EXPECT_EQ(switched["windows"][window]["Label59"], "л/с");
        EXPECT_EQ(switched["windows"][window]["Label34(1)"], "атм");
    }
    EXPECT_EQ(switched["windows"]["Form12"]["Label35"], "атм");
    // The task's own values are taken in the task's units, after the switch.
    const auto given =
        runTask(R"({"units": {"heat": "кВт"}, "windows": {"Form2": {"Text30": "232,64"}}})", ".");
    EXPECT_EQ(given["windows"]["Form2"]["Text1"], plain["windows"]["Form2"]["Text1"]);
}

TEST(Task, TickedAdditionalResultsAreRefreshedAfterTheCalculation) {
    const auto result = runTask(R"({"system": 4, "windows": {"Form2": {"Check1": 1}}})", ".");
    const auto& f = result["windows"]["Form2"];
    const auto& r = result["windows"]["Form12"];
    EXPECT_FALSE(f["Text58"].get<std::string>().empty());
    EXPECT_EQ(r["Text58"], f["Text58"]);
    EXPECT_EQ(r["Text23"], f["Text41"]);
    EXPECT_EQ(r["Text8"], f["Text8"]);
    const auto unticked = runTask(R"({"system": 4})", ".");
    EXPECT_EQ(unticked["windows"]["Form12"]["Text58"], "");
}

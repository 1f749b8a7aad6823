// kalvar-cli for engineers: help and exit codes, the readable summary, and batch runs in parallel.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "batch.h"
#include "cli_run.h"
#include "number_text.h"
#include "task.h"
#include "task_file.h"

using kalvar::testing::runCli;
using Json = nlohmann::ordered_json;

namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A task file as one line of JSON Lines.
std::string oneLine(const std::string& task) {
    return Json::parse(task).dump();
}

std::string example(const char* name) {
    return oneLine(fileText(std::string(KALVAR_EXAMPLES_DIR) + "/" + name));
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Splits a summary line at runs of two or more blanks.
std::vector<std::string> cellsOf(const std::string& line) {
    std::vector<std::string> cells;
    size_t i = line.find_first_not_of(' ');
    while (i != std::string::npos && i < line.size()) {
        size_t end = line.find("  ", i);
        cells.push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i));
        if (end == std::string::npos) break;
        i = line.find_first_not_of(' ', end);
    }
    return cells;
}

// RFC 4180 fields of one CSV record (no line breaks inside fields in these tests).
std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"')
                fields.back() += '"', ++i;
            else if (c == '"')
                quoted = false;
            else
                fields.back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

} // namespace

TEST(CliHelp, EveryHelpNamesTheCommandsTaskKeysAndExitCodes) {
    struct Case {
        const char* arguments;
        bool namesEverything; // every command, every task key and the exit codes
    } cases[] = {{"--help", true},         {"-h", true},
                 {"help", true},           {"help calc", true},
                 {"help batch", true},     {"calc --help", true},
                 {"batch -h", true},       {"help help", false},
                 {"--version", false},     {"calc x.json --help", true},
                 {"help encipher", false}, {"decipher --help", false}};
    for (const Case& c : cases) {
        const auto run = runCli(c.arguments);
        EXPECT_EQ(run.exitCode, 0) << c.arguments;
        EXPECT_FALSE(run.out.empty()) << c.arguments;
        EXPECT_TRUE(run.err.empty()) << c.arguments;
        if (!c.namesEverything) continue;
        for (const char* command : {"calc", "batch", "encipher", "decipher", "help"})
            EXPECT_NE(run.out.find(command), std::string::npos) << c.arguments << ": " << command;
        for (const char* key : kalvar::taskKeys)
            EXPECT_NE(run.out.find(key), std::string::npos) << c.arguments << ": " << key;
        for (const char* code : {"\n  0 ", "\n  2 ", "\n  1 "})
            EXPECT_NE(run.out.find(code), std::string::npos) << c.arguments << ": exit code" << code;
    }
}

TEST(CliHelp, UsageErrorsExitWithTwoAndTheUsageLine) {
    const char* cases[] = {"",
                           "frobnicate",
                           "--frobnicate",
                           "help frobnicate",
                           "help calc batch",
                           "calc --summary-csv",
                           "calc a.json b.json",
                           "batch --summary",
                           "batch --jobs",
                           "batch --jobs 0",
                           "batch --jobs=-1",
                           "batch --jobs two",
                           "batch --jobs 99999",
                           "batch /nonexistent/tasks.jsonl",
                           "encipher",
                           "encipher a b",
                           "decipher -x"};
    for (const char* arguments : cases) {
        const auto run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_TRUE(run.out.empty()) << arguments;
        EXPECT_EQ(run.err.rfind("kalvar-cli: ", 0), 0u) << arguments;
        if (std::string(arguments).find("nonexistent") == std::string::npos) {
            EXPECT_NE(run.err.find("usage: kalvar-cli"), std::string::npos) << arguments;
        }
    }
}

// Each summary row and where the windows show its texts: a control of the calculated window, or of
// Form12 (its pipe velocities, which the result holds when that window filled Form12 last).
struct RowSource {
    const char* label;
    std::vector<std::string> controls;
};

// clang-format off
const RowSource rowSources[] = {
    {"Тепловая нагрузка Q",                   {"Text30"}},
    {"Расход G",                              {"Text31", "Text33"}},
    {"Температура на входе, °C",              {"Text2", "Text3"}},
    {"Температура на выходе, °C",             {"Text4", "Text5"}},
    {"Скорость в каналах, м/с",               {"Text34", "Text35"}},
    {"Потери давления",                       {"Text36", "Text37"}},
    {"Мощность на прокачку, Вт",              {"Text54", "Text55"}},
    {"Оптимальный расход греющей среды",      {"Text47"}},
    {"Оптимальная t греющей среды на выходе", {"Text32"}},
    {"Коэффициент теплопередачи K",           {"Text26"}},
    {"Площадь поверхности S, м2",             {"Text27"}},
    {"Запас поверхности, %",                  {"Text28"}},
    {"Масса, кг",                             {"Text29"}},
    {"Число пластин n",                       {"Text38"}},
    {"Фланцы (патрубки) Ду",                  {"Text58"}},
    {"Скорость в трубах, м/с",                {"Form12.Text45", "Form12.Text46"}},
    {"Перепад давления на клапане",           {"Form12.Text10"}},
    {"Клапан Kvs, м3/ч",                      {"Text9"}},
    {"Клапан Ду, мм",                         {"Text8"}},
};
// clang-format on

TEST(CliSummary, BlocksCarryTheTextsOfTheResult) {
    struct Case {
        const char* what;
        std::string task;
        std::vector<std::string> windows; // in the order the calculation took them
        std::string formShowing;          // the window Form12 shows at the end, or ""
        std::string heatUnit, pressureUnit;
        size_t messages, dialogs;
    } cases[] = {
        {"single", R"({"windows": {"Form2": {"Check1": 1}}})", {"Form2"}, "Form2", "Гкал/ч", "кПа", 0, 0},
        {"units", example("hot-water.json"), {"Form3"}, "", "кВт", "кПа", 0, 0},
        {"two-stage", example("two-stage-mixed.json"), {"Form2", "Form3"}, "", "Гкал/ч", "кПа", 0, 0},
        {"three windows",
         example("mixed-three-circuits.json"),
         {"Form1", "Form2", "Form3"},
         "",
         "Гкал/ч",
         "кПа",
         0,
         0},
        {"three parallel",
         R"({"system": 6, "units": {"pressure": "атм"}, "windows": {"Form1": {"Check1": 1}}})",
         {"Form2", "Form3", "Form1"},
         "Form1",
         "Гкал/ч",
         "атм",
         0,
         0},
        {"rating", example("heating-rating.json"), {"Form2"}, "", "Гкал/ч", "кПа", 0, 0},
        {"stopped", R"({"windows": {"Form2": {"Text2": "300"}}})", {"Form2"}, "", "Гкал/ч", "кПа", 1, 0},
        {"stopped before the hot-water sections",
         R"({"system": 5, "windows": {"Form2": {"Text6": "0"}}})",
         {"Form2"},
         "",
         "Гкал/ч",
         "кПа",
         1,
         0},
        {"limit dialog", example("fixed-series-limit-dialog.json"), {"Form2"}, "", "Гкал/ч", "кПа", 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const kalvar::TaskRun run = kalvar::runTask(c.task, "/nonexistent", true);
        const Json& result = run.result;
        // The summary leaves the result as `calc` prints it.
        EXPECT_EQ(result, kalvar::runTask(c.task, "/nonexistent"));
        ASSERT_EQ(result["messages"].size(), c.messages);
        ASSERT_EQ(result["limitDialogs"].size(), c.dialogs);

        const std::vector<std::string> lines = linesOf(kalvar::summaryText(run.summaries, result));
        std::vector<std::string> windows;
        size_t i = 0;
        for (; i < lines.size() && !lines[i].starts_with("Сообщения:"); ++i) {
            const std::string& head = lines[i];
            if (head.empty() || head.starts_with(" ")) continue;
            const size_t open = head.find(" (Form");
            ASSERT_NE(open, std::string::npos) << head;
            const std::string window = head.substr(open + 2, 5);
            windows.push_back(window);
            const Json& shown = result["windows"][window];
            const std::string designation = shown["Text1"].get<std::string>();
            EXPECT_EQ(head.substr(head.find("): ") + 3), designation.empty() ? "—" : designation);

            std::map<std::string, std::vector<std::string>> rows; // label → value cells
            for (size_t j = i + 1; j < lines.size() && lines[j].starts_with("  "); ++j) {
                auto cells = cellsOf(lines[j]);
                if (cells.size() >= 2) rows[cells[0]] = {cells.begin() + 1, cells.end()};
            }
            for (const RowSource& source : rowSources) {
                auto row = std::find_if(rows.begin(), rows.end(),
                                        [&](const auto& r) { return r.first.starts_with(source.label); });
                ASSERT_NE(row, rows.end()) << window << ": " << source.label;
                ASSERT_EQ(row->second.size(), source.controls.size()) << window << ": " << source.label;
                for (size_t k = 0; k < source.controls.size(); ++k) {
                    const std::string& control = source.controls[k];
                    const bool ofForm12 = control.starts_with("Form12.");
                    if (ofForm12 && control != "Form12.Text10" && window != c.formShowing) continue;
                    const Json& text =
                        ofForm12 ? result["windows"]["Form12"][control.substr(7)] : shown[control];
                    const std::string expected =
                        text.get<std::string>().empty() ? "—" : text.get<std::string>();
                    EXPECT_EQ(row->second[k], expected) << window << ": " << source.label;
                }
            }
            const auto units = [&](const char* label) {
                auto row = std::find_if(rows.begin(), rows.end(),
                                        [&](const auto& r) { return r.first.starts_with(label); });
                return row == rows.end() ? std::string() : row->first.substr(row->first.rfind(", ") + 2);
            };
            EXPECT_EQ(units("Тепловая нагрузка Q"), c.heatUnit) << window;
            EXPECT_EQ(units("Потери давления"), c.pressureUnit) << window;
            EXPECT_EQ(units("Расход G"), shown["Label59"] == "л/с" ? "л/с" : "м3/ч") << window;
        }
        EXPECT_EQ(windows, c.windows);

        // Messages and limit dialogs follow the blocks, one line each, with the texts of the result.
        std::string tail;
        for (; i < lines.size(); ++i)
            tail += lines[i] + "\n";
        for (const Json& m : result["messages"]) {
            const std::string text = m["text"].get<std::string>();
            ASSERT_EQ(text.substr(0, 2), "\r\n");
            EXPECT_NE(tail.find("  " + m["title"].get<std::string>() + ": " + text.substr(2) + "\n"),
                      std::string::npos);
        }
        for (const Json& d : result["limitDialogs"])
            EXPECT_NE(tail.find(d["label"].get<std::string>() + " — ответ «" +
                                d["answer"].get<std::string>() + "»"),
                      std::string::npos);
    }
}

TEST(CliSummary, CalcPrintsItWithExitZero) {
    const auto run = runCli("calc --summary", example("heating-by-load.json"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("Отопление (Form2): КM", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\nСообщения: нет\n"), std::string::npos);
}

namespace {

// A file that mixes every system, invalid lines, an empty line and tasks that show messages or the
// limit dialog.
std::vector<std::string> mixedBatch() {
    std::vector<std::string> lines;
    for (const auto& entry : std::filesystem::directory_iterator(KALVAR_EXAMPLES_DIR))
        if (entry.path().extension() == ".json") lines.push_back(oneLine(fileText(entry.path().string())));
    std::sort(lines.begin(), lines.end());
    lines.insert(lines.begin() + 3, "this is not a task");
    lines.insert(lines.begin() + 5, R"({"name": "ТП-12", "windows": {"Form2": {"Text2": "300"}}})");
    lines.insert(lines.begin() + 6, "");
    lines.insert(lines.begin() + 8, R"({"name": "ТП-14", "decimalSeparator": "ab"})");
    lines.push_back(R"({"system": 3, "windows": {"Form12": {"Text10": "-1"}}})");
    lines.push_back(R"([1, 2])");
    return lines;
}

std::string joinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

} // namespace

TEST(CliBatch, EachLineGivesWhatCalcGivesForItAloneInInputOrder) {
    const std::vector<std::string> tasks = mixedBatch();
    std::set<int> systems;
    for (const std::string& task : tasks) {
        try {
            systems.insert(kalvar::prepareTask(task).system);
        } catch (const kalvar::TaskError&) {
        }
    }
    ASSERT_EQ(systems.size(), 8u);

    const auto batch = runCli("batch - --jobs 2", joinedLines(tasks));
    EXPECT_EQ(batch.exitCode, 2); // some lines are not valid tasks
    const std::vector<std::string> results = linesOf(batch.out);
    ASSERT_EQ(results.size(), tasks.size());
    for (size_t i = 0; i < tasks.size(); ++i) {
        SCOPED_TRACE(tasks[i]);
        if (tasks[i].empty()) {
            EXPECT_EQ(results[i], "");
            continue;
        }
        const auto alone = runCli("calc", tasks[i]);
        const Json row = Json::parse(results[i]);
        if (alone.exitCode == 0) {
            EXPECT_EQ(row, Json::parse(alone.out));
        } else {
            EXPECT_EQ(alone.exitCode, 2);
            EXPECT_EQ(row["line"], i + 1);
            EXPECT_EQ("kalvar-cli: " + row["error"].get<std::string>() + "\n", alone.err);
        }
    }
}

TEST(CliBatch, OrderAndResultsDoNotDependOnTheNumberOfJobs) {
    std::vector<std::string> tasks;
    for (int copy = 0; copy < 4; ++copy)
        for (const std::string& task : mixedBatch())
            tasks.push_back(task);
    const std::string input = joinedLines(tasks);
    for (bool csv : {false, true}) {
        std::string outputs[3];
        long invalid[3];
        const unsigned jobs[3] = {1, 2, 7};
        for (int k = 0; k < 3; ++k) {
            std::istringstream in(input);
            std::ostringstream out;
            invalid[k] = kalvar::runBatch(in, out, {jobs[k], csv, "/nonexistent"}).invalidLines;
            outputs[k] = out.str();
        }
        EXPECT_EQ(invalid[0], 4 * 3);
        for (int k = 1; k < 3; ++k) {
            EXPECT_EQ(outputs[k], outputs[0]) << jobs[k] << " jobs, csv " << csv;
            EXPECT_EQ(invalid[k], invalid[0]);
        }
    }
}

TEST(CliBatch, AllValidLinesExitZeroAndAnEmptyInputWritesNothing) {
    const auto valid =
        runCli("batch --jobs=3", example("hot-water.json") + "\n" + example("heating-by-flow.json") + "\n");
    EXPECT_EQ(valid.exitCode, 0);
    EXPECT_EQ(linesOf(valid.out).size(), 2u);
    EXPECT_TRUE(valid.err.empty());
    const auto empty = runCli("batch", "");
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, "");
}

TEST(CliBatch, ExampleBatchesAreValidTasks) {
    int batches = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KALVAR_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".jsonl") continue;
        ++batches;
        const auto run = runCli("batch '" + entry.path().string() + "'");
        EXPECT_EQ(run.exitCode, 0) << entry.path() << run.err;
        EXPECT_EQ(run.out.find("\"error\""), std::string::npos) << entry.path();
    }
    EXPECT_GT(batches, 0);
}

TEST(CliBatch, CsvHasARowPerCalculatedWindowAndAnErrorRowPerInvalidLine) {
    const std::vector<std::string> tasks = {
        R"({"name": "ТП-1, корпус 2", "system": 4, "decimalSeparator": ","})",
        "{oops",
        R"({"name": "ТП-3", "windows": {"Form2": {"Text2": "300"}}})",
        R"({"name": "ТП-4", "system": 9})",
    };
    const auto run = runCli("batch --summary-csv", joinedLines(tasks));
    EXPECT_EQ(run.exitCode, 2);
    const std::vector<std::string> records = linesOf(run.out);
    ASSERT_EQ(records.size(), 1u + 2 + 1 + 1 + 1);
    const std::vector<std::string> header = csvFields(records[0]);
    auto column = [&](const char* name) {
        const auto at = std::find(header.begin(), header.end(), name);
        EXPECT_NE(at, header.end()) << name;
        return static_cast<size_t>(at - header.begin());
    };
    std::vector<std::vector<std::string>> rows;
    for (size_t i = 1; i < records.size(); ++i) {
        rows.push_back(csvFields(records[i]));
        EXPECT_EQ(rows.back().size(), header.size()) << records[i];
    }

    const Json parallel = kalvar::runTask(tasks[0], ".");
    for (size_t r = 0; r < 2; ++r) {
        const std::string window = r == 0 ? "Form2" : "Form3";
        const Json& shown = parallel["windows"][window];
        // The quantities at full precision, the designation and the nozzle as the window shows them.
        const Json& numbers = parallel["results"][r == 0 ? "heating" : "hotWater"];
        EXPECT_EQ(rows[r][column("line")], "1");
        EXPECT_EQ(rows[r][column("name")], "ТП-1, корпус 2");
        EXPECT_EQ(rows[r][column("system")], "4");
        EXPECT_EQ(rows[r][column("window")], window);
        EXPECT_EQ(rows[r][column("designation")], shown["Text1"]);
        EXPECT_EQ(rows[r][column("flow_heated")], numbers["heatedSide"]["flow"].dump());
        EXPECT_EQ(rows[r][column("pressure_loss_heated")], numbers["heatedSide"]["loss"].dump());
        EXPECT_EQ(rows[r][column("dimension_f")], numbers["dimensions"]["F"].dump());
        EXPECT_EQ(rows[r][column("plates")], shown["Text38"]);
        EXPECT_EQ(rows[r][column("nozzle")], shown["Text58"]);
        EXPECT_EQ(rows[r][column("valve_bore")], numbers["valve"]["nominalDiameter"].dump());
        EXPECT_EQ(rows[r][column("error")], "");
    }
    EXPECT_EQ(rows[2][column("line")], "2");
    EXPECT_NE(rows[2][column("error")], "");
    EXPECT_EQ(rows[3][column("name")], "ТП-3");
    EXPECT_EQ(rows[3][column("designation")], "");
    // A window stopped with a message has no numbers, not even the temperatures it was given.
    EXPECT_EQ(rows[3][column("inlet_temperature_heating")], "");
    EXPECT_NE(rows[3][column("messages")].find("не выше 200 С."), std::string::npos);
    EXPECT_EQ(rows[3][column("error")], "");
    EXPECT_EQ(rows[4][column("line")], "4");
    EXPECT_EQ(rows[4][column("name")], "ТП-4");
    EXPECT_EQ(rows[4][column("error")], "\"system\" must be an integer 1..8");
}

TEST(CliCipher, DecipherReadsWhatEncipherWrites) {
    for (const char* text : {"ООО «Тепло», г. Минск", "-5 %", "a'b\"c", ""}) {
        const std::string quoted = "'" + kalvar::replaceAll(text, "'", "'\\''") + "'";
        const auto enciphered = runCli("encipher -- " + quoted);
        ASSERT_EQ(enciphered.exitCode, 0) << text;
        ASSERT_FALSE(enciphered.out.empty());
        const std::string stored = enciphered.out.substr(0, enciphered.out.size() - 1);
        if (*text != 0) {
            EXPECT_NE(stored, text);
        }
        const auto deciphered = runCli("decipher -- '" + kalvar::replaceAll(stored, "'", "'\\''") + "'");
        EXPECT_EQ(deciphered.exitCode, 0) << text;
        EXPECT_EQ(deciphered.out, std::string(text) + "\n");
    }
}

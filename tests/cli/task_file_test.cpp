// The named task files: they set what the control-id ones set, a control-id task converted to them
// runs to the same windows, messages and limit dialogs, their errors name the key, and the schema
// knows every named input of the window model.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "startup.h"
#include "task.h"
#include "task_file.h"
#include "task_generator.h"
#include "task_numbers.h"

namespace {

using Json = nlohmann::ordered_json;
namespace fs = std::filesystem;

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// What a task must give the same whichever door it comes through.
Json sharedPart(const std::string& taskText) {
    const Json result = kalvar::runTask(taskText, KALVAR_SOURCE_DIR);
    return Json{{"windows", result["windows"]},
                {"messages", result["messages"]},
                {"limitDialogs", result["limitDialogs"]}};
}

// The first control, message or dialog where two results differ, or "" when they agree.
std::string firstDifference(const Json& a, const Json& b) {
    const Json patch = Json::diff(a, b);
    return patch.empty() ? "" : patch[0].dump();
}

std::string errorOf(const std::string& taskText) {
    try {
        kalvar::prepareTask(taskText);
    } catch (const kalvar::TaskError& error) {
        return error.what();
    }
    return "";
}

TEST(NamedTasks, EveryExampleGivesWhatItsControlIdOriginalGives) {
    const fs::path originals = fs::path(KALVAR_SOURCE_DIR) / "tests/cli/control-id-tasks";
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(originals)) {
        const fs::path named = fs::path(KALVAR_EXAMPLES_DIR) / entry.path().filename();
        ASSERT_TRUE(fs::exists(named)) << named;
        if (entry.path().extension() == ".json") {
            EXPECT_TRUE(kalvar::prepareTask(fileText(named)).named) << named;
            EXPECT_EQ(firstDifference(sharedPart(fileText(named)), sharedPart(fileText(entry.path()))), "")
                << named;
            ++compared;
            continue;
        }
        std::istringstream namedLines(fileText(named)), originalLines(fileText(entry.path()));
        std::string namedLine, originalLine;
        while (std::getline(originalLines, originalLine)) {
            ASSERT_TRUE(std::getline(namedLines, namedLine)) << named;
            EXPECT_EQ(firstDifference(sharedPart(namedLine), sharedPart(originalLine)), "") << originalLine;
        }
    }
    EXPECT_GT(compared, 0);
}

TEST(NamedTasks, ConvertedRandomTasksGiveTheSameResults) {
    kalvar::testing::TaskGenerator generator(42);
    for (int i = 0; i < 1000; ++i) {
        const std::string task = generator.next();
        std::string originalError;
        Json original;
        try {
            original = sharedPart(task);
        } catch (const kalvar::TaskError& error) {
            originalError = error.what();
        }
        try {
            const Json named = kalvar::convertToNamed(task);
            ASSERT_TRUE(originalError.empty()) << task << "\nconverted, but runs with: " << originalError;
            ASSERT_EQ(named["version"], 1) << task;
            EXPECT_EQ(firstDifference(sharedPart(named.dump()), original), "") << task << "\n"
                                                                               << named.dump(1);
            // A named task converts to itself.
            EXPECT_EQ(kalvar::convertToNamed(named.dump()), named) << task;
        } catch (const kalvar::TaskError& error) {
            EXPECT_EQ(error.what(), originalError) << task;
        }
    }
}

TEST(NamedTasks, NamesSetTheControlsOfTheirWindows) {
    const kalvar::PreparedTask task = kalvar::prepareTask(R"({
        "version": 1, "system": "twoStageMixed", "decimalSeparator": ",",
        "heating": {"given": "heatedFlow", "heatedFlow": 7.5,
                    "heatingSide": {"medium": {"heatCapacity": 3500, "viscosity": "3,2x"}, "lossLimit": 40},
                    "heatedSide": {"medium": "water"},
                    "series": "auto", "passes": 2, "unitsInParallel": 3, "showAdditionalResults": true},
        "hotWater": {"secondStage": {"lossLimit": 0.5, "interstagePipe": 80}},
        "additionalResults": {"valvePressureDrop": 100, "heatedPipe": 65},
        "windows": {"Form2": {"Text26": "set by id"}}})");
    EXPECT_EQ(task.system, 5);
    // In the order of the named windows, hot water first.
    EXPECT_EQ(task.windows, Json::parse(R"({
        "Form3": {"Text10": "0,5", "Combo8": 6},
        "Form2": {"Check3": 0, "Check2": 1, "Check5": 0, "Text33": "7,5", "Combo4": 1, "Text11": "3500",
                  "Text13": "3,2x", "Text6": "40", "Combo7": 0, "Combo1": 5, "Combo2": 1, "Combo3": 2,
                  "Check1": 1, "Text26": "set by id"},
        "Form12": {"Text10": "100", "Combo6": 5}})"));
}

TEST(NamedTasks, ErrorsNameTheKeyAndChangeNothing) {
    const struct {
        const char* task;
        const char* error;
    } cases[] = {
        {R"({"heating": {"heatingSide": {"inletTemperature": true}}})",
         "heating.heatingSide.inletTemperature: expected a number"},
        {R"({"heating": {"heatingSide": 5}})", "heating.heatingSide: expected an object"},
        {R"({"heating": {"heatingside": {}}})", "heating.heatingside: unknown key"},
        {R"({"heating": {"secondStage": {"lossLimit": 1}}})", "heating.secondStage: unknown key"},
        {R"({"heating": {"given": "flow"}})",
         "heating.given: expected \"heatLoad\", \"heatedFlow\" or \"plateCount\""},
        {R"({"ventilation": {"heatedSide": {"medium": "oil"}}})",
         "ventilation.heatedSide.medium: expected \"water\" or an object of the medium's properties"},
        {R"({"ventilation": {"heatedSide": {"medium": {"colour": 1}}}})",
         "ventilation.heatedSide.medium.colour: unknown key"},
        {R"({"heating": {"series": 6}})", "heating.series: expected \"auto\" or an integer 1..5"},
        {R"({"heating": {"passes": "two"}})", "heating.passes: expected \"auto\" or an integer 1..3"},
        {R"({"heating": {"unitsInParallel": 0}})", "heating.unitsInParallel: expected an integer 1..9"},
        {R"({"heating": {"showAdditionalResults": 1}})",
         "heating.showAdditionalResults: expected true or false"},
        {R"({"additionalResults": {"heatingPipe": 30}})",
         "additionalResults.heatingPipe: expected a pipe bore in mm: 20, 25, 32, 40, 50, 65, 80 or 100"},
        {R"({"hotWater": []})", "hotWater: expected an object"},
        {R"({"version": 1, "sytem": 2})", "unknown task key \"sytem\""},
        {R"({"version": 2, "newKey": 1})",
         "the task is of format version 2, newer than this kalvar reads (1): it needs a newer kalvar"},
        {R"({"version": "1"})", "\"version\" must be an integer from 1"},
        {R"({"system": "steam"})",
         "\"system\" must be a system name (\"hotWater\", \"heating\", \"ventilation\", \"parallel\", "
         "\"twoStageMixed\", \"parallelThreeCircuits\", \"mixedThreeCircuits\", "
         "\"mixedWithParallelVentilation\") or an integer 1..8"},
        {R"({"version": 1, "windows": {"Form2": {"Text99": "1"}}})", "unknown control \"Form2.Text99\""},
        {"{\n  \"heating\": {\n    \"heatLoad\": 0,2\n  }\n}",
         "the task is not valid JSON (line 3, column 19)"},
        {"{\"name\": \"Щ\", ]", "the task is not valid JSON (line 1, column 15)"},
        {"", "the task is not valid JSON (line 1, column 1)"},
        {R"({"heating": {"heatLoad": 99999999193e978}})", "the task is not valid JSON (a number too large)"},
        {R"({"windows": {"Form2": {"Text30": 0.2}}})", "Form2.Text30 takes a text"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorOf(c.task), c.error) << c.task;
}

TEST(NamedTasks, SystemByNameOrNumber) {
    EXPECT_EQ(kalvar::prepareTask(R"({"system": "mixedWithParallelVentilation"})").system, 8);
    EXPECT_EQ(kalvar::prepareTask(R"({"system": "hotWater"})").system, 1);
    EXPECT_EQ(kalvar::prepareTask(R"({"version": 1, "system": 3})").system, 3);
    EXPECT_FALSE(kalvar::prepareTask(R"({"system": 3})").named);
}

TEST(NamedTasks, TheInputsOfASessionComeBackFromItsNamedTask) {
    kalvar::Session session;
    session.windows.decimalSeparator = ",";
    kalvar::startUp(session, "");
    kalvar::selectSystem(session, 6);
    auto& heating = session.windows.heating;
    heating.heatLoad.text = "0,35";
    heating.heatingInletTemperature.text = "1,5x"; // what the user typed stays as typed
    heating.heatedMediumList.setListIndex(1);
    heating.heatedHeatCapacity.text = "3900";
    heating.passCountList.setListIndex(1);
    heating.plateCountIsGiven.value = 1;
    heating.heatLoadIsGiven.value = 0;
    session.windows.hotWater.secondStageLossLimit.text = "12";
    const Json named = kalvar::namedTaskOf(session, {6, "ТП-7", {"Продолжить"}});
    EXPECT_EQ(named["system"], "parallelThreeCircuits");
    EXPECT_EQ(named["heating"]["heatLoad"], 0.35);
    EXPECT_EQ(named["heating"]["heatingSide"]["inletTemperature"], "1,5x");
    EXPECT_EQ(named["heating"]["given"], "plateCount");
    EXPECT_EQ(named["heating"]["passes"], 2);
    EXPECT_EQ(named["hotWater"]["secondStage"]["lossLimit"], 12) << "kept though the scheme hides it";

    const kalvar::PreparedTask task = kalvar::prepareTask(named.dump());
    kalvar::Session reopened;
    reopened.windows.decimalSeparator = task.decimalSeparator;
    kalvar::startUp(reopened, "");
    kalvar::selectSystem(reopened, task.system);
    kalvar::applyWindowValues(task.windows, reopened.windows);
    EXPECT_EQ(task.name, "ТП-7");
    EXPECT_EQ(task.limitAnswers, std::vector<std::string>{"Продолжить"});
    for (kalvar::WindowId id :
         {kalvar::WindowId::Ventilation, kalvar::WindowId::Heating, kalvar::WindowId::HotWater}) {
        auto before = session.windows.calcWindow(id).controls();
        auto after = reopened.windows.calcWindow(id).controls();
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(before[i].second->text, after[i].second->text) << before[i].first;
            EXPECT_EQ(before[i].second->listIndex, after[i].second->listIndex) << before[i].first;
            EXPECT_EQ(before[i].second->value, after[i].second->value) << before[i].first;
        }
    }
}

TEST(NamedTasks, NumbersAreWrittenSoTheyReadBackExactly) {
    const struct {
        double x;
        const char* text;
    } cases[] = {{0.2, "0,2"}, {110, "110"},        {0.0001, "0,0001"},
                 {-5, "-5"},   {1e-7, "0,0000001"}, {0.1 + 0.2, "0,30000000000000004"},
                 {-0.0, "0"},  {2.5e6, "2500000"}};
    for (const auto& c : cases) {
        EXPECT_EQ(kalvar::taskNumberText(c.x, ","), c.text);
        EXPECT_EQ(kalvar::exactTaskNumber(c.text, ","), c.x == 0 ? 0.0 : c.x) << c.text;
    }
    for (const char* text : {"0,20", "0.2", "1e3", " 5", "", "5x", "+5"})
        EXPECT_FALSE(kalvar::exactTaskNumber(text, ",")) << text;
}

// The schema names every input of the window model's table, so the two cannot drift apart.
TEST(NamedTasks, TheSchemaKnowsEveryNamedInput) {
    const Json schema = Json::parse(kalvar::taskSchema());
    EXPECT_EQ(schema["$schema"], "https://json-schema.org/draft/2020-12/schema");
    const Json& defs = schema["$defs"];
    auto resolve = [&](const Json& node) -> const Json& {
        if (!node.contains("$ref")) return node;
        const std::string ref = node["$ref"];
        return defs[ref.substr(std::string("#/$defs/").size())];
    };
    auto hasPath = [&](const Json& window, const std::string& path) {
        const Json* at = &resolve(window);
        size_t begin = 0;
        while (true) {
            const size_t dot = path.find('.', begin);
            const std::string key = path.substr(begin, dot - begin);
            const Json* properties = nullptr;
            if (at->contains("properties") && (*at)["properties"].contains(key))
                properties = &(*at)["properties"];
            else if (at->contains("$ref") && resolve(*at).contains("properties") &&
                     resolve(*at)["properties"].contains(key))
                properties = &resolve(*at)["properties"];
            else if (at->contains("oneOf"))
                for (const Json& option : (*at)["oneOf"])
                    if (resolve(option).contains("properties") && resolve(option)["properties"].contains(key))
                        properties = &resolve(option)["properties"];
            if (properties == nullptr) return false;
            at = &resolve((*properties)[key]);
            if (dot == std::string::npos) return true;
            begin = dot + 1;
        }
    };
    const Json& windows = schema["properties"];
    for (const char* window : {"hotWater", "heating", "ventilation"}) {
        for (const kalvar::TaskInput& input : kalvar::calcWindowTaskInputs()) {
            std::string path = input.taskKey;
            if (path.starts_with("given=")) path = "given";
            EXPECT_TRUE(hasPath(windows[window], path)) << window << "." << path;
        }
    }
    for (const kalvar::TaskInput& input : kalvar::secondStageTaskInputs())
        EXPECT_TRUE(hasPath(windows["hotWater"], input.taskKey)) << input.taskKey;
    for (const kalvar::TaskInput& input : kalvar::additionalResultsTaskInputs())
        EXPECT_TRUE(hasPath(windows["additionalResults"], input.taskKey)) << input.taskKey;
}

} // namespace

// kalvar-cli: the headless calculation. `calc` runs "Расчет" for one task and prints its result,
// `batch` runs one task per line in parallel, `variants` sizes every layout of a task's windows, `encipher`
// and `decipher` let a site write its own owner-details workbook, `help` explains them.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "batch.h"
#include "cipher.h"
#include "task.h"
#include "task_file.h"
#include "task_source.h"
#include "variants_command.h"
#ifdef KALVAR_HAVE_REPORTS
#include "report_command.h"
#endif

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* version = "kalvar-cli " KALVAR_VERSION;

// Exit codes: every run ends with one of these; any other failure is reported before exit 1.
constexpr int exitRan = 0;
constexpr int exitFailed = 1;
constexpr int exitInvalid = 2;

constexpr const char* calcUsage = "usage: kalvar-cli calc [TASK.json | -] [--summary]";
constexpr const char* batchUsage = "usage: kalvar-cli batch [TASKS.jsonl | -] [--jobs N] [--summary-csv]";
constexpr const char* encipherUsage = "usage: kalvar-cli encipher TEXT";
constexpr const char* decipherUsage = "usage: kalvar-cli decipher TEXT";
constexpr const char* convertUsage = "usage: kalvar-cli convert [TASK.json | -]";
constexpr const char* schemaUsage = "usage: kalvar-cli schema";
constexpr const char* helpUsage =
    "usage: kalvar-cli help [calc | batch | variants | convert | schema | encipher | decipher | help]";
constexpr const char* usageLines =
    "usage: kalvar-cli calc [TASK.json | -] [--summary]\n"
    "       kalvar-cli batch [TASKS.jsonl | -] [--jobs N] [--summary-csv]\n"
    "       kalvar-cli variants [TASK.json | -] [--window W] [--sort KEY] [--csv] [--all]\n"
    "       kalvar-cli convert [TASK.json | -] | schema\n"
    "       kalvar-cli encipher TEXT | decipher TEXT\n"
    "       kalvar-cli help [COMMAND]\n"
    "       kalvar-cli --help | --version";

constexpr const char* taskKeysHelp =
    "Task (one JSON object; every key is optional), in the named format:\n"
    "  {\"version\": 1, \"system\": \"heating\", \"heating\": {\"heatLoad\": 0.2, \"heatingSide\":\n"
    "   {\"inletTemperature\": 110, \"outletTemperature\": 70}, \"series\": \"auto\"}}\n"
    "  with the windows hotWater, heating, ventilation and additionalResults by name (`kalvar-cli schema`\n"
    "  prints the JSON Schema of every key; `kalvar-cli convert` writes a control-id task by name), or in\n"
    "  the control-id format, whose keys are:\n"
    "  system            heat-supply system 1..8 (default 2, heating; by name in the named format):\n"
    "                    1 hot water, 2 heating, 3 ventilation, 4 parallel scheme,\n"
    "                    5 two-stage mixed scheme, 6 parallel scheme for three circuits,\n"
    "                    7 mixed scheme for three circuits, 8 mixed scheme with parallel ventilation\n"
    "  units             {\"heat\": \"Гкал/ч\"|\"кВт\", \"flow\": \"м3/ч\"|\"л/с\", \"pressure\": "
    "\"кПа\"|\"атм\"},\n"
    "                    picked as the \"Размерность\" menu does (default the first of each)\n"
    "  decimalSeparator  \".\" or \",\" (default \".\")\n"
    "  seriesPrefix      prefix of the plate-series names (default \"КM\")\n"
    "  windows           {\"Form1\"|\"Form2\"|\"Form3\"|\"Form12\": {control: value}}: a string sets a "
    "text,\n"
    "                    an integer a list index or a check value\n"
    "  limitAnswers      answers to the plate-count limit dialog, in order: \"Несколько теплообменников\",\n"
    "                    \"Другой типоразмер\" or \"Продолжить\" (\"Продолжить\" once the list is used up)\n"
    "  name              a name for the task, repeated in the rows of `batch --summary-csv`\n";

constexpr const char* commandsLine =
    "Commands: calc, batch, variants, convert, schema, encipher, decipher, help "
    "(kalvar-cli --help describes them all).\n";

constexpr const char* exitCodesHelp =
    "Exit codes:\n"
    "  0  the task ran (also when the calculation showed messages); for batch, every line was a valid task\n"
    "  2  invalid input: a usage error, an unreadable file, or a task that is not valid (batch: any line)\n"
    "  1  the output could not be written or another failure, always reported on standard error\n";

std::string calcHelp() {
    return std::string(calcUsage) +
           "\n\nRuns \"Расчет\" for one task read from TASK.json or standard input (-, the default) and\n"
           "prints the result as one JSON object: every control of the windows Form1, Form2, Form3 and\n"
           "Form12, the messages shown, the limit dialogs answered, and \"results\": for every window the\n"
           "calculation ran, its quantities as numbers at full precision in the units the windows show\n"
           "(null for a window stopped with a message).\n"
           "  --summary   print instead, for every window the calculation ran, a block of its main results\n"
           "              with the texts and units the windows show, then the messages and limit "
           "dialogs\n\n" +
           taskKeysHelp + "\n" + exitCodesHelp + "\n" + commandsLine;
}

std::string batchHelp() {
    return std::string(batchUsage) +
           "\n\nRuns one task per line of TASKS.jsonl or standard input (-, the default), in parallel, each\n"
           "with its own state, and writes one result per line in input order: the JSON result `calc` "
           "prints\n"
           "(in one line), {\"line\": N, \"error\": \"...\"} for a line that is not a valid task, and an "
           "empty\n"
           "line for an empty one.\n"
           "  --jobs N        tasks run at the same time, 1 to 9999 (default: the number of processors)\n"
           "  --summary-csv   write instead a CSV table with one row per calculated window: line, name,\n"
           "                  system, window, designation, units and the quantities of `calc --summary`\n"
           "                  as the numbers of the result's \"results\" (full precision), messages and\n"
           "                  limit dialogs joined; an invalid line gives a row with its error\n\n" +
           taskKeysHelp + "\n" + exitCodesHelp + "\n" + commandsLine;
}

std::string encipherHelp() {
    return std::string(encipherUsage) +
           "\n\nPrints TEXT (UTF-8) enciphered as the six owner details of the owner-details workbook\n"
           "\"Юридический адрес.xls\" are stored, so that a site can write its own workbook.\n\n" +
           exitCodesHelp + "\n" + commandsLine;
}

std::string decipherHelp() {
    return std::string(decipherUsage) +
           "\n\nPrints an owner detail of the owner-details workbook deciphered, as the program reads "
           "it.\n\n" +
           exitCodesHelp + "\n" + commandsLine;
}

std::string convertHelp() {
    return std::string(convertUsage) +
           "\n\nPrints the task of TASK.json or standard input (-, the default) in the named format: the\n"
           "windows' inputs by name, numbers as JSON numbers. The converted task gives the same windows,\n"
           "messages and limit dialogs as the original; a control that has no name, or a text that would\n"
           "show differently as a number, is kept as it was. A named task is printed as it is.\n\n" +
           exitCodesHelp + "\n" + commandsLine;
}

std::string schemaHelp() {
    return std::string(schemaUsage) + "\n\nPrints the JSON Schema (2020-12) of the named task format.\n\n" +
           exitCodesHelp + "\n" + commandsLine;
}

std::string helpHelp() {
    return std::string(helpUsage) + "\n\nPrints the help of kalvar-cli, or of one command.\n";
}

std::string generalHelp() {
    return std::string(version) +
           ": sizing and rating of plate heat exchangers for district-heating substations, headless.\n\n" +
           usageLines +
           "\n\nCommands:\n"
           "  calc    run \"Расчет\" for one task; JSON result, or a readable summary with --summary\n"
           "  batch   run many tasks, one per line, in parallel; JSON Lines, or CSV with --summary-csv\n"
           "  variants  every layout of the task's windows sized side by side; JSON, or CSV with --csv\n"
           "  convert the task in the named format\n"
           "  schema  the JSON Schema of the named task format\n"
           "  encipher  write TEXT as the owner-details workbook stores it\n"
           "  decipher  read an enciphered owner-details TEXT\n"
           "  help    this help, or the help of one command (kalvar-cli help calc)\n"
#ifdef KALVAR_HAVE_REPORTS
           "  report  the report of a task as a workbook and a PDF (kalvar-cli help report)\n"
#endif
           "\nOptions:\n"
           "  --help, -h   this help (after a command: that command's help)\n"
           "  --version    the version\n\n" +
           taskKeysHelp + "\n" + exitCodesHelp;
}

int usageError(const std::string& problem, const char* usage) {
    std::cerr << "kalvar-cli: " << problem << "\n" << usage << "\n";
    return exitInvalid;
}

int printed(const std::string& text) {
    std::cout << text;
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "kalvar-cli: cannot write to standard output\n";
        return exitFailed;
    }
    return exitRan;
}

std::string currentDir() {
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

// The task text of the source (standard input for none), or nullopt after saying why it is missing.
std::optional<std::string> taskText(const std::optional<std::string>& source) {
    auto text = kalvar::readSource(source.value_or("-"), std::cin);
    if (!text) std::cerr << "kalvar-cli: cannot read " << *source << "\n";
    return text;
}

bool isOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

int calcCommand(const std::vector<std::string>& args) {
    bool summary = false;
    std::optional<std::string> source;
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") return printed(calcHelp());
        if (a == "--summary")
            summary = true;
        else if (isOption(a))
            return usageError("unknown option \"" + a + "\"", calcUsage);
        else if (source)
            return usageError("one task file only", calcUsage);
        else
            source = a;
    }
    const auto text = taskText(source);
    if (!text) return exitInvalid;
    try {
        const kalvar::TaskRun run = kalvar::runTask(*text, currentDir(), summary);
        if (summary) return printed(kalvar::summaryText(run.summaries, run.result));
        return printed(run.result.dump(1, ' ', false, Json::error_handler_t::replace) + "\n");
    } catch (const kalvar::TaskError& e) {
        std::cerr << "kalvar-cli: " << e.what() << "\n";
        return exitInvalid;
    }
}

int convertCommand(const std::vector<std::string>& args) {
    std::optional<std::string> source;
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") return printed(convertHelp());
        if (isOption(a)) return usageError("unknown option \"" + a + "\"", convertUsage);
        if (source) return usageError("one task file only", convertUsage);
        source = a;
    }
    const auto text = taskText(source);
    if (!text) return exitInvalid;
    try {
        return printed(kalvar::convertToNamed(*text).dump(2, ' ', false, Json::error_handler_t::replace) +
                       "\n");
    } catch (const kalvar::TaskError& e) {
        std::cerr << "kalvar-cli: " << e.what() << "\n";
        return exitInvalid;
    }
}

int schemaCommand(const std::vector<std::string>& args) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) return printed(schemaHelp());
    if (!args.empty()) return usageError("schema takes no arguments", schemaUsage);
    return printed(kalvar::taskSchema());
}

std::optional<unsigned> jobCount(const std::string& text) {
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const unsigned n = static_cast<unsigned>(std::stoul(text));
    if (n == 0) return std::nullopt;
    return n;
}

int batchCommand(const std::vector<std::string>& args) {
    kalvar::BatchOptions options;
    options.jobs = std::max(1u, std::thread::hardware_concurrency());
    std::optional<std::string> source;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") return printed(batchHelp());
        if (a == "--summary-csv") {
            options.summaryCsv = true;
        } else if (a == "--jobs" || a.rfind("--jobs=", 0) == 0) {
            std::string value;
            if (a == "--jobs") {
                if (i + 1 == args.size()) return usageError("--jobs needs a number", batchUsage);
                value = args[++i];
            } else {
                value = a.substr(7);
            }
            const auto jobs = jobCount(value);
            if (!jobs) return usageError("--jobs takes a whole number from 1 to 9999", batchUsage);
            options.jobs = *jobs;
        } else if (isOption(a)) {
            return usageError("unknown option \"" + a + "\"", batchUsage);
        } else if (source) {
            return usageError("one task file only", batchUsage);
        } else {
            source = a;
        }
    }
    options.workDir = currentDir();
    std::ifstream file;
    if (source && *source != "-") {
        file.open(*source, std::ios::binary);
        if (!file) {
            std::cerr << "kalvar-cli: cannot read " << *source << "\n";
            return exitInvalid;
        }
    }
    std::istream& in = file.is_open() ? static_cast<std::istream&>(file) : std::cin;
    const kalvar::BatchOutcome outcome = kalvar::runBatch(in, std::cout, options);
    if (!std::cout) {
        std::cerr << "kalvar-cli: cannot write to standard output\n";
        return exitFailed;
    }
    if (in.bad()) {
        std::cerr << "kalvar-cli: cannot read " << source.value_or("-") << "\n";
        return exitInvalid;
    }
    if (outcome.invalidLines > 0) {
        std::cerr << "kalvar-cli: " << outcome.invalidLines << " of " << outcome.lines
                  << " lines are not valid tasks\n";
        return exitInvalid;
    }
    return exitRan;
}

int cipherCommand(const std::vector<std::string>& args, bool encipher) {
    const char* usage = encipher ? encipherUsage : decipherUsage;
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h"))
        return printed(encipher ? encipherHelp() : decipherHelp());
    // "--" lets a text that begins with a minus through.
    std::vector<std::string> texts = args;
    if (!texts.empty() && texts[0] == "--")
        texts.erase(texts.begin());
    else if (!texts.empty() && isOption(texts[0]))
        return usageError("unknown option \"" + texts[0] + "\"", usage);
    if (texts.size() != 1) return usageError("one TEXT is needed (quote it when it has blanks)", usage);
    return printed((encipher ? kalvar::encipher(texts[0]) : kalvar::decipher(texts[0])) + "\n");
}

int helpCommand(const std::vector<std::string>& args) {
    if (args.empty()) return printed(generalHelp());
    if (args.size() > 1) return usageError("help takes one command", helpUsage);
    if (args[0] == "calc") return printed(calcHelp());
    if (args[0] == "batch") return printed(batchHelp());
    if (args[0] == "variants") return printed(kalvar::variantsHelp);
    if (args[0] == "encipher") return printed(encipherHelp());
    if (args[0] == "decipher") return printed(decipherHelp());
    if (args[0] == "convert") return printed(convertHelp());
    if (args[0] == "schema") return printed(schemaHelp());
    if (args[0] == "help") return printed(helpHelp());
#ifdef KALVAR_HAVE_REPORTS
    if (args[0] == "report") return printed(std::string(kalvar::reportHelp));
#endif
    return usageError("no command \"" + args[0] + "\"", helpUsage);
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc < 2) return usageError("a command is needed", usageLines);
        const std::string command = argv[1];
        const std::vector<std::string> args(argv + 2, argv + argc);
        if (command == "--help" || command == "-h") return printed(generalHelp());
        if (command == "--version") return printed(std::string(version) + "\n");
        if (command == "calc") return calcCommand(args);
        if (command == "batch") return batchCommand(args);
        if (command == "variants") return kalvar::variantsCommand(args, std::cin, std::cout, std::cerr);
        if (command == "convert") return convertCommand(args);
        if (command == "schema") return schemaCommand(args);
        if (command == "encipher") return cipherCommand(args, true);
        if (command == "decipher") return cipherCommand(args, false);
        if (command == "help") return helpCommand(args);
#ifdef KALVAR_HAVE_REPORTS
        if (command == "report") return kalvar::reportCommand(args, std::cout, std::cerr);
#endif
        if (isOption(command)) return usageError("unknown option \"" + command + "\"", usageLines);
        return usageError("no command \"" + command + "\"", usageLines);
    } catch (const std::exception& e) {
        std::cerr << "kalvar-cli: " << e.what() << "\n";
        return exitFailed;
    }
}

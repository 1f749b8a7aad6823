#include "report_command.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include <QGuiApplication>
#include <nlohmann/json.hpp>

#include "ReportBuilder.h"
#include "SheetRenderer.h"
#include "SiteWorkbooks.h"
#include "VariantsSheet.h"
#include "XlsxWriter.h"
#include "task.h"
#include "task_file.h"

namespace kalvar {

const char* const reportUsage =
    "usage: kalvar-cli report TASK.json|- [--xlsx FILE] [--pdf FILE] [--terms TERMS.json]\n";
const char* const reportHelp =
    "usage: kalvar-cli report TASK.json|- [--xlsx FILE] [--pdf FILE] [--terms TERMS.json]\n"
    "\n"
    "Runs \"Расчет\" for the task as `calc` does, then writes the report: the calculation sheet and\n"
    "one technical description per exchanger, as an .xlsx workbook (--xlsx) and/or a PDF (--pdf).\n"
    "The pass drawings \"KM 1x.jpg\"..\"KM 3x.jpg\" are looked for in ./picture and in the installed data\n"
    "folder; the owner details come from \"Юридический адрес.xls\" (or .xlsx) here when it exists, and its\n"
    "series prefix (B7) names the exchangers unless the task sets \"seriesPrefix\".\n"
    "  --terms TERMS.json  the delivery terms: {\"objectName\": TEXT, "
    "\"hotWater\"|\"heating\"|\"ventilation\":\n"
    "                      {\"price\": TEXT, \"terms\": TEXT, \"notes\": TEXT}}; what it leaves out keeps "
    "the\n"
    "                      delivery-terms dialog's designed texts; \"variantsSheet\": true adds the sheet\n"
    "                      \"Варианты\" (every variant of each calculated window) after the descriptions\n"
    "--xlsx and --pdf must name different files. A file is written whole or not at all.\n"
    "Exit codes: 0 written; 2 usage, task or terms error; 1 the report could not be built or written.\n";

namespace {

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

std::string readSource(const std::string& source) {
    std::stringstream text;
    if (source == "-") {
        text << std::cin.rdbuf();
        return text.str();
    }
    std::ifstream file(source, std::ios::binary);
    if (!file) throw UsageError("cannot read " + source);
    text << file.rdbuf();
    return text.str();
}

DeliveryTerms readTerms(const std::string& text) {
    using Json = nlohmann::json;
    const Json json = Json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) throw UsageError("the terms must be a JSON object");
    DeliveryTerms terms;
    const auto string = [](const Json& value, const std::string& where) {
        if (!value.is_string()) throw UsageError("\"" + where + "\" must be a string");
        return value.get<std::string>();
    };
    for (const auto& [key, value] : json.items()) {
        if (key == "objectName") {
            terms.objectName = string(value, key);
            continue;
        }
        if (key == "variantsSheet") {
            if (!value.is_boolean()) throw UsageError("\"variantsSheet\" must be true or false");
            terms.variantsSheet = value.get<bool>();
            continue;
        }
        TermsColumn* column = key == "hotWater"      ? &terms.hotWater
                              : key == "heating"     ? &terms.heating
                              : key == "ventilation" ? &terms.ventilation
                                                     : nullptr;
        if (!column) throw UsageError("unknown terms key \"" + key + "\"");
        if (!value.is_object()) throw UsageError("\"" + key + "\" must be an object");
        for (const auto& [field, text] : value.items()) {
            const std::string where = key + "." + field;
            if (field == "price")
                column->price = string(text, where);
            else if (field == "terms")
                column->terms = string(text, where);
            else if (field == "notes")
                column->notes = string(text, where);
            else
                throw UsageError("unknown terms key \"" + where + "\"");
        }
    }
    return terms;
}

// Fonts and PDF need a GUI application; without a display it paints offscreen.
std::unique_ptr<QGuiApplication> guiApplication() {
    if (QCoreApplication::instance()) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kalvar-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

// The installed data folder (the pass drawings), beside the program, or in a build tree its sources'.
std::string installedDataDir() {
    std::error_code error;
    const std::filesystem::path beside =
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / ".." / "share" /
        "kalvar";
    if (std::filesystem::is_directory(beside / "picture", error)) return beside.lexically_normal().string();
#ifdef KALVAR_SOURCE_DATADIR
    return KALVAR_SOURCE_DATADIR;
#else
    return {};
#endif
}

// Whether two names reach one file: the same path once made absolute and its links resolved, or
// two names of one existing file.
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) return true;
    const auto resolved = [](const std::string& name) {
        std::error_code e;
        const auto path = std::filesystem::weakly_canonical(std::filesystem::absolute(name, e), e);
        return e ? std::filesystem::absolute(name, e).lexically_normal() : path;
    };
    return resolved(a) == resolved(b);
}

// The task with the owner workbook's series prefix, as start-up sets it, unless the task names its
// own. A text that is not a JSON object goes on unchanged: the task reader says what is wrong.
std::string withSeriesPrefix(const std::string& taskText, const std::string& prefix) {
    auto task = nlohmann::ordered_json::parse(taskText, nullptr, false);
    if (task.is_discarded() || !task.is_object() || task.contains("seriesPrefix")) return taskText;
    task["seriesPrefix"] = prefix;
    return task.dump();
}

} // namespace

int reportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string task, xlsx, pdf, termsFile;
    try {
        for (const std::string& a : args)
            if (a == "--help" || a == "-h") {
                out << reportHelp;
                return 0;
            }
        for (size_t i = 0; i < args.size(); ++i) {
            const std::string& a = args[i];
            const auto value = [&]() -> std::string {
                if (i + 1 >= args.size()) throw UsageError(a + " needs a file name");
                return args[++i];
            };
            if (a == "--xlsx")
                xlsx = value();
            else if (a == "--pdf")
                pdf = value();
            else if (a == "--terms")
                termsFile = value();
            else if (task.empty() && (a == "-" || !a.starts_with("--")))
                task = a;
            else
                throw UsageError("unexpected argument \"" + a + "\"");
        }
        if (task.empty()) throw UsageError("no task given");
        if (xlsx.empty() && pdf.empty()) throw UsageError("give --xlsx FILE, --pdf FILE or both");
        if (!xlsx.empty() && !pdf.empty() && sameFile(xlsx, pdf))
            throw UsageError("--xlsx and --pdf name the same file \"" + pdf + "\"");
    } catch (const UsageError& e) {
        err << "kalvar-cli: " << e.what() << "\n" << reportUsage;
        return 2;
    }

    std::error_code error;
    const std::string workDir = std::filesystem::current_path(error).string();
    // The owner details head the report, and their series prefix names the exchangers the task
    // calculates, as at the desktop's start-up.
    OwnerDetails owner;
    const auto ownerPath = siteWorkbookPath(workDir, ownerWorkbookName);
    TaskRun run;
    DeliveryTerms terms;
    try {
        if (!termsFile.empty()) terms = readTerms(readSource(termsFile));
        std::string taskText = readSource(task);
        if (ownerPath) {
            owner = readOwnerWorkbook(*ownerPath, [&err](const std::string& title, const std::string& text) {
                err << "kalvar-cli: " << title << ": " << text << "\n";
            });
            taskText = withSeriesPrefix(taskText, owner.seriesPrefix);
        }
        run = runTask(taskText, workDir, false);
    } catch (const UsageError& e) {
        err << "kalvar-cli: " << e.what() << "\n";
        return 2;
    } catch (const TaskError& e) {
        err << "kalvar-cli: " << e.what() << "\n";
        return 2;
    }
    for (const auto& message : run.result["messages"])
        err << "kalvar-cli: message: " << message.value("title", "") << ": " << message.value("text", "")
            << "\n";

    const auto app = guiApplication();
    Session& session = *run.session;
    if (session.state.dataDir.empty()) session.state.dataDir = installedDataDir();
    try {
        ReportOptions options;
        // The task's limit answers: the variants sheet's chosen rows are then the exchangers the
        // report describes.
        options.limitAnswers = pressedLimitAnswers(run.limitAnswers);
        const Workbook book = buildReport(session, owner, terms, options);
        if (!xlsx.empty()) {
            writeXlsx(book, xlsx);
            out << xlsx << "\n";
        }
        if (!pdf.empty()) {
            std::vector<std::string> sheets = reportSheetNames(session.windows, session.state.systemKind);
            if (terms.variantsSheet) sheets.push_back(variantsSheetName);
            writePdf(book, pdf, sheets, session.windows.decimalSeparator);
            out << pdf << "\n";
        }
    } catch (const WorkbookError& e) {
        err << "kalvar-cli: the report was not written: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace kalvar

#include "batch.h"

#include <atomic>
#include <condition_variable>
#include <istream>
#include <mutex>
#include <ostream>
#include <thread>
#include <vector>

#include "startup.h"
#include "summary.h"
#include "task.h"
#include "task_results.h"

namespace kalvar {

namespace {

using Json = nlohmann::ordered_json;

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos &&
        (text.empty() || (text.front() != ' ' && text.back() != ' ')))
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += (out.empty() ? "" : " | ") + line;
    return out;
}

// The quantity columns of a summary, in row order.
std::vector<std::string> quantityColumns() {
    Session session;
    startUp(session, "");
    const WindowSummary sample = summariseWindow(session, session.windows.heating);
    std::vector<std::string> columns;
    for (const SummaryRow& row : sample.rows)
        if (row.parts.empty())
            columns.push_back(row.key);
        else
            for (const std::string& part : row.parts)
                columns.push_back(row.key + "_" + part);
    return columns;
}

const std::vector<std::string>& csvQuantityColumns() {
    static const std::vector<std::string> columns = quantityColumns();
    return columns;
}

constexpr const char* leadingColumns[] = {"line",        "name",      "system",    "window",       "circuit",
                                          "designation", "heat_unit", "flow_unit", "pressure_unit"};
constexpr const char* trailingColumns[] = {"messages", "limit_dialogs", "error"};

std::string csvErrorRow(long line, const std::string& name, const std::string& error) {
    std::vector<std::string> fields = {std::to_string(line), name};
    fields.resize(std::size(leadingColumns) + csvQuantityColumns().size() + std::size(trailingColumns) - 1);
    fields.push_back(error);
    return csvRow(fields);
}

// The task's name when the line is a JSON object with a string "name", for the error row.
std::string nameOf(const std::string& line) {
    const Json task = Json::parse(line, nullptr, false);
    if (task.is_object() && task.contains("name") && task["name"].is_string())
        return task["name"].get<std::string>();
    return "";
}

// Runs work(i) for every i below count on up to `jobs` threads and hands each result to emit(i, result)
// on the calling thread, in index order, as soon as it and all before it are ready.
template <class Output, class Work, class Emit>
void runInOrder(size_t count, unsigned jobs, Work work, Emit emit) {
    std::vector<Output> outputs(count);
    std::vector<char> done(count, 0);
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t i; (i = next++) < count;) {
            Output output = work(i);
            std::lock_guard<std::mutex> lock(mutex);
            outputs[i] = std::move(output);
            done[i] = 1;
            finished.notify_all();
        }
    };
    const size_t threads = std::max<size_t>(1, std::min<size_t>(jobs, count));
    std::vector<std::thread> workers;
    for (size_t j = 0; j < threads; ++j)
        workers.emplace_back(worker);
    for (size_t i = 0; i < count; ++i) {
        std::unique_lock<std::mutex> lock(mutex);
        finished.wait(lock, [&] { return done[i] != 0; });
        Output output = std::move(outputs[i]);
        lock.unlock();
        emit(i, std::move(output));
    }
    for (std::thread& thread : workers)
        thread.join();
}

Json errorResult(long number, const std::string& error) {
    return Json{{"line", number}, {"error", error}};
}

struct LineOutput {
    std::string text;
    bool invalid = false;
};

LineOutput runLine(const std::string& line, long number, const BatchOptions& options) {
    if (line.find_first_not_of(" \t") == std::string::npos) return {options.summaryCsv ? "" : "\n", false};
    try {
        const TaskRun run = runTask(line, options.workDir, options.summaryCsv);
        if (!options.summaryCsv)
            return {run.result.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n", false};
        const std::string messages = joined(messageLines(run.result));
        const std::string dialogs = joined(limitDialogLines(run.result));
        std::string rows;
        for (WindowSummary w : run.summaries) {
            useResultNumbers(w, run.result.at("results").value(windowKey(w.id), Json(nullptr)));
            std::vector<std::string> fields = {std::to_string(number),
                                               run.name,
                                               std::to_string(run.system),
                                               w.window,
                                               w.title,
                                               w.designation,
                                               w.heatUnit,
                                               w.flowUnit,
                                               w.pressureUnit};
            for (const SummaryRow& row : w.rows)
                fields.insert(fields.end(), row.values.begin(), row.values.end());
            fields.insert(fields.end(), {messages, dialogs, ""});
            rows += csvRow(fields);
        }
        return {rows, false};
    } catch (const std::exception& e) {
        const std::string error = e.what();
        if (options.summaryCsv) return {csvErrorRow(number, nameOf(line), error), true};
        return {errorResult(number, error).dump(-1, ' ', false, Json::error_handler_t::replace) + "\n", true};
    }
}

} // namespace

std::string csvRow(const std::vector<std::string>& fields) {
    std::string row;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) row += ',';
        row += csvField(fields[i]);
    }
    return row + "\n";
}

std::string summaryCsvHeader() {
    std::vector<std::string> columns(std::begin(leadingColumns), std::end(leadingColumns));
    columns.insert(columns.end(), csvQuantityColumns().begin(), csvQuantityColumns().end());
    columns.insert(columns.end(), std::begin(trailingColumns), std::end(trailingColumns));
    return csvRow(columns);
}

BatchOutcome runBatch(std::istream& in, std::ostream& out, const BatchOptions& options) {
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    if (options.summaryCsv) out << summaryCsvHeader();

    // Results go out in input order as soon as each one and all before it are ready.
    BatchOutcome outcome;
    runInOrder<LineOutput>(
        lines.size(), options.jobs,
        [&](size_t i) { return runLine(lines[i], static_cast<long>(i + 1), options); },
        [&](size_t i, LineOutput&& output) {
            out << output.text;
            if (lines[i].find_first_not_of(" \t") != std::string::npos) ++outcome.lines;
            if (output.invalid) ++outcome.invalidLines;
        });
    out.flush();
    return outcome;
}

std::vector<nlohmann::ordered_json> runTasks(const std::vector<std::string>& tasks,
                                             const BatchOptions& options) {
    std::vector<Json> results(tasks.size());
    runInOrder<Json>(
        tasks.size(), options.jobs,
        [&](size_t i) {
            try {
                return runTask(tasks[i], options.workDir, false).result;
            } catch (const std::exception& e) {
                return errorResult(static_cast<long>(i + 1), e.what());
            }
        },
        [&](size_t i, Json&& result) { results[i] = std::move(result); });
    return results;
}

} // namespace kalvar

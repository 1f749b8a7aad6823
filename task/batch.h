#pragma once
// Batch sizing: one task per line (JSON Lines) run in parallel, each with its own state, and one
// result per line written in input order.
#include <iosfwd>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kalvar {

struct BatchOptions {
    unsigned jobs = 1;       // tasks running at the same time
    bool summaryCsv = false; // one CSV row per calculated window instead of the JSON results
    std::string workDir;     // where the pass drawings are looked for
};

struct BatchOutcome {
    long lines = 0;        // tasks read (blank lines not counted)
    long invalidLines = 0; // lines that gave an error row
};

// Reads every line of `in`, runs it and writes `out`. JSON mode: per input line one output line,
// the result as `calc` gives it, {"line": n, "error": "..."} for a line that is not a valid task,
// and an empty line for an empty one. CSV mode: a header, then one row per calculated window and one
// error row per invalid line.
BatchOutcome runBatch(std::istream& in, std::ostream& out, const BatchOptions& options);

// Runs each task text as `calc` does, in parallel on options.jobs threads, and gives the results in
// input order; a text that is not a valid task gives {"line": n, "error": "..."} with n counting from 1.
std::vector<nlohmann::ordered_json> runTasks(const std::vector<std::string>& tasks,
                                             const BatchOptions& options);

// One CSV record (RFC 4180 quoting) with its line end.
std::string csvRow(const std::vector<std::string>& fields);

// The CSV header of the summary rows.
std::string summaryCsvHeader();

} // namespace kalvar

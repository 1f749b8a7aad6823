// The Python module `kalvar`: a task run as `kalvar-cli calc` runs it, many in parallel as `batch`,
// its report as `report`. The calculation runs with the GIL released; the module keeps no state of
// its own between calls.
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include "batch.h"
#include "python_json.h"
#include "task.h"
#include "task_file.h"
#ifdef KALVAR_HAVE_REPORTS
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <unistd.h>

#include "report_command.h"
#endif

#ifndef KALVAR_VERSION
#define KALVAR_VERSION "1.0"
#endif

namespace py = pybind11;

namespace kalvar::python {

namespace {

using Json = nlohmann::ordered_json;

// Where the pass drawings are looked for: the current directory, as for kalvar-cli.
std::string workDir() {
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

// Runs work() with the GIL released; a task that is not valid raises ValueError with the CLI's message.
template <class Work> Json withoutGil(Work work) {
    try {
        py::gil_scoped_release released;
        return work();
    } catch (const TaskError& e) {
        throw py::value_error(e.what());
    }
}

py::object calc(py::object task) {
    const std::string text = taskTextOf(task);
    return pythonOf(withoutGil([&] { return runTask(text, workDir()); }));
}

py::object convert(py::object task) {
    const std::string text = taskTextOf(task);
    return pythonOf(withoutGil([&] { return convertToNamed(text); }));
}

py::object schema() {
    return pythonOf(Json::parse(taskSchema()));
}

py::list batch(py::iterable tasks, std::optional<long> jobs) {
    if (jobs && (*jobs < 1 || *jobs > 9999))
        throw py::value_error("jobs takes a whole number from 1 to 9999");
    BatchOptions options;
    options.jobs = jobs ? static_cast<unsigned>(*jobs) : std::max(1u, std::thread::hardware_concurrency());
    options.workDir = workDir();

    // A task whose values JSON cannot hold gets its error row, as a line of invalid JSON does.
    std::vector<std::string> texts;
    std::vector<std::pair<size_t, std::string>> unwritable;
    for (const py::handle task : tasks) {
        try {
            texts.push_back(taskTextOf(task));
        } catch (const py::value_error& e) {
            unwritable.emplace_back(texts.size(), e.what());
            texts.emplace_back();
        }
    }
    std::vector<Json> results;
    {
        py::gil_scoped_release released;
        results = runTasks(texts, options);
    }
    for (const auto& [index, error] : unwritable)
        results[index] = Json{{"line", index + 1}, {"error", error}};

    py::list list(results.size());
    for (size_t i = 0; i < results.size(); ++i)
        list[i] = pythonOf(results[i]);
    return list;
}

#ifdef KALVAR_HAVE_REPORTS
// A file in the temporary folder holding a text, removed with the object: what `kalvar-cli report`
// reads a task or its terms from.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& text) {
        std::string pattern = (std::filesystem::temp_directory_path() / "kalvar-XXXXXX.json").string();
        const int descriptor = mkstemps(pattern.data(), 5);
        if (descriptor < 0) throw std::runtime_error("cannot create a temporary file in " + pattern);
        path_ = pattern;
        const bool written =
            ::write(descriptor, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::close(descriptor);
        if (!written) throw std::runtime_error("cannot write the temporary file " + path_);
    }
    ~TemporaryFile() { std::remove(path_.c_str()); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// The error kalvar-cli reports last ("kalvar-cli: ..." without its prefix), the calculation's own
// messages and the usage line left out.
std::string lastError(const std::string& err) {
    const std::string prefix = "kalvar-cli: ";
    std::string error;
    std::istringstream lines(err);
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with(prefix) && !line.starts_with(prefix + "message: "))
            error = line.substr(prefix.size());
    return error.empty() ? err : error;
}

// The report is built with the GIL held: it may create the process's Qt application, which must
// not happen on two threads at once.
py::list report(py::object task, std::optional<std::filesystem::path> xlsx,
                std::optional<std::filesystem::path> pdf, py::object terms) {
    if (!xlsx && !pdf) throw py::value_error("give xlsx=FILE, pdf=FILE or both");
    const TemporaryFile taskFile(taskTextOf(task));
    std::vector<std::string> args = {taskFile.path()};
    std::optional<TemporaryFile> termsFile;
    if (!terms.is_none()) {
        termsFile.emplace(taskTextOf(terms));
        args.insert(args.end(), {"--terms", termsFile->path()});
    }
    if (xlsx) args.insert(args.end(), {"--xlsx", xlsx->string()});
    if (pdf) args.insert(args.end(), {"--pdf", pdf->string()});

    std::ostringstream out, err;
    const int status = reportCommand(args, out, err);
    if (status == 2) throw py::value_error(lastError(err.str()));
    if (status != 0) throw std::runtime_error(lastError(err.str()));
    py::list written;
    std::istringstream files(out.str());
    for (std::string file; std::getline(files, file);)
        written.append(file);
    return written;
}
#endif

} // namespace

} // namespace kalvar::python

PYBIND11_MODULE(kalvar, module) {
    using namespace kalvar::python;
    module.doc() = "Plate heat exchanger selection: tasks run as kalvar-cli runs them.";
    module.attr("__version__") = KALVAR_VERSION;
    module.def("calc", &calc, py::arg("task"),
               "Runs the task (a dict or a JSON text) as `kalvar-cli calc` does and returns its result.\n"
               "Raises ValueError with the CLI's message for a task that is not valid.");
    module.def(
        "batch", &batch, py::arg("tasks"), py::arg("jobs") = py::none(),
        "Runs the tasks on `jobs` threads (default: one per processor) and returns their results in\n"
        "order; a task that is not valid gives {'line': n, 'error': ...} in its place, n counting from 1.");
    module.def(
        "convert", &convert, py::arg("task"),
        "The task (a dict or a JSON text, in either format) in the named format, as `kalvar-cli convert`\n"
        "writes it. Raises ValueError with the CLI's message for a task that is not valid.");
    module.def("schema", &schema,
               "The JSON Schema (2020-12) of the named task format, as `kalvar-cli schema` prints it.");
#ifdef KALVAR_HAVE_REPORTS
    module.def("report", &report, py::arg("task"), py::arg("xlsx") = py::none(), py::arg("pdf") = py::none(),
               py::arg("terms") = py::none(),
               "Runs the task and writes its report as `kalvar-cli report` does: a workbook (xlsx), a PDF\n"
               "(pdf) or both; terms are the delivery terms (a dict or a JSON text). Returns the files\n"
               "written. ValueError for a task or terms that are not valid, RuntimeError when the\n"
               "report could not be written.");
#endif
}

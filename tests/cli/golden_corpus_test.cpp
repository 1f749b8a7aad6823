// The calculation's output must not change by accident: every example task and a corpus of random
// tasks run as `kalvar-cli calc` runs them, and the digest of each printed result is compared with
// the one recorded in tests/cli/golden/. A change that is meant (a fault mended) records the
// digests again with KALVAR_RECORD_GOLDEN=1 and says why in its commit.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "task.h"
#include "task_generator.h"

namespace {

using Json = nlohmann::ordered_json;
namespace fs = std::filesystem;

constexpr int corpusSize = 1200;

// FNV-1a: the digest only has to tell one output from another.
std::string digest(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

// What `kalvar-cli calc` prints for the task, or its error; the source folder (where the pass
// drawings are found) is written as a name so that any checkout gives the same text.
std::string calcOutput(const std::string& taskText) {
    const std::string workDir = KALVAR_SOURCE_DIR;
    std::string out;
    try {
        out = kalvar::runTask(taskText, workDir).dump(1, ' ', false, Json::error_handler_t::replace);
    } catch (const kalvar::TaskError& error) {
        out = std::string("task error: ") + error.what();
    }
    for (size_t at = out.find(workDir); at != std::string::npos; at = out.find(workDir, at))
        out.replace(at, workDir.size(), "$WORKDIR");
    return out;
}

fs::path goldenDir() {
    return fs::path(KALVAR_SOURCE_DIR) / "tests/cli/golden";
}

std::map<std::string, std::string> readDigests(const fs::path& file) {
    std::map<std::string, std::string> digests;
    std::ifstream in(file);
    std::string key, value;
    while (in >> key >> value)
        digests[key] = value;
    return digests;
}

bool recording() {
    return std::getenv("KALVAR_RECORD_GOLDEN") != nullptr;
}

// Compares the outputs with the recorded digests, or records them. Names the first tasks that differ.
void compareWithRecorded(const fs::path& file, const std::vector<std::pair<std::string, std::string>>& runs) {
    if (recording()) {
        std::ofstream out(file);
        for (const auto& [key, output] : runs)
            out << key << ' ' << digest(output) << '\n';
        GTEST_SKIP() << "recorded " << runs.size() << " digests in " << file;
    }
    const auto recorded = readDigests(file);
    ASSERT_EQ(recorded.size(), runs.size()) << file << " holds another set of tasks";
    int differing = 0;
    for (const auto& [key, output] : runs) {
        const auto it = recorded.find(key);
        ASSERT_NE(it, recorded.end()) << key << " is not recorded in " << file;
        if (it->second != digest(output) && ++differing <= 3)
            ADD_FAILURE() << key << ": the output changed; it is now\n" << output.substr(0, 4000);
    }
    EXPECT_EQ(differing, 0) << "tasks whose output changed";
}

TEST(GoldenOutputs, EveryExampleTaskPrintsWhatItPrintedBefore) {
    std::vector<std::pair<std::string, std::string>> runs;
    for (const auto& entry : fs::directory_iterator(KALVAR_EXAMPLES_DIR)) {
        std::ifstream in(entry.path());
        if (entry.path().extension() == ".json") {
            std::stringstream text;
            text << in.rdbuf();
            runs.emplace_back(entry.path().filename().string(), calcOutput(text.str()));
        } else if (entry.path().extension() == ".jsonl") {
            std::string line;
            for (int n = 1; std::getline(in, line); ++n)
                if (!line.empty())
                    runs.emplace_back(entry.path().filename().string() + ":" + std::to_string(n),
                                      calcOutput(line));
        }
    }
    std::sort(runs.begin(), runs.end());
    compareWithRecorded(goldenDir() / "examples.digests", runs);
}

TEST(GoldenOutputs, RandomTasksPrintWhatTheyPrintedBefore) {
    kalvar::testing::TaskGenerator generator(20261210);
    std::vector<std::pair<std::string, std::string>> runs;
    for (int i = 0; i < corpusSize; ++i) {
        const std::string task = generator.next();
        runs.emplace_back("task" + std::to_string(i), task + "\n" + calcOutput(task));
    }
    compareWithRecorded(goldenDir() / "corpus.digests", runs);
}

} // namespace

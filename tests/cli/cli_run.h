#pragma once
// Runs kalvar-cli as a user would, with its own temporary files for every run: CTest runs the tests
// in parallel, and a shared file would be read while another run truncates it.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace kalvar::testing {

// A file of its own under the test's temporary folder, removed at the end.
class TempFile {
  public:
    TempFile() : path_(::testing::TempDir() + "/kalvar-cli.XXXXXX") {
        const int fd = mkstemp(path_.data());
        if (fd < 0) {
            ADD_FAILURE() << "cannot create " << path_;
            path_.clear();
            return;
        }
        close(fd);
    }
    ~TempFile() {
        if (!path_.empty()) std::remove(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }
    std::string read() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void write(const std::string& text) const { std::ofstream(path_, std::ios::binary) << text; }

  private:
    std::string path_;
};

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs kalvar-cli with the arguments (shell words), standard input from `input` when given.
inline CliResult runCli(const std::string& arguments,
                        const std::optional<std::string>& input = std::nullopt) {
    TempFile out, err, in;
    std::string command =
        std::string(KALVAR_CLI) + " " + arguments + " >'" + out.path() + "' 2>'" + err.path() + "'";
    if (input) {
        in.write(*input);
        command += " <'" + in.path() + "'";
    }
    const int status = std::system(command.c_str());
    CliResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = out.read();
    result.err = err.read();
    return result;
}

} // namespace kalvar::testing

// kalvar-cli: the headless calculation. `kalvar-cli calc [TASK.json | -]` prints the result of
// "Расчет" for the task as one JSON object.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "task.h"

namespace {

int usage() {
    std::cerr << "usage: kalvar-cli calc [TASK.json | -]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) != "calc" || argc > 3) return usage();
    const std::string source = argc == 3 ? argv[2] : "-";
    std::stringstream text;
    if (source == "-") {
        text << std::cin.rdbuf();
    } else {
        std::ifstream file(source, std::ios::binary);
        if (!file) {
            std::cerr << "kalvar-cli: cannot read " << source << "\n";
            return 2;
        }
        text << file.rdbuf();
    }
    try {
        std::error_code error;
        const std::string workDir = std::filesystem::current_path(error).string();
        const auto result = kalvar::runTask(text.str(), workDir);
        std::cout << result.dump(1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
        return 0;
    } catch (const kalvar::TaskError& e) {
        std::cerr << "kalvar-cli: " << e.what() << "\n";
        return 2;
    }
}

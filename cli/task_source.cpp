#include "task_source.h"

#include <fstream>
#include <sstream>

namespace kalvar {

std::optional<std::string> readSource(const std::string& source, std::istream& in) {
    std::stringstream text;
    if (source == "-") {
        text << in.rdbuf();
        return text.str();
    }
    std::ifstream file(source, std::ios::binary);
    if (!file) return std::nullopt;
    text << file.rdbuf();
    if (file.bad()) return std::nullopt;
    return text.str();
}

} // namespace kalvar

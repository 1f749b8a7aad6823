#include "task_numbers.h"

#include <charconv>
#include <cmath>

#include "number_text.h"

namespace kalvar {

std::string taskNumberText(double x, std::string_view decimalSeparator) {
    if (x == 0) x = 0; // no "-0"
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed);
    if (error != std::errc{}) return {};
    return replaceAll(std::string(buffer, end), ".", decimalSeparator);
}

std::optional<double> exactTaskNumber(const std::string& text, std::string_view decimalSeparator) {
    if (text.empty()) return std::nullopt;
    const double x = readNumber(text);
    if (!std::isfinite(x) || taskNumberText(x, decimalSeparator) != text) return std::nullopt;
    return x;
}

} // namespace kalvar

#pragma once
// Numbers of the named task files and the window texts they stand for.
#include <optional>
#include <string>
#include <string_view>

namespace kalvar {

// The shortest fixed-point text that reads back as exactly x ("0.2", "110", "0.0001"), with the
// given decimal separator. x must be finite.
std::string taskNumberText(double x, std::string_view decimalSeparator);

// The number a window text stands for when writing that number gives the text back exactly; else
// none, and the text is kept as it was typed.
std::optional<double> exactTaskNumber(const std::string& text, std::string_view decimalSeparator);

} // namespace kalvar

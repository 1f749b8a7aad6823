#pragma once
// Where kalvar-cli's commands read a task from: a file, or standard input for "-".
#include <iosfwd>
#include <optional>
#include <string>

namespace kalvar {

// The text of the named file, or all of `in` for "-"; nullopt when it cannot be read.
std::optional<std::string> readSource(const std::string& source, std::istream& in);

} // namespace kalvar

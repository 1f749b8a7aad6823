#pragma once
// What a PDF file holds: its page count, read from the file itself, and the text of each page
// through ghostscript when it is installed.
#include <optional>
#include <string>
#include <vector>

#include <QString>

namespace kalvar::testing {

int pdfPageCount(const std::string& path);
// nullopt when no text extractor is installed.
std::optional<std::vector<QString>> pdfPageTexts(const std::string& path);

} // namespace kalvar::testing

#pragma once
// A minimal legacy workbook writer for test fixtures: one compound file holding a BIFF8
// "Workbook" stream with one or more sheets of numbers and texts. Only what the site
// workbooks need; written here so that no fixture comes from elsewhere.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace kalvar::testing {

struct XlsSheet {
    std::string name = "Лист1";
    // (row, column), both from 1 -> a number or a UTF-8 text.
    std::map<std::pair<int, int>, std::variant<double, std::string>> cells;
};

// Writes the sheets as an .xls file; returns false when the file cannot be written.
bool writeXlsFixture(const std::string& path, const std::vector<XlsSheet>& sheets);

} // namespace kalvar::testing

#pragma once
// Writes a workbook as an Office Open XML file (.xlsx).
#include <string>

#include "Workbook.h"

namespace kalvar {

// Writes the sheets in their order, the active one selected. Throws WorkbookError on failure;
// a partly written file is removed.
void writeXlsx(const Workbook& book, const std::string& path);

} // namespace kalvar

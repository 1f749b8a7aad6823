#pragma once
// Reads an Office Open XML workbook (.xlsx) into the workbook model: sheets, values, merges,
// fonts, alignments, wrapping, number formats, borders, row heights, column widths, page
// margins and embedded pictures. Enough for the site workbooks and to check what the report
// writer wrote.
#include <string>

#include "Workbook.h"

namespace kalvar {

// Throws WorkbookError: 53 when the file is not there, another number when it is no readable
// workbook.
Workbook readXlsx(const std::string& path);

} // namespace kalvar

#pragma once
// Reads the values of a legacy binary workbook (.xls, BIFF) into the workbook model.
#include <string>

#include "Workbook.h"

namespace kalvar {

// The sheets with their values: numbers as numbers, texts, dates and times as text. Limits of 0
// read everything; a reader that needs a corner of the first sheet asks for just that. Throws
// WorkbookError: 53 when the file is not there, another number when it is no readable workbook.
Workbook readXls(const std::string& path, int maxSheets = 0, int maxRows = 0, int maxColumns = 0);

} // namespace kalvar

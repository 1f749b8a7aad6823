#pragma once
// Reads the values of a legacy binary workbook (.xls, BIFF) into the workbook model.
#include <string>

#include "Workbook.h"

namespace kalvar {

// Every sheet with its values: numbers as numbers, texts, dates and times as text. Throws
// WorkbookError: 53 when the file is not there, another number when it is no readable workbook.
Workbook readXls(const std::string& path);

} // namespace kalvar

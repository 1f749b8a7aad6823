#pragma once
// The report's optional sheet "Варианты", after the description sheets: for every window the
// session's "Расчет" calculates, a block with all its variants (calc/variants.h) by total surface,
// those that break a limit with the limit named, the chosen one in bold and marked "выбран".
#include <vector>

#include "Workbook.h"
#include "calc_ui.h"
#include "startup.h"

namespace kalvar {

inline constexpr const char* variantsSheetName = "Варианты";

// Adds the sheet at the end of the workbook. `limitAnswers` are those of the session's last
// "Расчет", so that the chosen rows are the layouts the windows show.
void addVariantsSheet(Workbook& book, const Session& session,
                      const std::vector<LimitDialogAnswers>& limitAnswers, const TextMeasure& measure);

} // namespace kalvar

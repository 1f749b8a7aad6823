#include "layout_summary.h"

namespace kalvar {

std::string seriesName(const std::string& prefix, int typeIndex) {
    return prefix + std::to_string(typeIndex + 1);
}

std::string layoutSummary(const std::string& series, const std::string& passes, SummarySpacing spacing) {
    return std::string(spacing == SummarySpacing::Spaced ? "Тип " : "Тип") + series + "; ходов - " + passes +
           ".";
}

} // namespace kalvar

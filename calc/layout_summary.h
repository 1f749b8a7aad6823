#pragma once
// The names the windows give an exchanger's layout: the plate series and the layout summary the
// layout panel shows under it.
#include <string>

namespace kalvar {

// A plate series: the series prefix of the owner details and the series number, "КM2".
std::string seriesName(const std::string& prefix, int typeIndex);

// The results output has always written the summary with the series run into "Тип"; the layout
// panel and the search write it with a space. Both are what users see.
enum class SummarySpacing { Spaced, Joined };

// The layout summary "Тип КM2; ходов - 2.": series and passes as the window shows them.
std::string layoutSummary(const std::string& series, const std::string& passes,
                          SummarySpacing spacing = SummarySpacing::Spaced);

} // namespace kalvar

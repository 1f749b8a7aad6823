#include "VariantsSheet.h"

#include <algorithm>
#include <string>

#include "variants.h"

namespace kalvar {

namespace {

std::string windowTitle(WindowId id) {
    switch (id) {
    case WindowId::HotWater:
        return "Теплообменник ГВС";
    case WindowId::Ventilation:
        return "Теплообменник вентиляции";
    default:
        return "Теплообменник отопления";
    }
}

struct NumberColumn {
    const char* header; // "%P" stands for the pressure unit
    const char* format;
    double (*value)(const Variant&);
};

// clang-format off
const NumberColumn numberColumns[] = {
    {"Тип",                   "0",    [](const Variant& v) { return double(v.series); }},
    {"Ходов",                 "0",    [](const Variant& v) { return double(v.passes); }},
    {"Теплообм.",             "0",    [](const Variant& v) { return double(v.units); }},
    {"Пластин",               "0",    [](const Variant& v) { return double(v.results.plateCount); }},
    {"F общая, м2",           "0.00", [](const Variant& v) { return v.totalSurface(); }},
    {"Запас, %",              "0.0",  [](const Variant& v) { return v.results.margin.value_or(-1.0); }},
    {"k, Вт/м2С",             "0",    [](const Variant& v) { return v.results.k; }},
    {"ΔP греющ., %P",         "0.00", [](const Variant& v) { return v.results.heatingSide.loss; }},
    {"ΔP нагрев., %P",        "0.00", [](const Variant& v) { return v.results.heatedSide.loss; }},
    {"w греющ., м/с",         "0.00", [](const Variant& v) { return v.results.heatingSide.velocity; }},
    {"w нагрев., м/с",        "0.00", [](const Variant& v) { return v.results.heatedSide.velocity; }},
    {"w патрубка, м/с",       "0.00", [](const Variant& v) { return std::max(v.results.heatingNozzleVelocity, v.results.heatedNozzleVelocity); }},
    {"Масса общая, кг",       "0.0",  [](const Variant& v) { return v.totalWeight().value_or(-1.0); }},
};
// clang-format on

std::string headerText(const char* header, const UnitSettings& units) {
    std::string text = header;
    if (const auto at = text.find("%P"); at != std::string::npos)
        text.replace(at, 2, units.pressureInKPa ? "кПа" : "атм");
    return text;
}

} // namespace

void addVariantsSheet(Workbook& book, const Session& session,
                      const std::vector<LimitDialogAnswers>& limitAnswers, const TextMeasure& measure) {
    Sheet& sheet = book.addSheet(variantsSheetName);
    sheet.fitToPagesWide = 1;
    sheet.setText(1, 1, "Варианты: все теплообменники, подходящие для задачи");
    sheet.range(RangeRef{1, 1, 1, 8}).merge().setBold(true);
    const int lastColumn = 1 + static_cast<int>(std::size(numberColumns)) + 2;
    int row = 3;
    for (WindowVariants& table : sessionVariants(session, limitAnswers)) {
        std::stable_sort(
            table.variants.begin(), table.variants.end(),
            [](const Variant& a, const Variant& b) { return a.totalSurface() < b.totalSurface(); });
        sheet.setText(row, 1, windowTitle(table.window));
        // Merged, so that the column fit leaves the title out.
        sheet.range(RangeRef{row, 1, row, 4}).merge().setBold(true);
        ++row;
        sheet.setText(row, 1, "Обозначение");
        int column = 2;
        for (const NumberColumn& c : numberColumns)
            sheet.setText(row, column++, headerText(c.header, session.windows.units));
        sheet.setText(row, column++, "Ограничение");
        sheet.setText(row, column, "Выбор");
        sheet.range(RangeRef{row, 1, row, lastColumn}).setBold(true).setWrap(true).setBottomBorder(1);
        ++row;
        if (table.variants.empty()) sheet.setText(row++, 1, "нет вариантов");
        for (const Variant& v : table.variants) {
            sheet.setText(row, 1, v.results.designation);
            column = 2;
            for (const NumberColumn& c : numberColumns) {
                const double value = c.value(v);
                // A rating has no margin, a series without weights no weight: the cell stays empty.
                if (value >= 0) {
                    sheet.setNumber(row, column, value);
                    sheet.range(row, column).setNumberFormat(c.format);
                }
                ++column;
            }
            // One limit a line, the row as high as its lines.
            std::string limits = v.limit;
            int lines = 1;
            for (auto at = limits.find("; "); at != std::string::npos; at = limits.find("; ", at)) {
                limits.replace(at, 2, "\n");
                ++lines;
            }
            sheet.setText(row, column, limits);
            sheet.range(row, column++).setWrap(true).setVAlign(VAlign::Top);
            if (lines > 1)
                sheet.range(RangeRef{row, 1, row, lastColumn})
                    .setVAlign(VAlign::Top)
                    .setRowHeight(Sheet::defaultRowHeight * lines);
            if (v.chosen) {
                sheet.setText(row, column, "выбран");
                sheet.range(RangeRef{row, 1, row, lastColumn}).setBold(true);
            }
            ++row;
        }
        ++row;
    }
    sheet.range(RangeRef{3, 1, std::max(3, row - 1), lastColumn - 2}).widenColumnsToFit(measure);
    // The longest limit's text on its line.
    sheet.columnWidths[lastColumn - 1] = 66;
}

} // namespace kalvar

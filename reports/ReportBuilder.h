#pragma once
// The report workbook: the calculation sheet "Лист4", with every exchanger of the current system
// side by side, and one technical description per exchanger on "Лист1".."Лист3". Everything is
// read from the calculation windows, the unit settings, the owner details and the delivery terms;
// the calculation state and the windows are left as they are.
#include <string>
#include <vector>

#include "DeliveryTerms.h"
#include "OwnerDetails.h"
#include "Workbook.h"
#include "calc_ui.h"
#include "startup.h"

namespace kalvar {

struct ReportOptions {
    double date = 0;                      // spreadsheet date serial of G6; 0 = today
    std::vector<std::string> pictureDirs; // where "KM 1x.jpg".. are looked for; empty = workDir and dataDir
    TextMeasure measure; // text widths for the column auto-fit; empty = the sheet fonts' metrics
    // The limit answers of the last "Расчет", for the "Варианты" sheet's chosen rows.
    std::vector<LimitDialogAnswers> limitAnswers;
};

// One exchanger of a system: its window, its column pair on the calculation sheet and its
// description sheet.
struct ReportExchanger {
    CalcWindow* window;
    int column;     // 3, 5 or 7
    int sheetIndex; // 2, 3 or 4 ("Лист1".."Лист3")
};
std::vector<ReportExchanger> reportExchangers(WindowSet& windows, int systemKind);
// The sheets of the report of a system, in order: the calculation sheet, then the descriptions.
std::vector<std::string> reportSheetNames(WindowSet& windows, int systemKind);

// The workbook for the current system. Throws WorkbookError when a step fails (a pass drawing
// that is not there, for instance); the message names it.
Workbook buildReport(Session& session, const OwnerDetails& owner, const DeliveryTerms& terms,
                     const ReportOptions& options = {});

// The sheets a print selection prints, in printing order (the calculation sheet, then the
// hot-water, heating and ventilation descriptions) for a system kind.
struct PrintSelection {
    bool calculation = true;  // "расчет"
    bool hotWater = false;    // "ГВС"
    bool heating = false;     // "отопление"
    bool ventilation = false; // "вентиляция"
};
PrintSelection presetPrintSelection(int systemKind);
std::vector<std::string> selectedSheetNames(const PrintSelection& selection, int systemKind);

// Today as a spreadsheet date serial (days since 30 December 1899), local time.
double todaySerial();

} // namespace kalvar

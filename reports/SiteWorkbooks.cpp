#include "SiteWorkbooks.h"

#include <filesystem>

#include "XlsReader.h"
#include "XlsxReader.h"
#include "cipher.h"

namespace kalvar {

namespace {

Workbook openSiteWorkbook(const std::string& path) {
    if (path.ends_with(".xlsx")) return readXlsx(path);
    return readXls(path, 1, 8, 5); // the first sheet's A1:E8 holds every cell a reader takes
}

// The value of a cell of the first sheet as text; an empty cell cannot become text.
std::string cellText(const Workbook& book, int row, int column, const std::string& decimalSeparator) {
    const Sheet& sheet = book.sheet(1);
    const Cell* cell = sheet.findCell(row, column);
    if (!cell || cell->empty())
        throw WorkbookError(emptyCellError,
                            "ячейка " + cellAddress(row, column) + " первого листа не содержит значения");
    // A number as text the way the spreadsheet gives a value: up to 15 significant digits.
    if (const auto* d = std::get_if<double>(&cell->value)) return generalNumberText(*d, decimalSeparator, 15);
    return std::get<std::string>(cell->value);
}

} // namespace

std::string openFailureText(int number, const std::string& description) {
    if (number == fileNotFoundError) return "Файл не найден";
    return "Произошла ошибка  " + description;
}

std::optional<std::string> siteWorkbookPath(const std::string& folder, const std::string& baseName) {
    std::error_code error;
    for (const char* extension : {".xls", ".xlsx"}) {
        const std::string wanted = baseName + extension;
        // The listing must give exactly that name: another case or extension does not count.
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            if (it->path().filename().string() == wanted && it->is_regular_file(error))
                return (std::filesystem::path(folder) / wanted).string();
        }
    }
    return std::nullopt;
}

bool readInputWorkbook(WindowSet& windows, const std::string& path, const MessageBox& message) {
    // clang-format off
    static constexpr int rows[] = {2, 3, 4, 5, 7, 8};
    static constexpr Control CalcWindow::*boxes[] = {
        &CalcWindow::heatingInletTemperature, &CalcWindow::heatingOutletTemperature, &CalcWindow::heatedInletTemperature,
        &CalcWindow::heatedOutletTemperature, &CalcWindow::heatingLossLimit, &CalcWindow::heatedLossLimit,
    };
    // clang-format on
    CalcWindow* columns[] = {&windows.hotWater, &windows.heating, &windows.ventilation}; // C, D, E
    try {
        const Workbook book = openSiteWorkbook(path);
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < 6; ++i)
                (columns[c]->*boxes[i]).text = cellText(book, rows[i], 3 + c, windows.decimalSeparator);
        return true;
    } catch (const WorkbookError& e) {
        if (message) message(openMessageTitle, openFailureText(e.number, e.what()));
        return false;
    }
}

OwnerDetails readOwnerWorkbook(const std::string& path, const MessageBox& message, bool* ok) {
    OwnerDetails owner;
    std::string OwnerDetails::*members[] = {&OwnerDetails::ownerName,  &OwnerDetails::ownerAddress,
                                            &OwnerDetails::ownerPhone, &OwnerDetails::ownerSite,
                                            &OwnerDetails::ownerEmail, &OwnerDetails::seriesPrefix};
    if (ok) *ok = false;
    try {
        const Workbook book = openSiteWorkbook(path);
        for (int i = 0; i < 6; ++i)
            owner.*members[i] = decipher(cellText(book, 2 + i, 2, "."));
        if (ok) *ok = true;
    } catch (const WorkbookError& e) {
        if (message) message(openMessageTitle, openFailureText(e.number, e.what()));
    }
    return owner;
}

OwnerDetails readSiteWorkbooks(Session& session, const MessageBox& message, bool* ownerWorkbookFound) {
    const std::string& folder = session.state.workDir;
    if (const auto input = siteWorkbookPath(folder, inputWorkbookName))
        readInputWorkbook(session.windows, *input, message);
    OwnerDetails owner;
    const auto ownerPath = siteWorkbookPath(folder, ownerWorkbookName);
    if (ownerWorkbookFound) *ownerWorkbookFound = ownerPath.has_value();
    if (ownerPath) owner = readOwnerWorkbook(*ownerPath, message);
    session.state.seriesPrefix = owner.seriesPrefix;
    return owner;
}

} // namespace kalvar

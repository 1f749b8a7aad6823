#include "ReportBuilder.h"
#include "VariantsSheet.h"

#include <cmath>
#include <ctime>
#include <filesystem>
#include <optional>
#include <span>

#include "SheetRenderer.h"
#include "calculator.h"
#include "correlations.h"
#include "number_text.h"
#include "system_kinds.h"

namespace kalvar {

namespace {

constexpr const char* reportFont = "Arial CYR";

// A window text as a number, when the whole text is one ("0,5", "12", " 3.25 "); nullopt for an
// empty or non-numeric text, which leaves its cell empty.
std::optional<double> numberOf(const std::string& text) {
    std::string t = replaceAll(text, ",", ".");
    const size_t first = t.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::nullopt;
    const size_t last = t.find_last_not_of(" \t\r\n");
    t = t.substr(first, last - first + 1);
    char* end = nullptr;
    const double value = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(value)) return std::nullopt;
    // strtod takes hexadecimal and "inf"/"nan" spellings the windows never mean as numbers.
    if (t.find_first_of("xXnN") != std::string::npos) return std::nullopt;
    return value;
}

// Format(x, "0.0") * 1: the value as the pattern rounds it.
double rounded(double value, int decimals) {
    return readNumber(formatNumber(value, decimals));
}

// The scheme named on the calculation sheet; empty for a number that is no system.
std::string schemeName(int kind) {
    const SystemDescription* system = findSystem(kind);
    return system ? system->reportName : "";
}

// The report's exchangers: those of the system, or for a number that is no system those of a
// three-circuit scheme, every one of them.
std::span<const ReportColumn> reportColumnsOf(int systemKind) {
    const SystemDescription* system = findSystem(systemKind);
    return (system ? *system : describeSystem(parallelThreeCircuits)).reportColumns;
}

// "Лист1".."Лист3" for the description sheets 2..4.
std::string sheetName(int sheetIndex) {
    return "Лист" + std::to_string(sheetIndex - 1);
}

// The member of a record kept per circuit (the delivery terms, the print selection) for the window
// of that circuit.
template <typename PerCircuit> auto& ofWindow(PerCircuit& record, WindowId window) {
    switch (window) {
    case WindowId::HotWater:
        return record.hotWater;
    case WindowId::Heating:
        return record.heating;
    default:
        return record.ventilation;
    }
}

class ReportWriter {
  public:
    ReportWriter(Session& session, const OwnerDetails& owner, const DeliveryTerms& terms,
                 const ReportOptions& options)
        : s_(session.state), w_(session.windows), owner_(owner), terms_(terms), options_(options),
          book_(Workbook::reportWorkbook()) {
        measure_ = options.measure ? options.measure : sheetFontMeasure();
        if (options.pictureDirs.empty()) {
            for (const std::string& dir : {s_.workDir, s_.dataDir})
                if (!dir.empty()) pictureDirs_.push_back((std::filesystem::path(dir) / "picture").string());
        } else {
            pictureDirs_ = options.pictureDirs;
        }
    }

    Workbook run() {
        writeReport();
        return std::move(book_);
    }

  private:
    // One exchanger as the report sees it.
    struct Current {
        CalcWindow* form = nullptr;
        int column = 3;
        int plateType = 0;
        int passCount = 0; // 1..3, or 0 when the window shows none
        int exchangers = 1;
        std::string countText;
    };

    std::string numberText(double value) const { return generalNumberText(value, w_.decimalSeparator); }

    void setNumberOf(Sheet& sheet, int row, int column, const std::string& text) {
        if (const auto v = numberOf(text))
            sheet.setNumber(row, column, *v);
        else
            sheet.clear(row, column);
    }

    void writeReport() {
        Sheet& sheet = book_.sheet("Лист4");
        layOutCalculationSheet(sheet);
        writeRowLabels(sheet);
        writeUnits(sheet);
        writeHeading(sheet);
        for (const ReportExchanger& e : reportExchangers(w_, s_.systemKind))
            writeExchanger(sheet, e);
        // The value columns show their texts whole ("8 x 191,75"), in any program.
        sheet.range("C5:H35").widenColumnsToFit(measure_);
        finishPage(sheet);
        growRowForText(sheet, 8, 3);
    }

    // The calculation sheet's page, fonts, alignment, borders and merged cells, the captions of its
    // first rows, the date and the scheme.
    void layOutCalculationSheet(Sheet& sheet) {
        sheet.leftMargin = 60;
        sheet.rightMargin = 20;
        sheet.setAllFontSize(11);
        sheet.setAllFontName(reportFont);
        for (const char* r : {"C5:C35", "D5:D35", "E5:E35", "F5:F35", "G5:G35", "H5:H35"})
            sheet.range(r).setHAlign(HAlign::Centre);
        sheet.range("C8:C35").setLeftBorder(thinBorder);
        sheet.range("H8:H35").setRightBorder(thinBorder);
        sheet.range("A5:H5").setBottomBorder(thickBorder);
        sheet.range("A10:H10").setBottomBorder(thinBorder);
        sheet.range("A30:H30").setBottomBorder(thinBorder);

        sheet.range("C8").setWrap(true);
        sheet.range("C7:H7").merge();
        sheet.range("C8:H8").merge();
        sheet.range("C8").setVAlign(VAlign::Centre);
        sheet.range("C8").setRowHeight(31);

        sheet.setText(7, 1, "Схема подключения");
        sheet.setText(8, 1, "Название объекта");
        sheet.range("A8").setVAlign(VAlign::Centre);
        sheet.setText(10, 1, "Тип теплообменника");
        sheet.setText(11, 1, "Мощность");

        const double date = options_.date > 0 ? options_.date : todaySerial();
        sheet.setNumber(6, 7, date);
        sheet.range("G6").setNumberFormat("dd.mm.yyyy").setFontSize(10);
        sheet.range("B10:H10").setFontSize(10);

        sheet.setText(7, 3, schemeName(s_.systemKind));
    }

    // The quantities down column A, then column A fitted to them.
    void writeRowLabels(Sheet& sheet) {
        // clang-format off
        static const struct { int row; const char* label; } labels[] = {
            {13, "Количество каналов"},   {14, "Среда"},                {15, "Расход"},
            {16, "Входная температура"},  {17, "Выходная температура"}, {18, "Действит.температура"},
            {19, "Средняя температура"},  {20, "Логор. темп. перепад"}, {21, "Потери давления"},
            {22, "Скорость в канале"},    {23, "Фактор загрязнения"},   {24, "Площадь теплообмена"},
            {25, "Запас поверхности"},    {26, "Коэфф. теплопередачи"}, {27, "Объем жидкости"},
            {28, "Вес"},                  {31, "Теплоемкость"},         {32, "Плотность"},
            {33, "Вязкость"},             {34, "Теплопроводность"},     {35, "Коэфф. теплоотдачи"},
        };
        // clang-format on
        for (const auto& l : labels)
            sheet.setText(l.row, 1, l.label);
        sheet.range("A6:A35").autoFitCurrentRegionColumns(measure_);
        sheet.range("B9:B35").setFontSize(10);
    }

    // The units of column B in the user's unit settings, then the columns fitted to them.
    void writeUnits(Sheet& sheet) {
        const UnitSettings& units = w_.units;
        // clang-format off
        const struct { int row; std::string unit; } unitCells[] = {
            {11, units.heatInGcalPerHour ? "Гкал/ч" : "кВт"},
            {13, "шт"},
            {15, units.flowInM3PerHour ? "м3/ч" : "л/с"},
            {16, "°C"},                     // Latin C, as the sheet has always had it
            {17, "°С"}, {18, "°С"}, {19, "°С"}, {20, "°С"}, // Cyrillic С
            {21, units.pressureInKPa ? "кПа" : "атм"},
            {22, "м/с"}, {23, "м2°С/Вт"}, {24, "м2"}, {25, " %"}, {26, "Вт/м2°С"}, {27, "л"}, {28, "кг"},
            {31, "Дж/кг°С"}, {32, "кг/м3"}, {33, "мПа·с"}, {34, "Вт/м°С"}, {35, "Вт/м2°С"},
        };
        // clang-format on
        for (const auto& u : unitCells)
            sheet.setText(u.row, 2, u.unit);
        sheet.range("B5:B31").autoFitCurrentRegionColumns(measure_);
        sheet.range("C6").autoFitCurrentRegionColumns(measure_);
    }

    // The owner details and the object name at the top of the sheet.
    void writeHeading(Sheet& sheet) {
        sheet.range("A1:G1").merge();
        sheet.range("A2:B4").merge().setWrap(true);
        sheet.setText(1, 1, owner_.ownerName);
        sheet.setText(2, 1, owner_.ownerAddress);
        sheet.setText(2, 4, "Тел./Факс. " + owner_.ownerPhone);
        sheet.setText(3, 4, owner_.ownerSite);
        sheet.setText(4, 4, "e-mail:" + owner_.ownerEmail);
        sheet.setText(6, 2, "Расчет пластинчатого теплообменника");
        sheet.setText(9, 1, "Система");
        sheet.setText(8, 3, terms_.objectName);
        for (const char* r : {"A1", "A2", "D1", "D2", "D3", "D4", "B4", "A10"})
            sheet.range(r).setBold(true);
    }

    // An exchanger's columns on the calculation sheet and its technical description sheet.
    void writeExchanger(Sheet& sheet, const ReportExchanger& e) {
        Current current;
        current.form = e.window;
        current.column = e.column;
        current.plateType = plateTypeOf(*e.window);
        current.passCount = shownPassCount(*e.window);
        current.exchangers = e.window->exchangerCountList.listIndex + 1;
        current.countText = current.exchangers == 1 ? "" : std::to_string(current.exchangers) + " x ";
        writeResultColumns(sheet, current);
        writeDescriptionSheet(book_.sheet(e.sheetIndex), current);
        finishPage(book_.sheet(e.sheetIndex));
        growRowForText(book_.sheet(e.sheetIndex), 39, 3);
        growRowForText(book_.sheet(e.sheetIndex), 40, 3);
        growRowForText(book_.sheet(e.sheetIndex), 41, 3);
    }

    // Every used column gets its width written, and the sheet prints one page wide: another
    // program's default width or fonts must not push a column onto a second page.
    static void finishPage(Sheet& sheet) {
        for (int c = 1; c <= sheet.usedRange().lastColumn; ++c)
            sheet.columnWidths[c] = sheet.columnWidth(c);
        sheet.fitToPagesWide = 1;
    }

    // A row that holds user text in a wrapping cell grows to show every line; its designed height
    // stays the least.
    void growRowForText(Sheet& sheet, int row, int column) {
        const Cell* cell = sheet.findCell(row, column);
        if (!cell || cell->empty() || !cell->format.wrap) return;
        const RangeRef* merged = sheet.mergeAt(row, column);
        const RangeRef box = merged ? *merged : RangeRef{row, column, row, column};
        if (box.firstRow != box.lastRow) return;
        double width = -2 * 2.25; // the cell's padding, as the spreadsheet keeps it
        for (int c = box.firstColumn; c <= box.lastColumn; ++c)
            width += sheet.columnWidthPoints(c);
        const int lines = wrappedLineCount(displayText(*cell), cell->format, width);
        const double lineHeight = cell->format.fontSize * 1.3;
        const double needed = std::ceil(lines * lineHeight + 3);
        if (needed > sheet.rowHeight(row)) sheet.rowHeights[row] = needed;
    }

    // Lines a text takes when wrapped at word boundaries into the width (points); its own line
    // breaks count, a break at its very end does not.
    int wrappedLineCount(const std::string& text, const CellFormat& format, double width) const {
        std::vector<std::string> paragraphs{""};
        for (const char ch : text) {
            if (ch == '\r') continue;
            if (ch == '\n')
                paragraphs.emplace_back();
            else
                paragraphs.back() += ch;
        }
        if (paragraphs.size() > 1 && paragraphs.back().empty()) paragraphs.pop_back();
        int lines = 0;
        for (const std::string& paragraph : paragraphs) {
            ++lines;
            std::string line;
            size_t start = 0;
            while (start < paragraph.size()) {
                size_t end = paragraph.find(' ', start);
                if (end == std::string::npos) end = paragraph.size();
                const std::string word = paragraph.substr(start, end - start);
                const std::string longer = line.empty() ? word : line + " " + word;
                if (!line.empty() && measure_(longer, format) > width) {
                    ++lines;
                    line = word;
                } else {
                    line = longer;
                }
                start = end + 1;
            }
        }
        return lines;
    }

    int plateTypeOf(const CalcWindow& form) const {
        const int listed = form.plateTypeList.listIndex;
        if (listed != autoPlateEntry) return listed;
        switch (form.id) {
        case WindowId::HotWater:
            return s_.hotWaterLastType;
        case WindowId::Heating:
            return s_.heatingLastType;
        default:
            return s_.ventLastType;
        }
    }

    void writeResultColumns(Sheet& sheet, const Current& x) {
        const CalcWindow& f = *x.form;
        const int c = x.column;
        for (int row : {11, 9, 10, 20, 25, 28, 23, 24, 26})
            sheet.range(RangeRef{row, c, row, c + 1}).merge();

        sheet.setText(9, c, c == 3 ? "ГВС" : c == 5 ? "отопление" : "вентиляция");
        sheet.setText(10, c, f.designationBox.text);
        sheet.range(10, c).setBold(true);
        sheet.setText(11, c, f.heatLoad.text);
        sheet.setText(12, c, "греющ.");
        sheet.setText(12, c + 1, "нагрев.");
        const std::optional<double> plates = numberOf(f.plateCount.text);
        if (plates) {
            sheet.setNumber(13, c, *plates / 2 - 1);
            sheet.setNumber(13, c + 1, *plates / 2);
        } else {
            sheet.clear(13, c);
            sheet.clear(13, c + 1);
        }
        sheet.setText(14, c, "вода");
        sheet.setText(14, c + 1, "вода");
        setNumberOf(sheet, 15, c, f.optimalHeatingFlow.text);
        setNumberOf(sheet, 15, c + 1, f.heatedFlow.text);
        setNumberOf(sheet, 16, c, f.heatingInletTemperature.text);
        setNumberOf(sheet, 16, c + 1, f.heatedInletTemperature.text);
        setNumberOf(sheet, 17, c, f.heatingOutletTemperature.text);
        setNumberOf(sheet, 17, c + 1, f.heatedOutletTemperature.text);
        setNumberOf(sheet, 18, c, f.optimalHeatingOutletTemperature.text);

        writeMeanTemperatures(sheet, f, c);

        setNumberOf(sheet, 21, c, f.heatingLoss.text);
        setNumberOf(sheet, 21, c + 1, f.heatedLoss.text);
        setNumberOf(sheet, 22, c, f.heatingVelocity.text);
        setNumberOf(sheet, 22, c + 1, f.heatedVelocity.text);
        setNumberOf(sheet, 23, c, f.foulingResistance.text);
        countedText(sheet, 24, c, x, numberOf(f.surfaceArea.text));
        setNumberOf(sheet, 25, c, f.surfaceMargin.text);
        setNumberOf(sheet, 26, c, f.heatTransferCoefficient.text);

        writeLiquidVolumes(sheet, x, plates);
        countedText(sheet, 28, c, x, numberOf(f.weight.text));

        setNumberOf(sheet, 31, c, f.heatingHeatCapacity.text);
        setNumberOf(sheet, 31, c + 1, f.heatedHeatCapacity.text);
        setNumberOf(sheet, 32, c, f.heatingDensity.text);
        setNumberOf(sheet, 32, c + 1, f.heatedDensity.text);
        setNumberOf(sheet, 33, c, f.heatingViscosity.text);
        setNumberOf(sheet, 33, c + 1, f.heatedViscosity.text);
        setNumberOf(sheet, 34, c, f.heatingConductivity.text);
        setNumberOf(sheet, 34, c + 1, f.heatedConductivity.text);
        setNumberOf(sheet, 35, c, f.heatingFilmCoefficient.text);
        setNumberOf(sheet, 35, c + 1, f.heatedFilmCoefficient.text);
    }

    // Mean temperatures and the mean temperature difference. After a rating the optimal outlet
    // Text32 is empty: the design outlet Text4 stands in for it.
    static void writeMeanTemperatures(Sheet& sheet, const CalcWindow& f, int c) {
        const double heatingInlet = readNumber(f.heatingInletTemperature.text);
        const double heatingOutlet = numberOf(f.optimalHeatingOutletTemperature.text)
                                         ? readNumber(f.optimalHeatingOutletTemperature.text)
                                         : readNumber(f.heatingOutletTemperature.text);
        const double heatedInlet = readNumber(f.heatedInletTemperature.text);
        const double heatedOutlet = readNumber(f.heatedOutletTemperature.text);
        const double meanHeating = (heatingInlet + heatingOutlet) / 2;
        const double meanHeated = (heatedOutlet + heatedInlet) / 2;
        if (std::isfinite(meanHeating)) sheet.setNumber(19, c, rounded(meanHeating, 1));
        if (std::isfinite(meanHeated)) sheet.setNumber(19, c + 1, rounded(meanHeated, 1));
        if (const auto difference =
                meanTemperatureDifferenceOfEnds(heatingOutlet - heatedInlet, heatingInlet - heatedOutlet))
            sheet.setNumber(20, c, rounded(*difference, 1));
        else
            sheet.clear(20, c);
    }

    // Liquid volumes of the two sides, litres.
    void writeLiquidVolumes(Sheet& sheet, const Current& x, std::optional<double> plates) {
        const int c = x.column;
        if (plates && x.passCount > 0 && x.plateType >= 0 && x.plateType <= 4) {
            const auto t = static_cast<size_t>(x.plateType);
            const double d = s_.catalogue.equivalentDiameter[t], a = s_.catalogue.plateArea[t];
            const double v1 = d * a * x.passCount * (*plates - 1) * 1000 / 1.4;
            const double v2 = d * a * x.passCount * *plates * 1000 / 1.4;
            countedText(sheet, 27, c, x, rounded(v1, 2));
            countedText(sheet, 27, c + 1, x, rounded(v2, 2));
        } else {
            sheet.clear(27, c);
            sheet.clear(27, c + 1);
        }
    }

    // Rows 24, 27 and 28 hold text: the count text and the number in the user's locale.
    void countedText(Sheet& sheet, int row, int column, const Current& x, std::optional<double> value) {
        if (value && std::isfinite(*value))
            sheet.setText(row, column, x.countText + numberText(*value));
        else
            sheet.clear(row, column);
    }

    // The technical description of an exchanger: what it is, its dimensions and connections, the
    // delivery terms of its circuit and the drawing of its passes.
    void writeDescriptionSheet(Sheet& sheet, const Current& x) {
        const CalcWindow& f = *x.form;
        const bool twoStage = f.secondStageLossLimit.visible;
        sheet.leftMargin = 60;
        sheet.rightMargin = 20;
        sheet.setAllFontSize(11);
        sheet.setAllFontName(reportFont);

        writeDescriptionText(sheet, x, twoStage);
        writeDimensions(sheet, f);
        writeConnections(sheet, x, twoStage);
        writeTerms(sheet, f);
        if (x.passCount > 0) sheet.addPicture(passDrawing(x.passCount), 10, 150, 280, 420);
    }

    // The count of exchangers, the title and the paragraphs that describe the exchanger.
    void writeDescriptionText(Sheet& sheet, const Current& x, bool twoStage) {
        const CalcWindow& f = *x.form;
        const int n = x.exchangers;
        if (n >= 2 && n <= 4) sheet.setText(1, 7, "(" + std::to_string(n) + " штуки)");
        if (n >= 5 && n <= 8) sheet.setText(1, 7, "(" + std::to_string(n) + " штук)");
        sheet.range("G1").setBold(true);
        sheet.setText(2, 1, "ТЕХНИЧЕСКОЕ ОПИСАНИЕ НА ТЕПЛООБМЕННИК  " + f.designationBox.text);
        sheet.range("A2").setBold(true);

        sheet.range("A3:G3").setWrap(true);
        sheet.range("A6:G6").setWrap(true);
        sheet.range("A3:I3").merge();
        sheet.range("A6:I6").merge();
        sheet.range("A3").setRowHeight(60);
        sheet.range("A6").setRowHeight(31);

        std::string passWord = x.passCount == 1   ? "одноходовой"
                               : x.passCount == 2 ? "двухходовой"
                               : x.passCount == 3 ? "трехходовой"
                                                  : "";
        if (twoStage) passWord = "двухступенчатый";
        sheet.setText(3, 1,
                      "Пластинчатый, разборный, " + passWord +
                          " теплообменник предназначен для применения в системах отопления, ГВС, "
                          "кондиционирования и в различных технологических теплообменных процессах.");
        sheet.setText(4, 1, "Рабочее давление: до 16 атм.");
        sheet.setText(5, 1, "Рабочая температура: -10°C...+150°C.");
        sheet.setText(
            6, 1,
            "Материал теплообменных пластин - нержавеющая сталь EN 1.4301 (AISI 304).                   "
            "Материал прокладок - резина EPDM.");
    }

    // The lettered dimensions beside the drawing, and the weight under it.
    static void writeDimensions(Sheet& sheet, const CalcWindow& f) {
        const Control* dimensions[] = {&f.dimensionA, &f.dimensionB, &f.dimensionC, &f.dimensionD,
                                       &f.dimensionE, &f.dimensionF, &f.lengthL};
        const char* letters[] = {"A =", "B =", "C =", "D =", "E =", "F =", "L ="};
        for (int i = 0; i < 7; ++i) {
            sheet.setText(8 + i, 7, letters[i]);
            sheet.setText(8 + i, 8, dimensions[i]->text);
            sheet.setText(8 + i, 9, "мм");
        }
        sheet.setText(35, 2, "Вес =");
        sheet.setText(35, 3, f.weight.text);
        sheet.setText(35, 4, "кг");
    }

    // The legend of the drawing's connections, which depends on the passes, and their diameter.
    static void writeConnections(Sheet& sheet, const Current& x, bool twoStage) {
        const CalcWindow& f = *x.form;
        sheet.setText(16, 7, "1.Вход греющей среды.");
        sheet.setText(17, 7, "2.Выход греющей среды.");
        sheet.setText(18, 7, "3.Выход нагреваемой среды.");
        sheet.setText(19, 7, "4.Вход нагреваемой среды.");
        if (x.passCount == 2 && twoStage) {
            sheet.setText(20, 7, "5. Обратка отопления.");
            sheet.setText(21, 7, "(Слив и очистка).");
            sheet.setText(22, 7, "6. Циркуляция ГВС.");
            sheet.setText(23, 7, "(Слив и очистка).");
        } else if (x.passCount == 2) {
            sheet.setText(20, 7, "5. Слив и очистка.");
            sheet.setText(21, 7, "6. Слив и очистка.");
            sheet.setText(22, 7, "(Циркуляция ГВС).");
        } else if (x.passCount == 3) {
            sheet.setText(20, 7, "5. Обратка отопления.");
            sheet.setText(21, 7, "  (Слив и очистка).");
            sheet.setText(22, 7, "6. Циркуляция ГВС.");
            sheet.setText(23, 7, "  (Слив и очистка).");
            sheet.setText(24, 7, "7,8. Развоздушивание.");
        }

        sheet.setText(34, 7, f.nozzleSize.text == "1 дюйм" ? "Диаметр муфты -" : "Диаметр фланцев -");
        sheet.setText(35, 8, f.nozzleSize.text);
    }

    // Price, delivery terms and notes of the exchanger's circuit, as the delivery-terms dialog took them.
    void writeTerms(Sheet& sheet, const CalcWindow& f) {
        sheet.range("A38:B38").merge();
        sheet.setText(39, 1, "Цена без НДС:");
        sheet.setText(40, 1, "Условия поставки:");
        sheet.setText(41, 1, "Примечания:");
        for (const char* r : {"C39", "C40", "C41"})
            sheet.range(r).setWrap(true).setHAlign(HAlign::Left);
        for (const char* r : {"A40", "A41", "C40", "C41"})
            sheet.range(r).setVAlign(VAlign::Top);
        sheet.range("C39:F39").merge().setNumberFormat("0");
        sheet.range("C40:I40").merge();
        sheet.range("C41:I41").merge();
        sheet.range("A40:A41").setRowHeight(31);

        const TermsColumn& column = ofWindow(terms_, f.id);
        // The price goes in as a number when it is one, so that the "0" format applies.
        if (const auto price = numberOf(column.price))
            sheet.setNumber(39, 3, *price);
        else
            sheet.setText(39, 3, column.price);
        sheet.setText(40, 3, column.terms);
        sheet.setText(41, 3, column.notes);
    }

    std::string passDrawing(int passes) const {
        const std::string name = "KM " + std::to_string(passes) + "x.jpg";
        std::error_code error;
        for (const std::string& dir : pictureDirs_) {
            const std::filesystem::path file = std::filesystem::path(dir) / name;
            if (std::filesystem::is_regular_file(file, error)) return file.string();
        }
        throw WorkbookError(fileNotFoundError,
                            "Файл не найден: рисунок ходов \"" + name + "\" (папка picture)");
    }

    CalcState& s_;
    WindowSet& w_;
    const OwnerDetails& owner_;
    const DeliveryTerms& terms_;
    const ReportOptions& options_;
    Workbook book_;
    TextMeasure measure_;
    std::vector<std::string> pictureDirs_;
};

} // namespace

std::vector<ReportExchanger> reportExchangers(WindowSet& windows, int systemKind) {
    std::vector<ReportExchanger> exchangers;
    for (const ReportColumn& c : reportColumnsOf(systemKind))
        exchangers.push_back({&windows.calcWindow(c.window), c.column, c.sheet});
    return exchangers;
}

std::vector<std::string> reportSheetNames(WindowSet& windows, int systemKind) {
    std::vector<std::string> names{"Лист4"};
    for (const ReportExchanger& e : reportExchangers(windows, systemKind))
        names.push_back(sheetName(e.sheetIndex));
    return names;
}

Workbook buildReport(Session& session, const OwnerDetails& owner, const DeliveryTerms& terms,
                     const ReportOptions& options) {
    ReportWriter writer(session, owner, terms, options);
    Workbook book = writer.run();
    if (terms.variantsSheet)
        addVariantsSheet(book, session, options.limitAnswers,
                         options.measure ? options.measure : sheetFontMeasure());
    return book;
}

PrintSelection presetPrintSelection(int systemKind) {
    PrintSelection p;
    for (const ReportColumn& c : reportColumnsOf(systemKind))
        ofWindow(p, c.window) = true;
    return p;
}

std::vector<std::string> selectedSheetNames(const PrintSelection& selection, int systemKind) {
    // A description the system's report lacks is asked for by the sheet it has in a
    // three-circuit scheme's report.
    const auto sheetOf = [systemKind](WindowId window) {
        for (const std::span<const ReportColumn> columns :
             {reportColumnsOf(systemKind), reportColumnsOf(parallelThreeCircuits)})
            for (const ReportColumn& c : columns)
                if (c.window == window) return sheetName(c.sheet);
        return std::string();
    };
    std::vector<std::string> names;
    if (selection.calculation) names.push_back("Лист4");
    for (const WindowId window : {WindowId::HotWater, WindowId::Heating, WindowId::Ventilation})
        if (ofWindow(selection, window)) names.push_back(sheetOf(window));
    return names;
}

double todaySerial() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // Days from 1 January 1970 of the local date, then the spreadsheet's epoch.
    std::tm midnight = local;
    midnight.tm_hour = 12; // noon keeps daylight-saving shifts off the date
    midnight.tm_min = midnight.tm_sec = 0;
    const long days = static_cast<long>(timegm(&midnight) / 86400);
    return static_cast<double>(days + 25569);
}

} // namespace kalvar

#include "window_model.h"

#include "number_text.h"

namespace kalvar {

void Control::setListIndex(int index) {
    listIndex = index;
    for (auto& handler : listHandlers_)
        handler();
}

void Control::setItems(std::vector<std::string> newItems) {
    items = std::move(newItems);
    listIndex = -1;
}

int selectedPipeBore(const Control& list) {
    if (list.listIndex < 0 || list.listIndex >= 8) return 0;
    return pipeBoresMm[list.listIndex];
}

namespace {

void makeResult(Control& box, uint32_t colour = colours::result) {
    box.locked = true;
    box.backColor = colour;
}

// The start-up state every calculation window shares; the differences follow per window.
void loadCalcWindow(CalcWindow& w) {
    w.flowTableFrame.text = "Теплотехнические и гидравлические характеристики";
    w.exchangerResultsFrame.text = "Параметры ";
    w.exchangerResultsCaption.text = "теплообменника";
    w.flowTableFrame.backColor = colours::resultFrame;
    w.exchangerResultsFrame.backColor = colours::resultFrame;

    w.designationBox.locked = true;
    w.designationBox.bold = true;
    w.designationBox.toolTip = "Выбранный тип теплообменника";
    w.layoutSummaryLabel.text = "автовыбор";
    w.layoutSummaryLabel.toolTip = "Компоновка теплообменника";

    w.heatLoadLabel.text = "Q=";
    w.heatLoadUnitLabel.text = "Гкал/ч";
    w.plateCountLabel.text = "n =";
    w.heatingMediumLabel.text = "греющий поток";
    w.heatedMediumLabel.text = "нагреваемый поток";
    w.foulingLabel.text = "загрязнение";
    w.minSurfaceMarginLabel.text = "мин. запас";
    w.flowUnitLabel.text = "м  /ч";
    w.flowUnitSuperscript.text = "3";
    w.lossLimitUnitLabel.text = "кПа";
    w.lossUnitLabel.text = "кПа";
    w.showAdditionalResults.text = "Дополнительные результаты расчета";
    w.showAdditionalResults.toolTip = "Дополнительные результаты расчета";
    w.foulingResistance.toolTip = "Загрязнение, (м2*К)/Вт";

    w.heatLoad.text = "0,2";
    w.heatedFlow.text = "1,0";
    w.heatingInletTemperature.text = "110";
    w.heatedInletTemperature.text = "65";
    w.heatingOutletTemperature.text = "70";
    w.heatedOutletTemperature.text = "95";
    w.heatingLossLimit.text = "20";
    w.heatedLossLimit.text = "20";
    w.foulingResistance.text = "0,0";
    w.minSurfaceMargin.text = "0,0";

    for (Control* box : {&w.heatingFlow, &w.heatedFlow, &w.heatingVelocity, &w.heatedVelocity, &w.plateCount,
                         &w.heatTransferCoefficient, &w.surfaceArea, &w.weight})
        makeResult(*box);
    for (Control* box :
         {&w.optimalHeatingFlow, &w.optimalHeatingOutletTemperature, &w.optimalHeatingVelocity})
        makeResult(*box, colours::optimum);
    for (Control* box :
         {&w.heatingLoss, &w.heatedLoss, &w.heatingPumpPower, &w.heatedPumpPower, &w.surfaceMargin})
        makeResult(*box, colours::lossPink);

    w.heatLoadIsGiven.text = "G";
    w.heatLoadIsGiven.toolTip = "Расчет по расходу";
    w.heatedFlowIsGiven.text = "Q";
    w.heatedFlowIsGiven.toolTip = "Расчет по теплоте";
    w.plateCountIsGiven.text = "Расчет теплообменника";
    w.heatedFlowIsGiven.value = 0;
    w.heatLoadIsGiven.value = 1;

    if (w.id == WindowId::Heating)
        w.plateTypeList.items = {"КM1", "КM2", "KM3", "КM4", "КM5", "Автовыбор"};
    else
        w.plateTypeList.items = {"НС0", "НС05", "НС1", "НС2", "НС3", "Автовыбор"};
    w.passCountList.items = {"/1", "/2", "/3", "автовыбор"};
    w.exchangerCountList.items = {"x1", "x2", "x3", "x4", "x5", "x6", "x7", "x8", "x9"};
    w.heatingMediumList.items = {"вода", "другое"};
    w.heatedMediumList.items = {"вода", "другое"};
    w.plateTypeList.listIndex = 5;
    w.passCountList.listIndex = 3;
    w.exchangerCountList.listIndex = 0;
    w.heatingMediumList.listIndex = 0;
    w.heatedMediumList.listIndex = 0;

    if (!w.hasSecondStage()) {
        // Only the hot-water window has these; the others never show them.
        w.secondStageLossLimit.visible = false;
        w.interstagePipeList.visible = false;
        w.interstagePipeVelocity.visible = false;
        return;
    }
    w.secondStageLossLimit.text = "7";
    w.secondStageLossLimit.toolTip = "Потери давления во второй ступени";
    w.interstagePipeList.toolTip = "Диаметр, мм";
    w.interstagePipeList.items = {"20", "25", "32", "40", "50", "65", "80", "100"};
    w.interstagePipeList.listIndex = 4;
    w.interstagePipeVelocity.toolTip = "Скорость,м/с";
}

} // namespace

CalcWindow::CalcWindow(WindowId windowId) : id(windowId) {
    loadCalcWindow(*this);
    switch (id) {
    case WindowId::HotWater:
        name = "Form3";
        caption = "ГВС";
        titleLabel.text = "ГВС";
        connectionLegend.text = "Label5";
        heatingInletTemperature.text = "60";
        heatedInletTemperature.text = "5";
        heatingOutletTemperature.text = "30";
        heatedOutletTemperature.text = "55";
        break;
    case WindowId::Heating:
        name = "Form2";
        caption = "Отопление";
        titleLabel.text = "ОТОПЛЕНИЕ";
        connectionLegend.text = "Варимекс - это надежный партнер";
        break;
    default:
        name = "Form1";
        caption = "";
        backColor = colours::ventilation;
        titleLabel.text = "ВЕНТИЛЯЦИЯ";
        connectionLegend.text = "Label5";
        break;
    }
}

std::vector<std::pair<std::string, Control*>> CalcWindow::controls() {
    std::vector<std::pair<std::string, Control*>> all;
#define KALVAR_LIST_CONTROL(member, key, kind, taskKey, meaning) all.emplace_back(key, &member);
    KALVAR_CALC_WINDOW_CONTROLS(KALVAR_LIST_CONTROL)
    if (hasSecondStage()) {
        KALVAR_SECOND_STAGE_CONTROLS(KALVAR_LIST_CONTROL)
    }
    return all;
}

Control* CalcWindow::find(std::string_view key) {
    for (auto& [controlKey, control] : controls())
        if (controlKey == key) return control;
    return nullptr;
}

AdditionalResultsWindow::AdditionalResultsWindow() {
    geometricViewButton.text = "Геометрические параметры";
    geometricViewButton.bold = true;
    thermophysicalViewButton.text = "Теплофизические параметры";
    pipesFrame.text = "Параметры патрубков";
    valveFrame.text = "Регулирующий клапан";
    heatingPipeList.toolTip = "Диаметр трубы, мм";
    heatedPipeList.toolTip = "Диаметр трубы, мм";
    heatingPipeVelocity.toolTip = "Скорость в трубе,м/с";
    heatedPipeVelocity.toolTip = "Скорость в трубе,м/с";
    valvePressureDrop.text = "100";
    valvePressureDrop.toolTip = "Перепад давления на клапане";
    valvePressureDropUnitLabel.text = "кПа";
    valveFlowCapacity.toolTip = "Условная пропускная способность, м3/ч";
    valveNominalDiameter.toolTip = "Диаметр условного прохода клапана, мм";
    equivalentDiameter.visible = false;
    flangesLabel.text = "Фланцы (патрубки)";
    flangeDiameterLabel.text = " Ду=";
    nozzleSize.toolTip = "Диаметр фланца, мм";
    for (Control* box : {&dimensionA, &lengthL, &dimensionB, &dimensionC, &dimensionE, &dimensionF})
        box->toolTip = "Габаритный размер, мм";
    // The property grid belongs to the thermophysical view, hidden while the geometric one shows.
    for (Control* box :
         {&heatingHeatCapacity, &heatingDensity, &heatingViscosity, &heatingConductivity, &heatingReynolds,
          &heatingFilmCoefficient, &heatingNusselt, &heatedHeatCapacity, &heatedDensity, &heatedViscosity,
          &heatedConductivity, &heatedReynolds, &heatedFilmCoefficient, &heatedNusselt})
        box->visible = false;
}

std::vector<std::pair<std::string, Control*>> AdditionalResultsWindow::controls() {
    std::vector<std::pair<std::string, Control*>> all;
    KALVAR_ADDITIONAL_RESULTS_CONTROLS(KALVAR_LIST_CONTROL)
    return all;
}
#undef KALVAR_LIST_CONTROL

#define KALVAR_TASK_INPUT(member, key, kind, taskKey, meaning) \
    if (*taskKey != '\0') inputs.push_back(TaskInput{key, taskKey, ControlKind::kind});

const std::vector<TaskInput>& calcWindowTaskInputs() {
    static const std::vector<TaskInput> all = [] {
        std::vector<TaskInput> inputs;
        KALVAR_CALC_WINDOW_CONTROLS(KALVAR_TASK_INPUT)
        return inputs;
    }();
    return all;
}

const std::vector<TaskInput>& secondStageTaskInputs() {
    static const std::vector<TaskInput> all = [] {
        std::vector<TaskInput> inputs;
        KALVAR_SECOND_STAGE_CONTROLS(KALVAR_TASK_INPUT)
        return inputs;
    }();
    return all;
}

const std::vector<TaskInput>& additionalResultsTaskInputs() {
    static const std::vector<TaskInput> all = [] {
        std::vector<TaskInput> inputs;
        KALVAR_ADDITIONAL_RESULTS_CONTROLS(KALVAR_TASK_INPUT)
        return inputs;
    }();
    return all;
}
#undef KALVAR_TASK_INPUT

Control* AdditionalResultsWindow::find(std::string_view key) {
    for (auto& [controlKey, control] : controls())
        if (controlKey == key) return control;
    return nullptr;
}

WindowSet::WindowSet() = default;

CalcWindow* WindowSet::calcWindow(std::string_view name) {
    if (name == "Form1") return &ventilation;
    if (name == "Form2") return &heating;
    if (name == "Form3") return &hotWater;
    return nullptr;
}

CalcWindow& WindowSet::calcWindow(WindowId id) {
    switch (id) {
    case WindowId::Ventilation:
        return ventilation;
    case WindowId::HotWater:
        return hotWater;
    default:
        return heating;
    }
}

std::string WindowSet::format(double x, int decimals) const {
    return formatNumber(x, decimals, decimalSeparator);
}

} // namespace kalvar

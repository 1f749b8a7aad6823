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

std::string controlName(std::string_view member) {
    // Control arrays are declared Name_index and named "Name(index)".
    const size_t underscore = member.find('_');
    if (underscore == std::string_view::npos) return std::string(member);
    return std::string(member.substr(0, underscore)) + "(" + std::string(member.substr(underscore + 1)) + ")";
}

void makeResult(Control& box, uint32_t colour = colours::result) {
    box.locked = true;
    box.backColor = colour;
}

// The start-up state every calculation window shares; the differences follow per window.
void loadCalcWindow(CalcWindow& w) {
    w.Frame5.text = "Теплотехнические и гидравлические характеристики";
    w.Frame3.text = "Параметры ";
    w.Label4.text = "теплообменника";
    w.Frame5.backColor = colours::resultFrame;
    w.Frame3.backColor = colours::resultFrame;

    w.Text1.locked = true;
    w.Text1.bold = true;
    w.Text1.toolTip = "Выбранный тип теплообменника";
    w.label54.text = "автовыбор";
    w.label54.toolTip = "Компоновка теплообменника";

    w.Label60.text = "Q=";
    w.Label57.text = "Гкал/ч";
    w.Label80.text = "n =";
    w.Label18.text = "греющий поток";
    w.Label19.text = "нагреваемый поток";
    w.Label22_2.text = "загрязнение";
    w.Label22_3.text = "мин. запас";
    w.Label59.text = "м  /ч";
    w.Label21.text = "3";
    w.Label34_0.text = "кПа";
    w.Label34_1.text = "кПа";
    w.Check1.text = "Дополнительные результаты расчета";
    w.Check1.toolTip = "Дополнительные результаты расчета";
    w.Text25.toolTip = "Загрязнение, (м2*К)/Вт";

    w.Text30.text = "0,2";
    w.Text33.text = "1,0";
    w.Text2.text = "110";
    w.Text3.text = "65";
    w.Text4.text = "70";
    w.Text5.text = "95";
    w.Text6.text = "20";
    w.Text7.text = "20";
    w.Text25.text = "0,0";
    w.Text53.text = "0,0";

    for (Control* box :
         {&w.Text31, &w.Text33, &w.Text34, &w.Text35, &w.Text38, &w.Text26, &w.Text27, &w.Text29})
        makeResult(*box);
    for (Control* box : {&w.Text47, &w.Text32, &w.Text49})
        makeResult(*box, colours::optimum);
    for (Control* box : {&w.Text36, &w.Text37, &w.Text54, &w.Text55, &w.Text28})
        makeResult(*box, colours::lossPink);

    w.Check3.text = "G";
    w.Check3.toolTip = "Расчет по расходу";
    w.Check2.text = "Q";
    w.Check2.toolTip = "Расчет по теплоте";
    w.Check5.text = "Расчет теплообменника";
    w.Check2.value = 0;
    w.Check3.value = 1;

    if (w.id == WindowId::Form2)
        w.Combo1.items = {"КM1", "КM2", "KM3", "КM4", "КM5", "Автовыбор"};
    else
        w.Combo1.items = {"НС0", "НС05", "НС1", "НС2", "НС3", "Автовыбор"};
    w.Combo2.items = {"/1", "/2", "/3", "автовыбор"};
    w.Combo3.items = {"x1", "x2", "x3", "x4", "x5", "x6", "x7", "x8", "x9"};
    w.Combo4.items = {"вода", "другое"};
    w.Combo7.items = {"вода", "другое"};
    w.Combo1.listIndex = 5;
    w.Combo2.listIndex = 3;
    w.Combo3.listIndex = 0;
    w.Combo4.listIndex = 0;
    w.Combo7.listIndex = 0;

    if (!w.hasSecondStage()) {
        // Only the hot-water window has these; the others never show them.
        w.Text10.visible = false;
        w.Combo8.visible = false;
        w.Text67.visible = false;
        return;
    }
    w.Text10.text = "7";
    w.Text10.toolTip = "Потери давления во второй ступени";
    w.Combo8.toolTip = "Диаметр, мм";
    w.Combo8.items = {"20", "25", "32", "40", "50", "65", "80", "100"};
    w.Combo8.listIndex = 4;
    w.Text67.toolTip = "Скорость,м/с";
}

} // namespace

CalcWindow::CalcWindow(WindowId windowId) : id(windowId) {
    loadCalcWindow(*this);
    switch (id) {
    case WindowId::Form3:
        name = "Form3";
        caption = "ГВС";
        Label7.text = "ГВС";
        Label5.text = "Label5";
        Text2.text = "60";
        Text3.text = "5";
        Text4.text = "30";
        Text5.text = "55";
        break;
    case WindowId::Form2:
        name = "Form2";
        caption = "Отопление";
        Label7.text = "ОТОПЛЕНИЕ";
        Label5.text = "Варимекс - это надежный партнер";
        break;
    default:
        name = "Form1";
        caption = "";
        backColor = colours::ventilation;
        Label7.text = "ВЕНТИЛЯЦИЯ";
        Label5.text = "Label5";
        break;
    }
}

std::vector<std::pair<std::string, Control*>> CalcWindow::controls() {
    std::vector<std::pair<std::string, Control*>> all;
#define KALVAR_LIST_CONTROL(member, kind) all.emplace_back(controlName(#member), &member);
    KALVAR_CALC_WINDOW_CONTROLS(KALVAR_LIST_CONTROL)
    if (hasSecondStage()) {
        KALVAR_SECOND_STAGE_CONTROLS(KALVAR_LIST_CONTROL)
    }
    return all;
}

Control* CalcWindow::find(std::string_view controlName) {
    for (auto& [name, control] : controls())
        if (name == controlName) return control;
    return nullptr;
}

AdditionalResultsWindow::AdditionalResultsWindow() {
    Command1.text = "Геометрические параметры";
    Command1.bold = true;
    Command2.text = "Теплофизические параметры";
    Frame1.text = "Параметры патрубков";
    Frame2.text = "Регулирующий клапан";
    Combo5.toolTip = "Диаметр трубы, мм";
    Combo6.toolTip = "Диаметр трубы, мм";
    Text45.toolTip = "Скорость в трубе,м/с";
    Text46.toolTip = "Скорость в трубе,м/с";
    Text10.text = "100";
    Text10.toolTip = "Перепад давления на клапане";
    Label35.text = "кПа";
    Text9.toolTip = "Условная пропускная способность, м3/ч";
    Text8.toolTip = "Диаметр условного прохода клапана, мм";
    Text42.visible = false;
    Label72_0.text = "Фланцы (патрубки)";
    Label72_1.text = " Ду=";
    Text58.toolTip = "Диаметр фланца, мм";
    for (Control* box : {&Text50, &Text56, &Text52, &Text1, &Text3, &Text2})
        box->toolTip = "Габаритный размер, мм";
    // The property grid belongs to the thermophysical view, hidden while the geometric one shows.
    for (Control* box : {&Text11, &Text12, &Text13, &Text14, &Text15, &Text16, &Text17, &Text18, &Text19,
                         &Text20, &Text21, &Text22, &Text23, &Text24})
        box->visible = false;
}

std::vector<std::pair<std::string, Control*>> AdditionalResultsWindow::controls() {
    std::vector<std::pair<std::string, Control*>> all;
    KALVAR_FORM12_CONTROLS(KALVAR_LIST_CONTROL)
    return all;
}
#undef KALVAR_LIST_CONTROL

Control* AdditionalResultsWindow::find(std::string_view controlName) {
    for (auto& [name, control] : controls())
        if (name == controlName) return control;
    return nullptr;
}

WindowSet::WindowSet() = default;

CalcWindow* WindowSet::calcWindow(std::string_view name) {
    if (name == "Form1") return &Form1;
    if (name == "Form2") return &Form2;
    if (name == "Form3") return &Form3;
    return nullptr;
}

CalcWindow& WindowSet::calcWindow(WindowId id) {
    switch (id) {
    case WindowId::Form1:
        return Form1;
    case WindowId::Form3:
        return Form3;
    default:
        return Form2;
    }
}

std::string WindowSet::format(double x, int decimals) const {
    return formatNumber(x, decimals, decimalSeparator);
}

} // namespace kalvar

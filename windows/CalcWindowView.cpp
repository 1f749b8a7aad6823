#include "CalcWindowView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QVBoxLayout>

#include "AccessibleWidgets.h"
#include "DesktopHost.h"
#include "Form10.h"
#include "ModelBinding.h"
#include "NumberFilter.h"
#include "Twips.h"
#include "ZuPanel.h"
#include "additional_results.h"
#include "startup.h"

using kalvar::CalcWindow;
using kalvar::Control;
using kalvar::WindowId;

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
QString qs(const char* text) {
    return QString::fromUtf8(text);
}

// clang-format off
// Pointer-over hints, the same in the three windows.
const std::pair<const char*, const char*> pointerHints[] = {
    {"Text30", "Подсказка: Тепловая мощность пластинчатого теплообменника"},
    {"Text31", "Подсказка: Расход греющего теплоносителя"},
    {"Text33", "Подсказка: Расход нагреваемого теплоносителя"},
    {"Text47", "Подсказка: Оптимальный расход греющего теплоносителя"},
    {"Text49", "Подсказка: Оптимальная скорость греющего теплоносителя в каналах пластинчатого теплообменника"},
    {"Text34", "Подсказка: Скорость греющего теплоносителя в каналах пластинчатого теплообменника"},
    {"Text35", "Подсказка: Скорость нагреваемого теплоносителя в каналах пластинчатого теплообменника"},
    {"Text6",  "Подсказка: Максимально возможные потери давления греющего теплоносителя в пластинчатом теплообменнике"},
    {"Text7",  "Подсказка: Максимально возможные потери давления нагреваемого теплоносителя в пластинчатом теплообменнике"},
    {"Text36", "Подсказка: Действительные потери давления греющего теплоносителя в пластинчатом теплообменнике"},
    {"Text37", "Подсказка: Действительные потери давления нагреваемого теплоносителя в пластинчатом теплообменнике"},
    {"Text54", "Подсказка: Гидравлическая мощность затрачиваемая на прокачку греющей среды"},
    {"Text55", "Подсказка: Гидравлическая мощность затрачиваемая на прокачку нагреваемой среды"},
    {"Text38", "Подсказка: Общее число пластин теплобменника"},
    {"Text32", "Подсказка: Оптимальная температура греющего теплоносителя на выходе из пластинчатого теплообменника"},
    {"Text26", "Подсказка: Коэффициент теплопередачи пластинчатого теплообменника"},
    {"Text27", "Подсказка: Эффективная площадь теплопередающей поверхности пластинчатого теплообменника"},
    {"Text28", "Подсказка: Запас теплообменной поверхности пластинчатого теплообменника"},
    {"Text29", "Подсказка: Вес пластинчатого теплообменника"},
    {"Text25", "Подсказка: Эффективная толщина отложений на теплообменной поверхности пластинчатого теплообменника"},
    {"Text53", "Подсказка: Задаваемый минимальный запас теплообменной поверхности, %"},
    {"Text2",  "Подсказка: Температура греющей среды на входе в пластинчатый теплообменник "},
    {"Text3",  "Подсказка: Температура нагреваемой среды на входе в пластинчатый теплообменник"},
    {"Text4",  "Подсказка: Температура греющей среды на выходе из пластинчатого теплообменника"},
    {"Text5",  "Подсказка: Температура нагреваемой среды на выходе из пластинчатого теплообменника"},
    {"Check1", "Подсказка: Дополнительные результаты расчета теплообменника"},
};

// Hints when a medium list receives the focus.
const std::pair<const char*, const char*> focusHints[] = {
    {"Combo4", "Подсказка: Выбор греющей среды"},
    {"Combo7", "Подсказка: Выбор нагреваемой среды"},
};

// What a screen reader speaks for each visible control: its label with the unit. {Q}, {G} and {P}
// stand for the heat-flow, flow and pressure units in force.
const std::pair<const char*, const char*> accessibleNames[] = {
    {"Text1",  "Выбранный тип теплообменника"},
    {"Text30", "Q, {Q}"},
    {"Text38", "n, общее число пластин"},
    {"Combo4", "греющий поток"},
    {"Combo7", "нагреваемый поток"},
    {"Check1", "Дополнительные результаты расчета"},
    {"Text25", "загрязнение, (м2*К)/Вт"},
    {"Text53", "мин. запас, %"},
    {"Text31", "G греющей среды, {G}"},
    {"Text47", "G оптимальный греющей среды, {G}"},
    {"Text33", "G нагреваемой среды, {G}"},
    {"Text2",  "t вх греющей среды, °C"},
    {"Text3",  "t вх нагреваемой среды, °C"},
    {"Text4",  "t вых греющей среды, °C"},
    {"Text32", "t вых оптимальная греющей среды, °C"},
    {"Text5",  "t вых нагреваемой среды, °C"},
    {"Text34", "v греющей среды, м/с"},
    {"Text49", "v оптимальная греющей среды, м/с"},
    {"Text35", "v нагреваемой среды, м/с"},
    {"Text6",  "ΔP max греющей среды, {P}"},
    {"Text10", "ΔP max второй ступени, кПа"},
    {"Combo8", "D трубы между ступенями, мм"},
    {"Text67", "v в трубе между ступенями, м/с"},
    {"Text7",  "ΔP max нагреваемой среды, {P}"},
    {"Text36", "ΔP греющей среды, {P}"},
    {"Text37", "ΔP нагреваемой среды, {P}"},
    {"Text54", "N греющей среды, Вт"},
    {"Text55", "N нагреваемой среды, Вт"},
    {"Text26", "К тп, Вт/(м2·С)"},
    {"Text27", "S, м2"},
    {"Text28", "запас, %"},
    {"Text29", "масса, кг"},
    {"Label59", "{G}"},
    {"Frame5", "Теплотехнические и гидравлические характеристики"},
    {"Frame3", "Параметры теплообменника"},
};

// The given-parameter commands: check marks of menu items 3, 4, 5; the flags Check5, Check3,
// Check2; the two boxes made read-only results and the box made the input.
struct GivenParameterRow {
    const char* caption;
    bool marks[3];
    int check5, check3, check2;
    Control CalcWindow::*readOnly[2];
    Control CalcWindow::*chosen;
};
const GivenParameterRow givenParameterRows[] = {
    {"Тепловая мощность, Q ",          {true, false, false}, 0, 1, 0, {&CalcWindow::heatedFlow, &CalcWindow::plateCount}, &CalcWindow::heatLoad},
    {"Расход нагреваемого потока, G2", {false, true, false}, 0, 0, 1, {&CalcWindow::heatLoad, &CalcWindow::plateCount}, &CalcWindow::heatedFlow},
    {"Общее число пластин, n",         {false, false, true}, 1, 0, 0, {&CalcWindow::heatLoad, &CalcWindow::heatedFlow}, &CalcWindow::plateCount},
};

// The systems of the main panel's "Система" menu, by kind 1..8.
const char* const systemCaptions[] = {
    "Теплообменник ГВС",
    "Теплообменник отопления",
    "Теплообменник вентиляции",
    "Параллельная схема",
    "Двухступенчатая смешанная схема",
    "Параллельная схема для трех контуров",
    "Смешанная схема для трех контуров",
    "Смешанная схема с параллельной вентиляцией",
};
const char* const unitCaptions[] = {"Гкал/ч", "кВт", "м3/ч", "л/с", "кПа", "атм"};
// clang-format on

constexpr uint32_t windowColour = kalvar::colours::white;

// The menu items of the layout panel's only button.
constexpr int typeMenu = 1, passesMenu = 2, exchangersMenu = 3;

// Checks sub-item `checked` (1-based; 0 for none) of a menu and unchecks the others 1..count.
void markOnly(ZuPanelMenuItem& menu, int count, int checked) {
    for (int s = 1; s <= count; ++s)
        menu.SubItems().Item(static_cast<int16_t>(s)).setChecked(s == checked);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The group of three windows.

LayoutSummary& CalcWindowGroup::summaryOf(WindowId id) {
    if (id == WindowId::HotWater) return g;
    if (id == WindowId::Ventilation) return z;
    return t;
}

CalcWindowView* CalcWindowGroup::view(WindowId id) const {
    if (id == WindowId::HotWater) return hotWater;
    if (id == WindowId::Heating) return heating;
    if (id == WindowId::Ventilation) return ventilation;
    return nullptr;
}

CalcWindowView* CalcWindowGroup::viewOfPanel(int panelIndex) const {
    switch (panelIndex) {
    case 1:
    case 2:
        return hotWater;
    case 3:
    case 4:
        return heating;
    case 5:
    case 6:
        return ventilation;
    default:
        return nullptr;
    }
}

void CalcWindowGroup::refreshAll() {
    for (CalcWindowView* v : {hotWater.data(), heating.data(), ventilation.data()})
        if (v) v->refresh();
}

// ---------------------------------------------------------------------------------------------
// Load.

CalcWindowView::CalcWindowView(DesktopHost& host, CalcWindow& window, std::shared_ptr<CalcWindowGroup> group,
                               QWidget* parent)
    : QWidget(parent), host_(host), w_(window), group_(std::move(group)), binding_(new ModelBinding(this)) {
    setObjectName(qs(w_.name));
    setWindowTitle(qs(w_.caption));
    accessibleWidgets::install();
    // The ventilation window has no caption; screen readers still need a name for it and its frame.
    if (w_.id == WindowId::Ventilation) setAccessibleName(QStringLiteral("Вентиляция"));
    if (w_.id == WindowId::HotWater) group_->hotWater = this;
    if (w_.id == WindowId::Heating) group_->heating = this;
    if (w_.id == WindowId::Ventilation) group_->ventilation = this;

    // Looks the model leaves to the window's design: the bold title, the designation in the
    // highlight colour.
    w_.titleLabel.bold = true;
    const QColor highlight = palette().color(QPalette::Highlight);
    w_.designationBox.foreColor =
        (uint32_t(highlight.red()) << 16) | (uint32_t(highlight.green()) << 8) | highlight.blue();

    QPalette background = palette();
    background.setColor(QPalette::Window, ModelBinding::colour(w_.backColor));
    setPalette(background);
    setAutoFillBackground(true);
    setMouseTracking(true);
    installEventFilter(this);

    build();

    // The layout lists mirror themselves into the layout panel whenever their choice changes,
    // also by the calculation's automatic choices; the medium lists run the custom-medium dialog.
    QPointer<CalcWindowView> self(this);
    for (Control* list : {&w_.plateTypeList, &w_.passCountList, &w_.exchangerCountList})
        list->onListChange([self] {
            if (self) self->mirrorLayoutMarks();
        });
    w_.heatingMediumList.onListChange([self] {
        if (self) self->mediumPicked(true);
    });
    w_.heatedMediumList.onListChange([self] {
        if (self) self->mediumPicked(false);
    });

    // The velocity in the pipe between the stages is a result.
    w_.interstagePipeVelocity.locked = true;
    w_.interstagePipeVelocity.backColor = kalvar::colours::result;
    w_.flowTableFrame.backColor = kalvar::colours::resultFrame;
    w_.exchangerResultsFrame.backColor = kalvar::colours::resultFrame;
    group_->summaryOf(w_.id) = LayoutSummary{};
    w_.heatedFlowIsGiven.value = 0;
    w_.heatLoadIsGiven.value = 1;
    w_.plateTypeList.setListIndex(5);
    w_.passCountList.setListIndex(3);
    w_.exchangerCountList.setListIndex(0);
    w_.heatingMediumList.setListIndex(0);
    w_.heatedMediumList.setListIndex(0);

    connect(binding_, &ModelBinding::edited, this, [this] {
        refresh();
        emit commandDone();
    });
    refresh();
}

CalcWindowView::~CalcWindowView() {
    // Children going now may still send focus and move events; the window no longer answers them.
    closing_ = true;
}

std::array<CalcWindowView*, 3> CalcWindowView::createAll(DesktopHost& host, QWidget* parent) {
    auto group = std::make_shared<CalcWindowGroup>();
    kalvar::WindowSet& windows = host.session().windows;
    auto* hotWater = new CalcWindowView(host, windows.hotWater, group, parent);
    auto* heating = new CalcWindowView(host, windows.heating, group, parent);
    auto* ventilation = new CalcWindowView(host, windows.ventilation, group, parent);
    return {hotWater, heating, ventilation};
}

ZuPanel* CalcWindowView::panel(int index) const {
    for (ZuPanel* p : panels_)
        if (p && p->index() == index) return p;
    return nullptr;
}

LayoutSummary& CalcWindowView::summary() const {
    return group_->summaryOf(w_.id);
}

int CalcWindowView::normalTopTwips() const {
    if (w_.id == WindowId::HotWater) return 0;
    if (w_.id == WindowId::Ventilation) return 2 * stripHeightTwips;
    return stripHeightTwips;
}

// ---------------------------------------------------------------------------------------------
// Widgets.

namespace {

QLabel* staticLabel(QWidget* parent, const QString& richText, Qt::Alignment alignment = Qt::AlignCenter) {
    auto* label = new QLabel(richText, parent);
    label->setTextFormat(Qt::RichText);
    label->setAlignment(alignment);
    return label;
}

} // namespace

void CalcWindowView::build() {
    const QFontMetrics metrics(font());
    const int rowHeight = metrics.height() + 6;
    const int boxWidth = metrics.horizontalAdvance(QStringLiteral("0000,000")) + 8;

    auto makeBox = [&](QWidget* parent, const char* name) {
        auto* box = new QLineEdit(parent);
        box->setObjectName(qs(name));
        box->setFixedSize(boxWidth, rowHeight);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        binding_->bindText(box, *w_.find(name));
        watchHint(box);
        return box;
    };
    auto makeLabel = [&](QWidget* parent, const char* name, Qt::Alignment alignment = Qt::AlignLeft) {
        auto* label = new QLabel(parent);
        label->setObjectName(qs(name));
        label->setAlignment(alignment | Qt::AlignVCenter);
        binding_->bindLabel(label, *w_.find(name));
        return label;
    };

    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(4, 2, 4, 2);
    root->setSpacing(6);

    // Left block: title and designation, the two panels with the layout summary, then the inputs.
    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(6);
    // The title takes the width of the longest one, so that the three strips line up.
    QLabel* title = makeLabel(this, "Label7");
    QFont bold = font();
    bold.setBold(true);
    title->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(QStringLiteral("ВЕНТИЛЯЦИЯ")) + 4);
    titleRow->addWidget(title);
    auto* designation = new QLineEdit(this);
    designation->setObjectName(QStringLiteral("Text1"));
    designation->setFixedHeight(rowHeight);
    designation->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("8 x КM2-100/100/100")) + 12);
    binding_->bindText(designation, w_.designationBox);
    watchHint(designation);
    titleRow->addWidget(designation, 1);
    auto* check1 = new QCheckBox(this);
    check1->setObjectName(QStringLiteral("Check1"));
    binding_->bindCheck(check1, w_.showAdditionalResults);
    connect(check1, &QCheckBox::toggled, this, [this](bool checked) {
        if (binding_->refreshing()) return;
        // While a calculation waits for a dialog the switch is refused: the check goes back.
        if (host_.commandsBlocked()) {
            w_.showAdditionalResults.value = checked ? 0 : 1;
            QApplication::beep();
            refresh();
            return;
        }
        Check1_Click();
    });
    watchHint(check1);
    titleRow->addWidget(check1);
    left->addLayout(titleRow);

    const int given = w_.id == WindowId::HotWater ? 1 : w_.id == WindowId::Heating ? 3 : 5;
    auto* panelRow = new QHBoxLayout;
    panelRow->setSpacing(4);
    for (int i = 0; i < 2; ++i) {
        ZuPanel* p = ZuPanel::create(given + i, this);
        p->setObjectName(QStringLiteral("ZuPanel1(%1)").arg(given + i));
        panels_[static_cast<size_t>(i)] = p;
        connect(p, &ZuPanel::MenuClick, this, &CalcWindowView::MenuClick);
        connect(p, &ZuPanel::MenuSelect, this, &CalcWindowView::MenuSelect);
        connect(p, &ZuPanel::ButtonEnter, this, &CalcWindowView::ButtonEnter);
        connect(p, &ZuPanel::ButtonClick, this, &CalcWindowView::ButtonClick);
        connect(p, &ZuPanel::BringToFront, this, &CalcWindowView::BringToFront);
        if (w_.id == WindowId::Ventilation) p->installEventFilter(this); // its focus-out shows Text1
        panelRow->addWidget(p);
    }
    auto* summaryLabel = makeLabel(this, "label54");
    summaryLabel->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("Тип КM2; ходов - автовыбор.")));
    panelRow->addWidget(summaryLabel, 1);
    left->addLayout(panelRow);

    auto* inputs = new QGridLayout;
    inputs->setHorizontalSpacing(4);
    inputs->setVerticalSpacing(2);
    const Qt::Alignment right = Qt::AlignRight;
    inputs->addWidget(makeLabel(this, "Label60", right), 0, 0);
    inputs->addWidget(makeBox(this, "Text30"), 0, 1);
    inputs->addWidget(makeLabel(this, "Label57"), 0, 2);
    inputs->addWidget(makeLabel(this, "Label80", right), 0, 3);
    inputs->addWidget(makeBox(this, "Text38"), 0, 4);
    for (int side = 0; side < 2; ++side) {
        const char* listName = side == 0 ? "Combo4" : "Combo7";
        QLabel* label = makeLabel(this, side == 0 ? "Label18" : "Label19", right);
        inputs->addWidget(label, 1 + side, 0);
        auto* list = new LabelledComboBox(this);
        list->setObjectName(qs(listName));
        list->setFixedHeight(rowHeight);
        label->setBuddy(list);
        binding_->bindList(list, *w_.find(listName));
        list->installEventFilter(this);
        controlNames_.insert(list, qs(listName));
        inputs->addWidget(list, 1 + side, 1, 1, 2);
    }
    inputs->addWidget(makeLabel(this, "Label22(2)", right), 1, 3);
    inputs->addWidget(makeBox(this, "Text25"), 1, 4);
    inputs->addWidget(makeLabel(this, "Label22(3)", right), 2, 3);
    inputs->addWidget(makeBox(this, "Text53"), 2, 4);
    inputs->setColumnStretch(5, 1);
    left->addLayout(inputs);
    left->addStretch(1);
    root->addLayout(left);

    // Frame5: the heating row, the optimum row and the heated row under seven two-line headings.
    auto* table = new QFrame(this);
    table->setObjectName(QStringLiteral("Frame5"));
    table->setFrameShape(QFrame::StyledPanel);
    table->setMouseTracking(true);
    table->installEventFilter(this);
    binding_->bindFrame(table, w_.flowTableFrame);
    auto* tableLayout = new QGridLayout(table);
    tableLayout->setContentsMargins(4, 2, 4, 4);
    tableLayout->setHorizontalSpacing(3);
    tableLayout->setVerticalSpacing(2);
    auto* tableTitle = new QLabel(table);
    tableTitle->setObjectName(QStringLiteral("Frame5Title"));
    binding_->bindLabel(tableTitle, w_.flowTableFrame);
    tableLayout->addWidget(tableTitle, 0, 0, 1, 7, Qt::AlignHCenter);

    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.9);
    auto heading = [&](int column, const QString& symbol, QWidget* unit) {
        QLabel* top = staticLabel(table, symbol);
        top->setFont(small);
        tableLayout->addWidget(top, 1, column, Qt::AlignHCenter | Qt::AlignBottom);
        unit->setFont(small);
        tableLayout->addWidget(unit, 2, column, Qt::AlignHCenter | Qt::AlignTop);
    };
    // The flow unit "м  /ч" carries its superscript "3" as a label of its own over the blanks.
    QLabel* flowUnit = makeLabel(table, "Label59");
    QLabel* cube = makeLabel(flowUnit, "Label21");
    flowUnit_ = flowUnit;
    cube_ = cube;
    QFont tiny = small;
    tiny.setPointSizeF(small.pointSizeF() * 0.75);
    cube->setFont(tiny);
    flowUnit->installEventFilter(this);
    heading(0, QStringLiteral("G,"), flowUnit);
    heading(1, QStringLiteral("t<sub>вх</sub>,"), staticLabel(table, QStringLiteral("°C")));
    heading(2, QStringLiteral("t<sub>вых</sub>,"), staticLabel(table, QStringLiteral("°C")));
    heading(3, QStringLiteral("v,"), staticLabel(table, QStringLiteral("м/с")));
    heading(4, QStringLiteral("ΔP<sub>max</sub>,"), makeLabel(table, "Label34(0)", Qt::AlignHCenter));
    heading(5, QStringLiteral("ΔP,"), makeLabel(table, "Label34(1)", Qt::AlignHCenter));
    heading(6, QStringLiteral("N,"), staticLabel(table, QStringLiteral("Вт")));

    // clang-format off
    const char* const cells[3][7] = {
        {"Text31", "Text2", "Text4",  "Text34", "Text6", "Text36", "Text54"},
        {"Text47", nullptr, "Text32", "Text49", nullptr, nullptr,  nullptr},
        {"Text33", "Text3", "Text5",  "Text35", "Text7", "Text37", "Text55"},
    };
    // clang-format on
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 7; ++column)
            if (cells[row][column])
                tableLayout->addWidget(makeBox(table, cells[row][column]), 3 + row, column);
    if (w_.hasSecondStage()) {
        // The second stage's loss stays in kPa whatever the column's unit: it carries its own.
        QLineEdit* secondStage = makeBox(table, "Text10");
        secondStage->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("000,0")) + 8);
        numberFilter::install(secondStage, numberFilter::numberCharacters, *binding_);
        auto* secondStageCell = new QHBoxLayout;
        secondStageCell->setSpacing(2);
        secondStageCell->addWidget(secondStage);
        auto* secondStageUnit = staticLabel(table, QStringLiteral("кПа"), Qt::AlignLeft | Qt::AlignVCenter);
        secondStageUnit->setObjectName(QStringLiteral("Text10Unit"));
        secondStageUnit->setFont(small);
        secondStageUnit->setBuddy(secondStage);
        secondStageCell->addWidget(secondStageUnit);
        tableLayout->addLayout(secondStageCell, 4, 4);
        secondStageUnit_ = secondStageUnit;
        // The pipe between the stages: its bore, chosen, and the velocity in it, a result. They
        // share the two free cells of the optimum row, each with its unit.
        auto* pipe = new QHBoxLayout;
        pipe->setSpacing(2);
        auto* bore = new LabelledComboBox(table);
        bore->setObjectName(QStringLiteral("Combo8"));
        bore->setFixedHeight(rowHeight);
        binding_->bindList(bore, w_.interstagePipeList);
        watchHint(bore);
        pipe->addWidget(bore);
        auto* boreUnit = staticLabel(table, QStringLiteral("мм"), Qt::AlignLeft | Qt::AlignVCenter);
        boreUnit->setFont(small);
        bore->addLabel(boreUnit);
        pipe->addWidget(boreUnit);
        QLineEdit* velocity = makeBox(table, "Text67");
        velocity->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("00,00")) + 8);
        pipe->addWidget(velocity);
        auto* velocityUnit = staticLabel(table, QStringLiteral("м/с"), Qt::AlignLeft | Qt::AlignVCenter);
        velocityUnit->setFont(small);
        pipe->addWidget(velocityUnit);
        pipe->addStretch(1);
        tableLayout->addLayout(pipe, 4, 5, 1, 2);
        pipeUnits_ = {boreUnit, velocityUnit};
    }
    root->addWidget(table);

    // Frame3: the exchanger's results.
    auto* results = new QFrame(this);
    results->setObjectName(QStringLiteral("Frame3"));
    results->setFrameShape(QFrame::StyledPanel);
    binding_->bindFrame(results, w_.exchangerResultsFrame);
    auto* resultsLayout = new QGridLayout(results);
    resultsLayout->setContentsMargins(4, 2, 4, 4);
    resultsLayout->setHorizontalSpacing(4);
    resultsLayout->setVerticalSpacing(2);
    auto* resultsTitle = new QHBoxLayout;
    resultsTitle->setSpacing(0);
    auto* frame3Title = new QLabel(results);
    frame3Title->setObjectName(QStringLiteral("Frame3Title"));
    binding_->bindLabel(frame3Title, w_.exchangerResultsFrame);
    resultsTitle->addStretch(1);
    resultsTitle->addWidget(frame3Title);
    resultsTitle->addWidget(makeLabel(results, "Label4"));
    resultsTitle->addStretch(1);
    resultsLayout->addLayout(resultsTitle, 0, 0, 1, 3);
    const std::pair<const char*, QString> resultRows[] = {
        {"Text26", QStringLiteral("К<sub>тп</sub> =")},
        {"Text27", QStringLiteral("S=")},
        {"Text28", QStringLiteral("запас")},
        {"Text29", QStringLiteral("масса")},
    };
    const QString resultUnits[] = {QStringLiteral("Вт/м<sup>2</sup>С"), QStringLiteral("м<sup>2</sup>"),
                                   QStringLiteral("%"), QStringLiteral("кг")};
    for (int row = 0; row < 4; ++row) {
        resultsLayout->addWidget(
            staticLabel(results, resultRows[row].second, Qt::AlignRight | Qt::AlignVCenter), 1 + row, 0);
        resultsLayout->addWidget(makeBox(results, resultRows[row].first), 1 + row, 1);
        resultsLayout->addWidget(staticLabel(results, resultUnits[row], Qt::AlignLeft | Qt::AlignVCenter),
                                 1 + row, 2);
    }
    resultsLayout->setRowStretch(5, 1);
    root->addWidget(results);
    root->addStretch(1);

    // Typed characters outside a box's set are swallowed; the plate count takes digits only.
    for (const char* name : {"Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text25", "Text30",
                             "Text31", "Text33", "Text53"})
        numberFilter::install(findChild<QLineEdit*>(qs(name)), numberFilter::numberCharacters, *binding_);
    numberFilter::install(findChild<QLineEdit*>(QStringLiteral("Text38")), numberFilter::digits, *binding_);
}

void CalcWindowView::watchHint(QWidget* widget) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    controlNames_.insert(widget, widget->objectName());
}

// ---------------------------------------------------------------------------------------------
// Refresh.

void CalcWindowView::refresh() {
    binding_->refresh();
    // The units follow the pipe's list and velocity box.
    if (pipeUnits_.first) pipeUnits_.first->setVisible(w_.interstagePipeList.visible);
    if (pipeUnits_.second) pipeUnits_.second->setVisible(w_.interstagePipeVelocity.visible);
    if (secondStageUnit_) secondStageUnit_->setVisible(w_.secondStageLossLimit.visible);
    placeFlowSuperscript();
    mirrorLayoutMarks();
    mirrorGivenParameterMarks();
    refreshAccessibleNames();
}

// The superscript "3" stands over the two blanks of "м  /ч".
void CalcWindowView::placeFlowSuperscript() {
    QLabel* flowUnit = flowUnit_;
    QLabel* cube = cube_;
    if (!flowUnit || !cube) return;
    cube->adjustSize();
    const QFontMetrics metrics(flowUnit->font());
    const int left = std::max(0, (flowUnit->width() - metrics.horizontalAdvance(flowUnit->text())) / 2);
    cube->move(left + metrics.horizontalAdvance(QStringLiteral("м")) + 1, 0);
}

void CalcWindowView::mirrorLayoutMarks() {
    ZuPanel* layout = layoutPanel();
    if (!layout) return;
    ZuPanelMenuItems& menus = layout->Buttons().Item(1).MenuItems();
    // "Тип" has the four series and "Автовыбор"; the fifth list entry has no item and no data.
    const int type = w_.plateTypeList.listIndex;
    markOnly(menus.Item(typeMenu), 5, type >= 0 && type <= 3 ? type + 1 : type == 5 ? 5 : 0);
    const int passes = w_.passCountList.listIndex;
    markOnly(menus.Item(passesMenu), 4, passes >= 0 && passes <= 3 ? passes + 1 : 0);
    // "x9" has no item: all eight stay unmarked.
    const int exchangers = w_.exchangerCountList.listIndex;
    markOnly(menus.Item(exchangersMenu), 8, exchangers >= 0 && exchangers <= 7 ? exchangers + 1 : 0);
}

void CalcWindowView::mirrorGivenParameterMarks() {
    ZuPanel* given = givenParameterPanel();
    if (!given) return;
    ZuPanelMenuItems& items = given->Buttons().Item(1).MenuItems();
    items.Item(3).setChecked(w_.heatLoadIsGiven.value != 0);
    items.Item(4).setChecked(w_.heatedFlowIsGiven.value != 0);
    items.Item(5).setChecked(w_.plateCountIsGiven.value != 0);
}

void CalcWindowView::refreshAccessibleNames() {
    QString flowUnit = qs(w_.flowUnitLabel.text);
    if (flowUnit == QStringLiteral("м  /ч")) flowUnit = QStringLiteral("м3/ч");
    if (named_.empty())
        for (size_t i = 0; i < std::size(accessibleNames); ++i)
            if (auto* widget = findChild<QWidget*>(qs(accessibleNames[i].first)))
                named_.emplace_back(widget, i);
    for (const auto& [widget, i] : named_) {
        if (!widget) continue;
        const auto& [name, pattern] = accessibleNames[i];
        QString spoken = qs(pattern);
        spoken.replace(QStringLiteral("{Q}"), qs(w_.heatLoadUnitLabel.text));
        spoken.replace(QStringLiteral("{G}"), flowUnit);
        spoken.replace(QStringLiteral("{P}"), qs(w_.lossLimitUnitLabel.text));
        if (widget->accessibleName() != spoken) widget->setAccessibleName(spoken);
        const QString description = hintOf(qs(name));
        if (widget->accessibleDescription() != description) widget->setAccessibleDescription(description);
    }
}

// ---------------------------------------------------------------------------------------------
// Hints.

QString CalcWindowView::hintOf(const QString& controlName) const {
    for (const auto& [name, hint] : pointerHints)
        if (controlName == qs(name)) return qs(hint);
    for (const auto& [name, hint] : focusHints)
        if (controlName == qs(name)) return qs(hint);
    if (controlName == QStringLiteral("Text1")) return designationHint();
    return {};
}

QString CalcWindowView::designationHint() const {
    const LayoutSummary& s = summary();
    // The hot-water and ventilation windows close the sentence with a double quote.
    const char* end = w_.id == WindowId::Heating ? "." : ".\"";
    return QStringLiteral("Подсказка: Выбранный при расчете пластинчатый теплообменник. Тип ") + qs(s.type) +
           QStringLiteral("; ходов - ") + qs(s.passes) + QStringLiteral("; теплообменников - ") +
           qs(s.exchangers) + qs(end);
}

QString CalcWindowView::backgroundHint() const {
    if (w_.id == WindowId::HotWater)
        return QStringLiteral("Подсказка: Расчет системы горячего водоснабжения объекта");
    if (w_.id == WindowId::Ventilation) return QStringLiteral("Подсказка: Расчет системы вентиляции объекта");
    return QStringLiteral("Подсказка: Расчет системы отопления объекта");
}

bool CalcWindowView::eventFilter(QObject* watched, QEvent* event) {
    if (closing_) return false;
    const QEvent::Type type = event->type();
    if (watched == attached_.data() && type == QEvent::Resize) {
        // Resize: the window keeps its strip unless the additional results hold it at the top.
        if (!placing_ && w_.showAdditionalResults.value == 0) placeStrip(normalTopTwips());
        return false;
    }
    if (type == QEvent::Resize && watched->objectName() == QStringLiteral("Label59")) {
        placeFlowSuperscript();
        return false;
    }
    if (type == QEvent::FocusIn) {
        const QString name = controlNames_.value(watched);
        for (const auto& [list, hint] : focusHints)
            if (name == qs(list)) host_.setHint(qs(hint));
        return false;
    }
    if (type == QEvent::FocusOut && w_.id == WindowId::Ventilation && qobject_cast<ZuPanel*>(watched)) {
        w_.designationBox.visible = true;
        refresh();
        return false;
    }
    if (type != QEvent::MouseMove && type != QEvent::Enter) return false;

    const bool withButtons = type == QEvent::MouseMove && static_cast<QMouseEvent*>(event)->buttons() != 0;
    if (watched == this || watched->objectName() == QStringLiteral("Frame5")) {
        // Over the background or Frame5 (labels included, boxes and panels excluded). Only a move
        // tells where the pointer is: entering the frame on the way to a box inside it is no hint.
        if (type != QEvent::MouseMove) return false;
        auto* widget = static_cast<QWidget*>(watched);
        QWidget* under = widget->childAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        auto* frame5 = findChild<QWidget*>(QStringLiteral("Frame5"));
        auto* frame3 = findChild<QWidget*>(QStringLiteral("Frame3"));
        const bool background = under == nullptr || under == frame5 ||
                                (qobject_cast<QLabel*>(under) && !(frame3 && frame3->isAncestorOf(under)) &&
                                 !controlNames_.contains(under));
        if (background) {
            host_.setHint(backgroundHint());
            kalvar::WindowSet& windows = host_.session().windows;
            if (!windows.ventilation.designationBox.visible || !windows.heating.designationBox.visible ||
                !windows.hotWater.designationBox.visible) {
                host_.setAllDesignationsVisible();
                group_->refreshAll();
            }
        }
        return false;
    }
    const QString name = controlNames_.value(watched);
    if (name.isEmpty()) return false;
    const QString hint = hintOf(name);
    if (!hint.isEmpty() && !name.startsWith(QStringLiteral("Combo"))) host_.setHint(hint);
    // The move stops here, so the background under the box does not overwrite its hint.
    return type == QEvent::MouseMove && !withButtons;
}

// ---------------------------------------------------------------------------------------------
// Placement, resize and activation.

QMdiSubWindow* CalcWindowView::subWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void CalcWindowView::placeStrip(int topTwips) {
    QMdiSubWindow* sub = subWindow();
    if (!sub || placing_) return;
    placing_ = true;
    if (sub->isMinimized() || sub->isMaximized()) sub->showNormal();
    const int width = sub->width() > 0 ? sub->width() : sub->sizeHint().width();
    sub->setGeometry(0, twipsToPixels(topTwips, this), width, twipsToPixels(stripHeightTwips, this));
    placing_ = false;
}

void CalcWindowView::attachToSubWindow() {
    QMdiSubWindow* sub = subWindow();
    if (!sub || sub == attached_.data()) return;
    if (attached_) attached_->removeEventFilter(this);
    attached_ = sub;
    sub->installEventFilter(this);
    if (QMdiArea* area = sub->mdiArea()) {
        // Activate: the main window paints this window's background.
        connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* activated) {
            if (activated && activated == attached_.data()) host_.dither(this);
        });
    }
    if (w_.showAdditionalResults.value == 0) placeStrip(normalTopTwips());
}

void CalcWindowView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    attachToSubWindow();
    refresh();
}

// ---------------------------------------------------------------------------------------------
// Panel events.

void CalcWindowView::MenuSelect(int, int, const QString& Caption, const QString&, const QString&,
                                const QString& ToolTipText, const QPixmap&, const QPixmap&) {
    host_.setHint(QStringLiteral("Меню: ") + Caption + QStringLiteral(" Подсказка: ") + ToolTipText);
}

void CalcWindowView::ButtonEnter(int Index, ZuPanelButton* button) {
    if (Index == 2 || Index == 4 || Index == 6) {
        const LayoutSummary& s = Index == 2 ? group_->g : Index == 4 ? group_->t : group_->z;
        host_.setHint(QStringLiteral("Тип ") + qs(s.type) + QStringLiteral("; ходов - ") + qs(s.passes) +
                      QStringLiteral("; теплообменников - ") + qs(s.exchangers) + QStringLiteral("."));
    } else {
        host_.setHint(QStringLiteral(" Подсказка: ") + (button ? button->ToolTipText() : QString()));
    }
    host_.setPanelIndexText(Index >= 0 ? QStringLiteral(" ") + QString::number(Index)
                                       : QString::number(Index));
    host_.session().state.ACP = static_cast<int16_t>(Index);
    if (ZuPanel* own = panel(Index)) own->BeginHover();
}

void CalcWindowView::ButtonClick(int Index, ZuPanelButton*) {
    if (ZuPanel* own = panel(Index)) own->EndCommand();
}

void CalcWindowView::BringToFront(int Index) {
    if (ZuPanel* own = panel(Index)) own->raise();
}

// ---------------------------------------------------------------------------------------------
// The dispatcher.

void CalcWindowView::MenuClick(int Index, int, const QString& Caption, const QString& Key, const QString&,
                               const QString&, const QPixmap&, const QPixmap&) {
    // The panel the pointer entered last decides, not the panel that raised the event.
    const int acp = host_.session().state.ACP;
    if (!host_.commandsBlocked()) {
        CalcWindowView* target = group_->viewOfPanel(acp);
        if (target && acp % 2 == 1) target->givenParameterCommand(Caption);
        if (target && acp % 2 == 0) target->layoutCommand(Caption, Key);
        if (acp == 10) mainPanelCommand(Caption);
    }
    if (ZuPanel* own = panel(Index))
        own->EndCommand();
    else if (Index == 10 && host_.mainPanel())
        host_.mainPanel()->EndCommand();
    group_->refreshAll();
    emit commandDone();
}

void CalcWindowView::givenParameterCommand(const QString& caption) {
    for (const GivenParameterRow& row : givenParameterRows) {
        if (caption != qs(row.caption)) continue;
        if (ZuPanel* given = givenParameterPanel()) {
            ZuPanelMenuItems& items = given->Buttons().Item(1).MenuItems();
            for (int i = 0; i < 3; ++i)
                items.Item(static_cast<int16_t>(3 + i)).setChecked(row.marks[i]);
        }
        w_.plateCountIsGiven.value = row.check5;
        w_.heatLoadIsGiven.value = row.check3;
        w_.heatedFlowIsGiven.value = row.check2;
        for (Control CalcWindow::*box : row.readOnly)
            (w_.*box).backColor = kalvar::colours::result;
        (w_.*row.chosen).locked = false;
        for (Control CalcWindow::*box : row.readOnly)
            (w_.*box).locked = true;
        (w_.*row.chosen).backColor = windowColour;
        return;
    }
}

void CalcWindowView::layoutCommand(const QString& caption, const QString& key) {
    LayoutSummary& s = summary();
    // The series are known by their place in "Тип" (key "1.1.k"): their captions follow the series
    // prefix of the owner details.
    const QStringList path = key.split(QLatin1Char('.'));
    const int series = path.size() == 3 && path[0] == QStringLiteral("1") && path[1] == QStringLiteral("1")
                           ? path[2].toInt()
                           : 0;
    static const QStringList passCaptions = {QStringLiteral("/1"), QStringLiteral("/2"),
                                             QStringLiteral("/3")};
    QStringList exchangerCaptions;
    for (int n = 1; n <= 8; ++n)
        exchangerCaptions << QStringLiteral("x%1").arg(n);

    if (series >= 1 && series <= 4) {
        w_.plateTypeList.setListIndex(series - 1);
        s.type = host_.session().state.типт + std::to_string(series);
    } else if (caption == QStringLiteral("Автовыбор")) {
        w_.plateTypeList.setListIndex(5);
        s.type = "автовыбор";
        s.exchangers = "автовыбор";
    } else if (passCaptions.contains(caption)) {
        const int passes = static_cast<int>(passCaptions.indexOf(caption)) + 1;
        w_.passCountList.setListIndex(passes - 1);
        s.passes = std::to_string(passes);
    } else if (caption == QStringLiteral("Автовыбор ")) {
        w_.passCountList.setListIndex(3);
        s.passes = "автовыбор";
    } else if (exchangerCaptions.contains(caption)) {
        const int count = static_cast<int>(exchangerCaptions.indexOf(caption)) + 1;
        w_.exchangerCountList.setListIndex(count - 1);
        s.exchangers = std::to_string(count);
    }
    mirrorLayoutMarks();
    w_.layoutSummaryLabel.text = "Тип " + s.type + "; ходов - " + s.passes + ".";
}

void CalcWindowView::mainPanelCommand(const QString& caption) {
    if (caption == QStringLiteral("Сохранить")) return host_.save();
    if (caption == QStringLiteral("Печать")) return host_.print();
    if (caption == QStringLiteral("Сохранить PDF")) return host_.savePdf();
    for (int kind = 1; kind <= 8; ++kind)
        if (caption == qs(systemCaptions[kind - 1])) return host_.selectSystem(kind);
    for (const char* unit : unitCaptions)
        if (caption == qs(unit)) return host_.switchUnit(caption);
}

// ---------------------------------------------------------------------------------------------
// Medium choice and additional results.

void CalcWindowView::mediumPicked(bool heatingSide) {
    // The dialog waits with events running. Run from inside the list's own key or mouse handling,
    // the wait would hold the list in the middle of its pick; so it runs once the pick is done, and
    // once only, however often the pick is reported before it ends.
    Control& list = heatingSide ? w_.heatingMediumList : w_.heatedMediumList;
    bool& pending = heatingSide ? heatingMediumPending_ : heatedMediumPending_;
    if (list.listIndex != 1 || pending) return;
    pending = true;
    QMetaObject::invokeMethod(
        this, [this, heatingSide] { mediumChanged(heatingSide); }, Qt::QueuedConnection);
}

void CalcWindowView::mediumChanged(bool heatingSide) {
    Control& list = heatingSide ? w_.heatingMediumList : w_.heatedMediumList;
    QPointer<CalcWindowView> self(this);
    // A pick of this side during the wait opens no second dialog; after it, a pick opens one again.
    const auto done = qScopeGuard([self, heatingSide] {
        if (self) (heatingSide ? self->heatingMediumPending_ : self->heatedMediumPending_) = false;
    });
    if (list.listIndex != 1) return;
    const std::array<Control*, 4> holders =
        heatingSide ? std::array<Control*, 4>{&w_.heatingHeatCapacity, &w_.heatingDensity,
                                              &w_.heatingViscosity, &w_.heatingConductivity}
                    : std::array<Control*, 4>{&w_.heatedHeatCapacity, &w_.heatedDensity, &w_.heatedViscosity,
                                              &w_.heatedConductivity};
    std::array<std::string, 4> properties;
    for (size_t i = 0; i < 4; ++i)
        properties[i] = holders[i]->text;
    if (!group_->form10) group_->form10 = new Form10(window());
    group_->form10->exchange(properties);
    if (!self) return;
    for (size_t i = 0; i < 4; ++i)
        holders[i]->text = properties[i];
    bool complete = true;
    for (const std::string& value : properties)
        complete = complete && !value.empty();
    if (!complete) {
        const bool hotWaterHeated = !heatingSide && w_.id == WindowId::HotWater;
        QMessageBox::information(
            this, QStringLiteral("Неправильно заданы параметры"),
            hotWaterHeated ? QStringLiteral("Неправильно введены теплотехнические характеристики среды")
                           : QStringLiteral("Не введены все теплотехнические характеристики среды"));
        if (!self) return;
        list.setListIndex(0);
    }
    refresh();
    emit commandDone();
}

void CalcWindowView::Check1_Click() {
    if (w_.showAdditionalResults.value != 0) {
        placeStrip(0);
        if (QMdiSubWindow* sub = subWindow()) sub->raise(); // over the window whose strip is at the top
        kalvar::fillAdditionalResults(host_.session(), w_);
        host_.showAdditionalResults(w_);
    } else {
        host_.hideAdditionalResults();
        placeStrip(normalTopTwips());
        host_.showSchemeButton();
    }
    refresh();
}

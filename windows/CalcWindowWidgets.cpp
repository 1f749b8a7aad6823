// The widgets of a calculation window, built from tables: the title row, the panel row, the
// inputs, the table of the two flows (Frame5) and the exchanger's results (Frame3). Each widget
// carries its control's name and is bound to that control of the window model.
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "AccessibleWidgets.h"
#include "CalcWindowView.h"
#include "DesktopHost.h"
#include "ModelBinding.h"
#include "NumberFilter.h"
#include "ZuPanel.h"

using kalvar::WindowId;

namespace {

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

QLabel* staticLabel(QWidget* parent, const QString& richText, Qt::Alignment alignment = Qt::AlignCenter) {
    auto* label = new QLabel(richText, parent);
    label->setTextFormat(Qt::RichText);
    label->setAlignment(alignment);
    return label;
}

QFont scaled(const QFont& font, double factor) {
    QFont result = font;
    result.setPointSizeF(font.pointSizeF() * factor);
    return result;
}

// clang-format off
// The inputs under the panels, in the order the keyboard visits them. A list is named by the
// label before it.
enum class Cell { RightLabel, Label, Box, List };
struct InputCell {
    Cell kind;
    const char* name;
    int row, column, columnSpan;
};
const InputCell inputCells[] = {
    {Cell::RightLabel, "Label60",    0, 0, 1}, {Cell::Box, "Text30", 0, 1, 1}, {Cell::Label, "Label57", 0, 2, 1},
    {Cell::RightLabel, "Label80",    0, 3, 1}, {Cell::Box, "Text38", 0, 4, 1},
    {Cell::RightLabel, "Label18",    1, 0, 1}, {Cell::List, "Combo4", 1, 1, 2},
    {Cell::RightLabel, "Label19",    2, 0, 1}, {Cell::List, "Combo7", 2, 1, 2},
    {Cell::RightLabel, "Label22(2)", 1, 3, 1}, {Cell::Box, "Text25", 1, 4, 1},
    {Cell::RightLabel, "Label22(3)", 2, 3, 1}, {Cell::Box, "Text53", 2, 4, 1},
};

// The columns of Frame5: the symbol over the unit, a fixed text or a label of the model (the flow
// unit of the first column is built with its superscript).
struct FlowColumn {
    const char* symbol;
    const char* unit;
    const char* unitControl;
};
const FlowColumn flowColumns[] = {
    {"G,",                  nullptr, "Label59"},
    {"t<sub>вх</sub>,",     "°C",    nullptr},
    {"t<sub>вых</sub>,",    "°C",    nullptr},
    {"v,",                  "м/с",   nullptr},
    {"ΔP<sub>max</sub>,",   nullptr, "Label34(0)"},
    {"ΔP,",                 nullptr, "Label34(1)"},
    {"N,",                  "Вт",    nullptr},
};
// Its rows: the heating flow, the optimum, the heated flow.
const char* const flowCells[3][7] = {
    {"Text31", "Text2", "Text4",  "Text34", "Text6", "Text36", "Text54"},
    {"Text47", nullptr, "Text32", "Text49", nullptr, nullptr,  nullptr},
    {"Text33", "Text3", "Text5",  "Text35", "Text7", "Text37", "Text55"},
};

// Frame3: a caption, the result box and its unit a row.
struct ResultRow {
    const char* name;
    const char* caption;
    const char* unit;
};
const ResultRow resultRows[] = {
    {"Text26", "К<sub>тп</sub> =", "Вт/м<sup>2</sup>С"},
    {"Text27", "S=",               "м<sup>2</sup>"},
    {"Text28", "запас",            "%"},
    {"Text29", "масса",            "кг"},
};

// Typed characters outside a box's set are swallowed; the plate count takes digits only.
const char* const numberBoxes[] = {"Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text25", "Text30",
                                   "Text31", "Text33", "Text53"};
// clang-format on

} // namespace

// Makes the widgets of one window: sizes from the window's font, each widget named and bound.
struct CalcWindowView::WidgetFactory {
    explicit WidgetFactory(CalcWindowView& v) : view(v), metrics(v.font()) {}

    QLineEdit* box(QWidget* parent, const char* name) const {
        auto* box = new QLineEdit(parent);
        box->setObjectName(qs(name));
        box->setFixedSize(boxWidth, rowHeight);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        view.binding_->bindText(box, *view.w_.find(name));
        view.watchHint(box);
        return box;
    }
    QLabel* label(QWidget* parent, const char* name, Qt::Alignment alignment = Qt::AlignLeft) const {
        auto* label = new QLabel(parent);
        label->setObjectName(qs(name));
        label->setAlignment(alignment | Qt::AlignVCenter);
        view.binding_->bindLabel(label, *view.w_.find(name));
        return label;
    }
    LabelledComboBox* list(QWidget* parent, const char* name) const {
        auto* list = new LabelledComboBox(parent);
        list->setObjectName(qs(name));
        list->setFixedHeight(rowHeight);
        view.binding_->bindList(list, *view.w_.find(name));
        return list;
    }

    CalcWindowView& view;
    const QFontMetrics metrics;
    const int rowHeight = metrics.height() + 6;
    const int boxWidth = metrics.horizontalAdvance(QStringLiteral("0000,000")) + 8;
    const QFont small = scaled(view.font(), 0.9);
};

void CalcWindowView::build() {
    const WidgetFactory make(*this);
    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(4, 2, 4, 2);
    root->setSpacing(6);

    // Left block: title and designation, the two panels with the layout summary, then the inputs.
    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    left->addLayout(buildTitleRow(make));
    left->addLayout(buildPanelRow(make));
    left->addLayout(buildInputs(make));
    left->addStretch(1);
    root->addLayout(left);
    root->addWidget(buildFlowTable(make));
    root->addWidget(buildResults(make));
    root->addStretch(1);

    for (const char* name : numberBoxes)
        numberFilter::install(findChild<QLineEdit*>(qs(name)), numberFilter::numberCharacters, *binding_);
    numberFilter::install(findChild<QLineEdit*>(QStringLiteral("Text38")), numberFilter::digits, *binding_);
}

QLayout* CalcWindowView::buildTitleRow(const WidgetFactory& make) {
    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(6);
    // The title takes the width of the longest one, so that the three strips line up.
    QLabel* title = make.label(this, "Label7");
    QFont bold = font();
    bold.setBold(true);
    title->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(QStringLiteral("ВЕНТИЛЯЦИЯ")) + 4);
    titleRow->addWidget(title);
    auto* designation = new QLineEdit(this);
    designation->setObjectName(QStringLiteral("Text1"));
    designation->setFixedHeight(make.rowHeight);
    designation->setMinimumWidth(make.metrics.horizontalAdvance(QStringLiteral("8 x КM2-100/100/100")) + 12);
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
            host_.refuseCommand();
            refresh();
            return;
        }
        applyAdditionalResultsSwitch();
    });
    watchHint(check1);
    titleRow->addWidget(check1);
    return titleRow;
}

QLayout* CalcWindowView::buildPanelRow(const WidgetFactory& make) {
    const int given = w_.id == WindowId::HotWater ? 1 : w_.id == WindowId::Heating ? 3 : 5;
    auto* panelRow = new QHBoxLayout;
    panelRow->setSpacing(4);
    for (int i = 0; i < 2; ++i) {
        ZuPanel* p = ZuPanel::create(given + i, this);
        p->setObjectName(QStringLiteral("ZuPanel1(%1)").arg(given + i));
        panels_[static_cast<size_t>(i)] = p;
        connect(p, &ZuPanel::MenuClick, this,
                [this](int index, int, const QString&, const QString& key, const QString&, const QString&,
                       const QPixmap&, const QPixmap&) { panelPicked(index, key); });
        connect(p, &ZuPanel::MenuSelect, this,
                [this](int, int, const QString& caption, const QString&, const QString&,
                       const QString& toolTip, const QPixmap&,
                       const QPixmap&) { panelEntrySelected(caption, toolTip); });
        connect(p, &ZuPanel::ButtonEnter, this, &CalcWindowView::panelButtonEntered);
        connect(p, &ZuPanel::ButtonClick, this, [this](int index) { panelButtonClicked(index); });
        connect(p, &ZuPanel::BringToFront, this, &CalcWindowView::raisePanel);
        if (w_.id == WindowId::Ventilation) p->installEventFilter(this); // its focus-out shows Text1
        panelRow->addWidget(p);
    }
    auto* summaryLabel = make.label(this, "label54");
    summaryLabel->setMinimumWidth(
        make.metrics.horizontalAdvance(QStringLiteral("Тип КM2; ходов - автовыбор.")));
    panelRow->addWidget(summaryLabel, 1);
    return panelRow;
}

QLayout* CalcWindowView::buildInputs(const WidgetFactory& make) {
    auto* inputs = new QGridLayout;
    inputs->setHorizontalSpacing(4);
    inputs->setVerticalSpacing(2);
    QLabel* label = nullptr;
    for (const InputCell& cell : inputCells) {
        QWidget* widget = nullptr;
        switch (cell.kind) {
        case Cell::RightLabel:
        case Cell::Label:
            label =
                make.label(this, cell.name, cell.kind == Cell::RightLabel ? Qt::AlignRight : Qt::AlignLeft);
            widget = label;
            break;
        case Cell::Box:
            widget = make.box(this, cell.name);
            break;
        case Cell::List:
            widget = make.list(this, cell.name);
            label->setBuddy(widget);
            // The lists give their hint when they receive the focus, not under the pointer.
            widget->installEventFilter(this);
            controlNames_.insert(widget, qs(cell.name));
            break;
        }
        inputs->addWidget(widget, cell.row, cell.column, 1, cell.columnSpan);
    }
    inputs->setColumnStretch(5, 1);
    return inputs;
}

QWidget* CalcWindowView::buildFlowTable(const WidgetFactory& make) {
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

    // The flow unit "м  /ч" carries its superscript "3" as a label of its own over the blanks.
    QLabel* flowUnit = make.label(table, "Label59");
    QLabel* cube = make.label(flowUnit, "Label21");
    flowUnit_ = flowUnit;
    cube_ = cube;
    cube->setFont(scaled(make.small, 0.75));
    flowUnit->installEventFilter(this);
    for (int column = 0; column < 7; ++column) {
        const FlowColumn& heading = flowColumns[column];
        QLabel* unit = column == 0           ? flowUnit
                       : heading.unitControl ? make.label(table, heading.unitControl, Qt::AlignHCenter)
                                             : staticLabel(table, qs(heading.unit));
        QLabel* top = staticLabel(table, qs(heading.symbol));
        top->setFont(make.small);
        tableLayout->addWidget(top, 1, column, Qt::AlignHCenter | Qt::AlignBottom);
        unit->setFont(make.small);
        tableLayout->addWidget(unit, 2, column, Qt::AlignHCenter | Qt::AlignTop);
    }
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 7; ++column)
            if (flowCells[row][column])
                tableLayout->addWidget(make.box(table, flowCells[row][column]), 3 + row, column);
    if (w_.hasSecondStage()) buildSecondStage(make, table, tableLayout);
    return table;
}

void CalcWindowView::buildSecondStage(const WidgetFactory& make, QWidget* table, QGridLayout* tableLayout) {
    // The second stage's loss stays in kPa whatever the column's unit: it carries its own.
    QLineEdit* secondStage = make.box(table, "Text10");
    secondStage->setFixedWidth(make.metrics.horizontalAdvance(QStringLiteral("000,0")) + 8);
    numberFilter::install(secondStage, numberFilter::numberCharacters, *binding_);
    auto* secondStageCell = new QHBoxLayout;
    secondStageCell->setSpacing(2);
    secondStageCell->addWidget(secondStage);
    auto* secondStageUnit = staticLabel(table, QStringLiteral("кПа"), Qt::AlignLeft | Qt::AlignVCenter);
    secondStageUnit->setObjectName(QStringLiteral("Text10Unit"));
    secondStageUnit->setFont(make.small);
    secondStageUnit->setBuddy(secondStage);
    secondStageCell->addWidget(secondStageUnit);
    tableLayout->addLayout(secondStageCell, 4, 4);
    secondStageUnit_ = secondStageUnit;
    // The pipe between the stages: its bore, chosen, and the velocity in it, a result. They share
    // the two free cells of the optimum row, each with its unit.
    auto* pipe = new QHBoxLayout;
    pipe->setSpacing(2);
    LabelledComboBox* bore = make.list(table, "Combo8");
    watchHint(bore);
    pipe->addWidget(bore);
    auto* boreUnit = staticLabel(table, QStringLiteral("мм"), Qt::AlignLeft | Qt::AlignVCenter);
    boreUnit->setFont(make.small);
    bore->addLabel(boreUnit);
    pipe->addWidget(boreUnit);
    QLineEdit* velocity = make.box(table, "Text67");
    velocity->setFixedWidth(make.metrics.horizontalAdvance(QStringLiteral("00,00")) + 8);
    pipe->addWidget(velocity);
    auto* velocityUnit = staticLabel(table, QStringLiteral("м/с"), Qt::AlignLeft | Qt::AlignVCenter);
    velocityUnit->setFont(make.small);
    pipe->addWidget(velocityUnit);
    pipe->addStretch(1);
    tableLayout->addLayout(pipe, 4, 5, 1, 2);
    pipeUnits_ = {boreUnit, velocityUnit};
}

QWidget* CalcWindowView::buildResults(const WidgetFactory& make) {
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
    resultsTitle->addWidget(make.label(results, "Label4"));
    resultsTitle->addStretch(1);
    resultsLayout->addLayout(resultsTitle, 0, 0, 1, 3);
    for (int row = 0; row < 4; ++row) {
        const ResultRow& result = resultRows[row];
        resultsLayout->addWidget(staticLabel(results, qs(result.caption), Qt::AlignRight | Qt::AlignVCenter),
                                 1 + row, 0);
        resultsLayout->addWidget(make.box(results, result.name), 1 + row, 1);
        resultsLayout->addWidget(staticLabel(results, qs(result.unit), Qt::AlignLeft | Qt::AlignVCenter),
                                 1 + row, 2);
    }
    resultsLayout->setRowStretch(5, 1);
    return results;
}

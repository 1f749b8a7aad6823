#include "AdditionalResultsView.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "AccessibleWidgets.h"
#include "ModelBinding.h"
#include "NumberFilter.h"
#include "Twips.h"
#include "additional_results.h"

namespace {

// clang-format off
const char* const channelAreaHint =
    "Подсказка: Площадь поперечного сечения канала пластинчатого теплообменника";
const char* const plateSurfaceHint =
    "Подсказка: Площадь поверхности теплобмена между средами пластины пластинчатого теплообменника";
const char* const flangeHint =
    "Подсказка: Внутренний диаметр фланца (или патрубка), обеспечивакющих подвод и отвод теплоносителей к "
    "пластинчатому теплообменнику";
// clang-format on

QLabel* label(const QString& text, QWidget* parent,
              Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(alignment);
    return l;
}

QLabel* heading(const QString& text, QWidget* parent) {
    QLabel* l = label(text, parent, Qt::AlignLeft | Qt::AlignVCenter);
    QFont bold = l->font();
    bold.setBold(true);
    l->setFont(bold);
    return l;
}

// The width of a box that shows a number of about that many characters.
int boxWidth(const QWidget* w, int characters) {
    return w->fontMetrics().horizontalAdvance(QString(characters, QChar('0'))) + 12;
}

} // namespace

AdditionalResultsView::AdditionalResultsView(kalvar::Session& session, QWidget* parent)
    : QWidget(parent), model_(session.windows.additionalResults), binding_(new ModelBinding(this)) {
    setObjectName("Form12");
    setWindowTitle("Дополнительные результаты расчета");
    setAutoFillBackground(true);

    geometricButton = viewButton(model_.geometricViewButton, "Command1", "Геометрические параметры");
    thermophysicalButton =
        viewButton(model_.thermophysicalViewButton, "Command2", "Теплофизические параметры");
    connect(geometricButton, &QPushButton::clicked, this, &AdditionalResultsView::showGeometricView);
    connect(thermophysicalButton, &QPushButton::clicked, this,
            &AdditionalResultsView::showThermophysicalView);

    // Made in this order (pipes, valve, parameters, drawing, then the media) so the keyboard goes so.
    geometric_ = new QWidget(this);
    geometric_->setObjectName("geometricView");
    auto* groups = new QVBoxLayout;
    groups->setSpacing(4);
    groups->addWidget(buildPipes());
    groups->addWidget(buildValve());
    groups->addStretch(1);
    QGridLayout* parameters = buildParameters();
    QLabel* picture = buildDrawing();
    auto* geometricLayout = new QHBoxLayout(geometric_);
    geometricLayout->setContentsMargins(0, 0, 0, 0);
    geometricLayout->setSpacing(10);
    geometricLayout->addLayout(groups);
    geometricLayout->addLayout(parameters);
    geometricLayout->addWidget(picture, 0, Qt::AlignTop);

    thermophysical_ = buildThermophysicalView();

    // The window: the view buttons above, then the view.
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    buttons->addWidget(geometricButton);
    buttons->addWidget(thermophysicalButton);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->setSpacing(4);
    layout->addLayout(buttons);
    layout->addWidget(geometric_);
    layout->addWidget(thermophysical_);
    layout->addStretch(1);

    connect(binding_, &ModelBinding::edited, this, &AdditionalResultsView::refresh);
    refresh();
}

QPushButton* AdditionalResultsView::viewButton(kalvar::Control& control, const char* name,
                                               const QString& spokenName) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    binding_->bindButton(button, control);
    button->setAccessibleName(spokenName);
    return button;
}

QGroupBox* AdditionalResultsView::group(kalvar::Control& control, const char* name) {
    auto* frame = new QGroupBox(geometric_);
    frame->setObjectName(name);
    binding_->bindFrame(frame, control);
    frame->setAutoFillBackground(false); // the groups lie on the window's own colour
    return frame;
}

QGridLayout* AdditionalResultsView::groupGrid(QGroupBox* frame) {
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setVerticalSpacing(3);
    return grid;
}

QGroupBox* AdditionalResultsView::buildPipes() {
    QGroupBox* frame = group(model_.pipesFrame, "Frame1");
    QGridLayout* pipes = groupGrid(frame);
    QLabel* heatingHead = label("греющий", frame, Qt::AlignCenter);
    QLabel* heatedHead = label("нагреваемый", frame, Qt::AlignCenter);
    QLabel* boreLabel = label("Dу=", frame);
    QLabel* boreUnit = label("мм", frame, Qt::AlignLeft | Qt::AlignVCenter);
    pipes->addWidget(heatingHead, 0, 1);
    pipes->addWidget(heatedHead, 0, 2);
    pipes->addWidget(boreLabel, 1, 0);
    pipes->addWidget(label("Vтр=", frame), 2, 0);
    // Each bore list is named by its row, its column and its unit.
    auto* heatingBore = new LabelledComboBox(frame);
    auto* heatedBore = new LabelledComboBox(frame);
    for (auto [list, head] : {std::pair{heatingBore, heatingHead}, std::pair{heatedBore, heatedHead}}) {
        list->addLabel(boreLabel);
        list->addLabel(head);
        list->addLabel(boreUnit);
    }
    heatingBoreList = heatingBore;
    heatingBoreList->setObjectName("Combo5");
    heatedBoreList = heatedBore;
    heatedBoreList->setObjectName("Combo6");
    binding_->bindList(heatingBoreList, model_.heatingPipeList);
    binding_->bindList(heatedBoreList, model_.heatedPipeList);
    heatingBoreList->setAccessibleName("Dу греющего потока, мм");
    heatedBoreList->setAccessibleName("Dу нагреваемого потока, мм");
    pipes->addWidget(heatingBoreList, 1, 1);
    pipes->addWidget(heatedBoreList, 1, 2);
    pipes->addWidget(boreUnit, 1, 3);
    pipes->addWidget(resultBox(model_.heatingPipeVelocity, "Text45", "Vтр греющего потока, м/с"), 2, 1);
    pipes->addWidget(resultBox(model_.heatedPipeVelocity, "Text46", "Vтр нагреваемого потока, м/с"), 2, 2);
    pipes->addWidget(label("м/с", frame, Qt::AlignLeft | Qt::AlignVCenter), 2, 3);
    return frame;
}

QGroupBox* AdditionalResultsView::buildValve() {
    QGroupBox* frame = group(model_.valveFrame, "Frame2");
    QGridLayout* valve = groupGrid(frame);
    valve->addWidget(label("ΔP=", frame), 0, 0);
    valvePressureDropBox = new QLineEdit(frame);
    valvePressureDropBox->setObjectName("Text10");
    valvePressureDropBox->setAlignment(Qt::AlignRight);
    valvePressureDropBox->setFixedWidth(boxWidth(this, 6));
    binding_->bindText(valvePressureDropBox, model_.valvePressureDrop);
    numberFilter::install(valvePressureDropBox, numberFilter::numberCharacters, *binding_);
    valve->addWidget(valvePressureDropBox, 0, 1);
    valveUnit_ = label(QString(), frame, Qt::AlignLeft | Qt::AlignVCenter);
    valveUnit_->setObjectName("Label35");
    binding_->bindLabel(valveUnit_, model_.valvePressureDropUnitLabel);
    valve->addWidget(valveUnit_, 0, 2);
    valve->addWidget(label("Кv=", frame), 1, 0);
    valve->addWidget(resultBox(model_.valveFlowCapacity, "Text9", "Кv клапана, м³/ч"), 1, 1);
    auto* kvUnit = label("м<sup>3</sup>/ч", frame, Qt::AlignLeft | Qt::AlignVCenter);
    kvUnit->setTextFormat(Qt::RichText);
    valve->addWidget(kvUnit, 1, 2);
    valve->addWidget(label("Dу=", frame), 2, 0);
    valve->addWidget(resultBox(model_.valveNominalDiameter, "Text8", "Dу клапана, мм"), 2, 1);
    valve->addWidget(label("мм", frame, Qt::AlignLeft | Qt::AlignVCenter), 2, 2);
    valve->setColumnStretch(3, 1);
    return frame;
}

QGridLayout* AdditionalResultsView::buildParameters() {
    // Exchanger parameters, dimensions, flanges and the drawing's legend.
    auto* parameters = new QGridLayout;
    parameters->setVerticalSpacing(3);
    parameters->setHorizontalSpacing(4);
    parameters->addWidget(heading("Параметры теплообменника", geometric_), 0, 0, 1, 9);
    auto* channelArea = resultBox(model_.channelArea, "Text43", "Площадь сечения канала, м2");
    auto* plateSurface =
        resultBox(model_.plateArea, "Text44", "Площадь поверхности теплообмена пластины, м2");
    auto* diameter = resultBox(model_.equivalentDiameter, "Text42", "Эквивалентный диаметр, мм");
    channelArea->setAccessibleDescription(channelAreaHint);
    plateSurface->setAccessibleDescription(plateSurfaceHint);
    parameters->addWidget(label("Площадь сечения канала, м2 ", geometric_), 1, 0, 1, 7);
    parameters->addWidget(channelArea, 1, 7, 1, 2);
    parameters->addWidget(label("Площадь поверхности теплообмена пластины, м2", geometric_), 2, 0, 1, 7);
    parameters->addWidget(plateSurface, 2, 7, 1, 2);
    auto* diameterLabel = label("Эквивалентный диаметр, мм", geometric_);
    diameterLabel->hide(); // the equivalent diameter is kept but never shown
    parameters->addWidget(diameterLabel, 3, 0, 1, 7);
    parameters->addWidget(diameter, 3, 7, 1, 2);
    // clang-format off
    struct Dimension { kalvar::Control* control; const char* name; const char* letter; int row; int column; };
    const Dimension dimensions[] = {
        {&model_.dimensionA, "Text50", "A", 4, 0}, {&model_.lengthL, "Text56", "L", 4, 3}, {&model_.dimensionB, "Text52", "B", 4, 6},
        {&model_.dimensionC,  "Text1",  "C", 5, 0}, {&model_.dimensionE,  "Text3",  "E", 5, 3}, {&model_.dimensionF,  "Text2",  "F", 5, 6},
    };
    // clang-format on
    for (const Dimension& d : dimensions) {
        const QString letter = QString::fromUtf8(d.letter);
        parameters->addWidget(label(letter + "=", geometric_), d.row, d.column);
        parameters->addWidget(resultBox(*d.control, d.name, "Габаритный размер " + letter + ", мм"), d.row,
                              d.column + 1);
        parameters->addWidget(label("мм", geometric_, Qt::AlignLeft | Qt::AlignVCenter), d.row, d.column + 2);
    }
    auto* flangeCaption = label(QString(), geometric_, Qt::AlignLeft | Qt::AlignVCenter);
    flangeCaption->setObjectName("Label72_0");
    auto* flangeBores = label(QString(), geometric_);
    flangeBores->setObjectName("Label72_1");
    binding_->bindLabel(flangeCaption, model_.flangesLabel);
    binding_->bindLabel(flangeBores, model_.flangeDiameterLabel);
    auto* flange = resultBox(model_.nozzleSize, "Text58", "Фланцы (патрубки), Ду");
    flange->setAccessibleDescription(flangeHint);
    flange->setMinimumWidth(boxWidth(this, 7));
    parameters->addWidget(flangeCaption, 6, 0, 1, 5);
    parameters->addWidget(flangeBores, 6, 5, 1, 2);
    parameters->addWidget(flange, 6, 7, 1, 2);
    legendLabel = new QLabel(geometric_);
    legendLabel->setObjectName("Label5");
    legendLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    legendLabel->setAccessibleName("Обозначения патрубков на рисунке");
    parameters->addWidget(legendLabel, 7, 0, 1, 9);
    parameters->setRowStretch(8, 1);
    parameters->setColumnStretch(9, 1);
    for (QLabel* hinted : {flangeCaption, flangeBores})
        hinted->setBuddy(flange);
    for (QLineEdit* hinted : {channelArea, plateSurface, flange})
        hinted->installEventFilter(this);
    return parameters;
}

QLabel* AdditionalResultsView::buildDrawing() {
    drawing = new QLabel(geometric_);
    drawing->setObjectName("Image1");
    binding_->bindPicture(drawing, model_.exchangerDrawing);
    drawing->setScaledContents(true); // the pass drawing, 2 : 3, fitted into its place
    drawing->setFrameShape(QFrame::Box);
    drawing->setFixedSize(twipsToPixels(2600, this), twipsToPixels(3900, this));
    drawing->setAccessibleName("Схема ходов теплообменника");
    QPalette white = drawing->palette();
    white.setColor(QPalette::Window, Qt::white);
    drawing->setPalette(white);
    drawing->setAutoFillBackground(true);
    return drawing;
}

QWidget* AdditionalResultsView::buildThermophysicalView() {
    // The properties and transfer numbers of both media.
    auto* view = new QWidget(this);
    view->setObjectName("thermophysicalView");
    auto* grid = new QGridLayout(view);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(3);
    grid->addWidget(heading("Физические свойства теплоносителя", view), 0, 0, 1, 3);
    grid->addWidget(label("греющего", view, Qt::AlignCenter), 1, 1);
    grid->addWidget(label("нагреваемого", view, Qt::AlignCenter), 1, 2);
    // clang-format off
    struct Property { const char* label; kalvar::Control* heating; const char* heatingName;
                      kalvar::Control* heated; const char* heatedName; };
    const Property properties[] = {
        {"Теплоемкость, Дж/кг°С",              &model_.heatingHeatCapacity, "Text11", &model_.heatedHeatCapacity, "Text18"},
        {"Плотность, кг/м3",                    &model_.heatingDensity, "Text12", &model_.heatedDensity, "Text19"},
        {"Вязкость, мПа·с",                     &model_.heatingViscosity, "Text13", &model_.heatedViscosity, "Text20"},
        {"Теплопроводность, Вт/м°С",            &model_.heatingConductivity, "Text14", &model_.heatedConductivity, "Text21"},
        {"Число Рейнольдса",                    &model_.heatingReynolds, "Text15", &model_.heatedReynolds, "Text22"},
        {"Число Нусельта",                      &model_.heatingNusselt, "Text17", &model_.heatedNusselt, "Text24"},
        {"Коэффициент теплоотдачи, Вт/(м2°С)",  &model_.heatingFilmCoefficient, "Text16", &model_.heatedFilmCoefficient, "Text23"},
    };
    // clang-format on
    int row = 2;
    for (const Property& p : properties) {
        const QString text = QString::fromUtf8(p.label);
        const int comma = text.indexOf(',');
        const QString quantity = comma < 0 ? text : text.left(comma);
        const QString unit = comma < 0 ? QString() : text.mid(comma);
        grid->addWidget(label(text, view), row, 0);
        grid->addWidget(resultBox(*p.heating, p.heatingName, quantity + " греющего" + unit), row, 1);
        grid->addWidget(resultBox(*p.heated, p.heatedName, quantity + " нагреваемого" + unit), row, 2);
        ++row;
    }
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(3, 1);
    return view;
}

QLineEdit* AdditionalResultsView::resultBox(kalvar::Control& control, const char* name,
                                            const QString& spokenName) {
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(boxWidth(this, 7));
    box->setAccessibleName(spokenName);
    binding_->bindText(box, control);
    box->setReadOnly(true);
    results_.append(box);
    return box;
}

QWidget* AdditionalResultsView::control(const QString& name) const {
    return findChild<QWidget*>(name);
}

void AdditionalResultsView::refresh() {
    binding_->refresh();
    // Only the valve's pressure drop is an input; the rest are results the calculation wrote.
    for (QLineEdit* box : std::as_const(results_))
        box->setReadOnly(true);
    geometric_->setVisible(model_.geometricView);
    thermophysical_->setVisible(!model_.geometricView);
    QPalette background = palette();
    background.setColor(QPalette::Window, ModelBinding::colour(model_.backColor));
    setPalette(background);
    QString legend = QString::fromStdString(model_.connectionLegend.text);
    legend.replace("\r\n", "\n").replace('\r', '\n');
    legendLabel->setText(legend);
    legendLabel->setVisible(model_.connectionLegend.visible);
    valvePressureDropBox->setAccessibleName("ΔP на клапане, " + valveUnit_->text());
}

void AdditionalResultsView::showGeometricView() {
    geometricButton->setFocus();
    kalvar::selectGeometricView(model_);
    refresh();
}

void AdditionalResultsView::showThermophysicalView() {
    kalvar::selectThermophysicalView(model_);
    refresh();
}

bool AdditionalResultsView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        const QString name = watched->objectName();
        if (name == "Text43") emit hint(channelAreaHint);
        if (name == "Text44") emit hint(plateSurfaceHint);
        if (name == "Text58") emit hint(flangeHint);
    }
    return QWidget::eventFilter(watched, event);
}

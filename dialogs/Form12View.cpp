#include "Form12View.h"

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

Form12View::Form12View(kalvar::Session& session, QWidget* parent)
    : QWidget(parent), model_(session.windows.additionalResults), binding_(new ModelBinding(this)) {
    setObjectName("Form12");
    setWindowTitle("Дополнительные результаты расчета");
    setAutoFillBackground(true);

    Command1 = new QPushButton(this);
    Command1->setObjectName("Command1");
    Command2 = new QPushButton(this);
    Command2->setObjectName("Command2");
    binding_->bindButton(Command1, model_.geometricViewButton);
    binding_->bindButton(Command2, model_.thermophysicalViewButton);
    Command1->setAccessibleName("Геометрические параметры");
    Command2->setAccessibleName("Теплофизические параметры");
    connect(Command1, &QPushButton::clicked, this, &Form12View::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form12View::Command2_Click);

    // ---- Geometric view: pipes, valve, exchanger parameters, drawing.
    geometric_ = new QWidget(this);
    geometric_->setObjectName("geometricView");

    auto* Frame1 = new QGroupBox(geometric_);
    Frame1->setObjectName("Frame1");
    binding_->bindFrame(Frame1, model_.pipesFrame);
    Frame1->setAutoFillBackground(false); // the groups lie on the window's own colour
    auto* pipes = new QGridLayout(Frame1);
    pipes->setContentsMargins(6, 2, 6, 4);
    pipes->setVerticalSpacing(3);
    QLabel* heatingHead = label("греющий", Frame1, Qt::AlignCenter);
    QLabel* heatedHead = label("нагреваемый", Frame1, Qt::AlignCenter);
    QLabel* boreLabel = label("Dу=", Frame1);
    QLabel* boreUnit = label("мм", Frame1, Qt::AlignLeft | Qt::AlignVCenter);
    pipes->addWidget(heatingHead, 0, 1);
    pipes->addWidget(heatedHead, 0, 2);
    pipes->addWidget(boreLabel, 1, 0);
    pipes->addWidget(label("Vтр=", Frame1), 2, 0);
    // Each bore list is named by its row, its column and its unit.
    auto* heatingBore = new LabelledComboBox(Frame1);
    auto* heatedBore = new LabelledComboBox(Frame1);
    for (auto [list, head] : {std::pair{heatingBore, heatingHead}, std::pair{heatedBore, heatedHead}}) {
        list->addLabel(boreLabel);
        list->addLabel(head);
        list->addLabel(boreUnit);
    }
    Combo5 = heatingBore;
    Combo5->setObjectName("Combo5");
    Combo6 = heatedBore;
    Combo6->setObjectName("Combo6");
    binding_->bindList(Combo5, model_.heatingPipeList);
    binding_->bindList(Combo6, model_.heatedPipeList);
    Combo5->setAccessibleName("Dу греющего потока, мм");
    Combo6->setAccessibleName("Dу нагреваемого потока, мм");
    pipes->addWidget(Combo5, 1, 1);
    pipes->addWidget(Combo6, 1, 2);
    pipes->addWidget(boreUnit, 1, 3);
    pipes->addWidget(resultBox(model_.heatingPipeVelocity, "Text45", "Vтр греющего потока, м/с"), 2, 1);
    pipes->addWidget(resultBox(model_.heatedPipeVelocity, "Text46", "Vтр нагреваемого потока, м/с"), 2, 2);
    pipes->addWidget(label("м/с", Frame1, Qt::AlignLeft | Qt::AlignVCenter), 2, 3);

    auto* Frame2 = new QGroupBox(geometric_);
    Frame2->setObjectName("Frame2");
    binding_->bindFrame(Frame2, model_.valveFrame);
    Frame2->setAutoFillBackground(false);
    auto* valve = new QGridLayout(Frame2);
    valve->setContentsMargins(6, 2, 6, 4);
    valve->setVerticalSpacing(3);
    valve->addWidget(label("ΔP=", Frame2), 0, 0);
    Text10 = new QLineEdit(Frame2);
    Text10->setObjectName("Text10");
    Text10->setAlignment(Qt::AlignRight);
    Text10->setFixedWidth(boxWidth(this, 6));
    binding_->bindText(Text10, model_.valvePressureDrop);
    numberFilter::install(Text10, numberFilter::numberCharacters, *binding_);
    valve->addWidget(Text10, 0, 1);
    auto* Label35 = label(QString(), Frame2, Qt::AlignLeft | Qt::AlignVCenter);
    Label35->setObjectName("Label35");
    binding_->bindLabel(Label35, model_.valvePressureDropUnitLabel);
    valveUnitSpoken_ = Label35;
    valve->addWidget(Label35, 0, 2);
    valve->addWidget(label("Кv=", Frame2), 1, 0);
    valve->addWidget(resultBox(model_.valveFlowCapacity, "Text9", "Кv клапана, м³/ч"), 1, 1);
    auto* kvUnit = label("м<sup>3</sup>/ч", Frame2, Qt::AlignLeft | Qt::AlignVCenter);
    kvUnit->setTextFormat(Qt::RichText);
    valve->addWidget(kvUnit, 1, 2);
    valve->addWidget(label("Dу=", Frame2), 2, 0);
    valve->addWidget(resultBox(model_.valveNominalDiameter, "Text8", "Dу клапана, мм"), 2, 1);
    valve->addWidget(label("мм", Frame2, Qt::AlignLeft | Qt::AlignVCenter), 2, 2);
    valve->setColumnStretch(3, 1);

    auto* groups = new QVBoxLayout;
    groups->setSpacing(4);
    groups->addWidget(Frame1);
    groups->addWidget(Frame2);
    groups->addStretch(1);

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
    auto* Label72_0 = label(QString(), geometric_, Qt::AlignLeft | Qt::AlignVCenter);
    Label72_0->setObjectName("Label72_0");
    auto* Label72_1 = label(QString(), geometric_);
    Label72_1->setObjectName("Label72_1");
    binding_->bindLabel(Label72_0, model_.flangesLabel);
    binding_->bindLabel(Label72_1, model_.flangeDiameterLabel);
    auto* flange = resultBox(model_.nozzleSize, "Text58", "Фланцы (патрубки), Ду");
    flange->setAccessibleDescription(flangeHint);
    flange->setMinimumWidth(boxWidth(this, 7));
    parameters->addWidget(Label72_0, 6, 0, 1, 5);
    parameters->addWidget(Label72_1, 6, 5, 1, 2);
    parameters->addWidget(flange, 6, 7, 1, 2);
    Label5 = new QLabel(geometric_);
    Label5->setObjectName("Label5");
    Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label5->setAccessibleName("Обозначения патрубков на рисунке");
    parameters->addWidget(Label5, 7, 0, 1, 9);
    parameters->setRowStretch(8, 1);
    parameters->setColumnStretch(9, 1);
    for (QLabel* hinted : {Label72_0, Label72_1})
        hinted->setBuddy(flange);
    for (QLineEdit* hinted : {channelArea, plateSurface, flange})
        hinted->installEventFilter(this);

    Image1 = new QLabel(geometric_);
    Image1->setObjectName("Image1");
    binding_->bindPicture(Image1, model_.exchangerDrawing);
    Image1->setScaledContents(true); // the pass drawing, 2 : 3, fitted into its place
    Image1->setFrameShape(QFrame::Box);
    Image1->setFixedSize(twipsToPixels(2600, this), twipsToPixels(3900, this));
    Image1->setAccessibleName("Схема ходов теплообменника");
    QPalette white = Image1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Image1->setPalette(white);
    Image1->setAutoFillBackground(true);

    auto* geometricLayout = new QHBoxLayout(geometric_);
    geometricLayout->setContentsMargins(0, 0, 0, 0);
    geometricLayout->setSpacing(10);
    geometricLayout->addLayout(groups);
    geometricLayout->addLayout(parameters);
    geometricLayout->addWidget(Image1, 0, Qt::AlignTop);

    // ---- Thermophysical view: the properties and transfer numbers of both media.
    thermophysical_ = new QWidget(this);
    thermophysical_->setObjectName("thermophysicalView");
    auto* grid = new QGridLayout(thermophysical_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(3);
    grid->addWidget(heading("Физические свойства теплоносителя", thermophysical_), 0, 0, 1, 3);
    grid->addWidget(label("греющего", thermophysical_, Qt::AlignCenter), 1, 1);
    grid->addWidget(label("нагреваемого", thermophysical_, Qt::AlignCenter), 1, 2);
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
        grid->addWidget(label(text, thermophysical_), row, 0);
        grid->addWidget(resultBox(*p.heating, p.heatingName, quantity + " греющего" + unit), row, 1);
        grid->addWidget(resultBox(*p.heated, p.heatedName, quantity + " нагреваемого" + unit), row, 2);
        ++row;
    }
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(3, 1);

    // ---- The window: the view buttons above, then the view.
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->setSpacing(4);
    layout->addLayout(buttons);
    layout->addWidget(geometric_);
    layout->addWidget(thermophysical_);
    layout->addStretch(1);

    connect(binding_, &ModelBinding::edited, this, &Form12View::refresh);
    refresh();
}

QLineEdit* Form12View::resultBox(kalvar::Control& control, const char* name, const QString& spokenName) {
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

QWidget* Form12View::control(const QString& name) const {
    return findChild<QWidget*>(name);
}

void Form12View::refresh() {
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
    Label5->setText(legend);
    Label5->setVisible(model_.connectionLegend.visible);
    Text10->setAccessibleName("ΔP на клапане, " + valveUnitSpoken_->text());
}

void Form12View::Command1_Click() {
    Command1->setFocus();
    kalvar::selectGeometricView(model_);
    refresh();
}

void Form12View::Command2_Click() {
    kalvar::selectThermophysicalView(model_);
    refresh();
}

bool Form12View::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        const QString name = watched->objectName();
        if (name == "Text43") emit hint(channelAreaHint);
        if (name == "Text44") emit hint(plateSurfaceHint);
        if (name == "Text58") emit hint(flangeHint);
    }
    return QWidget::eventFilter(watched, event);
}

#include "CalcWindowView.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScopeGuard>

#include "AccessibleWidgets.h"
#include "CustomMediumDialog.h"
#include "DesktopHost.h"
#include "ModelBinding.h"
#include "Twips.h"
#include "ZuPanel.h"
#include "additional_results.h"
#include "layout_summary.h"
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

// The given-parameter commands, items 3, 4, 5 of the panel's menu: their check marks; the flags
// Check5, Check3, Check2; the two boxes made read-only results and the box made the input.
struct GivenParameterRow {
    const char* key;
    const char* caption;
    bool marks[3];
    int check5, check3, check2;
    Control CalcWindow::*readOnly[2];
    Control CalcWindow::*chosen;
};
const GivenParameterRow givenParameterRows[] = {
    {"1.3", "Тепловая мощность, Q ",          {true, false, false}, 0, 1, 0, {&CalcWindow::heatedFlow, &CalcWindow::plateCount}, &CalcWindow::heatLoad},
    {"1.4", "Расход нагреваемого потока, G2", {false, true, false}, 0, 0, 1, {&CalcWindow::heatLoad, &CalcWindow::plateCount}, &CalcWindow::heatedFlow},
    {"1.5", "Общее число пластин, n",         {false, false, true}, 1, 0, 0, {&CalcWindow::heatLoad, &CalcWindow::heatedFlow}, &CalcWindow::plateCount},
};

// clang-format on

constexpr uint32_t windowColour = kalvar::colours::white;

// The menu items of the layout panel's only button, and the number of their sub-items.
constexpr int typeMenu = 1, passesMenu = 2, exchangersMenu = 3;

// "Варианты" of the given-parameter panel: it opens a window and changes nothing of the model.
const QString variantsKey = QStringLiteral("1.7");
constexpr int seriesCount = 4, passChoices = 3, exchangerChoices = 8;

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
    createCommands();

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

int CalcWindowView::stripTopTwips(WindowId id) {
    if (id == WindowId::HotWater) return 0;
    if (id == WindowId::Ventilation) return 2 * stripHeightTwips;
    return stripHeightTwips;
}

int CalcWindowView::normalTopTwips() const {
    return stripTopTwips(w_.id);
}

const PanelCommands& CalcWindowView::commandsOf(int panelIndex) const {
    static const PanelCommands none;
    if (panelIndex == panels_[0]->index()) return givenParameterCommands_;
    if (panelIndex == panels_[1]->index()) return layoutCommands_;
    return none;
}

// ---------------------------------------------------------------------------------------------
// Widgets (built in CalcWindowWidgets.cpp).

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

QStringList CalcWindowView::pointerHintedControls() {
    QStringList names;
    for (const auto& [name, hint] : pointerHints)
        names << qs(name);
    return names << QStringLiteral("Text1");
}

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

void CalcWindowView::panelEntrySelected(const QString& caption, const QString& toolTip) {
    host_.setHint(QStringLiteral("Меню: ") + caption + QStringLiteral(" Подсказка: ") + toolTip);
}

void CalcWindowView::panelButtonEntered(int index, ZuPanelButton* button) {
    if (index == layoutPanel()->index()) {
        const LayoutSummary& s = summary();
        host_.setHint(QStringLiteral("Тип ") + qs(s.type) + QStringLiteral("; ходов - ") + qs(s.passes) +
                      QStringLiteral("; теплообменников - ") + qs(s.exchangers) + QStringLiteral("."));
    } else {
        host_.setHint(QStringLiteral(" Подсказка: ") + (button ? button->ToolTipText() : QString()));
    }
    host_.setPanelIndexText(index >= 0 ? QStringLiteral(" ") + QString::number(index)
                                       : QString::number(index));
    host_.session().state.activePanelIndex = static_cast<int16_t>(index);
    if (ZuPanel* own = panel(index)) own->BeginHover();
}

void CalcWindowView::panelButtonClicked(int index) {
    if (ZuPanel* own = panel(index)) own->EndCommand();
}

void CalcWindowView::raisePanel(int index) {
    if (ZuPanel* own = panel(index)) own->raise();
}

// ---------------------------------------------------------------------------------------------
// The panels' commands.

void CalcWindowView::createCommands() {
    for (size_t row = 0; row < std::size(givenParameterRows); ++row)
        givenParameterCommands_.add(qs(givenParameterRows[row].key), qs(givenParameterRows[row].caption),
                                    [this, row] { chooseGivenParameter(row); });
    givenParameterCommands_.add(variantsKey, QStringLiteral("Варианты"), [this] { host_.showVariants(w_); });
    // Keys "1.m.s": sub-item s of menu item m of the layout panel's only button. The series
    // captions are the design's; the program renames them after the owner's series prefix.
    const auto layoutKey = [](int menu, int subItem) {
        return QStringLiteral("1.%1.%2").arg(menu).arg(subItem);
    };
    for (int series = 1; series <= seriesCount; ++series)
        layoutCommands_.add(layoutKey(typeMenu, series), QStringLiteral("КМ%1").arg(series),
                            [this, series] { chooseSeries(series); });
    layoutCommands_.add(layoutKey(typeMenu, seriesCount + 1), QStringLiteral("Автовыбор"),
                        [this] { chooseAutomaticType(); });
    for (int passes = 1; passes <= passChoices; ++passes)
        layoutCommands_.add(layoutKey(passesMenu, passes), QStringLiteral("/%1").arg(passes),
                            [this, passes] { choosePasses(passes); });
    layoutCommands_.add(layoutKey(passesMenu, passChoices + 1), QStringLiteral("Автовыбор "),
                        [this] { chooseAutomaticPasses(); });
    for (int count = 1; count <= exchangerChoices; ++count)
        layoutCommands_.add(layoutKey(exchangersMenu, count), QStringLiteral("x%1").arg(count),
                            [this, count] { chooseExchangers(count); });
}

void CalcWindowView::chooseLayout(int series, int passes, int units) {
    const auto layoutKey = [](int menu, int subItem) {
        return QStringLiteral("1.%1.%2").arg(menu).arg(subItem);
    };
    for (const QString& key :
         {layoutKey(typeMenu, series), layoutKey(passesMenu, passes), layoutKey(exchangersMenu, units)})
        layoutCommands_.run(key, false);
    group_->refreshAll();
    emit commandDone();
}

void CalcWindowView::panelPicked(int index, const QString& key) {
    if (commandsOf(index).run(key, host_.commandsBlocked()) == PanelCommands::Outcome::Refused)
        host_.refuseCommand();
    if (ZuPanel* own = panel(index)) own->EndCommand();
    group_->refreshAll();
    if (index != givenParameterPanel()->index() || key != variantsKey) emit commandDone();
}

void CalcWindowView::chooseGivenParameter(size_t rowIndex) {
    const GivenParameterRow& row = givenParameterRows[rowIndex];
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
}

// Each layout choice sets its list, whose change handler marks the panel, then its summary string.
void CalcWindowView::chooseSeries(int series) {
    w_.plateTypeList.setListIndex(series - 1);
    summary().type = kalvar::seriesName(host_.session().state.seriesPrefix, series - 1);
    showLayoutSummary();
}

void CalcWindowView::chooseAutomaticType() {
    w_.plateTypeList.setListIndex(5);
    summary().type = "автовыбор";
    summary().exchangers = "автовыбор";
    showLayoutSummary();
}

void CalcWindowView::choosePasses(int passes) {
    w_.passCountList.setListIndex(passes - 1);
    summary().passes = std::to_string(passes);
    showLayoutSummary();
}

void CalcWindowView::chooseAutomaticPasses() {
    w_.passCountList.setListIndex(3);
    summary().passes = "автовыбор";
    showLayoutSummary();
}

void CalcWindowView::chooseExchangers(int count) {
    w_.exchangerCountList.setListIndex(count - 1);
    summary().exchangers = std::to_string(count);
    showLayoutSummary();
}

void CalcWindowView::takeTaskValues() {
    chooseGivenParameter(w_.plateCountIsGiven.value == 1 ? 2 : w_.heatedFlowIsGiven.value == 1 ? 1 : 0);
    // The layout as a user who picked only what differs from the automatic choices: the summary of
    // a window loaded afresh, then each pick's command.
    summary() = LayoutSummary{};
    const int type = w_.plateTypeList.listIndex;
    if (type >= 0 && type < seriesCount) chooseSeries(type + 1);
    const int passes = w_.passCountList.listIndex;
    if (passes >= 0 && passes < passChoices) choosePasses(passes + 1);
    const int exchangers = w_.exchangerCountList.listIndex;
    if (exchangers > 0 && exchangers < exchangerChoices) chooseExchangers(exchangers + 1);
    refresh();
}

void CalcWindowView::showLayoutSummary() {
    const LayoutSummary& s = summary();
    mirrorLayoutMarks();
    w_.layoutSummaryLabel.text = kalvar::layoutSummary(s.type, s.passes);
}

// ---------------------------------------------------------------------------------------------
// Medium choice and additional results.

void CalcWindowView::mediumPicked(bool heatingSide) {
    // The dialog waits with events running. Run from inside the list's own key or mouse handling,
    // the wait would hold the list in the middle of its pick; so it runs once the pick is done, and
    // once only, however often the pick is reported before it ends.
    Control& list = heatingSide ? w_.heatingMediumList : w_.heatedMediumList;
    bool& pending = heatingSide ? heatingMediumPending_ : heatedMediumPending_;
    if (list.listIndex != 1 || pending || group_->takingTask) return;
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
    if (!group_->form10) group_->form10 = new CustomMediumDialog(window());
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

void CalcWindowView::applyAdditionalResultsSwitch() {
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

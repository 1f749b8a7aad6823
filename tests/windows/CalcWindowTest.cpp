// The calculation windows driven as a user drives them: panel menus picked with the mouse, keys
// typed into the boxes, lists chosen from the keyboard, check boxes clicked, the pointer moved.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "CustomMediumDialog.h"
#include "Twips.h"
#include "WindowsHarness.h"
#include "ZuPanel.h"

using kalvar::CalcWindow;
using kalvar::WindowId;

namespace {

const uint32_t yellow = 0xFFFF00;
const uint32_t white = 0xFFFFFF;

WindowId windowId(const QString& name) {
    if (name == QLatin1String("Form3")) return WindowId::HotWater;
    if (name == QLatin1String("Form1")) return WindowId::Ventilation;
    return WindowId::Heating;
}

// The main window stand-in with the three calculation windows shown (the mixed three-circuit
// scheme), exposed on the offscreen screen.
struct Desk {
    explicit Desk(int kind = kalvar::mixedThreeCircuits) {
        h.resize(1300, 720);
        h.show();
        if (!QTest::qWaitForWindowExposed(&h)) qWarning("harness not exposed");
        h.selectSystem(kind);
        h.calls.clear();
        QCoreApplication::processEvents();
    }
    CalcWindowView* view(const QString& form) { return h.view(windowId(form)); }
    CalcWindow& model(const QString& form) { return view(form)->model(); }
    template <class T> T* widget(const QString& form, const QString& name) {
        return view(form)->findChild<T*>(name);
    }

    HarnessWindow h;
};

QAction* actionOf(QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions())
        if (action->text() == caption) return action;
    return nullptr;
}

QMenu* visibleSubMenu(QMenu* menu) {
    for (QMenu* sub : menu->findChildren<QMenu*>())
        if (sub->isVisible()) return sub;
    return nullptr;
}

// Points at the panel's button, opens its menu and clicks the entry, inside the sub-menu of `item`
// when a sub-item is named. False when an entry is missing or the menu stays open.
bool pick(ZuPanel* panel, int button, const QString& item, const QString& subItem = {}) {
    const QPoint centre = panel->buttonRect(button).center();
    QTest::mouseMove(panel, centre);
    QTest::mouseClick(panel, Qt::LeftButton, {}, centre);
    QMenu* menu = panel->openMenu();
    if (!menu) return false;
    QAction* action = actionOf(menu, item);
    if (!action) return false;
    QMenu* target = menu;
    if (!subItem.isEmpty()) {
        QTest::mouseMove(menu, menu->actionGeometry(action).center());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        if (!QTest::qWaitFor([&] { return visibleSubMenu(menu) != nullptr; })) return false;
        target = visibleSubMenu(menu);
        action = actionOf(target, subItem);
        if (!action) return false;
    }
    QTest::mouseMove(target, target->actionGeometry(action).center());
    QTest::mouseClick(target, Qt::LeftButton, {}, target->actionGeometry(action).center());
    return QTest::qWaitFor([&] { return !panel->openMenu(); });
}

// A pick written "Item" or "Item/Sub-item" (the sub-item may itself hold a slash: "Тип//1" is not
// used; passes are written "Число ходов|/1").
bool pickPath(ZuPanel* panel, const QString& path) {
    const int bar = static_cast<int>(path.indexOf(QLatin1Char('|')));
    if (bar < 0) return pick(panel, 1, path);
    return pick(panel, 1, path.left(bar), path.mid(bar + 1));
}

// The checked sub-items (1-based) of a layout-panel menu item.
QList<int> checkedSubItems(ZuPanel* panel, int menuItem) {
    QList<int> checked;
    ZuPanelMenuItem& item = panel->Buttons().Item(1).MenuItems().Item(static_cast<int16_t>(menuItem));
    for (int s = 1; s <= item.SubItems().Count(); ++s)
        if (item.SubItems().Item(static_cast<int16_t>(s)).Checked()) checked << s;
    return checked;
}

uint32_t baseColour(QLineEdit* box) {
    return box->palette().color(QPalette::Base).rgb() & 0xFFFFFF;
}

void pointAt(QWidget* widget, QPoint at = {}) {
    QTest::mouseMove(widget, at.isNull() ? widget->rect().center() : at);
    QCoreApplication::processEvents();
}

} // namespace

class CalcWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void givenParameterCommands_data();
    void givenParameterCommands();
    void layoutCommands_data();
    void layoutCommands();
    void layoutMarksFollowTheLists_data();
    void layoutMarksFollowTheLists();
    void layoutMarksFollowTheCalculation();
    void mainPanelCommands_data();
    void mainPanelCommands();
    void commandsWaitWhileBlocked();
    void secondStageInputFollowsTheSystem_data();
    void secondStageInputFollowsTheSystem();
    void pipeBetweenTheStages();
    void inputFilters_data();
    void inputFilters();
    void pasteKeepsTypableCharacters();
    void customMedium_data();
    void customMedium();
    void customMediumPickedOnce_data();
    void customMediumPickedOnce();
    void additionalResultsOnAndOff_data();
    void additionalResultsOnAndOff();
    void additionalResultsWaitWhileBlocked();
    void pointerHints_data();
    void pointerHints();
    void panelAndFocusHints();
    void backgroundShowsEveryDesignation();
    void accessibleNamesFollowTheUnits();
    void secondStageLossShowsItsOwnUnit();
    void listsAreNamedByTheirLabels();
    void layoutSummaryIsReadAsShown();
    void ventilationFrameIsNamed();
    void accessibilityEditsReachTheModel();
    void activationPaintsTheBackground();
    void calculationIsShown();
};

// ---------------------------------------------------------------------------------------------
// Given parameter.

void CalcWindowTest::givenParameterCommands_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QStringList>("picks");
    QTest::addColumn<QList<int>>("flags"); // Check5, Check3, Check2
    QTest::addColumn<QString>("input");

    QTest::newRow("heating G2") << "Form2" << QStringList{"Расход нагреваемого потока, G2"}
                                << QList<int>{0, 0, 1} << "Text33";
    QTest::newRow("hot water n") << "Form3" << QStringList{"Общее число пластин, n"} << QList<int>{1, 0, 0}
                                 << "Text38";
    QTest::newRow("ventilation G2 then Q again")
        << "Form1" << QStringList{"Расход нагреваемого потока, G2", "Тепловая мощность, Q "}
        << QList<int>{0, 1, 0} << "Text30";
    QTest::newRow("heating n then G2")
        << "Form2" << QStringList{"Общее число пластин, n", "Расход нагреваемого потока, G2"}
        << QList<int>{0, 0, 1} << "Text33";
}

void CalcWindowTest::givenParameterCommands() {
    QFETCH(QString, form);
    QFETCH(QStringList, picks);
    QFETCH(QList<int>, flags);
    QFETCH(QString, input);
    Desk desk;
    CalcWindowView* view = desk.view(form);
    for (const QString& caption : picks)
        QVERIFY2(pick(view->givenParameterPanel(), 1, caption), qPrintable(caption));

    CalcWindow& w = view->model();
    QCOMPARE((QList<int>{w.plateCountIsGiven.value, w.heatLoadIsGiven.value, w.heatedFlowIsGiven.value}),
             flags);
    for (const char* name : {"Text30", "Text33", "Text38"}) {
        auto* box = desk.widget<QLineEdit>(form, name);
        const bool isInput = input == QLatin1String(name);
        QCOMPARE(box->isReadOnly(), !isInput);
        QCOMPARE(baseColour(box), isInput ? white : yellow);
    }
    ZuPanelMenuItems& items = view->givenParameterPanel()->Buttons().Item(1).MenuItems();
    QCOMPARE((QList<bool>{items.Item(3).Checked(), items.Item(4).Checked(), items.Item(5).Checked()}),
             (QList<bool>{flags[1] == 1, flags[2] == 1, flags[0] == 1}));

    // The other windows keep the heat load given.
    for (const QString& other : {QStringLiteral("Form1"), QStringLiteral("Form2"), QStringLiteral("Form3")})
        if (other != form) QCOMPARE(desk.model(other).heatLoadIsGiven.value, 1);
}

// ---------------------------------------------------------------------------------------------
// Layout.

void CalcWindowTest::layoutCommands_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QStringList>("picks");
    QTest::addColumn<QList<int>>("lists");    // Combo1, Combo2, Combo3 list indices
    QTest::addColumn<QStringList>("summary"); // exchangers, type, passes
    QTest::addColumn<QString>("label54");

    QTest::newRow("passes 3 at start-up")
        << "Form2" << QStringList{"Число ходов|/3"} << QList<int>{5, 2, 0}
        << QStringList{"1", "автовыбор", "3"} << "Тип автовыбор; ходов - 3.";
    QTest::newRow("type auto after x3 keeps the list at x3")
        << "Form2" << QStringList{"Число теплообменников|x3", "Тип|Автовыбор"} << QList<int>{5, 3, 2}
        << QStringList{"автовыбор", "автовыбор", "автовыбор"} << "Тип автовыбор; ходов - автовыбор.";
    QTest::newRow("x5 twice") << "Form2"
                              << QStringList{"Число теплообменников|x5", "Число теплообменников|x5"}
                              << QList<int>{5, 3, 4} << QStringList{"5", "автовыбор", "автовыбор"}
                              << "Тип автовыбор; ходов - автовыбор.";
    QTest::newRow("hot water series, passes and exchangers")
        << "Form3" << QStringList{"Тип|КМ3", "Число ходов|/2", "Число теплообменников|x2"}
        << QList<int>{2, 1, 1} << QStringList{"2", "КM3", "2"} << "Тип КM3; ходов - 2.";
    QTest::newRow("ventilation passes auto with its blank after /1")
        << "Form1" << QStringList{"Число ходов|/1", "Число ходов|Автовыбор "} << QList<int>{5, 3, 0}
        << QStringList{"1", "автовыбор", "автовыбор"} << "Тип автовыбор; ходов - автовыбор.";
    QTest::newRow("series 1 then type auto")
        << "Form1" << QStringList{"Тип|КМ1", "Тип|Автовыбор"} << QList<int>{5, 3, 0}
        << QStringList{"автовыбор", "автовыбор", "автовыбор"} << "Тип автовыбор; ходов - автовыбор.";
}

void CalcWindowTest::layoutCommands() {
    QFETCH(QString, form);
    QFETCH(QStringList, picks);
    QFETCH(QList<int>, lists);
    QFETCH(QStringList, summary);
    QFETCH(QString, label54);
    Desk desk;
    CalcWindowView* view = desk.view(form);
    for (const QString& path : picks)
        QVERIFY2(pickPath(view->layoutPanel(), path), qPrintable(path));

    CalcWindow& w = view->model();
    QCOMPARE(
        (QList<int>{w.plateTypeList.listIndex, w.passCountList.listIndex, w.exchangerCountList.listIndex}),
        lists);
    const LayoutSummary& s = view->summary();
    QCOMPARE((QStringList{QString::fromStdString(s.exchangers), QString::fromStdString(s.type),
                          QString::fromStdString(s.passes)}),
             summary);
    QCOMPARE(desk.widget<QLabel>(form, "label54")->text(), label54);

    // Marks and lists agree: one mark per menu at the list's entry ("Автовыбор" is the fifth type).
    QCOMPARE(checkedSubItems(view->layoutPanel(), 1), QList<int>{lists[0] == 5 ? 5 : lists[0] + 1});
    QCOMPARE(checkedSubItems(view->layoutPanel(), 2), QList<int>{lists[1] + 1});
    QCOMPARE(checkedSubItems(view->layoutPanel(), 3), QList<int>{lists[2] + 1});

    // Pointing at the layout panel tells the whole summary.
    pointAt(view->layoutPanel(), view->layoutPanel()->buttonRect(1).center());
    QCOMPARE(
        desk.h.hintLine->text(),
        QStringLiteral("Тип %1; ходов - %2; теплообменников - %3.").arg(summary[1], summary[2], summary[0]));
}

void CalcWindowTest::layoutMarksFollowTheLists_data() {
    QTest::addColumn<int>("list"); // 1, 2, 3 for Combo1, Combo2, Combo3
    QTest::addColumn<QList<int>>("indices");
    QTest::addColumn<QList<int>>("checked");

    QTest::newRow("passes 4 after 1") << 2 << QList<int>{0, 3} << QList<int>{4};
    QTest::newRow("series 3") << 1 << QList<int>{2} << QList<int>{3};
    QTest::newRow("fifth series has no item") << 1 << QList<int>{1, 4} << QList<int>{};
    QTest::newRow("type auto") << 1 << QList<int>{0, 5} << QList<int>{5};
    QTest::newRow("x5") << 3 << QList<int>{4} << QList<int>{5};
    QTest::newRow("x9 has no item") << 3 << QList<int>{2, 8} << QList<int>{};
}

// The lists change as the calculation changes them (by the model, not by a pick).
void CalcWindowTest::layoutMarksFollowTheLists() {
    QFETCH(int, list);
    QFETCH(QList<int>, indices);
    QFETCH(QList<int>, checked);
    Desk desk;
    CalcWindow& w = desk.model("Form2");
    kalvar::Control* lists[] = {&w.plateTypeList, &w.passCountList, &w.exchangerCountList};
    for (int index : indices)
        lists[list - 1]->setListIndex(index);
    QCOMPARE(checkedSubItems(desk.view("Form2")->layoutPanel(), list), checked);
}

void CalcWindowTest::layoutMarksFollowTheCalculation() {
    Desk desk(kalvar::heatingSystem);
    CalcWindowView* view = desk.view("Form2");
    QVERIFY(pickPath(view->layoutPanel(), "Число теплообменников|x4"));
    QCOMPARE(checkedSubItems(view->layoutPanel(), 3), QList<int>{4});
    // With the type chosen automatically the sizing starts again from one exchanger.
    QTest::mouseMove(desk.h.main, desk.h.main->buttonRect(4).center());
    QTest::mouseClick(desk.h.main, Qt::LeftButton, {}, desk.h.main->buttonRect(4).center());
    QVERIFY(desk.h.ui.messages.isEmpty());
    QCOMPARE(checkedSubItems(view->layoutPanel(), 3),
             QList<int>{view->model().exchangerCountList.listIndex + 1});
    QCOMPARE(view->model().exchangerCountList.listIndex, 0);
}

// ---------------------------------------------------------------------------------------------
// Main panel.

void CalcWindowTest::mainPanelCommands_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("subItem");
    QTest::addColumn<QString>("call");

    QTest::newRow("save") << 2 << "Сохранить"
                          << ""
                          << "save";
    QTest::newRow("print") << 2 << "Печать"
                           << ""
                           << "print";
    QTest::newRow("save PDF") << 2 << "Сохранить PDF"
                              << ""
                              << "savePdf";
    QTest::newRow("hot water system") << 3 << "Теплообменник ГВС"
                                      << ""
                                      << "selectSystem 1";
    QTest::newRow("parallel scheme") << 3 << "Параллельная схема"
                                     << ""
                                     << "selectSystem 4";
    QTest::newRow("mixed with ventilation") << 3 << "Смешанная схема с параллельной вентиляцией"
                                            << ""
                                            << "selectSystem 8";
    QTest::newRow("kW") << 5 << "Тепловой поток, Q"
                        << "кВт"
                        << "switchUnit кВт";
    QTest::newRow("l/s") << 5 << "Расход теплоносителя, G"
                         << "л/с"
                         << "switchUnit л/с";
    QTest::newRow("atm") << 5 << "Давление теплоносителя, P"
                         << "атм"
                         << "switchUnit атм";
}

void CalcWindowTest::mainPanelCommands() {
    QFETCH(int, button);
    QFETCH(QString, item);
    QFETCH(QString, subItem);
    QFETCH(QString, call);
    Desk desk;
    QVERIFY(pick(desk.h.main, button, item, subItem));
    QCOMPARE(desk.h.calls.filter(QRegularExpression("^(save|print|select|switch)")), QStringList{call});
    QCOMPARE(desk.h.session_.state.activePanelIndex, 10);
    // The windows show what the command changed in the model.
    for (const char* form : {"Form1", "Form2", "Form3"}) {
        QCOMPARE(desk.widget<QLabel>(form, "Label57")->text(),
                 QString::fromStdString(desk.model(form).heatLoadUnitLabel.text));
        QCOMPARE(desk.widget<QLabel>(form, "Label34(0)")->text(),
                 QString::fromStdString(desk.model(form).lossLimitUnitLabel.text));
    }
    if (!subItem.isEmpty())
        QCOMPARE(desk.widget<QLabel>("Form2", subItem == "л/с"   ? "Label59"
                                              : subItem == "кВт" ? "Label57"
                                                                 : "Label34(1)")
                     ->text(),
                 subItem);
}

void CalcWindowTest::commandsWaitWhileBlocked() {
    Desk desk;
    desk.h.blocked = true;
    CalcWindowView* view = desk.view("Form2");
    QVERIFY(pickPath(view->layoutPanel(), "Число теплообменников|x2"));
    QVERIFY(pick(view->givenParameterPanel(), 1, "Общее число пластин, n"));
    QVERIFY(pick(desk.h.main, 3, "Параллельная схема"));
    QCOMPARE(view->model().exchangerCountList.listIndex, 0);
    QCOMPARE(view->model().plateCountIsGiven.value, 0);
    QCOMPARE(checkedSubItems(view->layoutPanel(), 3), QList<int>{1});
    QVERIFY(desk.h.calls.filter("selectSystem").isEmpty());

    desk.h.blocked = false;
    QVERIFY(pickPath(view->layoutPanel(), "Число теплообменников|x2"));
    QCOMPARE(view->model().exchangerCountList.listIndex, 1);
}

void CalcWindowTest::secondStageInputFollowsTheSystem_data() {
    QTest::addColumn<QString>("system");
    QTest::addColumn<bool>("shown");

    QTest::newRow("two-stage mixed") << "Двухступенчатая смешанная схема" << true;
    QTest::newRow("parallel") << "Параллельная схема" << false;
    QTest::newRow("three circuits mixed") << "Смешанная схема для трех контуров" << true;
    QTest::newRow("three circuits parallel") << "Параллельная схема для трех контуров" << false;
}

void CalcWindowTest::secondStageInputFollowsTheSystem() {
    QFETCH(QString, system);
    QFETCH(bool, shown);
    Desk desk(shown ? kalvar::parallelScheme : kalvar::twoStageMixedScheme);
    const QList<QWidget*> secondStage = {
        desk.widget<QLineEdit>("Form3", "Text10"), desk.widget<QLabel>("Form3", "Text10Unit"),
        desk.widget<QComboBox>("Form3", "Combo8"), desk.widget<QLineEdit>("Form3", "Text67")};
    for (QWidget* widget : secondStage)
        QCOMPARE(widget->isVisible(), !shown);
    QVERIFY(pick(desk.h.main, 3, system));
    for (QWidget* widget : secondStage)
        QCOMPARE(widget->isVisible(), shown);
    QCOMPARE(desk.h.subWindow(WindowId::Ventilation)->isVisible(), desk.model("Form1").visible);
}

// The bore of the pipe between the stages is picked from the keyboard and runs the model's change
// handlers; the velocity in it is a yellow result the user cannot type into.
void CalcWindowTest::pipeBetweenTheStages() {
    int changes = 0; // outlives the window model holding the handler below
    Desk desk(kalvar::twoStageMixedScheme);
    CalcWindow& w = desk.model("Form3");
    w.interstagePipeList.onListChange([&changes] { ++changes; });
    auto* bore = desk.widget<QComboBox>("Form3", "Combo8");
    QVERIFY(bore && bore->isVisible());
    QCOMPARE(bore->count(), 8);
    QCOMPARE(bore->currentText(), QStringLiteral("50"));
    QCOMPARE(bore->accessibleName(), QStringLiteral("D трубы между ступенями, мм"));
    bore->setFocus();
    QTest::keyClick(bore, Qt::Key_Down);
    QTest::keyClick(bore, Qt::Key_Down);
    QCOMPARE(w.interstagePipeList.listIndex, 6);
    QCOMPARE(kalvar::selectedPipeBore(w.interstagePipeList), 80);
    QCOMPARE(changes, 2);

    auto* velocity = desk.widget<QLineEdit>("Form3", "Text67");
    QVERIFY(velocity->isReadOnly());
    QCOMPARE(baseColour(velocity), yellow);
    QCOMPARE(velocity->accessibleName(), QStringLiteral("v в трубе между ступенями, м/с"));
    velocity->setFocus();
    QTest::keyClicks(velocity, "12");
    QCOMPARE(w.interstagePipeVelocity.text, std::string());
    // A velocity the calculation writes shows at once.
    w.interstagePipeVelocity.text = "1,25";
    desk.view("Form3")->refresh();
    QCOMPARE(velocity->text(), QStringLiteral("1,25"));
}

// ---------------------------------------------------------------------------------------------
// Input filters.

void CalcWindowTest::inputFilters_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("plateCountGiven");
    QTest::addColumn<QString>("typed"); // "\b" is backspace
    QTest::addColumn<QString>("expected");

    QTest::newRow("digit") << "Form2"
                           << "Text30" << false << "5"
                           << "0,25";
    QTest::newRow("letter, blank and minus dropped") << "Form2"
                                                     << "Text30" << false << "a -"
                                                     << "0,2";
    QTest::newRow("point and comma pass, backspace deletes") << "Form2"
                                                             << "Text2" << false << ".5,\b"
                                                             << "110.5";
    QTest::newRow("fouling retyped") << "Form1"
                                     << "Text25" << false << "\b\b\b0,001"
                                     << "0,001";
    QTest::newRow("margin takes numbers") << "Form3"
                                          << "Text53" << false << "x7"
                                          << "0,07";
    QTest::newRow("plate count drops separators") << "Form2"
                                                  << "Text38" << true << "12,5.0"
                                                  << "1250";
    QTest::newRow("ventilation plate count too") << "Form1"
                                                 << "Text38" << true << "3.a4"
                                                 << "34";
    QTest::newRow("second stage loss") << "Form3"
                                       << "Text10" << false << "a1"
                                       << "71";
    QTest::newRow("allowed loss") << "Form1"
                                  << "Text7" << false << "+e5"
                                  << "205";
}

void CalcWindowTest::inputFilters() {
    QFETCH(QString, form);
    QFETCH(QString, box);
    QFETCH(bool, plateCountGiven);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    Desk desk;
    if (plateCountGiven) QVERIFY(pick(desk.view(form)->givenParameterPanel(), 1, "Общее число пластин, n"));
    auto* edit = desk.widget<QLineEdit>(form, box);
    QVERIFY(edit && !edit->isReadOnly());
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), expected);
    QCOMPARE(QString::fromStdString(desk.model(form).find(box.toStdString())->text), expected);

    // Enter reaches the box.
    QSignalSpy enter(edit, &QLineEdit::returnPressed);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(enter.count(), 1);
}

void CalcWindowTest::pasteKeepsTypableCharacters() {
    Desk desk;
    auto* inlet = desk.widget<QLineEdit>("Form2", "Text2");
    QTest::mouseClick(inlet, Qt::LeftButton);
    QTest::keyClick(inlet, Qt::Key_A, Qt::ControlModifier);
    // A refused key leaves the selection as it was.
    QTest::keyClick(inlet, Qt::Key_X);
    QCOMPARE(inlet->text(), QStringLiteral("110"));
    QCOMPARE(inlet->selectedText(), QStringLiteral("110"));

    QApplication::clipboard()->setText(QStringLiteral("1a2-3,4 5\n"));
    QTest::keyClick(inlet, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(inlet->text(), QStringLiteral("123,45"));
    QCOMPARE(desk.model("Form2").heatingInletTemperature.text, std::string("123,45"));

    QVERIFY(pick(desk.view("Form2")->givenParameterPanel(), 1, "Общее число пластин, n"));
    auto* plates = desk.widget<QLineEdit>("Form2", "Text38");
    QTest::mouseClick(plates, Qt::LeftButton);
    QApplication::clipboard()->setText(QStringLiteral("12.5"));
    QTest::keyClick(plates, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(plates->text(), QStringLiteral("125"));

    // What the program itself writes is shown as written.
    desk.model("Form2").heatingInletTemperature.text = "-5";
    desk.view("Form2")->refresh();
    QCOMPARE(inlet->text(), QStringLiteral("-5"));
}

// ---------------------------------------------------------------------------------------------
// Custom medium.

void CalcWindowTest::customMedium_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("heatingSide");
    QTest::addColumn<QStringList>("values"); // typed into the dialog; empty leaves a box empty
    QTest::addColumn<QString>("message");    // empty when none is expected

    const QStringList complete{"4190", "1000", "1", "0,6"};
    const QStringList oneEmpty{"4190", "", "1", "0,6"};
    QTest::newRow("heating, heated side complete") << "Form2" << false << complete << "";
    QTest::newRow("heating, heating side incomplete")
        << "Form2" << true << oneEmpty << "Не введены все теплотехнические характеристики среды";
    QTest::newRow("hot water, heated side incomplete")
        << "Form3" << false << QStringList{"", "", "", ""}
        << "Неправильно введены теплотехнические характеристики среды";
    QTest::newRow("hot water, heating side incomplete")
        << "Form3" << true << oneEmpty << "Не введены все теплотехнические характеристики среды";
    QTest::newRow("ventilation, heating side complete") << "Form1" << true << complete << "";
}

void CalcWindowTest::customMedium() {
    QFETCH(QString, form);
    QFETCH(bool, heatingSide);
    QFETCH(QStringList, values);
    QFETCH(QString, message);
    Desk desk;
    CalcWindow& w = desk.model(form);
    kalvar::Control* holders[4];
    if (heatingSide) {
        kalvar::Control* side[] = {&w.heatingHeatCapacity, &w.heatingDensity, &w.heatingViscosity,
                                   &w.heatingConductivity};
        std::copy(std::begin(side), std::end(side), holders);
    } else {
        kalvar::Control* side[] = {&w.heatedHeatCapacity, &w.heatedDensity, &w.heatedViscosity,
                                   &w.heatedConductivity};
        std::copy(std::begin(side), std::end(side), holders);
    }
    // The window's last known values of this side open the dialog; the other side's differ.
    const QStringList known{"4182", "998.2", "1.002", "0.598"};
    for (int i = 0; i < 4; ++i)
        holders[i]->text = known[i].toStdString();

    QStringList shown;
    QString boxTitle, boxText;
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    int boxes = 0;
    bool answered = false;
    QTimer driver;
    driver.setInterval(10);
    connect(&driver, &QTimer::timeout, this, [&] {
        CustomMediumDialog* dialog = desk.view(form)->group()->form10;
        if (!answered && dialog && dialog->isVisible()) {
            answered = true;
            QLineEdit* boxesOfDialog[] = {dialog->heatCapacityBox, dialog->densityBox, dialog->viscosityBox,
                                          dialog->conductivityBox};
            for (int i = 0; i < 4; ++i) {
                QLineEdit* box = boxesOfDialog[i];
                shown << box->text();
                QTest::mouseClick(box, Qt::LeftButton);
                QTest::keyClick(box, Qt::Key_End);
                for (qsizetype n = box->text().size(); n > 0; --n)
                    QTest::keyClick(box, Qt::Key_Backspace);
                QTest::keyClicks(box, values[i]);
            }
            QTest::mouseClick(dialog->continueButton, Qt::LeftButton);
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++boxes;
            boxTitle = box->windowTitle();
            boxText = box->text();
            boxIcon = box->icon();
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    driver.start();

    auto* list = desk.widget<QComboBox>(form, heatingSide ? "Combo4" : "Combo7");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down); // "другое"
    QTRY_VERIFY(answered);
    QTRY_VERIFY(!desk.view(form)->group()->form10->isVisible());
    QTRY_COMPARE(boxes, message.isEmpty() ? 0 : 1);
    driver.stop();

    QCOMPARE(shown, known);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(QString::fromStdString(holders[i]->text), values[i]);
    const kalvar::Control& medium = heatingSide ? w.heatingMediumList : w.heatedMediumList;
    if (message.isEmpty()) {
        QCOMPARE(boxes, 0);
        QCOMPARE(medium.listIndex, 1);
        QCOMPARE(list->currentText(), QStringLiteral("другое"));
    } else {
        QCOMPARE(boxes, 1);
        QCOMPARE(boxTitle, QStringLiteral("Неправильно заданы параметры"));
        QCOMPARE(boxText, message);
        QCOMPARE(boxIcon, QMessageBox::Information);
        QCOMPARE(medium.listIndex, 0);
        QCOMPARE(list->currentText(), QStringLiteral("вода"));
    }
    QVERIFY(!desk.view(form)->group()->form10->isVisible());
}

// Picking "другое" opens the dialog once, whichever way the list was used; the dialog is answered
// with `values` each time it shows, and each message box with OK.
void CalcWindowTest::customMediumPickedOnce_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("values");

    const QStringList empty{"", "", "", ""};
    const QStringList complete{"4190", "1000", "1", "0,6"};
    // clang-format off
    QTest::newRow("heating, F4, Down, Enter, empty")             << "Form2" << "Combo4" << "F4"       << empty;
    QTest::newRow("heating, Alt+Down, Down, Enter, empty")       << "Form2" << "Combo4" << "Alt+Down" << empty;
    QTest::newRow("heating, F4, Down, Enter, complete")          << "Form2" << "Combo4" << "F4"       << complete;
    QTest::newRow("hot water, Alt+Down, Down, Enter, empty")     << "Form3" << "Combo4" << "Alt+Down" << empty;
    QTest::newRow("hot water heated, F4, Down, Enter, complete") << "Form3" << "Combo7" << "F4"       << complete;
    QTest::newRow("ventilation heated, Down on the closed list") << "Form1" << "Combo7" << "Down"     << empty;
    QTest::newRow("heating, mouse, empty")                       << "Form2" << "Combo4" << "mouse"    << empty;
    QTest::newRow("hot water, mouse, complete")                  << "Form3" << "Combo4" << "mouse"    << complete;
    // clang-format on
}

void CalcWindowTest::customMediumPickedOnce() {
    QFETCH(QString, form);
    QFETCH(QString, list);
    QFETCH(QString, how);
    QFETCH(QStringList, values);
    Desk desk;
    int shown = 0, boxes = 0;
    bool wasVisible = false;
    QTimer driver;
    driver.setInterval(10);
    connect(&driver, &QTimer::timeout, this, [&] {
        CustomMediumDialog* dialog = desk.view(form)->group()->form10;
        const bool visible = dialog && dialog->isVisible();
        if (visible && !wasVisible) {
            ++shown;
            QLineEdit* boxesOfDialog[] = {dialog->heatCapacityBox, dialog->densityBox, dialog->viscosityBox,
                                          dialog->conductivityBox};
            for (int i = 0; i < 4; ++i) {
                QTest::mouseClick(boxesOfDialog[i], Qt::LeftButton);
                QTest::keyClick(boxesOfDialog[i], Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(boxesOfDialog[i], Qt::Key_Backspace);
                QTest::keyClicks(boxesOfDialog[i], values[i]);
            }
            QTest::mouseClick(dialog->continueButton, Qt::LeftButton);
        }
        wasVisible = visible;
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++boxes;
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    driver.start();

    auto* combo = desk.widget<QComboBox>(form, list);
    desk.h.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&desk.h));
    combo->setFocus();
    QTRY_VERIFY(combo->hasFocus());
    QAbstractItemView* popup = combo->view();
    if (how == QLatin1String("Down")) {
        QTest::keyClick(combo, Qt::Key_Down);
    } else if (how == QLatin1String("mouse")) {
        QTest::mouseClick(combo, Qt::LeftButton);
        QTRY_VERIFY(popup->isVisible());
        const QPoint item = popup->visualRect(combo->model()->index(1, 0)).center();
        QTest::mouseMove(popup->viewport(), item);
        QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, item);
    } else {
        QTest::keyClick(combo, how == QLatin1String("F4") ? Qt::Key_F4 : Qt::Key_Down,
                        how == QLatin1String("F4") ? Qt::NoModifier : Qt::AltModifier);
        QTRY_VERIFY(popup->isVisible());
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
    }
    QTRY_VERIFY(shown >= 1);
    QTest::qWait(300); // long enough for a second showing to be seen
    driver.stop();

    const bool complete = !values.contains(QString());
    const kalvar::Control& medium = *desk.model(form).find(list.toStdString());
    QCOMPARE(shown, 1);
    QCOMPARE(boxes, complete ? 0 : 1);
    QCOMPARE(medium.listIndex, complete ? 1 : 0);
    QCOMPARE(combo->currentText(), complete ? QStringLiteral("другое") : QStringLiteral("вода"));
    QVERIFY(!popup->isVisible());
    QVERIFY(!desk.view(form)->group()->form10->isVisible());
}

// ---------------------------------------------------------------------------------------------
// Additional results.

void CalcWindowTest::additionalResultsOnAndOff_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("stripTop"); // twips

    QTest::newRow("hot water") << "Form3" << int(kalvar::hotWaterSystem) << 0;
    QTest::newRow("heating") << "Form2" << int(kalvar::heatingSystem) << 2450;
    QTest::newRow("ventilation") << "Form1" << int(kalvar::ventilationSystem) << 4900;
}

void CalcWindowTest::additionalResultsOnAndOff() {
    QFETCH(QString, form);
    QFETCH(int, kind);
    QFETCH(int, stripTop);
    Desk desk(kind);
    CalcWindowView* view = desk.view(form);
    QMdiSubWindow* sub = desk.h.subWindow(windowId(form));
    const int strip = twipsToPixels(2450, view);
    QCOMPARE(sub->y(), twipsToPixels(stripTop, view));
    QCOMPARE(sub->height(), strip);

    view->model().nozzleSize.text = "1 дюйм";
    view->model().dimensionA.text = "182";
    auto* check = desk.widget<QCheckBox>(form, "Check1");
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(view->model().showAdditionalResults.value, 1);
    QCOMPARE(sub->y(), 0);
    QCOMPARE(desk.h.calls.filter("AdditionalResults"), QStringList{"showAdditionalResults " + form});
    kalvar::AdditionalResultsWindow& f12 = desk.h.session_.windows.additionalResults;
    QCOMPARE(f12.dimensionA.text, std::string("182"));
    QCOMPARE(f12.heatingPipeList.listIndex, 1);
    QCOMPARE(f12.heatedPipeList.listIndex, 1);
    QCOMPARE(desk.h.session_.state.currentWindow, &view->model());

    // While the results show, a resize leaves the window where it is.
    sub->resize(sub->width(), strip + 40);
    QCoreApplication::processEvents();
    QCOMPARE(sub->y(), 0);

    desk.h.calls.clear();
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(view->model().showAdditionalResults.value, 0);
    QCOMPARE(desk.h.calls.filter(QRegularExpression("AdditionalResults|Scheme")),
             (QStringList{"hideAdditionalResults", "showSchemeButton"}));
    QCOMPARE(sub->y(), twipsToPixels(stripTop, view));
    QCOMPARE(sub->height(), strip);

    // Back in its strip, a resize puts it there again.
    sub->setGeometry(20, 30, sub->width(), strip + 40);
    QCoreApplication::processEvents();
    QCOMPARE(sub->pos(), QPoint(0, twipsToPixels(stripTop, view)));
    QCOMPARE(sub->height(), strip);
}

// While a calculation waits for a dialog, a click on the switch leaves it as it was, either way.
void CalcWindowTest::additionalResultsWaitWhileBlocked() {
    Desk desk;
    CalcWindowView* view = desk.view("Form2");
    QMdiSubWindow* sub = desk.h.subWindow(WindowId::Heating);
    const QPoint strip = sub->pos();
    auto* check = desk.widget<QCheckBox>("Form2", "Check1");

    desk.h.blocked = true;
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(view->model().showAdditionalResults.value, 0);
    QVERIFY(!check->isChecked());
    QCOMPARE(sub->pos(), strip);
    QVERIFY(desk.h.calls.filter("AdditionalResults").isEmpty());

    desk.h.blocked = false;
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(view->model().showAdditionalResults.value, 1);
    desk.h.calls.clear();

    desk.h.blocked = true;
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(view->model().showAdditionalResults.value, 1);
    QVERIFY(check->isChecked());
    QCOMPARE(sub->y(), 0);
    QVERIFY(desk.h.calls.filter(QRegularExpression("AdditionalResults|Scheme")).isEmpty());
}

// ---------------------------------------------------------------------------------------------
// Hints.

void CalcWindowTest::pointerHints_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("hint");

    // Every control with a pointer hint shows its own (an empty expectation: the window's hint
    // of that control), and the texts a user reads over a few of them.
    for (const QString& control : CalcWindowView::pointerHintedControls())
        QTest::newRow(qPrintable(QStringLiteral("heating ") + control)) << "Form2" << control << QString();
    // clang-format off
    const std::pair<const char*, const char*> heating[] = {
        {"Text30", "Подсказка: Тепловая мощность пластинчатого теплообменника"},
        {"Text38", "Подсказка: Общее число пластин теплобменника"},
        {"Text2", "Подсказка: Температура греющей среды на входе в пластинчатый теплообменник "},
        {"Check1", "Подсказка: Дополнительные результаты расчета теплообменника"},
        {"Text1", "Подсказка: Выбранный при расчете пластинчатый теплообменник. Тип автовыбор; ходов - автовыбор; теплообменников - 1."},
        {"", "Подсказка: Расчет системы отопления объекта"},
        {"Frame5", "Подсказка: Расчет системы отопления объекта"},
    };
    // clang-format on
    for (const auto& [control, hint] : heating)
        QTest::newRow(qPrintable(QStringLiteral("heating text ") + (*control ? control : "background")))
            << "Form2" << control << hint;
    QTest::newRow("hot water Text2")
        << "Form3"
        << "Text2"
        << "Подсказка: Температура греющей среды на входе в пластинчатый теплообменник ";
    QTest::newRow("hot water Text1")
        << "Form3"
        << "Text1"
        << "Подсказка: Выбранный при расчете пластинчатый теплообменник. Тип автовыбор; ходов - автовыбор; "
           "теплообменников - 1.\"";
    QTest::newRow("hot water background") << "Form3"
                                          << ""
                                          << "Подсказка: Расчет системы горячего водоснабжения объекта";
    QTest::newRow("hot water second stage has none") << "Form3"
                                                     << "Text10"
                                                     << "(before)";
    QTest::newRow("ventilation Text25") << "Form1"
                                        << "Text25"
                                        << "Подсказка: Эффективная толщина отложений на теплообменной "
                                           "поверхности пластинчатого теплообменника";
    QTest::newRow("ventilation Text1")
        << "Form1"
        << "Text1"
        << "Подсказка: Выбранный при расчете пластинчатый теплообменник. Тип автовыбор; ходов - автовыбор; "
           "теплообменников - 1.\"";
    QTest::newRow("ventilation Frame5") << "Form1"
                                        << "Frame5"
                                        << "Подсказка: Расчет системы вентиляции объекта";
}

void CalcWindowTest::pointerHints() {
    QFETCH(QString, form);
    QFETCH(QString, control);
    QFETCH(QString, hint);
    Desk desk;
    CalcWindowView* view = desk.view(form);
    desk.h.hintLine->setText(QStringLiteral("(before)"));
    if (control.isEmpty()) {
        // The strip's empty right end.
        pointAt(view, QPoint(view->width() - 3, view->height() / 2));
    } else if (control == QLatin1String("Frame5")) {
        QWidget* frame = desk.widget<QWidget>(form, "Frame5");
        pointAt(frame, QPoint(3, frame->height() / 2));
    } else {
        QWidget* widget = desk.widget<QWidget>(form, control);
        QVERIFY(widget);
        pointAt(widget);
    }
    if (hint.isEmpty()) {
        hint = view->hintOf(control);
        QVERIFY(hint.startsWith(QStringLiteral("Подсказка: ")));
    }
    QCOMPARE(desk.h.hintLine->text(), hint);
}

void CalcWindowTest::panelAndFocusHints() {
    Desk desk;
    CalcWindowView* heating = desk.view("Form2");
    ZuPanel* given = heating->givenParameterPanel();
    pointAt(given, given->buttonRect(1).center());
    QCOMPARE(desk.h.hintLine->text(), " Подсказка: " + given->Buttons().Item(1).ToolTipText());
    QCOMPARE(desk.h.panelIndexLabel->text(), QStringLiteral(" 3"));
    QCOMPARE(desk.h.session_.state.activePanelIndex, 3);

    ZuPanel* layout = desk.view("Form1")->layoutPanel();
    pointAt(layout, layout->buttonRect(1).center());
    QCOMPARE(desk.h.hintLine->text(),
             QStringLiteral("Тип автовыбор; ходов - автовыбор; теплообменников - 1."));
    QCOMPARE(desk.h.panelIndexLabel->text(), QStringLiteral(" 6"));
    QCOMPARE(desk.h.session_.state.activePanelIndex, 6);

    // A menu entry under the pointer.
    QTest::mouseClick(given, Qt::LeftButton, {}, given->buttonRect(1).center());
    QMenu* menu = given->openMenu();
    QVERIFY(menu);
    QAction* q = actionOf(menu, QStringLiteral("Тепловая мощность, Q "));
    QVERIFY(q);
    QTest::mouseMove(menu, menu->actionGeometry(q).center());
    QTRY_COMPARE(desk.h.hintLine->text(), "Меню: Тепловая мощность, Q  Подсказка: " +
                                              given->Buttons().Item(1).MenuItems().Item(3).ToolTipText());
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!given->openMenu());

    auto* heatingMedium = desk.widget<QComboBox>("Form2", "Combo4");
    auto* heatedMedium = desk.widget<QComboBox>("Form2", "Combo7");
    QTest::mouseClick(desk.widget<QLineEdit>("Form2", "Text2"), Qt::LeftButton);
    QTest::keyClick(desk.widget<QLineEdit>("Form2", "Text2"), Qt::Key_Tab);
    heatingMedium->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(desk.h.hintLine->text(), QStringLiteral("Подсказка: Выбор греющей среды"));
    heatedMedium->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(desk.h.hintLine->text(), QStringLiteral("Подсказка: Выбор нагреваемой среды"));
}

void CalcWindowTest::backgroundShowsEveryDesignation() {
    Desk desk;
    for (const char* form : {"Form1", "Form3"})
        desk.model(form).designationBox.visible = false;
    desk.h.view(WindowId::Ventilation)->refresh();
    desk.h.view(WindowId::HotWater)->refresh();
    QVERIFY(!desk.widget<QLineEdit>("Form1", "Text1")->isVisible());
    CalcWindowView* heating = desk.view("Form2");
    pointAt(heating, QPoint(heating->width() - 3, heating->height() / 2));
    for (const char* form : {"Form1", "Form2", "Form3"})
        QVERIFY2(desk.widget<QLineEdit>(form, "Text1")->isVisible(), form);

    // The ventilation window shows its designation again when one of its panels loses the focus.
    desk.model("Form1").designationBox.visible = false;
    desk.h.view(WindowId::Ventilation)->refresh();
    ZuPanel* panel = desk.view("Form1")->givenParameterPanel();
    panel->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(panel->hasFocus());
    QVERIFY(!desk.widget<QLineEdit>("Form1", "Text1")->isVisible());
    QTest::mouseClick(desk.widget<QLineEdit>("Form1", "Text30"), Qt::LeftButton);
    QTRY_VERIFY(desk.widget<QLineEdit>("Form1", "Text1")->isVisible());
}

void CalcWindowTest::accessibleNamesFollowTheUnits() {
    Desk desk;
    auto nameOf = [&](const char* control) {
        return desk.widget<QWidget>("Form3", control)->accessibleName();
    };
    QCOMPARE(nameOf("Text30"), QStringLiteral("Q, Гкал/ч"));
    QCOMPARE(nameOf("Text2"), QStringLiteral("t вх греющей среды, °C"));
    QCOMPARE(nameOf("Text1"), QStringLiteral("Выбранный тип теплообменника"));
    QCOMPARE(nameOf("Text31"), QStringLiteral("G греющей среды, м3/ч"));
    QCOMPARE(nameOf("Text36"), QStringLiteral("ΔP греющей среды, кПа"));
    QCOMPARE(nameOf("Combo7"), QStringLiteral("нагреваемый поток"));
    QCOMPARE(nameOf("Label59"), QStringLiteral("м3/ч"));
    QCOMPARE(desk.widget<QWidget>("Form3", "Text30")->accessibleDescription(),
             QStringLiteral("Подсказка: Тепловая мощность пластинчатого теплообменника"));

    // Every box and list of the strip has a name.
    for (QWidget* w : desk.view("Form2")->findChildren<QWidget*>())
        if ((qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QCheckBox*>(w)) &&
            w->isVisibleTo(desk.view("Form2")))
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));

    QVERIFY(pick(desk.h.main, 5, "Тепловой поток, Q", "кВт"));
    QVERIFY(pick(desk.h.main, 5, "Расход теплоносителя, G", "л/с"));
    QVERIFY(pick(desk.h.main, 5, "Давление теплоносителя, P", "атм"));
    QCOMPARE(nameOf("Text30"), QStringLiteral("Q, кВт"));
    QCOMPARE(nameOf("Text31"), QStringLiteral("G греющей среды, л/с"));
    QCOMPARE(nameOf("Text6"), QStringLiteral("ΔP max греющей среды, атм"));
    QCOMPARE(nameOf("Label59"), QStringLiteral("л/с"));
    QCOMPARE(desk.widget<QWidget>("Form1", "Text37")->accessibleName(),
             QStringLiteral("ΔP нагреваемой среды, атм"));
}

// The second stage's loss stays in kPa when the column above it switches to "атм"; its own unit
// beside it says so.
void CalcWindowTest::secondStageLossShowsItsOwnUnit() {
    Desk desk;
    auto* loss = desk.widget<QLineEdit>("Form3", "Text10");
    auto* unit = desk.widget<QLabel>("Form3", "Text10Unit");
    QVERIFY(loss && unit);
    QVERIFY(pick(desk.h.main, 5, "Давление теплоносителя, P", "атм"));
    QCOMPARE(desk.widget<QLabel>("Form3", "Label34(0)")->text(), QStringLiteral("атм"));
    QCOMPARE(loss->text(), QStringLiteral("7"));
    QVERIFY(unit->isVisible());
    QCOMPARE(unit->text(), QStringLiteral("кПа"));
    QCOMPARE(loss->accessibleName(), QStringLiteral("ΔP max второй ступени, кПа"));
    // Beside the box, on its line.
    const QRect box = loss->geometry();
    const QRect label = unit->geometry();
    QCOMPARE(unit->parentWidget(), loss->parentWidget());
    QVERIFY(label.left() >= box.right() && label.left() - box.right() < 12);
    QVERIFY(label.top() < box.bottom() && label.bottom() > box.top());
}

// Screen readers know each list by its label, not by the entry it shows, and find the label
// through a labelled-by relation.
void CalcWindowTest::listsAreNamedByTheirLabels() {
    Desk desk;
    struct Case {
        const char* form;
        const char* list;
        const char* name;
        const char* label;
    };
    const Case cases[] = {
        {"Form2", "Combo4", "греющий поток", "Label18"},
        {"Form2", "Combo7", "нагреваемый поток", "Label19"},
        {"Form1", "Combo4", "греющий поток", "Label18"},
        {"Form3", "Combo7", "нагреваемый поток", "Label19"},
        {"Form3", "Combo8", "D трубы между ступенями, мм", nullptr},
    };
    for (const Case& c : cases) {
        auto* list = desk.widget<QComboBox>(c.form, c.list);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(list);
        QVERIFY(iface);
        const QString where = QStringLiteral("%1 %2").arg(c.form, c.list);
        QCOMPARE(iface->role(), QAccessible::ComboBox);
        QVERIFY2(iface->text(QAccessible::Name) == QString::fromUtf8(c.name), qPrintable(where));
        QCOMPARE(iface->text(QAccessible::Value), list->currentText());
        const auto labels = iface->relations(QAccessible::Label);
        QVERIFY2(!labels.isEmpty(), qPrintable(where));
        if (c.label) {
            QAccessibleInterface* label =
                QAccessible::queryAccessibleInterface(desk.widget<QLabel>(c.form, c.label));
            QVERIFY2(
                std::any_of(labels.begin(), labels.end(), [&](const auto& r) { return r.first == label; }),
                qPrintable(where));
        }
    }
    // The entries stay reachable: the popup list is the list's child.
    auto* medium = desk.widget<QComboBox>("Form2", "Combo4");
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(medium);
    QCOMPARE(iface->childCount(), 1);
    QCOMPARE(iface->child(0)->object(), medium->view());
    iface->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    QTRY_VERIFY(medium->view()->isVisible());
    QTest::keyClick(medium->view(), Qt::Key_Escape);
    QTRY_VERIFY(!medium->view()->isVisible());
}

// The layout summary is read as it is shown; what it is comes as its description.
void CalcWindowTest::layoutSummaryIsReadAsShown() {
    Desk desk;
    auto* summary = desk.widget<QLabel>("Form3", "label54");
    QVERIFY(pickPath(desk.view("Form3")->layoutPanel(), "Число ходов|/2"));
    QCOMPARE(summary->text(), QStringLiteral("Тип автовыбор; ходов - 2."));
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(summary);
    QCOMPARE(iface->text(QAccessible::Name), summary->text());
    QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("Компоновка теплообменника"));
}

// The ventilation window has no caption; its frame and content are still named for screen
// readers. The other windows keep their captions as names.
void CalcWindowTest::ventilationFrameIsNamed() {
    Desk desk;
    QMdiSubWindow* ventilation = desk.h.subWindow(WindowId::Ventilation);
    QCOMPARE(ventilation->windowTitle(), QString());
    QCOMPARE(QAccessible::queryAccessibleInterface(ventilation)->text(QAccessible::Name),
             QStringLiteral("Вентиляция"));
    QCOMPARE(QAccessible::queryAccessibleInterface(desk.view("Form1"))->text(QAccessible::Name),
             QStringLiteral("Вентиляция"));
    QMdiSubWindow* heating = desk.h.subWindow(WindowId::Heating);
    QCOMPARE(QAccessible::queryAccessibleInterface(heating)->text(QAccessible::Name), heating->windowTitle());
    QCOMPARE(heating->windowTitle(), QStringLiteral("Отопление"));
}

// A box's text or a check box set through the accessibility interface, as screen readers and GUI
// test tools set them, is a user edit: "Расчет" uses it and the check box opens its window.
void CalcWindowTest::accessibilityEditsReachTheModel() {
    Desk desk(kalvar::heatingSystem);
    auto* load = desk.widget<QLineEdit>("Form2", "Text30");
    auto* inlet = desk.widget<QLineEdit>("Form2", "Text2");
    QAccessible::queryAccessibleInterface(load)->setText(QAccessible::Value, QStringLiteral("0,5"));
    QAccessibleEditableTextInterface* typing =
        QAccessible::queryAccessibleInterface(inlet)->editableTextInterface();
    QVERIFY(typing);
    typing->replaceText(0, static_cast<int>(inlet->text().size()), QStringLiteral("120"));
    QCOMPARE(desk.model("Form2").heatLoad.text, std::string("0,5"));
    QCOMPARE(desk.model("Form2").heatingInletTemperature.text, std::string("120"));

    QTest::mouseMove(desk.h.main, desk.h.main->buttonRect(4).center());
    QTest::mouseClick(desk.h.main, Qt::LeftButton, {}, desk.h.main->buttonRect(4).center());
    QCOMPARE(load->text(), QStringLiteral("0,5"));
    QCOMPARE(inlet->text(), QStringLiteral("120"));
    QVERIFY(!desk.model("Form2").designationBox.text.empty());

    auto* check = desk.widget<QCheckBox>("Form2", "Check1");
    QAccessibleInterface* checkIface = QAccessible::queryAccessibleInterface(check);
    checkIface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(check->isChecked());
    QCOMPARE(desk.model("Form2").showAdditionalResults.value, 1);
    QVERIFY(desk.h.calls.contains(QStringLiteral("showAdditionalResults Form2")));
    checkIface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(desk.model("Form2").showAdditionalResults.value, 0);
    QVERIFY(desk.h.calls.contains(QStringLiteral("hideAdditionalResults")));
}

void CalcWindowTest::activationPaintsTheBackground() {
    Desk desk;
    desk.h.area->setActiveSubWindow(desk.h.subWindow(WindowId::HotWater));
    desk.h.calls.clear();
    QWidget* ventilation = desk.view("Form1");
    QTest::mouseClick(ventilation, Qt::LeftButton, {}, QPoint(ventilation->width() - 3, 5));
    QTRY_VERIFY(desk.h.calls.contains(QStringLiteral("dither Form1")));
}

void CalcWindowTest::calculationIsShown() {
    Desk desk(kalvar::heatingSystem);
    QTest::mouseMove(desk.h.main, desk.h.main->buttonRect(4).center());
    QTest::mouseClick(desk.h.main, Qt::LeftButton, {}, desk.h.main->buttonRect(4).center());
    const CalcWindow& w = desk.model("Form2");
    QVERIFY(!w.designationBox.text.empty());
    for (const char* box : {"Text1", "Text38", "Text31", "Text26", "Text28", "Text36"})
        QCOMPARE(desk.widget<QLineEdit>("Form2", box)->text(),
                 QString::fromStdString(desk.model("Form2").find(box)->text));
}

QTEST_MAIN(CalcWindowTest)
#include "CalcWindowTest.moc"

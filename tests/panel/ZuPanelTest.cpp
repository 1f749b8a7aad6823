// The button panel driven as a user drives it: pointer, clicks, keys, menus, and assistive technology.
#include "ZuPanel.h"
#include "ZuPanelView.h"
#include "platform/ZuGdi.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// A main panel (instance 10) shown in a window of its own.
struct ShownPanel {
    explicit ShownPanel(int index = 10) : window(std::make_unique<QWidget>()) {
        panel = ZuPanel::create(index, window.get());
        panel->move(0, 0);
        panel->resize(panel->sizeHint());
        window->resize(panel->sizeHint() + QSize(40, 200));
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) qWarning("window not exposed");
        // The pointer starts on the grip, so that any later move onto a button is a move.
        QTest::mouseMove(panel, QPoint(1, 1));
    }
    ZuPanelButton& button(int b) { return panel->Buttons().Item(static_cast<int16_t>(b)); }
    QPoint centre(int b) const { return panel->buttonRect(b).center(); }

    std::unique_ptr<QWidget> window;
    ZuPanel* panel = nullptr;
};

// Arguments of a MenuClick or MenuSelect: Index, IndexMenu, Caption, Key, Link, ToolTipText.
struct MenuEvent {
    int index = 0, indexMenu = 0;
    QString caption, key, link, toolTip;
};

MenuEvent menuEvent(const QList<QVariant>& args) {
    return {args.at(0).toInt(),    args.at(1).toInt(),    args.at(2).toString(),
            args.at(3).toString(), args.at(4).toString(), args.at(5).toString()};
}

// The action of a menu whose text is the caption as stored.
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

// Moves the keyboard highlight down until it rests on the caption; false when it never does.
bool arrowTo(QMenu* menu, const QString& caption) {
    for (int i = 0; i < 2 * menu->actions().size() + 2; ++i) {
        if (menu->activeAction() && menu->activeAction()->text() == caption) return true;
        QTest::keyClick(menu, Qt::Key_Down);
    }
    return false;
}

QString writeDesign(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(text);
    return path;
}

// Pixels of exactly this colour inside the rectangle of a widget-coordinate image.
int countColour(const QImage& image, const QRect& logical, QRgb colour) {
    const qreal ratio = image.devicePixelRatio();
    const QRect area(QPoint(int(logical.left() * ratio), int(logical.top() * ratio)), logical.size() * ratio);
    int count = 0;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y)
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++count;
    return count;
}

const QRgb hotGreen = qRgb(0, 250, 100);
const QRgb restingBorder = qRgb(120, 160, 135);
const QRgb arrowGreen = qRgb(30, 70, 45);

// The device pixels of exactly this colour inside the rectangle of a widget-coordinate image, as one box.
QRect colourBox(const QImage& image, const QRect& logical, QRgb colour) {
    const qreal ratio = image.devicePixelRatio();
    const QRect area(QPoint(int(logical.left() * ratio), int(logical.top() * ratio)), logical.size() * ratio);
    QRect box;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y)
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) box |= QRect(x, y, 1, 1);
    return box;
}

// The buttons of the panel whose rectangle holds the focus frame's colour.
QList<int> framedButtons(ZuPanel* panel) {
    const QImage image = panel->paintedImage();
    QList<int> framed;
    for (int b = 1; b <= panel->Buttons().Count(); ++b) {
        const QRect rect = panel->buttonRect(b);
        if (!rect.isEmpty() && countColour(image, rect, ZuPanelView::focusFrameColour()) > rect.width() / 2)
            framed.append(b);
    }
    return framed;
}

// The panel's window made active and the keyboard on button b, chosen as a user does: Tab into the
// panel, then the arrows.
bool focusOn(ShownPanel& shown, int b) {
    shown.window->activateWindow();
    if (!QTest::qWaitForWindowActive(shown.window.get())) return false;
    shown.panel->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < shown.panel->Buttons().Count() && shown.panel->focusedButton() != b; ++i)
        QTest::keyClick(shown.panel, Qt::Key_Right);
    return shown.panel->hasFocus() && shown.panel->focusedButton() == b;
}

// The entry of an open menu as assistive technology sees it.
QAccessibleInterface* accessibleEntry(QMenu* menu, const QString& name) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(menu);
    for (int i = 0; accessible && i < accessible->childCount(); ++i)
        if (accessible->child(i)->text(QAccessible::Name) == name) return accessible->child(i);
    return nullptr;
}

bool anyMenuVisible() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<QMenu*>(widget) && widget->isVisible()) return true;
    return false;
}

} // namespace

class ZuPanelTest : public QObject {
    Q_OBJECT

  private slots:
    void outOfRangeIndicesGiveAHarmlessSpare_data();
    void outOfRangeIndicesGiveAHarmlessSpare();
    void checkedReadsTheLastWrite();
    void designDataOfEachInstance_data();
    void designDataOfEachInstance();
    void designFileErrorsKeepThePreviousDesign_data();
    void designFileErrorsKeepThePreviousDesign();
    void designFileKeepsQuotedBlanks();
    void hoverAnnouncesEachEntryOnce();
    void hoverAndPressLooksArePainted();
    void clickOnAButtonWithoutMenu();
    void pickByMouse_data();
    void pickByMouse();
    void pickByKeyboard_data();
    void pickByKeyboard();
    void unpickableEntriesEmitNothing_data();
    void unpickableEntriesEmitNothing();
    void aPickMayDestroyThePanel();
    void highlightEmitsMenuSelect();
    void checkedShowsInTheNextMenu();
    void hidingAButtonLaysThePanelOutAgain();
    void keyboardOnThePanel();
    void keysOnTheChosenButton_data();
    void keysOnTheChosenButton();
    void focusFrameFollowsTheKeyboard();
    void focusFromAnyReasonChoosesAButton_data();
    void focusFromAnyReasonChoosesAButton();
    void hidingTheChosenButtonMovesTheKeyboardOn();
    void shortcutShowsWithTheToolTip();
    void toolTipIsTheButtonsOwn();
    void startUpOptionCall();
    void accessibilityTreeListsVisibleButtons();
    void accessiblePressActs();
    void accessiblePickClosesTheMenus_data();
    void accessiblePickClosesTheMenus();
    void platformObjectsAreReleased();
    void paintsAtTheScreensRatio();
    void shownAtTwoHundredPercent();
};

void ZuPanelTest::outOfRangeIndicesGiveAHarmlessSpare_data() {
    QTest::addColumn<int>("level"); // 0 buttons, 1 menu items of "Размерность", 2 sub-items of its item 1
    QTest::addColumn<int>("index");
    QTest::newRow("button 0") << 0 << 0;
    QTest::newRow("button -1") << 0 << -1;
    QTest::newRow("button past the end") << 0 << 9;
    QTest::newRow("button 32767") << 0 << 32767;
    QTest::newRow("button -32768") << 0 << -32768;
    QTest::newRow("menu item 0") << 1 << 0;
    QTest::newRow("menu item past the end") << 1 << 4;
    QTest::newRow("sub-item 0") << 2 << 0;
    QTest::newRow("sub-item past the end") << 2 << 3;
}

void ZuPanelTest::outOfRangeIndicesGiveAHarmlessSpare() {
    QFETCH(int, level);
    QFETCH(int, index);
    std::unique_ptr<ZuPanel> panel(ZuPanel::create(10, nullptr));
    const int16_t i = static_cast<int16_t>(index);
    ZuPanelButton& units = panel->Buttons().Item(5);
    ZuPanelSubItem* entry = nullptr;
    if (level == 0) {
        ZuPanelButton& spare = panel->Buttons().Item(i);
        QCOMPARE(spare.Caption(), QString());
        QCOMPARE(spare.MenuItems().Count(), int16_t(0));
        spare.setVisible(false); // no panel behind it: nothing to lay out
        spare.MenuItems().Item(3).SubItems().Item(2).setChecked(true);
        QCOMPARE(panel->Buttons().Item(i).Visible(), true);
        QCOMPARE(panel->Buttons().Count(), int16_t(8));
        // A reference kept from an earlier out-of-range access stays usable.
        spare.MenuItems().Item(1).SubItems().Item(1).setChecked(true);
        QCOMPARE(spare.MenuItems().Item(1).Checked(), false);
        return;
    }
    entry = level == 1 ? static_cast<ZuPanelSubItem*>(&units.MenuItems().Item(i))
                       : &units.MenuItems().Item(1).SubItems().Item(i);
    QCOMPARE(entry->Caption(), QString());
    QCOMPARE(entry->Checked(), false);
    entry->setChecked(true);
    entry->setCaption(QStringLiteral("written"));
    QCOMPARE(level == 1 ? units.MenuItems().Item(i).Checked()
                        : units.MenuItems().Item(1).SubItems().Item(i).Checked(),
             false);
    QCOMPARE(entry->Caption(), QString()); // the same spare, emptied by the access above
    QCOMPARE(units.MenuItems().Count(), int16_t(3));
    QCOMPARE(units.MenuItems().Item(1).SubItems().Count(), int16_t(2));
    QCOMPARE(units.MenuItems().Item(1).SubItems().Item(1).Caption(), QStringLiteral("Гкал/ч"));
}

void ZuPanelTest::checkedReadsTheLastWrite() {
    std::unique_ptr<ZuPanel> panel(ZuPanel::create(4, nullptr));
    ZuPanelSubItems& passes = panel->Buttons().Item(1).MenuItems().Item(2).SubItems();
    QCOMPARE(passes.Item(4).Checked(), true); // design value
    QCOMPARE(passes.Item(3).Checked(), false);
    passes.Item(4).setChecked(false);
    passes.Item(3).setChecked(true);
    QCOMPARE(passes.Item(4).Checked(), false);
    QCOMPARE(passes.Item(3).Checked(), true);
    ZuPanelMenuItem& heading = panel->Buttons().Item(1).MenuItems().Item(1);
    heading.setChecked(true);
    QCOMPARE(heading.Checked(), true);
    QCOMPARE(passes.Item(2).Checked(), false);
}

void ZuPanelTest::designDataOfEachInstance_data() {
    // path "b", "b.m" or "b.m.s"; count: buttons, menu items or sub-items under that entry.
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled"); // visible for a button
    for (int index : {1, 3, 5}) {
        const QByteArray i = QByteArray::number(index);
        QTest::newRow(i + " button") << index << "1"
                                     << "Данные расчета"
                                     << "Вариант расчета" << 7 << false << true;
        QTest::newRow(i + " heading") << index << "1.1"
                                      << "Выберите заданный  параметр"
                                      << "" << 0 << false << true;
        QTest::newRow(i + " separator") << index << "1.2"
                                        << "-"
                                        << "" << 0 << false << true;
        QTest::newRow(i + " Q") << index << "1.3"
                                << "Тепловая мощность, Q "
                                << "Задана тепловая мощность: подбор теплообменника" << 0 << true << true;
        QTest::newRow(i + " G2") << index << "1.4"
                                 << "Расход нагреваемого потока, G2"
                                 << "Задан расход нагреваемого потока: подбор теплообменника" << 0 << false
                                 << true;
        QTest::newRow(i + " n") << index << "1.5"
                                << "Общее число пластин, n"
                                << "Задано число пластин: поверочный расчет" << 0 << false << true;
        QTest::newRow(i + " variants")
            << index << "1.7"
            << "Варианты"
            << "Все теплообменники, подходящие для задачи, рядом" << 0 << false << true;
    }
    for (int index : {2, 4, 6}) {
        const QByteArray i = QByteArray::number(index);
        QTest::newRow(i + " button") << index << "1"
                                     << "Компоновка"
                                     << "Тип пластин, число ходов и число теплообменников" << 3 << false
                                     << true;
        QTest::newRow(i + " type") << index << "1.1"
                                   << "Тип"
                                   << "Типоразмер пластин" << 5 << false << true;
        QTest::newRow(i + " KM1") << index << "1.1.1"
                                  << "КМ1"
                                  << "" << 0 << false << true;
        QTest::newRow(i + " KM3") << index << "1.1.3"
                                  << "КМ3"
                                  << "" << 0 << false << true;
        QTest::newRow(i + " KM4 disabled") << index << "1.1.4"
                                           << "КМ4"
                                           << "" << 0 << false << false;
        QTest::newRow(i + " type auto") << index << "1.1.5"
                                        << "Автовыбор"
                                        << "" << 0 << true << true;
        QTest::newRow(i + " passes") << index << "1.2"
                                     << "Число ходов"
                                     << "Число ходов по каждой среде" << 4 << false << true;
        QTest::newRow(i + " /1") << index << "1.2.1"
                                 << "/1"
                                 << "" << 0 << false << true;
        QTest::newRow(i + " passes auto") << index << "1.2.4"
                                          << "Автовыбор "
                                          << "" << 0 << true << true;
        QTest::newRow(i + " exchangers")
            << index << "1.3"
            << "Число теплообменников"
            << "Число параллельно включенных теплообменников" << 8 << false << true;
        QTest::newRow(i + " x1") << index << "1.3.1"
                                 << "x1"
                                 << "" << 0 << true << true;
        QTest::newRow(i + " x8") << index << "1.3.8"
                                 << "x8"
                                 << "" << 0 << false << true;
    }
    // clang-format off
    QTest::newRow("10 panel")       << 10 << ""      << "Главная панель" << "" << 8 << false << true;
    QTest::newRow("10 quit")        << 10 << "1"     << "Выход" << "Выход из программы" << 0 << false << true;
    QTest::newRow("10 data")        << 10 << "2"     << "Данные " << "Сохранение или печать данных" << 3 << false << true;
    QTest::newRow("10 save")        << 10 << "2.1"   << "Сохранить" << "Сохранить отчет в книге" << 0 << false << true;
    QTest::newRow("10 print")       << 10 << "2.2"   << "Печать" << "Печать отчета" << 0 << false << true;
    QTest::newRow("10 save PDF")    << 10 << "2.3"   << "Сохранить PDF" << "Сохранить отчет в PDF" << 0 << false << true;
    QTest::newRow("10 system")      << 10 << "3"     << "Система" << "Выбор системы теплоснабжения" << 10 << false << true;
    QTest::newRow("10 hot water")   << 10 << "3.1"   << "Теплообменник ГВС" << "" << 0 << false << true;
    QTest::newRow("10 heating")     << 10 << "3.2"   << "Теплообменник отопления" << "" << 0 << true << true;
    QTest::newRow("10 ventilation") << 10 << "3.3"   << "Теплообменник вентиляции" << "" << 0 << false << true;
    QTest::newRow("10 separator 4") << 10 << "3.4"   << "-" << "" << 0 << false << true;
    QTest::newRow("10 parallel")    << 10 << "3.5"   << "Параллельная схема" << "" << 0 << false << true;
    QTest::newRow("10 two-stage")   << 10 << "3.6"   << "Двухступенчатая смешанная схема" << "" << 0 << false << true;
    QTest::newRow("10 separator 7") << 10 << "3.7"   << "-" << "" << 0 << false << true;
    QTest::newRow("10 three par")   << 10 << "3.8"   << "Параллельная схема для трех контуров" << "" << 0 << false << true;
    QTest::newRow("10 three mixed") << 10 << "3.9"   << "Смешанная схема для трех контуров" << "" << 0 << false << true;
    QTest::newRow("10 vent mixed")  << 10 << "3.10"  << "Смешанная схема с параллельной вентиляцией" << "" << 0 << false << true;
    QTest::newRow("10 calculate")   << 10 << "4"     << "Расчет" << "Расчет выбранного задания для выбранной тепловой системы" << 0 << false << true;
    QTest::newRow("10 units")       << 10 << "5"     << "Размерность" << "Выбор размерности параметров" << 3 << false << true;
    QTest::newRow("10 heat flow")   << 10 << "5.1"   << "Тепловой поток, Q" << "" << 2 << false << true;
    QTest::newRow("10 Gcal/h")      << 10 << "5.1.1" << "Гкал/ч" << "" << 0 << true << true;
    QTest::newRow("10 kW")          << 10 << "5.1.2" << "кВт" << "" << 0 << false << true;
    QTest::newRow("10 flow")        << 10 << "5.2"   << "Расход теплоносителя, G" << "" << 2 << false << true;
    QTest::newRow("10 m3/h")        << 10 << "5.2.1" << "м3/ч" << "" << 0 << true << true;
    QTest::newRow("10 l/s")         << 10 << "5.2.2" << "л/с" << "" << 0 << false << true;
    QTest::newRow("10 pressure")    << 10 << "5.3"   << "Давление теплоносителя, P" << "" << 2 << false << true;
    QTest::newRow("10 kPa")         << 10 << "5.3.1" << "кПа" << "" << 0 << true << true;
    QTest::newRow("10 atm")         << 10 << "5.3.2" << "атм" << "" << 0 << false << true;
    QTest::newRow("10 scheme")      << 10 << "6"     << "Схема" << "Схема тепловой системы" << 0 << false << false;
    QTest::newRow("10 web site")    << 10 << "7"     << "web-сайт" << "" << 0 << false << true;
    QTest::newRow("10 about")       << 10 << "8"     << "О программе" << "Сведения о владельцах программы" << 0 << false << true;
    QTest::newRow("unknown instance") << 7 << ""     << "" << "" << 0 << false << true;
    // clang-format on
}

void ZuPanelTest::designDataOfEachInstance() {
    QFETCH(int, index);
    QFETCH(QString, path);
    QFETCH(QString, caption);
    QFETCH(QString, toolTip);
    QFETCH(int, count);
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    std::unique_ptr<ZuPanel> panel(ZuPanel::create(index, nullptr));
    QCOMPARE(panel->index(), index);
    const QStringList parts = path.split(u'.', Qt::SkipEmptyParts);
    if (parts.isEmpty()) {
        QCOMPARE(panel->panelCaption(), caption);
        QCOMPARE(panel->Buttons().Count(), count);
        return;
    }
    ZuPanelButton& button = panel->Buttons().Item(static_cast<int16_t>(parts[0].toInt()));
    if (parts.size() == 1) {
        QCOMPARE(button.Caption(), caption);
        QCOMPARE(button.ToolTipText(), toolTip);
        QCOMPARE(button.MenuItems().Count(), count);
        QCOMPARE(button.Visible(), enabled);
        return;
    }
    ZuPanelMenuItem& item = button.MenuItems().Item(static_cast<int16_t>(parts[1].toInt()));
    ZuPanelSubItem& entry =
        parts.size() == 2 ? item : item.SubItems().Item(static_cast<int16_t>(parts[2].toInt()));
    QCOMPARE(entry.Caption(), caption);
    QCOMPARE(entry.ToolTipText(), toolTip);
    QCOMPARE(entry.Checked(), checked);
    QCOMPARE(entry.Enabled(), enabled);
    if (parts.size() == 2) QCOMPARE(item.SubItems().Count(), count);
}

void ZuPanelTest::designFileErrorsKeepThePreviousDesign_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("no button count") << QByteArray("panelcaption=x\ncaption1=A\n");
    QTest::newRow("count not a number") << QByteArray("mcolbuttonscount=two\n");
    QTest::newRow("negative count") << QByteArray("mcolbuttonscount=-1\n");
    QTest::newRow("count beyond any panel") << QByteArray("mcolbuttonscount=100000\n");
    QTest::newRow("menu count beyond any menu") << QByteArray("mcolbuttonscount=1\nmenuscount1=40000\n");
    QTest::newRow("sub-menu count malformed")
        << QByteArray("mcolbuttonscount=1\nmenuscount1=1\nsubmenucount1submenu1butt1=x\n");
    QTest::newRow("flag malformed") << QByteArray("mcolbuttonscount=1\nvisible1=maybe\n");
    QTest::newRow("line without a key") << QByteArray("mcolbuttonscount=1\njust text\n");
    QByteArray many("mcolbuttonscount=20\n");
    for (int b = 1; b <= 20; ++b)
        many += "menuscount" + QByteArray::number(b) + "=255\n";
    QTest::newRow("more entries than any panel holds") << many;
}

void ZuPanelTest::designFileErrorsKeepThePreviousDesign() {
    QFETCH(QByteArray, text);
    QTemporaryDir dir;
    std::unique_ptr<ZuPanel> panel(ZuPanel::create(10, nullptr));
    QVERIFY(!panel->loadDesign(writeDesign(dir, QStringLiteral("bad.ini"), text)));
    QCOMPARE(panel->Buttons().Count(), int16_t(8));
    QCOMPARE(panel->Buttons().Item(2).Caption(), QStringLiteral("Данные "));
    QVERIFY(!panel->loadDesign(dir.filePath(QStringLiteral("missing.ini"))));
    QCOMPARE(panel->Buttons().Count(), int16_t(8));
}

void ZuPanelTest::designFileKeepsQuotedBlanks() {
    QTemporaryDir dir;
    const QString path = writeDesign(dir, QStringLiteral("ok.ini"),
                                     "; comment\r\n"
                                     "MColButtonsCount=2\r\n"
                                     "caption1=\" a \"\r\n"
                                     "caption2=plain  \r\n"
                                     "visible2=false\r\n"
                                     "menuscount1=1\r\n"
                                     "caption1submenu1butt1=\"\"x\"\"\r\n");
    ZuPanel panel;
    QVERIFY(panel.loadDesign(path));
    QCOMPARE(panel.Buttons().Count(), int16_t(2));
    QCOMPARE(panel.Buttons().Item(1).Caption(), QStringLiteral(" a "));
    QCOMPARE(panel.Buttons().Item(2).Caption(), QStringLiteral("plain  "));
    QCOMPARE(panel.Buttons().Item(2).Visible(), false);
    QCOMPARE(panel.Buttons().Item(1).MenuItems().Item(1).Caption(), QStringLiteral("\"x\""));
}

void ZuPanelTest::hoverAnnouncesEachEntryOnce() {
    ShownPanel shown;
    QSignalSpy enter(shown.panel, &ZuPanel::ButtonEnter);
    const QRect first = shown.panel->buttonRect(1);
    QTest::mouseMove(shown.panel, first.topLeft() + QPoint(4, first.height() / 2));
    QTest::mouseMove(shown.panel, first.center());
    QTest::mouseMove(shown.panel, first.center() + QPoint(2, 1));
    QCOMPARE(enter.count(), 1);
    QCOMPARE(enter.at(0).at(0).toInt(), 10);
    QCOMPARE(enter.at(0).at(1).value<ZuPanelButton*>(), &shown.button(1));

    QTest::mouseMove(shown.panel, shown.centre(4));
    QCOMPARE(enter.count(), 2);
    QCOMPARE(enter.at(1).at(1).value<ZuPanelButton*>(), &shown.button(4));
    // Between two buttons no button is entered; coming back is a new entry.
    const QRect fourth = shown.panel->buttonRect(4);
    QTest::mouseMove(shown.panel, QPoint(fourth.right() + 2, fourth.center().y()));
    QTest::mouseMove(shown.panel, shown.centre(4));
    QCOMPARE(enter.count(), 3);
}

void ZuPanelTest::hoverAndPressLooksArePainted() {
    ShownPanel shown;
    const QRect calculate = shown.panel->buttonRect(4);
    QCOMPARE(countColour(shown.panel->paintedImage(), calculate, hotGreen), 0);
    QTest::mouseMove(shown.panel, calculate.center());
    const QImage hot = shown.panel->paintedImage();
    QVERIFY(countColour(hot, calculate, hotGreen) > calculate.width()); // the outline turns green
    QCOMPARE(countColour(hot, shown.panel->buttonRect(1), hotGreen), 0);
    QTest::mousePress(shown.panel, Qt::LeftButton, {}, calculate.center());
    const QImage pressed = shown.panel->paintedImage();
    QVERIFY(pressed != hot);
    QTest::mouseRelease(shown.panel, Qt::LeftButton, {}, calculate.center());
    QCOMPARE(shown.panel->paintedImage(), pressed); // kept while the command runs
    shown.panel->EndCommand();
    QCOMPARE(shown.panel->paintedImage(), hot);
}

void ZuPanelTest::clickOnAButtonWithoutMenu() {
    ShownPanel shown;
    QSignalSpy click(shown.panel, &ZuPanel::ButtonClick);
    QSignalSpy front(shown.panel, &ZuPanel::BringToFront);
    QTest::mouseMove(shown.panel, shown.centre(4));
    QTest::mouseClick(shown.panel, Qt::LeftButton, {}, shown.centre(4));
    QCOMPARE(click.count(), 1);
    QCOMPARE(click.at(0).at(0).toInt(), 10);
    QCOMPARE(click.at(0).at(1).value<ZuPanelButton*>()->Caption(), QStringLiteral("Расчет"));
    QCOMPARE(front.count(), 1);
    QVERIFY(!shown.panel->openMenu());
    shown.panel->EndCommand();

    // Released away from the button: no command.
    QTest::mousePress(shown.panel, Qt::LeftButton, {}, shown.centre(1));
    QTest::mouseRelease(shown.panel, Qt::LeftButton, {}, shown.centre(4));
    QCOMPARE(click.count(), 1);
    // A click between buttons: nothing.
    const QRect first = shown.panel->buttonRect(1);
    QTest::mouseClick(shown.panel, Qt::LeftButton, {}, QPoint(first.right() + 2, first.center().y()));
    QCOMPARE(click.count(), 1);
    // A disabled button is not clicked.
    shown.button(4).setEnabled(false);
    QTest::mouseClick(shown.panel, Qt::LeftButton, {}, shown.centre(4));
    QCOMPARE(click.count(), 1);
}

void ZuPanelTest::pickByMouse_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("item");    // a menu item, or the item whose sub-menu holds the pick
    QTest::addColumn<QString>("subItem"); // empty for a pick in the menu itself
    QTest::addColumn<int>("indexMenu");
    QTest::addColumn<QString>("key");
    QTest::newRow("print") << 10 << 2 << "Печать"
                           << "" << 2 << "2.2";
    QTest::newRow("parallel scheme") << 10 << 3 << "Параллельная схема"
                                     << "" << 5 << "3.5";
    QTest::newRow("kW") << 10 << 5 << "Тепловой поток, Q"
                        << "кВт" << 2 << "5.1.2";
    QTest::newRow("Q with its blank") << 3 << 1 << "Тепловая мощность, Q "
                                      << "" << 3 << "1.3";
    QTest::newRow("passes auto with its blank") << 4 << 1 << "Число ходов"
                                                << "Автовыбор " << 4 << "1.2.4";
    QTest::newRow("series 3") << 6 << 1 << "Тип"
                              << "КМ3" << 3 << "1.1.3";
    QTest::newRow("type auto") << 2 << 1 << "Тип"
                               << "Автовыбор" << 5 << "1.1.5";
    QTest::newRow("x5") << 4 << 1 << "Число теплообменников"
                        << "x5" << 5 << "1.3.5";
}

void ZuPanelTest::pickByMouse() {
    QFETCH(int, index);
    QFETCH(int, button);
    QFETCH(QString, item);
    QFETCH(QString, subItem);
    QFETCH(int, indexMenu);
    QFETCH(QString, key);
    ShownPanel shown(index);
    QSignalSpy click(shown.panel, &ZuPanel::MenuClick);
    QSignalSpy buttonClick(shown.panel, &ZuPanel::ButtonClick);
    QTest::mouseMove(shown.panel, shown.centre(button));
    QTest::mouseClick(shown.panel, Qt::LeftButton, {}, shown.centre(button));
    QMenu* menu = shown.panel->openMenu();
    QVERIFY(menu);
    QAction* action = actionOf(menu, item);
    QVERIFY(action);
    QMenu* target = menu;
    if (!subItem.isEmpty()) {
        QTest::mouseMove(menu, menu->actionGeometry(action).center());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        QTRY_VERIFY(visibleSubMenu(menu));
        target = visibleSubMenu(menu);
        action = actionOf(target, subItem);
        QVERIFY(action);
        QCOMPARE(click.count(), 0); // opening a sub-menu picks nothing
    }
    QTest::mouseMove(target, target->actionGeometry(action).center());
    QTest::mouseClick(target, Qt::LeftButton, {}, target->actionGeometry(action).center());
    QCOMPARE(click.count(), 1);
    const MenuEvent e = menuEvent(click.at(0));
    QCOMPARE(e.index, index);
    QCOMPARE(e.indexMenu, indexMenu);
    QCOMPARE(e.caption, subItem.isEmpty() ? item : subItem);
    QCOMPARE(e.key, key);
    QCOMPARE(e.link, QString());
    QCOMPARE(buttonClick.count(), 0);
    QTRY_VERIFY(!shown.panel->openMenu());
}

void ZuPanelTest::pickByKeyboard_data() {
    pickByMouse_data();
}

void ZuPanelTest::pickByKeyboard() {
    QFETCH(int, index);
    QFETCH(int, button);
    QFETCH(QString, item);
    QFETCH(QString, subItem);
    QFETCH(int, indexMenu);
    QFETCH(QString, key);
    ShownPanel shown(index);
    QSignalSpy click(shown.panel, &ZuPanel::MenuClick);
    QTest::mouseClick(shown.panel, Qt::LeftButton, {}, shown.centre(button));
    QMenu* menu = shown.panel->openMenu();
    QVERIFY(menu);
    QVERIFY(arrowTo(menu, item));
    QMenu* target = menu;
    if (!subItem.isEmpty()) {
        QTest::keyClick(menu, Qt::Key_Right);
        QTRY_VERIFY(visibleSubMenu(menu));
        target = visibleSubMenu(menu);
        QVERIFY(arrowTo(target, subItem));
    }
    QTest::keyClick(target, Qt::Key_Return);
    QCOMPARE(click.count(), 1);
    const MenuEvent e = menuEvent(click.at(0));
    QCOMPARE(e.indexMenu, indexMenu);
    QCOMPARE(e.caption, subItem.isEmpty() ? item : subItem);
    QCOMPARE(e.key, key);

    // Escape closes a menu without a pick.
    QTest::mouseClick(shown.panel, Qt::LeftButton, {}, shown.centre(button));
    QVERIFY(shown.panel->openMenu());
    QTest::keyClick(shown.panel->openMenu(), Qt::Key_Escape);
    QTRY_VERIFY(!shown.panel->openMenu());
    QCOMPARE(click.count(), 1);
}

void ZuPanelTest::unpickableEntriesEmitNothing_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("item");    // position in the menu
    QTest::addColumn<int>("subItem"); // position in the item's sub-menu, 0 for the item itself
    QTest::newRow("heading") << 3 << 1 << 1 << 0;
    QTest::newRow("separator") << 10 << 3 << 4 << 0;
    QTest::newRow("disabled series") << 4 << 1 << 1 << 4;
    QTest::newRow("item with a sub-menu") << 10 << 5 << 1 << 0;
}

void ZuPanelTest::unpickableEntriesEmitNothing() {
    QFETCH(int, index);
    QFETCH(int, button);
    QFETCH(int, item);
    QFETCH(int, subItem);
    ShownPanel shown(index);
    QSignalSpy click(shown.panel, &ZuPanel::MenuClick);
    QTest::mouseClick(shown.panel, Qt::LeftButton, {}, shown.centre(button));
    QMenu* menu = shown.panel->openMenu();
    QVERIFY(menu);
    QMenu* target = menu;
    QAction* action = menu->actions().value(item - 1);
    QVERIFY(action);
    if (subItem > 0) {
        QTest::mouseMove(menu, menu->actionGeometry(action).center());
        QTRY_VERIFY(visibleSubMenu(menu));
        target = visibleSubMenu(menu);
        action = target->actions().value(subItem - 1);
        QVERIFY(action);
        QVERIFY(!action->isEnabled()); // shown greyed
    }
    QTest::mouseMove(target, target->actionGeometry(action).center());
    QTest::mouseClick(target, Qt::LeftButton, {}, target->actionGeometry(action).center());
    if (target->isVisible()) QTest::keyClick(target, Qt::Key_Return);
    QCOMPARE(click.count(), 0);
}

void ZuPanelTest::aPickMayDestroyThePanel() {
    auto shown = std::make_unique<ShownPanel>(4);
    QPointer<ZuPanel> panel = shown->panel;
    QString picked;
    connect(panel, &ZuPanel::MenuClick, this, [&](int, int, const QString& caption) {
        picked = caption;
        shown.reset(); // the window and its panel go, as at shut-down
    });
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->buttonRect(1).center());
    QMenu* menu = panel->openMenu();
    QVERIFY(menu);
    QVERIFY(arrowTo(menu, QStringLiteral("Число ходов")));
    QTest::keyClick(menu, Qt::Key_Right);
    QTRY_VERIFY(visibleSubMenu(menu));
    QMenu* passes = visibleSubMenu(menu);
    QVERIFY(arrowTo(passes, QStringLiteral("/2")));
    QTest::keyClick(passes, Qt::Key_Return);
    QCOMPARE(picked, QStringLiteral("/2"));
    QVERIFY(!panel);
    QTest::qWait(10); // the menu goes at the next turn of the event loop
}

void ZuPanelTest::highlightEmitsMenuSelect() {
    ShownPanel shown;
    QSignalSpy select(shown.panel, &ZuPanel::MenuSelect);
    QSignalSpy click(shown.panel, &ZuPanel::MenuClick);
    QTest::mouseClick(shown.panel, Qt::LeftButton, {}, shown.centre(2));
    QMenu* menu = shown.panel->openMenu();
    QVERIFY(menu);
    QAction* save = actionOf(menu, QStringLiteral("Сохранить"));
    QTest::mouseMove(menu, menu->actionGeometry(save).center());
    QTRY_VERIFY(select.count() >= 1);
    const MenuEvent e = menuEvent(select.last());
    QCOMPARE(e.index, 10);
    QCOMPARE(e.indexMenu, 1);
    QCOMPARE(e.caption, QStringLiteral("Сохранить"));
    QCOMPARE(e.key, QStringLiteral("2.1"));
    QCOMPARE(e.toolTip, QStringLiteral("Сохранить отчет в книге"));
    QCOMPARE(click.count(), 0);
    menu->close();
}

void ZuPanelTest::checkedShowsInTheNextMenu() {
    ShownPanel shown;
    QTest::mouseClick(shown.panel, Qt::LeftButton, {}, shown.centre(3));
    QMenu* menu = shown.panel->openMenu();
    QVERIFY(menu);
    QVERIFY(actionOf(menu, QStringLiteral("Теплообменник отопления"))->isChecked());
    QVERIFY(!actionOf(menu, QStringLiteral("Параллельная схема"))->isChecked());
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!shown.panel->openMenu());

    ZuPanelMenuItems& systems = shown.button(3).MenuItems();
    systems.Item(2).setChecked(false);
    systems.Item(5).setChecked(true);
    shown.button(5).MenuItems().Item(1).SubItems().Item(1).setChecked(false);
    shown.button(5).MenuItems().Item(1).SubItems().Item(2).setChecked(true);
    QTest::mouseClick(shown.panel, Qt::LeftButton, {}, shown.centre(3));
    menu = shown.panel->openMenu();
    QVERIFY(menu);
    QVERIFY(!actionOf(menu, QStringLiteral("Теплообменник отопления"))->isChecked());
    QVERIFY(actionOf(menu, QStringLiteral("Параллельная схема"))->isChecked());
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!shown.panel->openMenu());

    QTest::mouseClick(shown.panel, Qt::LeftButton, {}, shown.centre(5));
    menu = shown.panel->openMenu();
    QVERIFY(menu);
    QMenu* heat = menu->actions().value(0)->menu();
    QVERIFY(heat);
    QVERIFY(!actionOf(heat, QStringLiteral("Гкал/ч"))->isChecked());
    QVERIFY(actionOf(heat, QStringLiteral("кВт"))->isChecked());
    menu->close();
}

void ZuPanelTest::hidingAButtonLaysThePanelOutAgain() {
    ShownPanel shown;
    QCOMPARE(shown.panel->buttonRect(6), QRect()); // "Схема" hidden at start
    const QRect system = shown.panel->buttonRect(3);
    const QRect calculate = shown.panel->buttonRect(4);
    const int width = shown.panel->sizeHint().width();

    shown.button(3).setVisible(false);
    QCOMPARE(shown.panel->buttonRect(3), QRect());
    QCOMPARE(shown.panel->buttonRect(4).left(), system.left());
    QCOMPARE(shown.panel->sizeHint().width(), width - (calculate.left() - system.left()));
    QCOMPARE(shown.panel->buttonAt(shown.panel->buttonRect(4).center()), 4);
    QSignalSpy click(shown.panel, &ZuPanel::ButtonClick);
    QTest::mouseClick(shown.panel, Qt::LeftButton, {}, system.center());
    QCOMPARE(click.count(), 1);
    QCOMPARE(click.at(0).at(1).value<ZuPanelButton*>(), &shown.button(4));
    shown.panel->EndCommand();

    shown.button(3).setVisible(true);
    shown.button(6).setVisible(true);
    QCOMPARE(shown.panel->buttonRect(3), system);
    QVERIFY(shown.panel->buttonRect(6).isValid());
    QVERIFY(shown.panel->buttonRect(6).left() > shown.panel->buttonRect(5).right());
    QVERIFY(shown.panel->sizeHint().width() > width);
}

void ZuPanelTest::keyboardOnThePanel() {
    ShownPanel shown;
    QSignalSpy enter(shown.panel, &ZuPanel::ButtonEnter);
    QSignalSpy click(shown.panel, &ZuPanel::ButtonClick);
    auto* box = new QLineEdit(shown.window.get()); // a text box of the window, after the panel
    box->move(0, 100);
    box->show();
    shown.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown.window.get()));
    box->setFocus();
    QCOMPARE(enter.count(), 0); // focus that does not come by the keyboard chooses no button
    QTest::keyClick(box, Qt::Key_Tab);
    QTRY_VERIFY(shown.panel->hasFocus());
    QCOMPARE(enter.count(), 1); // "Выход" chosen
    QTest::keyClick(shown.panel, Qt::Key_Right);
    QTest::keyClick(shown.panel, Qt::Key_Right);
    QTest::keyClick(shown.panel, Qt::Key_Right);
    // The entered panel is announced before its command, so a dispatcher choosing by the entered panel acts
    // on this one.
    QCOMPARE(enter.last().at(1).value<ZuPanelButton*>()->Caption(), QStringLiteral("Расчет"));
    QAccessibleInterface* focus = QAccessible::queryAccessibleInterface(shown.panel)->focusChild();
    QVERIFY(focus);
    QCOMPARE(focus->text(QAccessible::Name), QStringLiteral("Расчет"));
    QVERIFY(focus->state().focused);
    QTest::keyClick(shown.panel, Qt::Key_Return);
    QCOMPARE(click.count(), 1);
    shown.panel->EndCommand();
    QTest::keyClick(shown.panel, Qt::Key_Left);
    QTest::keyClick(shown.panel, Qt::Key_Down);
    QMenu* menu = shown.panel->openMenu();
    QVERIFY(menu);
    QCOMPARE(menu->activeAction()->text(), QStringLiteral("Теплообменник ГВС"));
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!shown.panel->openMenu());
    QTest::keyClick(shown.panel, Qt::Key_End); // the last visible button, "О программе"
    QCOMPARE(enter.last().at(1).value<ZuPanelButton*>()->Caption(), QStringLiteral("О программе"));
}

void ZuPanelTest::keysOnTheChosenButton_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("opensMenu");
    QTest::addColumn<bool>("clicks");
    const int none = Qt::NoModifier, alt = Qt::AltModifier;
    // clang-format off
    QTest::newRow("Enter runs Расчет")           << 10 << 4 << int(Qt::Key_Return) << none << false << true;
    QTest::newRow("keypad Enter runs Выход")     << 10 << 1 << int(Qt::Key_Enter)  << none << false << true;
    QTest::newRow("Space runs О программе")      << 10 << 8 << int(Qt::Key_Space)  << none << false << true;
    QTest::newRow("Enter opens Система")         << 10 << 3 << int(Qt::Key_Return) << none << true  << false;
    QTest::newRow("Alt+Down opens Система")      << 10 << 3 << int(Qt::Key_Down)   << alt  << true  << false;
    QTest::newRow("F4 opens Данные")             << 10 << 2 << int(Qt::Key_F4)     << none << true  << false;
    QTest::newRow("Down opens Размерность")      << 10 << 5 << int(Qt::Key_Down)   << none << true  << false;
    QTest::newRow("Alt+Down leaves Выход alone") << 10 << 1 << int(Qt::Key_Down)   << alt  << false << false;
    QTest::newRow("F4 leaves Расчет alone")      << 10 << 4 << int(Qt::Key_F4)     << none << false << false;
    QTest::newRow("Up leaves Система alone")     << 10 << 3 << int(Qt::Key_Up)     << none << false << false;
    QTest::newRow("F4 opens Данные расчета")     << 3  << 1 << int(Qt::Key_F4)     << none << true  << false;
    QTest::newRow("Alt+Down opens Компоновка")   << 6  << 1 << int(Qt::Key_Down)   << alt  << true  << false;
    // clang-format on
}

void ZuPanelTest::keysOnTheChosenButton() {
    QFETCH(int, index);
    QFETCH(int, button);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, opensMenu);
    QFETCH(bool, clicks);
    ShownPanel shown(index);
    QVERIFY(focusOn(shown, button));
    QSignalSpy enter(shown.panel, &ZuPanel::ButtonEnter);
    QSignalSpy click(shown.panel, &ZuPanel::ButtonClick);
    QTest::keyClick(shown.panel, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(click.count(), clicks ? 1 : 0);
    if (clicks) QCOMPARE(click.at(0).at(1).value<ZuPanelButton*>(), &shown.button(button));
    QMenu* menu = shown.panel->openMenu();
    QCOMPARE(menu != nullptr, opensMenu);
    if (opensMenu) {
        QCOMPARE(menu->accessibleName(), shown.button(button).Caption().trimmed());
        QVERIFY(menu->activeAction()); // the keys go on in the menu
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!shown.panel->openMenu());
        // Back on the panel, on the same button.
        QTRY_VERIFY(shown.panel->hasFocus());
        QCOMPARE(shown.panel->focusedButton(), button);
    }
    // Any announcement names the chosen button: the hint line and the command panel stay with it.
    for (const QList<QVariant>& args : enter)
        QCOMPARE(args.at(1).value<ZuPanelButton*>(), &shown.button(button));
}

void ZuPanelTest::focusFrameFollowsTheKeyboard() {
    ShownPanel shown;
    auto* box = new QLineEdit(shown.window.get()); // a text box of the window, after the panel
    box->move(0, 100);
    box->show();
    shown.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown.window.get()));
    box->setFocus();
    QCOMPARE(framedButtons(shown.panel), QList<int>());
    QTest::keyClick(box, Qt::Key_Tab);
    QTRY_VERIFY(shown.panel->hasFocus());
    QCOMPARE(framedButtons(shown.panel), QList<int>{1});
    QTest::keyClick(shown.panel, Qt::Key_Right);
    QCOMPARE(framedButtons(shown.panel), QList<int>{2});
    // The pointer over another button does not take the frame.
    QTest::mouseMove(shown.panel, shown.centre(4));
    QCOMPARE(framedButtons(shown.panel), QList<int>{2});
    // Kept while a menu of the panel is open and after it closes.
    QTest::keyClick(shown.panel, Qt::Key_F4);
    QVERIFY(shown.panel->openMenu());
    QTest::keyClick(shown.panel->openMenu(), Qt::Key_Escape);
    QTRY_VERIFY(shown.panel->hasFocus());
    QCOMPARE(framedButtons(shown.panel), QList<int>{2});
    // Kept across another window's activation, as after a command's dialog.
    QWidget dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.close();
    shown.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown.window.get()));
    QTRY_VERIFY(shown.panel->hasFocus());
    QCOMPARE(framedButtons(shown.panel), QList<int>{2});
    // Shift+Tab leaves the panel, and the frame goes with the focus; Tab back finds the same button.
    QTest::keyClick(shown.panel, Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_VERIFY(box->hasFocus());
    QCOMPARE(framedButtons(shown.panel), QList<int>());
    QTest::keyClick(box, Qt::Key_Tab);
    QTRY_VERIFY(shown.panel->hasFocus());
    QCOMPARE(framedButtons(shown.panel), QList<int>{2});
}

void ZuPanelTest::focusFromAnyReasonChoosesAButton_data() {
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("announced"); // the hint line and the command panel follow the focus
    QTest::newRow("Tab") << int(Qt::TabFocusReason) << true;
    QTest::newRow("Shift+Tab") << int(Qt::BacktabFocusReason) << true;
    QTest::newRow("a window's shortcut") << int(Qt::ShortcutFocusReason) << true;
    QTest::newRow("the window's own call") << int(Qt::OtherFocusReason) << false;
    QTest::newRow("window activation") << int(Qt::ActiveWindowFocusReason) << false;
}

void ZuPanelTest::focusFromAnyReasonChoosesAButton() {
    QFETCH(int, reason);
    QFETCH(bool, announced);
    ShownPanel shown;
    auto* box = new QLineEdit(shown.window.get()); // where the focus was before
    box->move(0, 100);
    box->show();
    shown.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown.window.get()));
    box->setFocus();
    QSignalSpy enter(shown.panel, &ZuPanel::ButtonEnter);
    QSignalSpy click(shown.panel, &ZuPanel::ButtonClick);
    shown.panel->setFocus(Qt::FocusReason(reason));
    QVERIFY(shown.panel->hasFocus());
    QCOMPARE(shown.panel->focusedButton(), 1);
    QCOMPARE(framedButtons(shown.panel), QList<int>{1});
    QCOMPARE(enter.count(), announced ? 1 : 0);
    QTest::keyClick(shown.panel, Qt::Key_Return);
    QCOMPARE(click.count(), 1);
    QCOMPARE(click.at(0).at(1).value<ZuPanelButton*>()->Caption(), QStringLiteral("Выход"));
    QCOMPARE(enter.count(), 1); // announced before its command at the latest
}

void ZuPanelTest::hidingTheChosenButtonMovesTheKeyboardOn() {
    ShownPanel shown;
    QVERIFY(focusOn(shown, 4));
    QSignalSpy click(shown.panel, &ZuPanel::ButtonClick);
    shown.button(4).setVisible(false); // "Расчет" goes: the next usable button, "Размерность"
    QCOMPARE(shown.panel->focusedButton(), 5);
    QCOMPARE(framedButtons(shown.panel), QList<int>{5});
    QTest::keyClick(shown.panel, Qt::Key_End);
    shown.button(8).setEnabled(false); // the last one goes: the one before it, "web-сайт"
    QCOMPARE(shown.panel->focusedButton(), 7);
    QTest::keyClick(shown.panel, Qt::Key_Return);
    QCOMPARE(click.count(), 1);
    QCOMPARE(click.at(0).at(1).value<ZuPanelButton*>()->Caption(), QStringLiteral("web-сайт"));
    shown.panel->EndCommand();
    QTest::keyClick(shown.panel, Qt::Key_Right); // round to the first
    QCOMPARE(shown.panel->focusedButton(), 1);
}

void ZuPanelTest::shortcutShowsWithTheToolTip() {
    ShownPanel shown;
    shown.button(4).setShortcutText(QStringLiteral("F9"));
    shown.button(7).setShortcutText(QStringLiteral("F2")); // "web-сайт" has no tool tip of its own
    QCOMPARE(shown.button(4).ToolTipText(),
             QStringLiteral("Расчет выбранного задания для выбранной тепловой системы"));
    QTest::mouseMove(shown.panel, shown.centre(4));
    QTRY_VERIFY(shown.panel->toolTipWindow());
    QCOMPARE(static_cast<ZuPanelToolTip*>(shown.panel->toolTipWindow())->text(),
             QStringLiteral("Расчет выбранного задания для выбранной тепловой системы (F9)"));
    QTest::mouseMove(shown.panel, shown.centre(7));
    QTRY_VERIFY(shown.panel->toolTipWindow());
    QCOMPARE(static_cast<ZuPanelToolTip*>(shown.panel->toolTipWindow())->text(), QStringLiteral("F2"));

    QAccessibleInterface* calculate = QAccessible::queryAccessibleInterface(shown.panel)->child(3);
    QCOMPARE(calculate->text(QAccessible::Accelerator), QStringLiteral("F9"));
    QCOMPARE(calculate->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
             QStringList{QStringLiteral("F9")});
    QAccessibleInterface* quit = QAccessible::queryAccessibleInterface(shown.panel)->child(0);
    QCOMPARE(quit->text(QAccessible::Accelerator), QString());
    QCOMPARE(quit->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
             QStringList());
}

void ZuPanelTest::toolTipIsTheButtonsOwn() {
    ShownPanel shown;
    QTest::mouseMove(shown.panel, shown.centre(4));
    QTRY_VERIFY(shown.panel->toolTipWindow());
    auto* tip = static_cast<ZuPanelToolTip*>(shown.panel->toolTipWindow());
    QCOMPARE(tip->text(), QStringLiteral("Расчет выбранного задания для выбранной тепловой системы"));
    QCOMPARE(tip->grab().toImage().pixelColor(0, 0), QColor(Qt::black)); // the library's frame
    QTest::mouseMove(shown.panel, shown.centre(7));                      // "web-сайт" has no tool tip
    QVERIFY(!shown.panel->toolTipWindow());
    QTest::qWait(1000);
    QVERIFY(!shown.panel->toolTipWindow());
    QTest::mouseMove(shown.panel, shown.centre(1));
    QTRY_VERIFY(shown.panel->toolTipWindow());
    QTest::mousePress(shown.panel, Qt::LeftButton, {}, shown.centre(1));
    QVERIFY(!shown.panel->toolTipWindow()); // a press hides it
    QTest::mouseRelease(shown.panel, Qt::LeftButton, {}, shown.centre(1));
}

void ZuPanelTest::startUpOptionCall() {
    ShownPanel shown;
    const int width = shown.panel->sizeHint().width();
    const QImage before = shown.panel->paintedImage();
    shown.panel->setProperty(ZuPanel::redrawProperty, 0);
    QVERIFY(!shown.panel->updatesEnabled());
    shown.panel->ButtonOption(true, 7);
    shown.panel->setProperty(ZuPanel::redrawProperty, 1);
    QVERIFY(shown.panel->updatesEnabled());
    QCOMPARE(shown.panel->options(), 7);
    QCOMPARE(shown.panel->paintedImage(), before);

    // Without drop-down arrows the menu buttons are narrower; without tool tips none shows.
    shown.panel->ButtonOption(false, 4 | 2);
    QCOMPARE(shown.panel->options(), 1);
    QVERIFY(shown.panel->sizeHint().width() < width);
    QTest::mouseMove(shown.panel, shown.centre(4));
    QTest::qWait(1000);
    QVERIFY(!shown.panel->toolTipWindow());
}

void ZuPanelTest::accessibilityTreeListsVisibleButtons() {
    ShownPanel shown;
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(shown.panel);
    QVERIFY(panel);
    QCOMPARE(panel->role(), QAccessible::ToolBar);
    QCOMPARE(panel->text(QAccessible::Name), QStringLiteral("Главная панель"));
    struct Expected {
        const char* caption;
        QAccessible::Role role;
        const char* description;
    };
    // clang-format off
    const Expected expected[] = {
        {"Выход",       QAccessible::Button,     "Выход из программы"},
        {"Данные ",     QAccessible::ButtonMenu, "Сохранение или печать данных"},
        {"Система",     QAccessible::ButtonMenu, "Выбор системы теплоснабжения"},
        {"Расчет",      QAccessible::Button,     "Расчет выбранного задания для выбранной тепловой системы"},
        {"Размерность", QAccessible::ButtonMenu, "Выбор размерности параметров"},
        {"web-сайт",    QAccessible::Button,     ""},
        {"О программе", QAccessible::Button,     "Сведения о владельцах программы"},
    };
    // clang-format on
    QCOMPARE(panel->childCount(), 7); // "Схема" is hidden
    for (int i = 0; i < 7; ++i) {
        QAccessibleInterface* child = panel->child(i);
        QVERIFY(child);
        QCOMPARE(child->text(QAccessible::Name), QString::fromUtf8(expected[i].caption));
        QCOMPARE(child->role(), expected[i].role);
        QCOMPARE(child->text(QAccessible::Description), QString::fromUtf8(expected[i].description));
        QCOMPARE(panel->indexOfChild(child), i);
        QCOMPARE(child->parent(), panel);
        QVERIFY(child->rect().isValid());
        QCOMPARE(panel->childAt(child->rect().center().x(), child->rect().center().y()), child);
    }
    shown.button(6).setVisible(true);
    QCOMPARE(panel->childCount(), 8);
    QCOMPARE(panel->child(5)->text(QAccessible::Name), QStringLiteral("Схема"));
}

void ZuPanelTest::accessiblePressActs() {
    ShownPanel shown;
    QSignalSpy click(shown.panel, &ZuPanel::ButtonClick);
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(shown.panel);
    QAccessibleInterface* calculate = panel->child(3);
    QVERIFY(calculate->actionInterface());
    calculate->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(click.count(), 1);
    shown.panel->EndCommand();
    QAccessibleInterface* data = panel->child(1);
    QVERIFY(data->actionInterface()->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
    data->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(shown.panel->openMenu());
    QVERIFY(data->state().expanded);
    shown.panel->openMenu()->close();
    QCOMPARE(click.count(), 1);
}

void ZuPanelTest::accessiblePickClosesTheMenus_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("menuName");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("subItem"); // empty for a pick in the menu itself
    QTest::newRow("data, a button ending in a blank") << 10 << 2 << "Данные"
                                                      << "Печать"
                                                      << "";
    QTest::newRow("system") << 10 << 3 << "Система"
                            << "Параллельная схема"
                            << "";
    QTest::newRow("units, in a sub-menu") << 10 << 5 << "Размерность"
                                          << "Тепловой поток, Q"
                                          << "кВт";
    QTest::newRow("a calculation window's layout") << 4 << 1 << "Компоновка"
                                                   << "Число ходов"
                                                   << "/2";
}

void ZuPanelTest::accessiblePickClosesTheMenus() {
    QFETCH(int, index);
    QFETCH(int, button);
    QFETCH(QString, menuName);
    QFETCH(QString, item);
    QFETCH(QString, subItem);
    ShownPanel shown(index);
    QSignalSpy click(shown.panel, &ZuPanel::MenuClick);
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(shown.panel);
    QAccessibleInterface* owner = panel->child(button - 1);
    owner->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    QTRY_VERIFY(shown.panel->openMenu());
    QMenu* menu = shown.panel->openMenu();
    QCOMPARE(QAccessible::queryAccessibleInterface(menu)->text(QAccessible::Name), menuName);

    QAccessibleInterface* entry = accessibleEntry(menu, item);
    QVERIFY(entry);
    if (!subItem.isEmpty()) {
        entry->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
        QTRY_VERIFY(visibleSubMenu(menu));
        QCOMPARE(QAccessible::queryAccessibleInterface(visibleSubMenu(menu))->text(QAccessible::Name), item);
        entry = accessibleEntry(visibleSubMenu(menu), subItem);
        QVERIFY(entry);
    }
    entry->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(click.count(), 1);
    QCOMPARE(menuEvent(click.at(0)).caption, subItem.isEmpty() ? item : subItem);
    QTRY_VERIFY(!anyMenuVisible());
    QVERIFY(!owner->state().expanded);
}

void ZuPanelTest::platformObjectsAreReleased() {
    const int before = zu::gdi::liveObjectCount();
    {
        ShownPanel shown;
        QTest::mouseMove(shown.panel, shown.centre(4));
        QTRY_VERIFY(shown.panel->toolTipWindow());
        QTest::mouseClick(shown.panel, Qt::LeftButton, {}, shown.centre(4));
        shown.panel->EndCommand();
        QTest::mouseClick(shown.panel, Qt::LeftButton, {}, shown.centre(3));
        QVERIFY(shown.panel->openMenu());
        shown.panel->openMenu()->close();
        shown.panel->resize(shown.panel->width() + 30, shown.panel->height());
        (void)shown.panel->paintedImage();
    }
    QCOMPARE(zu::gdi::liveObjectCount(), before);
}

// The main panel painted for a 100 % and a 200 % screen, "Система" chosen by the keyboard: the same
// layout, and at 200 % the drop-down arrows, outlines and focus frame cover twice the device pixels each way.
void ZuPanelTest::paintsAtTheScreensRatio() {
    std::unique_ptr<ZuPanel> panel(ZuPanel::create(10, nullptr));
    ZuPanelView plain, doubled;
    plain.layout(*panel, 1);
    doubled.layout(*panel, 2);
    QCOMPARE(doubled.naturalSize(), plain.naturalSize());
    const QSize size = plain.naturalSize() + QSize(20, 6);
    std::vector<ZuPanelButtonLook> looks(static_cast<size_t>(panel->Buttons().Count()));
    looks[2].hot = looks[2].focused = true;
    const QImage one = plain.render(*panel, size, looks);
    const QImage two = doubled.render(*panel, size, looks);
    QCOMPARE(two.devicePixelRatio(), 2.0);
    QCOMPARE(two.size(), one.size() * 2);

    int arrows = 0;
    for (int b = 1; b <= panel->Buttons().Count(); ++b) {
        const QRect rect = plain.buttonRect(b, size.height());
        QCOMPARE(doubled.buttonRect(b, size.height()), rect);
        if (rect.isEmpty()) continue; // "Схема" is hidden
        QCOMPARE(doubled.buttonAt(rect.center(), size.height()), b);
        if (b != 3) {
            // A resting outline one logical pixel thick: down the middle of the button, top edge only.
            const QRect column(rect.center().x(), rect.top(), 1, rect.height() / 2);
            QCOMPARE(colourBox(one, column, restingBorder).height(), 1);
            QCOMPARE(colourBox(two, column, restingBorder).height(), 2);
        }
        if (!panel->Buttons().Item(static_cast<int16_t>(b)).hasMenu()) continue;
        // The arrow in the drop-down part at the button's right.
        const QRect dropDown(rect.right() - 10, rect.top(), 11, rect.height());
        const QRect arrow = colourBox(one, dropDown, arrowGreen);
        QVERIFY2(arrow.width() >= 3, qPrintable(QStringLiteral("button %1").arg(b)));
        QCOMPARE(colourBox(two, dropDown, arrowGreen), QRect(arrow.topLeft() * 2, arrow.size() * 2));
        QCOMPARE(countColour(two, dropDown, arrowGreen), 4 * countColour(one, dropDown, arrowGreen));
        ++arrows;
    }
    QCOMPARE(arrows, 3);

    const QRect system = plain.buttonRect(3, size.height());
    const QRect frame = colourBox(one, system, ZuPanelView::focusFrameColour());
    QVERIFY(frame.width() > system.width() / 2);
    QCOMPARE(colourBox(two, system, ZuPanelView::focusFrameColour()),
             QRect(frame.topLeft() * 2, frame.size() * 2));
}

// The panel and its tool tip on a 200 % screen (its CTest test runs at QT_SCALE_FACTOR=2): painted at the
// widget's ratio, the arrows twice the size and the tool tip's frame one logical pixel wide.
void ZuPanelTest::shownAtTwoHundredPercent() {
    ShownPanel shown;
    if (shown.panel->devicePixelRatioF() != 2.0) QSKIP("needs QT_SCALE_FACTOR=2");
    const QImage painted = shown.panel->paintedImage();
    QCOMPARE(painted.devicePixelRatio(), 2.0);
    ZuPanelView plain;
    plain.layout(*shown.panel, 1);
    const QImage one = plain.render(*shown.panel, shown.panel->size(), {});
    const QRect rect = shown.panel->buttonRect(3);
    const QRect dropDown(rect.right() - 10, rect.top(), 11, rect.height());
    QCOMPARE(colourBox(painted, dropDown, arrowGreen).size(),
             colourBox(one, dropDown, arrowGreen).size() * 2);

    QTest::mouseMove(shown.panel, shown.centre(4));
    QTRY_VERIFY(shown.panel->toolTipWindow());
    const QImage tip = shown.panel->toolTipWindow()->grab().toImage();
    QCOMPARE(tip.devicePixelRatio(), 2.0);
    const int middle = tip.height() / 2;
    QCOMPARE(tip.pixelColor(0, middle), QColor(Qt::black));
    QCOMPARE(tip.pixelColor(1, middle), QColor(Qt::black));
    QVERIFY(tip.pixelColor(2, middle) != QColor(Qt::black));
}

QTEST_MAIN(ZuPanelTest)
#include "ZuPanelTest.moc"

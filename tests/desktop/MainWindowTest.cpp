// The main window driven as a user drives it: start-up, the system handlers, the main panel's
// commands, the unit switch, the limit dialog, the quit question, and the commands refused while a
// calculation waits for a dialog.
#include <QAccessible>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QUrl>

#include "DesktopDriver.h"
#include "Dither.h"
#include "PictureWindows.h"
#include "PlateLimitDialog.h"
#include "ReportActions.h"
#include "Workbook.h"
#include "XlsxWriter.h"
#include "cipher.h"
#include "messages.h"
#include "task.h"
#include "unit_switch.h"

using namespace desktop;
using kalvar::WindowId;

namespace {

// Main panel buttons.
constexpr int exitButton = 1, dataButton = 2, systemButton = 3, calculateButton = 4, unitsButton = 5,
              schemeButton = 6, siteButton = 7, aboutButton = 8;
// Position of each system kind in the "Система" menu.
constexpr int systemItem[9] = {0, 1, 2, 3, 5, 6, 8, 9, 10};

CalcWindowView* heatingView(MainWindow& form) {
    return form.view(WindowId::Heating);
}

// The caption the system picks write, before the task's name in the title.
QString systemCaptionShown(const MainWindow& form) {
    return form.windowTitle().section(QStringLiteral(" — "), 0, 0);
}

// Receives the addresses the program hands to the user's browser.
class UrlCatcher : public QObject {
    Q_OBJECT
  public slots:
    void open(const QUrl& url) { urls << url; }

  public:
    QList<QUrl> urls;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir workDir_;
    std::unique_ptr<MainWindow> form_;

    MainWindow& start() {
        form_ = startProgram(workDir_.path());
        return *form_;
    }

    // The heating window set for a series that reaches its plate limit at once (the task of
    // examples/fixed-series-limit-dialog.json): Q = 2,5 on "КМ1", one pass, one exchanger.
    void prepareLimitTask(MainWindow& form) {
        CalcWindowView* view = heatingView(form);
        typeInto(child<QLineEdit>(view, "Text30"), QStringLiteral("2,5"));
        QVERIFY(pickMenu(view->layoutPanel(), 1, 1, 1)); // Тип → КМ1
        QVERIFY(pickMenu(view->layoutPanel(), 1, 2, 1)); // Число ходов → /1
        QVERIFY(pickMenu(view->layoutPanel(), 1, 3, 1)); // Число теплообменников → x1
    }

    static nlohmann::ordered_json cliLimitTask(const char* answer, int system = 2, const char* more = "") {
        std::string task = "{\"system\": " + std::to_string(system) +
                           ", \"windows\": {\"Form2\": {\"Text30\": \"2,5\", \"Combo1\": 0, "
                           "\"Combo2\": 0, \"Combo3\": 0}" +
                           more + "}, \"limitAnswers\": [\"";
        task += answer;
        task += "\"]}";
        return kalvar::runTask(task, "");
    }

  private slots:
    void init() { QVERIFY(workDir_.isValid()); }
    void cleanup() { form_.reset(); }

    void startUpState() {
        MainWindow& form = start();
        kalvar::Session& s = form.session();
        QCOMPARE(systemCaptionShown(form), QString::fromStdString(kalvar::systemCaption(2)));
        QVERIFY(form.strip(WindowId::Heating)->isVisible());
        QVERIFY(!form.strip(WindowId::Ventilation)->isVisible());
        QVERIFY(!form.strip(WindowId::HotWater)->isVisible());
        QCOMPARE(s.state.systemKind, 2);
        QCOMPARE(s.state.currentWindow, &s.windows.heating);
        for (int kind = 1; kind <= 8; ++kind) {
            QCOMPARE(form.systemAction(kind)->isChecked(), kind == 2);
            QCOMPARE(
                form.mainPanel()->Buttons().Item(systemButton).MenuItems().Item(systemItem[kind]).Checked(),
                kind == 2);
        }
        // Without an owner workbook the series are КM1…КM4 and the owner's picture stays.
        for (WindowId id : {WindowId::Ventilation, WindowId::Heating, WindowId::HotWater}) {
            const ZuPanelSubItems& series =
                form.view(id)->layoutPanel()->Buttons().Item(1).MenuItems().Item(1).SubItems();
            for (int16_t i = 1; i <= 4; ++i)
                QCOMPARE(series.Item(i).Caption(), QStringLiteral("КM") + QString::number(i));
        }
        QVERIFY(form.findChild<QLabel*>(QStringLiteral("Image1"))->isVisible());
        QVERIFY(!form.mainPanel()->Buttons().Item(schemeButton).Visible());

        // The pointer on a main-panel button: its hint, the panel index, activePanelIndex.
        hoverButton(form.mainPanel(), calculateButton);
        QCOMPARE(s.state.activePanelIndex, 10);
        QCOMPARE(form.panelIndexLabel()->text(), QStringLiteral("10"));
        QCOMPARE(
            form.hintLine()->text(),
            QStringLiteral(
                "Кнопка: Расчет Подсказка: Расчет выбранного задания для выбранной тепловой системы (F9)"));

        // An entry of a main-panel menu under the pointer: its caption and tool tip.
        hoverButton(form.mainPanel(), systemButton);
        QTest::mouseClick(form.mainPanel(), Qt::LeftButton, {},
                          form.mainPanel()->buttonRect(systemButton).center());
        QMenu* menu = form.mainPanel()->openMenu();
        QVERIFY(menu && waitFor([menu] { return menu->isVisible(); }));
        QTest::mouseMove(menu, menu->actionGeometry(menu->actions().at(2)).center());
        QVERIFY(waitFor([&form] { return form.hintLine()->text().startsWith(QStringLiteral("Меню: ")); }));
        const ZuPanelMenuItem& ventilation =
            form.mainPanel()->Buttons().Item(systemButton).MenuItems().Item(3);
        QCOMPARE(form.hintLine()->text(), QStringLiteral("Меню: ") + ventilation.Caption() +
                                              QStringLiteral("   Подсказка: ") + ventilation.ToolTipText());
        menu->close();
    }

    // A site's two workbooks: its default inputs land in the windows, its owner names the series,
    // heads the about box and the web-site command, and the built-in owner's picture goes.
    void siteWorkbooks() {
        QTemporaryDir site;
        {
            kalvar::Workbook book;
            kalvar::Sheet& sheet = book.addSheet("Лист1");
            // Rows t1', t1'', t2', t2'', ΔP1, ΔP2 of columns C, D, E: hot water, heating, ventilation.
            const int rows[] = {2, 3, 4, 5, 7, 8};
            const char* values[3][6] = {{"70", "30", "5", "60", "30", "30"},
                                        {"130", "75", "60", "90", "25", "15"},
                                        {"95", "45", "10", "50", "20", "20"}};
            for (int column = 3; column <= 5; ++column)
                for (int i = 0; i < 6; ++i)
                    sheet.setText(rows[i], column, values[column - 3][i]);
            kalvar::writeXlsx(book, (site.path() + QStringLiteral("/Исходные данные.xlsx")).toStdString());
        }
        {
            kalvar::Workbook book;
            kalvar::Sheet& sheet = book.addSheet("Лист1");
            const char* values[] = {"ООО «Тестовый поставщик»", "000000, г. Испытательный, ул. Пробная, 2",
                                    "(000) 111-11-11",          "www.supplier.example",
                                    "mail@supplier.example",    "ТП"};
            for (int row = 2; row <= 7; ++row)
                sheet.setText(row, 2, kalvar::encipher(values[row - 2]));
            kalvar::writeXlsx(book, (site.path() + QStringLiteral("/Юридический адрес.xlsx")).toStdString());
        }
        DialogAnswerer answerer; // a reading failure would show its message box during start-up
        form_ = startProgram(site.path());
        MainWindow& form = *form_;
        QCOMPARE(answerer.unexpected, QStringList());
        QCOMPARE(child<QLineEdit>(heatingView(form), "Text2")->text(), QStringLiteral("130"));
        QCOMPARE(form.session().windows.hotWater.heatedOutletTemperature.text, std::string("60"));
        QCOMPARE(form.session().windows.ventilation.heatingOutletTemperature.text, std::string("45"));
        QCOMPARE(child<QLineEdit>(heatingView(form), "Text7")->text(), QStringLiteral("15"));
        QVERIFY(!form.findChild<QLabel*>(QStringLiteral("Image1"))->isVisible());
        const ZuPanelSubItems& series =
            heatingView(form)->layoutPanel()->Buttons().Item(1).MenuItems().Item(1).SubItems();
        QCOMPARE(series.Item(3).Caption(), QStringLiteral("ТП3"));
        QCOMPARE(QString::fromStdString(form.owner().ownerSite), QStringLiteral("www.supplier.example"));
        // The designations begin with the site's prefix.
        clickButton(form.mainPanel(), calculateButton);
        QVERIFY(QString::fromStdString(form.session().windows.heating.designationBox.text)
                    .contains(QStringLiteral("ТП")));
    }

    void systemHandlers_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("ventilation");
        QTest::addColumn<bool>("heating");
        QTest::addColumn<bool>("hotWater");
        QTest::addColumn<int>("secondStage"); // 0 hidden, 1 shown, -1 unchanged
        // clang-format off
        QTest::newRow("1 ГВС")                        << 1 << false << false << true  << 0;
        QTest::newRow("2 отопление")                  << 2 << false << true  << false << -1;
        QTest::newRow("3 вентиляция")                 << 3 << true  << false << false << -1;
        QTest::newRow("4 параллельная")               << 4 << false << true  << true  << 0;
        QTest::newRow("5 двухступенчатая смешанная")  << 5 << false << true  << true  << 1;
        QTest::newRow("6 параллельная, три контура")  << 6 << true  << true  << true  << 0;
        QTest::newRow("7 смешанная, три контура")     << 7 << true  << true  << true  << 1;
        QTest::newRow("8 смешанная с вентиляцией")    << 8 << true  << true  << true  << 1;
        // clang-format on
    }

    void systemHandlers() {
        QFETCH(int, kind);
        QFETCH(bool, ventilation);
        QFETCH(bool, heating);
        QFETCH(bool, hotWater);
        QFETCH(int, secondStage);
        MainWindow& form = start();
        kalvar::Session& s = form.session();
        // Leave the start-up state first, so that "unchanged" means something.
        QVERIFY(pickMenu(form.mainPanel(), systemButton, systemItem[kind == 5 ? 1 : 5]));
        const bool before = s.windows.hotWater.secondStageLossLimit.visible;

        DialogAnswerer answerer; // the first pick changed the task
        answerer.expect(clickCaption(QStringLiteral("Не сохранять")));
        QVERIFY(pickMenu(form.mainPanel(), systemButton, systemItem[kind]));
        QCOMPARE(s.state.systemKind, kind);
        QCOMPARE(form.strip(WindowId::Ventilation)->isVisible(), ventilation);
        QCOMPARE(form.strip(WindowId::Heating)->isVisible(), heating);
        QCOMPARE(form.strip(WindowId::HotWater)->isVisible(), hotWater);
        QCOMPARE(systemCaptionShown(form), QString::fromStdString(kalvar::systemCaption(kind)));
        const bool expected = secondStage == -1 ? before : secondStage == 1;
        CalcWindowView* hot = form.view(WindowId::HotWater);
        QCOMPARE(s.windows.hotWater.secondStageLossLimit.visible, expected);
        QCOMPARE(s.windows.hotWater.interstagePipeVelocity.visible, expected);
        QCOMPARE(s.windows.hotWater.interstagePipeList.visible, expected);
        QCOMPARE(child<QLineEdit>(hot, "Text10")->isVisibleTo(hot), expected);
        if (kind <= 3) {
            kalvar::CalcWindow* single[] = {&s.windows.hotWater, &s.windows.heating, &s.windows.ventilation};
            QCOMPARE(s.state.currentWindow, single[kind - 1]);
        }
        for (int k = 1; k <= 8; ++k) {
            QCOMPARE(form.systemAction(k)->isChecked(), k == kind);
            QCOMPARE(form.mainPanel()->Buttons().Item(systemButton).MenuItems().Item(systemItem[k]).Checked(),
                     k == kind);
        }
        // The separators stay unchecked.
        QVERIFY(!form.mainPanel()->Buttons().Item(systemButton).MenuItems().Item(4).Checked());
        QVERIFY(!form.mainPanel()->Buttons().Item(systemButton).MenuItems().Item(7).Checked());
    }

    void windowMenuPicksSystem_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::newRow("ГВС") << 1 << "Теплообменник для ГВС";
        QTest::newRow("вентиляция") << 3 << "Теплообменник для вентиляции";
        QTest::newRow("параллельная") << 4 << "Параллельная схема";
        QTest::newRow("смешанная, три контура") << 7 << "Смешанная схема для 3-х контуров";
    }

    // The window menu's entries by their captions, each picking its system.
    void windowMenuPicksSystem() {
        QFETCH(int, kind);
        QFETCH(QString, caption);
        MainWindow& form = start();
        QMenuBar* bar = form.menuBar();
        QAction* menuAction = form.findChild<QMenu*>(QStringLiteral("система"))->menuAction();
        QCOMPARE(menuAction->text(), QStringLiteral("система"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menuAction).center());
        QMenu* menu = menuAction->menu();
        QVERIFY(waitFor([menu] { return menu->isVisible(); }));
        QAction* picked = nullptr;
        for (QAction* action : menu->actions())
            if (action->text() == caption) picked = action;
        QVERIFY2(picked, qPrintable(caption));
        QCOMPARE(form.systemAction(2)->text(), QStringLiteral("Теплообменник для отопления"));
        clickAction(menu, picked);
        QVERIFY(waitFor([&form, kind] { return form.session().state.systemKind == kind; }));
        QCOMPARE(systemCaptionShown(form), QString::fromStdString(kalvar::systemCaption(kind)));
        QVERIFY(picked->isChecked());
        QVERIFY(!form.systemAction(2)->isChecked());
        QVERIFY(form.mainPanel()->Buttons().Item(systemButton).MenuItems().Item(systemItem[kind]).Checked());
    }

    void unitSwitch_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("sub");
        QTest::addColumn<QString>("caption");
        QTest::newRow("кВт") << 1 << 2 << QStringLiteral("кВт");
        QTest::newRow("Гкал/ч") << 1 << 1 << QStringLiteral("Гкал/ч");
        QTest::newRow("л/с") << 2 << 2 << QStringLiteral("л/с");
        QTest::newRow("м3/ч") << 2 << 1 << QStringLiteral("м3/ч");
        QTest::newRow("атм") << 3 << 2 << QStringLiteral("атм");
        QTest::newRow("кПа") << 3 << 1 << QStringLiteral("кПа");
    }

    void unitSwitch() {
        QFETCH(int, item);
        QFETCH(int, sub);
        QFETCH(QString, caption);
        MainWindow& form = start();
        kalvar::Session& s = form.session();
        // First the other unit of the pair, then the one under test: both directions convert.
        QVERIFY(pickMenu(form.mainPanel(), unitsButton, item, 3 - sub));
        QVERIFY(pickMenu(form.mainPanel(), unitsButton, item, sub));

        // The same two picks on a session of the core alone.
        kalvar::Session reference;
        kalvar::startUp(reference, "");
        const ZuPanelSubItems& pair =
            form.mainPanel()->Buttons().Item(unitsButton).MenuItems().Item(item).SubItems();
        QVERIFY(kalvar::switchUnit(reference.windows, pair.Item(3 - sub).Caption().toStdString()));
        QVERIFY(kalvar::switchUnit(reference.windows, caption.toStdString()));

        QCOMPARE(pair.Item(sub).Checked(), true);
        QCOMPARE(pair.Item(3 - sub).Checked(), false);
        const kalvar::UnitSettings& units = s.windows.units;
        QCOMPARE(units.heatInGcalPerHour, reference.windows.units.heatInGcalPerHour);
        QCOMPARE(units.flowInM3PerHour, reference.windows.units.flowInM3PerHour);
        QCOMPARE(units.pressureInKPa, reference.windows.units.pressureInKPa);
        // What the boxes and unit labels show is the core's conversion.
        CalcWindowView* view = heatingView(form);
        for (const char* name : {"Text30", "Text33", "Text6", "Text7"}) {
            const kalvar::Control* expected = reference.windows.heating.find(name);
            QCOMPARE(child<QLineEdit>(view, name)->text(), QString::fromStdString(expected->text));
        }
        QCOMPARE(child<QLabel>(view, "Label57")->text(),
                 QString::fromStdString(reference.windows.heating.heatLoadUnitLabel.text));
    }

    void frameHint() {
        MainWindow& form = start();
        kalvar::Session& s = form.session();
        s.windows.heating.designationBox.visible = false;
        s.windows.hotWater.designationBox.visible = false;
        QWidget* viewport = form.mdiArea()->viewport();
        QTest::mouseMove(viewport, QPoint(viewport->width() - 5, viewport->height() - 5));
        QVERIFY(waitFor([&form] {
            return form.hintLine()->text() == QStringLiteral("Подсказка: Пластинчатый теплообменник");
        }));
        QVERIFY(s.windows.ventilation.designationBox.visible && s.windows.heating.designationBox.visible &&
                s.windows.hotWater.designationBox.visible);
    }

    void schemeCommand_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::newRow("отопление") << 2 << "Form7"
                                   << "Теплообменник";
        QTest::newRow("ГВС") << 1 << "Form7"
                             << "Теплообменник";
        QTest::newRow("параллельная") << 4 << "Form8"
                                      << "Параллельная схема";
        QTest::newRow("двухступенчатая") << 5 << "Form5"
                                         << "Смешанная схема";
        QTest::newRow("параллельная, три контура") << 6 << "Form6"
                                                   << "Параллельная схема для трех контуров";
        QTest::newRow("смешанная, три контура") << 7 << "Form6"
                                                << "Смешанная схема для трех контуров";
        QTest::newRow("смешанная с вентиляцией") << 8 << "Form6"
                                                 << "Смешанная схема с параллельной вентиляцией";
    }

    void schemeCommand() {
        QFETCH(int, kind);
        QFETCH(QString, window);
        QFETCH(QString, caption);
        MainWindow& form = start(); // no picture folder in the working or data directory
        QVERIFY(pickMenu(form.mainPanel(), systemButton, systemItem[kind]));
        // "Схема" shows once the additional results of a window have been turned off.
        CalcWindowView* view = form.view(kind == 1 ? WindowId::HotWater : WindowId::Heating);
        auto* check = child<QAbstractButton>(view, "Check1");
        QVERIFY(check);
        QTest::mouseClick(check, Qt::LeftButton);
        QVERIFY(form.additionalResultsStrip() && form.additionalResultsStrip()->isVisible());
        QTest::mouseClick(check, Qt::LeftButton);
        QVERIFY(!form.additionalResultsStrip()->isVisible());
        QVERIFY(form.mainPanel()->Buttons().Item(schemeButton).Visible());

        clickButton(form.mainPanel(), schemeButton);
        QWidget* shown = form.pictureWindow(window.toLatin1().constData());
        QVERIFY(shown);
        QVERIFY(shown->isVisible());
        QCOMPARE(shown->windowTitle(), caption);
        if (auto* form6 = qobject_cast<ThreeCircuitSchemeWindow*>(shown)) {
            QVERIFY(form6->missingLabel->isVisible());
            QCOMPARE(form6->missingLabel->text(),
                     QStringLiteral("Отствует база данных с тепловыми схемами."));
        }
        // Shutting the program down closes the picture windows with it.
        DialogAnswerer answerer; // the additional-results switch changed the task
        answerer.expect(clickCaption(QStringLiteral("Не сохранять")));
        form.close();
        QVERIFY(!shown->isVisible());
    }

    void webSiteCommand() {
        MainWindow& form = start();
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
        clickButton(form.mainPanel(), siteButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        auto* web = qobject_cast<WebPageWindow*>(form.pictureWindow("Form13"));
        QVERIFY(web);
        const QString address =
            QStringLiteral("http://") + QString::fromStdString(form.owner().ownerSite) + "/";
        QCOMPARE(web->address(), address);
        QVERIFY(web->isVisible());
        if (web->embedded()) return;
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls.first(), QUrl(address));

        // No browser opens: the window shows the address and says so.
        web->close();
        web->openExternal = [](const QUrl&) { return false; };
        clickButton(form.mainPanel(), siteButton);
        QVERIFY(web->isVisible());
        QVERIFY(web->statusLabel->isVisible());
        QVERIFY(web->statusLabel->text().startsWith(QStringLiteral("Не удалось открыть браузер.")));
        QVERIFY(web->statusLabel->text().contains(address));
    }

    void aboutCommand() {
        MainWindow& form = start();
        DialogAnswerer answerer;
        QString shown;
        answerer.expect([&shown](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (!box) return false;
            shown = box->text();
            QTest::mouseClick(buttonCaptioned(box, QStringLiteral("ОК")), Qt::LeftButton);
            return true;
        });
        clickButton(form.mainPanel(), aboutButton);
        QVERIFY(waitFor([&answerer] { return answerer.done(); }));
        QVERIFY(answerer.unexpected.isEmpty());
        // Without an owner workbook: the built-in owner, whose site is under a reserved example domain.
        QVERIFY(shown.contains(QString::fromStdString(form.owner().ownerName)));
        QVERIFY(shown.contains(QString::fromStdString(form.owner().ownerSite)));
        QVERIFY(QString::fromStdString(form.owner().ownerSite).contains(QStringLiteral("example")));
        for (WindowId id : {WindowId::Ventilation, WindowId::Heating, WindowId::HotWater})
            QCOMPARE(form.view(id)->property("Tag").toString(), QStringLiteral("2"));
    }

    void quitQuestion() {
        MainWindow& form = start();
        DialogAnswerer answerer;
        auto answer = [](const char* caption) {
            return [caption](QWidget* window) {
                auto* box = qobject_cast<QMessageBox*>(window);
                if (!box) return false;
                if (box->text() != QStringLiteral("Вы уверены, что хотите покинуть программу ?") ||
                    box->icon() != QMessageBox::Warning)
                    return false;
                QTest::mouseClick(buttonCaptioned(box, QString::fromUtf8(caption)), Qt::LeftButton);
                return true;
            };
        };
        answerer.expect(answer("Нет"));
        clickButton(form.mainPanel(), exitButton);
        QVERIFY(waitFor([&answerer] { return answerer.done(); }));
        QTest::qWait(20);
        QVERIFY(form.isVisible());

        answerer.expect(answer("Да"));
        clickButton(form.mainPanel(), exitButton);
        QVERIFY(waitFor([&form] { return !form.isVisible(); }));
        QVERIFY(answerer.unexpected.isEmpty());
    }

    // "Сохранить", "Печать" and "Сохранить PDF" in the "Данные " menu ask for the delivery terms
    // first; while they wait, the other commands are refused; closing the dialog cancels without a
    // word.
    void saveAndPrintAskTerms() {
        MainWindow& form = start();
        clickButton(form.mainPanel(), calculateButton);
        DialogAnswerer answerer;
        QStringList asked;
        bool blocked = true;
        for (int i = 0; i < 3; ++i)
            answerer.expect([&](QWidget* window) {
                if (!window->inherits("DeliveryTermsDialog")) return false;
                asked << window->objectName();
                blocked = blocked && form.commandsBlocked();
                window->close();
                return true;
            });
        QVERIFY(pickMenu(form.mainPanel(), dataButton, 1));
        QVERIFY(waitFor([&asked] { return asked.size() == 1; }));
        QVERIFY(pickMenu(form.mainPanel(), dataButton, 2));
        QVERIFY(waitFor([&asked] { return asked.size() == 2; }));
        QVERIFY(pickMenu(form.mainPanel(), dataButton, 3));
        QVERIFY(waitFor([&answerer] { return answerer.done(); }));
        QCOMPARE(asked.size(), 3);
        QVERIFY(blocked);
        QCOMPARE(answerer.unexpected, QStringList());
        QVERIFY(!form.commandsBlocked());
        QVERIFY(QDir(workDir_.path()).entryList(QDir::Files).isEmpty());
    }

    void calculateHeating() {
        MainWindow& form = start();
        clickButton(form.mainPanel(), calculateButton);
        kalvar::Session& s = form.session();
        QVERIFY(!s.windows.heating.designationBox.text.empty());
        QCOMPARE(child<QLineEdit>(heatingView(form), "Text1")->text(),
                 QString::fromStdString(s.windows.heating.designationBox.text));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        const auto cli = kalvar::runTask("{}", "");
        QCOMPARE(modelDifferences(s, cli), QStringList());
    }

    void limitDialogAnswers_data() {
        QTest::addColumn<QString>("answer");
        QTest::newRow("Несколько теплообменников") << QStringLiteral("Несколько теплообменников");
        QTest::newRow("Другой типоразмер") << QStringLiteral("Другой типоразмер");
        QTest::newRow("Продолжить") << QStringLiteral("Продолжить");
        QTest::newRow("title bar") << QString();
    }

    void limitDialogAnswers() {
        QFETCH(QString, answer);
        MainWindow& form = start();
        prepareLimitTask(form);
        if (QTest::currentTestFailed()) return;

        DialogAnswerer answerer;
        QString caption, reason;
        bool severalEnabled = false, otherEnabled = false;
        answerer.expect([&](QWidget* window) {
            auto* dialog = qobject_cast<PlateLimitDialog*>(window);
            if (!dialog) return false;
            caption = dialog->windowTitle();
            reason = dialog->reasonLabel->text();
            severalEnabled = dialog->severalButton->isEnabled();
            otherEnabled = dialog->otherSizeButton->isEnabled();
            if (answer.isEmpty())
                dialog->close();
            else
                QTest::mouseClick(buttonCaptioned(dialog, answer), Qt::LeftButton);
            return true;
        });
        clickButton(form.mainPanel(), calculateButton);
        QVERIFY(waitFor([&answerer] { return answerer.done(); }));
        // Later questions of the same calculation, if any, were closed: "Продолжить", as kalvar-cli
        // answers when its list is used up.
        const auto cli = cliLimitTask(answer.isEmpty() ? "Продолжить" : answer.toUtf8().constData());
        const auto& first = cli["limitDialogs"].at(0);
        QCOMPARE(caption, QStringLiteral("Отопление"));
        QCOMPARE(reason, QString::fromStdString(first["label"].get<std::string>()));
        QCOMPARE(severalEnabled, first["enabled"].dump().find("Несколько") != std::string::npos);
        QCOMPARE(otherEnabled, first["enabled"].dump().find("Другой") != std::string::npos);
        QCOMPARE(modelDifferences(form.session(), cli, {QStringLiteral("Form2.label54")}), QStringList());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QVERIFY(form.findChild<PlateLimitDialog*>() == nullptr);
    }

    // While the limit question waits, the calculation's inputs stay as they are and no second
    // calculation starts: "Расчет", a system, a unit and a layout pick are refused.
    void commandsRefusedDuringWait() {
        MainWindow& form = start();
        // The parallel scheme: the heating window asks while the hot-water window waits its turn.
        QVERIFY(pickMenu(form.mainPanel(), systemButton, systemItem[4]));
        prepareLimitTask(form);
        if (QTest::currentTestFailed()) return;
        kalvar::Session& s = form.session();

        // Should a refused command start a calculation after all, its question is closed so the
        // test cannot hang, and counted.
        int extraQuestions = 0;
        QTimer watchdog;
        watchdog.setInterval(20);
        connect(&watchdog, &QTimer::timeout, [&] {
            const QList<PlateLimitDialog*> open = form.findChildren<PlateLimitDialog*>();
            for (int i = 1; i < open.size(); ++i)
                if (open[i]->isVisible()) {
                    ++extraQuestions;
                    open[i]->close();
                }
        });
        watchdog.start();

        DialogAnswerer answerer;
        bool tried = false, blockedDuringWait = false;
        QStringList refusedHints;
        QStringList changed;
        answerer.expect([&](QWidget* window) {
            auto* dialog = qobject_cast<PlateLimitDialog*>(window);
            if (!dialog) return false;
            blockedDuringWait = form.commandsBlocked();
            const int kind = s.state.systemKind;
            const bool gcal = s.windows.units.heatInGcalPerHour;
            const int exchangers = s.windows.heating.exchangerCountList.listIndex;

            clickButton(form.mainPanel(), calculateButton);
            refusedHints << form.hintLine()->text();
            pickMenu(form.mainPanel(), systemButton, systemItem[1]);
            refusedHints << form.hintLine()->text();
            form.systemAction(8)->trigger();
            refusedHints << form.hintLine()->text();
            pickMenu(form.mainPanel(), unitsButton, 1, 2);
            refusedHints << form.hintLine()->text();
            pickMenu(heatingView(form)->layoutPanel(), 1, 3, 2);
            refusedHints << form.hintLine()->text();
            // The hot-water window's additional results would make it the calculating window.
            const int additional = s.windows.hotWater.showAdditionalResults.value;
            QTest::mouseClick(child<QAbstractButton>(form.view(WindowId::HotWater), "Check1"),
                              Qt::LeftButton);
            refusedHints << form.hintLine()->text();

            if (s.state.systemKind != kind || !form.systemAction(kind)->isChecked()) changed << "system";
            if (s.windows.units.heatInGcalPerHour != gcal) changed << "units";
            if (s.windows.heating.exchangerCountList.listIndex != exchangers) changed << "exchangers";
            if (s.windows.hotWater.showAdditionalResults.value != additional) changed << "additional results";
            tried = true;
            QTest::mouseClick(dialog->continueButton, Qt::LeftButton);
            return true;
        });
        clickButton(form.mainPanel(), calculateButton);
        QVERIFY(waitFor([&answerer] { return answerer.done(); }));
        QVERIFY(tried);
        QVERIFY(blockedDuringWait);
        // Not only a beep, which many desks do not sound: each refusal is said in the hint line.
        QCOMPARE(refusedHints.size(), 6);
        for (const QString& hint : refusedHints)
            QVERIFY2(hint.startsWith(QStringLiteral("Подсказка: Сначала закройте диалог")), qPrintable(hint));
        QVERIFY2(changed.isEmpty(), qPrintable(changed.join(", ")));
        QCOMPARE(extraQuestions, 0);
        QVERIFY(!form.commandsBlocked());
        // The calculation ended as if nothing had been done meanwhile: the search went on in the
        // heating window.
        const auto cli = cliLimitTask("Продолжить", 4);
        QCOMPARE(modelDifferences(s, cli, {QStringLiteral("Form2.label54")}), QStringList());
        // After the wait the commands work again.
        answerer.expect(clickCaption(QStringLiteral("Не сохранять")));
        QVERIFY(pickMenu(form.mainPanel(), systemButton, systemItem[3]));
        QCOMPARE(s.state.systemKind, 3);
        QTest::mouseClick(child<QAbstractButton>(form.view(WindowId::Ventilation), "Check1"), Qt::LeftButton);
        QCOMPARE(s.windows.ventilation.showAdditionalResults.value, 1);
    }

    // Closing the main window while the limit question waits ends the wait, lets the calculation
    // finish without asking again, and then closes.
    void closingDuringWait() {
        MainWindow& form = start();
        prepareLimitTask(form);
        if (QTest::currentTestFailed()) return;
        DialogAnswerer answerer;
        answerer.expect([&form](QWidget* window) {
            if (!qobject_cast<PlateLimitDialog*>(window)) return false;
            // Not from inside the answer: the question about the unsaved changes waits for the
            // answerer's next turn.
            QTimer::singleShot(0, &form, [&form] { form.close(); });
            return true;
        });
        answerer.expect(clickCaption(QStringLiteral("Не сохранять")));
        clickButton(form.mainPanel(), calculateButton);
        QVERIFY(waitFor([&form] { return !form.isVisible(); }));
        QVERIFY(answerer.unexpected.isEmpty());
        QVERIFY(!form.session().windows.heating.designationBox.text.empty());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    // Tab and Shift+Tab run from the calculation windows to the main panel and back, through every
    // shown window and the windows' own panels.
    void keyboardReachesMainPanel() {
        MainWindow& form = start();
        QVERIFY(pickMenu(form.mainPanel(), systemButton, systemItem[6])); // all three windows
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QLineEdit* load = child<QLineEdit>(heatingView(form), "Text30");
        load->setFocus(Qt::MouseFocusReason);
        QVERIFY(waitFor([load] { return load->hasFocus(); }));

        for (const Qt::KeyboardModifiers direction :
             {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
            QSet<ZuPanel*> panels;
            QSet<int> windows;
            int steps = 0;
            do {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, direction);
                QWidget* focus = QApplication::focusWidget();
                QVERIFY(focus);
                if (auto* panel = qobject_cast<ZuPanel*>(focus)) panels << panel;
                for (WindowId id : {WindowId::Ventilation, WindowId::Heating, WindowId::HotWater})
                    if (form.view(id)->isAncestorOf(focus)) windows << static_cast<int>(id);
            } while (QApplication::focusWidget() != load && ++steps < 500);
            QVERIFY2(QApplication::focusWidget() == load, "the chain does not come back round");
            QVERIFY(panels.contains(form.mainPanel()));
            QCOMPARE(panels.size(), 7); // the main panel and the two of each window
            QCOMPARE(windows.size(), 3);
        }

        // Right next to the main panel on either side: a control of the MDI area.
        for (const Qt::KeyboardModifiers direction :
             {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
            form.mainPanel()->setFocus(Qt::TabFocusReason);
            QTest::keyClick(form.mainPanel(), Qt::Key_Tab, direction);
            QVERIFY(form.mdiArea()->isAncestorOf(QApplication::focusWidget()));
        }
    }

    // F9 runs "Расчет" wherever the focus is in the main window, and the button's tool tip says so.
    void calculateByKey() {
        MainWindow& form = start();
        QCOMPARE(form.mainPanel()->Buttons().Item(calculateButton).shownToolTip(),
                 QStringLiteral("Расчет выбранного задания для выбранной тепловой системы (F9)"));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QLineEdit* load = child<QLineEdit>(heatingView(form), "Text30");
        load->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(load, Qt::Key_F9);
        kalvar::Session& s = form.session();
        QVERIFY(!s.windows.heating.designationBox.text.empty());
        QCOMPARE(modelDifferences(s, kalvar::runTask("{}", "")), QStringList());
        QCOMPARE(child<QLineEdit>(heatingView(form), "Text1")->text(),
                 QString::fromStdString(s.windows.heating.designationBox.text));
    }

    // A rating with no plate count: while the message is up, the box shows "?????" in red bold;
    // after it, the box is empty and plain again.
    void plateCountMarkerWhileMessageUp() {
        MainWindow& form = start();
        CalcWindowView* view = heatingView(form);
        QVERIFY(pickMenu(view->givenParameterPanel(), 1, 5)); // "Общее число пластин, n"
        QLineEdit* plates = child<QLineEdit>(view, "Text38");
        QVERIFY(plates && !plates->isReadOnly());
        typeInto(plates, QString());
        DialogAnswerer answerer;
        QString marker, message;
        bool bold = false;
        QColor colour;
        answerer.expect([&](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (!box) return false;
            marker = plates->text();
            bold = plates->font().bold();
            colour = plates->palette().color(QPalette::Text);
            message = box->text();
            box->accept();
            return true;
        });
        clickButton(form.mainPanel(), calculateButton);
        QVERIFY(waitFor([&answerer] { return answerer.done(); }));
        QVERIFY(message.contains(QStringLiteral("Не задано общее число пластин теплообменника.")));
        QCOMPARE(marker, QStringLiteral("?????"));
        QVERIFY(bold);
        QCOMPARE(colour, QColor(255, 0, 0));
        QCOMPARE(plates->text(), QString());
        QVERIFY(!plates->font().bold());
    }

    // A screen reader reads what the hint line and the panel-index label show, not a fixed name.
    void hintLabelsReadTheirText() {
        MainWindow& form = start();
        hoverButton(form.mainPanel(), calculateButton);
        for (QLabel* label : {form.hintLine(), form.panelIndexLabel()}) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(label);
            QVERIFY(face);
            QVERIFY(!label->text().isEmpty());
            QCOMPARE(face->text(QAccessible::Name), label->text());
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(form.panelIndexLabel())->text(QAccessible::Name),
                 QStringLiteral("10"));
    }

    // On a screen smaller than the strips (the offscreen screen, 800 × 600) the frame fits it,
    // and the results frame is reached by scrolling the MDI area.
    void fitsSmallScreen() {
        MainWindow::Options options;
        options.workDir = workDir_.path();
        options.dataDir = workDir_.path();
        options.decimalSeparator = QStringLiteral(".");
        form_ = std::make_unique<MainWindow>(options);
        MainWindow& form = *form_;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect screen = form.screen()->availableGeometry();
        QVERIFY2(form.width() <= screen.width() && form.height() <= screen.height(),
                 qPrintable(QStringLiteral("%1 x %2 on %3 x %4")
                                .arg(form.width())
                                .arg(form.height())
                                .arg(screen.width())
                                .arg(screen.height())));
        QWidget* viewport = form.mdiArea()->viewport();
        auto* results = child<QWidget>(heatingView(form), "Frame3");
        QVERIFY(results);
        const auto shown = [&] { return QRect(results->mapTo(viewport, QPoint(0, 0)), results->size()); };
        QVERIFY2(shown().right() >= viewport->width(), "the screen is too large to show the fault");
        QScrollBar* across = form.mdiArea()->horizontalScrollBar();
        QVERIFY(across->isVisible());
        across->setValue(across->maximum());
        QScrollBar* down = form.mdiArea()->verticalScrollBar();
        down->setValue(down->maximum());
        QCoreApplication::processEvents();
        QVERIFY2(shown().right() < viewport->width() && shown().left() >= 0,
                 qPrintable(QStringLiteral("results frame at %1..%2, viewport %3 wide")
                                .arg(shown().left())
                                .arg(shown().right())
                                .arg(viewport->width())));

        // The keyboard scrolls to the control it reaches.
        across->setValue(0);
        QCoreApplication::processEvents();
        QWidget* focus = nullptr;
        for (int i = 0; i < 200 && !(focus && results->isAncestorOf(focus)); ++i) {
            QVERIFY(form.moveFocus(true));
            focus = QApplication::focusWidget();
        }
        QVERIFY(focus && results->isAncestorOf(focus));
        const QRect reached(focus->mapTo(viewport, QPoint(0, 0)), focus->size());
        QVERIFY(viewport->rect().contains(reached));
    }

    // Every entry of a panel's design that a user can pick or click has exactly one command, under
    // the entry's design caption, and every command's key names such an entry: a design that
    // renumbers its entries cannot leave a pick running another command or none.
    void commandTablesMatchTheDesign() {
        MainWindow& form = start();
        std::vector<std::pair<int, const PanelCommands*>> tables = {{10, &form.mainPanelCommands()}};
        for (WindowId id : {WindowId::HotWater, WindowId::Heating, WindowId::Ventilation}) {
            CalcWindowView* view = form.view(id);
            for (ZuPanel* panel : {view->givenParameterPanel(), view->layoutPanel()})
                tables.emplace_back(panel->index(), &view->commandsOf(panel->index()));
        }
        QCOMPARE(tables.size(), size_t(7));
        for (const auto& [index, commands] : tables) {
            const std::unique_ptr<ZuPanel> design(ZuPanel::create(index, nullptr));
            QMap<QString, QString> entries; // key → design caption
            const auto commandEntry = [](const ZuPanelSubItem& entry) {
                return !entry.isHeading() && !entry.isSeparator();
            };
            const ZuPanelButtons& buttons = design->Buttons();
            for (int16_t b = 1; b <= buttons.Count(); ++b) {
                const ZuPanelButton& button = buttons.Item(b);
                if (!button.hasMenu()) entries.insert(QString::number(b), button.Caption());
                for (int16_t m = 1; m <= button.MenuItems().Count(); ++m) {
                    const ZuPanelMenuItem& item = button.MenuItems().Item(m);
                    if (item.SubItems().Count() == 0 && commandEntry(item))
                        entries.insert(QStringLiteral("%1.%2").arg(b).arg(m), item.Caption());
                    for (int16_t k = 1; k <= item.SubItems().Count(); ++k)
                        if (commandEntry(item.SubItems().Item(k)))
                            entries.insert(QStringLiteral("%1.%2.%3").arg(b).arg(m).arg(k),
                                           item.SubItems().Item(k).Caption());
                }
            }
            QMap<QString, QString> table;
            for (const PanelCommand& command : commands->all()) {
                QVERIFY2(!table.contains(command.key),
                         qPrintable(QStringLiteral("panel %1: key %2 twice").arg(index).arg(command.key)));
                table.insert(command.key, command.caption);
            }
            for (auto it = entries.cbegin(); it != entries.cend(); ++it)
                QVERIFY2(table.value(it.key(), QStringLiteral("(no command)")) == it.value(),
                         qPrintable(QStringLiteral("panel %1, %2 \"%3\": %4")
                                        .arg(index)
                                        .arg(it.key(), it.value(), table.value(it.key(), "(no command)"))));
            for (auto it = table.cbegin(); it != table.cend(); ++it)
                QVERIFY2(entries.contains(it.key()),
                         qPrintable(QStringLiteral("panel %1: no entry %2").arg(index).arg(it.key())));
        }
    }

    void ditherBands() {
        QCOMPARE(ditherBand(0), QColor(0, 250, 255));
        QCOMPARE(ditherBand(100), QColor(0, 250, 255));
        QCOMPARE(ditherBand(101), QColor(0, 250, 254));
        QCOMPARE(ditherBand(255), QColor(0, 250, 100));

        QWidget window;
        window.resize(60, 512);
        Dither(&window);
        QImage picture = window.grab().toImage();
        auto blueAt = [&picture](int y) { return picture.pixelColor(30, y).blue(); };
        QCOMPARE(picture.pixelColor(30, 0).green(), 250);
        QCOMPARE(blueAt(0), 255);
        QCOMPARE(blueAt(190), 255);                // band 95
        QVERIFY(qAbs(blueAt(511) - 100) <= 2);     // the last band
        QVERIFY(qAbs(blueAt(2 * 178) - 177) <= 2); // band 178: 355 − 178
        // The bands follow the window's height.
        window.resize(60, 256);
        picture = window.grab().toImage();
        QVERIFY(qAbs(blueAt(255) - 100) <= 2);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"

// Same result through both doors: a task run by kalvar-cli and the same task entered through the
// desktop's widgets — system and units picked in the main panel's menus, the given parameter and the
// layout in the windows' panels, numbers typed, media entered in the custom-medium dialog, limit
// questions answered — leave the same values in every control of the window model.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "CustomMediumDialog.h"
#include "DesktopDriver.h"
#include "PlateLimitDialog.h"
#include "task.h"

using namespace desktop;
using Json = nlohmann::ordered_json;
using kalvar::WindowId;

namespace {

constexpr int systemButton = 3, calculateButton = 4, unitsButton = 5;
constexpr int systemItem[9] = {0, 1, 2, 3, 5, 6, 8, 9, 10};

WindowId windowId(const std::string& name) {
    return name == "Form1" ? WindowId::Ventilation : name == "Form3" ? WindowId::HotWater : WindowId::Heating;
}

bool isMediumHolder(const std::string& control) {
    static const char* const holders[] = {"Text11", "Text12", "Text13", "Text14",
                                          "Text18", "Text19", "Text20", "Text21"};
    for (const char* h : holders)
        if (control == h) return true;
    return false;
}

} // namespace

class BothDoorsTest : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir workDir_;

    // Enters one window's values of the task as a user would.
    void enterWindow(MainWindow& form, const std::string& name, const Json& values,
                     DialogAnswerer& answerer) {
        CalcWindowView* view = form.view(windowId(name));
        QVERIFY(view);
        bool modeDone = false;
        for (const auto& [control, value] : values.items()) {
            const QString where = QString::fromStdString(name + "." + control);
            if (control == "Check3" || control == "Check2" || control == "Check5") {
                if (modeDone) continue;
                modeDone = true;
                // "Данные расчета": items 3, 4, 5 are Q, G2 and n.
                const int item = values.value("Check5", 0) == 1 ? 5 : values.value("Check2", 0) == 1 ? 4 : 3;
                QVERIFY2(pickMenu(view->givenParameterPanel(), 1, item), qPrintable(where));
            } else if (control == "Combo1") {
                const int index = value.get<int>();
                QVERIFY2(pickMenu(view->layoutPanel(), 1, 1, index == 5 ? 5 : index + 1), qPrintable(where));
            } else if (control == "Combo2") {
                QVERIFY2(pickMenu(view->layoutPanel(), 1, 2, value.get<int>() + 1), qPrintable(where));
            } else if (control == "Combo3") {
                QVERIFY2(pickMenu(view->layoutPanel(), 1, 3, value.get<int>() + 1), qPrintable(where));
            } else if (control == "Combo4" || control == "Combo7") {
                // "другое" opens the custom-medium dialog; its four boxes take the task's properties.
                const bool heating = control == "Combo4";
                const std::array<const char*, 4> holders =
                    heating ? std::array<const char*, 4>{"Text11", "Text12", "Text13", "Text14"}
                            : std::array<const char*, 4>{"Text18", "Text19", "Text20", "Text21"};
                std::array<QString, 4> properties;
                for (size_t i = 0; i < 4; ++i)
                    properties[i] = QString::fromStdString(values.value(holders[i], std::string()));
                if (value.get<int>() == 1)
                    answerer.expect([properties](QWidget* window) {
                        auto* dialog = qobject_cast<CustomMediumDialog*>(window);
                        if (!dialog) return false;
                        const std::array<QLineEdit*, 4> boxes = {dialog->heatCapacityBox, dialog->densityBox,
                                                                 dialog->viscosityBox,
                                                                 dialog->conductivityBox};
                        for (size_t i = 0; i < 4; ++i)
                            typeInto(boxes[i], properties[i]);
                        QTest::mouseClick(dialog->continueButton, Qt::LeftButton);
                        return true;
                    });
                auto* list = child<QComboBox>(view, control.c_str());
                QVERIFY2(list, qPrintable(where));
                chooseInList(list, value.get<int>());
                QVERIFY2(waitFor([&answerer] { return answerer.done(); }), qPrintable(where));
            } else if (isMediumHolder(control)) {
                continue; // entered in the custom-medium dialog
            } else if (value.is_number_integer()) {
                auto* list = child<QComboBox>(view, control.c_str());
                QVERIFY2(list, qPrintable(where));
                chooseInList(list, value.get<int>());
            } else {
                auto* box = child<QLineEdit>(view, control.c_str());
                QVERIFY2(box && box->isVisible() && !box->isReadOnly(), qPrintable(where));
                typeInto(box, QString::fromStdString(value.get<std::string>()));
            }
        }
    }

  private slots:
    void sameResultThroughBothDoors_data() {
        QTest::addColumn<QString>("path");
        const QDir examples(QStringLiteral(KALVAR_EXAMPLES_DIR));
        const QStringList tasks = examples.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
        QVERIFY(!tasks.isEmpty());
        for (const QString& task : tasks)
            QTest::newRow(qPrintable(task)) << examples.absoluteFilePath(task);
    }

    void sameResultThroughBothDoors() {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::string text = file.readAll().toStdString();
        const Json task = Json::parse(text);
        const Json cli = kalvar::runTask(text, workDir_.path().toStdString());

        const QString separator = QString::fromStdString(task.value("decimalSeparator", std::string(".")));
        std::unique_ptr<MainWindow> form = startProgram(workDir_.path(), separator);
        QVERIFY(form);
        DialogAnswerer answerer;

        QVERIFY(pickMenu(form->mainPanel(), systemButton, systemItem[task.value("system", 2)]));
        if (task.contains("units")) {
            for (const auto& [key, unit] : task["units"].items()) {
                const int item = key == "heat" ? 1 : key == "flow" ? 2 : 3;
                const bool first = unit == "Гкал/ч" || unit == "м3/ч" || unit == "кПа";
                QVERIFY(pickMenu(form->mainPanel(), unitsButton, item, first ? 1 : 2));
            }
        }
        if (task.contains("windows"))
            for (const auto& [name, values] : task["windows"].items()) {
                enterWindow(*form, name, values, answerer);
                if (QTest::currentTestFailed()) return;
            }

        for (const Json& answer : task.value("limitAnswers", Json::array()))
            answerer.expect([caption = QString::fromStdString(answer.get<std::string>())](QWidget* window) {
                if (!qobject_cast<PlateLimitDialog*>(window)) return false;
                return clickCaption(caption)(window);
            });
        clickButton(form->mainPanel(), calculateButton);
        QVERIFY(waitFor([&answerer] { return answerer.done(); }));

        // kalvar-cli answers the questions past its list with "Продолжить", as closing them does;
        // the message boxes are the same ones.
        QStringList cliMessages;
        for (const Json& message : cli["messages"])
            cliMessages << QString::fromStdString(message["text"].get<std::string>()).replace("\r\n", "\n");
        QStringList shownMessages;
        for (const QString& unexpected : answerer.unexpected)
            if (!unexpected.contains(QLatin1String("Form11")))
                shownMessages << unexpected.section(": ", 1, -1);
        QCOMPARE(shownMessages, cliMessages);

        // The layout summary also carries what the layout menu picks write; kalvar-cli sets the lists
        // without them.
        QStringList skip;
        const Json windows = task.value("windows", Json::object());
        for (const auto& [name, values] : windows.items())
            if (values.contains("Combo1") || values.contains("Combo2") || values.contains("Combo3"))
                skip << QString::fromStdString(name) + QStringLiteral(".label54");
        QCOMPARE(modelDifferences(form->session(), cli, skip), QStringList());
    }
};

QTEST_MAIN(BothDoorsTest)
#include "BothDoorsTest.moc"

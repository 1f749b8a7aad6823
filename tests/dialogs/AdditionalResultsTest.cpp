// The additional-results window on a started session: its two views, the pipe lists with the
// velocity the core computes for a pick, the lists chosen from the nozzle size, the valve input and
// the hints.
#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "AdditionalResultsView.h"
#include "additional_results.h"
#include "startup.h"

class AdditionalResultsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<kalvar::Session> session;
    std::unique_ptr<AdditionalResultsView> view;

    kalvar::AdditionalResultsWindow& model() { return session->windows.additionalResults; }
    QString text(const char* name) {
        auto* box = qobject_cast<QLineEdit*>(view->control(name));
        return box != nullptr ? box->text() : QString("<нет %1>").arg(name);
    }
    bool shown(const char* name) { return view->control(name)->isVisible(); }

    // The user moves the list one entry down and back up with the keyboard, which picks the
    // starting entry again.
    void pickAgain(QComboBox* list) {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Up);
    }

  private slots:
    void init() {
        session = std::make_unique<kalvar::Session>();
        kalvar::startUp(*session, QDir::tempPath().toStdString());
        session->windows.heating.heatingFlow.text = "2,5";
        session->windows.heating.heatedFlow.text = "1,0";
        view = std::make_unique<AdditionalResultsView>(*session, nullptr);
        model().ensureLoaded();
        view->refresh();
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    }
    void cleanup() {
        view.reset();
        session.reset();
    }

    void listsHoldTheEightBoresWithTwentyFiveSelected() {
        for (QComboBox* list : {view->heatingBoreList, view->heatedBoreList}) {
            QCOMPARE(list->count(), 8);
            QCOMPARE(list->itemText(0), QString("20"));
            QCOMPARE(list->itemText(7), QString("100"));
            QCOMPARE(list->currentText(), QString("25"));
        }
    }

    // The velocity of a pipe pick comes from the flow `currentWindow` shows, in the flow unit in force.
    void pipeVelocityOfAPick_data() {
        QTest::addColumn<QString>("flow");
        QTest::addColumn<bool>("cubicMetresPerHour");
        QTest::addColumn<QString>("velocity");
        QTest::newRow("1,0 m3/h") << "1,0" << true << "0.57";
        QTest::newRow("1,0 l/s") << "1,0" << false << "2.04";
        QTest::newRow("1.0 with a point") << "1.0" << true << "0.57";
        QTest::newRow("empty keeps") << "" << true << "old";
        QTest::newRow("zero keeps") << "0" << true << "old";
        QTest::newRow("negative keeps") << "-1" << true << "old";
        QTest::newRow("not a number keeps") << "нет" << true << "old";
    }
    void pipeVelocityOfAPick() {
        QFETCH(QString, flow);
        QFETCH(bool, cubicMetresPerHour);
        QFETCH(QString, velocity);
        session->windows.units.flowInM3PerHour = cubicMetresPerHour;
        session->windows.heating.heatedFlow.text = flow.toStdString();
        model().heatedPipeVelocity.text = "old";
        view->refresh();
        pickAgain(view->heatedBoreList);
        QCOMPARE(view->heatedBoreList->currentText(), QString("25"));
        QCOMPARE(text("Text46"), velocity);
        QCOMPARE(QString::fromStdString(model().heatedPipeVelocity.text), velocity);
    }

    // Each side takes its own flow: the heating list the shown heating flow, not the heated one.
    void heatingListUsesTheHeatingFlow() {
        pickAgain(view->heatingBoreList);
        QCOMPARE(text("Text45"), QString("1.41")); // 2,5 m3/h in a 25 mm pipe
    }

    // A pick while the window shows another window's results uses the flows of `currentWindow`, the
    // window that filled it last.
    void pickUsesTheWindowThatFilledItLast() {
        session->windows.hotWater.heatedFlow.text = "2,0";
        kalvar::fillAdditionalResults(*session, session->windows.hotWater);
        view->refresh();
        pickAgain(view->heatedBoreList);
        QCOMPARE(text("Text46"), QString("1.13"));
    }

    // Filling the window selects both lists from the nozzle size; other sizes leave them.
    void nozzleSizeSelectsThePipes_data() {
        QTest::addColumn<QString>("nozzle");
        QTest::addColumn<QString>("bore");
        QTest::newRow("1 дюйм") << "1 дюйм"
                                << "25";
        QTest::newRow("50 мм") << "50 мм"
                               << "50";
        QTest::newRow("80 мм") << "80 мм"
                               << "80";
        QTest::newRow("other keeps the pick") << "65 мм"
                                              << "32";
    }
    void nozzleSizeSelectsThePipes() {
        QFETCH(QString, nozzle);
        QFETCH(QString, bore);
        for (QComboBox* list : {view->heatingBoreList, view->heatedBoreList}) {
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Down); // the user picks "32"
        }
        session->windows.heating.nozzleSize.text = nozzle.toStdString();
        kalvar::fillAdditionalResults(*session, session->windows.heating);
        view->refresh();
        QCOMPARE(view->heatingBoreList->currentText(), bore);
        QCOMPARE(view->heatedBoreList->currentText(), bore);
        QCOMPARE(text("Text58"), nozzle);
    }

    // The two views: what each shows, the window colour and which button is bold; the texts survive
    // a round trip.
    void switchingViews() {
        session->windows.heating.valveFlowCapacity.text = "6,3";
        session->windows.heating.heatingHeatCapacity.text = "4190";
        kalvar::fillAdditionalResults(*session, session->windows.heating);
        view->refresh();

        QTest::mouseClick(view->thermophysicalButton, Qt::LeftButton);
        for (const char* hidden : {"Frame1", "Frame2", "Image1", "Label5", "Text43", "Text58", "Text50"})
            QVERIFY2(!shown(hidden), hidden);
        for (const char* visible : {"Text11", "Text16", "Text23", "Text24"})
            QVERIFY2(shown(visible), visible);
        QVERIFY(!shown("Text42"));
        QCOMPARE(view->palette().color(QPalette::Window), QColor(255, 255, 128));
        QVERIFY(view->thermophysicalButton->font().bold());
        QVERIFY(!view->geometricButton->font().bold());
        QCOMPARE(text("Text11"), QString("4190"));

        QTest::mouseClick(view->geometricButton, Qt::LeftButton);
        for (const char* visible :
             {"Frame1", "Frame2", "Image1", "Text43", "Text44", "Text58", "Text50", "Text2"})
            QVERIFY2(shown(visible), visible);
        QVERIFY(!shown("Text11"));
        QVERIFY(!shown("Text42"));
        QCOMPARE(view->palette().color(QPalette::Window), QColor(128, 255, 255));
        QVERIFY(view->geometricButton->font().bold());
        QVERIFY(!view->thermophysicalButton->font().bold());
        QVERIFY(view->geometricButton->hasFocus());
        QCOMPARE(text("Text9"), QString("6,3"));
    }

    // The valve's pressure drop is the one input: typed number characters go into the model, others
    // are swallowed; the result boxes cannot be typed into.
    void valveInput() {
        view->valvePressureDropBox->clear();
        QTest::keyClicks(view->valvePressureDropBox, "1a5-0,5 ");
        QCOMPARE(view->valvePressureDropBox->text(), QString("150,5"));
        QCOMPARE(model().valvePressureDrop.text, std::string("150,5"));
        auto* kv = qobject_cast<QLineEdit*>(view->control("Text9"));
        QTest::keyClicks(kv, "7");
        QCOMPARE(kv->text(), QString());
        QVERIFY(model().valveFlowCapacity.text.empty());
    }

    // Pasted text is cleaned before it reaches the model, so the box and the calculation agree.
    void pastedValveDropKeepsOnlyNumberCharacters() {
        view->valvePressureDropBox->setFocus();
        view->valvePressureDropBox->clear();
        QGuiApplication::clipboard()->setText("a5-2,5");
        QTest::keyClick(view->valvePressureDropBox, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(view->valvePressureDropBox->text(), QString("52,5"));
        QCOMPARE(model().valvePressureDrop.text, std::string("52,5"));
    }

    // The drawing's legend is shown line by line, as the core joins it with carriage returns.
    void legendLines() {
        session->windows.heating.connectionLegend.text = "1.Вход греющей среды.\r2.Выход греющей среды.";
        kalvar::fillAdditionalResults(*session, session->windows.heating);
        view->refresh();
        QCOMPARE(view->legendLabel->text(), QString("1.Вход греющей среды.\n2.Выход греющей среды."));
    }

    void pointerOverBoxesGivesHints_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("hint");
        QTest::newRow("Text43")
            << "Text43"
            << "Подсказка: Площадь поперечного сечения канала пластинчатого теплообменника";
        QTest::newRow("Text44") << "Text44"
                                << "Подсказка: Площадь поверхности теплобмена между средами пластины "
                                   "пластинчатого теплообменника";
        QTest::newRow("Text58")
            << "Text58"
            << "Подсказка: Внутренний диаметр фланца (или патрубка), обеспечивакющих подвод и "
               "отвод теплоносителей к пластинчатому теплообменнику";
    }
    void pointerOverBoxesGivesHints() {
        QFETCH(QString, box);
        QFETCH(QString, hint);
        QSignalSpy hints(view.get(), &AdditionalResultsView::hint);
        QTest::mouseMove(view->geometricButton);
        QTest::mouseMove(view->control(box));
        QVERIFY(!hints.isEmpty());
        QCOMPARE(hints.last().at(0).toString(), hint);
        QCOMPARE(view->control(box)->accessibleDescription(), hint);
    }

    void accessibleNamesCarryTheUnits() {
        QCOMPARE(view->heatingBoreList->accessibleName(), QString("Dу греющего потока, мм"));
        QCOMPARE(view->valvePressureDropBox->accessibleName(), QString("ΔP на клапане, кПа"));
        model().valvePressureDropUnitLabel.text = "атм";
        view->refresh();
        QCOMPARE(view->valvePressureDropBox->accessibleName(), QString("ΔP на клапане, атм"));
    }

    // Screen readers know the bore lists by their row, column and unit, not by the bore they show.
    void pipeListsAreNamedByTheirLabels_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("column");
        QTest::newRow("heating") << "Combo5"
                                 << "Dу греющего потока, мм"
                                 << "греющий";
        QTest::newRow("heated") << "Combo6"
                                << "Dу нагреваемого потока, мм"
                                << "нагреваемый";
    }
    void pipeListsAreNamedByTheirLabels() {
        QFETCH(QString, list);
        QFETCH(QString, name);
        QFETCH(QString, column);
        auto* combo = qobject_cast<QComboBox*>(view->control(list));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(combo);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QCOMPARE(iface->text(QAccessible::Value), QString("25"));
        QStringList labels;
        for (const auto& [label, relation] : iface->relations(QAccessible::Label))
            labels << label->text(QAccessible::Name);
        // The group box around them names them too.
        for (const QString& label : {QString("Dу="), column, QString("мм")})
            QVERIFY2(labels.contains(label), qPrintable(label));
    }

    // The heat-transfer coefficient is in W/(m²·°C), the value the core writes; the heading names
    // the exchanger correctly.
    void textsOfTheWindow() {
        QStringList texts;
        for (QLabel* label : view->findChildren<QLabel*>())
            texts << label->text();
        QVERIFY(texts.contains("Коэффициент теплоотдачи, Вт/(м2°С)"));
        QVERIFY(texts.contains("Параметры теплообменника"));
        QCOMPARE(texts.filter("кДж").size(), 0);
        QCOMPARE(view->control("Text16")->accessibleName(),
                 QString("Коэффициент теплоотдачи греющего, Вт/(м2°С)"));
    }
};

QTEST_MAIN(AdditionalResultsTest)
#include "AdditionalResultsTest.moc"

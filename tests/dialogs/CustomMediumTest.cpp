// The custom medium dialog: its keystroke filter and the exchange with a calculation window.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "CustomMediumDialog.h"
#include "DialogWait.h"

using Properties = std::array<std::string, 4>;

class CustomMediumTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QWidget> mainWindow;
    CustomMediumDialog* dialog = nullptr;

    // Runs `user` on the shown dialog while exchange() waits.
    void exchange(Properties& properties, std::function<void()> user) {
        QTimer::singleShot(0, dialog, [this, user] {
            QVERIFY(dialog->isVisible());
            user();
        });
        dialog->exchange(properties);
    }

    void press() { QTest::mouseClick(dialog->continueButton, Qt::LeftButton); }

  private slots:
    void init() {
        mainWindow = std::make_unique<QWidget>();
        mainWindow->show();
        dialog = new CustomMediumDialog(mainWindow.get());
    }
    void cleanup() { mainWindow.reset(); }

    void keystrokeFilter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("digits and both separators") << "4190,5.2"
                                                    << "4190,5.2";
        QTest::newRow("letters, minus, blank dropped") << "1a2- 3е"
                                                       << "123";
        QTest::newRow("exponent dropped") << "1e3"
                                          << "13";
        QTest::newRow("two decimal points kept as typed") << "1.2.3"
                                                          << "1.2.3";
    }
    void keystrokeFilter() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        for (QLineEdit* box :
             {dialog->heatCapacityBox, dialog->densityBox, dialog->viscosityBox, dialog->conductivityBox}) {
            box->clear();
            // Typed one character at a time, Cyrillic letters included.
            for (QChar c : typed)
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QCOMPARE(box->text(), shown);
        }
    }

    void controlKeysPass() {
        QLineEdit* box = dialog->viscosityBox;
        QTest::keyClicks(box, "0,89");
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QString("0,8"));
        QSignalSpy enter(box, &QLineEdit::returnPressed);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(enter.count(), 1);
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QString(",8"));
    }

    // Pasted text keeps only what could have been typed.
    void pasteKeepsOnlyNumberCharacters() {
        QLineEdit* box = dialog->heatCapacityBox;
        QTest::keyClicks(box, "41");
        QApplication::clipboard()->setText("9x0 Дж");
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QString("4190"));
    }

    // The window's four values go in, the user's edits come back, "Продолжить" is released and the
    // dialog hidden.
    void exchangeCopiesInAndOut() {
        Properties properties{"4190", "998,2", "1,004", "0,599"};
        QStringList shown;
        exchange(properties, [&] {
            for (QLineEdit* box :
                 {dialog->heatCapacityBox, dialog->densityBox, dialog->viscosityBox, dialog->conductivityBox})
                shown << box->text();
            dialog->densityBox->selectAll();
            QTest::keyClicks(dialog->densityBox, "1050");
            press();
        });
        QCOMPARE(shown, QStringList({"4190", "998,2", "1,004", "0,599"}));
        QCOMPARE(properties, (Properties{"4190", "1050", "1,004", "0,599"}));
        QVERIFY(!dialog->isVisible());
        QVERIFY(!dialog->continueButton->isChecked());
    }

    // Before any calculation the window's boxes are empty: the dialog opens empty, and pressing at
    // once hands back empty texts for the caller's message.
    void emptyValuesComeBackEmpty() {
        Properties properties{"", "", "", ""};
        exchange(properties, [&] { press(); });
        QCOMPARE(properties, (Properties{"", "", "", ""}));
    }

    // Each use shows the caller's values, not what was typed at the previous use for the other side.
    void eachUseShowsItsOwnSide() {
        Properties heating{"4190", "998,2", "1,004", "0,599"};
        exchange(heating, [&] {
            dialog->heatCapacityBox->clear();
            QTest::keyClicks(dialog->heatCapacityBox, "3500");
            press();
        });
        Properties heated{"2000", "850", "3,5", "0,14"};
        QString shown;
        exchange(heated, [&] {
            shown = dialog->heatCapacityBox->text();
            press();
        });
        QCOMPARE(shown, QString("2000"));
        QCOMPARE(heating[0], std::string("3500"));
    }

    // Closing by the title bar or Escape counts as "Продолжить": the texts come back and nothing waits.
    void closingCountsAsProceed_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("title bar") << false;
        QTest::newRow("Escape") << true;
    }
    void closingCountsAsProceed() {
        QFETCH(bool, escape);
        Properties properties{"1", "2", "3", ""};
        exchange(properties, [&] {
            QTest::keyClicks(dialog->conductivityBox, "4");
            if (escape)
                QTest::keyClick(dialog->conductivityBox, Qt::Key_Escape);
            else
                dialog->close();
        });
        QCOMPARE(properties, (Properties{"1", "2", "3", "4"}));
        QVERIFY(!dialog->isVisible());
        QVERIFY(!dialog->continueButton->isChecked());
    }

    // Other windows stay usable during the wait, so a second window may ask while the first waits.
    // Each gets its own values and keeps its own edits, and the dialog counts as waited on (the main
    // window refuses its commands) until the outer exchange ends too.
    void askingWhileAnotherWaits() {
        Properties heating{"4190", "998", "1", "0,6"};
        Properties heated{"2000", "850", "3,5", "0,14"};
        QString outerShownAgain;
        bool outerStillWaiting = false;
        exchange(heating, [&] {
            QTest::keyClicks(dialog->viscosityBox, "5"); // heating viscosity "15"
            QTimer::singleShot(0, dialog, [&] {
                dialog->heatCapacityBox->clear();
                QTest::keyClicks(dialog->heatCapacityBox, "2100");
                press(); // confirms the inner (heated side) exchange
                QTimer::singleShot(0, dialog, [&] {
                    outerShownAgain = dialog->heatCapacityBox->text();
                    outerStillWaiting = DialogWait::isWaiting(dialog);
                    press();
                });
            });
            dialog->exchange(heated);
        });
        QCOMPARE(heated, (Properties{"2100", "850", "3,5", "0,14"}));
        QCOMPARE(outerShownAgain, QString("4190"));
        QVERIFY(outerStillWaiting);
        QVERIFY(!DialogWait::isWaiting(dialog));
        QCOMPARE(heating, (Properties{"4190", "998", "15", "0,6"}));
        QVERIFY(!dialog->isVisible());
    }

    // A dialog that goes with its main window during the wait ends the wait; the caller's texts stay.
    void dialogGoingAwayEndsTheWait() {
        Properties properties{"1", "2", "3", "4"};
        exchange(properties, [&] {
            QTest::keyClicks(dialog->heatCapacityBox, "9");
            mainWindow.reset();
        });
        QCOMPARE(properties, (Properties{"1", "2", "3", "4"}));
    }
};

QTEST_MAIN(CustomMediumTest)
#include "CustomMediumTest.moc"

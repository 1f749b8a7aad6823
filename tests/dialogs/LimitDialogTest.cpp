// The plate-count limit dialog as the sizing search meets it: a fresh dialog per question, the
// answers the user presses, the disabled ones, and the ways of closing it.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "PlateLimitDialog.h"
#include "messages.h"

using kalvar::LimitDialogAnswers;
using kalvar::LimitDialogRequest;

namespace {

LimitDialogRequest request(bool severalEnabled = true, bool otherSizeEnabled = true) {
    LimitDialogRequest r;
    r.caption = "Отопление";
    r.label = kalvar::messages::nozzleLimitLabel;
    r.severalEnabled = severalEnabled;
    r.otherSizeEnabled = otherSizeEnabled;
    return r;
}

QPushButton* answerButton(PlateLimitDialog* dialog, int answer) {
    return answer == 1   ? dialog->severalButton
           : answer == 2 ? dialog->otherSizeButton
                         : dialog->continueButton;
}

} // namespace

class LimitDialogTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QWidget> mainWindow;

    // Runs `user` on the dialog once it is shown, while askLimitDialog waits for it.
    LimitDialogAnswers ask(const LimitDialogRequest& r, std::function<void(PlateLimitDialog*)> user) {
        QTimer::singleShot(0, mainWindow.get(), [this, user] {
            auto* dialog = mainWindow->findChild<PlateLimitDialog*>();
            QVERIFY(dialog != nullptr);
            QVERIFY(dialog->isVisible());
            user(dialog);
        });
        return askLimitDialog(r, mainWindow.get());
    }

  private slots:
    void init() {
        mainWindow = std::make_unique<QWidget>();
        mainWindow->resize(400, 300);
        mainWindow->show();
    }
    void cleanup() { mainWindow.reset(); }

    void eachAnswerIsReturnedAlone_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("Несколько теплообменников") << 1;
        QTest::newRow("Другой типоразмер") << 2;
        QTest::newRow("Продолжить") << 3;
    }
    void eachAnswerIsReturnedAlone() {
        QFETCH(int, answer);
        const LimitDialogAnswers got = ask(request(), [answer](PlateLimitDialog* dialog) {
            QTest::mouseClick(answerButton(dialog, answer), Qt::LeftButton);
        });
        QCOMPARE(got.several, answer == 1);
        QCOMPARE(got.otherSize, answer == 2);
        QCOMPARE(got.proceed, answer == 3);
    }

    void showsTheCaptionAndReasonOfTheRequest() {
        LimitDialogRequest r = request();
        r.caption = ""; // the ventilation window has no caption
        QString caption = "?", reason;
        ask(r, [&](PlateLimitDialog* dialog) {
            caption = dialog->windowTitle();
            reason = dialog->reasonLabel->text();
            QTest::mouseClick(dialog->continueButton, Qt::LeftButton);
        });
        QCOMPARE(caption, QString());
        QCOMPARE(reason, QString("Слишком большая скорость в патрубке теплообменника"));
    }

    // At the end of the automatic search with eight exchangers only "Продолжить" can be pressed:
    // clicks on the other two change nothing and the dialog keeps waiting.
    void disabledAnswersCannotBePicked() {
        bool stillWaiting = false;
        const LimitDialogAnswers got = ask(request(false, false), [&](PlateLimitDialog* dialog) {
            QVERIFY(!dialog->severalButton->isEnabled());
            QVERIFY(!dialog->otherSizeButton->isEnabled());
            QTest::mouseClick(dialog->severalButton, Qt::LeftButton);
            QTest::mouseClick(dialog->otherSizeButton, Qt::LeftButton);
            QApplication::processEvents();
            stillWaiting = dialog->isVisible();
            QTest::mouseClick(dialog->continueButton, Qt::LeftButton);
        });
        QVERIFY(stillWaiting);
        QVERIFY(!got.several);
        QVERIFY(!got.otherSize);
        QVERIFY(got.proceed);
    }

    // Closing by the title bar (a close request from the window system) or by Escape never leaves the
    // search waiting: it counts as "Продолжить".
    void closingCountsAsProceed_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("title bar") << false;
        QTest::newRow("Escape") << true;
    }
    void closingCountsAsProceed() {
        QFETCH(bool, escape);
        const LimitDialogAnswers got = ask(request(), [escape](PlateLimitDialog* dialog) {
            if (escape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->close();
        });
        QVERIFY(!got.several);
        QVERIFY(!got.otherSize);
        QVERIFY(got.proceed);
    }

    // Two answers pressed before the wait looks at them are both returned.
    void answersPressedTogetherAreAllReturned() {
        const LimitDialogAnswers got = ask(request(), [](PlateLimitDialog* dialog) {
            for (QPushButton* button : {dialog->severalButton, dialog->otherSizeButton}) {
                const QPoint centre = button->rect().center();
                QCoreApplication::postEvent(
                    button, new QMouseEvent(QEvent::MouseButtonPress, centre, button->mapToGlobal(centre),
                                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
                QCoreApplication::postEvent(
                    button, new QMouseEvent(QEvent::MouseButtonRelease, centre, button->mapToGlobal(centre),
                                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
            }
        });
        QVERIFY(got.several);
        QVERIFY(got.otherSize);
        QVERIFY(!got.proceed);
    }

    // The dialog is released after each question; the next one starts with nothing pressed.
    void eachQuestionGetsAFreshDialog() {
        ask(request(),
            [](PlateLimitDialog* dialog) { QTest::mouseClick(dialog->severalButton, Qt::LeftButton); });
        QApplication::processEvents();
        QVERIFY(mainWindow->findChild<PlateLimitDialog*>() == nullptr);
        bool nothingPressed = false;
        ask(request(), [&](PlateLimitDialog* dialog) {
            nothingPressed = !dialog->severalButton->isChecked() && !dialog->otherSizeButton->isChecked() &&
                             !dialog->continueButton->isChecked();
            QTest::mouseClick(dialog->otherSizeButton, Qt::LeftButton);
        });
        QVERIFY(nothingPressed);
    }

    // A dialog that goes with its main window during the wait ends the wait instead of hanging it.
    void parentGoingAwayEndsTheWait() {
        QWidget* owner = mainWindow.release();
        const LimitDialogAnswers got = [&] {
            QTimer::singleShot(0, [owner] { delete owner; });
            return askLimitDialog(request(), owner);
        }();
        QVERIFY(got.proceed);
    }
};

QTEST_MAIN(LimitDialogTest)
#include "LimitDialogTest.moc"

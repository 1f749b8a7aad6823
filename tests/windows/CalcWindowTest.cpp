#include <QtTest>

#include "WindowsHarness.h"

class CalcWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void startUpState();
};

void CalcWindowTest::startUpState() {
    HarnessWindow h;
    QCOMPARE(h.session_.windows.Form2.Check3.value, 1);
}

QTEST_MAIN(CalcWindowTest)
#include "CalcWindowTest.moc"

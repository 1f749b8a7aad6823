// Screenshots of the button panels for a visual check: the main panel with the "Размерность" menu and a
// sub-menu open, the main panel with the keyboard focus on a button, and the two panels of a calculation
// window side by side, in a strip 30 pixels high.
// Usage: panel_shots OUTPUT_DIR SUFFIX (run once at QT_SCALE_FACTOR=1 and once at 2).
#include "ZuPanel.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTest>

namespace {

QImage grabWithPopups(QWidget* window, const QList<QWidget*>& popups) {
    // The window and its open popups, composed on one image in screen coordinates.
    QRect area = window->frameGeometry();
    for (QWidget* popup : popups)
        area |= popup->geometry();
    const qreal ratio = window->devicePixelRatioF();
    QImage image((area.size() * ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(90, 90, 90));
    QPainter painter(&image);
    painter.drawPixmap(window->geometry().topLeft() - area.topLeft(), window->grab());
    for (QWidget* popup : popups)
        painter.drawPixmap(popup->geometry().topLeft() - area.topLeft(), popup->grab());
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("out");
    const QString suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("100");
    QDir().mkpath(dir);

    QWidget main;
    main.setWindowTitle(QStringLiteral("Главная панель"));
    auto* mainLayout = new QVBoxLayout(&main);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    ZuPanel* panel = ZuPanel::create(10, &main);
    mainLayout->addWidget(panel);
    mainLayout->addStretch();
    main.resize(panel->sizeHint().width() + 40, 260);
    main.move(20, 20);
    main.show();
    (void)QTest::qWaitForWindowExposed(&main);

    // Pointer over "Система", then "Размерность" opened with its first sub-menu.
    QTest::mouseMove(panel, panel->buttonRect(3).center());
    QTest::qWait(50);
    main.grab().save(dir + QStringLiteral("/panel-main-hover-%1.png").arg(suffix));
    QTest::mouseMove(panel, panel->buttonRect(5).center());
    QTest::mousePress(panel, Qt::LeftButton, {}, panel->buttonRect(5).center());
    QTest::qWait(100);
    QMenu* menu = panel->openMenu();
    QList<QWidget*> popups;
    if (menu) {
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Right);
        QTest::qWait(100);
        popups.append(menu);
        for (QMenu* sub : menu->findChildren<QMenu*>())
            if (sub->isVisible()) popups.append(sub);
    }
    grabWithPopups(&main, popups).save(dir + QStringLiteral("/panel-main-menu-%1.png").arg(suffix));
    if (menu) menu->close();
    QTest::qWait(50);

    // "Система" menu.
    QTest::mousePress(panel, Qt::LeftButton, {}, panel->buttonRect(3).center());
    QTest::qWait(100);
    if (QMenu* system = panel->openMenu()) {
        grabWithPopups(&main, {system}).save(dir + QStringLiteral("/panel-main-system-%1.png").arg(suffix));
        system->close();
    }

    // The keyboard on the main panel: focus brought by Tab, moved to "Система" by the arrows.
    main.activateWindow();
    (void)QTest::qWaitForWindowActive(&main);
    QTest::mouseMove(panel, QPoint(1, 1));
    panel->setFocus(Qt::TabFocusReason);
    QTest::keyClick(panel, Qt::Key_Right);
    QTest::keyClick(panel, Qt::Key_Right);
    QTest::qWait(50);
    main.grab().save(dir + QStringLiteral("/panel-main-focus-%1.png").arg(suffix));
    QTest::keyClick(panel, Qt::Key_Right); // "Расчет", a button without a menu
    QTest::qWait(50);
    main.grab().save(dir + QStringLiteral("/panel-main-focus-plain-%1.png").arg(suffix));
    panel->clearFocus();

    // A calculation window's strip: the two panels side by side, 30 pixels high, one with its menu open.
    QWidget strip;
    strip.setWindowTitle(QStringLiteral("Отопление"));
    strip.setStyleSheet(QStringLiteral("background: rgb(240, 240, 240)"));
    auto* row = new QHBoxLayout(&strip);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    ZuPanel* data = ZuPanel::create(3, &strip);
    ZuPanel* layout = ZuPanel::create(4, &strip);
    row->addWidget(data);
    row->addWidget(layout);
    row->addStretch();
    strip.resize(420, 30);
    strip.move(20, 400);
    strip.show();
    (void)QTest::qWaitForWindowExposed(&strip);
    strip.grab().save(dir + QStringLiteral("/panel-calc-%1.png").arg(suffix));
    // The keyboard on the layout panel, Tab having gone through the data panel.
    strip.activateWindow();
    (void)QTest::qWaitForWindowActive(&strip);
    layout->setFocus(Qt::TabFocusReason);
    QTest::qWait(50);
    strip.grab().save(dir + QStringLiteral("/panel-calc-focus-%1.png").arg(suffix));
    layout->clearFocus();
    QTest::mouseMove(data, data->buttonRect(1).center());
    QTest::mousePress(data, Qt::LeftButton, {}, data->buttonRect(1).center());
    QTest::qWait(100);
    if (QMenu* open = data->openMenu()) {
        grabWithPopups(&strip, {open}).save(dir + QStringLiteral("/panel-calc-menu-%1.png").arg(suffix));
        open->close();
    }
    // The layout panel's "Тип" sub-menu, with its disabled series.
    QTest::mouseMove(layout, layout->buttonRect(1).center());
    QTest::mousePress(layout, Qt::LeftButton, {}, layout->buttonRect(1).center());
    QTest::qWait(100);
    if (QMenu* open = layout->openMenu()) {
        QTest::keyClick(open, Qt::Key_Down);
        QTest::keyClick(open, Qt::Key_Right);
        QTest::qWait(100);
        QList<QWidget*> shown{open};
        for (QMenu* sub : open->findChildren<QMenu*>())
            if (sub->isVisible()) shown.append(sub);
        grabWithPopups(&strip, shown).save(dir + QStringLiteral("/panel-calc-layout-%1.png").arg(suffix));
        open->close();
    }
    QTest::mouseMove(layout, QPoint(1, 1));
    QTest::mouseMove(layout, layout->buttonRect(1).center());
    QTest::qWait(900);
    QList<QWidget*> tips;
    if (QWidget* tip = layout->toolTipWindow()) tips.append(tip);
    grabWithPopups(&strip, tips).save(dir + QStringLiteral("/panel-calc-tooltip-%1.png").arg(suffix));
    return 0;
}

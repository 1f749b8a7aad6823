#include "WindowsHarness.h"

#include <QStatusBar>
#include <QToolBar>

#include "Form12View.h"
#include "Twips.h"
#include "ZuPanel.h"
#include "additional_results.h"
#include "calculator.h"
#include "unit_switch.h"

using kalvar::WindowId;

HarnessWindow::HarnessWindow() {
    kalvar::startUp(session_, ".");
    setWindowTitle(QString::fromStdString(session_.windows.mainCaption));

    auto* bar = new QToolBar(this);
    bar->setMovable(false);
    main = ZuPanel::create(10, bar);
    bar->addWidget(main);
    addToolBar(bar);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    statusBar()->addWidget(Label1, 1);
    statusBar()->addPermanentWidget(Label2);

    area = new QMdiArea(this);
    setCentralWidget(area);
    views = CalcWindowView::createAll(*this);
    for (size_t i = 0; i < 3; ++i) {
        subs[i] = area->addSubWindow(views[i]);
        subs[i]->setWindowTitle(views[i]->windowTitle());
    }
    form12 = new Form12View(session_, nullptr);
    form12Sub = area->addSubWindow(form12);
    form12Sub->hide();

    // The main panel: hovering makes it the panel of the next command; its picks reach an open
    // calculation window.
    connect(main, &ZuPanel::ButtonEnter, this, [this](int index, ZuPanelButton* button) {
        setHint(QStringLiteral("Кнопка: ") + button->Caption() + QStringLiteral(" Подсказка: ") +
                button->ToolTipText());
        setPanelIndexText(QStringLiteral(" %1").arg(index));
        session_.state.ACP = static_cast<int16_t>(index);
    });
    connect(main, &ZuPanel::MenuClick, this,
            [this](int index, int indexMenu, const QString& caption, const QString& key, const QString& link,
                   const QString& toolTip, const QPixmap& toolPicture, const QPixmap& captionPicture) {
                for (CalcWindowView* v : {views[1], views[0], views[2]})
                    if (v->model().visible) {
                        v->MenuClick(index, indexMenu, caption, key, link, toolTip, toolPicture,
                                     captionPicture);
                        return;
                    }
            });
    connect(main, &ZuPanel::ButtonClick, this, [this](int, ZuPanelButton* button) {
        if (button->Caption() == QStringLiteral("Расчет")) calculate();
        main->EndCommand();
    });
    form12->hide();
    selectSystem(kalvar::heatingSystem);
}

HarnessWindow::~HarnessWindow() {
    // The windows go before the session they show.
    delete area;
}

CalcWindowView* HarnessWindow::view(WindowId id) const {
    return id == WindowId::HotWater ? views[0] : id == WindowId::Heating ? views[1] : views[2];
}

QMdiSubWindow* HarnessWindow::subWindow(WindowId id) const {
    return id == WindowId::HotWater ? subs[0] : id == WindowId::Heating ? subs[1] : subs[2];
}

void HarnessWindow::selectSystem(int kind) {
    calls << QStringLiteral("selectSystem %1").arg(kind);
    kalvar::selectSystem(session_, kind);
    ZuPanelMenuItems& systems = main->Buttons().Item(3).MenuItems();
    static constexpr int itemOfKind[] = {0, 1, 2, 3, 5, 6, 8, 9, 10};
    for (int k = 1; k <= 8; ++k)
        systems.Item(static_cast<int16_t>(itemOfKind[k])).setChecked(k == kind);
    for (size_t i = 0; i < 3; ++i) {
        const int width = std::max(area->viewport()->width(), subs[i]->minimumSizeHint().width());
        subs[i]->resize(width, twipsToPixels(CalcWindowView::stripHeightTwips, this));
        subs[i]->setVisible(views[i]->model().visible);
    }
    setWindowTitle(QString::fromStdString(session_.windows.mainCaption));
    for (CalcWindowView* v : views)
        v->refresh();
}

void HarnessWindow::switchUnit(const QString& caption) {
    calls << QStringLiteral("switchUnit ") + caption;
    kalvar::WindowSet& windows = session_.windows;
    kalvar::switchUnit(windows, caption.toStdString());
    ZuPanelMenuItems& units = main->Buttons().Item(5).MenuItems();
    const bool first[] = {windows.units.heatInGcalPerHour, windows.units.flowInM3PerHour,
                          windows.units.pressureInKPa};
    for (int m = 0; m < 3; ++m) {
        units.Item(static_cast<int16_t>(m + 1)).SubItems().Item(1).setChecked(first[m]);
        units.Item(static_cast<int16_t>(m + 1)).SubItems().Item(2).setChecked(!first[m]);
    }
    form12->refresh();
}

void HarnessWindow::showAdditionalResults(kalvar::CalcWindow& window) {
    calls << QStringLiteral("showAdditionalResults ") + QString::fromStdString(window.name);
    form12->refresh();
    form12Sub->setGeometry(0, twipsToPixels(2450, this), area->viewport()->width(),
                           twipsToPixels(4900, this));
    form12Sub->show();
    form12->show();
}

void HarnessWindow::hideAdditionalResults() {
    calls << QStringLiteral("hideAdditionalResults");
    form12Sub->hide();
}

void HarnessWindow::showSchemeButton() {
    calls << QStringLiteral("showSchemeButton");
    main->Buttons().Item(6).setVisible(true);
}

void HarnessWindow::setAllDesignationsVisible() {
    for (kalvar::CalcWindow* w :
         {&session_.windows.ventilation, &session_.windows.heating, &session_.windows.hotWater})
        w->designationBox.visible = true;
}

void HarnessWindow::calculate() {
    kalvar::Calculator calculator(session_.state, session_.windows, ui);
    calculator.calculateCommand();
    for (CalcWindowView* v : {views[2], views[1], views[0]})
        if (v->model().showAdditionalResults.value != 0) v->Check1_Click();
    for (CalcWindowView* v : views)
        v->refresh();
    form12->refresh();
}

#include "WindowsHarness.h"

#include <QStatusBar>
#include <QToolBar>

#include "AdditionalResultsView.h"
#include "MainPanelCommands.h"
#include "Twips.h"
#include "ZuPanel.h"
#include "additional_results.h"
#include "calculator.h"
#include "system_kinds.h"
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
    hintLine = new QLabel(this);
    hintLine->setObjectName(QStringLiteral("Label1"));
    panelIndexLabel = new QLabel(this);
    panelIndexLabel->setObjectName(QStringLiteral("Label2"));
    statusBar()->addWidget(hintLine, 1);
    statusBar()->addPermanentWidget(panelIndexLabel);

    area = new QMdiArea(this);
    setCentralWidget(area);
    views = CalcWindowView::createAll(*this);
    for (size_t i = 0; i < 3; ++i) {
        subs[i] = area->addSubWindow(views[i]);
        subs[i]->setWindowTitle(views[i]->windowTitle());
    }
    form12 = new AdditionalResultsView(session_, nullptr);
    form12Sub = area->addSubWindow(form12);
    form12Sub->hide();

    // The main panel: hovering makes it the panel of the next command; its menus' picks run the
    // main window's commands.
    connect(main, &ZuPanel::ButtonEnter, this, [this](int index, ZuPanelButton* button) {
        setHint(QStringLiteral("Кнопка: ") + button->Caption() + QStringLiteral(" Подсказка: ") +
                button->ToolTipText());
        setPanelIndexText(QStringLiteral(" %1").arg(index));
        session_.state.activePanelIndex = static_cast<int16_t>(index);
    });
    addMainPanelMenuCommands(mainCommands, *this);
    connect(main, &ZuPanel::MenuClick, this,
            [this](int, int, const QString&, const QString& key, const QString&, const QString&,
                   const QPixmap&, const QPixmap&) {
                session_.state.activePanelIndex = 10;
                if (mainCommands.run(key, blocked) == PanelCommands::Outcome::Refused) refuseCommand();
                main->EndCommand();
                for (CalcWindowView* v : views)
                    v->refresh();
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
    for (const kalvar::SystemDescription& system : kalvar::systemDescriptions())
        systems.Item(static_cast<int16_t>(system.panelItem)).setChecked(system.kind == kind);
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
    form12Sub->setGeometry(0, twipsToPixels(CalcWindowView::stripHeightTwips, this),
                           area->viewport()->width(),
                           twipsToPixels(2 * CalcWindowView::stripHeightTwips, this));
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
        if (v->model().showAdditionalResults.value != 0) v->applyAdditionalResultsSwitch();
    for (CalcWindowView* v : views)
        v->refresh();
    form12->refresh();
}

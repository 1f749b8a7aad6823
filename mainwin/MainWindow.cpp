#include "MainWindow.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>

#include <algorithm>

#include "AdditionalResultsView.h"
#include "CalcWindowView.h"
#include "DesktopCalcUi.h"
#include "DialogWait.h"
#include "Dither.h"
#include "KeyboardStrip.h"
#include "MainPanelCommands.h"
#include "ModelBinding.h"
#include "OwnerNotice.h"
#include "PictureWindows.h"
#include "ReportActions.h"
#include "SiteWorkbooks.h"
#include "Twips.h"
#include "VariantsWindow.h"
#include "ZuPanel.h"
#include "additional_results.h"
#include "calculator.h"
#include "system_kinds.h"
#include "task_file.h"
#include "unit_switch.h"

// The icon and ownerLogo_ live in the library's resources, which a static library must bring in itself.
static void initResources() {
    Q_INIT_RESOURCE(mainwin);
}

namespace {

using kalvar::WindowId;

const QString mainCaption = QStringLiteral("Пластинчатый теплообменник");
const QString quitQuestion = QStringLiteral("Вы уверены, что хотите покинуть программу ?");
const QString frameHint = QStringLiteral("Подсказка: Пластинчатый теплообменник");
const QString calculateCaption = QStringLiteral("Расчет");
const QKeySequence calculateKey(Qt::Key_F9);

constexpr std::array<WindowId, 3> calcWindowIds = {WindowId::Ventilation, WindowId::Heating,
                                                   WindowId::HotWater};
size_t slot(WindowId id) {
    return id == WindowId::Ventilation ? 0 : id == WindowId::Heating ? 1 : 2;
}

} // namespace

// Counts a command that waits with events running. The program refuses the commands that would
// change the waiting calculation's inputs or start another one until every such wait has ended.
class MainWindow::WaitScope {
  public:
    explicit WaitScope(MainWindow& form) : form_(form) { ++form_.waitDepth_; }
    ~WaitScope() { --form_.waitDepth_; }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;

  private:
    MainWindow& form_;
};

MainWindow::MainWindow(const Options& options, QWidget* parent)
    : QMainWindow(parent), options_(options), session_(std::make_unique<kalvar::Session>()),
      ui_(std::make_unique<DesktopCalcUi>(this, session_->state, session_->windows)) {
    initResources();
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(mainCaption);
    setWindowIcon(QIcon(QStringLiteral(":/kalvar/kalvar.png")));
    setAcceptDrops(true); // a task file dropped on the window opens
    askFileName = [this](const FileQuestion& question) {
        const QString filters =
            QStringLiteral("Задания kalvar (*.kalvar.json);;JSON (*.json);;Все файлы (*)");
        return question.save ? QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить задание"),
                                                            question.suggested, filters)
                             : QFileDialog::getOpenFileName(this, QStringLiteral("Открыть задание"),
                                                            question.suggested, filters);
    };

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(2, 2, 2, 2);
    mainPanel_ = ZuPanel::create(10, central);
    mainPanel_->setObjectName(QStringLiteral("ZuPanel1_10"));
    top->addWidget(mainPanel_, 1);
    ownerLogo_ = new QLabel(central);
    ownerLogo_->setObjectName(QStringLiteral("Image1"));
    ownerLogo_->setPixmap(QPixmap(QStringLiteral(":/kalvar/kalvar.png"))
                              .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    ownerLogo_->setAccessibleName(QStringLiteral("Варимекс"));
    top->addWidget(ownerLogo_, 0, Qt::AlignVCenter);
    column->addLayout(top);

    mdiArea_ = new QMdiArea(central);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    mdiArea_->setAccessibleName(mainCaption);
    mdiArea_->setBackground(QColor(128, 128, 128));
    // On a small screen the strips are wider than the frame: the area scrolls to what does not fit.
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->viewport()->setMouseTracking(true);
    mdiArea_->viewport()->installEventFilter(this);
    column->addWidget(mdiArea_, 1);
    setCentralWidget(central);

    // Without an accessible name of their own the two labels give a screen reader the text they
    // show, and announce each change of it; what they are is their description.
    hintLine_ = new QLabel(this);
    hintLine_->setObjectName(QStringLiteral("Label1"));
    hintLine_->setAccessibleDescription(QStringLiteral("Подсказка"));
    hintLine_->setTextFormat(Qt::PlainText);
    hintLine_->setMinimumWidth(1);
    panelIndexLabel_ = new QLabel(this);
    panelIndexLabel_->setObjectName(QStringLiteral("Label2"));
    panelIndexLabel_->setAccessibleDescription(QStringLiteral("Номер панели"));
    panelIndexLabel_->setTextFormat(Qt::PlainText);
    panelIndexLabel_->setMinimumWidth(
        panelIndexLabel_->fontMetrics().horizontalAdvance(QStringLiteral(" 100 ")));
    statusBar()->addWidget(hintLine_, 1);
    statusBar()->addPermanentWidget(panelIndexLabel_);
    statusBar()->setSizeGripEnabled(true);

    createMenus();

    // "Расчет" without the pointer: one key, wherever the focus is in the main window.
    calculateAction_ = new QAction(calculateCaption, this);
    calculateAction_->setObjectName(QStringLiteral("calculateAction"));
    calculateAction_->setShortcut(calculateKey);
    calculateAction_->setShortcutContext(Qt::WindowShortcut);
    connect(calculateAction_, &QAction::triggered, this, &MainWindow::calculate);
    addAction(calculateAction_);

    // While the calculation shows a message, the windows show what it wrote so far: the "?????"
    // in an empty plate-count box among it.
    ui_->setBeforeMessage([this] {
        for (CalcWindowView* view : views_)
            if (view) view->refresh();
    });

    createMainPanelCommands();
    connect(mainPanel_, &ZuPanel::ButtonClick, this, &MainWindow::mainPanelButtonClicked);
    connect(mainPanel_, &ZuPanel::ButtonEnter, this, &MainWindow::mainPanelButtonEntered);
    connect(mainPanel_, &ZuPanel::BringToFront, this, &MainWindow::raiseMainPanel);
    connect(mainPanel_, &ZuPanel::MenuSelect, this,
            [this](int index, int, const QString& caption, const QString&, const QString&,
                   const QString& toolTip, const QPixmap&,
                   const QPixmap&) { mainPanelEntrySelected(index, caption, toolTip); });
    connect(mainPanel_, &ZuPanel::MenuClick, this,
            [this](int, int, const QString&, const QString& key, const QString&, const QString&,
                   const QPixmap&, const QPixmap&) { mainPanelPicked(key); });

    quitRetry_ = new QTimer(this);
    quitRetry_->setInterval(50);
    connect(quitRetry_, &QTimer::timeout, this, [this] {
        closeWaitDialogs();
        if (!commandsBlocked()) {
            quitRetry_->stop();
            close();
        }
    });

    loadAtStartUp();
}

MainWindow::~MainWindow() {
    // The views refer to the session: they go first.
    delete additionalResultsStrip_;
    for (QMdiSubWindow* window : strips_)
        delete window;
    for (QWidget* window :
         std::initializer_list<QWidget*>{twoStageSchemeWindow_, threeCircuitSchemeWindow_,
                                         exchangerSchemeWindow_, parallelSchemeWindow_, webSiteWindow_})
        delete window;
}

QString MainWindow::installedDataDir() {
    const QString beside =
        QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../share/kalvar"));
    if (QFileInfo(beside + QStringLiteral("/picture")).isDir()) return QDir::cleanPath(beside);
#ifdef KALVAR_SOURCE_DATADIR
    // A program run from its build tree takes the pictures of its sources.
    return QStringLiteral(KALVAR_SOURCE_DATADIR);
#else
    return QString();
#endif
}

bool MainWindow::installRussianTranslation() {
    static QTranslator* translator = nullptr;
    if (translator) return true;
    auto* loaded = new QTranslator(QCoreApplication::instance());
    if (!loaded->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    return true;
}

void MainWindow::createMenus() {
    menuBar()->setAccessibleName(QStringLiteral("Меню главного окна"));
    createTaskMenu();
    QMenu* systemMenu = menuBar()->addMenu(QStringLiteral("система"));
    systemMenu->setObjectName(QStringLiteral("система"));
    for (const kalvar::SystemDescription& system : kalvar::systemDescriptions()) {
        const int kind = system.kind;
        if (system.separatorBefore) systemMenu->addSeparator();
        QAction* action = systemMenu->addAction(QString::fromUtf8(system.menuCaption));
        action->setObjectName(QString::fromUtf8(system.menuObjectName));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, kind] {
            selectSystem(kind);
            setSystemMarks(session_->state.systemKind); // a refused pick keeps the marks
        });
        systemActions_[static_cast<size_t>(kind - 1)] = action;
    }
}

QAction* MainWindow::systemAction(int kind) const {
    if (kind < 1 || kind > 8) return nullptr;
    return systemActions_[static_cast<size_t>(kind - 1)];
}

void MainWindow::createViews() {
    // Hot water, heating, ventilation, sharing their layout summaries and the medium dialog.
    const std::array<CalcWindowView*, 3> all = CalcWindowView::createAll(*this);
    for (CalcWindowView* view : all) {
        const WindowId id = view->model().id;
        QMdiSubWindow* window = addStrip(view);
        // The system menu decides which calculation windows show; they are not closed one by one.
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->setObjectName(QString::fromStdString(view->model().name) + QStringLiteral("Strip"));
        window->installEventFilter(this);
        // Every command of the window that changed an input: typing, a list pick, a panel command.
        connect(view, &CalcWindowView::commandDone, this, &MainWindow::markModified);
        views_[slot(id)] = view;
        strips_[slot(id)] = window;
    }
}

CalcWindowView* MainWindow::view(WindowId id) const {
    if (id == WindowId::AdditionalResults) return nullptr;
    return views_[slot(id)];
}

QMdiSubWindow* MainWindow::strip(WindowId id) const {
    if (id == WindowId::AdditionalResults) return additionalResultsStrip_;
    return strips_[slot(id)];
}

void MainWindow::loadAtStartUp() {
    kalvar::Session& s = *session_;
    // Numbers are written with the decimal separator of the user's locale.
    const QString separator =
        options_.decimalSeparator.isEmpty() ? QLocale().decimalPoint() : options_.decimalSeparator;
    s.windows.decimalSeparator = separator.toStdString();

    const QString workDir = options_.workDir.isEmpty() ? QDir::currentPath() : options_.workDir;
    options_.workDir = workDir;
    if (options_.dataDir.isEmpty()) options_.dataDir = installedDataDir();

    mainPanel_->setProperty(ZuPanel::redrawProperty, 0);
    mainPanel_->ButtonOption(true, 7);
    mainPanel_->setProperty(ZuPanel::redrawProperty, 1);
    showCalculateKey();

    kalvar::startUp(s, QDir::toNativeSeparators(workDir).toStdString());
    s.state.dataDir = options_.dataDir.toStdString();
    createViews();

    // The site's workbooks: its default inputs, and the owner details with the series prefix; with
    // an owner workbook the built-in owner's picture goes.
    reports_ = new kalvar::ReportActions(this, s);
    bool ownerWorkbookFound = false;
    reports_->owner = kalvar::readSiteWorkbooks(
        s,
        [this](const std::string& title, const std::string& text) {
            QMessageBox box(QMessageBox::Information, QString::fromStdString(title),
                            QString::fromStdString(text), QMessageBox::Ok, this);
            box.exec();
        },
        &ownerWorkbookFound);
    if (ownerWorkbookFound) ownerLogo_->hide();
    nameSeries();

    setSystemMarks(kalvar::heatingSystem);
    arrangeStrips();
    refreshAll();
    // Showing the heating window activates it, and its activation paints its background.
    mdiArea_->setActiveSubWindow(strip(WindowId::Heating));
    dither(view(WindowId::Heating));
    // Room for the three strips and the widest of them.
    QSize wanted(std::max(strip(WindowId::Heating)->width() + 8, 800),
                 twipsToPixels(3 * CalcWindowView::stripHeightTwips, this) + mainPanel_->sizeHint().height() +
                     menuBar()->sizeHint().height() + statusBar()->sizeHint().height() + 16);
    // The frame fits the screen it opens on; the area scrolls to the rest.
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    resize(wanted);
}

void MainWindow::nameSeries() {
    // The "Тип" sub-menu of each layout panel: items 1..4 are the catalogue series.
    for (CalcWindowView* view : views_) {
        ZuPanelSubItems& series = view->layoutPanel()->Buttons().Item(1).MenuItems().Item(1).SubItems();
        for (int16_t i = 1; i <= 4; ++i)
            series.Item(i).setCaption(QString::fromStdString(session_->state.seriesPrefix) +
                                      QString::number(i));
    }
}

void MainWindow::setSystemMarks(int kind) {
    ZuPanelMenuItems& items = mainPanel_->Buttons().Item(3).MenuItems();
    for (const kalvar::SystemDescription& system : kalvar::systemDescriptions()) {
        items.Item(static_cast<int16_t>(system.panelItem)).setChecked(system.kind == kind);
        systemActions_[static_cast<size_t>(system.kind - 1)]->setChecked(system.kind == kind);
    }
}

void MainWindow::placeStrip(QMdiSubWindow* window, double topTwips, double heightTwips) {
    if (window == nullptr) return;
    const int width = std::max(mdiArea_->viewport()->width(), window->widget()->sizeHint().width());
    const int height = std::max(twipsToPixels(heightTwips, this), window->minimumSizeHint().height());
    window->setGeometry(0, twipsToPixels(topTwips, this), width, height);
}

void MainWindow::arrangeStrips() {
    // Tiling the calculation windows vertically lays them out as the strips they are; a window
    // whose additional results are shown keeps the top strip.
    if (strips_[0] == nullptr) return; // still loading
    for (WindowId id : calcWindowIds) {
        QMdiSubWindow* window = strip(id);
        const kalvar::CalcWindow& model = session_->windows.calcWindow(id);
        const bool withResults = additionalResultsStrip_ && additionalResultsStrip_->isVisible() &&
                                 session_->state.currentWindow == &model &&
                                 model.showAdditionalResults.value == 1;
        placeStrip(window, withResults ? 0 : CalcWindowView::stripTopTwips(id),
                   CalcWindowView::stripHeightTwips);
        const bool shown = model.visible;
        window->setVisible(shown);
    }
    if (additionalResultsStrip_ && additionalResultsStrip_->isVisible()) placeAdditionalResultsStrip();
}

void MainWindow::refreshAll() {
    for (CalcWindowView* view : views_)
        view->refresh();
    if (additionalResults_) additionalResults_->refresh();
    for (WindowId id : calcWindowIds)
        strip(id)->setVisible(session_->windows.calcWindow(id).visible);
    showTitle();
}

// ---------------------------------------------------------------------------------------------
// DesktopHost

void MainWindow::setHint(const QString& text) {
    showAnnounced(hintLine_, text);
}

void MainWindow::setPanelIndexText(const QString& text) {
    showAnnounced(panelIndexLabel_, text);
}

void MainWindow::showAnnounced(QLabel* label, const QString& text) {
    if (label->text() == text) return;
    label->setText(text);
    // A screen reader reads the new text out only when told that the label's name changed.
    QAccessibleEvent changed(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void MainWindow::selectSystem(int kind) {
    const kalvar::SystemDescription* system = kalvar::findSystem(kind);
    if (system == nullptr) return;
    if (commandsBlocked()) {
        refuseCommand();
        return;
    }
    if (kind == session_->state.systemKind) {
        applySystem(kind);
        return;
    }
    if (!settleUnsavedChanges()) return;
    applySystem(kind);
    markModified();
}

void MainWindow::applySystem(int kind) {
    const kalvar::SystemDescription* system = kalvar::findSystem(kind);
    if (system == nullptr) return;
    setSystemMarks(kind);
    kalvar::selectSystem(*session_, kind);
    arrangeStrips();
    refreshAll();
    if (system->singleWindow != nullptr) mdiArea_->setActiveSubWindow(strip(*system->singleWindow));
}

void MainWindow::switchUnit(const QString& caption) {
    if (commandsBlocked()) {
        refuseCommand();
        return;
    }
    const kalvar::UnitSettings before = session_->windows.units;
    kalvar::switchUnit(session_->windows, caption.toStdString());
    const kalvar::UnitSettings& units = session_->windows.units;
    if (units.heatInGcalPerHour != before.heatInGcalPerHour ||
        units.flowInM3PerHour != before.flowInM3PerHour || units.pressureInKPa != before.pressureInKPa)
        markModified();
    // Items 1..3 of "Размерность": heat flow, flow, pressure, each with its first and second unit.
    const bool first[3] = {units.heatInGcalPerHour, units.flowInM3PerHour, units.pressureInKPa};
    ZuPanelMenuItems& items = mainPanel_->Buttons().Item(5).MenuItems();
    for (int i = 0; i < 3; ++i) {
        ZuPanelSubItems& choices = items.Item(static_cast<int16_t>(i + 1)).SubItems();
        choices.Item(1).setChecked(first[i]);
        choices.Item(2).setChecked(!first[i]);
    }
    refreshAll();
}

void MainWindow::save() {
    if (commandsBlocked()) {
        refuseCommand();
        return;
    }
    WaitScope wait(*this);
    reports_->reportOptions.limitAnswers = kalvar::pressedLimitAnswers(limitAnswers_);
    reports_->save();
}

void MainWindow::print() {
    if (commandsBlocked()) {
        refuseCommand();
        return;
    }
    WaitScope wait(*this);
    reports_->reportOptions.limitAnswers = kalvar::pressedLimitAnswers(limitAnswers_);
    reports_->print();
}

void MainWindow::savePdf() {
    if (commandsBlocked()) {
        refuseCommand();
        return;
    }
    WaitScope wait(*this);
    reports_->reportOptions.limitAnswers = kalvar::pressedLimitAnswers(limitAnswers_);
    reports_->savePdf();
}

const kalvar::OwnerDetails& MainWindow::owner() const {
    return reports_->owner;
}

void MainWindow::dither(QWidget* window) {
    Dither(window);
}

void MainWindow::showAdditionalResults(kalvar::CalcWindow& window) {
    if (additionalResults_ == nullptr) {
        additionalResults_ = new AdditionalResultsView(*session_, nullptr);
        additionalResultsStrip_ = addStrip(additionalResults_);
        additionalResultsStrip_->setAttribute(Qt::WA_DeleteOnClose, false);
        additionalResultsStrip_->setObjectName(QStringLiteral("Form12Strip"));
        connect(additionalResults_, &AdditionalResultsView::hint, this, &MainWindow::setHint);
        watchEdits(additionalResults_->findChild<ModelBinding*>());
    }
    // The calculating window takes the top strip, its additional results the two below.
    placeStrip(strip(window.id), 0, CalcWindowView::stripHeightTwips);
    placeAdditionalResultsStrip();
    additionalResults_->refresh();
    additionalResultsStrip_->show();
    additionalResultsStrip_->raise();
    strip(window.id)->raise();
}

// The additional results take the two strips under the top one.
void MainWindow::placeAdditionalResultsStrip() {
    placeStrip(additionalResultsStrip_, CalcWindowView::stripHeightTwips,
               2 * CalcWindowView::stripHeightTwips);
}

void MainWindow::hideAdditionalResults() {
    if (additionalResultsStrip_) additionalResultsStrip_->hide();
    arrangeStrips();
}

void MainWindow::showSchemeButton() {
    mainPanel_->Buttons().Item(6).setVisible(true);
}

bool MainWindow::commandsBlocked() {
    return waitDepth_ > 0 || waitDialogOpen();
}

void MainWindow::setAllDesignationsVisible() {
    bool changed = false;
    for (WindowId id : calcWindowIds) {
        changed = changed || !session_->windows.calcWindow(id).designationBox.visible;
        session_->windows.calcWindow(id).designationBox.visible = true;
    }
    // The pointer moving over the frame asks for this at every step.
    if (changed)
        for (CalcWindowView* view : views_)
            view->refresh();
}

QMdiSubWindow* MainWindow::addStrip(QWidget* view) {
    auto* window = new KeyboardStrip([this](bool next) { return moveFocus(next); });
    window->setWidget(view);
    return mdiArea_->addSubWindow(window, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

void MainWindow::showCalculateKey() {
    const QString key = calculateKey.toString(QKeySequence::NativeText);
    calculateAction_->setToolTip(calculateCaption + QStringLiteral(" (") + key + QLatin1Char(')'));
    ZuPanelButtons& buttons = mainPanel_->Buttons();
    for (int16_t b = 1; b <= buttons.Count(); ++b) {
        ZuPanelButton& button = buttons.Item(b);
        // The panel shows the key in the tool tip and gives it to assistive technology as the key binding.
        if (button.Caption() == calculateCaption) button.setShortcutText(key);
    }
}

void MainWindow::refuseCommand() {
    QApplication::beep();
    // Many desks have no sound: the hint line says why nothing happened, and which window waits.
    QString waiting;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && isWaitDialog(window)) {
            waiting = window->windowTitle();
            break;
        }
    setHint(waiting.isEmpty()
                ? QStringLiteral("Подсказка: Сначала закройте диалог, затем повторите команду.")
                : QStringLiteral("Подсказка: Сначала закройте диалог \"%1\", затем повторите команду.")
                      .arg(waiting));
}

QList<QWidget*> MainWindow::keyboardChain() const {
    // The main panel first, then each shown window of the MDI area from the top down, each with
    // its own controls in their tab order.
    const auto reachable = [this](QWidget* w) {
        return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isVisible() && w->isEnabled() &&
               w->focusProxy() == nullptr && w->window() == this && !qobject_cast<QMdiSubWindow*>(w) &&
               !qobject_cast<QScrollBar*>(w) && w != mdiArea_;
    };
    QList<QWidget*> chain;
    if (reachable(mainPanel_)) chain << mainPanel_;
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : mdiArea_->subWindowList())
        if (window->isVisible()) windows << window;
    std::stable_sort(windows.begin(), windows.end(),
                     [](const QMdiSubWindow* a, const QMdiSubWindow* b) { return a->y() < b->y(); });
    QList<QWidget*> order;
    for (QWidget* w = const_cast<MainWindow*>(this)->nextInFocusChain(); w && w != this;
         w = w->nextInFocusChain())
        order << w;
    for (QMdiSubWindow* window : windows)
        for (QWidget* w : order)
            if (window->isAncestorOf(w) && reachable(w)) chain << w;
    return chain;
}

bool MainWindow::moveFocus(bool next) {
    const QList<QWidget*> chain = keyboardChain();
    if (chain.isEmpty()) return false;
    int at = -1;
    for (QWidget* focus = QApplication::focusWidget(); focus && at < 0; focus = focus->parentWidget())
        at = static_cast<int>(chain.indexOf(focus));
    const int count = static_cast<int>(chain.size());
    const int to = at < 0 ? (next ? 0 : count - 1) : (at + (next ? 1 : count - 1)) % count;
    chain[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    reveal(chain[to]);
    return true;
}

void MainWindow::reveal(QWidget* widget) {
    // On a small screen the control the keyboard reached may lie beyond the frame: scroll to it.
    QWidget* viewport = mdiArea_->viewport();
    if (!viewport->isAncestorOf(widget)) return;
    const QRect at(widget->mapTo(viewport, QPoint(0, 0)), widget->size());
    const auto scroll = [](QScrollBar* bar, int low, int high, int room) {
        if (high > room)
            bar->setValue(bar->value() + std::min(high - room, low));
        else if (low < 0)
            bar->setValue(bar->value() + low);
    };
    constexpr int margin = 4;
    scroll(mdiArea_->horizontalScrollBar(), at.left() - margin, at.right() + margin, viewport->width());
    scroll(mdiArea_->verticalScrollBar(), at.top() - margin, at.bottom() + margin, viewport->height());
}

bool MainWindow::focusNextPrevChild(bool next) {
    return moveFocus(next) || QMainWindow::focusNextPrevChild(next);
}

bool MainWindow::isWaitDialog(const QWidget* window) {
    return DialogWait::isWaiting(window);
}

QWidget* MainWindow::pictureWindow(const char* name) const {
    const QString wanted = QString::fromLatin1(name);
    if (wanted == QLatin1String("Form5")) return twoStageSchemeWindow_;
    if (wanted == QLatin1String("Form6")) return threeCircuitSchemeWindow_;
    if (wanted == QLatin1String("Form7")) return exchangerSchemeWindow_;
    if (wanted == QLatin1String("Form8")) return parallelSchemeWindow_;
    if (wanted == QLatin1String("Form13")) return webSiteWindow_;
    return nullptr;
}

bool MainWindow::waitDialogOpen() const {
    // The dialogs that wait with events running: the limit question, the custom medium, and the
    // delivery terms and print selection of the reports.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && isWaitDialog(window)) return true;
    }
    return false;
}

void MainWindow::closeWaitDialogs() {
    // Closing them by the title bar ends their waits: "Продолжить" for the limit question and the
    // custom medium, cancel for the reports' dialogs.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && isWaitDialog(window)) window->close();
    }
}

// ---------------------------------------------------------------------------------------------
// The main panel

void MainWindow::mainPanelButtonEntered(int index, ZuPanelButton* button) {
    setHint(QStringLiteral("Кнопка: ") + button->Caption() + QStringLiteral(" Подсказка: ") +
            button->shownToolTip());
    setPanelIndexText(QString::number(index));
    session_->state.activePanelIndex = static_cast<int16_t>(index);
    mainPanel_->BeginHover();
}

void MainWindow::mainPanelEntrySelected(int, const QString& caption, const QString& toolTip) {
    setHint(QStringLiteral("Меню: ") + caption + QStringLiteral("   Подсказка: ") + toolTip);
}

void MainWindow::createMainPanelCommands() {
    addMainPanelMenuCommands(mainPanelCommands_, *this);
    // The buttons without a menu. All but "Расчет" run while a dialog waits; quitting then closes
    // the waiting dialogs first.
    mainPanelCommands_.add(
        QStringLiteral("1"), QStringLiteral("Выход"), [this] { askQuit(); }, true);
    mainPanelCommands_.add(QStringLiteral("4"), calculateCaption, [this] { calculate(); });
    mainPanelCommands_.add(
        QStringLiteral("6"), QStringLiteral("Схема"), [this] { showScheme(); }, true);
    mainPanelCommands_.add(
        QStringLiteral("7"), QStringLiteral("web-сайт"), [this] { showWebSite(); }, true);
    mainPanelCommands_.add(
        QStringLiteral("8"), QStringLiteral("О программе"), [this] { showAbout(); }, true);
}

void MainWindow::mainPanelPicked(const QString& key) {
    // A pick in the main panel is a main-panel command even when its menu was opened from the
    // keyboard, without the pointer entering a button.
    session_->state.activePanelIndex = 10;
    runMainPanelCommand(key);
    for (CalcWindowView* view : views_)
        view->refresh();
}

void MainWindow::mainPanelButtonClicked(int, ZuPanelButton* button) {
    runMainPanelCommand(PanelCommands::buttonKey(*mainPanel_, button));
}

void MainWindow::runMainPanelCommand(const QString& key) {
    if (mainPanelCommands_.run(key, commandsBlocked()) == PanelCommands::Outcome::Refused) refuseCommand();
    if (mainPanel_) mainPanel_->EndCommand();
}

void MainWindow::raiseMainPanel(int) {
    mainPanel_->raise();
}

void MainWindow::calculate() {
    if (commandsBlocked()) {
        refuseCommand();
        return;
    }
    {
        WaitScope wait(*this);
        ui_->clearLimitAnswers();
        kalvar::Calculator calculator(session_->state, session_->windows, *ui_);
        calculator.calculateCommand();
        ui_->setBusy(false);
        // The answers go with the task, so that a task run gives this calculation again.
        if (ui_->limitAnswers() != limitAnswers_) {
            limitAnswers_ = ui_->limitAnswers();
            markModified();
        }
        // The additional results of every window that shows them get the new values.
        for (WindowId id : calcWindowIds)
            if (session_->windows.calcWindow(id).showAdditionalResults.value == 1)
                view(id)->applyAdditionalResultsSwitch();
    }
    refreshAll();
}

VariantsWindow* MainWindow::variantsWindow(WindowId id) const {
    return variantsWindows_[static_cast<size_t>(id)];
}

void MainWindow::showVariants(kalvar::CalcWindow& window) {
    QPointer<VariantsWindow>& shown = variantsWindows_[static_cast<size_t>(window.id)];
    if (!shown) {
        const WindowId id = window.id;
        shown = new VariantsWindow(*session_, id, nullptr, this);
        // "Применить": the window's own layout commands, then "Расчет" as F9 runs it; the table then
        // follows what the window calculated.
        shown->setApply([this, id](int series, int passes, int units) {
            if (commandsBlocked()) {
                refuseCommand();
                return;
            }
            view(id)->chooseLayout(series, passes, units);
            calculate();
            if (VariantsWindow* open = variantsWindow(id)) open->recompute(kalvar::pressedLimitAnswers(limitAnswers_));
        });
    }
    {
        WaitScope wait(*this);
        shown->recompute(kalvar::pressedLimitAnswers(limitAnswers_));
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
}

void MainWindow::showScheme() {
    auto bring = [](QWidget* window) {
        window->show();
        window->raise();
        window->activateWindow();
    };
    // By the checked item of the window menu, as the scheme follows the system chosen there.
    if (systemAction(5)->isChecked()) {
        if (!twoStageSchemeWindow_) twoStageSchemeWindow_ = new MixedSchemeWindow(this);
        bring(twoStageSchemeWindow_);
    } else if (systemAction(4)->isChecked()) {
        if (!parallelSchemeWindow_) parallelSchemeWindow_ = new ParallelSchemeWindow(this);
        bring(parallelSchemeWindow_);
    } else if (systemAction(8)->isChecked() || systemAction(7)->isChecked() || systemAction(6)->isChecked()) {
        const int kind = systemAction(8)->isChecked()   ? kalvar::mixedWithParallelVentilation
                         : systemAction(7)->isChecked() ? kalvar::mixedThreeCircuits
                                                        : kalvar::parallelThreeCircuits;
        if (!threeCircuitSchemeWindow_) threeCircuitSchemeWindow_ = new ThreeCircuitSchemeWindow(this);
        threeCircuitSchemeWindow_->present(QString::fromUtf8(kalvar::describeSystem(kind).panelCaption),
                                           options_.workDir, options_.dataDir);
        bring(threeCircuitSchemeWindow_);
    } else {
        if (!exchangerSchemeWindow_) exchangerSchemeWindow_ = new ExchangerPictureWindow(this);
        bring(exchangerSchemeWindow_);
    }
}

void MainWindow::showWebSite() {
    if (!webSiteWindow_) webSiteWindow_ = new WebPageWindow(this);
    webSiteWindow_->navigate(QStringLiteral("http://") + QString::fromStdString(owner().ownerSite) +
                             QStringLiteral("/"));
}

void MainWindow::showAbout() {
    for (CalcWindowView* view : views_)
        view->setProperty("Tag", QStringLiteral("2"));
    QMessageBox box(QMessageBox::NoIcon, mainwin::aboutTitle, mainwin::aboutText(owner()), QMessageBox::Ok,
                    this);
    box.setObjectName(QStringLiteral("aboutBox"));
    box.button(QMessageBox::Ok)->setText(QStringLiteral("ОК"));
    box.exec();
}

void MainWindow::askQuit() {
    QMessageBox box(QMessageBox::Warning, mainCaption, quitQuestion, QMessageBox::Yes | QMessageBox::No,
                    this);
    box.setObjectName(QStringLiteral("quitQuestion"));
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) return;
    // Asked before the quit command changes the windows' check marks.
    if (!settleUnsavedChanges()) return;
    changesSettled_ = true;
    quitByCommand();
}

void MainWindow::quitByCommand() {
    for (WindowId id : calcWindowIds)
        session_->windows.calcWindow(id).plateCountIsGiven.value = 1;
    closing_ = true; // the calculation windows' check marks were set for the quit command already
    close();
}

void MainWindow::unloadWindows(bool byQuitCommand) {
    if (!byQuitCommand)
        for (WindowId id : calcWindowIds)
            session_->windows.calcWindow(id).showAdditionalResults.value = 1;
    for (QWidget* window :
         std::initializer_list<QWidget*>{twoStageSchemeWindow_, threeCircuitSchemeWindow_,
                                         exchangerSchemeWindow_, parallelSchemeWindow_, webSiteWindow_})
        if (window) window->close();
    if (additionalResultsStrip_) additionalResultsStrip_->hide();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!closing_ && !changesSettled_) {
        if (!settleUnsavedChanges()) {
            event->ignore();
            return;
        }
        changesSettled_ = true;
    }
    if (commandsBlocked()) {
        // A command waits for a dialog further down the stack: end the waits, let the command
        // finish without asking anything more, and close after it.
        event->ignore();
        quitPending_ = true;
        ui_->setQuitting(true);
        closeWaitDialogs();
        quitRetry_->start();
        return;
    }
    unloadWindows(closing_);
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The strips are as wide as the frame.
    if (watched == mdiArea_->viewport() && event->type() == QEvent::Resize) arrangeStrips();
    if (watched == mdiArea_->viewport() && event->type() == QEvent::MouseMove) {
        setHint(frameHint);
        setAllDesignationsVisible();
    }
    if (event->type() == QEvent::Close) {
        // The calculation windows stay loaded until the program ends.
        for (QMdiSubWindow* window : strips_)
            if (watched == window && !closing_) {
                event->ignore();
                return true;
            }
    }
    return QMainWindow::eventFilter(watched, event);
}

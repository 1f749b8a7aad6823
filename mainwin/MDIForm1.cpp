#include "MDIForm1.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
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

#include "CalcWindowView.h"
#include "DesktopCalcUi.h"
#include "Dither.h"
#include "Form12View.h"
#include "KeyboardStrip.h"
#include "OwnerNotice.h"
#include "PictureWindows.h"
#include "ReportCommands.h"
#include "SiteWorkbooks.h"
#include "Twips.h"
#include "ZuPanel.h"
#include "additional_results.h"
#include "calculator.h"
#include "unit_switch.h"

// The icon and Image1 live in the library's resources, which a static library must bring in itself.
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

// The eight systems: the window menu's items and their positions in the main panel's "Система" menu.
struct SystemItem {
    const char* handler;
    const char* menuCaption;
    int panelItem;
};
// clang-format off
constexpr SystemItem systemItems[8] = {
    {"mnuисход",    "Теплообменник для ГВС",                         1},
    {"mnuтепло",    "Теплообменник для отопления",                   2},
    {"mnuвент",     "Теплообменник для вентиляции",                  3},
    {"mnuодин",     "Параллельная схема",                            5},
    {"mnuдвасмеш",  "Двухступенчатая смешанная схема",               6},
    {"mnuодинсв",   "Параллельная схема для 3-х контуров",           8},
    {"mnuдвасв",    "Смешанная схема для 3-х контуров",              9},
    {"mnuспв",      "Смешанная схема с параллельной вентиляцией",   10},
};
// clang-format on

// The "Размерность" menu of the main panel: item, its two sub-items in order.
struct UnitItem {
    int menuItem;
    const char* first;
    const char* second;
};
constexpr UnitItem unitItems[3] = {{1, "Гкал/ч", "кВт"}, {2, "м3/ч", "л/с"}, {3, "кПа", "атм"}};

// Strips of the calculation windows, twips: hot water at the top, heating, ventilation.
constexpr double stripHeight = 2450;
double stripTop(WindowId id) {
    switch (id) {
    case WindowId::HotWater:
        return 0;
    case WindowId::Heating:
        return 2450;
    default:
        return 4900;
    }
}

constexpr std::array<WindowId, 3> calcWindowIds = {WindowId::Ventilation, WindowId::Heating,
                                                   WindowId::HotWater};
size_t slot(WindowId id) {
    return id == WindowId::Ventilation ? 0 : id == WindowId::Heating ? 1 : 2;
}

kalvar::CalcWindow& modelWindow(kalvar::Session& session, WindowId id) {
    switch (id) {
    case WindowId::Ventilation:
        return session.windows.ventilation;
    case WindowId::HotWater:
        return session.windows.hotWater;
    default:
        return session.windows.heating;
    }
}

} // namespace

// Counts a command that waits with events running. The program refuses the commands that would
// change the waiting calculation's inputs or start another one until every such wait has ended.
class MDIForm1::WaitScope {
  public:
    explicit WaitScope(MDIForm1& form) : form_(form) { ++form_.waitDepth_; }
    ~WaitScope() { --form_.waitDepth_; }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;

  private:
    MDIForm1& form_;
};

MDIForm1::MDIForm1(const Options& options, QWidget* parent)
    : QMainWindow(parent), options_(options), session_(std::make_unique<kalvar::Session>()),
      ui_(std::make_unique<DesktopCalcUi>(this, session_->state)) {
    initResources();
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(mainCaption);
    setWindowIcon(QIcon(QStringLiteral(":/kalvar/kalvar.png")));

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(2, 2, 2, 2);
    mainPanel_ = ZuPanel::create(10, central);
    mainPanel_->setObjectName(QStringLiteral("ZuPanel1_10"));
    top->addWidget(mainPanel_, 1);
    Image1 = new QLabel(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/kalvar/kalvar.png"))
                          .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Image1->setAccessibleName(QStringLiteral("Варимекс"));
    top->addWidget(Image1, 0, Qt::AlignVCenter);
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
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAccessibleDescription(QStringLiteral("Подсказка"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setMinimumWidth(1);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAccessibleDescription(QStringLiteral("Номер панели"));
    Label2->setTextFormat(Qt::PlainText);
    Label2->setMinimumWidth(Label2->fontMetrics().horizontalAdvance(QStringLiteral(" 100 ")));
    statusBar()->addWidget(Label1, 1);
    statusBar()->addPermanentWidget(Label2);
    statusBar()->setSizeGripEnabled(true);

    createMenus();

    // "Расчет" without the pointer: one key, wherever the focus is in the main window.
    calculateAction_ = new QAction(calculateCaption, this);
    calculateAction_->setObjectName(QStringLiteral("calculateAction"));
    calculateAction_->setShortcut(calculateKey);
    calculateAction_->setShortcutContext(Qt::WindowShortcut);
    connect(calculateAction_, &QAction::triggered, this, &MDIForm1::calculate);
    addAction(calculateAction_);

    // While the calculation shows a message, the windows show what it wrote so far: the "?????"
    // in an empty plate-count box among it.
    ui_->setBeforeMessage([this] {
        for (CalcWindowView* view : views_)
            if (view) view->refresh();
    });

    connect(mainPanel_, &ZuPanel::ButtonClick, this, &MDIForm1::ZuPanel1_ButtonClick);
    connect(mainPanel_, &ZuPanel::ButtonEnter, this, &MDIForm1::ZuPanel1_ButtonEnter);
    connect(mainPanel_, &ZuPanel::BringToFront, this, &MDIForm1::ZuPanel1_BringToFront);
    connect(mainPanel_, &ZuPanel::MenuSelect, this,
            [this](int index, int, const QString& caption, const QString&, const QString&,
                   const QString& toolTip, const QPixmap&,
                   const QPixmap&) { ZuPanel1_MenuSelect(index, caption, toolTip); });
    connect(mainPanel_, &ZuPanel::MenuClick, this,
            [this](int index, int indexMenu, const QString& caption, const QString& key, const QString& link,
                   const QString& toolTip, const QPixmap&,
                   const QPixmap&) { ZuPanel1_MenuClick(index, indexMenu, caption, key, link, toolTip); });

    quitRetry_ = new QTimer(this);
    quitRetry_->setInterval(50);
    connect(quitRetry_, &QTimer::timeout, this, [this] {
        closeWaitDialogs();
        if (!commandsBlocked()) {
            quitRetry_->stop();
            close();
        }
    });

    MDIForm_Load();
}

MDIForm1::~MDIForm1() {
    // The views refer to the session: they go first.
    delete form12Strip_;
    for (QMdiSubWindow* window : strips_)
        delete window;
    for (QWidget* window : std::initializer_list<QWidget*>{form5_, form6_, form7_, form8_, form13_})
        delete window;
}

QString MDIForm1::installedDataDir() {
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

bool MDIForm1::installRussianTranslation() {
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

void MDIForm1::createMenus() {
    menuBar()->setAccessibleName(QStringLiteral("Меню главного окна"));
    QMenu* systemMenu = menuBar()->addMenu(QStringLiteral("система"));
    systemMenu->setObjectName(QStringLiteral("система"));
    for (int kind = 1; kind <= 8; ++kind) {
        const SystemItem& item = systemItems[kind - 1];
        if (kind == 4 || kind == 6) systemMenu->addSeparator();
        QAction* action = systemMenu->addAction(QString::fromUtf8(item.menuCaption));
        action->setObjectName(QString::fromUtf8(item.handler));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, kind] {
            selectSystem(kind);
            setSystemMarks(session_->state.systemKind); // a refused pick keeps the marks
        });
        systemActions_[static_cast<size_t>(kind - 1)] = action;
    }
}

QAction* MDIForm1::systemAction(int kind) const {
    if (kind < 1 || kind > 8) return nullptr;
    return systemActions_[static_cast<size_t>(kind - 1)];
}

void MDIForm1::createViews() {
    // Hot water, heating, ventilation, sharing their layout summaries and the medium dialog.
    const std::array<CalcWindowView*, 3> all = CalcWindowView::createAll(*this);
    for (CalcWindowView* view : all) {
        const WindowId id = view->model().id;
        QMdiSubWindow* window = addStrip(view);
        // The system menu decides which calculation windows show; they are not closed one by one.
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->setObjectName(QString::fromStdString(view->model().name) + QStringLiteral("Strip"));
        window->installEventFilter(this);
        views_[slot(id)] = view;
        // The window refuses its own commands while a dialog waits, the panels' picks silently and
        // its additional-results switch with a beep: the hint line says why.
        for (ZuPanel* panel : {view->givenParameterPanel(), view->layoutPanel()})
            connect(panel, &ZuPanel::MenuClick, this, [this] {
                if (commandsBlocked()) refuseCommand();
            });
        if (auto* additional = view->findChild<QAbstractButton*>(QStringLiteral("Check1")))
            connect(additional, &QAbstractButton::clicked, this, [this] {
                if (commandsBlocked()) sayRefused();
            });
        strips_[slot(id)] = window;
    }
}

CalcWindowView* MDIForm1::view(WindowId id) const {
    if (id == WindowId::AdditionalResults) return nullptr;
    return views_[slot(id)];
}

QMdiSubWindow* MDIForm1::strip(WindowId id) const {
    if (id == WindowId::AdditionalResults) return form12Strip_;
    return strips_[slot(id)];
}

void MDIForm1::MDIForm_Load() {
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
    reports_ = new kalvar::ReportCommands(this, s);
    bool ownerWorkbookFound = false;
    reports_->owner = kalvar::readSiteWorkbooks(
        s,
        [this](const std::string& title, const std::string& text) {
            QMessageBox box(QMessageBox::Information, QString::fromStdString(title),
                            QString::fromStdString(text), QMessageBox::Ok, this);
            box.exec();
        },
        &ownerWorkbookFound);
    if (ownerWorkbookFound) Image1->hide();
    nameSeries();

    setSystemMarks(kalvar::heatingSystem);
    arrangeStrips();
    setWindowTitle(QString::fromStdString(s.windows.mainCaption));
    refreshAll();
    // Showing the heating window activates it, and its activation paints its background.
    mdiArea_->setActiveSubWindow(strip(WindowId::Heating));
    dither(view(WindowId::Heating));
    // Room for the three strips and the widest of them.
    QSize wanted(std::max(strip(WindowId::Heating)->width() + 8, 800),
                 twipsToPixels(3 * stripHeight, this) + mainPanel_->sizeHint().height() +
                     menuBar()->sizeHint().height() + statusBar()->sizeHint().height() + 16);
    // The frame fits the screen it opens on; the area scrolls to the rest.
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    resize(wanted);
}

void MDIForm1::nameSeries() {
    // The "Тип" sub-menu of each layout panel: items 1..4 are the catalogue series.
    for (CalcWindowView* view : views_) {
        ZuPanelSubItems& series = view->layoutPanel()->Buttons().Item(1).MenuItems().Item(1).SubItems();
        for (int16_t i = 1; i <= 4; ++i)
            series.Item(i).setCaption(QString::fromStdString(session_->state.типт) + QString::number(i));
    }
}

void MDIForm1::setSystemMarks(int kind) {
    ZuPanelMenuItems& items = mainPanel_->Buttons().Item(3).MenuItems();
    for (int k = 1; k <= 8; ++k) {
        const SystemItem& item = systemItems[k - 1];
        items.Item(static_cast<int16_t>(item.panelItem)).setChecked(k == kind);
        systemActions_[static_cast<size_t>(k - 1)]->setChecked(k == kind);
    }
}

void MDIForm1::placeStrip(QMdiSubWindow* window, double topTwips, double heightTwips) {
    if (window == nullptr) return;
    const int width = std::max(mdiArea_->viewport()->width(), window->widget()->sizeHint().width());
    const int height = std::max(twipsToPixels(heightTwips, this), window->minimumSizeHint().height());
    window->setGeometry(0, twipsToPixels(topTwips, this), width, height);
}

void MDIForm1::arrangeStrips() {
    // Tiling the calculation windows vertically lays them out as the strips they are; a window
    // whose additional results are shown keeps the top strip.
    if (strips_[0] == nullptr) return; // still loading
    for (WindowId id : calcWindowIds) {
        QMdiSubWindow* window = strip(id);
        const bool shown = modelWindow(*session_, id).visible;
        const bool withResults = form12Strip_ && form12Strip_->isVisible() &&
                                 session_->state.Форма == &modelWindow(*session_, id) &&
                                 modelWindow(*session_, id).showAdditionalResults.value == 1;
        placeStrip(window, withResults ? 0 : stripTop(id), stripHeight);
        window->setVisible(shown);
    }
    if (form12Strip_ && form12Strip_->isVisible()) placeStrip(form12Strip_, 2450, 4900);
}

void MDIForm1::refreshAll() {
    for (CalcWindowView* view : views_)
        view->refresh();
    if (form12_) form12_->refresh();
    for (WindowId id : calcWindowIds)
        strip(id)->setVisible(modelWindow(*session_, id).visible);
    setWindowTitle(QString::fromStdString(session_->windows.mainCaption));
}

// ---------------------------------------------------------------------------------------------
// DesktopHost

void MDIForm1::setHint(const QString& text) {
    showAnnounced(Label1, text);
}

void MDIForm1::setPanelIndexText(const QString& text) {
    showAnnounced(Label2, text);
}

void MDIForm1::showAnnounced(QLabel* label, const QString& text) {
    if (label->text() == text) return;
    label->setText(text);
    // A screen reader reads the new text out only when told that the label's name changed.
    QAccessibleEvent changed(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void MDIForm1::selectSystem(int kind) {
    if (kind < 1 || kind > 8) return;
    if (commandsBlocked()) {
        refuseCommand();
        return;
    }
    setSystemMarks(kind);
    kalvar::selectSystem(*session_, kind);
    arrangeStrips();
    refreshAll();
    if (kind <= 3) mdiArea_->setActiveSubWindow(strip(session_->state.Форма->id));
}

void MDIForm1::switchUnit(const QString& caption) {
    if (commandsBlocked()) {
        refuseCommand();
        return;
    }
    kalvar::switchUnit(session_->windows, caption.toStdString());
    const kalvar::UnitSettings& units = session_->windows.units;
    const bool first[3] = {units.heatInGcalPerHour, units.flowInM3PerHour, units.pressureInKPa};
    ZuPanelMenuItems& items = mainPanel_->Buttons().Item(5).MenuItems();
    for (int i = 0; i < 3; ++i) {
        ZuPanelSubItems& choices = items.Item(static_cast<int16_t>(unitItems[i].menuItem)).SubItems();
        choices.Item(1).setChecked(first[i]);
        choices.Item(2).setChecked(!first[i]);
    }
    refreshAll();
}

void MDIForm1::save() {
    if (commandsBlocked()) {
        refuseCommand();
        return;
    }
    WaitScope wait(*this);
    reports_->save();
}

void MDIForm1::print() {
    if (commandsBlocked()) {
        refuseCommand();
        return;
    }
    WaitScope wait(*this);
    reports_->print();
}

void MDIForm1::savePdf() {
    if (commandsBlocked()) {
        refuseCommand();
        return;
    }
    WaitScope wait(*this);
    reports_->savePdf();
}

const kalvar::OwnerDetails& MDIForm1::owner() const {
    return reports_->owner;
}

void MDIForm1::dither(QWidget* window) {
    Dither(window);
}

void MDIForm1::showAdditionalResults(kalvar::CalcWindow& window) {
    if (form12_ == nullptr) {
        form12_ = new Form12View(*session_, nullptr);
        form12Strip_ = addStrip(form12_);
        form12Strip_->setAttribute(Qt::WA_DeleteOnClose, false);
        form12Strip_->setObjectName(QStringLiteral("Form12Strip"));
        connect(form12_, &Form12View::hint, this, &MDIForm1::setHint);
    }
    // The calculating window takes the top strip, its additional results the two below.
    placeStrip(strip(window.id), 0, stripHeight);
    placeStrip(form12Strip_, 2450, 4900);
    form12_->refresh();
    form12Strip_->show();
    form12Strip_->raise();
    strip(window.id)->raise();
}

void MDIForm1::hideAdditionalResults() {
    if (form12Strip_) form12Strip_->hide();
    arrangeStrips();
}

void MDIForm1::showSchemeButton() {
    mainPanel_->Buttons().Item(6).setVisible(true);
}

bool MDIForm1::commandsBlocked() {
    return waitDepth_ > 0 || waitDialogOpen();
}

void MDIForm1::setAllDesignationsVisible() {
    bool changed = false;
    for (WindowId id : calcWindowIds) {
        changed = changed || !modelWindow(*session_, id).designationBox.visible;
        modelWindow(*session_, id).designationBox.visible = true;
    }
    // The pointer moving over the frame asks for this at every step.
    if (changed)
        for (CalcWindowView* view : views_)
            view->refresh();
}

QMdiSubWindow* MDIForm1::addStrip(QWidget* view) {
    auto* window = new KeyboardStrip([this](bool next) { return moveFocus(next); });
    window->setWidget(view);
    return mdiArea_->addSubWindow(window, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

void MDIForm1::showCalculateKey() {
    const QString key = calculateKey.toString(QKeySequence::NativeText);
    calculateAction_->setToolTip(calculateCaption + QStringLiteral(" (") + key + QLatin1Char(')'));
    ZuPanelButtons& buttons = mainPanel_->Buttons();
    for (int16_t b = 1; b <= buttons.Count(); ++b) {
        ZuPanelButton& button = buttons.Item(b);
        // The panel shows the key in the tool tip and gives it to assistive technology as the key binding.
        if (button.Caption() == calculateCaption) button.setShortcutText(key);
    }
}

void MDIForm1::refuseCommand() {
    QApplication::beep();
    sayRefused();
}

void MDIForm1::sayRefused() {
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

QList<QWidget*> MDIForm1::keyboardChain() const {
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
    for (QWidget* w = const_cast<MDIForm1*>(this)->nextInFocusChain(); w && w != this;
         w = w->nextInFocusChain())
        order << w;
    for (QMdiSubWindow* window : windows)
        for (QWidget* w : order)
            if (window->isAncestorOf(w) && reachable(w)) chain << w;
    return chain;
}

bool MDIForm1::moveFocus(bool next) {
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

void MDIForm1::reveal(QWidget* widget) {
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

bool MDIForm1::focusNextPrevChild(bool next) {
    return moveFocus(next) || QMainWindow::focusNextPrevChild(next);
}

bool MDIForm1::isWaitDialog(const QWidget* window) {
    return window->inherits("Form11") || window->inherits("Form10") || window->inherits("Form4") ||
           window->inherits("Form9");
}

QWidget* MDIForm1::pictureWindow(const char* name) const {
    const QString wanted = QString::fromLatin1(name);
    if (wanted == QLatin1String("Form5")) return form5_;
    if (wanted == QLatin1String("Form6")) return form6_;
    if (wanted == QLatin1String("Form7")) return form7_;
    if (wanted == QLatin1String("Form8")) return form8_;
    if (wanted == QLatin1String("Form13")) return form13_;
    return nullptr;
}

bool MDIForm1::waitDialogOpen() const {
    // The dialogs that wait with events running: the limit question, the custom medium, and the
    // delivery terms and print selection of the reports.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && isWaitDialog(window)) return true;
    }
    return false;
}

void MDIForm1::closeWaitDialogs() {
    // Closing them by the title bar ends their waits: "Продолжить" for the limit question and the
    // custom medium, cancel for the reports' dialogs.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && isWaitDialog(window)) window->close();
    }
}

// ---------------------------------------------------------------------------------------------
// The main panel

void MDIForm1::ZuPanel1_ButtonEnter(int index, ZuPanelButton* button) {
    setHint(QStringLiteral("Кнопка: ") + button->Caption() + QStringLiteral(" Подсказка: ") +
            button->shownToolTip());
    setPanelIndexText(QString::number(index));
    session_->state.ACP = static_cast<int16_t>(index);
    mainPanel_->BeginHover();
}

void MDIForm1::ZuPanel1_MenuSelect(int, const QString& caption, const QString& toolTip) {
    setHint(QStringLiteral("Меню: ") + caption + QStringLiteral("   Подсказка: ") + toolTip);
}

void MDIForm1::ZuPanel1_MenuClick(int, int indexMenu, const QString& caption, const QString& key,
                                  const QString& link, const QString& toolTip) {
    // The pick was made in this panel even when its menu was opened from the keyboard, without
    // the pointer entering a button: the dispatcher must take it for a main-panel command.
    session_->state.ACP = 10;
    // The dispatcher refuses the pick without a sound while a dialog waits.
    if (commandsBlocked()) refuseCommand();
    // The pick goes to the dispatcher of an open calculation window, the heating window first.
    for (WindowId id : {WindowId::Heating, WindowId::HotWater, WindowId::Ventilation}) {
        if (!modelWindow(*session_, id).visible) continue;
        view(id)->MenuClick(10, indexMenu, caption, key, link, toolTip, QPixmap(), QPixmap());
        return;
    }
}

void MDIForm1::ZuPanel1_BringToFront(int) {
    mainPanel_->raise();
}

void MDIForm1::ZuPanel1_ButtonClick(int, ZuPanelButton* button) {
    const QString caption = button->Caption();
    if (caption == QStringLiteral("Схема"))
        showScheme();
    else if (caption == QStringLiteral("web-сайт"))
        showWebSite();
    else if (caption == QStringLiteral("Расчет"))
        calculate();
    else if (caption == QStringLiteral("О программе"))
        showAbout();
    else if (caption == QStringLiteral("Выход"))
        askQuit();
    if (mainPanel_) mainPanel_->EndCommand();
}

void MDIForm1::calculate() {
    if (commandsBlocked()) {
        refuseCommand();
        return;
    }
    {
        WaitScope wait(*this);
        kalvar::Calculator calculator(session_->state, session_->windows, *ui_);
        calculator.calculateCommand();
        ui_->setBusy(false);
        // The additional results of every window that shows them get the new values.
        for (WindowId id : calcWindowIds)
            if (modelWindow(*session_, id).showAdditionalResults.value == 1) view(id)->Check1_Click();
    }
    refreshAll();
}

void MDIForm1::showScheme() {
    const kalvar::Session& s = *session_;
    auto bring = [](QWidget* window) {
        window->show();
        window->raise();
        window->activateWindow();
    };
    // By the checked item of the window menu, as the scheme follows the system chosen there.
    if (systemAction(5)->isChecked()) {
        if (!form5_) form5_ = new Form5(this);
        bring(form5_);
    } else if (systemAction(4)->isChecked()) {
        if (!form8_) form8_ = new Form8(this);
        bring(form8_);
    } else if (systemAction(8)->isChecked() || systemAction(7)->isChecked() || systemAction(6)->isChecked()) {
        const char* caption = systemAction(8)->isChecked() ? "Смешанная схема с параллельной вентиляцией"
                              : systemAction(7)->isChecked() ? "Смешанная схема для трех контуров"
                                                             : "Параллельная схема для трех контуров";
        if (!form6_) form6_ = new Form6(this);
        form6_->present(QString::fromUtf8(caption), options_.workDir, options_.dataDir);
        bring(form6_);
    } else {
        if (!form7_) form7_ = new Form7(this);
        bring(form7_);
    }
    (void)s;
}

void MDIForm1::showWebSite() {
    if (!form13_) form13_ = new Form13(this);
    form13_->navigate(QStringLiteral("http://") + QString::fromStdString(owner().ownerSite) +
                      QStringLiteral("/"));
}

void MDIForm1::showAbout() {
    for (CalcWindowView* view : views_)
        view->setProperty("Tag", QStringLiteral("2"));
    QMessageBox box(QMessageBox::NoIcon, mainwin::aboutTitle, mainwin::aboutText(owner()), QMessageBox::Ok,
                    this);
    box.setObjectName(QStringLiteral("aboutBox"));
    box.button(QMessageBox::Ok)->setText(QStringLiteral("ОК"));
    box.exec();
}

void MDIForm1::askQuit() {
    QMessageBox box(QMessageBox::Warning, mainCaption, quitQuestion, QMessageBox::Yes | QMessageBox::No,
                    this);
    box.setObjectName(QStringLiteral("quitQuestion"));
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() == QMessageBox::Yes) mnuвыход_Click();
}

void MDIForm1::mnuвыход_Click() {
    for (WindowId id : calcWindowIds)
        modelWindow(*session_, id).plateCountIsGiven.value = 1;
    closing_ = true; // the calculation windows' check marks were set for the quit command already
    close();
}

void MDIForm1::unloadWindows(bool byQuitCommand) {
    if (!byQuitCommand)
        for (WindowId id : calcWindowIds)
            modelWindow(*session_, id).showAdditionalResults.value = 1;
    for (QWidget* window : std::initializer_list<QWidget*>{form5_, form6_, form7_, form8_, form13_})
        if (window) window->close();
    if (form12Strip_) form12Strip_->hide();
}

void MDIForm1::closeEvent(QCloseEvent* event) {
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

bool MDIForm1::eventFilter(QObject* watched, QEvent* event) {
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

#include "ZuPanel.h"

#include "ZuPanelAccessible.h"
#include "ZuPanelView.h"

#include <QAccessible>
#include <QDynamicPropertyChangeEvent>
#include <QFile>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidgetAction>
#include <QWindow>

#include <optional>

// Outside any namespace, as the resource initialiser requires.
static void initPanelResources() {
    Q_INIT_RESOURCE(panels);
}

namespace {

constexpr int maxCollection = 255; // buttons per panel, items per menu, sub-items per item
constexpr int maxEntries = 4096;   // buttons, items and sub-items of one panel together
constexpr int toolTipDelayMs = 700;
constexpr int toolTipShownMs = 6000;

// Design data: "key=value" lines; blank lines and lines starting with '#' or ';' are skipped, and a value
// in double quotes keeps its blanks (captions such as "Автовыбор " end in one).
class DesignData {
  public:
    bool read(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return false;
        const QByteArray bytes = file.read(4 * 1024 * 1024 + 1);
        if (bytes.size() > 4 * 1024 * 1024) return false;
        const QString text = QString::fromUtf8(bytes);
        for (QStringView line : QStringView(text).split(u'\n')) {
            if (line.endsWith(u'\r')) line.chop(1);
            const QStringView trimmed = line.trimmed();
            if (trimmed.isEmpty() || trimmed.startsWith(u'#') || trimmed.startsWith(u';') ||
                trimmed.startsWith(u'['))
                continue;
            const qsizetype equals = line.indexOf(u'=');
            if (equals <= 0) return false;
            QStringView value = line.mid(equals + 1);
            if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
                value = value.mid(1, value.size() - 2);
            values_.insert(line.left(equals).trimmed().toString().toLower(), value.toString());
        }
        return true;
    }

    QString text(const QString& key) const { return values_.value(key); }
    bool has(const QString& key) const { return values_.contains(key); }

    // A flag: 0 or "false" is off, any other number or "true" on; a missing key gives the default.
    std::optional<bool> flag(const QString& key, bool missing) const {
        if (!values_.contains(key)) return missing;
        const QString value = values_.value(key).trimmed().toLower();
        if (value == QLatin1String("true")) return true;
        if (value == QLatin1String("false")) return false;
        bool ok = false;
        const int number = value.toInt(&ok);
        if (!ok) return std::nullopt;
        return number != 0;
    }

    // A count of entries, 0..maxCollection; a missing key counts none.
    std::optional<int> count(const QString& key) const {
        if (!values_.contains(key)) return 0;
        bool ok = false;
        const int number = values_.value(key).trimmed().toInt(&ok);
        if (!ok || number < 0 || number > maxCollection) return std::nullopt;
        return number;
    }

  private:
    QHash<QString, QString> values_;
};

// Keys of the design data. A button's fields end in its number ("caption2"); a menu item's in
// "<m>submenu1butt<b>" ("caption1submenu1butt2"); a sub-item's in "<s>submenu1m<m>" followed by its
// item's own ending ("caption1submenu1m11submenu1butt5": sub-item 1 of item 1 of button 5).
QString buttonKey(const char* field, int b) {
    return QStringLiteral("%1%2").arg(QLatin1String(field)).arg(b);
}
QString itemKey(const char* field, int b, int m) {
    return QStringLiteral("%1%2submenu1butt%3").arg(QLatin1String(field)).arg(m).arg(b);
}
QString subItemKey(const char* field, int b, int m, int s) {
    return QStringLiteral("%1%2submenu1m%3%3submenu1butt%4").arg(QLatin1String(field)).arg(s).arg(m).arg(b);
}

// Reads the fields shared by menu items and sub-items; false when a flag is malformed.
template <class KeyOf> bool readEntry(const DesignData& data, ZuPanelSubItem& entry, KeyOf key) {
    entry.setCaption(data.text(key("caption")));
    entry.setToolTipText(data.text(key("tooltiptext")));
    entry.setLink(data.text(key("link")));
    const auto checked = data.flag(key("checked"), false);
    const auto enabled = data.flag(key("enabled"), true);
    const auto heading = data.flag(key("heading"), false);
    if (!checked || !enabled || !heading) return false;
    entry.setChecked(*checked);
    entry.setEnabled(*enabled);
    entry.setHeading(*heading);
    return true;
}

// Menu captions show as stored: an ampersand is a character, not a mnemonic.
QString menuText(const QString& caption) {
    QString text = caption;
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

// Menu item m of a button, or its sub-item s when s > 0.
const ZuPanelSubItem& entryOf(const ZuPanelButton& button, int m, int s) {
    const ZuPanelMenuItem& item = button.MenuItems().Item(static_cast<int16_t>(m));
    if (s > 0) return item.SubItems().Item(static_cast<int16_t>(s));
    return item;
}

QString entryKey(int b, int m, int s) {
    return s > 0 ? QStringLiteral("%1.%2.%3").arg(b).arg(m).arg(s) : QStringLiteral("%1.%2").arg(b).arg(m);
}

} // namespace

// ---- model
// ---------------------------------------------------------------------------------------------------

void ZuPanelButton::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (panel_) panel_->buttonChanged();
}

void ZuPanelButton::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (panel_) panel_->buttonChanged();
}

QString ZuPanelButton::shownToolTip() const {
    if (shortcutText_.isEmpty()) return toolTipText_;
    if (toolTipText_.isEmpty()) return shortcutText_;
    return QStringLiteral("%1 (%2)").arg(toolTipText_, shortcutText_);
}

void ZuPanelButton::setCaption(const QString& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    if (panel_) panel_->buttonChanged();
}

// ---- panel
// ---------------------------------------------------------------------------------------------------

ZuPanel::ZuPanel(QWidget* parent) : QWidget(parent), view_(std::make_unique<ZuPanelView>()) {
    initPanelResources();
    installZuPanelAccessibility();
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus); // reachable by the keyboard; a click leaves the focus where it was
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
    toolTipTimer_.setSingleShot(true);
    connect(&toolTipTimer_, &QTimer::timeout, this, &ZuPanel::showToolTip);
}

ZuPanel::~ZuPanel() {
    if (menu_) {
        menu_->disconnect(this);
        // A pick's handler may destroy the panel while the menu is still delivering that pick.
        if (picking_)
            menu_->deleteLater();
        else
            delete menu_;
    }
}

QString ZuPanel::designPath(int index) {
    return QStringLiteral(":/panels/ZuPanel1_%1.ini").arg(index);
}

ZuPanel* ZuPanel::create(int index, QWidget* parent) {
    auto* panel = new ZuPanel(parent);
    panel->setIndex(index);
    panel->setObjectName(QStringLiteral("ZuPanel1_%1").arg(index));
    if (QFile::exists(designPath(index))) panel->loadDesign(designPath(index));
    return panel;
}

bool ZuPanel::loadDesign(const QString& path) {
    DesignData data;
    if (!data.read(path) || !data.has(QStringLiteral("mcolbuttonscount"))) return false;
    const auto buttonCount = data.count(QStringLiteral("mcolbuttonscount"));
    if (!buttonCount) return false;

    ZuPanelButtons buttons;
    int entries = *buttonCount; // a short file must not make the panel build millions of entries
    for (int b = 1; b <= *buttonCount; ++b) {
        ZuPanelButton& button = buttons.add();
        button.caption_ = data.text(buttonKey("caption", b));
        button.toolTipText_ = data.text(buttonKey("tooltiptext", b));
        const auto visible = data.flag(buttonKey("visible", b), true);
        const auto enabled = data.flag(buttonKey("enabled", b), true);
        const auto items = data.count(buttonKey("menuscount", b));
        if (!visible || !enabled || !items) return false;
        entries += *items;
        if (entries > maxEntries) return false;
        button.visible_ = *visible;
        button.enabled_ = *enabled;
        for (int m = 1; m <= *items; ++m) {
            ZuPanelMenuItem& item = button.menuItems_.add();
            if (!readEntry(data, item, [b, m](const char* field) { return itemKey(field, b, m); }))
                return false;
            const auto subItems = data.count(itemKey("submenucount", b, m));
            entries += subItems.value_or(0);
            if (!subItems || entries > maxEntries) return false;
            for (int s = 1; s <= *subItems; ++s) {
                if (!readEntry(data, item.SubItems().add(),
                               [b, m, s](const char* field) { return subItemKey(field, b, m, s); }))
                    return false;
            }
        }
    }

    closeMenu();
    hideToolTip();
    buttons_ = std::move(buttons);
    for (int16_t b = 1; b <= buttons_.Count(); ++b)
        buttons_.Item(b).panel_ = this;
    panelCaption_ = data.text(QStringLiteral("panelcaption"));
    hovered_ = pressed_ = menuOwner_ = focused_ = entered_ = 0;
    commandRunning_ = false;
    setAccessibleName(panelCaption_);
    buttonChanged();
    return true;
}

void ZuPanel::buttonChanged() {
    view_->invalidate();
    // A button that disappeared or was disabled loses its hover, press and keyboard choice.
    if (!isUsable(hovered_)) hovered_ = 0;
    if (!isUsable(pressed_)) {
        pressed_ = 0;
        commandRunning_ = false;
    }
    // With the focus here the keyboard moves on to a neighbour, so that Enter still acts.
    if (hasFocus())
        keepFocusedUsable();
    else if (!isUsable(focused_))
        focused_ = 0;
    updateGeometry();
    update();
    notifyAccessibility();
}

void ZuPanel::ensureLayout() const {
    const qreal ratio = devicePixelRatioF();
    if (!view_->laidOutFor(ratio)) view_->layout(*this, ratio);
}

QSize ZuPanel::sizeHint() const {
    ensureLayout();
    return view_->naturalSize();
}

QSize ZuPanel::minimumSizeHint() const {
    return sizeHint();
}

QRect ZuPanel::buttonRect(int b) const {
    ensureLayout();
    return view_->buttonRect(b, height());
}

int ZuPanel::buttonAt(const QPoint& point) const {
    ensureLayout();
    return view_->buttonAt(point, height());
}

QMenu* ZuPanel::openMenu() const {
    return menu_ && menu_->isVisible() ? menu_.data() : nullptr;
}

QWidget* ZuPanel::toolTipWindow() const {
    return toolTip_ && toolTip_->isVisible() ? toolTip_.data() : nullptr;
}

QImage ZuPanel::paintedImage() {
    ensureLayout();
    std::vector<ZuPanelButtonLook> looks(static_cast<size_t>(buttons_.Count()));
    for (int b = 1; b <= buttons_.Count(); ++b) {
        ZuPanelButtonLook& look = looks[static_cast<size_t>(b - 1)];
        look.hot = ((options_ & 1) && b == hovered_) || (b == focused_ && keyboardFocus_ && hasFocus());
        look.pressed = b == pressed_ && (commandRunning_ || b == hovered_);
        look.menuOpen = b == menuOwner_;
        look.focused = b == focused_ && hasFocus();
    }
    return view_->render(*this, size(), looks);
}

void ZuPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, paintedImage());
}

void ZuPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    update();
}

// ---- pointer and keyboard
// ------------------------------------------------------------------------------------

bool ZuPanel::announce(int b) {
    if (b == entered_) return true;
    entered_ = b;
    if (b == 0) return true;
    QPointer<ZuPanel> alive(this);
    emit ButtonEnter(index_, &buttons_.Item(static_cast<int16_t>(b)));
    if (!alive) return false;
    update();
    return true;
}

bool ZuPanel::setHovered(int b) {
    if (b == hovered_) return true;
    hovered_ = b;
    hideToolTip();
    update();
    if (b != 0 && (options_ & 2) && !buttons_.Item(static_cast<int16_t>(b)).shownToolTip().isEmpty() &&
        !openMenu())
        toolTipTimer_.start(toolTipDelayMs);
    return b == 0 || announce(b);
}

void ZuPanel::mouseMoveEvent(QMouseEvent* event) {
    const int b = buttonAt(event->position().toPoint());
    if (!setHovered(b)) return;
    if (b == 0) entered_ = 0; // between buttons: the next button entered is announced again
}

bool ZuPanel::isUsable(int b) const {
    return b >= 1 && b <= buttons_.Count() && buttons_.Item(static_cast<int16_t>(b)).Visible() &&
           buttons_.Item(static_cast<int16_t>(b)).Enabled();
}

void ZuPanel::keepFocusedUsable() {
    if (isUsable(focused_)) return;
    const std::vector<int> usable = usableButtons();
    const auto next = std::find_if(usable.begin(), usable.end(), [this](int b) { return b > focused_; });
    focused_ = next != usable.end() ? *next : usable.empty() ? 0 : usable.back();
}

// Chooses button b for the keyboard; the hint line and the panel the commands go to follow it as they
// follow the pointer.
void ZuPanel::focusButton(int b) {
    focused_ = b;
    update();
    if (focused_ && announce(focused_)) notifyAccessibilityFocus();
}

void ZuPanel::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    setHovered(0);
    // The pointer may enter another panel now; coming back, or a key pressed here, announces again.
    entered_ = 0;
}

void ZuPanel::mousePressEvent(QMouseEvent* event) {
    hideToolTip();
    keyboardFocus_ = false;
    if (event->button() != Qt::LeftButton) return;
    const int b = buttonAt(event->position().toPoint());
    if (b == 0 || !buttons_.Item(static_cast<int16_t>(b)).Enabled()) return;
    if (!setHovered(b)) return;
    QPointer<ZuPanel> alive(this);
    emit BringToFront(index_);
    if (!alive) return;
    if (commandRunning_) EndCommand(); // a new press ends the look of a command nobody ended
    if (buttons_.Item(static_cast<int16_t>(b)).hasMenu()) {
        showMenu(b, false);
        return;
    }
    pressed_ = b;
    update();
}

void ZuPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || pressed_ == 0 || commandRunning_) return;
    const int b = pressed_;
    if (buttonAt(event->position().toPoint()) != b) {
        pressed_ = 0;
        update();
        return;
    }
    click(b);
}

void ZuPanel::click(int b) {
    pressed_ = b;
    commandRunning_ = true;
    repaint(); // the pressed look shows while the command runs
    if (!announce(b)) return;
    emit ButtonClick(index_, &buttons_.Item(static_cast<int16_t>(b)));
}

void ZuPanel::activateButton(int b, bool forKeys) {
    if (b < 1 || b > buttons_.Count()) return;
    const ZuPanelButton& button = buttons_.Item(static_cast<int16_t>(b));
    if (!button.Visible() || !button.Enabled()) return;
    hideToolTip();
    if (commandRunning_) EndCommand();
    if (button.hasMenu())
        showMenu(b, forKeys);
    else
        click(b);
}

// The visible, enabled buttons in their order.
std::vector<int> ZuPanel::usableButtons() const {
    std::vector<int> result;
    for (int16_t b = 1; b <= buttons_.Count(); ++b)
        if (buttons_.Item(b).Visible() && buttons_.Item(b).Enabled()) result.push_back(b);
    return result;
}

void ZuPanel::keyPressEvent(QKeyEvent* event) {
    const std::vector<int> usable = usableButtons();
    if (usable.empty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    keyboardFocus_ = true;
    keepFocusedUsable();
    const int count = static_cast<int>(usable.size());
    const int at = static_cast<int>(std::find(usable.begin(), usable.end(), focused_) - usable.begin());
    const ZuPanelButton& focused = buttons_.Item(static_cast<int16_t>(focused_));
    switch (event->key()) {
    case Qt::Key_Left:
        focusButton(usable[static_cast<size_t>((at + count - 1) % count)]);
        return;
    case Qt::Key_Right:
        focusButton(usable[static_cast<size_t>((at + 1) % count)]);
        return;
    case Qt::Key_Home:
        focusButton(usable.front());
        return;
    case Qt::Key_End:
        focusButton(usable.back());
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        activateButton(focused_);
        return;
    case Qt::Key_Down: // with or without Alt, as a drop-down list opens
    case Qt::Key_F4:
        // Only a menu opens this way; a command runs by Enter or Space alone.
        if (focused.hasMenu()) {
            activateButton(focused_);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void ZuPanel::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // Whatever brought the focus, a button is chosen and framed, so that Enter acts on what is seen.
    if (focused_ == 0) {
        const std::vector<int> usable = usableButtons();
        if (!usable.empty()) focused_ = usable.front();
    }
    keepFocusedUsable();
    update();
    // Only the keys announce it (hint line, the panel commands go to). Focus that a window hands over as
    // it is activated, or that comes back from a menu or a dialog, must not move the commands elsewhere.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::ShortcutFocusReason) {
        keyboardFocus_ = true;
        focusButton(focused_);
    }
}

void ZuPanel::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        keyboardFocus_ = false;
    update();
}

void ZuPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange ||
        event->type() == QEvent::StyleChange)
        buttonChanged();
}

void ZuPanel::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    hideToolTip();
    hovered_ = 0;
    entered_ = 0;
}

bool ZuPanel::event(QEvent* event) {
    if (event->type() == QEvent::DynamicPropertyChange) {
        const auto* change = static_cast<QDynamicPropertyChangeEvent*>(event);
        if (change->propertyName() == redrawProperty)
            setUpdatesEnabled(property(redrawProperty).toInt() != 0);
    }
    return QWidget::event(event);
}

// ---- calls of the program
// ------------------------------------------------------------------------------------

void ZuPanel::EndCommand() {
    if (pressed_ == 0 && !commandRunning_) return;
    pressed_ = 0;
    commandRunning_ = false;
    update();
}

void ZuPanel::BeginHover() {
    if (entered_ != 0 && entered_ == hovered_) update();
}

void ZuPanel::ButtonOption(bool on, int option) {
    const int bits = option & 7;
    const int options = on ? (options_ | bits) : (options_ & ~bits);
    if (options == options_) return;
    options_ = options;
    if (!(options_ & 2)) hideToolTip();
    buttonChanged();
}

// ---- tool tip
// ------------------------------------------------------------------------------------------------

void ZuPanel::showToolTip() {
    if (hovered_ == 0 || !(options_ & 2) || openMenu() || !isVisible()) return;
    const QString text = buttons_.Item(static_cast<int16_t>(hovered_)).shownToolTip();
    if (text.isEmpty()) return;
    if (!toolTip_) toolTip_ = new ZuPanelToolTip(this);
    const QRect rect = buttonRect(hovered_);
    toolTip_->showText(mapToGlobal(QPoint(rect.left() + 8, rect.bottom() + 6)), text);
    QTimer::singleShot(toolTipShownMs, toolTip_.data(), [tip = toolTip_] {
        if (tip) tip->hide();
    });
}

void ZuPanel::hideToolTip() {
    toolTipTimer_.stop();
    if (toolTip_) toolTip_->hide();
}

// ---- menus
// -----------------------------------------------------------------------------------------------------

void ZuPanel::closeMenu() {
    if (!menu_) return;
    menu_->disconnect(this);
    menu_->hide();
    menu_->deleteLater();
    menu_ = nullptr;
    menuOwner_ = 0;
}

void ZuPanel::fillMenu(QMenu* menu, int b, int m) {
    const ZuPanelButton& button = buttons_.Item(static_cast<int16_t>(b));
    const int count = m == 0 ? button.MenuItems().Count() : button.MenuItems().Item(m).SubItems().Count();
    for (int i = 1; i <= count; ++i) {
        const int item = m == 0 ? i : m, sub = m == 0 ? 0 : i;
        const ZuPanelMenuItem& owner = button.MenuItems().Item(static_cast<int16_t>(item));
        const ZuPanelSubItem& entry = entryOf(button, item, sub);
        if (entry.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        if (entry.isHeading()) {
            // A heading names the group under it: shown in bold, never picked.
            auto* label = new QLabel(entry.Caption().toHtmlEscaped().prepend(QLatin1String("<b>")), menu);
            label->setTextFormat(Qt::RichText);
            label->setContentsMargins(8, 4, 8, 4);
            // In the menu's text colour, not greyed as a disabled entry is.
            label->setStyleSheet(
                QStringLiteral("QLabel { color: %1; }")
                    .arg(menu->palette().color(QPalette::Active, QPalette::WindowText).name()));
            auto* action = new QWidgetAction(menu);
            action->setDefaultWidget(label);
            action->setText(entry.Caption());
            action->setEnabled(false);
            menu->addAction(action);
            continue;
        }
        QAction* action = nullptr;
        if (sub == 0 && owner.SubItems().Count() > 0) {
            QMenu* subMenu = menu->addMenu(menuText(entry.Caption()));
            subMenu->setAccessibleName(entry.Caption().trimmed());
            fillMenu(subMenu, b, item);
            action = subMenu->menuAction();
        } else {
            action = menu->addAction(menuText(entry.Caption()));
            connect(action, &QAction::triggered, this, [this, b, item, sub] {
                // A pick by the mouse or the keys has closed the menus already; one through assistive
                // technology triggers the entry alone and leaves them over the windows.
                hideMenus();
                pickEntry(b, item, sub);
            });
        }
        action->setEnabled(entry.Enabled());
        action->setCheckable(entry.Checked());
        action->setChecked(entry.Checked());
        action->setToolTip(entry.ToolTipText());
        connect(action, &QAction::hovered, this, [this, b, item, sub] { selectEntry(b, item, sub); });
    }
}

void ZuPanel::showMenu(int b, bool forKeys) {
    closeMenu();
    hideToolTip();
    if (!announce(b)) return;
    // Without a parent: the host window's style sheets must not restyle the menu (a background rule
    // there would hide the highlight of the current entry). The panel deletes it.
    menu_ = new QMenu;
    menu_->setObjectName(QStringLiteral("ZuPanelMenu%1").arg(b));
    // Read out as the button that opened it; captions may end in blanks ("Данные ").
    menu_->setAccessibleName(buttons_.Item(static_cast<int16_t>(b)).Caption().trimmed());
    fillMenu(menu_, b, 0);
    connect(menu_, &QMenu::aboutToHide, this, &ZuPanel::menuClosed);
    menuOwner_ = b;
    repaint();
    const QRect rect = buttonRect(b);
    menu_->winId();
    if (QWindow* handle = menu_->windowHandle(); handle && window()->windowHandle())
        handle->setTransientParent(window()->windowHandle());
    menu_->popup(mapToGlobal(rect.bottomLeft() + QPoint(0, 1)));
    if (forKeys) {
        for (QAction* action : menu_->actions())
            if (action->isEnabled() && !action->isSeparator()) {
                menu_->setActiveAction(action);
                break;
            }
    }
}

void ZuPanel::hideMenus() {
    if (!menu_) return;
    for (QMenu* sub : menu_->findChildren<QMenu*>())
        if (sub->isVisible()) sub->hide();
    if (menu_->isVisible()) menu_->hide();
}

void ZuPanel::menuClosed() {
    menuOwner_ = 0;
    hovered_ = 0; // found again by the next pointer move
    entered_ = 0;
    update();
}

void ZuPanel::selectEntry(int b, int m, int s) {
    const ZuPanelSubItem& entry = entryOf(buttons_.Item(static_cast<int16_t>(b)), m, s);
    emit MenuSelect(index_, s > 0 ? s : m, entry.Caption(), entryKey(b, m, s), entry.Link(),
                    entry.ToolTipText(), QPixmap(), QPixmap());
}

void ZuPanel::pickEntry(int b, int m, int s) {
    if (b < 1 || b > buttons_.Count()) return;
    const ZuPanelButton& button = buttons_.Item(static_cast<int16_t>(b));
    const ZuPanelSubItem& entry = entryOf(button, m, s);
    if (!entry.isPickable() || (s > 0 && !button.MenuItems().Item(static_cast<int16_t>(m)).Enabled())) return;
    // Copies: the handler may change or reload the design.
    const QString caption = entry.Caption(), link = entry.Link(), toolTip = entry.ToolTipText();
    QPointer<ZuPanel> alive(this);
    ++picking_;
    emit MenuClick(index_, s > 0 ? s : m, caption, entryKey(b, m, s), link, toolTip, QPixmap(), QPixmap());
    if (alive) --picking_;
}

void ZuPanel::notifyAccessibility() {
    if (!QAccessible::isActive()) return;
    QAccessibleEvent event(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&event);
}

void ZuPanel::notifyAccessibilityFocus() {
    if (!QAccessible::isActive() || focused_ == 0) return;
    int child = 0, position = 0;
    for (int16_t b = 1; b <= buttons_.Count(); ++b) {
        if (!buttons_.Item(b).Visible()) continue;
        if (b == focused_) {
            child = position;
            break;
        }
        ++position;
    }
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(child);
    QAccessible::updateAccessibility(&event);
}

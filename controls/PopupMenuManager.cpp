// Popup menus and their tracking on Qt popup windows. Each open popup keeps an image of its client area that
// the owner draws into; the image is kept between paints, so an owner that draws a part once (a label strip)
// does not lose it when the window is exposed again.
#include "PopupMenuManager.h"

#include "platform/ZuGdi.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace zu::menu {

namespace {

struct Item {
    unsigned flags = 0;
    uint32_t id = 0; // command identifier; 0 for a sub-menu entry
    ZuHMENU subMenu = 0;
    bool measured = false;
    int width = 0;
    int height = 0;
};

class PopupWindow;

struct Menu {
    std::vector<Item> items;
    PopupWindow* window = nullptr; // while shown during tracking
};

struct Table {
    std::unordered_map<ZuHMENU, Menu> menus;
    ZuHMENU next = 0x00010001;
};

Table& table() {
    static Table instance;
    return instance;
}

Menu* lookup(ZuHMENU handle) {
    auto it = table().menus.find(handle);
    return it == table().menus.end() ? nullptr : &it->second;
}

struct Tracking {
    bool active = false;
    MenuOwner* owner = nullptr;
    QPointer<QWidget> ownerWindow;
    std::vector<PopupWindow*> stack; // top-level popup first
    QEventLoop* loop = nullptr;
    int chosen = 0;
};

Tracking& tracking() {
    static Tracking instance;
    return instance;
}

void endTracking(int chosen);

constexpr int border = 2; // the popup's raised edge around its entries

class PopupWindow : public QWidget {
  public:
    // Popups are top-level windows of their own: they go with the tracking, never with the owner's window.
    PopupWindow(ZuHMENU menu, PopupWindow* parentPopup)
        : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint), menu_(menu), parentPopup_(parentPopup) {
        setAttribute(Qt::WA_NoSystemBackground);
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        setObjectName(QStringLiteral("ZuPopupMenu"));
    }
    ~PopupWindow() override {
        if (dc_) gdi::deleteDC(dc_);
        if (Menu* m = lookup(menu_); m && m->window == this) m->window = nullptr;
    }

    ZuHMENU menu() const { return menu_; }
    PopupWindow* child() const { return child_; }
    const QImage& image() const { return image_; }

    // Opens at a screen point: the owner hears of the opening, measures the new entries, draws every entry.
    void open(QPoint at, unsigned flags) {
        Menu* m = lookup(menu_);
        if (!m) return;
        m->window = this;
        tracking().owner->initMenuPopup(menu_);
        measureNewEntries();
        layout();
        drawAll();
        QSize size = this->size();
        if (flags & TPM_CENTERALIGN)
            at.rx() -= size.width() / 2;
        else if (flags & TPM_RIGHTALIGN)
            at.rx() -= size.width();
        if (flags & TPM_VCENTERALIGN)
            at.ry() -= size.height() / 2;
        else if (flags & TPM_BOTTOMALIGN)
            at.ry() -= size.height();
        if (QScreen* screen = QGuiApplication::screenAt(at) ? QGuiApplication::screenAt(at)
                                                            : QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
            at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
        }
        move(at);
        show();
        setFocus();
    }

    // Entries added or changed while open: measure the new ones, then open afresh in place.
    void entriesChanged() {
        if (!lookup(menu_)) return;
        measureNewEntries();
        tracking().owner->initMenuPopup(menu_);
        selected_ = std::min(selected_, static_cast<int>(rects_.size()) - 1);
        layout();
        drawAll();
        update();
    }

    void closeChild() {
        if (!child_) return;
        child_->closeChild();
        PopupWindow* child = child_;
        child_ = nullptr;
        auto& stack = tracking().stack;
        stack.erase(std::remove(stack.begin(), stack.end(), child), stack.end());
        child->hide();
        child->deleteLater();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QPalette& palette = this->palette();
        const QRect r = rect();
        painter.fillRect(r, palette.color(QPalette::Window));
        // A raised edge: light outer top-left, dark outer bottom-right, then the inner ring.
        painter.setPen(palette.color(QPalette::Midlight));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(palette.color(QPalette::Shadow));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        const QRect inner = r.adjusted(1, 1, -1, -1);
        painter.setPen(palette.color(QPalette::Light));
        painter.drawLine(inner.topLeft(), inner.topRight());
        painter.drawLine(inner.topLeft(), inner.bottomLeft());
        painter.setPen(palette.color(QPalette::Dark));
        painter.drawLine(inner.bottomLeft(), inner.bottomRight());
        painter.drawLine(inner.topRight(), inner.bottomRight());
        painter.drawImage(border, border, image_);
    }

    void keyPressEvent(QKeyEvent* event) override {
        const int count = static_cast<int>(rects_.size());
        switch (event->key()) {
        case Qt::Key_Down:
            if (count) select(selected_ < 0 ? 0 : (selected_ + 1) % count);
            break;
        case Qt::Key_Up:
            if (count) select(selected_ <= 0 ? count - 1 : selected_ - 1);
            break;
        case Qt::Key_Home:
            if (count) select(0);
            break;
        case Qt::Key_End:
            if (count) select(count - 1);
            break;
        case Qt::Key_Right:
            if (selected_ >= 0 && isSubMenuEntry(selected_)) openSubMenu(selected_, true);
            break;
        case Qt::Key_Left:
            if (parentPopup_) parentPopup_->closeChild();
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (selected_ >= 0) choose(selected_, true);
            break;
        case Qt::Key_Escape:
            if (parentPopup_)
                parentPopup_->closeChild();
            else
                endTracking(0);
            break;
        default:
            break;
        }
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        PopupWindow* target = popupAt(event->globalPosition().toPoint());
        if (target && target != this) {
            target->pointerMoved(target->mapFromGlobal(event->globalPosition().toPoint()));
            return;
        }
        if (target) pointerMoved(event->position().toPoint());
    }

    void mousePressEvent(QMouseEvent* event) override {
        const QPoint global = event->globalPosition().toPoint();
        PopupWindow* target = popupAt(global);
        if (!target) {
            endTracking(0); // a press outside every open popup cancels the menu
            return;
        }
        target->pointerMoved(target->mapFromGlobal(global));
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        const QPoint global = event->globalPosition().toPoint();
        PopupWindow* target = popupAt(global);
        if (!target) return;
        const int index = target->entryAt(target->mapFromGlobal(global));
        if (index >= 0) target->choose(index, false);
    }

    void closeEvent(QCloseEvent* event) override {
        // Closed from outside (the application deactivated, the popups closed): the tracking ends.
        QWidget::closeEvent(event);
        if (tracking().active && !closingByTracking_) endTracking(0);
    }

  public:
    bool closingByTracking_ = false;

  private:
    bool isSubMenuEntry(int index) const {
        const Menu* m = lookup(menu_);
        return m && index < static_cast<int>(m->items.size()) && (m->items[index].flags & MF_POPUP) &&
               isMenu(m->items[index].subMenu);
    }

    void measureNewEntries() {
        for (size_t i = 0;; ++i) {
            Menu* m = lookup(menu_);
            if (!m || i >= m->items.size()) break;
            if (m->items[i].measured) continue;
            MeasureItemStruct measure{static_cast<int>(m->items[i].id), 0, 0};
            tracking().owner->measureItem(menu_, measure);
            m = lookup(menu_); // the owner may have changed the menus while answering
            if (!m || i >= m->items.size()) break;
            m->items[i].measured = true;
            m->items[i].width = std::clamp(measure.itemWidth, 0, 4096);
            m->items[i].height = std::clamp(measure.itemHeight, 0, 4096);
        }
    }

    void layout() {
        ++layoutGeneration_;
        rects_.clear();
        const Menu* m = lookup(menu_);
        int width = 0, top = 0;
        if (m)
            for (const Item& item : m->items)
                width = std::max(width, item.width);
        if (m)
            for (const Item& item : m->items) {
                rects_.push_back(QRect(0, top, width, item.height));
                top += item.height;
            }
        if (dc_) gdi::deleteDC(dc_);
        // At the screen's device pixel ratio: the owner draws in the popup's pixels and the image holds the
        // device's, so that text and lines are as sharp as the screen allows rather than a scaled bitmap.
        const qreal ratio = devicePixelRatioF();
        image_ = QImage(QSize(std::max(1, width), std::max(1, top)) * ratio, QImage::Format_RGB32);
        image_.setDevicePixelRatio(ratio);
        image_.fill(palette().color(QPalette::Window));
        dc_ = gdi::createImageDC(&image_);
        resize(width + 2 * border, top + 2 * border);
    }

    void drawEntry(int index, unsigned action) {
        const Menu* m = lookup(menu_);
        if (!m || index < 0 || index >= static_cast<int>(m->items.size()) ||
            index >= static_cast<int>(rects_.size()) || !dc_)
            return;
        // Copies: the owner may change the menu while it draws (a container answering MenuSelect).
        const unsigned flags = m->items[index].flags;
        const QRect r = rects_[index];
        if (r.height() <= 0 || r.width() <= 0) return;
        DrawItemStruct draw;
        draw.itemAction = action;
        draw.itemState =
            (index == selected_ ? ODS_SELECTED : 0u) | ((flags & MF_GRAYED) ? ODS_GRAYED | ODS_DISABLED : 0u);
        draw.itemId = static_cast<int>(m->items[index].id);
        draw.menu = menu_;
        draw.dc = dc_;
        draw.rcItem = ZuRECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
        const int generation = layoutGeneration_;
        tracking().owner->drawItem(draw);
        if (generation != layoutGeneration_) return; // laid out afresh meanwhile, and drawn whole
        // The menu manager marks an entry that opens a sub-menu with its arrow, whoever draws the entry.
        if (flags & MF_POPUP) drawSubMenuArrow(r, (flags & MF_GRAYED) != 0);
    }

    void drawSubMenuArrow(const QRect& r, bool greyed) {
        if (r.height() < 7 || r.width() < 12) return;
        const gdi::COLORREF colour = greyed ? gdi::getSysColor(gdi::COLOR_GRAYTEXT) : 0;
        const int x = r.right() - 8, y = r.top() + r.height() / 2;
        for (int column = 0; column < 4; ++column)
            for (int row = -3 + column; row <= 3 - column; ++row)
                gdi::setPixel(dc_, x + column, y + row, colour);
    }

    void drawAll() {
        for (int i = 0; i < static_cast<int>(rects_.size()); ++i)
            drawEntry(i, ODA_DRAWENTIRE);
    }

    int entryAt(QPoint windowPoint) const {
        const QPoint p = windowPoint - QPoint(border, border);
        for (int i = 0; i < static_cast<int>(rects_.size()); ++i)
            if (rects_[i].contains(p)) return i;
        return -1;
    }

    PopupWindow* popupAt(QPoint global) const {
        const auto& stack = tracking().stack;
        for (auto it = stack.rbegin(); it != stack.rend(); ++it)
            if ((*it)->isVisible() && (*it)->frameGeometry().contains(global)) return *it;
        return nullptr;
    }

    void pointerMoved(QPoint windowPoint) {
        const int index = entryAt(windowPoint);
        if (index < 0) {
            if (!child_) select(-1);
            return;
        }
        select(index);
        if (isSubMenuEntry(index))
            openSubMenu(index, false);
        else
            closeChild();
    }

    void select(int index) {
        if (index == selected_) return;
        const int previous = selected_;
        selected_ = index;
        if (previous >= 0) drawEntry(previous, ODA_SELECT);
        if (index >= 0) drawEntry(index, ODA_SELECT);
        update();
    }

    void choose(int index, bool byKeyboard) {
        const Menu* m = lookup(menu_);
        if (!m || index >= static_cast<int>(m->items.size())) return;
        const Item& item = m->items[index];
        if (item.flags & MF_GRAYED) return; // a greyed entry cannot be chosen; the menu stays open
        if (item.flags & MF_POPUP) {
            if (isSubMenuEntry(index)) openSubMenu(index, byKeyboard);
            return;
        }
        const int id = static_cast<int>(item.id);
        if (!tracking().owner->isChoice(menu_, id)) return;
        endTracking(id);
    }

    void openSubMenu(int index, bool selectFirst) {
        const Menu* m = lookup(menu_);
        if (!m) return;
        const ZuHMENU sub = m->items[index].subMenu;
        if (child_ && child_->menu() == sub) {
            if (selectFirst) child_->select(0);
            return;
        }
        closeChild();
        if (!lookup(sub) || lookup(sub)->window) return; // a menu shows in one window at a time
        child_ = new PopupWindow(sub, this);
        tracking().stack.push_back(child_);
        const QPoint at = pos() + QPoint(width() - border, rects_[index].top());
        child_->open(at, 0);
        if (child_ && child_->width() + at.x() > screenRight())
            child_->move(pos().x() - child_->width() + border, at.y());
        if (child_ && selectFirst) child_->select(0);
    }

    int screenRight() const {
        QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        return screen ? screen->availableGeometry().right() + 1 : 1 << 20;
    }

    ZuHMENU menu_;
    PopupWindow* parentPopup_;
    PopupWindow* child_ = nullptr;
    QImage image_;
    ZuHDC dc_ = 0;
    std::vector<QRect> rects_;
    int selected_ = -1;
    int layoutGeneration_ = 0;
};

void endTracking(int chosen) {
    Tracking& t = tracking();
    if (!t.active) return;
    t.chosen = chosen;
    for (PopupWindow* window : t.stack) {
        window->closingByTracking_ = true;
        window->hide();
    }
    if (t.loop) t.loop->quit();
}

} // namespace

ZuHMENU createPopupMenu() {
    Table& t = table();
    while (t.next == 0 || t.menus.count(t.next))
        ++t.next;
    ZuHMENU handle = t.next++;
    t.menus.emplace(handle, Menu{});
    return handle;
}

bool destroyMenu(ZuHMENU handle) {
    Menu* m = lookup(handle);
    if (!m) return false;
    if (m->window) endTracking(0);
    std::vector<ZuHMENU> subMenus;
    for (const Item& item : m->items)
        if (item.flags & MF_POPUP) subMenus.push_back(item.subMenu);
    table().menus.erase(handle); // first, so that a menu that opens itself ends the recursion
    for (ZuHMENU sub : subMenus)
        destroyMenu(sub);
    return true;
}

bool isMenu(ZuHMENU handle) {
    return handle != 0 && lookup(handle) != nullptr;
}

bool appendMenu(ZuHMENU handle, unsigned flags, uint32_t idOrSubMenu) {
    return insertMenu(handle, menuItemCount(handle), flags, idOrSubMenu);
}

bool insertMenu(ZuHMENU handle, int position, unsigned flags, uint32_t idOrSubMenu) {
    Menu* m = lookup(handle);
    if (!m) return false;
    Item item;
    item.flags = flags;
    if (flags & MF_POPUP)
        item.subMenu = idOrSubMenu;
    else
        item.id = idOrSubMenu;
    const int count = static_cast<int>(m->items.size());
    position = position < 0 || position > count ? count : position;
    m->items.insert(m->items.begin() + position, item);
    if (m->window) m->window->entriesChanged();
    return true;
}

int menuItemCount(ZuHMENU handle) {
    const Menu* m = lookup(handle);
    return m ? static_cast<int>(m->items.size()) : -1;
}

int liveMenuCount() {
    return static_cast<int>(table().menus.size());
}

int trackPopupMenu(ZuHMENU handle, unsigned flags, int x, int y, MenuOwner* owner, QWidget* ownerWindow) {
    Tracking& t = tracking();
    Menu* m = lookup(handle);
    if (t.active || !m || !owner || m->items.empty()) return 0;
    t.active = true;
    t.owner = owner;
    t.ownerWindow = ownerWindow;
    t.chosen = 0;
    QEventLoop loop;
    t.loop = &loop;
    QMetaObject::Connection ownerGone;
    if (ownerWindow)
        ownerGone = QObject::connect(ownerWindow, &QObject::destroyed, &loop, [] { endTracking(0); });

    auto* top = new PopupWindow(handle, nullptr);
    t.stack.push_back(top);
    top->open(QPoint(x, y), flags);
    if (top->isVisible()) loop.exec();

    QObject::disconnect(ownerGone);
    std::vector<PopupWindow*> windows;
    windows.swap(t.stack);
    for (PopupWindow* window : windows) {
        window->closingByTracking_ = true;
        delete window;
    }
    const int chosen = t.chosen;
    t.active = false;
    t.loop = nullptr;
    t.owner = nullptr;
    if (chosen && !(flags & (TPM_NONOTIFY | TPM_RETURNCMD)) && t.ownerWindow) {
        // The choice arrives as a posted message, after the tracking has returned.
        QMetaObject::invokeMethod(
            t.ownerWindow, [owner, chosen] { owner->command(chosen); }, Qt::QueuedConnection);
    }
    t.ownerWindow = nullptr;
    return chosen;
}

bool isTracking() {
    return tracking().active;
}

QWidget* topPopupWindow() {
    const auto& stack = tracking().stack;
    return stack.empty() ? nullptr : stack.back();
}

QImage popupImage(QWidget* popup) {
    for (PopupWindow* window : tracking().stack)
        if (window == popup) return window->image();
    return {};
}

} // namespace zu::menu

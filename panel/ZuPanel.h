// ZuPanel: the button panel the desktop program hosts — a row of buttons, some with drop-down menus, painted
// through ZuComponents' exported panel functions. Each instance is known by its control-array index (10 the
// main panel, 1..6 the two panels of each calculation window) and loads its buttons and menus from its design
// data. Collections are 1-based and indexed by a 16-bit integer, as the program addresses them.
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class ZuPanel;
class ZuPanelButton;
class ZuPanelView;
class ZuPanelToolTip;
class QMenu;

// An index outside a collection yields that collection's spare entry: it reads as empty, unchecked,
// enabled and visible, and whatever is written to it is forgotten at the next such access. The spare keeps
// its address while the collection lives, so a reference to it never dangles.
template <class T> class ZuPanelCollection {
  public:
    int16_t Count() const { return static_cast<int16_t>(items_.size()); }
    T& Item(int16_t index) const {
        if (index >= 1 && index <= Count()) return *items_[static_cast<size_t>(index - 1)];
        if (!spare_) spare_ = std::make_unique<T>();
        spare_->resetSpare();
        return *spare_;
    }

    // Building the collection (design loading).
    T& add() { return *items_.emplace_back(std::make_unique<T>()); }
    // Empties the collection and its spare; used when a spare entry that owns this collection is reset.
    void resetSpare() {
        items_.clear();
        if (spare_) spare_->resetSpare();
    }

  private:
    // Entries keep their address until the panel loads another design.
    std::vector<std::unique_ptr<T>> items_;
    mutable std::unique_ptr<T> spare_;
};

// An entry of a drop-down sub-menu.
class ZuPanelSubItem {
  public:
    QString Caption() const { return caption_; }
    QString ToolTipText() const { return toolTipText_; }
    bool Checked() const { return checked_; }
    void setChecked(bool checked) { checked_ = checked; }
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    // Design data.
    void setCaption(const QString& caption) { caption_ = caption; }
    void setToolTipText(const QString& text) { toolTipText_ = text; }
    QString Link() const { return link_; }
    void setLink(const QString& link) { link_ = link; }
    // A heading or a separator ("-") names a group and cannot be picked.
    bool isHeading() const { return heading_; }
    void setHeading(bool heading) { heading_ = heading; }
    bool isSeparator() const { return caption_ == QLatin1String("-"); }
    bool isPickable() const { return enabled_ && !heading_ && !isSeparator(); }

    // Back to an empty entry (a collection's spare).
    void resetSpare() { *this = ZuPanelSubItem(); }

  private:
    QString caption_;
    QString toolTipText_;
    QString link_;
    bool checked_ = false;
    bool enabled_ = true;
    bool heading_ = false;
};

using ZuPanelSubItems = ZuPanelCollection<ZuPanelSubItem>;

// An entry of a button's menu; with sub-items it opens a sub-menu instead of being picked itself.
class ZuPanelMenuItem : public ZuPanelSubItem {
  public:
    ZuPanelSubItems& SubItems() { return subItems_; }
    const ZuPanelSubItems& SubItems() const { return subItems_; }

    void resetSpare() {
        ZuPanelSubItem::resetSpare();
        subItems_.resetSpare();
    }

  private:
    ZuPanelSubItems subItems_;
};

using ZuPanelMenuItems = ZuPanelCollection<ZuPanelMenuItem>;

class ZuPanelButton {
  public:
    QString Caption() const { return caption_; }
    QString ToolTipText() const { return toolTipText_; }
    bool Visible() const { return visible_; }
    // Lays the panel out again and repaints it.
    void setVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    ZuPanelMenuItems& MenuItems() { return menuItems_; }
    const ZuPanelMenuItems& MenuItems() const { return menuItems_; }
    bool hasMenu() const { return menuItems_.Count() > 0; }

    // Design data.
    void setCaption(const QString& caption);
    void setToolTipText(const QString& text) { toolTipText_ = text; }
    ZuPanel* panel() const { return panel_; }

    // The key that runs this button's command from anywhere in its window, as the user reads it ("F9").
    // The panel only shows it, after the tool tip and to assistive technology; the window owns the key.
    QString ShortcutText() const { return shortcutText_; }
    void setShortcutText(const QString& text) { shortcutText_ = text; }
    // The tool tip as shown: the design text with the shortcut, if any, in brackets after it.
    QString shownToolTip() const;

    void resetSpare() {
        caption_.clear();
        toolTipText_.clear();
        shortcutText_.clear();
        visible_ = enabled_ = true;
        menuItems_.resetSpare();
        panel_ = nullptr;
    }

  private:
    friend class ZuPanel;
    QString caption_;
    QString toolTipText_;
    QString shortcutText_;
    bool visible_ = true;
    bool enabled_ = true;
    ZuPanelMenuItems menuItems_;
    ZuPanel* panel_ = nullptr; // none for a collection's spare entry
};

using ZuPanelButtons = ZuPanelCollection<ZuPanelButton>;

class ZuPanel : public QWidget {
    Q_OBJECT
  public:
    explicit ZuPanel(QWidget* parent = nullptr);
    ~ZuPanel() override;

    // A panel with instance index's design data (1..6, 10); another index gives a panel without buttons.
    static ZuPanel* create(int index, QWidget* parent);
    // The resource holding instance index's design data.
    static QString designPath(int index);

    // Reads design data ("key=value" lines); on failure the panel keeps what it had and false is returned.
    bool loadDesign(const QString& path);

    int index() const { return index_; }
    void setIndex(int index) { index_ = index; }
    QString panelCaption() const { return panelCaption_; }

    ZuPanelButtons& Buttons() { return buttons_; }
    const ZuPanelButtons& Buttons() const { return buttons_; }

    // Ends the pressed look that a clicked button keeps while its command runs.
    void EndCommand();
    // Shows the hovered look of the button the pointer last entered, when the pointer is still over it.
    void BeginHover();
    // Switches panel options on or off; option is a sum of: 1 hovered look, 2 tool tips, 4 drop-down arrows
    // on buttons with a menu. All three are on from the start.
    void ButtonOption(bool on, int option);
    int options() const { return options_; }

    // Painting is held while the dynamic property "Redraw" is 0 and resumes when it is set to non-zero.
    static constexpr const char* redrawProperty = "Redraw";

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Geometry of visible button b (1-based) in widget coordinates; empty when hidden or out of range.
    QRect buttonRect(int b) const;
    // The button under a widget point, 0 for none.
    int buttonAt(const QPoint& point) const;
    // The open drop-down menu, if any.
    QMenu* openMenu() const;
    // Opens button b's menu, or clicks it when it has none, as a press on it does. A menu opened for the
    // keys starts on its first entry; one opened for assistive technology starts on none, so that its
    // reader can open any sub-menu, the first one included.
    void activateButton(int b, bool forKeys = true);
    // The button chosen by the keyboard, 0 for none. While the panel has the focus one is always chosen
    // (when any button is usable) and shows a focus frame.
    int focusedButton() const { return focused_; }
    // The shown tool tip, if any.
    QWidget* toolTipWindow() const;
    // The panel as it is painted now, at the screen's device-pixel ratio.
    QImage paintedImage();

    // Called by a button whose visibility, caption or state changed.
    void buttonChanged();

  signals:
    void MenuSelect(int Index, int IndexMenu, const QString& Caption, const QString& Key, const QString& Link,
                    const QString& ToolTipText, const QPixmap& ToolPicture, const QPixmap& CaptionPicture);
    void MenuClick(int Index, int IndexMenu, const QString& Caption, const QString& Key, const QString& Link,
                   const QString& ToolTipText, const QPixmap& ToolPicture, const QPixmap& CaptionPicture);
    void ButtonEnter(int Index, ZuPanelButton* button);
    void ButtonClick(int Index, ZuPanelButton* button);
    void BringToFront(int Index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void ensureLayout() const;
    // Both return false when a handler of the announced ButtonEnter destroyed the panel.
    bool setHovered(int b);
    bool announce(int b);
    void click(int b);
    std::vector<int> usableButtons() const;
    bool isUsable(int b) const;
    // Chooses a usable button for the keyboard when the chosen one is gone: the next one, else the one
    // before, else none.
    void keepFocusedUsable();
    void focusButton(int b);
    void showMenu(int b, bool forKeys);
    void fillMenu(QMenu* menu, int b, int m);
    void closeMenu();
    void hideMenus();
    void menuClosed();
    void pickEntry(int b, int m, int s);
    void selectEntry(int b, int m, int s);
    void showToolTip();
    void hideToolTip();
    void notifyAccessibility();
    void notifyAccessibilityFocus();

    int index_ = 0;
    QString panelCaption_;
    ZuPanelButtons buttons_;
    int options_ = 7;
    int hovered_ = 0;   // button under the pointer
    int pressed_ = 0;   // button held down by the mouse or keeping its pressed look during its command
    int menuOwner_ = 0; // button whose menu is open
    int focused_ = 0;   // button chosen by the keyboard
    int entered_ = 0;   // button last announced by ButtonEnter
    bool commandRunning_ = false;
    int picking_ = 0;            // MenuClick being delivered
    bool keyboardFocus_ = false; // the focused button is shown while the keyboard is in use
    QPointer<QMenu> menu_;
    QPointer<ZuPanelToolTip> toolTip_;
    QTimer toolTipTimer_;
    std::unique_ptr<ZuPanelView> view_;
};

// Owner-drawn popup menus, as the platform's menu manager provides them: popups addressed by 32-bit handles,
// owner-drawn entries (plain or opening a sub-menu), enabled or greyed, and modal tracking that asks the
// owner to measure each entry once, to draw entries whole and on selection changes, and tells it the chosen
// entry.
#pragma once

#include "ZuComponents.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

namespace zu::menu {

using ZuHMENU = uint32_t;

// Menu entry flags.
enum : unsigned { MF_ENABLED = 0x0, MF_GRAYED = 0x1, MF_POPUP = 0x10, MF_OWNERDRAW = 0x100 };
// Tracking flags: horizontal and vertical alignment against the point, and whether the choice is reported.
enum : unsigned {
    TPM_LEFTALIGN = 0x0,
    TPM_CENTERALIGN = 0x4,
    TPM_RIGHTALIGN = 0x8,
    TPM_TOPALIGN = 0x0,
    TPM_VCENTERALIGN = 0x10,
    TPM_BOTTOMALIGN = 0x20,
    TPM_NONOTIFY = 0x80,
    TPM_RETURNCMD = 0x100,
};
// Owner drawing: what to draw and the entry's state.
enum : unsigned { ODA_DRAWENTIRE = 0x1, ODA_SELECT = 0x2 };
enum : unsigned { ODS_SELECTED = 0x1, ODS_GRAYED = 0x2, ODS_DISABLED = 0x4 };

struct MeasureItemStruct {
    int itemId = 0;
    int itemWidth = 0;
    int itemHeight = 0;
};

struct DrawItemStruct {
    unsigned itemAction = ODA_DRAWENTIRE;
    unsigned itemState = 0;
    int itemId = 0;
    ZuHMENU menu = 0; // the popup the entry belongs to
    ZuHDC dc = 0;     // over the popup's whole client area
    ZuRECT rcItem{};  // in the popup's client coordinates
};

// What tracking asks of the menu's owner (the control whose window owns the popup).
class MenuOwner {
  public:
    virtual void initMenuPopup(ZuHMENU popup) = 0;
    virtual void measureItem(ZuHMENU popup, MeasureItemStruct& item) = 0;
    virtual void drawItem(const DrawItemStruct& item) = 0;
    // Whether an enabled entry is a choice at all (an owner-drawn separator is not): choosing one that is not
    // leaves the menu open.
    virtual bool isChoice(ZuHMENU popup, int itemId) = 0;
    // Posted after tracking has ended, unless the flags asked for no notification.
    virtual void command(int itemId) = 0;

  protected:
    ~MenuOwner() = default;
};

ZuHMENU createPopupMenu();
// Destroys the popup and the sub-menus its entries open; a popup being tracked closes first.
bool destroyMenu(ZuHMENU menu);
bool isMenu(ZuHMENU menu);
// idOrSubMenu: the entry's command identifier, or with MF_POPUP the sub-menu's handle.
bool appendMenu(ZuHMENU menu, unsigned flags, uint32_t idOrSubMenu);
// Inserts before the entry at position (appends when position is past the end).
bool insertMenu(ZuHMENU menu, int position, unsigned flags, uint32_t idOrSubMenu);
int menuItemCount(ZuHMENU menu);
// Popups made and not yet destroyed.
int liveMenuCount();

// Shows the popup at the screen point and runs a modal loop until the user chooses an entry or cancels.
// Returns the chosen entry's identifier, 0 when cancelled or when the popup cannot be shown.
int trackPopupMenu(ZuHMENU menu, unsigned flags, int x, int y, MenuOwner* owner, QWidget* ownerWindow);
bool isTracking();
// The popup window on top while tracking (the deepest open sub-menu), for tests and containers.
QWidget* topPopupWindow();
// What the owner drew for an open popup's entries, at the popup's device pixel ratio.
QImage popupImage(QWidget* popup);

} // namespace zu::menu

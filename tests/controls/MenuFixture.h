// A menu button with one menu built the way a container builds it, and its lines drawn as the platform asks.
#pragma once

#include "PopupMenuManager.h"
#include "ZuMenuExCtl.h"
#include "ZuTestSupport.h"

#include <QPixmap>
#include <QSignalSpy>

namespace zutest {

struct LineOptions {
    QString caption = QStringLiteral("Line");
    int height = 20;
    int width = 100;
    int visible = -1;
    int enabled = -1;
    int checked = 0;
    QPixmap picture;
    int escapement = 0;
    QString shortCut;
    QPixmap stringPict;
    int strPictAlign = 0;
    int subMenu = 0;
    COLORREF checkArea = rgb(250, 200, 200);
    COLORREF pictureArea = rgb(200, 250, 200);
    COLORREF captionArea = rgb(200, 200, 250);
    COLORREF fore = rgb(0, 0, 128);
    QString fontName = QStringLiteral("DejaVu Sans");
    float fontHeight = 10.0f;
};

struct MenuOptions {
    bool checkArea = true;
    int maxPictureAreaWidth = 24;
    QString label;
    int labelAreaWidth = 12;
    COLORREF labelAreaColour = rgb(90, 90, 160);
    COLORREF labelForeColour = rgb(255, 255, 0);
    bool useDefault = false;
};

inline QPixmap solidPixmap(int w, int h, QColor colour) {
    QPixmap p(w, h);
    p.fill(colour);
    return p;
}

// Gives the control a menu: CreateMenu, AddMenuString per line, and the sizes a container answers with.
inline zu::menu::ZuHMENU buildMenu(CZuMenuExCtrl& control, int menu, const std::vector<LineOptions>& lines,
                                   const MenuOptions& options) {
    const int popup = control.CreateMenu(menu);
    int top = 0;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const LineOptions& l = lines[i];
        control.AddMenuString(menu, popup, i, l.caption, QStringLiteral("key%1").arg(i),
                              QStringLiteral("link%1").arg(i), QStringLiteral("tip%1").arg(i), l.picture,
                              l.escapement, l.visible, l.enabled, l.checked, l.checkArea, l.pictureArea,
                              l.captionArea, l.fore, l.fontHeight, 0.0f, l.fontName, 0, 0, 0, 0, l.shortCut,
                              l.subMenu, l.stringPict, l.strPictAlign);
        control.AddSizeMenuString(menu, popup, i, l.height, l.width, options.maxPictureAreaWidth,
                                  options.checkArea, top, options.label, options.labelAreaWidth,
                                  options.labelAreaColour, options.labelForeColour, options.useDefault);
        top += l.height;
    }
    return static_cast<zu::menu::ZuHMENU>(popup);
}

// What the platform does when the popup opens: the opening, then one measuring request per line.
inline std::vector<zu::menu::MeasureItemStruct> openAndMeasure(CZuMenuExCtrl& control,
                                                               zu::menu::ZuHMENU popup, int lines) {
    control.initMenuPopup(popup);
    std::vector<zu::menu::MeasureItemStruct> measured(lines);
    for (auto& m : measured)
        control.measureItem(popup, m);
    return measured;
}

// One line drawn into the surface, at rest or selected, with the item rectangle the platform gives.
inline void drawLine(CZuMenuExCtrl& control, zu::menu::ZuHMENU popup, Surface& s, int top, int height,
                     bool selected, int width = 0) {
    zu::menu::DrawItemStruct d;
    d.itemAction = selected ? zu::menu::ODA_SELECT : zu::menu::ODA_DRAWENTIRE;
    d.itemState = selected ? zu::menu::ODS_SELECTED : 0u;
    d.menu = popup;
    d.dc = s.dc;
    d.rcItem = ZuRECT{0, top, width ? width : s.image.width(), top + height};
    control.drawItem(d);
}

} // namespace zutest

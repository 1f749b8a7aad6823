// Automatic sizing: the button size and the picture and caption rectangles for every orientation and picture
// alignment.
#include "PanelPainter.h"

#include <cmath>

namespace zu {

namespace {

struct Layout {
    int width = 0, height = 0;
    int pictureLeft = 0, pictureTop = 0;
    int captionLeft = 0, captionTop = 0;
};

// Inputs of the layout, in pixels.
struct Measures {
    int m = 0; // margin
    int u = 0; // drop-down width and margin of a drop-down button
    int P = 0; // picture extent across the screen
    int Q = 0; // picture extent down the screen
    int T = 0; // caption extent along the text
    int H = 0; // caption extent across the text
    bool picture = false;
    bool caption = false;
};

Layout horizontalLayout(const Measures& s, int alignment) {
    const int m = s.m, u = s.u, P = s.P, Q = s.Q, T = s.T, H = s.H;
    Layout l;
    if (alignment == 0 || alignment == 3) {
        l.width = P < T ? u + 2 * m + T : (s.picture ? P + u + 2 * m : u + 20);
        if (s.picture && s.caption)
            l.height = Q + H + 3 * m + 1;
        else if (s.picture)
            l.height = Q + 2 * m;
        else if (s.caption)
            l.height = 1 + 2 * m + H;
        else
            l.height = 20;
        if (P < T) {
            l.pictureLeft = (T + 3 * m - P) / 2;
            l.captionLeft = m;
        } else {
            l.captionLeft = (P + 2 * m - T) / 2;
            l.pictureLeft = m;
        }
        if (alignment == 0) {
            l.pictureTop = m;
            l.captionTop = Q + 2 * m;
        } else {
            l.captionTop = m;
            l.pictureTop = m + H + m;
        }
    } else {
        if (s.picture && s.caption)
            l.width = P + u + T + 3 * m;
        else if (s.caption)
            l.width = u + 2 * m + T;
        else if (s.picture)
            l.width = P + u + 2 * m;
        else
            l.width = u + 20;
        l.height = Q < H ? 1 + 2 * m + H : (s.picture ? Q + 1 + 2 * m : 20);
        if (Q < H) {
            l.pictureTop = (H + 2 * m - Q) / 2;
            l.captionTop = m;
        } else {
            l.captionTop = (Q + 2 * m - H) / 2;
            l.pictureTop = m;
        }
        if (alignment == 1) {
            l.pictureLeft = m;
            l.captionLeft = P + 2 * m;
        } else {
            l.captionLeft = m;
            l.pictureLeft = m + T + m;
        }
    }
    return l;
}

// Orientation 1; orientation 2 uses it with the alignment mirrored.
Layout verticalLayout(const Measures& s, int alignment) {
    const int m = s.m, u = s.u, P = s.P, Q = s.Q, T = s.T, H = s.H;
    Layout l;
    if (alignment == 0 || alignment == 3) {
        if (s.picture && s.caption)
            l.width = P + H + 3 * m;
        else if (s.caption)
            l.width = H + 2 * m;
        else if (s.picture)
            l.width = P + 2 * m;
        else
            l.width = 20;
        l.height = Q < T ? u + 2 * m + T : (s.picture ? u + 2 * m + Q : u + 20);
        if (Q < T) {
            l.pictureTop = u + (T + 2 * m - Q) / 2;
            l.captionTop = u + m;
        } else {
            l.captionTop = u + (Q + 2 * m - T) / 2;
            l.pictureTop = u + m;
        }
        if (alignment == 0) {
            l.pictureLeft = m;
            l.captionLeft = P + 2 * m;
        } else {
            l.captionLeft = m;
            l.pictureLeft = H + 2 * m;
        }
    } else {
        l.width = P < H ? H + 2 * m : (s.picture ? P + 2 * m : 20);
        if (s.caption)
            l.height = u + 3 * m + T + Q;
        else if (s.picture)
            l.height = u + 2 * m + Q;
        else
            l.height = u + 20;
        if (P < H) {
            l.pictureLeft = (H + 2 * m - P) / 2;
            l.captionLeft = m;
        } else {
            l.captionLeft = (P + 2 * m - H) / 2;
            l.pictureLeft = m;
        }
        if (alignment == 1) {
            l.captionTop = u + m;
            l.pictureTop = u + m + T + m;
        } else {
            l.pictureTop = u + m;
            l.captionTop = u + 2 * m + Q;
        }
    }
    return l;
}

} // namespace

} // namespace zu

using namespace zu;

extern "C" int ZuPanelButton_Resize(int32_t, ZuHDC dc, const PanelButtonRecord* record, ZuSIZEF* size,
                                    ZuRECT* pictureRect, ZuRECT* captionRect, int32_t) {
    if (!record || !size) return 0;
    const PanelButtonRecord& r = *record;
    const bool vertical = r.orientation == 1 || r.orientation == 2;
    const float twipsX = r.twipsPerPixelX, twipsY = r.twipsPerPixelY;
    ZuRECT picture{0, 0, 0, 0}, caption{0, 0, 0, 0};
    auto finish = [&](int widthPixels, int heightPixels) {
        size->width = static_cast<float>(widthPixels) * twipsX;
        size->height = static_cast<float>(heightPixels) * twipsY;
        if (pictureRect) *pictureRect = picture;
        if (captionRect) *captionRect = caption;
        return 1;
    };

    if (r.style == StyleSeparator && r.picture == 0) {
        return vertical ? finish(r.separatorThickness, r.separatorLength)
                        : finish(r.separatorLength, r.separatorThickness);
    }

    Measures s;
    s.m = r.margin;
    s.u = r.style == StyleDropDown ? r.dropDownWidth + r.dropDownMargin : 0;
    const int pictureWidth = picturePixels(r.pictureWidth, twipsX);
    const int pictureHeight = picturePixels(r.pictureHeight, twipsY);
    s.picture = r.picture != 0 && pictureWidth > 0 && pictureHeight > 0;
    if (s.picture) {
        const bool quarterTurn = r.pictureRotation == 1 || r.pictureRotation == 2;
        // Across a vertical button the picture's height runs across the screen unless it is turned.
        const bool across = vertical != quarterTurn;
        s.P = across ? pictureHeight : pictureWidth;
        s.Q = across ? pictureWidth : pictureHeight;
    }
    const QString text = captionText(r);
    s.caption = !text.isEmpty();
    if (s.caption) {
        ScopedObject font(dc, gdi::createFontIndirect(captionFont(r, captionEscapement(r.orientation))));
        QSize extent;
        if (gdi::getTextExtent(dc, text, &extent)) {
            s.T = extent.width();
            s.H = extent.height();
        }
    }

    if (!s.picture && !s.caption) {
        // Only the drop-down part grows the button; the size the caller gave is kept otherwise.
        float width = size->width, height = size->height;
        if (r.style == StyleDropDown) {
            if (r.orientation == 1)
                height += static_cast<float>(s.u) * twipsY;
            else if (r.orientation == 2)
                height = static_cast<float>(s.u + 20) * twipsY;
            else
                width += static_cast<float>(s.u) * twipsX;
        }
        size->width = width;
        size->height = height;
        if (pictureRect) *pictureRect = picture;
        if (captionRect) *captionRect = caption;
        return 1;
    }

    const int alignment = std::clamp<int>(r.pictureAlignment, 0, 3);
    Layout l;
    if (!vertical)
        l = horizontalLayout(s, alignment);
    else
        l = verticalLayout(s, r.orientation == 2 ? 3 - alignment : alignment);

    // With only one of the two, it sits at the margin after the drop-down part.
    const int along = vertical ? s.u : 0;
    if (!s.caption) l.pictureLeft = s.m, l.pictureTop = along + s.m;
    if (!s.picture) l.captionLeft = s.m, l.captionTop = along + s.m;

    if (s.picture) picture = ZuRECT{l.pictureLeft, l.pictureTop, l.pictureLeft + s.P, l.pictureTop + s.Q};
    if (s.caption) {
        const int across = vertical ? s.H : s.T;
        const int down = vertical ? s.T : s.H;
        caption = ZuRECT{l.captionLeft, l.captionTop, l.captionLeft + across, l.captionTop + down};
    }
    return finish(l.width, l.height);
}

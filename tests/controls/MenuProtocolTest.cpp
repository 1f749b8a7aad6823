// The menu protocol driven as a container drives it: CreateMenu, AddMenuString, TrackMenu with the popup
// worked by keys and the mouse, MeasureItem answered with AddSizeMenuString, MenuSelect while pointing,
// MenuClick after the choice; sub-menus, the expand line, greyed lines, separators, RefreshString and
// DestroyMenu.
#include "MenuFixture.h"

#include <QTest>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

using namespace zu;
using namespace zutest;

namespace {

// A container: answers MeasureItem with the sizes of its own line table and records the events.
class Container {
  public:
    explicit Container(CZuMenuExCtrl& control) : control_(control) {
        QObject::connect(&control, &CZuMenuExCtrl::MeasureItem, [this](int line, int menu) {
            ++measures;
            const auto& lines = lines_[menu];
            if (line >= static_cast<int>(lines.size())) return;
            int top = 0;
            for (int i = 0; i < line; ++i)
                top += lines[i].height;
            control_.AddSizeMenuString(menu, 0, line, lines[line].height, lines[line].width, 24, true, top,
                                       QString(), 12, 0, 0, false);
        });
        QObject::connect(&control, &CZuMenuExCtrl::MenuSelect,
                         [this](int index, const QString& caption, auto&&...) {
                             selects << QStringLiteral("%1 %2").arg(index).arg(caption);
                             if (onSelect) onSelect(index, caption);
                         });
        QObject::connect(&control, &CZuMenuExCtrl::MenuClick,
                         [this](int index, const QString& caption, const QString& key, auto&&...) {
                             clicks << QStringLiteral("%1 %2 %3").arg(index).arg(caption, key);
                         });
    }
    // CreateMenu, then AddMenuString for each line, or only for the lines named.
    int build(int menu, std::vector<LineOptions> lines, std::vector<int> only = {}) {
        lines_[menu] = lines;
        const int popup = control_.CreateMenu(menu);
        for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
            if (!only.empty() && std::find(only.begin(), only.end(), i) == only.end()) continue;
            const LineOptions& l = lines[i];
            control_.AddMenuString(menu, popup, i, l.caption, QStringLiteral("k%1.%2").arg(menu).arg(i),
                                   QString(), QString(), l.picture, 0, l.visible, l.enabled, l.checked,
                                   rgb(250, 200, 200), rgb(200, 250, 200), rgb(200, 200, 250), rgb(0, 0, 128),
                                   10.0f, 0.0f, QStringLiteral("DejaVu Sans"), 0, 0, 0, 0, l.shortCut,
                                   l.subMenu, QPixmap(), 0);
        }
        return popup;
    }

    QStringList selects, clicks;
    int measures = 0;
    std::function<void(int, const QString&)> onSelect;

  private:
    CZuMenuExCtrl& control_;
    std::map<int, std::vector<LineOptions>> lines_;
};

LineOptions line(const QString& caption, int height = 20) {
    LineOptions l;
    l.caption = caption;
    l.height = height;
    return l;
}

// Runs the steps one after another inside the tracking loop, each once a popup is on screen. The steps belong
// to the returned object: what has not run when it goes never runs.
[[nodiscard]] std::unique_ptr<QObject> during(std::vector<std::function<void(QWidget*)>> steps) {
    auto context = std::make_unique<QObject>();
    QObject* guard = context.get();
    auto shared = std::make_shared<std::vector<std::function<void(QWidget*)>>>(std::move(steps));
    auto index = std::make_shared<size_t>(0);
    auto next = std::make_shared<std::function<void()>>();
    *next = [shared, index, guard, weak = std::weak_ptr<std::function<void()>>(next)] {
        auto self = weak.lock();
        if (!self || *index >= shared->size()) return;
        if (QWidget* popup = menu::topPopupWindow()) {
            (*shared)[(*index)++](popup);
            QTimer::singleShot(0, guard, *self);
        } else {
            QTimer::singleShot(5, guard, *self);
        }
    };
    QObject::connect(guard, &QObject::destroyed, [next] { *next = nullptr; });
    QTimer::singleShot(0, guard, *next);
    return context;
}

void key(int k) {
    QTest::keyClick(menu::topPopupWindow(), static_cast<Qt::Key>(k));
}

// Centre of a line of the top popup, in its window coordinates (the popup's edge is 2 pixels).
QPoint lineCentre(int top, int height) {
    return QPoint(2 + 40, 2 + top + height / 2);
}

class MenuProtocol : public EngineTest {
  protected:
    void TearDown() override {
        EXPECT_FALSE(menu::isTracking());
        EngineTest::TearDown();
    }
};

TEST_F(MenuProtocol, KeyboardWalkSelectsAndChoosesWithTheRememberedLine) {
    CZuMenuExCtrl control;
    Container container(control);
    LineOptions greyed = line(QStringLiteral("Greyed"));
    greyed.enabled = 1;
    const int popup = container.build(
        0, {line(QStringLiteral("Open")), line(QString(), 3), greyed, line(QStringLiteral("^"))});
    QImage shown;
    bool trackedLook = false;
    auto steps = during({
        [&](QWidget*) { trackedLook = control.isTracked(); }, [](QWidget*) { key(Qt::Key_Down); }, // Open
        [&](QWidget* p) { shown = p->grab().toImage(); },
        [](QWidget*) { key(Qt::Key_Down); },   // the separator: nothing drawn, nothing reported
        [](QWidget*) { key(Qt::Key_Down); },   // Greyed: framed, not reported
        [](QWidget*) { key(Qt::Key_Return); }, // a greyed line cannot be chosen; the menu stays open
        [](QWidget*) { key(Qt::Key_Down); },   // the expand line reports itself
        [](QWidget*) { key(Qt::Key_Return); }, // chosen: the remembered values are those of "Open"
    });
    control.TrackMenu(0, 0, 100.7f, 100.2f);
    EXPECT_TRUE(trackedLook);
    EXPECT_FALSE(control.isTracked());
    EXPECT_EQ(container.measures, 4);
    EXPECT_EQ(container.selects, (QStringList{QStringLiteral("0 Open"), QStringLiteral("3 ^")}));
    EXPECT_TRUE(container.clicks.isEmpty()) << "the choice is posted, after the tracking has returned";
    QCoreApplication::processEvents();
    EXPECT_EQ(container.clicks, QStringList{QStringLiteral("0 Open k0.0")});
    EXPECT_EQ(control.popupOf(0), 0u) << "the popup goes with the end of its tracking";
    EXPECT_FALSE(menu::isMenu(static_cast<menu::ZuHMENU>(popup)));

    // What the popup showed with "Open" selected: the frame in FrameColor around the first line.
    ASSERT_FALSE(shown.isNull());
    const QColor frame(gdi::redOf(control.FrameColor()), gdi::greenOf(control.FrameColor()),
                       gdi::blueOf(control.FrameColor()));
    EXPECT_EQ(shown.pixelColor(2 + 0, 2 + 0), frame);
    EXPECT_EQ(shown.pixelColor(2 + 0, 2 + 19), frame);
    EXPECT_NE(shown.pixelColor(2 + 0, 2 + 24), frame) << "the greyed line is at rest";

    // A second TrackMenu without a new CreateMenu does nothing.
    control.TrackMenu(0, 0, 100, 100); // returns at once: no popup to track
    EXPECT_EQ(menu::topPopupWindow(), nullptr);
}

TEST_F(MenuProtocol, ExpandLineChosenFirstNamesNoLine) {
    CZuMenuExCtrl control;
    Container container(control);
    container.build(0, {line(QStringLiteral("First")), line(QStringLiteral("^"))});
    auto steps = during({[](QWidget*) { key(Qt::Key_End); }, [](QWidget*) { key(Qt::Key_Return); }});
    control.TrackMenu(0, 0, 50, 50);
    QCoreApplication::processEvents();
    EXPECT_EQ(container.selects, QStringList{QStringLiteral("1 ^")});
    EXPECT_EQ(container.clicks, QStringList{QStringLiteral("-1  ")})
        << "not line 0, which was never pointed at";
}

TEST_F(MenuProtocol, MouseSelectsAndClicksAndASeparatorIsNoChoice) {
    CZuMenuExCtrl control;
    Container container(control);
    container.build(0, {line(QStringLiteral("First")), line(QString(), 3), line(QStringLiteral("Second"))});
    auto steps = during({
        [](QWidget* p) { QTest::mouseMove(p, lineCentre(23, 20)); },
        [](QWidget* p) { QTest::mouseMove(p, lineCentre(20, 3)); },
        [](QWidget* p) { QTest::mouseClick(p, Qt::LeftButton, {}, lineCentre(20, 3)); },
        [](QWidget* p) { QTest::mouseClick(p, Qt::LeftButton, {}, lineCentre(0, 20)); },
    });
    control.TrackMenu(0, 0, 50, 50);
    QCoreApplication::processEvents();
    EXPECT_EQ(container.selects, (QStringList{QStringLiteral("2 Second"), QStringLiteral("0 First")}));
    EXPECT_EQ(container.clicks, QStringList{QStringLiteral("0 First k0.0")});
}

TEST_F(MenuProtocol, ChoosingTheSeparatorByKeyReportsNothing) {
    CZuMenuExCtrl control;
    Container container(control);
    container.build(0, {line(QStringLiteral("First")), line(QString(), 3)});
    auto steps = during({[](QWidget*) { key(Qt::Key_Down); }, [](QWidget*) { key(Qt::Key_Down); },
                         [](QWidget*) { key(Qt::Key_Return); }, // no choice: the menu stays open
                         [](QWidget*) { key(Qt::Key_Escape); }});
    control.TrackMenu(0, 0, 50, 50);
    QCoreApplication::processEvents();
    EXPECT_EQ(container.selects, QStringList{QStringLiteral("0 First")});
    EXPECT_TRUE(container.clicks.isEmpty()) << "the separator is not the remembered \"First\"";
}

// A greyed line drawn selected is no choice, whichever way the user picks it: nothing is reported, the
// menu stays open, and the line selected before it is not reported in its place.
TEST_F(MenuProtocol, ChoosingAGreyedLineReportsNothing) {
    struct Case {
        const char* name;
        int enabled;
        std::function<void(QWidget*)> choose;
    };
    const QPoint save = lineCentre(20, 20);
    const Case cases[] = {
        {"Enter", 1, [](QWidget*) { key(Qt::Key_Return); }},
        {"keypad Enter", 0, [](QWidget*) { key(Qt::Key_Enter); }},
        {"Space", 1, [](QWidget*) { key(Qt::Key_Space); }},
        {"mouse", 1, [save](QWidget* p) { QTest::mouseClick(p, Qt::LeftButton, {}, save); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CZuMenuExCtrl control;
        Container container(control);
        LineOptions greyed = line(QStringLiteral("Save"));
        greyed.enabled = c.enabled;
        container.build(0, {line(QStringLiteral("Open")), greyed});
        bool stillOpen = false;
        auto steps = during({[](QWidget*) { key(Qt::Key_Down); }, [](QWidget*) { key(Qt::Key_Down); },
                             c.choose, [&](QWidget* p) { stillOpen = p->isVisible() && menu::isTracking(); },
                             [](QWidget*) { key(Qt::Key_Escape); }});
        control.TrackMenu(0, 0, 50, 50);
        QCoreApplication::processEvents();
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(container.selects, QStringList{QStringLiteral("0 Open")});
        EXPECT_TRUE(container.clicks.isEmpty()) << container.clicks.join(QLatin1Char('|')).toStdString();
    }

    // The owner's side, whatever the menu manager lets through: the greyed line drawn selected after
    // "Open" is no choice, and its command fires nothing; "Open" still fires with its own values.
    CZuMenuExCtrl control;
    Container container(control);
    LineOptions greyed = line(QStringLiteral("Save"));
    greyed.enabled = 1;
    const auto popup = static_cast<menu::ZuHMENU>(container.build(0, {line(QStringLiteral("Open")), greyed}));
    openAndMeasure(control, popup, 2);
    Surface s(200, 40);
    drawLine(control, popup, s, 0, 20, true);
    drawLine(control, popup, s, 20, 20, true);
    const int openId = 1, saveId = 2; // command identifiers: menu * 32 + line + 1
    EXPECT_TRUE(control.isChoice(popup, openId));
    EXPECT_FALSE(control.isChoice(popup, saveId));
    control.command(saveId);
    EXPECT_TRUE(container.clicks.isEmpty()) << container.clicks.join(QLatin1Char('|')).toStdString();
    control.command(openId);
    EXPECT_EQ(container.clicks, QStringList{QStringLiteral("0 Open k0.0")});
}

// A hidden greyed line shown by RefreshString while lines before it are still hidden lands at the end of
// the popup; it is greyed there all the same, so it cannot be chosen.
TEST_F(MenuProtocol, RefreshStringGreysTheLineWhereverItLands) {
    CZuMenuExCtrl control;
    Container container(control);
    LineOptions hidden = line(QStringLiteral("Hidden"));
    hidden.visible = 0;
    LineOptions greyed = line(QStringLiteral("Save"));
    greyed.visible = 0;
    greyed.enabled = 1;
    // The data of all three lines, then a fresh popup with "Open" alone; "Save" is shown before "Hidden".
    const std::vector<LineOptions> lines = {line(QStringLiteral("Open")), hidden, greyed};
    container.build(0, lines);
    const auto popup = static_cast<menu::ZuHMENU>(container.build(0, lines, {0}));
    control.RefreshString(0, 0, 2, 0, 0);
    ASSERT_EQ(menu::menuItemCount(popup), 2);
    auto steps = during({[](QWidget*) { key(Qt::Key_End); }, [](QWidget*) { key(Qt::Key_Return); },
                         [](QWidget*) { key(Qt::Key_Escape); }});
    control.TrackMenu(0, 0, 50, 50);
    QCoreApplication::processEvents();
    EXPECT_TRUE(container.clicks.isEmpty()) << container.clicks.join(QLatin1Char('|')).toStdString();
}

// The popup is drawn at the screen's device pixel ratio: its image holds the device's pixels, so text is
// drawn at that resolution and each glyph pixel (the check mark, the sub-menu arrow) covers a block of
// ratio x ratio device pixels, as large on the screen as at 100 %. The suite runs this once more at
// QT_SCALE_FACTOR=2.
TEST_F(MenuProtocol, ThePopupIsDrawnAtTheDevicePixelRatio) {
    const qreal ratio = qApp->devicePixelRatio();
    const int r = qRound(ratio);
    CZuMenuExCtrl control;
    Container container(control);
    const int sub = container.build(1, {line(QStringLiteral("Sub"))});
    LineOptions checked = line(QStringLiteral("Open"));
    checked.checked = -1;
    LineOptions opener = line(QStringLiteral("More"));
    opener.subMenu = sub;
    container.build(0, {checked, opener});
    QImage image;
    QSize logical;
    auto steps = during({[&](QWidget* p) {
                             image = menu::popupImage(p);
                             logical = p->size() - QSize(4, 4); // the popup's edge is 2 pixels
                         },
                         [](QWidget*) { key(Qt::Key_Escape); }});
    control.TrackMenu(0, 0, 50, 50);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.devicePixelRatio(), ratio);
    EXPECT_EQ(image.size(), logical * r);
    // Black pixels of a line's rows: the built-in check mark (10 x 9) in line 0, the arrow (4 x 7) in line 1.
    auto blackBox = [&](int top, int height) {
        QRect box;
        for (int y = top * r; y < (top + height) * r; ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == 0) box |= QRect(x, y, 1, 1);
        return box;
    };
    EXPECT_EQ(blackBox(0, 20).size(), QSize(10, 9) * r);
    EXPECT_EQ(blackBox(20, 20).size(), QSize(4, 7) * r);
}

TEST_F(MenuProtocol, EscapeAndAPressOutsideCancel) {
    for (bool byMouse : {false, true}) {
        CZuMenuExCtrl control;
        Container container(control);
        container.build(0, {line(QStringLiteral("Only"))});
        auto steps = during({[](QWidget*) { key(Qt::Key_Down); },
                             [byMouse](QWidget* p) {
                                 if (byMouse)
                                     QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(p->width() + 30, 5));
                                 else
                                     key(Qt::Key_Escape);
                             }});
        control.TrackMenu(0, 0, 50, 50);
        QCoreApplication::processEvents();
        EXPECT_EQ(container.selects.size(), 1);
        EXPECT_TRUE(container.clicks.isEmpty());
        EXPECT_EQ(control.popupOf(0), 0u);
    }
}

TEST_F(MenuProtocol, SubMenuOpensMeasuresAndReportsItsLines) {
    CZuMenuExCtrl control;
    Container container(control);
    const int sub = container.build(1, {line(QStringLiteral("Sub A")), line(QStringLiteral("Sub B"))});
    LineOptions opener = line(QStringLiteral("More"));
    opener.subMenu = sub;
    container.build(0, {line(QStringLiteral("Top")), opener});
    QWidget* subPopup = nullptr;
    auto steps = during({
        [](QWidget*) { key(Qt::Key_Down); },
        [](QWidget*) { key(Qt::Key_Down); },
        [](QWidget*) { key(Qt::Key_Right); }, // opens the sub-menu with its first line selected
        [&](QWidget* p) { subPopup = p; },
        [](QWidget*) { key(Qt::Key_Down); },
        [](QWidget*) { key(Qt::Key_Return); },
    });
    control.TrackMenu(0, 0, 50, 50);
    QCoreApplication::processEvents();
    EXPECT_NE(subPopup, nullptr);
    EXPECT_EQ(container.measures, 4) << "two lines in each menu, each measured once";
    EXPECT_EQ(container.selects, (QStringList{QStringLiteral("0 Top"), QStringLiteral("1 More"),
                                              QStringLiteral("0 Sub A"), QStringLiteral("1 Sub B")}));
    EXPECT_EQ(container.clicks, QStringList{QStringLiteral("1 Sub B k1.1")});
    EXPECT_EQ(control.popupOf(1), 0u) << "the sub-menu went with the menu that opened it";
    EXPECT_EQ(menu::liveMenuCount(), 0);
}

TEST_F(MenuProtocol, TrackingFlagsPlaceThePopupAndSilenceTheChoice) {
    struct FlagCase {
        const char* name;
        unsigned flags;
        QPoint corner; // which corner of the popup lies at the point: 0 left/top, 1 centre, 2 right/bottom
        bool reportsChoice;
    };
    const FlagCase table[] = {
        {"left_top", menu::TPM_LEFTALIGN | menu::TPM_TOPALIGN, {0, 0}, true},
        {"right_bottom", menu::TPM_RIGHTALIGN | menu::TPM_BOTTOMALIGN, {2, 2}, true},
        {"centre", menu::TPM_CENTERALIGN | menu::TPM_VCENTERALIGN, {1, 1}, true},
        {"return_command", menu::TPM_RETURNCMD, {0, 0}, false},
        {"no_notify", menu::TPM_NONOTIFY, {0, 0}, false},
    };
    for (const FlagCase& c : table) {
        SCOPED_TRACE(c.name);
        CZuMenuExCtrl control;
        Container container(control);
        container.build(0, {line(QStringLiteral("One")), line(QStringLiteral("Two"))});
        QRect placed;
        auto steps = during({[&](QWidget* p) { placed = p->geometry(); }, [](QWidget*) { key(Qt::Key_Down); },
                             [](QWidget*) { key(Qt::Key_Return); }});
        control.TrackMenu(0, static_cast<int>(c.flags), 300, 200);
        QCoreApplication::processEvents();
        ASSERT_FALSE(placed.isEmpty());
        const QPoint expected(300 - c.corner.x() * placed.width() / 2,
                              200 - c.corner.y() * placed.height() / 2);
        EXPECT_EQ(placed.topLeft(), expected);
        EXPECT_EQ(container.clicks.size(), c.reportsChoice ? 1 : 0);
    }
}

TEST_F(MenuProtocol, PointingBackAtTheParentClosesTheSubMenu) {
    CZuMenuExCtrl control;
    Container container(control);
    const int sub = container.build(1, {line(QStringLiteral("Sub A"))});
    LineOptions opener = line(QStringLiteral("More"));
    opener.subMenu = sub;
    container.build(0, {line(QStringLiteral("Top")), opener});
    QWidget* parentPopup = nullptr;
    int openAfterRight = 0, openAfterPointing = 0;
    auto steps = during({
        [&](QWidget* p) { parentPopup = p; },
        [](QWidget*) { key(Qt::Key_Down); },
        [](QWidget*) { key(Qt::Key_Down); },
        [](QWidget*) { key(Qt::Key_Right); },
        [&](QWidget* p) {
            openAfterRight = p != parentPopup;
            // The pointer over the parent's first line: the sub-menu's window receives the move.
            const QPoint global = parentPopup->mapToGlobal(lineCentre(0, 20));
            QTest::mouseMove(p, p->mapFromGlobal(global));
        },
        [&](QWidget* p) {
            openAfterPointing = p != parentPopup;
            key(Qt::Key_Escape);
        },
    });
    control.TrackMenu(0, 0, 50, 50);
    EXPECT_TRUE(openAfterRight);
    EXPECT_FALSE(openAfterPointing);
    EXPECT_EQ(container.selects.last(), QStringLiteral("0 Top"));
}

TEST_F(MenuProtocol, RefreshStringShowsAHiddenLineInTheOpenPopup) {
    CZuMenuExCtrl control;
    Container container(control);
    LineOptions hidden = line(QStringLiteral("Hidden"));
    hidden.visible = 0;
    // The line data of all three, then a fresh popup with the two shown lines: the slot keeps line 2's data.
    const std::vector<LineOptions> lines = {line(QStringLiteral("Shown")), line(QStringLiteral("^")), hidden};
    container.build(0, lines);
    const int popup = container.build(0, lines, {0, 1});
    ASSERT_EQ(menu::menuItemCount(popup), 2);
    ASSERT_EQ(control.menuSlot(0).lines[2].caption, QStringLiteral("Hidden"));
    int heightBefore = 0, heightAfter = 0, measuresBefore = 0;
    container.onSelect = [&](int, const QString& caption) {
        if (caption != QLatin1String("^") || heightBefore) return;
        heightBefore = menu::topPopupWindow()->height();
        measuresBefore = container.measures;
        control.RefreshString(0, 0, 2, 0, 0); // IDMenus 0 is taken as the menu index by the measuring
        heightAfter = menu::topPopupWindow()->height();
    };
    auto steps = during({[](QWidget*) { key(Qt::Key_Down); }, [](QWidget*) { key(Qt::Key_Down); },
                         [](QWidget*) { key(Qt::Key_Down); }, [](QWidget*) { key(Qt::Key_Return); }});
    control.TrackMenu(0, 0, 50, 50);
    QCoreApplication::processEvents();
    EXPECT_EQ(heightAfter, heightBefore + 20) << "the hidden line was inserted, measured and laid out";
    EXPECT_EQ(container.measures, measuresBefore + 1);
    EXPECT_EQ(container.selects.last(), QStringLiteral("2 Hidden"));
    EXPECT_EQ(container.clicks, QStringList{QStringLiteral("2 Hidden k0.2")});
}

TEST_F(MenuProtocol, RefreshStringLeavesVisibleLinesAndInsertsHiddenOnesWithTheirState) {
    CZuMenuExCtrl control;
    const int popup = control.CreateMenu(2);
    auto add = [&](int index, int visible, int enabled) {
        control.AddMenuString(2, popup, index, QStringLiteral("L%1").arg(index), QString(), QString(),
                              QString(), QPixmap(), 0, visible, enabled, 0, 0, 0, 0, 0, 10.0f, 0.0f,
                              QString(), 0, 0, 0, 0, QString(), 0, QPixmap(), 0);
    };
    add(0, -1, -1);
    add(1, 0, 1);
    ASSERT_EQ(menu::menuItemCount(popup), 2);
    control.RefreshString(2, 2, 0, 0, 0);
    EXPECT_EQ(menu::menuItemCount(popup), 2) << "a visible line is left alone";
    control.RefreshString(2, 2, 1, 0, 0);
    EXPECT_EQ(menu::menuItemCount(popup), 3);
    for (int bad : {-1, 27})
        control.RefreshString(bad, 0, 0, 0, 0), control.RefreshString(2, 0, bad, 0, 0);
    EXPECT_EQ(menu::menuItemCount(popup), 3);
}

TEST_F(MenuProtocol, UndefinedIndicesAndMissingPopupsChangeNothing) {
    CZuMenuExCtrl control;
    for (int bad : {-1, 27, 1000}) {
        EXPECT_EQ(control.CreateMenu(bad), 0);
        control.AddMenuString(bad, 0, 0, QStringLiteral("x"), {}, {}, {}, {}, 0, 0, -1, 0, 0, 0, 0, 0, 10, 0,
                              {}, 0, 0, 0, 0, {}, 0, {}, 0);
        control.AddMenuString(0, 0, bad, QStringLiteral("x"), {}, {}, {}, {}, 0, 0, -1, 0, 0, 0, 0, 0, 10, 0,
                              {}, 0, 0, 0, 0, {}, 0, {}, 0);
        control.AddSizeMenuString(bad, 0, 0, 20, 20, 20, true, 0, {}, 0, 0, 0, false);
        control.TrackMenu(bad, 0, 0, 0);
        control.DestroyMenu(bad);
    }
    EXPECT_EQ(menu::liveMenuCount(), 0);
    // TrackMenu without a popup, or at a point that is not a number, shows nothing.
    control.TrackMenu(3, 0, 10, 10); // returns at once: no popup to track
    control.CreateMenu(3);
    control.AddMenuString(3, control.popupOf(3), 0, QStringLiteral("x"), {}, {}, {}, {}, 0, -1, -1, 0, 0, 0,
                          0, 0, 10, 0, {}, 0, 0, 0, 0, {}, 0, {}, 0);
    control.TrackMenu(3, 0, std::numeric_limits<float>::quiet_NaN(), 10);
    EXPECT_EQ(menu::topPopupWindow(), nullptr);
    EXPECT_NE(control.popupOf(3), 0u) << "the popup stays for a proper TrackMenu";
    QCoreApplication::processEvents();
}

TEST_F(MenuProtocol, PopupsGoWithDestroyMenuCreateMenuAndTheControl) {
    const int before = menu::liveMenuCount();
    {
        CZuMenuExCtrl control;
        const int first = control.CreateMenu(0);
        const int second = control.CreateMenu(0);
        EXPECT_FALSE(menu::isMenu(static_cast<menu::ZuHMENU>(first))) << "a slot's old popup is not lost";
        EXPECT_TRUE(menu::isMenu(static_cast<menu::ZuHMENU>(second)));
        control.DestroyMenu(0);
        EXPECT_EQ(control.popupOf(0), 0u);
        control.DestroyMenu(0); // twice is harmless
        control.CreateMenu(4);
        control.CreateMenu(5);
        EXPECT_EQ(menu::liveMenuCount(), before + 2);
    }
    EXPECT_EQ(menu::liveMenuCount(), before);
}

} // namespace

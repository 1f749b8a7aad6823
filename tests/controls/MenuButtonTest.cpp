// The menu button's own window: drawing at rest, tracked and unavailable, the beep, Click, and the helper
// methods GetMaxTextExt, ChangeColor and OpenAnyFile.
#include "MenuFixture.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace zu;
using namespace zutest;

namespace {

const COLORREF back = rgb(230, 230, 180);
const COLORREF fore = rgb(120, 0, 0);

class MenuButton : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        control = std::make_unique<CZuMenuExCtrl>();
        control->resize(140, 30);
        control->setMenuBackColor(back);
        control->setForeColor(fore);
        control->setFontName(QStringLiteral("DejaVu Sans"));
        control->setCaption(QStringLiteral("Menu"));
    }
    void TearDown() override {
        control.reset();
        EngineTest::TearDown();
    }
    QImage painted() const { return control->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    static COLORREF at(const QImage& image, int x, int y) {
        const QRgb p = image.pixel(x, y);
        return rgb(qRed(p), qGreen(p), qBlue(p));
    }
    static QRect box(const QImage& image, COLORREF colour) {
        QRect r;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (at(image, x, y) == colour) r |= QRect(x, y, 1, 1);
        return r;
    }
    std::unique_ptr<CZuMenuExCtrl> control;
};

TEST_F(MenuButton, AtRestPictureAndCaptionFromTheMargin) {
    QImage image = painted();
    EXPECT_EQ(at(image, 0, 0), back);
    EXPECT_EQ(at(image, 139, 29), back);
    QRect text = box(image, fore);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.left(), 2 * 3) << "without a picture the caption starts at twice the margin";
    EXPECT_LE(text.left(), 2 * 3 + 2);

    // A 10 x 10 picture: at the margin, centred vertically, lightened by Major; the caption moves past it.
    control->setPicture(solidPixmap(10, 10, QColor(0, 100, 0)));
    image = painted();
    EXPECT_EQ(box(image, lighten(rgb(0, 100, 0), 50)), QRect(3, 10, 10, 10));
    text = box(image, fore);
    EXPECT_GE(text.left(), 10 + 2 * 3);
    EXPECT_LE(text.left(), 10 + 2 * 3 + 2);

    // Not available: the picture disabled (a light one, so that it differs from grey text), the caption in
    // grey.
    control->setButtonEnabled(false);
    control->setPicture(solidPixmap(10, 10, QColor(200, 250, 200)));
    image = painted();
    EXPECT_EQ(box(image, disabledColor(rgb(200, 250, 200))), QRect(3, 10, 10, 10));
    EXPECT_TRUE(box(image, fore).isEmpty());
    EXPECT_FALSE(box(image, sys(gdi::COLOR_GRAYTEXT)).isEmpty());
}

TEST_F(MenuButton, TrackedLookWhileTheMenuIsOpen) {
    control->setPicture(solidPixmap(10, 10, QColor(0, 100, 0)));
    control->setCaptionShadow(true);
    const int popup = control->CreateMenu(0);
    control->AddMenuString(0, popup, 0, QStringLiteral("x"), {}, {}, {}, {}, 0, -1, -1, 0, 0, 0, 0, 0, 10, 0,
                           {}, 0, 0, 0, 0, {}, 0, {}, 0);
    QObject::connect(control.get(), &CZuMenuExCtrl::MeasureItem, [&](int line, int menu) {
        control->AddSizeMenuString(menu, 0, line, 20, 60, 20, true, 0, {}, 0, 0, 0, false);
    });
    QImage tracked;
    QTimer::singleShot(0, [&] {
        tracked = painted();
        QTest::keyClick(menu::topPopupWindow(), Qt::Key_Escape);
    });
    control->TrackMenu(0, 0, 10, 10);
    ASSERT_FALSE(tracked.isNull());
    const COLORREF grey = sys(gdi::COLOR_GRAYTEXT);
    EXPECT_EQ(at(tracked, 0, 0), grey) << "a one-pixel frame in grey text";
    EXPECT_EQ(at(tracked, 139, 29), grey);
    EXPECT_EQ(at(tracked, 1, 1), sys(gdi::COLOR_MENU)) << "filled with the system menu colour";
    // The picture raised: drawn at (2, 9), its shadow one pixel right and down of the rest place (4, 11).
    EXPECT_EQ(box(tracked, rgb(0, 100, 0)), QRect(2, 9, 10, 10));
    EXPECT_EQ(at(tracked, 12, 19), darkenRaw(sys(gdi::COLOR_MENU), 30));
    // The caption's shadow in the background colour darkened by 30 (white less 30), then the caption.
    EXPECT_FALSE(box(tracked, rgb(225, 225, 225)).isEmpty());
    EXPECT_FALSE(box(tracked, fore).isEmpty());
    // And back to rest afterwards.
    EXPECT_EQ(at(painted(), 0, 0), back);
}

TEST_F(MenuButton, OneBeepPerEntryAndClickWhenAvailable) {
    control->show();
    const int before = beepCount();
    for (int x = 5; x < 60; x += 5)
        QTest::mouseMove(control.get(), QPoint(x, 10));
    EXPECT_EQ(beepCount(), before + 1) << "one beep for the entry, not one per movement";
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(control.get(), &leave);
    QTest::mouseMove(control.get(), QPoint(20, 12));
    EXPECT_EQ(beepCount(), before + 2) << "a new entry beeps again";

    QSignalSpy clicks(control.get(), &CZuMenuExCtrl::Click);
    QTest::mouseClick(control.get(), Qt::LeftButton, {}, QPoint(20, 12));
    EXPECT_EQ(clicks.size(), 1);
    control->setButtonEnabled(false);
    QTest::mouseClick(control.get(), Qt::LeftButton, {}, QPoint(20, 12));
    EXPECT_EQ(clicks.size(), 1) << "an unavailable button gives no Click";
}

TEST_F(MenuButton, WindowHandleFollowsTheWidget) {
    control->resize(90, 40);
    ZuRECT client{};
    ASSERT_TRUE(gdi::getClientRect(static_cast<ZuHWND>(control->hWnd()), &client));
    EXPECT_EQ(client, (ZuRECT{0, 0, 90, 40}));
}

TEST_F(MenuButton, GetMaxTextExtMeasuresWithTheScaledFont) {
    // FontHeight 10 is a character height of 13 pixels.
    Surface s(1, 1);
    gdi::LogFont log;
    log.height = -13;
    log.weight = 700;
    log.faceName = QStringLiteral("DejaVu Sans");
    QSize expected;
    {
        ScopedObject font(s.dc, gdi::createFontIndirect(log));
        gdi::getTextExtent(s.dc, QStringLiteral("Сохранить"), &expected);
    }
    const QString face = QStringLiteral("DejaVu Sans");
    EXPECT_EQ(control->GetMaxTextExt(QStringLiteral("Сохранить"), face, 1, 0, 204, 10, 0, 0),
              expected.width());
    EXPECT_EQ(control->GetMaxTextExt(QStringLiteral("Сохранить"), face, 1, 0, 204, 10, 0, 1),
              expected.height());
    EXPECT_LT(control->GetMaxTextExt(QStringLiteral("Сохранить"), face, 0, 0, 204, 10, 0, 0),
              expected.width())
        << "not bold is narrower";
    for (int flag : {-1, 2})
        EXPECT_EQ(control->GetMaxTextExt(QStringLiteral("x"), face, 0, 0, 0, 10, 0, flag), 0.0f);
}

// Works the modal dialog that opens next with the given function.
void onNextDialog(std::function<void(QWidget*)> work) {
    QTimer::singleShot(0, [work] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) {
            onNextDialog(work);
            return;
        }
        work(dialog);
    });
}

TEST_F(MenuButton, ChangeColorReturnsTheChoiceOrItsArgument) {
    const uint systemMenu = 0x80000004u;
    onNextDialog([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_EQ(control->ChangeColor(systemMenu), systemMenu) << "cancelled: the argument unchanged";

    QColor offered;
    onNextDialog([&](QWidget* dialog) {
        auto* colours = qobject_cast<QColorDialog*>(dialog);
        ASSERT_NE(colours, nullptr);
        offered = colours->currentColor();
        colours->setCurrentColor(QColor(10, 20, 30));
        colours->accept();
    });
    EXPECT_EQ(control->ChangeColor(systemMenu), rgb(10, 20, 30));
    EXPECT_EQ(rgb(offered.red(), offered.green(), offered.blue()), sys(gdi::COLOR_MENU))
        << "the dialog starts at the resolved colour";
}

TEST_F(MenuButton, OpenAnyFileStoresTheChosenPath) {
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/picture.bmp");
    QFile(path).open(QIODevice::WriteOnly);
    QStringList filters;
    QString title;
    onNextDialog([&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        title = files->windowTitle();
        filters = files->nameFilters();
        files->selectFile(path);
        static_cast<QDialog*>(files)->accept();
    });
    control->OpenAnyFile(QStringLiteral("Рисунок"));
    EXPECT_EQ(title, QStringLiteral("Рисунок"));
    EXPECT_EQ(filters,
              (QStringList{QStringLiteral("Picture files(*.bmp)"), QStringLiteral("All files(*.*)")}));
    EXPECT_EQ(control->FilePath(), path);

    onNextDialog([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    control->OpenAnyFile(QStringLiteral("Рисунок"));
    EXPECT_EQ(control->FilePath(), path) << "cancelled: the path stays";
}

} // namespace

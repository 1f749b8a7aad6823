// The picture windows: the three-circuit scheme read from the picture folder, the fixed pictures
// and the web page window.
#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include "PictureWindows.h"
#include "Twips.h"

namespace {

void writePicture(const QString& folder, const QSize& size) {
    QDir().mkpath(folder + "/picture");
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QVERIFY(image.save(folder + "/picture/spv.jpg", "JPG"));
}

void writeGarbage(const QString& folder) {
    QDir().mkpath(folder + "/picture");
    QFile file(folder + "/picture/spv.jpg");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
}

} // namespace

// Receives the addresses the program hands to the user's browser.
class BrowserStandIn : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

class PictureWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    // Where the scheme file is looked for: the working directory first, then the installed data.
    void schemePicture_data() {
        QTest::addColumn<QString>("workFile"); // "picture", "garbage" or "none"
        QTest::addColumn<QString>("dataFile");
        QTest::addColumn<int>("shownWidth"); // 0: the missing-file label
        QTest::newRow("working directory") << "picture"
                                           << "none" << 300;
        QTest::newRow("installed data when the working directory has none") << "none"
                                                                            << "picture" << 200;
        QTest::newRow("working directory first") << "picture"
                                                 << "picture" << 300;
        QTest::newRow("none anywhere") << "none"
                                       << "none" << 0;
        QTest::newRow("not a picture") << "garbage"
                                       << "none" << 0;
    }
    void schemePicture() {
        QFETCH(QString, workFile);
        QFETCH(QString, dataFile);
        QFETCH(int, shownWidth);
        QTemporaryDir work, data;
        if (workFile == "picture") writePicture(work.path(), {300, 180});
        if (workFile == "garbage") writeGarbage(work.path());
        if (dataFile == "picture") writePicture(data.path(), {200, 120});

        ThreeCircuitSchemeWindow form;
        form.present("Параллельная схема для трех контуров", work.path(), data.path());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.windowTitle(), QString("Параллельная схема для трех контуров"));
        if (shownWidth > 0) {
            QVERIFY(!form.missingLabel->isVisible());
            QVERIFY(form.image->isVisible());
            QCOMPARE(form.image->pixmap().width(), shownWidth);
            QCOMPARE(form.image->pos(), QPoint(0, 0));
            QCOMPARE(form.size(), form.image->pixmap().size());
        } else {
            QVERIFY(form.missingLabel->isVisible());
            QCOMPARE(form.missingLabel->text(), QString("Отствует база данных с тепловыми схемами."));
            QCOMPARE(form.size(), QSize(twipsToPixels(6225, &form), twipsToPixels(4815, &form)));
        }
    }

    // The file is read at each use: a picture that appears later replaces the message, and one
    // that goes brings the message back.
    void schemeReadAtEachUse() {
        QTemporaryDir work;
        ThreeCircuitSchemeWindow form;
        form.present("Смешанная схема для трех контуров", work.path(), QString());
        QVERIFY(!form.missingLabel->isHidden());
        writePicture(work.path(), {320, 200});
        form.present("Смешанная схема с параллельной вентиляцией", work.path(), QString());
        QVERIFY(form.missingLabel->isHidden());
        QCOMPARE(form.size(), QSize(320, 200));
        QVERIFY(QFile::remove(work.path() + "/picture/spv.jpg"));
        form.present("Смешанная схема для трех контуров", work.path(), QString());
        QVERIFY(!form.missingLabel->isHidden());
        QVERIFY(form.image->isHidden());
        QCOMPARE(form.windowTitle(), QString("Смешанная схема для трех контуров"));
    }

    void fixedPictures() {
        MixedSchemeWindow mixed;
        ExchangerPictureWindow single;
        ParallelSchemeWindow parallel;
        const QList<QPair<FixedPictureWindow*, QString>> windows = {
            {&mixed, "Смешанная схема"}, {&single, "Теплообменник"}, {&parallel, "Параллельная схема"}};
        for (const auto& [window, caption] : windows) {
            QCOMPARE(window->windowTitle(), caption);
            QVERIFY2(!window->image->pixmap().isNull(), qPrintable(caption));
            window->show();
            QCOMPARE(window->size(), window->image->pixmap().size());
        }
    }

    // Without an embedded browser the address goes to the user's browser and stays in the window.
    void webPageOpensInTheBrowser() {
        BrowserStandIn browser;
        QDesktopServices::setUrlHandler("http", &browser, "open");
        WebPageWindow form;
        QCOMPARE(form.windowTitle(), QString("Web-сайт ООО \"Варимекс\""));
        form.navigate("http://example.org/");
        QDesktopServices::unsetUrlHandler("http");
        if (form.embedded()) QSKIP("the build embeds a browser");
        QCOMPARE(browser.opened, QList<QUrl>({QUrl("http://example.org/")}));
        QVERIFY(form.statusLabel->text().contains("http://example.org/"));
    }

    // An owner without a site name gives "http:///": nothing is opened, the window says why.
    void webPageWithoutAnAddress() {
        BrowserStandIn browser;
        QDesktopServices::setUrlHandler("http", &browser, "open");
        WebPageWindow form;
        form.navigate("http:///");
        QDesktopServices::unsetUrlHandler("http");
        QVERIFY(browser.opened.isEmpty());
        QCOMPARE(form.statusLabel->text(), QString("Адрес web-сайта не задан."));
    }
};

QTEST_MAIN(PictureWindowsTest)
#include "PictureWindowsTest.moc"

#include "PictureWindows.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QUrl>
#include <QVBoxLayout>

#include "Twips.h"

#ifdef KALVAR_HAVE_WEBENGINE
#include <QWebEngineView>
#endif

// The fixed pictures are resources of this static library: initialise them before the first use.
static void initialisePictures() {
    Q_INIT_RESOURCE(dialogs);
}

namespace {

QLabel* pictureLabel(QWidget* parent) {
    auto* image = new QLabel(parent);
    image->setObjectName("Image1");
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return image;
}

} // namespace

FixedPictureWindow::FixedPictureWindow(const QString& name, const QString& caption, const QString& picture,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window) {
    initialisePictures();
    setObjectName(name);
    setWindowTitle(caption);
    setAttribute(Qt::WA_QuitOnClose, false);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    Image1 = pictureLabel(this);
    Image1->setPixmap(QPixmap(picture));
    Image1->setAccessibleName(caption);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Image1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

Form5::Form5(QWidget* parent)
    : FixedPictureWindow("Form5", "Смешанная схема", ":/dialogs/pictures/form5.jpg", parent) {}

Form7::Form7(QWidget* parent)
    : FixedPictureWindow("Form7", "Теплообменник", ":/dialogs/pictures/form7.jpg", parent) {}

Form8::Form8(QWidget* parent)
    : FixedPictureWindow("Form8", "Параллельная схема", ":/dialogs/pictures/form8.jpg", parent) {}

Form6::Form6(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("Form6");
    setAttribute(Qt::WA_QuitOnClose, false);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    Image1 = pictureLabel(this);
    Label1 = new QLabel("Отствует база данных с тепловыми схемами.", this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    QFont message = Label1->font();
    message.setPointSizeF(message.pointSizeF() * 1.3);
    Label1->setFont(message);
    Label1->hide();
    resize(twipsToPixels(6225, this), twipsToPixels(4815, this));
}

void Form6::present(const QString& caption, const QString& workDir, const QString& dataDir) {
    // The working directory's picture folder comes first, the installed one serves when it has none.
    QPixmap picture;
    for (const QString& folder : {workDir, dataDir}) {
        if (folder.isEmpty()) continue;
        const QFileInfo file(QDir(folder).filePath("picture/spv.jpg"));
        if (!file.isFile()) continue;
        // A file that exists but is no picture is reported like a missing one.
        if (picture.load(file.filePath())) break;
    }
    if (!picture.isNull()) {
        Image1->setPixmap(picture);
        Image1->setGeometry(0, 0, picture.width(), picture.height());
        Image1->show();
        Label1->hide();
        // The original's extra 100 × 400 twips covered its frame and title bar; here the client area
        // is the picture itself.
        resize(picture.size());
    } else {
        Image1->clear();
        Image1->hide();
        const QSize designed(twipsToPixels(6225, this), twipsToPixels(4815, this));
        resize(designed);
        Label1->setGeometry(0, 0, designed.width(), designed.height());
        Label1->show();
    }
    setWindowTitle(caption);
}

Form13::Form13(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("Form13");
    setWindowTitle("Web-сайт ООО \"Варимекс\"");
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setTextFormat(Qt::RichText);
    Label1->setOpenExternalLinks(true);
    Label1->setTextInteractionFlags(Qt::TextBrowserInteraction);
    layout->addWidget(Label1);
#ifdef KALVAR_HAVE_WEBENGINE
    layout->setContentsMargins(0, 0, 0, 0);
    WebBrowser1 = new QWebEngineView(this);
    WebBrowser1->setObjectName("WebBrowser1");
    layout->addWidget(WebBrowser1, 1);
    Label1->hide(); // only for an address that cannot be shown
#endif
    openExternal = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    resize(twipsToPixels(9000, this), twipsToPixels(6000, this));
}

bool Form13::embedded() const {
    return WebBrowser1 != nullptr;
}

void Form13::navigate(const QString& address) {
    address_ = address;
    const QUrl url(address, QUrl::StrictMode);
    // The window always shows: with the page, or with what became of the address.
    if (!url.isValid() || url.host().isEmpty()) {
        Label1->setText("Адрес web-сайта не задан.");
        Label1->show();
        if (WebBrowser1) WebBrowser1->hide();
        present();
        return;
    }
#ifdef KALVAR_HAVE_WEBENGINE
    Label1->hide();
    WebBrowser1->show();
    static_cast<QWebEngineView*>(WebBrowser1)->setUrl(url);
#else
    const QString link =
        QString("<a href=\"%1\">%2</a>")
            .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(), url.toDisplayString().toHtmlEscaped());
    if (openExternal && openExternal(url))
        Label1->setText("Страница открыта в браузере:<br>" + link);
    else
        Label1->setText("Не удалось открыть браузер. Адрес страницы:<br>" + link);
#endif
    present();
}

void Form13::present() {
    show();
    raise();
    activateWindow();
}

bool Form13::event(QEvent* event) {
    // The browser fills the window whenever the window becomes active.
    if (event->type() == QEvent::WindowActivate && WebBrowser1 != nullptr) WebBrowser1->resize(size());
    return QWidget::event(event);
}

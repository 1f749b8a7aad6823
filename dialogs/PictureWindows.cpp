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

// A picture window: white around its picture, and closing it never ends the program.
void showOnWhite(QWidget* window) {
    window->setAttribute(Qt::WA_QuitOnClose, false);
    QPalette white = window->palette();
    white.setColor(QPalette::Window, Qt::white);
    window->setPalette(white);
    window->setAutoFillBackground(true);
}

} // namespace

FixedPictureWindow::FixedPictureWindow(const QString& name, const QString& caption, const QString& picture,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window) {
    initialisePictures();
    setObjectName(name);
    setWindowTitle(caption);
    showOnWhite(this);
    image = pictureLabel(this);
    image->setPixmap(QPixmap(picture));
    image->setAccessibleName(caption);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(image);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

MixedSchemeWindow::MixedSchemeWindow(QWidget* parent)
    : FixedPictureWindow("Form5", "Смешанная схема", ":/dialogs/pictures/mixed-scheme.jpg", parent) {}

ExchangerPictureWindow::ExchangerPictureWindow(QWidget* parent)
    : FixedPictureWindow("Form7", "Теплообменник", ":/dialogs/pictures/exchanger.jpg", parent) {}

ParallelSchemeWindow::ParallelSchemeWindow(QWidget* parent)
    : FixedPictureWindow("Form8", "Параллельная схема", ":/dialogs/pictures/parallel-scheme.jpg", parent) {}

ThreeCircuitSchemeWindow::ThreeCircuitSchemeWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("Form6");
    showOnWhite(this);
    image = pictureLabel(this);
    missingLabel = new QLabel("Отствует база данных с тепловыми схемами.", this);
    missingLabel->setObjectName("Label1");
    missingLabel->setAlignment(Qt::AlignCenter);
    missingLabel->setWordWrap(true);
    QFont message = missingLabel->font();
    message.setPointSizeF(message.pointSizeF() * 1.3);
    missingLabel->setFont(message);
    missingLabel->hide();
    resize(twipsToPixels(6225, this), twipsToPixels(4815, this));
}

void ThreeCircuitSchemeWindow::present(const QString& caption, const QString& workDir,
                                       const QString& dataDir) {
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
        image->setPixmap(picture);
        image->setGeometry(0, 0, picture.width(), picture.height());
        image->show();
        missingLabel->hide();
        // The original's extra 100 × 400 twips covered its frame and title bar; here the client area
        // is the picture itself.
        resize(picture.size());
    } else {
        image->clear();
        image->hide();
        const QSize designed(twipsToPixels(6225, this), twipsToPixels(4815, this));
        resize(designed);
        missingLabel->setGeometry(0, 0, designed.width(), designed.height());
        missingLabel->show();
    }
    setWindowTitle(caption);
}

WebPageWindow::WebPageWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("Form13");
    setWindowTitle("Web-сайт ООО \"Варимекс\"");
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    statusLabel = new QLabel(this);
    statusLabel->setObjectName("Label1");
    statusLabel->setAlignment(Qt::AlignCenter);
    statusLabel->setWordWrap(true);
    statusLabel->setTextFormat(Qt::RichText);
    statusLabel->setOpenExternalLinks(true);
    statusLabel->setTextInteractionFlags(Qt::TextBrowserInteraction);
    layout->addWidget(statusLabel);
#ifdef KALVAR_HAVE_WEBENGINE
    layout->setContentsMargins(0, 0, 0, 0);
    browser_ = new QWebEngineView(this);
    browser_->setObjectName("WebBrowser1");
    layout->addWidget(browser_, 1);
    statusLabel->hide(); // only for an address that cannot be shown
#endif
    openExternal = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    resize(twipsToPixels(9000, this), twipsToPixels(6000, this));
}

bool WebPageWindow::embedded() const {
    return browser_ != nullptr;
}

void WebPageWindow::navigate(const QString& address) {
    address_ = address;
    const QUrl url(address, QUrl::StrictMode);
    // The window always shows: with the page, or with what became of the address.
    if (!url.isValid() || url.host().isEmpty()) {
        statusLabel->setText("Адрес web-сайта не задан.");
        statusLabel->show();
        if (browser_) browser_->hide();
        present();
        return;
    }
#ifdef KALVAR_HAVE_WEBENGINE
    statusLabel->hide();
    browser_->show();
    static_cast<QWebEngineView*>(browser_)->setUrl(url);
#else
    const QString link =
        QString("<a href=\"%1\">%2</a>")
            .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(), url.toDisplayString().toHtmlEscaped());
    if (openExternal && openExternal(url))
        statusLabel->setText("Страница открыта в браузере:<br>" + link);
    else
        statusLabel->setText("Не удалось открыть браузер. Адрес страницы:<br>" + link);
#endif
    present();
}

void WebPageWindow::present() {
    show();
    raise();
    activateWindow();
}

bool WebPageWindow::event(QEvent* event) {
    // The browser fills the window whenever the window becomes active.
    if (event->type() == QEvent::WindowActivate && browser_ != nullptr) browser_->resize(size());
    return QWidget::event(event);
}

// kalvar: the desktop program. It takes no arguments; the site workbooks and the picture folder
// are looked for in the directory it is started in.
#include <QApplication>
#include <QDir>

#include "MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kalvar"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kalvar"));
    MainWindow::installRussianTranslation();

    MainWindow::Options options;
    options.workDir = QDir::currentPath();
    MainWindow window(options);
    window.show();
    return QApplication::exec();
}

// kalvar: the desktop program. It takes no arguments; the site workbooks and the picture folder
// are looked for in the directory it is started in.
#include <QApplication>
#include <QDir>

#include "MDIForm1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kalvar"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kalvar"));
    MDIForm1::installRussianTranslation();

    MDIForm1::Options options;
    options.workDir = QDir::currentPath();
    MDIForm1 window(options);
    window.show();
    return QApplication::exec();
}

// kalvar: the desktop program. `kalvar [TASK]`: the site workbooks and the picture folder are
// looked for in the directory it is started in; a task file given opens after start-up.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include "MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kalvar"));
    QApplication::setOrganizationName(QStringLiteral("kalvar"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kalvar"));
    MainWindow::installRussianTranslation();

    QCommandLineParser arguments;
    arguments.setApplicationDescription(QStringLiteral("Пластинчатый теплообменник"));
    arguments.addHelpOption();
    arguments.addPositionalArgument(QStringLiteral("task"), QStringLiteral("Файл задания (.kalvar.json)"),
                                    QStringLiteral("[task]"));
    arguments.process(app);

    MainWindow::Options options;
    options.workDir = QDir::currentPath();
    MainWindow window(options);
    window.show();
    if (!arguments.positionalArguments().isEmpty())
        window.openTaskFile(arguments.positionalArguments().first());
    return QApplication::exec();
}

// Uses an installed ZuComponents through its public headers: a menu button made directly, one made by its
// ProgID through the registry (registered beforehand by the installed zu-regsvr), a painting-engine export
// and a colour function, and, given its path, the Qt Designer plugin loaded as Qt Designer loads it. Prints
// one line per check; the test compares them.
#include <ZuMenuExCtl.h> // by its bare name, as the forms Qt Designer writes name a control

#include <ZuComponents/ColorFunction.h>
#include <ZuComponents/ZuComponents.h>
#include <ZuComponents/ZuControls.h>
#include <ZuComponents/ZuRichTextCtl.h>
#include <ZuComponents/ZuTreeEnumCtl.h>
#include <ZuComponents/platform/ZuGdi.h>

#include <QApplication>
#include <QJsonObject>
#include <QPluginLoader>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);

    CZuMenuExCtrl button;
    button.setCaption(QStringLiteral("Пуск"));
    std::printf("caption: %s\n", button.Caption().toUtf8().constData());

    QWidget* created = nullptr;
    const ZuHRESULT result =
        zu::createControl(QStringLiteral("ZUCOMPONENTS.ZuMenuExCtrl.1"), nullptr, &created);
    std::printf("created: %s\n", result == ZU_S_OK && created ? created->metaObject()->className() : "none");
    if (created) {
        QVariant menu;
        std::printf("CreateMenu: %s\n",
                    zu::invoke(created, "CreateMenu", {0}, &menu) == ZU_S_OK && menu.toInt() != 0 ? "a handle"
                                                                                                  : "failed");
        delete created;
    }

    std::printf("GetWStyle: %d\n", GetWStyle());
    std::printf("lighten: %06X\n", static_cast<unsigned>(zu::lighten(zu::gdi::rgb(0x10, 0x80, 0xF0), 0x20)));

    if (argc > 1) {
        QPluginLoader plugin(QString::fromLocal8Bit(argv[1]));
        const bool loaded = plugin.instance() != nullptr; // loads it and makes its widget collection
        std::printf("designer plugin: %s\n",
                    loaded ? plugin.metaData().value(QStringLiteral("IID")).toString().toUtf8().constData()
                           : plugin.errorString().toUtf8().constData());
    }
    return 0;
}

// Screenshots of the two controls into a folder (out/ by default): the tree browsing a menu button with its
// Propertys and Events nodes open, the legend of the tree's images, and the editor with a coloured sample
// script.
#include "ZuMenuExCtl.h"
#include "ZuRichTextCtl.h"
#include "ZuTreeEnumCtl.h"

#include <QApplication>
#include <QDir>
#include <QTreeWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("out");
    const QString suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(folder);

    CZuMenuExCtrl menu;
    CZuTreeEnumCtrl tree;
    tree.resize(980, 1010);
    const int properties =
        tree.EnumProperty(QStringLiteral("ZuMenuEx1"), &menu, 0, 0, -1, 10, 10, 0, nullptr, {});
    tree.ExpantTreeViewString(properties);
    const int propertys = tree.handleOf(tree.itemOf(properties)->child(0));
    tree.ExpantTreeViewString(propertys);
    const int events = tree.EnumEvents(QStringLiteral("ZuMenuEx1 events"), &menu, 0, 0, {});
    tree.ExpantTreeViewString(events);
    tree.ExpantTreeViewString(tree.handleOf(tree.itemOf(events)->child(0)));
    tree.SelectItem(tree.handleOf(tree.itemOf(propertys)->child(8)));
    tree.show();
    app.processEvents();
    tree.grab().save(folder + "/zu-tree" + suffix + ".png");
    tree.ViewImageList();
    app.processEvents();
    tree.imageLegend()->grab().save(folder + "/zu-legend" + suffix + ".png");

    CZuRichTextCtrl editor;
    editor.resize(640, 360);
    editor.setKeyWordBold(true);
    editor.SetText(QStringLiteral("option explicit\n"
                                  "' Totals of the heat loads, in kW\n"
                                  "dim total, i, name\n"
                                  "total = 0\n"
                                  "for i = 1 to 10 step 2\n"
                                  "\ttotal = total + i * 1.5e3 ' a comment with If and Then\n"
                                  "next\n"
                                  "if total > 20000 then msgbox \"large: \" & total, vbokonly\n"
                                  "name = \"Form12\" & vbcrlf & \"an open string\n"
                                  "rem the end of the script\n"
                                  "set x = nothing ' x1 and y2 stay plain\n"));
    editor.show();
    app.processEvents();
    editor.grab().save(folder + "/zu-editor" + suffix + ".png");
    return 0;
}

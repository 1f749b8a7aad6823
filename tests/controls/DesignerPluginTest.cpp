// The Qt Designer plugin: the served controls in the collection with their toolbox icons, made through the
// module's factories, and a form's control properties written to a .ui file and read back.
#include "ZuControls.h"
#include "ZuMenuExCtl.h"

#include <QBuffer>
#include <QFormBuilder>
#include <QPluginLoader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <gtest/gtest.h>

namespace {

TEST(DesignerPlugin, CollectsTheServedControlsWithTheirIcons) {
    QPluginLoader loader(QStringLiteral(ZU_DESIGNER_PLUGIN_DIR "/libzucomponents_designer.so"));
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    ASSERT_NE(collection, nullptr) << loader.errorString().toStdString();
    QStringList names;
    for (QDesignerCustomWidgetInterface* widget : collection->customWidgets()) {
        names << widget->name();
        EXPECT_EQ(widget->group(), QStringLiteral("ZuComponents"));
        EXPECT_FALSE(widget->icon().isNull()) << widget->name().toStdString();
        QWidget parent;
        QWidget* made = widget->createWidget(&parent);
        EXPECT_STREQ(made->metaObject()->className(), widget->name().toLatin1().constData());
        EXPECT_EQ(made->parentWidget(), &parent);
    }
    QStringList served;
    for (const zu::ZuClassIdentity& c : zu::classIdentities())
        if (c.kind == zu::ZuClassKind::Control && zu::isServed(c.clsid)) served << QLatin1String(c.className);
    EXPECT_EQ(names, served);
    EXPECT_TRUE(names.contains(QStringLiteral("CZuMenuExCtrl")));
    EXPECT_EQ(DllCanUnloadNow(), ZU_S_OK) << "the forms took their controls with them";
}

TEST(DesignerPlugin, PropertiesRoundTripThroughAUiFile) {
    QWidget form;
    form.setObjectName(QStringLiteral("form"));
    auto* menu = new CZuMenuExCtrl(&form);
    menu->setObjectName(QStringLiteral("menu"));
    menu->setCaption(QStringLiteral("Файл"));
    menu->setFontHeight(12.5f);
    menu->setCheckAreaWidth(18.0f);
    menu->setMaskColor(0x80000005u); // a system colour keeps its high byte
    menu->setFrameForm(2);
    menu->setUseDefault(true);
    QFormBuilder builder;
    QBuffer ui;
    ui.open(QIODevice::WriteOnly);
    builder.save(&ui, &form);
    ui.close();

    builder.setPluginPath({QStringLiteral(ZU_DESIGNER_PLUGIN_DIR)});
    ui.open(QIODevice::ReadOnly);
    std::unique_ptr<QWidget> loaded(builder.load(&ui));
    ASSERT_NE(loaded, nullptr) << builder.errorString().toStdString();
    auto* back = loaded->findChild<CZuMenuExCtrl*>(QStringLiteral("menu"));
    ASSERT_NE(back, nullptr) << ui.data().toStdString();
    EXPECT_EQ(back->Caption(), QStringLiteral("Файл"));
    EXPECT_EQ(back->FontHeight(), 12.5f);
    EXPECT_EQ(back->CheckAreaWidth(), 18.0f);
    EXPECT_EQ(back->MaskColor(), 0x80000005u);
    EXPECT_EQ(back->FrameForm(), 2);
    EXPECT_TRUE(back->UseDefault());
}

} // namespace

// The control module as a container meets it: registration, class factories, creation by ProgID and class
// identifier, the unload answer, late-bound calls and property-bag persistence.
#include "ZuControls.h"
#include "ZuMenuExCtl.h"
#include "ZuMenuExPropertyPage.h"
#include "ZuModule.h"
#include "ZuRegistry.h"
#include "platform/ZuGdi.h"

#include <QFile>
#include <QMetaMethod>
#include <QPointer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

using zu::gdi::rgb;

const ZuGUID menuExClsid = CZuMenuExCtrl::clsid;
const ZuGUID unknownClsid = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

// Each test registers into a registry file of its own.
class ModuleTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(config_.isValid());
        saved_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        ASSERT_EQ(DllCanUnloadNow(), ZU_S_OK) << "an earlier test left an object or a lock behind";
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_HOME", saved_);
        EXPECT_EQ(DllCanUnloadNow(), ZU_S_OK);
    }
    QString registryText() const {
        QFile file(zu::registryFilePath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QTemporaryDir config_;
    QByteArray saved_;
};

TEST_F(ModuleTest, RegistrationRoundTrip) {
    ASSERT_EQ(DllRegisterServer(), ZU_S_OK);
    const QString listing = zu::registrationListing().join(u'\n');
    const zu::ZuTypeLibraryIdentity& lib = zu::typeLibraryIdentity();
    EXPECT_TRUE(listing.contains(QStringLiteral("typelib {E69F9CF3-DA7B-4E37-8067-300E74E2FDD6} 1.0 "
                                                "\"ZuComponents ActiveX Control module\"")))
        << listing.toStdString();
    EXPECT_STREQ(lib.name, "ZUCOMPONENTSLib");
    for (const zu::ZuClassIdentity& c : zu::classIdentities()) {
        const QString clsid = zu::stringFromGuid(c.clsid);
        const bool served = zu::isServed(c.clsid);
        EXPECT_EQ(listing.contains(QStringLiteral("class ") + clsid + u' ' + QLatin1String(c.progId) + " \"" +
                                   QLatin1String(c.typeName) + "\" Apartment"),
                  served)
            << c.progId;
        EXPECT_EQ(listing.contains(QStringLiteral("progid ") + QLatin1String(c.progId) + u' ' + clsid),
                  served);
        if (served && c.kind == zu::ZuClassKind::Control) {
            EXPECT_TRUE(listing.contains(clsid + QStringLiteral(" ") + QLatin1String(c.progId)));
            zu::CZuRegistry registry;
            ASSERT_TRUE(registry.load(zu::registryFilePath()));
            const QString key = QStringLiteral("clsid\\") + clsid.toLower(); // keys ignore case
            EXPECT_EQ(registry.value(key + QStringLiteral("\\MiscStatus\\1")), QStringLiteral("131473"));
            EXPECT_TRUE(registry.hasKey(key + QStringLiteral("\\Control")));
            EXPECT_TRUE(registry.value(key + QStringLiteral("\\ToolboxBitmap32"))
                            .endsWith(QStringLiteral(", ") + QString::number(c.toolboxBitmap)));
            EXPECT_EQ(registry.value(QStringLiteral("Interface\\") + zu::stringFromGuid(c.dispatchIid)),
                      QLatin1String(c.dispatchName));
            EXPECT_EQ(registry.value(QStringLiteral("Interface\\") + zu::stringFromGuid(c.eventIid)),
                      QLatin1String(c.eventName));
        }
    }

    // Every served class by ProgID and by class identifier, through the registry and the module's factory.
    for (const zu::ZuClassIdentity& c : zu::classIdentities()) {
        if (!zu::isServed(c.clsid)) continue;
        for (const QString& name : QStringList{QLatin1String(c.progId), zu::stringFromGuid(c.clsid)}) {
            QWidget parent;
            QWidget* control = nullptr;
            ASSERT_EQ(zu::createControl(name, &parent, &control), ZU_S_OK) << name.toStdString();
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(control->parentWidget(), &parent);
            EXPECT_STREQ(control->metaObject()->className(), c.className);
            EXPECT_EQ(DllCanUnloadNow(), ZU_S_FALSE) << "a control is alive";
        }
        EXPECT_EQ(DllCanUnloadNow(), ZU_S_OK) << "its parent took the control with it";
    }

    ASSERT_EQ(DllUnregisterServer(), ZU_S_OK);
    EXPECT_TRUE(zu::registrationListing().isEmpty());
    for (const zu::ZuClassIdentity& c : zu::classIdentities()) {
        EXPECT_FALSE(registryText().contains(zu::stringFromGuid(c.clsid), Qt::CaseInsensitive));
        EXPECT_FALSE(registryText().contains(QLatin1String(c.progId), Qt::CaseInsensitive));
    }
    EXPECT_FALSE(registryText().contains(QStringLiteral("E69F9CF3"), Qt::CaseInsensitive));
    QWidget* control = nullptr;
    EXPECT_EQ(zu::createControl(QStringLiteral("ZUCOMPONENTS.ZuMenuExCtrl.1"), nullptr, &control),
              ZU_CO_E_CLASSSTRING);
    EXPECT_EQ(zu::createControl(menuExClsid, nullptr, &control), ZU_REGDB_E_CLASSNOTREG);
    EXPECT_EQ(control, nullptr);
    zu::freeUnusedLibraries();
}

TEST_F(ModuleTest, UnregisteringKeepsOtherServersEntries) {
    zu::CZuRegistry other;
    other.setValue(QStringLiteral("CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32"), QString(),
                   QStringLiteral("/opt/other.so"));
    ASSERT_TRUE(other.save(zu::registryFilePath()));
    ASSERT_EQ(DllRegisterServer(), ZU_S_OK);
    ASSERT_EQ(DllRegisterServer(), ZU_S_OK) << "registering twice changes nothing";
    ASSERT_EQ(DllUnregisterServer(), ZU_S_OK);
    EXPECT_EQ(
        zu::registrationListing(),
        QStringList{QStringLiteral("class {11111111-2222-3333-4444-555555555555}  \"\"  /opt/other.so")});
}

TEST_F(ModuleTest, ARegisteredModuleThatCannotBeLoadedIsReported) {
    zu::CZuRegistry r;
    const QString clsid = zu::stringFromGuid(menuExClsid);
    r.setValue(QStringLiteral("CLSID\\") + clsid + QStringLiteral("\\InprocServer32"), QString(),
               config_.path() + QStringLiteral("/missing.so"));
    r.setValue(QStringLiteral("Broken.ProgID\\CLSID"), QString(), QStringLiteral("{not a class identifier}"));
    ASSERT_TRUE(r.save(zu::registryFilePath()));
    QWidget* control = nullptr;
    EXPECT_EQ(zu::createControl(clsid, nullptr, &control), ZU_CO_E_DLLNOTFOUND);
    EXPECT_EQ(zu::createControl(QStringLiteral("Broken.ProgID"), nullptr, &control), ZU_CO_E_CLASSSTRING);
    EXPECT_EQ(zu::createControl(QString(), nullptr, &control), ZU_CO_E_CLASSSTRING);
    EXPECT_EQ(control, nullptr);
}

TEST_F(ModuleTest, RegistrationThatCannotBeWrittenFailsAtTheTypeLibrary) {
    // The configuration folder is a file: nothing can be written below it.
    QFile blocker(config_.path() + QStringLiteral("/ZuComponents"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(DllRegisterServer(), ZU_SELFREG_E_TYPELIB);
    EXPECT_EQ(DllUnregisterServer(), ZU_S_OK) << "nothing registered, nothing to remove";
}

TEST_F(ModuleTest, DamagedRegistryLinesAreSkippedNotHalfRead) {
    QFile file(zu::registryFilePath());
    ASSERT_TRUE(QDir().mkpath(config_.path() + QStringLiteral("/ZuComponents")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\"orphan\"=\"before any key\"\n[A\\B]\n@=\"ok \\\"quoted\\\" \\\\ path\"\n\"open\"=\"no end\n"
               "garbage line\n[C]\n\"x\"=\"1\"\n");
    file.close();
    zu::CZuRegistry r;
    ASSERT_TRUE(r.load(zu::registryFilePath()));
    EXPECT_EQ(r.value(QStringLiteral("a\\b")), QStringLiteral("ok \"quoted\" \\ path"));
    EXPECT_EQ(r.value(QStringLiteral("A\\B"), QStringLiteral("open")), QString());
    EXPECT_EQ(r.value(QStringLiteral("C"), QStringLiteral("x")), QStringLiteral("1"));
    EXPECT_TRUE(r.hasKey(QStringLiteral("A")));
    // What is written reads back the same.
    ASSERT_TRUE(r.save(zu::registryFilePath()));
    zu::CZuRegistry again;
    ASSERT_TRUE(again.load(zu::registryFilePath()));
    EXPECT_EQ(again.value(QStringLiteral("A\\B")), QStringLiteral("ok \"quoted\" \\ path"));
}

TEST_F(ModuleTest, ClassObjectsAndTheUnloadAnswer) {
    zu::IZuClassFactory* factory = nullptr;
    ASSERT_EQ(DllGetClassObject(&menuExClsid, &zu::IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              ZU_S_OK);
    EXPECT_EQ(DllCanUnloadNow(), ZU_S_OK) << "a factory reference alone does not keep the module";

    factory->LockServer(true);
    EXPECT_EQ(DllCanUnloadNow(), ZU_S_FALSE);
    factory->LockServer(false);
    EXPECT_EQ(DllCanUnloadNow(), ZU_S_OK);
    factory->LockServer(false); // more unlocks than locks do not go below zero
    factory->LockServer(true);
    EXPECT_EQ(DllCanUnloadNow(), ZU_S_FALSE);
    factory->LockServer(false);

    zu::IZuControl* control = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, zu::IID_IZuControl, reinterpret_cast<void**>(&control)),
              ZU_S_OK);
    QPointer<QWidget> widget = control->Widget();
    EXPECT_EQ(DllCanUnloadNow(), ZU_S_FALSE);
    zu::IZuPersistPropertyBag* persist = nullptr;
    ASSERT_EQ(control->QueryInterface(zu::IID_IZuPersistPropertyBag, reinterpret_cast<void**>(&persist)),
              ZU_S_OK);
    void* dispatch = nullptr;
    EXPECT_EQ(control->QueryInterface(zu::findClass(menuExClsid)->dispatchIid, &dispatch), ZU_S_OK);
    EXPECT_EQ(dispatch, static_cast<void*>(control));
    control->Release();
    void* none = &dispatch;
    EXPECT_EQ(control->QueryInterface(unknownClsid, &none), ZU_E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    control->Release();
    EXPECT_FALSE(widget.isNull()) << "one reference is still held";
    persist->Release();
    EXPECT_TRUE(widget.isNull()) << "the last release deletes a control without a parent";
    EXPECT_EQ(DllCanUnloadNow(), ZU_S_OK);

    void* object = &none;
    EXPECT_EQ(factory->CreateInstance(reinterpret_cast<zu::IZuUnknown*>(factory), zu::IID_IUnknown, &object),
              ZU_CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, unknownClsid, &object), ZU_E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(DllCanUnloadNow(), ZU_S_OK) << "a refused interface leaves no object behind";
    factory->Release();
}

TEST_F(ModuleTest, ClassObjectLookupAnswers) {
    void* object = nullptr;
    const ZuGUID pageClsid = CZuMenuExPropPage::clsid;
    EXPECT_EQ(DllGetClassObject(&pageClsid, &zu::IID_IClassFactory, &object), ZU_S_OK);
    static_cast<zu::IZuClassFactory*>(object)->Release();
    EXPECT_EQ(DllGetClassObject(&unknownClsid, &zu::IID_IClassFactory, &object),
              ZU_CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(DllGetClassObject(&menuExClsid, &unknownClsid, &object), ZU_E_NOINTERFACE);
    EXPECT_EQ(DllGetClassObject(&menuExClsid, &zu::IID_IClassFactory, nullptr), ZU_E_POINTER);
    EXPECT_EQ(DllGetClassObject(nullptr, &zu::IID_IClassFactory, &object), ZU_E_INVALIDARG);
    // Every class of the identity table that is not built yet is refused the same way.
    for (const zu::ZuClassIdentity& c : zu::classIdentities()) {
        if (zu::isServed(c.clsid)) continue;
        EXPECT_EQ(DllGetClassObject(&c.clsid, &zu::IID_IClassFactory, &object), ZU_CLASS_E_CLASSNOTAVAILABLE)
            << c.progId;
    }
}

TEST(Guids, TextFormRoundTripsAndRejectsMalformedText) {
    const ZuGUID g = CZuMenuExCtrl::clsid;
    EXPECT_EQ(zu::stringFromGuid(g), QStringLiteral("{BAD57D08-78B3-4301-983A-14A482FEAB45}"));
    ZuGUID back{};
    ASSERT_TRUE(zu::guidFromString(QStringLiteral("{bad57d08-78b3-4301-983a-14a482feab45}"), &back));
    EXPECT_TRUE(back == g);
    for (const char* bad :
         {"", "BAD57D08-78B3-4301-983A-14A482FEAB45", "{BAD57D08-78B3-4301-983A-14A482FEAB4}",
          "{BAD57D08-78B3-4301-983A-14A482FEAB4G}", "{BAD57D08+78B3-4301-983A-14A482FEAB45}"})
        EXPECT_FALSE(zu::guidFromString(QLatin1String(bad), &back)) << bad;
}

// The dispatch interface as a container discovers it: members by name, arguments in their order.
TEST(DispatchInterface, MembersAndEventsAreInTheMetaObject) {
    const QMetaObject& meta = CZuMenuExCtrl::staticMetaObject;
    auto signature = [&](const char* name) -> QString {
        for (int i = 0; i < meta.methodCount(); ++i)
            if (meta.method(i).name() == name) {
                QMetaMethod m = meta.method(i);
                QStringList names;
                for (const QByteArray& n : m.parameterNames())
                    names << QString::fromLatin1(n);
                return QString::fromLatin1(m.methodSignature()) + u' ' + names.join(u',');
            }
        return QString();
    };
    EXPECT_EQ(signature("TrackMenu"), QStringLiteral("TrackMenu(int,int,float,float) IndexMenu,Flag,X,Y"));
    EXPECT_EQ(
        signature("AddSizeMenuString"),
        QStringLiteral("AddSizeMenuString(int,int,int,int,int,int,bool,int,QString,int,uint,uint,bool) "
                       "IndexMenus,IDMenus,Index,Height,Width,MaxPictureAreaWidth,CheckArea,PrevBottom,Label,"
                       "LabelAreaWidth,LabelAreaColor,LabelForeColor,UseDefault"));
    EXPECT_EQ(signature("MenuSelect"),
              QStringLiteral("MenuSelect(int,QString,QString,QString,QString,QPixmap,QPixmap) "
                             "IndexMenu,Caption,Key,Link,ToolTipText,TollPicture,CaptionPicture"));
    EXPECT_EQ(signature("MeasureItem"), QStringLiteral("MeasureItem(int,int) IndexMenuItem,IndexMenu"));
    EXPECT_EQ(signature("Click"), QStringLiteral("Click() "));
    EXPECT_TRUE(
        signature("AddMenuString").startsWith(QStringLiteral("AddMenuString(int,int,int,QString,QString")));
    EXPECT_EQ(
        meta.method(meta.indexOfMethod("AddMenuString(int,int,int,QString,QString,QString,QString,QPixmap,"
                                       "int,int,int,int,uint,uint,uint,uint,float,float,QString,int,int,int,"
                                       "int,QString,int,QPixmap,int)"))
            .parameterCount(),
        27);
    // Properties in the interface's order, with float32 fields as float.
    QStringList names;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        names << QLatin1String(meta.property(i).name());
    EXPECT_EQ(names.first(), QStringLiteral("FilePath"));
    EXPECT_EQ(names.indexOf(QStringLiteral("ButtonBackColor")), 44);
    // Float32 properties travel as double (what .ui files hold) and keep float32 precision.
    EXPECT_EQ(meta.property(meta.indexOfProperty("FontHeight")).metaType().id(), QMetaType::Double);
    EXPECT_TRUE(QString::fromLatin1(meta.classInfo(meta.indexOfClassInfo("SingleProperties")).value())
                    .split(u' ')
                    .contains(QStringLiteral("CheckAreaWidth")));
    EXPECT_EQ(meta.property(meta.indexOfProperty("MaskColor")).metaType().id(), QMetaType::UInt);
    for (const char* stock : {"hWnd", "Font", "Enabled"})
        EXPECT_GE(meta.indexOfProperty(stock), 0) << stock;
    // Every member of the interface carries its help string, as the type library's members do.
    const QStringList stockMembers = {QStringLiteral("hWnd"), QStringLiteral("Font"),
                                      QStringLiteral("Enabled"), QStringLiteral("Refresh")};
    QStringList members = names;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
        members << QString::fromLatin1(meta.method(i).name());
    for (const QString& member : members) {
        if (stockMembers.contains(member)) continue;
        EXPECT_GE(meta.indexOfClassInfo(("Help:" + member).toLatin1().constData()), 0)
            << member.toStdString();
    }
}

TEST(DispatchInterface, LateBoundCallsConvertArgumentsAndReportMisuse) {
    CZuMenuExCtrl control;
    QVariant result;
    ASSERT_EQ(zu::invoke(&control, "CreateMenu", {QStringLiteral("4")}, &result), ZU_S_OK);
    EXPECT_NE(result.toUInt(), 0u);
    EXPECT_EQ(control.popupOf(4), result.toUInt()) << "the text \"4\" reached the method as the number 4";
    // 27 arguments in one call; an empty argument takes the parameter type's empty value.
    QVariantList args = {4,
                         result,
                         0,
                         QStringLiteral("Open"),
                         QStringLiteral("k"),
                         QStringLiteral("l"),
                         QStringLiteral("t"),
                         QVariant(),
                         0,
                         0,
                         -1,
                         0,
                         0u,
                         0u,
                         0u,
                         0u,
                         10.0,
                         0.0,
                         QStringLiteral("Arial"),
                         0,
                         0,
                         0,
                         0,
                         QStringLiteral("(none)"),
                         0,
                         QVariant(),
                         0};
    ASSERT_EQ(args.size(), 27);
    ASSERT_EQ(zu::invoke(&control, "AddMenuString", args), ZU_S_OK);
    EXPECT_EQ(control.menuSlot(4).lines[0].caption, QStringLiteral("Open"));
    EXPECT_EQ(control.menuSlot(4).lines[0].shortCut, QString()) << "\"(none)\" is stored empty";
    EXPECT_EQ(zu::menu::menuItemCount(control.popupOf(4)), 1);

    EXPECT_EQ(zu::invoke(&control, "NoSuchMember", {}), ZU_DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(zu::invoke(&control, "CreateMenu", {1, 2}), ZU_DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(zu::invoke(&control, "CreateMenu", {QVariant::fromValue(QPixmap(2, 2))}),
              ZU_DISP_E_TYPEMISMATCH);
    ASSERT_EQ(zu::invoke(&control, "GetMaxTextExt",
                         {QStringLiteral("W"), QStringLiteral("Arial"), 0, 0, 0, 10, 0, 7}, &result),
              ZU_S_OK);
    EXPECT_EQ(result.toFloat(), 0.0f) << "an undefined flag measures nothing";
}

// ---- property bag
// --------------------------------------------------------------------------------------------

struct Persisted {
    const char* name;      // in the bag
    const char* property;  // on the control
    QVariant defaultValue; // system colours are filled in by the test
    int systemColour;      // -1 for a fixed default
    QVariant other;        // a value that differs from the default
};

std::vector<Persisted> persistedTable() {
    using namespace zu::gdi;
    const QPixmap picture = [] {
        QPixmap p(4, 3);
        p.fill(Qt::red);
        return p;
    }();
    return {
        {"Caption", "Caption", QString(), -1, QStringLiteral("Меню")},
        {"FontName", "FontName", QStringLiteral("Arial"), -1, QStringLiteral("DejaVu Serif")},
        {"FontHeight", "FontHeight", 10.0f, -1, 12.5f},
        {"FontWidth", "FontWidth", 0.0f, -1, 6.0f},
        {"FontBold", "FontBold", false, -1, true},
        {"FontItalic", "FontItalic", false, -1, true},
        {"FontUnderline", "FontUnderline", false, -1, true},
        {"FontStrikeOut", "FontStrikeOut", false, -1, true},
        {"FontCharSet", "FontCharSet", 0, -1, 204},
        {"CheckPicture", "CheckPicture", QPixmap(), -1, picture},
        {"MenuBackColor", "MenuBackColor", 0u, COLOR_MENU, 0x123456u},
        {"Picture", "Picture", QPixmap(), -1, picture},
        {"MaskColor", "MaskColor", 16777215u, -1, 0xFF00FFu},
        {"FrameColor", "FrameColor", 0u, COLOR_HIGHLIGHT, 0x80000005u},
        {"MenuStringHeight", "MenuStringHeight", 20.0f, -1, 18.0f},
        {"MenuStringWidth", "MenuStringWidth", 200.0f, -1, 150.0f},
        {"CheckAreaWidth", "CheckAreaWidth", 20.0f, -1, 16.0f},
        {"PictureAreaWidth", "PictureAreaWidth", 20.0f, -1, 24.0f},
        {"Major", "Major", 50, -1, 70},
        {"Minor", "Minor", 50, -1, 20},
        {"ScreenTwipPerPixelX", "ScreenTwipPerPixelX", 15.0f, -1, 12.0f},
        {"ScreenTwipPerPixelY", "ScreenTwipPerPixelY", 15.0f, -1, 12.0f},
        {"CaptionShadow", "CaptionShadow", false, -1, true},
        {"ForeColor", "ForeColor", 0u, COLOR_MENUTEXT, 0x0000FFu},
        {"InActPictWhiteAndBlack", "InActPictWhiteAndBlack", false, -1, true},
        {"Pattern", "Pattern", QPixmap(), -1, picture},
        {"InvertActiveForeColor", "InvertActiveForeColor", false, -1, true},
        {"UseDefault", "UseDefault", false, -1, true},
        {"DefCheckAreaColor", "DefCheckAreaColor", 0u, COLOR_BTNFACE, 1u},
        {"DefPictureAreaColor", "DefPictureAreaColor", 0u, COLOR_3DLIGHT, 2u},
        {"DefCaptionAreaColor", "DefCaptionAreaColor", 0u, COLOR_MENU, 3u},
        {"FrameForm", "FrameForm", 0, -1, 2},
        {"AppActivePicture", "AppActivePicture", true, -1, false},
        {"ButtonEnabled", "ButtonEnabled", true, -1, false},
        {"Margin", "Margin", 3, -1, 5},
        {"ShadowNumber", "ShadowNumber", 30, -1, 60},
        {"SeparatorColor", "SeparatorColor", 0u, COLOR_GRAYTEXT, 4u},
        {"Label", "Label", QStringLiteral("ZuPopUpMenu"), -1, QStringLiteral("Файл")},
        {"LabelForeColorv", "LabelForeColor", 0u, COLOR_MENU, 5u},
        {"LabelAreaWidth", "LabelAreaWidth", 12, -1, 16},
        {"BackColorLabelArea", "BackColorLabelArea", 0u, COLOR_3DLIGHT, 6u},
        {"ButtonBackColor", "ButtonBackColor", 0u, COLOR_3DLIGHT, 7u},
    };
}

QVariant expectedDefault(const Persisted& p) {
    return p.systemColour >= 0 ? QVariant::fromValue<uint>(zu::gdi::getSysColor(p.systemColour))
                               : p.defaultValue;
}

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.metaType().id() == QMetaType::QPixmap)
        return a.value<QPixmap>().toImage() == b.value<QPixmap>().toImage();
    const auto isReal = [](const QVariant& v) {
        return v.metaType().id() == QMetaType::Float || v.metaType().id() == QMetaType::Double;
    };
    if (isReal(a) || isReal(b)) return isReal(a) && isReal(b) && a.toDouble() == b.toDouble();
    return a == b;
}

TEST(PropertyBag, EveryPersistedNameWithItsDefaultAndRoundTrip) {
    const auto table = persistedTable();
    CZuMenuExCtrl control;
    zu::CZuPropertyBag defaults;
    ASSERT_EQ(control.Save(&defaults, true, true), ZU_S_OK);
    QStringList expectedNames;
    for (const Persisted& p : table)
        expectedNames << QLatin1String(p.name);
    QStringList savedNames = defaults.values.keys();
    expectedNames.sort();
    savedNames.sort();
    EXPECT_EQ(savedNames, expectedNames) << "FilePath, OpenAllMenu and FlagRedraw are not persisted";
    for (const Persisted& p : table)
        EXPECT_TRUE(sameValue(defaults.values.value(QLatin1String(p.name)), expectedDefault(p))) << p.name;

    // Every property changed, saved, and loaded into a new control.
    for (const Persisted& p : table)
        ASSERT_TRUE(control.setProperty(p.property, p.other)) << p.property;
    EXPECT_EQ(control.IsDirty(), ZU_S_OK);
    zu::CZuPropertyBag bag;
    ASSERT_EQ(control.Save(&bag, true, true), ZU_S_OK);
    EXPECT_EQ(control.IsDirty(), ZU_S_FALSE);
    CZuMenuExCtrl loaded;
    ASSERT_EQ(loaded.Load(&bag), ZU_S_OK);
    for (const Persisted& p : table)
        EXPECT_TRUE(sameValue(loaded.property(p.property), p.other)) << p.property;
    loaded.setProperty("FontHeight", 0.1);
    EXPECT_EQ(loaded.property("FontHeight").toDouble(), static_cast<double>(0.1f)) << "stored as float32";

    // An empty bag, or values that are not of the property's kind, give the defaults.
    zu::CZuPropertyBag damaged;
    damaged.values.insert(QStringLiteral("Major"), QStringLiteral("много"));
    damaged.values.insert(QStringLiteral("Picture"), QStringLiteral("not a picture"));
    ASSERT_EQ(loaded.Load(&damaged), ZU_S_OK);
    for (const Persisted& p : table)
        EXPECT_TRUE(sameValue(loaded.property(p.property), expectedDefault(p))) << p.property;
    EXPECT_EQ(loaded.Load(nullptr), ZU_E_POINTER);
}

TEST(PropertyBag, SettersMarkTheControlModified) {
    CZuMenuExCtrl control;
    EXPECT_EQ(control.IsDirty(), ZU_S_FALSE) << "a new control starts clean";
    control.setFlagRedraw(true);
    EXPECT_EQ(control.IsDirty(), ZU_S_OK);
    control.InitNew();
    EXPECT_EQ(control.IsDirty(), ZU_S_FALSE);
}

TEST(PropertyPage, OneEmptyGeneralPage) {
    CZuMenuExPropPage page;
    EXPECT_EQ(page.windowTitle(), QStringLiteral("General"));
    EXPECT_TRUE(page.children().isEmpty());
    EXPECT_TRUE(page.ClassId() == CZuMenuExPropPage::clsid);
}

} // namespace

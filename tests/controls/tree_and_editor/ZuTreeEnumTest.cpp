// The type-information tree: the nodes and records of each enumeration for a test object with members of
// every mapped type, the module's own library, the type-name tables, node clicks and images, navigation by
// handle.
#include "ColorFunction.h"
#include "TypeInformation.h"
#include "ZuMenuExCtl.h"
#include "ZuTreeEnumCtl.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

// An object another one refers to by an interface-typed property.
class TreeTestChild : public QObject {
    Q_OBJECT
};

// A test object with a member of every mapped type, an enumeration, members the tree hides, methods with
// several parameters and events.
class TreeTestObject : public QObject {
    Q_OBJECT
    Q_CLASSINFO("Help", "Objects for the tree tests")
    Q_CLASSINFO("Help:Width", "Width in pixels")
    Q_CLASSINFO("Help:Add", "Adds three values")
    // clang-format off
    Q_PROPERTY(bool Visible MEMBER visible)
    Q_PROPERTY(short Level MEMBER level)
    Q_PROPERTY(int Width MEMBER width)
    Q_PROPERTY(qlonglong Big MEMBER big)
    Q_PROPERTY(ushort Small MEMBER small)
    Q_PROPERTY(uint Flags MEMBER flags)
    Q_PROPERTY(uint BackColor MEMBER backColor)
    Q_PROPERTY(uchar Octet MEMBER octet)
    Q_PROPERTY(float Ratio MEMBER ratio)
    Q_PROPERTY(double Precise MEMBER precise)
    Q_PROPERTY(QString Title MEMBER title)
    Q_PROPERTY(QDateTime Stamp MEMBER stamp)
    Q_PROPERTY(QVariant Anything MEMBER anything)
    Q_PROPERTY(QObject* Owner MEMBER owner)
    Q_PROPERTY(TreeTestChild* Child MEMBER child)
    Q_PROPERTY(QColor Tint MEMBER tint)
    Q_PROPERTY(QFont Face MEMBER face)
    Q_PROPERTY(QPixmap Image READ getImage WRITE setImage)
    Q_PROPERTY(QStringList Lines MEMBER lines)
    Q_PROPERTY(QByteArray Bytes MEMBER bytes)
    Q_PROPERTY(Mode Speed MEMBER speed)
    Q_PROPERTY(int Count MEMBER width)
    Q_PROPERTY(QString Item MEMBER title)
    Q_PROPERTY(int hWnd MEMBER width)
    // clang-format on

  public:
    enum Mode { Off = 0, Slow = 5, Fast = -2 };
    Q_ENUM(Mode)

    Q_INVOKABLE int Add(int First, double Second, const QString& Third) {
        return First + int(Second) + Third.size();
    }
    Q_INVOKABLE void Reset() {}
    QPixmap getImage() const { return image; }
    void setImage(const QPixmap& p) { image = p; }

  signals:
    void Changed(int Index, const QString& Caption);
    void Moved(uint ForeColor, QObject* Target);
    int Ask(const QString& Question);

  public:
    bool visible = false;
    short level = 0;
    int width = 0;
    qlonglong big = 0;
    ushort small = 0;
    uint flags = 0, backColor = 0;
    uchar octet = 0;
    float ratio = 0;
    double precise = 0;
    QString title;
    QDateTime stamp;
    QVariant anything;
    QObject* owner = nullptr;
    TreeTestChild* child = nullptr;
    QColor tint;
    QFont face;
    QPixmap image;
    QStringList lines;
    QByteArray bytes;
    Mode speed = Off;
};

// A collection whose only members the tree hides.
class HiddenOnly : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Count READ count)
    Q_PROPERTY(QObject* Item READ item)
    Q_PROPERTY(QObject* NewEnum READ item)

  public:
    int count() const { return 0; }
    QObject* item() const { return nullptr; }
};

// An object that describes itself, with a type of a kind the tree does not know and a member of an unknown
// invocation kind.
class SelfDescribed : public QObject, public zu::tree::ITypeInfoSource {
    Q_OBJECT
  public:
    zu::tree::ObjectTypeInfo typeInformation() const override {
        using namespace zu::tree;
        auto odd = std::make_shared<TypeInfo>();
        odd->kind = 9;
        odd->name = QStringLiteral("Odd");
        FuncDesc f;
        f.name = QStringLiteral("Strange");
        f.invokeKind = 16;
        f.returnType.vt = 100;
        f.doc = QStringLiteral("no one knows");
        odd->functions.append(f);
        auto colours = std::make_shared<TypeInfo>();
        colours->kind = TKIND_ENUM;
        colours->name = QStringLiteral("Colours");
        colours->members = {{"Red", 1}, {"Huge", int64_t(1) << 40}, {"Blue", 3}};
        FuncDesc getter;
        getter.name = QStringLiteral("Colour");
        getter.invokeKind = INVOKE_PROPERTYGET;
        getter.returnType.vt = VT_PTR;
        getter.returnType.element = std::make_shared<TypeDesc>(TypeDesc{VT_USERDEFINED, nullptr, colours});
        auto dispatch = std::make_shared<TypeInfo>();
        dispatch->name = QStringLiteral("_DSelf");
        dispatch->functions.append(getter);
        auto library = std::make_shared<TypeLibrary>();
        library->name = QStringLiteral("SelfLib");
        library->types = {odd, colours, dispatch};
        return {dispatch, nullptr, library};
    }
};

namespace {

struct Tree {
    std::unique_ptr<CZuTreeEnumCtrl> control = std::make_unique<CZuTreeEnumCtrl>();
    Tree() { control->resize(400, 500); }
    QTreeWidget* widget() const { return control->tree(); }
    QStringList childTexts(int handle) const {
        QStringList texts;
        const QTreeWidgetItem* item = control->itemOf(handle);
        const int count = item ? item->childCount() : widget()->topLevelItemCount();
        for (int i = 0; i < count; ++i)
            texts << (item ? item->child(i) : widget()->topLevelItem(i))->text(0);
        return texts;
    }
    int child(int handle, const QString& text) const {
        const QTreeWidgetItem* item = control->itemOf(handle);
        const int count = item ? item->childCount() : widget()->topLevelItemCount();
        for (int i = 0; i < count; ++i) {
            QTreeWidgetItem* c = item ? item->child(i) : widget()->topLevelItem(i);
            if (c->text(0) == text) return control->handleOf(c);
        }
        return 0;
    }
    const TreeNodeInfo* record(int handle) const {
        for (const TreeNodeInfo& r : control->nodeRecords())
            if (r.treeItem == handle) return &r;
        return nullptr;
    }
    void click(int handle) {
        QTreeWidgetItem* item = control->itemOf(handle);
        widget()->scrollToItem(item);
        const QRect r = widget()->visualItemRect(item);
        QTest::mouseClick(widget()->viewport(), Qt::LeftButton, {}, r.center());
    }
};

struct PropertyCase {
    const char* name;
    int varType;
    int varObj;
    const char* enumString;
    const char* help;
};

// clang-format off
const PropertyCase kPropertyCases[] = {
    {"Anything", 12, 0, "", ""},  {"BackColor", 29, 7, "", ""}, {"Big", 20, 0, "", ""},
    {"Bytes", 27, 0, "", ""},     {"Child", 26, 6, "", ""},     {"Face", 26, 6, "", ""},
    {"Flags", 19, 0, "", ""},     {"Image", 26, 6, "", ""},     {"Level", 2, 0, "", ""},
    {"Lines", 27, 0, "", ""},     {"Octet", 17, 0, "", ""},     {"Owner", 9, 0, "", ""},
    {"Precise", 5, 0, "", ""},    {"Ratio", 4, 0, "", ""},      {"Small", 18, 0, "", ""},
    {"Speed", 29, 3, "0 - Off*5 - Slow*-2 - Fast*", ""},
    {"Stamp", 7, 0, "", ""},      {"Tint", 29, 7, "", ""},      {"Title", 8, 0, "", ""},
    {"Visible", 11, 0, "", ""},   {"Width", 3, 0, "", "Width in pixels"},
};
// clang-format on

TEST(TreeEnumProperty, ObjectNodePropertysNodeAndOnePropertyNodePerReaderInOrder) {
    Tree t;
    TreeTestObject object, parent;
    const int name = t.control->EnumProperty(QStringLiteral("Obj"), &object, 0, 77, -1, 10, 11, 0, &parent,
                                             QStringLiteral("tag"));
    ASSERT_NE(name, 0);
    EXPECT_EQ(t.control->GetTVItemText(name), QStringLiteral("Obj"));
    EXPECT_EQ(t.control->imageOf(name), 10);
    EXPECT_EQ(t.control->selectedImageOf(name), 10); // openPicture is not used
    EXPECT_EQ(t.childTexts(name), QStringList{QStringLiteral("Propertys")});

    const TreeNodeInfo* nameRecord = t.record(name);
    ASSERT_NE(nameRecord, nullptr);
    EXPECT_EQ(nameRecord->index, 0);
    EXPECT_EQ(nameRecord->object, &object);
    EXPECT_EQ(nameRecord->parentObject, &parent);
    EXPECT_EQ(nameRecord->varType, 9);
    EXPECT_EQ(nameRecord->varObj, 77);
    EXPECT_EQ(nameRecord->helpString, QStringLiteral("Objects for the tree tests"));

    const int propertys = t.child(name, QStringLiteral("Propertys"));
    EXPECT_EQ(t.control->imageOf(propertys), 3);
    EXPECT_EQ(t.control->selectedImageOf(propertys), 3);
    EXPECT_EQ(t.record(propertys)->helpString, QStringLiteral("Propertys"));

    // Sorted; Count, Item and hWnd hidden; the writers give no second node.
    QStringList expected;
    for (const PropertyCase& c : kPropertyCases)
        expected << QLatin1String(c.name);
    EXPECT_EQ(t.childTexts(propertys), expected);

    for (const PropertyCase& c : kPropertyCases) {
        SCOPED_TRACE(c.name);
        const int node = t.child(propertys, QLatin1String(c.name));
        EXPECT_EQ(t.control->imageOf(node), 6);
        EXPECT_EQ(t.control->selectedImageOf(node), 5);
        const TreeNodeInfo* r = t.record(node);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->varType, c.varType);
        EXPECT_EQ(r->varObj, c.varObj);
        EXPECT_EQ(r->enumString, QString::fromUtf8(c.enumString));
        EXPECT_EQ(r->helpString, QString::fromUtf8(c.help));
        EXPECT_EQ(r->object, &object);
    }
    // Records in creation order, each indexed by its place.
    const auto& records = t.control->nodeRecords();
    for (size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(records[i].index, static_cast<int16_t>(i));
    EXPECT_EQ(records.size(), 2 + std::size(kPropertyCases));
}

TEST(TreeEnumProperty, WithoutThePropertysNodeThePropertiesHangFromTheObjectNode) {
    Tree t;
    TreeTestObject object;
    const int first = t.control->AddTreeItem(QStringLiteral("first"), 0, 0, 0, nullptr, 0, 0);
    const int name =
        t.control->EnumProperty(QStringLiteral("Obj"), &object, 0, 0, 0, 1, 2, first, nullptr, {});
    EXPECT_EQ(t.control->GetPrevItem(name), first);
    EXPECT_EQ(t.childTexts(name).size(), static_cast<qsizetype>(std::size(kPropertyCases)));
}

TEST(TreeEnumProperty, HiddenMembersOnlyLeaveAnEmptyPropertysNode) {
    Tree t;
    HiddenOnly collection;
    const int name =
        t.control->EnumProperty(QStringLiteral("Coll"), &collection, 0, 0, -1, 1, 2, 0, nullptr, {});
    ASSERT_NE(name, 0);
    EXPECT_EQ(t.childTexts(name), QStringList{QStringLiteral("Propertys")});
    EXPECT_EQ(t.control->GetChildrenItemCount(t.child(name, QStringLiteral("Propertys"))), 0);
}

TEST(TreeEnumerations, AnObjectWithoutTypeInformationGivesNothing) {
    Tree t;
    EXPECT_EQ(t.control->EnumProperty(QStringLiteral("x"), nullptr, 0, 0, -1, 1, 2, 0, nullptr, {}), 0);
    EXPECT_EQ(t.control->EnumAllInfo(QStringLiteral("x"), nullptr, 0, 0, {}), 0);
    EXPECT_EQ(t.control->EnumEvents(QStringLiteral("x"), nullptr, 0, 0, {}), 0);
    EXPECT_EQ(t.control->EnumPropertyAndMetod(QStringLiteral("x"), nullptr, 0, 0, {}), 0);
    EXPECT_EQ(t.widget()->topLevelItemCount(), 0);
    EXPECT_TRUE(t.control->nodeRecords().empty());
}

TEST(TreeEnumPropertyAndMetod, MembersAtTheRootSortedWithoutRecords) {
    Tree t;
    TreeTestObject object;
    EXPECT_EQ(t.control->EnumPropertyAndMetod(QStringLiteral("ignored"), &object, 0, 0, {}), 0);
    const QStringList texts = t.childTexts(0);
    EXPECT_TRUE(texts.contains(QStringLiteral("Add")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Count"))); // the hiding is EnumProperty's
    EXPECT_EQ(texts.count(QStringLiteral("Width")), 1);   // the writer gives no node
    QStringList sorted = texts;
    std::sort(sorted.begin(), sorted.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    EXPECT_EQ(texts, sorted);
    EXPECT_EQ(t.control->imageOf(t.child(0, QStringLiteral("Add"))), 7);
    EXPECT_EQ(t.control->imageOf(t.child(0, QStringLiteral("Reset"))), 7);
    EXPECT_EQ(t.control->imageOf(t.child(0, QStringLiteral("Width"))), 6);
    EXPECT_TRUE(t.control->nodeRecords().empty());
    EXPECT_EQ(t.widget()->indentation(), 2);
    EXPECT_TRUE(t.widget()->rootIsDecorated());
}

TEST(TreeEnumAllInfo, TheTestObjectsLibraryWithItsFunctionsReturnAndParameterTypes) {
    Tree t;
    TreeTestObject object;
    const int library = t.control->EnumAllInfo(QStringLiteral("n"), &object, 0, 5, {});
    ASSERT_NE(library, 0);
    EXPECT_EQ(t.control->GetTVItemText(library), QStringLiteral("TreeTestObjectLib"));
    EXPECT_EQ(t.childTexts(library), (QStringList{QStringLiteral("Enumeration Mode"),
                                                  QStringLiteral("Dispatch interface _DTreeTestObject"),
                                                  QStringLiteral("Dispatch interface _DTreeTestObjectEvents"),
                                                  QStringLiteral("Coclass TreeTestObject")}));
    const int dispatch = t.child(library, QStringLiteral("Dispatch interface _DTreeTestObject"));
    const int add = t.child(dispatch, QStringLiteral("Add\tFunction: \" Adds three values \""));
    ASSERT_NE(add, 0);
    EXPECT_EQ(
        t.childTexts(add),
        (QStringList{QStringLiteral("\t\tReturn type: 3"), QStringLiteral("\t\tParameter 1 type: 3"),
                     QStringLiteral("\t\tParameter 2 type: 5"), QStringLiteral("\t\tParameter 3 type: 8")}));
    EXPECT_NE(t.child(dispatch, QStringLiteral("Width\tProperty access: \" Width in pixels \"")), 0);
    EXPECT_NE(t.child(dispatch, QStringLiteral("Width\tProperty assign: \" Width in pixels \"")), 0);
    const int setter = t.child(dispatch, QStringLiteral("Speed\tProperty assign: \"  \""));
    ASSERT_NE(setter, 0);
    EXPECT_EQ(t.childTexts(setter), (QStringList{QStringLiteral("\t\tReturn type: 24"),
                                                 QStringLiteral("\t\tParameter 1 type: 29")}));
    EXPECT_EQ(t.record(t.child(setter, QStringLiteral("\t\tParameter 1 type: 29")))->enumString,
              QStringLiteral("0 - Off*5 - Slow*-2 - Fast*"));
}

TEST(TreeEnumAllInfo, UnknownKindsAndValuesOutsideThirtyTwoBits) {
    Tree t;
    SelfDescribed object;
    const int library = t.control->EnumAllInfo(QStringLiteral("n"), &object, 0, 0, {});
    EXPECT_EQ(t.childTexts(library),
              (QStringList{QStringLiteral("*** Unknown type *** Odd"), QStringLiteral("Enumeration Colours"),
                           QStringLiteral("Dispatch interface _DSelf")}));
    const int odd = t.child(library, QStringLiteral("*** Unknown type *** Odd"));
    EXPECT_EQ(t.childTexts(odd),
              QStringList{QStringLiteral("Strange\t*** Unknown function type ***: \" no one knows \"")});

    const int name = t.control->EnumProperty(QStringLiteral("self"), &object, 0, 0, 0, 1, 1, 0, nullptr, {});
    const TreeNodeInfo* colour = t.record(t.child(name, QStringLiteral("Colour")));
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(colour->varType, 26);
    EXPECT_EQ(colour->varObj, 3); // found through the pointer
    EXPECT_EQ(colour->enumString, QStringLiteral("1 - Red*1 - Red*3 - Blue*"));
}

TEST(TreeEnumAllInfo, AMenuButtonListsTheWholeModuleWithItsInterfaces) {
    Tree t;
    CZuMenuExCtrl menu;
    const int library = t.control->EnumAllInfo(QStringLiteral("n"), &menu, 0, 0, {});
    EXPECT_EQ(t.control->GetTVItemText(library), QStringLiteral("ZUCOMPONENTSLib"));
    const QStringList types = t.childTexts(library);
    for (const char* coclass : {"ZuMenuEx", "ZuTreeEnum", "ZuRichText"}) {
        SCOPED_TRACE(coclass);
        EXPECT_TRUE(types.contains(QStringLiteral("Coclass ") + coclass));
        EXPECT_TRUE(types.contains(QStringLiteral("Dispatch interface _D") + coclass));
        EXPECT_TRUE(types.contains(QStringLiteral("Dispatch interface _D") + coclass + "Events"));
    }
    const int tree = t.child(library, QStringLiteral("Dispatch interface _DZuTreeEnum"));
    EXPECT_NE(t.child(tree, QStringLiteral("EnumClear\tFunction: \"  \"")), 0);
    const int editor = t.child(library, QStringLiteral("Dispatch interface _DZuRichTextEvents"));
    EXPECT_NE(t.child(editor, QStringLiteral("RTFKeyDown\tFunction: \"  \"")), 0);
}

// The menu button keeps its float properties as 32-bit floats (its "SingleProperties"), though Qt carries
// them as double: the tree reports them as Single (4), in the property nodes and in the library alike.
TEST(TreeEnumProperty, TheMenuButtonsFloatPropertiesAreSingles) {
    Tree t;
    CZuMenuExCtrl menu;
    const QMetaObject* meta = menu.metaObject();
    const QStringList singles =
        QString::fromLatin1(meta->classInfo(meta->indexOfClassInfo("SingleProperties")).value())
            .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_TRUE(singles.contains(QStringLiteral("FontHeight")));
    const int name = t.control->EnumProperty(QStringLiteral("Menu"), &menu, 0, 0, -1, 1, 2, 0, nullptr, {});
    const int propertys = t.child(name, QStringLiteral("Propertys"));
    for (const QString& property : singles) {
        SCOPED_TRACE(property.toStdString());
        const TreeNodeInfo* r = t.record(t.child(propertys, property));
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->varType, 4);
    }
    EXPECT_EQ(t.record(t.child(propertys, QStringLiteral("Major")))->varType, 3) << "other types stay";

    Tree all;
    const int library = all.control->EnumAllInfo(QStringLiteral("n"), &menu, 0, 0, {});
    const int dispatch = all.child(library, QStringLiteral("Dispatch interface _DZuMenuEx"));
    const QString help =
        QString::fromUtf8(meta->classInfo(meta->indexOfClassInfo("Help:FontHeight")).value());
    const int getter = all.child(dispatch, QStringLiteral("FontHeight\tProperty access: \" %1 \"").arg(help));
    const int setter = all.child(dispatch, QStringLiteral("FontHeight\tProperty assign: \" %1 \"").arg(help));
    ASSERT_NE(getter, 0);
    ASSERT_NE(setter, 0);
    EXPECT_EQ(all.childTexts(getter), QStringList{QStringLiteral("\t\tReturn type: 4")});
    EXPECT_EQ(all.childTexts(setter), (QStringList{QStringLiteral("\t\tReturn type: 24"),
                                                   QStringLiteral("\t\tParameter 1 type: 4")}));
}

TEST(TreeEnumEvents, EachEventAsABasicDeclaration) {
    Tree t;
    TreeTestObject object;
    const int name = t.control->EnumEvents(QStringLiteral("Obj"), &object, 0, 3, {});
    ASSERT_NE(name, 0);
    const int events = t.child(name, QStringLiteral("Events"));
    const QStringList expected = {
        QStringLiteral("Sub Changed(Index As Long, Caption As String)"),
        QStringLiteral("Sub Moved(ForeColor As OLE_COLOR, Target As Object)"),
        QStringLiteral("FunctionAsk(Question As String)Return type As Long"),
    };
    EXPECT_EQ(t.childTexts(events), expected);
    const TreeNodeInfo* moved = t.record(t.child(events, expected[1]));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->eventString, expected[1]);
    EXPECT_EQ(t.control->imageOf(events), 15);
    EXPECT_EQ(t.record(name)->varObj, 3);

    CZuMenuExCtrl menu;
    const int menuName = t.control->EnumEvents(QStringLiteral("Menu"), &menu, 0, 0, {});
    const QStringList menuEvents = t.childTexts(t.child(menuName, QStringLiteral("Events")));
    EXPECT_TRUE(menuEvents.contains(QStringLiteral("Sub Click()")));
    EXPECT_TRUE(
        menuEvents.contains(QStringLiteral("Sub MeasureItem(IndexMenuItem As Long, IndexMenu As Long)")));
}

TEST(TreeTypeNames, TheThreeTablesAndTheirFallbacks) {
    using namespace zu::tree;
    struct {
        int vt;
        const char* declaration;
        const char* basic;
        const char* parameter;
    } const cases[] = {
        {0, "void", "Sub", "\t\tParameter 2 type: 0"},
        {3, "long", "Long", "Long"},
        {9, "IDispatch*", "Object", "Object"},
        {13, "IUnknown*", "IUnknown", "Object"},
        {17, "unsigned char", "unsigned char", "Byte"},
        {24, "void", "Void", "void"},
        {26, "void*", "Sub", "User"},
        {29, "USERDEFINED", "USERDEFINED", "OLE_COLOR"},
        {72, "CLSID", "CLSID", "\t\tParameter 2 type: 72"},
        {100, "[Unknown type = 100]", "[Unknown type = 100] ", "\t\tParameter 2 type: 100"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(declarationTypeName(c.vt), QString::fromUtf8(c.declaration)) << c.vt;
        EXPECT_EQ(basicTypeName(c.vt), QString::fromUtf8(c.basic)) << c.vt;
        EXPECT_EQ(parameterTypeName(c.vt, 2), QString::fromUtf8(c.parameter)) << c.vt;
    }
}

TEST(TreeNodeClick, AClickReportsTheNodesRecordOnceAndOnlyWhileEnumerating) {
    Tree t;
    t.control->show();
    const int loose = t.control->AddTreeItem(QStringLiteral("loose"), 0, 0, 0, nullptr, 4, 0);
    QSignalSpy spy(t.control.get(), &CZuTreeEnumCtrl::NodeClick);
    t.click(loose);
    EXPECT_EQ(spy.count(), 0); // no enumeration yet

    TreeTestObject object, parent;
    const int name = t.control->EnumProperty(QStringLiteral("Obj"), &object, 0, 7, 0, 10, 10, 0, &parent, {});
    const int speed = t.child(name, QStringLiteral("Speed"));
    t.click(name);
    ASSERT_EQ(spy.count(), 1);
    const QList<QVariant> args = spy.takeFirst();
    EXPECT_EQ(args.at(0).value<short>(), 1); // after the loose node's record
    EXPECT_EQ(args.at(1).toString(), QStringLiteral("Obj"));
    EXPECT_EQ(args.at(2).value<QObject*>(), &object);
    EXPECT_EQ(args.at(3).toInt(), name);
    EXPECT_EQ(args.at(4).toInt(), 9);
    EXPECT_EQ(args.at(5).toInt(), 7);
    EXPECT_EQ(args.at(9).value<QObject*>(), &parent);

    t.click(name); // the same node again
    EXPECT_EQ(spy.count(), 0);
    t.control->ExpantTreeViewString(name);
    t.click(speed);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(1).toString(), QStringLiteral("Speed"));
    EXPECT_EQ(spy.at(0).at(7).toString(), QStringLiteral("0 - Off*5 - Slow*-2 - Fast*"));
    spy.clear();
    t.click(loose);
    EXPECT_EQ(spy.count(), 1);

    // A renamed node no longer matches its record.
    spy.clear();
    t.control->SetItemText(speed, QStringLiteral("Renamed"));
    t.click(speed);
    EXPECT_EQ(spy.count(), 0);
}

TEST(TreeNodeClick, AContainerMayClearTheTreeFromItsClickHandler) {
    Tree t;
    t.control->show();
    TreeTestObject object;
    const int name = t.control->EnumProperty(QStringLiteral("Obj"), &object, 0, 0, 0, 10, 10, 0, nullptr, {});
    int clicks = 0;
    QObject::connect(t.control.get(), &CZuTreeEnumCtrl::NodeClick, [&] {
        ++clicks;
        t.control->EnumClear();
        t.control->EnumEvents(QStringLiteral("again"), &object, 0, 0, {});
    });
    t.click(name);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(t.childTexts(0), QStringList{QStringLiteral("again")});
    t.click(t.child(0, QStringLiteral("again"))); // the record made after the clearing
    EXPECT_EQ(clicks, 2);
}

TEST(TreeImages, CollectionsAndPropertyBoxesOpenAndCloseWithTheirNodes) {
    Tree t;
    t.control->show();
    TreeTestObject object;
    const int name = t.control->EnumProperty(QStringLiteral("Obj"), &object, 0, 0, -1, 1, 1, 0, nullptr, {});
    const int propertys = t.child(name, QStringLiteral("Propertys"));
    t.control->SelectItem(name);
    QTest::keyClick(t.widget(), Qt::Key_Right); // expand
    EXPECT_EQ(t.control->imageOf(name), 2);
    QTest::keyClick(t.widget(), Qt::Key_Down);
    QTest::keyClick(t.widget(), Qt::Key_Right);
    EXPECT_EQ(t.control->imageOf(propertys), 4);
    EXPECT_EQ(t.control->selectedImageOf(propertys), 4);
    QTest::keyClick(t.widget(), Qt::Key_Left); // collapse
    EXPECT_EQ(t.control->imageOf(propertys), 3);
    const int width = t.child(propertys, QStringLiteral("Width"));
    t.control->ExpantTreeViewString(width); // no children: nothing changes
    EXPECT_EQ(t.control->imageOf(width), 6);
}

TEST(TreeImages, BuiltInImagesAreSixteenByFifteenWithWhiteTransparent) {
    for (int i = 0; i < zu::tree::builtInImageCount; ++i) {
        const QImage image = zu::tree::builtInImage(i);
        EXPECT_EQ(image.size(), QSize(16, 15));
        EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu) << i; // corners are background
        int drawn = 0;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 16; ++x)
                drawn += (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_GT(drawn, 10) << i;
    }
    EXPECT_TRUE(zu::tree::builtInImage(16).isNull());
    EXPECT_EQ(zu::tree::builtInImageCaption(15), QStringLiteral(" Событие"));
}

TEST(TreeImages, TheLegendListsEveryBuiltInImageWithItsCaption) {
    Tree t;
    t.control->ViewImageList();
    ASSERT_NE(t.control->imageLegend(), nullptr);
    auto* list = t.control->imageLegend()->findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 16);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("ID 0 Картинка контрол"));
    EXPECT_EQ(list->item(4)->text(), QStringLiteral("ID 4 Картинка коробка свойств (открытая)"));
    EXPECT_EQ(list->item(15)->text(), QStringLiteral("ID 15 Событие"));
    t.control->ViewImageList(); // shown once
    EXPECT_EQ(t.control->findChildren<QDialog*>().size(), 1);
}

TEST(TreeImages, TheContainersPicturesReplaceTheBuiltInOnesOnceAttached) {
    Tree t;
    QPixmap red(8, 8);
    red.fill(Qt::red);
    QImage masked(8, 8, QImage::Format_RGB32);
    masked.fill(QColor(0, 255, 0));
    masked.setPixel(0, 0, qRgb(0, 0, 255));
    EXPECT_EQ(t.control->AddPictureToImageList(red, 0), -1); // no list yet
    EXPECT_FALSE(t.control->CreateUserImageList(0, 8));
    ASSERT_TRUE(t.control->CreateUserImageList(8, 8));
    EXPECT_EQ(t.control->AddPictureToImageList(red, 0), 0);
    EXPECT_EQ(t.control->AddPictureToImageList(QPixmap::fromImage(masked), 0x00FF00), 1);
    EXPECT_EQ(t.control->AddPictureToImageList(QPixmap(), 0), -1);

    const int node = t.control->AddTreeItem(QStringLiteral("n"), 0, 1, 1, nullptr, 0, 0);
    const QImage before = t.control->itemOf(node)->icon(0).pixmap(16, 15).toImage();
    EXPECT_NE(before.size(), QSize(8, 8));
    t.control->SetImageList();
    const QImage after = t.control->itemOf(node)->icon(0).pixmap(8, 8).toImage();
    EXPECT_EQ(after.size(), QSize(8, 8));
    EXPECT_EQ(qAlpha(after.pixel(4, 4)), 0); // the mask colour is transparent
    EXPECT_EQ(after.pixel(0, 0) & 0xFFFFFF, 0x0000FFu);
    const int outside = t.control->AddTreeItem(QStringLiteral("o"), 0, 40, 40, nullptr, 0, 0);
    EXPECT_TRUE(t.control->itemOf(outside)->icon(0).isNull());
}

TEST(TreeItems, NavigationInsertionAndDeletionByHandle) {
    Tree t;
    const int b = t.control->AddTreeItem(QStringLiteral("b"), 0, 0, 0, nullptr, 0, 0);
    const int d = t.control->AddTreeItem(QStringLiteral("d"), 0, 0, 0, nullptr, 0, CZuTreeEnumCtrl::TVI_LAST);
    const int a =
        t.control->AddTreeItem(QStringLiteral("a"), 0, 0, 0, nullptr, 0, CZuTreeEnumCtrl::TVI_FIRST);
    const int c = t.control->AddTreeItem(QStringLiteral("C"), CZuTreeEnumCtrl::TVI_ROOT, 0, 0, nullptr, 0,
                                         CZuTreeEnumCtrl::TVI_SORT);
    const int child = t.control->AddTreeItem(QStringLiteral("child"), c, 0, 0, nullptr, 0, 0);
    const int after = t.control->AddTreeItem(QStringLiteral("after b"), 0, 0, 0, nullptr, 0, b);
    EXPECT_EQ(t.childTexts(0), (QStringList{"a", "b", "after b", "C", "d"}));
    EXPECT_EQ(t.control->GetPrevItem(b), a);
    EXPECT_EQ(t.control->GetPrevItem(a), 0);
    EXPECT_EQ(t.control->GetParentItem(child), c);
    EXPECT_EQ(t.control->GetParentItem(c), 0);
    EXPECT_EQ(t.control->GetChildrenItemCount(c), 1);
    EXPECT_EQ(t.control->GetChildrenItemCount(0), 5);

    t.control->SetItemTextBold(after);
    EXPECT_TRUE(t.control->itemOf(after)->font(0).bold());
    t.control->SelectItem(d);
    EXPECT_EQ(t.widget()->currentItem(), t.control->itemOf(d));

    t.control->DeleteItem(c);
    EXPECT_EQ(t.control->itemOf(child), nullptr); // its children's handles go with it
    EXPECT_EQ(t.control->GetTVItemText(c), QString());
    // Handles that name nothing change nothing.
    for (int h : {c, child, 0, 12345, -7}) {
        t.control->DeleteItem(h);
        t.control->SelectItem(h);
        t.control->SetItemText(h, QStringLiteral("x"));
        t.control->SetItemTextBold(h);
        t.control->ExpantTreeViewString(h);
        EXPECT_EQ(t.control->GetParentItem(h), 0);
        EXPECT_EQ(t.control->GetPrevItem(h), 0);
    }
    EXPECT_EQ(t.childTexts(0), (QStringList{"a", "b", "after b", "d"}));

    t.control->EnumClear();
    EXPECT_EQ(t.widget()->topLevelItemCount(), 0);
    EXPECT_TRUE(t.control->nodeRecords().empty());
    EXPECT_EQ(t.control->itemOf(a), nullptr);
}

TEST(TreeHelpers, ColoursResultCodesAndFonts) {
    Tree t;
    EXPECT_EQ(t.control->GetRGBColor(0x0080FFu), QStringLiteral("(255,128,0)"));
    EXPECT_EQ(t.control->GetRGBColor(0), QStringLiteral("(0,0,0)"));
    const QColor window = QApplication::palette().color(QPalette::Base);
    EXPECT_EQ(t.control->GetRGBColor(0x80000005u),
              QStringLiteral("(%1,%2,%3)").arg(window.red()).arg(window.green()).arg(window.blue()));
    EXPECT_EQ(t.control->ScanHRESULT(static_cast<int>(0x80070057u)), 0x57);
    EXPECT_EQ(t.control->ScanHRESULT(0x12345678), 0x5678);

    // The font dialog confirmed with another size writes the font back; cancelled, the font stays.
    QWidget target;
    QFont start(QStringLiteral("Liberation Serif"));
    start.setPointSizeF(11.6);
    target.setFont(start);
    auto answer = [](bool accept) {
        QTimer::singleShot(0, [accept] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            QFont f = dialog->currentFont();
            f.setPointSize(20);
            dialog->setCurrentFont(f);
            accept ? dialog->accept() : dialog->reject();
        });
    };
    answer(false);
    EXPECT_EQ(t.control->ChangeFont(&target, 0x0000FFu, 0), 0x0000FFu);
    EXPECT_DOUBLE_EQ(target.font().pointSizeF(), 11.6);
    answer(true);
    EXPECT_EQ(t.control->ChangeFont(&target, 0x80000008u, 0), zu::resolveColor(0x80000008u));
    EXPECT_EQ(target.font().pointSize(), 20);
}

// ChangeFont on a menu button's Font: cancelled, it writes the font it was given back and the button keeps
// its FontHeight (and its 13-pixel caption font); confirmed, the size in points becomes the FontHeight.
TEST(TreeHelpers, ChangeFontLeavesAMenuButtonsFontAsItWasWhenCancelled) {
    Tree t;
    CZuMenuExCtrl menu;
    menu.setFontName(QStringLiteral("DejaVu Sans"));
    ASSERT_EQ(menu.FontHeight(), 10.0);
    auto answer = [](bool accept, int points) {
        QTimer::singleShot(0, [accept, points] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            QFont f = dialog->currentFont();
            f.setPointSize(points);
            dialog->setCurrentFont(f);
            accept ? dialog->accept() : dialog->reject();
        });
    };
    answer(false, 30);
    t.control->ChangeFont(&menu, 0, 0);
    EXPECT_EQ(menu.FontHeight(), 10.0);
    EXPECT_EQ(menu.Font().pixelSize(), 13);
    EXPECT_EQ(menu.FontName(), QStringLiteral("DejaVu Sans"));

    answer(true, 20);
    t.control->ChangeFont(&menu, 0, 0);
    EXPECT_EQ(menu.FontHeight(), 20.0);
    EXPECT_EQ(menu.Font().pixelSize(), 26);
}

TEST(TreeHelpers, OpenAnyFileReturnsTheChosenPathOrNothing) {
    Tree t;
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("arrow.bmp"));
    QFile(picture).open(QIODevice::WriteOnly);
    auto answer = [&](bool accept) {
        QTimer::singleShot(0, [&, accept] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            EXPECT_EQ(dialog->nameFilters(), (QStringList{QStringLiteral("Picture files(*.bmp)"),
                                                          QStringLiteral("All files(*.*)")}));
            dialog->selectFile(picture);
            QDialog* asDialog = dialog;
            accept ? asDialog->accept() : asDialog->reject();
        });
    };
    answer(false);
    EXPECT_EQ(t.control->OpenAnyFile(), QString());
    answer(true);
    EXPECT_EQ(t.control->OpenAnyFile(), picture);
}

TEST(TreeProperties, DefaultsPersistedNamesAndColours) {
    CZuTreeEnumCtrl control;
    zu::CZuPropertyBag bag;
    ASSERT_EQ(control.Save(&bag, true, true), ZU_S_OK);
    EXPECT_EQ(bag.values.value(QStringLiteral("TextColor")).toUInt(), 0x80000008u);
    EXPECT_EQ(bag.values.value(QStringLiteral("BackColor")).toUInt(), 0x80000005u);
    EXPECT_EQ(bag.values.value(QStringLiteral("Indent")).toInt(), 19);
    EXPECT_EQ(bag.values.size(), 3);

    bag.values[QStringLiteral("TextColor")] = 0x0000FFu;
    bag.values[QStringLiteral("BackColor")] = 0x00FFFFu;
    bag.values[QStringLiteral("Indent")] = 30;
    ASSERT_EQ(control.Load(&bag), ZU_S_OK);
    EXPECT_EQ(control.tree()->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(control.tree()->palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(control.tree()->indentation(), 30);
    control.setIndent(-5);
    EXPECT_EQ(control.tree()->indentation(), 0);
    EXPECT_EQ(control.IsDirty(), ZU_S_OK);
}

TEST(TreeModule, BothControlsAndTheirPagesComeFromTheirFactories) {
    struct {
        const char* progId;
        const char* className;
    } const classes[] = {
        {"ZUCOMPONENTS.ZuTreeEnumCtrl.1", "CZuTreeEnumCtrl"},
        {"ZUCOMPONENTS.ZuTreeEnumPropPage.1", "CZuTreeEnumPropPage"},
        {"ZUCOMPONENTS.ZuRichTextCtrl.1", "CZuRichTextCtrl"},
        {"ZUCOMPONENTS.ZuRichTextPropPage.1", "CZuRichTextPropPage"},
    };
    for (const auto& c : classes) {
        SCOPED_TRACE(c.progId);
        const zu::ZuClassIdentity* identity = zu::findClassByProgId(QLatin1String(c.progId));
        ASSERT_NE(identity, nullptr);
        EXPECT_TRUE(zu::isServed(identity->clsid));
        zu::IZuClassFactory* factory = nullptr;
        ASSERT_EQ(
            DllGetClassObject(&identity->clsid, &zu::IID_IClassFactory, reinterpret_cast<void**>(&factory)),
            ZU_S_OK);
        zu::IZuControl* control = nullptr;
        ASSERT_EQ(factory->CreateInstance(nullptr, zu::IID_IZuControl, reinterpret_cast<void**>(&control)),
                  ZU_S_OK);
        EXPECT_STREQ(control->Widget()->metaObject()->className(), c.className);
        EXPECT_EQ(DllCanUnloadNow(), ZU_S_FALSE);
        control->Release();
        factory->Release();
    }
    EXPECT_EQ(DllCanUnloadNow(), ZU_S_OK);
}

} // namespace

#include "ZuTreeEnumTest.moc"

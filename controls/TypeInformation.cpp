#include "TypeInformation.h"

#include "ZuControls.h"
#include "ZuMenuExCtl.h"
#include "ZuRichTextCtl.h"
#include "ZuTreeEnumCtl.h"

#include <QHash>
#include <QMetaEnum>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPainter>
#include <QPolygon>

namespace zu::tree {

namespace {

TypeDesc simple(int vt) {
    TypeDesc t;
    t.vt = vt;
    return t;
}

TypeDesc userDefined(std::shared_ptr<const TypeInfo> info) {
    TypeDesc t;
    t.vt = VT_USERDEFINED;
    t.userType = std::move(info);
    return t;
}

TypeDesc wrapping(int vt, TypeDesc element) {
    TypeDesc t;
    t.vt = vt;
    t.element = std::make_shared<const TypeDesc>(std::move(element));
    return t;
}

std::shared_ptr<const TypeInfo> namedType(int kind, const QString& name) {
    auto info = std::make_shared<TypeInfo>();
    info->kind = kind;
    info->name = name;
    return info;
}

// The user-defined types Qt's value types stand for.
const std::shared_ptr<const TypeInfo>& oleColorAlias() {
    static const auto alias = namedType(TKIND_ALIAS, QStringLiteral("OLE_COLOR"));
    return alias;
}
const std::shared_ptr<const TypeInfo>& fontInterface() {
    static const auto font = namedType(TKIND_DISPATCH, QStringLiteral("Font"));
    return font;
}
const std::shared_ptr<const TypeInfo>& pictureInterface() {
    static const auto picture = namedType(TKIND_DISPATCH, QStringLiteral("Picture"));
    return picture;
}

// Qt's own classes end the members a class offers: QObject, QWidget, QTreeWidget ... (a capital Q, then
// another capital letter, and no namespace).
bool isQtClass(const QMetaObject* meta) {
    const char* name = meta->className();
    return name[0] == 'Q' && name[1] >= 'A' && name[1] <= 'Z' && !std::strchr(name, ':');
}

const QMetaObject* firstQtAncestor(const QMetaObject* meta) {
    while (meta && !isQtClass(meta))
        meta = meta->superClass();
    return meta;
}

QString withoutScope(const char* name) {
    const QString text = QString::fromLatin1(name);
    const int colon = text.lastIndexOf(QLatin1String("::"));
    return colon < 0 ? text : text.mid(colon + 2);
}

QString classInfo(const QMetaObject* meta, const char* key) {
    const int index = meta->indexOfClassInfo(key);
    return index < 0 ? QString() : QString::fromUtf8(meta->classInfo(index).value());
}

// A member's documentation: the class information "Help:<member>".
QString memberHelp(const QMetaObject* meta, const QByteArray& member) {
    return classInfo(meta, QByteArray("Help:" + member).constData());
}

const ZuClassIdentity* moduleIdentityOf(const QMetaObject* meta) {
    for (const ZuClassIdentity& c : classIdentities())
        if (c.kind == ZuClassKind::Control && qstrcmp(c.className, meta->className()) == 0) return &c;
    return nullptr;
}

std::shared_ptr<const TypeInfo> enumerationOf(const QMetaEnum& meta) {
    static QHash<QByteArray, std::shared_ptr<const TypeInfo>> cache;
    const QByteArray key = QByteArray(meta.scope()) + "::" + meta.enumName();
    if (auto it = cache.constFind(key); it != cache.constEnd()) return it.value();
    auto info = std::make_shared<TypeInfo>();
    info->kind = TKIND_ENUM;
    info->name = QString::fromLatin1(meta.enumName());
    for (int i = 0; i < meta.keyCount(); ++i)
        info->members.append({QString::fromLatin1(meta.key(i)), meta.value(i)});
    cache.insert(key, info);
    return info;
}

QString dispatchNameOf(const QMetaObject* meta) {
    if (const ZuClassIdentity* identity = moduleIdentityOf(meta))
        return QLatin1String(identity->dispatchName);
    const QString named = classInfo(meta, "DispatchInterface");
    return named.isEmpty() ? QStringLiteral("_D") + withoutScope(meta->className()) : named;
}

QList<Param> parametersOf(const QMetaMethod& method, const QMetaObject* scope) {
    QList<Param> params;
    const QList<QByteArray> names = method.parameterNames();
    for (int i = 0; i < method.parameterCount(); ++i) {
        const QString name = i < names.size() ? QString::fromLatin1(names[i]) : QString();
        params.append({name, typeOf(method.parameterMetaType(i), name, scope)});
    }
    return params;
}

bool isOwnMethod(const QMetaMethod& method) {
    return method.access() == QMetaMethod::Public && !(method.attributes() & QMetaMethod::Cloned);
}

struct ClassTypes {
    std::shared_ptr<TypeInfo> dispatch, events, coclass;
    QList<std::shared_ptr<const TypeInfo>> enums;
};

// A class's interfaces from its meta-object, read once; a copy, as the cache may move its entries.
ClassTypes classTypesOf(const QMetaObject* meta) {
    static QHash<const QMetaObject*, ClassTypes> cache;
    if (auto it = cache.constFind(meta); it != cache.constEnd()) return it.value();

    const QMetaObject* qtBase = firstQtAncestor(meta);
    const int firstProperty = qtBase ? qtBase->propertyCount() : 0;
    const int firstMethod = qtBase ? qtBase->methodCount() : 0;
    const int firstEnum = qtBase ? qtBase->enumeratorCount() : 0;
    const ZuClassIdentity* identity = moduleIdentityOf(meta);
    const QString coclassName = identity ? QLatin1String(identity->coclass) : withoutScope(meta->className());
    const QString typeName = identity ? QLatin1String(identity->typeName) : coclassName;

    ClassTypes types;
    types.dispatch = std::make_shared<TypeInfo>();
    types.dispatch->kind = TKIND_DISPATCH;
    types.dispatch->name = dispatchNameOf(meta);
    types.dispatch->doc = classInfo(meta, "Help");
    if (types.dispatch->doc.isEmpty())
        types.dispatch->doc = QStringLiteral("Dispatch interface for ") + typeName;

    types.events = std::make_shared<TypeInfo>();
    types.events->kind = TKIND_DISPATCH;
    types.events->name = identity ? QLatin1String(identity->eventName) : classInfo(meta, "EventInterface");
    if (types.events->name.isEmpty()) types.events->name = QStringLiteral("_D") + coclassName + "Events";
    types.events->doc = QStringLiteral("Event interface for ") + typeName;

    // Properties the class keeps as 32-bit floats though Qt reads and writes them as double.
    const QStringList singles =
        classInfo(meta, "SingleProperties").split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = firstProperty; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const QString name = QString::fromLatin1(property.name());
        const bool single = property.metaType().id() == QMetaType::Double && singles.contains(name);
        const TypeDesc type = property.isEnumType() ? userDefined(enumerationOf(property.enumerator()))
                              : single              ? simple(VT_R4)
                                                    : typeOf(property.metaType(), name, meta);
        const QString help = memberHelp(meta, property.name());
        types.dispatch->functions.append({name, INVOKE_PROPERTYGET, type, {}, help});
        if (property.isWritable())
            types.dispatch->functions.append(
                {name, INVOKE_PROPERTYPUT, simple(VT_VOID), {{QString(), type}}, help});
    }
    for (int i = firstMethod; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (!isOwnMethod(method)) continue;
        const QString name = QString::fromLatin1(method.name());
        FuncDesc function{name, INVOKE_FUNC, typeOf(method.returnMetaType(), QString(), meta),
                          parametersOf(method, meta), memberHelp(meta, method.name())};
        if (method.methodType() == QMetaMethod::Signal)
            types.events->functions.append(function);
        else if (method.methodType() == QMetaMethod::Slot || method.methodType() == QMetaMethod::Method)
            types.dispatch->functions.append(function);
    }
    for (int i = firstEnum; i < meta->enumeratorCount(); ++i)
        types.enums.append(enumerationOf(meta->enumerator(i)));

    types.coclass = std::make_shared<TypeInfo>();
    types.coclass->kind = TKIND_COCLASS;
    types.coclass->name = coclassName;
    types.coclass->doc = typeName;
    types.coclass->implemented = {{types.dispatch, false}, {types.events, true}};
    cache.insert(meta, types);
    return types;
}

void appendClass(TypeLibrary& library, const ClassTypes& types) {
    for (const auto& e : types.enums)
        library.types.append(e);
    library.types.append(types.dispatch);
    library.types.append(types.events);
    library.types.append(types.coclass);
}

// The control module's library: its three controls, each with its interfaces.
std::shared_ptr<const TypeLibrary> moduleLibrary() {
    static const std::shared_ptr<const TypeLibrary> library = [] {
        auto lib = std::make_shared<TypeLibrary>();
        lib->name = QLatin1String(typeLibraryIdentity().name);
        lib->doc = QLatin1String(typeLibraryIdentity().helpString);
        const QMetaObject* controls[] = {&CZuMenuExCtrl::staticMetaObject, &CZuTreeEnumCtrl::staticMetaObject,
                                         &CZuRichTextCtrl::staticMetaObject};
        for (const QMetaObject* meta : controls)
            appendClass(*lib, classTypesOf(meta));
        return lib;
    }();
    return library;
}

std::shared_ptr<const TypeLibrary> classLibrary(const QMetaObject* meta, const ClassTypes& types) {
    static QHash<const QMetaObject*, std::shared_ptr<const TypeLibrary>> cache;
    if (auto it = cache.constFind(meta); it != cache.constEnd()) return it.value();
    auto lib = std::make_shared<TypeLibrary>();
    lib->name = types.coclass->name + QStringLiteral("Lib");
    lib->doc = types.coclass->doc;
    appendClass(*lib, types);
    cache.insert(meta, lib);
    return lib;
}

} // namespace

ObjectTypeInfo typeInfoOf(const QObject* object) {
    if (!object) return {};
    if (auto* source = dynamic_cast<const ITypeInfoSource*>(object)) return source->typeInformation();
    const QMetaObject* meta = object->metaObject();
    const ClassTypes types = classTypesOf(meta);
    ObjectTypeInfo info;
    info.dispatch = types.dispatch;
    info.coclass = types.coclass;
    info.library = moduleIdentityOf(meta) ? moduleLibrary() : classLibrary(meta, types);
    return info;
}

// clang-format off
// Qt's types as variant types. Integers keep their width (long is 64-bit here); an unsigned 32-bit member
// named ...Color... and QColor are OLE colours (the alias OLE_COLOR); fonts and pictures are pointers to the
// Font and Picture dispatch interfaces; a pointer to a Qt class is IDispatch, to a class of ours a pointer to
// its dispatch interface; byte arrays, string lists and variant lists are safe arrays; enumerations are
// user-defined; any other type is a VARIANT.
//   void VT_VOID 24        bool VT_BOOL 11       short VT_I2 2          int VT_I4 3
//   qlonglong VT_I8 20     ushort VT_UI2 18      uint VT_UI4 19         qulonglong VT_UI8 21
//   uchar VT_UI1 17        char VT_I1 16         float VT_R4 4          double VT_R8 5
//   QChar VT_UI2 18        QString VT_BSTR 8     QDate/QTime/QDateTime VT_DATE 7
//   QVariant VT_VARIANT 12 QObject* VT_DISPATCH 9
// clang-format on
TypeDesc typeOf(QMetaType type, const QString& memberName, const QMetaObject* scope) {
    const bool longIs32 = sizeof(long) == 4;
    switch (type.id()) {
    case QMetaType::UnknownType:
    case QMetaType::Void:
        return simple(VT_VOID);
    case QMetaType::Bool:
        return simple(VT_BOOL);
    case QMetaType::Short:
        return simple(VT_I2);
    case QMetaType::Int:
        return simple(VT_I4);
    case QMetaType::Long:
        return simple(longIs32 ? VT_I4 : VT_I8);
    case QMetaType::LongLong:
        return simple(VT_I8);
    case QMetaType::UShort:
        return simple(VT_UI2);
    case QMetaType::UInt:
        return memberName.contains(QLatin1String("Color")) ? userDefined(oleColorAlias()) : simple(VT_UI4);
    case QMetaType::ULong:
        return simple(longIs32 ? VT_UI4 : VT_UI8);
    case QMetaType::ULongLong:
        return simple(VT_UI8);
    case QMetaType::UChar:
        return simple(VT_UI1);
    case QMetaType::Char:
    case QMetaType::SChar:
        return simple(VT_I1);
    case QMetaType::Float:
        return simple(VT_R4);
    case QMetaType::Double:
        return simple(VT_R8);
    case QMetaType::QChar:
        return simple(VT_UI2);
    case QMetaType::QString:
        return simple(VT_BSTR);
    case QMetaType::QByteArray:
        return wrapping(VT_SAFEARRAY, simple(VT_UI1));
    case QMetaType::QStringList:
        return wrapping(VT_SAFEARRAY, simple(VT_BSTR));
    case QMetaType::QVariantList:
        return wrapping(VT_SAFEARRAY, simple(VT_VARIANT));
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime:
        return simple(VT_DATE);
    case QMetaType::QVariant:
        return simple(VT_VARIANT);
    case QMetaType::QColor:
        return userDefined(oleColorAlias());
    case QMetaType::QFont:
        return wrapping(VT_PTR, userDefined(fontInterface()));
    case QMetaType::QPixmap:
    case QMetaType::QImage:
    case QMetaType::QIcon:
    case QMetaType::QBitmap:
        return wrapping(VT_PTR, userDefined(pictureInterface()));
    case QMetaType::QObjectStar:
        return simple(VT_DISPATCH);
    default:
        break;
    }
    if (type.flags() & QMetaType::PointerToQObject) {
        const QMetaObject* target = type.metaObject();
        if (!target || isQtClass(target)) return simple(VT_DISPATCH);
        return wrapping(VT_PTR, userDefined(namedType(TKIND_DISPATCH, dispatchNameOf(target))));
    }
    if (type.flags() & QMetaType::IsEnumeration) {
        const QMetaObject* owner = type.metaObject() ? type.metaObject() : scope;
        const QString name = withoutScope(type.name());
        const int index = owner ? owner->indexOfEnumerator(name.toLatin1().constData()) : -1;
        if (index >= 0) return userDefined(enumerationOf(owner->enumerator(index)));
        return simple(VT_I4);
    }
    return simple(VT_VARIANT);
}

namespace {
const TypeDesc& throughElements(const TypeDesc& type) {
    const TypeDesc* t = &type;
    while ((t->vt == VT_PTR || t->vt == VT_SAFEARRAY || t->vt == VT_CARRAY) && t->element)
        t = t->element.get();
    return *t;
}
} // namespace

int userKindOf(const TypeDesc& type) {
    const TypeDesc& t = throughElements(type);
    if (t.vt != VT_USERDEFINED || !t.userType) return 0;
    switch (t.userType->kind) {
    case TKIND_ENUM:
        return 3;
    case TKIND_INTERFACE:
    case TKIND_DISPATCH:
        return 6;
    case TKIND_ALIAS:
        return 7;
    default:
        return 0;
    }
}

QString enumStringOf(const TypeDesc& type) {
    const TypeDesc& t = throughElements(type);
    if (t.vt != VT_USERDEFINED || !t.userType || t.userType->kind != TKIND_ENUM) return {};
    QString text, previous;
    for (const EnumMember& member : t.userType->members) {
        if (member.value && *member.value >= INT32_MIN && *member.value <= INT32_MAX)
            previous =
                QString::number(*member.value) + QStringLiteral(" - ") + member.name + QLatin1Char('*');
        text += previous;
    }
    return text;
}

namespace {

struct TypeName {
    int vt;
    const char* name;
};

// clang-format off
constexpr TypeName kDeclarationNames[] = {
    {0, "void"}, {1, "NULL"}, {2, "short"}, {3, "long"}, {4, "single"}, {5, "double"}, {6, "CURRENCY"},
    {7, "DATE"}, {8, "BSTR"}, {9, "IDispatch*"}, {10, "SCODE"}, {11, "BOOL"}, {12, "VARIANT"},
    {13, "IUnknown*"}, {16, "char"}, {17, "unsigned char"}, {18, "unsigned short"}, {19, "unsigned long"},
    {20, "int64"}, {21, "uint64"}, {22, "int"}, {23, "unsigned int"}, {24, "void"}, {25, "HRESULT"},
    {26, "void*"}, {27, "SAFEARRAY"}, {28, "CARRAY"}, {29, "USERDEFINED"}, {30, "LPSTR"}, {31, "LPWSTR"},
    {64, "FILETIME"}, {65, "BLOB"}, {66, "STREAM"}, {67, "STORAGE"}, {68, "STREAMED_OBJECT"},
    {69, "STORED_OBJECT"}, {70, "BLOB_OBJECT"}, {71, "CF"}, {72, "CLSID"},
};
constexpr TypeName kBasicNames[] = {
    {0, "Sub"}, {1, "NULL"}, {2, "Integer"}, {3, "Long"}, {4, "Single"}, {5, "Double"}, {6, "Currency"},
    {7, "Date"}, {8, "String"}, {9, "Object"}, {10, "Scode"}, {11, "Boolean"}, {12, "Variant"},
    {13, "IUnknown"}, {16, "Char"}, {17, "unsigned char"}, {18, "unsigned short"}, {19, "unsigned long"},
    {20, "int64"}, {21, "uint64"}, {22, "int"}, {23, "unsigned int"}, {24, "Void"}, {25, "HRESULT"},
    {26, "Sub"}, {27, "SAFEARRAY"}, {28, "CARRAY"}, {29, "USERDEFINED"}, {30, "LPSTR"}, {31, "LPWSTR"},
    {64, "FILETIME"}, {65, "BLOB"}, {66, "STREAM"}, {67, "STORAGE"}, {68, "STREAMED_OBJECT"},
    {69, "STORED_OBJECT"}, {70, "BLOB_OBJECT"}, {71, "CF"}, {72, "CLSID"},
};
constexpr TypeName kParameterNames[] = {
    {2, "Integer"}, {3, "Long"}, {4, "Single"}, {5, "Double"}, {6, "CY"}, {7, "Date"}, {8, "String"},
    {9, "Object"}, {10, "SCode"}, {11, "Boolean"}, {12, "Variant"}, {13, "Object"}, {17, "Byte"},
    {24, "void"}, {26, "User"}, {29, "OLE_COLOR"},
};
constexpr const char* kTypeKindNames[] = {
    "Enumeration", "Record", "Module", "Interface", "Dispatch interface", "Coclass", "Alias", "Union",
};
// clang-format on

template <size_t N> const char* lookUp(const TypeName (&table)[N], int vt) {
    for (const TypeName& t : table)
        if (t.vt == vt) return t.name;
    return nullptr;
}

} // namespace

QString declarationTypeName(int vt) {
    if (const char* name = lookUp(kDeclarationNames, vt)) return QLatin1String(name);
    return QStringLiteral("[Unknown type = %1]").arg(vt);
}

QString basicTypeName(int vt) {
    if (const char* name = lookUp(kBasicNames, vt)) return QLatin1String(name);
    return QStringLiteral("[Unknown type = %1] ").arg(vt);
}

QString parameterTypeName(int vt, int parameterNumber) {
    if (const char* name = lookUp(kParameterNames, vt)) return QLatin1String(name);
    return QStringLiteral("\t\tParameter %1 type: %2").arg(parameterNumber).arg(vt);
}

QString typeKindName(int kind) {
    if (kind >= 0 && kind < static_cast<int>(std::size(kTypeKindNames)))
        return QLatin1String(kTypeKindNames[kind]);
    return QStringLiteral("*** Unknown type ***");
}

QString invokeKindName(int invokeKind) {
    switch (invokeKind) {
    case INVOKE_FUNC:
        return QStringLiteral("Function");
    case INVOKE_PROPERTYGET:
        return QStringLiteral("Property access");
    case INVOKE_PROPERTYPUT:
        return QStringLiteral("Property assign");
    case INVOKE_PROPERTYPUTREF:
        return QStringLiteral("Property assign by reference");
    default:
        return QStringLiteral("*** Unknown function type ***");
    }
}

QString basicDeclaration(const FuncDesc& function) {
    const int returned = function.returnType.vt;
    const bool isSub = returned == VT_VOID || returned == VT_EMPTY;
    const bool setter =
        function.invokeKind == INVOKE_PROPERTYPUT || function.invokeKind == INVOKE_PROPERTYPUTREF;
    QString text =
        (isSub ? QStringLiteral("Sub ") : QStringLiteral("Function")) + function.name + QLatin1Char('(');
    for (int i = 0; i < function.params.size(); ++i) {
        const Param& p = function.params[i];
        if (i > 0) text += QStringLiteral(", ");
        const bool value = setter && i == function.params.size() - 1;
        text += (value ? QStringLiteral("rhs") : p.name) + QStringLiteral(" As ") +
                parameterTypeName(p.type.vt, i + 1);
    }
    text += QLatin1Char(')');
    if (!isSub) text += QStringLiteral("Return type As ") + basicTypeName(returned);
    return text;
}

// ---- built-in images
// -----------------------------------------------------------------------------------------

namespace {

const char* const kCaptions[builtInImageCount] = {
    " Картинка контрол",
    " Картинка коллекция (закрытая)",
    " Картинка коллекция (открытая)",
    " Картинка коробка свойств (закрытая)",
    " Картинка коробка свойств (открытая)",
    " Картинка свойство (выделенная)",
    " Картинка свойство (не выделенная)",
    " Картинка функция",
    " Картинка возврат",
    " Картинка аргумент",
    " Картинка объект",
    " Картинка меню",
    " Картинка строка меню",
    " Картинка строка субменю",
    " Картинка кнопка",
    " Событие",
};

// Our own artwork, drawn without smoothing so that the white background stays pure white (transparent).
const QColor kOutline(64, 64, 64), kFolder(240, 200, 80), kFolderLight(250, 225, 130), kBox(170, 120, 60),
    kBoxLight(205, 160, 100), kBlue(40, 90, 200), kLightBlue(150, 190, 240), kPaper(236, 236, 236),
    kPurple(140, 60, 170), kGreen(30, 140, 60), kOrange(230, 130, 30), kGrey(150, 150, 150),
    kYellow(250, 215, 40);

void drawImage(QPainter& p, int index) {
    auto box = [&](int x, int y, int w, int h, const QColor& fill) {
        p.setPen(kOutline);
        p.setBrush(fill);
        p.drawRect(x, y, w, h);
    };
    auto line = [&](int x1, int y1, int x2, int y2, const QColor& colour) {
        p.setPen(colour);
        p.drawLine(x1, y1, x2, y2);
    };
    auto polygon = [&](std::initializer_list<QPoint> points, const QColor& fill) {
        p.setPen(kOutline);
        p.setBrush(fill);
        p.drawPolygon(QPolygon(QList<QPoint>(points)));
    };
    switch (index) {
    case 0: // control: a small window
        box(1, 2, 13, 10, kPaper);
        p.fillRect(2, 3, 12, 2, kBlue);
        box(4, 7, 7, 3, kLightBlue);
        break;
    case 1: // closed collection: a folder
        polygon({{1, 3}, {5, 3}, {6, 4}, {14, 4}, {14, 12}, {1, 12}}, kFolder);
        break;
    case 2: // open collection
        polygon({{1, 3}, {5, 3}, {6, 4}, {13, 4}, {13, 6}, {1, 6}}, kFolder);
        polygon({{1, 12}, {3, 6}, {15, 6}, {13, 12}}, kFolderLight);
        break;
    case 3: // closed property box
        box(2, 5, 11, 8, kBox);
        line(2, 8, 13, 8, kOutline);
        p.fillRect(7, 6, 2, 2, kYellow);
        break;
    case 4: // open property box
        box(2, 7, 11, 6, kBox);
        polygon({{2, 7}, {0, 4}, {5, 4}, {6, 7}}, kBoxLight);
        polygon({{13, 7}, {15, 4}, {10, 4}, {9, 7}}, kBoxLight);
        break;
    case 5: // property, selected
        box(2, 2, 11, 10, kBlue);
        for (int y = 4; y <= 10; y += 2)
            line(4, y, 11, y, kLightBlue);
        break;
    case 6: // property, not selected
        box(2, 2, 11, 10, kPaper);
        for (int y = 4; y <= 10; y += 2)
            line(4, y, 11, y, kGrey);
        break;
    case 7: // function: a brick
        polygon({{1, 6}, {7, 3}, {14, 6}, {8, 9}}, kPurple);
        polygon({{1, 6}, {8, 9}, {8, 12}, {1, 9}}, kPurple.darker(130));
        polygon({{8, 9}, {14, 6}, {14, 9}, {8, 12}}, kPurple.lighter(130));
        break;
    case 8: // returned value: an arrow turning back
        line(12, 2, 12, 8, kGreen);
        line(13, 2, 13, 8, kGreen);
        line(5, 8, 13, 8, kGreen);
        line(5, 9, 13, 9, kGreen);
        polygon({{1, 8}, {5, 4}, {5, 13}}, kGreen);
        break;
    case 9: // argument
        polygon({{7, 3}, {12, 7}, {7, 11}, {2, 7}}, kOrange);
        break;
    case 10: // object: a cube
        polygon({{2, 5}, {8, 2}, {14, 5}, {8, 8}}, kLightBlue);
        polygon({{2, 5}, {8, 8}, {8, 14}, {2, 11}}, kBlue);
        polygon({{8, 8}, {14, 5}, {14, 11}, {8, 14}}, kBlue.lighter(140));
        break;
    case 11: // menu
        box(1, 1, 13, 12, kPaper);
        p.fillRect(2, 2, 12, 2, kGrey);
        for (int y = 6; y <= 11; y += 2)
            line(3, y, 11, y, kOutline);
        break;
    case 12: // menu line
        box(1, 4, 13, 6, kPaper);
        line(3, 7, 11, 7, kOutline);
        break;
    case 13: // sub-menu line
        box(1, 4, 13, 6, kPaper);
        line(3, 7, 8, 7, kOutline);
        polygon({{10, 5}, {12, 7}, {10, 9}}, kOutline);
        break;
    case 14: // button
        p.fillRect(1, 3, 14, 9, QColor(212, 208, 200));
        line(1, 3, 14, 3, QColor(250, 250, 250));
        line(1, 3, 1, 11, QColor(250, 250, 250));
        line(1, 12, 15, 12, kOutline);
        line(15, 3, 15, 12, kOutline);
        line(5, 7, 10, 7, kOutline);
        break;
    case 15: // event: a lightning bolt
        polygon({{9, 0}, {3, 8}, {7, 8}, {5, 14}, {12, 5}, {8, 5}}, kYellow);
        break;
    default:
        break;
    }
}

} // namespace

QImage builtInImage(int index) {
    if (index < 0 || index >= builtInImageCount) return {};
    QImage image(16, 15, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    drawImage(painter, index);
    return image;
}

QString builtInImageCaption(int index) {
    if (index < 0 || index >= builtInImageCount) return {};
    return QString::fromUtf8(kCaptions[index]);
}

} // namespace zu::tree

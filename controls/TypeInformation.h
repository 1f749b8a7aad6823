// Type information for the type-information tree, read from Qt's meta-object system, which stands in for the
// platform's automation type information: an object's dispatch interface (its properties and invokable
// methods), its event interface (its signals), its coclass and the type library of its module; the variant
// type codes of Qt's types, the three type-name tables, and the tree's built-in images.
#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace zu::tree {

// clang-format off
// Variant type codes.
enum VarType : int {
    VT_EMPTY = 0, VT_NULL = 1, VT_I2 = 2, VT_I4 = 3, VT_R4 = 4, VT_R8 = 5, VT_CY = 6, VT_DATE = 7, VT_BSTR = 8,
    VT_DISPATCH = 9, VT_ERROR = 10, VT_BOOL = 11, VT_VARIANT = 12, VT_UNKNOWN = 13, VT_I1 = 16, VT_UI1 = 17,
    VT_UI2 = 18, VT_UI4 = 19, VT_I8 = 20, VT_UI8 = 21, VT_INT = 22, VT_UINT = 23, VT_VOID = 24,
    VT_HRESULT = 25, VT_PTR = 26, VT_SAFEARRAY = 27, VT_CARRAY = 28, VT_USERDEFINED = 29,
};
// Kinds of type information.
enum TypeKind : int {
    TKIND_ENUM = 0, TKIND_RECORD = 1, TKIND_MODULE = 2, TKIND_INTERFACE = 3, TKIND_DISPATCH = 4,
    TKIND_COCLASS = 5, TKIND_ALIAS = 6, TKIND_UNION = 7,
};
// How a member is invoked.
enum InvokeKind : int {
    INVOKE_FUNC = 1, INVOKE_PROPERTYGET = 2, INVOKE_PROPERTYPUT = 4, INVOKE_PROPERTYPUTREF = 8,
};
// clang-format on

struct TypeInfo;

// A type: a variant type code; for a pointer, safe array or C array its element type; for a user-defined type
// the type information it names.
struct TypeDesc {
    int vt = VT_EMPTY;
    std::shared_ptr<const TypeDesc> element;
    std::shared_ptr<const TypeInfo> userType;
};

struct EnumMember {
    QString name;
    std::optional<int64_t> value; // a value that is not a 32-bit integer repeats the entry before it
};

struct Param {
    QString name;
    TypeDesc type;
};

struct FuncDesc {
    QString name;
    int invokeKind = INVOKE_FUNC;
    TypeDesc returnType;
    QList<Param> params;
    QString doc;
};

struct ImplType {
    std::shared_ptr<const TypeInfo> type;
    bool source = false; // an event interface of the coclass
};

struct TypeInfo {
    int kind = TKIND_DISPATCH;
    QString name;
    QString doc;
    QList<FuncDesc> functions;   // interfaces
    QList<EnumMember> members;   // enumerations
    QList<ImplType> implemented; // coclasses
};

struct TypeLibrary {
    QString name;
    QString doc;
    QList<std::shared_ptr<const TypeInfo>> types;
};

// What an object says about itself; all empty for an object without type information.
struct ObjectTypeInfo {
    std::shared_ptr<const TypeInfo> dispatch; // the first type information of its dispatch interface
    std::shared_ptr<const TypeInfo> coclass;
    std::shared_ptr<const TypeLibrary> library;
};

// An object that describes itself instead of being read from its meta-object.
class ITypeInfoSource {
  public:
    virtual ObjectTypeInfo typeInformation() const = 0;

  protected:
    ~ITypeInfoSource() = default;
};

// The type information of an object: its own description when it gives one; else, read from its meta-object
// once per class, its members below Qt's own classes. The library is the module's (the control module's
// three controls) for the module's controls, else one made of the object's class alone. Null: none.
ObjectTypeInfo typeInfoOf(const QObject* object);

// The type of a Qt type, as the table in TypeInformation.cpp maps it. memberName tells OLE colours (unsigned
// members whose name holds "Color") from other unsigned integers; scope is the class that declares the
// member.
TypeDesc typeOf(QMetaType type, const QString& memberName, const QMetaObject* scope);

// The kind of the user-defined type found through pointer, array and safe-array element types: 3 an
// enumeration, 6 an interface or dispatch interface, 7 an alias, 0 otherwise.
int userKindOf(const TypeDesc& type);
// For an enumeration type: per member, its value in decimal, " - ", its name and "*".
QString enumStringOf(const TypeDesc& type);

// The three type-name tables.
QString declarationTypeName(int vt); // C style
QString basicTypeName(int vt);       // event declarations
QString parameterTypeName(int vt, int parameterNumber);

QString typeKindName(int kind);
QString invokeKindName(int invokeKind);
// An event interface member as a Basic declaration.
QString basicDeclaration(const FuncDesc& function);

// The sixteen built-in 16 x 15 images (white is transparent) and their legend captions.
constexpr int builtInImageCount = 16;
QImage builtInImage(int index);
QString builtInImageCaption(int index);

} // namespace zu::tree

// ZuComponents as a control module, for container programs: the object layer's interfaces (reference-counted
// objects, class factories, controls, property bags), the identity tables of the type library, the controls
// and their property pages, and the container API that creates a registered control by ProgID or class
// identifier and calls its members late-bound.
//
// A control is a QWidget whose dispatch interface is its meta-object: properties are Qt properties, methods
// are invokable methods and events are signals, all under the members' own names and argument orders.
#pragma once

#include "ZuComponents.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <span>

class QObject;
class QPixmap;
class QWidget;

bool operator==(const ZuGUID& a, const ZuGUID& b);

namespace zu {

// The platform's own interfaces whose shape ours keep.
extern const ZuGUID IID_IUnknown;
extern const ZuGUID IID_IClassFactory;
extern const ZuGUID IID_IDispatch;
// The module's own: the widget behind a control or page, and property-bag persistence of it.
extern const ZuGUID IID_IZuControl;
extern const ZuGUID IID_IZuPersistPropertyBag;

class IZuUnknown {
  public:
    virtual ZuHRESULT QueryInterface(const ZuGUID& iid, void** object) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

  protected:
    ~IZuUnknown() = default;
};

class IZuClassFactory : public IZuUnknown {
  public:
    // A new object of the class; outer must be null (no aggregation).
    virtual ZuHRESULT CreateInstance(IZuUnknown* outer, const ZuGUID& iid, void** object) = 0;
    // A locked server stays loaded (DllCanUnloadNow answers S_FALSE) until every lock is released.
    virtual ZuHRESULT LockServer(bool lock) = 0;

  protected:
    ~IZuClassFactory() = default;
};

// A control or property page. The last Release deletes a widget that has no parent; a widget placed in a
// parent belongs to that parent, as every Qt widget does.
class IZuControl : public IZuUnknown {
  public:
    virtual QWidget* Widget() = 0;
    virtual ZuGUID ClassId() const = 0;

  protected:
    ~IZuControl() = default;
};

// What a container hands a control to read or write its persisted properties.
class IZuPropertyBag {
  public:
    // S_OK with the value, or E_INVALIDARG when the bag holds no value of that name.
    virtual ZuHRESULT Read(const QString& name, QVariant* value) = 0;
    virtual ZuHRESULT Write(const QString& name, const QVariant& value) = 0;

  protected:
    ~IZuPropertyBag() = default;
};

class IZuPersistPropertyBag : public IZuUnknown {
  public:
    // Every persisted property to its default.
    virtual ZuHRESULT InitNew() = 0;
    // Every persisted property from the bag; a name missing from the bag, or a value that does not convert to
    // the property's type, gives the property its default.
    virtual ZuHRESULT Load(IZuPropertyBag* bag) = 0;
    // Every persisted property under its persisted name; clearDirty resets the modified mark.
    virtual ZuHRESULT Save(IZuPropertyBag* bag, bool clearDirty, bool saveAllProperties) = 0;
    // S_OK when a property was set since the last InitNew, Load or clearing Save, else S_FALSE.
    virtual ZuHRESULT IsDirty() = 0;

  protected:
    ~IZuPersistPropertyBag() = default;
};

// A property bag held in memory, as a container keeps one per control.
class CZuPropertyBag : public IZuPropertyBag {
  public:
    ZuHRESULT Read(const QString& name, QVariant* value) override;
    ZuHRESULT Write(const QString& name, const QVariant& value) override;
    QVariantMap values;
};

// ---- identity tables
// -----------------------------------------------------------------------------------------

struct ZuTypeLibraryIdentity {
    const char* name; // ZUCOMPONENTSLib
    ZuGUID libid;
    int majorVersion;
    int minorVersion;
    const char* helpString;
    int resourceId;
};

enum class ZuClassKind { Control, PropertyPage };

struct ZuClassIdentity {
    ZuClassKind kind;
    const char* coclass;   // ZuMenuEx, or the page class for a property page
    const char* className; // the C++ class that implements it
    ZuGUID clsid;
    const char* progId;
    ZuGUID dispatchIid; // zero for property pages
    const char* dispatchName;
    ZuGUID eventIid; // zero for property pages
    const char* eventName;
    int typeNameId; // string resource of the type name
    const char* typeName;
    int toolboxBitmap;  // resource of the toolbox bitmap; 0 for property pages
    int dialogResource; // property pages: the page's dialog and caption resource
};

const ZuTypeLibraryIdentity& typeLibraryIdentity();
// The three controls and their three property pages, whether or not this build serves them.
std::span<const ZuClassIdentity> classIdentities();
const ZuClassIdentity* findClass(const ZuGUID& clsid);
const ZuClassIdentity* findClassByProgId(const QString& progId);
// True when the module has a factory for the class (the class has been built).
bool isServed(const ZuGUID& clsid);

// The toolbox bitmap of a control (resource 1, 2 or 3 of the identity table), drawn at size x size pixels; a
// null pixmap for other resources.
QPixmap toolboxBitmap(int resource, int size = 24);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
QString stringFromGuid(const ZuGUID& guid);
// Reads that form (either case); false for anything else.
bool guidFromString(const QString& text, ZuGUID* guid);

// ---- registry
// ------------------------------------------------------------------------------------------------

// The per-user registry file: $XDG_CONFIG_HOME/ZuComponents/registry.reg ($HOME/.config when unset).
QString registryFilePath();
// The registered type libraries, classes and ProgIDs of the registry file, one line each, for listing.
QStringList registrationListing();

// ---- container API
// -------------------------------------------------------------------------------------------

// The class identifier registered for a ProgID: CO_E_CLASSSTRING when none is.
ZuHRESULT clsidFromProgId(const QString& progId, ZuGUID* clsid);
// Creates a registered control or property page, given its ProgID or its class identifier in braces, as the
// platform's containers do: the registry names the module, the module is loaded, its class factory makes the
// object. The widget is placed in parent; with no parent it belongs to the caller.
ZuHRESULT createControl(const QString& progIdOrClsid, QWidget* parent, QWidget** control);
ZuHRESULT createControl(const ZuGUID& clsid, QWidget* parent, QWidget** control);
// Unloads the modules that createControl loaded and whose DllCanUnloadNow answers S_OK.
void freeUnusedLibraries();

// Calls a method of a control's dispatch interface by name with any number of arguments, converting each to
// the parameter's type (an invalid QVariant gives the type's empty value): DISP_E_MEMBERNOTFOUND,
// DISP_E_BADPARAMCOUNT or DISP_E_TYPEMISMATCH when the call cannot be made.
ZuHRESULT invoke(QObject* object, const char* member, const QVariantList& arguments,
                 QVariant* result = nullptr);

} // namespace zu

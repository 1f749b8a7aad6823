// The control module: identity tables, class factories, the live-object and lock counts, the base of every
// control and page, and the server entry points DllGetClassObject and DllCanUnloadNow.
#include "ZuModule.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMetaProperty>
#include <QThread>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cstring>
#include <map>

bool operator==(const ZuGUID& a, const ZuGUID& b) {
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
           std::equal(std::begin(a.Data4), std::end(a.Data4), std::begin(b.Data4));
}

namespace zu {

// clang-format off
const ZuGUID IID_IUnknown                = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const ZuGUID IID_IClassFactory           = {0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const ZuGUID IID_IDispatch               = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const ZuGUID IID_IZuControl              = {0xF60F129A, 0x9BD5, 0x4011, {0xB6, 0x02, 0xF2, 0x23, 0x36, 0x2F, 0x60, 0x2D}};
const ZuGUID IID_IZuPersistPropertyBag   = {0xDCA0D1CC, 0x7B35, 0x41BE, {0xAD, 0x6B, 0xFF, 0xD2, 0xDD, 0xBE, 0x7C, 0x96}};

namespace {

const ZuTypeLibraryIdentity typeLibrary = {
    "ZUCOMPONENTSLib",
    {0xE69F9CF3, 0xDA7B, 0x4E37, {0x80, 0x67, 0x30, 0x0E, 0x74, 0xE2, 0xFD, 0xD6}},
    1, 0, "ZuComponents ActiveX Control module", 1,
};

constexpr ZuGUID none{};

const std::array<ZuClassIdentity, 6> classes = {{
    {ZuClassKind::Control, "ZuMenuEx", "CZuMenuExCtrl",
     {0xBAD57D08, 0x78B3, 0x4301, {0x98, 0x3A, 0x14, 0xA4, 0x82, 0xFE, 0xAB, 0x45}}, "ZUCOMPONENTS.ZuMenuExCtrl.1",
     {0x9961641C, 0x58C6, 0x4246, {0x81, 0xF3, 0xF8, 0x72, 0x6E, 0xCC, 0xD5, 0xD0}}, "_DZuMenuEx",
     {0xC64406AE, 0x6E12, 0x4745, {0xA9, 0xA1, 0x27, 0xA4, 0x4B, 0x7E, 0x92, 0x09}}, "_DZuMenuExEvents",
     1, "ZuMenuEx Control", 1, 0},
    {ZuClassKind::Control, "ZuTreeEnum", "CZuTreeEnumCtrl",
     {0x55D4414B, 0x25E3, 0x4AA5, {0xB7, 0x10, 0x07, 0xE2, 0xAF, 0xDC, 0xDC, 0xBA}}, "ZUCOMPONENTS.ZuTreeEnumCtrl.1",
     {0x8CD5C93B, 0x3961, 0x42EF, {0x89, 0x86, 0x5E, 0x82, 0x5C, 0x1B, 0xF8, 0x5B}}, "_DZuTreeEnum",
     {0x2F39241C, 0x9273, 0x438F, {0x9F, 0xCE, 0x7B, 0x04, 0xE6, 0x74, 0xA1, 0x71}}, "_DZuTreeEnumEvents",
     3, "ZuTreeEnum Control", 2, 0},
    {ZuClassKind::Control, "ZuRichText", "CZuRichTextCtrl",
     {0x0AA1D914, 0x9ABF, 0x4D64, {0x9E, 0x97, 0x63, 0x1A, 0x18, 0x2F, 0x54, 0x81}}, "ZUCOMPONENTS.ZuRichTextCtrl.1",
     {0x382FB121, 0x01BD, 0x4550, {0xA4, 0x0C, 0x6D, 0xC3, 0x46, 0x8D, 0xBF, 0x36}}, "_DZuRichText",
     {0xC9068E90, 0xEBBB, 0x49A8, {0xBC, 0x69, 0x3B, 0x96, 0xF4, 0xE0, 0x51, 0x8A}}, "_DZuRichTextEvents",
     5, "ZuRichText Control", 3, 0},
    {ZuClassKind::PropertyPage, "CZuMenuExPropPage", "CZuMenuExPropPage",
     {0xC8A4C5AB, 0x49AF, 0x4DBF, {0x89, 0x44, 0xDB, 0xF8, 0xAD, 0xB5, 0xF3, 0xBE}}, "ZUCOMPONENTS.ZuMenuExPropPage.1",
     none, "", none, "", 2, "ZuMenuEx Property Page", 0, 200},
    {ZuClassKind::PropertyPage, "CZuTreeEnumPropPage", "CZuTreeEnumPropPage",
     {0x9619E6E3, 0x07C1, 0x4252, {0xA1, 0x44, 0x47, 0x73, 0xF7, 0xE3, 0xC8, 0xD1}}, "ZUCOMPONENTS.ZuTreeEnumPropPage.1",
     none, "", none, "", 4, "ZuTreeEnum Property Page", 0, 201},
    {ZuClassKind::PropertyPage, "CZuRichTextPropPage", "CZuRichTextPropPage",
     {0xEDE96664, 0x59B7, 0x4ECC, {0x99, 0x95, 0x48, 0x99, 0x1D, 0x66, 0xAC, 0x06}}, "ZUCOMPONENTS.ZuRichTextPropPage.1",
     none, "", none, "", 6, "ZuRichText Property Page", 0, 202},
}};
// clang-format on

std::atomic<int> liveObjects{0};
std::atomic<int> serverLocks{0};
std::atomic<int> beeps{0};

struct GuidLess {
    bool operator()(const ZuGUID& a, const ZuGUID& b) const {
        return std::memcmp(&a, &b, sizeof(ZuGUID)) < 0;
    }
};

std::map<ZuGUID, ControlCreator, GuidLess>& creators() {
    static std::map<ZuGUID, ControlCreator, GuidLess> instance;
    return instance;
}

// One factory per served class, alive as long as the module: references do not keep the module loaded, server
// locks do.
class CZuClassFactory final : public IZuClassFactory {
  public:
    explicit CZuClassFactory(const ZuClassIdentity& identity) : identity_(identity) {}

    ZuHRESULT QueryInterface(const ZuGUID& iid, void** object) override {
        if (!object) return ZU_E_POINTER;
        *object = nullptr;
        if (!(iid == IID_IUnknown) && !(iid == IID_IClassFactory)) return ZU_E_NOINTERFACE;
        *object = static_cast<IZuClassFactory*>(this);
        AddRef();
        return ZU_S_OK;
    }
    uint32_t AddRef() override { return ++references_; }
    uint32_t Release() override { return references_ > 0 ? --references_ : 0; }

    ZuHRESULT CreateInstance(IZuUnknown* outer, const ZuGUID& iid, void** object) override {
        if (!object) return ZU_E_POINTER;
        *object = nullptr;
        if (outer) return ZU_CLASS_E_NOAGGREGATION;
        ControlCreator create = creatorOf(identity_.clsid);
        if (!create) return ZU_CLASS_E_CLASSNOTAVAILABLE;
        // Widgets need the application object, and the controls are apartment-threaded: the GUI thread only.
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return ZU_CO_E_NOTINITIALIZED;
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) return ZU_RPC_E_WRONG_THREAD;
        QWidget* widget = create(nullptr);
        auto* control = dynamic_cast<IZuControl*>(widget);
        if (!control) {
            delete widget;
            return ZU_E_UNEXPECTED;
        }
        control->AddRef();
        ZuHRESULT result = control->QueryInterface(iid, object);
        control->Release(); // deletes the widget when the interface was refused
        return result;
    }

    ZuHRESULT LockServer(bool lock) override {
        if (lock) {
            ++serverLocks;
        } else {
            int current = serverLocks.load();
            while (current > 0 && !serverLocks.compare_exchange_weak(current, current - 1)) {
            }
        }
        return ZU_S_OK;
    }

  private:
    const ZuClassIdentity& identity_;
    std::atomic<uint32_t> references_{0};
};

CZuClassFactory* factoryOf(const ZuGUID& clsid) {
    static std::array<CZuClassFactory, classes.size()> factories = {
        CZuClassFactory(classes[0]), CZuClassFactory(classes[1]), CZuClassFactory(classes[2]),
        CZuClassFactory(classes[3]), CZuClassFactory(classes[4]), CZuClassFactory(classes[5])};
    for (size_t i = 0; i < classes.size(); ++i)
        if (classes[i].clsid == clsid) return &factories[i];
    return nullptr;
}

} // namespace

// ---- identity tables
// -----------------------------------------------------------------------------------------

const ZuTypeLibraryIdentity& typeLibraryIdentity() {
    return typeLibrary;
}

std::span<const ZuClassIdentity> classIdentities() {
    return classes;
}

const ZuClassIdentity* findClass(const ZuGUID& clsid) {
    for (const ZuClassIdentity& c : classes)
        if (c.clsid == clsid) return &c;
    return nullptr;
}

const ZuClassIdentity* findClassByProgId(const QString& progId) {
    for (const ZuClassIdentity& c : classes)
        if (progId.compare(QLatin1String(c.progId), Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

bool isServed(const ZuGUID& clsid) {
    return creatorOf(clsid) != nullptr;
}

QString stringFromGuid(const ZuGUID& g) {
    return QString::asprintf("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                             g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5],
                             g.Data4[6], g.Data4[7]);
}

bool guidFromString(const QString& text, ZuGUID* guid) {
    // {8-4-4-4-12}: 38 characters, hex digits everywhere but the braces and the four dashes.
    if (text.size() != 38 || text[0] != u'{' || text[37] != u'}') return false;
    for (int i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? text[i] != u'-' : !isxdigit(text[i].toLatin1())) return false;
    }
    auto hex = [&](int from, int digits) { return text.mid(from, digits).toULongLong(nullptr, 16); };
    ZuGUID g;
    g.Data1 = static_cast<uint32_t>(hex(1, 8));
    g.Data2 = static_cast<uint16_t>(hex(10, 4));
    g.Data3 = static_cast<uint16_t>(hex(15, 4));
    g.Data4[0] = static_cast<uint8_t>(hex(20, 2));
    g.Data4[1] = static_cast<uint8_t>(hex(22, 2));
    for (int i = 0; i < 6; ++i)
        g.Data4[2 + i] = static_cast<uint8_t>(hex(25 + 2 * i, 2));
    if (guid) *guid = g;
    return true;
}

// ---- class registrations and counts
// --------------------------------------------------------------------------

ClassRegistration::ClassRegistration(const ZuGUID& clsid, ControlCreator create) {
    creators()[clsid] = create;
}

ControlCreator creatorOf(const ZuGUID& clsid) {
    auto it = creators().find(clsid);
    return it == creators().end() ? nullptr : it->second;
}

void platformBeep() {
    ++beeps;
    QApplication::beep();
}

int beepCount() {
    return beeps.load();
}

int liveObjectCount() {
    return liveObjects.load();
}

int serverLockCount() {
    return serverLocks.load();
}

// ---- CZuPropertyBag
// ------------------------------------------------------------------------------------------

ZuHRESULT CZuPropertyBag::Read(const QString& name, QVariant* value) {
    if (!value) return ZU_E_POINTER;
    auto it = values.constFind(name);
    if (it == values.constEnd()) return ZU_E_INVALIDARG;
    *value = it.value();
    return ZU_S_OK;
}

ZuHRESULT CZuPropertyBag::Write(const QString& name, const QVariant& value) {
    values.insert(name, value);
    return ZU_S_OK;
}

// ---- CZuControlBase
// ------------------------------------------------------------------------------------------

CZuControlBase::CZuControlBase(const ZuGUID& clsid, QWidget* parent) : QWidget(parent), clsid_(clsid) {
    ++liveObjects;
}

CZuControlBase::~CZuControlBase() {
    --liveObjects;
}

ZuHRESULT CZuControlBase::QueryInterface(const ZuGUID& iid, void** object) {
    if (!object) return ZU_E_POINTER;
    *object = nullptr;
    const ZuClassIdentity* identity = findClass(clsid_);
    if (iid == IID_IUnknown || iid == IID_IZuControl || iid == IID_IDispatch ||
        (identity && identity->kind == ZuClassKind::Control && iid == identity->dispatchIid))
        *object = static_cast<IZuControl*>(this);
    else if (iid == IID_IZuPersistPropertyBag)
        *object = static_cast<IZuPersistPropertyBag*>(this);
    else
        return ZU_E_NOINTERFACE;
    AddRef();
    return ZU_S_OK;
}

uint32_t CZuControlBase::AddRef() {
    return ++references_;
}

uint32_t CZuControlBase::Release() {
    if (references_ == 0) return 0;
    if (--references_ == 0 && !parentWidget()) {
        delete this;
        return 0;
    }
    return references_;
}

void CZuControlBase::applyDefaults() {
    const QVariantMap defaults = propertyDefaults();
    for (const PersistedProperty& p : persistedProperties())
        setProperty(p.property, defaults.value(QLatin1String(p.property)));
}

ZuHRESULT CZuControlBase::InitNew() {
    applyDefaults();
    dirty_ = false;
    return ZU_S_OK;
}

ZuHRESULT CZuControlBase::Load(IZuPropertyBag* bag) {
    if (!bag) return ZU_E_POINTER;
    const QVariantMap defaults = propertyDefaults();
    const QMetaObject* meta = metaObject();
    for (const PersistedProperty& p : persistedProperties()) {
        QMetaProperty property = meta->property(meta->indexOfProperty(p.property));
        QVariant value;
        if (bag->Read(QLatin1String(p.persistedName), &value) != ZU_S_OK ||
            !value.convert(property.metaType()))
            value = defaults.value(QLatin1String(p.property));
        setProperty(p.property, value);
    }
    dirty_ = false;
    return ZU_S_OK;
}

ZuHRESULT CZuControlBase::Save(IZuPropertyBag* bag, bool clearDirty, bool) {
    if (!bag) return ZU_E_POINTER;
    for (const PersistedProperty& p : persistedProperties()) {
        ZuHRESULT result = bag->Write(QLatin1String(p.persistedName), property(p.property));
        if (result < 0) return result;
    }
    if (clearDirty) dirty_ = false;
    return ZU_S_OK;
}

CZuPropertyPage::CZuPropertyPage(const ZuGUID& clsid, QWidget* parent) : CZuControlBase(clsid, parent) {
    const ZuClassIdentity* identity = findClass(clsid);
    setWindowTitle(QStringLiteral("General"));
    setObjectName(identity ? QLatin1String(identity->className) : QString());
}

} // namespace zu

// ---- server entry points
// -------------------------------------------------------------------------------------

extern "C" ZuHRESULT DllGetClassObject(const ZuGUID* clsid, const ZuGUID* iid, void** object) {
    if (!object) return ZU_E_POINTER;
    *object = nullptr;
    if (!clsid || !iid) return ZU_E_INVALIDARG;
    if (!zu::creatorOf(*clsid)) return ZU_CLASS_E_CLASSNOTAVAILABLE;
    zu::CZuClassFactory* factory = zu::factoryOf(*clsid);
    if (!factory) return ZU_CLASS_E_CLASSNOTAVAILABLE;
    return factory->QueryInterface(*iid, object);
}

extern "C" ZuHRESULT DllCanUnloadNow(void) {
    return zu::liveObjectCount() == 0 && zu::serverLockCount() == 0 ? ZU_S_OK : ZU_S_FALSE;
}

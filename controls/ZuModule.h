// The module's object layer, inside the library: the factories' class registrations, the count of live
// objects and server locks behind DllCanUnloadNow, and the base class of every control and property page
// (reference counting, the interfaces a container asks for, property-bag persistence by a table of persisted
// names).
#pragma once

#include "ZuControls.h"

#include <QVariantMap>
#include <QWidget>

#include <span>

namespace zu {

// Makes a new control or page widget; the widget implements IZuControl.
using ControlCreator = QWidget* (*)(QWidget* parent);

// A class is served once its source file holds one of these at namespace scope:
//     static const zu::ClassRegistration registration(clsidOfTheClass, [](QWidget* p) -> QWidget* { ... });
struct ClassRegistration {
    ClassRegistration(const ZuGUID& clsid, ControlCreator create);
};
ControlCreator creatorOf(const ZuGUID& clsid);

// Objects of the module alive now, and the factories' server locks.
int liveObjectCount();
int serverLockCount();

// The platform's default beep; the count of beeps made lets a test hear them.
void platformBeep();
int beepCount();

// A persisted property: the Qt property and the name it has in a property bag.
struct PersistedProperty {
    const char* property;
    const char* persistedName;
};

class CZuControlBase : public QWidget, public IZuControl, public IZuPersistPropertyBag {
    Q_OBJECT
  public:
    CZuControlBase(const ZuGUID& clsid, QWidget* parent);
    ~CZuControlBase() override;

    ZuHRESULT QueryInterface(const ZuGUID& iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    QWidget* Widget() override { return this; }
    ZuGUID ClassId() const override { return clsid_; }

    ZuHRESULT InitNew() override;
    ZuHRESULT Load(IZuPropertyBag* bag) override;
    ZuHRESULT Save(IZuPropertyBag* bag, bool clearDirty, bool saveAllProperties) override;
    ZuHRESULT IsDirty() override { return dirty_ ? ZU_S_OK : ZU_S_FALSE; }

  protected:
    virtual std::span<const PersistedProperty> persistedProperties() const { return {}; }
    // Default of each persisted property, by Qt property name.
    virtual QVariantMap propertyDefaults() const { return {}; }
    void setModifiedFlag() { dirty_ = true; }

  private:
    void applyDefaults();

    ZuGUID clsid_;
    uint32_t references_ = 0;
    bool dirty_ = false;
};

// One empty "General" page: every property page of the module is one of these under its own class identifier.
class CZuPropertyPage : public CZuControlBase {
    Q_OBJECT
  public:
    CZuPropertyPage(const ZuGUID& clsid, QWidget* parent);
};

} // namespace zu

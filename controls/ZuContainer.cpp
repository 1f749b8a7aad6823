// The container API: creating a registered control through the registry and its module's class factory, and
// late-bound calls through the control's meta-object.
#include "ZuModule.h"
#include "ZuRegistry.h"

#include <QByteArray>
#include <QMetaMethod>
#include <QMetaType>

#include <dlfcn.h>

#include <map>
#include <vector>

namespace zu {

namespace {

using GetClassObject = ZuHRESULT (*)(const ZuGUID*, const ZuGUID*, void**);
using CanUnloadNow = ZuHRESULT (*)();

struct LoadedModule {
    void* handle = nullptr;
    GetClassObject getClassObject = nullptr;
    CanUnloadNow canUnloadNow = nullptr;
};

std::map<QString, LoadedModule>& loadedModules() {
    static std::map<QString, LoadedModule> modules;
    return modules;
}

ZuHRESULT loadModule(const QString& path, LoadedModule** module) {
    auto& modules = loadedModules();
    auto it = modules.find(path);
    if (it == modules.end()) {
        void* handle = dlopen(path.toLocal8Bit().constData(), RTLD_NOW);
        if (!handle) return ZU_CO_E_DLLNOTFOUND;
        LoadedModule loaded{handle, reinterpret_cast<GetClassObject>(dlsym(handle, "DllGetClassObject")),
                            reinterpret_cast<CanUnloadNow>(dlsym(handle, "DllCanUnloadNow"))};
        if (!loaded.getClassObject) {
            dlclose(handle);
            return ZU_CO_E_DLLNOTFOUND;
        }
        it = modules.emplace(path, loaded).first;
    }
    *module = &it->second;
    return ZU_S_OK;
}

} // namespace

ZuHRESULT clsidFromProgId(const QString& progId, ZuGUID* clsid) {
    if (!clsid) return ZU_E_POINTER;
    CZuRegistry registry;
    if (progId.isEmpty() || !registry.load(registryFilePath())) return ZU_CO_E_CLASSSTRING;
    if (!guidFromString(registry.value(progId + QStringLiteral("\\CLSID")), clsid))
        return ZU_CO_E_CLASSSTRING;
    return ZU_S_OK;
}

ZuHRESULT createControl(const QString& progIdOrClsid, QWidget* parent, QWidget** control) {
    if (!control) return ZU_E_POINTER;
    *control = nullptr;
    ZuGUID clsid{};
    if (!guidFromString(progIdOrClsid, &clsid)) {
        ZuHRESULT result = clsidFromProgId(progIdOrClsid, &clsid);
        if (result < 0) return result;
    }
    return createControl(clsid, parent, control);
}

ZuHRESULT createControl(const ZuGUID& clsid, QWidget* parent, QWidget** control) {
    if (!control) return ZU_E_POINTER;
    *control = nullptr;
    CZuRegistry registry;
    if (!registry.load(registryFilePath())) return ZU_REGDB_E_CLASSNOTREG;
    const QString path = registry.value(QStringLiteral("CLSID\\") + stringFromGuid(clsid) +
                                        QStringLiteral("\\InprocServer32"));
    if (path.isEmpty()) return ZU_REGDB_E_CLASSNOTREG;
    LoadedModule* module = nullptr;
    ZuHRESULT result = loadModule(path, &module);
    if (result < 0) return result;

    IZuClassFactory* factory = nullptr;
    result = module->getClassObject(&clsid, &IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (result < 0) return result;
    IZuControl* object = nullptr;
    result = factory->CreateInstance(nullptr, IID_IZuControl, reinterpret_cast<void**>(&object));
    factory->Release();
    if (result < 0) return result;
    QWidget* widget = object->Widget();
    if (parent) {
        widget->setParent(parent);
        object->Release(); // the parent owns the widget now
    }
    // Without a parent the one reference stays with the widget, which the caller deletes.
    *control = widget;
    return ZU_S_OK;
}

void freeUnusedLibraries() {
    auto& modules = loadedModules();
    for (auto it = modules.begin(); it != modules.end();) {
        if (it->second.canUnloadNow && it->second.canUnloadNow() == ZU_S_OK) {
            dlclose(it->second.handle);
            it = modules.erase(it);
        } else {
            ++it;
        }
    }
}

ZuHRESULT invoke(QObject* object, const char* member, const QVariantList& arguments, QVariant* result) {
    if (!object || !member) return ZU_E_POINTER;
    const QMetaObject* meta = object->metaObject();
    bool named = false;
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() != QMetaMethod::Method && method.methodType() != QMetaMethod::Slot) continue;
        if (method.name() != member) continue;
        named = true;
        if (method.parameterCount() != arguments.size()) continue;

        // Each argument converted to its parameter's type; the array of pointers is what the meta-call takes,
        // whatever the number of arguments.
        std::vector<QVariant> values;
        values.reserve(arguments.size());
        for (int p = 0; p < method.parameterCount(); ++p) {
            const QMetaType type = method.parameterMetaType(p);
            QVariant value = arguments[p];
            if (!value.isValid())
                value = QVariant(type);
            else if (value.metaType() != type && !value.convert(type))
                return ZU_DISP_E_TYPEMISMATCH;
            values.push_back(value);
        }
        const QMetaType returnType = method.returnMetaType();
        const bool hasReturn = returnType.isValid() && returnType.id() != QMetaType::Void;
        QVariant returned = hasReturn ? QVariant(returnType) : QVariant();
        std::vector<void*> argv(values.size() + 1, nullptr);
        argv[0] = hasReturn ? returned.data() : nullptr;
        for (size_t p = 0; p < values.size(); ++p)
            argv[p + 1] = values[p].data();
        QMetaObject::metacall(object, QMetaObject::InvokeMetaMethod, method.methodIndex(), argv.data());
        if (result) *result = returned;
        return ZU_S_OK;
    }
    return named ? ZU_DISP_E_BADPARAMCOUNT : ZU_DISP_E_MEMBERNOTFOUND;
}

} // namespace zu

// The registry file and self-registration: DllRegisterServer and DllUnregisterServer.
#include "ZuRegistry.h"
#include "ZuModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QTextStream>

#include <dlfcn.h>

namespace zu {

namespace {

const QString header = QStringLiteral("ZuComponents registry 1");

QString quoted(const QString& text) {
    QString out = text;
    out.replace(u'\\', QStringLiteral("\\\\"));
    out.replace(u'"', QStringLiteral("\\\""));
    out.replace(u'\n', QStringLiteral("\\n"));
    return u'"' + out + u'"';
}

// Reads a quoted string starting at `from` (the opening quote); returns the index after the closing quote, or
// -1 when the text is not a well-formed quoted string.
int unquote(const QString& line, int from, QString* text) {
    if (from >= line.size() || line[from] != u'"') return -1;
    QString out;
    for (int i = from + 1; i < line.size(); ++i) {
        QChar c = line[i];
        if (c == u'"') {
            *text = out;
            return i + 1;
        }
        if (c == u'\\') {
            if (++i >= line.size()) return -1;
            out += line[i] == u'n' ? QChar(u'\n') : line[i];
        } else {
            out += c;
        }
    }
    return -1;
}

} // namespace

bool CZuRegistry::load(const QString& path) {
    keys_.clear();
    QFile file(path);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    QString current;
    bool haveKey = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line == header || line.startsWith(u';')) continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            current = line.mid(1, line.size() - 2);
            createKey(current);
            haveKey = true;
            continue;
        }
        if (!haveKey) continue; // values before any key belong to nothing
        QString name;
        int at = 0;
        if (line.startsWith(u'@')) {
            at = 1;
        } else {
            at = unquote(line, 0, &name);
            if (at < 0) continue;
        }
        if (at >= line.size() || line[at] != u'=') continue;
        QString value;
        if (unquote(line, at + 1, &value) < 0) continue; // a damaged line is skipped, not half-read
        setValue(current, name, value);
    }
    return true;
}

bool CZuRegistry::save(const QString& path) const {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    out << header << "\n";
    for (const auto& [folded, key] : keys_) {
        out << "\n[" << key.spelling << "]\n";
        for (const auto& [name, value] : key.values)
            out << (name.isEmpty() ? QStringLiteral("@") : quoted(name)) << '=' << quoted(value) << '\n';
    }
    out.flush();
    return file.commit();
}

void CZuRegistry::createKey(const QString& key) {
    // Every key on the path exists, as in the platform's registry.
    const QStringList parts = key.split(u'\\', Qt::SkipEmptyParts);
    QString path;
    for (const QString& part : parts) {
        path = path.isEmpty() ? part : path + u'\\' + part;
        Key& k = keys_[fold(path)];
        if (k.spelling.isEmpty()) k.spelling = path;
    }
}

void CZuRegistry::setValue(const QString& key, const QString& name, const QString& value) {
    createKey(key);
    keys_[fold(key)].values[name] = value;
}

QString CZuRegistry::value(const QString& key, const QString& name) const {
    auto it = keys_.find(fold(key));
    if (it == keys_.end()) return QString();
    auto v = it->second.values.find(name);
    return v == it->second.values.end() ? QString() : v->second;
}

bool CZuRegistry::hasKey(const QString& key) const {
    return keys_.count(fold(key)) != 0;
}

void CZuRegistry::removeTree(const QString& key) {
    const QString folded = fold(key);
    const QString below = folded + u'\\';
    for (auto it = keys_.begin(); it != keys_.end();)
        it = (it->first == folded || it->first.startsWith(below)) ? keys_.erase(it) : std::next(it);
}

void CZuRegistry::removeIfEmpty(const QString& key) {
    auto it = keys_.find(fold(key));
    if (it == keys_.end() || !it->second.values.empty() || !subKeys(key).isEmpty()) return;
    keys_.erase(it);
}

QStringList CZuRegistry::subKeys(const QString& key) const {
    const QString prefix = key.isEmpty() ? QString() : fold(key) + u'\\';
    QStringList out;
    for (const auto& [folded, k] : keys_) {
        if (!folded.startsWith(prefix)) continue;
        const QString rest = folded.mid(prefix.size());
        if (!rest.isEmpty() && !rest.contains(u'\\')) out << k.spelling.mid(prefix.size());
    }
    return out;
}

// ---- self-registration
// ---------------------------------------------------------------------------------------

QString registryFilePath() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The base-directory rules ignore a relative path.
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/ZuComponents/registry.reg");
}

namespace {

const QString dispatchProxy = QStringLiteral("{00020420-0000-0000-C000-000000000046}");
constexpr int miscStatus = 0x20191; // recompose on resize, cannot link inside, inside-out, activate when
                                    // visible, set client site first

QString modulePath() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&DllRegisterServer), &info) || !info.dli_fname) return QString();
    QString path = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalFilePath();
    return path;
}

QString versionText() {
    const ZuTypeLibraryIdentity& lib = typeLibraryIdentity();
    return QStringLiteral("%1.%2").arg(lib.majorVersion).arg(lib.minorVersion);
}

QString typeLibraryKey() {
    return QStringLiteral("TypeLib\\") + stringFromGuid(typeLibraryIdentity().libid) + u'\\' + versionText();
}

// The registry file is read, changed and written under a lock, so that two registering programs do not lose
// each other's entries.
template <typename Change> bool changeRegistry(Change change) {
    const QString path = registryFilePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(5000)) return false;
    CZuRegistry registry;
    if (!registry.load(path)) return false;
    change(registry);
    return registry.save(path);
}

void writeTypeLibrary(CZuRegistry& r, const QString& module) {
    const ZuTypeLibraryIdentity& lib = typeLibraryIdentity();
    const QString key = typeLibraryKey();
    const QString libid = stringFromGuid(lib.libid);
    r.setValue(key, QString(), QLatin1String(lib.helpString));
    r.setValue(key + QStringLiteral("\\0\\linux"), QString(), module);
    r.setValue(key + QStringLiteral("\\FLAGS"), QString(), QStringLiteral("0"));
    r.setValue(key + QStringLiteral("\\HELPDIR"), QString(), QFileInfo(module).absolutePath());
    // The dispatch and event interfaces the type library describes, of the classes the module serves.
    for (const ZuClassIdentity& c : classIdentities()) {
        if (c.kind != ZuClassKind::Control || !isServed(c.clsid)) continue;
        const std::pair<ZuGUID, const char*> interfaces[] = {{c.dispatchIid, c.dispatchName},
                                                             {c.eventIid, c.eventName}};
        for (const auto& [iid, name] : interfaces) {
            const QString k = QStringLiteral("Interface\\") + stringFromGuid(iid);
            r.setValue(k, QString(), QLatin1String(name));
            r.setValue(k + QStringLiteral("\\ProxyStubClsid32"), QString(), dispatchProxy);
            r.setValue(k + QStringLiteral("\\TypeLib"), QString(), libid);
            r.setValue(k + QStringLiteral("\\TypeLib"), QStringLiteral("Version"), versionText());
        }
    }
}

void writeClasses(CZuRegistry& r, const QString& module) {
    const QString libid = stringFromGuid(typeLibraryIdentity().libid);
    for (const ZuClassIdentity& c : classIdentities()) {
        if (!isServed(c.clsid)) continue;
        const QString clsid = stringFromGuid(c.clsid);
        const QString key = QStringLiteral("CLSID\\") + clsid;
        const QString progId = QLatin1String(c.progId);
        r.setValue(key, QString(), QLatin1String(c.typeName));
        r.setValue(key + QStringLiteral("\\InprocServer32"), QString(), module);
        r.setValue(key + QStringLiteral("\\InprocServer32"), QStringLiteral("ThreadingModel"),
                   QStringLiteral("Apartment"));
        r.setValue(key + QStringLiteral("\\ProgID"), QString(), progId);
        r.setValue(progId, QString(), QLatin1String(c.typeName));
        r.setValue(progId + QStringLiteral("\\CLSID"), QString(), clsid);
        if (c.kind != ZuClassKind::Control) continue;
        r.createKey(key + QStringLiteral("\\Control"));
        r.setValue(key + QStringLiteral("\\MiscStatus"), QString(), QStringLiteral("0"));
        r.setValue(key + QStringLiteral("\\MiscStatus\\1"), QString(), QString::number(miscStatus));
        r.setValue(key + QStringLiteral("\\ToolboxBitmap32"), QString(),
                   module + QStringLiteral(", ") + QString::number(c.toolboxBitmap));
        r.setValue(key + QStringLiteral("\\TypeLib"), QString(), libid);
        r.setValue(key + QStringLiteral("\\Version"), QString(), versionText());
    }
}

void removeAll(CZuRegistry& r) {
    const QString libidKey = QStringLiteral("TypeLib\\") + stringFromGuid(typeLibraryIdentity().libid);
    r.removeTree(typeLibraryKey());
    r.removeIfEmpty(libidKey);
    for (const ZuClassIdentity& c : classIdentities()) {
        r.removeTree(QStringLiteral("CLSID\\") + stringFromGuid(c.clsid));
        r.removeTree(QLatin1String(c.progId));
        if (c.kind != ZuClassKind::Control) continue;
        r.removeTree(QStringLiteral("Interface\\") + stringFromGuid(c.dispatchIid));
        r.removeTree(QStringLiteral("Interface\\") + stringFromGuid(c.eventIid));
    }
    for (const QString& parent :
         {QStringLiteral("TypeLib"), QStringLiteral("CLSID"), QStringLiteral("Interface")})
        r.removeIfEmpty(parent);
}

} // namespace

QStringList registrationListing() {
    CZuRegistry r;
    QStringList out;
    if (!r.load(registryFilePath())) return out;
    for (const QString& libid : r.subKeys(QStringLiteral("TypeLib")))
        for (const QString& version : r.subKeys(QStringLiteral("TypeLib\\") + libid)) {
            const QString key = QStringLiteral("TypeLib\\") + libid + u'\\' + version;
            out << QStringLiteral("typelib %1 %2 \"%3\" %4")
                       .arg(libid, version, r.value(key), r.value(key + QStringLiteral("\\0\\linux")));
        }
    for (const QString& clsid : r.subKeys(QStringLiteral("CLSID"))) {
        const QString key = QStringLiteral("CLSID\\") + clsid;
        const QString server = key + QStringLiteral("\\InprocServer32");
        QString line = QStringLiteral("class %1 %2 \"%3\" %4 %5")
                           .arg(clsid, r.value(key + QStringLiteral("\\ProgID")), r.value(key),
                                r.value(server, QStringLiteral("ThreadingModel")), r.value(server));
        if (r.hasKey(key + QStringLiteral("\\Control")))
            line += QStringLiteral(" control misc=0x") +
                    QString::number(r.value(key + QStringLiteral("\\MiscStatus\\1")).toInt(), 16);
        out << line;
    }
    for (const QString& name : r.subKeys(QString()))
        if (r.hasKey(name + QStringLiteral("\\CLSID")))
            out << QStringLiteral("progid %1 %2").arg(name, r.value(name + QStringLiteral("\\CLSID")));
    return out;
}

} // namespace zu

// The type library first, then the classes: a failure names the step that failed.
extern "C" ZuHRESULT DllRegisterServer(void) {
    const QString module = zu::modulePath();
    if (module.isEmpty()) return ZU_SELFREG_E_TYPELIB;
    if (!zu::changeRegistry([&](zu::CZuRegistry& r) { zu::writeTypeLibrary(r, module); }))
        return ZU_SELFREG_E_TYPELIB;
    if (!zu::changeRegistry([&](zu::CZuRegistry& r) { zu::writeClasses(r, module); }))
        return ZU_SELFREG_E_CLASS;
    return ZU_S_OK;
}

extern "C" ZuHRESULT DllUnregisterServer(void) {
    if (!QFileInfo::exists(zu::registryFilePath())) return ZU_S_OK;
    return zu::changeRegistry(zu::removeAll) ? ZU_S_OK : ZU_SELFREG_E_TYPELIB;
}

// The per-user registry file: keys under the user's classes root, each with named string values ("" is the
// key's default value), kept as text in the platform's registry-export shape:
//     [CLSID\{...}\InprocServer32]
//     @="/usr/lib/libZuComponents.so"
//     "ThreadingModel"="Apartment"
// Key names compare without regard to case, as the platform's do.
#pragma once

#include <QString>
#include <QStringList>

#include <map>

namespace zu {

class CZuRegistry {
  public:
    // Reads the file; a missing file is an empty registry. False when the file exists and cannot be read.
    bool load(const QString& path);
    // Writes the whole registry at once (a partly written file never replaces the old one).
    bool save(const QString& path) const;

    void setValue(const QString& key, const QString& name, const QString& value);
    void createKey(const QString& key);
    QString value(const QString& key, const QString& name = QString()) const;
    bool hasKey(const QString& key) const;
    // Removes the key and every key below it.
    void removeTree(const QString& key);
    // Removes the key when it holds no values and no key lies below it.
    void removeIfEmpty(const QString& key);
    // The keys directly below a key ("" for the root), in their stored spelling.
    QStringList subKeys(const QString& key) const;
    bool empty() const { return keys_.empty(); }

  private:
    struct Key {
        QString spelling;
        std::map<QString, QString> values;
    };
    static QString fold(const QString& key) { return key.toLower(); }
    std::map<QString, Key> keys_; // by folded name
};

} // namespace zu

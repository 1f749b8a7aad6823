#include "RecentTasks.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString key = QStringLiteral("recentTasks");

void store(const QStringList& files) {
    QSettings settings;
    settings.setValue(key, files);
}
} // namespace

QStringList RecentTasks::files() const {
    const QStringList stored = QSettings().value(key).toStringList();
    QStringList existing;
    for (const QString& file : stored)
        if (QFileInfo(file).isFile() && !existing.contains(file)) existing << file;
    if (existing.size() > maximum) existing = existing.mid(0, maximum);
    if (existing != stored) store(existing);
    return existing;
}

void RecentTasks::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = files();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list.mid(0, maximum));
}

void RecentTasks::remove(const QString& path) {
    QStringList list = files();
    list.removeAll(QFileInfo(path).absoluteFilePath());
    store(list);
}

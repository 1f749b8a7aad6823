#pragma once
// The tasks opened or saved last, newest first, kept in the user's settings between sessions.
// Files that have gone are dropped whenever the list is read.
#include <QString>
#include <QStringList>

class RecentTasks {
  public:
    static constexpr int maximum = 8;

    // The files, newest first, without those that no longer exist.
    QStringList files() const;
    // Puts the file at the top (once), dropping the oldest beyond the maximum.
    void add(const QString& path);
    void remove(const QString& path);
};

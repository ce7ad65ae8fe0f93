// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

class QSocketNotifier;
class QFileSystemWatcher;

/// Watches one folder for files that others add, change, rename or remove, and reports
/// their names in batches: a burst of changes (an import of thousands of files, a sync)
/// becomes one report once the folder has been quiet for a moment, or at the latest
/// after a longer while as long as the burst goes on.
///
/// On Linux the kernel's inotify names each changed file. When it cannot (no inotify,
/// its queue overflowed, the folder itself was moved or replaced), folderReset()
/// says that anything may have changed.
class FolderWatcher : public QObject {
    Q_OBJECT
public:
    explicit FolderWatcher(QObject* parent = nullptr);
    ~FolderWatcher() override;

    /// Watches folder from now on, instead of the folder watched before; an empty path
    /// stops watching. False when the folder cannot be watched.
    bool watch(const QString& folder);
    QString folder() const { return m_folder; }

    /// How long the folder must be quiet before a report, and the longest a report waits
    /// while changes go on.
    void setDelays(int quietMs, int longestMs);

    /// Reports what is pending at once (a test, or a window about to use the files).
    void flush();

signals:
    /// Names (no paths) of files of the folder that changed since the last report.
    void filesChanged(const QStringList& names);
    /// The folder as a whole may have changed: read it again.
    void folderReset();

private:
    void readEvents();
    void noteChange(const QString& name);
    void noteReset();
    void stop();

    QString m_folder;
    int m_inotify = -1;
    int m_watch = -1;
    QSocketNotifier* m_notifier = nullptr;
    QFileSystemWatcher* m_fallback = nullptr;
    QSet<QString> m_pending;
    bool m_resetPending = false;
    QTimer m_quiet;
    QTimer m_longest;
};

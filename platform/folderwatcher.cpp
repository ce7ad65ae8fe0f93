// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/folderwatcher.h"

#include <QFile>
#include <QFileSystemWatcher>
#include <QSocketNotifier>

#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

// What makes a file's bytes or presence change: a write finished, a file moved in or
// out (the way safe writes replace a file), created or deleted. A file opened for
// writing is reported when it is closed, not at every write.
constexpr quint32 kFileEvents =
    IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_ATTRIB;
// The folder itself went away or was replaced.
constexpr quint32 kFolderEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT;

} // namespace

FolderWatcher::FolderWatcher(QObject* parent) : QObject(parent)
{
    m_quiet.setSingleShot(true);
    m_longest.setSingleShot(true);
    setDelays(150, 1500);
    connect(&m_quiet, &QTimer::timeout, this, &FolderWatcher::flush);
    connect(&m_longest, &QTimer::timeout, this, &FolderWatcher::flush);
}

FolderWatcher::~FolderWatcher()
{
    stop();
}

void FolderWatcher::setDelays(int quietMs, int longestMs)
{
    m_quiet.setInterval(quietMs);
    m_longest.setInterval(longestMs);
}

void FolderWatcher::stop()
{
    delete m_notifier;
    m_notifier = nullptr;
    delete m_fallback;
    m_fallback = nullptr;
    if (m_inotify >= 0)
        ::close(m_inotify);
    m_inotify = -1;
    m_watch = -1;
    m_pending.clear();
    m_resetPending = false;
    m_quiet.stop();
    m_longest.stop();
}

bool FolderWatcher::watch(const QString& folder)
{
    stop();
    m_folder = folder;
    if (folder.isEmpty())
        return true;
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify >= 0) {
        m_watch = ::inotify_add_watch(m_inotify, QFile::encodeName(folder).constData(),
                                      kFileEvents | kFolderEvents | IN_ONLYDIR);
        if (m_watch >= 0) {
            m_notifier = new QSocketNotifier(m_inotify, QSocketNotifier::Read, this);
            connect(m_notifier, &QSocketNotifier::activated, this, &FolderWatcher::readEvents);
            return true;
        }
        ::close(m_inotify);
        m_inotify = -1;
    }
    // Without inotify the folder is only known to have changed somewhere.
    m_fallback = new QFileSystemWatcher(this);
    if (!m_fallback->addPath(folder)) {
        stop();
        return false;
    }
    connect(m_fallback, &QFileSystemWatcher::directoryChanged, this, &FolderWatcher::noteReset);
    return true;
}

void FolderWatcher::readEvents()
{
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(m_inotify, buffer, sizeof buffer);
        if (got <= 0) {
            if (got < 0 && errno == EINTR)
                continue;
            return; // EAGAIN: all read
        }
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & (IN_Q_OVERFLOW | kFolderEvents))
                noteReset();
            else if (event->len > 0)
                noteChange(QFile::decodeName(event->name));
        }
        if (m_inotify < 0)
            return;
    }
}

void FolderWatcher::noteChange(const QString& name)
{
    m_pending.insert(name);
    m_quiet.start();
    if (!m_longest.isActive())
        m_longest.start();
}

void FolderWatcher::noteReset()
{
    m_resetPending = true;
    m_quiet.start();
    if (!m_longest.isActive())
        m_longest.start();
}

void FolderWatcher::flush()
{
    m_quiet.stop();
    m_longest.stop();
    if (m_resetPending) {
        m_resetPending = false;
        m_pending.clear();
        emit folderReset();
        return;
    }
    if (m_pending.isEmpty())
        return;
    QStringList names(m_pending.cbegin(), m_pending.cend());
    m_pending.clear();
    names.sort(); // the same batch reports the same order
    emit filesChanged(names);
}

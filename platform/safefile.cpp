// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/safefile.h"

#include "platform/atomicfilestream.h"

#include "platform/filelookup.h"
#include "platform/folderlisting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio> // renameat2
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Our temporary files: the target's name, ".dilbotmp-", the writing run's tag, "-" and
// six letters or digits. No copy a user makes looks like that.
constexpr char kTempInfix[] = ".dilbotmp-";

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

void setError(QString* error, const char* verb, const QString& path, const QString& why)
{
    if (error)
        *error = QStringLiteral("%1 \"%2\": %3").arg(QLatin1String(verb), shownPath(path), why);
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

/// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    /// Gives the descriptor up without closing it.
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    /// Closes now and reports whether that worked (a late write error shows here).
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

QByteArray randomTag()
{
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray tag(6, '0');
    for (char& c : tag)
        c = kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))];
    return tag;
}

// The file a write goes to: the target of a symbolic link rather than the link, so a
// linked recipe stays linked.
QByteArray resolvedTarget(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty())
            return QFile::encodeName(target);
    }
    return QFile::encodeName(path);
}

void syncFolderOf(const QByteArray& file)
{
    const qsizetype slash = file.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : file.left(qMax<qsizetype>(slash, 1));
    const Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

// Opens a regular file (name, relative to folder, a descriptor or AT_FDCWD) for reading,
// without waiting on a FIFO (O_NONBLOCK) and without taking a terminal; anything but a
// regular file is refused. -1 with error (naming shownPath) on failure.
int openRegularFile(int folder, const QByteArray& name, const QString& shownPath, struct stat* info,
                    QString* error)
{
    Descriptor file(
        ::openat(folder, name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        setError(error, "Cannot open", shownPath, systemError(errno));
        return -1;
    }
    if (::fstat(file.get(), info) != 0) {
        setError(error, "Cannot read", shownPath, systemError(errno));
        return -1;
    }
    if (!S_ISREG(info->st_mode)) {
        setError(error, "Cannot read", shownPath, QStringLiteral("it is not a regular file"));
        return -1;
    }
    return file.release();
}

int openRegularFile(const QString& path, struct stat* info, QString* error)
{
    return openRegularFile(AT_FDCWD, QFile::encodeName(path), path, info, error);
}

} // namespace

namespace {

/// How the written temporary file takes the target's place.
enum class Placing {
    Replace, ///< rename over whatever is there
    Claim,   ///< only when the name is free; an existing file is never replaced
};

/// Renames from to to without replacing an existing to: false with errno EEXIST when
/// to exists. Where the file system cannot rename that way, a hard link claims the
/// name (link never replaces either) and the temporary name goes.
bool renameWithoutReplacing(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (::link(from.constData(), to.constData()) != 0)
        return false;
    ::unlink(from.constData());
    return true;
}

WriteResult writeThroughTemporary(const QString& path, const QByteArray& bytes, QString* error,
                                  Durability durability, Placing placing)
{
    const bool synced = durability == Durability::Synced;
    const QByteArray target = resolvedTarget(path);
    struct stat old {};
    const bool replacing = placing == Placing::Replace && ::stat(target.constData(), &old) == 0;

    const QByteArray prefix = target + kTempInfix + runTag().toLatin1() + '-';
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = prefix + randomTag();
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        setError(error, "Cannot write", path, systemError(errno));
        return WriteResult::Failed;
    }
    Descriptor file(fd);
    auto fail = [&](int code) {
        ::unlink(temp.constData());
        setError(error, "Cannot write", path, systemError(code));
        return WriteResult::Failed;
    };
    // A replaced file keeps its permissions.
    if (replacing && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
    if (!writeAll(fd, bytes.constData(), bytes.size()) || (synced && ::fsync(fd) != 0))
        return fail(errno);
    if (!file.close())
        return fail(errno);
    if (placing == Placing::Claim) {
        if (!renameWithoutReplacing(temp, target)) {
            const int code = errno;
            if (code != EEXIST)
                return fail(code);
            ::unlink(temp.constData());
            setError(error, "Cannot write", path, systemError(code));
            return WriteResult::NameTaken;
        }
    } else if (::rename(temp.constData(), target.constData()) != 0) {
        return fail(errno);
    }
    // The rename itself lives in the folder: sync it, or a power cut may undo the save.
    if (synced)
        syncFolderOf(target);
    forgetFolderListingOf(QFile::decodeName(target));
    return WriteResult::Written;
}

} // namespace

AtomicFileStream::AtomicFileStream(const QString& path) : m_path(path) {}

AtomicFileStream::~AtomicFileStream()
{
    discard();
}

bool AtomicFileStream::open(QString* error)
{
    discard();
    const QByteArray prefix = resolvedTarget(m_path) + kTempInfix + runTag().toLatin1() + '-';
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        m_temp = prefix + randomTag();
        fd = ::open(m_temp.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        setError(error, "Cannot write", m_path, systemError(errno));
        m_temp.clear();
        return false;
    }
    m_file = std::make_unique<QFile>();
    m_file->open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle);
    return true;
}

bool AtomicFileStream::commit(QString* error)
{
    if (!m_file) {
        setError(error, "Cannot write", m_path, QStringLiteral("the file was not started"));
        return false;
    }
    const QByteArray target = resolvedTarget(m_path);
    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode);
    const int fd = m_file->handle();
    // A replaced file keeps its permissions.
    if (replacing)
        ::fchmod(fd, old.st_mode & 07777);
    int code = 0;
    if (!m_file->flush() || ::fsync(fd) != 0)
        code = errno ? errno : EIO;
    m_file->close();
    if (code == 0 && m_file->error() != QFileDevice::NoError)
        code = EIO;
    if (code == 0 && ::rename(m_temp.constData(), target.constData()) != 0)
        code = errno;
    if (code != 0) {
        setError(error, "Cannot write", m_path, systemError(code));
        discard();
        return false;
    }
    m_file.reset();
    m_temp.clear();
    syncFolderOf(target);
    forgetFolderListingOf(QFile::decodeName(target));
    return true;
}

void AtomicFileStream::discard()
{
    m_file.reset();
    if (!m_temp.isEmpty())
        ::unlink(m_temp.constData());
    m_temp.clear();
}

QString runTag()
{
    // Drawn once per process; eight hexadecimal digits.
    static const QString tag =
        QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    return tag;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error,
                         Durability durability)
{
    return writeThroughTemporary(path, bytes, error, durability, Placing::Replace) ==
           WriteResult::Written;
}

WriteResult writeNewFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    return writeThroughTemporary(path, bytes, error, Durability::Synced, Placing::Claim);
}

bool removeFile(const QString& path, QString* error)
{
    const QByteArray name = QFile::encodeName(path);
    if (::unlink(name.constData()) != 0 && errno != ENOENT) {
        setError(error, "Cannot delete", path, systemError(errno));
        return false;
    }
    forgetFolderListingOf(path);
    return true;
}

namespace {

// Reads the whole file open at fd (see readWholeFile).
bool readOpenFile(int fd, const struct stat& info, const QString& path, QByteArray* bytes,
                  QString* error, qint64 maxBytes)
{
    // Formatting the limit is slow: only a refusal does it.
    auto tooLarge = [maxBytes] {
        return QStringLiteral("the file is larger than %1")
            .arg(QLocale::c().formattedDataSize(maxBytes));
    };
    if (info.st_size > maxBytes) {
        setError(error, "Cannot read", path, tooLarge());
        return false;
    }
    // The caller's buffer is reused when it has room: reading many files one after the
    // other then allocates almost nothing.
    QByteArray spare;
    QByteArray& data = bytes ? *bytes : spare;
    // The size is a hint: the file may change while it is read, and some files (below
    // /proc) report none. One byte over the limit tells that the file is too large.
    data.resize(qMin<qint64>(info.st_size, maxBytes) + 1);
    qint64 got = 0;
    for (;;) {
        if (got == data.size()) {
            if (got > maxBytes) {
                setError(error, "Cannot read", path, tooLarge());
                return false;
            }
            data.resize(qMin<qint64>(qMax<qint64>(got * 2, 4096), maxBytes + 1));
        }
        const ssize_t n = ::read(fd, data.data() + got, size_t(data.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            setError(error, "Cannot read", path, systemError(errno));
            return false;
        }
        if (n == 0)
            break;
        got += n;
    }
    data.truncate(got);
    return true;
}

} // namespace

bool readWholeFile(const QString& path, QByteArray* bytes, QString* error, qint64 maxBytes)
{
    struct stat info {};
    const Descriptor file(openRegularFile(path, &info, error));
    return file.get() >= 0 && readOpenFile(file.get(), info, path, bytes, error, maxBytes);
}

FolderFiles::FolderFiles(const QString& folder)
    : m_folder(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/')),
      m_fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
}

FolderFiles::~FolderFiles()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FolderFiles::read(const QString& name, QByteArray* bytes, QString* error,
                       qint64 maxBytes) const
{
    if (m_fd < 0 || name.contains(QLatin1Char('/')))
        return readWholeFile(m_folder + name, bytes, error, maxBytes);
    const QString shown = error ? m_folder + name : QString();
    struct stat info {};
    const Descriptor file(openRegularFile(m_fd, QFile::encodeName(name), shown, &info, error));
    return file.get() >= 0 && readOpenFile(file.get(), info, shown, bytes, error, maxBytes);
}

bool isLeftoverTemporaryName(const QString& name, QString* target, QString* tag)
{
    static const QRegularExpression ours(
        QStringLiteral("^(.+)\\.dilbotmp-([0-9a-f]{8})-[A-Za-z0-9]{6}$"));
    const QRegularExpressionMatch match = ours.match(name);
    if (!match.hasMatch())
        return false;
    if (target)
        *target = match.captured(1);
    if (tag)
        *tag = match.captured(2);
    return true;
}

QStringList removeLeftoverTemporaryFiles(const QString& folder,
                                         const std::function<bool(const QString&)>& runIsAlive,
                                         const QStringList& targets)
{
    QStringList removed;
    const QDir dir(folder);
    // Listed without a status call per file, and only names with a hyphen seven
    // characters before their end can be temporary ones: a large recipe folder is
    // scanned at every start.
    for (const QString& name : enumerateFiles(folder, QStringLiteral("*"))) {
        const qsizetype at = name.size() - 7;
        if (at < 1 || name[at] != QLatin1Char('-'))
            continue;
        QString target;
        QString tag;
        if (!isLeftoverTemporaryName(name, &target, &tag) || runIsAlive(tag))
            continue;
        if (!targets.isEmpty() && !targets.contains(target, Qt::CaseInsensitive))
            continue;
        if (removeFile(dir.filePath(name)))
            removed << name;
    }
    return removed;
}

namespace {

// Claims to in the folder open at dir for the file written as from, as
// renameWithoutReplacing does.
bool claimInFolder(int dir, const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(dir, from.constData(), dir, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (::linkat(dir, from.constData(), dir, to.constData(), 0) != 0)
        return false;
    ::unlinkat(dir, from.constData(), 0);
    return true;
}

// Writes bytes to a new temporary file for name in the folder open at dir; synced when
// asked. The temporary name; on failure an empty one with errno set, and nothing left.
QByteArray writeTemporaryIn(int dir, const QString& name, const QByteArray& bytes, bool synced)
{
    const QByteArray prefix = QFile::encodeName(name) + kTempInfix + runTag().toLatin1() + '-';
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = prefix + randomTag();
        fd = ::openat(dir, temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return QByteArray();
    Descriptor file(fd);
    if (!writeAll(fd, bytes.constData(), bytes.size()) || (synced && ::fsync(fd) != 0) ||
        !file.close()) {
        const int code = errno;
        ::unlinkat(dir, temp.constData(), 0);
        errno = code;
        return QByteArray();
    }
    return temp;
}

} // namespace

NewFileBatch::NewFileBatch(const QString& folder, int maxFiles, qint64 maxBytes)
    : m_folder(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/')),
      m_fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      m_openError(m_fd < 0 ? errno : 0), m_maxFiles(maxFiles), m_maxBytes(maxBytes)
{
}

NewFileBatch::~NewFileBatch()
{
    discard();
    if (m_fd >= 0)
        ::close(m_fd);
}

bool NewFileBatch::isFull() const
{
    return m_files.size() >= m_maxFiles || m_bytes >= m_maxBytes;
}

bool NewFileBatch::add(const QString& name, const QByteArray& bytes, QString* error)
{
    if (m_fd < 0) {
        setError(error, "Cannot write", m_folder + name, systemError(m_openError));
        return false;
    }
    const QByteArray temp = writeTemporaryIn(m_fd, name, bytes, false);
    if (temp.isEmpty()) {
        setError(error, "Cannot write", m_folder + name, systemError(errno));
        return false;
    }
    m_files.append({temp, name});
    m_bytes += bytes.size();
    return true;
}

bool NewFileBatch::commit(const Renamer& renamer, QString* error)
{
    m_committed.clear();
    if (m_files.isEmpty())
        return true;
    // One sync of the file system writes every temporary file of the batch: far cheaper
    // than a sync of each, which waits for the disk once per file.
    qsizetype at = 0;
    int code = ::syncfs(m_fd) == 0 ? 0 : errno;
    for (; code == 0 && at < m_files.size(); ++at) {
        Pending& file = m_files[at];
        while (!claimInFolder(m_fd, file.temp, QFile::encodeName(file.name))) {
            code = errno;
            if (code != EEXIST || !renamer)
                break;
            // Another program took the name since add: the file goes to the next name,
            // written (and synced, as the one file it is) with the bytes for that name.
            const QByteArray bytes = renamer(&file.name);
            ::unlinkat(m_fd, file.temp.constData(), 0);
            file.temp = writeTemporaryIn(m_fd, file.name, bytes, true);
            code = file.temp.isEmpty() ? errno : 0;
            if (code != 0)
                break;
        }
        if (code != 0)
            break;
        m_committed << file.name;
    }
    if (!m_committed.isEmpty()) {
        // The new names live in the folder: one sync of it keeps them all.
        ::fsync(m_fd);
        forgetFolderListingOf(m_folder + m_committed.constFirst());
    }
    if (code != 0) {
        setError(error, "Cannot write", m_folder + m_files[at].name, systemError(code));
        m_files.remove(0, at);
        discard();
        return false;
    }
    m_files.clear();
    m_bytes = 0;
    return true;
}

void NewFileBatch::discard()
{
    for (const Pending& file : std::as_const(m_files)) {
        if (!file.temp.isEmpty())
            ::unlinkat(m_fd, file.temp.constData(), 0);
    }
    m_files.clear();
    m_bytes = 0;
}

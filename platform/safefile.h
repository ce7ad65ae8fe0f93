// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The one way the program reads and replaces its files.
//
// Reading takes regular files only: a FIFO, socket or device (whatever path a file
// stores, "/dev/stdin" or "/dev/zero" included) is refused without waiting on it, and a
// file larger than the limit is refused with a clear error instead of filling memory.
// Replacing writes a temporary file beside the target, syncs it, renames it over the
// target and syncs the folder, so neither a crash nor a power cut loses a save that was
// reported done.

/// Size limit of the program's text files (recipes, side files, options, drafts).
inline constexpr qint64 kTextFileLimit = qint64(64) << 20;
/// Size limit of pictures.
inline constexpr qint64 kPictureFileLimit = qint64(256) << 20;

/// How hard a write insists on reaching the disk.
enum class Durability {
    Synced,  ///< the file and its folder are synced: a save that was reported done stays
    Scratch, ///< not synced: a temporary file that a crash may lose (the preview's files)
};

/// Replaces (or creates) the file at path with bytes atomically. On failure the old
/// file is untouched, no temporary file is left, and error (if given) names the file
/// and says what went wrong ("No space left on device").
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                         Durability durability = Durability::Synced);

/// What a write of a new file came to.
enum class WriteResult {
    Written,
    NameTaken, ///< a file of that name exists (it may have appeared meanwhile): nothing written
    Failed,    ///< error says why; nothing written
};

/// Writes a new file at path as writeFileAtomically does, but only while the name is
/// free: the name is claimed in one step when the file is complete, so an existing file
/// (one another program made a moment ago included) is never replaced.
WriteResult writeNewFileAtomically(const QString& path, const QByteArray& bytes,
                                   QString* error = nullptr);

/// The tag of this run of the program: eight hexadecimal digits, drawn once per process.
/// The names of the temporary files a run writes carry it, and so does its run lock, so
/// a later start can tell the leftovers of a run that ended from the files of one that
/// still works in the same folder.
QString runTag();

/// Removes the file at path. True when it is gone (or was not there); otherwise false
/// with error naming the file and saying why.
bool removeFile(const QString& path, QString* error = nullptr);

/// Reads a whole regular file of at most maxBytes bytes. On failure returns false and
/// sets error (naming the file); bytes may then hold anything.
bool readWholeFile(const QString& path, QByteArray* bytes, QString* error = nullptr,
                   qint64 maxBytes = kTextFileLimit);

/// Reads many files of one folder as readWholeFile does (same checks, limit and errors),
/// with the folder opened once: each file is then found by its name alone.
class FolderFiles {
public:
    explicit FolderFiles(const QString& folder);
    ~FolderFiles();
    FolderFiles(const FolderFiles&) = delete;
    FolderFiles& operator=(const FolderFiles&) = delete;

    /// readWholeFile of the file name in the folder.
    bool read(const QString& name, QByteArray* bytes, QString* error = nullptr,
              qint64 maxBytes = kTextFileLimit) const;

private:
    QString m_folder; // ends with "/"
    int m_fd;
};

/// True when name is a temporary file that writeFileAtomically writes before it renames
/// it (a kill in between leaves it behind); target then holds the name it was meant to
/// replace and tag the tag of the run that wrote it.
bool isLeftoverTemporaryName(const QString& name, QString* target = nullptr,
                             QString* tag = nullptr);

/// Removes the temporary files of ours in folder that were written by runs for which
/// runIsAlive(tag) is false. With targets given, only those meant to replace one of
/// these names (compared case-insensitively). Nothing else is touched: a user's
/// "Soup.vrez.backup" stays. Returns the names removed.
QStringList removeLeftoverTemporaryFiles(const QString& folder,
                                         const std::function<bool(const QString&)>& runIsAlive,
                                         const QStringList& targets = QStringList());

/// Writes many new files into one folder with one sync for all of them instead of two
/// for each: add writes each file under a temporary name (the shape start-up clears once
/// the run has ended, so a crash leaves only such leftovers), and commit syncs them all
/// at once, then claims each final name in one step (an existing file is never
/// replaced) and syncs the folder. A crash thus leaves each file whole or not there.
/// What is not committed (a failed add or commit, discard, the destructor) is removed.
class NewFileBatch {
public:
    /// Called at commit for a name that another program took after add: sets *name to
    /// the next name to try and returns the file's bytes under that name.
    using Renamer = std::function<QByteArray(QString* name)>;

    /// folder: where the files go. A batch counts as full at maxFiles files or maxBytes
    /// bytes, whichever comes first.
    explicit NewFileBatch(const QString& folder, int maxFiles = 256,
                          qint64 maxBytes = qint64(8) << 20);
    ~NewFileBatch();
    NewFileBatch(const NewFileBatch&) = delete;
    NewFileBatch& operator=(const NewFileBatch&) = delete;

    /// Writes bytes under a temporary name for the file name (a name in the folder). On
    /// failure nothing of this file is left and error names the file and says why; the
    /// files added before stay in the batch.
    bool add(const QString& name, const QByteArray& bytes, QString* error = nullptr);
    /// The number of files added and not yet committed or discarded.
    int size() const { return int(m_files.size()); }
    bool isFull() const;

    /// Makes the files added so far durable under their names. A name taken meanwhile
    /// goes through renamer until a free one is found (without a renamer the commit
    /// fails there). On failure false, with error naming the file: the files claimed
    /// before it are kept (and committed() lists them), the others are removed.
    bool commit(const Renamer& renamer = {}, QString* error = nullptr);
    /// The final names of the files the last commit claimed, in the order added.
    const QStringList& committed() const { return m_committed; }

    /// Removes the files added and not yet committed.
    void discard();

private:
    struct Pending {
        QByteArray temp; // temporary name in the folder
        QString name;    // the name it is meant to take
    };
    QString m_folder; // ends with "/"
    int m_fd;         // the folder, opened once
    int m_openError;  // why it could not be opened
    int m_maxFiles;
    qint64 m_maxBytes;
    qint64 m_bytes = 0;
    QList<Pending> m_files;
    QStringList m_committed;
};

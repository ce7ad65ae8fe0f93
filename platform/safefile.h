#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

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

/// True when name is a temporary file that writeFileAtomically (or the earlier writer,
/// whose names end in "." and six letters or digits) leaves behind when the program is
/// killed between writing and renaming it; target then holds the name it was meant to
/// replace.
bool isLeftoverTemporaryName(const QString& name, QString* target = nullptr);

/// Removes the leftover temporary files of ours in folder. With targets given, only
/// those meant to replace one of these names (compared case-insensitively); otherwise
/// every one. A name of the earlier writer's form is removed only when the file starts
/// as the program's own files do, so a user's "Notes.vrez.backup" stays. Returns the
/// names removed.
QStringList removeLeftoverTemporaryFiles(const QString& folder,
                                         const QStringList& targets = QStringList());

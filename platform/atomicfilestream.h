// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

// Written with the other file writers in safefile.cpp, whose temporary names it shares.

/// A file written piece by piece that replaces the file at path only when it is complete,
/// as writeFileAtomically does with bytes held in memory: the pieces go to a temporary
/// file beside path (a name start-up clears once the run has ended), which commit syncs
/// and renames over path. Until then path is untouched; discard, or the destructor
/// without a commit, removes the temporary file.
class AtomicFileStream {
public:
    explicit AtomicFileStream(const QString& path);
    ~AtomicFileStream();
    AtomicFileStream(const AtomicFileStream&) = delete;
    AtomicFileStream& operator=(const AtomicFileStream&) = delete;

    /// Creates the temporary file; false with error naming path when it cannot be made.
    bool open(QString* error = nullptr);
    /// The temporary file, open for reading and writing (null before open).
    QFile* device() const { return m_file.get(); }
    /// Syncs the temporary file and renames it over path. On failure the temporary file
    /// is removed, path is left as it was and error names path.
    bool commit(QString* error = nullptr);
    void discard();

private:
    QString m_path;
    QByteArray m_temp;
    std::unique_ptr<QFile> m_file;
};

// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// What a file held when the program read or wrote it, so that a later look tells
// whether someone else (a second copy of the program, a sync folder, a script) has
// changed it since. The state is the content alone: whether the file exists, its size
// and a 64-bit hash of its bytes. A file written again with the same bytes keeps its
// state; its modification time is not part of it, as a time stamp can stay the same
// across a change (coarse file-system clocks, copies that keep the time) and change
// without one.

struct FileState {
    bool exists = false;
    qint64 size = 0;
    quint64 hash = 0;

    /// The state of a file holding bytes.
    static FileState of(QByteArrayView bytes);
    /// The state of a file that does not exist.
    static FileState missing() { return {}; }

    bool operator==(const FileState& other) const = default;
};

/// The state of the file at path as it is now: missing when there is no file there.
/// False (error naming the file) when something is there that cannot be read.
bool readFileState(const QString& path, FileState* state, QString* error = nullptr);

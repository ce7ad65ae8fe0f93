// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/filestate.h"

#include "platform/safefile.h"

#include <QFileInfo>
#include <QHashFunctions>

namespace {

// Fixed, so that states taken at different times compare: the process-wide seed of
// QHash is not used.
constexpr size_t kHashSeed = 0;

} // namespace

FileState FileState::of(QByteArrayView bytes)
{
    return {true, bytes.size(), quint64(qHashBits(bytes.data(), size_t(bytes.size()), kHashSeed))};
}

bool readFileState(const QString& path, FileState* state, QString* error)
{
    if (!QFileInfo::exists(path)) {
        *state = FileState::missing();
        return true;
    }
    QByteArray bytes;
    if (!readWholeFile(path, &bytes, error))
        return false;
    *state = FileState::of(bytes);
    return true;
}

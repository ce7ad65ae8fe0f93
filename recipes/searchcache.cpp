// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/searchcache.h"

#include "platform/safefile.h"
#include "recipes/flatbytes.h"

#include <QFile>
#include <QLocale>

#include <cmath>
#include <cstring>

namespace {

constexpr char kMagic[8] = {'D', 'I', 'L', 'B', 'O', 'S', 'I', 'X'};
constexpr quint32 kFormatVersion = 1;
constexpr quint32 kByteOrderMark = 0x01020304;
constexpr qint64 kCacheFileLimit = qint64(4) << 30;
// magic, format version, byte order mark, key, checksum, size of the index bytes
constexpr qint64 kHeaderSize = 8 + 4 + 4 + 8 + 8 + 8;

} // namespace

QString searchCachePath(const QString& baseFolder)
{
    return baseFolder + QStringLiteral("PRGDATA/search.cache");
}

quint64 cacheChecksum(QByteArrayView bytes)
{
    // Four lanes of 64-bit multiply and rotate over 32-byte blocks, then the rest.
    constexpr quint64 k1 = 0x9E3779B185EBCA87ull, k2 = 0xC2B2AE3D27D4EB4Full;
    const auto rotl = [](quint64 x, int r) { return (x << r) | (x >> (64 - r)); };
    const char* data = bytes.data();
    const qsizetype size = bytes.size();
    quint64 lane[4] = {k1, k2, ~k1, ~k2};
    qsizetype i = 0;
    for (; i + 32 <= size; i += 32) {
        quint64 w[4];
        memcpy(w, data + i, sizeof w);
        for (int j = 0; j < 4; ++j)
            lane[j] = rotl(lane[j] + w[j] * k2, 31) * k1;
    }
    quint64 h = rotl(lane[0], 1) + rotl(lane[1], 7) + rotl(lane[2], 12) + rotl(lane[3], 18) +
                quint64(size);
    for (; i < size; ++i)
        h = rotl((h ^ static_cast<unsigned char>(data[i])) * k1, 27);
    h ^= h >> 33;
    h *= k2;
    h ^= h >> 29;
    h *= k1;
    h ^= h >> 32;
    return h;
}

quint64 searchCacheKey(const TKV& kv)
{
    QByteArray bytes;
    bytes.reserve(kv.size() * 80 + 64);
    FlatWriter out(bytes);
    out.number(quint32(kv.size()));
    out.bytes(QLocale().dateFormat(QLocale::ShortFormat).toUtf8());
    for (const TKVG& r : kv) {
        out.bytes(r.FileName.toUtf8());
        const FileState stored = r.Stored.value_or(FileState());
        out.number(quint8(r.Stored.has_value()));
        out.number(quint8(stored.exists));
        out.number(stored.size);
        out.number(stored.hash);
        // The search lines hold the cooking date's day only; a record without a date
        // takes the current moment, which must not make every start a new key.
        out.number(r.LastCooked > 0 ? std::floor(r.LastCooked) : r.LastCooked);
        out.bytes(r.Devices);
    }
    return cacheChecksum(bytes);
}

bool writeSearchCache(const QString& baseFolder, quint64 key, const QByteArray& index,
                      QString* error)
{
    QByteArray bytes;
    bytes.reserve(index.size() + 64);
    FlatWriter out(bytes);
    for (char c : kMagic)
        out.number(c);
    out.number(kFormatVersion);
    out.number(kByteOrderMark);
    out.number(key);
    out.number(cacheChecksum(index));
    out.bytes(index);
    // Not synced: a cache lost in a crash only means preparing the index again, and one
    // cut short is refused by its size and checksum.
    return writeFileAtomically(searchCachePath(baseFolder), bytes, error, Durability::Scratch);
}

bool readSearchCache(const QString& baseFolder, quint64 key, QByteArray* index, QString* why)
{
    const auto reject = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    const QString path = searchCachePath(baseFolder);
    QFile file(path);
    if (!file.exists())
        return reject(QStringLiteral("there is none"));
    if (!file.open(QIODevice::ReadOnly))
        return reject(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    // The header first: a cache of other recipes is refused without reading its index.
    const QByteArray head = file.read(kHeaderSize);
    FlatReader in(head);
    char magic[8] = {};
    for (char& c : magic)
        c = in.number<char>();
    const auto version = in.number<quint32>();
    const auto mark = in.number<quint32>();
    const auto cachedKey = in.number<quint64>();
    const auto sum = in.number<quint64>();
    const auto size = in.number<quint64>();
    if (!in.ok() || memcmp(magic, kMagic, sizeof magic) != 0)
        return reject(QStringLiteral("it is not a search index cache"));
    if (mark != kByteOrderMark || version != kFormatVersion)
        return reject(QStringLiteral("it has another format"));
    if (cachedKey != key)
        return reject(QStringLiteral("it was prepared for other recipes"));
    if (size > quint64(kCacheFileLimit) || qint64(size) != file.size() - kHeaderSize)
        return reject(QStringLiteral("it is cut short or has bytes after its end"));
    QByteArray payload = file.read(qint64(size));
    if (quint64(payload.size()) != size)
        return reject(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    if (cacheChecksum(payload) != sum)
        return reject(QStringLiteral("it is damaged (its checksum does not match)"));
    *index = std::move(payload);
    return true;
}

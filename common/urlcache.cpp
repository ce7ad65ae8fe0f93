// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/urlcache.h"

#include <cstring>
#include <vector>

UrlCache::~UrlCache() = default;

// MemoryUrlCache ---------------------------------------------------------------------

MemoryUrlCache::MemoryUrlCache(const QList<QByteArray>& sourceAddresses)
{
    for (const QByteArray& address : sourceAddresses)
        addEntry(address);
}

void MemoryUrlCache::addEntry(const QByteArray& sourceAddress, bool locked)
{
    cache.append({sourceAddress, locked});
}

QList<QByteArray> MemoryUrlCache::entries() const
{
    QList<QByteArray> addresses;
    for (const Entry& entry : cache)
        addresses.append(entry.address);
    return addresses;
}

void MemoryUrlCache::failLookupsFrom(int lookup, quint32 code)
{
    failFrom = lookup;
    failError = code;
}

bool MemoryUrlCache::failing()
{
    const int lookup = lookupCount++;
    if (failFrom >= 0 && lookup >= failFrom) {
        error = failError;
        return true;
    }
    return false;
}

bool MemoryUrlCache::deliver(qsizetype index, char* buffer, quint32* size)
{
    const QByteArray& address = cache.at(index).address;
    const auto needed = quint32(address.size() + 1);
    if (!buffer || *size < needed) {
        *size = needed;
        error = kErrorInsufficientBuffer;
        return false;
    }
    std::memcpy(buffer, address.constData(), address.size());
    buffer[address.size()] = '\0';
    *size = needed;
    return true;
}

UrlCache::Handle MemoryUrlCache::findFirstEntry(char* buffer, quint32* size)
{
    if (failing())
        return 0;
    if (cache.isEmpty()) {
        error = kErrorNoMoreItems;
        return 0;
    }
    if (!deliver(0, buffer, size))
        return 0;
    const Handle handle = nextHandle++;
    cursors.insert(handle, 1);
    return handle;
}

bool MemoryUrlCache::findNextEntry(Handle enumeration, char* buffer, quint32* size)
{
    if (failing())
        return false;
    const auto cursor = cursors.find(enumeration);
    if (cursor == cursors.end()) {
        error = kErrorInvalidHandle;
        return false;
    }
    if (*cursor >= cache.size()) {
        error = kErrorNoMoreItems;
        return false;
    }
    if (!deliver(*cursor, buffer, size))
        return false;
    ++*cursor;
    return true;
}

void MemoryUrlCache::closeEnumeration(Handle enumeration)
{
    cursors.remove(enumeration);
}

bool MemoryUrlCache::deleteEntry(const QByteArray& sourceAddress)
{
    for (qsizetype i = 0; i < cache.size(); ++i) {
        if (cache.at(i).address != sourceAddress)
            continue;
        if (cache.at(i).locked) {
            error = kErrorSharingViolation;
            return false;
        }
        cache.removeAt(i);
        // Open enumerations go on with the entry that followed.
        for (qsizetype& next : cursors) {
            if (next > i)
                --next;
        }
        return true;
    }
    error = kErrorFileNotFound;
    return false;
}

// The system cache ------------------------------------------------------------------

namespace {

class EmptyUrlCache : public UrlCache {
public:
    Handle findFirstEntry(char*, quint32*) override
    {
        error = kErrorNoMoreItems;
        return 0;
    }
    bool findNextEntry(Handle, char*, quint32*) override
    {
        error = kErrorInvalidHandle;
        return false;
    }
    void closeEnumeration(Handle) override {}
    bool deleteEntry(const QByteArray&) override
    {
        error = kErrorFileNotFound;
        return false;
    }
    quint32 lastError() const override { return error; }

private:
    quint32 error = 0;
};

QByteArray sourceAddress(const std::vector<char>& entry)
{
    return QByteArray(entry.data(), qsizetype(qstrnlen(entry.data(), uint(entry.size()))));
}

void deleteWhenOfSite(UrlCache& cache, const QByteArray& address, const QByteArray& upperSite)
{
    // An entry that cannot be deleted (in use, gone meanwhile) is left as it is.
    if (address.toUpper().contains(upperSite))
        cache.deleteEntry(address);
}

} // namespace

UrlCache& SystemUrlCache()
{
    static EmptyUrlCache cache;
    return cache;
}

void PurgeUrlCache(UrlCache& cache, const QByteArray& siteAddress)
{
    const QByteArray site = siteAddress.toUpper();

    // The first entry: its size, then the entry itself.
    quint32 size = 0;
    cache.findFirstEntry(nullptr, &size);
    std::vector<char> first(size);
    const UrlCache::Handle enumeration = cache.findFirstEntry(first.data(), &size);
    // No first entry (an empty cache, or the lookup failed): there is nothing to walk.
    if (!enumeration)
        return;
    deleteWhenOfSite(cache, sourceAddress(first), site);

    for (;;) {
        quint32 needed = 0;
        // Without a buffer no entry fits; a call that succeeds anyway is no answer either.
        const quint32 code =
            cache.findNextEntry(enumeration, nullptr, &needed) ? 0 : cache.lastError();
        if (code != kErrorInsufficientBuffer)
            break; // 259 after the last entry; any other error ends the pass as well
        std::vector<char> entry(needed);
        if (cache.findNextEntry(enumeration, entry.data(), &needed))
            deleteWhenOfSite(cache, sourceAddress(entry), site);
    }
    cache.closeEnumeration(enumeration);
}

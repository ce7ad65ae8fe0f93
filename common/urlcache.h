// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>

// The web browser's URL cache, as far as the program uses it: walking its entries and
// deleting those of a web site. The calls follow the Windows cache: an entry is fetched
// into the caller's buffer, a buffer too small is answered with the size needed, and
// failures leave a Windows error code.

inline constexpr quint32 kErrorFileNotFound = 2;
inline constexpr quint32 kErrorInvalidHandle = 6;
inline constexpr quint32 kErrorSharingViolation = 32;
inline constexpr quint32 kErrorInsufficientBuffer = 122;
inline constexpr quint32 kErrorNoMoreItems = 259;

class UrlCache {
public:
    /// An enumeration of the entries; 0 is none.
    using Handle = quintptr;

    virtual ~UrlCache();

    /// Starts an enumeration and fetches its first entry into buffer, whose size is *size
    /// (buffer may be nullptr with *size 0). An entry is its source address followed by
    /// a zero byte. Returns the enumeration, or 0 with lastError() set: 122 with *size
    /// set to the size needed, 259 when the cache is empty.
    virtual Handle findFirstEntry(char* buffer, quint32* size) = 0;

    /// Fetches the next entry of an enumeration, as findFirstEntry does. Fails with 122
    /// (*size set to the size needed; the enumeration stays at that entry) or with 259
    /// after the last entry.
    virtual bool findNextEntry(Handle enumeration, char* buffer, quint32* size) = 0;

    virtual void closeEnumeration(Handle enumeration) = 0;

    /// Deletes the entry with sourceAddress; false with lastError() set when it cannot.
    virtual bool deleteEntry(const QByteArray& sourceAddress) = 0;

    /// The error code of the last call that failed.
    virtual quint32 lastError() const = 0;
};

/// A cache held in memory, with ways to make its calls fail.
class MemoryUrlCache : public UrlCache {
public:
    MemoryUrlCache() = default;
    explicit MemoryUrlCache(const QList<QByteArray>& sourceAddresses);

    /// Adds an entry at the end; a locked entry is in use and cannot be deleted.
    void addEntry(const QByteArray& sourceAddress, bool locked = false);

    /// The source addresses of the entries, in enumeration order.
    QList<QByteArray> entries() const;

    /// Makes every lookup (findFirstEntry or findNextEntry) from the lookup numbered
    /// lookup on (0 is the first one) fail with error.
    void failLookupsFrom(int lookup, quint32 error);

    /// How many lookups were made.
    int lookups() const { return lookupCount; }

    /// How many enumerations are open.
    int openEnumerations() const { return int(cursors.size()); }

    Handle findFirstEntry(char* buffer, quint32* size) override;
    bool findNextEntry(Handle enumeration, char* buffer, quint32* size) override;
    void closeEnumeration(Handle enumeration) override;
    bool deleteEntry(const QByteArray& sourceAddress) override;
    quint32 lastError() const override { return error; }

private:
    struct Entry {
        QByteArray address;
        bool locked = false;
    };

    bool failing();
    bool deliver(qsizetype index, char* buffer, quint32* size);

    QList<Entry> cache;
    QHash<Handle, qsizetype> cursors; ///< per enumeration, the index of its next entry
    Handle nextHandle = 1;
    int lookupCount = 0;
    int failFrom = -1;
    quint32 failError = 0;
    quint32 error = 0;
};

/// The system's browser cache. Linux has no cache shared by the browsers, so this one is
/// always empty.
UrlCache& SystemUrlCache();

/// Deletes every entry of cache whose source address contains siteAddress (scheme and
/// host), compared without regard to case. Entries that cannot be deleted are skipped;
/// a lookup that fails other than for a small buffer ends the pass.
void PurgeUrlCache(UrlCache& cache, const QByteArray& siteAddress);

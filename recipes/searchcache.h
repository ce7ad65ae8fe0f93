// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QByteArray>
#include <QString>

// The search index cache: PRGDATA/search.cache below the base folder, the prepared
// search index of the catalogue (see SearchIndex::save) under a key that names the
// records it was prepared from, so that a start that reads the same recipes finds its
// search ready at once instead of preparing every record again. The recipe files stay
// the truth: a cache of other records, of another format, damaged or cut short is not
// taken, and is replaced once the index has been prepared anew.

QString searchCachePath(const QString& baseFolder);

/// The key of the catalogue kv in list order: every record's file name and the state of
/// the bytes it was read from (which give everything the search lines hold), what the
/// reading rules fill in from the day or the pictures (the cooking day, devices), and the
/// date format the lines write dates in.
quint64 searchCacheKey(const TKV& kv);

/// Replaces the cache (atomically) with the index bytes for key. False, with error
/// naming the file, when it cannot be written.
bool writeSearchCache(const QString& baseFolder, quint64 key, const QByteArray& index,
                      QString* error = nullptr);

/// The index bytes of the cache when it is whole and was written for key; false, with
/// why, otherwise.
bool readSearchCache(const QString& baseFolder, quint64 key, QByteArray* index,
                     QString* why = nullptr);

/// A 64-bit checksum of bytes, fast enough to run over a large cache at start-up. It
/// detects damage, not tampering.
quint64 cacheChecksum(QByteArrayView bytes);

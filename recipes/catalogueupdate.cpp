// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/catalogueupdate.h"

#include "recipes/searchindex.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <vector>

namespace {

// Finds records by file name: a look through the names for a few files, a table for
// many (building it costs more than a few looks).
class RecordsByFile {
public:
    RecordsByFile(const TKV& kv, qsizetype lookups) : m_kv(kv)
    {
        if (lookups <= 16)
            return;
        m_table.reserve(kv.size());
        for (int i = 0; i < kv.size(); ++i)
            m_table.insert(kv[i].FileName, i);
    }

    int find(const QString& name) const
    {
        if (!m_table.isEmpty() || m_kv.isEmpty())
            return m_table.value(name, -1);
        for (int i = 0; i < m_kv.size(); ++i) {
            if (m_kv[i].FileName == name)
                return i;
        }
        return -1;
    }

private:
    const TKV& m_kv;
    QHash<QString, int> m_table;
};

// Up to this many records that leave or come are moved in place, more by one merge.
constexpr qsizetype kFewMoves = 8;

bool byName(const TKVG& a, const TKVG& b)
{
    return a.Name < b.Name;
}

bool sameNames(const TKVG& a, const TKVG& b)
{
    return a.Categories == b.Categories && a.Binder == b.Binder && a.Magazine == b.Magazine &&
           a.Book == b.Book;
}

} // namespace

bool isRecipeFileName(const QString& name)
{
    return name.endsWith(QLatin1String(".vrez"), Qt::CaseInsensitive) &&
           !name.contains(QLatin1Char('/'));
}

CatalogueUpdate UpdateCatalogueFromFiles(const QString& baseFolder, TKV& kv, SearchIndex* index,
                                         const QStringList& names)
{
    CatalogueUpdate update;
    const TKV& records = kv; // looked at without detaching it from a copy
    const RecordsByFile byFile(records, names.size());
    RecipeFileReader reader(baseFolder);
    std::vector<bool> removed(size_t(records.size()), false);
    std::vector<bool> replaced(size_t(records.size()), false);
    std::vector<TKVG> added;
    QSet<QString> seen;
    seen.reserve(names.size());
    for (const QString& name : names) {
        if (!isRecipeFileName(name) || seen.contains(name))
            continue;
        seen.insert(name);
        const int at = byFile.find(name);
        TKVG record;
        FileProblem problem;
        const RecipeFileRead read = reader.read(name, &record, &problem);
        if (read == RecipeFileRead::Problem)
            update.problems << problem;
        if (read != RecipeFileRead::Read) {
            if (at >= 0 && !removed[size_t(at)]) {
                removed[size_t(at)] = true;
                ++update.removed;
                update.namesMayHaveGone = true;
            }
            continue;
        }
        if (at < 0) {
            added.push_back(std::move(record));
            ++update.added;
            continue;
        }
        const TKVG& old = records[at];
        if (old.Stored && record.Stored == old.Stored)
            continue;
        ++update.changed;
        update.namesMayHaveGone = update.namesMayHaveGone || !sameNames(record, old);
        if (record.Name == old.Name) { // same place in the list
            kv[at] = std::move(record);
            replaced[size_t(at)] = true;
        } else {
            removed[size_t(at)] = true;
            added.push_back(std::move(record));
        }
    }
    if (!update.any())
        return update;

    std::vector<int>& previousOf = update.previousOf;
    previousOf.reserve(size_t(records.size()) + added.size());
    for (int i = 0; i < records.size(); ++i)
        previousOf.push_back(replaced[size_t(i)] ? -1 : i);
    const auto leaving = std::count(removed.cbegin(), removed.cend(), true);
    if (leaving + qsizetype(added.size()) <= kFewMoves) {
        // Records leave and come one at a time in place: the others only shift, and
        // no second list of every record is made (for a large collection, making it
        // cost more than everything else together).
        for (int i = int(records.size()) - 1; i >= 0; --i) {
            if (removed[size_t(i)]) {
                kv.remove(i);
                previousOf.erase(previousOf.begin() + i);
            }
        }
        for (TKVG& record : added) {
            const int at = int(std::upper_bound(records.cbegin(), records.cend(), record, byName) -
                               records.cbegin());
            kv.insert(at, std::move(record));
            previousOf.insert(previousOf.begin() + at, -1);
        }
    } else if (leaving > 0 || !added.empty()) {
        previousOf.clear();
        // One pass merges the kept records with the new ones, sorted by name the way a
        // reload sorts (stably, so new ones come after the kept ones of the same name).
        std::stable_sort(added.begin(), added.end(), byName);
        TKV merged;
        merged.reserve(records.size() - update.removed + qsizetype(added.size()));
        auto next = added.begin();
        for (int i = 0; i < records.size(); ++i) {
            if (removed[size_t(i)])
                continue;
            for (; next != added.end() && byName(*next, records[i]); ++next) {
                merged.append(std::move(*next));
                previousOf.push_back(-1);
            }
            merged.append(std::move(kv[i]));
            previousOf.push_back(replaced[size_t(i)] ? -1 : i);
        }
        for (; next != added.end(); ++next) {
            merged.append(std::move(*next));
            previousOf.push_back(-1);
        }
        kv = std::move(merged);
    }
    if (index) {
        index->follow(previousOf, kv);
        index->noteSortedByName(kv);
    }
    return update;
}

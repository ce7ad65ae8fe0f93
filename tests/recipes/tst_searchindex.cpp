// SPDX-License-Identifier: GPL-2.0-or-later
// The indexed list fill against a plain fill written straight from the list rules, over
// random collections and random typing. DILBO_SEARCH_SEED=<n> replays one seed (the
// failure message names it); DILBO_SEARCH_SEEDS=<n> runs more collections.

#include "platform/cp1252.h"
#include "recipes/gramindex.h"
#include "recipes/searchcache.h"
#include "recipes/recipelist.h"
#include "recipes/textrules.h"
#include "recipes/wordindex.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "platform/daycount.h"

namespace {

// Words of records and of typed searches: accents that fold and that do not, the three
// sauce spellings in several cases, parts of words, stars and digits.
const char* const kWords[] = {"cr\xe8me",
                              "Cr\xe8me",
                              "CREME",
                              "creme",
                              "fra\xee"
                              "che",
                              "So\xdf"
                              "e",
                              "Sosse",
                              "sauce",
                              "SAUCE",
                              "sosse",
                              "so\xdf"
                              "e",
                              "K\xe4se",
                              "br\xfbl\xe9"
                              "e",
                              "P\xe2t\xe9",
                              "r\xf4ti",
                              "\xc0",
                              "\xe9t\xe9",
                              "tomato",
                              "onion",
                              "oni",
                              "on",
                              "c",
                              "cr",
                              "*",
                              "**",
                              "12",
                              "1/2",
                              "Fish",
                              "fish"};
const char* const kCategories[] = {"Fish,", "Catfish,", "Soups,Fish,", "Soups,Fishcakes,",
                                   "",      ",Fish",    "Cakes,Soups,"};
const char* const kSources[] = {"", "", "Green", "Red binder", "Baking"};
// Bytes typed one at a time: letters of the words above, accents, blank, tab, "*".
const char kTyped[] = "CREMSAUOTNIFHcremsauotnifh\xe8\xe9\xee\xdf\xe4\xc0\xfb *\t1";

QByteArray pick(QRandomGenerator& random, const char* const* words, int count)
{
    return words[random.bounded(count)];
}

QByteArray words(QRandomGenerator& random, int max)
{
    QByteArrayList out;
    for (int n = random.bounded(max + 1); n > 0; --n)
        out << pick(random, kWords, int(std::size(kWords)));
    return out.join(' ');
}

TSTRING lines(QRandomGenerator& random, int max)
{
    TSTRING out;
    for (int n = random.bounded(max + 1); n > 0; --n)
        out << words(random, 3);
    return out;
}

TKV randomCollection(QRandomGenerator& random)
{
    TKV kv(random.bounded(0, 40));
    for (TKVG& r : kv) {
        r.Name = words(random, 3);
        r.Categories = pick(random, kCategories, int(std::size(kCategories)));
        r.Difficulty = random.bounded(-1, 7);
        r.LastCooked = 45000 + random.bounded(5);
        for (int n = random.bounded(3); n > 0; --n)
            r.CookedDates << 44000 + random.bounded(3);
        r.Servings = random.bounded(2) ? "4" : "";
        r.PrepTime = words(random, 1);
        r.Devices = random.bounded(2) ? "Oven," : "";
        r.Ingredients = lines(random, 3);
        r.Instructions = lines(random, 2);
        r.Comments = lines(random, 1);
        r.Binder = pick(random, kSources, int(std::size(kSources)));
        r.Magazine = pick(random, kSources, int(std::size(kSources)));
        r.Book = pick(random, kSources, int(std::size(kSources)));
        r.Page = random.bounded(2) ? "12" : "";
        r.Remark = words(random, 2);
        r.IngredientNames = lines(random, 2);
        r.Units = lines(random, 1);
        r.Quantities = lines(random, 1);
        r.Descriptions = lines(random, 1);
    }
    SortByName(kv);
    return kv;
}

// The search lines of a record and the list rules, one by one.
QByteArrayList searchLines(const TKVG& r)
{
    const auto date = [](double days) {
        return cp1252::fromUnicode(
            QLocale().toString(dateTimeFromDayCount(days).date(), QLocale::ShortFormat));
    };
    QByteArrayList out{r.Name, date(r.LastCooked)};
    for (double d : r.CookedDates)
        out << date(d);
    if (r.Difficulty >= 1 && r.Difficulty <= 5)
        out << QByteArray(r.Difficulty, '*');
    out << r.Servings << r.PrepTime << r.Devices << r.Categories;
    for (const TSTRING* list : {&r.Ingredients, &r.Instructions, &r.Comments})
        out << list->toList();
    out << r.Binder << r.Magazine << r.Page << r.Remark;
    for (const TSTRING* list : {&r.IngredientNames, &r.Units, &r.Quantities, &r.Descriptions})
        out << list->toList();
    return out;
}

bool plainSearch(const TKVG& r, const QByteArray& text)
{
    const SearchWords search = SplitSearchWords(text, true, true, true);
    QByteArrayList prepared;
    for (const QByteArray& line : searchLines(r))
        prepared << cp1252::toUpper(FoldAccents(line));
    qsizetype found = 0;
    for (const QByteArray& word : search.words) {
        found += std::any_of(prepared.cbegin(), prepared.cend(),
                             [&word](const QByteArray& line) { return line.contains(word); });
    }
    const qsizetype n = search.words.size();
    return search.synonymMarker == 0 ? found == n : found >= n - search.synonymMarker;
}

QList<int> plainFill(const TKV& kv, const ListFilter& f)
{
    QList<int> rows;
    for (int i = 0; i < kv.size(); ++i) {
        const TKVG& r = kv[i];
        const int type = RecipeType(kv, i);
        const bool category =
            f.categoryEntry == 0 || (f.categoryEntry == 1 && type == 0) ||
            (f.categoryEntry == 2 && type == 1) || (f.categoryEntry == 3 && type >= 2) ||
            (f.categoryEntry >= 4 && (r.Categories.contains(QByteArray(',' + f.categoryName)) ||
                                      r.Categories.contains(QByteArray(f.categoryName + ','))));
        if (category && (f.searchText.isEmpty() || plainSearch(r, f.searchText)) &&
            (f.difficultyEntry <= 0 || r.Difficulty == f.difficultyEntry) &&
            (f.sourceEntry <= 0 || r.Binder == f.sourceName || r.Magazine == f.sourceName ||
             r.Book == f.sourceName))
            rows << i;
    }
    return rows;
}

// One step of typing, or a change of one of the other filters.
void step(QRandomGenerator& random, const QStringList& categories, ListFilter& f)
{
    QByteArray& text = f.searchText;
    switch (random.bounded(10)) {
    case 0:
    case 1:
    case 2:
        text += kTyped[random.bounded(int(sizeof kTyped) - 1)];
        break;
    case 3:
        text += ' ' + pick(random, kWords, int(std::size(kWords)));
        break;
    case 4:
    case 5:
        text.chop(1);
        break;
    case 6:
        text.chop(text.size() - text.lastIndexOf(' ') - 1 + random.bounded(2));
        break;
    case 7:
        f.categoryEntry = random.bounded(2) ? 0 : int(random.bounded(qsizetype(categories.size())));
        f.categoryName = cp1252::fromUnicode(categories[f.categoryEntry]);
        break;
    case 8:
        f.difficultyEntry = random.bounded(3) ? 0 : random.bounded(1, 6);
        break;
    default:
        f.sourceEntry = random.bounded(2) ? 0 : 1;
        f.sourceName = pick(random, kSources, int(std::size(kSources)));
        break;
    }
}

quint32 seedFromEnvironment(const char* name, quint32 fallback)
{
    bool ok = false;
    const quint32 value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

} // namespace

class TestSearchIndex : public QObject {
    Q_OBJECT
private slots:
    // Each index keeps its results through a whole typing sequence, as the main window's
    // does; "background" prepares its lines on the second thread first, "restored" takes
    // them from the bytes another index saved (the search cache).
    void typingMatchesPlainFill_data()
    {
        QTest::addColumn<double>("budget");
        QTest::addColumn<bool>("reuse");
        QTest::addColumn<bool>("background");
        QTest::addColumn<bool>("restored");
        QTest::newRow("piece index, reuse") << 1.0 << true << false << false;
        QTest::newRow("pairs only or no pieces") << 0.05 << true << false << false;
        QTest::newRow("no pieces, no reuse") << 0.0 << false << false << false;
        QTest::newRow("second thread") << 1.0 << true << true << false;
        QTest::newRow("restored word index") << 1.0 << true << true << true;
        QTest::newRow("restored lines and pairs") << 0.05 << true << false << true;
        QTest::newRow("restored lines") << 0.0 << false << false << true;
    }
    void typingMatchesPlainFill()
    {
        QFETCH(double, budget);
        QFETCH(bool, reuse);
        QFETCH(bool, background);
        QFETCH(bool, restored);
        const quint32 first = seedFromEnvironment("DILBO_SEARCH_SEED", 1);
        const quint32 seeds = qEnvironmentVariableIsSet("DILBO_SEARCH_SEED")
                                  ? 1
                                  : seedFromEnvironment("DILBO_SEARCH_SEEDS", 25);
        for (quint32 seed = first; seed < first + seeds; ++seed) {
            QRandomGenerator random(seed);
            TKV kv = randomCollection(random);
            const QStringList categories = categoryEntries(kv);
            SearchIndex index(SearchIndex::Options{budget, reuse});
            if (restored) {
                SearchIndex source(SearchIndex::Options{budget, reuse});
                QByteArray saved;
                if (background)
                    source.rebuildInBackground(kv, [&saved](const QByteArray& b) { saved = b; });
                else
                    source.rebuild(kv);
                source.waitUntilBuilt();
                QCOMPARE(source.save().isEmpty(), false);
                if (!background)
                    saved = source.save();
                QCOMPARE(saved, source.save());
                index.noteSortedByName(kv);
                QVERIFY(index.restore(kv, saved));
            } else if (background) {
                index.noteSortedByName(kv);
                index.rebuildInBackground(kv);
            }
            ListFilter filter;
            for (int n = 0; n < 150; ++n) {
                step(random, categories, filter);
                const QList<int> rows = FilterRecipeRows(kv, index, filter);
                // The indexes never take more than their share of the lines' size.
                QVERIFY(index.indexBytes() <= qsizetype(budget * double(index.preparedBytes())));
                const QList<int> expected = plainFill(kv, filter);
                // std::equal: QList's == passes null to memcmp for two empty lists (UBSan).
                QVERIFY2(std::equal(rows.cbegin(), rows.cend(), expected.cbegin(), expected.cend()),
                         qPrintable(QStringLiteral("seed %1, step %2, search \"%3\"")
                                        .arg(seed)
                                        .arg(n)
                                        .arg(cp1252::toUnicode(filter.searchText))));
                for (int i = 0; i < kv.size(); ++i) {
                    const qsizetype row = expected.indexOf(i);
                    QCOMPARE(kv[i].ListIndex, row < 0 ? -2 : int(row) + 1);
                }
            }
        }
    }

    // Proposed records must include every record that holds the word, with triples,
    // with pairs only (budget too small for triples) and without pieces.
    void piecesProposeEveryHolder()
    {
        QRandomGenerator random(seedFromEnvironment("DILBO_SEARCH_SEED", 7));
        QByteArrayList texts;
        for (int i = 0; i < 300; ++i)
            texts << cp1252::toUpper(FoldAccents(words(random, 12)));
        const auto text = [&texts](int i) { return QByteArrayView(texts[i]); };
        QList<GramIndex> indexes(3);
        indexes[0].build(int(texts.size()), text, 1 << 30);
        QVERIFY(indexes[0].hasTriples());
        for (qsizetype budget = indexes[0].bytes(); indexes[1].hasTriples() || !indexes[1].usable();
             budget = budget * 9 / 10) {
            indexes[1].build(int(texts.size()), text, budget);
            QVERIFY2(budget > 0, "no budget keeps pairs without triples");
        }
        indexes[2].build(int(texts.size()), text, 0);
        QVERIFY(!indexes[2].usable());
        for (int n = 0; n < 400; ++n) {
            const QByteArray word = cp1252::toUpper(FoldAccents(words(random, 1)))
                                        .mid(random.bounded(3), random.bounded(1, 8));
            for (const GramIndex& index : indexes) {
                const RecordSet proposed = index.candidates(word);
                for (int i = 0; i < texts.size(); ++i)
                    QVERIFY(!texts[i].contains(word) || proposed.contains(i));
            }
        }
        // The pieces do narrow: a word that no text holds proposes nothing.
        QVERIFY(indexes[0].candidates("QQQ").isEmpty());
    }

    // The word index lists exactly the records holding a part of a word, whether the
    // part is looked for among all words or among the words of a shorter part, and
    // whether a word's records are kept as ids or as bits.
    void wordsListExactlyTheirHolders()
    {
        QRandomGenerator random(seedFromEnvironment("DILBO_SEARCH_SEED", 11));
        QByteArrayList texts;
        for (int i = 0; i < 300; ++i) {
            QByteArray text = cp1252::toUpper(FoldAccents(words(random, 12)));
            if (i % 3 == 0) // words of one record only, which are kept as ids
                text += "\nW" + QByteArray::number(i) + "X " + QByteArray::number(i * 7);
            texts << text;
        }
        const auto text = [&texts](int i) { return QByteArrayView(texts[i]); };
        WordIndex index;
        index.build(int(texts.size()), text, 1 << 30);
        QVERIFY(index.usable());
        for (int n = 0; n < 400; ++n) {
            const QByteArray word = texts[random.bounded(texts.size())].split('\n').last();
            const QByteArray longer =
                word.split(' ').first().mid(random.bounded(3), random.bounded(1, 8));
            if (longer.isEmpty())
                continue;
            const QByteArray part = longer.left(random.bounded(1, int(longer.size()) + 1));
            const std::vector<quint32> partWords = index.wordsHolding(part);
            const std::vector<quint32> within = index.wordsHolding(longer, &partWords);
            QCOMPARE(index.wordsHolding(longer), within);
            for (const QByteArray& looked : {part, longer}) {
                const RecordSet listed = index.recordsOf(looked == part ? partWords : within);
                for (int i = 0; i < texts.size(); ++i)
                    QVERIFY2(texts[i].contains(looked) == listed.contains(i),
                             qPrintable(QStringLiteral("\"%1\" in record %2")
                                            .arg(QString::fromLatin1(looked))
                                            .arg(i)));
            }
        }
        // A budget smaller than the words keeps nothing rather than part of them.
        index.build(int(texts.size()), text, index.bytes() - 1);
        QVERIFY(!index.usable());
    }

    // Results and words kept from searches over the records before a rebuild must not
    // answer searches over the records after it, though their number is the same.
    // Bytes that are not a whole index of the catalogue's size are refused, whatever
    // part is cut off or damaged; what is taken then answers searches without reading
    // outside its arrays (the sanitizer build checks that).
    void restoreRefusesDamagedBytes()
    {
        QRandomGenerator random(seedFromEnvironment("DILBO_SEARCH_SEED", 3));
        TKV kv;
        while (kv.size() < 10)
            kv = randomCollection(random);
        for (const double budget : {1.0, 0.0}) {
            SearchIndex source(SearchIndex::Options{budget, true});
            source.rebuild(kv);
            const QByteArray saved = source.save();
            SearchIndex index(SearchIndex::Options{budget, true});
            QVERIFY(!index.restore(kv.mid(1), saved)); // another count of records
            for (qsizetype size = 0; size < saved.size(); size += 1 + size / 16)
                QVERIFY2(!index.restore(kv, saved.first(size)), qPrintable(QString::number(size)));
            QVERIFY(!index.restore(kv, QByteArray(saved + '\0')));
            for (int n = 0; n < 400; ++n) {
                QByteArray damaged = saved;
                damaged[random.bounded(int(damaged.size()))] ^= char(1 << random.bounded(8));
                if (index.restore(kv, damaged))
                    for (const char* text : {"a", "on", "oni", "onion tart", "xyz"})
                        index.find(text);
            }
            QVERIFY(index.restore(kv, saved));
        }
    }

    // The search index cache is taken only for the records it was prepared from: the
    // key tells apart a file read with other bytes, another file name, another order,
    // another cooking date (a record without one takes the day's) and other devices
    // (their pictures decide); a cache file damaged or cut short is not taken.
    void searchCacheServesOnlyItsRecords_data()
    {
        QTest::addColumn<QString>("change");
        for (const char* change :
             {"none", "time of day", "bytes", "name", "order", "date", "devices", "damage",
              "cut", "longer", "version"})
            QTest::newRow(change) << QString::fromLatin1(change);
    }
    void searchCacheServesOnlyItsRecords()
    {
        QFETCH(QString, change);
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        QVERIFY(QDir().mkpath(base + QStringLiteral("PRGDATA")));
        QRandomGenerator random(5);
        TKV kv;
        while (kv.size() < 3)
            kv = randomCollection(random);
        for (int i = 0; i < kv.size(); ++i) {
            kv[i].FileName = QStringLiteral("recipe %1.vrez").arg(i);
            kv[i].Stored = FileState::of(kv[i].Name);
        }
        const QByteArray index = QByteArray("prepared index ").repeated(40);
        QVERIFY(writeSearchCache(base, searchCacheKey(kv), index));
        if (change == QLatin1String("bytes"))
            kv[1].Stored->hash ^= 1;
        else if (change == QLatin1String("name"))
            kv[1].FileName = QStringLiteral("other.vrez");
        else if (change == QLatin1String("order"))
            kv.swapItemsAt(0, 1);
        else if (change == QLatin1String("date"))
            kv[2].LastCooked += 1;
        else if (change == QLatin1String("time of day")) // the same day: the same lines
            kv[2].LastCooked = std::floor(kv[2].LastCooked) + 0.75;
        else if (change == QLatin1String("devices"))
            kv[2].Devices += "Oven,";
        if (change == QLatin1String("damage") || change == QLatin1String("cut") ||
            change == QLatin1String("longer") || change == QLatin1String("version")) {
            QFile file(searchCachePath(base));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QByteArray bytes = file.readAll();
            if (change == QLatin1String("damage"))
                bytes[bytes.size() - 7] = char(bytes[bytes.size() - 7] ^ 0x20);
            else if (change == QLatin1String("cut"))
                bytes.chop(1);
            else if (change == QLatin1String("version"))
                bytes[8] = char(bytes[8] + 1); // the format version follows the 8-byte mark
            else
                bytes.append('x');
            QVERIFY(file.resize(0));
            QCOMPARE(file.write(bytes), bytes.size());
        }
        QByteArray read;
        QString why;
        const bool taken = readSearchCache(base, searchCacheKey(kv), &read, &why);
        const bool same = change == QLatin1String("none") || change == QLatin1String("time of day");
        QCOMPARE(taken, same);
        QCOMPARE(read, taken ? index : QByteArray());
        QCOMPARE(why.isEmpty(), taken);
    }

    // Any one byte of the search cache file changed, the cache is not taken: the header
    // is checked field by field, the index bytes by their checksum.
    void searchCacheRefusesEveryChangedByte()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        QVERIFY(QDir().mkpath(base + QStringLiteral("PRGDATA")));
        QByteArray index;
        for (int i = 0; i < 300; ++i)
            index += char(i * 7);
        QVERIFY(writeSearchCache(base, 42, index));
        QFile file(searchCachePath(base));
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray bytes = file.readAll();
        QByteArray read;
        for (qsizetype at = 0; at < bytes.size(); ++at) {
            QByteArray changed = bytes;
            changed[at] = char(changed[at] ^ (1 << (at % 8)));
            QVERIFY(file.seek(0));
            QCOMPARE(file.write(changed), changed.size());
            QVERIFY(file.flush());
            QVERIFY2(!readSearchCache(base, 42, &read), qPrintable(QString::number(at)));
        }
        QVERIFY(file.seek(0));
        QCOMPARE(file.write(bytes), bytes.size());
        QVERIFY(file.flush());
        QVERIFY(readSearchCache(base, 42, &read));
        QCOMPARE(read, index);
    }

    void rebuildForgetsEarlierSearches()
    {
        TKV kv(100);
        for (int i = 0; i < kv.size(); ++i)
            kv[i].Name = "Onion tart " + QByteArray::number(i);
        SearchIndex index;
        index.rebuild(kv);
        QCOMPARE(index.find("onion").count(), 100);
        for (TKVG& r : kv)
            r.Name = "Leek pie";
        index.rebuild(kv);
        QCOMPARE(index.find("onion").count(), 0);
        QCOMPARE(index.find("onions").count(), 0);
        QCOMPARE(index.find("leek").count(), 100);
    }

    // The second thread works on the records as they were: changing the catalogue
    // meanwhile copies it instead of changing what the thread reads.
    void backgroundBuildKeepsItsRecords()
    {
        TKV kv(2000);
        for (int i = 0; i < kv.size(); ++i)
            kv[i].Name = "Recipe " + QByteArray::number(i);
        SearchIndex index;
        index.rebuildInBackground(kv);
        kv[0].Name = "Changed";
        kv.removeLast();
        QCOMPARE(index.size(), 2000);
        QCOMPARE(index.find("changed").count(), 0);
        QCOMPARE(index.find("1999").count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSearchIndex)
#include "tst_searchindex.moc"

// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/urlcache.h"

#include <QTest>

using Addresses = QList<QByteArray>;

class TestUrlCache : public QObject {
    Q_OBJECT
private slots:
    void purge_data()
    {
        QTest::addColumn<Addresses>("entries");
        QTest::addColumn<Addresses>("locked");
        QTest::addColumn<QByteArray>("site");
        QTest::addColumn<Addresses>("remaining");
        const QByteArray site("https://Dilboscan.Example.org");
        QTest::newRow("lower-case entries of the site go, others stay")
            << Addresses{"https://dilboscan.example.org/updates.html", "https://other.example.net/",
                         "https://dilboscan.example.org/logo.png", "http://dilboscan.example.org/"}
            << Addresses{} << site
            << Addresses{"https://other.example.net/", "http://dilboscan.example.org/"};
        QTest::newRow("upper-case entry") << Addresses{"HTTPS://DILBOSCAN.EXAMPLE.ORG/NEWS"}
                                          << Addresses{} << site << Addresses{};
        QTest::newRow("site anywhere in the address")
            << Addresses{"https://proxy.example.net/?u=https://dilboscan.example.org/x",
                         "https://dilboscan.example.net/"}
            << Addresses{} << site << Addresses{"https://dilboscan.example.net/"};
        QTest::newRow("every entry, none skipped")
            << Addresses{"https://dilboscan.example.org/1", "https://dilboscan.example.org/2",
                         "https://dilboscan.example.org/3"}
            << Addresses{} << site << Addresses{};
        QTest::newRow("only the last") << Addresses{"a", "b", "c", "https://dilboscan.example.org"}
                                       << Addresses{} << site << Addresses{"a", "b", "c"};
        QTest::newRow("entry in use is skipped")
            << Addresses{"https://dilboscan.example.org/1", "https://dilboscan.example.org/2",
                         "https://dilboscan.example.org/3"}
            << Addresses{"https://dilboscan.example.org/2"} << site
            << Addresses{"https://dilboscan.example.org/2"};
        QTest::newRow("long address")
            << Addresses{"https://dilboscan.example.org/" + QByteArray(5000, 'q'), "x"}
            << Addresses{} << site << Addresses{"x"};
        QTest::newRow("empty cache") << Addresses{} << Addresses{} << site << Addresses{};
        QTest::newRow("nothing of the site")
            << Addresses{"https://example.net/", "https://dilboscan.example.com/"} << Addresses{}
            << site << Addresses{"https://example.net/", "https://dilboscan.example.com/"};
    }
    void purge()
    {
        QFETCH(Addresses, entries);
        QFETCH(Addresses, locked);
        QFETCH(QByteArray, site);
        QFETCH(Addresses, remaining);
        MemoryUrlCache cache;
        for (const QByteArray& address : entries)
            cache.addEntry(address, locked.contains(address));
        PurgeUrlCache(cache, site);
        QCOMPARE(cache.entries(), remaining);
        QCOMPARE(cache.openEnumerations(), 0);
    }

    // A cache whose lookups fail with an error other than "buffer too small" or "no
    // more items" ends the pass; what was purged before stays purged.
    void failingLookupEndsThePass_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<quint32>("error");
        QTest::addColumn<Addresses>("remaining");
        const QByteArray a("https://dilboscan.example.org/a");
        const QByteArray b("https://dilboscan.example.org/b");
        const QByteArray c("https://dilboscan.example.org/c");
        // Lookups: 0 probe and 1 fetch of the first entry, then probe and fetch per entry.
        QTest::newRow("first probe") << 0 << quint32(5) << Addresses{a, b, c};
        QTest::newRow("first fetch") << 1 << quint32(kErrorFileNotFound) << Addresses{a, b, c};
        QTest::newRow("second probe") << 2 << quint32(5) << Addresses{b, c};
        QTest::newRow("second fetch") << 3 << quint32(kErrorInvalidHandle) << Addresses{b, c};
        QTest::newRow("third probe") << 4 << quint32(87) << Addresses{c};
    }
    void failingLookupEndsThePass()
    {
        QFETCH(int, from);
        QFETCH(quint32, error);
        QFETCH(Addresses, remaining);
        MemoryUrlCache cache({"https://dilboscan.example.org/a", "https://dilboscan.example.org/b",
                              "https://dilboscan.example.org/c"});
        cache.failLookupsFrom(from, error);
        PurgeUrlCache(cache, "https://dilboscan.example.org");
        QCOMPARE(cache.entries(), remaining);
        QVERIFY2(cache.lookups() <= from + 2, "the pass goes on after the failure");
        QCOMPARE(cache.openEnumerations(), 0);
    }

    void probesBeforeFetching()
    {
        // The purge asks for each entry's size first, as the cache needs.
        MemoryUrlCache cache({"one", "two", "three"});
        PurgeUrlCache(cache, "t");
        QCOMPARE(cache.entries(), Addresses{"one"});
        // 2 for each of three entries, and the probe that finds no more items.
        QCOMPARE(cache.lookups(), 7);
        QCOMPARE(cache.lastError(), kErrorNoMoreItems);
    }

    void systemCacheIsEmpty()
    {
        UrlCache& cache = SystemUrlCache();
        quint32 size = 0;
        QCOMPARE(cache.findFirstEntry(nullptr, &size), UrlCache::Handle(0));
        QCOMPARE(cache.lastError(), kErrorNoMoreItems);
        PurgeUrlCache(cache, "https://dilboscan.example.org");
        QCOMPARE(cache.findFirstEntry(nullptr, &size), UrlCache::Handle(0));
    }
};

QTEST_GUILESS_MAIN(TestUrlCache)
#include "tst_urlcache.moc"

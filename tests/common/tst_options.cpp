// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/options.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

class Base {
public:
    Base()
    {
        path = dir.path() + QLatin1Char('/');
        QDir().mkpath(path + QStringLiteral("PRGDATA"));
    }
    QString file() const { return path + QStringLiteral("PRGDATA/Options.kv"); }
    void put(const QByteArray& bytes) const
    {
        QFile f(file());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray get() const
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
    QString path;
};

} // namespace

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void firstStartCreatesDefaults()
    {
        Base base;
        Settings settings = initialSettings(base.path);
        settings.tooltips = 0; // forced on in the created file
        QVERIFY(CreateDefaultOptions(base.path, settings));
        QCOMPARE(base.get(), "[KV 2.00]\r\n1\r\n" + base.path.toUtf8() + "\r\n0\r\n0\r\n");
        Settings read = initialSettings(base.path);
        read.tooltips = 0;
        QCOMPARE(ReadOptions(base.path, read), OptionsRead::Read);
        QCOMPARE(read.tooltips, 1);
        QCOMPARE(read.lastPictureFolder, base.path);
        QCOMPARE(read.formatIndex, 0);
        QVERIFY(!read.landscape);
    }

    void existingFileIsNotReplaced()
    {
        Base base;
        base.put("[KV 2.00]\r\n0\r\n/pics/\r\n3\r\n1\r\n");
        QVERIFY(CreateDefaultOptions(base.path, initialSettings(base.path)));
        QCOMPARE(base.get(), QByteArray("[KV 2.00]\r\n0\r\n/pics/\r\n3\r\n1\r\n"));
    }

    void writeAndReadBack()
    {
        Base base;
        Settings s = initialSettings(base.path);
        s.tooltips = 0;
        s.lastPictureFolder = QStringLiteral("/home/cook/My Pictures/Caf\u00e9 & Co/");
        s.formatIndex = 4;
        s.landscape = true;
        QVERIFY(WriteOptions(base.path, s));
        QVERIFY(base.get().contains("\r\n/home/cook/My Pictures/Caf\xe9 & Co/\r\n"));
        Settings read = initialSettings(base.path);
        QCOMPARE(ReadOptions(base.path, read), OptionsRead::Read);
        QCOMPARE(read.tooltips, 0);
        QCOMPARE(read.lastPictureFolder, s.lastPictureFolder);
        QCOMPARE(read.formatIndex, 4);
        QVERIFY(read.landscape);
        // A folder the code page cannot hold comes back as itself, not with "?".
        s.lastPictureFolder = base.path + QStringLiteral("Zdj\u0119cia/");
        QVERIFY(QDir().mkpath(s.lastPictureFolder));
        QVERIFY(WriteOptions(base.path, s));
        QCOMPARE(ReadOptions(base.path, read), OptionsRead::Read);
        QCOMPARE(read.lastPictureFolder, s.lastPictureFolder);
    }

    void wrongHeaderChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("other version") << QByteArray("[KV 2.0]");
        QTest::newRow("lower case") << QByteArray("[kv 2.00]");
        QTest::newRow("trailing blank") << QByteArray("[KV 2.00] ");
        QTest::newRow("empty") << QByteArray();
    }
    void wrongHeaderChangesNothing()
    {
        QFETCH(QByteArray, header);
        Base base;
        base.put(header + "\r\n0\r\n/x/\r\n3\r\n1\r\n");
        Settings s = initialSettings(base.path);
        QCOMPARE(ReadOptions(base.path, s), OptionsRead::WrongHeader);
        QCOMPARE(s.tooltips, 1);
        QCOMPARE(s.lastPictureFolder, base.path);
    }

    void badContent_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("tooltips");
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("landscape");
        const int read = int(OptionsRead::Read);
        const int failed = int(OptionsRead::Failed);
        QTest::newRow("short file keeps the rest")
            << QByteArray("[KV 2.00]\r\n0\r\n") << read << 0 << 0 << false;
        QTest::newRow("extra lines are ignored")
            << QByteArray("[KV 2.00]\r\n0\r\n/p/\r\n2\r\n1\r\nmore\r\n") << read << 0 << 2 << true;
        QTest::newRow("landscape any non-zero")
            << QByteArray("[KV 2.00]\r\n1\r\n/p/\r\n1\r\n7\r\n") << read << 1 << 1 << true;
        QTest::newRow("format out of range kept")
            << QByteArray("[KV 2.00]\r\n1\r\n/p/\r\n99\r\n0\r\n") << read << 1 << 0 << false;
        QTest::newRow("tooltips not a number")
            << QByteArray("[KV 2.00]\r\nyes\r\n/p/\r\n1\r\n0\r\n") << failed << 1 << 0 << false;
        QTest::newRow("format not a number")
            << QByteArray("[KV 2.00]\r\n0\r\n/p/\r\nA4\r\n0\r\n") << failed << 1 << 0 << false;
    }
    void badContent()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, result);
        QFETCH(int, tooltips);
        QFETCH(int, format);
        QFETCH(bool, landscape);
        Base base;
        base.put(content);
        Settings s = initialSettings(base.path);
        QString error;
        QCOMPARE(int(ReadOptions(base.path, s, &error)), result);
        QCOMPARE(s.tooltips, tooltips);
        QCOMPARE(s.formatIndex, format);
        QCOMPARE(s.landscape, landscape);
        if (result == int(OptionsRead::Failed))
            QVERIFY2(error.contains(QLatin1String("Options.kv")), qPrintable(error));
    }

    void missingFolderIsAnErrorNamingTheFile()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        QString error;
        QVERIFY(!CreateDefaultOptions(base, initialSettings(base), &error));
        QVERIFY(error.contains(QLatin1String("Options.kv")));
        Settings s = initialSettings(base);
        QCOMPARE(ReadOptions(base, s, &error), OptionsRead::Failed);
        QVERIFY(!WriteOptions(base, s, &error));
    }

    void fileIsFoundInAnyCase()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        QDir().mkpath(base + QStringLiteral("prgdata"));
        QFile f(base + QStringLiteral("prgdata/OPTIONS.KV"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[KV 2.00]\r\n0\r\n/p/\r\n1\r\n0\r\n");
        f.close();
        Settings s = initialSettings(base);
        QCOMPARE(ReadOptions(base, s), OptionsRead::Read);
        QCOMPARE(s.tooltips, 0);
        s.tooltips = 1;
        QVERIFY(WriteOptions(base, s));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("[KV 2.00]\r\n1\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestOptions)
#include "tst_options.moc"

// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/daycount.h"
#include "platform/filelookup.h"
#include "platform/filestate.h"
#include "platform/safefile.h"
#include "tests/testfiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void touch(const QString& path, const QByteArray& content = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// Sets the modification time of a folder: an old folder.
void setFolderTime(const QString& folder, time_t seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(folder).constData(), times, 0), 0);
}

// The names, separated by spaces, as a list.
QStringList names(const char* spaced)
{
    return QString::fromLatin1(spaced).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT
private slots:
    void lookupFallsBackToAnyCase()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        touch(base + QStringLiteral("Graphic/PNG/ENG/Oven.png"));
        QCOMPARE(lookupPath(base + QStringLiteral("Graphic/PNG/ENG/Oven.png")),
                 base + QStringLiteral("Graphic/PNG/ENG/Oven.png"));
        QCOMPARE(lookupPath(base + QStringLiteral("graphic/png/eng/OVEN.PNG")),
                 base + QStringLiteral("Graphic/PNG/ENG/Oven.png"));
        QVERIFY(lookupPath(base + QStringLiteral("Graphic/PNG/ENG/Grill.PNG")).isEmpty());
        QVERIFY(!pathExists(base + QStringLiteral("nothing/here")));
        QVERIFY(pathExists(base + QStringLiteral("GRAPHIC/")));
    }

    void enumerationMatchesExtensionInAnyCase()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        touch(folder + QStringLiteral("a.vrez"));
        touch(folder + QStringLiteral("B.VREZ"));
        touch(folder + QStringLiteral("c.vrez.001"));
        touch(folder + QStringLiteral("d.txt"));
        QDir().mkpath(folder + QStringLiteral("folder.vrez"));
        QStringList names = enumerateFiles(folder, QStringLiteral("*.vrez"));
        names.sort();
        QCOMPARE(names, (QStringList{QStringLiteral("B.VREZ"), QStringLiteral("a.vrez")}));
        QVERIFY(enumerateFiles(folder + QStringLiteral("missing/"), QStringLiteral("*.vrez"))
                    .isEmpty());
    }

    void foreignPathsAreFoundBesideTheRecipe()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/prepared_recipes/");
        touch(folder + QStringLiteral("Soup.vrez.003"));
        QCOMPARE(lookupForeignPath(QStringLiteral("C:\\Kochbuch\\prepared_recipes\\Soup.vrez.003"),
                                   folder),
                 folder + QStringLiteral("Soup.vrez.003"));
        QVERIFY(lookupForeignPath(QStringLiteral("C:\\x\\Other.vrez.003"), folder).isEmpty());
        QVERIFY(lookupForeignPath(QString(), folder).isEmpty());
    }

    void lookupSeesChangesOfTheFolder_data()
    {
        QTest::addColumn<int>("change");
        QTest::newRow("written by the program") << 0;
        QTest::newRow("removed by the program") << 1;
        QTest::newRow("written by another program") << 2;
    }

    // Lookups in another case use a kept listing of the folder: it must not hide a file
    // written since, nor find one removed since.
    void lookupSeesChangesOfTheFolder()
    {
        QFETCH(int, change);
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        touch(folder + QStringLiteral("old.vrez.003"));
        const time_t past = 1'000'000'000;
        setFolderTime(folder, past); // long unchanged: its listing is kept
        const QString oldPath = folder + QStringLiteral("OLD.vrez.003");
        const QString newPath = folder + QStringLiteral("NEW.vrez.003");
        QVERIFY(lookupPath(newPath).isEmpty());
        QCOMPARE(lookupPath(oldPath), folder + QStringLiteral("old.vrez.003"));

        if (change == 0)
            QVERIFY(writeFileAtomically(folder + QStringLiteral("new.vrez.003"), "x"));
        else if (change == 1)
            QVERIFY(removeFile(folder + QStringLiteral("old.vrez.003")));
        else
            touch(folder + QStringLiteral("new.vrez.003"));
        QCOMPARE(lookupPath(newPath).isEmpty(), change == 1);
        QCOMPARE(lookupPath(oldPath).isEmpty(), change == 1);
    }

    void atomicWriteReplacesContent()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/recipe.vrez");
        touch(path, "old content that is longer");
        QVERIFY(writeFileAtomically(path, "new"));
        QByteArray bytes;
        QVERIFY(readWholeFile(path, &bytes));
        QCOMPARE(bytes, QByteArray("new"));
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("recipe.vrez")});
    }

    // A replaced file keeps its permissions; a new one gets the usual ones.
    void writesKeepOrGivePermissions()
    {
        QTemporaryDir dir;
        const QString kept = dir.filePath(QStringLiteral("private.vrez"));
        touch(kept, "old");
        QVERIFY(QFile::setPermissions(kept, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(writeFileAtomically(kept, "new"));
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(kept).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0600));
        const QString fresh = dir.filePath(QStringLiteral("new.vrez"));
        QVERIFY(writeFileAtomically(fresh, "new"));
        QVERIFY(QFile::permissions(fresh) & QFileDevice::ReadOwner);
        QVERIFY(QFile::permissions(fresh) & QFileDevice::WriteOwner);
    }

    // A new file never replaces one that is there (another program may have made it a
    // moment ago): the name is reported taken, the file stays, nothing is left behind.
    void aNewFileNeverReplacesOne()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Soup.vrez"));
        QCOMPARE(writeNewFileAtomically(path, "first"), WriteResult::Written);
        QString error;
        QCOMPARE(writeNewFileAtomically(path, "second", &error), WriteResult::NameTaken);
        QByteArray bytes;
        QVERIFY(readWholeFile(path, &bytes));
        QCOMPARE(bytes, QByteArray("first"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Soup.vrez")});
        // The run's tag, which every temporary name carries: eight hexadecimal digits.
        QVERIFY2(QRegularExpression(QStringLiteral("^[0-9a-f]{8}$")).match(runTag()).hasMatch(),
                 qPrintable(runTag()));
    }

    void failedWriteKeepsTheOldFileAndNamesIt()
    {
        if (::geteuid() == 0)
            QSKIP("root can write into read-only folders");
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/ro");
        const QString path = folder + QStringLiteral("/recipe.vrez");
        touch(path, "precious");
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QString error;
        QVERIFY(!writeFileAtomically(path, "new", &error));
        QVERIFY2(error.contains(QLatin1String("recipe.vrez")), qPrintable(error));
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        QByteArray bytes;
        QVERIFY(readWholeFile(path, &bytes));
        QCOMPARE(bytes, QByteArray("precious"));
    }

    // The reader takes regular files within the limit and nothing else: a FIFO would
    // wait for a writer for ever, a device would be read until memory runs out.
    void readsOnlyBoundedRegularFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error");
        QTest::newRow("at the limit") << "limit" << QString();
        QTest::newRow("over the limit") << "over"
                                        << "larger than";
        QTest::newRow("FIFO") << "fifo"
                              << "not a regular file";
        QTest::newRow("folder") << "folder"
                                << "not a regular file";
        QTest::newRow("device") << "/dev/zero"
                                << "not a regular file";
    }

    void readsOnlyBoundedRegularFiles()
    {
        QFETCH(QString, kind);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QString path = dir.path() + QStringLiteral("/Soup.vrez.003");
        if (kind == QLatin1String("limit") || kind == QLatin1String("over"))
            touch(path, QByteArray(kind == QLatin1String("limit") ? 100 : 101, 'x'));
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(path));
        else
            path = kind;
        QByteArray bytes;
        QString message;
        QCOMPARE(readWholeFile(path, &bytes, &message, 100), error.isEmpty());
        if (error.isEmpty()) {
            QCOMPARE(bytes.size(), 100);
        } else {
            QVERIFY2(message.contains(error), qPrintable(message));
            QVERIFY2(message.contains(QDir::toNativeSeparators(path)), qPrintable(message));
        }
    }

    // A file's state is its content: other bytes of the same size differ, an empty file
    // is not a missing one, and something there that cannot be read has no state.
    void fileStates()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/Soup.vrez");
        FileState state;
        QVERIFY(readFileState(path, &state));
        QCOMPARE(state, FileState::missing());
        touch(path, "beef");
        QVERIFY(readFileState(path, &state));
        QCOMPARE(state, FileState::of("beef"));
        QVERIFY(state != FileState::of("pork"));
        QVERIFY(FileState::of("") != FileState::missing());
        QVERIFY(QFile::remove(path) && QDir().mkpath(path));
        QString error;
        QVERIFY(!readFileState(path, &state, &error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    }

    // A write that fails says why, as the system tells it ("No space left on device" on a
    // full disk; here the file-size limit stands in for it), and leaves nothing behind.
    void failedWriteSaysWhy()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/Soup.vrez");
        touch(path, "precious");
        QString error;
        bool written = true;
        withFileSizeLimit(
            16, [&] { written = writeFileAtomically(path, QByteArray(4096, 'x'), &error); });
        QVERIFY(!written);
        QVERIFY2(error.contains(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(error));
        QVERIFY(error.contains(QLatin1String("Soup.vrez")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Soup.vrez")});
        QByteArray bytes;
        QVERIFY(readWholeFile(path, &bytes));
        QCOMPARE(bytes, QByteArray("precious"));
    }

    // A batch of new files: before its commit only temporaries of the shape start-up
    // clears are there (what a crash leaves); the commit gives each file its name, sends
    // a name taken since to the next one, and never replaces a file; a failed write
    // leaves only what was committed before.
    void newFileBatch_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<QStringList>("committed");
        QTest::addColumn<QStringList>("kept"); // the files afterwards, with their bytes
        QTest::newRow("committed")
            << "" << names("a.vrez b.vrez c.vrez") << names("a.vrez=a b.vrez=b c.vrez=c");
        QTest::newRow("crash before the commit") << "crash" << QStringList() << QStringList();
        QTest::newRow("discarded") << "discard" << QStringList() << QStringList();
        QTest::newRow("a name taken before the commit")
            << "take b.vrez" << names("a.vrez b2.vrez c.vrez")
            << names("a.vrez=a b.vrez=theirs b2.vrez=b2 c.vrez=c");
        QTest::newRow("the next name taken too")
            << "take b.vrez b2.vrez" << names("a.vrez b3.vrez c.vrez")
            << names("a.vrez=a b.vrez=theirs b2.vrez=theirs b3.vrez=b3 c.vrez=c");
        QTest::newRow("a name taken, without a renamer")
            << "take b.vrez norenamer" << names("a.vrez") << names("a.vrez=a b.vrez=theirs");
        QTest::newRow("a failed write")
            << "full" << names("a.vrez b.vrez c.vrez") << names("a.vrez=a b.vrez=b c.vrez=c");
    }

    void newFileBatch()
    {
        QFETCH(QString, event);
        QFETCH(QStringList, committed);
        QFETCH(QStringList, kept);
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        auto files = [&] {
            QStringList out;
            for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
                QByteArray bytes;
                readWholeFile(folder + name, &bytes);
                out << name + QLatin1Char('=') + QString::fromLatin1(bytes);
            }
            return out;
        };
        {
            // A folder that is not there fails the first add, naming the file.
            NewFileBatch missing(folder + QStringLiteral("gone"));
            QString error;
            QVERIFY(!missing.add(QStringLiteral("a.vrez"), "a", &error));
            QVERIFY2(error.contains(QLatin1String("gone/a.vrez")), qPrintable(error));
            QCOMPARE(missing.size(), 0);
        }
        {
            NewFileBatch batch(folder, 3, 4); // full at three files or four bytes
            for (const char* name : {"a", "b", "c"}) {
                QVERIFY(!batch.isFull());
                QVERIFY(batch.add(QLatin1String(name) + QStringLiteral(".vrez"), name));
            }
            QVERIFY(batch.isFull());
            QCOMPARE(batch.size(), 3);
            // Nothing but temporaries that name their file and this run.
            const QStringList temporaries = QDir(folder).entryList(QDir::Files | QDir::Hidden);
            QCOMPARE(temporaries.size(), 3);
            for (const QString& name : temporaries) {
                QString target;
                QString tag;
                QVERIFY2(isLeftoverTemporaryName(name, &target, &tag), qPrintable(name));
                QCOMPARE(tag, runTag());
                QVERIFY(name.startsWith(target + QStringLiteral(".dilbotmp-")));
            }
            if (event == QLatin1String("crash")) {
                // What start-up does once this run has ended.
                QCOMPARE(removeLeftoverTemporaryFiles(folder, [](const QString&) { return false; })
                             .size(),
                         3);
                QCOMPARE(files(), kept);
                return;
            }
            if (event == QLatin1String("discard")) {
                batch.discard();
                QCOMPARE(batch.size(), 0);
                QVERIFY(batch.commit());
                QVERIFY(batch.committed().isEmpty());
                QCOMPARE(files(), kept);
                return;
            }
            for (const QString& word : event.split(QLatin1Char(' '))) {
                if (word.endsWith(QLatin1String(".vrez")))
                    touch(folder + word, "theirs");
            }
            int renamed = 0;
            const auto renamer = [&](QString* name) {
                ++renamed;
                *name = QStringLiteral("b%1.vrez").arg(renamed + 1);
                return QStringLiteral("b%1").arg(renamed + 1).toLatin1();
            };
            QString error;
            const bool ok = event.contains(QLatin1String("norenamer"))
                                ? batch.commit({}, &error)
                                : batch.commit(renamer, &error);
            QCOMPARE(ok, !event.contains(QLatin1String("norenamer")));
            if (!ok)
                QVERIFY2(error.contains(QLatin1String("b.vrez")), qPrintable(error));
            QCOMPARE(batch.committed(), committed);
            QCOMPARE(batch.size(), 0);
            if (event.isEmpty()) {
                // The next batch counts its bytes afresh.
                QVERIFY(batch.add(QStringLiteral("d.vrez"), "ddd"));
                QVERIFY(!batch.isFull());
                QVERIFY(batch.add(QStringLiteral("e.vrez"), "e"));
                QVERIFY(batch.isFull());
            }
            if (event == QLatin1String("full")) {
                // A write the file-size limit refuses, as a full disk would.
                QVERIFY(batch.add(QStringLiteral("d.vrez"), "d"));
                bool added = true;
                withFileSizeLimit(16, [&] {
                    added = batch.add(QStringLiteral("e.vrez"), QByteArray(64, 'e'), &error);
                });
                QVERIFY(!added);
                QVERIFY2(error.contains(QLatin1String("e.vrez")), qPrintable(error));
                QVERIFY2(error.contains(QString::fromLocal8Bit(std::strerror(EFBIG))),
                         qPrintable(error));
                QCOMPARE(batch.size(), 1); // d stays added until the batch is dropped
            }
        }
        // The batch is gone: what it had not committed is removed.
        QCOMPARE(files(), kept);
    }

    // Temporary files of ours left by a kill between writing and renaming are removed
    // when the run that wrote them has ended; a user's copies stay whatever they hold.
    void leftoversOfACrashAreRemoved_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("targets");
        QTest::addColumn<bool>("removed");
        const QString ended = QStringLiteral("Soup.vrez.003.dilbotmp-0badf00d-Ab12Cd");
        QTest::newRow("of an ended run") << ended << QStringList() << true;
        QTest::newRow("of a running program")
            << "Soup.vrez.003.dilbotmp-a1a1a1a1-Ab12Cd" << QStringList() << false;
        QTest::newRow("of the deleted recipe") << "soup.VREZ.dilbotmp-0badf00d-Ab12Cd"
                                               << QStringList{QStringLiteral("Soup.vrez")} << true;
        QTest::newRow("of another recipe") << "Stew.vrez.dilbotmp-0badf00d-Ab12Cd"
                                           << QStringList{QStringLiteral("Soup.vrez")} << false;
        // Copies users make, all starting with our header.
        for (const char* copy : {"Easy Chili Con Carne.vrez.backup", "X.vrez.2024v1",
                                 "Options.kv.backup", "Options.kv.old001", "Sunday.kvp.backup",
                                 "Soup.vrez.tmp-backup", "Soup.vrez.003.Ab12Cd"})
            QTest::newRow(copy) << QString::fromLatin1(copy) << QStringList() << false;
    }

    void leftoversOfACrashAreRemoved()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, targets);
        QFETCH(bool, removed);
        QTemporaryDir dir;
        touch(dir.filePath(name), "[MENDRAKE_TARVOLIN 2.00]\r\n");
        const auto alive = [](const QString& tag) { return tag == QLatin1String("a1a1a1a1"); };
        QCOMPARE(removeLeftoverTemporaryFiles(dir.path(), alive, targets),
                 removed ? QStringList{name} : QStringList());
        QCOMPARE(QFileInfo::exists(dir.filePath(name)), !removed);
    }

    // Paths the code page holds are stored byte for byte as before; others are stored
    // as UTF-8 and found again instead of coming back with "?".
    void pathsSurviveTheCodePage_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("Windows path") << QStringLiteral("C:\\Bilder\\K\u00e4se \u20ac.png") << false
                                      << QByteArray("C:\\Bilder\\K\xe4se \x80.png");
        QTest::newRow("beyond the code page") << QStringLiteral("Zdj\u0119cia/ser.png") << true
                                              << QByteArray("Zdj\xc4\x99"
                                                            "cia/ser.png");
        QTest::newRow("missing, beyond the code page")
            << QStringLiteral("Zdj\u0119cia/gone.png") << false
            << QByteArray("Zdj\xc4\x99"
                          "cia/gone.png");
    }

    void pathsSurviveTheCodePage()
    {
        QFETCH(QString, path);
        QFETCH(bool, exists);
        QFETCH(QByteArray, stored);
        QTemporaryDir dir;
        const QString full = path.contains(QLatin1Char(':')) ? path : dir.filePath(path);
        const QByteArray fullStored =
            path.contains(QLatin1Char(':'))
                ? stored
                : QFile::encodeName(dir.path() + QLatin1Char('/')) + stored;
        if (exists)
            touch(full);
        QCOMPARE(pathToFileText(full), fullStored);
        // A missing file is still read back as the same bytes, whichever reading is used.
        QCOMPARE(exists ? fileTextToPath(fullStored) : QString(), exists ? full : QString());
        QCOMPARE(pathToFileText(fileTextToPath(fullStored)), fullStored);
    }

    void writeIntoMissingFolderFails()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!writeFileAtomically(dir.path() + QStringLiteral("/missing/x.kv"), "x", &error));
        QVERIFY(error.contains(QLatin1String("x.kv")));
        QVERIFY(!readWholeFile(dir.path() + QStringLiteral("/missing/x.kv"), nullptr, &error));
        QVERIFY(error.contains(QLatin1String("x.kv")));
    }

    void dayCounts_data()
    {
        QTest::addColumn<double>("days");
        QTest::addColumn<QDateTime>("dateTime");
        QTest::newRow("epoch") << 0.0 << QDateTime(QDate(1899, 12, 30), QTime(0, 0));
        QTest::newRow("noon next day") << 1.5 << QDateTime(QDate(1899, 12, 31), QTime(12, 0));
        QTest::newRow("2023") << 45000.25 << QDateTime(QDate(2023, 3, 15), QTime(6, 0));
        QTest::newRow("before the epoch") << -1.25 << QDateTime(QDate(1899, 12, 29), QTime(6, 0));
    }
    void dayCounts()
    {
        QFETCH(double, days);
        QFETCH(QDateTime, dateTime);
        QCOMPARE(dateTimeFromDayCount(days), dateTime);
        QCOMPARE(dayCountFromDateTime(dateTime), days);
    }

    void absurdDayCountsGiveNoDate()
    {
        QVERIFY(!dateTimeFromDayCount(1e300).isValid());
        QVERIFY(!dateTimeFromDayCount(-1e9).isValid());
        const double now = currentDayCount();
        QVERIFY(now > 45000 && now < 80000);
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"

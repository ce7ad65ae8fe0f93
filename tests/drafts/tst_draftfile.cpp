// SPDX-License-Identifier: GPL-2.0-or-later

#include "tests/testfiles.h"

#include "drafts/draftfile.h"
#include "drafts/draftlist.h"
#include "platform/filelookup.h"
#include "preview/draftlayout.h"

#include <QTemporaryDir>

#include <sys/stat.h>
#include <utility>

// The draft file both ways, the failing write, and the rules of the draft list.

namespace {

/// A draft file's bytes from its lines, each ended by CR LF.
QByteArray lines(const QByteArrayList& list)
{
    QByteArray out;
    for (const QByteArray& line : list)
        out += line + "\r\n";
    return out;
}

/// A draft file as the program writes it, with count placements (element i at
/// Left 10 * i, Top 20 * i, page i % 3 - 1) and the given comment lines.
QByteArray draftFile(int count, const QByteArrayList& comments = {},
                     const QByteArray& orientation = "0", const QByteArray& reserved = "")
{
    QByteArrayList l = {"[KV 2.0]", "spare", "Sunday", "0", "2", orientation, "0", "0"};
    l << QByteArray::number(comments.size()) << comments;
    for (int i = 0; i < 10; ++i)
        l << reserved;
    l << QByteArray::number(count);
    for (int i = 0; i < count; ++i) {
        l << QByteArray::number(20 * i) << QByteArray::number(10 * i)
          << QByteArray::number(i % 3 - 1);
        for (int k = 0; k < 10; ++k)
            l << reserved;
    }
    return lines(l);
}

TDruckvorlage parsed(const QByteArray& bytes, DraftRead expected = DraftRead::Read)
{
    TDruckvorlage draft;
    QString error;
    const DraftRead result = parseDraft(bytes, QStringLiteral("/d/x.kvp"), draft, &error);
    if (result != expected)
        qWarning("read gave %d, error %s", int(result), qPrintable(error));
    return draft;
}

} // namespace

class DraftFileTest : public QObject {
    Q_OBJECT

private slots:
    void reservedLinesAreSkippedWhateverTheyHold();
    void numbersAreTheirLeadingDigits();
    void roundTripIsByteExact_data();
    void roundTripIsByteExact();
    void placementCounts();
    void orientationOtherThanZeroIsLandscape_data();
    void orientationOtherThanZeroIsLandscape();
    void rejectedHeaders_data();
    void rejectedHeaders();
    void earlyEnd();
    void numberErrorsNameFileAndLine_data();
    void numberErrorsNameFileAndLine();
    void hugeCountsReadWhatTheFileHolds();
    void failedWriteKeepsOldFiles();
    void draftList();
    void fileNameFromDialog_data();
    void fileNameFromDialog();
    void thumbnailShowsOnePage();
};

void DraftFileTest::roundTripIsByteExact_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lineCount");
    QTest::newRow("no comments") << draftFile(13) << 189;
    QTest::newRow("two comments, code page text")
        << draftFile(13, {"Sonntagsbraten f\xfcr vier", ""}) << 191;
    // Spare lines and every number form the program writes.
    QTest::newRow("spare lines, negative places")
        << lines({"[KV 2.0]", "kept \x80", "Deluxe \xe9t\xe9",
                  "1",        "4",         "1",
                  "1",        "2",         "a",
                  "",         "1",         "c",
                  "",         "",          "",
                  "",         "",          "",
                  "",         "",          "",
                  "",         "1",         "-7",
                  "-30",      "1",         "",
                  "",         "",          "",
                  "",         "",          "",
                  "",         "",          ""})
        << 36;
}

void DraftFileTest::roundTripIsByteExact()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lineCount);
    QCOMPARE(bytes.count("\r\n"), lineCount);
    const TDruckvorlage draft = parsed(bytes);
    QCOMPARE(draftFileBytes(draft), bytes);
}

void DraftFileTest::placementCounts()
{
    // 12 placements leave element 12 where it is; 14 are read whole and the 14th is
    // ignored when applied; capturing the preview again stores 13.
    for (int count : {12, 14}) {
        TDruckvorlage draft = parsed(draftFile(count));
        QCOMPARE(draft.Placements.size(), count);
        QCOMPARE(draft.Placements.at(11).Left, 110);
        QCOMPARE(draft.Placements.at(11).Top, 220);
        ElementArray elements;
        ResetElements(elements, ResetMode::Create);
        for (TGFXL& e : elements)
            e.ContentFile = QStringLiteral("x");
        elements[12].Left = 5;
        PreviewState state;
        const QList<int> placed = applyDraftLayout(draft, state, elements);
        QCOMPARE(placed.size(), std::min(count, kElementCount));
        QCOMPARE(elements.at(11).Left, 110);
        QCOMPARE(elements.at(12).Left, count == 12 ? 5 : 120);
        CapturePlacements(draft, elements);
        QCOMPARE(draft.Placements.size(), 13);
    }
}

void DraftFileTest::orientationOtherThanZeroIsLandscape_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("landscape");
    QTest::newRow("0") << QByteArray("0") << false;
    QTest::newRow("1") << QByteArray("1") << true;
    QTest::newRow("2") << QByteArray("2") << true;
    QTest::newRow("-1") << QByteArray("-1") << true;
}

void DraftFileTest::orientationOtherThanZeroIsLandscape()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, landscape);
    const TDruckvorlage draft = parsed(draftFile(13, {}, line));
    QCOMPARE(draft.Landscape, landscape);
    QCOMPARE(draftFileBytes(draft), draftFile(13, {}, landscape ? "1" : "0"));
}

void DraftFileTest::rejectedHeaders_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("lower case") << QByteArray("[kv 2.0]");
    QTest::newRow("trailing blank") << QByteArray("[KV 2.0] ");
    QTest::newRow("leading blank") << QByteArray(" [KV 2.0]");
    QTest::newRow("options header") << QByteArray("[KV 2.00]");
    QTest::newRow("empty file") << QByteArray();
}

void DraftFileTest::rejectedHeaders()
{
    QFETCH(QByteArray, header);
    QByteArray bytes = draftFile(13);
    bytes.replace(0, 8, header);
    if (header.isEmpty())
        bytes.clear();
    TDruckvorlage draft;
    draft.DisplayName = QStringLiteral("before");
    draft.PaperFormat = 4;
    draft.Placements = {{1, 2, 0}};
    QString error;
    QCOMPARE(parseDraft(bytes, QStringLiteral("/d/x.kvp"), draft, &error), DraftRead::WrongHeader);
    QVERIFY(draft.Placements.isEmpty());
    QCOMPARE(draft.DisplayName, QStringLiteral("before"));
    QCOMPARE(draft.PaperFormat, 4);
    QVERIFY2(error.contains(QStringLiteral("x.kvp")), qPrintable(error));
}

void DraftFileTest::earlyEnd()
{
    // Cut inside the third placement: texts and numbers past the end are empty and 0,
    // and no placement is made that would start after the end.
    const QByteArray whole = draftFile(13, {"one"});
    const qsizetype cut = whole.indexOf("\r\n40\r\n") + 2; // Top of placement 2
    TDruckvorlage draft = parsed(whole.left(cut + 4));     // "40\r\n": Top, no Left
    QCOMPARE(draft.DisplayName, QStringLiteral("Sunday"));
    QCOMPARE(draft.DraftComments, QStringList{QStringLiteral("one")});
    QCOMPARE(draft.Placements.size(), 3);
    QCOMPARE(draft.Placements.at(2).Top, 40);
    QCOMPARE(draft.Placements.at(2).Left, 0);
    QCOMPARE(draft.Placements.at(2).Page, 0);

    draft = parsed(lines({"[KV 2.0]", "spare"}));
    QCOMPARE(draft.Spare, QStringLiteral("spare"));
    QVERIFY(draft.DisplayName.isEmpty());
    QCOMPARE(draft.PaperFormat, 0);
    QVERIFY(draft.Placements.isEmpty());
}

void DraftFileTest::numberErrorsNameFileAndLine_data()
{
    QTest::addColumn<int>("line"); // 1-based line replaced by a word
    QTest::newRow("layout kind") << 4;
    QTest::newRow("comment count") << 9;
    QTest::newRow("placement count") << 20;
    QTest::newRow("Left of element 5") << 21 + 5 * 13 + 1;
}

void DraftFileTest::numberErrorsNameFileAndLine()
{
    QFETCH(int, line);
    QByteArrayList l = draftFile(13).split('\n');
    l[line - 1] = "twelve\r";
    TDruckvorlage draft;
    draft.DisplayName = QStringLiteral("kept");
    draft.Placements = {{1, 2, 0}};
    QString error;
    QCOMPARE(parseDraft(l.join('\n'), QStringLiteral("/d/x.kvp"), draft, &error),
             DraftRead::Malformed);
    QVERIFY2(error.contains(QStringLiteral("x.kvp")) &&
                 error.contains(QStringLiteral("line %1").arg(line)),
             qPrintable(error));
    // Nothing of a draft that stopped half-way is taken over.
    QCOMPARE(draft.DisplayName, QStringLiteral("kept"));
    QCOMPARE(draft.Placements.size(), 1);
}

void DraftFileTest::hugeCountsReadWhatTheFileHolds()
{
    QByteArrayList l = draftFile(2, {"a", "b"}).split('\n');
    l[8] = "2000000000\r"; // comment count: the rest of the file becomes comments
    TDruckvorlage draft = parsed(l.join('\n'));
    QCOMPARE(draft.DraftComments.size(), l.size() - 10);
    QVERIFY(draft.Placements.isEmpty());

    l = draftFile(3).split('\n');
    l[20 - 1] = "2000000000\r"; // placement count
    draft = parsed(l.join('\n'));
    QCOMPARE(draft.Placements.size(), 3);
    QCOMPARE(draft.Placements.at(2).Left, 20);
}

void DraftFileTest::failedWriteKeepsOldFiles()
{
    QTemporaryDir dir;
    const QString base = dir.path() + QLatin1Char('/');
    const QString folder = base + QStringLiteral("PRGDATA/drafts/normal/");
    TDruckvorlage draft = parsed(draftFile(13));
    const QImage thumbnail(20, 30, QImage::Format_RGB32);

    // No draft folder: nothing is created.
    draft.DraftFile = folder + QStringLiteral("Sunday.kvp");
    QString error;
    QVERIFY(!WriteDraft(draft, thumbnail, base, &error));
    QVERIFY2(error.contains(QStringLiteral("Sunday.kvp")), qPrintable(error));
    QVERIFY(!QFileInfo::exists(base + QStringLiteral("PRGDATA")));

    // The draft file cannot be replaced (a folder stands there): the thumbnail that was
    // there is kept, and none is left where there was none.
    QVERIFY(QDir().mkpath(folder + QStringLiteral("Sunday.kvp")));
    putFile(folder + QStringLiteral("Sunday.kvp.bmp"), "old thumbnail");
    QVERIFY(QDir().mkpath(folder + QStringLiteral("Monday.kvp")));
    for (const char* name : {"Sunday.kvp", "Monday.kvp"}) {
        draft.DraftFile = folder + QLatin1String(name);
        error.clear();
        QVERIFY(!WriteDraft(draft, thumbnail, base, &error));
        QVERIFY2(error.contains(QLatin1String(name)), qPrintable(error));
    }
    QCOMPARE(fileBytes(folder + QStringLiteral("Sunday.kvp.bmp")), QByteArray("old thumbnail"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("Sunday.kvp.bmp")});

    // The thumbnail cannot be written: the draft that was there is put back.
    putFile(folder + QStringLiteral("Wednesday.kvp"), "old draft");
    QVERIFY(QDir().mkpath(folder + QStringLiteral("Wednesday.kvp.bmp")));
    draft.DraftFile = folder + QStringLiteral("Wednesday.kvp");
    QVERIFY(!WriteDraft(draft, thumbnail, base, &error));
    QCOMPARE(fileBytes(draft.DraftFile), QByteArray("old draft"));
    // ... and a new draft goes again.
    QVERIFY(QDir().mkpath(folder + QStringLiteral("Friday.kvp.bmp")));
    draft.DraftFile = folder + QStringLiteral("Friday.kvp");
    QVERIFY(!WriteDraft(draft, thumbnail, base, &error));
    QVERIFY(!QFileInfo::exists(draft.DraftFile));

    // Written: the draft reads back, the thumbnail is a bitmap of the sheet's size. The
    // draft was written first, so a kill between the two never leaves a new thumbnail
    // beside the old draft.
    draft.DraftFile = folder + QStringLiteral("Tuesday.kvp");
    QVERIFY(WriteDraft(draft, thumbnail, base, &error));
    QCOMPARE(fileBytes(draft.DraftFile), draftFileBytes(draft));
    const QString thumb = folder + QStringLiteral("Tuesday.kvp.bmp");
    QCOMPARE(QImage(thumb, "BMP").size(), QSize(20, 30));
    struct stat draftInfo {};
    struct stat thumbInfo {};
    QCOMPARE(::stat(QFile::encodeName(draft.DraftFile).constData(), &draftInfo), 0);
    QCOMPARE(::stat(QFile::encodeName(thumb).constData(), &thumbInfo), 0);
    QVERIFY(std::pair(draftInfo.st_mtim.tv_sec, draftInfo.st_mtim.tv_nsec) <
            std::pair(thumbInfo.st_mtim.tv_sec, thumbInfo.st_mtim.tv_nsec));
}

void DraftFileTest::draftList()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QByteArray normal = draftFile(13);
    QByteArray deluxe = normal;
    deluxe.replace("Sunday\r\n0\r\n", "Sunday\r\n1\r\n");
    putFile(folder + QStringLiteral("a.kvp"), normal);
    putFile(folder + QStringLiteral("B.KVP"), QByteArray(normal).replace("Sunday", "Monday"));
    putFile(folder + QStringLiteral("deluxe.kvp"), deluxe);
    putFile(folder + QStringLiteral("header.kvp"), "[KV 2.00]\r\n");
    putFile(folder + QStringLiteral("number.kvp"),
            QByteArray(normal).replace("\r\n2\r\n", "\r\nx\r\n"));
    putFile(folder + QStringLiteral("Standard.KVP.E"), normal);
    putFile(folder + QStringLiteral("my.kvp.old"), normal);
    QVERIFY(QDir().mkpath(folder + QStringLiteral("folder.kvp")));

    // Directory order, as the lookup lists the folder.
    QStringList expected;
    for (const QString& name : enumerateFiles(folder, QStringLiteral("*.kvp"))) {
        if (name == QLatin1String("a.kvp") || name == QLatin1String("B.KVP"))
            expected << name;
    }
    const QList<TDraftFileList> normalList = BuildDraftList(folder, 0);
    QCOMPARE(normalList.size(), 2);
    for (int k = 0; k < 2; ++k) {
        QCOMPARE(normalList.at(k).path, folder + expected.at(k));
        QCOMPARE(normalList.at(k).position, k);
        QCOMPARE(normalList.at(k).displayName, expected.at(k) == QLatin1String("a.kvp")
                                                   ? QStringLiteral("Sunday")
                                                   : QStringLiteral("Monday"));
    }
    const QList<TDraftFileList> deluxeList = BuildDraftList(folder, 1);
    QCOMPARE(deluxeList.size(), 1);
    QCOMPARE(deluxeList.at(0).path, folder + QStringLiteral("deluxe.kvp"));
}

void DraftFileTest::fileNameFromDialog_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain name") << "/else/Sunday"
                                << "Sunday.kvp";
    QTest::newRow("upper-case extension") << "Sunday.KVP"
                                          << "Sunday.KVP";
    QTest::newRow("extension inside") << "my.kvp.old"
                                      << "my.kvp.old";
    QTest::newRow("Windows path") << "C:\\drafts\\Sunday.kvp"
                                  << "Sunday.kvp";
}

void DraftFileTest::fileNameFromDialog()
{
    QFETCH(QString, chosen);
    QFETCH(QString, file);
    QCOMPARE(draftFileForChoice(QStringLiteral("/b/normal/"), chosen),
             QStringLiteral("/b/normal/") + file);
}

void DraftFileTest::thumbnailShowsOnePage()
{
    ElementArray elements;
    ResetElements(elements, ResetMode::Create);
    auto put = [&](int i, int page, QRgb colour, QRect at) {
        elements[i].Page = page;
        elements[i].Left = at.left();
        elements[i].Top = at.top();
        elements[i].Bitmap = QImage(at.size(), QImage::Format_RGB32);
        elements[i].Bitmap.fill(colour);
    };
    put(0, 0, qRgb(255, 0, 0), QRect(10, 10, 20, 20));
    put(1, 0, qRgb(0, 0, 255), QRect(20, 20, 20, 20));  // over element 0
    put(2, 1, qRgb(0, 255, 0), QRect(50, 50, 10, 10));  // on page 2
    put(3, -1, qRgb(0, 255, 0), QRect(60, 10, 10, 10)); // hidden
    const QImage thumb = DrawThumbnail(elements, 0, QSize(80, 70));
    QCOMPARE(thumb.size(), QSize(80, 70));
    QCOMPARE(thumb.pixel(12, 12), qRgb(255, 0, 0));
    QCOMPARE(thumb.pixel(25, 25), qRgb(0, 0, 255));
    QCOMPARE(thumb.pixel(55, 55), qRgb(255, 255, 255));
    QCOMPARE(thumb.pixel(65, 15), qRgb(255, 255, 255));
}

// A number line is read up to its first digit or sign and the integer there is taken;
// what follows it on the line is passed over. No digit there, or a number out of
// range, is a damaged draft.
void DraftFileTest::numbersAreTheirLeadingDigits()
{
    const int left5 = 21 + 5 * 13 + 1; // the line of element 5's Left
    for (const auto& [text, value] :
         {std::pair("1junk", 1), std::pair("  -3 cm", -3), std::pair("+12a", 12)}) {
        QByteArrayList l = draftFile(13).split('\n');
        l[left5 - 1] = QByteArray(text) + '\r';
        QCOMPARE(parsed(l.join('\n')).Placements.at(5).Left, value);
    }
    for (const char* text : {"x12", "99999999999", "-"}) {
        QByteArrayList l = draftFile(13).split('\n');
        l[left5 - 1] = QByteArray(text) + '\r';
        TDruckvorlage draft;
        QCOMPARE(parseDraft(l.join('\n'), QStringLiteral("x.kvp"), draft), DraftRead::Malformed);
    }
}

// Another program may keep numbers in the reserved lines: they are passed over as
// lines, never read as the placements that follow them.
void DraftFileTest::reservedLinesAreSkippedWhateverTheyHold()
{
    const TDruckvorlage plain = parsed(draftFile(3));
    const TDruckvorlage filled = parsed(draftFile(3, {}, "0", "7 7"));
    QCOMPARE(filled.Placements.size(), 3);
    QCOMPARE(draftFileBytes(filled), draftFileBytes(plain));
}

QTEST_GUILESS_MAIN(DraftFileTest)
#include "tst_draftfile.moc"

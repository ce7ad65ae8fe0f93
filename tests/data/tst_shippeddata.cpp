// SPDX-License-Identifier: GPL-2.0-or-later
// Checks the base folder the installation ships: every interface picture the program
// loads is there under its exact name, with its size and format and something drawn on
// it; icon files are well-formed; every demo recipe reads cleanly, finds its device
// pictures, its side files and its picture.

#include "drafts/draftfile.h"
#include "imaging/pictureloader.h"
#include "platform/cp1252.h"
#include "platform/filelookup.h"
#include "platform/richtext/rtfreader.h"
#include "recipes/recipefile.h"
#include "recipes/recipetexts.h"
#include "recipes/textrules.h"
#include "recipes/upgrade.h"
#include "tests/testfiles.h"

#include <QDirIterator>
#include <QImageReader>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

const QString kData = QStringLiteral(DILBO_DATA_DIR "/");

// How the area around a picture's drawing looks.
enum class Ground {
    Transparent, // the corner pixel is fully transparent (icons shown over other things)
    Opaque,      // every pixel opaque (pictures, and icons that are printed as they are)
};

struct Expected {
    QString path;
    QSize size;
    QByteArray format;
    Ground ground;
};

const QStringList kDevices = {
    QStringLiteral("baking dish"),    QStringLiteral("baking oven"),
    QStringLiteral("barbecue"),       QStringLiteral("cooking pot"),
    QStringLiteral("deep fryer"),     QStringLiteral("fondue"),
    QStringLiteral("juicer"),         QStringLiteral("microwave"),
    QStringLiteral("mixer"),          QStringLiteral("ovenproof dish"),
    QStringLiteral("raclette set"),   QStringLiteral("refrigerator"),
    QStringLiteral("sandwich maker"), QStringLiteral("skillet"),
    QStringLiteral("waffle iron"),    QStringLiteral("water bath"),
};

QList<Expected> expectedPictures()
{
    QList<Expected> out;
    const QString ico = QStringLiteral("Graphic/ICO/24/");
    const QString png = QStringLiteral("Graphic/PNG/");
    for (int n = 0; n <= 5; ++n)
        out.append({ico + QString::number(n) + QStringLiteral(".ICO"),
                    {24, 24},
                    "ico",
                    Ground::Transparent});
    for (int n = 1; n <= 5; ++n)
        out.append({ico + QString::number(n) + QStringLiteral("g.ico"),
                    {24, 24},
                    "ico",
                    Ground::Transparent});
    for (int n = 1; n <= 5; ++n) {
        out.append({png + QString::number(n) + QStringLiteral("_32.png"),
                    {32, 32},
                    "png",
                    Ground::Transparent});
        out.append({png + QString::number(n) + QStringLiteral("_Sterne.png"),
                    {30, 30},
                    "png",
                    Ground::Transparent});
    }
    for (const char* name :
         {"Normal_48.png", "Deluxe_48.png", "Ordner_48.png", "Zeitschrift_48.png", "Buch_48.png"})
        out.append({png + QLatin1String(name), {48, 48}, "png", Ground::Opaque});
    for (const char* name :
         {"Kalendar_Today.png", "Kalendar_Yesterday.png", "Kalendar_Tomorrow.png"})
        out.append({png + QLatin1String(name), {30, 30}, "png", Ground::Transparent});
    out.append({png + QStringLiteral("DummyKochgeraet.png"), {32, 32}, "png", Ground::Transparent});
    out.append({png + QStringLiteral("Rezeptdummy.png"), {281, 145}, "png", Ground::Opaque});
    out.append({png + QStringLiteral("Background.png"), {1024, 768}, "png", Ground::Opaque});
    for (const char* name :
         {"Erdbeer_Marzipan_Torte.png", "ChiliconCarneschnell.png", "Pancakes.png",
          "Vegetable_Curry.png", "Cheese_Fondue.png", "Belgian_Waffles.png"})
        out.append({png + QLatin1String(name), {281, 145}, "png", Ground::Opaque});
    for (const QString& device : kDevices)
        out.append({png + QStringLiteral("ENG/") + device + QStringLiteral(".PNG"),
                    {32, 32},
                    "png",
                    Ground::Transparent});
    out.append({png + QStringLiteral("ENG/Tarvolin.png"), {32, 32}, "png", Ground::Transparent});
    out.append({png + QStringLiteral("ENG/kvlogo.png"), {32, 32}, "png", Ground::Transparent});
    for (const char* name : {"Pfeil_Left.bmp", "Pfeil_Right.bmp", "Drucker.bmp"})
        out.append({QStringLiteral("Graphic/BMP/") + QLatin1String(name),
                    {24, 24},
                    "bmp",
                    Ground::Opaque});
    out.append({QStringLiteral("Dilboscan.ico"), {16, 16}, "ico", Ground::Transparent});
    return out;
}

// Distinct colours, capped, and the share of pixels that are not fully transparent.
struct Coverage {
    int colours = 0;
    double visible = 0;
};

Coverage coverage(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    qint64 visible = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) > 0)
                ++visible;
            if (colours.size() < 64)
                colours.insert(c);
        }
    }
    return {int(colours.size()), double(visible) / (image.width() * image.height())};
}

// One entry of an icon file's directory.
struct IconEntry {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    quint32 bytes = 0;
    quint32 offset = 0;
};

// Reads the directory of an icon file; an empty list when the header is not an icon's.
QList<IconEntry> iconDirectory(const QByteArray& file)
{
    const auto u16 = [&](qsizetype at) {
        return qFromLittleEndian<quint16>(file.constData() + at);
    };
    const auto u32 = [&](qsizetype at) {
        return qFromLittleEndian<quint32>(file.constData() + at);
    };
    QList<IconEntry> entries;
    if (file.size() < 6 || u16(0) != 0 || u16(2) != 1)
        return entries;
    const int count = u16(4);
    if (file.size() < 6 + 16 * count)
        return entries;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = 6 + 16 * i;
        const auto byte = [&](qsizetype k) { return int(quint8(file.at(at + k))); };
        entries.append({byte(0) == 0 ? 256 : byte(0), byte(1) == 0 ? 256 : byte(1), u16(at + 6),
                        u32(at + 8), u32(at + 12)});
    }
    return entries;
}

QStringList recipeFiles()
{
    return QDir(kData + QStringLiteral("prepared_recipes"))
        .entryList({QStringLiteral("*.vrez")}, QDir::Files, QDir::Name);
}

} // namespace

class TestShippedData : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_base;
    TKV m_catalogue;
    QList<FileProblem> m_problems;

    const TKVG* recipe(const QString& fileName) const
    {
        for (const TKVG& r : m_catalogue) {
            if (r.FileName == fileName)
                return &r;
        }
        return nullptr;
    }

private slots:
    // The program starts in a copy of the folder: old files are converted there, the
    // catalogue is read, and relative picture paths resolve against it.
    void initTestCase()
    {
        QVERIFY(QFileInfo::exists(kData + QStringLiteral("prepared_recipes")));
        m_base = m_dir.path() + QLatin1Char('/');
        QVERIFY(copyTree(kData, m_base));
        QVERIFY(QDir::setCurrent(m_base));
        ReadCatalogue(m_base, m_catalogue, &m_problems, OldFiles::Convert);
    }

    void pictures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("ground");
        for (const Expected& e : expectedPictures())
            QTest::newRow(qPrintable(e.path)) << e.path << e.size << e.format << int(e.ground);
    }

    void pictures()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QFETCH(QByteArray, format);
        QFETCH(int, ground);
        // The exact name: Windows finds any case, but a case-sensitive file system must too.
        QVERIFY2(QFileInfo::exists(kData + path), qPrintable(path));
        QImageReader reader(kData + path);
        QCOMPARE(reader.format(), format);
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), size);

        const Coverage seen = coverage(image);
        QVERIFY2(seen.colours >= 6, qPrintable(QStringLiteral("%1 colours").arg(seen.colours)));
        if (Ground(ground) == Ground::Transparent) {
            // A drawing on a clear ground, taking a fair part of the square.
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QVERIFY2(seen.visible > 0.2 && seen.visible < 0.99,
                     qPrintable(QString::number(seen.visible)));
        } else {
            QCOMPARE(seen.visible, 1.0);
            QVERIFY(!image.hasAlphaChannel() || image.pixelColor(0, 0).alpha() == 255);
        }
        if (format == "bmp") {
            // Button glyphs: the lower-left pixel carries the background for keying out.
            QCOMPARE(image.pixel(0, size.height() - 1), image.pixel(0, 0));
            QCOMPARE(image.pixel(size.width() - 1, 0), image.pixel(0, 0));
        }
    }

    // Nothing below Graphic/ that the program does not know, and no two names that only
    // differ in case (they would collide on Windows).
    void noStrayPictures()
    {
        QSet<QString> expected;
        for (const Expected& e : expectedPictures())
            expected.insert(e.path);
        QSet<QString> seenFolded;
        QDirIterator it(kData + QStringLiteral("Graphic"), QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next().mid(kData.size());
            QVERIFY2(!seenFolded.contains(path.toLower()), qPrintable(path));
            seenFolded.insert(path.toLower());
            QVERIFY2(expected.contains(path), qPrintable(path));
        }
        QVERIFY(!QFileInfo::exists(kData + QStringLiteral("Graphic/PNG/.keep")));
    }

    void iconFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QList<int>>("sizes");
        for (int n = 0; n <= 5; ++n) {
            const QString name = QStringLiteral("Graphic/ICO/24/%1.ICO").arg(n);
            QTest::newRow(qPrintable(name)) << name << QList<int>{24};
        }
        for (int n = 1; n <= 5; ++n) {
            const QString name = QStringLiteral("Graphic/ICO/24/%1g.ico").arg(n);
            QTest::newRow(qPrintable(name)) << name << QList<int>{24};
        }
        QTest::newRow("program icon")
            << QStringLiteral("Dilboscan.ico") << QList<int>{16, 24, 32, 48, 64, 256};
    }

    // The directory of each icon file matches its images, and every image decodes.
    void iconFiles()
    {
        QFETCH(QString, path);
        QFETCH(QList<int>, sizes);
        QFile file(kData + path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QList<IconEntry> entries = iconDirectory(bytes);
        QCOMPARE(entries.size(), sizes.size());
        QImageReader reader(kData + path);
        QCOMPARE(reader.imageCount(), int(entries.size()));
        QList<int> found;
        for (int i = 0; i < entries.size(); ++i) {
            const IconEntry& e = entries.at(i);
            QCOMPARE(e.width, e.height);
            QCOMPARE(e.bitCount, 32);
            QVERIFY(e.offset >= quint32(6 + 16 * entries.size()));
            QVERIFY(qint64(e.offset) + e.bytes <= bytes.size());
            const QByteArray payload = bytes.mid(e.offset, e.bytes);
            if (!payload.startsWith("\x89PNG")) {
                // A bitmap: its header gives the width and twice the height (colour and mask).
                QCOMPARE(qFromLittleEndian<quint32>(payload.constData()), 40u);
                QCOMPARE(qFromLittleEndian<qint32>(payload.constData() + 4), e.width);
                QCOMPARE(qFromLittleEndian<qint32>(payload.constData() + 8), 2 * e.height);
                const int maskStride = ((e.width + 31) / 32) * 4;
                QCOMPARE(payload.size(), 40 + e.width * e.height * 4 + maskStride * e.height);
            }
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
            QCOMPARE(image.size(), QSize(e.width, e.height));
            QVERIFY(coverage(image).colours >= 6);
            found.append(e.width);
        }
        QCOMPARE(found, sizes);
    }

    // Every device the editor offers has its picture, under the name recipes store.
    void editorDevicesHavePictures()
    {
        for (const QString& device : kDevices) {
            const QString path =
                kData + QStringLiteral("Graphic/PNG/ENG/") + device + QStringLiteral(".PNG");
            QVERIFY2(!loadPicture(path).isNull(), qPrintable(path));
        }
    }

    void catalogueReadsEveryRecipe()
    {
        for (const FileProblem& problem : m_problems)
            qWarning("%s", qPrintable(problem.toString()));
        QVERIFY(m_problems.isEmpty());
        QCOMPARE(m_catalogue.size(), recipeFiles().size());
    }

    void recipes_data()
    {
        QTest::addColumn<QString>("fileName");
        for (const QString& name : recipeFiles())
            QTest::newRow(qPrintable(name)) << name;
    }

    void recipes()
    {
        QFETCH(QString, fileName);
        const TKVG* read = recipe(fileName);
        QVERIFY(read);
        QVERIFY(!read->Name.isEmpty());

        // The stored values, before the catalogue's reading rules change them.
        QFile file(recipeFolder(m_base) + fileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        TKVG stored;
        FileProblem problem;
        QVERIFY(parseRecipeFile(file.readAll(), stored, &problem));
        QVERIFY2(stored.Difficulty >= 1 && stored.Difficulty <= 5,
                 qPrintable(QString::number(stored.Difficulty)));
        const QByteArrayList devices = SplitCommaList(NormaliseCommaList(stored.Devices));
        QVERIFY(devices.size() <= 7);
        for (const QByteArray& device : devices) {
            const QString picture = m_base + QStringLiteral("Graphic/PNG/ENG/") +
                                    fileTextToPath(device) + QStringLiteral(".PNG");
            QVERIFY2(pathExists(picture), device.constData());
        }
        QCOMPARE(read->Devices, NormaliseCommaList(stored.Devices));

        if (!stored.PictureFile.isEmpty()) {
            QString error;
            QVERIFY2(!loadPicture(read->PictureFile, &error).isNull(), qPrintable(error));
        }

        // Each side file is found, reads as RTF and holds the text of the plain lines;
        // no side file lies beside the recipe without being named in it.
        for (const RecipeTextField& field : recipeTextFields()) {
            const QString beside = recipeFolder(m_base) + fileName + QLatin1String(field.suffix);
            if ((read->*field.richText).isEmpty()) {
                QVERIFY2(!QFileInfo::exists(beside), qPrintable(beside));
                continue;
            }
            const QString path = existingRichTextPath(*read, field);
            QVERIFY2(!path.isEmpty(), qPrintable(read->*field.richText));
            rich::RichDocument doc;
            QString error;
            QVERIFY2(rich::readRtfFile(path, doc, &error), qPrintable(error));
            QByteArrayList lines;
            for (const QString& line : doc.plainLines())
                lines << cp1252::fromUnicode(line);
            QCOMPARE(lines, (read->*field.lines).toList());
        }
    }

    // Each layout kind has its standard draft, made by the program: it reads back as
    // written, places all thirteen elements for Letter portrait, and its thumbnail is a
    // bitmap with something drawn on it.
    void standardDrafts_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("normal") << 0;
        QTest::newRow("deluxe") << 1;
    }

    void standardDrafts()
    {
        QFETCH(int, kind);
        const QString path = standardDraftPath(kData, kind);
        QVERIFY2(path.endsWith(QLatin1String(kStandardDraftName)), qPrintable(path));
        TDruckvorlage draft;
        QString error;
        QVERIFY2(ReadDraft(path, draft, &error), qPrintable(error));
        QCOMPARE(draft.LayoutKind, kind);
        QCOMPARE(draft.PaperFormat, 2);
        QVERIFY(!draft.Landscape);
        QCOMPARE(draft.Placements.size(), 13);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(draftFileBytes(draft), file.readAll());
        QImageReader reader(path + QStringLiteral(".bmp"));
        QCOMPARE(reader.format(), QByteArray("bmp"));
        QVERIFY(coverage(reader.read()).colours >= 6);
    }

    // The demo shows what the program can do: every recipe type and every device.
    void collectionShowsEveryKindAndDevice()
    {
        QSet<int> types;
        QSet<QByteArray> devices;
        bool richText = false;
        for (int i = 0; i < m_catalogue.size(); ++i) {
            for (int t = NormalType; t <= BookType; ++t) {
                if (m_catalogue[i].hasType(t))
                    types.insert(t);
            }
            for (const QByteArray& d : SplitCommaList(m_catalogue[i].Devices))
                devices.insert(d);
            richText = richText || !m_catalogue[i].InstructionsRtf.isEmpty();
        }
        QCOMPARE(types.size(), 5);
        for (const QString& device : kDevices)
            QVERIFY2(devices.contains(device.toLatin1()), qPrintable(device));
        QVERIFY(richText);
    }
};

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_shippeddata.moc"

// SPDX-License-Identifier: GPL-2.0-or-later

#include "tests/imaging/picturewriter.h"
#include "tests/testfiles.h"

#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/session.h"
#include "editor/decorations.h"
#include "imaging/metafile.h"
#include "imaging/pictureloader.h"
#include "preview/F_Vor.h"
#include "preview/openpreview.h"
#include "preview/printers.h"

#include <QTemporaryDir>

#include <sys/mman.h>

// Every picture format the program reads, made by our own writers: loaded at its
// natural size, refused with a clear error when damaged, hostile or too large, and
// shown as the preview's recipe graphic (the editor test shows each in the editor).

using namespace testpictures;

namespace {

QByteArray pictureBytes(const QString& format)
{
    if (format == QLatin1String("wmf placeable")) {
        WmfWriter w;
        w.redRectangle(1440, 960);
        return w.finish(1440, QRect(0, 0, 1440, 960)); // 1 x 2/3 inch: 96 x 64
    }
    if (format == QLatin1String("wmf")) {
        WmfWriter w;
        w.redRectangle(2880, 1440); // twips: 192 x 96
        return w.finish();
    }
    if (format.startsWith(QLatin1String("emf"))) {
        EmfWriter w;
        w.redRectangle(120, 80);
        return w.finish(QSize(120, 80), format.mid(4));
    }
    if (format == QLatin1String("gif"))
        return redGif(40, 30);
    return redRaster(format.toLatin1().toUpper().constData(), QSize(50, 40));
}

bool reddish(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loads_data();
    void loads();
    void refuses_data();
    void refuses();
    void acceptsRecordsThatJustFit_data();
    void acceptsRecordsThatJustFit();
    void rasterUpToOurLimitLoads();
    void metafileDrawnNoLargerThanItsUse_data();
    void metafileDrawnNoLargerThanItsUse();
    void isolatedConversionGivesTheSamePicture();
    void childHasAGibibyteOfItsOwn();
    void shownInThePreview_data() { loads_data(); }
    void shownInThePreview();

private:
    QString write(const QString& name, const QByteArray& bytes);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
    QStringList m_errors;
};

void PicturesTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_base = m_dir->path() + QLatin1Char('/');
    setBaseFolder(m_base);
    m_errors.clear();
    SetErrorReportHook([this](const QString& text) { m_errors << text; });
    SetShowMsgHook([](int, int, int) { return kAnswerNo; });
}

void PicturesTest::cleanup()
{
    SetErrorReportHook({});
    SetShowMsgHook({});
    SetPreviewShownHook({});
    SetPrinters({});
    m_dir.reset();
}

QString PicturesTest::write(const QString& name, const QByteArray& bytes)
{
    const QString path = m_base + name;
    putFile(path, bytes);
    return path;
}

void PicturesTest::loads_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QSize>("size");
    QTest::newRow("png") << "png" << QSize(50, 40);
    QTest::newRow("jpeg") << "jpeg" << QSize(50, 40);
    QTest::newRow("bmp") << "bmp" << QSize(50, 40);
    QTest::newRow("ico") << "ico" << QSize(50, 40);
    QTest::newRow("gif") << "gif" << QSize(40, 30);
    QTest::newRow("wmf, placeable") << "wmf placeable" << QSize(96, 64);
    QTest::newRow("wmf, window extent") << "wmf" << QSize(192, 96);
    QTest::newRow("emf") << "emf" << QSize(120, 80);
    QTest::newRow("emf with a description") << "emf Cake" << QSize(120, 80);
}

void PicturesTest::loads()
{
    QFETCH(QString, format);
    QFETCH(QSize, size);
    // The extension does not matter: the content tells the format.
    const QString path = write(QStringLiteral("picture.dat"), pictureBytes(format));
    QString error;
    const QImage image = loadPicture(path, &error);
    QVERIFY2(!image.isNull(), qPrintable(error));
    QCOMPARE(image.size(), size);
    QVERIFY2(reddish(image.pixel(size.width() / 2, size.height() / 2)),
             qPrintable(QString::number(image.pixel(size.width() / 2, size.height() / 2), 16)));
}

void PicturesTest::refuses_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    QTest::newRow("empty") << QByteArray() << "the file is empty";
    QTest::newRow("truncated png") << pictureBytes(QStringLiteral("png")).left(60) << "";
    QTest::newRow("text") << QByteArray("just some words\r\n") << "unknown picture format";
    QTest::newRow("svg is not offered")
        << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"/>")
        << "not supported";
    QByteArray huge = pictureBytes(QStringLiteral("jpeg"));
    const qsizetype frame = huge.indexOf("\xFF\xC0"); // start of frame: height, width
    qToBigEndian<quint16>(20000, huge.data() + frame + 5);
    qToBigEndian<quint16>(20000, huge.data() + frame + 7);
    QTest::newRow("jpeg of 400 megapixels") << huge << "too large (20000 x 20000";

    const QByteArray wmf = pictureBytes(QStringLiteral("wmf placeable"));
    QTest::newRow("wmf cut short") << wmf.left(wmf.size() - 10) << "";
    WmfWriter lying;
    lying.record(0x0324, {400, 0, 0, 10, 10}); // polygon of 400 points holding 2
    QTest::newRow("wmf polygon larger than its record")
        << lying.finish(1440, QRect(0, 0, 100, 100)) << "larger than it says";
    WmfWriter polygons;
    polygons.record(0x0538, {1, 3, 0, 0, 10, 10}); // one polygon of 3 points holding 2
    QTest::newRow("wmf polypolygon larger than its record")
        << polygons.finish(1440, QRect(0, 0, 100, 100)) << "larger than it says";
    WmfWriter extText;
    extText.record(0x0A32, {0, 0, 256, 0}); // at (0, 0): 256 characters, none there
    QTest::newRow("wmf extended text larger than its record")
        << extText.finish(1440, QRect(0, 0, 100, 100)) << "larger than it says";
    QByteArray smallLargest = pictureBytes(QStringLiteral("wmf"));
    qToLittleEndian<quint32>(3, smallLargest.data() + 12); // the rectangle has 7 words
    QTest::newRow("wmf header naming too small a largest record")
        << smallLargest << "header is damaged";
    WmfWriter escape;
    escape.record(0x0626, {0x000F, 100, 0}); // a comment of 100 bytes holding 2
    QTest::newRow("wmf escape larger than its record")
        << escape.finish(1440, QRect(0, 0, 100, 100)) << "escape record is larger than it says";
    WmfWriter vast;
    vast.redRectangle(100, 100);
    QTest::newRow("wmf of 288000 pixels a side")
        << vast.finish(10, QRect(0, 0, 30000, 30000)) << "too large (288000 x 288000";

    const QByteArray emf = pictureBytes(QStringLiteral("emf"));
    QByteArray beyond = emf;
    qToLittleEndian<quint32>(4096, beyond.data() + 88 + 4); // first record's size
    QTest::newRow("emf record beyond the file") << beyond << "does not fit";
    EmfWriter text;
    text.record(84, {0, 0, 0, 0, 1, 0, 0, 0, 0, 1000, 76, 0, 0, 0, 0, 0, 0}); // 1000 chars
    QTest::newRow("emf text larger than its record") << text.finish(QSize(20, 20))
                                                     << "larger than it says";
    for (const qint64 options : {0, 0x100}) { // with and without the clipping rectangle
        EmfWriter spacing;
        QList<qint64> values{0, 0, 0, 0, 1, 0, 0, 0, 0, 3, 76, options, 0, 0, 500, 20, 4096};
        if (options)
            values.remove(12, 4);
        spacing.record(83, values + QList<qint64>{0x636261, 0, 0, 0, 0});
        QTest::newRow(qPrintable(
            QStringLiteral("emf text spacing beyond its record, options %1").arg(options)))
            << spacing.finish(QSize(20, 20)) << "larger than it says";
    }
    QTest::newRow("emf without an end") << emf.left(emf.size() - 20) << "ends early";
    QByteArray shortHeader = emf;
    qToLittleEndian<quint32>(80, shortHeader.data() + 4);
    QTest::newRow("emf header shorter than its fields") << shortHeader << "header is damaged";
    QByteArray noFrame = emf;
    qToLittleEndian<quint32>(0, noFrame.data() + 32); // the frame's right edge on its left
    QTest::newRow("emf without a frame") << noFrame << "no sane size";
    QByteArray sliver = emf;
    qToLittleEndian<quint32>(10, sliver.data() + 32); // 0.1 mm wide
    QTest::newRow("emf narrower than a pixel") << sliver << "no sane size";
    for (const auto& [length, offset] : {std::pair{4, 4096}, std::pair{40, 108}, std::pair{4, 0}}) {
        QByteArray described = pictureBytes(QStringLiteral("emf Cake"));
        qToLittleEndian<quint32>(quint32(length), described.data() + 60);
        qToLittleEndian<quint32>(quint32(offset), described.data() + 64);
        QTest::newRow(qPrintable(QStringLiteral("emf description of %1 at %2").arg(length).arg(offset)))
            << described << "description lies outside the header";
    }
}

void PicturesTest::refuses()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString path = write(QStringLiteral("bad picture.png"), bytes);
    QString error;
    QVERIFY(loadPicture(path, &error).isNull());
    QVERIFY2(error.contains(path) && error.contains(reason), qPrintable(error));
}

void PicturesTest::acceptsRecordsThatJustFit_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // Text out (ANSI): 3 characters at the record's very end, after their spacing; the
    // clipping rectangle reaches 500 units, beyond the record, and is no offset.
    EmfWriter text;
    text.record(83, {0, 0, 0, 0, 1, 0, 0, 0, 0, 3, 88, 0, 0, 0, 500, 20, 76, 8, 8, 8, 0x636261});
    QTest::newRow("emf text") << text.finish(QSize(20, 20));
    // Polypolygon with 16-bit points: one polygon whose count is all the points there are.
    EmfWriter polygons;
    polygons.record(91, {0, 0, 120, 80, 1, 4, 4, 0, 120, 120 | (80 << 16), 80 << 16});
    QTest::newRow("emf polypolygon") << polygons.finish(QSize(120, 80));
    // Escapes: the escape's function, then the count of its bytes.
    WmfWriter comment;
    comment.record(0x0626, {0x000F, 4, 0x6964, 0x6F62});
    QTest::newRow("wmf comment") << comment.finish(1440, QRect(0, 0, 100, 100));
    WmfWriter empty;
    empty.record(0x0626, {0x000F, 0});
    QTest::newRow("wmf escape without bytes") << empty.finish(1440, QRect(0, 0, 100, 100));
}

void PicturesTest::acceptsRecordsThatJustFit()
{
    QFETCH(QByteArray, bytes);
    QString why;
    QVERIFY2(checkMetafile(bytes, metafileKind(bytes), &why), qPrintable(why));
}

void PicturesTest::rasterUpToOurLimitLoads()
{
    // 36 million pixels: past the 128 MB that Qt's readers allow by default, within ours.
    const QSize size(6000, 6000);
    const QString path = write(QStringLiteral("large.png"), redRaster("PNG", size));
    QString error;
    const QImage image = loadPicture(path, &error);
    QVERIFY2(!image.isNull(), qPrintable(error));
    QCOMPARE(image.size(), size);
}

void PicturesTest::metafileDrawnNoLargerThanItsUse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("bound"); // empty: the recipe picture of the main window and editor
    QTest::addColumn<QSize>("size");
    QTest::newRow("wmf of 100 bytes declaring 9999 pixels")
        << tinyWmfOfSide(9999) << kMetafileDrawLimit << QSize(1280, 1280);
    WmfWriter wide;
    wide.redRectangle(9000, 3000);
    QTest::newRow("wide wmf keeps its aspect")
        << wide.finish(96, QRect(0, 0, 9000, 3000)) << kMetafileDrawLimit << QSize(1280, 426);
    WmfWriter flat;
    flat.redRectangle(30000, 20);
    QTest::newRow("flat wmf stays a pixel high")
        << flat.finish(96, QRect(0, 0, 30000, 20)) << kMetafileDrawLimit << QSize(1280, 1);
    QTest::newRow("emf of 2,000 rectangles as the recipe picture")
        << emfOfRectangles(2000, 9999) << QSize() << QSize(145, 145);
    QTest::newRow("emf smaller than its bound") << pictureBytes(QStringLiteral("emf"))
                                                << QSize(500, 500) << QSize(120, 80);
}

void PicturesTest::metafileDrawnNoLargerThanItsUse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, bound);
    QFETCH(QSize, size);
    const QString path = write(QStringLiteral("picture.wmf"), bytes);
    QString error;
    const QImage image = bound.isEmpty() ? cachedPicture(path, &error).toImage()
                                         : loadPicture(path, &error, PictureBounds{bound, {}});
    QVERIFY2(!image.isNull(), qPrintable(error));
    QCOMPARE(image.size(), size);
    QVERIFY(reddish(image.pixel(size.width() / 2, size.height() / 2)));
}

void PicturesTest::isolatedConversionGivesTheSamePicture()
{
    for (const char* format : {"wmf placeable", "emf"}) {
        const QByteArray bytes = pictureBytes(QLatin1String(format));
        const MetafileKind kind = metafileKind(bytes);
        QString why;
        const QImage child = renderMetafile(bytes, kind, &why, Isolation::ChildProcess);
        QVERIFY2(!child.isNull(), qPrintable(why));
        QCOMPARE(child, renderMetafile(bytes, kind, &why, Isolation::InProcess));
    }
}

// The child may take 1 GiB beyond what the program maps: a program that has mapped
// much (a large collection, a large photo shown) still gets its metafiles drawn, and a
// drawing beyond that costs the picture, with the reason, never the program.
void PicturesTest::childHasAGibibyteOfItsOwn()
{
    const QByteArray bytes = tinyWmfOfSide(30000);
    QString why;
    for (const size_t reservedMiB : {512, 2048}) {
        const size_t reservedBytes = reservedMiB << 20;
        void* reserved =
            ::mmap(nullptr, reservedBytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        QVERIFY(reserved != MAP_FAILED);
        const QImage image = renderMetafile(bytes, MetafileKind::Wmf, &why, Isolation::ChildProcess,
                                            QSize(6000, 6000)); // 144 MB
        ::munmap(reserved, reservedBytes);
        QVERIFY2(!image.isNull(),
                 qPrintable(QStringLiteral("%1 MiB: %2").arg(reservedMiB).arg(why)));
    }
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("Under the address sanitizer the child's memory is not limited");
#endif
    const QSize tooLarge(17000, 17000); // 1.16 GB of pixels
    QVERIFY(renderMetafile(bytes, MetafileKind::Wmf, nullptr, Isolation::ChildProcess, tooLarge)
                .isNull());
    QVERIFY(
        renderMetafile(bytes, MetafileKind::Wmf, &why, Isolation::ChildProcess, tooLarge).isNull());
    QVERIFY2(why.contains(QLatin1String("not enough memory for a 17000 x 17000 picture")),
             qPrintable(why));
}

void PicturesTest::shownInThePreview()
{
    QFETCH(QString, format);
    QFETCH(QSize, size);
    QVERIFY(
        copyTree(QStringLiteral(DILBO_DATA_DIR "/Graphic"), m_base + QStringLiteral("Graphic")));
    TKVG r;
    r.FileName = QStringLiteral("Dish.vrez");
    r.FilePath = m_base + QStringLiteral("prepared_recipes/Dish.vrez");
    r.Name = "Dish";
    r.Ingredients = {"salt"};
    r.PictureFile = write(QStringLiteral("dish.") + format.left(3), pictureBytes(format));

    // The preview's recipe graphic, with a one-pixel margin, shown where the default
    // layout puts it (there is no standard draft).
    SetPrinters(
        std::make_unique<FixedPagePrinter>(QStringLiteral("Laser"), QSize(4900, 6400), 600));
    Catalogue catalogue;
    catalogue.recipes = {r};
    catalogue.CurrentRecipe = 0;
    int shownPreview = 0;
    SetPreviewShownHook([&](TFVor& v) {
        ++shownPreview;
        const TGFXL& e = v.elements().at(kRecipeGraphic);
        QVERIFY(e.Shown);
        QCOMPARE(e.Bitmap.size(), size + QSize(2, 2));
        QVERIFY(reddish(e.Bitmap.pixel(size.width() / 2, size.height() / 2)));
        v.close();
    });
    OpenPreview(catalogue, true, false);
    QCOMPARE(shownPreview, 1);
    QCOMPARE(m_errors, QStringList());
}

QTEST_MAIN(PicturesTest)
#include "tst_pictures.moc"

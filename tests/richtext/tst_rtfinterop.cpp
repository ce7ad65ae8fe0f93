// SPDX-License-Identifier: GPL-2.0-or-later
// Interoperability with LibreOffice as a second RTF implementation: it must read what
// we write with the same text and fonts, and we must read what it writes. Skipped when
// soffice is not installed.

#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"

#include "sampledocuments.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace rich;
using sample::addLine;
using sample::format;
using sample::u8;

class TestRtfInterop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void libreOfficeReadsOurText();
    void libreOfficeKeepsOurFonts();
    void weReadLibreOfficeRtf();

private:
    RichDocument sampleDocument() const;
    // Converts input into outDir with soffice, in a private profile inside dir.
    QString convert(const QTemporaryDir& dir, const QString& input, const QString& target,
                    const QString& extension, const QStringList& extra = {});

    QString m_soffice;
};

void TestRtfInterop::initTestCase()
{
    m_soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

RichDocument TestRtfInterop::sampleDocument() const
{
    RichDocument doc;
    const CharFormat plain = format("Arial", 10);
    addLine(doc, {{"Schnitzel mit ", plain}, {"Kartoffelsalat", format("Arial", 10, Bold)}});
    addLine(doc, {{"Gr\xc3\xbc\xc3\x9f"
                   "e: \xe2\x82\xac \xc5\x92 \xe2\x80\x94 \xe2\x80\x9eZitat\xe2\x80\x9c",
                   format("Times New Roman", 12, Italic)}});
    addLine(doc, {{"\xce\x95\xce\xbb\xce\xbb\xce\xb7\xce\xbd\xce\xb9\xce\xba\xce\xac "
                   "\xd0\xb8 \xd0\xba\xd0\xb8\xd1\x80",
                   plain}});
    addLine(doc, {{"{Klammern} \\Backslash\\ ", plain},
                  {"rot", format("Arial", 10, Underline, 0xffff0000)},
                  {" ", plain},
                  {"weg", format("Arial", 10, StrikeOut)}});
    addLine(doc, {});
    addLine(doc, {{"1 Tasse", format("Courier New", 14, 0, 0xff000000, Pitch::Fixed)}});
    addLine(doc, {});
    return sample::finished(doc);
}

QString TestRtfInterop::convert(const QTemporaryDir& dir, const QString& input,
                                const QString& target, const QString& extension,
                                const QStringList& extra)
{
    const QString outDir = dir.filePath(QStringLiteral("out"));
    QStringList args{QStringLiteral("--headless"), QStringLiteral("--norestore"),
                     QStringLiteral("-env:UserInstallation=") +
                         QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString()};
    args << extra << QStringLiteral("--convert-to") << target << QStringLiteral("--outdir")
         << outDir << input;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir.path());
    env.insert(QStringLiteral("SAL_USE_VCLPLUGIN"), QStringLiteral("svp"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(m_soffice, args);
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished();
        qWarning("soffice did not finish");
        return {};
    }
    const QString output = QDir(outDir).filePath(QFileInfo(input).completeBaseName() + extension);
    if (!QFile::exists(output))
        qWarning("soffice wrote nothing: %s", process.readAll().constData());
    return output;
}

void TestRtfInterop::libreOfficeReadsOurText()
{
    if (m_soffice.isEmpty())
        QSKIP("soffice is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const RichDocument doc = sampleDocument();
    const QString input = dir.filePath(QStringLiteral("ours.rtf"));
    QVERIFY(writeRtfFile(input, doc));

    const QString txt =
        convert(dir, input, QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral(".txt"));
    QFile file(txt);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QString text = QString::fromUtf8(bytes);
    text.remove(u'\r');
    // Every paragraph ends with a line break, so the empty last line is there too and
    // no further empty paragraph appears.
    QCOMPARE(text, doc.plainLines().join(u'\n') + u'\n');
}

void TestRtfInterop::libreOfficeKeepsOurFonts()
{
    if (m_soffice.isEmpty())
        QSKIP("soffice is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const RichDocument doc = sampleDocument();
    const QString input = dir.filePath(QStringLiteral("ours.rtf"));
    QVERIFY(writeRtfFile(input, doc));

    // LibreOffice reads our file and writes it as its own RTF; we read that back.
    const QString output = convert(dir, input, QStringLiteral("rtf"), QStringLiteral(".rtf"));
    RichDocument back;
    QString error;
    QVERIFY2(readRtfFile(output, back, &error), qPrintable(error));
    QCOMPARE(back.plainLines(), doc.plainLines());

    auto at = [&back](int line, int column) {
        return back.format(back.lines()[line].formats[column]);
    };
    QCOMPARE(at(0, 0).fontName, QStringLiteral("Arial"));
    QCOMPARE(at(0, 0).halfPoints, 20);
    QCOMPARE(at(0, 0).style, quint8(0));
    QCOMPARE(at(0, 14).style, quint8(Bold));
    QCOMPARE(at(1, 0).fontName, QStringLiteral("Times New Roman"));
    QCOMPARE(at(1, 0).halfPoints, 24);
    QCOMPARE(at(1, 0).style, quint8(Italic));
    const int red = int(back.lines()[3].text.indexOf(QStringLiteral("rot")));
    const int gone = int(back.lines()[3].text.indexOf(QStringLiteral("weg")));
    QCOMPARE(at(3, red).style, quint8(Underline));
    QCOMPARE(at(3, red).color, qRgb(255, 0, 0));
    QCOMPARE(at(3, gone).style, quint8(StrikeOut));
    QCOMPARE(at(3, 0).color, qRgb(0, 0, 0));
    QCOMPARE(at(5, 0).fontName, QStringLiteral("Courier New"));
    QCOMPARE(at(5, 0).halfPoints, 28);
    // LibreOffice 7.4 writes every font it imported as \froman\fprq2, so the pitch
    // and family cannot be checked through it.
}

void TestRtfInterop::weReadLibreOfficeRtf()
{
    if (m_soffice.isEmpty())
        QSKIP("soffice is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString html = dir.filePath(QStringLiteral("interop.html"));
    QVERIFY(QFile::copy(QFINDTESTDATA(QStringLiteral("data/interop.html")), html));

    const QString output = convert(dir, html, QStringLiteral("rtf"), QStringLiteral(".rtf"),
                                   {QStringLiteral("--infilter=HTML (StarWriter)")});
    RichDocument doc;
    QString error;
    QVERIFY2(readRtfFile(output, doc, &error), qPrintable(error));
    QCOMPARE(doc.plainLines(), (QStringList{QStringLiteral("Plain bold italic under strike red"),
                                            QStringLiteral("Courier big"),
                                            u8("Gr\xc3\xbc\xc3\x9f"
                                               "e \xe2\x82\xac \xce\xb1")}));
    auto at = [&doc](int line, int column) {
        return doc.format(doc.lines()[line].formats[column]);
    };
    QCOMPARE(at(0, 0).style, quint8(0));
    QCOMPARE(at(0, 6).style, quint8(Bold));
    QCOMPARE(at(0, 11).style, quint8(Italic));
    QCOMPARE(at(0, 18).style, quint8(Underline));
    QCOMPARE(at(0, 24).style, quint8(StrikeOut));
    QCOMPARE(at(0, 31).color, qRgb(255, 0, 0));
    QCOMPARE(at(0, 0).color, qRgb(0, 0, 0));
    QCOMPARE(at(1, 0).fontName, QStringLiteral("Courier New"));
    QCOMPARE(at(1, 0).halfPoints, 36);
    QCOMPARE(at(2, 0).halfPoints, 28);
    QCOMPARE(at(0, 0).halfPoints, 24);
}

QTEST_GUILESS_MAIN(TestRtfInterop)
#include "tst_rtfinterop.moc"

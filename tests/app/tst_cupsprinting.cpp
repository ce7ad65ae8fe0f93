// SPDX-License-Identifier: GPL-2.0-or-later

#include "tests/pdftools.h"
#include "tests/testfiles.h"

#include "drafts/draftfile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// Printing through a real print system: a CUPS daemon of the test's own, with a
// cups-pdf queue that writes every job it prints to a PDF file, and the real program
// printing on it from the command line. What comes out is compared with what the
// built-in PDF printer makes of the same recipe. Needs root (cups-pdf runs as root
// and reads its queue's settings from /etc/cups); skipped otherwise.

namespace {

constexpr char kRecipe[] = "Fluffy Pancakes";

struct Ran {
    int code = -1;
    QString err;
};

/// A PDF word: where it lies, in points.
QList<QRectF> boxes(const QString& file)
{
    QList<QRectF> found;
    for (const pdf::Word& word : pdf::words(file))
        found << word.box;
    return found;
}

QString pdfTitle(const QString& file)
{
    const QString info = QString::fromUtf8(pdf::run(QStringLiteral("pdfinfo"), {file}));
    const QRegularExpression title(QStringLiteral("^Title:\\s+(.*)$"),
                                   QRegularExpression::MultilineOption);
    // cups-pdf writes the job's name in parentheses.
    QString text = title.match(info).captured(1).trimmed();
    if (text.startsWith(QLatin1Char('(')) && text.endsWith(QLatin1Char(')')))
        text = text.mid(1, text.size() - 2);
    return text;
}

} // namespace

class CupsPrintingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void aRecipeComesOutAsThePdfPrinterPrintsIt_data();
    void aRecipeComesOutAsThePdfPrinterPrintsIt();
    void aQueueThatTakesNoJobIsAnError_data();
    void aQueueThatTakesNoJobIsAnError();
    void theListJobIsNamed();

private:
    /// Runs a CUPS tool (lpadmin, cupsreject, ...) on the test's daemon.
    bool cups(const QString& tool, const QStringList& arguments);
    /// Runs the program in the demo collection's copy.
    Ran program(const QStringList& arguments);
    /// The PDF files the queue has written.
    QStringList printed() const;

    QTemporaryDir m_dir;
    QString m_root;
    QString m_queue;
    QString m_base;
    QProcessEnvironment m_env;
    QProcess m_daemon;
    QString m_settings; // the queue's cups-pdf settings in /etc/cups
};

void CupsPrintingTest::initTestCase()
{
    if (geteuid() != 0)
        QSKIP("cups-pdf needs root");
    for (const char* needed : {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/lib/cups/backend/cups-pdf",
                               "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"}) {
        if (!QFileInfo::exists(QLatin1String(needed)))
            QSKIP(qPrintable(QStringLiteral("%1 is missing: install cups and printer-driver-cups-pdf")
                                 .arg(QLatin1String(needed))));
    }
    if (!pdf::available())
        QSKIP("poppler-utils are missing");
    QVERIFY(m_dir.isValid());
    m_root = m_dir.path() + QLatin1Char('/');
    // The daemon's filters run as lp: they must reach the spool below the folder.
    QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                    QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                                    QFileDevice::ExeGroup));
    for (const char* sub : {"spool", "tmp", "cache", "state", "log", "out", "pdfspool"})
        QVERIFY(QDir().mkpath(m_root + QLatin1String(sub)));
    QFile::setPermissions(m_root + QStringLiteral("tmp"), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(m_root + QStringLiteral("out"), QFileDevice::Permissions(0x7777));
    const QString socket = m_root + QStringLiteral("cups.sock");
    putFile(m_root + QStringLiteral("cupsd.conf"),
            QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing Off\n"
                           "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                           "</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                           "    Allow all\n  </Limit>\n</Policy>\n")
                .arg(socket)
                .toUtf8());
    putFile(m_root + QStringLiteral("cups-files.conf"),
            QStringLiteral("RequestRoot %1spool\nTempDir %1tmp\nCacheDir %1cache\nStateDir %1state\n"
                           "AccessLog %1log/access_log\nErrorLog %1log/error_log\n"
                           "PageLog %1log/page_log\nServerBin /usr/lib/cups\n"
                           "DataDir /usr/share/cups\nSandboxing Relaxed\nUser lp\nGroup lp\n")
                .arg(m_root)
                .toUtf8());
    m_queue = QStringLiteral("DilboscanTest%1").arg(getpid());
    // cups-pdf reads the settings of a queue whose device is cups-pdf:/NAME from
    // /etc/cups/cups-pdf-NAME.conf.
    m_settings = QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(m_queue);
    putFile(m_settings, QStringLiteral("Out %1out\nAnonDirName %1out\nSpool %1pdfspool\n"
                                       "Log %1log\nUserUMask 0000\n")
                            .arg(m_root)
                            .toUtf8());
    m_env = QProcessEnvironment::systemEnvironment();
    m_env.insert(QStringLiteral("CUPS_SERVER"), socket);
    m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_daemon.setProcessChannelMode(QProcess::ForwardedChannels);
    m_daemon.start(QStringLiteral("/usr/sbin/cupsd"),
                   {QStringLiteral("-f"), QStringLiteral("-c"), m_root + QStringLiteral("cupsd.conf"),
                    QStringLiteral("-s"), m_root + QStringLiteral("cups-files.conf")});
    QVERIFY(m_daemon.waitForStarted());
    QVERIFY2(QTest::qWaitFor([&] { return QFileInfo::exists(socket); }, 20000),
             "the CUPS daemon did not open its socket");
    QVERIFY(cups(QStringLiteral("lpadmin"),
                 {QStringLiteral("-p"), m_queue, QStringLiteral("-E"), QStringLiteral("-v"),
                  QStringLiteral("cups-pdf:/") + m_queue, QStringLiteral("-P"),
                  QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd")}));
}

void CupsPrintingTest::cleanupTestCase()
{
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(10000))
            m_daemon.kill();
    }
    if (!m_settings.isEmpty())
        QFile::remove(m_settings);
}

void CupsPrintingTest::init()
{
    // A fresh copy of the demo collection for every test and row.
    m_base = m_root + QStringLiteral("base-%1-%2/")
                          .arg(QLatin1String(QTest::currentTestFunction()),
                               QLatin1String(QTest::currentDataTag()))
                          .remove(QLatin1Char(' '));
    QDir(m_base).removeRecursively();
    QVERIFY(copyTree(QStringLiteral(DILBO_DATA_DIR), m_base));
}

bool CupsPrintingTest::cups(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(m_env);
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning() << tool << arguments << process.readAllStandardError();
        return false;
    }
    return true;
}

Ran CupsPrintingTest::program(const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(m_env);
    process.setWorkingDirectory(m_base);
    process.start(QStringLiteral(DILBOSCAN_BINARY), arguments);
    if (!process.waitForFinished(180000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

QStringList CupsPrintingTest::printed() const
{
    QStringList files;
    for (const QString& name : QDir(m_root + QStringLiteral("out")).entryList({QStringLiteral("*.pdf")}))
        files << m_root + QStringLiteral("out/") + name;
    return files;
}

void CupsPrintingTest::aRecipeComesOutAsThePdfPrinterPrintsIt_data()
{
    QTest::addColumn<int>("format"); // of the standard drafts
    QTest::addColumn<QSizeF>("paper"); // in points
    QTest::newRow("Letter") << 2 << QSizeF(612, 792);
    QTest::newRow("A4") << 0 << QSizeF(595, 842);
}

// The queue prints on the paper of the layout, every word inside the page and where
// the built-in PDF printer puts it (within 1 % of the page), in a job named after the
// recipe. cups-pdf goes through PostScript, so the words' letters are not comparable;
// their boxes are.
void CupsPrintingTest::aRecipeComesOutAsThePdfPrinterPrintsIt()
{
    QFETCH(int, format);
    QFETCH(QSizeF, paper);
    for (int kind : {0, 1}) {
        TDruckvorlage draft;
        QVERIFY(ReadDraft(standardDraftPath(m_base, kind), draft));
        draft.PaperFormat = format;
        putFile(standardDraftPath(m_base, kind), draftFileBytes(draft));
    }
    const QString reference = m_base + QStringLiteral("reference.pdf");
    const QString name = QString::fromLatin1(kRecipe);
    Ran ran = program({QStringLiteral("--print-pdf"), reference, QStringLiteral("--recipe"), name});
    QVERIFY2(ran.code == 0, qPrintable(ran.err));
    const QStringList before = printed();
    ran = program({QStringLiteral("--print"), m_queue, QStringLiteral("--recipe"), name});
    QVERIFY2(ran.code == 0, qPrintable(ran.err));
    QStringList after = printed();
    for (const QString& file : before)
        after.removeAll(file);
    QCOMPARE(after.size(), 1);
    const QString out = after.first();
    QCOMPARE(pdfTitle(out), QStringLiteral("Dilboscan: ") + name);
    const QSizeF page = pdf::pageSize(out);
    QVERIFY2(qAbs(page.width() - paper.width()) < 1 && qAbs(page.height() - paper.height()) < 1,
             qPrintable(QStringLiteral("%1 x %2").arg(page.width()).arg(page.height())));
    const QList<QRectF> expected = boxes(reference);
    const QList<QRectF> found = boxes(out);
    QVERIFY(expected.size() > 50);
    QCOMPARE(found.size(), expected.size());
    const QRectF sheet(QPointF(0, 0), page);
    for (const QRectF& box : found)
        QVERIFY2(sheet.contains(box), qPrintable(QStringLiteral("%1 %2").arg(box.right()).arg(box.bottom())));
    // A word's left or right edge and its middle height: fonts converted on the way may
    // report another ascent, and a leading tab may or may not count to the word.
    const double dx = page.width() / 100;
    const double dy = page.height() / 100;
    for (const QRectF& want : expected) {
        const bool there = std::any_of(found.cbegin(), found.cend(), [&](const QRectF& box) {
            return (qAbs(box.left() - want.left()) <= dx || qAbs(box.right() - want.right()) <= dx) &&
                   qAbs(box.center().y() - want.center().y()) <= dy;
        });
        QVERIFY2(there, qPrintable(QStringLiteral("no word at %1, %2").arg(want.left()).arg(want.top())));
    }
}

void CupsPrintingTest::aQueueThatTakesNoJobIsAnError_data()
{
    QTest::addColumn<QString>("stop");  // the CUPS tool that stops the queue; empty: none
    QTest::addColumn<QString>("start"); // the one that starts it again
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("says"); // why, before any job is sent
    QTest::newRow("rejecting jobs") << "cupsreject" << "cupsaccept" << true << "does not accept jobs";
    QTest::newRow("stopped") << "cupsdisable" << "cupsenable" << true << "stopped";
    QTest::newRow("unknown") << QString() << QString() << false << "No printer";
}

void CupsPrintingTest::aQueueThatTakesNoJobIsAnError()
{
    QFETCH(QString, stop);
    QFETCH(QString, start);
    QFETCH(bool, known);
    QFETCH(QString, says);
    const QString queue = known ? m_queue : m_queue + QStringLiteral("-missing");
    if (!stop.isEmpty())
        QVERIFY(cups(stop, {m_queue}));
    const QStringList before = printed();
    const Ran ran = program({QStringLiteral("--print"), queue, QStringLiteral("--recipe"),
                             QString::fromLatin1(kRecipe)});
    if (!start.isEmpty())
        QVERIFY(cups(start, {m_queue}));
    QCOMPARE(ran.code, 1);
    QCOMPARE(ran.err.trimmed().count(QLatin1Char('\n')), 0); // one line
    QVERIFY2(ran.err.contains(QLatin1Char('"') + queue + QLatin1Char('"')) && ran.err.contains(says),
             qPrintable(ran.err));
    // A stopped queue would print the job once started again: none was sent.
    QVERIFY(cups(QStringLiteral("lpstat"), {QStringLiteral("-r")}));
    QCOMPARE(printed(), before);
}

void CupsPrintingTest::theListJobIsNamed()
{
    const QStringList before = printed();
    const Ran ran = program({QStringLiteral("--print-list"), m_queue});
    QVERIFY2(ran.code == 0, qPrintable(ran.err));
    QStringList after = printed();
    for (const QString& file : before)
        after.removeAll(file);
    QCOMPARE(after.size(), 1);
    QCOMPARE(pdfTitle(after.first()), QStringLiteral("Dilboscan: recipe list"));
}

QTEST_MAIN(CupsPrintingTest)
#include "tst_cupsprinting.moc"

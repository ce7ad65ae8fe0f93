// SPDX-License-Identifier: GPL-2.0-or-later
// Reading and writing RTF against QTextDocument's HTML import and export of the same
// content, measured in the same run. Prints the median times and their ratio; the goal
// is that RTF reading plus writing takes at most half as long as setHtml plus toHtml.

#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"
#include "platform/richtext/textdocumentbridge.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kRepetitions = 9;

// A recipe-like text of about 200 KB of RTF with a format change every few words.
rich::RichDocument makeDocument()
{
    using namespace rich;
    const char* const words[] = {"Mehl",
                                 "Zucker",
                                 "Eier",
                                 "Butter",
                                 "Milch",
                                 "r\xc3\xbchren",
                                 "backen",
                                 "Gr\xc3\xbc\xc3\x9f"
                                 "e",
                                 "Ofen",
                                 "200\xc2\xb0"
                                 "C",
                                 "Teig",
                                 "Sahne",
                                 "\xe2\x82\xac",
                                 "\xce\xb1-Amylase",
                                 "Prise",
                                 "Salz",
                                 "{Tipp}",
                                 "1\t2"};
    QList<CharFormat> formats;
    for (int i = 0; i < 12; ++i) {
        CharFormat f;
        f.fontName = QString::fromLatin1(i % 3 == 0   ? "Arial"
                                         : i % 3 == 1 ? "Times New Roman"
                                                      : "Courier New");
        f.pitch = i % 3 == 2 ? Pitch::Fixed : Pitch::Variable;
        f.setPointSize(9 + i % 5);
        f.style = quint8(i % 16);
        f.color = i % 4 == 0 ? 0xffc00000 : 0xff000000;
        formats.append(f);
    }
    RichDocument doc;
    QList<quint16> ids;
    for (const CharFormat& f : formats)
        ids.append(doc.intern(f));
    quint32 seed = 1;
    auto next = [&seed](quint32 range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    qsizetype chars = 0;
    while (chars < 90000) {
        RichLine line;
        const int wordCount = 3 + int(next(14));
        quint16 id = ids[next(ids.size())];
        for (int w = 0; w < wordCount; ++w) {
            if (next(4) == 0)
                id = ids[next(ids.size())];
            const QString word = QString::fromUtf8(words[next(std::size(words))]) +
                                 (w + 1 < wordCount ? QStringLiteral(" ") : QString());
            line.text += word;
            for (qsizetype k = 0; k < word.size(); ++k)
                line.formats.append(id);
        }
        line.endFormat = id;
        chars += line.text.size() + 1;
        doc.lines().append(line);
    }
    return doc;
}

double medianMs(const std::function<void()>& work)
{
    QList<double> times;
    for (int i = 0; i < kRepetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const rich::RichDocument doc = makeDocument();
    const QByteArray rtf = rich::writeRtf(doc);
    QTextDocument reference;
    rich::toTextDocument(doc, &reference);
    const QString html = reference.toHtml();

    rich::RichDocument readBack;
    if (!rich::readRtf(rtf, readBack) || readBack.plainText() != doc.plainText()) {
        std::fprintf(stderr, "bench_rtf: the generated document does not read back\n");
        return 1;
    }

    std::printf("document: %d lines, %d characters, %d formats; RTF %lld bytes, HTML %lld "
                "characters\n",
                doc.lineCount(), doc.textLength(), int(doc.formats().size()), qlonglong(rtf.size()),
                qlonglong(html.size()));
    std::printf("median of %d runs each:\n", kRepetitions);

    const double readMs = medianMs([&] {
        rich::RichDocument d;
        rich::readRtf(rtf, d);
    });
    const double writeMs = medianMs([&] { (void)rich::writeRtf(doc); });
    const double setHtmlMs = medianMs([&] {
        QTextDocument d;
        d.setHtml(html);
    });
    const double toHtmlMs = medianMs([&] { (void)reference.toHtml(); });

    std::printf("  readRtf                  %9.2f ms\n", readMs);
    std::printf("  writeRtf                 %9.2f ms\n", writeMs);
    std::printf("  QTextDocument::setHtml   %9.2f ms\n", setHtmlMs);
    std::printf("  QTextDocument::toHtml    %9.2f ms\n", toHtmlMs);
    std::printf("ratio read/setHtml   %.3f\n", readMs / setHtmlMs);
    std::printf("ratio write/toHtml   %.3f\n", writeMs / toHtmlMs);
    const double ratio = (readMs + writeMs) / (setHtmlMs + toHtmlMs);
    std::printf("ratio (read+write)/(setHtml+toHtml)   %.3f   (goal: at most 0.5) %s\n", ratio,
                ratio <= 0.5 ? "met" : "NOT met");
    std::fflush(stdout);
    return 0;
}

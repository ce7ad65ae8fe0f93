// SPDX-License-Identifier: GPL-2.0-or-later
// Wrapping and drawing a mixed-font text of 5,000 characters with WrapText and
// DrawRichText, against Qt's own QTextLayout laying out and drawing the same text in the
// same fonts at the same width, in the same run. Prints the medians of several
// repetitions and their ratio, for a rich and a light mix of fonts.
//
//   QT_QPA_PLATFORM=offscreen bench_wrap [repetitions]

#include "platform/richtext/devicefont.h"
#include "platform/richtext/richlayout.h"
#include "platform/richtext/richpainter.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QSet>
#include <QTextLayout>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace rich;

namespace {

constexpr int kWidth = 300;
constexpr int kTextLength = 5000;

// The fonts a generated text is made of.
struct Mix {
    const char* name;
    std::vector<const char*> faces;
    std::vector<double> sizes;
    std::vector<quint8> styles; // drawn at random, so repeats weigh more
};

// A recipe-like text in runs of a few words, each run in a font drawn from mix,
// split into paragraphs of some hundred characters.
RichDocument makeText(const Mix& mix)
{
    const char* words[] = {
        "preheat",
        "the",
        "oven",
        "to",
        "180",
        "degrees",
        "and",
        "butter",
        "a",
        "round",
        "springform",
        "tin",
        "whisk",
        "eggs",
        "with",
        "sugar",
        "until",
        "pale",
        "fluffy",
        "fold",
        "in",
        "sifted",
        "flour",
        "cocoa",
        "pinch",
        "of",
        "salt",
        "pour",
        "batter",
        "into",
        "bake",
        "for",
        "forty",
        "minutes",
        "cherries",
        "kirsch",
        "whipped",
        "cream",
        "Schwarzwälder",
        "Kirschtorte",
        "grated",
        "chocolate",
        "garnish",
        "serve",
        "chilled",
        "tablespoonfuls",
        "gently",
        "over",
        "low",
        "heat",
        "stirring",
        "constantly",
    };

    QRandomGenerator random(42);
    RichDocument doc;
    doc.appendLine(QString());
    int length = 0;
    int paragraphLeft = 400 + random.bounded(400);
    while (length < kTextLength) {
        CharFormat f;
        f.fontName = QString::fromLatin1(mix.faces[random.bounded(int(mix.faces.size()))]);
        f.setPointSize(mix.sizes[random.bounded(int(mix.sizes.size()))]);
        f.style = mix.styles[random.bounded(int(mix.styles.size()))];
        if (f.fontName == QLatin1String("Courier New"))
            f.pitch = Pitch::Fixed;
        if (random.bounded(8) == 0)
            f.color = qRgb(160, 0, 0);
        const quint16 id = doc.intern(f);
        const int wordCount = 1 + random.bounded(8);
        for (int w = 0; w < wordCount && length < kTextLength; ++w) {
            const QString word =
                QString::fromUtf8(words[random.bounded(int(std::size(words)))]) + QLatin1Char(' ');
            RichLine& line = doc.lines().last();
            line.text += word;
            for (qsizetype i = 0; i < word.size(); ++i)
                line.formats.append(id);
            line.endFormat = id;
            length += int(word.size());
            paragraphLeft -= int(word.size());
        }
        if (paragraphLeft <= 0) {
            doc.appendLine(QString(), doc.lines().last().endFormat);
            paragraphLeft = 400 + random.bounded(400);
        }
    }
    return doc;
}

// Number of distinct fonts (face, size, style) among a document's formats.
int distinctFonts(const RichDocument& doc)
{
    QSet<QString> fonts;
    for (const CharFormat& f : doc.formats())
        fonts.insert(f.fontName + QString::number(f.halfPoints) + QLatin1Char('/') +
                     QString::number(f.style));
    return int(fonts.size());
}

struct QtParagraph {
    QString text;
    QList<QTextLayout::FormatRange> formats;
};

// The same paragraphs with the same fonts as QTextLayout format ranges.
std::vector<QtParagraph> qtParagraphs(const RichDocument& doc, int dpi)
{
    std::vector<QtParagraph> out;
    for (const RichLine& line : doc.lines()) {
        QtParagraph p;
        p.text = line.text;
        for (qsizetype i = 0; i < line.text.size();) {
            qsizetype end = i + 1;
            while (end < line.text.size() && line.formats.at(end) == line.formats.at(i))
                ++end;
            const CharFormat& f = doc.format(line.formats.at(i));
            QTextCharFormat qf;
            qf.setFont(fontForDevice(f, dpi));
            qf.setForeground(QColor::fromRgba(f.color));
            p.formats.append({int(i), int(end - i), qf});
            i = end;
        }
        out.push_back(std::move(p));
    }
    return out;
}

struct Result {
    double ms;       ///< laying out and drawing
    double layoutMs; ///< of which laying out
    int lines;
    int height;
};

Result runOurs(RenderTarget& screen, const RichDocument& original, QImage& image)
{
    image.fill(Qt::white);
    QElapsedTimer timer;
    timer.start();
    RichDocument doc = original;
    const int height = WrapText(screen, doc, kWidth, -1, PrinterStatus::Available);
    const double layoutMs = timer.nsecsElapsed() / 1e6;
    QPainter painter(&image);
    int x = 0, y = 0;
    DrawRichText(screen, painter, x, y, doc);
    painter.end();
    return {timer.nsecsElapsed() / 1e6, layoutMs, doc.lineCount(), height};
}

Result runQt(const std::vector<QtParagraph>& paragraphs, const QFont& baseFont, QImage& image)
{
    image.fill(Qt::white);
    QElapsedTimer timer;
    timer.start();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    int lines = 0;
    std::vector<std::unique_ptr<QTextLayout>> layouts;
    std::vector<qreal> heights;
    for (const QtParagraph& p : paragraphs) {
        auto layout = std::make_unique<QTextLayout>(p.text, baseFont, &image);
        layout->setTextOption(option);
        layout->setFormats(p.formats);
        layout->beginLayout();
        qreal height = 0;
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(kWidth);
            line.setPosition(QPointF(0, height));
            height += line.height();
            ++lines;
        }
        layout->endLayout();
        layouts.push_back(std::move(layout));
        heights.push_back(height);
    }
    const double layoutMs = timer.nsecsElapsed() / 1e6;
    QPainter painter(&image);
    qreal y = 0;
    for (size_t i = 0; i < layouts.size(); ++i) {
        layouts[i]->draw(&painter, QPointF(0, y));
        y += heights[i];
    }
    painter.end();
    return {timer.nsecsElapsed() / 1e6, layoutMs, lines, qRound(y)};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Compares both ways of laying out and drawing the text of mix, and prints the figures.
void compare(const Mix& mix, int repetitions)
{
    const RichDocument text = makeText(mix);
    int characters = 0;
    for (const RichLine& line : text.lines())
        characters += int(line.text.size());
    const std::vector<QtParagraph> paragraphs = qtParagraphs(text, kScreenDpi);
    const QFont baseFont = fontForDevice(text.defaultFormat(), kScreenDpi);

    RenderTarget screen;
    QImage image = newScreenImage(QSize(kWidth + 20, 4000));

    // Warm-up: font engines, glyph caches, our width tables.
    Result ours = runOurs(screen, text, image);
    Result qt = runQt(paragraphs, baseFont, image);
    for (int i = 0; i < 3; ++i) {
        runOurs(screen, text, image);
        runQt(paragraphs, baseFont, image);
    }

    std::vector<double> oursMs, oursLayoutMs, qtMs, qtLayoutMs, coldMs;
    for (int i = 0; i < repetitions; ++i) {
        ours = runOurs(screen, text, image);
        oursMs.push_back(ours.ms);
        oursLayoutMs.push_back(ours.layoutMs);
        qt = runQt(paragraphs, baseFont, image);
        qtMs.push_back(qt.ms);
        qtLayoutMs.push_back(qt.layoutMs);
    }
    // Last, with our width tables empty each time. Kept apart from the comparison: a
    // target that goes away releases Qt's font engines, which Qt's next layout would
    // then have to load again.
    for (int i = 0; i < repetitions; ++i) {
        RenderTarget fresh;
        coldMs.push_back(runOurs(fresh, text, image).ms);
    }

    const double oursMedian = median(oursMs);
    const double qtMedian = median(qtMs);
    std::printf("%s: %d characters in %d paragraphs, %d formats, %d distinct fonts\n", mix.name,
                characters, text.lineCount(), int(text.formats().size()), distinctFonts(text));
    std::printf("  WrapText + DrawRichText:      %8.3f ms  (%d lines, %d px high)\n", oursMedian,
                ours.lines, ours.height);
    std::printf("    of which WrapText:          %8.3f ms\n", median(oursLayoutMs));
    std::printf("    with an empty glyph cache:  %8.3f ms\n", median(coldMs));
    std::printf("  QTextLayout layout + draw:    %8.3f ms  (%d lines, %d px high)\n", qtMedian,
                qt.lines, qt.height);
    std::printf("    of which laying out:        %8.3f ms\n", median(qtLayoutMs));
    std::printf("  ratio ours / QTextLayout:     %8.2f  (goal <= 1.5)\n", oursMedian / qtMedian);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int repetitions = argc > 1 ? qMax(1, atoi(argv[1])) : 31;
    std::printf("width %d px on a 96-dpi image, %d repetitions, medians\n", kWidth, repetitions);

    // Qt's drawing slows down markedly once a text uses a few dozen distinct fonts, so
    // the comparison is made for a rich mix and for a light one.
    const Mix rich{"rich mix (4 faces, 6 sizes, bold/italic/underline runs)",
                   {"Arial", "Times New Roman", "Courier New", "Verdana"},
                   {8, 9, 10, 11, 12, 14},
                   {0, 0, 0, Bold, Italic, Bold | Italic, Underline}};
    const Mix light{"light mix (2 faces, 2 sizes, bold/italic runs)",
                    {"Arial", "Times New Roman"},
                    {10, 12},
                    {0, 0, 0, Bold, Italic}};
    compare(rich, repetitions);
    compare(light, repetitions);
    return 0;
}

// SPDX-License-Identifier: GPL-2.0-or-later
// Opening the editor on a large deluxe recipe and saving it, against the plainest work
// the same content needs: reading its files raw and putting their plain text into seven
// text edits, and writing the same bytes through atomic file replacement. Prints the
// median times and their ratios.
//
//   QT_QPA_PLATFORM=offscreen [BENCH_PHASES=1] bench_editor [LINES]
//
// BENCH_PHASES=1 also prints the parts of an opening: clearing the form, reading the
// texts, filling the rich edits.

#include "benchsupport.h"
#include "recipegenerator.h"

#include "common/F_Msg.h"
#include "common/session.h"
#include "editor/F_KVE.h"
#include "editor/recipesave.h"
#include "platform/richtext/textdocumentbridge.h"
#include "platform/safefile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextEdit>

#include <cstdio>

namespace {

constexpr int kRepetitions = 15;

// A text of lines of cooking words with a format change every few words.
rich::RichDocument makeText(int lines, int seed)
{
    static const char* const words[] = {"flour", "sugar", "eggs", "butter", "milk",
                                        "stir", "bake", "crème", "oven", "200°C",
                                        "dough", "cream", "pinch", "salt", "gently"};
    rich::RichDocument doc;
    QList<quint16> ids;
    for (int i = 0; i < 6; ++i) {
        rich::CharFormat f = doc.defaultFormat();
        f.fontName = i % 2 ? QStringLiteral("Arial") : QStringLiteral("Times New Roman");
        f.setPointSize(9 + i);
        f.style = quint8(i % 4);
        ids.append(doc.intern(f));
    }
    for (int line = 0; line < lines; ++line) {
        rich::RichLine l;
        const int count = 3 + (line * 7 + seed) % 9;
        for (int w = 0; w < count; ++w) {
            const QString word = QString::fromUtf8(words[(line * 5 + w * 3 + seed) % 15]) +
                                 QLatin1Char(' ');
            l.text += word;
            for (qsizetype c = 0; c < word.size(); ++c)
                l.formats.append(ids.at((w / 2 + seed) % ids.size()));
        }
        l.endFormat = ids.first();
        doc.lines().append(l);
    }
    return doc;
}

QList<QString> recipeFiles(const TKVG& recipe)
{
    QList<QString> files{recipe.FilePath};
    for (int n = 1; n <= 7; ++n)
        files.append(recipe.FilePath + QStringLiteral(".00%1").arg(n));
    return files;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int lines = argc > 1 ? QByteArray(argv[1]).toInt() : 120;
    QTemporaryDir dir;
    const QString base = dir.path() + QLatin1Char('/');
    copyFolder(QStringLiteral(DILBO_SOURCE_DIR "/data/Graphic"), base + QStringLiteral("Graphic"));
    QDir().mkpath(base + QStringLiteral("prepared_recipes"));
    setBaseFolder(base);
    SetShowMsgHook([](int, int, int) { return kAnswerOK; });

    Catalogue catalogue;
    catalogue.CurrentRecipe = catalogue.newRecipe();
    RecipeForm form;
    form.name = QStringLiteral("Layered celebration cake");
    form.kind = 1;
    form.categories = QStringLiteral("Cakes,Party,");
    for (size_t i = 0; i < form.texts.size(); ++i)
        form.texts[i] = makeText(lines, int(i));
    if (!SaveRecipe(catalogue, form).ok()) {
        std::fprintf(stderr, "could not write the recipe\n");
        return 1;
    }
    const QList<QString> files = recipeFiles(catalogue.recipes.first());
    qint64 bytes = 0;
    for (const QString& file : files)
        bytes += QFileInfo(file).size();

    TFKVE editor(catalogue);
    QList<QTextEdit*> plainEdits;
    for (int i = 0; i < 7; ++i)
        plainEdits.append(new QTextEdit(&editor));

    QList<double> open, openBase, save, saveBase;
    for (int r = 0; r < kRepetitions; ++r) {
        catalogue.CurrentRecipe = 0;
        open.append(timeMs([&] {
            editor.OpenRecipe();
            app.processEvents();
        }));
        editor.hide();
        openBase.append(timeMs([&] {
            QByteArray content;
            for (const QString& file : files) {
                QFile f(file);
                if (f.open(QIODevice::ReadOnly))
                    content = f.readAll();
            }
            for (size_t i = 0; i < form.texts.size(); ++i)
                plainEdits.at(qsizetype(i))->setPlainText(form.texts[i].plainText());
            app.processEvents();
        }));
        catalogue.CurrentRecipe = 0;
        save.append(timeMs([&] { SaveRecipe(catalogue, editor.currentForm()); }));
        QList<QByteArray> contents;
        for (const QString& file : files) {
            QByteArray content;
            readWholeFile(file, &content);
            contents.append(content);
        }
        saveBase.append(timeMs([&] {
            for (qsizetype i = 0; i < files.size(); ++i)
                writeFileAtomically(files.at(i), contents.at(i));
        }));
    }
    if (qEnvironmentVariableIsSet("BENCH_PHASES")) {
        QList<double> clear, form2, fill;
        for (int r = 0; r < kRepetitions; ++r) {
            clear.append(timeMs([&] { editor.ClearEditor(); }));
            RecipeForm f;
            form2.append(timeMs([&] { f = formFromRecipe(catalogue.recipes.first()); }));
            fill.append(timeMs([&] {
                for (size_t i = 0; i < f.texts.size(); ++i)
                    rich::toTextDocument(f.texts[i], editor.richEdits().at(qsizetype(i))->document());
            }));
        }
        std::printf("clear %.2f form %.2f fill %.2f\n", median(clear), median(form2), median(fill));
    }
    const double o = median(open), ob = median(openBase), s = median(save), sb = median(saveBase);
    std::printf("recipe: 7 texts of %d lines, %lld bytes in 8 files\n", lines, bytes);
    std::printf("open the editor:  %7.2f ms   raw read + plain fill %7.2f ms   ratio %.2f\n", o, ob, o / ob);
    std::printf("save the recipe:  %7.2f ms   atomic write of bytes %7.2f ms   ratio %.2f\n", s, sb, s / sb);
    return 0;
}

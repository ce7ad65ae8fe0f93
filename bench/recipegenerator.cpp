// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipegenerator.h"

#include "platform/cp1252.h"
#include "platform/filelookup.h"
#include "platform/richtext/richdocument.h"
#include "platform/richtext/rtfwriter.h"
#include "recipes/recipefile.h"
#include "recipes/recipetexts.h"

#include <QDir>
#include <QFile>

#include <cmath>

namespace {

const char* const kWords[] = {"onion",
                              "garlic",
                              "butter",
                              "flour",
                              "sugar",
                              "salt",
                              "pepper",
                              "cream",
                              "milk",
                              "eggs",
                              "tomatoes",
                              "basil",
                              "parsley",
                              "lemon",
                              "chicken",
                              "beef",
                              "potatoes",
                              "carrots",
                              "rice",
                              "stir",
                              "simmer",
                              "bake",
                              "until",
                              "golden",
                              "gently",
                              "minutes",
                              "the",
                              "and",
                              "with",
                              "into",
                              "a",
                              "of",
                              "add",
                              "fold",
                              "whisk",
                              "chop",
                              "finely",
                              "season",
                              "serve",
                              "warm",
                              "cr\xe8me",
                              "fra\xee"
                              "che",
                              "K\xe4se",
                              "So\xdf"
                              "e",
                              "sauce",
                              "oven",
                              "pan",
                              "slowly"};
const char* const kCategories[] = {"Soups",      "Cakes", "Main dishes", "Starters", "Desserts",
                                   "Vegetarian", "Fish",  "Meat",        "Baking",   "Salads"};
const char* const kDevices[] = {"Oven", "Hob", "Blender", "Hand mixer", "Microwave", "Grill"};

qint64 writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) ? file.write(bytes) : 0;
}

// The side files a recipe names, holding its plain lines as RTF with a bold first line.
qint64 writeSideFiles(const TKVG& r)
{
    qint64 total = 0;
    for (const RecipeTextField& field : recipeTextFields()) {
        if ((r.*field.richText).isEmpty())
            continue;
        rich::RichDocument doc;
        rich::CharFormat bold = doc.defaultFormat();
        bold.style = rich::Bold;
        const quint16 boldId = doc.intern(bold);
        for (QByteArrayView line : r.*field.lines)
            doc.appendLine(cp1252::toUnicode(line), doc.isEmpty() ? boldId : doc.defaultFormatId());
        total += writeFile(r.*field.richText, rich::writeRtf(doc));
    }
    return total;
}

} // namespace

QByteArray RecipeGenerator::rareWord()
{
    // Ranks drawn evenly on a logarithmic scale: rank r comes about 1/r as often as the
    // first, like words of natural text. Each rank spells a word of syllables.
    static const char* const kSyllables[] = {
        "ka",  "ro", "mi",  "ten",    "sul", "bar", "qui", "lo", "ne", "fra", "di", "po",
        "cre", "gu", "vel", "st\xe9", "an",  "zo",  "mar", "li", "tu", "sh",  "or", "pe"};
    constexpr int kCount = int(std::size(kSyllables));
    int rank = int(std::pow(double(m_rareWords), m_random.generateDouble()));
    QByteArray word = kSyllables[rank % kCount];
    for (rank /= kCount; rank > 0; rank /= kCount)
        word += kSyllables[rank % kCount];
    return word;
}

QByteArray RecipeGenerator::words(int min, int max)
{
    const int count = m_random.bounded(min, max + 1);
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        if (i)
            text += ' ';
        if (m_rareWords > 0 && m_random.bounded(5) == 0)
            text += rareWord();
        else
            text += kWords[m_random.bounded(int(std::size(kWords)))];
    }
    return text;
}

TSTRING RecipeGenerator::lines(int min, int max, int minWords, int maxWords)
{
    TSTRING out;
    const int count = m_random.bounded(min, max + 1);
    for (int i = 0; i < count; ++i)
        out << words(minWords, maxWords);
    return out;
}

TKVG RecipeGenerator::recipe(int number, const QString& folder)
{
    TKVG r;
    r.FileName = QStringLiteral("recipe %1.vrez").arg(number);
    r.FilePath = folder + r.FileName;
    r.Name = words(2, 5);
    r.Name[0] = char(std::toupper(static_cast<unsigned char>(r.Name[0])));
    r.Categories = QByteArray(kCategories[m_random.bounded(10)]) + ',' +
                   kCategories[m_random.bounded(10)] + ',';
    r.Difficulty = m_random.bounded(1, 6);
    r.PrepTime = QByteArray::number(m_random.bounded(10, 180)) + " minutes";
    r.Devices = QByteArray(kDevices[m_random.bounded(6)]) + ',';
    r.Servings = QByteArray::number(m_random.bounded(1, 12));
    r.LastCooked = 43000 + m_random.bounded(3000) + 0.5;
    const int variant = m_random.bounded(10);
    if (variant < 2) { // a reference to a recipe on paper
        r.Binder = "Family binder";
        r.Page = QByteArray::number(m_random.bounded(1, 300));
        r.Remark = words(3, 8);
        return r;
    }
    r.Instructions = lines(5, 30, 6, 16);
    r.Comments = lines(0, 5, 4, 10);
    r.Remark = words(3, 8);
    if (variant < 5) { // deluxe
        r.Kind = 1;
        const int rows = m_random.bounded(5, 31);
        for (int i = 0; i < rows; ++i) {
            r.Quantities << QByteArray::number(m_random.bounded(1, 500));
            r.Units << (m_random.bounded(2) ? "g" : "tbsp");
            r.IngredientNames << words(1, 3);
            r.Descriptions << words(0, 4);
        }
        r.QuantitiesRtf = r.FilePath + QStringLiteral(".004");
        r.InstructionsRtf = r.FilePath + QStringLiteral(".003");
    } else {
        r.Ingredients = lines(5, 30, 2, 5);
        r.IngredientsRtf = r.FilePath + QStringLiteral(".002");
    }
    return r;
}

qint64 RecipeGenerator::writeCollection(const QString& baseFolder, int count, qint64* sideFileBytes)
{
    const QString folder = recipeFolder(baseFolder);
    QDir().mkpath(folder);
    QDir().mkpath(baseFolder + QStringLiteral("Graphic/PNG/ENG"));
    for (const char* device : kDevices) {
        QFile picture(baseFolder + QStringLiteral("Graphic/PNG/ENG/") + QLatin1String(device) +
                      QStringLiteral(".PNG"));
        if (picture.open(QIODevice::WriteOnly))
            picture.write("png");
    }
    qint64 total = 0;
    qint64 sideTotal = 0;
    for (int i = 0; i < count; ++i) {
        const TKVG r = recipe(i, folder);
        total += writeFile(r.FilePath, recipeFileBytes(r));
        if (i % 2 == 0)
            sideTotal += writeSideFiles(r);
    }
    if (sideFileBytes)
        *sideFileBytes = sideTotal;
    return total;
}

qint64 plainReadOfRecipes(const QString& baseFolder)
{
    const QString folder = recipeFolder(baseFolder);
    qint64 bytes = 0;
    for (const QString& name : enumerateFiles(folder, QStringLiteral("*.vrez"))) {
        QFile file(folder + name);
        if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            bytes += file.readAll().size();
    }
    return bytes;
}

void copyFolder(const QString& from, const QString& to)
{
    const QDir source(from);
    QDir().mkpath(to);
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
    for (const QString& sub : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        copyFolder(from + QLatin1Char('/') + sub, to + QLatin1Char('/') + sub);
}

namespace {

const char* const kInstructionWords[] = {
    "preheat", "the",  "oven",   "to",      "180",    "degrees", "and",     "butter", "a",
    "round",   "tin",  "whisk",  "eggs",    "with",   "sugar",   "until",   "pale",   "fluffy",
    "fold",    "in",   "sifted", "flour",   "cocoa",  "pinch",   "of",      "salt",   "pour",
    "batter",  "bake", "forty",  "minutes", "gently", "stir",    "chilled", "serve",  "whipped"};

} // namespace

QString cookingWord(QRandomGenerator& random)
{
    return QString::fromLatin1(
        kInstructionWords[random.bounded(int(std::size(kInstructionWords)))]);
}

/// Instructions of about length characters in runs of a few words, each run in its own
/// font, in paragraphs of some hundred characters.
rich::RichDocument formattedText(int length)
{
    QRandomGenerator random(42);
    const char* faces[] = {"Arial", "Times New Roman", "Verdana", "Courier New"};
    const double sizes[] = {9, 10, 11, 12, 14};
    rich::RichDocument doc;
    doc.appendLine(QString());
    int written = 0;
    int paragraphLeft = 300;
    while (written < length) {
        rich::CharFormat f;
        f.fontName = QString::fromLatin1(faces[random.bounded(4)]);
        f.setPointSize(sizes[random.bounded(5)]);
        f.style = quint8(random.bounded(4));
        const quint16 id = doc.intern(f);
        for (int w = 1 + random.bounded(6); w > 0 && written < length; --w) {
            const QString text = cookingWord(random) + QLatin1Char(' ');
            rich::RichLine& line = doc.lines().last();
            line.text += text;
            for (qsizetype i = 0; i < text.size(); ++i)
                line.formats.append(id);
            line.endFormat = id;
            written += int(text.size());
            paragraphLeft -= int(text.size());
        }
        if (paragraphLeft <= 0) {
            doc.appendLine(QString(), doc.lines().last().endFormat);
            paragraphLeft = 200 + random.bounded(300);
        }
    }
    return doc;
}

TSTRING cookingLines(QRandomGenerator& random, int count, int words)
{
    TSTRING out;
    for (int i = 0; i < count; ++i) {
        QString line;
        for (int w = 0; w < words; ++w)
            line += (w ? QStringLiteral(" ") : QString()) + cookingWord(random);
        out.append(line.toLatin1());
    }
    return out;
}

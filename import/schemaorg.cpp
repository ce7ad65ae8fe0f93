// SPDX-License-Identifier: GPL-2.0-or-later

#include "import/schemaorg.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace {

// Deeper nesting than this is not searched for recipes or steps: real pages nest a few
// levels, and the bound keeps a hostile file from exhausting the stack.
constexpr int kMaxDepth = 32;

constexpr QLatin1String kScriptType{"application/ld+json"};

struct Block {
    QStringView json;
    qsizetype offset; // of the block's text in the text
};

// The JSON-LD script blocks of a page, or the whole text when it is JSON.
QList<Block> scriptBlocks(QStringView text)
{
    QList<Block> blocks;
    qsizetype from = 0;
    bool anyScript = false;
    while (true) {
        const qsizetype open = text.indexOf(QLatin1String("<script"), from, Qt::CaseInsensitive);
        if (open < 0)
            break;
        anyScript = true;
        const qsizetype tagEnd = text.indexOf(QLatin1Char('>'), open);
        if (tagEnd < 0)
            break;
        const qsizetype close =
            text.indexOf(QLatin1String("</script"), tagEnd, Qt::CaseInsensitive);
        const qsizetype end = close < 0 ? text.size() : close;
        if (text.sliced(open, tagEnd - open).contains(kScriptType, Qt::CaseInsensitive))
            blocks.append({text.sliced(tagEnd + 1, end - tagEnd - 1), tagEnd + 1});
        from = end;
    }
    const QStringView start = text.trimmed();
    if (!anyScript && (start.startsWith(QLatin1Char('{')) || start.startsWith(QLatin1Char('['))))
        blocks.append({text, 0});
    return blocks;
}

// Drops the comment or CDATA wrappers some pages put around a script's content.
QStringView unwrapped(QStringView json)
{
    json = json.trimmed();
    for (QLatin1String start :
         {QLatin1String("<!--"), QLatin1String("//<![CDATA["), QLatin1String("/*<![CDATA[*/")}) {
        if (json.startsWith(start))
            json = json.sliced(start.size()).trimmed();
    }
    for (QLatin1String end :
         {QLatin1String("-->"), QLatin1String("//]]>"), QLatin1String("/*]]>*/")}) {
        if (json.endsWith(end))
            json = json.chopped(end.size()).trimmed();
    }
    return json;
}

bool isType(const QJsonValue& type, QLatin1String wanted)
{
    if (type.isArray()) {
        const QJsonArray types = type.toArray();
        for (const QJsonValue& t : types) {
            if (isType(t, wanted))
                return true;
        }
        return false;
    }
    QString name = type.toString();
    const qsizetype slash =
        qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char(':')));
    if (slash >= 0)
        name = name.mid(slash + 1);
    return name.compare(wanted, Qt::CaseInsensitive) == 0;
}

void findRecipes(const QJsonValue& value, int depth, QList<QJsonObject>* found)
{
    if (depth > kMaxDepth)
        return;
    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        for (const QJsonValue& item : array)
            findRecipes(item, depth + 1, found);
        return;
    }
    if (!value.isObject())
        return;
    const QJsonObject object = value.toObject();
    if (isType(object.value(QLatin1String("@type")), QLatin1String("Recipe"))) {
        found->append(object);
        return;
    }
    for (auto it = object.begin(); it != object.end(); ++it)
        findRecipes(it.value(), depth + 1, found);
}

QString plain(const QString& text)
{
    return htmlToText(text).simplified();
}

// A text value: a string, a number, or the first of a list.
QString textOf(const QJsonValue& value)
{
    if (value.isString())
        return plain(value.toString());
    if (value.isDouble())
        return QString::number(value.toDouble());
    if (value.isArray() && !value.toArray().isEmpty())
        return textOf(value.toArray().first());
    return {};
}

QStringList textsOf(const QJsonValue& value)
{
    QStringList texts;
    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        for (const QJsonValue& item : array) {
            const QString text = textOf(item);
            if (!text.isEmpty())
                texts << text;
        }
    } else if (const QString text = textOf(value); !text.isEmpty()) {
        texts << text;
    }
    return texts;
}

// Lines of a text that may hold HTML and line breaks.
void appendLines(const QString& text, QStringList* lines)
{
    for (const QString& line : htmlToText(text).split(QLatin1Char('\n'))) {
        const QString simple = line.simplified();
        if (!simple.isEmpty())
            lines->append(simple);
    }
}

void instructions(const QJsonValue& value, int depth, QStringList* lines)
{
    if (depth > kMaxDepth)
        return;
    if (value.isString()) {
        appendLines(value.toString(), lines);
    } else if (value.isArray()) {
        const QJsonArray array = value.toArray();
        for (const QJsonValue& item : array)
            instructions(item, depth + 1, lines);
    } else if (value.isObject()) {
        const QJsonObject step = value.toObject();
        const QJsonValue items = step.value(QLatin1String("itemListElement"));
        const bool section =
            isType(step.value(QLatin1String("@type")), QLatin1String("HowToSection"));
        if (section || (!items.isUndefined() && !step.contains(QLatin1String("text")))) {
            if (const QString name = textOf(step.value(QLatin1String("name"))); !name.isEmpty())
                lines->append(name);
            instructions(items, depth + 1, lines);
            return;
        }
        const QJsonValue text = step.value(QLatin1String("text"));
        appendLines(text.isString() ? text.toString() : textOf(step.value(QLatin1String("name"))),
                    lines);
    }
}

// The yield: of several forms ("4", "4 servings") the one with words.
QString yieldOf(const QJsonValue& value)
{
    const QStringList texts = textsOf(value);
    for (const QString& text : texts) {
        bool number = false;
        text.toDouble(&number);
        if (!number)
            return text;
    }
    return texts.value(0);
}

NamedTime namedTime(const QJsonValue& value, const QString& name)
{
    NamedTime part;
    part.name = name;
    const QString text = textOf(value);
    part.seconds = durationSeconds(text);
    if (part.seconds < 0)
        part.text = text;
    return part;
}

// The total time (given, or preparation and cooking added up) and its parts.
QString timeOf(const QJsonObject& recipe)
{
    return cookingTime(
        namedTime(recipe.value(QLatin1String("totalTime")), QString()),
        {namedTime(recipe.value(QLatin1String("prepTime")), QStringLiteral("preparation")),
         namedTime(recipe.value(QLatin1String("cookTime")), QStringLiteral("cooking"))});
}

// The names of authors: texts, or objects with a name, or a list of them.
QStringList namesOf(const QJsonValue& value)
{
    if (value.isArray()) {
        QStringList names;
        const QJsonArray array = value.toArray();
        for (const QJsonValue& item : array)
            names << namesOf(item);
        return names;
    }
    const QString name =
        value.isObject() ? textOf(value.toObject().value(QLatin1String("name"))) : textOf(value);
    return name.isEmpty() ? QStringList() : QStringList{name};
}

// Fields of a recipe's content that are not imported, so the summary names them.
constexpr const char* kNotImported[] = {"recipeCuisine",   "keywords",      "nutrition",
                                        "suitableForDiet", "cookingMethod", "tool",
                                        "supply",          "estimatedCost", "performTime"};

// The picture of a recipe: a file the page names by a relative or file address, or the
// copy of a web address's picture that a browser's "save complete page" keeps. Nothing
// is fetched from the web.
class PictureFinder {
public:
    explicit PictureFinder(const QString& page)
        : m_page(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath())),
          m_savedFolder(QFileInfo(page).completeBaseName() + QStringLiteral("_files")),
          m_folder(QFileInfo(page).absoluteDir().canonicalPath())
    {
    }

    QString find(const QJsonValue& image) const
    {
        int tries = 0;
        Saved saved;
        const QString path = find(image, 0, &tries, &saved);
        return path.isEmpty() ? saved.path : path;
    }

private:
    // At most a few candidates are looked up, however many a hostile file lists.
    static constexpr int kMaxTries = 16;

    // The largest saved copy of a web picture met so far.
    struct Saved {
        QString path;
        qint64 size = -1;
    };

    // A file the page names wins at once; saved copies of web pictures are gathered
    // (an image may list the same picture in several sizes) and the largest is taken.
    QString find(const QJsonValue& image, int depth, int* tries, Saved* saved) const
    {
        if (depth > 4 || m_folder.isEmpty() || *tries >= kMaxTries)
            return {};
        if (image.isArray()) {
            const QJsonArray array = image.toArray();
            for (const QJsonValue& item : array) {
                if (const QString path = find(item, depth + 1, tries, saved); !path.isEmpty())
                    return path;
            }
        } else if (image.isObject()) {
            const QJsonObject object = image.toObject();
            for (QLatin1String key : {QLatin1String("contentUrl"), QLatin1String("url")}) {
                if (const QString path = find(object.value(key), depth + 1, tries, saved);
                    !path.isEmpty())
                    return path;
            }
        } else if (image.isString()) {
            ++*tries;
            const QString address = image.toString().trimmed();
            if (address.isEmpty() || address.size() > 4096)
                return {};
            const QUrl url(address);
            if (!url.isValid())
                return {};
            if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https") ||
                (url.scheme().isEmpty() && !url.host().isEmpty()))
                keepLarger(savedCopies(url.fileName()), saved);
            else
                return local(url);
        }
        return {};
    }

    // A picture named by a relative or file address that lies in the page's folder or
    // below it.
    QString local(const QUrl& url) const
    {
        if (!url.scheme().isEmpty() && url.scheme() != QLatin1String("file"))
            return {};
        const QUrl resolved = m_page.resolved(url);
        if (!resolved.isLocalFile())
            return {};
        const QFileInfo file(resolved.toLocalFile());
        if (!file.isFile())
            return {};
        return inside(file);
    }

    // The canonical path of file when it lies in the page's folder or below it.
    QString inside(const QFileInfo& file) const
    {
        const QString canonical = file.canonicalFilePath();
        return canonical.startsWith(m_folder + QLatin1Char('/')) ? canonical : QString();
    }

    // The files a browser may have saved a web picture of this file name as: in the
    // page's "NAME_files" folder or beside the page, under that name or, when the browser
    // changed the type, under its stem with a picture's extension.
    QList<QFileInfo> savedCopies(const QString& fileName) const
    {
        QList<QFileInfo> out;
        if (fileName.isEmpty())
            return out;
        const QString stem = QFileInfo(fileName).completeBaseName();
        for (const QString& folder : {QString(m_folder + QLatin1Char('/') + m_savedFolder), m_folder}) {
            const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files);
            for (const QFileInfo& file : files) {
                if (file.fileName().compare(fileName, Qt::CaseInsensitive) == 0 ||
                    (file.completeBaseName().compare(stem, Qt::CaseInsensitive) == 0 &&
                     isPictureName(file)))
                    out << file;
            }
        }
        return out;
    }

    static bool isPictureName(const QFileInfo& file)
    {
        static const QStringList kExtensions{
            QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("png"),
            QStringLiteral("gif"),  QStringLiteral("bmp"),  QStringLiteral("webp"),
            QStringLiteral("avif"), QStringLiteral("ico")};
        return kExtensions.contains(file.suffix(), Qt::CaseInsensitive);
    }

    void keepLarger(const QList<QFileInfo>& files, Saved* saved) const
    {
        for (const QFileInfo& file : files) {
            const QString path = inside(file);
            if (!path.isEmpty() && file.size() > saved->size)
                *saved = {path, file.size()};
        }
    }

    QUrl m_page;
    QString m_savedFolder; // "NAME_files", where a browser keeps what the page shows
    QString m_folder;
};

ImportedRecipe recipeOf(const QJsonObject& object, const PictureFinder& pictures)
{
    ImportedRecipe recipe;
    recipe.name = textOf(object.value(QLatin1String("name")));
    if (recipe.name.isEmpty())
        recipe.name = textOf(object.value(QLatin1String("headline")));
    QJsonValue ingredients = object.value(QLatin1String("recipeIngredient"));
    if (ingredients.isUndefined())
        ingredients = object.value(QLatin1String("ingredients"));
    recipe.ingredients = textsOf(ingredients);
    instructions(object.value(QLatin1String("recipeInstructions")), 0, &recipe.instructions);
    recipe.servings = yieldOf(object.value(QLatin1String("recipeYield")));
    recipe.totalTime = timeOf(object);
    recipe.categories = textsOf(object.value(QLatin1String("recipeCategory")));
    recipe.remark = textOf(object.value(QLatin1String("description")));
    recipe.picture = pictures.find(object.value(QLatin1String("image")));
    keepSource(recipe, QStringLiteral("Author"),
               namesOf(object.value(QLatin1String("author"))).join(QStringLiteral(", ")));
    keepSource(recipe, QStringLiteral("Source"), textOf(object.value(QLatin1String("url"))));
    return recipe;
}

} // namespace

bool looksLikeSchemaOrg(QStringView text)
{
    if (text.contains(kScriptType, Qt::CaseInsensitive))
        return true;
    const QStringView start = text.trimmed();
    return (start.startsWith(QLatin1Char('{')) || start.startsWith(QLatin1Char('['))) &&
           text.contains(QLatin1String("\"@type\""));
}

void readSchemaOrg(const QByteArray& bytes, const QString& path, const RecipeSink& sink,
                   QList<ImportProblem>* problems)
{
    const QString text = decodeImportedText(bytes);
    const PictureFinder pictures(path);
    int recipes = 0;
    DroppedFields dropped(path, problems);
    const QList<Block> blocks = scriptBlocks(text);
    if (blocks.isEmpty()) {
        problems->append({path, QString(),
                          QStringLiteral("the file holds no recipe data: no JSON-LD script and "
                                         "no JSON")});
        return;
    }
    for (const Block& block : blocks) {
        const QStringView json = unwrapped(block.json);
        if (json.isEmpty())
            continue;
        // The view lies inside text: its place there gives the lines of errors.
        const qsizetype jsonOffset =
            json.isEmpty() ? block.offset : json.constData() - text.constData();
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
        if (error.error != QJsonParseError::NoError) {
            // The error offset counts UTF-8 bytes; the line is found in the block's text.
            const QByteArray utf8 = json.toUtf8();
            const qsizetype at = QString::fromUtf8(utf8.left(error.offset)).size();
            const int line = lineAt(text, jsonOffset + at);
            problems->append({path, QStringLiteral("line %1").arg(line),
                              QStringLiteral("the JSON is damaged (%1); this block was not read")
                                  .arg(error.errorString())});
            continue;
        }
        const QString where = QStringLiteral("line %1").arg(lineAt(text, jsonOffset));
        QList<QJsonObject> found;
        findRecipes(document.isArray() ? QJsonValue(document.array())
                                       : QJsonValue(document.object()),
                    0, &found);
        for (const QJsonObject& object : found) {
            ++recipes;
            ImportedRecipe recipe = recipeOf(object, pictures);
            deliverRecipe(recipe, path, where, sink, problems);
            for (const char* key : kNotImported) {
                const QJsonValue value = object.value(QLatin1String(key));
                if (!textOf(value).isEmpty() || (value.isObject() && !value.toObject().isEmpty()))
                    dropped.add(QStringLiteral("\"%1\"").arg(QLatin1String(key)), where);
            }
        }
    }
    dropped.finish();
    if (recipes == 0)
        problems->append({path, QString(), QStringLiteral("no schema.org recipe was found")});
}

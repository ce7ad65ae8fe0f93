// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/recipejson.h"

#include "platform/cp1252.h"
#include "recipes/recipetexts.h"

#include <QJsonArray>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

QJsonArray linesToJson(const TSTRING& lines)
{
    QJsonArray array;
    for (QByteArrayView line : lines)
        array.append(cp1252::toUnicode(line));
    return array;
}

QJsonArray datesToJson(const TTDATE& dates)
{
    QJsonArray array;
    for (double date : dates)
        array.append(date);
    return array;
}

} // namespace

QJsonObject recipeToJson(const TKVG& r, QStringList* unreadable)
{
    QJsonObject object = recipeFieldsToJson(r);
    for (const RecipeTextField& field : recipeTextFields()) {
        QString error;
        object.insert(QLatin1String(field.name) + QLatin1String("Text"),
                      displayedText(r, field, &error));
        if (!error.isEmpty() && unreadable)
            unreadable->append(error);
    }
    return object;
}

QJsonObject recipeFieldsToJson(const TKVG& r)
{
    auto text = [](const QByteArray& bytes) { return cp1252::toUnicode(bytes); };
    return QJsonObject{
        {QStringLiteral("Kind"), r.Kind},
        {QStringLiteral("FileName"), r.FileName},
        {QStringLiteral("FilePath"), r.FilePath},
        {QStringLiteral("PictureFile"), r.PictureFile},
        {QStringLiteral("Name"), text(r.Name)},
        {QStringLiteral("Categories"), text(r.Categories)},
        {QStringLiteral("Difficulty"), r.Difficulty},
        {QStringLiteral("PrepTime"), text(r.PrepTime)},
        {QStringLiteral("Devices"), text(r.Devices)},
        {QStringLiteral("Servings"), text(r.Servings)},
        {QStringLiteral("LastCooked"), r.LastCooked},
        {QStringLiteral("CookedDates"), datesToJson(r.CookedDates)},
        {QStringLiteral("Ingredients"), linesToJson(r.Ingredients)},
        {QStringLiteral("Instructions"), linesToJson(r.Instructions)},
        {QStringLiteral("Comments"), linesToJson(r.Comments)},
        {QStringLiteral("Binder"), text(r.Binder)},
        {QStringLiteral("Magazine"), text(r.Magazine)},
        {QStringLiteral("Book"), text(r.Book)},
        {QStringLiteral("Page"), text(r.Page)},
        {QStringLiteral("Remark"), text(r.Remark)},
        {QStringLiteral("Quantities"), linesToJson(r.Quantities)},
        {QStringLiteral("Units"), linesToJson(r.Units)},
        {QStringLiteral("IngredientNames"), linesToJson(r.IngredientNames)},
        {QStringLiteral("Descriptions"), linesToJson(r.Descriptions)},
        {QStringLiteral("QuantitiesRtf"), r.QuantitiesRtf},
        {QStringLiteral("UnitsRtf"), r.UnitsRtf},
        {QStringLiteral("IngredientNamesRtf"), r.IngredientNamesRtf},
        {QStringLiteral("InstructionsRtf"), r.InstructionsRtf},
        {QStringLiteral("DescriptionsRtf"), r.DescriptionsRtf},
        {QStringLiteral("IngredientsRtf"), r.IngredientsRtf},
        {QStringLiteral("CommentsRtf"), r.CommentsRtf},
    };
}

namespace {

// JSON text exactly as QJsonDocument::toJson writes it (indented by four spaces, object
// keys in code-unit order, ": " after a key, an empty array as "[", a line break and
// "]"), written straight from the record: no JSON values, no UTF-16 copies of the
// Windows-1252 texts.
class JsonText {
public:
    explicit JsonText(QByteArray& out) : m_out(out) {}

    void raw(QByteArrayView bytes) { m_out.append(bytes); }
    void key(const char* name)
    {
        m_out.append(kKeyIndent);
        m_out.append('"');
        m_out.append(name);
        m_out.append("\": ");
    }
    void string(QStringView text);
    void ansi(QByteArrayView text);
    void ansiLines(const TSTRING& lines);
    void joinedAnsiLines(const TSTRING& lines);
    void number(double value);
    void numbers(const TTDATE& values);
    void integer(qint64 value) { m_out.append(QByteArray::number(value)); }

private:
    static constexpr char kKeyIndent[] = "        ";
    static constexpr char kItemIndent[] = "            ";

    void ansiContent(QByteArrayView text);
    template <typename List, typename Fn> void array(const List& list, Fn item);

    QByteArray& m_out;
};

// A character below 0x80 as JSON writes it inside a string; true when it needs escaping.
bool escapeAscii(char16_t c, char*& out)
{
    static const char kHex[] = "0123456789abcdef";
    if (c >= 0x20 && c != u'"' && c != u'\\') {
        *out++ = char(c);
        return false;
    }
    *out++ = '\\';
    switch (c) {
    case u'"':
        *out++ = '"';
        break;
    case u'\\':
        *out++ = '\\';
        break;
    case u'\b':
        *out++ = 'b';
        break;
    case u'\f':
        *out++ = 'f';
        break;
    case u'\n':
        *out++ = 'n';
        break;
    case u'\r':
        *out++ = 'r';
        break;
    case u'\t':
        *out++ = 't';
        break;
    default:
        for (char d : {'u', '0', '0', kHex[c >> 4], kHex[c & 0xf]})
            *out++ = d;
    }
    return true;
}

// Escapes text into out, which has room for six bytes per code unit; returns the end.
char* escapeInto(QStringView text, char* out)
{
    static const char kHex[] = "0123456789abcdef";
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            escapeAscii(c, out);
        } else if (c < 0x800) {
            *out++ = char(0xc0 | (c >> 6));
            *out++ = char(0x80 | (c & 0x3f));
        } else if (!QChar::isSurrogate(c)) {
            *out++ = char(0xe0 | (c >> 12));
            *out++ = char(0x80 | ((c >> 6) & 0x3f));
            *out++ = char(0x80 | (c & 0x3f));
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                   text[i + 1].isLowSurrogate()) {
            const char32_t u = QChar::surrogateToUcs4(c, text[++i].unicode());
            *out++ = char(0xf0 | (u >> 18));
            *out++ = char(0x80 | ((u >> 12) & 0x3f));
            *out++ = char(0x80 | ((u >> 6) & 0x3f));
            *out++ = char(0x80 | (u & 0x3f));
        } else { // a lone surrogate cannot be UTF-8: JSON's escape keeps it
            for (char d : {'\\', 'u', kHex[c >> 12], kHex[(c >> 8) & 0xf], kHex[(c >> 4) & 0xf],
                           kHex[c & 0xf]})
                *out++ = d;
        }
    }
    return out;
}

// Every Windows-1252 byte as escaped UTF-8.
struct AnsiTable {
    std::array<std::array<char, 6>, 256> bytes{};
    std::array<quint8, 256> length{};
    AnsiTable()
    {
        for (int b = 0; b < 256; ++b) {
            const QString text = cp1252::toUnicode(QByteArray(1, char(b)));
            char* start = bytes[b].data();
            length[b] = quint8(escapeInto(text, start) - start);
        }
    }
};

void JsonText::string(QStringView text)
{
    const qsizetype start = m_out.size();
    m_out.resize(start + 2 + 6 * text.size());
    char* out = m_out.data() + start;
    *out++ = '"';
    out = escapeInto(text, out);
    *out++ = '"';
    m_out.truncate(out - m_out.constData());
}

void JsonText::ansiContent(QByteArrayView text)
{
    static const AnsiTable table;
    const qsizetype start = m_out.size();
    m_out.resize(start + 6 * text.size());
    char* out = m_out.data() + start;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x80 && b != '"' && b != '\\') {
            *out++ = c;
            continue;
        }
        memcpy(out, table.bytes[b].data(), table.length[b]);
        out += table.length[b];
    }
    m_out.truncate(out - m_out.constData());
}

void JsonText::ansi(QByteArrayView text)
{
    m_out.append('"');
    ansiContent(text);
    m_out.append('"');
}

template <typename List, typename Fn> void JsonText::array(const List& list, Fn item)
{
    m_out.append("[\n");
    bool first = true;
    for (const auto& value : list) {
        if (!first)
            m_out.append(",\n");
        first = false;
        m_out.append(kItemIndent);
        item(value);
    }
    if (!first)
        m_out.append('\n');
    m_out.append(kKeyIndent);
    m_out.append(']');
}

void JsonText::ansiLines(const TSTRING& lines)
{
    array(lines, [this](QByteArrayView line) { ansi(line); });
}

void JsonText::joinedAnsiLines(const TSTRING& lines)
{
    m_out.append('"');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            m_out.append("\\n");
        ansiContent(lines[i]);
    }
    m_out.append('"');
}

void JsonText::number(double value)
{
    // A JSON value keeps a whole number up to 2^53 as an integer, and writes any other
    // number in its shortest form; infinities and NaN have no JSON form and become null.
    if (std::trunc(value) == value && std::fabs(value) <= 9007199254740992.0)
        integer(qint64(value));
    else if (std::isfinite(value))
        m_out.append(QByteArray::number(value, 'g', QLocale::FloatingPointShortest));
    else
        m_out.append("null");
}

void JsonText::numbers(const TTDATE& values)
{
    array(values, [this](double value) { number(value); });
}

// A text of the record as shown: its side file's text, or its plain lines.
struct ShownText {
    bool fromSideFile = false;
    QString text;
};

struct RecipeContext {
    const TKVG& r;
    const std::array<ShownText, 7>& shown;
};

struct JsonField {
    const char* key;
    std::function<void(JsonText&, const RecipeContext&)> write;
};

// The object's members in QJsonObject's key order.
const std::vector<JsonField>& jsonFields()
{
    static const std::vector<JsonField> fields = [] {
        auto ansi = [](QByteArray TKVG::*member) {
            return [member](JsonText& j, const RecipeContext& c) { j.ansi(c.r.*member); };
        };
        auto path = [](QString TKVG::*member) {
            return [member](JsonText& j, const RecipeContext& c) { j.string(c.r.*member); };
        };
        auto lines = [](TSTRING TKVG::*member) {
            return [member](JsonText& j, const RecipeContext& c) { j.ansiLines(c.r.*member); };
        };
        std::vector<JsonField> list{
            {"Kind", [](JsonText& j, const RecipeContext& c) { j.integer(c.r.Kind); }},
            {"FileName", path(&TKVG::FileName)},
            {"FilePath", path(&TKVG::FilePath)},
            {"PictureFile", path(&TKVG::PictureFile)},
            {"Name", ansi(&TKVG::Name)},
            {"Categories", ansi(&TKVG::Categories)},
            {"Difficulty", [](JsonText& j, const RecipeContext& c) { j.integer(c.r.Difficulty); }},
            {"PrepTime", ansi(&TKVG::PrepTime)},
            {"Devices", ansi(&TKVG::Devices)},
            {"Servings", ansi(&TKVG::Servings)},
            {"LastCooked", [](JsonText& j, const RecipeContext& c) { j.number(c.r.LastCooked); }},
            {"CookedDates",
             [](JsonText& j, const RecipeContext& c) { j.numbers(c.r.CookedDates); }},
            {"Binder", ansi(&TKVG::Binder)},
            {"Magazine", ansi(&TKVG::Magazine)},
            {"Book", ansi(&TKVG::Book)},
            {"Page", ansi(&TKVG::Page)},
            {"Remark", ansi(&TKVG::Remark)},
        };
        for (const RecipeTextField& field : recipeTextFields())
            list.push_back({field.name, lines(field.lines)});
        list.push_back({"QuantitiesRtf", path(&TKVG::QuantitiesRtf)});
        list.push_back({"UnitsRtf", path(&TKVG::UnitsRtf)});
        list.push_back({"IngredientNamesRtf", path(&TKVG::IngredientNamesRtf)});
        list.push_back({"InstructionsRtf", path(&TKVG::InstructionsRtf)});
        list.push_back({"DescriptionsRtf", path(&TKVG::DescriptionsRtf)});
        list.push_back({"IngredientsRtf", path(&TKVG::IngredientsRtf)});
        list.push_back({"CommentsRtf", path(&TKVG::CommentsRtf)});
        static std::array<QByteArray, 7> textKeys;
        for (size_t i = 0; i < textKeys.size(); ++i) {
            const RecipeTextField& field = recipeTextFields()[i];
            textKeys[i] = QByteArray(field.name) + "Text";
            list.push_back(
                {textKeys[i].constData(), [i, &field](JsonText& j, const RecipeContext& c) {
                     if (c.shown[i].fromSideFile)
                         j.string(c.shown[i].text);
                     else
                         j.joinedAnsiLines(c.r.*field.lines);
                 }});
        }
        std::sort(list.begin(), list.end(),
                  [](const JsonField& a, const JsonField& b) { return qstrcmp(a.key, b.key) < 0; });
        return list;
    }();
    return fields;
}

// One recipe as the element of an indented array: four spaces, then the object.
void writeRecipeJson(const TKVG& r, QByteArray& out, QStringList* unreadable)
{
    std::array<ShownText, 7> shown;
    for (size_t i = 0; i < shown.size(); ++i) {
        QString error;
        shown[i].fromSideFile = readSideFileText(r, recipeTextFields()[i], &shown[i].text, &error);
        if (!error.isEmpty() && unreadable)
            unreadable->append(error);
    }
    JsonText json(out);
    json.raw("    {\n");
    const RecipeContext context{r, shown};
    bool first = true;
    for (const JsonField& field : jsonFields()) {
        if (!first)
            json.raw(",\n");
        first = false;
        json.key(field.key);
        field.write(json, context);
    }
    json.raw("\n    }");
}

} // namespace

void writeRecipesJson(const RecipeSource& source, const std::function<void(QByteArrayView)>& write,
                      QStringList* unreadable)
{
    // An array is "[\n", its elements separated by ",\n", then "\n]\n" ("[\n]\n" when
    // empty); each recipe is handed on as soon as it is written.
    write("[\n");
    QByteArray buffer;
    bool first = true;
    source([&](const TKVG& r) {
        buffer.resize(0); // keeps the room of the last recipe
        if (!first)
            buffer.append(",\n");
        first = false;
        writeRecipeJson(r, buffer, unreadable);
        write(buffer);
    });
    write(first ? "]\n" : "\n]\n");
}

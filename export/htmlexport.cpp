// SPDX-License-Identifier: GPL-2.0-or-later

#include "export/htmlexport.h"

#include "export/jsonld.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

namespace {

constexpr char kHead[] = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                         "<meta name=\"viewport\" content=\"width=device-width, "
                         "initial-scale=1\">\n<link rel=\"stylesheet\" href=\"style.css\">\n";

// The search: every word typed must be in an entry's text for its row to show.
constexpr char kSearchScript[] =
    "<script>\n"
    "const texts = JSON.parse(document.getElementById('recipe-texts').textContent);\n"
    "const rows = document.querySelectorAll('#recipes li');\n"
    "document.getElementById('search').addEventListener('input', (event) => {\n"
    "  const words = event.target.value.toLowerCase().split(/\\s+/).filter(Boolean);\n"
    "  rows.forEach((row, i) => { row.hidden = !words.every((w) => texts[i].includes(w)); });\n"
    "});\n"
    "</script>\n";

void append(QByteArray& out, QStringView text)
{
    out += htmlEscaped(text).toUtf8();
}

void list(QByteArray& out, const char* tag, const QStringList& items)
{
    out += QByteArray("<") + tag + ">\n";
    for (const QString& item : items) {
        out += "<li>";
        append(out, item);
        out += "</li>\n";
    }
    out += QByteArray("</") + tag + ">\n";
}

// Small facts below the title: servings, time, categories.
void facts(QByteArray& out, const ExportedRecipe& recipe)
{
    QList<std::pair<const char*, QString>> items;
    if (!recipe.servings.isEmpty())
        items.append({"Servings", recipe.servings});
    if (!recipe.time.isEmpty())
        items.append({"Time", recipe.time});
    if (!recipe.categories.isEmpty())
        items.append({"Categories", recipe.categories.join(QStringLiteral(", "))});
    if (items.isEmpty())
        return;
    out += "<dl class=\"facts\">\n";
    for (const auto& [label, text] : items) {
        out += QByteArray("<dt>") + label + "</dt><dd>";
        append(out, text);
        out += "</dd>\n";
    }
    out += "</dl>\n";
}

} // namespace

QString htmlEscaped(QStringView text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (QChar ch : text) {
        switch (ch.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\'':
            out += QLatin1String("&#39;");
            break;
        default:
            out += ch;
        }
    }
    return out;
}

QString relativeAddress(const QString& fileName)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(fileName));
}

QByteArray recipePage(const ExportedRecipe& recipe, const QString& image)
{
    QByteArray out;
    out.reserve(4096);
    out += kHead;
    out += "<title>";
    append(out, recipe.name);
    out += "</title>\n<script type=\"application/ld+json\">\n";
    out +=
        scriptSafeJson(recipeJsonLd(recipe, image.isEmpty() ? QString() : relativeAddress(image)));
    out += "</script>\n</head>\n<body>\n<main>\n<nav><a href=\"index.html\">All "
           "recipes</a></nav>\n<h1>";
    append(out, recipe.name);
    out += "</h1>\n";
    if (!image.isEmpty()) {
        out += "<img src=\"";
        append(out, relativeAddress(image));
        out += "\" alt=\"";
        append(out, recipe.name);
        out += "\">\n";
    }
    if (!recipe.remark.isEmpty()) {
        out += "<p class=\"remark\">";
        append(out, recipe.remark);
        out += "</p>\n";
    }
    facts(out, recipe);
    if (!recipe.ingredients.isEmpty()) {
        out += "<h2>Ingredients</h2>\n";
        list(out, "ul", recipe.ingredients);
    }
    if (!recipe.instructions.isEmpty()) {
        out += "<h2>Instructions</h2>\n";
        list(out, "ol", recipe.instructions);
    }
    if (!recipe.comments.isEmpty()) {
        out += "<h2>Notes</h2>\n";
        for (const QString& comment : recipe.comments) {
            out += "<p>";
            append(out, comment);
            out += "</p>\n";
        }
    }
    out += "</main>\n</body>\n</html>\n";
    return out;
}

IndexEntry indexEntry(const ExportedRecipe& recipe, const QString& page)
{
    QStringList words{recipe.name};
    words << recipe.keywords << recipe.ingredients;
    return {recipe.name, page, recipe.categories, words.join(u' ').toLower()};
}

QByteArray indexPage(const QList<IndexEntry>& entries)
{
    QByteArray out;
    out.reserve(256 + entries.size() * 160);
    out += kHead;
    out += "<title>Recipes</title>\n</head>\n<body>\n<main>\n<h1>Recipes</h1>\n"
           "<input id=\"search\" type=\"search\" placeholder=\"Search\" aria-label=\"Search\">\n"
           "<ul id=\"recipes\">\n";
    QJsonArray texts;
    for (const IndexEntry& entry : entries) {
        out += "<li><a href=\"";
        append(out, relativeAddress(entry.page));
        out += "\">";
        append(out, entry.name);
        out += "</a>";
        if (!entry.categories.isEmpty()) {
            out += " <small>";
            append(out, entry.categories.join(QStringLiteral(", ")));
            out += "</small>";
        }
        out += "</li>\n";
        texts.append(entry.searchText);
    }
    out += "</ul>\n</main>\n<script type=\"application/json\" id=\"recipe-texts\">";
    // The list is data in a script element: escaped the way the recipes' JSON-LD is.
    QByteArray json = QJsonDocument(texts).toJson(QJsonDocument::Compact);
    json.replace("<", "\\u003c").replace(">", "\\u003e").replace("&", "\\u0026");
    out += json;
    out += "</script>\n";
    out += kSearchScript;
    out += "</body>\n</html>\n";
    return out;
}

QByteArray styleSheet()
{
    return "body { font-family: sans-serif; line-height: 1.5; margin: 0; color: #222; "
           "background: #fff; }\n"
           "main { max-width: 42em; margin: 0 auto; padding: 1em; }\n"
           "img { max-width: 100%; height: auto; border-radius: 4px; }\n"
           "h1 { font-size: 1.6em; margin: 0.4em 0; }\n"
           "h2 { font-size: 1.2em; margin-top: 1.2em; }\n"
           "nav, small, .remark { color: #555; }\n"
           ".facts { display: grid; grid-template-columns: max-content 1fr; gap: 0 1em; }\n"
           ".facts dt { font-weight: bold; }\n"
           ".facts dd { margin: 0; }\n"
           "#search { width: 100%; box-sizing: border-box; font-size: 1.1em; padding: 0.4em; "
           "margin-bottom: 0.8em; }\n"
           "#recipes { list-style: none; padding: 0; }\n"
           "#recipes li { padding: 0.3em 0; border-bottom: 1px solid #eee; }\n";
}

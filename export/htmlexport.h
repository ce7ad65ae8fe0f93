// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "export/exportrecipe.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The pages of the recipe website: one page per recipe with its picture and its
// schema.org data, and an index page with a search box whose few lines of script filter
// an embedded list, so the site works from a folder without a server. Every text of a
// recipe is escaped; the pages are UTF-8 and fit a phone's screen.

/// The text with &, <, >, " and ' written as character references.
QString htmlEscaped(QStringView text);

/// A file name as a relative address: each character a URL does not allow as it is
/// percent-encoded in UTF-8 ("Crème-brûlée.html" stays readable to browsers).
QString relativeAddress(const QString& fileName);

/// One recipe's page. image is the picture's file name beside the page, or empty.
QByteArray recipePage(const ExportedRecipe& recipe, const QString& image);

/// A recipe as the index lists it.
struct IndexEntry {
    QString name;
    QString page; ///< file name of its page
    QStringList categories;
    QString searchText; ///< what the search box finds it by, in small letters
};

/// The entry of a recipe: found by its name, categories, keywords and ingredients.
IndexEntry indexEntry(const ExportedRecipe& recipe, const QString& page);

/// The index page of the entries, in their order.
QByteArray indexPage(const QList<IndexEntry>& entries);

/// The style sheet the pages share ("style.css").
QByteArray styleSheet();

// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

// The plan of a cookbook: the order of its recipes, the lines of its table of contents
// on their pages and the page each recipe starts on; and where a page's number goes.
// Page indexes count from 0 (the title page); the printed number of a page is its
// index + 1.

/// Heading of the recipes without a category in a contents grouped by category.
inline constexpr char kNoCategoryHeading[] = "Other recipes";

/// A recipe of the book as the list gives it.
struct BookRecipe {
    QString name;
    QString category; ///< its first category; empty for none
    int pages = 1;    ///< the pages its layout takes
};

/// A line of the table of contents: a category heading, or a recipe with its page.
struct ContentsLine {
    bool heading = false;
    QString text;
    int recipe = -1; ///< position of the recipe in the book order
    int page = 0;    ///< index of the recipe's first page
};

struct BookPlan {
    QList<int> order;                    ///< the listed recipes (their positions) in book order
    QList<QList<ContentsLine>> contents; ///< the lines of each contents page
    QList<int> firstPage;                ///< of each recipe in book order
    int pageCount = 0;                   ///< title, contents and recipes
    int firstContentsPage() const { return 1; }
};

/// Plans the book of listed (in list order) with linesPerPage contents lines to a page
/// (at least 2). grouped: the recipes are gathered under a heading for their category,
/// the categories in alphabetical order (case-insensitive) and the recipes without one
/// last under kNoCategoryHeading, each group keeping list order; a heading never ends a
/// contents page. Not grouped: list order without headings. A book of no recipes has a
/// title page and one empty contents page.
BookPlan PlanBook(const QList<BookRecipe>& listed, bool grouped, int linesPerPage);

/// Where a page number of size text goes, in page pixels: centred under sheet, in the
/// bottom margin between the lowest bottom of sheet and of the elements on the page
/// and printableBottom, in the middle of that band; at its top when the band is lower
/// than the number, so the number never covers an element.
QRectF PageNumberBox(const QRectF& sheet, const QList<QRectF>& elements, double printableBottom,
                     QSizeF text);

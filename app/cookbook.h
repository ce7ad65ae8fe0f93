// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class PrintJob;

// A cookbook: many recipes in one print job, each laid out as its preview opens (the
// standard draft of its kind, deluxe for a recipe with both layouts), after a title
// page and a table of contents, every page numbered in its bottom margin. On a PDF
// file the contents entries link to their pages and the document has an outline.

/// Text of the title page when none is given.
inline constexpr char kDefaultBookTitle[] = "Cookbook";

/// Called after each step of the work with the steps done and their number; returns
/// false to cancel the book.
using BookProgress = std::function<bool(int done, int total)>;

struct BookRequest {
    QList<int> recipes; ///< catalogue indexes in list order
    QString title;
    bool grouped = false; ///< the contents grouped by category
};

enum class BookResult { Printed, Cancelled, Failed };

/// Prints the book of request on job: every recipe is laid out once to count its
/// pages, then again to print it. A recipe that cannot be laid out is left out with a
/// line in problems. Cancelling through progress aborts the job (no file, no print);
/// a job that cannot be started, continued or delivered fails with error.
BookResult PrintBook(PrintJob& job, Catalogue& catalogue, const BookRequest& request,
                     const BookProgress& progress, QString* error, QStringList* problems);

/// The first category of a recipe as the contents groups it; empty for none.
QString firstCategory(const TKVG& recipe);

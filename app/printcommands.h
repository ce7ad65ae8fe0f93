// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QList>
#include <QString>

class QTextStream;

// The command-line modes that print to a PDF file through the built-in PDF printer or
// to a print queue, without showing a window, and the list filter they share with
// --list.

/// The filter boxes as the command line gives them.
struct ListOptions {
    QString search;
    QString category;
    int difficulty = 0;
    QString source;
};

/// Reads the catalogue of the current folder into kv and applies options: rows are
/// the catalogue indexes of the list's recipe rows in order. Returns 0, or 2 with a
/// line on err when an entry does not exist. Problems with single files go to err.
int selectListRows(const ListOptions& options, TKV& kv, QList<int>* rows, QTextStream& err);

/// The catalogue index of the first recipe whose name reads as name; -1 when none does.
int findRecipeByName(const TKV& kv, const QString& name);

/// Where a command prints: a PDF file through the built-in PDF printer, or a queue of
/// the system's printers (as the print dialog would, the job named after the recipe
/// and waited for until it is done).
struct PrintTarget {
    QString pdfFile;
    QString queue;
};

/// --print-pdf and --print: lays out the recipe listed as name as the preview does on
/// opening (deluxe answers the deluxe question with Yes) and prints its pages. Returns
/// 0, or 1 with one line on err (unknown name or printer, nothing to lay out, the file
/// not written, the queue stopped or refusing the job); a file is then left as it was.
int printRecipe(const PrintTarget& target, const QString& name, bool deluxe,
                const QString& draftFile, QTextStream& err);

/// --print-list-pdf and --print-list: prints the rows --list gives for options.
/// Returns 0, 1 when the file cannot be written or the printer fails, or 2 for an
/// unknown filter entry.
int printListTo(const PrintTarget& target, const ListOptions& options, QTextStream& err);

/// --print-book: the recipe rows --list gives for options as a cookbook in the PDF file
/// pdfFile, under title (kDefaultBookTitle when empty), its contents grouped by
/// category when options name no category. Returns 0, 1 when the file cannot be
/// written (it is then left as it was), or 2 for an unknown filter entry.
int printBookTo(const QString& pdfFile, const QString& title, const ListOptions& options,
                QTextStream& err);

#pragma once

#include "recipes/recipe.h"

#include <QList>
#include <QString>

class QTextStream;

// The command-line modes that print to a PDF file through the built-in PDF printer,
// without showing a window, and the list filter they share with --list.

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

/// --print-pdf: lays out the recipe listed as name as the preview does on opening
/// (deluxe answers the deluxe question with Yes) and prints its pages to out. Returns
/// 0, or 1 with one line on err (unknown name, nothing to lay out, out not written);
/// out is then left as it was.
int printRecipePdf(const QString& out, const QString& name, bool deluxe, const QString& draftFile,
                   QTextStream& err);

/// --print-list-pdf: prints the rows --list gives for options to out. Returns 0, 1
/// when out cannot be written, or 2 for an unknown filter entry.
int printListPdf(const QString& out, const ListOptions& options, QTextStream& err);

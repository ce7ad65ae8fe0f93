// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// What the import readers share: the recipe as a reader collects it (Unicode texts, so
// each format decodes once), the record it becomes, and the problems a reader names.

/// Something in an imported file that could not be read, or was read with a change the
/// user should know of.
struct ImportProblem {
    QString file;   ///< the file as it was given
    QString where;  ///< "line 12", or empty when the whole file is meant
    QString reason; ///< what was wrong and what became of it
    /// "file, line 12: reason".
    QString toString() const;
};

/// One row of the four deluxe columns.
struct IngredientRow {
    QString quantity;
    QString unit;
    QString name;
    QString preparation;
};

/// A recipe as a reader collects it. Texts are Unicode; toRecord converts them.
struct ImportedRecipe {
    QString name;
    QStringList categories;
    QString servings;
    QString totalTime;
    QString remark;
    QString picture;           ///< full path of an existing picture file, or empty
    QStringList ingredients;   ///< free-text ingredient lines (a normal recipe)
    QList<IngredientRow> rows; ///< deluxe columns; when present the recipe is deluxe
    QStringList instructions;
    QStringList comments;

    /// The recipe record: deluxe when it has rows, difficulty 1 ("very easy", what a
    /// record without one reads as), cooked today, no file name yet.
    TKVG toRecord() const;
};

/// Receives each recipe as a reader has read it.
using RecipeSink = std::function<void(ImportedRecipe& recipe)>;

/// A reader of one format: bytes of the file at path (named in problems, and the folder
/// where pictures beside a page are looked for) into recipes; what it cannot read goes
/// into problems. Never fails as a whole: a damaged file gives what could be read.
using RecipeReader = void (*)(const QByteArray& bytes, const QString& path, const RecipeSink& sink,
                              QList<ImportProblem>* problems);

/// A record text for a Unicode text, as a typed text becomes one: line breaks and tabs
/// become blanks, other control characters go, and a character Windows-1252 cannot hold
/// becomes "?". Fractions such as "⅓" (which it cannot hold) are written "1/3" first, so
/// quantities keep their value.
QByteArray recordText(QStringView text);

/// The code pages a file that is not Unicode may be in.
enum class OldCodePages {
    Windows,     ///< Windows-1252, the code page old recipe collections were written in
    WindowsOrDos ///< also DOS code page 437, told by its degree signs, fractions, letters
};

/// A file's text: UTF-16 with a byte-order mark (or, without one, told by its zero
/// bytes), UTF-8 when the bytes are valid UTF-8 (a byte-order mark is dropped), otherwise
/// the old code page that reads best.
QString decodeImportedText(const QByteArray& bytes, OldCodePages codePages = OldCodePages::Windows);

/// The seconds of an ISO 8601 duration ("PT1H30M", "P1DT2H", "P0Y0M0DT0H50M0.000S"; a
/// year counts 365 days, a month 30); -1 when text is not one.
qint64 durationSeconds(QStringView text);
/// A length of time as people read it: "1 h 30 min", "26 h", "45 min"; empty for 0.
QString formatDuration(qint64 seconds);
/// An ISO 8601 duration as people read it; empty when text is not one or is zero.
QString durationText(QStringView text);

/// One named time of a recipe: its name ("preparation"; may be empty) and its length in
/// seconds, or, when no length could be read from it, its text (seconds -1).
struct NamedTime {
    QString name;
    qint64 seconds = -1;
    QString text;
    bool isEmpty() const { return seconds <= 0 && text.isEmpty(); }
};

/// The cooking time of a recipe: the total (the given one, or the parts added up) and the
/// parts it is made of, "2 h (preparation 1 h, cooking 1 h)". A part that is only a text
/// is written as it is, and then the parts are not added up.
QString cookingTime(const NamedTime& total, const QList<NamedTime>& parts);

/// Keeps where a recipe comes from ("Author", "Jo Smith" as "Author: Jo Smith"): as the
/// remark when the recipe has none, otherwise as a comment.
void keepSource(ImportedRecipe& recipe, const QString& label, const QString& value);

/// Text of an HTML fragment: tags dropped (a line break for "br", and at the end of a
/// paragraph or list item), character references decoded.
QString htmlToText(QStringView html);

/// The 1-based line of the character at offset in text.
int lineAt(QStringView text, qsizetype offset);

/// The name for a recipe that has none: the file's name without its extension.
QString nameFromFile(const QString& path);

/// The fields of a file that a reader leaves out, each named once in the problems: where
/// it was met first and, when the file is read, how often.
class DroppedFields {
public:
    DroppedFields(const QString& path, QList<ImportProblem>* problems);
    /// A field as the file names it ("<nutrition>", "\"keywords\"") not imported at where.
    void add(const QString& field, const QString& where);
    /// Adds to each named field how often it was met, when more than once.
    void finish();

private:
    struct Seen {
        qsizetype problem; // its place in the problems
        int count;
    };
    QString m_path;
    QList<ImportProblem>* m_problems;
    QHash<QString, Seen> m_seen;
};

/// Gives the recipe a name when it has none (and reports it at where), then hands it to
/// sink.
void deliverRecipe(ImportedRecipe& recipe, const QString& path, const QString& where,
                   const RecipeSink& sink, QList<ImportProblem>* problems);

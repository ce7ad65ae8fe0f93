// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

// A recipe as the exports write it: Unicode texts as the program shows them (a rich-text
// side file wins over the plain lines), blank lines left out, ingredients as lines and,
// for a deluxe recipe, also as the rows of its four columns.

/// One row of the four deluxe columns.
struct ExportRow {
    QString quantity;
    QString unit;
    QString name;
    QString preparation;
    /// "2 tbsp sugar, sifted": the columns that are set, the preparation after a comma.
    QString line() const;
};

/// A cooking time read from its text, in seconds; -1 where a part was not given.
struct CookingTimes {
    qint64 total = -1;
    qint64 preparation = -1;
    qint64 cooking = -1;
};

/// Reads a cooking time as people write it: "1 h 30 min", "90 min", "1:30", "1 1/2 hours",
/// "2 Std. 15 Min.", "2 h (preparation 1 h, cooking 1 h)", "preparation 20 min, cooking
/// 40 min" (the total is then their sum), a bare number as minutes. A piece it cannot
/// read ("overnight") is left out; total is -1 when nothing gives one.
CookingTimes readCookingTime(QStringView text);

/// An ISO 8601 duration of seconds above zero: "PT1H30M", "PT26H", "PT45S"; empty otherwise.
QString isoDuration(qint64 seconds);

struct ExportedRecipe {
    QString name;
    QStringList categories;
    QString servings;
    QString time; ///< the cooking time as written
    CookingTimes times;
    QString remark;
    bool deluxe = false;
    QList<ExportRow> rows;   ///< deluxe columns, empty rows left out
    QStringList ingredients; ///< one line each: the free lines, or the rows joined
    QStringList instructions;
    QStringList comments;
    QString picture; ///< full path of an existing picture file, or empty
    QStringList keywords;
    /// Side files that exist but could not be read (their plain lines were used).
    QStringList unreadable;
};

/// The recipe as the exports write it.
ExportedRecipe exportedRecipe(const TKVG& recipe);

/// Hands out file names for recipes: letters and digits of the name kept, every other run
/// of characters one "-", at most 60 characters, never a name Windows reserves ("con"),
/// and never one handed out before, compared without case ("-2", "-3" added).
class ExportFileNames {
public:
    /// A free stem for name ("Easy Chili con Carne" gives "Easy-Chili-con-Carne").
    QString take(const QString& name);
    /// Reserves a stem ("index") so no recipe gets it.
    void reserve(const QString& stem) { m_taken.insert(stem.toCaseFolded()); }

private:
    bool isFree(const QString& stem) const;
    QSet<QString> m_taken; // case-folded stems
};

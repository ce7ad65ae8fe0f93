// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/richdocument.h"
#include "recipes/recipe.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

// The content of the editor form as plain values, independent of any widget: what the
// edit boxes, lists, date picker and the seven rich edits hold.

struct RecipeForm {
    QString name;       ///< RecipeName
    int kind = 0;       ///< 0 normal, 1 deluxe
    QString binder;     ///< Ordner
    QString book;       ///< Buch
    QString magazine;   ///< Zeitschrift
    QString page;       ///< Seite
    QString remark;     ///< Bemerkung
    QString categories; ///< ERezeptkategorien
    QByteArray devices; ///< the record's Devices, changed at once by the device list
    QString servings;   ///< Portionen
    QString prepTime;   ///< Zubzeit
    int difficultyItem = 0; ///< item index of CBKochlevel (difficulty - 1)
    double lastCooked = 0;  ///< DTP1
    QString pictureFile;    ///< LGrafikvolldateiname
    /// The seven rich edits in the order of recipeTextFields(): MBemerkungstext,
    /// Zutatenliste, Rezepttext, Menge1, Einheit1, Name1, Beschreibung1.
    std::array<rich::RichDocument, 7> texts;
};

/// The form as it is filled for an existing recipe: each text from its side file when
/// that is set, exists and can be read, otherwise from its plain lines; categories
/// normalised. The picture is taken as stored (the caller empties it when its file is
/// missing). A side file that exists but cannot be read is named in unreadable.
RecipeForm formFromRecipe(const TKVG& recipe, QStringList* unreadable = nullptr);

/// A rich text holding the plain lines, one line each, in the default format.
rich::RichDocument documentFromLines(const TSTRING& lines);
/// The lines of a rich text as plain Windows-1252 lines; a character the code page
/// cannot hold becomes "?".
TSTRING linesFromDocument(const rich::RichDocument& doc);

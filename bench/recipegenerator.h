// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/richdocument.h"
#include "recipes/recipe.h"

#include <QRandomGenerator>
#include <QString>

/// Reads every byte of the recipe files below a base folder, as plainly as possible:
/// the baseline the catalogue read is measured against. Returns the bytes read.
qint64 plainReadOfRecipes(const QString& baseFolder);

/// Copies a folder with everything below it (the interface pictures of the shipped base
/// folder, so a benchmark loads what the program loads for a user).
void copyFolder(const QString& from, const QString& to);

/// A random word of cooking instructions.
QString cookingWord(QRandomGenerator& random);

/// count lines of the given number of cooking words each.
TSTRING cookingLines(QRandomGenerator& random, int count, int words);

/// Instructions of about length characters in runs of a few words, each run in its own
/// font, in paragraphs of some hundred characters (the same text on every call).
rich::RichDocument formattedText(int length);

/// Generated recipes of realistic size for benchmarks: names and lines made of
/// cooking words, 5 to 30 lines per list, some deluxe, some paper references. Typed-in
/// recipes name rich-text side files for some of their texts; as in a collection copied
/// without all of them, writeCollection writes those of every other recipe only.
class RecipeGenerator {
public:
    explicit RecipeGenerator(quint32 seed = 4711) : m_random(seed) {}

    /// From now on one word in five is a made-up word of a vocabulary of that many
    /// (0: none), the first of them far more often than the last, as rarer words are
    /// in real collections: names of dishes, places, brands, numbers.
    void setRareWords(int vocabulary) { m_rareWords = vocabulary; }

    TKVG recipe(int number, const QString& folder);
    /// Writes count recipe files into folder/prepared_recipes, and the side files of the
    /// even-numbered ones; returns the recipe files' total size and puts the side files'
    /// into sideFileBytes when given.
    qint64 writeCollection(const QString& baseFolder, int count, qint64* sideFileBytes = nullptr);

private:
    QByteArray words(int min, int max);
    TSTRING lines(int min, int max, int minWords, int maxWords);

    QByteArray rareWord();

    QRandomGenerator m_random;
    int m_rareWords = 0;
};

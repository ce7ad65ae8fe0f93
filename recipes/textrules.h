// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

// Text rules on Windows-1252 texts: comma lists, name lists, search words and small
// helpers. Texts compare byte by byte; a "blank" is the space character.

QByteArray TrimLeadingBlanks(const QByteArray& text);

/// Normalised comma list: no blanks at either end or next to a comma, no empty entry
/// between commas, and a final "," when not empty ('  Soups , Starters,,Cakes' gives
/// 'Soups,Starters,Cakes,'; blanks only give ",").
QByteArray NormaliseCommaList(const QByteArray& text);
/// As NormaliseCommaList, and leading commas are removed (',Soups' gives 'Soups,').
QByteArray NormaliseCommaListStrict(const QByteArray& text);
/// Categories of an old recipe file: as NormaliseCommaList but without collapsing
/// repeated commas at the end and without appending ",".
QByteArray NormaliseOldCategories(const QByteArray& text);

/// The names before each comma of a list, empty ones dropped; a rest after the last
/// comma is not a name.
QByteArrayList SplitCommaList(const QByteArray& list);
/// Distinct, non-empty names in ascending byte order.
QByteArrayList SortedDistinct(QByteArrayList names);

/// Categories of the record at index, or of every record for -1, as a name list. Each
/// record's Categories is normalised (strictly) in place.
QByteArrayList CollectCategories(TKV& kv, int index);
/// Devices of the record at index, or of every record for -1; each record's Devices is
/// normalised in place.
QByteArrayList CollectDevices(TKV& kv, int index);
QByteArrayList CollectDevices(TKVG& recipe);
/// Binder, magazine and book names of the record at index, or of every record for -1.
QByteArrayList CollectSources(const TKV& kv, int index);

/// Replaces a fixed set of accented letters by plain ones ("ß" by "ss"); umlauts stay.
QByteArray FoldAccents(const QByteArray& text);

struct SearchWords {
    QByteArrayList words;
    int synonymMarker = 0; ///< 2 when a sauce word added its other spellings
};

/// Splits a search text at blanks into words, optionally folding accents, adding the
/// other spellings of "sauce" and upper-casing.
SearchWords SplitSearchWords(const QByteArray& text, bool synonyms, bool fold, bool upper);

/// value with decimals in fixed-point notation, "." as decimal point, no padding.
QString FormatFixed(double value, int width, int decimals);

/// Text after the last "\" or "/".
QString FileNamePart(const QString& path);
/// Text up to and including the last "\" or "/"; empty when there is none.
QString FolderPart(const QString& path);

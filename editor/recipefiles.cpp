// SPDX-License-Identifier: GPL-2.0-or-later

#include "editor/recipefiles.h"

#include "platform/cp1252.h"
#include "platform/filelookup.h"
#include "platform/runlock.h"
#include "platform/safefile.h"
#include "recipes/textrules.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>

namespace {

// Characters (all with the same code in Windows-1252 and Unicode) that are replaced.
constexpr char16_t kReplaced[] = u"\u00B0/<^?>'`|!\u00B4;\":\u00A7+~$#{%\\[&@]}\u00B2\u00B3*";

bool isReplaced(QChar ch)
{
    for (char16_t c : kReplaced) {
        if (c != 0 && ch.unicode() == c)
            return true;
    }
    return false;
}

QString numberedName(const QString& safeName, int number)
{
    return safeName + QLatin1Char('_') + QString::number(number) + QStringLiteral(".vrez");
}

// Random draws find a free number quickly while few are taken; this many misses in a
// row mean most are taken, and the rest is searched in order.
constexpr int kRandomTries = 2000;

} // namespace

QString SafeFileName(const QString& text)
{
    QString result = text;
    for (QChar& ch : result) {
        if (isReplaced(ch))
            ch = QLatin1Char('_');
    }
    return result;
}

QString recipeFileNameFor(const QByteArray& name)
{
    return SafeFileName(cp1252::toUnicode(name)) + QStringLiteral(".vrez");
}

int drawFileNameSuffix()
{
    return int(QRandomGenerator::global()->bounded(900));
}

TakenFileNames::TakenFileNames(const QString& folder)
{
    const QString existing = lookupPath(folder);
    if (existing.isEmpty())
        return;
    const QStringList entries = QDir(existing).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& entry : entries)
        m_names.insert(entry.toCaseFolded());
}

bool TakenFileNames::isFree(const QString& fileName) const
{
    return !m_names.contains(fileName.toCaseFolded());
}

void TakenFileNames::take(const QString& fileName)
{
    m_names.insert(fileName.toCaseFolded());
}

QString FreeRecipeFileName(const TakenFileNames& taken, const QByteArray& name,
                           const SuffixDraw& draw)
{
    const QString plain = recipeFileNameFor(name);
    if (taken.isFree(plain))
        return plain;
    const QString safeName = SafeFileName(cp1252::toUnicode(name));
    for (int i = 0; i < kRandomTries; ++i) {
        const QString candidate = numberedName(safeName, draw());
        if (taken.isFree(candidate))
            return candidate;
    }
    for (int number = 0; number < 900; ++number) {
        const QString candidate = numberedName(safeName, number);
        if (taken.isFree(candidate))
            return candidate;
    }
    return {};
}

QString FreeRecipeFileName(const QString& folder, const QByteArray& name, const SuffixDraw& draw)
{
    return FreeRecipeFileName(TakenFileNames(folder), name, draw);
}

QString sideFilePath(const QString& recipeFilePath, const RecipeTextField& field)
{
    return recipeFilePath + QLatin1String(field.suffix);
}

bool removeRecipeFile(const QString& path, QString* error)
{
    // Through the file layer, so the kept listing of the folder learns of it.
    return removeFile(path, error);
}

bool DeleteRecipeFiles(const QString& recipeFilePath, QString* error)
{
    if (!removeRecipeFile(recipeFilePath, error))
        return false;
    QStringList failed;
    for (const RecipeTextField& field : recipeTextFields()) {
        QString sideError;
        if (!removeRecipeFile(sideFilePath(recipeFilePath, field), &sideError))
            failed << sideError;
    }
    // Temporary files a killed save of this recipe left behind go with it.
    QStringList names{fileNameOf(recipeFilePath)};
    for (const RecipeTextField& field : recipeTextFields())
        names << names.first() + QLatin1String(field.suffix);
    const QString folder = FolderPart(recipeFilePath);
    const QString base = QDir::cleanPath(folder + QStringLiteral("/..")) + QLatin1Char('/');
    removeLeftoverTemporaryFiles(
        folder, [&base](const QString& tag) { return runIsAlive(base, tag); }, names);
    *error = failed.join(QLatin1Char('\n'));
    return failed.isEmpty();
}

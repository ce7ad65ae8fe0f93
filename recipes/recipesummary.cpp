// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/recipesummary.h"

#include "platform/cp1252.h"

namespace {

QString text(QByteArrayView bytes)
{
    return cp1252::toUnicode(bytes);
}

QStringList deluxeRows(const TKVG& r)
{
    const qsizetype rows = qMax(qMax(r.Quantities.size(), r.Units.size()),
                                qMax(r.IngredientNames.size(), r.Descriptions.size()));
    QStringList lines;
    for (qsizetype row = 0; row < rows; ++row) {
        QString line = row < r.Quantities.size() ? text(r.Quantities[row]) : QString();
        for (const TSTRING* column : {&r.Units, &r.IngredientNames, &r.Descriptions}) {
            if (row >= column->size())
                continue;
            if (!line.isEmpty())
                line += QLatin1Char(' ');
            line += text((*column)[row]);
        }
        lines << line;
    }
    return lines;
}

QStringList printedMatter(const QString& label, const TKVG& r)
{
    QStringList lines{label};
    if (!r.Page.isEmpty())
        lines << QStringLiteral("Page: ") + text(r.Page);
    if (!r.Remark.isEmpty())
        lines << text(r.Remark);
    return lines;
}

} // namespace

QStringList SummaryLines(const TKVG& r, int recipeType)
{
    switch (recipeType) {
    case NormalType: {
        QStringList lines;
        for (QByteArrayView line : r.Instructions)
            lines << text(line);
        return lines;
    }
    case DeluxeType:
        return deluxeRows(r);
    case BinderType:
        return printedMatter(QStringLiteral("Ring binder: ") + text(r.Binder), r);
    case MagazineType:
        return printedMatter(QStringLiteral("Magazine: ") + text(r.Magazine), r);
    case BookType:
        return printedMatter(QStringLiteral("Book: ") + text(r.Book), r);
    default:
        return {};
    }
}

// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/bookplan.h"

#include <QMap>

#include <algorithm>

namespace {

// The positions of listed in book order, with the heading of each group (one group
// without a heading when not grouped).
QList<std::pair<QString, QList<int>>> groupsOf(const QList<BookRecipe>& listed, bool grouped)
{
    QList<int> all;
    for (int i = 0; i < listed.size(); ++i)
        all.append(i);
    if (!grouped)
        return {{QString(), all}};
    QMap<QString, std::pair<QString, QList<int>>> byKey; // case-folded name -> heading, recipes
    QList<int> others;
    for (int i : all) {
        const QString& category = listed[i].category;
        if (category.isEmpty()) {
            others.append(i);
            continue;
        }
        auto& group = byKey[category.toCaseFolded()];
        if (group.first.isEmpty())
            group.first = category;
        group.second.append(i);
    }
    QList<std::pair<QString, QList<int>>> groups(byKey.cbegin(), byKey.cend());
    if (!others.isEmpty())
        groups.append({QString::fromLatin1(kNoCategoryHeading), others});
    return groups;
}

} // namespace

BookPlan PlanBook(const QList<BookRecipe>& listed, bool grouped, int linesPerPage)
{
    linesPerPage = std::max(2, linesPerPage);
    BookPlan plan;
    QList<ContentsLine> lines;
    for (const auto& [heading, recipes] : groupsOf(listed, grouped)) {
        if (grouped)
            lines.append({true, heading, -1, 0});
        for (int i : recipes) {
            lines.append({false, listed[i].name, int(plan.order.size()), 0});
            plan.order.append(i);
        }
    }
    // Lines to pages; a heading that would end a page starts the next one.
    plan.contents.append(QList<ContentsLine>());
    for (const ContentsLine& line : lines) {
        const qsizetype used = plan.contents.last().size();
        if (used == linesPerPage || (line.heading && used == linesPerPage - 1))
            plan.contents.append(QList<ContentsLine>());
        plan.contents.last().append(line);
    }
    int page = 1 + int(plan.contents.size());
    for (int i : plan.order) {
        plan.firstPage.append(page);
        page += std::max(1, listed[i].pages);
    }
    plan.pageCount = page;
    for (QList<ContentsLine>& contentsPage : plan.contents) {
        for (ContentsLine& line : contentsPage) {
            if (!line.heading)
                line.page = plan.firstPage[line.recipe];
        }
    }
    return plan;
}

QRectF PageNumberBox(const QRectF& sheet, const QList<QRectF>& elements, double printableBottom,
                     QSizeF text)
{
    double top = sheet.bottom();
    for (const QRectF& element : elements)
        top = std::max(top, element.bottom());
    const double room = printableBottom - top;
    const double y = room > text.height() ? top + (room - text.height()) / 2 : top;
    return QRectF(sheet.center().x() - text.width() / 2, y, text.width(), text.height());
}

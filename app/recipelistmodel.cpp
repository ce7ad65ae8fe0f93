// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/recipelistmodel.h"

#include "platform/cp1252.h"
#include "platform/daycount.h"
#include "recipes/recipelist.h"

#include <QLocale>

#include <cmath>

RecipeListModel::RecipeListModel(QObject* parent) : QAbstractTableModel(parent)
{
    setRows(nullptr, {});
}

void RecipeListModel::takeRecords(const TKV& records)
{
    m_shown.clear();
    m_shown.reserve(size_t(records.size()));
    for (int i = 0; i < records.size(); ++i) {
        const TKVG& r = records[i];
        m_shown.push_back({r.Name, r.LastCooked, r.Difficulty, RecipeType(records, i) + 1});
    }
    m_shownRecords = records.constData();
    m_recordsChanged = false;
    m_dates.clear();
}

void RecipeListModel::recordsFollowed(const TKV& records, const std::vector<int>& previousOf)
{
    if (m_recordsChanged || m_shownRecords == nullptr) {
        m_recordsChanged = true; // all are taken at the next fill anyway
        return;
    }
    std::vector<Shown> shown;
    shown.reserve(previousOf.size());
    for (size_t i = 0; i < previousOf.size(); ++i) {
        const int before = previousOf[i];
        if (before >= 0 && size_t(before) < m_shown.size()) {
            shown.push_back(std::move(m_shown[size_t(before)]));
        } else {
            const TKVG& r = records[qsizetype(i)];
            shown.push_back({r.Name, r.LastCooked, r.Difficulty,
                             RecipeType(records, int(i)) + 1});
        }
    }
    m_shown = std::move(shown);
    m_shownRecords = records.constData();
}

void RecipeListModel::setRows(const TKV* records, const QList<int>& rows)
{
    beginResetModel();
    if (!records) {
        m_shown.clear();
        m_shownRecords = nullptr;
        m_recordsChanged = true;
    } else if (m_recordsChanged || m_shownRecords != records->constData() ||
               m_shown.size() != size_t(records->size())) {
        takeRecords(*records);
    }
    m_rows = records ? rows : QList<int>();
    endResetModel();
}

void RecipeListModel::setIcons(const QList<QIcon>& icons)
{
    m_icons = icons;
    emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
}

void RecipeListModel::setTipsShown(bool shown)
{
    m_tips = shown;
}

int RecipeListModel::iconOfRow(int row) const
{
    if (row == 0)
        return 0;
    return row > 0 && row <= m_rows.size() ? m_shown[size_t(m_rows[row - 1])].icon : -1;
}

QString RecipeListModel::dateText(double lastCooked) const
{
    // Formatting a date is slow and many recipes share a day: format each day once.
    const qint64 day = qint64(std::floor(lastCooked));
    auto date = m_dates.constFind(day);
    if (date == m_dates.constEnd()) {
        date = m_dates.insert(
            day, QLocale().toString(dateTimeFromDayCount(lastCooked).date(), QLocale::ShortFormat));
    }
    return date.value();
}

int RecipeListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size()) + 1;
}

int RecipeListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant RecipeListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int icon = iconOfRow(index.row());
    switch (role) {
    case Qt::DisplayRole: {
        if (index.row() == 0)
            return index.column() == 0 ? QLatin1String(kNewRecipeRow) : QString();
        const Shown& shown = m_shown[size_t(m_rows[index.row() - 1])];
        if (index.column() == 0)
            return cp1252::toUnicode(shown.name);
        if (index.column() == 1)
            return dateText(shown.lastCooked);
        return difficultyStars(shown.difficulty);
    }
    case Qt::DecorationRole:
        if (index.column() == 0 && icon < m_icons.size())
            return m_icons[icon];
        return {};
    case Qt::ToolTipRole:
        // No tips while they are switched off, and none over an empty catalogue.
        if (!m_tips || m_shown.empty())
            return {};
        return iconHint(icon);
    default:
        return {};
    }
}

QVariant RecipeListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kColumns[] = {"Recipe", "cooking date", "Difficulty"};
    return section >= 0 && section < 3 ? QLatin1String(kColumns[section]) : QVariant();
}

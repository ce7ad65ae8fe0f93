#include "app/recipelistmodel.h"

#include "platform/cp1252.h"
#include "recipes/recipelist.h"

#include <QHash>

#include <cmath>

RecipeListModel::RecipeListModel(QObject* parent) : QAbstractTableModel(parent)
{
    setRows(nullptr, {});
}

void RecipeListModel::setRows(const TKV* records, const QList<int>& rows)
{
    beginResetModel();
    m_rows.clear();
    m_catalogueEmpty = !records || records->isEmpty();
    m_rows.reserve(rows.size() + 1);
    m_rows.append({QLatin1String(kNewRecipeRow), {}, {}, 0});
    // Formatting a date is slow and many recipes share a day: format each day once.
    QHash<qint64, QString> dates;
    for (int i : rows) {
        const TKVG& r = (*records)[i];
        const qint64 day = qint64(std::floor(r.LastCooked));
        auto date = dates.constFind(day);
        if (date == dates.constEnd())
            date = dates.insert(day, cookingDateText(r));
        m_rows.append({cp1252::toUnicode(r.Name), date.value(), difficultyStars(r),
                       RecipeType(*records, i) + 1});
    }
    endResetModel();
}

void RecipeListModel::setIcons(const QList<QIcon>& icons)
{
    m_icons = icons;
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, 0), {Qt::DecorationRole});
}

void RecipeListModel::setTipsShown(bool shown)
{
    m_tips = shown;
}

int RecipeListModel::iconOfRow(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows[row].icon : -1;
}

int RecipeListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RecipeListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant RecipeListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row& row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == 0 ? row.caption : index.column() == 1 ? row.date : row.stars;
    case Qt::DecorationRole:
        if (index.column() == 0 && row.icon < m_icons.size())
            return m_icons[row.icon];
        return {};
    case Qt::ToolTipRole:
        // No tips while they are switched off, and none over an empty catalogue.
        if (!m_tips || m_catalogueEmpty)
            return {};
        return iconHint(row.icon);
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

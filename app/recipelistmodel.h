#pragma once

#include "recipes/recipe.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>

/// The rows of the main recipe list: row 0 "Create new recipe", then one row per listed
/// record with its name, cooking date, difficulty stars and type icon. The rows are set
/// as a whole by every list fill; the model only presents them.
class RecipeListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecipeListModel(QObject* parent = nullptr);

    /// Replaces the rows: records[rows[r - 1]] is shown in row r.
    void setRows(const TKV* records, const QList<int>& rows);
    /// The six list icons (0 new recipe, 1 to 5 the recipe types).
    void setIcons(const QList<QIcon>& icons);
    /// Whether rows carry their icon's hint as a tooltip.
    void setTipsShown(bool shown);

    /// Icon index of a row: 0 for row 0, the record's first recipe type + 1 otherwise.
    int iconOfRow(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        QString caption;
        QString date;
        QString stars;
        int icon = 0;
    };
    QList<Row> m_rows;
    QList<QIcon> m_icons;
    bool m_tips = true;
    bool m_catalogueEmpty = true;
};

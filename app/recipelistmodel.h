// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QList>

#include <vector>

/// The rows of the main recipe list: row 0 "Create new recipe", then one row per listed
/// record with its name, cooking date, difficulty stars and type icon. The rows are set
/// as a whole by every list fill; the model only presents them.
///
/// What a row shows is taken from the records once per catalogue (at the first fill
/// after recordsReplaced(), or when the catalogue moved or changed size) and turned into
/// texts only for the rows the view asks for, so a keystroke's fill of many rows costs
/// little more than storing their record numbers.
class RecipeListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecipeListModel(QObject* parent = nullptr);

    /// Replaces the rows: records[rows[r - 1]] is shown in row r.
    void setRows(const TKV* records, const QList<int>& rows);
    /// The catalogue was read again: the next setRows takes the records' texts anew.
    /// Until then the rows show what they showed.
    void recordsReplaced() { m_recordsChanged = true; }
    /// Some records were read again, added or removed (see UpdateCatalogueFromFiles):
    /// previousOf gives each record's index before, -1 for one read now. Only those are
    /// taken anew; the next setRows shows them.
    void recordsFollowed(const TKV& records, const std::vector<int>& previousOf);
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
    // What a row shows of a record, taken when the catalogue was read.
    struct Shown {
        QByteArray name;
        double lastCooked = 0;
        int difficulty = 0;
        int icon = 0;
    };
    void takeRecords(const TKV& records);
    QString dateText(double lastCooked) const;

    std::vector<Shown> m_shown; // one per catalogue index
    const TKVG* m_shownRecords = nullptr;
    bool m_recordsChanged = true;
    QList<int> m_rows; // catalogue index of rows 1 and on
    mutable QHash<qint64, QString> m_dates;
    QList<QIcon> m_icons;
    bool m_tips = true;
    bool m_catalogueEmpty = true;
};

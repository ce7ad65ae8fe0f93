// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/F_Shopping.h"

#include "common/controls.h"
#include "common/errorreport.h"
#include "common/hook.h"
#include "platform/cp1252.h"
#include "platform/safefile.h"
#include "preview/shoppingprint.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

QString& lastFile()
{
    static QString file = QDir::homePath() + QStringLiteral("/Shopping list.txt");
    return file;
}

QString chooseFile(QWidget* parent)
{
    if (hookSlot<SetShoppingFileDialogHook>())
        return hookSlot<SetShoppingFileDialogHook>()(lastFile());
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save shopping list"), lastFile(),
                                        QStringLiteral("Text files (*.txt);;All files (*)"));
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFShopping::TFShopping(ShoppingSheet sheet, QWidget* parent)
    : QDialog(parent), m_sheet(std::move(sheet))
{
    setObjectName(QStringLiteral("TFShopping"));
    setWindowTitle(QStringLiteral("Shopping list"));
    setWindowModality(Qt::WindowModal);
    resize(560, 600);

    auto* recipesLabel = new QLabel(QStringLiteral("Recipes and servings:"), this);
    TWRezepte = new QTableWidget(int(m_sheet.recipes().size()), 3, this);
    TWRezepte->setObjectName(QStringLiteral("TWRezepte"));
    TWRezepte->setHorizontalHeaderLabels(
        {QStringLiteral("Recipe"), QStringLiteral("Written for"), QStringLiteral("Servings")});
    TWRezepte->verticalHeader()->hide();
    TWRezepte->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TWRezepte->setSelectionMode(QAbstractItemView::NoSelection);
    TWRezepte->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    TWRezepte->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    TWRezepte->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    TWRezepte->setMaximumHeight(160);
    for (int i = 0; i < int(m_sheet.recipes().size()); ++i) {
        const ShoppingSheet::Recipe& recipe = m_sheet.recipes().at(i);
        TWRezepte->setItem(i, 0, new QTableWidgetItem(recipe.name));
        TWRezepte->setItem(i, 1, new QTableWidgetItem(recipe.writtenText));
        auto* box = new QSpinBox(TWRezepte);
        box->setObjectName(QStringLiteral("servings%1").arg(i));
        controls::wheelOnlyWithFocus(box);
        // A recipe that gives no number of servings is cooked a number of times.
        box->setRange(1, recipe.written ? 999 : 99);
        if (recipe.written)
            box->setSuffix(QStringLiteral(" servings"));
        else
            box->setPrefix(QStringLiteral("\u00D7 "));
        box->setValue(int(std::lround(recipe.wanted)));
        connect(box, &QSpinBox::valueChanged, this, [this, i](int value) {
            m_sheet.setWanted(i, value);
            fillLines();
        });
        TWRezepte->setCellWidget(i, 2, box);
    }

    auto* listLabel = new QLabel(
        QStringLiteral("Shopping list (tick what you have; double-click a line to edit it):"), this);
    LVListe = new QTreeWidget(this);
    LVListe->setObjectName(QStringLiteral("LVListe"));
    LVListe->setHeaderLabels({QStringLiteral("Item"), QStringLiteral("For")});
    LVListe->setRootIsDecorated(false);
    LVListe->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    LVListe->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    LVListe->header()->setStretchLastSection(false);
    LVListe->setColumnWidth(1, 180);
    connect(LVListe, &QTreeWidget::itemChanged, this, &TFShopping::lineChanged);

    BDrucken = button(this, "BDrucken", QStringLiteral("Print..."));
    BSpeichern = button(this, "BSpeichern", QStringLiteral("Save as text..."));
    BKopieren = button(this, "BKopieren", QStringLiteral("Copy"));
    BSchliessen = button(this, "BSchliessen", QStringLiteral("Close"));
    connect(BDrucken, &QPushButton::clicked, this, &TFShopping::BDruckenClick);
    connect(BSpeichern, &QPushButton::clicked, this, &TFShopping::BSpeichernClick);
    connect(BKopieren, &QPushButton::clicked, this, &TFShopping::BKopierenClick);
    connect(BSchliessen, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BDrucken);
    buttons->addWidget(BSpeichern);
    buttons->addWidget(BKopieren);
    buttons->addStretch();
    buttons->addWidget(BSchliessen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(recipesLabel);
    layout->addWidget(TWRezepte);
    layout->addWidget(listLabel);
    layout->addWidget(LVListe, 1);
    layout->addLayout(buttons);
    fillLines();
}

QSpinBox* TFShopping::servingsBox(int recipe) const
{
    return qobject_cast<QSpinBox*>(TWRezepte->cellWidget(recipe, 2));
}

void TFShopping::fillLines()
{
    m_filling = true;
    const int current = LVListe->currentIndex().row();
    LVListe->clear();
    QList<QTreeWidgetItem*> items;
    for (const ShoppingSheet::Line& line : m_sheet.lines()) {
        auto* item = new QTreeWidgetItem({line.text(), line.merged.recipes.join(QStringLiteral(", "))});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                       Qt::ItemIsEditable);
        item->setCheckState(0, line.ticked ? Qt::Checked : Qt::Unchecked);
        QFont font = item->font(0);
        font.setStrikeOut(line.ticked);
        item->setFont(0, font);
        item->setToolTip(1, item->text(1));
        items << item;
    }
    LVListe->addTopLevelItems(items);
    if (current >= 0 && current < items.size())
        LVListe->setCurrentItem(items.at(current));
    m_filling = false;
}

void TFShopping::lineChanged(QTreeWidgetItem* item, int column)
{
    if (m_filling || column != 0)
        return;
    const int line = LVListe->indexOfTopLevelItem(item);
    if (line < 0 || line >= m_sheet.lines().size())
        return;
    m_sheet.setTicked(line, item->checkState(0) == Qt::Checked);
    m_sheet.setText(line, item->text(0));
    // The item shows what the list now holds: an emptied text is the computed one again,
    // a ticked line is struck through.
    m_filling = true;
    const ShoppingSheet::Line& now = m_sheet.lines().at(line);
    item->setText(0, now.text());
    QFont font = item->font(0);
    font.setStrikeOut(now.ticked);
    item->setFont(0, font);
    m_filling = false;
}

void TFShopping::BDruckenClick()
{
    PrintShoppingSheetOnChosen(this, m_sheet);
}

void TFShopping::BSpeichernClick()
{
    const QString file = chooseFile(this);
    if (file.isEmpty())
        return;
    QString error;
    if (!writeFileAtomically(file, m_sheet.plainText().toUtf8(), &error)) {
        ReportError(this, error);
        return;
    }
    lastFile() = file;
}

void TFShopping::BKopierenClick()
{
    QApplication::clipboard()->setText(m_sheet.plainText());
}

TFShopping* OpenShoppingList(QWidget* parent, const TKV& kv, const QList<int>& recipes)
{
    ShoppingSheet sheet;
    for (int index : recipes) {
        const TKVG& r = kv.at(index);
        sheet.addRecipe(cp1252::toUnicode(r.Name), ingredientTexts(r, true),
                        cp1252::toUnicode(r.Servings));
    }
    auto* window = new TFShopping(std::move(sheet), parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->open();
    return window;
}

void SetShoppingFileDialogHook(ShoppingFileDialogHook hook)
{
    hookSlot<SetShoppingFileDialogHook>() = std::move(hook);
}

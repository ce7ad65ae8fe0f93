// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/F_main.h"

#include "app/F_Shopping.h"
#include "app/cookbookcommand.h"
#include "app/recipelistmodel.h"
#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/controls.h"
#include "common/errorreport.h"
#include "common/interfacetexts.h"
#include "common/links.h"
#include "common/session.h"
#include "editor/decorations.h"
#include "editor/recipefiles.h"
#include "imaging/pictureloader.h"
#include "export/F_Export.h"
#include "import/F_Import.h"
#include "platform/cp1252.h"
#include "platform/filelookup.h"
#include "platform/filestate.h"
#include "platform/folderwatcher.h"
#include "platform/richtext/rtfreader.h"
#include "platform/richtext/textdocumentbridge.h"
#include "preview/listprint.h"
#include "preview/openpreview.h"
#include "preview/printers.h"
#include "recipes/catalogueupdate.h"
#include "recipes/recipesummary.h"
#include "recipes/recipetexts.h"
#include "recipes/searchcache.h"
#include "recipes/textrules.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

using controls::action;
using controls::place;
using controls::verdana;

TFMain::TFMain(Catalogue& catalogue, QWidget* parent) : QMainWindow(parent), m_catalogue(catalogue)
{
    setObjectName(QStringLiteral("TFMain"));
    setWindowTitle(QLatin1String(kProgramTitle));
    createControls();
    createMenus();
    connectHandlers();
    setFixedSize(sizeHint()); // the client area plus the menu bar
    m_watcher = new FolderWatcher(this);
    connect(m_watcher, &FolderWatcher::filesChanged, this, &TFMain::applyFolderChanges);
    connect(m_watcher, &FolderWatcher::folderReset, this, [this] {
        m_reloadWaiting = true;
        applyFolderChanges({});
    });
    m_retry = new QTimer(this);
    m_retry->setSingleShot(true);
    m_retry->setInterval(500);
    connect(m_retry, &QTimer::timeout, this, [this] { applyFolderChanges({}); });
    Decorations().mainPicture = IRezept;
    for (int i = 0; i < 3; ++i)
        Decorations().mainDevices[i] = IKoch[i];
}

void TFMain::createControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(505, 660);
    client->setFont(verdana(11));
    setCentralWidget(client);

    IFBack = place<QLabel>(client, "IFBack", 0, 0, 505, 673);
    IFBack->setScaledContents(true);
    const char* const labels[] = {"Label1", "Label2", "Label3", "Label4"};
    const int labelTops[] = {24, 51, 84, 113};
    QLabel** labelFields[] = {&Label1, &Label2, &Label3, &Label4};
    for (int i = 0; i < 4; ++i) {
        QLabel* label = place<QLabel>(client, labels[i], 8, labelTops[i], 265, 15);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setFont(verdana(12));
        *labelFields[i] = label;
    }
    Label1->setText(QStringLiteral("Search for:"));
    Label2->setText(QStringLiteral("Select a category:"));
    Label3->setText(QStringLiteral("Select difficulty:"));
    Label4->setText(QStringLiteral("Select recipe books:"));

    ESuchen = place<QLineEdit>(client, "ESuchen", 280, 20, 217, 22);
    ESuchen->setMaxLength(100);
    ESuchen->setClearButtonEnabled(true);
    CBUKat = place<QComboBox>(client, "CBUKat", 280, 47, 217, 22);
    CBUKat->setMaxVisibleItems(25);
    CBKochlevel = place<QComboBox>(client, "CBKochlevel", 280, 80, 217, 22);
    CBKochlevel->setMaxVisibleItems(6);
    CBOZB = place<QComboBox>(client, "CBOZB", 280, 109, 217, 22);
    CBOZB->setMaxVisibleItems(25);
    for (QLabel* label : {Label1, Label2, Label3, Label4})
        label->setBuddy(label == Label1   ? static_cast<QWidget*>(ESuchen)
                        : label == Label2 ? static_cast<QWidget*>(CBUKat)
                        : label == Label3 ? static_cast<QWidget*>(CBKochlevel)
                                          : static_cast<QWidget*>(CBOZB));

    LVRezepte = place<QTreeView>(client, "LVRezepte", 8, 144, 489, 329);
    QFont listFont = LVRezepte->font();
    listFont.setPointSize(9);
    LVRezepte->setFont(listFont);
    m_model = new RecipeListModel(this);
    LVRezepte->setModel(m_model);
    LVRezepte->setRootIsDecorated(false);
    LVRezepte->setUniformRowHeights(true);
    LVRezepte->setIconSize(QSize(24, 24));
    LVRezepte->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVRezepte->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LVRezepte->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVRezepte->setContextMenuPolicy(Qt::CustomContextMenu);
    LVRezepte->viewport()->setCursor(Qt::PointingHandCursor);
    LVRezepte->header()->setSectionsClickable(false);
    LVRezepte->header()->setSectionsMovable(false);
    LVRezepte->header()->setStretchLastSection(true);
    LVRezepte->header()->setMinimumSectionSize(60);
    LVRezepte->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // names elide instead
    LVRezepte->setColumnWidth(0, 280);
    LVRezepte->setColumnWidth(1, 100);
    LVRezepte->installEventFilter(this);

    Label5 = place<QLabel>(client, "Label5", 8, 488, 289, 15);
    RERezepttext = place<QTextEdit>(client, "RERezepttext", 8, 504, 289, 153);
    RERezepttext->setReadOnly(true);
    RERezepttext->setFocusPolicy(Qt::NoFocus);
    RERezepttext->setLineWrapMode(QTextEdit::NoWrap);
    RERezepttext->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RERezepttext->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RERezepttext->viewport()->setCursor(Qt::ArrowCursor);

    auto* panel = place<QFrame>(client, "P1", 332, 504, 142, 74);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    IRezept = place<QLabel>(panel, "IRezept", 1, 1, 140, 72);
    IRezept->setScaledContents(true);
    const char* const kat[] = {"IKat01", "IKat02", "IKat03"};
    const char* const koch[] = {"IKoch01", "IKoch02", "IKoch03"};
    for (int i = 0; i < 3; ++i) {
        IKat[i] = place<QLabel>(client, kat[i], 332 + 52 * i, 584, 32, 32);
        IKoch[i] = place<QLabel>(client, koch[i], 332 + 52 * i, 624, 32, 32);
        IKat[i]->setProperty("tag", -1);
    }
}

void TFMain::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("Datei1"));
    NeuesRezept1 = action(this, "NeuesRezept1", "New recipe");
    NeuesRezept1->setShortcut(QKeySequence::New);
    Rezeptladen1 = action(this, "Rezeptladen1", "Load recipe");
    Rezeptladen1->setShortcut(QKeySequence::Open);
    Rezepteimportieren1 = action(this, "Rezepteimportieren1", "Import recipes...");
    Rezeptdrucken2 = action(this, "Rezeptdrucken2", "Print recipe");
    Rezeptdrucken2->setShortcut(QKeySequence::Print);
    Rezeptlistedrucken1 = action(this, "Rezeptlistedrucken1", "Print recipe list");
    Einkaufsliste1 = action(this, "Einkaufsliste1", "Shopping list...");
    Kochbuchdrucken1 = action(this, "Kochbuchdrucken1", "Print cookbook...");
    Programmbeenden1 = action(this, "Programmbeenden1", "Close program");
    Programmbeenden1->setShortcut(QKeySequence::Quit);
    QAction* exportAction = action(this, "Rezepteexportieren1", "Export...");
    connect(exportAction, &QAction::triggered, this,
            [this] { ExportListedRecipes(this, m_catalogue.recipes); });
    file->addActions({NeuesRezept1, Rezeptladen1, Rezepteimportieren1, exportAction});
    file->addSeparator()->setObjectName(QStringLiteral("N2"));
    file->addActions({Rezeptdrucken2, Rezeptlistedrucken1, Einkaufsliste1, Kochbuchdrucken1});
    file->addSeparator()->setObjectName(QStringLiteral("N1"));
    file->addAction(Programmbeenden1);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("Optionen1"));
    Tooltipps1 = action(this, "Tooltipps1", "Show tooltips");
    Tooltipps1->setCheckable(true);
    options->addAction(Tooltipps1);

    QMenu* info = menuBar()->addMenu(QStringLiteral("&Info"));
    info->setObjectName(QStringLiteral("Information1"));
    AnleitunganzeigenPDF1 = action(this, "AnleitunganzeigenPDF1", "Show manual as pdf");
    AnleitunganzeigenPDF1->setShortcut(QKeySequence::HelpContents);
    NeueVersionen1 = action(this, "NeueVersionen1", "Updates and more");
    info->addActions({AnleitunganzeigenPDF1, NeueVersionen1});

    PMRezeptliste = new QMenu(this);
    PMRezeptliste->setObjectName(QStringLiteral("PMRezeptliste"));
    PMNeuesRezeptanlegen = action(this, "PMNeuesRezeptanlegen", "Create new recipe");
    PMRezeptladen = action(this, "PMRezeptladen", "Load recipe");
    PMRezeptdrucken = action(this, "PMRezeptdrucken", "Print recipe");
    PMRezeptloeschen = action(this, "PMRezeptloeschen", "Delete recipe");
    PMEinkaufsliste = action(this, "PMEinkaufsliste", "Shopping list...");
    PMRezeptliste->addActions({PMNeuesRezeptanlegen, PMRezeptladen, PMRezeptdrucken,
                               PMRezeptloeschen, PMEinkaufsliste});
}

void TFMain::connectHandlers()
{
    connect(NeuesRezept1, &QAction::triggered, this, &TFMain::NeuesRezept1Click);
    connect(PMNeuesRezeptanlegen, &QAction::triggered, this, &TFMain::NeuesRezept1Click);
    connect(Rezeptladen1, &QAction::triggered, this, &TFMain::Rezeptladen1Click);
    connect(PMRezeptladen, &QAction::triggered, this, &TFMain::Rezeptladen1Click);
    connect(Rezepteimportieren1, &QAction::triggered, this, &TFMain::Rezepteimportieren1Click);
    connect(Rezeptdrucken2, &QAction::triggered, this, &TFMain::Rezeptdrucken2Click);
    connect(PMRezeptdrucken, &QAction::triggered, this, &TFMain::Rezeptdrucken2Click);
    connect(Rezeptlistedrucken1, &QAction::triggered, this, &TFMain::Rezeptlistedrucken1Click);
    connect(Kochbuchdrucken1, &QAction::triggered, this, &TFMain::Kochbuchdrucken1Click);
    connect(PMRezeptloeschen, &QAction::triggered, this, &TFMain::PMRezeptloeschenClick);
    connect(Einkaufsliste1, &QAction::triggered, this, &TFMain::Einkaufsliste1Click);
    connect(PMEinkaufsliste, &QAction::triggered, this, &TFMain::Einkaufsliste1Click);
    connect(Programmbeenden1, &QAction::triggered, this, &QWidget::close);
    connect(Tooltipps1, &QAction::triggered, this, &TFMain::Tooltipps1Click);
    connect(AnleitunganzeigenPDF1, &QAction::triggered, this, &TFMain::AnleitunganzeigenPDF1Click);
    connect(NeueVersionen1, &QAction::triggered, this, &TFMain::NeueVersionen1Click);

    connect(ESuchen, &QLineEdit::textChanged, this, &TFMain::ESuchenChange);
    for (QComboBox* box : {CBUKat, CBKochlevel, CBOZB}) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_filling)
                FillRecipeList(false);
        });
    }
    connect(LVRezepte, &QAbstractItemView::clicked, this, &TFMain::RefreshSummary);
    // The summary shows the highlighted row, whatever changed it (a click of either
    // button, a key, the program): the selection changes after the current row does
    // on a press, so it is the selection that is followed.
    connect(LVRezepte->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (isVisible() && !m_filling)
            RefreshSummary();
    });
    connect(LVRezepte, &QAbstractItemView::doubleClicked, this, &TFMain::openSelectedRow);
    connect(LVRezepte, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (!LVRezepte->indexAt(pos).isValid())
            LVRezepte->selectionModel()->clearSelection();
        PMRezeptlistePopup();
        PMRezeptliste->popup(LVRezepte->viewport()->mapToGlobal(pos));
    });
}

bool TFMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LVRezepte && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            openSelectedRow();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

int TFMain::selectedRow() const
{
    const QItemSelectionModel* selection = LVRezepte->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row()))
        return current.row();
    int first = -1;
    for (const QModelIndex& index : selection->selectedRows())
        first = first < 0 ? index.row() : std::min(first, index.row());
    return first;
}

QList<int> TFMain::selectedRecipes() const
{
    QList<int> rows;
    for (const QModelIndex& index : LVRezepte->selectionModel()->selectedRows()) {
        if (index.row() > 0)
            rows << index.row();
    }
    std::sort(rows.begin(), rows.end());
    // One pass over the records whatever the number of rows (Ctrl+A on a large list).
    const TKV& kv = m_catalogue.recipes;
    std::vector<int> recordOfRow(m_model->rowCount(), -1);
    for (int i = 0; i < kv.size(); ++i) {
        const int row = kv.at(i).ListIndex;
        if (row > 0 && row < int(recordOfRow.size()))
            recordOfRow[row] = i;
    }
    QList<int> recipes;
    for (int row : std::as_const(rows)) {
        if (recordOfRow[row] >= 0)
            recipes << recordOfRow[row];
    }
    return recipes;
}

bool TFMain::severalSelected() const
{
    return LVRezepte->selectionModel()->selectedRows().size() > 1;
}

void TFMain::selectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    LVRezepte->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
    LVRezepte->scrollTo(index);
}

int TFMain::selectedRecipe() const
{
    const int row = selectedRow();
    return row > 0 ? IndexOfListRow(m_catalogue.recipes, row) : -1;
}

void TFMain::loadPictures()
{
    IFBack->setPixmap(
        QPixmap::fromImage(loadPicture(basePath(QStringLiteral("Graphic/PNG/Background.png")))));
    QList<QIcon> icons;
    for (int n = 0; n < 6; ++n) {
        const QImage icon = loadPicture(basePath(QStringLiteral("Graphic/ICO/24/%1.ICO").arg(n)));
        icons << QIcon(QPixmap::fromImage(icon));
    }
    m_model->setIcons(icons);
}

void TFMain::rebuildBoxes()
{
    // Not under a signal blocker: the box's clear button follows its text through the
    // signal. The list is being filled, so the change fills nothing.
    ESuchen->clear();
    const QSignalBlocker blockCategories(CBUKat);
    const QSignalBlocker blockDifficulty(CBKochlevel);
    const QSignalBlocker blockSources(CBOZB);
    CBUKat->clear();
    CBUKat->addItems(categoryEntries(m_catalogue.recipes));
    CBKochlevel->clear();
    CBKochlevel->addItems(difficultyEntries());
    CBOZB->clear();
    CBOZB->addItems(sourceEntries(m_catalogue.recipes));
}

void TFMain::prepareSearchIndex()
{
    // Taken from its cache when that was prepared for these very records; otherwise
    // prepared on a second thread and then cached. Either way the list shows at once.
    const TKV& kv = m_catalogue.recipes;
    const quint64 key = searchCacheKey(kv);
    QByteArray prepared;
    if (!readSearchCache(BaseFolder(), key, &prepared) || !m_searchIndex.restore(kv, prepared))
        rebuildSearchIndex(key);
}

void TFMain::rebuildSearchIndex(quint64 key)
{
    m_searchIndex.rebuildInBackground(m_catalogue.recipes,
                                      [base = BaseFolder(), key](const QByteArray& bytes) {
                                          // A cache that cannot be written costs only time.
                                          writeSearchCache(base, key, bytes);
                                      });
}

void TFMain::FillRecipeList(bool reload)
{
    m_filling = true;
    Tooltipps1->setChecked(CurrentSettings().tooltips == 1);
    m_catalogue.CurrentRecipe = -1;
    TKV& kv = m_catalogue.recipes;
    if (reload) {
        loadPictures();
        m_problems.clear();
        // Watched from before the read, so that no change after it goes unseen; what
        // waited is in what is read now.
        const QString folder = lookupPath(recipeFolder(BaseFolder()));
        if (folder != m_watcher->folder() || folder.isEmpty())
            m_watcher->watch(folder);
        m_waitingChanges.clear();
        m_reloadWaiting = false;
        ReadCatalogue(BaseFolder(), kv, &m_problems,
                      m_oldFilesConverted ? OldFiles::Skip : OldFiles::Convert);
        m_oldFilesConverted = true;
    }
    RERezepttext->clear();
    if (reload) {
        SortByName(kv); // the boxes and the search lines follow the list order
        rebuildBoxes();
        m_searchIndex.clear();
        m_searchIndex.noteSortedByName(kv);
        m_model->recordsReplaced();
    }

    const int rememberedRow = selectedRow();
    const QString rememberedCaption =
        rememberedRow >= 0 ? m_model->index(rememberedRow, 0).data().toString() : QString();

    m_model->setTipsShown(CurrentSettings().tooltips == 1);
    m_model->setRows(&kv, FilterRecipeRows(kv, m_searchIndex, currentFilter()));
    if (reload)
        prepareSearchIndex();

    if (reload)
        selectRow(0);
    if (isVisible() && LVRezepte->isEnabled())
        LVRezepte->setFocus();
    if (rememberedRow >= 0 && rememberedRow < m_model->rowCount()) {
        const bool same = m_model->index(rememberedRow, 0).data().toString() == rememberedCaption;
        selectRow(same ? rememberedRow : 0);
    }
    m_filling = false;
    RefreshSummary();
    if (reload)
        reportProblems();
}

ListFilter TFMain::currentFilter() const
{
    ListFilter filter;
    filter.categoryEntry = qMax(0, CBUKat->currentIndex());
    filter.categoryName = cp1252::fromUnicode(CBUKat->currentText());
    filter.searchText = cp1252::fromUnicode(ESuchen->text());
    filter.difficultyEntry = qMax(0, CBKochlevel->currentIndex());
    filter.sourceEntry = qMax(0, CBOZB->currentIndex());
    filter.sourceName = cp1252::fromUnicode(CBOZB->currentText());
    return filter;
}

bool TFMain::busyWithCatalogue() const
{
    // The editor (with this window hidden), a preview, a question or a fill in progress
    // hold indices into the catalogue.
    return m_filling || !isVisible() || !isEnabled() || QApplication::activeModalWidget();
}

void TFMain::applyFolderChanges(const QStringList& names)
{
    m_waitingChanges += names; // each file is read once however often it is named
    if (m_waitingChanges.isEmpty() && !m_reloadWaiting)
        return;
    if (busyWithCatalogue()) {
        m_retry->start();
        return;
    }
    if (m_reloadWaiting) {
        ReloadKeepingView(); // clears what waits
        return;
    }
    TKV& kv = m_catalogue.recipes;
    // What the view shows: the rows move when records come and go.
    const int row = selectedRow();
    const int selected = selectedRecipe();
    const QString selectedFile = selected >= 0 ? kv.at(selected).FilePath : QString();
    QList<std::pair<int, QString>> othersSelected; // record and file of the other selected
    if (severalSelected()) {
        for (int index : selectedRecipes()) {
            if (index != selected)
                othersSelected.append({index, kv.at(index).FilePath});
        }
    }
    const QModelIndex top = LVRezepte->indexAt(QPoint(1, 1));
    const int topRecord = top.row() > 0 ? IndexOfListRow(kv, top.row()) : -1;
    const QString topFile = topRecord >= 0 ? kv.at(topRecord).FilePath : QString();

    const QStringList changed = std::exchange(m_waitingChanges, {});
    const CatalogueUpdate update =
        UpdateCatalogueFromFiles(BaseFolder(), kv, &m_searchIndex, changed);
    if (!update.any() && update.problems.isEmpty())
        return;

    m_filling = true;
    m_catalogue.CurrentRecipe = -1;
    refreshBoxEntries(update);
    m_model->recordsFollowed(kv, update.previousOf);
    m_model->setRows(&kv, FilterRecipeRows(kv, m_searchIndex, currentFilter()));
    // The row a record shows in now, -1 when it is gone or filtered out.
    const auto rowNow = [&](int before, const QString& file) {
        const auto& previousOf = update.previousOf;
        const auto at = std::find(previousOf.cbegin(), previousOf.cend(), before);
        if (at != previousOf.cend())
            return kv.at(int(at - previousOf.cbegin())).ListIndex;
        for (const TKVG& r : kv) { // read again: found by its file, if it still has it
            if (!file.isEmpty() && r.FilePath == file)
                return r.ListIndex;
        }
        return -1;
    };
    int selectRowNow = selected >= 0 ? rowNow(selected, selectedFile) : row;
    if (selectRowNow <= 0 && row > 0) // gone or filtered out: the row that takes its place
        selectRowNow = std::min(row, m_model->rowCount() - 1);
    if (selectRowNow >= 0)
        LVRezepte->selectionModel()->setCurrentIndex(
            m_model->index(selectRowNow, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (!othersSelected.isEmpty())
        selectRowsNow(othersSelected, update.previousOf);
    // After the selection, which scrolls to itself.
    int topRow = topRecord >= 0 ? rowNow(topRecord, topFile) : -1;
    if (topRow <= 0) // gone or filtered out: the list starts where it started
        topRow = std::min(top.row(), m_model->rowCount() - 1);
    if (topRow >= 0)
        LVRezepte->scrollTo(m_model->index(topRow, 0), QAbstractItemView::PositionAtTop);
    m_filling = false;
    RefreshSummary();
    // Records checked one by one cost a little on every search: after many, the lines
    // are prepared again on the second thread, once the list shows the change.
    if (m_searchIndex.changedRecords() > std::max<qsizetype>(1000, kv.size() / 16)) {
        rebuildSearchIndex(searchCacheKey(kv)); // the next start takes it from its cache
        m_searchIndex.noteSortedByName(kv);
    }
    if (!update.problems.isEmpty()) {
        m_problems = update.problems;
        reportProblems();
    }
}

void TFMain::selectRowsNow(const QList<std::pair<int, QString>>& records,
                           const std::vector<int>& previousOf)
{
    // Looked up in one pass each, however many rows were selected: by the record's
    // index before, or, for a record read again, by its file.
    const TKV& kv = m_catalogue.recipes;
    std::vector<int> nowOf;
    QHash<QString, int> readNow;
    for (size_t i = 0; i < previousOf.size(); ++i) {
        const int before = previousOf[i];
        if (before < 0) {
            readNow.insert(kv.at(int(i)).FilePath, kv.at(int(i)).ListIndex);
            continue;
        }
        if (size_t(before) >= nowOf.size())
            nowOf.resize(before + 1, -1);
        nowOf[before] = int(i);
    }
    QList<int> rows;
    for (const auto& [before, file] : records) {
        const int now = size_t(before) < nowOf.size() ? nowOf[before] : -1;
        const int row = now >= 0 ? kv.at(now).ListIndex : readNow.value(file, -1);
        if (row > 0)
            rows << row;
    }
    std::sort(rows.begin(), rows.end());
    QItemSelection selection;
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype end = i + 1;
        while (end < rows.size() && rows.at(end) <= rows.at(end - 1) + 1)
            ++end;
        selection.select(m_model->index(rows.at(i), 0), m_model->index(rows.at(end - 1), 0));
        i = end;
    }
    LVRezepte->selectionModel()->select(selection,
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TFMain::refreshBoxEntries(const CatalogueUpdate& update)
{
    TKV& kv = m_catalogue.recipes;
    const auto refresh = [](QComboBox* box, const QStringList& entries) {
        QStringList now;
        for (int i = 0; i < box->count(); ++i)
            now << box->itemText(i);
        if (now == entries)
            return;
        const QString current = box->currentText();
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(entries);
        box->setCurrentIndex(std::max(0, int(entries.indexOf(current))));
    };
    // The entries are gathered from every record only when a name may have gone or a
    // record read now brings a new one; the records read now are normalised either way.
    bool gather = update.namesMayHaveGone;
    for (size_t i = 0; i < update.previousOf.size(); ++i) {
        if (update.previousOf[i] >= 0)
            continue;
        for (const QByteArray& name : CollectCategories(kv, int(i)))
            gather = gather || CBUKat->findText(cp1252::toUnicode(name)) < 4;
        for (const QByteArray& name : CollectSources(kv, int(i)))
            gather = gather || CBOZB->findText(cp1252::toUnicode(name)) < 1;
    }
    if (!gather)
        return;
    refresh(CBUKat, categoryEntries(kv));
    refresh(CBOZB, sourceEntries(kv));
}

void TFMain::ReloadKeepingView()
{
    const QString search = ESuchen->text();
    const QString category = CBUKat->currentText();
    const int difficulty = CBKochlevel->currentIndex();
    const QString source = CBOZB->currentText();
    const int index = selectedRecipe();
    const QString file = index >= 0 ? m_catalogue.recipes.at(index).FilePath : QString();
    FillRecipeList(true);
    m_filling = true;
    ESuchen->setText(search);
    CBUKat->setCurrentIndex(std::max(0, CBUKat->findText(category)));
    CBKochlevel->setCurrentIndex(std::max(0, difficulty));
    CBOZB->setCurrentIndex(std::max(0, CBOZB->findText(source)));
    m_filling = false;
    FillRecipeList(false);
    const TKV& kv = m_catalogue.recipes;
    for (int row = 1; !file.isEmpty() && row < m_model->rowCount(); ++row) {
        const int at = IndexOfListRow(kv, row);
        if (at >= 0 && at < kv.size() && kv.at(at).FilePath == file) {
            selectRow(row);
            break;
        }
    }
    RefreshSummary(); // the window may be hidden, which a selection does not refresh
}

void TFMain::reportProblems()
{
    if (m_problems.isEmpty())
        return;
    QStringList lines;
    for (const FileProblem& problem : m_problems)
        lines << problem.toString();
    // Not waited for: the rest of the collection is usable while the note is open.
    auto* box = new QMessageBox(QMessageBox::Warning, QLatin1String(kProgramTitle),
                                QStringLiteral("Some recipe files could not be read and are "
                                               "not listed:"),
                                QMessageBox::Ok, this);
    box->setDetailedText(lines.join(QLatin1Char('\n')));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("recipeProblems"));
    box->open();
}

void TFMain::ESuchenChange()
{
    if (!isVisible() || m_filling)
        return;
    FillRecipeList(false);
    if (ESuchen->isEnabled()) {
        ESuchen->setFocus();
        ESuchen->deselect();
        ESuchen->setCursorPosition(int(ESuchen->text().size()));
    }
}

void TFMain::RefreshSummary()
{
    Label5->setText(QStringLiteral("Recipe information:"));
    const int index = selectedRecipe();
    TKV& kv = m_catalogue.recipes;
    if (index < 0 || kv.isEmpty()) {
        RERezepttext->clear();
        showTypePictures(-1);
        ShowEditorDecorations(kv, -1);
        ShowDevicePictures(kv, -1);
        return;
    }
    showSummaryText(index);
    ShowEditorDecorations(kv, index);
    showTypePictures(index);
    ShowDevicePictures(kv, index);
}

void TFMain::showSummaryText(int index)
{
    const TKVG& r = m_catalogue.recipes[index];
    RERezepttext->clear();
    QTextCharFormat plain;
    plain.setFont(QFont(QStringLiteral("Arial"), 10));
    RERezepttext->setCurrentCharFormat(plain);
    const int type = RecipeType(m_catalogue.recipes, index);
    if (type == NormalType) {
        rich::RichDocument doc;
        QString error;
        if (readSideFile(r, recipeTextFields()[2], doc, &error)) {
            rich::toTextDocument(doc, RERezepttext->document());
            return;
        }
        if (!error.isEmpty()) {
            // The plain lines are in place before the notice asks for attention.
            RERezepttext->setPlainText(SummaryLines(r, type).join(QLatin1Char('\n')));
            ReportErrorOnce(this, unreadableSideFileText(error));
            return;
        }
    }
    RERezepttext->setPlainText(SummaryLines(r, type).join(QLatin1Char('\n')));
}

void TFMain::showTypePictures(int index)
{
    const TKV& kv = m_catalogue.recipes;
    const int types[] = {RecipeType(kv, index), SecondRecipeType(kv, index),
                         ThirdRecipeType(kv, index)};
    for (int i = 0; i < 3; ++i) {
        const int t = index < 0 ? -1 : types[i];
        QLabel* image = IKat[i];
        image->setProperty("tag", t < 0 ? -1 : t + 1);
        if (t < 0) {
            image->clear();
            image->setToolTip(QString());
            continue;
        }
        image->setPixmap(QPixmap::fromImage(
            loadPicture(basePath(QStringLiteral("Graphic/PNG/%1_32.png").arg(t + 1)))));
        image->setToolTip(iconHint(t + 1));
    }
}

void TFMain::openSelectedRow()
{
    const int row = selectedRow();
    if (row == 0)
        NeuesRezept1Click();
    else if (row > 0)
        Rezeptladen1Click();
}

void TFMain::NeuesRezept1Click()
{
    emit editorRequested(true);
}

void TFMain::Rezeptladen1Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (row == 0) {
        NeuesRezept1Click();
        return;
    }
    m_catalogue.CurrentRecipe = IndexOfListRow(m_catalogue.recipes, row);
    emit editorRequested(false);
}

void TFMain::Rezepteimportieren1Click()
{
    // The list is reloaded before the summary shows, so the new recipes are behind it.
    ImportRecipes(this, BaseFolder(), [this] { FillRecipeList(true); });
}

void TFMain::Rezeptdrucken2Click()
{
    const int row = selectedRow();
    if (row < 0 || m_catalogue.recipes.isEmpty())
        return;
    if (row == 0) {
        ShowMsg(12, 1, 0);
        return;
    }
    if (severalSelected()) { // the preview shows one recipe
        ShowMsg(kOneRecipeOnly, 1, 0);
        return;
    }
    if (!PrinterAvailable()) {
        ShowMsg(11, 1, 0);
        return;
    }
    m_catalogue.CurrentRecipe = IndexOfListRow(m_catalogue.recipes, row);
    ShowProgress();
    hide();
    OpenPreview(m_catalogue, true, false);
    ReloadKeepingView();
    show();
    activateWindow();
}

void TFMain::Rezeptlistedrucken1Click()
{
    if (m_model->rowCount() < 2) {
        ShowMsg(25, 1, 0);
        return;
    }
    setEnabled(false);
    OpenPreview(m_catalogue, false, true);
    setEnabled(true);
}

void TFMain::Kochbuchdrucken1Click()
{
    // Several selected rows make the book; otherwise every row the list shows.
    QList<int> rows;
    for (const QModelIndex& index : LVRezepte->selectionModel()->selectedRows()) {
        if (index.row() > 0)
            rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    QList<int> recipes;
    for (int row : rows)
        recipes.append(IndexOfListRow(m_catalogue.recipes, row));
    if (rows.size() < 2)
        recipes = ListedRecipes(m_catalogue.recipes);
    if (recipes.isEmpty()) {
        ShowMsg(25, 1, 0);
        return;
    }
    PrintCookbook(this, m_catalogue, recipes, CBUKat->currentIndex() <= AllTypes);
}

void TFMain::PMRezeptloeschenClick()
{
    const int index = selectedRecipe();
    if (index < 0)
        return;
    if (severalSelected()) { // never guess which of them the user means to delete
        ShowMsg(kOneRecipeOnly, 1, 0);
        return;
    }
    // The recipe is taken before asking: the answer is about the recipe the user saw.
    const TKVG& recipe = m_catalogue.recipes[index];
    const QString path = recipe.FilePath;
    const QString name = cp1252::toUnicode(recipe.Name);
    const std::optional<FileState> listed = recipe.Stored;
    if (ShowMsg(6, 2, 4, name) != kAnswerYes)
        return;
    // Looked at once the user has answered, just before the delete: a recipe changed
    // outside the program since the list read it (a second copy of the program, a sync
    // folder) is not deleted unasked. A file that is gone or cannot be read is left to
    // the delete, which says what it finds.
    FileState now;
    if (listed && readFileState(path, &now) && now.exists && now != *listed &&
        ShowMsg(29, 2, 4, name) != kAnswerYes)
        return;
    QString error;
    if (!DeleteRecipeFiles(path, &error))
        ReportError(this, error);
    FillRecipeList(true);
}

void TFMain::Einkaufsliste1Click()
{
    const QList<int> recipes = selectedRecipes();
    if (recipes.isEmpty()) {
        ShowMsg(12, 1, 0);
        return;
    }
    OpenShoppingList(this, m_catalogue.recipes, recipes);
}

void TFMain::Tooltipps1Click()
{
    Settings& settings = CurrentSettings();
    settings.tooltips = settings.tooltips == 1 ? 0 : 1;
    Tooltipps1->setChecked(settings.tooltips == 1);
    ApplyTooltips(this, settings.tooltips == 1);
    m_model->setTipsShown(settings.tooltips == 1);
    emit tooltipsSwitched(settings.tooltips == 1);
    QString error;
    if (!WriteOptions(BaseFolder(), settings, &error))
        ReportError(this, error);
}

void TFMain::AnleitunganzeigenPDF1Click()
{
    OpenManual();
}

void TFMain::NeueVersionen1Click()
{
    OpenUpdatePage();
}

void TFMain::PMRezeptlistePopup()
{
    for (QAction* item : {PMNeuesRezeptanlegen, PMRezeptladen, PMRezeptdrucken, PMRezeptloeschen})
        item->setEnabled(false);
    PMEinkaufsliste->setEnabled(!selectedRecipes().isEmpty());
    const int row = selectedRow();
    PMNeuesRezeptanlegen->setEnabled(row <= 0);
    if (row > 0) {
        PMRezeptloeschen->setEnabled(true);
        PMRezeptladen->setEnabled(true);
        PMRezeptdrucken->setEnabled(PrinterAvailable());
    }
}

void TFMain::closeEvent(QCloseEvent* event)
{
    if (!m_optionsRead) {
        event->accept();
        return;
    }
    if (ShowMsg(17, 1, 4) != 6) {
        event->ignore();
        return;
    }
    QString error;
    if (!WriteOptions(BaseFolder(), CurrentSettings(), &error)) {
        ReportError(this, error);
        event->ignore();
        return;
    }
    event->accept();
}

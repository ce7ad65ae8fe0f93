// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/interfacetexts.h"
#include "common/session.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolTip>
#include <QTreeWidget>


namespace {

const QString kWorking = QStringLiteral("working caption");

// A control of a kind, named and captioned as a window would build it.
QObject* addControl(QWidget* window, const QString& kind, const QString& name)
{
    QObject* control = nullptr;
    if (kind == QLatin1String("label")) {
        control = new QLabel(kWorking, window);
    } else if (kind == QLatin1String("button")) {
        control = new QPushButton(kWorking, window);
    } else if (kind == QLatin1String("group")) {
        control = new QGroupBox(kWorking, window);
    } else if (kind == QLatin1String("menu")) {
        control = new QMenu(kWorking, window);
    } else if (kind == QLatin1String("action")) {
        auto* menu = new QMenu(window); // items sit in an (unnamed) menu
        control = menu->addAction(kWorking);
    } else if (kind == QLatin1String("edit")) {
        control = new QLineEdit(window);
    } else if (kind == QLatin1String("combo")) {
        control = new QComboBox(window);
    } else if (kind == QLatin1String("list")) {
        control = new QListWidget(window);
    } else if (kind == QLatin1String("rich")) {
        control = new QTextEdit(window);
    }
    Q_ASSERT(control);
    control->setObjectName(name);
    return control;
}

QString captionOf(QObject* control)
{
    if (auto* menu = qobject_cast<QMenu*>(control))
        return menu->title();
    if (auto* action = qobject_cast<QAction*>(control))
        return action->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return group->title();
    return {};
}

void hideShownTip()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("qtooltip_label"))
            w->hide();
    }
}

// The tooltip that appears when the mouse rests at pos of target; "" when none does.
QString shownTip(QWidget* target, QPoint pos)
{
    hideShownTip();
    QHelpEvent event(QEvent::ToolTip, pos, target->mapToGlobal(pos));
    QApplication::sendEvent(target, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

class TestInterfaceTexts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(base.isValid());
        setBaseFolder(base.path());
    }

    void captions_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("title");
        const QString program = QStringLiteral("Dilboscan 2.01");
        auto row = [&](const char* tag, const char* window, const char* kind, const char* control,
                       const QString& caption, const QString& title) {
            QTest::newRow(tag) << QString::fromLatin1(window) << QString::fromLatin1(kind)
                               << QString::fromLatin1(control) << caption << title;
        };
        row("main label", "TFMain", "label", "Label1", QStringLiteral("Search for:"), program);
        row("main menu", "TFMain", "menu", "Datei1", QStringLiteral("File"), program);
        row("main info menu", "TFMain", "menu", "Information1", QStringLiteral("Info"), program);
        row("main item", "TFMain", "action", "Programmbeenden1", QStringLiteral("Close program"),
            program);
        row("editor name on main", "TFMain", "label", "Label9", kWorking, program);
        row("editor label", "TFKVE", "label", "Label1", QStringLiteral("Name of recipe:"), program);
        row("editor info menu", "TFKVE", "menu", "Information1", QStringLiteral("Information"),
            program);
        row("editor item", "TFKVE", "action", "Rezepterfassungbeenden1", QStringLiteral("Exit"),
            program);
        row("caption on a button", "TFKVE", "button", "Label6", QStringLiteral("Ingredients:"),
            program);
        row("caption on a group box", "TFKVE", "group", "Label12",
            QStringLiteral("Comments or brief description:"), program);
        row("save draft title", "TFPDraftS", "label", "Label1", kWorking,
            QStringLiteral("Save draft:"));
        row("load draft title", "TFPDraftL", "button", "BOK", kWorking,
            QStringLiteral("Load draft:"));
        row("information title", "TFinfo", "label", "Label1", kWorking,
            QStringLiteral("Information:"));
        row("preview keeps its own", "TFVor", "label", "Label1", kWorking, kWorking);
        row("unknown window", "TFOther", "label", "Label1", kWorking, kWorking);
    }
    void captions()
    {
        QFETCH(QString, window);
        QFETCH(QString, kind);
        QFETCH(QString, control);
        QFETCH(QString, caption);
        QFETCH(QString, title);
        QWidget w;
        w.setObjectName(window);
        w.setWindowTitle(kWorking);
        QObject* c = addControl(&w, kind, control);
        auto* other = new QLabel(kWorking, &w);
        other->setObjectName(QStringLiteral("LUnknown"));
        ApplyCaptions(&w);
        QCOMPARE(captionOf(c), caption);
        QCOMPARE(w.windowTitle(), title);
        QCOMPARE(other->text(), kWorking);
    }

    void mainWindowMenus()
    {
        QMainWindow main;
        main.setObjectName(QStringLiteral("TFMain"));
        QMenu* file = main.menuBar()->addMenu(kWorking);
        file->setObjectName(QStringLiteral("Datei1"));
        QAction* newRecipe = file->addAction(kWorking);
        newRecipe->setObjectName(QStringLiteral("NeuesRezept1"));
        file->addSeparator();
        QAction* close = file->addAction(kWorking);
        close->setObjectName(QStringLiteral("Programmbeenden1"));
        QMenu* options = main.menuBar()->addMenu(kWorking);
        options->setObjectName(QStringLiteral("Optionen1"));
        QAction* tips = options->addAction(kWorking);
        tips->setObjectName(QStringLiteral("Tooltipps1"));
        tips->setCheckable(true);
        tips->setChecked(true);
        auto* popup = new QMenu(&main);
        popup->setObjectName(QStringLiteral("PMRezeptliste"));
        QAction* create = popup->addAction(kWorking);
        create->setObjectName(QStringLiteral("PMNeuesRezeptanlegen"));

        QImage icon(32, 32, QImage::Format_ARGB32);
        icon.fill(Qt::darkRed);
        QVERIFY(icon.save(base.filePath(QStringLiteral("Dilboscan.ico")), "ICO"));

        ApplyCaptions(&main); // most of its controls are missing: they are skipped
        QCOMPARE(main.windowTitle(), QStringLiteral("Dilboscan 2.01"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Dilboscan 2.01"));
        QVERIFY(!QApplication::windowIcon().isNull());
        QStringList bar;
        for (QAction* a : main.menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, (QStringList{QStringLiteral("File"), QStringLiteral("Options")}));
        QCOMPARE(newRecipe->text(), QStringLiteral("New recipe"));
        QCOMPARE(close->text(), QStringLiteral("Close program"));
        QCOMPARE(tips->text(), QStringLiteral("Show tooltips"));
        QVERIFY2(tips->isChecked(), "the check mark is not a caption");
        QCOMPARE(create->text(), QStringLiteral("Create new recipe"));
        QCOMPARE(file->actions().size(), 3);
    }

    void missingIconIsNoError()
    {
        QTemporaryDir empty;
        setBaseFolder(empty.path());
        QMainWindow main;
        main.setObjectName(QStringLiteral("TFMain"));
        ApplyCaptions(&main);
        setBaseFolder(base.path());
        QCOMPARE(main.windowTitle(), QStringLiteral("Dilboscan 2.01"));
    }

    void tooltips_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<int>("duration");
        const QString none;
        auto row = [&](const char* tag, const char* window, const char* kind, const char* control,
                       const QString& before, const QString& tip, int duration = 4000) {
            QTest::newRow(tag) << QString::fromLatin1(window) << QString::fromLatin1(kind)
                               << QString::fromLatin1(control) << before << tip << duration;
        };
        row("main search", "TFMain", "edit", "ESuchen", none,
            QStringLiteral("searching for ingredients, date, etc."));
        row("main difficulty", "TFMain", "combo", "CBKochlevel", none,
            QStringLiteral("select a level of difficulty"));
        row("main category picture emptied", "TFMain", "label", "IKat01", QStringLiteral("Soups"),
            none);
        row("editor difficulty", "TFKVE", "combo", "CBKochlevel", none,
            QStringLiteral("Select the level of difficulty"));
        row("editor categories", "TFKVE", "edit", "ERezeptkategorien", none,
            QStringLiteral("Edit the catagories. Seperate the categories with \",\"!"));
        row("editor book picture", "TFKVE", "label", "IBuch", none,
            QStringLiteral("Edit the datas of a printed recipe"));
        row("editor device picture keeps its tip", "TFKVE", "label", "KochgeraetImage2",
            QStringLiteral("Oven"), QStringLiteral("Oven"));
        row("preview", "TFVor", "button", "BBRight", none, QStringLiteral("Next page"));
        row("print format", "TFPrintS", "button", "BCancel", none,
            QStringLiteral("No changes - abort"));
        row("save draft", "TFPDraftS", "button", "BOK", none, QStringLiteral("Save draft"));
        row("load draft", "TFPDraftL", "button", "BOK", none, QStringLiteral("Load draft"));
        row("load draft list", "TFPDraftL", "list", "LBDraft", none,
            QStringLiteral("Select a draft"));
        row("unlisted control", "TFMain", "label", "Label1", QStringLiteral("mine"),
            QStringLiteral("mine"), -1);
        row("unknown window", "TFOther", "edit", "ESuchen", none, none, -1);
    }
    void tooltips()
    {
        QFETCH(QString, window);
        QFETCH(QString, kind);
        QFETCH(QString, control);
        QFETCH(QString, before);
        QFETCH(QString, tip);
        QFETCH(int, duration);
        QWidget w;
        w.setObjectName(window);
        auto* c = qobject_cast<QWidget*>(addControl(&w, kind, control));
        QVERIFY(c);
        c->setToolTip(before);
        ApplyTooltips(&w, true);
        QCOMPARE(c->toolTip(), tip);
        QCOMPARE(c->toolTipDuration(), duration);
    }

    // Whether the tip appears, for switched and unswitched controls, through every way a
    // control receives its tooltip event.
    void switchShowsAndHidesTips_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("ownTip"); // set by the window after ApplyTooltips
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("switched");
        QTest::newRow("main search")
            << QStringLiteral("TFMain") << QStringLiteral("edit") << QStringLiteral("ESuchen")
            << QString() << QStringLiteral("searching for ingredients, date, etc.") << true;
        QTest::newRow("main recipe text (viewport)")
            << QStringLiteral("TFMain") << QStringLiteral("rich") << QStringLiteral("RERezepttext")
            << QString() << QStringLiteral("recipe information is displayed") << true;
        QTest::newRow("main list row")
            << QStringLiteral("TFMain") << QStringLiteral("tree") << QStringLiteral("LVRezepte")
            << QString() << QStringLiteral("Tomato Soup: 30 minutes") << true;
        QTest::newRow("main category picture")
            << QStringLiteral("TFMain") << QStringLiteral("label") << QStringLiteral("IKat02")
            << QStringLiteral("Soups") << QStringLiteral("Soups") << true;
        QTest::newRow("editor device picture")
            << QStringLiteral("TFKVE") << QStringLiteral("label")
            << QStringLiteral("KochgeraetImage7") << QStringLiteral("Oven")
            << QStringLiteral("Oven") << true;
        QTest::newRow("editor combo")
            << QStringLiteral("TFKVE") << QStringLiteral("combo") << QStringLiteral("CBKochlevel")
            << QString() << QStringLiteral("Select the level of difficulty") << true;
        QTest::newRow("load draft button")
            << QStringLiteral("TFPDraftL") << QStringLiteral("button") << QStringLiteral("BOK")
            << QString() << QStringLiteral("Load draft") << true;
        QTest::newRow("unlisted label")
            << QStringLiteral("TFMain") << QStringLiteral("label") << QStringLiteral("Label1")
            << QStringLiteral("always") << QStringLiteral("always") << false;
    }
    void switchShowsAndHidesTips()
    {
        QFETCH(QString, window);
        QFETCH(QString, kind);
        QFETCH(QString, control);
        QFETCH(QString, ownTip);
        QFETCH(QString, shown);
        QFETCH(bool, switched);
        QWidget w;
        w.setObjectName(window);
        w.resize(400, 300);
        QWidget* c = nullptr;
        QWidget* target = nullptr; // where the mouse rests
        QPoint at(5, 5);
        if (kind == QLatin1String("tree")) {
            auto* tree = new QTreeWidget(&w);
            tree->setObjectName(control);
            auto* item = new QTreeWidgetItem(tree, {QStringLiteral("Tomato Soup")});
            item->setToolTip(0, shown);
            c = tree;
            target = tree->viewport();
            tree->setGeometry(0, 0, 300, 200);
            w.show();
            at = tree->visualItemRect(item).center();
        } else {
            c = qobject_cast<QWidget*>(addControl(&w, kind, control));
            c->setGeometry(0, 0, 200, 100);
            auto* area = qobject_cast<QAbstractScrollArea*>(c);
            target = area ? area->viewport() : c;
            w.show();
        }
        auto apply = [&](bool on) {
            ApplyTooltips(&w, on);
            if (!ownTip.isEmpty())
                c->setToolTip(ownTip);
        };
        const QString whenOff = switched ? QString() : shown;

        apply(true);
        QCOMPARE(shownTip(target, at), shown);
        apply(false);
        if (kind != QLatin1String("tree"))
            QCOMPARE(c->toolTip(), shown); // switched off, the control keeps its tip
        QCOMPARE(shownTip(target, at), whenOff);
        apply(false);
        QCOMPARE(shownTip(target, at), whenOff);
        apply(true);
        QCOMPARE(shownTip(target, at), shown);
        hideShownTip();
    }

private:
    QTemporaryDir base;
};

QTEST_MAIN(TestInterfaceTexts)
#include "tst_interfacetexts.moc"

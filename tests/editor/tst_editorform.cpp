// SPDX-License-Identifier: GPL-2.0-or-later
// The recipe editor driven as a user drives it (keys, Tab, clicks, choices from the
// drop-down lists), with the program started on a base folder of its own. Questions, the
// picture dialog and error boxes are answered through their hooks, except where a test
// drives the real window.

#include "tests/imaging/picturewriter.h"
#include "tests/testfiles.h"
#include "app/F_main.h"
#include "app/application.h"
#include "app/recipelistmodel.h"
#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/session.h"
#include "editor/F_KVE.h"
#include "editor/editordialogs.h"
#include "editor/fieldrules.h"
#include "editor/picturedialog.h"
#include "imaging/pictureloader.h"
#include "platform/daycount.h"
#include "platform/richtext/rtfwriter.h"
#include "recipes/recipefile.h"
#include "recipes/textrules.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateTimeEdit>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeView>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

QByteArray rtf(const QString& line)
{
    rich::RichDocument doc;
    doc.appendLine(line);
    return rich::writeRtf(doc);
}

double dayCountOf(const QDate& day)
{
    return dayCountFromDateTime(QDateTime(day, QTime(12, 0)));
}

// A base folder with the interface pictures and two recipes: a normal one that also has
// deluxe columns and its comments in a side file, and a deluxe one.
class Collection {
public:
    Collection()
    {
        base = dir.path() + QLatin1Char('/');
        QDir().mkpath(base + u"PRGDATA"_s);
        QVERIFY(copyTree(QStringLiteral(DILBO_DATA_DIR "/Graphic"), base + u"Graphic"_s));
        const QString recipes = base + u"prepared_recipes/"_s;

        soup.FilePath = recipes + u"fish.vrez"_s;
        soup.Name = "Fish Soup";
        soup.Categories = " Soup , Starters,,";
        soup.Binder = "Blue binder";
        soup.Magazine = "Kitchen Monthly";
        soup.Page = "12";
        soup.Remark = "family favourite";
        soup.Servings = "4 servings";
        soup.PrepTime = "40 minutes";
        soup.Difficulty = 3;
        soup.Devices = "fondue,";
        soup.LastCooked = dayCountOf(QDate(2020, 5, 17));
        soup.Comments = {"plain comment"};
        soup.CommentsRtf = soup.FilePath + u".001"_s;
        putFile(soup.CommentsRtf, rtf(u"Rich comment"_s));
        soup.Ingredients = {"cod", "leek"};
        soup.Instructions = {"Simmer gently."};
        soup.Quantities = {"500"};
        soup.Units = {"g"};
        soup.IngredientNames = {"cod"};
        soup.Descriptions = {"Poach."};
        write(soup);

        TKVG pancakes;
        pancakes.FilePath = recipes + u"pancakes.vrez"_s;
        pancakes.Name = "Pancake stack";
        pancakes.Kind = 1;
        pancakes.Categories = "Cake,Pie,";
        pancakes.Book = "Sweet things";
        pancakes.Difficulty = 5;
        pancakes.Quantities = {"200", "2"};
        pancakes.Units = {"g", "pcs"};
        pancakes.IngredientNames = {"flour", "eggs"};
        pancakes.Descriptions = {"Whisk."};
        pancakes.DescriptionsRtf = pancakes.FilePath + u".007"_s;
        putFile(pancakes.DescriptionsRtf, rtf(u"Whisk until smooth."_s));
        write(pancakes);
    }
    void write(const TKVG& r) { putFile(r.FilePath, recipeFileBytes(r)); }
    QString picture(const QString& name, const QSize& size) const
    {
        const QString path = base + u"pictures/"_s + name;
        QDir().mkpath(QFileInfo(path).path());
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(200, 120, 40));
        return image.save(path) ? path : QString();
    }

    QTemporaryDir dir;
    QString base;
    TKVG soup;
};

// What a label shows and what a picture file holds, both as they come out of a pixmap.
QImage shown(const QLabel* label)
{
    return label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}
QImage pictureFile(const QString& path)
{
    const QImage image = loadPicture(path);
    return image.isNull()
               ? QImage()
               : QPixmap::fromImage(image).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Chooses an item as the user does: a click opens the list, the arrow keys walk to the
// item and Return takes it.
bool choose(QComboBox* box, const QString& text)
{
    const int item = box->findText(text);
    QTest::mouseClick(box, Qt::LeftButton);
    QAbstractItemView* view = box->view();
    if (item < 0 || !view->isVisible())
        return false;
    QTest::keyClick(view, Qt::Key_Home);
    for (int i = 0; i < item; ++i)
        QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    return !view->isVisible() && box->currentIndex() == item;
}

// A wheel notch down over control, delivered as the window system delivers it.
void turnWheel(QWidget* control)
{
    const QPointF at = QRectF(control->rect()).center();
    QWheelEvent wheel(at, control->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(control, &wheel);
}

void clearLine(QLineEdit* edit)
{
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_End);
    while (!edit->text().isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
}

// The colour of an edit box's text and background as shown in image: the background at
// the box's lower right corner (past any text), the text as the pixel farthest from it
// in area (where the text stands; anti-aliased edges lie between the two).
struct BoxColours {
    QRgb background = 0;
    QRgb text = 0;
};
BoxColours boxColours(const QImage& image, const QWidget* box, const QRect& area)
{
    const QWidget* window = box->window();
    const QRect inWindow(box->mapTo(window, area.topLeft()), area.size());
    BoxColours colours;
    colours.background = image.pixel(box->mapTo(window, box->rect().bottomRight() - QPoint(6, 6)));
    int farthest = -1;
    for (int y = inWindow.top(); y <= inWindow.bottom(); ++y) {
        for (int x = inWindow.left(); x <= inWindow.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int distance = qAbs(qRed(p) - qRed(colours.background)) +
                                 qAbs(qGreen(p) - qGreen(colours.background)) +
                                 qAbs(qBlue(p) - qBlue(colours.background));
            if (distance > farthest) {
                farthest = distance;
                colours.text = p;
            }
        }
    }
    return colours;
}

// Whether two colours are the same up to anti-aliasing.
bool sameColour(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)) <= 24;
}

// A list written as its entries joined by "|".
QStringList list(const char* entries)
{
    return QString::fromUtf8(entries).split(u'|');
}

QStringList texts(const TFKVE* editor)
{
    QStringList out;
    for (const QTextEdit* e : editor->richEdits())
        out << e->toPlainText();
    return out;
}

QStringList slotTips(const TFKVE* editor)
{
    QStringList tips;
    for (const QLabel* slot : editor->KochgeraetImage)
        tips << slot->toolTip();
    return tips;
}

const QString kNew; // the "Create new recipe" row

QtMessageHandler g_testLog = nullptr;

// The offscreen platform notes for every drop-down list that it can neither raise it nor
// grab the keyboard for it; the lists work without, so the notes stay out of the log.
void withoutPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtWarningMsg || !text.startsWith(u"This plugin does not support"))
        g_testLog(type, context, text);
}

} // namespace

class EditorFormTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { g_testLog = qInstallMessageHandler(withoutPlatformNotes); }

    void init()
    {
        m_collection = std::make_unique<Collection>();
        m_answers.clear();
        m_asked.clear();
        m_errors.clear();
        SetShowMsgHook([this](int number, int, int) {
            m_asked << number;
            return m_answers.isEmpty() ? kAnswerClosed : m_answers.takeFirst();
        });
        SetErrorReportHook([this](const QString& text) { m_errors << text; });
        setPictureAnswer(std::nullopt);
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_collection->base));
        m_app = std::make_unique<Application>();
        QString error;
        const bool started = m_app->start(&error);
        QDir::setCurrent(previous);
        QVERIFY2(started, qPrintable(error));
        QCOMPARE(catalogue().recipes.size(), 2);
    }

    void cleanup()
    {
        if (m_app && mainWindow())
            mainWindow()->setOptionsRead(false); // no exit question
        m_app.reset();
        SetShowMsgHook({});
        SetErrorReportHook({});
        SetPictureDialogHook({});
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(QLatin1Char('\n'))));
    }

    void newRecipeOpensEmpty()
    {
        // A recipe opened and left before leaves nothing behind.
        QVERIFY(open(u"Fish Soup"_s));
        m_answers = {kAnswerNo};
        editor()->close();
        QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
        QVERIFY(open(kNew));
        TFKVE* ed = editor();
        QCOMPARE(catalogue().recipes.size(), 3);
        QCOMPARE(catalogue().CurrentRecipe, 2);
        QVERIFY(current().Name.isEmpty());
        QCOMPARE(current().Kind, 0);
        QCOMPARE(QApplication::focusWidget(), ed->RecipeName);
        QVERIFY(!ed->DTP1->isEnabled());
        for (const QLineEdit* e :
             {ed->RecipeName, ed->Ordner, ed->Buch, ed->Zeitschrift, ed->Seite, ed->Bemerkung,
              ed->ERezeptkategorien, ed->Portionen, ed->Zubzeit})
            QVERIFY2(e->text().isEmpty(), qPrintable(e->objectName()));
        QCOMPARE(texts(ed), QStringList(7));
        QVERIFY(ed->Zutatenliste->isVisible());
        QVERIFY(!ed->Menge1->isVisible());
        QCOMPARE(slotTips(ed), QStringList(7, ed->IIconlisteBack->toolTip()));
        QVERIFY(ed->LGrafikvolldateiname->text().isEmpty());
        // "Select cooking devices" is shown whole in its box.
        QStyleOptionComboBox box;
        box.initFrom(ed->CBIconliste);
        const QRect field = ed->style()->subControlRect(
            QStyle::CC_ComboBox, &box, QStyle::SC_ComboBoxEditField, ed->CBIconliste);
        QCOMPARE(ed->CBIconliste->currentIndex(), 0);
        QVERIFY2(ed->CBIconliste->fontMetrics().horizontalAdvance(ed->CBIconliste->currentText()) <=
                     field.width(),
                 qPrintable(QString::number(field.width())));
    }

    void openingFillsTheForm_data()
    {
        QTest::addColumn<QString>("name");
        // Ordner, Buch, Zeitschrift, Seite, Bemerkung, ERezeptkategorien, Portionen, Zubzeit
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("difficulty");
        QTest::addColumn<QStringList>("texts"); // the seven rich edits
        QTest::addColumn<bool>("deluxe");
        QTest::addColumn<QStringList>("devices");

        QTest::newRow("normal, comments from the side file")
            << u"Fish Soup"_s
            << list("Blue binder||Kitchen Monthly|12|family favourite|Soup,Starters,|4 servings|"
                    "40 minutes")
            << u"medium"_s << list("Rich comment|cod\nleek|Simmer gently.|500|g|cod|Poach.")
            << false << list("fondue");
        QTest::newRow("deluxe, instructions from the side file")
            << u"Pancake stack"_s << list("|Sweet things||||Cake,Pie,||") << u"tough"_s
            << list("|||200\n2|g\npcs|flour\neggs|Whisk until smooth.") << true << QStringList{};
    }
    void openingFillsTheForm()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, fields);
        QFETCH(QString, difficulty);
        QFETCH(QStringList, texts);
        QFETCH(bool, deluxe);
        QFETCH(QStringList, devices);
        QVERIFY(open(name));
        TFKVE* ed = editor();
        QCOMPARE(ed->RecipeName->text(), name);
        QCOMPARE(
            (QStringList{ed->Ordner->text(), ed->Buch->text(), ed->Zeitschrift->text(),
                         ed->Seite->text(), ed->Bemerkung->text(), ed->ERezeptkategorien->text(),
                         ed->Portionen->text(), ed->Zubzeit->text()}),
            fields);
        QCOMPARE(ed->CBKochlevel->currentText(), difficulty);
        QCOMPARE(::texts(ed), texts);
        QVERIFY(ed->DTP1->isEnabled());
        QCOMPARE(QApplication::focusWidget(), ed->RecipeName);
        for (const QWidget* w :
             QList<QWidget*>{ed->Menge1, ed->Einheit1, ed->Name1, ed->Beschreibung1, ed->LMenge1,
                             ed->LEinheit1, ed->LName1, ed->LBeschreibung1})
            QVERIFY2(w->isVisible() == deluxe, qPrintable(w->objectName()));
        for (const QWidget* w :
             QList<QWidget*>{ed->Zutatenliste, ed->Rezepttext, ed->Label6, ed->Label7})
            QVERIFY2(w->isVisible() == !deluxe, qPrintable(w->objectName()));
        QCOMPARE(slotTips(ed).mid(0, devices.size() + 1),
                 devices + QStringList{ed->IIconlisteBack->toolTip()});
    }

    void leavingTheName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leaveBy"); // the control clicked, or Tab
        QTest::addColumn<bool>("dateWhileTyping");
        QTest::addColumn<QString>("left"); // the name afterwards
        QTest::addColumn<bool>("asked");   // message 1, once, and the focus kept in the name
        QTest::addColumn<QString>("focused");

        const QString name = u"RecipeName"_s;
        const QString tab = u"Tab"_s;
        QTest::newRow("empty, Tab") << QString() << tab << false << QString() << true << name;
        QTest::newRow("blanks only, Tab") << u"   "_s << tab << false << QString() << true << name;
        QTest::newRow("leading blanks go, trailing stay")
            << u"  Pea soup "_s << tab << true << u"Pea soup "_s << false << u"Ordner"_s;
        QTest::newRow("empty, click into a field")
            << QString() << u"Seite"_s << false << QString() << true << name;
        QTest::newRow("empty, click on a drop-down list")
            << QString() << u"CBIconliste"_s << false << QString() << true << name;
        QTest::newRow("name, click on a drop-down list")
            << u"  Pie"_s << u"CBKochlevel"_s << true << u"Pie"_s << false << u"CBKochlevel"_s;
    }
    void leavingTheName()
    {
        QFETCH(QString, typed);
        QFETCH(QString, leaveBy);
        QFETCH(bool, dateWhileTyping);
        QFETCH(QString, left);
        QFETCH(bool, asked);
        QFETCH(QString, focused);
        QVERIFY(open(kNew));
        TFKVE* ed = editor();
        QTest::keyClicks(ed->RecipeName, typed);
        QCOMPARE(ed->DTP1->isEnabled(), dateWhileTyping);
        if (leaveBy == QLatin1String("Tab")) {
            QTest::keyClick(ed->RecipeName, Qt::Key_Tab);
        } else {
            auto* target = ed->findChild<QWidget*>(leaveBy);
            QVERIFY(target);
            QTest::mouseClick(target, Qt::LeftButton);
            // A list opens only when the focus could go there: the click that was refused
            // is dropped.
            QWidget* popup = QApplication::activePopupWidget();
            QCOMPARE(popup != nullptr, !asked && qobject_cast<QComboBox*>(target) != nullptr);
            if (popup)
                QTest::keyClick(popup, Qt::Key_Escape);
        }
        QCOMPARE(ed->RecipeName->text(), left);
        QCOMPARE(m_asked, asked ? QList<int>{1} : QList<int>{});
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), focused);
        QCOMPARE(ed->DTP1->isEnabled(), !asked);
    }

    void realMessageWindowDisablesTheEditor()
    {
        // The message window itself, not the hook: while it waits the editor cannot be
        // used, and afterwards the focus is back in the name.
        QVERIFY(open(kNew));
        TFKVE* ed = editor();
        SetShowMsgHook({});
        bool shown = false;
        bool editorEnabled = true;
        QString text;
        QTimer::singleShot(0, this, [&] {
            TFMsg* msg = MessageDialog();
            shown = msg->isVisible();
            editorEnabled = ed->isEnabled();
            text = msg->findChild<QLabel*>(u"Label2"_s)->text();
            QTest::mouseClick(msg->findChild<QPushButton*>(u"BOK"_s), Qt::LeftButton);
        });
        QTest::keyClick(ed->RecipeName, Qt::Key_Tab);
        QVERIFY(shown);
        QVERIFY(!editorEnabled);
        QCOMPARE(text, u"Please enter a name for the recipe!"_s);
        QVERIFY(!MessageDialog()->isVisible());
        QVERIFY(ed->isEnabled());
        QVERIFY(QTest::qWaitForWindowActive(ed));
        QCOMPARE(QApplication::focusWidget(), ed->RecipeName);
        QVERIFY(!ed->DTP1->isEnabled());
    }

    void textBoxesFollowTheWindowState_data()
    {
        QTest::addColumn<bool>("question"); // the message window, else an error box
        QTest::newRow("message window: disabled") << true;
        QTest::newRow("error box: inactive") << false;
    }
    void textBoxesFollowTheWindowState()
    {
        // While a message waits over the editor, the rich-text boxes show the colours of
        // the window's state as the one-line fields do, text and background alike. The
        // palette gives every state colours of its own, so any box that keeps the active
        // colours stands out.
        QFETCH(bool, question);
        const QPalette before = QApplication::palette();
        const auto restore = qScopeGuard([&before] { QApplication::setPalette(before); });
        QPalette palette = before;
        palette.setColor(QPalette::Inactive, QPalette::Base, QColor(250, 240, 200));
        palette.setColor(QPalette::Inactive, QPalette::Text, QColor(0, 0, 160));
        palette.setColor(QPalette::Disabled, QPalette::Base, QColor(215, 215, 215));
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(140, 140, 140));
        QApplication::setPalette(palette);
        QVERIFY(open(u"Fish Soup"_s));
        TFKVE* ed = editor();
        SetShowMsgHook({});
        SetErrorReportHook({});
        QImage shownState;
        QTimer::singleShot(0, this, [&] {
            QWidget* message = QApplication::activeModalWidget();
            // The message, not just the editor it belongs to, has become the active window.
            const auto messageActive = [message] { return QApplication::activeWindow() == message; };
            if (message && QTest::qWaitFor(messageActive))
                shownState = ed->grab().toImage();
            if (question)
                QTest::mouseClick(MessageDialog()->findChild<QPushButton*>(u"BNo"_s),
                                  Qt::LeftButton);
            else if (message)
                message->close();
        });
        if (question)
            ed->MGrafikloeschenClick(); // "Clear the picture?"
        else
            ReportError(ed, u"The file cannot be written."_s);
        SetErrorReportHook([this](const QString& text) { m_errors << text; });
        QVERIFY(!shownState.isNull());
        const BoxColours field = boxColours(shownState, ed->RecipeName, QRect(4, 3, 120, 16));
        const QPalette::ColorGroup state = question ? QPalette::Disabled : QPalette::Inactive;
        QVERIFY(sameColour(field.background, palette.color(state, QPalette::Base).rgb()));
        QVERIFY(sameColour(field.text, palette.color(state, QPalette::Text).rgb()));
        for (const QTextEdit* box : {ed->MBemerkungstext, ed->Zutatenliste, ed->Rezepttext}) {
            const BoxColours shown = boxColours(shownState, box->viewport(), QRect(2, 2, 120, 30));
            QVERIFY2(shown.background == field.background, qPrintable(box->objectName()));
            QVERIFY2(sameColour(shown.text, field.text),
                     qPrintable(box->objectName() + u' ' + QString::number(shown.text, 16) +
                                u" / "_s + QString::number(field.text, 16)));
        }
    }

    void rightClickIntoATextKeepsTheEmptyName()
    {
        QVERIFY(open(kNew));
        TFKVE* ed = editor();
        QWidget* viewport = ed->Rezepttext->viewport();
        const QPoint at = viewport->rect().center();
        // A right click arrives as a press and then a context menu request.
        QTest::mousePress(viewport, Qt::RightButton, {}, at);
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &request);
        QTest::mouseRelease(viewport, Qt::RightButton, {}, at);
        QCOMPARE(m_asked, QList<int>{1});
        QCOMPARE(QApplication::focusWidget(), ed->RecipeName);
        QVERIFY(!ed->PMRE->isVisible());
    }

    void altKeepsTheFocusInTheName()
    {
        // Alt puts the menu bar into keyboard mode; that is not leaving the field.
        QVERIFY(open(kNew));
        TFKVE* ed = editor();
        QTest::keyPress(ed->RecipeName, Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(ed->RecipeName, Qt::Key_Alt, Qt::NoModifier);
        QVERIFY(m_asked.isEmpty());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), ed->RecipeName);
        QVERIFY(m_asked.isEmpty());
    }

    void longTextsKeptWhole()
    {
        // The length limits stop typing, not the texts a recipe file holds: they open
        // and save whole.
        TKVG recipe;
        recipe.FilePath = m_collection->base + u"prepared_recipes/long.vrez"_s;
        recipe.Name = "Long " + QByteArray(255, 'n');
        recipe.Binder = QByteArray(150, 'b');
        recipe.Book = QByteArray(120, 'k');
        recipe.Magazine = QByteArray(130, 'm');
        recipe.Page = QByteArray(101, '7');
        recipe.Remark = QByteArray(210, 'r');
        recipe.Servings = QByteArray(140, 's');
        recipe.PrepTime = QByteArray(160, 't');
        for (int i = 0; i < 30; ++i)
            recipe.Categories += "Category" + QByteArray::number(i) + ',';
        recipe.Difficulty = 2;
        m_collection->write(recipe);
        mainWindow()->FillRecipeList(true);
        QVERIFY(open(QString::fromLatin1(recipe.Name)));
        TFKVE* ed = editor();
        const QList<QPair<QLineEdit*, QByteArray>> fields{
            {ed->RecipeName, recipe.Name},   {ed->Ordner, recipe.Binder},
            {ed->Buch, recipe.Book},         {ed->Zeitschrift, recipe.Magazine},
            {ed->Seite, recipe.Page},        {ed->Bemerkung, recipe.Remark},
            {ed->Portionen, recipe.Servings}, {ed->Zubzeit, recipe.PrepTime},
            {ed->ERezeptkategorien, recipe.Categories}};
        for (const auto& [edit, text] : fields)
            QCOMPARE(edit->text(), QString::fromLatin1(text));

        // Entering and leaving the categories and adding one more keep the list whole.
        ed->ERezeptkategorien->setFocus(Qt::TabFocusReason);
        QVERIFY(choose(ed->CBRezeptkategorien, u"Soup"_s));
        QCOMPARE(ed->ERezeptkategorien->text(), QString::fromLatin1(recipe.Categories + "Soup,"));

        m_answers = {kAnswerOK};
        ed->Rezeptspeichern1Click();
        QCOMPARE(m_asked, QList<int>{5});
        QCOMPARE(current().Name, recipe.Name);
        QCOMPARE(current().Binder, recipe.Binder);
        QCOMPARE(current().Remark, recipe.Remark);
        QCOMPARE(current().PrepTime, recipe.PrepTime);
        QCOMPARE(current().Categories, recipe.Categories + "Soup,");

        // A field emptied by a new recipe has its typing limit back.
        m_answers = {kAnswerNo};
        ed->close();
        QVERIFY(open(kNew));
        QCOMPARE(ed->RecipeName->maxLength(), 250);
        QCOMPARE(ed->ERezeptkategorien->maxLength(), 200);
    }

    void kindIcon_data()
    {
        QTest::addColumn<QString>("recipe");
        QTest::addColumn<QList<int>>("kinds"); // after each click
        QTest::addColumn<QList<int>>("asked");
        QTest::newRow("switches both ways") << u"Fish Soup"_s << QList<int>{1, 0} << QList<int>{};
        QTest::newRow("needs a name") << kNew << QList<int>{0} << QList<int>{1};
    }
    void kindIcon()
    {
        QFETCH(QString, recipe);
        QFETCH(QList<int>, kinds);
        QFETCH(QList<int>, asked);
        QVERIFY(open(recipe));
        TFKVE* ed = editor();
        const QStringList before = texts(ed);
        for (int kind : kinds) {
            QTest::mouseClick(ed->IRezeptname, Qt::LeftButton);
            QCOMPARE(current().Kind, kind);
            QCOMPARE(ed->Menge1->isVisible(), kind == 1);
            QCOMPARE(ed->Beschreibung1->isVisible(), kind == 1);
            QCOMPARE(ed->Zutatenliste->isVisible(), kind == 0);
            QCOMPARE(ed->Label7->isVisible(), kind == 0);
            QCOMPARE(texts(ed), before);
        }
        QCOMPARE(m_asked, asked);
        if (!asked.isEmpty())
            QCOMPARE(QApplication::focusWidget(), ed->RecipeName);
    }

    void cookingDevices()
    {
        QVERIFY(open(u"Pancake stack"_s));
        TFKVE* ed = editor();
        const QString empty = ed->IIconlisteBack->toolTip();
        QVERIFY(!empty.isEmpty());
        const auto tips = [&empty](QStringList devices) {
            return devices + QStringList(7 - devices.size(), empty);
        };
        QCOMPARE(slotTips(ed), tips({}));
        for (const char* device : {"skillet", "fondue", "barbecue"})
            QVERIFY(choose(ed->CBIconliste, QLatin1String(device)));
        QVERIFY(choose(ed->CBIconliste, ed->CBIconliste->itemText(0))); // the placeholder
        QCOMPARE(current().Devices, QByteArray("skillet,fondue,barbecue,"));
        QCOMPARE(slotTips(ed), tips({u"barbecue"_s, u"fondue"_s, u"skillet"_s}));
        const QString pictures = m_collection->base + u"Graphic/PNG/"_s;
        QCOMPARE(shown(ed->KochgeraetImage[0]), pictureFile(pictures + u"ENG/barbecue.PNG"_s));
        QCOMPARE(shown(ed->KochgeraetImage[3]), pictureFile(pictures + u"DummyKochgeraet.png"_s));

        QVERIFY(choose(ed->CBIconliste, u"fondue"_s));
        QCOMPARE(current().Devices, QByteArray("skillet,barbecue,"));
        QCOMPARE(slotTips(ed), tips({u"barbecue"_s, u"skillet"_s}));

        for (const char* device : {"juicer", "mixer", "cooking pot", "deep fryer", "water bath"})
            QVERIFY(choose(ed->CBIconliste, QLatin1String(device)));
        const QByteArray seven = current().Devices;
        QCOMPARE(deviceCount(seven), 7);
        QVERIFY(m_asked.isEmpty());
        QVERIFY(choose(ed->CBIconliste, u"microwave"_s));
        QCOMPARE(m_asked, QList<int>{2});
        QCOMPARE(current().Devices, seven);
        QVERIFY(!slotTips(ed).contains(u"microwave"_s));
    }

    void wheelChangesOnlyAFocusedControl_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("cooking devices") << u"CBIconliste"_s;
        QTest::newRow("categories") << u"CBRezeptkategorien"_s;
        QTest::newRow("difficulty") << u"CBKochlevel"_s;
        QTest::newRow("cooking date") << u"DTP1"_s;
    }
    void wheelChangesOnlyAFocusedControl()
    {
        QFETCH(QString, control);
        QVERIFY(open(u"Fish Soup"_s));
        TFKVE* ed = editor();
        auto* target = ed->findChild<QWidget*>(control);
        QVERIFY(target);
        const auto state = [&] {
            const auto* box = qobject_cast<QComboBox*>(target);
            return QStringList{
                QString::fromLatin1(current().Devices), ed->ERezeptkategorien->text(),
                QString::number(ed->CBKochlevel->currentIndex()), ed->DTP1->dateTime().toString(),
                QString::number(box ? box->currentIndex() : -1)};
        };
        const QStringList before = state();
        // Turned on the way past: the control neither takes the focus nor changes.
        turnWheel(target);
        QCOMPARE(QApplication::focusWidget(), ed->RecipeName);
        QCOMPARE(state(), before);
        target->setFocus(Qt::TabFocusReason);
        turnWheel(target);
        QVERIFY(state() != before);
    }

    void categoryList_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QList<int>>("asked");
        QTest::addColumn<QString>("field");
        QTest::newRow("two added") << QString() << QStringList{u"Cake"_s, u"Pie"_s} << QList<int>{}
                                   << QList<int>{} << u"Cake,Pie,"_s;
        QTest::newRow("inside a name, added on yes")
            << u"Fish Soup,"_s << QStringList{u"Soup"_s} << QList<int>{kAnswerYes} << QList<int>{3}
            << u"Fish Soup,Soup,"_s;
        QTest::newRow("inside a name, kept on no")
            << u"Fish Soup,"_s << QStringList{u"Soup"_s} << QList<int>{kAnswerNo} << QList<int>{3}
            << u"Fish Soup,"_s;
    }
    void categoryList()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, chosen);
        QFETCH(QList<int>, answers);
        QFETCH(QList<int>, asked);
        QFETCH(QString, field);
        QVERIFY(open(kNew));
        TFKVE* ed = editor();
        QTest::keyClicks(ed->RecipeName, u"Pie"_s);
        QTest::mouseClick(ed->ERezeptkategorien, Qt::LeftButton);
        QTest::keyClicks(ed->ERezeptkategorien, typed);
        m_answers = answers;
        for (const QString& category : chosen)
            QVERIFY(choose(ed->CBRezeptkategorien, category));
        QCOMPARE(m_asked, asked);
        QCOMPARE(ed->ERezeptkategorien->text(), field);
    }

    void categoryFieldNormalised_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("tidy");
        QTest::newRow("untidy list") << u" ,Cake , ,Pie"_s << u"Cake,Pie,"_s;
        QTest::newRow("one name") << u"Soup"_s << u"Soup,"_s;
        QTest::newRow("tidy list") << u"Cake,Pie,"_s << u"Cake,Pie,"_s;
    }
    void categoryFieldNormalised()
    {
        QFETCH(QString, typed);
        QFETCH(QString, tidy);
        QVERIFY(open(u"Fish Soup"_s));
        TFKVE* ed = editor();
        // Entering: a text put there without the user is tidied when the field is entered.
        ed->ERezeptkategorien->setText(typed);
        QTest::mouseClick(ed->Bemerkung, Qt::LeftButton);
        QTest::keyClick(ed->Bemerkung, Qt::Key_Tab);
        QTest::keyClick(ed->CBRezeptkategorien, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), ed->ERezeptkategorien);
        QCOMPARE(ed->ERezeptkategorien->text(), tidy);
        // Leaving: what the user typed is tidied when the focus moves on.
        clearLine(ed->ERezeptkategorien);
        QTest::keyClicks(ed->ERezeptkategorien, typed);
        QCOMPARE(ed->ERezeptkategorien->text(), typed);
        QTest::keyClick(ed->ERezeptkategorien, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), ed->Portionen);
        QCOMPARE(ed->ERezeptkategorien->text(), tidy);
    }

    void difficultyStars_data()
    {
        QTest::addColumn<QString>("difficulty");
        QTest::addColumn<int>("stars");
        const char* names[] = {"very easy", "easy", "medium", "difficult", "tough"};
        for (int i = 0; i < 5; ++i)
            QTest::newRow(names[i]) << QString::fromLatin1(names[i]) << i + 1;
    }
    void difficultyStars()
    {
        QFETCH(QString, difficulty);
        QFETCH(int, stars);
        QVERIFY(open(u"Fish Soup"_s));
        TFKVE* ed = editor();
        const QString pictures = m_collection->base + u"Graphic/PNG/%1_Sterne.png"_s;
        QCOMPARE(shown(ed->IKochlevel), pictureFile(pictures.arg(3))); // as stored
        QVERIFY(choose(ed->CBKochlevel, difficulty));
        QCOMPARE(shown(ed->IKochlevel), pictureFile(pictures.arg(stars)));
        QCOMPARE(ed->IKochlevel->toolTip(), difficulty);
    }

    void calendarPicture_data()
    {
        QTest::addColumn<int>("cookedDaysAgo");
        QTest::addColumn<int>("pickerYears"); // year stepped with the arrow keys
        QTest::addColumn<QString>("picture");
        QTest::newRow("cooked yesterday") << 1 << 0 << u"Kalendar_Yesterday.png"_s;
        QTest::newRow("cooked today") << 0 << 0 << u"Kalendar_Today.png"_s;
        QTest::newRow("cooking tomorrow") << -1 << 0 << u"Kalendar_Tomorrow.png"_s;
        QTest::newRow("picker a year on") << 0 << 1 << u"Kalendar_Tomorrow.png"_s;
        QTest::newRow("picker a year back") << 0 << -1 << u"Kalendar_Yesterday.png"_s;
    }
    void calendarPicture()
    {
        QFETCH(int, cookedDaysAgo);
        QFETCH(int, pickerYears);
        QFETCH(QString, picture);
        const QDate cooked = QDate::currentDate().addDays(-cookedDaysAgo);
        m_collection->soup.LastCooked = dayCountOf(cooked);
        m_collection->write(m_collection->soup);
        mainWindow()->FillRecipeList(true);
        QVERIFY(open(u"Fish Soup"_s));
        TFKVE* ed = editor();
        QCOMPARE(ed->DTP1->date(), cooked);
        QTest::mouseClick(ed->DTP1, Qt::LeftButton); // into the text: changes nothing
        QCOMPARE(ed->DTP1->date(), cooked);
        if (pickerYears != 0) {
            ed->DTP1->setCurrentSection(QDateTimeEdit::YearSection);
            QTest::keyClick(ed->DTP1, pickerYears > 0 ? Qt::Key_Up : Qt::Key_Down);
            QCOMPARE(ed->DTP1->date(), cooked.addYears(pickerYears));
            QCOMPARE(dateTimeFromDayCount(current().LastCooked).date(),
                     cooked.addYears(pickerYears));
        }
        const QString folder = m_collection->base + u"Graphic/PNG/"_s;
        const QImage expected = pictureFile(folder + picture);
        QVERIFY(!expected.isNull());
        QCOMPARE(shown(ed->IKochdatum), expected);
        for (const char* other :
             {"Kalendar_Yesterday.png", "Kalendar_Today.png", "Kalendar_Tomorrow.png"}) {
            if (picture != QLatin1String(other)) // the pictures can be told apart
                QVERIFY(pictureFile(folder + QLatin1String(other)) != expected);
        }
    }

    void printedMatterIcons_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<int>("number");
        QTest::newRow("ring binder") << u"Ordner"_s << u"IOrdner"_s << 3;
        QTest::newRow("magazine") << u"Zeitschrift"_s << u"IZeitschrift"_s << 4;
        QTest::newRow("book") << u"Buch"_s << u"IBuch"_s << 5;
    }
    void printedMatterIcons()
    {
        QFETCH(QString, edit);
        QFETCH(QString, icon);
        QFETCH(int, number);
        QVERIFY(open(u"Fish Soup"_s)); // binder and magazine set, no book
        auto* line = editor()->findChild<QLineEdit*>(edit);
        auto* label = editor()->findChild<QLabel*>(icon);
        QVERIFY(line && label);
        const QString icons = m_collection->base + u"Graphic/ICO/24/%1%2.ico"_s;
        const QImage grey = pictureFile(icons.arg(number).arg(u"g"));
        const QImage normal = pictureFile(icons.arg(number).arg(QString()));
        QVERIFY(!grey.isNull() && grey != normal);
        const bool wasEmpty = line->text().isEmpty();
        QCOMPARE(shown(label), wasEmpty ? grey : normal);
        if (wasEmpty) {
            QTest::mouseClick(line, Qt::LeftButton);
            QTest::keyClicks(line, u"Red"_s);
        } else {
            clearLine(line);
        }
        QCOMPARE(shown(label), wasEmpty ? normal : grey);
    }

    void pictureClick_data()
    {
        QTest::addColumn<bool>("pictureBefore");
        QTest::addColumn<QString>("chosen"); // "dish", "missing" or "" for cancel
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QList<int>>("asked");
        QTest::addColumn<QString>("after"); // "dish", "old" or "" for none
        const QList<int> none;
        QTest::newRow("chosen") << false << u"dish"_s << none << none << u"dish"_s;
        QTest::newRow("chosen replaces") << true << u"dish"_s << none << none << u"dish"_s;
        QTest::newRow("missing file ignored") << true << u"missing"_s << none << none << u"old"_s;
        QTest::newRow("cancel, clear: yes")
            << true << QString() << QList<int>{kAnswerYes} << QList<int>{4} << QString();
        QTest::newRow("cancel, clear: no")
            << true << QString() << QList<int>{kAnswerNo} << QList<int>{4} << u"old"_s;
        QTest::newRow("cancel without picture") << false << QString() << none << none << QString();
    }
    void pictureClick()
    {
        QFETCH(bool, pictureBefore);
        QFETCH(QString, chosen);
        QFETCH(QList<int>, answers);
        QFETCH(QList<int>, asked);
        QFETCH(QString, after);
        QVERIFY(open(u"Fish Soup"_s));
        TFKVE* ed = editor();
        // The frame shrinks to a smaller picture, centred where it stands; a larger picture
        // is cut at the frame.
        const QMap<QString, QString> paths{
            {u"old"_s, m_collection->picture(u"old/old.png"_s, QSize(400, 200))},
            {u"dish"_s, m_collection->picture(u"new/dish.png"_s, QSize(100, 50))},
            {u"missing"_s, m_collection->base + u"nowhere.png"_s}};
        const QMap<QString, QList<QRect>> frames{
            {u"old"_s, {QRect(120, 232, 283, 147), QRect(1, 1, 281, 145)}},
            {u"dish"_s, {QRect(211, 232, 102, 52), QRect(1, 1, 100, 50)}}};
        if (pictureBefore) {
            setPictureAnswer(paths[u"old"_s]);
            QTest::mouseClick(ed->IRezeptgrafik, Qt::LeftButton);
        }
        const QString folderBefore = CurrentSettings().lastPictureFolder;

        QStringList dialog;
        SetPictureDialogHook([&](const QString& folder, const QString& proposed) {
            dialog << folder << proposed;
            return chosen.isEmpty() ? std::nullopt : std::optional<QString>(paths[chosen]);
        });
        m_answers = answers;
        QTest::mouseClick(ed->IRezeptgrafik, Qt::LeftButton);
        QCOMPARE(dialog, (QStringList{folderBefore, pictureBefore ? u"old.png"_s : QString()}));
        QCOMPARE(m_asked, asked);
        const QString expected = paths.value(after);
        QCOMPARE(ed->LGrafikvolldateiname->text(), expected);
        QCOMPARE(current().PictureFile, expected);
        QCOMPARE(CurrentSettings().lastPictureFolder,
                 after == QLatin1String("dish") ? FolderPart(expected) : folderBefore);
        QCOMPARE(shown(ed->IRezeptgrafik),
                 pictureFile(expected.isEmpty()
                                 ? m_collection->base + u"Graphic/PNG/Rezeptdummy.png"_s
                                 : expected));
        if (!expected.isEmpty())
            QCOMPARE((QList<QRect>{ed->Panel1->geometry(), ed->IRezeptgrafik->geometry()}),
                     frames[after]);
    }

    void clearGraphicItemOnlyWithAPicture()
    {
        QVERIFY(open(u"Fish Soup"_s));
        TFKVE* ed = editor();
        const auto rightClick = [ed] {
            const QPoint at = ed->IRezeptgrafik->rect().center();
            QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                                    ed->IRezeptgrafik->mapToGlobal(at));
            QApplication::sendEvent(ed->IRezeptgrafik, &event);
        };
        rightClick();
        QVERIFY(!ed->MGrafikloeschen->isVisible());
        QVERIFY(!ed->PMRezeptgrafik->isVisible());

        setPictureAnswer(m_collection->picture(u"dish.png"_s, QSize(50, 50)));
        QTest::mouseClick(ed->IRezeptgrafik, Qt::LeftButton);
        QVERIFY(!ed->LGrafikvolldateiname->text().isEmpty());
        rightClick();
        QVERIFY(ed->MGrafikloeschen->isVisible());
        QVERIFY(ed->PMRezeptgrafik->isVisible());
        m_answers = {kAnswerYes};
        const QRect item = ed->PMRezeptgrafik->actionGeometry(ed->MGrafikloeschen);
        QTest::mouseClick(ed->PMRezeptgrafik, Qt::LeftButton, {}, item.center());
        QVERIFY(!ed->PMRezeptgrafik->isVisible());
        QCOMPARE(m_asked, QList<int>{4});
        QVERIFY(ed->LGrafikvolldateiname->text().isEmpty());
        QVERIFY(current().PictureFile.isEmpty());
    }

    // Every picture format the loader reads shows in the editor when chosen.
    void everyPictureFormatShows_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        using namespace testpictures;
        QTest::newRow("png") << u"dish.png"_s << redRaster("PNG", QSize(50, 40));
        QTest::newRow("jpeg") << u"dish.jpg"_s << redRaster("JPEG", QSize(50, 40));
        QTest::newRow("bmp") << u"dish.bmp"_s << redRaster("BMP", QSize(50, 40));
        QTest::newRow("ico") << u"dish.ico"_s << redRaster("ICO", QSize(50, 40));
        QTest::newRow("gif") << u"dish.gif"_s << redGif(40, 30);
        WmfWriter wmf;
        wmf.redRectangle(1440, 960);
        QTest::newRow("wmf") << u"dish.wmf"_s << wmf.finish(1440, QRect(0, 0, 1440, 960));
        EmfWriter emf;
        emf.redRectangle(120, 80);
        QTest::newRow("emf") << u"dish.emf"_s << emf.finish(QSize(120, 80));
    }

    void everyPictureFormatShows()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QVERIFY(open(u"Fish Soup"_s));
        TFKVE* ed = editor();
        const QString path = m_collection->base + u"pictures/"_s + file;
        putFile(path, bytes);
        setPictureAnswer(path);
        QTest::mouseClick(ed->IRezeptgrafik, Qt::LeftButton);
        QCOMPARE(ed->LGrafikvolldateiname->text(), path);
        const QImage image = shown(ed->IRezeptgrafik);
        const QRgb centre = image.pixel(image.width() / 2, image.height() / 2);
        QVERIFY2(qRed(centre) > 200 && qGreen(centre) < 60 && qBlue(centre) < 60,
                 qPrintable(QString::number(centre, 16)));
    }

    void pictureDialogPreview_data()
    {
        QTest::addColumn<QString>("target"); // where the cursor goes from the recipe's picture
        QTest::addColumn<int>("tall");       // the target's height per width; 0: no picture
        QTest::newRow("metafile, larger than the pane") << u"tall.emf"_s << 2;
        QTest::newRow("damaged picture") << u"damaged.png"_s << 0;
        QTest::newRow("folder") << u"sub"_s << 0;
    }
    void pictureDialogPreview()
    {
        // The real dialog, opened by a click on the recipe's picture: modal to the editor,
        // a pane beside the file list previews the picture under the cursor, fitted into
        // the pane and centred; only existing files are taken.
        QFETCH(QString, target);
        QFETCH(int, tall);
        QVERIFY(open(u"Fish Soup"_s));
        TFKVE* ed = editor();
        const QString folder = m_collection->base + u"dialog/"_s;
        QVERIFY(QDir().mkpath(folder + u"sub"_s));
        const QString wide = folder + u"wide.png"_s;
        putFile(wide, testpictures::redRaster("PNG", QSize(1200, 300)));
        testpictures::EmfWriter emf;
        emf.redRectangle(300, 600);
        putFile(folder + u"tall.emf"_s, emf.finish(QSize(300, 600)));
        putFile(folder + u"damaged.png"_s, QByteArray("\x89PNG\r\n\x1a\n") + QByteArray(64, 'x'));
        putFile(folder + u"notes.txt"_s, "not listed: no picture name");
        setPictureAnswer(wide); // the recipe's picture, proposed by the dialog
        QTest::mouseClick(ed->IRezeptgrafik, Qt::LeftButton);
        SetPictureDialogHook({});

        QPointer<PictureDialog> dialog;
        QWidget* owner = nullptr;
        Qt::WindowModality modality = Qt::NonModal;
        QSize room;
        bool beside = false; // the pane stands right of the file list, level with it
        QPixmap atOpen;      // the proposed file, before the folder is listed
        QImage shown;
        QString shownText;
        bool missingRefused = false;
        QTimer::singleShot(0, this, [&] {
            dialog = qobject_cast<PictureDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            owner = dialog->parentWidget();
            modality = dialog->windowModality();
            room = dialog->preview()->contentsRect().size();
            atOpen = dialog->preview()->pixmap();
            QAbstractItemView* files = nullptr;
            for (auto* view : dialog->findChildren<QAbstractItemView*>()) {
                // Qt's dialog shows its files in a list or in a tree with columns.
                const QString name = view->objectName();
                if (view->isVisible() && (name == u"listView" || name == u"treeView"))
                    files = view;
            }
            const auto listed = [files] {
                return files && files->model()->rowCount(files->rootIndex()) == 4;
            };
            if (QTest::qWaitFor(listed)) {
                const QRect list(files->mapTo(dialog, QPoint()), files->size());
                const QRect pane = dialog->preview()->geometry();
                beside = pane.left() > list.right() && pane.top() < list.bottom() &&
                         pane.bottom() > list.top();
                QTest::keyClick(files, Qt::Key_Home);
                for (int i = 0; i < 4 && files->currentIndex().data() != target; ++i)
                    QTest::keyClick(files, Qt::Key_Down);
                shown = dialog->preview()->grab(dialog->preview()->contentsRect()).toImage();
                shownText = dialog->preview()->text();
            }
            // A name that is not there is refused with a notice, and the dialog stays.
            auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
            if (name) {
                name->setText(u"missing.png"_s);
                QTimer::singleShot(0, this, [&missingRefused] {
                    if (auto* notice = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                        missingRefused = true;
                        notice->close();
                    }
                });
                QTest::keyClick(name, Qt::Key_Return);
            }
            if (dialog)
                QTest::keyClick(dialog, Qt::Key_Escape);
        });
        m_answers = {kAnswerNo}; // cancelled: keep the picture
        QTest::mouseClick(ed->IRezeptgrafik, Qt::LeftButton);
        QCOMPARE(owner, ed);
        QCOMPARE(modality, Qt::WindowModal);
        QVERIFY(!dialog); // gone once answered
        QVERIFY(beside);
        QVERIFY(missingRefused);
        QCOMPARE(m_asked, QList<int>{4});
        QCOMPARE(current().PictureFile, wide);
        // Scaled down to the pane's width, a quarter as high.
        QCOMPARE(atOpen.width(), room.width());
        QVERIFY2(qAbs(atOpen.width() - 4 * atOpen.height()) <= 4,
                 qPrintable(QString::number(atOpen.height())));
        QCOMPARE(shown.size(), room);
        const auto red = [&shown](int x) {
            const QRgb p = shown.pixel(x, shown.height() / 2);
            return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60;
        };
        if (tall == 0) {
            QCOMPARE(shownText, u"No picture"_s);
            for (int x = 0; x < shown.width(); x += 10)
                QVERIFY(!red(x));
        } else {
            // As high as the pane, tall times narrower, in the middle.
            const int centre = room.width() / 2;
            const int half = room.height() / tall / 2;
            QVERIFY(red(centre - half + 3) && red(centre + half - 3));
            QVERIFY(!red(centre - half - 3) && !red(centre + half + 3));
        }
    }

    void pictureByKeyboard()
    {
        // The picture frame comes after the last text in the tab order; Enter chooses a
        // picture and Delete offers to clear it.
        QVERIFY(open(u"Fish Soup"_s));
        TFKVE* ed = editor();
        ed->Rezepttext->setFocus(Qt::TabFocusReason);
        QTest::keyClick(ed->Rezepttext, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), ed->Panel1);
        const QString dish = m_collection->picture(u"dish.png"_s, QSize(60, 40));
        setPictureAnswer(dish);
        QTest::keyClick(ed->Panel1, Qt::Key_Return);
        QCOMPARE(current().PictureFile, dish);
        QCOMPARE(QApplication::focusWidget(), ed->Panel1);
        m_answers = {kAnswerYes};
        QTest::keyClick(ed->Panel1, Qt::Key_Delete);
        QCOMPARE(m_asked, QList<int>{4});
        QVERIFY(current().PictureFile.isEmpty());
        // Without a picture there is nothing to clear and nothing is asked.
        QTest::keyClick(ed->Panel1, Qt::Key_Delete);
        QCOMPARE(m_asked, QList<int>{4});
    }

    void closing_data()
    {
        QTest::addColumn<QString>("recipe");
        QTest::addColumn<QString>("typedName");
        QTest::addColumn<QList<int>>("asked"); // saving declined
        QTest::newRow("new recipe without a name") << kNew << QString() << QList<int>{};
        QTest::newRow("named new recipe") << kNew << u"Brand new"_s << QList<int>{18};
        QTest::newRow("changed recipe") << u"Fish Soup"_s << QString() << QList<int>{18};
    }
    void closing()
    {
        QFETCH(QString, recipe);
        QFETCH(QString, typedName);
        QFETCH(QList<int>, asked);
        QVERIFY(open(recipe));
        TFKVE* ed = editor();
        QTest::keyClicks(ed->RecipeName, typedName);
        if (!ed->RecipeName->text().isEmpty()) // without a name the list asks for one first
            QVERIFY(choose(ed->CBIconliste, u"mixer"_s)); // changes the record at once
        m_answers = {kAnswerNo};
        QVERIFY(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier); // File > Exit
        QCOMPARE(m_asked, asked);
        QVERIFY(!ed->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
        QCOMPARE(catalogue().recipes.size(), 2);
        QStringList names;
        for (int row = 1; row < mainWindow()->listModel()->rowCount(); ++row)
            names << mainWindow()->listModel()->index(row, 0).data().toString();
        QCOMPARE(names, (QStringList{u"Fish Soup"_s, u"Pancake stack"_s}));
        for (const TKVG& r : catalogue().recipes)
            QVERIFY(!r.Devices.contains("mixer"));
    }

private:
    TFKVE* editor() const { return m_app->editor(); }
    TFMain* mainWindow() const { return m_app->mainWindow(); }
    Catalogue& catalogue() { return m_app->catalogue(); }
    TKVG& current() { return catalogue().recipes[catalogue().CurrentRecipe]; }

    // Opens the editor from the main window's list as Return or a double click does.
    bool open(const QString& name)
    {
        TFMain* main = mainWindow();
        for (int row = 0; row < main->listModel()->rowCount(); ++row) {
            if (name.isEmpty() ? row == 0 : main->listModel()->index(row, 0).data() == name) {
                main->selectRow(row);
                QTest::keyClick(main->recipeList(), Qt::Key_Return);
                return !main->isVisible() && QTest::qWaitForWindowActive(editor());
            }
        }
        return false;
    }

    static void setPictureAnswer(const std::optional<QString>& answer)
    {
        SetPictureDialogHook([answer](const QString&, const QString&) { return answer; });
    }

    std::unique_ptr<Collection> m_collection;
    std::unique_ptr<Application> m_app;
    QList<int> m_answers;
    QList<int> m_asked;
    QStringList m_errors;
};

QTEST_MAIN(EditorFormTest)
#include "tst_editorform.moc"

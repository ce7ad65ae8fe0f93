// SPDX-License-Identifier: GPL-2.0-or-later
// The recipe editor window as the user drives it: typing into its fields, saving with
// the menu's shortcuts, reopening from the main window, and the commands of the
// rich-text popup. Questions, the font dialog and error boxes are answered through
// their hooks.

#include "tests/testfiles.h"
#include "app/F_main.h"
#include "app/application.h"
#include "app/recipelistmodel.h"
#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/session.h"
#include "editor/F_KVE.h"
#include "editor/editordialogs.h"
#include "preview/F_Vor.h"
#include "preview/openpreview.h"
#include "platform/richtext/fonttransfer.h"
#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"
#include "platform/richtext/textdocumentbridge.h"
#include "recipes/recipefile.h"
#include "recipes/recipetexts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFontInfo>
#include <QLineEdit>
#include <QMap>
#include <QTemporaryDir>
#include <QProcess>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTreeView>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <optional>

namespace {

// The seven rich edits in the order of their side files.
enum Text { Comments, Ingredients, Instructions, Quantities, Units, IngredientNames, Descriptions };

// What enterRecipe() leaves in the rich edits; two stay empty.
const std::array<QStringList, 7> kTyped{{
    {QStringLiteral("Grandma's"), QStringLiteral("favourite")},
    {},
    {QStringLiteral("Wash the leeks."), QStringLiteral("Simmer gently.")},
    {QStringLiteral("2"), QStringLiteral("1")},
    {},
    {QStringLiteral("leeks"), QStringLiteral("water")},
    {QStringLiteral("sliced")},
}};

QFont chosenFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setPointSize(14);
    font.setBold(true);
    return font;
}

QString describe(const rich::CharFormat& f)
{
    QString out = f.fontName + QLatin1Char(' ') + QString::number(f.pointSize());
    if (f.style & rich::Bold)
        out += QLatin1String(" bold");
    if (f.style & rich::Italic)
        out += QLatin1String(" italic");
    if (f.style & rich::Underline)
        out += QLatin1String(" underline");
    if (f.style & rich::StrikeOut)
        out += QLatin1String(" strike-out");
    return out + QLatin1String(" #") + QString::number(f.color, 16);
}

// A document as readable lines: each run of one format as "[format]text", then the
// format of the line's end mark.
QStringList describe(const rich::RichDocument& doc)
{
    QStringList out;
    for (const rich::RichLine& line : doc.lines()) {
        QString text;
        for (qsizetype i = 0; i < line.text.size(); ++i) {
            if (i == 0 || line.formats.at(i) != line.formats.at(i - 1))
                text +=
                    QLatin1Char('[') + describe(doc.format(line.formats.at(i))) + QLatin1Char(']');
            text += line.text.at(i);
        }
        out << text + QLatin1String(" [end ") + describe(doc.format(line.endFormat)) +
                   QLatin1Char(']');
    }
    return out;
}

rich::RichDocument documentOf(const QTextEdit* edit)
{
    return rich::fromTextDocument(edit->document());
}

QStringList linesOf(const QTextEdit* edit)
{
    return documentOf(edit).plainLines();
}

// The formats of every character of an edit, line by line.
QList<rich::CharFormat> characterFormats(const QTextEdit* edit)
{
    const rich::RichDocument doc = documentOf(edit);
    QList<rich::CharFormat> out;
    for (const rich::RichLine& line : doc.lines()) {
        for (quint16 id : line.formats)
            out << doc.format(id);
    }
    return out;
}

void typeLines(QTextEdit* edit, const QStringList& lines)
{
    edit->setFocus(Qt::MouseFocusReason);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(edit, lines.at(i));
    }
}

void typeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(edit, text);
}

// Selects the first occurrence of word in edit, as the mouse does: the edit takes the
// focus.
void selectWord(QTextEdit* edit, const QString& word)
{
    edit->setFocus(Qt::MouseFocusReason);
    const int at = int(edit->toPlainText().indexOf(word));
    QVERIFY(at >= 0);
    QTextCursor cursor(edit->document());
    cursor.setPosition(at);
    cursor.setPosition(at + int(word.size()), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

void setLines(QTextEdit* edit, const QStringList& lines)
{
    TSTRING plain;
    for (const QString& line : lines)
        plain << line.toLatin1();
    rich::toTextDocument(documentFromLines(plain), edit->document());
}

QStringList captions(const TFMain* main)
{
    QStringList out;
    for (int row = 0; row < main->listModel()->rowCount(); ++row)
        out << main->listModel()->index(row, 0).data().toString();
    return out;
}

bool isRoot()
{
    return ::geteuid() == 0;
}

} // namespace

class EditorSaveTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void shortcutSavesFromAnEditBox_data();
    void shortcutSavesFromAnEditBox();
    void reopenedShowsTheSameAndSavesTheSameBytes();
    void saveAsOntoAnExistingName_data();
    void saveAsOntoAnExistingName();
    void emptyNameAsksForOne_data();
    void emptyNameAsksForOne();
    void missingPictureIsNotSaved_data();
    void missingPictureIsNotSaved();
    void failedSaveKeepsTheForm_data();
    void failedSaveKeepsTheForm();
    void closingAsksToSave_data();
    void closingAsksToSave();
    void printSavesOnlyWhenConfirmed_data();
    void printSavesOnlyWhenConfirmed();
    void changedOutsideIsAskedAbout_data();
    void changedOutsideIsAskedAbout();

    void popupItems_data();
    void popupItems();
    void clipboardCommandsUseTheFocusedEdit();
    void fontIntoDeluxeColumns();
    void fontIntoSelectedWord();
    void cancelledFontChangesNothing_data();
    void cancelledFontChangesNothing();
    void fontLeftAsTheDialogStartsChangesNoByte_data();
    void fontLeftAsTheDialogStartsChangesNoByte();
    void enterInDescriptionsMirrorsTheLine_data();
    void enterInDescriptionsMirrorsTheLine();

private:
    TFMain* mainWindow() const { return m_app->mainWindow(); }
    TFKVE* editor() const { return m_app->editor(); }
    TKVG& currentRecord() { return m_app->catalogue().recipes[m_app->catalogue().CurrentRecipe]; }
    QString recipePath(const QString& fileName) const { return m_recipes + fileName; }
    QMap<QString, QByteArray> folderContent() const;
    /// Types a complete recipe named name into the open editor: plain fields, the
    /// normal texts, a word in another font, then the deluxe columns.
    void enterRecipe(const QString& name);
    void checkSavedRecipe(const QString& fileName);
    void switchToDeluxe();

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_recipes;
    std::unique_ptr<Application> m_app;
    QList<int> m_answers;
    QList<int> m_asked;
    QList<QList<int>> m_questions;      ///< each message as number, heading kind, button set
    std::function<void(int)> m_onAsked; ///< runs while message number waits for its answer
    QStringList m_errors;
    std::optional<QFont> m_fontAnswer;
    QList<QFont> m_fontAsked;
    int m_closed = 0;
    int m_previews = 0;
};

// A fresh base folder with the interface pictures and one recipe, "Goulash", whose
// ingredients have a side file; the program started in it and the editor opened on a
// new recipe from the main window.
void EditorSaveTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    const QString base = m_dir->path() + QLatin1Char('/');
    m_recipes = base + QStringLiteral("prepared_recipes/");
    QVERIFY(QDir().mkpath(base + QStringLiteral("PRGDATA")));
    QVERIFY(QDir().mkpath(m_recipes));
    QVERIFY(copyTree(QStringLiteral(DILBO_DATA_DIR "/Graphic/"), base + QStringLiteral("Graphic/")));
    QVERIFY(QFile::exists(base + QStringLiteral("Graphic/PNG/Background.png")));

    TKVG goulash;
    goulash.Name = "Goulash";
    goulash.Difficulty = 3;
    goulash.FilePath = recipePath(QStringLiteral("Goulash.vrez"));
    goulash.Ingredients = {"beef"};
    goulash.IngredientsRtf = goulash.FilePath + QStringLiteral(".002");
    rich::RichDocument beef;
    beef.appendLine(QStringLiteral("beef"));
    QVERIFY(rich::writeRtfFile(goulash.IngredientsRtf, beef));
    QFile file(goulash.FilePath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(recipeFileBytes(goulash));
    file.close();

    m_answers.clear();
    m_asked.clear();
    m_errors.clear();
    m_fontAsked.clear();
    m_fontAnswer.reset();
    m_closed = 0;
    m_previews = 0;
    m_onAsked = nullptr;
    m_questions.clear();
    SetShowMsgHook([this](int number, int heading, int set) {
        m_asked << number;
        m_questions.append({number, heading, set});
        if (m_onAsked)
            m_onAsked(number);
        return m_answers.isEmpty() ? kAnswerClosed : m_answers.takeFirst();
    });
    SetErrorReportHook([this](const QString& text) { m_errors << text; });
    SetPreviewShownHook([this](TFVor& preview) {
        ++m_previews;
        preview.close();
    });
    SetFontDialogHook([this](const QFont& initial) {
        m_fontAsked << initial;
        return m_fontAnswer;
    });
    QGuiApplication::clipboard()->clear();

    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(base));
    m_app = std::make_unique<Application>();
    QString error;
    const bool started = m_app->start(&error);
    QDir::setCurrent(previous);
    QVERIFY2(started, qPrintable(error));
    connect(editor(), &TFKVE::closed, this, [this] { ++m_closed; });

    mainWindow()->selectRow(0);
    QTest::keyClick(mainWindow()->recipeList(), Qt::Key_Return);
    QVERIFY(QTest::qWaitForWindowActive(editor()));
    QVERIFY(!mainWindow()->isVisible());
    QCOMPARE(QApplication::focusWidget(), editor()->RecipeName);
}

void EditorSaveTest::cleanup()
{
    QFile::setPermissions(m_recipes, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (m_app)
        mainWindow()->setOptionsRead(false); // ends without the exit question
    m_app.reset();
    SetShowMsgHook({});
    SetErrorReportHook({});
    SetPreviewShownHook({});
    SetFontDialogHook({});
    m_dir.reset();
}

QMap<QString, QByteArray> EditorSaveTest::folderContent() const
{
    QMap<QString, QByteArray> content;
    const QDir dir(m_recipes);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            content.insert(name, file.readAll());
    }
    return content;
}

void EditorSaveTest::switchToDeluxe()
{
    editor()->IRezeptnameClick();
    QVERIFY(editor()->Menge1->isVisible());
    QVERIFY(!editor()->Rezepttext->isVisible());
}

void EditorSaveTest::enterRecipe(const QString& name)
{
    TFKVE* e = editor();
    typeInto(e->RecipeName, name);
    typeInto(e->Ordner, QStringLiteral("Green binder"));
    typeInto(e->Seite, QStringLiteral("7"));
    typeInto(e->Bemerkung, QStringLiteral("Quick"));
    typeInto(e->ERezeptkategorien, QStringLiteral("Soups"));
    typeInto(e->Portionen, QStringLiteral("4"));
    typeInto(e->Zubzeit, QStringLiteral("20 min"));
    e->CBKochlevel->setCurrentIndex(2);
    e->CBIconlisteChange(e->CBIconliste->findText(QStringLiteral("cooking pot")));
    for (Text text : {Comments, Ingredients, Instructions})
        typeLines(e->richEdits().at(text), kTyped[text]);
    // Typed and deleted again: empty as if never touched.
    typeLines(e->Zutatenliste, {QStringLiteral("x")});
    QTest::keyClick(e->Zutatenliste, Qt::Key_Backspace);

    // "Simmer" in Courier New 14 bold.
    selectWord(e->Rezepttext, QStringLiteral("Simmer"));
    m_fontAnswer = chosenFont();
    e->ZeichensatzClick();
    m_fontAnswer.reset();

    switchToDeluxe();
    for (Text text : {Quantities, Units, IngredientNames, Descriptions})
        typeLines(e->richEdits().at(text), kTyped[text]);
}

// The recipe of enterRecipe() as the program reads it back from its files.
void EditorSaveTest::checkSavedRecipe(const QString& fileName)
{
    const QString path = recipePath(fileName);
    TKV catalogue;
    QList<FileProblem> problems;
    ReadCatalogue(BaseFolder(), catalogue, &problems);
    QVERIFY(problems.isEmpty());
    const auto found = std::find_if(catalogue.cbegin(), catalogue.cend(),
                                    [&](const TKVG& r) { return r.FilePath == path; });
    QVERIFY2(found != catalogue.cend(), qPrintable(path));
    const TKVG& r = *found;
    QCOMPARE(r.Name, QByteArray("Leek soup"));
    QCOMPARE(r.Kind, 1);
    QCOMPARE(r.Binder, QByteArray("Green binder"));
    QCOMPARE(r.Page, QByteArray("7"));
    QCOMPARE(r.Remark, QByteArray("Quick"));
    QCOMPARE(r.Categories, QByteArray("Soups,"));
    QCOMPARE(r.Servings, QByteArray("4"));
    QCOMPARE(r.PrepTime, QByteArray("20 min"));
    QCOMPARE(r.Difficulty, 3);
    QCOMPARE(r.Devices, QByteArray("cooking pot,"));

    const auto& fields = recipeTextFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        const QString side = path + QLatin1String(fields[i].suffix);
        const QStringList& typed = kTyped[i];
        QStringList plain;
        for (QByteArrayView line : r.*fields[i].lines)
            plain << QString::fromLatin1(line.toByteArray());
        QCOMPARE(plain, typed);
        QCOMPARE(QFile::exists(side), !typed.isEmpty());
        QCOMPARE(r.*fields[i].richText, typed.isEmpty() ? QString() : side);
        if (typed.isEmpty())
            continue;
        rich::RichDocument doc;
        QVERIFY2(rich::readRtfFile(side, doc), qPrintable(side));
        QCOMPARE(doc.plainLines(), typed);
    }

    // The font command's changes are in the side files.
    rich::RichDocument instructions;
    QVERIFY(rich::readRtfFile(path + QStringLiteral(".003"), instructions));
    const int simmer = instructions.lineStart(1);
    QCOMPARE(describe(instructions.formatAt(simmer)), describe(rich::fromQFont(chosenFont())));
    QCOMPARE(instructions.formatAt(simmer + 6).fontName, QStringLiteral("Arial"));
    QCOMPARE(instructions.formatAt(0).fontName, QStringLiteral("Arial"));
}

void EditorSaveTest::shortcutSavesFromAnEditBox_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("focus");
    QTest::newRow("Ctrl+S in a rich edit") << Qt::Key_S << QStringLiteral("Name1");
    QTest::newRow("Ctrl+S in an edit box") << Qt::Key_S << QStringLiteral("Bemerkung");
    QTest::newRow("Ctrl+A in a rich edit") << Qt::Key_A << QStringLiteral("Name1");
    QTest::newRow("Ctrl+A in an edit box") << Qt::Key_A << QStringLiteral("Bemerkung");
}

void EditorSaveTest::shortcutSavesFromAnEditBox()
{
    QFETCH(Qt::Key, key);
    QFETCH(QString, focus);
    enterRecipe(QStringLiteral("Leek soup"));
    if (QTest::currentTestFailed())
        return;
    auto* target = editor()->findChild<QWidget*>(focus);
    QVERIFY(target);
    target->setFocus(Qt::MouseFocusReason);

    QTest::keyClick(target, key, Qt::ControlModifier);
    QCOMPARE(m_asked, QList<int>{5});
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(currentRecord().FileName, QStringLiteral("Leek soup.vrez"));
    checkSavedRecipe(QStringLiteral("Leek soup.vrez"));
    // The edit did not take the key: nothing typed, nothing selected.
    QCOMPARE(QApplication::focusWidget(), target);
    if (auto* line = qobject_cast<QLineEdit*>(target)) {
        QCOMPARE(line->text(), QStringLiteral("Quick"));
        QVERIFY(!line->hasSelectedText());
    } else {
        auto* rich = qobject_cast<QTextEdit*>(target);
        QCOMPARE(linesOf(rich), kTyped[IngredientNames]);
        QVERIFY(!rich->textCursor().hasSelection());
    }
}

void EditorSaveTest::reopenedShowsTheSameAndSavesTheSameBytes()
{
    enterRecipe(QStringLiteral("Leek soup"));
    if (QTest::currentTestFailed())
        return;
    // The deluxe columns in one font, so that every text has formats of its own.
    editor()->Name1->setFocus(Qt::MouseFocusReason);
    m_fontAnswer = chosenFont();
    editor()->ZeichensatzClick();
    QTest::keyClick(editor()->Name1, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_asked, QList<int>{5});

    QList<QStringList> shown;
    for (const QTextEdit* edit : editor()->richEdits())
        shown << describe(documentOf(edit));
    const QMap<QString, QByteArray> saved = folderContent();
    QCOMPARE(saved.size(), 1 + 5 + 2); // the recipe, its five side files, Goulash's two

    m_answers = {kAnswerNo};     // saved already
    QVERIFY(!editor()->close()); // only hidden
    QVERIFY(!editor()->isVisible());
    QCOMPARE(m_closed, 1);
    QVERIFY(mainWindow()->isVisible());
    const int row = int(captions(mainWindow()).indexOf(QStringLiteral("Leek soup")));
    QVERIFY(row > 0);
    mainWindow()->selectRow(row);
    QTest::keyClick(mainWindow()->recipeList(), Qt::Key_Return);
    QVERIFY(QTest::qWaitForWindowActive(editor()));

    QCOMPARE(editor()->RecipeName->text(), QStringLiteral("Leek soup"));
    QCOMPARE(editor()->Ordner->text(), QStringLiteral("Green binder"));
    QCOMPARE(editor()->ERezeptkategorien->text(), QStringLiteral("Soups,"));
    QCOMPARE(editor()->CBKochlevel->currentIndex(), 2);
    QVERIFY(editor()->Menge1->isVisible());
    for (qsizetype i = 0; i < shown.size(); ++i)
        QCOMPARE(describe(documentOf(editor()->richEdits().at(i))), shown.at(i));

    m_asked.clear();
    QTest::keyClick(editor()->RecipeName, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_asked, QList<int>{5});
    const QMap<QString, QByteArray> again = folderContent();
    QCOMPARE(again.keys(), saved.keys());
    for (auto it = saved.cbegin(); it != saved.cend(); ++it)
        QVERIFY2(again.value(it.key()) == it.value(), qPrintable(it.key()));
}

void EditorSaveTest::saveAsOntoAnExistingName_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("overwrite") << kAnswerYes;
    QTest::newRow("keep the file") << kAnswerNo;
}

void EditorSaveTest::saveAsOntoAnExistingName()
{
    QFETCH(int, answer);
    const QMap<QString, QByteArray> before = folderContent();
    typeInto(editor()->RecipeName, QStringLiteral("Goulash"));
    typeLines(editor()->Rezepttext, {QStringLiteral("Brown the meat.")});
    m_answers = {answer};

    QTest::keyClick(editor()->Rezepttext, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(m_errors.isEmpty());
    const QString path = recipePath(QStringLiteral("Goulash.vrez"));
    if (answer == kAnswerYes) {
        QCOMPARE(m_asked, (QList<int>{19, 5}));
        QCOMPARE(currentRecord().FilePath, path);
        TKVG read;
        QVERIFY(
            parseRecipeFile(folderContent().value(QStringLiteral("Goulash.vrez")), read, nullptr));
        QCOMPARE(read.Instructions, TSTRING{"Brown the meat."});
        QVERIFY(read.Ingredients.isEmpty());
        // The old recipe's ingredients file went with it.
        QCOMPARE(folderContent().keys(),
                 (QStringList{QStringLiteral("Goulash.vrez"), QStringLiteral("Goulash.vrez.003")}));
    } else {
        QCOMPARE(m_asked, QList<int>{19});
        QCOMPARE(folderContent(), before);
        QVERIFY(currentRecord().FileName.isEmpty());
        QCOMPARE(QApplication::focusWidget(), editor()->RecipeName);
        QCOMPARE(linesOf(editor()->Rezepttext), QStringList{QStringLiteral("Brown the meat.")});
    }
}

void EditorSaveTest::emptyNameAsksForOne_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::newRow("save") << Qt::Key_S;
    QTest::newRow("save as") << Qt::Key_A;
}

void EditorSaveTest::emptyNameAsksForOne()
{
    QFETCH(Qt::Key, key);
    const QMap<QString, QByteArray> before = folderContent();
    typeInto(editor()->RecipeName, QStringLiteral("Soup"));
    typeLines(editor()->Rezepttext, {QStringLiteral("Boil.")});
    editor()->RecipeName->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(editor()->RecipeName, Qt::Key_End);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(editor()->RecipeName, Qt::Key_Backspace);
    QVERIFY(editor()->RecipeName->text().isEmpty());

    QTest::keyClick(editor()->RecipeName, key, Qt::ControlModifier);
    QCOMPARE(m_asked, QList<int>{1});
    QCOMPARE(folderContent(), before);
    QVERIFY(currentRecord().FileName.isEmpty());
    QCOMPARE(QApplication::focusWidget(), editor()->RecipeName);
    QCOMPARE(linesOf(editor()->Rezepttext), QStringList{QStringLiteral("Boil.")});
}

void EditorSaveTest::missingPictureIsNotSaved_data()
{
    QTest::addColumn<bool>("pictureThere");
    QTest::newRow("picture there") << true;
    QTest::newRow("picture gone") << false;
}

void EditorSaveTest::missingPictureIsNotSaved()
{
    QFETCH(bool, pictureThere);
    const QString goulash = recipePath(QStringLiteral("Goulash.vrez"));
    TKVG record;
    QVERIFY(parseRecipeFile(fileBytes(goulash), record, nullptr));
    const QString picture = m_dir->filePath(QStringLiteral("dish.png"));
    record.PictureFile = picture;
    putFile(goulash, recipeFileBytes(record));
    if (pictureThere) {
        QImage image(20, 10, QImage::Format_RGB32);
        image.fill(Qt::darkRed);
        QVERIFY(image.save(picture));
    }
    editor()->close(); // the new recipe has no name: nothing asked, the list is read again
    const int row = int(captions(mainWindow()).indexOf(QStringLiteral("Goulash")));
    QVERIFY(row > 0);
    mainWindow()->selectRow(row);
    QTest::keyClick(mainWindow()->recipeList(), Qt::Key_Return);
    QVERIFY(QTest::qWaitForWindowActive(editor()));

    QTest::keyClick(editor()->RecipeName, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_asked, QList<int>{5});
    QVERIFY(parseRecipeFile(fileBytes(goulash), record, nullptr));
    QCOMPARE(record.PictureFile, pictureThere ? picture : QString());
}

void EditorSaveTest::failedSaveKeepsTheForm_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("folder vanished") << false;
    QTest::newRow("folder read-only") << true;
}

void EditorSaveTest::failedSaveKeepsTheForm()
{
    QFETCH(bool, readOnly);
    if (readOnly && isRoot())
        QSKIP("root writes into read-only folders");
    typeInto(editor()->RecipeName, QStringLiteral("Soup"));
    typeLines(editor()->Rezepttext, {QStringLiteral("Boil."), QStringLiteral("Serve.")});
    typeLines(editor()->MBemerkungstext, {QStringLiteral("Easy")});
    const RecipeForm before = editor()->currentForm();
    QMap<QString, QByteArray> files;
    if (readOnly) {
        files = folderContent();
        QVERIFY(QFile::setPermissions(m_recipes, QFile::ReadOwner | QFile::ExeOwner));
    } else {
        QVERIFY(QDir(m_recipes).removeRecursively());
    }

    editor()->Rezepttext->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(editor()->Rezepttext, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().contains(QLatin1String("Soup.vrez")), qPrintable(m_errors.first()));
    QVERIFY(m_asked.isEmpty());
    QVERIFY(currentRecord().FileName.isEmpty());
    QCOMPARE(folderContent(), files);
    const RecipeForm after = editor()->currentForm();
    QCOMPARE(after.name, before.name);
    for (size_t i = 0; i < before.texts.size(); ++i)
        QCOMPARE(describe(after.texts[i]), describe(before.texts[i]));
    QCOMPARE(QApplication::focusWidget(), editor()->Rezepttext);

    // Closing with "Save the recipe?" answered yes: the save fails again and the
    // editor stays open with its content.
    m_answers = {kAnswerYes};
    editor()->close();
    QCOMPARE(m_asked, QList<int>{18});
    QCOMPARE(m_errors.size(), 2);
    QVERIFY(editor()->isVisible());
    QVERIFY(!mainWindow()->isVisible());
    QCOMPARE(m_closed, 0);
    QCOMPARE(linesOf(editor()->Rezepttext),
             (QStringList{QStringLiteral("Boil."), QStringLiteral("Serve.")}));
}

void EditorSaveTest::closingAsksToSave_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QList<int>>("asked");
    QTest::addColumn<bool>("saved");
    QTest::newRow("save") << QStringLiteral("Soup") << kAnswerYes << QList<int>{18, 5} << true;
    QTest::newRow("discard") << QStringLiteral("Soup") << kAnswerNo << QList<int>{18} << false;
    QTest::newRow("no name, no question") << QString() << kAnswerYes << QList<int>{} << false;
}

void EditorSaveTest::closingAsksToSave()
{
    QFETCH(QString, name);
    QFETCH(int, answer);
    QFETCH(QList<int>, asked);
    QFETCH(bool, saved);
    typeInto(editor()->RecipeName, name);
    if (!name.isEmpty())
        typeLines(editor()->Rezepttext, {QStringLiteral("Boil.")});
    m_answers = {answer};

    editor()->close();
    QCOMPARE(m_asked, asked);
    QVERIFY(m_errors.isEmpty());
    QVERIFY(!editor()->isVisible());
    QCOMPARE(m_closed, 1);
    QVERIFY(mainWindow()->isVisible());
    QCOMPARE(QFile::exists(recipePath(QStringLiteral("Soup.vrez"))), saved);
    QCOMPARE(QFile::exists(recipePath(QStringLiteral("Soup.vrez.003"))), saved);
    QCOMPARE(captions(mainWindow()).contains(QStringLiteral("Soup")), saved);
}

void EditorSaveTest::printSavesOnlyWhenConfirmed_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QList<int>>("asked");
    QTest::addColumn<bool>("folderGone"); // the save fails: nothing to print
    QTest::newRow("OK") << kAnswerYes << QList<int>{24, 5} << false;
    QTest::newRow("Cancel") << kAnswerNo << QList<int>{24} << false;
    QTest::newRow("OK, save fails") << kAnswerYes << QList<int>{24} << true;
}

void EditorSaveTest::printSavesOnlyWhenConfirmed()
{
    QFETCH(int, answer);
    QFETCH(QList<int>, asked);
    QFETCH(bool, folderGone);
    if (folderGone)
        QVERIFY(QDir(m_recipes).removeRecursively());
    const QMap<QString, QByteArray> before = folderContent();
    typeInto(editor()->RecipeName, QStringLiteral("Soup"));
    typeLines(editor()->Rezepttext, {QStringLiteral("Boil.")});
    m_answers = {answer};

    QTest::keyClick(editor()->Rezepttext, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(m_asked, asked);
    QCOMPARE(m_errors.size(), folderGone ? 1 : 0);
    const bool saved = answer == kAnswerYes && !folderGone;
    QCOMPARE(QFile::exists(recipePath(QStringLiteral("Soup.vrez"))), saved);
    if (!saved)
        QCOMPARE(folderContent(), before);
    QCOMPARE(m_previews, saved ? 1 : 0);
    QVERIFY(editor()->isVisible());
    QCOMPARE(m_closed, 0);
    QCOMPARE(linesOf(editor()->Rezepttext), QStringList{QStringLiteral("Boil.")});
    QVERIFY(QTest::qWaitForWindowActive(editor()));
    QCOMPARE(QApplication::focusWidget(), editor()->Rezepttext);
}

namespace {

// What another writer (a second copy of the program, a sync folder) does to Goulash's
// files while the editor has it open.
enum class Outside {
    RecipeChanged,
    SideChanged,
    SideAppeared,
    SameBytes,
    Deleted,
    DeletedAndRetaken
};
// How the user saves.
enum class Saving { Save, SaveAs, Close };
// Where the editor's text ends up.
enum class Outcome { OwnFile, Copy, Nowhere };

} // namespace

void EditorSaveTest::changedOutsideIsAskedAbout_data()
{
    QTest::addColumn<Outside>("outside");
    QTest::addColumn<Saving>("saving");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QList<int>>("asked");
    QTest::addColumn<Outcome>("outcome");
    QTest::newRow("recipe changed, save anyway")
        << Outside::RecipeChanged << Saving::Save << QList<int>{kAnswerSaveAnyway}
        << QList<int>{27, 5} << Outcome::OwnFile;
    QTest::newRow("recipe changed, save as a copy")
        << Outside::RecipeChanged << Saving::Save << QList<int>{kAnswerSaveCopy}
        << QList<int>{27, 5} << Outcome::Copy;
    QTest::newRow("recipe changed, cancel on closing")
        << Outside::RecipeChanged << Saving::Close << QList<int>{kAnswerYes, kAnswerCancel}
        << QList<int>{18, 27} << Outcome::Nowhere;
    QTest::newRow("recipe changed, question closed")
        << Outside::RecipeChanged << Saving::Save << QList<int>{kAnswerClosed} << QList<int>{27}
        << Outcome::Nowhere;
    QTest::newRow("recipe changed, save as onto itself")
        << Outside::RecipeChanged << Saving::SaveAs << QList<int>{kAnswerYes, kAnswerCancel}
        << QList<int>{19, 27} << Outcome::Nowhere;
    QTest::newRow("side file changed, save as a copy")
        << Outside::SideChanged << Saving::Save << QList<int>{kAnswerSaveCopy} << QList<int>{27, 5}
        << Outcome::Copy;
    QTest::newRow("side file appeared, save anyway")
        << Outside::SideAppeared << Saving::Save << QList<int>{kAnswerSaveAnyway}
        << QList<int>{27, 5} << Outcome::OwnFile;
    QTest::newRow("same bytes written again")
        << Outside::SameBytes << Saving::Save << QList<int>{} << QList<int>{5} << Outcome::OwnFile;
    QTest::newRow("deleted, saved again")
        << Outside::Deleted << Saving::Save << QList<int>{kAnswerYes} << QList<int>{28, 5}
        << Outcome::OwnFile;
    QTest::newRow("deleted, not saved") << Outside::Deleted << Saving::Save << QList<int>{kAnswerNo}
                                        << QList<int>{28} << Outcome::Nowhere;
    QTest::newRow("deleted, name taken while asked")
        << Outside::DeletedAndRetaken << Saving::Save << QList<int>{kAnswerYes} << QList<int>{28, 5}
        << Outcome::Copy;
}

void EditorSaveTest::changedOutsideIsAskedAbout()
{
    QFETCH(Outside, outside);
    QFETCH(Saving, saving);
    QFETCH(QList<int>, answers);
    QFETCH(QList<int>, asked);
    QFETCH(Outcome, outcome);
    const QString goulash = recipePath(QStringLiteral("Goulash.vrez"));
    const QString ingredients = goulash + QStringLiteral(".002");
    const QString instructions = goulash + QStringLiteral(".003");
    editor()->close(); // the new recipe has no name: nothing asked, the list is read again
    mainWindow()->selectRow(int(captions(mainWindow()).indexOf(QStringLiteral("Goulash"))));
    QTest::keyClick(mainWindow()->recipeList(), Qt::Key_Return);
    QVERIFY(QTest::qWaitForWindowActive(editor()));
    QCOMPARE(linesOf(editor()->Zutatenliste), QStringList{QStringLiteral("beef")});
    typeLines(editor()->Rezepttext, {QStringLiteral("Brown the meat.")});

    TKVG theirs;
    QVERIFY(parseRecipeFile(fileBytes(goulash), theirs, nullptr));
    theirs.Remark = "changed in the other copy";
    rich::RichDocument pork;
    pork.appendLine(QStringLiteral("pork"));
    switch (outside) {
    case Outside::RecipeChanged: {
        // Written by a second process, as a second copy of the program would.
        const QString staged = m_dir->path() + QStringLiteral("/theirs");
        putFile(staged, recipeFileBytes(theirs));
        QCOMPARE(QProcess::execute(QStringLiteral("cp"), {staged, goulash}), 0);
        break;
    }
    case Outside::SideChanged:
        putFile(ingredients, rich::writeRtf(pork));
        break;
    case Outside::SideAppeared:
        putFile(instructions, rich::writeRtf(pork));
        break;
    case Outside::SameBytes: {
        putFile(goulash, fileBytes(goulash));
        QFile file(goulash);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                 QFileDevice::FileModificationTime));
        break;
    }
    case Outside::Deleted:
    case Outside::DeletedAndRetaken:
        QVERIFY(QFile::remove(goulash) && QFile::remove(ingredients));
        break;
    }
    if (outside == Outside::DeletedAndRetaken) {
        m_onAsked = [&](int) { putFile(goulash, recipeFileBytes(theirs)); };
    }
    m_answers = answers;
    const QMap<QString, QByteArray> before = folderContent();

    switch (saving) {
    case Saving::Save:
        QTest::keyClick(editor()->Rezepttext, Qt::Key_S, Qt::ControlModifier);
        break;
    case Saving::SaveAs:
        QTest::keyClick(editor()->Rezepttext, Qt::Key_A, Qt::ControlModifier);
        break;
    case Saving::Close:
        editor()->close();
        break;
    }
    m_onAsked = nullptr;
    QCOMPARE(m_asked, asked);
    // Each question with its heading and buttons: the three answers for a change, yes and
    // no for a deletion.
    const QMap<int, QList<int>> shown{
        {5, {5, 1, 0}}, {18, {18, 2, 4}}, {19, {19, 2, 4}}, {27, {27, 2, 3}}, {28, {28, 2, 4}}};
    for (const QList<int>& question : std::as_const(m_questions))
        QCOMPARE(question, shown.value(question.first()));
    QVERIFY(m_errors.isEmpty());
    QVERIFY(editor()->isVisible());
    QCOMPARE(linesOf(editor()->Rezepttext), QStringList{QStringLiteral("Brown the meat.")});
    if (outcome == Outcome::Nowhere) {
        QCOMPARE(folderContent(), before);
        return;
    }

    // The file the editor's text went to, and the other writer's files beside it.
    QString saved = goulash;
    if (outcome == Outcome::Copy) {
        const QStringList copies =
            QDir(m_recipes).entryList({QStringLiteral("Goulash_*.vrez")}, QDir::Files);
        QCOMPARE(copies.size(), 1);
        saved = recipePath(copies.first());
        const QMap<QString, QByteArray> after = folderContent();
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
        if (outside == Outside::DeletedAndRetaken)
            QCOMPARE(fileBytes(goulash), recipeFileBytes(theirs));
    }
    const QString name = QFileInfo(saved).completeBaseName();
    TKVG ours;
    QVERIFY(parseRecipeFile(fileBytes(saved), ours, nullptr));
    QCOMPARE(ours.Name, name.toLatin1());
    QCOMPARE(editor()->RecipeName->text(), name);
    QVERIFY(ours.Remark.isEmpty());
    QCOMPARE(ours.Instructions, TSTRING{"Brown the meat."});
    rich::RichDocument doc;
    QVERIFY(rich::readRtfFile(saved + QStringLiteral(".002"), doc));
    QCOMPARE(doc.plainLines(), QStringList{QStringLiteral("beef")});
    QVERIFY(rich::readRtfFile(saved + QStringLiteral(".003"), doc));
    QCOMPARE(doc.plainLines(), QStringList{QStringLiteral("Brown the meat.")});

    // What was saved is what the editor knows now: saving again asks nothing.
    m_asked.clear();
    QTest::keyClick(editor()->Rezepttext, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_asked, QList<int>{5});
}

// Rich-text popup -------------------------------------------------------------------------

void EditorSaveTest::popupItems_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("selection");
    QTest::addColumn<QList<bool>>("enabled"); // Select font, Insert, Cut, Copy
    QTest::newRow("nothing") << QString() << false << QList<bool>{true, false, false, false};
    QTest::newRow("clipboard text")
        << QStringLiteral("salt") << false << QList<bool>{true, true, false, false};
    QTest::newRow("selection") << QString() << true << QList<bool>{true, false, true, true};
    QTest::newRow("both") << QStringLiteral("salt") << true << QList<bool>{true, true, true, true};
}

void EditorSaveTest::popupItems()
{
    QFETCH(QString, clipboard);
    QFETCH(bool, selection);
    QFETCH(QList<bool>, enabled);
    TFKVE* e = editor();
    typeInto(e->RecipeName, QStringLiteral("Soup"));
    typeLines(e->Rezepttext, {QStringLiteral("Chop onions")});
    // A selection in another edit does not count.
    typeLines(e->MBemerkungstext, {QStringLiteral("Spicy")});
    selectWord(e->MBemerkungstext, QStringLiteral("Spicy"));
    if (!clipboard.isEmpty())
        QGuiApplication::clipboard()->setText(clipboard);
    e->Rezepttext->setFocus(Qt::MouseFocusReason);
    if (selection)
        selectWord(e->Rezepttext, QStringLiteral("onions"));

    e->PMREPopup();
    QCOMPARE((QList<bool>{e->Zeichensatz->isEnabled(), e->Einfuegen->isEnabled(),
                          e->Ausschneiden->isEnabled(), e->Kopieren->isEnabled()}),
             enabled);
}

void EditorSaveTest::clipboardCommandsUseTheFocusedEdit()
{
    TFKVE* e = editor();
    typeInto(e->RecipeName, QStringLiteral("Soup"));
    typeLines(e->Rezepttext, {QStringLiteral("Chop onions")});
    typeLines(e->MBemerkungstext, {QStringLiteral("Spicy")});
    selectWord(e->MBemerkungstext, QStringLiteral("Spicy"));
    e->Rezepttext->setFocus(Qt::MouseFocusReason);
    selectWord(e->Rezepttext, QStringLiteral("onions"));

    e->PMREPopup();
    e->Kopieren->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("onions"));
    QCOMPARE(e->Rezepttext->toPlainText(), QStringLiteral("Chop onions"));

    QGuiApplication::clipboard()->clear();
    e->PMREPopup();
    e->Ausschneiden->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("onions"));
    QCOMPARE(e->Rezepttext->toPlainText(), QStringLiteral("Chop "));
    QCOMPARE(e->MBemerkungstext->toPlainText(), QStringLiteral("Spicy"));

    e->MBemerkungstext->setFocus(Qt::MouseFocusReason);
    e->MBemerkungstext->moveCursor(QTextCursor::End);
    e->PMREPopup();
    QVERIFY(e->Einfuegen->isEnabled());
    e->Einfuegen->trigger();
    QCOMPARE(e->MBemerkungstext->toPlainText(), QStringLiteral("Spicyonions"));
    QCOMPARE(e->Rezepttext->toPlainText(), QStringLiteral("Chop "));
}

void EditorSaveTest::fontIntoDeluxeColumns()
{
    TFKVE* e = editor();
    typeInto(e->RecipeName, QStringLiteral("Tart"));
    switchToDeluxe();
    typeLines(e->Menge1, {QStringLiteral("200"), QStringLiteral("1")});
    typeLines(e->Einheit1, {QStringLiteral("g"), QStringLiteral("l")});
    typeLines(e->Name1, {QStringLiteral("flour"), QStringLiteral("milk")});
    typeLines(e->Beschreibung1, {QStringLiteral("sifted")});
    // Units bold and italic, the others plain.
    QTextCursor units(e->Einheit1->document());
    units.select(QTextCursor::Document);
    QTextCharFormat boldItalic;
    boldItalic.setFontWeight(QFont::Bold);
    boldItalic.setFontItalic(true);
    units.mergeCharFormat(boldItalic);
    e->Menge1->setFocus(Qt::MouseFocusReason);
    e->Menge1->moveCursor(QTextCursor::End);
    const QStringList description = describe(documentOf(e->Rezepttext));

    m_fontAnswer = chosenFont();
    e->ZeichensatzClick();
    QCOMPARE(m_fontAsked.size(), 1);
    const QList<std::pair<QTextEdit*, quint8>> expected{{e->Menge1, rich::Bold},
                                                        {e->Einheit1, rich::Bold | rich::Italic},
                                                        {e->Name1, 0},
                                                        {e->Beschreibung1, 0}};
    for (const auto& [column, style] : expected) {
        const QList<rich::CharFormat> formats = characterFormats(column);
        QVERIFY(!formats.isEmpty());
        for (const rich::CharFormat& f : formats) {
            QCOMPARE(f.fontName, QStringLiteral("Courier New"));
            QCOMPARE(f.halfPoints, 28);
            QCOMPARE(int(f.style), int(style));
        }
    }
    QCOMPARE(describe(documentOf(e->Rezepttext)), description);
}

void EditorSaveTest::fontIntoSelectedWord()
{
    TFKVE* e = editor();
    typeInto(e->RecipeName, QStringLiteral("Soup"));
    typeLines(e->Rezepttext, {QStringLiteral("Wash the leeks."), QStringLiteral("Simmer gently.")});
    typeLines(e->MBemerkungstext, {QStringLiteral("Mild")});
    selectWord(e->Rezepttext, QStringLiteral("leeks"));
    QList<QStringList> others;
    for (const QTextEdit* rich : e->richEdits())
        others << (rich == e->Rezepttext ? QStringList() : describe(documentOf(rich)));
    QList<rich::CharFormat> expected = characterFormats(e->Rezepttext);
    const int word = int(e->Rezepttext->toPlainText().indexOf(QLatin1String("leeks")));
    const rich::CharFormat chosen = rich::fromQFont(chosenFont(), expected.at(word));
    for (int i = word; i < word + 5; ++i)
        expected[i] = chosen;

    m_fontAnswer = chosenFont();
    e->ZeichensatzClick();
    QCOMPARE(m_fontAsked.size(), 1);
    QCOMPARE(m_fontAsked.first().family(), rich::dialogFontFamily(QStringLiteral("Arial")));
    QCOMPARE(m_fontAsked.first().pointSize(), 10);
    const QList<rich::CharFormat> formats = characterFormats(e->Rezepttext);
    QCOMPARE(formats.size(), expected.size());
    for (qsizetype i = 0; i < formats.size(); ++i)
        QCOMPARE(describe(formats.at(i)), describe(expected.at(i)));
    for (qsizetype i = 0; i < others.size(); ++i) {
        if (e->richEdits().at(i) != e->Rezepttext)
            QCOMPARE(describe(documentOf(e->richEdits().at(i))), others.at(i));
    }
    QCOMPARE(QApplication::focusWidget(), e->Rezepttext);
}

void EditorSaveTest::cancelledFontChangesNothing_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("selected"); // empty: the caret at the end
    QTest::newRow("column, nothing selected") << QStringLiteral("Menge1") << QString();
    QTest::newRow("column, a word selected") << QStringLiteral("Name1") << QStringLiteral("milk");
    QTest::newRow("instructions, a word selected")
        << QStringLiteral("Rezepttext") << QStringLiteral("gently");
}

void EditorSaveTest::cancelledFontChangesNothing()
{
    QFETCH(QString, edit);
    QFETCH(QString, selected);
    TFKVE* e = editor();
    typeInto(e->RecipeName, QStringLiteral("Soup"));
    typeLines(e->Rezepttext, {QStringLiteral("Simmer gently.")});
    switchToDeluxe();
    typeLines(e->Menge1, {QStringLiteral("200")});
    typeLines(e->Name1, {QStringLiteral("flour"), QStringLiteral("milk")});
    auto* target = e->findChild<QTextEdit*>(edit);
    QVERIFY(target);
    if (!target->isVisible())
        e->IRezeptnameClick();
    target->setFocus(Qt::MouseFocusReason);
    if (selected.isEmpty())
        target->moveCursor(QTextCursor::End);
    else
        selectWord(target, selected);
    QList<QStringList> before;
    for (const QTextEdit* rich : e->richEdits())
        before << describe(documentOf(rich));
    const QTextCursor cursor = target->textCursor();

    e->ZeichensatzClick(); // the hook answers "cancelled"
    QCOMPARE(m_fontAsked.size(), 1);
    for (qsizetype i = 0; i < before.size(); ++i)
        QCOMPARE(describe(documentOf(e->richEdits().at(i))), before.at(i));
    QCOMPARE(target->textCursor().anchor(), cursor.anchor());
    QCOMPARE(target->textCursor().position(), cursor.position());
    QCOMPARE(QApplication::focusWidget(), target);
}

void EditorSaveTest::fontLeftAsTheDialogStartsChangesNoByte_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("halfPoints");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("pitch");
    const int variable = int(rich::Pitch::Variable);
    const int fixed = int(rich::Pitch::Fixed);
    QTest::newRow("Arial 9.5 pt") << QStringLiteral("Arial") << 19 << 0 << variable;
    QTest::newRow("Verdana") << QStringLiteral("Verdana") << 16 << 0 << variable;
    QTest::newRow("MS Sans Serif bold")
        << QStringLiteral("MS Sans Serif") << 17 << int(rich::Bold) << 0;
    QTest::newRow("Courier New italic")
        << QStringLiteral("Courier New") << 20 << int(rich::Italic) << fixed;
    QTest::newRow("Times New Roman") << QStringLiteral("Times New Roman") << 24 << 0 << variable;
}

void EditorSaveTest::fontLeftAsTheDialogStartsChangesNoByte()
{
    QFETCH(QString, face);
    QFETCH(int, halfPoints);
    QFETCH(int, style);
    QFETCH(int, pitch);
    TFKVE* e = editor();
    typeInto(e->RecipeName, QStringLiteral("Soup"));
    rich::CharFormat format;
    format.fontName = face;
    format.halfPoints = halfPoints;
    format.heightPx = rich::heightForHalfPoints(halfPoints);
    format.style = quint8(style);
    format.pitch = rich::Pitch(pitch);
    rich::RichDocument doc;
    doc.appendLine(QStringLiteral("Wash the leeks."), doc.intern(format));
    rich::toTextDocument(doc, e->Rezepttext->document());
    e->Rezepttext->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(e->Rezepttext, Qt::Key_S, Qt::ControlModifier);
    const QString side = recipePath(QStringLiteral("Soup.vrez.003"));
    const QByteArray saved = fileBytes(side);
    QVERIFY(saved.contains(face.toLatin1()));

    e->Rezepttext->selectAll();
    SetFontDialogHook([this](const QFont& initial) {
        m_fontAsked << initial;
        return std::optional<QFont>(initial); // OK without a change
    });
    e->ZeichensatzClick();
    // The dialog starts on the family the text shows in, which it lists.
    QCOMPARE(m_fontAsked.size(), 1);
    QCOMPARE(m_fontAsked.first().family(), QFontInfo(rich::toQFont(format)).family());
    QTest::keyClick(e->Rezepttext, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_asked, (QList<int>{5, 5}));
    QCOMPARE(fileBytes(side), saved);
}

// Enter in the description column -----------------------------------------------------------

void EditorSaveTest::enterInDescriptionsMirrorsTheLine_data()
{
    // Columns: Menge1, Einheit1, Name1, Beschreibung1; the caret goes to the end (or
    // the start) of the description's line caretRow.
    QTest::addColumn<QList<QStringList>>("columns");
    QTest::addColumn<int>("caretRow");
    QTest::addColumn<bool>("atStart");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QList<QStringList>>("expected");
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const QString a = QStringLiteral("a"), b = QStringLiteral("b"), c = QStringLiteral("c");
    const QString one = QStringLiteral("1"), two = QStringLiteral("2"), g = QStringLiteral("g");
    const QString e;
    QTest::newRow("last line, columns as long or shorter")
        << QList<QStringList>{{one, two}, {g}, {}, {a, b}} << 1 << false << none << kAnswerYes
        << QList<QStringList>{{one, two, e}, {g, e}, {e, e}, {a, b, e}};
    QTest::newRow("middle line") << QList<QStringList>{{one, two}, {g, g}, {a, b}, {a, b, c}} << 0
                                 << false << none << kAnswerYes
                                 << QList<QStringList>{
                                        {one, e, two}, {g, e, g}, {a, e, b}, {a, e, b, c}};
    QTest::newRow("last line, a longer column")
        << QList<QStringList>{{one, two, one}, {g}, {a}, {a}} << 0 << false << none << kAnswerYes
        << QList<QStringList>{{one, e, two, one}, {g, e}, {a, e}, {a, e}};
    QTest::newRow("answered no") << QList<QStringList>{{one, two}, {g}, {a}, {a, b}} << 1
                                 << false << none << kAnswerNo
                                 << QList<QStringList>{{one, two}, {g}, {a}, {a, b, e}};
    // Enter at the start of a line pushes the whole row down in every column.
    QTest::newRow("start of a line")
        << QList<QStringList>{{one, two}, {g, g}, {a, b}, {b, c}} << 1 << true << none << kAnswerYes
        << QList<QStringList>{{one, e, two}, {g, e, g}, {a, e, b}, {b, e, c}};
    // Shift+Enter makes a real line too, so the rows stay together once saved.
    QTest::newRow("shift+enter")
        << QList<QStringList>{{one, two}, {g, g}, {a, b}, {b, c}} << 0 << false
        << Qt::KeyboardModifiers(Qt::ShiftModifier) << kAnswerYes
        << QList<QStringList>{{one, e, two}, {g, e, g}, {a, e, b}, {b, e, c}};
}

void EditorSaveTest::enterInDescriptionsMirrorsTheLine()
{
    QFETCH(QList<QStringList>, columns);
    QFETCH(int, caretRow);
    QFETCH(bool, atStart);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, answer);
    QFETCH(QList<QStringList>, expected);
    TFKVE* e = editor();
    typeInto(e->RecipeName, QStringLiteral("Tart"));
    switchToDeluxe();
    const QList<QTextEdit*> order{e->Menge1, e->Einheit1, e->Name1, e->Beschreibung1};
    for (qsizetype i = 0; i < order.size(); ++i)
        setLines(order.at(i), columns.at(i));
    e->Beschreibung1->setFocus(Qt::MouseFocusReason);
    QTextCursor caret(e->Beschreibung1->document()->findBlockByNumber(caretRow));
    if (!atStart)
        caret.movePosition(QTextCursor::EndOfBlock);
    e->Beschreibung1->setTextCursor(caret);
    m_answers = {answer};

    QTest::keyClick(e->Beschreibung1, Qt::Key_Return, modifiers);
    QCOMPARE(e->Beschreibung1->document()->blockCount(), expected.last().size());
    QCOMPARE(m_asked, QList<int>{7});
    for (qsizetype i = 0; i < order.size(); ++i)
        QCOMPARE(linesOf(order.at(i)), expected.at(i));
    // The caret is on the new line, ready for typing.
    QCOMPARE(e->Beschreibung1->textCursor().blockNumber(), caretRow + 1);
    QCOMPARE(QApplication::focusWidget(), e->Beschreibung1);
}

QTEST_MAIN(EditorSaveTest)
#include "tst_editorsave.moc"

// SPDX-License-Identifier: GPL-2.0-or-later

#include "tests/preview/previewfixture.h"
#include "tests/testfiles.h"

#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/interfacetexts.h"
#include "common/session.h"
#include "drafts/draftfile.h"
#include "preview/F_PDraftL.h"
#include "preview/F_PDraftS.h"
#include "preview/F_PrintS.h"
#include "preview/F_Vor.h"
#include "preview/elementimage.h"
#include "preview/openpreview.h"
#include "preview/printers.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

// The draft windows and the print format window over an open preview. Questions are
// answered through the message hook, the save dialog, the printer set-up and the
// print format window's wait through their hooks.
class DraftWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void saveUnderName();
    void makeStandardTwice();
    void savingFromSecondPageShowsFirst();
    void textsReachEveryControl();
    void deluxeSavesIntoDeluxeFolder();
    void standardDraftAppliedOnOpen();
    void loadDraftOfOtherFormat();
    void deleteLastListedDraft();
    void formatWindowSampleAndCancel();
    void formatWindowAssign();
    void draftWindowsNeverOutliveThePreview();

private:
    TKVG recipe(int kind) const;
    void open(int kind, const std::function<void(TFVor&)>& during);
    QString folder(int kind) const
    {
        return m_fx.base + (kind ? QStringLiteral("PRGDATA/drafts/deluxe/")
                                 : QStringLiteral("PRGDATA/drafts/normal/"));
    }
    /// Writes a draft with element 7 (the recipe name) at left, top on page 0.
    void putDraft(const QString& path, const QString& name, int kind, int format, bool landscape,
                  int left, int top);
    static void showName(TFVor& preview) { preview.unitItems[kItemName]->trigger(); }

    PreviewFixture m_fx;
};

void DraftWindowsTest::init()
{
    m_fx.unanswered = kAnswerOK;
    m_fx.setUp();
    for (const char* sub : {"PRGDATA/drafts/normal", "PRGDATA/drafts/deluxe", "TEMP"})
        QVERIFY(QDir().mkpath(m_fx.base + QLatin1String(sub)));
}

void DraftWindowsTest::cleanup()
{
    for (QWidget* w : QList<QWidget*>{DraftSaveWindow(), DraftLoadWindow(), PrintFormatWindow()})
        w->hide();
    SetDraftFileDialogHook({});
    SetPageSetupHook({});
    SetPrintFormatShownHook({});
    m_fx.tearDown();
}

TKVG DraftWindowsTest::recipe(int kind) const
{
    TKVG r;
    r.Kind = kind;
    r.FileName = QStringLiteral("Soup.vrez");
    r.FilePath = m_fx.base + QStringLiteral("prepared_recipes/Soup.vrez");
    r.Name = "Tomato soup";
    r.Difficulty = 3;
    r.Comments = {"Serve hot."};
    if (kind == 0) {
        r.Ingredients = {"tomatoes", "onion"};
        r.Instructions = {"Chop the tomatoes.", "Simmer."};
    } else {
        r.Quantities = {"500"};
        r.Units = {"g"};
        r.IngredientNames = {"tomatoes"};
        r.Descriptions = {"chopped"};
    }
    return r;
}

void DraftWindowsTest::open(int kind, const std::function<void(TFVor&)>& during)
{
    m_fx.open(recipe(kind), during);
}

void DraftWindowsTest::putDraft(const QString& path, const QString& name, int kind, int format,
                                bool landscape, int left, int top)
{
    TDruckvorlage d;
    d.DisplayName = name;
    d.LayoutKind = kind;
    d.PaperFormat = format;
    d.Landscape = landscape;
    for (int i = 0; i < kElementCount; ++i)
        d.Placements << TElementPlacement{0, 0, -1};
    d.Placements[kRecipeName] = {left, top, 0};
    putFile(path, draftFileBytes(d));
}

void DraftWindowsTest::saveUnderName()
{
    QString dialogFolder;
    QString proposed;
    SetDraftFileDialogHook([&](const QString& title, const QString& folder, const QString& name) {
        if (title != QLatin1String("Save draft:"))
            return QString();
        dialogFolder = folder;
        proposed = name;
        return QStringLiteral("/somewhere/else/Sunday");
    });
    const QString file = folder(0) + QStringLiteral("Sunday.kvp");
    open(0, [&](TFVor& preview) {
        showName(preview);
        preview.DeselectAll();
        preview.elements()[kRecipeName].Left = 33;
        preview.Formatvorlagespeichern1->trigger();
        TFPDraftS* window = DraftSaveWindow();
        QVERIFY(window->isVisible());
        QVERIFY(!preview.isEnabled());
        QVERIFY(window->IHoch->isVisible());
        QVERIFY(window->IQuer->isHidden());
        QCOMPARE(window->Label1->text(), QStringLiteral("Letter (US)"));
        QCOMPARE(window->Label2->text(), QStringLiteral("8.50 inch x 11.00 inch"));
        window->EDisplayname->clear();
        QTest::keyClicks(window->EDisplayname, QStringLiteral("Sunday"));
        window->MKurzbeschreibung->setPlainText(QStringLiteral("for guests\nhot"));
        QTest::mouseClick(window->BOK, Qt::LeftButton);
        QCOMPARE(m_fx.asked, QList<int>{8});
        QVERIFY(!window->isVisible());
        QVERIFY(preview.isEnabled());
        QCOMPARE(dialogFolder, folder(0));
        QCOMPARE(proposed, QStringLiteral("Sunday.kvp"));

        // The same name again: "Replace existing file?" answered No writes nothing and
        // keeps the window open; Yes replaces the draft.
        const QByteArray first = fileBytes(file);
        preview.elements()[kRecipeName].Left = 44;
        preview.Formatvorlagespeichern1->trigger();
        m_fx.answers = {kAnswerNo};
        window->BOK->click();
        QCOMPARE(m_fx.asked, (QList<int>{8, 15}));
        QVERIFY(window->isVisible());
        QCOMPARE(fileBytes(file), first);
        m_fx.answers = {kAnswerYes};
        window->BOK->click();
        QCOMPARE(m_fx.asked, (QList<int>{8, 15, 15, 8}));
        QVERIFY(!window->isVisible());
    });
    TDruckvorlage read;
    QVERIFY(ReadDraft(file, read));
    QCOMPARE(read.DisplayName, QStringLiteral("Sunday"));
    QCOMPARE(read.DraftComments,
             (QStringList{QStringLiteral("for guests"), QStringLiteral("hot")}));
    QCOMPARE(read.PaperFormat, 2);
    QCOMPARE(read.Placements.size(), kElementCount);
    QCOMPARE(read.Placements.at(kRecipeName).Left, 44);
    QCOMPARE(read.Placements.at(kRecipeName).Page, 0);
    QCOMPARE(read.Placements.at(kShoppingList).Page, -1);
    const QImage thumbnail(file + QStringLiteral(".bmp"), "BMP");
    QCOMPARE(thumbnail.size(), QSize(CurrentDrucker().SheetWidth, CurrentDrucker().SheetHeight));
    QCOMPARE(CurrentDraft().DraftFile, file);
    QVERIFY(m_fx.errors.isEmpty());
}

void DraftWindowsTest::makeStandardTwice()
{
    const QString standard = folder(0) + QStringLiteral("Standard.KVP.E");
    open(0, [&](TFVor& preview) {
        showName(preview);
        preview.DeselectAll();
        for (int left : {15, 25}) {
            preview.elements()[kRecipeName].Left = left;
            preview.Formatvorlagespeichern1->trigger();
            QTest::mouseClick(DraftSaveWindow()->BStandard, Qt::LeftButton);
            QVERIFY(!DraftSaveWindow()->isVisible());
        }
    });
    QCOMPARE(m_fx.asked, (QList<int>{14, 14})); // never "Replace existing file?"
    TDruckvorlage read;
    QVERIFY(ReadDraft(standard, read));
    QCOMPARE(read.Placements.at(kRecipeName).Left, 25);
    QVERIFY(QFileInfo::exists(standard + QStringLiteral(".bmp")));
    // The next preview starts from it.
    open(0, [&](TFVor& preview) {
        QVERIFY(preview.elements().at(kRecipeName).Shown);
        QCOMPARE(preview.elements().at(kRecipeName).Left, 25);
    });
}

void DraftWindowsTest::savingFromSecondPageShowsFirst()
{
    const QString standard = folder(0) + QStringLiteral("Standard.KVP.E");
    open(0, [&](TFVor& preview) {
        showName(preview);
        preview.DeselectAll();
        preview.elements()[kRecipeName].Left = 300;
        preview.Redraw(false);
        preview.NeueSeite1->trigger();
        QCOMPARE(preview.state().CurrentPage, 1);
        preview.unitItems[kItemOtherNotes]->trigger(); // at 0, 0 on page 2
        preview.DeselectAll();
        preview.Formatvorlagespeichern1->trigger();
        QCOMPARE(preview.state().CurrentPage, 0);
        DraftSaveWindow()->BStandard->click();
    });
    const QImage thumbnail(standard + QStringLiteral(".bmp"), "BMP");
    QVERIFY(!thumbnail.isNull());
    auto inked = [&](QRect r) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                if (thumbnail.pixel(x, y) != qRgb(255, 255, 255))
                    return true;
            }
        }
        return false;
    };
    QVERIFY(inked(QRect(300, 0, 60, 20))); // the name on page 1
    QVERIFY(!inked(QRect(0, 0, 120, 40))); // not the notes of page 2
    TDruckvorlage read;
    QVERIFY(ReadDraft(standard, read));
    QCOMPARE(read.LastPage, 1);
    QCOMPARE(read.Placements.at(kOtherNotes).Page, 1);
}

void DraftWindowsTest::textsReachEveryControl()
{
    for (QWidget* window :
         QList<QWidget*>{PrintFormatWindow(), DraftSaveWindow(), DraftLoadWindow()})
        QCOMPARE(ControlsWithoutTexts(window), QStringList());
}

void DraftWindowsTest::deluxeSavesIntoDeluxeFolder()
{
    putDraft(folder(0) + QStringLiteral("Sunday.kvp"), QStringLiteral("normal"), 0, 2, false, 1, 1);
    putDraft(folder(1) + QStringLiteral("Other.kvp"), QStringLiteral("other"), 1, 2, false, 1, 1);
    const QByteArray normal = fileBytes(folder(0) + QStringLiteral("Sunday.kvp"));
    QString dialogFolder;
    SetDraftFileDialogHook([&](const QString&, const QString& folder, const QString&) -> QString {
        dialogFolder = folder;
        return folder + QStringLiteral("Sunday");
    });
    open(1, [&](TFVor& preview) {
        preview.Formatvorlageladen1->trigger();
        QCOMPARE(DraftLoadWindow()->LBDraft->count(), 1);
        QCOMPARE(DraftLoadWindow()->LBDraft->item(0)->text(), QStringLiteral("other"));
        DraftLoadWindow()->BCancel->click();
        preview.Formatvorlagespeichern1->trigger();
        DraftSaveWindow()->BOK->click();
    });
    QCOMPARE(dialogFolder, folder(1));
    QCOMPARE(m_fx.asked, QList<int>{8}); // the normal Sunday is not the deluxe one
    TDruckvorlage read;
    QVERIFY(ReadDraft(folder(1) + QStringLiteral("Sunday.kvp"), read));
    QCOMPARE(read.LayoutKind, 1);
    QVERIFY(QFileInfo::exists(folder(1) + QStringLiteral("Sunday.kvp.bmp")));
    QCOMPARE(fileBytes(folder(0) + QStringLiteral("Sunday.kvp")), normal);
    QVERIFY(!QFileInfo::exists(folder(0) + QStringLiteral("Sunday.kvp.bmp")));
}

void DraftWindowsTest::standardDraftAppliedOnOpen()
{
    QVERIFY(QFile::remove(folder(0) + QStringLiteral("Standard.KVP.E")));
    const QString standard = folder(0) + QStringLiteral("standard.kvp.e"); // found in any case
    putDraft(standard, QStringLiteral("std"), 0, 2, false, 100, 50);
    open(0, [&](TFVor& preview) {
        const TGFXL& name = preview.elements().at(kRecipeName);
        QVERIFY(name.Shown);
        QCOMPARE(name.Left, 100);
        QCOMPARE(name.Top, 50);
        QVERIFY(preview.elementImage(kRecipeName)->isVisible());
        QVERIFY(preview.elements().at(kComments).Page == -1);
    });
    QVERIFY(CurrentDraft().DraftFile.endsWith(QStringLiteral("/standard.kvp")));
    QVERIFY(m_fx.errors.isEmpty());

    // A damaged standard draft is named with its line and not applied half-read: the
    // elements stand at their default places.
    CurrentDraft() = TDruckvorlage();
    QByteArray bytes = fileBytes(standard);
    bytes.replace("\r\n2\r\n", "\r\ntwo\r\n"); // the paper format, line 5
    putFile(standard, bytes);
    open(0, [&](TFVor& preview) {
        const TGFXL& name = preview.elements().at(kRecipeName);
        QVERIFY(name.Shown);
        QCOMPARE(QPoint(name.Left, name.Top), QPoint(0, 0));
    });
    QCOMPARE(m_fx.errors.size(), 1);
    QVERIFY2(m_fx.errors.at(0).contains(QStringLiteral("standard.kvp.e, line 5")),
             qPrintable(m_fx.errors.at(0)));
}

void DraftWindowsTest::loadDraftOfOtherFormat()
{
    putDraft(folder(0) + QStringLiteral("A4.kvp"), QStringLiteral("wide A4"), 0, 0, true, 30, 40);
    putDraft(folder(0) + QStringLiteral("Letter.kvp"), QStringLiteral("letter"), 0, 2, false, 5, 6);
    putFile(folder(0) + QStringLiteral("Letter.kvp.bmp"),
            bitmapFileBytes(QImage(50, 70, QImage::Format_RGB32)));
    // The format window shows the format and orientation the draft brought.
    QList<int> formatWindowRows;
    SetPrintFormatShownHook([&](TFPrintS& window) {
        formatWindowRows << window.LBFormat->currentRow() + 10 * window.landscapeItem->isChecked();
        window.BCancel->click();
    });
    open(0, [&](TFVor& preview) {
        const QByteArray before = draftFileBytes(CurrentDraft());
        const QString fileBefore = CurrentDraft().DraftFile;
        preview.Formatvorlageladen1->trigger();
        TFPDraftL* window = DraftLoadWindow();
        QVERIFY(window->isVisible());
        QCOMPARE(window->LBDraft->count(), 2);
        QVERIFY(!preview.isEnabled());
        // Looking at each draft shows it and leaves the current draft alone.
        int a4 = -1;
        for (int row = 0; row < 2; ++row) {
            window->LBDraft->setCurrentRow(row);
            const bool isA4 = window->LBDraft->item(row)->text() == QLatin1String("wide A4");
            if (isA4)
                a4 = row;
            QCOMPARE(window->EDisplayname->text(), window->LBDraft->item(row)->text());
            QCOMPARE(window->Label1->text(),
                     isA4 ? QStringLiteral("DIN A4 (EU)") : QStringLiteral("Letter (US)"));
            QCOMPARE(window->Label2->text(), isA4 ? QStringLiteral("11.69 inch x 8.27 inch")
                                                  : QStringLiteral("8.50 inch x 11.00 inch"));
            // The A4 draft has no thumbnail: nothing to show, and it still loads.
            QCOMPARE(window->IHoch->isVisible(), !isA4);
            QVERIFY(window->IQuer->isHidden());
        }
        QCOMPARE(draftFileBytes(CurrentDraft()), before);
        QCOMPARE(CurrentDraft().DraftFile, fileBefore);

        window->LBDraft->setCurrentRow(a4);
        QTest::mouseClick(window->BOK, Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QVERIFY(preview.isEnabled());
        QCOMPARE(formatWindowRows, QList<int>{10});
        QCOMPARE(preview.state().FormatIndex, 0);
        QVERIFY(preview.state().Landscape);
        QCOMPARE(preview.elements().at(kRecipeName).Left, 30);
        QCOMPARE(preview.elements().at(kRecipeName).Top, 40);
        QVERIFY(preview.elementImage(kRecipeName)->isVisible());
        QCOMPARE(CurrentDraft().DraftFile, folder(0) + QStringLiteral("A4.kvp"));

        // Back to Letter asks for the format once more; Letter again does not.
        for (int k = 0; k < 2; ++k) {
            preview.Formatvorlageladen1->trigger();
            window->LBDraft->setCurrentRow(1 - a4);
            window->BOK->click();
            QCOMPARE(preview.elements().at(kRecipeName).Left, 5);
        }
    });
    QCOMPARE(formatWindowRows, (QList<int>{10, 2}));
    QVERIFY(m_fx.errors.isEmpty());
}

void DraftWindowsTest::deleteLastListedDraft()
{
    const QString only = folder(0) + QStringLiteral("Only.kvp");
    putDraft(only, QStringLiteral("only"), 0, 2, false, 1, 1);
    putFile(only + QStringLiteral(".bmp"), bitmapFileBytes(QImage(50, 70, QImage::Format_RGB32)));
    open(0, [&](TFVor& preview) {
        preview.Formatvorlageladen1->trigger();
        TFPDraftL* window = DraftLoadWindow();
        window->PopupMenu1Popup();
        QVERIFY(window->Draftloeschen->isVisible() && window->Draftloeschen->isEnabled());
        m_fx.answers = {kAnswerNo};
        window->Draftloeschen->trigger();
        QVERIFY(QFileInfo::exists(only));
        m_fx.answers = {kAnswerYes};
        window->Draftloeschen->trigger();
        QCOMPARE(m_fx.asked, (QList<int>{16, 16}));
        QVERIFY(!QFileInfo::exists(only));
        QVERIFY(!QFileInfo::exists(only + QStringLiteral(".bmp")));
        QCOMPARE(window->LBDraft->count(), 0);
        QVERIFY(window->EDisplayname->text().isEmpty());
        QVERIFY(window->Label1->text().isEmpty());
        QVERIFY(window->IHoch->isHidden() && window->IQuer->isHidden());
        window->PopupMenu1Popup();
        QVERIFY(!window->Draftloeschen->isVisible() && !window->Draftloeschen->isEnabled());
        window->BOK->click(); // nothing to load
        QVERIFY(window->isVisible());
        window->BCancel->click();
        QVERIFY(preview.isEnabled());
    });
}

void DraftWindowsTest::formatWindowSampleAndCancel()
{
    int shown = 0;
    SetPrintFormatShownHook([&](TFPrintS& window) {
        ++shown;
        QVERIFY(window.isVisible());
        QCOMPARE(window.LBFormat->count(), 5);
        QCOMPARE(window.LBFormat->currentRow(), 2);
        QVERIFY(window.portraitItem->isChecked());
        QCOMPARE(window.Label1->text(), QStringLiteral("21.59 cm x 27.94 cm"));
        QCOMPARE(window.IFormat->pixmap().size(), QSize(60, 70));
        window.landscapeItem->click();
        QCOMPARE(window.Label1->text(), QStringLiteral("27.94 cm x 21.59 cm"));
        QCOMPARE(window.Label2->text(), QStringLiteral("11.00 inch x 8.50 inch"));
        QCOMPARE(window.IFormat->pixmap().size(), QSize(100, 60));
        window.LBFormat->setCurrentRow(0);
        QCOMPARE(window.Label2->text(), QStringLiteral("11.69 inch x 8.27 inch"));
        QTest::mouseClick(window.BCancel, Qt::LeftButton);
    });
    open(0, [&](TFVor& preview) {
        const int sheetWidth = preview.IBlatt->width();
        preview.BBDrucker->click();
        QCOMPARE(shown, 1);
        QVERIFY(preview.isEnabled());
        QCOMPARE(preview.state().FormatIndex, 2);
        QVERIFY(!preview.state().Landscape);
        QCOMPARE(preview.IBlatt->width(), sheetWidth);
        QVERIFY(m_fx.asked.isEmpty());
    });
}

void DraftWindowsTest::formatWindowAssign()
{
    QList<bool> setupAnswers = {false, true};
    QList<QPageLayout::Orientation> setupOrientation;
    SetPageSetupHook([&](QPrinter& printer) {
        setupOrientation << printer.pageLayout().orientation();
        return setupAnswers.takeFirst();
    });
    SetPrintFormatShownHook([&](TFPrintS& window) {
        window.LBFormat->setCurrentRow(0);
        window.landscapeItem->click();
        window.BOK->click(); // set-up cancelled: nothing changes, the window stays
        QVERIFY(window.isVisible());
        QCOMPARE(CurrentSettings().formatIndex, 2);
        window.BOK->click();
        QVERIFY(!window.isVisible());
    });
    // A picture wider than the portrait sheet: fitted to it, and again to the new sheet.
    QImage wide(1200, 40, QImage::Format_RGB32);
    wide.fill(qRgb(200, 30, 30));
    TKVG r = recipe(0);
    r.PictureFile = m_fx.base + QStringLiteral("wide.png");
    QVERIFY(wide.save(r.PictureFile));
    m_fx.open(r, [&](TFVor& preview) {
        CurrentSettings().formatIndex = 2;
        CurrentSettings().landscape = false;
        const TGFXL& picture = preview.elements().at(kRecipeGraphic);
        QCOMPARE(picture.width(), preview.IBlatt->width());
        preview.BBDrucker->click();
        // The standard draft lays out on portrait Letter: asked to take the new paper,
        // and left as it is without a Yes.
        QCOMPARE(m_fx.asked, (QList<int>{9, 9, 26}));
        TDruckvorlage standard;
        QVERIFY(ReadDraft(standardDraftPath(m_fx.base, 0), standard));
        QCOMPARE(standard.PaperFormat, 2);
        QCOMPARE(setupOrientation,
                 (QList<QPageLayout::Orientation>{QPageLayout::Landscape, QPageLayout::Landscape}));
        QCOMPARE(preview.state().FormatIndex, 0);
        QVERIFY(preview.state().Landscape);
        QCOMPARE(CurrentSettings().formatIndex, 0);
        QVERIFY(CurrentSettings().landscape);
        QCOMPARE(CurrentDrucker().SheetWidth, 1028); // DIN A4 landscape
        QCOMPARE(preview.IBlatt->width(), 1028);
        QCOMPARE(picture.Bitmap.size(), QSize(1028, 34 + 2));
        QVERIFY(preview.isEnabled());
        // Yes writes the paper into the standard draft and keeps its layout; the same
        // paper again asks nothing.
        int row = 0;
        SetPrintFormatShownHook([&row](TFPrintS& window) {
            window.LBFormat->setCurrentRow(row);
            window.landscapeItem->click();
            window.BOK->click();
        });
        const auto assign = [&](int format) {
            row = format;
            m_fx.asked.clear();
            m_fx.answers = {kAnswerOK, kAnswerYes};
            setupAnswers = {true};
            preview.BBDrucker->click();
        };
        for (int round = 0; round < 2; ++round) {
            assign(0);
            QVERIFY(ReadDraft(standardDraftPath(m_fx.base, 0), standard));
            QCOMPARE(standard.PaperFormat, 0);
            QVERIFY(standard.Landscape);
            QCOMPARE(standard.Placements.size(), int(kElementCount));
        }
        QCOMPARE(m_fx.asked, (QList<int>{9}));
        // Another paper in the same orientation is another paper too.
        assign(2);
        QCOMPARE(m_fx.asked, (QList<int>{9, 26}));
        // Without a standard draft there is no layout to keep the paper in: nothing is
        // asked and no standard draft is made.
        QVERIFY(QFile::remove(standardDraftPath(m_fx.base, 0)));
        assign(0);
        QCOMPARE(m_fx.asked, (QList<int>{9}));
        QVERIFY(!QFile::exists(standardDraftPath(m_fx.base, 0)));
    });
}

// The preview cannot be closed under an open draft or format window, the windows close
// with it, and nothing a left-over window does stores a layout without a recipe.
void DraftWindowsTest::draftWindowsNeverOutliveThePreview()
{
    const QString standard = folder(0) + QStringLiteral("Standard.KVP.E");
    const QByteArray before = fileBytes(standard);
    SetPrintFormatShownHook([](TFPrintS& window) {
        TFVor* preview = PreviewWindow();
        preview->close();
        QVERIFY(preview->isVisible() && window.isVisible());
        preview->hide();
        QVERIFY(!window.isVisible());
    });
    open(0, [&](TFVor& preview) {
        showName(preview);
        for (QAction* command : {preview.Formatvorlageladen1, preview.Formatvorlagespeichern1}) {
            command->trigger();
            QWidget* window = command == preview.Formatvorlageladen1
                                  ? static_cast<QWidget*>(DraftLoadWindow())
                                  : static_cast<QWidget*>(DraftSaveWindow());
            QVERIFY(window->isVisible());
            QVERIFY(window->isModal());
            preview.close(); // refused: the draft window is answered first
            QVERIFY(preview.isVisible());
            QVERIFY(window->isVisible());
            preview.hide();
            QVERIFY(!window->isVisible());
            preview.show();
        }
        preview.BBDrucker->click();
    });
    DraftSaveWindow()->BStandard->click();
    DraftLoadWindow()->BOK->click();
    QVERIFY(!PreviewWindow()->isVisible());
    QCOMPARE(fileBytes(standard), before);
    QCOMPARE(m_fx.asked, QList<int>());
}

QTEST_MAIN(DraftWindowsTest)
#include "tst_draftwindows.moc"

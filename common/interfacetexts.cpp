// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/interfacetexts.h"

#include "common/session.h"
#include "imaging/pictureloader.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <span>

namespace {

struct Text {
    const char* control;
    const char* text;
};

struct WindowTexts {
    const char* window;
    const char* title; ///< nullptr: the title belongs to the window itself
    std::span<const Text> captions;
    std::span<const Text> tooltips;
    std::span<const char* const> switched; ///< controls whose tooltips the switch turns on/off
};

// Main window ------------------------------------------------------------------------

constexpr Text kMainCaptions[] = {
    {"Label1", "Search for:"},
    {"Label2", "Select a category:"},
    {"Label3", "Select difficulty:"},
    {"Label4", "Select recipe books:"},
    {"Datei1", "File"},
    {"NeuesRezept1", "New recipe"},
    {"Rezeptladen1", "Load recipe"},
    {"Rezepteimportieren1", "Import recipes..."},
    {"Rezepteexportieren1", "Export..."},
    {"Rezeptdrucken2", "Print recipe"},
    {"Rezeptlistedrucken1", "Print recipe list"},
    {"Kochbuchdrucken1", "Print cookbook..."},
    {"Programmbeenden1", "Close program"},
    {"Optionen1", "Options"},
    {"Tooltipps1", "Show tooltips"},
    {"Information1", "Info"},
    {"AnleitunganzeigenPDF1", "Show manual as pdf"},
    {"NeueVersionen1", "Updates and more"},
    {"PMNeuesRezeptanlegen", "Create new recipe"},
    {"PMRezeptladen", "Load recipe"},
    {"PMRezeptdrucken", "Print recipe"},
    {"PMRezeptloeschen", "Delete recipe"},
};

// The category and device pictures get recipe-specific tips when a recipe is shown.
constexpr Text kMainTooltips[] = {
    {"ESuchen", "searching for ingredients, date, etc."},
    {"CBUKat", "select a recipe category"},
    {"CBOZB", "select a title of a book, etc."},
    {"CBKochlevel", "select a level of difficulty"},
    {"RERezepttext", "recipe information is displayed"},
    {"IRezept", "your own recipe graphic..."},
    {"IKat01", ""},
    {"IKat02", ""},
    {"IKat03", ""},
    {"IKoch01", ""},
    {"IKoch02", ""},
    {"IKoch03", ""},
};

constexpr const char* kMainSwitched[] = {
    "ESuchen", "CBUKat", "CBOZB",  "CBKochlevel", "LVRezepte", "RERezepttext", "IRezept",
    "IKat01",  "IKat02", "IKat03", "IKoch01",     "IKoch02",   "IKoch03",
};

// Recipe editor ----------------------------------------------------------------------

constexpr Text kEditorCaptions[] = {
    {"Label1", "Name of recipe:"},
    {"Label9", "Ring binder:"},
    {"Label10", "Book:"},
    {"Label13", "Magazine:"},
    {"Label11", "Page:"},
    {"Label12", "Comments or brief description:"},
    {"Label4", "Number of servings:"},
    {"Label5", "Categories:"},
    {"Label3", "Cooking time:"},
    {"Label2", "Level of difficulty:"},
    {"Label8", "Comments:"},
    {"LMenge1", "Quantity:"},
    {"LEinheit1", "Unit:"},
    {"LName1", "Ingredients:"},
    {"LBeschreibung1", "Description of preparation:"},
    {"Label6", "Ingredients:"},
    {"Label7", "Instructions:"},
    {"Label14", "Cooking date:"},
    {"MGrafikloeschen", "Clear graphic"},
    {"Einfuegen", "Insert"},
    {"Zeichensatz", "Select font"},
    {"Ausschneiden", "Cut"},
    {"Kopieren", "Copy"},
    {"Datei1", "File"},
    {"Rezeptspeichern1", "Save recipe"},
    {"Rezeptspeichernunter1", "Save recipe as"},
    {"Rezeptdrucken1", "Print recipe"},
    {"Rezepterfassungbeenden1", "Exit"},
    {"Information1", "Information"},
    {"Info1", "General information"},
};

// The three printed-matter pictures carry the tip of the picture behind them.
constexpr Text kEditorTooltips[] = {
    {"RecipeName", "Enter a new name for your new recipe"},
    {"IRezeptname", "Change the recipe edit mode (normal or deluxe are possible)"},
    {"DTP1", "Enter the last or next cooking date"},
    {"IAbgeheftetBack", "Edit the datas of a printed recipe"},
    {"Ordner", "Enter the name of your ring binder"},
    {"Zeitschrift", "Edit the name of the magazine"},
    {"Buch", "Enter the name of the cook book"},
    {"Seite", "Enter the page of the ring binder, magazine or book"},
    {"Bemerkung", "Enter comments, hints and so on"},
    {"IRezeptgrafik", "Load or change your own recipe graphic"},
    {"Portionen", "Enter the number of servings, e.g. 4 servings, 1 backing sheet and so on"},
    {"CBRezeptkategorien", "Add one or more categories"},
    {"ERezeptkategorien", "Edit the catagories. Seperate the categories with \",\"!"},
    {"Zubzeit", "Enter the cooking time or baking time. E.g. 1 hour, 30 minutes and so on"},
    {"CBKochlevel", "Select the level of difficulty"},
    {"CBIconliste", "Add or delete the needed cooking devices"},
    {"MBemerkungstext", "Enter comments, hints and so on"},
    {"Menge1", "Enter the quantity of the ingedient (e.g. 1 or 1.5 or 2-3)"},
    {"Einheit1", "Enter the unit like cup, tsp, oz, lg, lb and so on"},
    {"Name1", "Enter the name of the ingredient"},
    {"Beschreibung1", "Enter the instructions"},
    {"Zutatenliste", "Enter all ingredients, optimal consecutive: quantity unit name"},
    {"Rezepttext", "Enter the instructions"},
    {"IIconlisteBack", "Select the needed cooking devices"},
    {"IOrdner", "Edit the datas of a printed recipe"},
    {"IBuch", "Edit the datas of a printed recipe"},
    {"IZeitschrift", "Edit the datas of a printed recipe"},
};

constexpr const char* kEditorSwitched[] = {
    "RecipeName",
    "IRezeptname",
    "DTP1",
    "IAbgeheftetBack",
    "Ordner",
    "Zeitschrift",
    "Buch",
    "Seite",
    "Bemerkung",
    "IIconlisteBack",
    "IRezeptgrafik",
    "Portionen",
    "CBRezeptkategorien",
    "ERezeptkategorien",
    "Zubzeit",
    "CBKochlevel",
    "CBIconliste",
    "MBemerkungstext",
    "Menge1",
    "Einheit1",
    "Name1",
    "Beschreibung1",
    "Zutatenliste",
    "Rezepttext",
    "KochgeraetImage1",
    "KochgeraetImage2",
    "KochgeraetImage3",
    "KochgeraetImage4",
    "KochgeraetImage5",
    "KochgeraetImage6",
    "KochgeraetImage7",
    "IKochlevel",
    "IOrdner",
    "IBuch",
    "IZeitschrift",
};

// Preview ----------------------------------------------------------------------------

constexpr Text kPreviewTooltips[] = {
    {"BBLeft", "Previous page"},
    {"BBRight", "Next page"},
    {"BBDrucker", "Printer options"},
};

constexpr const char* kPreviewSwitched[] = {"BBLeft", "BBRight", "BBDrucker"};

// Print format dialog ----------------------------------------------------------------

constexpr Text kPrintFormatTooltips[] = {
    {"LBFormat", "Change page format"},
    {"RGFormat", "Change printer orientation"},
    {"BOK", "Change printer setup"},
    {"BCancel", "No changes - abort"},
};

constexpr const char* kPrintFormatSwitched[] = {"LBFormat", "RGFormat", "BOK", "BCancel"};

// Draft dialogs ----------------------------------------------------------------------

constexpr Text kSaveDraftTooltips[] = {
    {"IQuer", "Screenshot of the draft"},
    {"IHoch", "Screenshot of the draft"},
    {"EDisplayname", "Enter name of the draft"},
    {"MKurzbeschreibung", "Enter comments"},
    {"BOK", "Save draft"},
    {"BStandard", "Save draft as standard draft"},
    {"BCancel", "Cancel and abort"},
};

constexpr const char* kSaveDraftSwitched[] = {
    "IQuer", "IHoch", "EDisplayname", "MKurzbeschreibung", "BOK", "BStandard", "BCancel",
};

constexpr Text kLoadDraftTooltips[] = {
    {"IQuer", "Screenshot of the draft"},
    {"IHoch", "Screenshot of the draft"},
    {"EDisplayname", "Name of the draft"},
    {"MKurzbeschreibung", "Comments"},
    {"BOK", "Load draft"},
    {"BCancel", "Cancel and abort"},
    {"LBDraft", "Select a draft"},
};

constexpr const char* kLoadDraftSwitched[] = {
    "IQuer", "IHoch", "EDisplayname", "MKurzbeschreibung", "BOK", "BCancel", "LBDraft",
};

// ------------------------------------------------------------------------------------

constexpr WindowTexts kWindows[] = {
    {"TFMain", kProgramTitle, kMainCaptions, kMainTooltips, kMainSwitched},
    {"TFKVE", kProgramTitle, kEditorCaptions, kEditorTooltips, kEditorSwitched},
    {"TFVor", nullptr, {}, kPreviewTooltips, kPreviewSwitched},
    {"TFPrintS", nullptr, {}, kPrintFormatTooltips, kPrintFormatSwitched},
    {"TFPDraftS", "Save draft:", {}, kSaveDraftTooltips, kSaveDraftSwitched},
    {"TFPDraftL", "Load draft:", {}, kLoadDraftTooltips, kLoadDraftSwitched},
    {"TFinfo", "Information:", {}, {}, {}},
};

const WindowTexts* textsFor(const QWidget* window)
{
    if (!window)
        return nullptr;
    const QString name = window->objectName();
    for (const WindowTexts& texts : kWindows) {
        if (name == QLatin1String(texts.window))
            return &texts;
    }
    return nullptr;
}

QList<QObject*> controls(QWidget* window, const char* name)
{
    return window->findChildren<QObject*>(QString::fromLatin1(name));
}

void setCaption(QObject* control, const QString& text)
{
    if (auto* menu = qobject_cast<QMenu*>(control))
        menu->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(control))
        action->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(text);
    else if (auto* widget = qobject_cast<QWidget*>(control); widget && widget->isWindow())
        widget->setWindowTitle(text);
}

// Swallows the tooltip events of the controls whose tooltips are switched off. The tips
// themselves stay on the controls, so switching on again shows them unchanged.
class TooltipGate : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

TooltipGate* tooltipGate()
{
    static QPointer<TooltipGate> gate;
    if (!gate)
        gate = new TooltipGate(qApp);
    return gate;
}

void switchTooltips(QWidget* control, bool on)
{
    QList<QWidget*> targets{control};
    // Views and text boxes get tooltip events on their viewport first (an item view
    // shows its items' tips from there), so the viewport is switched too.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(control))
        targets.append(area->viewport());
    for (QWidget* target : targets) {
        if (on)
            target->removeEventFilter(tooltipGate());
        else
            target->installEventFilter(tooltipGate());
    }
    control->setToolTipDuration(kTooltipDuration);
}

} // namespace

void ApplyCaptions(QWidget* window)
{
    const WindowTexts* texts = textsFor(window);
    if (!texts)
        return;
    if (texts->title)
        window->setWindowTitle(QString::fromLatin1(texts->title));
    if (window->objectName() == QLatin1String("TFMain")) {
        QGuiApplication::setApplicationDisplayName(QString::fromLatin1(kProgramTitle));
        const QImage icon = loadPicture(basePath(QStringLiteral("Dilboscan.ico")));
        if (!icon.isNull())
            QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon)));
    }
    for (const Text& caption : texts->captions) {
        for (QObject* control : controls(window, caption.control))
            setCaption(control, QString::fromLatin1(caption.text));
    }
}

void ApplyTooltips(QWidget* window, bool on)
{
    const WindowTexts* texts = textsFor(window);
    if (!texts)
        return;
    for (const Text& tip : texts->tooltips) {
        const QString text = QString::fromLatin1(tip.text);
        for (QObject* control : controls(window, tip.control)) {
            if (auto* widget = qobject_cast<QWidget*>(control)) {
                widget->setToolTip(text);
                widget->setToolTipDuration(kTooltipDuration);
            } else if (auto* action = qobject_cast<QAction*>(control)) {
                action->setToolTip(text);
            }
        }
    }
    for (const char* name : texts->switched) {
        for (QObject* control : controls(window, name)) {
            if (auto* widget = qobject_cast<QWidget*>(control))
                switchTooltips(widget, on);
        }
    }
}

QStringList ControlsWithoutTexts(QWidget* window)
{
    QStringList missing;
    const WindowTexts* texts = textsFor(window);
    if (!texts)
        return missing;
    const auto check = [&](const char* name) {
        const QString control = QString::fromLatin1(name);
        if (controls(window, name).isEmpty() && !missing.contains(control))
            missing.append(control);
    };
    for (const Text& caption : texts->captions)
        check(caption.control);
    for (const Text& tip : texts->tooltips)
        check(tip.control);
    for (const char* name : texts->switched)
        check(name);
    return missing;
}

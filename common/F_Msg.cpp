// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/F_Msg.h"

#include "common/controls.h"
#include "common/hook.h"
#include "common/session.h"
#include "common/windowplacement.h"
#include "imaging/pictureloader.h"

#include <QEventLoop>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

#include <utility>

using controls::verdana;

namespace {

struct Message {
    int number;
    const char* text;
};

// Numbers 20 to 22 are not used.
constexpr Message kMessages[] = {
    {1, "Please enter a name for the recipe!"},
    {2, "Not enough space!"},
    {3, "This category still exists. Add nevertheless?"},
    {4, "Delete existing graphic?"},
    {5, "The recipe was saved!"},
    {6, "Delete this recipe?"},
    {7, "Make new lines in other fields, too?"},
    {8, "The draft was saved."},
    {9, "Please assign your choice to the printer setup!"},
    {10, "Please close the edit box!"},
    {11, "No printer found!"},
    {12, "Please select a recipe!"},
    {13, "Do you want to print the deluxe recipe?"},
    {14, "The draft was saved as standard draft."},
    {15, "Replace existing file?"},
    {16, "Delete selected draft?"},
    {17, "Exit program?"},
    {18, "Save the recipe?"},
    {19, "Recipe already exists. Overwrite it? If not choose another recipe name!"},
    {23, "Delete last page?"},
    {24, "The recipe will be saved!"},
    {25, "No recipes found for printing as a list!"},
    {26, "The standard draft uses another paper format. Use this format there, too?"},
    {27, "This recipe was changed outside the program since you opened it."},
    {28, "This recipe was deleted outside the program since you opened it. Save it as a new "
         "file?"},
    {29, "This recipe was changed outside the program since the list was read. Delete it "
         "anyway?"},
    {30, "Please select only one recipe for this command!"},
};

const QString kBackgroundPicture = QStringLiteral("Graphic/PNG/Background.png");

QString& subjectStorage()
{
    static QString subject;
    return subject;
}

} // namespace

QString MessageText(int number)
{
    for (const Message& m : kMessages) {
        if (m.number == number)
            return QString::fromLatin1(m.text);
    }
    return {};
}

QString HeadingText(int kind)
{
    switch (kind) {
    case 1:
        return QStringLiteral("Application hint:");
    case 2:
        return QStringLiteral("Question:");
    case 4:
        return QStringLiteral("Error:");
    default:
        return {};
    }
}

TFMsg::TFMsg(QWidget* parent)
    : QWidget(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TFMsg"));
    // The window that asked takes no input until the question is answered, so the
    // answer is about what the user saw when asked.
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(396, 142);
    setFont(QFont(QStringLiteral("Verdana")));

    // Created first so that it lies below every other control.
    IBack = new QLabel(this);
    IBack->setObjectName(QStringLiteral("IBack"));
    IBack->setGeometry(0, 0, 401, 145);
    IBack->setScaledContents(true);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 385, 25);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setFont(verdana(13, true, true));

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(3, 40, 385, 65);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setWordWrap(true);
    Label2->setFont(verdana(13, true, false));

    auto makeButton = [this](const char* name, int left, int code) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(left, 112, 75, 25);
        // Enter presses the focused button, as Space does.
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, [this, code] { answer(code); });
        return button;
    };
    BYes = makeButton("BYes", 104, kAnswerYes);
    BNo = makeButton("BNo", 200, kAnswerNo);
    BCancel = makeButton("BCancel", 0, kAnswerCancel);
    BOK = makeButton("BOK", 152, kAnswerOK);
    setTabOrder(BYes, BNo);
    setTabOrder(BNo, BCancel);
    setTabOrder(BCancel, BOK);
}

int TFMsg::Execute(int number, int headingKind, int buttonSet)
{
    pendingAnswer = kAnswerClosed;

    // A missing background leaves the plain window colour.
    const QImage background = loadPicture(basePath(kBackgroundPicture));
    if (background.isNull())
        IBack->clear();
    else
        IBack->setPixmap(QPixmap::fromImage(background));
    setWindowTitle(QString());

    for (QPushButton* button : {BYes, BNo, BCancel, BOK}) {
        button->hide();
        button->setEnabled(false);
    }
    BYes->setText(QStringLiteral("Yes"));
    BNo->setText(QStringLiteral("No"));
    BCancel->setText(QStringLiteral("Cancel"));
    BOK->setText(QStringLiteral("OK"));
    BYes->setGeometry(104, 112, 75, 25);
    BNo->setGeometry(200, 112, 75, 25);

    QPushButton* first = nullptr;
    if (buttonSet == 0) {
        BOK->setEnabled(true);
        BOK->show();
        first = BOK;
    } else if (buttonSet == 4 || buttonSet == 1) {
        for (QPushButton* button : {BYes, BNo}) {
            button->setEnabled(true);
            button->show();
        }
        if (buttonSet == 1) {
            BYes->setText(QStringLiteral("OK"));
            BNo->setText(QStringLiteral("Cancel"));
        }
        first = BYes;
    } else if (buttonSet == 3) {
        // Longer captions: three wider buttons across the window.
        BYes->setText(QStringLiteral("Save anyway"));
        BNo->setText(QStringLiteral("Save as a copy"));
        const QList<QPushButton*> three{BYes, BNo, BCancel};
        for (qsizetype i = 0; i < three.size(); ++i) {
            three[i]->setGeometry(17 + int(i) * 126, 112, 110, 25);
            three[i]->setEnabled(true);
            three[i]->show();
        }
        // Enter alone must not replace someone else's change.
        first = BCancel;
    }

    Label1->setText(HeadingText(headingKind));
    // The subject on its own line below the question: which recipe "this recipe" is.
    const QString subject = ShownMsgSubject();
    Label2->setText(subject.isEmpty() ? MessageText(number)
                                      : MessageText(number) + QLatin1Char('\n') + subject);

    showCentred(this);
    activateWindow();
    if (first)
        first->setFocus(Qt::OtherFocusReason);

    if (isVisible()) {
        QEventLoop loop;
        connect(this, &TFMsg::hidden, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return pendingAnswer;
}

void TFMsg::answer(int code)
{
    pendingAnswer = code;
    close();
}

void TFMsg::keyPressEvent(QKeyEvent* event)
{
    // Key presses the buttons do not use arrive here, so the letters work whichever
    // button has the focus. They follow the enabled buttons, not their captions; the
    // three answers of set 3 have no letters, so no key press replaces a file unasked.
    const QString key = event->text();
    if (BYes->isEnabled() && BNo->isEnabled() && !BCancel->isEnabled()) {
        if (key == QLatin1String("J") || key == QLatin1String("j") || key == QLatin1String("Y") ||
            key == QLatin1String("y")) {
            BYes->click();
            return;
        }
        if (key == QLatin1String("N") || key == QLatin1String("n")) {
            BNo->click();
            return;
        }
    }
    if (BOK->isEnabled() && (key == QLatin1String("O") || key == QLatin1String("o"))) {
        BOK->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFMsg::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // A minimised window gets a hide event too but stays visible: keep waiting then.
    if (!isVisible())
        emit hidden();
}

TFMsg* MessageDialog()
{
    // Lives until the end of the process, like every window of the program.
    static QPointer<TFMsg> dialog;
    if (!dialog)
        dialog = new TFMsg;
    return dialog;
}

int ShowMsg(int number, int headingKind, int buttonSet, const QString& subject)
{
    // Kept while the question is open, for the window and for a hook that checks it.
    QString& shown = subjectStorage();
    const QString before = std::exchange(shown, subject);
    int answer = 0;
    if (const ShowMsgHook& hook = hookSlot<SetShowMsgHook>())
        answer = hook(number, headingKind, buttonSet);
    else
        answer = MessageDialog()->Execute(number, headingKind, buttonSet);
    shown = before;
    return answer;
}

QString ShownMsgSubject()
{
    return subjectStorage();
}

void SetShowMsgHook(ShowMsgHook hook)
{
    hookSlot<SetShowMsgHook>() = std::move(hook);
}

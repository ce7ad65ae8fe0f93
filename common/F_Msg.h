// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

// Notices and yes/no questions. Callers pass a message number, a heading kind and a
// button set and get an answer code back; the texts live here and nowhere else.

/// Answer codes of ShowMsg (the same values as the Windows dialog results).
inline constexpr int kAnswerClosed = 0; ///< the window was closed without a button
inline constexpr int kAnswerOK = 1;     ///< BOK
inline constexpr int kAnswerCancel = 2; ///< BCancel, the right button of set 3
inline constexpr int kAnswerYes = 6;    ///< BYes, the left button
inline constexpr int kAnswerNo = 7;     ///< BNo, the right button (of set 3: the middle one)
/// "Please select only one recipe for this command!": a command for one recipe with
/// several selected.
inline constexpr int kOneRecipeOnly = 30;
/// The answers of button set 3, asked when a recipe changed outside the program.
inline constexpr int kAnswerSaveAnyway = kAnswerYes;
inline constexpr int kAnswerSaveCopy = kAnswerNo;

/// The text of a message; "" for numbers without an entry.
QString MessageText(int number);

/// The heading line above a message: 1 "Application hint:", 2 "Question:", 4 "Error:",
/// "" for any other kind.
QString HeadingText(int kind);

/// The message window: one instance, hidden between messages. Its controls carry the
/// objectNames IBack, Label1, Label2, BYes, BNo, BCancel and BOK.
class TFMsg : public QWidget {
    Q_OBJECT
public:
    explicit TFMsg(QWidget* parent = nullptr);

    /// Shows a message and waits in a nested event loop until the window is hidden;
    /// returns the answer code. The window is application-modal.
    int Execute(int number, int headingKind, int buttonSet);

signals:
    /// Emitted when the window has been hidden (by a button, by closing, or by hide()).
    void hidden();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void answer(int code);

    QLabel* IBack;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* BYes;
    QPushButton* BNo;
    QPushButton* BCancel;
    QPushButton* BOK;
    int pendingAnswer = kAnswerClosed;
};

/// The one message window, created on first use.
TFMsg* MessageDialog();

/// Shows message number under heading kind with buttons of buttonSet (0: OK; 1: OK and
/// Cancel; 4: Yes and No; 3: Save anyway, Save as a copy and Cancel, the focus on
/// Cancel) and returns 6 for the left button, 7 for the right one (of three, the middle
/// one), 2 for Cancel of three, 1 for OK and 0 when the window was closed without a
/// button. With a hook set, returns the
/// hook's answer and shows nothing. A subject (the name of the recipe a question is
/// about) is shown on a line of its own below the message.
int ShowMsg(int number, int headingKind, int buttonSet, const QString& subject = QString());

/// The subject of the message being shown; empty when there is none.
QString ShownMsgSubject();

using ShowMsgHook = std::function<int(int number, int headingKind, int buttonSet)>;

/// Routes every ShowMsg to hook (tests answer questions through it); an empty hook
/// restores the window.
void SetShowMsgHook(ShowMsgHook hook);

// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/F_Msg.h"
#include "common/session.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QPushButton* button(const char* name)
{
    return MessageDialog()->findChild<QPushButton*>(QString::fromLatin1(name));
}

QLabel* label(const char* name)
{
    return MessageDialog()->findChild<QLabel*>(QString::fromLatin1(name));
}

// What the window looked like while it waited for an answer.
struct Seen {
    bool visible = false;
    QString title = QStringLiteral("not seen");
    QString heading;
    QString text;
    QStringList buttons; // visible and enabled buttons as "name:caption", in tab order
    QString focused;
    bool centred = false;
};

Seen look()
{
    TFMsg* dlg = MessageDialog();
    Seen seen;
    seen.visible = dlg->isVisible();
    seen.title = dlg->windowTitle();
    seen.heading = label("Label1")->text();
    seen.text = label("Label2")->text();
    for (const char* name : {"BYes", "BNo", "BCancel", "BOK"}) {
        QPushButton* b = button(name);
        if (b->isVisible() && b->isEnabled())
            seen.buttons << QString::fromLatin1(name) + QLatin1Char(':') + b->text();
    }
    if (QWidget* focus = dlg->focusWidget())
        seen.focused = focus->objectName();
    seen.centred = (dlg->frameGeometry().center() - dlg->screen()->availableGeometry().center())
                       .manhattanLength() <= 2;
    return seen;
}

// Runs action once the dialog waits for its answer, then returns ShowMsg's answer.
int answerWith(int number, int heading, int set, const std::function<void()>& action,
               Seen* seen = nullptr, const QString& subject = QString())
{
    QTimer::singleShot(0, [&] {
        if (seen)
            *seen = look();
        action();
        // Whatever the action did, never leave the test waiting.
        if (MessageDialog()->isVisible()) {
            QTimer::singleShot(0, [] { MessageDialog()->close(); });
        }
    });
    return ShowMsg(number, heading, set, subject);
}

void click(const char* name)
{
    QTest::mouseClick(button(name), Qt::LeftButton);
}

} // namespace

class TestMsg : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(base.isValid());
        setBaseFolder(base.path());
    }

    void messageText_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("first") << 1 << QStringLiteral("Please enter a name for the recipe!");
        QTest::newRow("exit") << 17 << QStringLiteral("Exit program?");
        QTest::newRow("last before the gap")
            << 19
            << QStringLiteral(
                   "Recipe already exists. Overwrite it? If not choose another recipe name!");
        QTest::newRow("20 unused") << 20 << QString();
        QTest::newRow("22 unused") << 22 << QString();
        QTest::newRow("after the gap") << 23 << QStringLiteral("Delete last page?");
        QTest::newRow("last of the list") << 25 << QStringLiteral("No recipes found for printing as a list!");
        QTest::newRow("paper format") << 26 << QStringLiteral("The standard draft uses another paper format. Use this format there, too?");
        QTest::newRow("changed outside")
            << 27
            << QStringLiteral("This recipe was changed outside the program since you opened it.");
        QTest::newRow("changed before delete")
            << 29
            << QStringLiteral("This recipe was changed outside the program since the list was "
                              "read. Delete it anyway?");
        QTest::newRow("last") << 30 << QStringLiteral("Please select only one recipe for this command!");
        QTest::newRow("zero") << 0 << QString();
        QTest::newRow("above the last") << 31 << QString();
        QTest::newRow("negative") << -1 << QString();
    }
    void messageText()
    {
        QFETCH(int, number);
        QFETCH(QString, text);
        QCOMPARE(MessageText(number), text);
    }

    void headingText_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("heading");
        QTest::newRow("0 empty") << 0 << QString();
        QTest::newRow("1 hint") << 1 << QStringLiteral("Application hint:");
        QTest::newRow("2 question") << 2 << QStringLiteral("Question:");
        QTest::newRow("3 unknown") << 3 << QString();
        QTest::newRow("4 error") << 4 << QStringLiteral("Error:");
        QTest::newRow("5 unknown") << 5 << QString();
        QTest::newRow("negative") << -4 << QString();
    }
    void headingText()
    {
        QFETCH(int, kind);
        QFETCH(QString, heading);
        QCOMPARE(HeadingText(kind), heading);
    }

    void buttonSets_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("heading");
        QTest::addColumn<int>("set");
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("answer");
        const QStringList yesNo = {QStringLiteral("BYes:Yes"), QStringLiteral("BNo:No")};
        const QStringList okCancel = {QStringLiteral("BYes:OK"), QStringLiteral("BNo:Cancel")};
        QTest::newRow("set 0 OK") << 5 << 1 << 0 << QStringLiteral("BOK")
                                  << QStringList{QStringLiteral("BOK:OK")} << 1;
        QTest::newRow("set 4 yes") << 6 << 2 << 4 << QStringLiteral("BYes") << yesNo << 6;
        QTest::newRow("with a subject") << 6 << 2 << 4 << QStringLiteral("BNo") << yesNo << 7;
        QTest::newRow("set 4 no") << 17 << 1 << 4 << QStringLiteral("BNo") << yesNo << 7;
        QTest::newRow("set 1 left") << 24 << 1 << 1 << QStringLiteral("BYes") << okCancel << 6;
        QTest::newRow("set 1 right") << 24 << 1 << 1 << QStringLiteral("BNo") << okCancel << 7;
        QTest::newRow("unknown number and kind")
            << 99 << 7 << 0 << QStringLiteral("BOK") << QStringList{QStringLiteral("BOK:OK")} << 1;
    }
    void buttonSets()
    {
        QFETCH(int, number);
        QFETCH(int, heading);
        QFETCH(int, set);
        QFETCH(QString, clicked);
        QFETCH(QStringList, buttons);
        QFETCH(int, answer);
        // The subject (a recipe's name) goes on a line of its own below the question.
        const bool withSubject = QByteArray(QTest::currentDataTag()) == "with a subject";
        const QString subject = withSubject ? QStringLiteral("Cheese Fondue") : QString();
        Seen seen;
        const int result = answerWith(
            number, heading, set, [&] { click(qPrintable(clicked)); }, &seen, subject);
        QCOMPARE(result, answer);
        QVERIFY(seen.visible);
        QCOMPARE(seen.title, QString());
        QCOMPARE(seen.heading, HeadingText(heading));
        QCOMPARE(seen.text, withSubject ? QStringLiteral("Delete this recipe?\nCheese Fondue")
                                        : MessageText(number));
        QVERIFY(ShownMsgSubject().isEmpty());
        QCOMPARE(seen.buttons, buttons);
        QCOMPARE(seen.focused, buttons.first().section(QLatin1Char(':'), 0, 0));
        QVERIFY(seen.centred);
        QVERIFY(!MessageDialog()->isVisible());
    }

    void keys_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<bool>("toWindow"); // else to the focused button
        QTest::addColumn<int>("key");       // a character, or a Qt::Key
        QTest::addColumn<int>("answer");    // -1: the key does nothing
        QTest::newRow("set 4 y") << 4 << false << int('y') << 6;
        QTest::newRow("set 4 J on window") << 4 << true << int('J') << 6;
        QTest::newRow("set 4 n") << 4 << false << int('n') << 7;
        QTest::newRow("set 4 N on window") << 4 << true << int('N') << 7;
        QTest::newRow("set 4 o nothing") << 4 << false << int('o') << -1;
        QTest::newRow("set 1 Y chooses OK") << 1 << false << int('Y') << 6;
        QTest::newRow("set 1 j") << 1 << false << int('j') << 6;
        QTest::newRow("set 1 N chooses Cancel") << 1 << false << int('N') << 7;
        QTest::newRow("set 1 O nothing") << 1 << false << int('O') << -1;
        QTest::newRow("set 1 o on window nothing") << 1 << true << int('o') << -1;
        QTest::newRow("set 0 o") << 0 << false << int('o') << 1;
        QTest::newRow("set 0 O on window") << 0 << true << int('O') << 1;
        QTest::newRow("set 0 y nothing") << 0 << false << int('y') << -1;
        QTest::newRow("set 0 n nothing") << 0 << true << int('n') << -1;
        QTest::newRow("set 4 Enter on yes") << 4 << false << int(Qt::Key_Return) << 6;
        QTest::newRow("set 4 Space on yes") << 4 << false << int(Qt::Key_Space) << 6;
        QTest::newRow("set 0 Enter on OK") << 0 << false << int(Qt::Key_Enter) << 1;
        // The three answers about a recipe changed outside: no letters, Enter cancels.
        QTest::newRow("set 3 y nothing") << 3 << false << int('y') << -1;
        QTest::newRow("set 3 n on window nothing") << 3 << true << int('n') << -1;
        QTest::newRow("set 3 Enter on Cancel") << 3 << false << int(Qt::Key_Return) << 2;
        QTest::newRow("other letter") << 4 << false << int('x') << -1;
    }
    void keys()
    {
        QFETCH(int, set);
        QFETCH(bool, toWindow);
        QFETCH(int, key);
        QFETCH(int, answer);
        bool stillOpen = false;
        const int result = answerWith(3, 1, set, [&] {
            TFMsg* dlg = MessageDialog();
            QWidget* target = toWindow ? dlg : dlg->focusWidget();
            if (key < 128)
                QTest::keyClick(target, char(key));
            else
                QTest::keyClick(target, Qt::Key(key));
            stillOpen = dlg->isVisible();
        });
        if (answer < 0) {
            QVERIFY(stillOpen);
            QCOMPARE(result, 0); // closed by the test afterwards
        } else {
            QVERIFY(!stillOpen);
            QCOMPARE(result, answer);
        }
    }

    void threeAnswers_data()
    {
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<int>("answer");
        QTest::newRow("save anyway") << QStringLiteral("BYes") << kAnswerSaveAnyway;
        QTest::newRow("save as a copy") << QStringLiteral("BNo") << kAnswerSaveCopy;
        QTest::newRow("cancel") << QStringLiteral("BCancel") << kAnswerCancel;
    }
    void threeAnswers()
    {
        QFETCH(QString, clicked);
        QFETCH(int, answer);
        QList<QRect> places;
        QList<bool> captionsFit;
        Seen seen;
        const int result = answerWith(
            27, 2, 3,
            [&] {
                for (const char* name : {"BYes", "BNo", "BCancel"}) {
                    places << button(name)->geometry();
                    captionsFit << (button(name)->sizeHint().width() <= button(name)->width());
                }
                click(qPrintable(clicked));
            },
            &seen);
        QCOMPARE(result, answer);
        QCOMPARE(seen.buttons, (QStringList{QStringLiteral("BYes:Save anyway"),
                                            QStringLiteral("BNo:Save as a copy"),
                                            QStringLiteral("BCancel:Cancel")}));
        QCOMPARE(captionsFit, (QList<bool>{true, true, true}));
        // Side by side inside the window, none covering another.
        const QRect window = MessageDialog()->rect();
        for (qsizetype i = 0; i < places.size(); ++i) {
            QVERIFY(window.contains(places[i]));
            if (i > 0)
                QVERIFY(places[i - 1].right() < places[i].left());
        }
        // The next two-button question has its buttons back in their places, and no Cancel.
        QList<QRect> after;
        bool cancelShown = true;
        answerWith(6, 2, 4, [&] {
            after << button("BYes")->geometry() << button("BNo")->geometry();
            cancelShown = button("BCancel")->isVisible();
            click("BNo");
        });
        QCOMPARE(after, (QList<QRect>{QRect(104, 112, 75, 25), QRect(200, 112, 75, 25)}));
        QVERIFY(!cancelShown);
    }

    void closingAnswersZeroAndKeepsTheWindow()
    {
        TFMsg* before = MessageDialog();
        // A yes first, so a stale answer would show.
        QCOMPARE(answerWith(6, 2, 4, [] { click("BYes"); }), 6);
        QCOMPARE(answerWith(23, 2, 4, [] { MessageDialog()->close(); }), 0);
        QCOMPARE(MessageDialog(), before);
        QVERIFY(!before->isVisible());
        // Hidden by someone else: the wait ends too.
        QCOMPARE(answerWith(24, 1, 1, [] { MessageDialog()->hide(); }), 0);
        QCOMPARE(answerWith(5, 1, 0, [] { click("BOK"); }), 1);
    }

    void captionsAreRestoredAfterSetOne()
    {
        QCOMPARE(answerWith(24, 1, 1, [] { click("BNo"); }), 7);
        Seen four;
        QCOMPARE(answerWith(
                     6, 2, 4, [] { click("BNo"); }, &four),
                 7);
        QCOMPARE(four.buttons, (QStringList{QStringLiteral("BYes:Yes"), QStringLiteral("BNo:No")}));
        Seen zero;
        QCOMPARE(answerWith(
                     5, 1, 0, [] { click("BOK"); }, &zero),
                 1);
        QCOMPARE(zero.buttons, QStringList{QStringLiteral("BOK:OK")});
        QCOMPARE(button("BYes")->text(), QStringLiteral("Yes"));
        QCOMPARE(button("BNo")->text(), QStringLiteral("No"));
    }

    void otherWindowsTakeNoInputUntilAnswered()
    {
        QWidget other;
        auto* otherButton = new QPushButton(QStringLiteral("other"), &other);
        int clicks = 0;
        connect(otherButton, &QPushButton::clicked, this, [&] { ++clicks; });
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        // Through the window system, as the user's clicks arrive.
        const auto clickOther = [&] {
            QTest::mouseClick(other.windowHandle(), Qt::LeftButton, {},
                              otherButton->geometry().center());
        };
        QCOMPARE(answerWith(3, 1, 4,
                            [&] {
                                clickOther();
                                click("BYes");
                            }),
                 6);
        QCOMPARE(clicks, 0);
        clickOther();
        QCOMPARE(clicks, 1);
    }

    void backgroundIsLoadedOnEveryCall()
    {
        QLabel* back = label("IBack");
        QVERIFY(QDir(base.path()).mkpath(QStringLiteral("Graphic/png")));
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        const QString file = base.filePath(QStringLiteral("Graphic/png/BACKGROUND.PNG"));
        QVERIFY(picture.save(file));
        bool shown = false;
        answerWith(5, 1, 0, [&] { shown = !back->pixmap().isNull(); });
        QVERIFY2(shown, "the picture is found in any case of its name");

        QVERIFY(QFile::remove(file));
        shown = true;
        QCOMPARE(answerWith(5, 1, 0,
                            [&] {
                                shown = !back->pixmap().isNull();
                                click("BOK");
                            }),
                 1);
        QVERIFY2(!shown, "a missing picture leaves a plain background");
    }

    void hookAnswersWithoutTheWindow()
    {
        QList<QList<int>> calls;
        SetShowMsgHook([&](int number, int heading, int set) {
            calls.append({number, heading, set});
            return 7;
        });
        bool shown = false;
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [&] {
            shown = MessageDialog()->isVisible();
            MessageDialog()->close();
        });
        guard.start(0);
        QCOMPARE(ShowMsg(17, 1, 4), 7);
        QCOMPARE(ShowMsg(13, 2, 4), 7);
        QCOMPARE(calls, (QList<QList<int>>{{17, 1, 4}, {13, 2, 4}}));
        QCoreApplication::processEvents();
        QVERIFY(!shown);

        SetShowMsgHook({});
        QCOMPARE(answerWith(17, 1, 4, [] { click("BNo"); }), 7);
        QCOMPARE(answerWith(17, 1, 4, [] { click("BYes"); }), 6);
        QCOMPARE(calls.size(), 2);
    }

private:
    QTemporaryDir base;
};

QTEST_MAIN(TestMsg)
#include "tst_msg.moc"

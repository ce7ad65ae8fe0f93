// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/ansivalidator.h"

#include <QLineEdit>
#include <QTest>

class AnsiValidatorTest : public QObject {
    Q_OBJECT

private slots:
    void validate_data();
    void validate();
    void editBoxShowsWhatIsStored_data();
    void editBoxShowsWhatIsStored();
};

void AnsiValidatorTest::validate_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("newPos");
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // two UTF-16 units
    QTest::newRow("code page text stays") << QString::fromUtf8("Crème brûlée €5 „x“") << 7
                                          << QString::fromUtf8("Crème brûlée €5 „x“") << 7;
    QTest::newRow("letters outside, caret at the end")
        << QString::fromUtf8("Łódź") << 4 << QStringLiteral("?\u00F3d?") << 4;
    QTest::newRow("letters outside, caret at the start")
        << QString::fromUtf8("Łódź") << 0 << QStringLiteral("?\u00F3d?") << 0;
    QTest::newRow("Greek and Cyrillic")
        << QString::fromUtf8("αβ щ") << 2 << QStringLiteral("?? ?") << 2;
    QTest::newRow("pair before the caret")
        << QLatin1String("a") + emoji + QLatin1String("b") << 3 << QStringLiteral("a?b") << 2;
    QTest::newRow("pair after the caret")
        << QLatin1String("a") + emoji + QLatin1String("b") << 1 << QStringLiteral("a?b") << 1;
    QTest::newRow("pairs, caret at the end") << emoji + emoji << 4 << QStringLiteral("??") << 2;
    QTest::newRow("empty") << QString() << 0 << QString() << 0;
}

void AnsiValidatorTest::validate()
{
    QFETCH(QString, input);
    QFETCH(int, pos);
    QFETCH(QString, output);
    QFETCH(int, newPos);
    AnsiValidator validator;
    QCOMPARE(validator.validate(input, pos), QValidator::Acceptable);
    QCOMPARE(input, output);
    QCOMPARE(pos, newPos);
}

void AnsiValidatorTest::editBoxShowsWhatIsStored_data()
{
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("cursor");
    // Inserted after the "a" of "ab", as typing or pasting does.
    QTest::newRow("pasted in the code page")
        << QString::fromUtf8("é€") << QString::fromUtf8("aé€b") << 3;
    QTest::newRow("typed outside") << QString::fromUtf8("Ł") << QStringLiteral("a?b") << 2;
    QTest::newRow("pasted, mixed")
        << QString::fromUtf8("\xF0\x9F\x98\x80€Ł") << QString::fromUtf8("a?€?b") << 4;
}

void AnsiValidatorTest::editBoxShowsWhatIsStored()
{
    QFETCH(QString, inserted);
    QFETCH(QString, shown);
    QFETCH(int, cursor);
    QLineEdit edit;
    edit.setValidator(new AnsiValidator(&edit));
    QTest::keyClicks(&edit, QStringLiteral("ab"));
    QTest::keyClick(&edit, Qt::Key_Left);
    if (inserted.size() == 1) // typed: one key with that text
        QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, inserted, Qt::NoModifier);
    else
        edit.insert(inserted);
    QCOMPARE(edit.text(), shown);
    QCOMPARE(edit.cursorPosition(), cursor);
    QTest::keyClicks(&edit, QStringLiteral("x"));
    QCOMPARE(edit.text(), shown.left(cursor) + QLatin1Char('x') + shown.mid(cursor));
}

QTEST_MAIN(AnsiValidatorTest)
#include "tst_ansivalidator.moc"

// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/F_Info.h"
#include "common/F_LadeInfo.h"
#include "common/links.h"
#include "common/session.h"
#include "common/version.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

int topLevelsNamed(const QString& name)
{
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += w->objectName() == name;
    return count;
}

class ShowCounter : public QObject {
public:
    int shows = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            ++shows;
        return QObject::eventFilter(watched, event);
    }
};

void putPicture(const QString& base, const QString& relative)
{
    QVERIFY(QDir(base).mkpath(QFileInfo(relative).path()));
    QImage picture(32, 32, QImage::Format_ARGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(base + QLatin1Char('/') + relative));
}

} // namespace

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class TestCommonWindows : public QObject {
    Q_OBJECT
private slots:
    void progressShownTwiceShowsOnce_data()
    {
        QTest::addColumn<bool>("withLogo");
        QTest::newRow("logo") << true;
        QTest::newRow("logo missing") << false;
    }
    void progressShownTwiceShowsOnce()
    {
        QFETCH(bool, withLogo);
        QTemporaryDir base;
        setBaseFolder(base.path());
        if (withLogo)
            putPicture(base.path(), QStringLiteral("Graphic/PNG/ENG/kvlogo.png"));

        TFLadeInfo* window = ProgressWindow();
        // The pauses are taken note of instead of waited for.
        QStringList pauses;
        SetProgressPauseHook([&](int milliseconds) {
            pauses << QString::number(milliseconds) + (window->isVisible()
                                                           ? QLatin1String(" shown")
                                                           : QLatin1String(" hidden"));
        });
        ShowCounter counter;
        window->installEventFilter(&counter);
        ShowProgress();
        ShowProgress();
        window->removeEventFilter(&counter);

        QCOMPARE(topLevelsNamed(QStringLiteral("TFLadeInfo")), 1);
        QVERIFY(window->isVisible());
        QCOMPARE(counter.shows, 1);
        QCOMPARE(window->windowTitle(), QStringLiteral("Hint:"));
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("LText"))->text(),
                 QStringLiteral("Creating printing data..."));
        QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("ILogo"))->pixmap().isNull(), !withLogo);

        HideProgress();
        SetProgressPauseHook({});
        QVERIFY(!window->isVisible());
        QCOMPARE(ProgressWindow(), window);
        // A pause before the window first shows and one after it hides.
        QCOMPARE(pauses, (QStringList{QStringLiteral("100 hidden"), QStringLiteral("50 hidden")}));
    }

    void informationDisablesTheEditorUntilClosed()
    {
        QTemporaryDir base;
        setBaseFolder(base.path());
        putPicture(base.path(), QStringLiteral("Graphic/PNG/ENG/Tarvolin.png"));
        QWidget editor;
        auto* field = new QLineEdit(&editor);
        editor.show();

        ShowInformation(&editor);
        TFinfo* info = InformationWindow();
        QVERIFY(info->isVisible());
        QVERIFY(!editor.isEnabled());
        QVERIFY(!field->isEnabled());
        QCOMPARE(info->windowTitle(), QStringLiteral("Information:"));
        QCOMPARE(info->findChild<QLabel*>(QStringLiteral("LInternet"))->text(),
                 QString::fromLatin1(kProductWebSite));
        const QString licence = info->findChild<QLabel*>(QStringLiteral("LLicence"))->text();
        QVERIFY2(licence.contains(QStringLiteral("Version ") + ProgramVersion() + u'.') &&
                     licence.contains(QLatin1String("GPL-2.0-or-later")),
                 qPrintable(licence));
        QVERIFY(!info->findChild<QLabel*>(QStringLiteral("ILogo"))->pixmap().isNull());
        QCoreApplication::processEvents();
        QVERIFY2(!editor.isEnabled(), "the window is not modal: the editor disables itself");

        QTest::keyClick(field, Qt::Key_A);
        QCOMPARE(field->text(), QString());

        QVERIFY(info->close());
        QVERIFY(!info->isVisible());
        QVERIFY(editor.isEnabled());
        QTest::keyClick(field, Qt::Key_A);
        QCOMPARE(field->text(), QStringLiteral("a"));
        QCOMPARE(InformationWindow(), info);
        QCOMPARE(topLevelsNamed(QStringLiteral("TFinfo")), 1);
    }

    void informationWithoutEditorOrLogo()
    {
        QTemporaryDir base;
        setBaseFolder(base.path());
        ShowInformation(nullptr);
        TFinfo* info = InformationWindow();
        QVERIFY(info->isVisible());
        QVERIFY(info->findChild<QLabel*>(QStringLiteral("ILogo"))->pixmap().isNull());
        info->hide();

        // Opened again for another editor: the first one is not left disabled.
        QWidget first;
        QWidget second;
        ShowInformation(&first);
        ShowInformation(&second);
        QVERIFY(first.isEnabled());
        QVERIFY(!second.isEnabled());
        info->close();
        QVERIFY(second.isEnabled());
    }

    void linksOpenTheManualAndTheUpdatePage()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        OpenManual();
        OpenUpdatePage();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.opened.size(), 2);
        QCOMPARE(catcher.opened.at(0).toLocalFile(),
                 QDir::current().absoluteFilePath(QStringLiteral("manual.pdf")));
        QCOMPARE(catcher.opened.at(1).path(), QStringLiteral("/updates.html"));
        QCOMPARE(catcher.opened.at(1).host(), QUrl(QString::fromLatin1(kProductWebSite)).host());
    }
};

QTEST_MAIN(TestCommonWindows)
#include "tst_commonwindows.moc"

// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/F_Info.h"

#include "common/interfacetexts.h"
#include "common/links.h"
#include "common/session.h"
#include "common/version.h"
#include "common/windowplacement.h"
#include "imaging/pictureloader.h"

#include <QHideEvent>
#include <QLabel>
#include <QPixmap>

namespace {

const QString kLogo = QStringLiteral("Graphic/PNG/ENG/Tarvolin.png");

QLabel* textLine(QWidget* parent, const char* name, const QRect& geometry, int pixelSize, bool bold)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

} // namespace

TFinfo::TFinfo(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TFinfo"));
    setFixedSize(341, 222);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    LTitle = textLine(this, "LTitle", QRect(8, 8, 321, 20), 15, true);
    LAbout = textLine(this, "LAbout", QRect(8, 34, 321, 40), 12, false);
    LInternet = textLine(this, "LInternet", QRect(8, 80, 321, 14), 12, false);
    LInternet->setWordWrap(false);
    LLicence = textLine(this, "LLicence", QRect(8, 102, 321, 56), 11, false);
    LFiles = textLine(this, "LFiles", QRect(8, 164, 280, 50), 11, false);
    LFiles->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ILogo = new QLabel(this);
    ILogo->setObjectName(QStringLiteral("ILogo"));
    ILogo->setGeometry(296, 180, 32, 32);
    ILogo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ApplyCaptions(this);
}

void TFinfo::ShowInformation(QWidget* editor)
{
    if (disabledEditor && disabledEditor != editor)
        disabledEditor->setEnabled(true);
    disabledEditor = editor;
    if (editor)
        editor->setEnabled(false);

    LInternet->setText(QString::fromLatin1(kProductWebSite));
    LTitle->setText(QString::fromLatin1(kProgramTitle));
    LAbout->setText(QStringLiteral("Your own recipe collection: typed-in recipes, deluxe "
                                   "recipes and recipes on paper, with print layouts."));
    // The notice the GNU GPL asks an interactive program to show.
    LLicence->setText(QStringLiteral("Version %1. Free software under the GNU General Public "
                                     "License, version 2 or later (%2); you may pass it on "
                                     "under its terms. It comes with no warranty.")
                          .arg(ProgramVersion(), QLatin1String(kProgramLicence)));
    LFiles->setText(QStringLiteral("Recipes, print drafts and settings are plain files "
                                   "in the folder the program was started in."));

    // A missing logo leaves the picture empty.
    const QImage logo = loadPicture(basePath(kLogo));
    if (logo.isNull())
        ILogo->clear();
    else
        ILogo->setPixmap(QPixmap::fromImage(logo));

    if (!isVisible())
        showCentred(this);
    activateWindow();
}

void TFinfo::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // However the window goes away, the editor must not stay disabled.
    if (isVisible() || !disabledEditor)
        return;
    QWidget* editor = disabledEditor;
    disabledEditor = nullptr;
    editor->setEnabled(true);
    editor->raise();
    editor->activateWindow();
}

TFinfo* InformationWindow()
{
    static QPointer<TFinfo> window;
    if (!window)
        window = new TFinfo;
    return window;
}

void ShowInformation(QWidget* editor)
{
    InformationWindow()->ShowInformation(editor);
}

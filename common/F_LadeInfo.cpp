// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/F_LadeInfo.h"

#include "common/hook.h"
#include "common/session.h"
#include "common/windowplacement.h"
#include "imaging/pictureloader.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

namespace {

const QString kLogo = QStringLiteral("Graphic/PNG/ENG/kvlogo.png");

// Lets pending paint and window-system events run without taking user input, which would
// reach commands while the caller is busy.
void letWindowsPaint()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// Waits, letting windows paint but taking no user input meanwhile.
void pause(int milliseconds)
{
    if (hookSlot<SetProgressPauseHook>()) {
        hookSlot<SetProgressPauseHook>()(milliseconds);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// A pause before the window shows lets the menu or dialog that started the work close
// and the windows below repaint; one after it hides lets them repaint where it was,
// before the caller goes on.
constexpr int kPauseBeforeShowing = 100;
constexpr int kPauseAfterHiding = 50;

} // namespace

TFLadeInfo::TFLadeInfo(QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TFLadeInfo"));
    setFixedSize(283, 53);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    ILogo = new QLabel(this);
    ILogo->setObjectName(QStringLiteral("ILogo"));
    ILogo->setGeometry(8, 8, 32, 32);
    ILogo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    LText = new QLabel(this);
    LText->setObjectName(QStringLiteral("LText"));
    LText->setGeometry(48, 16, 225, 17);
    LText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LText->setWordWrap(true);
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(13);
    LText->setFont(font);
}

void TFLadeInfo::ShowProgress()
{
    ShowProgress(QStringLiteral("Creating printing data..."));
}

void TFLadeInfo::ShowProgress(const QString& text)
{
    setWindowTitle(QStringLiteral("Hint:"));
    // A missing logo leaves the picture empty; the hint still shows.
    const QImage logo = loadPicture(basePath(kLogo));
    if (logo.isNull())
        ILogo->clear();
    else
        ILogo->setPixmap(QPixmap::fromImage(logo));
    LText->setText(text);
    if (!isVisible()) {
        pause(kPauseBeforeShowing);
        showCentred(this);
    }
    // The caller prepares the print data right after this without returning to the event
    // loop: paint the window now instead of waiting for it to appear.
    letWindowsPaint();
    repaint();
}

void TFLadeInfo::HideProgress()
{
    hide();
    letWindowsPaint();
    pause(kPauseAfterHiding);
}

TFLadeInfo* ProgressWindow()
{
    static QPointer<TFLadeInfo> window;
    if (!window)
        window = new TFLadeInfo;
    return window;
}

void ShowProgress()
{
    ProgressWindow()->ShowProgress();
}

void ShowProgress(const QString& text)
{
    ProgressWindow()->ShowProgress(text);
}

void HideProgress()
{
    ProgressWindow()->HideProgress();
}

void SetProgressPauseHook(ProgressPauseHook hook)
{
    hookSlot<SetProgressPauseHook>() = std::move(hook);
}

// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QWidget>

#include <functional>

class QLabel;

// A small always-on-top window that says print data are being prepared. One instance,
// shown by ShowProgress and hidden by HideProgress; its controls are ILogo and LText.
class TFLadeInfo : public QWidget {
    Q_OBJECT
public:
    explicit TFLadeInfo(QWidget* parent = nullptr);

    /// Sets the title, the logo and the text and shows the window (not modal).
    void ShowProgress();
    /// As ShowProgress with another text (an import counting its recipes); showing it
    /// again only changes the text.
    void ShowProgress(const QString& text);
    void HideProgress();

private:
    QLabel* ILogo;
    QLabel* LText;
};

/// The one progress window, created on first use.
TFLadeInfo* ProgressWindow();

/// Shows the progress window, after a pause of 100 ms, and lets it paint before
/// returning, as the caller goes on to work without returning to the event loop.
/// Showing it twice shows it once.
void ShowProgress();
/// As ShowProgress, with text in place of the print hint.
void ShowProgress(const QString& text);

/// Hides the progress window and lets the windows it covered repaint for 50 ms.
void HideProgress();

using ProgressPauseHook = std::function<void(int milliseconds)>;

/// Routes the progress window's pauses to hook, which is told their length instead of
/// waiting (tests); an empty hook restores the waiting.
void SetProgressPauseHook(ProgressPauseHook hook);

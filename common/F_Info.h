// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;

// The information window about the program, opened from the editor. One instance; its
// controls are ILogo, LInternet and the text lines LTitle, LAbout, LLicence (the version
// and the licence) and LFiles.
class TFinfo : public QWidget {
    Q_OBJECT
public:
    explicit TFinfo(QWidget* parent = nullptr);

    /// Disables editor (may be nullptr), fills the texts and the logo and shows the
    /// window (not modal). Closing the window enables editor again.
    void ShowInformation(QWidget* editor);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QLabel* ILogo;
    QLabel* LInternet;
    QLabel* LTitle;
    QLabel* LAbout;
    QLabel* LLicence;
    QLabel* LFiles;
    QPointer<QWidget> disabledEditor;
};

/// The one information window, created on first use.
TFinfo* InformationWindow();

/// Shows the information window; editor stays disabled until the window is closed.
void ShowInformation(QWidget* editor);

// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget* window)
{
    QScreen* screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void showCentred(QWidget* window)
{
    centreOnScreen(window);
    window->show();
    centreOnScreen(window);
}

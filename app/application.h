// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QString>
#include <memory>

class TFKVE;
class TFMain;

/// The program's start-up and its windows. start() runs every step up to the shown
/// main window; the caller then runs the event loop.
class Application {
public:
    Application();
    ~Application();

    /// Starts in the current folder. Returns false when the program must end at once:
    /// an options file with a wrong header (quietly), or one that cannot be created or
    /// read (error then says why).
    bool start(QString* error);

    TFMain* mainWindow() const { return m_main.get(); }
    TFKVE* editor() const { return m_editor.get(); }
    Catalogue& catalogue() { return m_catalogue; }

private:
    Catalogue m_catalogue;
    std::unique_ptr<TFMain> m_main;
    std::unique_ptr<TFKVE> m_editor;

    void connectWindows();
};

/// Runs the program with its windows; returns the exit code.
int runProgram(int argc, char* argv[]);

// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/application.h"
#include "app/commandline.h"
#include "common/version.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>

namespace {

bool hasOption(int argc, char* argv[], std::initializer_list<const char*> options)
{
    for (int i = 1; i < argc; ++i) {
        for (const char* option : options) {
            // "--print-pdf OUT" or "--print-pdf=OUT"
            const size_t length = std::strlen(option);
            if (std::strncmp(argv[i], option, length) == 0 &&
                (argv[i][length] == '\0' || argv[i][length] == '='))
                return true;
        }
    }
    return false;
}

// The command-line modes print and end; they need no display.
bool isCommandLineMode(int argc, char* argv[])
{
    return hasOption(argc, argv,
                     {"--export-json", "--list", "--help", "-h", "--help-all", "--version", "-v",
                      "--print-pdf", "--print-list-pdf", "--print", "--print-list", "--import",
                      "--shopping-list", "--print-book", "--export-jsonld",
                      "--export-mealmaster", "--export-html"});
}

// Printing lays pages out with fonts and the preview's controls, which need a GUI
// application; it shows no window, so no display is needed either.
bool printsPages(int argc, char* argv[])
{
    return hasOption(
        argc, argv, {"--print-pdf", "--print-list-pdf", "--print", "--print-list", "--print-book"});
}

// Scripts read the print modes' standard error: it carries the program's own messages
// only, not Qt's notes about the environment (an unset XDG_RUNTIME_DIR, for example).
void quietQtNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char* argv[])
{
    if (!isCommandLineMode(argc, argv))
        return runProgram(argc, argv);
    std::unique_ptr<QCoreApplication> app;
    if (printsPages(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietQtNotes);
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("dilboscan"));
    QCoreApplication::setApplicationVersion(ProgramVersion());
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    return runCommandLine(QCoreApplication::arguments(), out, err);
}

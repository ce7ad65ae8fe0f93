#include "app/application.h"
#include "app/commandline.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstring>

namespace {

// The command-line modes print and end; they need no display.
bool isCommandLineMode(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char* option :
             {"--export-json", "--list", "--help", "-h", "--help-all", "--version", "-v"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    if (!isCommandLineMode(argc, argv))
        return runProgram(argc, argv);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dilboscan"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DILBOSCAN_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    return runCommandLine(QCoreApplication::arguments(), out, err);
}

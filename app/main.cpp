#include "app/commandline.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dilboscan"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DILBOSCAN_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    return runCommandLine(QCoreApplication::arguments(), out, err);
}

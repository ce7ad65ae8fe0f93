// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/options.h"

#include "platform/filelookup.h"
#include "platform/safefile.h"
#include "platform/textfile.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kPaperFormats = 5;

} // namespace

Settings initialSettings(const QString& baseFolder)
{
    Settings s;
    s.lastPictureFolder = baseFolder;
    return s;
}

QString optionsFilePath(const QString& baseFolder)
{
    const QString exact = baseFolder + QStringLiteral("PRGDATA/Options.kv");
    const QString found = lookupPath(exact);
    return found.isEmpty() ? exact : found;
}

QByteArray optionsFileBytes(const Settings& s)
{
    LineWriter out;
    out.writeText(kOptionsHeader);
    out.writeInteger(s.tooltips);
    out.writeText(pathToFileText(s.lastPictureFolder));
    out.writeInteger(s.formatIndex);
    out.writeInteger(s.landscape ? 1 : 0);
    return out.data();
}

bool CreateDefaultOptions(const QString& baseFolder, const Settings& settings, QString* error)
{
    const QString path = optionsFilePath(baseFolder);
    if (QFileInfo::exists(path))
        return true;
    Settings defaults = settings;
    defaults.tooltips = 1;
    return writeFileAtomically(path, optionsFileBytes(defaults), error);
}

OptionsRead ReadOptions(const QString& baseFolder, Settings& settings, QString* error)
{
    const QString path = optionsFilePath(baseFolder);
    QByteArray bytes;
    if (!readWholeFile(path, &bytes, error))
        return OptionsRead::Failed;
    LineReader in(bytes);
    if (in.readLine() != kOptionsHeader)
        return OptionsRead::WrongHeader;

    Settings read = settings;
    if (!in.atEnd())
        read.tooltips = in.readInteger();
    if (!in.atEnd())
        read.lastPictureFolder = fileTextToPath(in.readLine());
    if (!in.atEnd()) {
        const int format = in.readInteger();
        if (format >= 0 && format < kPaperFormats)
            read.formatIndex = format;
    }
    if (!in.atEnd())
        read.landscape = in.readInteger() != 0;
    if (!in.ok()) {
        if (error) {
            *error = QStringLiteral("%1, line %2: %3")
                         .arg(QDir::toNativeSeparators(path))
                         .arg(in.errorLine())
                         .arg(in.error());
        }
        return OptionsRead::Failed;
    }
    settings = read;
    return OptionsRead::Read;
}

bool WriteOptions(const QString& baseFolder, const Settings& settings, QString* error)
{
    return writeFileAtomically(optionsFilePath(baseFolder), optionsFileBytes(settings), error);
}

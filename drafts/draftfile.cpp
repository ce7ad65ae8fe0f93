// SPDX-License-Identifier: GPL-2.0-or-later

#include "drafts/draftfile.h"

#include "platform/cp1252.h"
#include "platform/filelookup.h"
#include "platform/safefile.h"
#include "platform/textfile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

namespace {

QString existingOr(const QString& path)
{
    const QString found = lookupPath(path);
    return found.isEmpty() ? path : found;
}

QString shownPath(const QString& file)
{
    return QDir::toNativeSeparators(file);
}

/// Reads a list of text lines that the file says has count entries; lines past the end
/// of the file are not made.
QStringList readLines(LineReader& in, qint32 count)
{
    QStringList lines;
    for (qint32 i = 0; i < count && !in.atEnd(); ++i)
        lines << cp1252::toUnicode(in.readLineView());
    return lines;
}

void skipLines(LineReader& in, int count)
{
    for (int i = 0; i < count; ++i)
        in.skipLine();
}

} // namespace

QString draftFolder(const QString& baseFolder, int kind)
{
    return existingOr(baseFolder + (kind != 0 ? QStringLiteral("PRGDATA/drafts/deluxe")
                                              : QStringLiteral("PRGDATA/drafts/normal"))) +
           QLatin1Char('/');
}

QString standardDraftPath(const QString& baseFolder, int kind)
{
    return existingOr(draftFolder(baseFolder, kind) + QLatin1String(kStandardDraftName));
}

QString thumbnailPath(const QString& baseFolder, int kind, const QString& draftFile)
{
    return existingOr(draftFolder(baseFolder, kind) + fileNameOf(draftFile) +
                      QStringLiteral(".bmp"));
}

DraftRead parseDraft(const QByteArray& bytes, const QString& file, TDruckvorlage& draft,
                     QString* error, bool* endedEarly)
{
    LineReader in(bytes);
    if (in.readLineView() != QByteArrayView(kDraftHeader)) {
        draft.Placements.clear();
        if (error)
            *error = QStringLiteral("%1 is not a print draft").arg(shownPath(file));
        return DraftRead::WrongHeader;
    }
    // Read into a copy: a draft that stops at a malformed line is never half taken over.
    TDruckvorlage read = draft;
    read.Placements.clear();
    read.Spare = cp1252::toUnicode(in.readLineView());
    read.DisplayName = cp1252::toUnicode(in.readLineView());
    // A number the file should hold but that lies past its end reads as 0: the file
    // ended early (cut off), which the caller may want to know.
    bool cut = false;
    auto number = [&in, &cut] {
        cut = cut || in.atEnd();
        return in.readLeadingInteger();
    };
    read.LayoutKind = number();
    read.PaperFormat = number();
    read.Landscape = number() != 0;
    read.LastPage = number();
    read.SpareLines = readLines(in, number());
    read.DraftComments = readLines(in, number());
    skipLines(in, kDraftReservedLines);
    const qint32 count = number();
    for (qint32 i = 0; i < count && !in.atEnd() && in.ok(); ++i) {
        TElementPlacement p;
        p.Top = number();
        p.Left = number();
        p.Page = number();
        skipLines(in, kDraftReservedLines);
        read.Placements << p;
    }
    cut = cut || read.Placements.size() < count;
    if (!in.ok()) {
        if (error) {
            *error = QStringLiteral("%1, line %2: %3")
                         .arg(shownPath(file))
                         .arg(in.errorLine())
                         .arg(in.error());
        }
        return DraftRead::Malformed;
    }
    draft = std::move(read);
    if (endedEarly)
        *endedEarly = cut;
    return DraftRead::Read;
}

DraftRead readDraftFile(const QString& file, TDruckvorlage& draft, QString* error,
                        bool* endedEarly)
{
    if (file.isEmpty()) {
        if (error)
            *error = QStringLiteral("No draft file is named");
        return DraftRead::Missing;
    }
    const QString path = lookupPath(file);
    QByteArray bytes;
    if (path.isEmpty() || !readWholeFile(path, &bytes, error)) {
        if (error && path.isEmpty())
            *error = QStringLiteral("%1 does not exist").arg(shownPath(file));
        return DraftRead::Missing;
    }
    return parseDraft(bytes, path, draft, error, endedEarly);
}

QByteArray draftFileBytes(const TDruckvorlage& draft)
{
    LineWriter out;
    out.reserve(512);
    out.writeText(kDraftHeader);
    out.writeText(cp1252::fromUnicode(draft.Spare));
    out.writeText(cp1252::fromUnicode(draft.DisplayName));
    out.writeInteger(draft.LayoutKind);
    out.writeInteger(draft.PaperFormat);
    out.writeInteger(draft.Landscape ? 1 : 0);
    out.writeInteger(draft.LastPage);
    out.writeInteger(draft.SpareLines.size());
    for (const QString& line : draft.SpareLines)
        out.writeText(cp1252::fromUnicode(line));
    out.writeInteger(draft.DraftComments.size());
    for (const QString& line : draft.DraftComments)
        out.writeText(cp1252::fromUnicode(line));
    out.writeEmptyLines(kDraftReservedLines);
    out.writeInteger(draft.Placements.size());
    for (const TElementPlacement& p : draft.Placements) {
        out.writeInteger(p.Top);
        out.writeInteger(p.Left);
        out.writeInteger(p.Page);
        out.writeEmptyLines(kDraftReservedLines);
    }
    return out.data();
}

QByteArray bitmapFileBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
    return bytes;
}

bool WriteDraft(const TDruckvorlage& draft, const QImage& thumbnail, const QString& baseFolder,
                QString* error)
{
    if (draft.DraftFile.isEmpty()) {
        if (error)
            *error = QStringLiteral("No draft file is named");
        return false;
    }
    const bool withThumbnail = draft.LayoutKind == 0 || draft.LayoutKind == 1;
    const QString thumb =
        withThumbnail ? thumbnailPath(baseFolder, draft.LayoutKind, draft.DraftFile) : QString();
    QByteArray bmp;
    if (withThumbnail) {
        bmp = bitmapFileBytes(thumbnail);
        if (bmp.isEmpty()) {
            if (error)
                *error = QStringLiteral("%1: the thumbnail cannot be made").arg(shownPath(thumb));
            return false;
        }
    }
    // The draft first, then its thumbnail: a program killed in between leaves the new
    // draft with its old picture, never a new picture beside an old draft.
    const QString file = existingOr(draft.DraftFile);
    QByteArray oldDraft;
    const bool hadDraft = QFileInfo(file).isFile() && readWholeFile(file, &oldDraft);
    if (!writeFileAtomically(file, draftFileBytes(draft), error))
        return false;
    if (!withThumbnail || writeFileAtomically(thumb, bmp, error))
        return true;
    // The thumbnail cannot be written: the draft goes back to what it was.
    if (hadDraft)
        writeFileAtomically(file, oldDraft);
    else
        removeFile(file);
    return false;
}

namespace {

/// The draft in file when it can be read whole.
bool readWholeDraft(const QString& file, TDruckvorlage& draft, QString* error)
{
    bool cut = false;
    if (readDraftFile(file, draft, error, &cut) != DraftRead::Read)
        return false;
    if (cut && error)
        *error = QStringLiteral("%1 ends early").arg(shownPath(file));
    return !cut;
}

} // namespace

bool StandardDraftHasOtherPaper(const QString& file, int format, bool landscape)
{
    TDruckvorlage draft;
    return readWholeDraft(file, draft, nullptr) &&
           (draft.PaperFormat != format || draft.Landscape != landscape);
}

bool SetDraftPaper(const QString& file, int format, bool landscape, QString* error)
{
    TDruckvorlage draft;
    if (!readWholeDraft(file, draft, error))
        return false;
    draft.PaperFormat = format;
    draft.Landscape = landscape;
    return writeFileAtomically(file, draftFileBytes(draft), error);
}

// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "drafts/draft.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// Print draft files: a layout of the preview stored as Windows-1252 text with CR LF line
// ends ("[KV 2.0]"), and the thumbnail bitmap beside each draft ("Sunday.kvp.bmp").
// Drafts of the normal layout live in PRGDATA/drafts/normal/, those of the deluxe
// layout in PRGDATA/drafts/deluxe/; each folder also holds the standard draft
// "Standard.KVP.E" that the preview applies when it opens.

inline constexpr char kDraftHeader[] = "[KV 2.0]";
inline constexpr char kStandardDraftName[] = "Standard.KVP.E";
/// Reserved lines after the comments, and after each placement.
inline constexpr int kDraftReservedLines = 10;

/// The draft folder of a layout kind below a base folder, with a trailing "/": the
/// deluxe folder for any kind other than 0.
QString draftFolder(const QString& baseFolder, int kind);

/// The standard draft of a layout kind (an existing file under another case of its
/// name is found).
QString standardDraftPath(const QString& baseFolder, int kind);

/// The thumbnail of a draft: the draft's file name followed by ".bmp", in the folder of
/// the layout kind.
QString thumbnailPath(const QString& baseFolder, int kind, const QString& draftFile);

enum class DraftRead {
    Read,        ///< the draft was read (a file that ends early included)
    Missing,     ///< no such file, or it cannot be read; draft unchanged
    WrongHeader, ///< not a draft: draft.Placements emptied, every other field unchanged
    Malformed,   ///< a line that should hold a number holds none; draft unchanged
};

/// Reads the draft file into draft (its DraftFile is left alone). A text read past the
/// end of the file is empty and a number 0; a count of 0 or less is an empty list;
/// entries of a list that would start after the end of the file are not made, so a
/// huge count allocates no more than the file holds. Every result but Read sets error
/// (naming the file, and for Malformed the line). endedEarly (if given) tells, for
/// Read, whether the file ended before a number it should hold (a cut-off file).
DraftRead readDraftFile(const QString& file, TDruckvorlage& draft, QString* error = nullptr,
                        bool* endedEarly = nullptr);

/// readDraftFile that answers whether the draft was read.
inline bool ReadDraft(const QString& file, TDruckvorlage& draft, QString* error = nullptr)
{
    return readDraftFile(file, draft, error) == DraftRead::Read;
}

/// Parses the bytes of a draft file; file only names it in errors.
DraftRead parseDraft(const QByteArray& bytes, const QString& file, TDruckvorlage& draft,
                     QString* error = nullptr, bool* endedEarly = nullptr);

/// The bytes of the draft file of draft: the header, the texts and numbers, the three
/// counts as the lists' lengths, every reserved line empty, CR LF after every line.
QByteArray draftFileBytes(const TDruckvorlage& draft);

/// The bytes of a Windows bitmap file of image (24 bits per pixel).
QByteArray bitmapFileBytes(const QImage& image);

/// Writes draft.DraftFile and then the thumbnail (for layout kinds 0 and 1). Both are
/// replaced through a temporary file; when the thumbnail cannot be written, the draft
/// that was there before is put back (a new one removed), so a failed save leaves the
/// old draft and its thumbnail as they were. Returns false with error naming the file.
bool WriteDraft(const TDruckvorlage& draft, const QImage& thumbnail, const QString& baseFolder,
                QString* error = nullptr);

/// Whether the standard draft file of a layout kind lays out on another paper than
/// format and orientation. No when it cannot be read whole (missing, not a draft,
/// damaged or cut off): there is no layout of the user's to keep the paper in.
bool StandardDraftHasOtherPaper(const QString& file, int format, bool landscape);

/// Rewrites the draft file with format and orientation, everything else as it was
/// (through a temporary file). False with error naming the file when it cannot be read
/// whole or written.
bool SetDraftPaper(const QString& file, int format, bool landscape, QString* error = nullptr);

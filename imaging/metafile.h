// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Windows metafiles, the vector pictures of old collections: WMF (with or without the
// placeable header) and EMF. They are checked record by record, turned into SVG by
// libwmf and libemf2svg, and drawn with Qt's SVG renderer at their natural size, or
// smaller where they are used smaller: a few bytes can declare a picture of 100,000
// pixels a side, and drawing costs its area for every record.

enum class MetafileKind { None, Wmf, Emf };

/// The kind of metafile bytes hold, by their header; None for anything else.
MetafileKind metafileKind(const QByteArray& bytes);

/// Checks that every record lies inside the file, that the records end with the end
/// record, and that the picture's frame is sane. On failure why says what is wrong.
bool checkMetafile(const QByteArray& bytes, MetafileKind kind, QString* why);

/// The natural size of a checked metafile in pixels at 96 dpi: an EMF's frame, a
/// placeable WMF's bounding box in its units per inch, or a plain WMF's window extent
/// (taken as 1,440 units per inch, as Windows does).
QSize metafileNaturalSize(const QByteArray& bytes, MetafileKind kind);

/// The SVG text of a checked metafile, made in this process; empty on failure.
QByteArray metafileToSvg(const QByteArray& bytes, MetafileKind kind, QSize natural, QString* why);

/// The largest size a metafile is drawn at unless its use asks for less: every sheet of
/// the print preview fits (the tallest, Legal, is 1,268 pixels at 96 dpi), and no
/// window shows a picture larger than the sheet.
inline constexpr QSize kMetafileDrawLimit(1280, 1280);

/// The size a metafile of natural size is drawn at within bound: its natural size when
/// it fits, otherwise scaled down to fit (aspect kept, at least 1 pixel a side).
QSize metafileDrawSize(QSize natural, QSize bound);

/// Where the conversion and the drawing run. The libraries are C code that a hostile
/// file might crash or stall, and their SVG can keep the renderer busy for minutes, so
/// the program converts and draws in a short-lived child process with limits on memory
/// and time, which hands back the pixels; tests and the fuzzer work in their own process.
enum class Isolation { ChildProcess, InProcess };

/// Draws a metafile on white at metafileDrawSize(natural size, bound). On failure
/// returns a null image and why says what went wrong (without the file name).
QImage renderMetafile(const QByteArray& bytes, MetafileKind kind, QString* why,
                      Isolation isolation = Isolation::ChildProcess,
                      QSize bound = kMetafileDrawLimit);

#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Windows metafiles, the vector pictures of old collections: WMF (with or without the
// placeable header) and EMF. They are checked record by record, turned into SVG by
// libwmf and libemf2svg, and drawn with Qt's SVG renderer at their natural size.

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

/// Where the conversion runs. The libraries are C code that a hostile file might crash
/// or stall, so the program converts in a short-lived child process with limits on
/// memory and time; tests and the fuzzer call the libraries directly.
enum class Isolation { ChildProcess, InProcess };

/// Renders a metafile at its natural size on white. On failure returns a null image
/// and why says what went wrong (without the file name).
QImage renderMetafile(const QByteArray& bytes, MetafileKind kind, QString* why,
                      Isolation isolation = Isolation::ChildProcess);

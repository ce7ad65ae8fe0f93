// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QList>
#include <QRectF>
#include <QString>

class QIODevice;

// Links inside a PDF document and its outline (bookmarks), added to a finished file as
// an incremental update: the objects Qt's PDF writer wrote stay as they are, and new
// versions of the few that change (the catalogue, the pages' annotation arrays) follow
// them with a cross-reference section of their own that points back to the first one.
// Qt's writer has no way to make a link to a page of the same document or an outline,
// so this is how a cookbook's contents become clickable.

namespace pdfnav {

/// A clickable area on page (from 0) that shows page target (from 0) at its top.
/// rect is in points (1/72 inch) from the paper's top-left corner.
struct Link {
    int page = 0;
    QRectF rect;
    int target = 0;
};

/// An outline entry that shows page (from 0) at its top, with its own entries.
struct OutlineItem {
    QString title;
    int page = 0;
    QList<OutlineItem> children;
};

/// Appends links and outline to the PDF document in device (open for reading and
/// writing). The document must end with a classic cross-reference table, as Qt's PDF
/// writer makes it. The outline is opened beside the pages when the document opens.
/// Returns false with error (starting with what went wrong, the caller adds the file)
/// when the document cannot be read so, when a page number is out of range, or when the
/// update cannot be written; the document may then hold a partial update.
bool addNavigation(QIODevice& device, const QList<Link>& links, const QList<OutlineItem>& outline,
                   QString* error);

} // namespace pdfnav

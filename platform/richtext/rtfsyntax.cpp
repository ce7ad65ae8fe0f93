// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/rtfsyntax.h"

namespace rich::rtf {

QString normalizedFontName(const QString& name)
{
    QString out;
    out.reserve(qMin<qsizetype>(name.size(), kMaxFontNameLength));
    for (QChar ch : name) {
        if (out.size() >= kMaxFontNameLength)
            break;
        if (!isDroppedChar(ch.unicode()) && ch != u'\t')
            out.append(ch);
    }
    return out.trimmed();
}

} // namespace rich::rtf

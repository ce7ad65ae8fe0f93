// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/ansivalidator.h"

#include "platform/cp1252.h"

QValidator::State AnsiValidator::validate(QString& input, int& pos) const
{
    // Only text that needs it is converted; the position stays valid because a
    // replaced character is replaced one for one (surrogate pairs become one "?").
    const QString stored = cp1252::toUnicode(cp1252::fromUnicode(input));
    if (stored != input) {
        const QString before = cp1252::toUnicode(cp1252::fromUnicode(input.left(pos)));
        input = stored;
        pos = int(before.size());
    }
    return Acceptable;
}

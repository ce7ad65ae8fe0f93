// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

class QLineEdit;
class QString;

// The editor's one-line fields keep the length the user may type up to separate from the
// text the program puts in: texts a recipe file holds may be longer and are kept whole.

namespace kve {

/// Lets the user type up to length characters into edit.
void setTypingLimit(QLineEdit* edit, int length);

/// Puts text into edit whole, past its typing limit if need be.
void setFieldText(QLineEdit* edit, const QString& text);

/// Empties edit and gives it back its typing limit.
void clearField(QLineEdit* edit);

} // namespace kve

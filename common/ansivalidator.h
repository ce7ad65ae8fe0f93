// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QValidator>

/// A validator for edit boxes whose text is stored as Windows-1252: every typed or
/// pasted character the code page cannot hold becomes "?" at once, so the field shows
/// what will be saved.
class AnsiValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

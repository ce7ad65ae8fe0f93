// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/errorreport.h"

#include "common/interfacetexts.h"

#include <QMessageBox>
#include <QSet>

namespace {

ErrorReportHook& hook()
{
    static ErrorReportHook instance;
    return instance;
}

} // namespace

void ReportError(QWidget* parent, const QString& text)
{
    if (hook()) {
        hook()(text);
        return;
    }
    QMessageBox::critical(parent, QLatin1String(kProgramTitle), text);
}

void ReportErrorOnce(QWidget* parent, const QString& text)
{
    static QSet<QString> reported;
    if (reported.contains(text))
        return;
    reported.insert(text);
    ReportError(parent, text);
}

void SetErrorReportHook(ErrorReportHook newHook)
{
    hook() = std::move(newHook);
}

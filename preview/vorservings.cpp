// SPDX-License-Identifier: GPL-2.0-or-later

// The preview's servings control: the recipe printed for another number of people.

#include "preview/F_Vor.h"

#include "common/errorreport.h"
#include "platform/richtext/richlayout.h"
#include "preview/render.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QScrollArea>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMostServings = 999;
constexpr double kSmallestFactor = 0.5;
constexpr double kLargestFactor = 99;

int widestLine(rich::RenderTarget& screen, const rich::RichDocument& doc)
{
    int widest = 0;
    for (int line = 0; line < doc.lineCount(); ++line)
        widest = std::max(widest, rich::MeasureLineWidth(screen, doc, line));
    return widest;
}

} // namespace

void TFVor::StartServings(const QString& servingsField, bool keepCount)
{
    const double shown = ServingsBox->value();
    if (!keepCount) // a new recipe: keys and the wheel go to the sheet until the box is chosen
        m_scroll->setFocus(Qt::OtherFocusReason);
    m_servings.reset();
    m_servingsBase = ::servingsBase(servingsField);
    const ServingsBase& base = m_servingsBase;
    const QSignalBlocker quiet(ServingsBox);
    if (base.byFactor) {
        // Without servings the recipe is scaled by a factor: "×2" doubles every amount.
        ServingsLabel->setText(QStringLiteral("Factor"));
        ServingsBox->setDecimals(1);
        ServingsBox->setRange(kSmallestFactor, kLargestFactor);
        ServingsBox->setSingleStep(0.5);
        ServingsBox->setPrefix(QStringLiteral("\u00d7"));
    } else {
        ServingsLabel->setText(QStringLiteral("Servings"));
        const bool whole = base.servings == std::floor(base.servings);
        ServingsBox->setDecimals(whole ? 0 : 2);
        ServingsBox->setRange(std::min(1.0, base.servings), std::max(kMostServings, base.servings));
        ServingsBox->setSingleStep(1);
        ServingsBox->setPrefix(QString());
    }
    ServingsBox->setValue(keepCount ? shown : base.servings);
    const double factor = base.factorFor(ServingsBox->value());
    if (!keepCount || factor == 1 || m_elements.size() != kElementCount)
        return;
    // The same recipe filled again (another draft): its new copies take the count shown.
    QString error;
    if (!m_servings.apply(m_elements, factor, nullptr, &error))
        ReportError(this, error);
}

void TFVor::ServingsChange(double value)
{
    if (m_elements.size() != kElementCount)
        return;
    DeselectAll();
    QList<ServingsScaler::Change> changes;
    QString error;
    const bool written =
        m_servings.apply(m_elements, m_servingsBase.factorFor(value), &changes, &error);
    for (const ServingsScaler::Change& change : std::as_const(changes))
        layOutScaled(change);
    Redraw(false);
    if (!written)
        ReportError(this, error);
}

void TFVor::layOutScaled(const ServingsScaler::Change& change)
{
    TGFXL& e = m_elements[change.element];
    if (!e.Shown) // laid out from its new text when it is shown
        return;
    if (!isColumn(change.element)) {
        // Laid out again at its width, an element would wrap a line that grew; one that
        // was as wide as its text grows with it instead.
        const int width =
            scaledTextWidth(e.width(), widestLine(*m_screen, change.before),
                            widestLine(*m_screen, change.after), sheetSize().width() - e.Left);
        if (width != e.width())
            e.Bitmap = rich::newScreenImage(QSize(width, std::max(e.height(), 1)));
    }
    RenderElement(false, change.element);
}

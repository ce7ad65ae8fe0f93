#include "platform/richtext/fonttransfer.h"

#include "platform/richtext/rendertarget.h"

#include <QFontInfo>

namespace rich {

namespace {

void copyParts(const CharFormat& from, quint8 parts, CharFormat& to)
{
    if (parts & FacePart)
        to.fontName = from.fontName;
    if (parts & SizePart) {
        to.halfPoints = from.halfPoints;
        to.heightPx = from.heightPx;
    }
    if (parts & StylePart)
        to.style = from.style;
    if (parts & PitchPart)
        to.pitch = from.pitch;
}

} // namespace

QFont toQFont(const CharFormat& format)
{
    QFont font(format.fontName);
    font.setPointSizeF(format.halfPoints > 0 ? format.pointSize() : 10.0);
    font.setBold(format.style & Bold);
    font.setItalic(format.style & Italic);
    font.setUnderline(format.style & Underline);
    font.setStrikeOut(format.style & StrikeOut);
    if (format.pitch == Pitch::Fixed) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter);
    }
    return font;
}

CharFormat fromQFont(const QFont& font, const CharFormat& base)
{
    CharFormat format = base;
    format.fontName = font.family();
    if (font.pointSizeF() > 0)
        format.setPointSize(font.pointSizeF());
    else if (font.pixelSize() > 0)
        format.setPointSize(font.pixelSize() * 72.0 / kScreenDpi);
    format.style = 0;
    if (font.bold())
        format.style |= Bold;
    if (font.italic())
        format.style |= Italic;
    if (font.underline())
        format.style |= Underline;
    if (font.strikeOut())
        format.style |= StrikeOut;
    // A dialog hands back a face, not a pitch request: ask the face itself.
    format.pitch =
        font.fixedPitch() || QFontInfo(font).fixedPitch() ? Pitch::Fixed : Pitch::Default;
    return format;
}

void FontFromSelection(CharFormat& font, const RichDocument& doc)
{
    copyParts(doc.selectionFormat(), AllFontParts, font);
}

void FontFromSelection(QFont& font, const RichDocument& doc)
{
    const QFont selected = toQFont(doc.selectionFormat());
    font.setFamily(selected.family());
    font.setPointSizeF(selected.pointSizeF());
    font.setBold(selected.bold());
    font.setItalic(selected.italic());
    font.setUnderline(selected.underline());
    font.setStrikeOut(selected.strikeOut());
    font.setFixedPitch(selected.fixedPitch());
    font.setStyleHint(selected.styleHint());
}

void applyFontParts(const CharFormat& font, quint8 parts, RichDocument& doc)
{
    doc.changeSelectionFormat([&font, parts](CharFormat& f) { copyParts(font, parts, f); });
}

void ApplyFontToSelection(RenderTarget* alsoPrinter, const CharFormat& font, RichDocument& doc)
{
    if (alsoPrinter) {
        CharFormat canvas = alsoPrinter->canvasFont();
        copyParts(font, AllFontParts, canvas);
        alsoPrinter->setCanvasFont(canvas);
    }
    applyFontParts(font, AllFontParts, doc);
}

void ApplyFontToSelection(RenderTarget* alsoPrinter, const QFont& font, RichDocument& doc)
{
    ApplyFontToSelection(alsoPrinter, fromQFont(font), doc);
}

void ApplyFontToSelectionKeepStyle(const CharFormat& font, RichDocument& doc)
{
    applyFontParts(font, FacePart | SizePart | PitchPart, doc);
}

void ApplyFontToSelectionKeepStyle(const QFont& font, RichDocument& doc)
{
    ApplyFontToSelectionKeepStyle(fromQFont(font), doc);
}

} // namespace rich

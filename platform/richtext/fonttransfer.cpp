// SPDX-License-Identifier: GPL-2.0-or-later

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

// The Windows faces that files exchanged with Windows name, each with the family shown
// for it here, in the order a family that stands in for two of them is stored under.
// Resolved once, so a session stores every family under the same name.
const QList<std::pair<QString, QString>>& windowsFaces()
{
    static const QList<std::pair<QString, QString>> faces = [] {
        QList<std::pair<QString, QString>> out;
        for (const char* face :
             {"Arial", "Times New Roman", "Courier New", "Verdana", "MS Sans Serif"}) {
            const QString name = QString::fromLatin1(face);
            out.append({name, dialogFontFamily(name)});
        }
        return out;
    }();
    return faces;
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

QString dialogFontFamily(const QString& name)
{
    return QFontInfo(QFont(name)).family();
}

QString storedFontName(const QString& chosenFamily, const QString& textName)
{
    if (!textName.isEmpty() && chosenFamily == dialogFontFamily(textName))
        return textName;
    for (const auto& [face, family] : windowsFaces()) {
        if (chosenFamily == family)
            return face;
    }
    return chosenFamily;
}

QFont fontForDialog(const QFont& textFont)
{
    // The dialog lists installed families only; a Windows name it does not find would
    // start it on the application's font, with the styles of that font.
    const QFontInfo shown(textFont);
    QFont font = textFont;
    font.setFamily(shown.family());
    font.setStyleName(shown.styleName());
    return font;
}

QFont fontFromDialog(const QFont& chosen, const QFont& textFont)
{
    QFont font = chosen;
    font.setStyleName(QString()); // a style of the substitute; bold and italic say it
    font.setFamily(storedFontName(chosen.family(), textFont.family()));
    // The dialog offers whole points and starts on the text's size rounded: handed back
    // unchanged, the text keeps its own size.
    if (textFont.pointSizeF() > 0 && chosen.pointSize() == textFont.pointSize())
        font.setPointSizeF(textFont.pointSizeF());
    return font;
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

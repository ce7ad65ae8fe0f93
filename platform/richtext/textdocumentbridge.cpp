// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/textdocumentbridge.h"

#include "platform/richtext/fonttransfer.h"
#include "platform/richtext/rtfsyntax.h"

#include <QFont>
#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace rich {
namespace {

// Model attributes that QFont lacks, kept in the character format so that an edit
// round trip does not lose them.
constexpr int kPitchProperty = QTextFormat::UserProperty + 0x4450;
constexpr int kCharsetProperty = QTextFormat::UserProperty + 0x4451;
// The colour (RGB, without alpha) of text that names none: the model and the RTF writer
// take black for it.
constexpr QRgb kAutomaticColor = 0x000000;

QFont toFont(const CharFormat& f)
{
    QFont font(f.fontName);
    font.setPointSizeF(f.halfPoints / 2.0);
    font.setBold(f.style & Bold);
    font.setItalic(f.style & Italic);
    font.setUnderline(f.style & Underline);
    font.setStrikeOut(f.style & StrikeOut);
    font.setFixedPitch(f.pitch == Pitch::Fixed);
    if (f.pitch == Pitch::Fixed)
        font.setStyleHint(QFont::TypeWriter);
    return font;
}

void setHalfPoints(CharFormat& f, int halfPoints)
{
    if (halfPoints <= 0)
        return;
    f.halfPoints = halfPoints;
    f.heightPx = heightForHalfPoints(halfPoints);
}

CharFormat fromFont(const QFont& font)
{
    CharFormat f;
    f.fontName = font.family();
    if (font.pointSizeF() > 0)
        setHalfPoints(f, qRound(font.pointSizeF() * 2));
    else if (font.pixelSize() > 0)
        setHalfPoints(f, qRound(font.pixelSize() * 144.0 / 96.0));
    f.style = (font.bold() ? Bold : 0) | (font.italic() ? Italic : 0) |
              (font.underline() ? Underline : 0) | (font.strikeOut() ? StrikeOut : 0);
    f.pitch = font.fixedPitch() ? Pitch::Fixed : Pitch::Default;
    return f;
}

void setStyleBit(CharFormat& f, FontStyle bit, bool on)
{
    f.style = on ? (f.style | bit) : (f.style & ~bit);
}

} // namespace

QTextCharFormat toTextCharFormat(const CharFormat& f)
{
    QTextCharFormat q;
    q.setFontFamilies(QStringList{f.fontName});
    q.setFontPointSize(f.halfPoints / 2.0);
    q.setFontWeight((f.style & Bold) ? QFont::Bold : QFont::Normal);
    q.setFontItalic(f.style & Italic);
    q.setFontUnderline(f.style & Underline);
    q.setFontStrikeOut(f.style & StrikeOut);
    // Text in the automatic colour (black, which files store as "\cf0") gets no colour of
    // its own: it is drawn in the edit's text colour, which follows the window's state
    // (greyed while the window is disabled) as every other field's text does.
    if ((f.color & RGB_MASK) != kAutomaticColor)
        q.setForeground(QColor::fromRgba(f.color));
    q.setFontFixedPitch(f.pitch == Pitch::Fixed);
    q.setFontStyleHint(f.pitch == Pitch::Fixed ? QFont::TypeWriter : QFont::AnyStyle);
    q.setProperty(kPitchProperty, int(f.pitch));
    q.setProperty(kCharsetProperty, int(f.charset));
    return q;
}

QTextCharFormat toTextCharFormatParts(const CharFormat& format, quint8 parts)
{
    const QTextCharFormat full = toTextCharFormat(format);
    QTextCharFormat out;
    const auto copy = [&](std::initializer_list<int> properties) {
        for (int property : properties) {
            if (full.hasProperty(property))
                out.setProperty(property, full.property(property));
        }
    };
    if (parts & FacePart)
        copy({QTextFormat::FontFamilies});
    if (parts & SizePart)
        copy({QTextFormat::FontPointSize});
    if (parts & StylePart)
        copy({QTextFormat::FontWeight, QTextFormat::FontItalic, QTextFormat::TextUnderlineStyle,
              QTextFormat::FontUnderline, QTextFormat::FontStrikeOut});
    // A proportional face says "not fixed" and leaves a character's stored variable
    // pitch as it is: the text keeps its pitch when its own face is chosen again.
    if (parts & PitchPart)
        copy({QTextFormat::FontFixedPitch, QTextFormat::FontStyleHint});
    if ((parts & PitchPart) && format.pitch != Pitch::Default)
        copy({kPitchProperty});
    return out;
}

CharFormat fromTextCharFormat(const QTextCharFormat& q, const CharFormat& base)
{
    CharFormat f = base;
    if (q.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = q.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            f.fontName = families.first();
    } else if (q.hasProperty(QTextFormat::FontFamily)) {
        const QString family = q.stringProperty(QTextFormat::FontFamily);
        if (!family.isEmpty())
            f.fontName = family;
    }
    if (q.hasProperty(QTextFormat::FontPointSize))
        setHalfPoints(f, qRound(q.fontPointSize() * 2));
    else if (q.hasProperty(QTextFormat::FontPixelSize))
        setHalfPoints(f, qRound(q.intProperty(QTextFormat::FontPixelSize) * 144.0 / 96.0));
    if (q.hasProperty(QTextFormat::FontWeight))
        setStyleBit(f, Bold, q.fontWeight() >= QFont::DemiBold);
    if (q.hasProperty(QTextFormat::FontItalic))
        setStyleBit(f, Italic, q.fontItalic());
    if (q.hasProperty(QTextFormat::TextUnderlineStyle) || q.hasProperty(QTextFormat::FontUnderline))
        setStyleBit(f, Underline, q.fontUnderline());
    if (q.hasProperty(QTextFormat::FontStrikeOut))
        setStyleBit(f, StrikeOut, q.fontStrikeOut());
    if (q.hasProperty(QTextFormat::ForegroundBrush) && q.foreground().style() != Qt::NoBrush)
        f.color = q.foreground().color().rgba();

    // Qt's fixed-pitch flag decides "fixed"; the stored pitch tells "variable" from
    // "default", and a stored "fixed" no longer holds once a proportional font was set.
    Pitch stored = q.hasProperty(kPitchProperty) ? Pitch(q.intProperty(kPitchProperty)) : f.pitch;
    if (stored != Pitch::Fixed && stored != Pitch::Variable)
        stored = Pitch::Default;
    if (q.hasProperty(QTextFormat::FontFixedPitch))
        f.pitch =
            q.fontFixedPitch() ? Pitch::Fixed : (stored == Pitch::Fixed ? Pitch::Default : stored);
    else
        f.pitch = stored;
    if (q.hasProperty(kCharsetProperty))
        f.charset = quint8(qBound(0, q.intProperty(kCharsetProperty), 255));
    return f;
}

void toTextDocument(const RichDocument& doc, QTextDocument* target)
{
    const bool undo = target->isUndoRedoEnabled();
    target->setUndoRedoEnabled(false);
    target->clear();
    target->setDefaultFont(toFont(doc.defaultFormat()));

    QList<QTextCharFormat> formats(doc.formats().size());
    QList<bool> made(doc.formats().size(), false);
    auto qformat = [&](quint16 id) -> const QTextCharFormat& {
        if (id >= formats.size())
            id = 0;
        if (!made[id]) {
            formats[id] = toTextCharFormat(doc.format(id));
            made[id] = true;
        }
        return formats[id];
    };

    QTextCursor cursor(target);
    cursor.beginEditBlock();
    const QList<RichLine>& lines = doc.lines();
    if (lines.isEmpty())
        cursor.setBlockCharFormat(qformat(doc.defaultFormatId()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const RichLine& line = lines.at(i);
        if (i == 0)
            cursor.setBlockCharFormat(qformat(line.endFormat));
        else
            cursor.insertBlock(QTextBlockFormat(), qformat(line.endFormat));
        qsizetype start = 0;
        const qsizetype n = line.text.size();
        while (start < n) {
            const quint16 id = start < line.formats.size() ? line.formats[start] : line.endFormat;
            qsizetype end = start + 1;
            while (end < n &&
                   (end < line.formats.size() ? line.formats[end] : line.endFormat) == id)
                ++end;
            cursor.insertText(line.text.mid(start, end - start), qformat(id));
            start = end;
        }
    }
    cursor.endEditBlock();
    target->setUndoRedoEnabled(undo);
}

RichDocument fromTextDocument(const QTextDocument* source)
{
    RichDocument doc;
    const CharFormat base = fromFont(source->defaultFont());
    QHash<int, quint16> ids; // Qt format index -> model format id
    auto idFor = [&](const QTextCharFormat& format, int index) {
        auto it = ids.constFind(index);
        if (it == ids.constEnd())
            it = ids.insert(index, doc.intern(fromTextCharFormat(format, base)));
        return *it;
    };

    QList<RichLine>& lines = doc.lines();
    for (QTextBlock block = source->begin(); block.isValid(); block = block.next()) {
        RichLine line;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const quint16 id = idFor(fragment.charFormat(), fragment.charFormatIndex());
            const QString text = fragment.text();
            for (QChar ch : text) {
                if (ch == QChar::LineSeparator) {
                    line.endFormat = id;
                    lines.append(std::move(line));
                    line = RichLine();
                } else if (ch != QChar::ObjectReplacementCharacter &&
                           !rtf::isDroppedChar(ch.unicode())) {
                    line.text.append(ch);
                    line.formats.append(id);
                }
            }
        }
        line.endFormat = idFor(block.charFormat(), block.charFormatIndex());
        lines.append(std::move(line));
    }

    // QTextDocument always has a block: a single empty one is an empty text.
    if (lines.size() == 1 && lines.first().text.isEmpty()) {
        const quint16 id = lines.first().endFormat;
        lines.clear();
        doc.setDefaultFormat(doc.format(id));
    } else {
        doc.setDefaultFormat(doc.format(doc.formatIdAt(0)));
    }
    return doc;
}

void selectionToCursor(const RichDocument& doc, QTextCursor& cursor)
{
    const int last = qMax(0, cursor.document()->characterCount() - 1);
    const int start = qBound(0, doc.selectionStart(), last);
    const int end = qBound(start, doc.selectionStart() + doc.selectionLength(), last);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
}

void selectionFromCursor(const QTextCursor& cursor, RichDocument& doc)
{
    doc.setSelection(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
}

} // namespace rich

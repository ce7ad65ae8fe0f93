// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/rtfreader.h"

#include "platform/cp1252.h"
#include "platform/richtext/rtfreaderimpl.h"
#include "platform/safefile.h"

namespace rich {
namespace rtfread {

bool RtfReader::read(QString* error)
{
    m_doc = RichDocument();
    m_stack.reserve(64);
    m_stack.append(GroupState());

    // Leading blanks are tolerated; anything else than "{\rtf" is not RTF.
    while (!atEnd() && (byteAt(m_pos) == ' ' || byteAt(m_pos) == '\t' || byteAt(m_pos) == '\r' ||
                        byteAt(m_pos) == '\n'))
        ++m_pos;
    if (!m_data.sliced(m_pos).startsWith("{\\rtf")) {
        m_pos = 0;
        readPlainText();
        if (error)
            *error = QStringLiteral("The data is not RTF; it was read as plain text.");
        return false;
    }

    while (!atEnd() && !m_done) {
        const uchar c = byteAt(m_pos);
        switch (c) {
        case '{':
            ++m_pos;
            openGroup();
            break;
        case '}':
            ++m_pos;
            closeGroup();
            break;
        case '\\':
            controlWord();
            break;
        case '\r':
        case '\n':
            ++m_pos;
            break;
        default:
            textRun();
            break;
        }
    }
    if (!m_done && m_error.isEmpty())
        fail(QStringLiteral("The RTF data ends before its last group is closed."));
    finish();
    if (error)
        *error = m_error;
    return m_error.isEmpty();
}

void RtfReader::readPlainText()
{
    QStringView text;
    QString decoded;
    const bool utf8 = m_data.startsWith("\xEF\xBB\xBF");
    decoded = utf8 ? QString::fromUtf8(m_data.sliced(3)) : cp1252::toUnicode(m_data);
    text = decoded;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size() && !m_done; ++i) {
        const bool end = i == text.size();
        if (!end && text[i] != u'\r' && text[i] != u'\n')
            continue;
        for (QChar ch : text.sliced(start, i - start))
            addChar(ch.unicode());
        if (!end || !m_line.text.isEmpty())
            endLine();
        if (!end && text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    finish();
}

void RtfReader::fail(const QString& message)
{
    if (m_error.isEmpty())
        m_error = message;
}

} // namespace rtfread

using rtfread::RtfReader;

bool readRtf(QByteArrayView bytes, RichDocument& doc, QString* error)
{
    RtfReader reader(bytes, doc);
    return reader.read(error);
}

bool readRtfText(QByteArrayView bytes, QString* text, QString* error)
{
    RichDocument unused;
    text->clear();
    RtfReader reader(bytes, unused, text);
    return reader.read(error);
}

bool readRtfFileText(const QString& path, QString* text, QString* error)
{
    QByteArray bytes;
    if (!readWholeFile(path, &bytes, error)) {
        text->clear();
        return false;
    }
    QString message;
    const bool ok = readRtfText(bytes, text, &message);
    if (!ok && error)
        *error = QStringLiteral("%1: %2").arg(path, message);
    return ok;
}

bool readRtfFile(const QString& path, RichDocument& doc, QString* error)
{
    QByteArray bytes;
    if (!readWholeFile(path, &bytes, error)) {
        doc = RichDocument();
        return false;
    }
    QString message;
    const bool ok = readRtf(bytes, doc, &message);
    if (!ok && error)
        *error = QStringLiteral("%1: %2").arg(path, message);
    return ok;
}

} // namespace rich

// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/textfile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

bool isBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ' || c == '\x7f';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Accepts an optional sign, digits with an optional decimal point, and an optional
// exponent. Rejects words such as "nan" or "inf" that strtod would take.
bool isDecimalNumber(QByteArrayView t)
{
    qsizetype i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    qsizetype digits = 0;
    while (i < t.size() && isDigit(t[i])) {
        ++i;
        ++digits;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        const qsizetype expStart = i;
        while (i < t.size() && isDigit(t[i]))
            ++i;
        if (i == expStart)
            return false;
    }
    return i == t.size();
}

// Length of the line starting at begin: up to the first CR or LF. Each byte is looked
// at once, so splitting a file costs linear time whatever its line ends are (a search
// for LF alone would cross a whole file of bare CRs for every line).
qsizetype lineLength(const char* begin, qsizetype rest)
{
    // memchr looks at many bytes at once; searching in windows keeps a file with only
    // one kind of line break from being searched to its end for the other on each line.
    constexpr qsizetype kWindow = 256;
    for (qsizetype at = 0; at < rest; at += kWindow) {
        const qsizetype size = qMin(kWindow, rest - at);
        const auto* lf = static_cast<const char*>(memchr(begin + at, '\n', size_t(size)));
        const qsizetype limit = lf ? lf - (begin + at) : size;
        const auto* cr = static_cast<const char*>(memchr(begin + at, '\r', size_t(limit)));
        if (cr)
            return cr - begin;
        if (lf)
            return lf - begin;
    }
    return rest;
}

QString shown(QByteArrayView token)
{
    return QString::fromLatin1(token.first(qMin<qsizetype>(token.size(), 40)));
}

} // namespace

LineReader::LineReader(const QByteArray& data) : m_data(data) {}

void LineReader::fail(const QString& message)
{
    failAt(m_line, message);
}

void LineReader::failAt(int line, const QString& message)
{
    if (!ok())
        return;
    m_errorLine = line;
    m_error = message;
}

void LineReader::skipLineBreak()
{
    if (m_pos >= m_data.size())
        return;
    const char c = m_data[m_pos];
    if (c == '\r') {
        ++m_pos;
        if (m_pos < m_data.size() && m_data[m_pos] == '\n')
            ++m_pos;
        ++m_line;
    } else if (c == '\n') {
        ++m_pos;
        ++m_line;
    }
}

void LineReader::skipLine()
{
    if (!ok())
        return;
    m_pos += lineLength(m_data.data() + m_pos, m_data.size() - m_pos);
    skipLineBreak();
}

QByteArray LineReader::readLine()
{
    return readLineView().toByteArray();
}

QByteArrayView LineReader::readLineView()
{
    if (!ok() || atEnd())
        return {};
    const char* begin = m_data.data() + m_pos;
    const qsizetype len = lineLength(begin, m_data.size() - m_pos);
    const QByteArrayView line(begin, len);
    m_pos += len;
    skipLineBreak();
    return line;
}

QByteArrayView LineReader::readToken()
{
    if (!ok())
        return {};
    // Skip blanks, tabs and line breaks before the number.
    while (m_pos < m_data.size() && isBlankOrControl(m_data[m_pos])) {
        if (m_data[m_pos] == '\r' || m_data[m_pos] == '\n')
            skipLineBreak();
        else
            ++m_pos;
    }
    const qsizetype start = m_pos;
    m_tokenLine = m_line;
    while (m_pos < m_data.size() && !isBlankOrControl(m_data[m_pos]))
        ++m_pos;
    return QByteArrayView(m_data).sliced(start, m_pos - start);
}

qint32 LineReader::readInteger()
{
    return readIntegerToken(true);
}

qint32 LineReader::readLeadingInteger()
{
    return readIntegerToken(false);
}

qint32 LineReader::readIntegerToken(bool wholeToken)
{
    const QByteArrayView token = readToken();
    if (token.isEmpty()) {
        skipLine();
        return 0;
    }
    QByteArrayView digits = token;
    if (digits.front() == '+')
        digits = digits.sliced(1);
    qint32 value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (end == digits.data() || ec != std::errc() ||
        (wholeToken && end != digits.data() + digits.size())) {
        failAt(m_tokenLine, QStringLiteral("'%1' is not a valid whole number").arg(shown(token)));
        return 0;
    }
    skipLine();
    return value;
}

qint32 LineReader::readCount()
{
    const qint32 count = readInteger();
    if (count < 0) {
        failAt(m_tokenLine, QStringLiteral("negative list count %1").arg(count));
        return 0;
    }
    return count;
}

double LineReader::readDouble()
{
    const QByteArrayView token = readToken();
    if (token.isEmpty()) {
        skipLine();
        return 0;
    }
    bool valid = isDecimalNumber(token);
    double value = 0;
    if (valid) {
        value = token.toDouble(&valid);
        valid = valid && std::isfinite(value);
    }
    if (!valid) {
        failAt(m_tokenLine, QStringLiteral("'%1' is not a valid number").arg(shown(token)));
        return 0;
    }
    skipLine();
    return value;
}

void LineWriter::writeText(QByteArrayView text)
{
    // A value is one line: a line break inside it would shift every later value of the
    // file, so CR and LF are left out.
    // (memchr must not see the null data of an empty view.)
    const bool clean = text.isEmpty() || (!std::memchr(text.data(), '\r', size_t(text.size())) &&
                                          !std::memchr(text.data(), '\n', size_t(text.size())));
    if (clean) {
        m_data.append(text);
    } else {
        for (char c : text) {
            if (c != '\r' && c != '\n')
                m_data.append(c);
        }
    }
    m_data.append("\r\n", 2);
}

void LineWriter::writeInteger(qint64 value)
{
    m_data.append(QByteArray::number(value));
    m_data.append("\r\n", 2);
}

void LineWriter::writeDateTime(double value)
{
    m_data.append(formatDateTimeValue(value));
    m_data.append("\r\n", 2);
}

void LineWriter::writeEmptyLines(int count)
{
    for (int i = 0; i < count; ++i)
        m_data.append("\r\n", 2);
}

QByteArray formatDateTimeValue(double value)
{
    if (!std::isfinite(value) || value == 0)
        value = 0; // also turns -0 into 0
    char buf[64];
    // "%.14E" gives d.ddddddddddddddE+XX with at least two exponent digits.
    std::snprintf(buf, sizeof buf, "%.14E", std::fabs(value));
    const char* e = std::strchr(buf, 'E');
    const int exponent = std::atoi(e + 1);
    char out[64];
    std::snprintf(out, sizeof out, "%c%.*sE%c%04d", value < 0 ? '-' : ' ', int(e - buf), buf,
                  exponent < 0 ? '-' : '+', exponent < 0 ? -exponent : exponent);
    return QByteArray(out);
}

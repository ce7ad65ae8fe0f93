// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/cp1252.h"

#include <array>

namespace cp1252 {
namespace {

// Unicode code points of the bytes 0x80 to 0x9F; the rest of the code page equals
// Latin-1. Undefined bytes keep their own value (C1 controls).
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t decodeByte(unsigned char b)
{
    return (b >= 0x80 && b < 0xA0) ? kHighTable[b - 0x80] : char16_t(b);
}

// Returns the byte for a code point, or -1.
int encodeChar(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i) {
        if (kHighTable[i] == u)
            return 0x80 + i;
    }
    return -1;
}

struct CaseTables {
    std::array<char, 256> upper{};
    std::array<char, 256> lower{};
    CaseTables()
    {
        for (int b = 0; b < 256; ++b) {
            const QChar ch(decodeByte(static_cast<unsigned char>(b)));
            const int up = encodeChar(ch.toUpper().unicode());
            const int low = encodeChar(ch.toLower().unicode());
            upper[b] = static_cast<char>(up >= 0 ? up : b);
            lower[b] = static_cast<char>(low >= 0 ? low : b);
        }
    }
};

const CaseTables& caseTables()
{
    static const CaseTables tables;
    return tables;
}

QByteArray mapBytes(QByteArrayView bytes, const std::array<char, 256>& table)
{
    QByteArray out(bytes.size(), Qt::Uninitialized);
    char* dst = out.data();
    for (char c : bytes)
        *dst++ = table[static_cast<unsigned char>(c)];
    return out;
}

} // namespace

QString toUnicode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (char c : bytes)
        *dst++ = QChar(decodeByte(static_cast<unsigned char>(c)));
    return out;
}

void toUnicode(QByteArrayView bytes, QString* out)
{
    out->resize(bytes.size());
    QChar* dst = out->data();
    for (char c : bytes)
        *dst++ = QChar(decodeByte(static_cast<unsigned char>(c)));
}

QByteArray fromUnicode(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        // A surrogate pair is one character outside the code page: one "?".
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        const int b = encodeChar(ch.unicode());
        out.append(b >= 0 ? char(b) : '?');
    }
    return out;
}

bool canEncode(QChar ch)
{
    return encodeChar(ch.unicode()) >= 0;
}

QByteArray toUpper(QByteArrayView bytes)
{
    return mapBytes(bytes, caseTables().upper);
}

QByteArray toLower(QByteArrayView bytes)
{
    return mapBytes(bytes, caseTables().lower);
}

char toUpper(char byte)
{
    return caseTables().upper[static_cast<unsigned char>(byte)];
}

char toLower(char byte)
{
    return caseTables().lower[static_cast<unsigned char>(byte)];
}

} // namespace cp1252

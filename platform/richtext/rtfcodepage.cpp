// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/rtfcodepage.h"

#include "platform/cp1252.h"

#include <array>
#include <utility>

namespace rich::rtf {

int codepageForCharset(int charset)
{
    // ANSI, symbol, Mac, Shift-JIS, Hangul, GB2312, Big5, Greek, Turkish, Vietnamese,
    // Hebrew, Arabic, Baltic, Russian, Thai, Eastern European, OEM.
    static constexpr std::pair<int, int> kTable[] = {
        {0, 1252},   {2, kCodepageSymbol}, {77, 10000}, {128, 932},  {129, 949},  {134, 936},
        {136, 950},  {161, 1253},          {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
        {186, 1257}, {204, 1251},          {222, 874},  {238, 1250}, {255, 437}};
    for (const auto& [set, codepage] : kTable) {
        if (set == charset)
            return codepage;
    }
    return 0;
}

QByteArray decoderName(int codepage)
{
    static constexpr std::pair<int, const char*> kNames[] = {
        {932, "Shift_JIS"},   {936, "GBK"},    {949, "windows-949"}, {950, "Big5"},
        {10000, "macintosh"}, {437, "IBM437"}, {850, "IBM850"},      {65001, "UTF-8"}};
    for (const auto& [number, name] : kNames) {
        if (number == codepage)
            return name;
    }
    return "windows-" + QByteArray::number(codepage);
}

char16_t decodeCp1252(uchar byte)
{
    static const auto table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char c = char(b);
            t[b] = cp1252::toUnicode(QByteArrayView(&c, 1)).at(0).unicode();
        }
        return t;
    }();
    return table[byte];
}

} // namespace rich::rtf

// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/rtfkeywords.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace rich::rtf {
namespace {

// Control words the reader acts on. Destinations in the SkipDest rows are skipped with
// everything inside them; control words not listed are ignored.
constexpr Keyword kKeywords[] = {
    {"ansi", Kw::Ansi},
    {"ansicpg", Kw::AnsiCpg},
    {"b", Kw::Bold},
    {"bin", Kw::Bin},
    {"blue", Kw::Blue},
    {"bullet", Kw::Char, 0x2022},
    {"cell", Kw::Char, u'\t'},
    {"cf", Kw::Color},
    {"colortbl", Kw::ColorTable},
    {"deff", Kw::Deff},
    {"emdash", Kw::Char, 0x2014},
    {"emspace", Kw::Char, 0x2003},
    {"endash", Kw::Char, 0x2013},
    {"enspace", Kw::Char, 0x2002},
    {"f", Kw::Font},
    {"fcharset", Kw::FontCharset},
    {"fonttbl", Kw::FontTable},
    {"fprq", Kw::FontPitch},
    {"fs", Kw::FontSize},
    {"green", Kw::Green},
    {"i", Kw::Italic},
    {"ldblquote", Kw::Char, 0x201C},
    {"line", Kw::Par},
    {"lquote", Kw::Char, 0x2018},
    {"ltrmark", Kw::Char, 0x200E},
    {"mac", Kw::Mac},
    {"nestcell", Kw::Char, u'\t'},
    {"par", Kw::Par},
    {"pc", Kw::Pc},
    {"pca", Kw::Pca},
    {"plain", Kw::Plain},
    {"qmspace", Kw::Char, 0x2005},
    {"rdblquote", Kw::Char, 0x201D},
    {"red", Kw::Red},
    {"row", Kw::Par},
    {"rquote", Kw::Char, 0x2019},
    {"rtlmark", Kw::Char, 0x200F},
    {"strike", Kw::Strike},
    {"striked", Kw::Strike},
    {"tab", Kw::Char, u'\t'},
    {"u", Kw::U},
    {"uc", Kw::Uc},
    {"ul", Kw::Underline},
    {"uld", Kw::Underline},
    {"uldash", Kw::Underline},
    {"uldashd", Kw::Underline},
    {"uldashdd", Kw::Underline},
    {"uldb", Kw::Underline},
    {"ulhwave", Kw::Underline},
    {"ulldash", Kw::Underline},
    {"ulnone", Kw::UnderlineNone},
    {"ulth", Kw::Underline},
    {"ulthd", Kw::Underline},
    {"ulthdash", Kw::Underline},
    {"ulthdashd", Kw::Underline},
    {"ulthdashdd", Kw::Underline},
    {"ulthldash", Kw::Underline},
    {"ululdbwave", Kw::Underline},
    {"ulw", Kw::Underline},
    {"ulwave", Kw::Underline},
    {"v", Kw::Hidden},
    {"zwj", Kw::Char, 0x200D},
    {"zwnj", Kw::Char, 0x200C},
    // Destinations whose content is not text of the document.
    {"annotation", Kw::SkipDest},
    {"atnauthor", Kw::SkipDest},
    {"atndate", Kw::SkipDest},
    {"atnid", Kw::SkipDest},
    {"atnref", Kw::SkipDest},
    {"atrfend", Kw::SkipDest},
    {"atrfstart", Kw::SkipDest},
    {"author", Kw::SkipDest},
    {"bkmkend", Kw::SkipDest},
    {"bkmkstart", Kw::SkipDest},
    {"buptim", Kw::SkipDest},
    {"comment", Kw::SkipDest},
    {"company", Kw::SkipDest},
    {"creatim", Kw::SkipDest},
    {"datafield", Kw::SkipDest},
    {"do", Kw::SkipDest},
    {"doccomm", Kw::SkipDest},
    {"docvar", Kw::SkipDest},
    {"falt", Kw::SkipDest},
    {"fldinst", Kw::SkipDest},
    {"footer", Kw::SkipDest},
    {"footerf", Kw::SkipDest},
    {"footerl", Kw::SkipDest},
    {"footerr", Kw::SkipDest},
    {"footnote", Kw::SkipDest},
    {"ftncn", Kw::SkipDest},
    {"ftnsep", Kw::SkipDest},
    {"ftnsepc", Kw::SkipDest},
    {"header", Kw::SkipDest},
    {"headerf", Kw::SkipDest},
    {"headerl", Kw::SkipDest},
    {"headerr", Kw::SkipDest},
    {"info", Kw::SkipDest},
    {"keywords", Kw::SkipDest},
    {"listoverridetable", Kw::SkipDest},
    {"listtable", Kw::SkipDest},
    {"listtext", Kw::SkipDest},
    {"nonshppict", Kw::SkipDest},
    {"object", Kw::SkipDest},
    {"objdata", Kw::SkipDest},
    {"operator", Kw::SkipDest},
    {"panose", Kw::SkipDest},
    {"pict", Kw::SkipDest},
    {"pn", Kw::SkipDest},
    {"pntext", Kw::SkipDest},
    {"pntxta", Kw::SkipDest},
    {"pntxtb", Kw::SkipDest},
    {"printim", Kw::SkipDest},
    {"private", Kw::SkipDest},
    {"result", Kw::SkipDest},
    {"revtbl", Kw::SkipDest},
    {"revtim", Kw::SkipDest},
    {"rsidtbl", Kw::SkipDest},
    {"shp", Kw::SkipDest},
    {"shpgrp", Kw::SkipDest},
    {"shppict", Kw::SkipDest},
    {"stylesheet", Kw::SkipDest},
    {"subject", Kw::SkipDest},
    {"tc", Kw::SkipDest},
    {"template", Kw::SkipDest},
    {"title", Kw::SkipDest},
    {"txe", Kw::SkipDest},
    {"userprops", Kw::SkipDest},
    {"xe", Kw::SkipDest},
    {"xmlnstbl", Kw::SkipDest},
};

} // namespace

const Keyword* findKeyword(std::string_view name)
{
    static const auto table = [] {
        std::array<Keyword, std::size(kKeywords)> sorted;
        std::copy(std::begin(kKeywords), std::end(kKeywords), sorted.begin());
        std::sort(sorted.begin(), sorted.end(),
                  [](const Keyword& a, const Keyword& b) { return a.name < b.name; });
        return sorted;
    }();
    const auto it =
        std::lower_bound(table.begin(), table.end(), name,
                         [](const Keyword& k, std::string_view n) { return k.name < n; });
    return (it != table.end() && it->name == name) ? &*it : nullptr;
}

} // namespace rich::rtf

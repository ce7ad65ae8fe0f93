// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/textrules.h"

#include "platform/cp1252.h"
#include "platform/filelookup.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace {

QByteArray trimTrailingBlanks(QByteArray text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    text.truncate(end);
    return text;
}

// Collapses every run of commas into one comma (",," replaced until none is left).
QByteArray collapseCommas(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == ',' && out.endsWith(','))
            continue;
        out.append(c);
    }
    return out;
}

// Deletes the blanks that follow a comma (", " until none is left).
QByteArray dropBlanksAfterCommas(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size());
    bool afterComma = false;
    for (char c : text) {
        if (c == ' ' && afterComma)
            continue;
        afterComma = c == ',';
        out.append(c);
    }
    return out;
}

// Deletes the blanks that precede a comma (" ," until none is left).
QByteArray dropBlanksBeforeCommas(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == ',') {
            while (out.endsWith(' '))
                out.chop(1);
        }
        out.append(c);
    }
    return out;
}

// Deletes the first two characters of ", ," while it occurs.
QByteArray dropCommaBlankComma(QByteArray text)
{
    qsizetype at;
    while ((at = text.indexOf(", ,")) >= 0)
        text.remove(at, 2);
    return text;
}

enum class CommaRule { Normal, Strict, Old };

// True when the rules would leave text unchanged; lists read from files mostly are.
bool isNormalised(const QByteArray& text, CommaRule rule)
{
    if (rule == CommaRule::Old || text.front() == ' ' || text.back() != ',')
        return false;
    if (rule == CommaRule::Strict && text.front() == ',')
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\t')
            return false;
        if (i > 0 && (c == ',' || text[i - 1] == ',') && (c == ' ' || c == ',') &&
            (text[i - 1] == ' ' || text[i - 1] == ','))
            return false; // ",,", ", " or " ,"
    }
    return true;
}

QByteArray normalise(const QByteArray& text, CommaRule rule)
{
    if (text.isEmpty() || isNormalised(text, rule))
        return text;
    QByteArray s = TrimLeadingBlanks(text);
    s = collapseCommas(s);
    s.replace('\t', ' ');
    s = trimTrailingBlanks(TrimLeadingBlanks(s));
    if (rule == CommaRule::Strict) {
        qsizetype commas = 0;
        while (commas < s.size() && s[commas] == ',')
            ++commas;
        s.remove(0, commas);
    }
    s = dropBlanksAfterCommas(s);
    if (rule != CommaRule::Old)
        s = collapseCommas(s);
    s = dropCommaBlankComma(dropBlanksBeforeCommas(s));
    if (rule != CommaRule::Old && !s.endsWith(','))
        s.append(',');
    return s;
}

template <typename Fn> void forRecords(TKV& kv, int index, Fn fn)
{
    if (index == -1) {
        for (TKVG& r : kv)
            fn(r);
    } else if (index >= 0 && index < kv.size()) {
        fn(kv[index]);
    }
}

} // namespace

QByteArray TrimLeadingBlanks(const QByteArray& text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == ' ')
        ++start;
    return text.mid(start);
}

QByteArray NormaliseCommaList(const QByteArray& text)
{
    return normalise(text, CommaRule::Normal);
}

QByteArray NormaliseCommaListStrict(const QByteArray& text)
{
    return normalise(text, CommaRule::Strict);
}

QByteArray NormaliseOldCategories(const QByteArray& text)
{
    return normalise(text, CommaRule::Old);
}

QByteArrayList SplitCommaList(const QByteArray& list)
{
    QByteArrayList names;
    qsizetype start = 0;
    qsizetype comma;
    while ((comma = list.indexOf(',', start)) >= 0) {
        if (comma > start)
            names.append(list.mid(start, comma - start));
        start = comma + 1;
    }
    return names;
}

QByteArrayList SortedDistinct(QByteArrayList names)
{
    names.removeAll(QByteArray());
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

QByteArrayList CollectCategories(TKV& kv, int index)
{
    // Most records share their categories: gather each name once (as a view into the
    // records, which stay unchanged meanwhile), then sort the few.
    std::unordered_set<std::string_view> names;
    forRecords(kv, index, [&names](TKVG& r) {
        if (r.Categories.isEmpty())
            return;
        const QByteArray normalised = NormaliseCommaListStrict(r.Categories);
        if (normalised != r.Categories)
            r.Categories = normalised;
        const QByteArray& list = r.Categories;
        qsizetype start = 0, comma = 0;
        while ((comma = list.indexOf(',', start)) >= 0) {
            if (comma > start)
                names.emplace(list.constData() + start, size_t(comma - start));
            start = comma + 1;
        }
    });
    QByteArrayList sorted;
    sorted.reserve(qsizetype(names.size()));
    for (std::string_view name : names)
        sorted.append(QByteArray(name.data(), qsizetype(name.size())));
    return SortedDistinct(std::move(sorted));
}

QByteArrayList CollectDevices(TKVG& r)
{
    if (r.Devices.isEmpty())
        return {};
    r.Devices = NormaliseCommaList(r.Devices);
    return SortedDistinct(SplitCommaList(r.Devices));
}

QByteArrayList CollectDevices(TKV& kv, int index)
{
    QByteArrayList names;
    forRecords(kv, index, [&names](TKVG& r) { names += CollectDevices(r); });
    return SortedDistinct(std::move(names));
}

QByteArrayList CollectSources(const TKV& kv, int index)
{
    QByteArrayList names;
    auto collect = [&names](const TKVG& r) {
        for (const QByteArray* source : {&r.Binder, &r.Magazine, &r.Book}) {
            if (!source->isEmpty())
                names.append(*source);
        }
    };
    if (index == -1) {
        for (const TKVG& r : kv)
            collect(r);
    } else if (index >= 0 && index < kv.size()) {
        collect(kv[index]);
    }
    return SortedDistinct(std::move(names));
}

QByteArray FoldAccents(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size() + 4);
    for (char c : text) {
        switch (static_cast<unsigned char>(c)) {
        case 0xDF:
            out.append("ss", 2);
            continue; // ß
        case 0xEE:
            c = 'i';
            break; // î
        case 0xCE:
            c = 'I';
            break; // Î
        case 0xDB:
            c = 'U';
            break; // Û
        case 0xFB:
            c = 'u';
            break; // û
        case 0xE2:
            c = 'a';
            break; // â
        case 0xC2:
            c = 'A';
            break; // Â
        case 0xF4:
            c = 'o';
            break; // ô
        case 0xD4:
            c = 'O';
            break; // Ô
        case 0xE8:
            c = 'e';
            break; // è
        case 0xC8:
            c = 'E';
            break; // È
        case 0xE9:
            c = 'e';
            break; // é
        case 0xC9:
            c = 'E';
            break; // É
        case 0xE1:
            c = 'a';
            break; // á
        case 0xC1:
            c = 'A';
            break; // Á
        case 0xE0:
            c = 'a';
            break; // à
        case 0xC0:
            c = 'A';
            break; // À
        default:
            break;
        }
        out.append(c);
    }
    return out;
}

SearchWords SplitSearchWords(const QByteArray& text, bool synonyms, bool fold, bool upper)
{
    SearchWords result;
    for (const QByteArray& word : text.split(' ')) {
        if (!word.isEmpty())
            result.words.append(fold ? FoldAccents(word) : word);
    }
    if (synonyms) {
        static const QByteArray sauce("sauce"), sosse("sosse"),
            sosze("so\xDF"
                  "e");
        const qsizetype typed = result.words.size();
        for (qsizetype i = 0; i < typed; ++i) {
            const QByteArray lower = cp1252::toLower(result.words[i]);
            if (lower == sauce)
                result.words << sosse << sosze;
            else if (lower == sosse)
                result.words << sauce << sosze;
            else if (lower == sosze)
                result.words << sauce << sosse;
            else
                continue;
            result.synonymMarker = 2;
        }
    }
    if (upper) {
        for (QByteArray& word : result.words)
            word = cp1252::toUpper(word);
    }
    return result;
}

QString FormatFixed(double value, int width, int decimals)
{
    return QStringLiteral("%1").arg(value, width, 'f', decimals).trimmed();
}

QString FileNamePart(const QString& path)
{
    return fileNameOf(path);
}

QString FolderPart(const QString& path)
{
    return path.left(path.size() - fileNameOf(path).size());
}

// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/pdfnavigation.h"

#include <QHash>
#include <QIODevice>
#include <QMap>
#include <QRegularExpression>

#include <algorithm>

namespace pdfnav {
namespace {

// An object of the document: its number and generation.
struct Ref {
    int number = 0;
    int generation = 0;
    QByteArray text() const
    {
        return QByteArray::number(number) + ' ' + QByteArray::number(generation) + " R";
    }
};

// The largest object this reader takes in: the catalogue, a page tree node, a page.
constexpr qint64 kObjectLimit = qint64(4) << 20;

bool fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
}

// The first reference that follows key in a dictionary's text.
bool refAfter(const QByteArray& dict, const char* key, Ref* ref)
{
    const QRegularExpression pattern(
        QStringLiteral("/%1\\s+(\\d+)\\s+(\\d+)\\s+R").arg(QLatin1String(key)));
    const auto match = pattern.match(QString::fromLatin1(dict));
    if (!match.hasMatch())
        return false;
    *ref = {match.captured(1).toInt(), match.captured(2).toInt()};
    return true;
}

QList<Ref> refsIn(const QByteArray& text)
{
    static const QRegularExpression pattern(QStringLiteral("(\\d+)\\s+(\\d+)\\s+R"));
    QList<Ref> refs;
    for (auto it = pattern.globalMatch(QString::fromLatin1(text)); it.hasNext();) {
        const auto m = it.next();
        refs.append({m.captured(1).toInt(), m.captured(2).toInt()});
    }
    return refs;
}

// The document as far as the update needs it: where each object lies and the trailer.
class Reader {
public:
    explicit Reader(QIODevice& device) : m_device(device) {}

    bool readCrossReferences(QString* error)
    {
        const qint64 size = m_device.size();
        const qint64 tailStart = std::max<qint64>(0, size - 1024);
        if (!m_device.seek(tailStart))
            return fail(error, QStringLiteral("the PDF document cannot be read"));
        const QByteArray tail = m_device.read(size - tailStart);
        const qsizetype at = tail.lastIndexOf("startxref");
        if (at < 0)
            return fail(error, QStringLiteral("the PDF document has no cross-reference table"));
        bool ok = false;
        m_lastSection = tail.mid(at + 9).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
        if (!ok)
            return fail(error, QStringLiteral("the PDF document has no cross-reference table"));
        // Newer sections come first; an object keeps the place the newest one gives it.
        for (qint64 section = m_lastSection; section >= 0;) {
            QByteArray trailer;
            if (!readSection(section, &trailer, error))
                return false;
            if (m_trailer.isEmpty())
                m_trailer = trailer;
            section = -1;
            static const QRegularExpression prev(QStringLiteral("/Prev\\s+(\\d+)"));
            const auto match = prev.match(QString::fromLatin1(trailer));
            if (match.hasMatch())
                section = match.captured(1).toLongLong();
        }
        static const QRegularExpression sizeKey(QStringLiteral("/Size\\s+(\\d+)"));
        const auto match = sizeKey.match(QString::fromLatin1(m_trailer));
        if (!match.hasMatch() || !refAfter(m_trailer, "Root", &m_root))
            return fail(error, QStringLiteral("the PDF document has no usable trailer"));
        m_size = match.captured(1).toInt();
        return true;
    }

    // The text between "N G obj" and "endobj".
    bool object(const Ref& ref, QByteArray* body, QString* error)
    {
        const auto it = m_offsets.constFind(ref.number);
        if (it == m_offsets.constEnd() || !m_device.seek(*it))
            return fail(error,
                        QStringLiteral("object %1 of the PDF document is missing").arg(ref.number));
        QByteArray text;
        qsizetype end = -1;
        while (end < 0 && text.size() < kObjectLimit && !m_device.atEnd()) {
            text += m_device.read(4096);
            end = text.indexOf("endobj");
        }
        const qsizetype start = text.indexOf("obj");
        if (end < 0 || start < 0 || start > end)
            return fail(
                error,
                QStringLiteral("object %1 of the PDF document cannot be read").arg(ref.number));
        *body = text.mid(start + 3, end - start - 3).trimmed();
        return true;
    }

    const QByteArray& trailer() const { return m_trailer; }
    Ref root() const { return m_root; }
    int size() const { return m_size; }
    qint64 lastSection() const { return m_lastSection; }

private:
    bool readSection(qint64 offset, QByteArray* trailer, QString* error)
    {
        if (!m_device.seek(offset))
            return fail(error,
                        QStringLiteral("the PDF document's cross-reference table cannot be read"));
        QByteArray text;
        qsizetype end = -1;
        while (end < 0 && !m_device.atEnd()) {
            text += m_device.read(65536);
            const qsizetype t = text.indexOf("trailer");
            end = t < 0 ? -1 : text.indexOf("startxref", t);
        }
        const qsizetype t = text.indexOf("trailer");
        if (!text.startsWith("xref") || t < 0 || end < 0)
            return fail(error,
                        QStringLiteral("the PDF document's cross-reference table cannot be read "
                                       "(a compressed one is not supported)"));
        *trailer = text.mid(t + 7, end - t - 7);
        const QList<QByteArray> tokens = text.mid(4, t - 4).simplified().split(' ');
        for (qsizetype i = 0; i + 1 < tokens.size();) {
            const int first = tokens[i].toInt();
            const int count = tokens[i + 1].toInt();
            i += 2;
            for (int n = 0; n < count && i + 2 < tokens.size(); ++n, i += 3) {
                if (tokens[i + 2] == "n" && !m_offsets.contains(first + n))
                    m_offsets.insert(first + n, tokens[i].toLongLong());
            }
        }
        return true;
    }

    QIODevice& m_device;
    QHash<int, qint64> m_offsets;
    QByteArray m_trailer;
    Ref m_root;
    int m_size = 0;
    qint64 m_lastSection = 0;
};

// One page as the update needs it.
struct Page {
    Ref ref;
    QByteArray body;
    double height = 0;      // of the media box, in points
    QList<Ref> annotations; // the links it has
    Ref annotsArray;        // the array object of its annotations; number 0 when none
    bool inlineArray = false;
};

bool collectPages(Reader& reader, const Ref& node, QList<Page>* pages, int depth, QString* error)
{
    if (depth > 32)
        return fail(error, QStringLiteral("the PDF document's page tree is too deep"));
    QByteArray body;
    if (!reader.object(node, &body, error))
        return false;
    static const QRegularExpression kids(QStringLiteral("/Kids\\s*\\[([^\\]]*)\\]"));
    const auto kidsMatch = kids.match(QString::fromLatin1(body));
    if (body.contains("/Pages") && kidsMatch.hasMatch()) {
        for (const Ref& kid : refsIn(kidsMatch.captured(1).toLatin1())) {
            if (!collectPages(reader, kid, pages, depth + 1, error))
                return false;
        }
        return true;
    }
    Page page;
    page.ref = node;
    page.body = body;
    static const QRegularExpression box(QStringLiteral(
        "/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s*\\]"));
    const auto boxMatch = box.match(QString::fromLatin1(body));
    if (!boxMatch.hasMatch())
        return fail(error, QStringLiteral("a page of the PDF document has no media box"));
    page.height = boxMatch.captured(4).toDouble();
    static const QRegularExpression inlineAnnots(QStringLiteral("/Annots\\s*\\["));
    if (refAfter(body, "Annots", &page.annotsArray)) {
        QByteArray array;
        if (!reader.object(page.annotsArray, &array, error))
            return false;
        page.annotations = refsIn(array);
    } else if (inlineAnnots.match(QString::fromLatin1(body)).hasMatch()) {
        page.inlineArray = true;
    }
    pages->append(page);
    return true;
}

QByteArray number(double value)
{
    return QByteArray::number(value, 'f', 2);
}

// A text string in UTF-16 with its byte order mark, as hexadecimal digits.
QByteArray textString(const QString& text)
{
    QByteArray bytes("\xFE\xFF", 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xFF));
    }
    return '<' + bytes.toHex().toUpper() + '>';
}

QByteArray destination(const Page& page)
{
    return '[' + page.ref.text() + " /XYZ 0 " + number(page.height) + " 0]";
}

// The dictionary with key's entry (a reference or a name) replaced by entry.
QByteArray withEntry(QByteArray dict, const char* key, const QByteArray& entry)
{
    const QRegularExpression old(
        QStringLiteral("/%1\\s*(\\d+\\s+\\d+\\s+R|/\\w+|\\[[^\\]]*\\])").arg(QLatin1String(key)));
    QString text = QString::fromLatin1(dict);
    text.remove(old);
    dict = text.toLatin1();
    const qsizetype end = dict.lastIndexOf(">>");
    return dict.left(end) + '/' + key + ' ' + entry + '\n' + dict.mid(end);
}

// The objects of the update and where they are written.
class Update {
public:
    int add() { return m_next++; }
    void setNext(int next) { m_next = next; }
    int next() const { return m_next; }
    void put(const Ref& ref, const QByteArray& body) { m_objects.insert(ref.number, {ref, body}); }

    bool write(QIODevice& device, const Reader& reader, QString* error)
    {
        const qint64 end = device.size();
        if (!device.seek(end))
            return fail(error, QStringLiteral("the PDF document cannot be extended"));
        QByteArray out("\n");
        QMap<int, qint64> offsets;
        for (auto it = m_objects.cbegin(); it != m_objects.cend(); ++it) {
            offsets.insert(it.key(), end + out.size());
            out += QByteArray::number(it->first.number) + ' ' +
                   QByteArray::number(it->first.generation) + " obj\n" + it->second + "\nendobj\n";
        }
        const qint64 xref = end + out.size();
        out += "xref\n";
        for (auto it = offsets.cbegin(); it != offsets.cend();) {
            auto run = it;
            int count = 0;
            while (run != offsets.cend() && run.key() == it.key() + count) {
                ++run;
                ++count;
            }
            out += QByteArray::number(it.key()) + ' ' + QByteArray::number(count) + '\n';
            for (; it != run; ++it) {
                out += QByteArray::number(it.value()).rightJustified(10, '0') + ' ' +
                       QByteArray::number(m_objects[it.key()].first.generation)
                           .rightJustified(5, '0') +
                       " n \n";
            }
        }
        out += "trailer\n<<\n/Size " + QByteArray::number(std::max(m_next, reader.size())) +
               "\n/Root " + reader.root().text();
        Ref info;
        if (refAfter(reader.trailer(), "Info", &info))
            out += "\n/Info " + info.text();
        static const QRegularExpression id(QStringLiteral("/ID\\s*\\[[^\\]]*\\]"));
        const auto idMatch = id.match(QString::fromLatin1(reader.trailer()));
        if (idMatch.hasMatch())
            out += '\n' + idMatch.captured(0).toLatin1();
        out += "\n/Prev " + QByteArray::number(reader.lastSection()) + "\n>>\nstartxref\n" +
               QByteArray::number(xref) + "\n%%EOF\n";
        if (device.write(out) != out.size())
            return fail(error, QStringLiteral("the PDF document cannot be extended"));
        return true;
    }

private:
    int m_next = 0;
    QMap<int, std::pair<Ref, QByteArray>> m_objects;
};

// Writes the entries of one level under parent; returns the number of entries shown
// when the outline opens (all of them: every level is open).
int writeOutline(Update& update, const QList<OutlineItem>& items, const Ref& parent,
                 const QList<Page>& pages, int* first, int* last)
{
    QList<int> numbers;
    for (qsizetype i = 0; i < items.size(); ++i)
        numbers.append(update.add());
    int shown = 0;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const OutlineItem& item = items[i];
        QByteArray body = "<<\n/Title " + textString(item.title) + "\n/Parent " + parent.text() +
                          "\n/Dest " + destination(pages[item.page]);
        if (i > 0)
            body += "\n/Prev " + Ref{numbers[i - 1], 0}.text();
        if (i + 1 < items.size())
            body += "\n/Next " + Ref{numbers[i + 1], 0}.text();
        if (!item.children.isEmpty()) {
            int childFirst = 0;
            int childLast = 0;
            const int below = writeOutline(update, item.children, {numbers[i], 0}, pages,
                                           &childFirst, &childLast);
            body += "\n/First " + Ref{childFirst, 0}.text() + "\n/Last " +
                    Ref{childLast, 0}.text() + "\n/Count " + QByteArray::number(below);
            shown += below;
        }
        update.put({numbers[i], 0}, body + "\n>>");
        ++shown;
    }
    *first = numbers.value(0);
    *last = numbers.value(numbers.size() - 1);
    return shown;
}

bool pagesInRange(const QList<OutlineItem>& items, qsizetype pageCount)
{
    return std::all_of(items.cbegin(), items.cend(), [pageCount](const OutlineItem& item) {
        return item.page >= 0 && item.page < pageCount && pagesInRange(item.children, pageCount);
    });
}

} // namespace

bool addNavigation(QIODevice& device, const QList<Link>& links, const QList<OutlineItem>& outline,
                   QString* error)
{
    Reader reader(device);
    if (!reader.readCrossReferences(error))
        return false;
    QByteArray catalogue;
    Ref tree;
    if (!reader.object(reader.root(), &catalogue, error))
        return false;
    if (!refAfter(catalogue, "Pages", &tree))
        return fail(error, QStringLiteral("the PDF document has no pages"));
    QList<Page> pages;
    if (!collectPages(reader, tree, &pages, 0, error))
        return false;
    for (const Link& link : links) {
        if (link.page < 0 || link.page >= pages.size() || link.target < 0 ||
            link.target >= pages.size())
            return fail(error,
                        QStringLiteral("a link names a page the PDF document does not have"));
    }
    if (!pagesInRange(outline, pages.size()))
        return fail(error,
                    QStringLiteral("an outline entry names a page the PDF document does not have"));

    Update update;
    update.setNext(reader.size());
    QMap<int, QList<Ref>> added; // page index -> its new links
    for (const Link& link : links) {
        const Page& from = pages[link.page];
        const Ref ref{update.add(), 0};
        const QRectF& r = link.rect;
        update.put(ref, "<<\n/Type /Annot\n/Subtype /Link\n/Rect [" + number(r.left()) + ' ' +
                            number(from.height - r.bottom()) + ' ' + number(r.right()) + ' ' +
                            number(from.height - r.top()) + "]\n/Border [0 0 0]\n/P " +
                            from.ref.text() + "\n/Dest " + destination(pages[link.target]) +
                            "\n>>");
        added[link.page].append(ref);
    }
    for (auto it = added.cbegin(); it != added.cend(); ++it) {
        Page& page = pages[it.key()];
        if (page.inlineArray)
            return fail(
                error, QStringLiteral("a page of the PDF document lists its annotations in place"));
        QByteArray array = "[";
        for (const Ref& ref : page.annotations + it.value())
            array += ' ' + ref.text();
        array += " ]";
        if (page.annotsArray.number > 0) {
            update.put(page.annotsArray, array);
        } else {
            update.put(page.ref, withEntry(page.body, "Annots", array));
        }
    }
    if (!outline.isEmpty()) {
        const Ref root{update.add(), 0};
        int first = 0;
        int last = 0;
        const int shown = writeOutline(update, outline, root, pages, &first, &last);
        update.put(root, "<<\n/Type /Outlines\n/First " + Ref{first, 0}.text() + "\n/Last " +
                             Ref{last, 0}.text() + "\n/Count " + QByteArray::number(shown) +
                             "\n>>");
        catalogue =
            withEntry(withEntry(catalogue, "Outlines", root.text()), "PageMode", "/UseOutlines");
        update.put(reader.root(), catalogue);
    }
    return update.write(device, reader, error);
}

} // namespace pdfnav

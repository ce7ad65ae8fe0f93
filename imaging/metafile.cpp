// SPDX-License-Identifier: GPL-2.0-or-later

#include "imaging/metafile.h"

#include <QDeadlineTimer>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr int kPlaceableSize = 22;
constexpr int kWmfHeaderSize = 18;
constexpr quint32 kEmfSignature = 0x464D4520; // " EMF"
constexpr int kEmfHeaderMin = 88;
constexpr int kEmfEof = 14;
constexpr int kScreenDpi = 96;
constexpr int kTwipsPerInch = 1440;
/// Frames larger than this many pixels a side are not sane for a recipe picture.
constexpr qint64 kMaxSide = 100000;

/// Reads little-endian numbers from a byte range without ever reading past its end.
class Reader {
public:
    Reader(const QByteArray& bytes, qint64 start, qint64 end) : m_bytes(bytes), m_start(start), m_end(end) {}
    bool has(qint64 offset, qint64 count) const
    {
        return offset >= 0 && count >= 0 && m_start + offset + count <= m_end;
    }
    quint16 u16(qint64 offset) const
    {
        return has(offset, 2) ? qFromLittleEndian<quint16>(m_bytes.constData() + m_start + offset) : 0;
    }
    qint16 s16(qint64 offset) const { return qint16(u16(offset)); }
    quint32 u32(qint64 offset) const
    {
        return has(offset, 4) ? qFromLittleEndian<quint32>(m_bytes.constData() + m_start + offset) : 0;
    }
    qint32 s32(qint64 offset) const { return qint32(u32(offset)); }
    qint64 size() const { return m_end - m_start; }

private:
    const QByteArray& m_bytes;
    qint64 m_start;
    qint64 m_end;
};

qint64 wmfStart(const QByteArray& bytes)
{
    return Reader(bytes, 0, bytes.size()).u32(0) == kPlaceableKey ? kPlaceableSize : 0;
}

/// Whether a WMF record's counted contents fit inside it. rec covers the record's
/// parameters (after the 6-byte size and function).
bool wmfRecordFits(quint16 function, const Reader& rec, QString* why)
{
    auto fail = [&](const char* what) {
        *why = QStringLiteral("a %1 record is larger than it says").arg(QLatin1String(what));
        return false;
    };
    switch (function) {
    case 0x0324:   // polygon: count, then the points
    case 0x0325: { // polyline
        const qint64 n = rec.s16(0);
        if (n < 0 || !rec.has(2, n * 4))
            return fail("drawing");
        return true;
    }
    case 0x0626: // escape: its function, the count of its bytes, the bytes
        return rec.has(4, rec.u16(2)) ? true : fail("escape");
    case 0x0538: { // polypolygon: polygons, their point counts, the points
        const qint64 polys = rec.u16(0);
        if (!rec.has(2, polys * 2))
            return fail("polygon");
        qint64 points = 0;
        for (qint64 p = 0; p < polys; ++p)
            points += rec.u16(2 + 2 * p);
        if (!rec.has(2 + polys * 2, points * 4))
            return fail("polygon");
        return true;
    }
    case 0x0521: { // text out: length, string (padded), y, x
        const qint64 n = rec.s16(0);
        if (n < 0 || !rec.has(2, ((n + 1) & ~1) + 4))
            return fail("text");
        return true;
    }
    case 0x0A32: { // extended text out: y, x, length, options, [rectangle], string, [dx]
        const qint64 n = rec.s16(4);
        const bool clipped = rec.u16(6) & 0x0006;
        const qint64 text = 8 + (clipped ? 8 : 0);
        if (n < 0 || !rec.has(text, n))
            return fail("text");
        return true;
    }
    default:
        return true;
    }
}

bool checkWmf(const QByteArray& bytes, QString* why)
{
    const qint64 start = wmfStart(bytes);
    const Reader all(bytes, 0, bytes.size());
    if (start) {
        const qint64 w = qint64(all.s16(10)) - all.s16(6);
        const qint64 h = qint64(all.s16(12)) - all.s16(8);
        if (all.u16(14) == 0 || w <= 0 || h <= 0) {
            *why = QStringLiteral("the picture has no size");
            return false;
        }
    }
    const Reader head(bytes, start, bytes.size());
    if (!head.has(0, kWmfHeaderSize) || head.u16(2) != 9) {
        *why = QStringLiteral("the metafile header is damaged");
        return false;
    }
    // The reader sets aside room for the largest record the header names.
    const qint64 maxRecord = head.u32(12);
    qint64 largest = 0;
    qint64 offset = start + kWmfHeaderSize;
    while (true) {
        const Reader rec(bytes, offset, bytes.size());
        if (!rec.has(0, 6)) {
            *why = QStringLiteral("the metafile ends early");
            return false;
        }
        const qint64 words = rec.u32(0);
        const quint16 function = rec.u16(4);
        if (words < 3 || !rec.has(0, words * 2)) {
            *why = QStringLiteral("a record at byte %1 does not fit in the file").arg(offset);
            return false;
        }
        largest = std::max(largest, words);
        if (function == 0) {
            if (maxRecord < largest || maxRecord * 2 > bytes.size()) {
                *why = QStringLiteral("the metafile header is damaged");
                return false;
            }
            return true;
        }
        if (!wmfRecordFits(function, Reader(bytes, offset + 6, offset + words * 2), why))
            return false;
        offset += words * 2;
    }
}

/// Whether an EMF record's counted contents fit inside it; rec covers the whole record.
bool emfRecordFits(quint32 type, const Reader& rec, QString* why)
{
    auto fail = [&](const char* what) {
        *why = QStringLiteral("a %1 record is larger than it says").arg(QLatin1String(what));
        return false;
    };
    switch (type) {
    case 2: case 3: case 4: case 5: case 6: { // poly... with 32-bit points
        const qint64 n = rec.u32(24);
        return rec.has(28, n * 8) ? true : fail("drawing");
    }
    case 85: case 86: case 87: case 88: case 89: { // poly... with 16-bit points
        const qint64 n = rec.u32(24);
        return rec.has(28, n * 4) ? true : fail("drawing");
    }
    case 7: case 8: case 90: case 91: { // polypoly...: groups, points, counts, points
        const qint64 groups = rec.u32(24);
        const qint64 points = rec.u32(28);
        const qint64 each = type <= 8 ? 8 : 4;
        if (!rec.has(32, groups * 4) || !rec.has(32 + groups * 4, points * each))
            return fail("polygon");
        qint64 sum = 0;
        for (qint64 g = 0; g < groups; ++g)
            sum += rec.u32(32 + 4 * g);
        return sum <= points ? true : fail("polygon");
    }
    case 83: case 84: { // text out: the string and spacing lie inside the record
        const qint64 chars = rec.u32(44);
        const qint64 stringAt = rec.u32(48);
        // The spacing offset follows the clipping rectangle, which "no rectangle" leaves out.
        const qint64 dxAt = rec.u32(rec.u32(52) & 0x100 ? 56 : 72);
        const qint64 each = type == 84 ? 2 : 1;
        if (!rec.has(stringAt, chars * each) || (dxAt && !rec.has(dxAt, chars * 4)))
            return fail("text");
        return true;
    }
    default:
        return true;
    }
}

/// Whether the header's description (UTF-16 text of the program that made the file) lies
/// inside the header record, after its fixed fields: the converter reads it where the
/// header says, wherever that is. header covers the header record.
bool emfDescriptionFits(const Reader& header, QString* why)
{
    const qint64 chars = header.u32(60);
    const qint64 at = header.u32(64);
    if (chars == 0 || (at >= kEmfHeaderMin && header.has(at, chars * 2)))
        return true;
    *why = QStringLiteral("the metafile's description lies outside the header");
    return false;
}

bool checkEmf(const QByteArray& bytes, QString* why)
{
    qint64 offset = 0;
    qint64 records = 0;
    while (true) {
        const Reader rec(bytes, offset, bytes.size());
        if (!rec.has(0, 8)) {
            *why = QStringLiteral("the metafile ends early");
            return false;
        }
        const quint32 type = rec.u32(0);
        const qint64 size = rec.u32(4);
        if (size < 8 || size % 4 != 0 || !rec.has(0, size)) {
            *why = QStringLiteral("a record at byte %1 does not fit in the file").arg(offset);
            return false;
        }
        if (records == 0 && (type != 1 || size < kEmfHeaderMin)) {
            *why = QStringLiteral("the metafile header is damaged");
            return false;
        }
        if (records == 0 && !emfDescriptionFits(Reader(bytes, offset, offset + size), why))
            return false;
        if (records > 0 && type == 1) {
            *why = QStringLiteral("the metafile has a second header");
            return false;
        }
        if (type == kEmfEof)
            return true;
        if (!emfRecordFits(type, Reader(bytes, offset, offset + size), why))
            return false;
        offset += size;
        ++records;
    }
}

QSize wmfNaturalSize(const QByteArray& bytes)
{
    const Reader all(bytes, 0, bytes.size());
    if (wmfStart(bytes)) {
        const qint64 inch = all.u16(14);
        const qint64 w = qint64(all.s16(10)) - all.s16(6);
        const qint64 h = qint64(all.s16(12)) - all.s16(8);
        return QSize(int(w * kScreenDpi / inch), int(h * kScreenDpi / inch));
    }
    // Without the placeable header the window extent gives the size, in twips.
    qint64 offset = kWmfHeaderSize;
    while (true) {
        const Reader rec(bytes, offset, bytes.size());
        const qint64 words = rec.u32(0);
        const quint16 function = rec.u16(4);
        if (words < 3 || function == 0)
            return {};
        if (function == 0x020C) { // set window extent: height, width
            const qint64 h = std::abs(rec.s16(6));
            const qint64 w = std::abs(rec.s16(8));
            return QSize(int(w * kScreenDpi / kTwipsPerInch), int(h * kScreenDpi / kTwipsPerInch));
        }
        offset += words * 2;
    }
}

QByteArray wmfToSvg(const QByteArray& bytes, QSize natural, QString* why)
{
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    wmfAPI* api = nullptr;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR |
                                WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf_api_destroy(api);
        *why = QStringLiteral("the metafile reader cannot start");
        return {};
    }
    QByteArray svg;
    QByteArray copy = bytes; // the reader wants a writable buffer
    wmfD_Rect box{};
    wmf_svg_t* data = WMF_SVG_GetData(api);
    if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(copy.data()), long(copy.size())) ==
            wmf_E_None &&
        wmf_scan(api, 0, &box) == wmf_E_None) {
        data->out = wmf_stream_create(api, nullptr);
        data->Description = const_cast<char*>("recipe picture");
        data->bbox = box;
        data->width = unsigned(natural.width());
        data->height = unsigned(natural.height());
        data->flags |= WMF_SVG_INLINE_IMAGES;
        const wmf_error_t played = wmf_play(api, 0, &box);
        char* out = nullptr;
        unsigned long length = 0;
        wmf_stream_destroy(api, data->out, &out, &length);
        if (played == wmf_E_None && out)
            svg = QByteArray(out, qsizetype(length));
        if (out)
            wmf_free(api, out);
    }
    wmf_api_destroy(api);
    if (svg.isEmpty())
        *why = QStringLiteral("the metafile cannot be drawn");
    return svg;
}

QByteArray emfToSvg(const QByteArray& bytes, QSize natural, QString* why)
{
    generatorOptions options{};
    options.nameSpace = const_cast<char*>("svg");
    options.svgDelimiter = true;
    options.emfplus = true;
    options.imgWidth = natural.width();
    options.imgHeight = natural.height();
    QByteArray copy = bytes;
    char* out = nullptr;
    size_t length = 0;
    const int ok = emf2svg(copy.data(), size_t(copy.size()), &out, &length, &options);
    QByteArray svg;
    if (ok && out)
        svg = QByteArray(out, qsizetype(length));
    std::free(out);
    if (svg.isEmpty())
        *why = QStringLiteral("the metafile cannot be drawn");
    return svg;
}

bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kLimitMemory = false; // the sanitizer reserves far more address space
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kLimitMemory = false;
#else
constexpr bool kLimitMemory = true;
#endif
#else
constexpr bool kLimitMemory = true;
#endif

constexpr rlim_t kChildMemory = rlim_t(1) << 30; // 1 GiB of address space of its own
constexpr rlim_t kChildCpuSeconds = 10;
constexpr int kChildWaitMs = 15000;

/// Draws the SVG of a metafile on white, scaled to size.
QImage drawSvg(const QByteArray& svg, QSize size, QString* why)
{
    QSvgRenderer renderer;
    if (!renderer.load(svg)) {
        *why = QStringLiteral("the metafile cannot be drawn");
        return {};
    }
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        *why = QStringLiteral("not enough memory for a %1 x %2 picture")
                   .arg(size.width())
                   .arg(size.height());
        return {};
    }
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

/// Converts and draws in this process.
QImage drawHere(const QByteArray& bytes, MetafileKind kind, QSize natural, QSize size,
                QString* why)
{
    const QByteArray svg = metafileToSvg(bytes, kind, natural, why);
    return svg.isEmpty() ? QImage() : drawSvg(svg, size, why);
}

/// Reads up to count bytes into to until the deadline; returns how many came (fewer at
/// the end of the pipe), or -1 when the deadline passed first.
qint64 readUntil(int fd, char* to, qint64 count, const QDeadlineTimer& deadline)
{
    qint64 got = 0;
    while (got < count) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return -1;
        const ssize_t n = ::read(fd, to + got, size_t(std::min<qint64>(count - got, 1 << 20)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    return got;
}

/// The address space the process maps now, from /proc/self/statm (in pages); 0 when it
/// cannot be read. Plain system calls only: the child of a threaded program calls it.
rlim_t mappedBytes()
{
    const int fd = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[64] = {};
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    rlim_t pages = 0;
    for (ssize_t i = 0; i < n && text[i] >= '0' && text[i] <= '9'; ++i)
        pages = pages * 10 + rlim_t(text[i] - '0');
    return pages * rlim_t(::sysconf(_SC_PAGESIZE));
}

/// Converts and draws in a child process, so that a crash, a stall or a huge appetite
/// of the libraries or of the SVG renderer costs the picture and not the program. The
/// child sends 'P', the width and height (32 bits each) and the rows of RGB32 pixels, or
/// 'E' and the reason; only pixels of exactly the size asked for are taken.
QImage drawInChild(const QByteArray& bytes, MetafileKind kind, QSize natural, QSize size,
                   QString* why)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        *why = QString::fromLocal8Bit(std::strerror(errno));
        return {};
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        *why = QString::fromLocal8Bit(std::strerror(errno));
        return {};
    }
    if (child == 0) {
        ::close(pipeFds[0]);
        if (kLimitMemory) {
            // On top of what the program maps already, which the child shares.
            const rlim_t limit = mappedBytes() + kChildMemory;
            const rlimit memory{limit, limit};
            ::setrlimit(RLIMIT_AS, &memory);
        }
        const rlimit cpu{kChildCpuSeconds, kChildCpuSeconds};
        ::setrlimit(RLIMIT_CPU, &cpu);
        QString reason;
        const QImage image = drawHere(bytes, kind, natural, size, &reason);
        bool sent = false;
        if (image.isNull()) {
            const QByteArray message = QByteArray("E") + reason.toUtf8();
            sent = writeAll(pipeFds[1], message.constData(), message.size());
        } else {
            char head[9] = {'P'};
            qToLittleEndian<quint32>(quint32(image.width()), head + 1);
            qToLittleEndian<quint32>(quint32(image.height()), head + 5);
            sent = writeAll(pipeFds[1], head, sizeof head) &&
                   writeAll(pipeFds[1], reinterpret_cast<const char*>(image.constBits()),
                            image.sizeInBytes());
        }
        ::_exit(sent ? 0 : 1);
    }
    ::close(pipeFds[1]);
    const QDeadlineTimer deadline(kChildWaitMs);
    QImage image;
    QByteArray reason;
    bool whole = false;
    char head[9] = {};
    qint64 got = readUntil(pipeFds[0], head, 1, deadline);
    if (got == 1 && head[0] == 'P') {
        got = readUntil(pipeFds[0], head + 1, 8, deadline);
        const QSize sent(int(qFromLittleEndian<quint32>(head + 1)),
                         int(qFromLittleEndian<quint32>(head + 5)));
        if (got == 8 && sent == size) {
            image = QImage(size, QImage::Format_RGB32);
            if (!image.isNull()) {
                got = readUntil(pipeFds[0], reinterpret_cast<char*>(image.bits()),
                                image.sizeInBytes(), deadline);
                char more = 0;
                if (got == image.sizeInBytes())
                    got = readUntil(pipeFds[0], &more, 1, deadline);
                whole = got == 0; // the pixels, then the end of the pipe
            }
        }
    } else if (got == 1 && head[0] == 'E') {
        reason.resize(4096);
        got = readUntil(pipeFds[0], reason.data(), reason.size(), deadline);
        reason.resize(std::max<qint64>(got, 0));
    }
    const bool timedOut = got < 0;
    ::close(pipeFds[0]);
    if (timedOut)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut) {
        *why = QStringLiteral("drawing the metafile took too long");
        return {};
    }
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU) {
        *why = QStringLiteral("drawing the metafile took too long");
        return {};
    }
    const bool exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (exited && head[0] == 'E' && !reason.isEmpty()) {
        *why = QString::fromUtf8(reason);
        return {};
    }
    if (!exited || !whole) {
        *why = QStringLiteral("the metafile could not be drawn (the converter stopped)");
        return {};
    }
    return image;
}

} // namespace

MetafileKind metafileKind(const QByteArray& bytes)
{
    const Reader all(bytes, 0, bytes.size());
    if (all.u32(0) == 1 && all.u32(40) == kEmfSignature)
        return MetafileKind::Emf;
    if (all.u32(0) == kPlaceableKey)
        return MetafileKind::Wmf;
    const quint16 type = all.u16(0);
    const quint16 version = all.u16(4);
    if ((type == 1 || type == 2) && all.u16(2) == 9 && (version == 0x0100 || version == 0x0300))
        return MetafileKind::Wmf;
    return MetafileKind::None;
}

bool checkMetafile(const QByteArray& bytes, MetafileKind kind, QString* why)
{
    QString reason;
    bool ok = false;
    if (kind == MetafileKind::Wmf)
        ok = checkWmf(bytes, &reason);
    else if (kind == MetafileKind::Emf)
        ok = checkEmf(bytes, &reason);
    else
        reason = QStringLiteral("not a metafile");
    if (ok) {
        const QSize size = metafileNaturalSize(bytes, kind);
        if (size.width() <= 0 || size.height() <= 0 || size.width() > kMaxSide ||
            size.height() > kMaxSide) {
            reason = QStringLiteral("the picture has no sane size");
            ok = false;
        }
    }
    if (!ok && why)
        *why = reason;
    return ok;
}

QSize metafileNaturalSize(const QByteArray& bytes, MetafileKind kind)
{
    if (kind == MetafileKind::Wmf)
        return wmfNaturalSize(bytes);
    if (kind != MetafileKind::Emf)
        return {};
    // The frame is in hundredths of a millimetre, both edges included.
    const Reader all(bytes, 0, bytes.size());
    const qint64 w = qint64(all.s32(32)) - all.s32(24);
    const qint64 h = qint64(all.s32(36)) - all.s32(28);
    if (w <= 0 || h <= 0)
        return {};
    const qint64 px = (w * kScreenDpi + 1270) / 2540;
    const qint64 py = (h * kScreenDpi + 1270) / 2540;
    if (px > kMaxSide || py > kMaxSide)
        return QSize(int(std::min<qint64>(px, kMaxSide + 1)), int(std::min<qint64>(py, kMaxSide + 1)));
    return QSize(int(px), int(py));
}

QByteArray metafileToSvg(const QByteArray& bytes, MetafileKind kind, QSize natural, QString* why)
{
    QString reason;
    QByteArray svg = kind == MetafileKind::Wmf   ? wmfToSvg(bytes, natural, &reason)
                     : kind == MetafileKind::Emf ? emfToSvg(bytes, natural, &reason)
                                                 : QByteArray();
    if (svg.isEmpty() && why)
        *why = reason.isEmpty() ? QStringLiteral("not a metafile") : reason;
    return svg;
}

QSize metafileDrawSize(QSize natural, QSize bound)
{
    if (natural.width() <= bound.width() && natural.height() <= bound.height())
        return natural;
    return natural.scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QImage renderMetafile(const QByteArray& bytes, MetafileKind kind, QString* why,
                      Isolation isolation, QSize bound)
{
    QString reason;
    if (!checkMetafile(bytes, kind, &reason)) {
        if (why)
            *why = reason;
        return {};
    }
    // The converters lay the picture out at its natural size; only the drawing is smaller.
    const QSize natural = metafileNaturalSize(bytes, kind);
    const QSize size = metafileDrawSize(natural, bound);
    const QImage image = isolation == Isolation::ChildProcess
                             ? drawInChild(bytes, kind, natural, size, &reason)
                             : drawHere(bytes, kind, natural, size, &reason);
    if (image.isNull() && why)
        *why = reason.isEmpty() ? QStringLiteral("the metafile cannot be drawn") : reason;
    return image;
}

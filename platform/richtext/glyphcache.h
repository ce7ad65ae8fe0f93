#pragma once

#include "platform/richtext/devicefont.h"
#include "platform/richtext/richdocument.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

class QPaintDevice;

// The fonts of one device, one per distinct font of the character formats met so far.
// Formats that differ only in colour, character set or 96-dpi height share a font.

namespace rich {

class GlyphCache
{
public:
    /// device must outlive the cache.
    explicit GlyphCache(const QPaintDevice* device);

    GlyphCache(const GlyphCache&) = delete;
    GlyphCache& operator=(const GlyphCache&) = delete;

    /// The font of format on this cache's device, made on first use.
    DeviceFont& font(const CharFormat& format);

    /// The fonts of a document's format table, looked up by format index alone and
    /// each found in the cache once, when first asked for.
    class FormatFonts
    {
    public:
        FormatFonts(GlyphCache& cache, const RichDocument& doc)
            : m_cache(cache)
            , m_doc(doc)
            , m_fonts(size_t(doc.formats().size()), nullptr)
        {
        }
        DeviceFont& operator[](quint16 formatId)
        {
            DeviceFont*& font = m_fonts[formatId];
            if (!font)
                font = &m_cache.font(m_doc.format(formatId));
            return *font;
        }

    private:
        GlyphCache& m_cache;
        const RichDocument& m_doc;
        std::vector<DeviceFont*> m_fonts;
    };
    FormatFonts fontsOf(const RichDocument& doc) { return FormatFonts(*this, doc); }

    int size() const { return int(m_fonts.size()); }
    void clear();

private:
    struct Key {
        QString name;
        int halfPoints;
        int heightPx;
        quint8 style;
        Pitch pitch;
        bool operator==(const Key& other) const = default;
    };
    friend size_t qHash(const Key& key, size_t seed);

    const QPaintDevice* m_device;
    QHash<Key, DeviceFont*> m_index;
    std::vector<std::unique_ptr<DeviceFont>> m_fonts;
};

} // namespace rich

// SPDX-License-Identifier: GPL-2.0-or-later

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

class GlyphCache {
public:
    /// device must outlive the cache.
    explicit GlyphCache(const QPaintDevice* device);

    GlyphCache(const GlyphCache&) = delete;
    GlyphCache& operator=(const GlyphCache&) = delete;

    /// The font of format on this cache's device, made on first use. Every look-up
    /// starts over when the device's resolution has changed since the last one (a
    /// printer set up anew), so fonts are always those of the device as it is now.
    DeviceFont& font(const CharFormat& format);

    /// The fonts of a document's format table, looked up by format index alone and
    /// each found in the cache once, when first asked for.
    class FormatFonts {
    public:
        FormatFonts(GlyphCache& cache, const RichDocument& doc)
            : m_cache(cache), m_doc(doc), m_fonts(size_t(doc.formats().size()), nullptr)
        {
        }
        DeviceFont& operator[](quint16 formatId)
        {
            // Every index of a document names an entry of its table; should one not,
            // the default format stands in rather than reading past the table.
            Q_ASSERT(formatId < m_fonts.size());
            if (formatId >= m_fonts.size())
                formatId = m_doc.defaultFormatId();
            DeviceFont*& font = m_fonts[formatId];
            if (!font)
                font = &m_cache.lookUp(m_doc.format(formatId));
            return *font;
        }

    private:
        GlyphCache& m_cache;
        const RichDocument& m_doc;
        std::vector<DeviceFont*> m_fonts;
    };
    FormatFonts fontsOf(const RichDocument& doc);

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

    // Starts over when the device's resolution has changed since the last look-up.
    void followResolution();
    DeviceFont& lookUp(const CharFormat& format);

    const QPaintDevice* m_device;
    int m_dpiY;
    QHash<Key, DeviceFont*> m_index;
    std::vector<std::unique_ptr<DeviceFont>> m_fonts;
};

} // namespace rich

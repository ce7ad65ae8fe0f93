// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/glyphcache.h"

#include <QHashFunctions>
#include <QPaintDevice>

namespace rich {

size_t qHash(const GlyphCache::Key& key, size_t seed)
{
    return qHashMulti(seed, key.name, key.halfPoints, key.heightPx, key.style, int(key.pitch));
}

GlyphCache::GlyphCache(const QPaintDevice* device) : m_device(device), m_dpiY(device->logicalDpiY())
{
}

void GlyphCache::followResolution()
{
    const int dpiY = m_device->logicalDpiY();
    if (dpiY != m_dpiY) {
        clear();
        m_dpiY = dpiY;
    }
}

DeviceFont& GlyphCache::font(const CharFormat& format)
{
    followResolution();
    return lookUp(format);
}

DeviceFont& GlyphCache::lookUp(const CharFormat& format)
{
    // The 96-dpi height only matters for a format without a size (see pixelSizeFor).
    const Key key{format.fontName, format.halfPoints, format.halfPoints > 0 ? 0 : format.heightPx,
                  format.style, format.pitch};
    const auto found = m_index.constFind(key);
    if (found != m_index.constEnd())
        return **found;
    m_fonts.push_back(std::make_unique<DeviceFont>(format, m_device));
    DeviceFont* made = m_fonts.back().get();
    m_index.insert(key, made);
    return *made;
}

GlyphCache::FormatFonts GlyphCache::fontsOf(const RichDocument& doc)
{
    followResolution();
    return FormatFonts(*this, doc);
}

void GlyphCache::clear()
{
    m_index.clear();
    m_fonts.clear();
}

} // namespace rich

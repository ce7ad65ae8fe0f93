// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/glyphcache.h"
#include "platform/richtext/richdocument.h"

#include <QImage>
#include <QSize>

class QPaintDevice;

// The device that formatted text is measured and drawn on: the 96-dpi screen sheet or
// a printer page. Qt rounds a font's pixel size per device, so a text is always
// measured on the device it is drawn on, never scaled from another resolution.

namespace rich {

/// Resolution of the on-screen sheet and of every element bitmap.
inline constexpr int kScreenDpi = 96;

/// Gives an image the resolution dpi (both directions), which is what Qt's font
/// metrics on that image are computed for.
void setImageDpi(QImage& image, int dpi);

/// A white image of size at the screen resolution, for the sheet and element bitmaps.
QImage newScreenImage(QSize size);

enum class TargetKind {
    Screen,  ///< the sheet or an element bitmap
    Printer, ///< a printer page: drawing applies the print offset and fills empty lines
};

/// A device to measure and draw formatted text on, with the glyph cache for its
/// resolution. Keep one per device for as long as the device lives: the cache is what
/// makes laying out fast.
class RenderTarget {
public:
    /// The screen: measures on a small 96-dpi image of its own (font metrics do not
    /// depend on the size of the image, only on its resolution).
    RenderTarget();
    /// Measures on device, which must outlive the target.
    RenderTarget(QPaintDevice* device, TargetKind kind);

    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    TargetKind kind() const { return m_kind; }
    bool isPrinter() const { return m_kind == TargetKind::Printer; }
    QPaintDevice* device() const { return m_device; }
    int dpiX() const;
    int dpiY() const;

    GlyphCache& glyphs() { return m_glyphs; }
    /// The measured font of a format on this device.
    DeviceFont& font(const CharFormat& format) { return m_glyphs.font(format); }

    /// The device's own current font, used by text output that has no per-character
    /// format (the printer canvas font). Starts as the default format.
    const CharFormat& canvasFont() const { return m_canvasFont; }
    void setCanvasFont(const CharFormat& format) { m_canvasFont = format; }

private:
    QImage m_ownImage;
    QPaintDevice* m_device;
    TargetKind m_kind;
    GlyphCache m_glyphs;
    CharFormat m_canvasFont;
};

} // namespace rich

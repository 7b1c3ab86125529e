#include "common/text_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

// The rasteriser is compiled into this file only, with private linkage, so it
// cannot clash with another copy elsewhere in a program.
#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb_truetype.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

struct Font {
    std::vector<unsigned char> bytes;
    stbtt_fontinfo info{};
    int ascent = 0, descent = 0, lineGap = 0;
    int capHeight = 0;   // font units
};

std::shared_ptr<const Font> loadFont(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "assetgen: cannot read font %s\n", path.c_str());
        return nullptr;
    }
    auto font = std::make_shared<Font>();
    font->bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const int offset = font->bytes.empty() ? -1 : stbtt_GetFontOffsetForIndex(font->bytes.data(), 0);
    if (offset < 0 || !stbtt_InitFont(&font->info, font->bytes.data(), offset)) {
        std::fprintf(stderr, "assetgen: %s is not a TrueType font\n", path.c_str());
        return nullptr;
    }
    stbtt_GetFontVMetrics(&font->info, &font->ascent, &font->descent, &font->lineGap);
    int x0, y0, x1, y1;
    font->capHeight = stbtt_GetCodepointBox(&font->info, 'H', &x0, &y0, &x1, &y1) ? y1 : font->ascent;
    return font;
}

char32_t nextCodePoint(std::string_view text, std::size_t& pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos++);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t cp = 0;
    if ((lead & 0xe0) == 0xc0) {
        extra = 1;
        cp = lead & 0x1f;
    } else if ((lead & 0xf0) == 0xe0) {
        extra = 2;
        cp = lead & 0x0f;
    } else if ((lead & 0xf8) == 0xf0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return 0xfffd;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= text.size() || (byte(pos) & 0xc0) != 0x80)
            return 0xfffd;
        cp = (cp << 6) | (byte(pos++) & 0x3f);
    }
    return cp;
}

namespace {

float unitScale(const TextStyle& style)
{
    return stbtt_ScaleForPixelHeight(&style.font->info, style.size);
}

// Walks the glyphs of the text, calling visit(glyph, penX) with the pen in
// screen pixels from the text's start; returns the final pen position.
template <class Visit>
float layout(const TextStyle& style, std::string_view text, Visit visit)
{
    const float scale = unitScale(style) * style.stretch;
    float pen = 0;
    int previous = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const int glyph = stbtt_FindGlyphIndex(&style.font->info, int(nextCodePoint(text, pos)));
        if (previous)
            pen += scale * float(stbtt_GetGlyphKernAdvance(&style.font->info, previous, glyph));
        visit(glyph, pen);
        int advance = 0, bearing = 0;
        stbtt_GetGlyphHMetrics(&style.font->info, glyph, &advance, &bearing);
        pen += scale * float(advance) + style.tracking;
        previous = glyph;
    }
    return pen;
}

}  // namespace

float capHeight(const TextStyle& style) { return unitScale(style) * float(style.font->capHeight); }

float textWidth(const TextStyle& style, std::string_view text)
{
    const float pen = layout(style, text, [](int, float) {});
    return text.empty() ? 0 : pen - style.tracking;
}

float drawText(Mask& mask, const Canvas& canvas, const TextStyle& style, float x, float baseline,
               std::string_view text)
{
    const float scale = unitScale(style);
    const float scaleX = scale * style.stretch * canvas.sx, scaleY = scale * canvas.sy;
    const float originY = baseline * canvas.sy;
    const int iy = int(std::floor(originY));
    const float shiftY = originY - float(iy);
    std::vector<unsigned char> bitmap;
    const float end = layout(style, text, [&](int glyph, float pen) {
        const float originX = (x + pen) * canvas.sx;
        const int ix = int(std::floor(originX));
        const float shiftX = originX - float(ix);
        int x0, y0, x1, y1;
        stbtt_GetGlyphBitmapBoxSubpixel(&style.font->info, glyph, scaleX, scaleY, shiftX, shiftY, &x0, &y0, &x1,
                                        &y1);
        const int w = x1 - x0, h = y1 - y0;
        if (w <= 0 || h <= 0)
            return;
        bitmap.assign(std::size_t(w) * h, 0);
        stbtt_MakeGlyphBitmapSubpixel(&style.font->info, bitmap.data(), w, h, w, scaleX, scaleY, shiftX, shiftY,
                                      glyph);
        for (int by = 0; by < h; ++by) {
            const int py = iy + y0 + by;
            if (py < 0 || py >= mask.height)
                continue;
            for (int bx = 0; bx < w; ++bx) {
                const int px = ix + x0 + bx;
                if (px < 0 || px >= mask.width)
                    continue;
                float& m = mask.at(px, py);
                m = std::min(1.0f, m + float(bitmap[std::size_t(by) * w + bx]) / 255.0f);
            }
        }
    });
    return x + end;
}

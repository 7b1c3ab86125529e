// Anti-aliased text for the generated pictures: TrueType fonts read from
// disk and rasterised into a page canvas's coverage masks. Sizes and
// positions are in screen pixels; the glyphs are rendered straight at the
// texture's (possibly non-square) resolution, with sub-pixel placement.
#pragma once

#include "common/page_canvas.h"

#include <memory>
#include <string>
#include <string_view>

struct Font;   // a loaded TrueType font

// Reads a .ttf file; nullptr (after printing why) when it cannot be used.
std::shared_ptr<const Font> loadFont(const std::string& path);

struct TextStyle {
    const Font* font = nullptr;
    float size = 20;      // pixel height from the highest ascender to the lowest descender
    float tracking = 0;   // extra space after each character, screen pixels
    float stretch = 1;    // horizontal scale of the glyphs (below 1: condensed)
};

// Height of a capital letter above the baseline, screen pixels.
float capHeight(const TextStyle& style);
// Advance width of the UTF-8 text, kerning and tracking included.
float textWidth(const TextStyle& style, std::string_view text);
// Adds the text's coverage to the mask with the baseline starting at
// screen point (x, baseline). Returns the pen position after the text.
float drawText(Mask& mask, const Canvas& canvas, const TextStyle& style, float x, float baseline,
               std::string_view text);

// Decodes the next code point of UTF-8 text at `pos` and advances it; bytes
// that are not valid UTF-8 come back as U+FFFD.
char32_t nextCodePoint(std::string_view text, std::size_t& pos);

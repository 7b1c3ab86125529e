// The look shared by the menu pages: the fonts, the glowing logo lettering,
// menu labels with soft shadows, key caps for the key hints, and the faint
// plates behind menu rows. Positions are screen pixels of the 800 x 600 page.
#pragma once

#include "common/page_canvas.h"
#include "common/text_raster.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct MenuFonts {
    std::shared_ptr<const Font> sans, bold;
};
// Narrowed glyphs for dense text.
inline constexpr float condensed = 0.86f;
// Loads the DejaVu faces; false (after printing which) when one is missing.
bool loadMenuFonts(MenuFonts& fonts);

const Colour labelWhite{0.97f, 0.97f, 1.0f};
const Colour softBlue{0.72f, 0.8f, 0.97f};
const Colour dimBlue{0.55f, 0.62f, 0.82f};
// One colour per difficulty: easy, normal, hard.
const Colour difficultyColours[3] = {{0.45f, 0.95f, 0.55f}, {1.0f, 0.84f, 0.35f}, {1.0f, 0.42f, 0.36f}};

enum class Align { left, centre, right };

// Text whose capital letters are vertically centred on `centreY`, painted with
// a soft drop shadow. Returns the x just after the text.
float paintLabel(Canvas& canvas, const TextStyle& style, float x, float centreY, std::string_view text,
                 const Colour& colour, Align align = Align::left);

// Large title lettering: a warm gradient with a dark outline, a bevel light
// and a violet glow; with `orbit`, a ring circles the word with a small moon.
void paintLogo(Canvas& canvas, const Font& font, std::string_view word, float centreX, float baseline,
               float size, float tracking, bool orbit);

// A key cap with its label, `height` tall, left edge at x; returns its width.
float keycapWidth(const MenuFonts& fonts, std::string_view key, float height);
float paintKeycap(Canvas& canvas, const MenuFonts& fonts, float x, float centreY, std::string_view key,
                  float height);

// A line of key hints such as "[W] [S] choose   [D] select", centred on x.
struct KeyHint {
    std::vector<std::string> keys;
    std::string action;
};
void paintKeyHints(Canvas& canvas, const MenuFonts& fonts, float centreX, float centreY,
                   const std::vector<KeyHint>& hints);

// The faint glass plate a menu row sits on, fading out to the right.
void paintRowPlate(Canvas& canvas, float left, float right, float centreY, float height);
// A darker translucent panel with a thin border, for blocks of help text.
void paintPanel(Canvas& canvas, float left, float top, float right, float bottom);

#include "pages/menu_style.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const fontFolder = "/usr/share/fonts/truetype/dejavu/";

const Colour shadowColour{0.0f, 0.0f, 0.03f};

float textStart(const TextStyle& style, float x, std::string_view text, Align align)
{
    switch (align) {
    case Align::centre: return x - textWidth(style, text) / 2;
    case Align::right: return x - textWidth(style, text);
    default: return x;
    }
}

// Paints the text mask with a soft shadow below and to the right.
void paintWithShadow(Canvas& canvas, const Mask& text, const Colour& colour, float shadowReach)
{
    const Mask shadow = shifted(blurred(text, canvas, shadowReach), canvas, shadowReach * 0.6f, shadowReach);
    paint(canvas, shadow, shadowColour, 0.9f);
    paint(canvas, text, colour);
}

}  // namespace

bool loadMenuFonts(MenuFonts& fonts)
{
    const std::string folder = fontFolder;
    fonts.sans = loadFont(folder + "DejaVuSans.ttf");
    fonts.bold = loadFont(folder + "DejaVuSans-Bold.ttf");
    return fonts.sans && fonts.bold;
}

float paintLabel(Canvas& canvas, const TextStyle& style, float x, float centreY, std::string_view text,
                 const Colour& colour, Align align)
{
    Mask mask(canvas);
    const float baseline = centreY + capHeight(style) / 2;
    const float end = drawText(mask, canvas, style, textStart(style, x, text, align), baseline, text);
    paintWithShadow(canvas, mask, colour, std::clamp(style.size * 0.07f, 1.2f, 3.0f));
    return end;
}

void paintLogo(Canvas& canvas, const Font& font, std::string_view word, float centreX, float baseline,
               float size, float tracking, bool orbit)
{
    const TextStyle style{&font, size, tracking};
    const float width = textWidth(style, word);
    const float cap = capHeight(style);
    Mask letters(canvas);
    drawText(letters, canvas, style, centreX - width / 2, baseline, word);

    // Violet glow far around the letters, then a blue haze close to them.
    const Mask thick = dilated(letters, canvas, size * 0.045f);
    addLight(canvas, blurred(thick, canvas, size * 0.22f), {0.55f, 0.18f, 0.75f}, 0.9f);
    addLight(canvas, blurred(thick, canvas, size * 0.07f), {0.2f, 0.35f, 0.9f}, 0.5f);

    // The orbit: an ellipse round the word, its far half behind the letters.
    Mask ringBack(canvas), ringFront(canvas);
    const float ringX = centreX, ringY = baseline - cap * 0.45f;
    const float rx = width / 2 + size * 0.42f, ry = cap * 0.62f, tilt = -0.09f;
    if (orbit) {
        Mask ring(canvas);
        strokeEllipse(ring, canvas, ringX, ringY, rx, ry, tilt, std::max(2.0f, size * 0.028f));
        const float c = std::cos(tilt), s = std::sin(tilt);
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) {
                const float m = ring.at(x, y);
                if (m <= 0)
                    continue;
                const float dx = canvas.screenX(x) - ringX, dy = canvas.screenY(y) - ringY;
                const float v = -dx * s + dy * c, u = dx * c + dy * s;
                // The ring thins out toward its far side.
                const float fade = 0.35f + 0.65f * clamp01(0.5f + v / (2 * ry));
                (v < 0 ? ringBack : ringFront).at(x, y) = m * fade * (0.55f + 0.45f * clamp01(1 - std::fabs(u) / rx));
            }
        addLight(canvas, blurred(ringBack, canvas, 4), {0.3f, 0.6f, 1.0f}, 0.6f);
        paint(canvas, ringBack, {0.62f, 0.85f, 1.0f}, 0.85f);
    }

    // Outline with its shadow, then the gradient face, then a bevel light.
    const Mask outline = dilated(letters, canvas, size * 0.03f);
    paint(canvas, shifted(blurred(outline, canvas, size * 0.04f), canvas, size * 0.02f, size * 0.045f), shadowColour, 0.9f);
    paint(canvas, outline, {0.05f, 0.03f, 0.14f});
    const float top = baseline - cap, bottom = baseline;
    paintWith(canvas, letters, [&](float, float y) {
        const float t = clamp01((y - top) / (bottom - top));
        const Colour light{1.0f, 0.97f, 0.86f}, gold{1.0f, 0.76f, 0.3f}, rose{0.93f, 0.34f, 0.46f};
        return t < 0.5f ? mix(light, gold, t / 0.5f) : mix(gold, rose, (t - 0.5f) / 0.5f);
    });
    Mask bevel = cutOut(letters, shifted(letters, canvas, 0, size * 0.025f));
    paint(canvas, bevel, {1, 1, 1}, 0.55f);

    if (orbit) {
        addLight(canvas, blurred(ringFront, canvas, 4), {0.3f, 0.6f, 1.0f}, 0.6f);
        paint(canvas, ringFront, {0.75f, 0.92f, 1.0f});
        // A small moon riding the front of the orbit, lit from the upper left.
        const float a = 2.2f;   // angle along the ellipse, radians
        const float ex = rx * std::cos(a), ey = ry * std::sin(a);
        const float mx = ringX + ex * std::cos(tilt) - ey * std::sin(tilt);
        const float my = ringY + ex * std::sin(tilt) + ey * std::cos(tilt);
        const float mr = size * 0.075f;
        Mask moon(canvas);
        fillEllipse(moon, canvas, mx, my, mr, mr);
        addLight(canvas, blurred(dilated(moon, canvas, mr * 0.6f), canvas, mr * 1.5f), {0.5f, 0.75f, 1.0f}, 0.8f);
        paintWith(canvas, moon, [&](float x, float y) {
            const float lx = (x - mx) / mr + 0.45f, ly = (y - my) / mr + 0.45f;
            const float lit = clamp01(1.15f - 0.75f * std::sqrt(lx * lx + ly * ly));
            return mix(Colour{0.1f, 0.25f, 0.5f}, Colour{0.95f, 0.98f, 1.0f}, lit);
        });
    }
}

float keycapWidth(const MenuFonts& fonts, std::string_view key, float height)
{
    const TextStyle style{fonts.bold.get(), height * 0.62f, 0, condensed};
    return std::max(height, textWidth(style, key) + height * 0.6f);
}

float paintKeycap(Canvas& canvas, const MenuFonts& fonts, float x, float centreY, std::string_view key,
                  float height)
{
    const float width = keycapWidth(fonts, key, height);
    const float top = centreY - height / 2, bottom = centreY + height / 2, radius = height * 0.22f;
    Mask body(canvas), rim(canvas), face(canvas);
    fillRoundRect(body, canvas, x, top, x + width, bottom, radius);
    paint(canvas, shifted(blurred(body, canvas, 2), canvas, 1, 2), shadowColour, 0.7f);
    paintWith(canvas, body, [&](float, float y) {
        return mix(Colour{0.24f, 0.27f, 0.46f}, Colour{0.1f, 0.11f, 0.24f}, clamp01((y - top) / height));
    });
    strokeRoundRect(rim, canvas, x, top, x + width, bottom, radius, 1.1f);
    paint(canvas, rim, {0.62f, 0.68f, 0.95f}, 0.85f);
    const TextStyle style{fonts.bold.get(), height * 0.62f, 0, condensed};
    drawText(face, canvas, style, x + (width - textWidth(style, key)) / 2, centreY + capHeight(style) / 2, key);
    paint(canvas, face, labelWhite);
    return width;
}

void paintKeyHints(Canvas& canvas, const MenuFonts& fonts, float centreX, float centreY,
                   const std::vector<KeyHint>& hints)
{
    const float capSize = 21, gapKeys = 4, gapAction = 7, gapHints = 22;
    const TextStyle text{fonts.sans.get(), 15, 0};
    auto hintWidth = [&](const KeyHint& hint) {
        float w = 0;
        for (const std::string& key : hint.keys)
            w += keycapWidth(fonts, key, capSize) + gapKeys;
        return w - gapKeys + gapAction + textWidth(text, hint.action);
    };
    float total = 0;
    for (const KeyHint& hint : hints)
        total += hintWidth(hint) + gapHints;
    float x = centreX - (total - gapHints) / 2;
    for (const KeyHint& hint : hints) {
        for (const std::string& key : hint.keys)
            x += paintKeycap(canvas, fonts, x, centreY, key, capSize) + gapKeys;
        x += gapAction - gapKeys;
        x = paintLabel(canvas, text, x, centreY, hint.action, softBlue) + gapHints;
    }
}

void paintRowPlate(Canvas& canvas, float left, float right, float centreY, float height)
{
    Mask plate(canvas), edge(canvas);
    const float top = centreY - height / 2, bottom = centreY + height / 2;
    fillRoundRect(plate, canvas, left, top, right, bottom, height / 2);
    auto fade = [&](float x) { return 1 - smoothstep(left, right, x); };
    paintWith(canvas, plate, [&](float x, float y) {
        Colour c = mix(Colour{0.2f, 0.26f, 0.6f}, Colour{0.08f, 0.1f, 0.3f}, clamp01((y - top) / height));
        c.a = 0.42f * fade(x);
        return c;
    });
    fillLine(edge, canvas, left + height / 2, bottom - 0.5f, right - height / 2, bottom - 0.5f, 1.0f);
    paintWith(canvas, edge, [&](float x, float) { return Colour{0.45f, 0.6f, 1.0f, 0.7f * fade(x)}; });
}

void paintPanel(Canvas& canvas, float left, float top, float right, float bottom)
{
    Mask body(canvas), rim(canvas);
    fillRoundRect(body, canvas, left, top, right, bottom, 12);
    paint(canvas, shifted(blurred(body, canvas, 6), canvas, 2, 4), shadowColour, 0.6f);
    paintWith(canvas, body, [&](float, float y) {
        Colour c = mix(Colour{0.07f, 0.09f, 0.22f}, Colour{0.03f, 0.04f, 0.12f}, clamp01((y - top) / (bottom - top)));
        c.a = 0.78f;
        return c;
    });
    strokeRoundRect(rim, canvas, left, top, right, bottom, 12, 1.2f);
    paint(canvas, rim, {0.4f, 0.5f, 0.9f}, 0.6f);
}

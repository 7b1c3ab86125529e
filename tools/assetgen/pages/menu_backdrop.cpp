#include "pages/menu_backdrop.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.14159265f;

struct Vec3 {
    float x, y, z;
};
float dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 normalised(const Vec3& v)
{
    const float l = std::sqrt(dot(v, v));
    return {v.x / l, v.y / l, v.z / l};
}

// The sun sits up and to the left of the planet, a little in front of it.
const Vec3 sunDirection = normalised({-0.62f, -0.5f, 0.6f});

void paintSky(Canvas& canvas, const BackdropPlan& plan)
{
    const Colour top{0.012f, 0.016f, 0.06f}, middle{0.03f, 0.04f, 0.13f}, low{0.07f, 0.05f, 0.17f};
    const Colour haze{0.05f, 0.22f, 0.32f};
    const std::uint32_t seed = std::uint32_t(plan.seed);
    shadeAll(canvas, [&](float x, float y, Colour& p) {
        const float t = y / pageHeight;
        Colour c = t < 0.55f ? mix(top, middle, smoothstep(0, 0.55f, t)) : mix(middle, low, smoothstep(0.55f, 1, t));
        // A sea-green glow rising from the bottom edge.
        c = mix(c, haze, 0.45f * smoothstep(0.7f, 1.05f, t));
        // Nebula: two tinted cloud layers through a slowly varying density.
        const float density = smoothstep(0.42f, 0.8f, fractalNoise(x / 260, y / 260, 3, seed + 11));
        const float cloud = fractalNoise(x / 120, y / 120, 4, seed + 23);
        const float tint = fractalNoise(x / 340 + 7, y / 340, 2, seed + 31);
        const Colour nebula = mix(Colour{0.32f, 0.07f, 0.36f}, Colour{0.03f, 0.24f, 0.34f}, smoothstep(0.35f, 0.65f, tint));
        const float k = density * smoothstep(0.38f, 0.85f, cloud) * 0.55f;
        p = {c.r + nebula.r * k, c.g + nebula.g * k, c.b + nebula.b * k, 1};
    });
}

// One soft round star of radius r (screen pixels) and brightness b.
void addStar(Canvas& canvas, float cx, float cy, float r, float b, const Colour& tint)
{
    const PixelBox box = pixelBox(canvas, cx - 3 * r, cy - 3 * r, cx + 3 * r, cy + 3 * r, 1);
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x) {
            const float dx = canvas.screenX(x) - cx, dy = canvas.screenY(y) - cy;
            const float k = b * std::exp(-(dx * dx + dy * dy) / (2 * r * r));
            Colour& p = canvas.image.at(x, y);
            p.r += tint.r * k;
            p.g += tint.g * k;
            p.b += tint.b * k;
        }
}

void paintStars(Canvas& canvas, const BackdropPlan& plan)
{
    Random random(plan.seed * 7919 + 3);
    const Colour tints[] = {{0.85f, 0.9f, 1.0f}, {1.0f, 0.92f, 0.8f}, {0.8f, 0.85f, 1.0f}, {1.0f, 1.0f, 1.0f}};
    for (int i = 0; i < 520; ++i) {
        const float x = random.range(0, pageWidth), y = random.range(0, pageHeight);
        const float u = random.uniform();
        const float b = 0.12f + 0.6f * u * u * u;
        const float r = 0.45f + 0.5f * random.uniform();
        const Colour& tint = tints[random.next() % 4];
        addStar(canvas, x, y, r, b, tint);
    }
    // A handful of bright stars with soft cross flares.
    for (int i = 0; i < 9; ++i) {
        const float x = random.range(20, pageWidth - 20), y = random.range(10, pageHeight - 10);
        addStar(canvas, x, y, 0.9f, 0.75f, {0.9f, 0.95f, 1.0f});
        addStar(canvas, x, y, 3.5f, 0.08f, {0.6f, 0.75f, 1.0f});
        Mask flare(canvas);
        fillLine(flare, canvas, x - 9, y, x + 9, y, 0.8f);
        fillLine(flare, canvas, x, y - 9, x, y + 9, 0.8f);
        addLight(canvas, blurred(flare, canvas, 1.2f), {0.55f, 0.65f, 0.9f}, 0.35f);
    }
}

// Surface colour of the ocean planet at longitude/latitude (radians).
Colour planetSurface(float lon, float lat, std::uint32_t seed)
{
    const float h = fractalNoise(lon * 2.4f + 5, lat * 2.4f + 5, 6, seed);
    const Colour deep{0.02f, 0.09f, 0.28f}, shallow{0.06f, 0.38f, 0.55f};
    const Colour sand{0.78f, 0.72f, 0.5f}, grass{0.2f, 0.52f, 0.2f}, forest{0.08f, 0.3f, 0.12f};
    // Mostly ocean: only the highest ground breaks the surface as islands.
    Colour c;
    if (h < 0.6f)
        c = mix(deep, shallow, smoothstep(0.47f, 0.6f, h));
    else if (h < 0.612f)
        c = mix(shallow, sand, smoothstep(0.6f, 0.608f, h));
    else
        c = mix(mix(sand, grass, smoothstep(0.612f, 0.63f, h)), forest, smoothstep(0.65f, 0.72f, h));
    // Bands of cloud drifting along the latitudes.
    const float cloud = fractalNoise(lon * 4 + 11, lat * 9 + 3, 5, seed + 77);
    return mix(c, Colour{0.95f, 0.97f, 1.0f}, 0.85f * smoothstep(0.56f, 0.78f, cloud));
}

// The ring: density over the ring plane's radius (in planet radii).
float ringDensity(float rho, std::uint32_t seed)
{
    if (rho < 1.3f || rho > 2.15f)
        return 0;
    const float edge = smoothstep(1.3f, 1.38f, rho) * (1 - smoothstep(2.05f, 2.15f, rho));
    const float bands = 0.5f + 0.5f * valueNoise(rho * 16, 0.5f, seed + 5);
    const float gap = 1 - 0.85f * (1 - smoothstep(0.0f, 0.035f, std::fabs(rho - 1.78f)));
    return edge * bands * gap;
}

// Sub-sample offsets (fractions of a texture pixel) for 2 x 2 supersampling.
const float subSamples[4][2] = {{0.25f, 0.25f}, {0.75f, 0.25f}, {0.25f, 0.75f}, {0.75f, 0.75f}};

// Paints the half of the ring in front of (front = true) or behind the planet.
void paintRing(Canvas& canvas, const BackdropPlan& plan, bool front)
{
    const float cx = plan.planetX, cy = plan.planetY, R = plan.planetRadius;
    const float c = std::cos(plan.ringTilt), s = std::sin(plan.ringTilt);
    const float flatten = 0.26f;
    const std::uint32_t seed = std::uint32_t(plan.seed) + 3;
    const float reach = 2.2f * R;
    const PixelBox box = pixelBox(canvas, cx - reach, cy - reach, cx + reach, cy + reach);
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x) {
            Colour sum{0, 0, 0, 0};
            float alpha = 0;
            for (const auto& sub : subSamples) {
                const float dx = (float(x) + sub[0]) / canvas.sx - cx, dy = (float(y) + sub[1]) / canvas.sy - cy;
                const float u = dx * c + dy * s, v = -dx * s + dy * c;
                if ((v >= 0) != front)
                    continue;
                const float rho = std::sqrt(u * u + (v / flatten) * (v / flatten)) / R;
                const float d = ringDensity(rho, seed);
                if (d <= 0)
                    continue;
                // The far side of the ring lies in the planet's shadow away from the sun.
                const float lit = (u < 0 ? 1.0f : 0.75f) * (front ? 1.0f : 0.8f);
                const Colour ring =
                    mix(Colour{0.55f, 0.5f, 0.58f}, Colour{0.72f, 0.62f, 0.5f}, valueNoise(rho * 9, 1.5f, seed));
                const float a = 0.8f * d / 4;
                sum = {sum.r + ring.r * lit * a, sum.g + ring.g * lit * a, sum.b + ring.b * lit * a, 1};
                alpha += a;
            }
            if (alpha > 0)
                canvas.image.blend(x, y, {sum.r / alpha, sum.g / alpha, sum.b / alpha, 1}, alpha);
        }
}

// The lit globe at a point of its disc, in planet radii from its centre.
Colour shadePlanet(float nx, float ny, std::uint32_t seed, const Vec3& half)
{
    const float r = std::sqrt(nx * nx + ny * ny);
    const float rr = std::min(r, 0.9999f);
    const float k = rr / std::max(r, 1e-6f);
    const Vec3 n{nx * k, ny * k, std::sqrt(1 - rr * rr)};
    // Tilt the globe a little so the islands do not line up with the screen.
    const float lon = std::atan2(n.x * 0.96f + n.y * 0.28f, n.z);
    const float lat = std::asin(std::clamp(n.y * 0.96f - n.x * 0.28f, -1.0f, 1.0f));
    Colour c = planetSurface(lon, lat, seed);
    const float light = dot(n, sunDirection);
    const float diffuse = smoothstep(-0.15f, 0.75f, light);
    const float specular = std::pow(std::max(0.0f, dot(n, half)), 60.0f) * 0.45f * (c.b > c.g ? 1.0f : 0.2f);
    const float rim = std::pow(1 - n.z, 3.0f) * (0.2f + 0.8f * diffuse);
    // The night side keeps a faint blue glow so the disc stays visible.
    return {c.r * (0.03f + 0.97f * diffuse) + specular + 0.25f * rim,
            c.g * (0.03f + 0.97f * diffuse) + specular + 0.5f * rim,
            c.b * (0.05f + 0.95f * diffuse) + specular + 0.95f * rim + 0.03f * (1 - diffuse), 1};
}

void paintPlanet(Canvas& canvas, const BackdropPlan& plan)
{
    const float cx = plan.planetX, cy = plan.planetY, R = plan.planetRadius;
    const std::uint32_t seed = std::uint32_t(plan.seed) + 101;
    const float reach = R * 1.35f;
    const PixelBox box = pixelBox(canvas, cx - reach, cy - reach, cx + reach, cy + reach);
    const Vec3 half = normalised({sunDirection.x, sunDirection.y, sunDirection.z + 1});
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x) {
            const float nx = (canvas.screenX(x) - cx) / R, ny = (canvas.screenY(y) - cy) / R;
            const float r = std::sqrt(nx * nx + ny * ny);
            Colour& p = canvas.image.at(x, y);
            // Atmosphere glow around the disc, stronger on the sunlit side.
            const float side = clamp01(0.5f + 0.9f * (nx * sunDirection.x + ny * sunDirection.y) / std::max(r, 1e-3f));
            if (r > 1) {
                const float glow = std::exp(-(r - 1) * R / 10) * (0.25f + 0.75f * side) * 0.55f;
                p.r += 0.25f * glow;
                p.g += 0.5f * glow;
                p.b += 1.0f * glow;
            }
            const float cover = clamp01(0.5f - (r - 1) * R);
            if (cover <= 0)
                continue;
            Colour c{0, 0, 0, 1};
            for (const auto& sub : subSamples) {
                const float qx = ((float(x) + sub[0]) / canvas.sx - cx) / R, qy = ((float(y) + sub[1]) / canvas.sy - cy) / R;
                const Colour q = shadePlanet(qx, qy, seed, half);
                c = {c.r + q.r / 4, c.g + q.g / 4, c.b + q.b / 4, 1};
            }
            p = mix(p, c, cover);
        }
}

void paintVignette(Canvas& canvas, float brightness)
{
    shadeAll(canvas, [&](float x, float y, Colour& p) {
        const float dx = (x - pageWidth / 2) / (pageWidth / 2), dy = (y - pageHeight / 2) / (pageHeight / 2);
        const float k = brightness * (1 - 0.6f * smoothstep(0.55f, 1.45f, std::sqrt(dx * dx + dy * dy)));
        p = scaled(p, k);
    });
}

}  // namespace

void paintBackdrop(Canvas& canvas, const BackdropPlan& plan)
{
    paintSky(canvas, plan);
    paintStars(canvas, plan);
    paintRing(canvas, plan, false);
    paintPlanet(canvas, plan);
    paintRing(canvas, plan, true);
    paintVignette(canvas, plan.brightness);
}

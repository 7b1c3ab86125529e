// The ground slab's texture (hm5c): one 1024 x 1024 picture stretched over
// the whole 1075 x 1100 unit slab, so one texel is about one world unit.
// Columns run along world z (-550 at the left), rows along world x (-525,
// the beach side, at the top). The picture is laid out in world units: a
// meadow of mixed grasses with bare earthy patches, worn paths from the
// middle to the six emitter sites and to the plank, trampled pads round the
// emitters, rubble where the obstacle boxes stand, sand toward the beach and
// scree at the mountains' feet.
#include "textures/textures.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int groundSize = 1024;
constexpr float xMin = -525, xSpan = 1075, zMin = -550, zSpan = 1100;

float worldX(int row) { return xMin + xSpan * (float(row) + 0.5f) / groundSize; }
float worldZ(int column) { return zMin + zSpan * (float(column) + 0.5f) / groundSize; }
float pixelRow(float x) { return (x - xMin) / xSpan * groundSize; }
float pixelColumn(float z) { return (z - zMin) / zSpan * groundSize; }

struct Point {
    float x, z;
};

// The emitter crates stand with a corner at these places (10 x 10 units).
constexpr Point emitterSites[6] = {{-200, -250}, {200, -250}, {-200, 250}, {200, 250}, {-300, 350}, {305, 350}};

// Obstacle boxes: x from, x to, z from, z to.
constexpr float obstacleBoxes[24][4] = {
    {-210, -190, -250, -230}, {-210, -190, -290, -270}, {-220, -200, -270, -240}, {-190, -170, -270, -240},
    {190, 210, -250, -230},   {190, 210, -290, -270},   {200, 220, -270, -240},   {170, 190, -270, -240},
    {200, 220, 210, 230},     {200, 220, 250, 270},     {210, 230, 225, 245},     {180, 200, 225, 245},
    {-220, -200, 210, 230},   {-220, -200, 250, 270},   {-230, -210, 225, 245},   {-200, -180, 225, 245},
    {-320, -300, 320, 340},   {-320, -300, 360, 380},   {-330, -310, 335, 355},   {-300, -280, 335, 355},
    {260, 280, 320, 340},     {260, 280, 360, 380},     {270, 290, 335, 355},     {240, 260, 335, 355}};

// Worn paths, as control points of smooth curves (world x, z): a trail
// that rings the middle through the four inner emitter sites, two spurs
// from the middle clearing, branches to the outer sites, one to the plank
// and one toward the eastern range.
struct Route {
    bool closed;
    std::vector<Point> points;
};

const std::vector<Route>& pathRoutes()
{
    static const std::vector<Route> routes = {
        {true,
         {{-195, -245}, {-30, -300}, {205, -245}, {310, 10}, {205, 255}, {-10, 315}, {-195, 255}, {-300, 20}}},
        {false, {{0, 0}, {-35, -120}, {-10, -220}, {-30, -300}}},
        {false, {{0, 0}, {40, 130}, {10, 240}, {-10, 315}}},
        {false, {{-195, 255}, {-235, 318}, {-295, 355}}},
        {false, {{205, 255}, {255, 298}, {310, 355}}},
        {false, {{-300, 20}, {-390, -10}, {-470, 15}, {-540, 0}}},
        {false, {{310, 10}, {400, -30}, {470, 5}, {530, -10}}},
    };
    return routes;
}

Point catmullRom(const Point& p0, const Point& p1, const Point& p2, const Point& p3, float t)
{
    const float t2 = t * t, t3 = t2 * t;
    auto f = [&](float a, float b, float c, float d) {
        return 0.5f * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 + (-a + 3 * b - 3 * c + d) * t3);
    };
    return {f(p0.x, p1.x, p2.x, p3.x), f(p0.z, p1.z, p2.z, p3.z)};
}

// Distance (world units) from every texel to the nearest path centre line,
// clipped at `reach`.
std::vector<float> pathDistances(float reach)
{
    std::vector<float> distance(std::size_t(groundSize) * groundSize, reach);
    for (const Route& route : pathRoutes()) {
        const std::vector<Point>& p = route.points;
        const int n = static_cast<int>(p.size());
        auto at = [&](int i) -> const Point& {
            return route.closed ? p[(i + n) % n] : p[std::clamp(i, 0, n - 1)];
        };
        for (int i = 0; i < (route.closed ? n : n - 1); ++i) {
            const float length = std::hypot(at(i + 1).x - at(i).x, at(i + 1).z - at(i).z);
            const int steps = static_cast<int>(length * 2) + 1;
            for (int k = 0; k <= steps; ++k) {
                const Point c = catmullRom(at(i - 1), at(i), at(i + 1), at(i + 2), float(k) / steps);
                const int r0 = static_cast<int>(pixelRow(c.x - reach)), r1 = static_cast<int>(pixelRow(c.x + reach));
                const int c0 = static_cast<int>(pixelColumn(c.z - reach)), c1 = static_cast<int>(pixelColumn(c.z + reach));
                for (int row = std::max(0, r0); row <= std::min(groundSize - 1, r1); ++row) {
                    for (int col = std::max(0, c0); col <= std::min(groundSize - 1, c1); ++col) {
                        const float d = std::hypot(worldX(row) - c.x, worldZ(col) - c.z);
                        float& best = distance[std::size_t(row) * groundSize + col];
                        best = std::min(best, d);
                    }
                }
            }
        }
    }
    return distance;
}

Colour grassColour(float x, float z, int column, int row)
{
    const float wx = x + 45 * gradientFractal(x / 260, z / 260, 2, 11);
    const float wz = z + 45 * gradientFractal(x / 260, z / 260, 2, 12);
    const float large = gradientFractal(wx / 330, wz / 330, 3, 13);
    const float mid = gradientFractal(wx / 70, wz / 70, 3, 14);
    const float small = gradientNoise(x / 11, z / 11, 15);
    const float fine = gradientNoise(x / 3.2f, z / 3.2f, 16);
    const float speckle = hash01(column, row, 17) - 0.5f;

    const Colour lush = rgb(82, 130, 52), fresh = rgb(120, 160, 70), dry = rgb(172, 166, 96), deep = rgb(62, 104, 44);
    Colour c = mix(lush, fresh, smoothstep(-0.45f, 0.45f, large + 0.5f * mid));
    c = mix(c, dry, 0.85f * smoothstep(0.2f, 0.75f, large + 0.35f * mid + 0.15f * small));
    c = mix(c, deep, 0.4f * smoothstep(0.15f, 0.6f, small - 0.4f * large));
    const float shade = 1.0f + 0.10f * mid + 0.06f * small + 0.08f * fine + 0.10f * speckle;
    return scaled(c, shade);
}

Colour soilColour(float x, float z, int column, int row, float trodden)
{
    const float mottle = gradientFractal(x / 18, z / 18, 3, 21);
    const float grain = gradientNoise(x / 2.5f, z / 2.5f, 22) + 0.6f * (hash01(column, row, 23) - 0.5f);
    const Colour dark = rgb(116, 90, 60), light = rgb(164, 136, 98), packed = rgb(186, 160, 118);
    Colour c = mix(dark, light, smoothstep(-0.5f, 0.5f, mottle));
    c = mix(c, packed, 0.7f * trodden);
    return scaled(c, 1.0f + 0.08f * grain);
}

float emitterPad(float x, float z, float& scorch)
{
    float pad = 0;
    scorch = 0;
    for (const Point& e : emitterSites) {
        const float dx = x - (e.x + 5), dz = z - (e.z + 5);
        const float d = std::hypot(dx, dz);
        if (d > 40)
            continue;
        const float ragged = 5 * gradientNoise(x / 9, z / 9, 31) + 3 * gradientNoise(x / 3, z / 3, 32);
        pad = std::max(pad, 1.0f - smoothstep(20, 30, d + ragged));
        // Burn streaks fan out from the crate.
        const float angle = std::atan2(dz, dx);
        const float streaks = 0.5f + 0.5f * gradientNoise(angle / twoPi * 32, d / 40, 33, 32, 0);
        scorch = std::max(scorch, (1.0f - smoothstep(6, 18 + 6 * streaks, d + 0.5f * ragged)) * (0.55f + 0.45f * streaks));
    }
    return pad;
}

void scatterStones(Image& image, const std::vector<float>& rough)
{
    // Rubble fills the obstacle boxes.
    Random random(41);
    for (const auto& box : obstacleBoxes) {
        const float area = (box[1] - box[0]) * (box[3] - box[2]);
        const int count = static_cast<int>(area / 14);
        for (int i = 0; i < count; ++i) {
            const float x = random.range(box[0] + 1, box[1] - 1), z = random.range(box[2] + 1, box[3] - 1);
            const float r = random.range(1.6f, 3.6f);
            const float tone = random.range(0.8f, 1.15f);
            const Colour rock = scaled(mix(rgb(128, 124, 116), rgb(150, 138, 118), random.uniform()), tone);
            const float px = pixelColumn(z), py = pixelRow(x);
            stampDisc(image, px + 0.7f, py + 0.8f, r * 1.05f, rgb(40, 44, 30), 0.55f, 1.2f, false);
            stampDisc(image, px, py, r, rock, 1.0f, 0.8f, false);
            stampDisc(image, px - r * 0.3f, py - r * 0.3f, r * 0.45f, scaled(rock, 1.18f), 0.6f, 1.0f, false);
        }
    }
    // Loose stones over the meadow, many more on the scree.
    for (int i = 0; i < 16000; ++i) {
        const float px = random.range(0, groundSize), py = random.range(0, groundSize);
        const float keep = random.uniform();
        const int ix = std::clamp(static_cast<int>(px), 0, groundSize - 1);
        const int iy = std::clamp(static_cast<int>(py), 0, groundSize - 1);
        if (keep > 0.12f + 0.88f * rough[std::size_t(iy) * groundSize + ix])
            continue;
        const float r = random.range(0.5f, 1.6f);
        const Colour rock = scaled(rgb(146, 140, 126), random.range(0.75f, 1.1f));
        stampDisc(image, px + 0.5f, py + 0.5f, r, rgb(40, 46, 28), 0.3f, 0.7f, false);
        stampDisc(image, px, py, r, rock, 0.7f, 0.6f, false);
    }
}

void scatterFlowers(Image& image, const std::vector<float>& bareness)
{
    Random random(51);
    const Colour petals[4] = {rgb(238, 236, 220), rgb(240, 214, 84), rgb(190, 160, 220), rgb(250, 246, 200)};
    for (int i = 0; i < 420; ++i) {
        const float cx = random.range(0, groundSize), cy = random.range(0, groundSize);
        const int ix = std::clamp(static_cast<int>(cx), 0, groundSize - 1);
        const int iy = std::clamp(static_cast<int>(cy), 0, groundSize - 1);
        if (bareness[std::size_t(iy) * groundSize + ix] > 0.2f)
            continue;
        const Colour petal = petals[static_cast<int>(random.uniform() * 4) & 3];
        const int dots = 6 + static_cast<int>(random.uniform() * 14);
        const float spread = random.range(3, 9);
        for (int k = 0; k < dots; ++k) {
            const float a = random.range(0, twoPi), r = spread * std::sqrt(random.uniform());
            stampDisc(image, cx + r * std::cos(a), cy + r * std::sin(a), random.range(0.4f, 0.7f), petal,
                      random.range(0.35f, 0.7f), 0.5f, false);
        }
    }
}

}  // namespace

Image paintGround()
{
    Image image(groundSize, groundSize);
    const std::vector<float> paths = pathDistances(14);
    std::vector<float> bareness(std::size_t(groundSize) * groundSize, 0.0f);
    std::vector<float> rough(std::size_t(groundSize) * groundSize, 0.0f);   // sand and scree

    for (int row = 0; row < groundSize; ++row) {
        const float x = worldX(row);
        for (int col = 0; col < groundSize; ++col) {
            const float z = worldZ(col);
            Colour c = grassColour(x, z, col, row);
            const float fine = gradientNoise(x / 2.2f, z / 2.2f, 61);

            // Bare earthy patches among the grass.
            const float wx = x + 25 * gradientNoise(x / 60, z / 60, 62);
            const float patches = gradientFractal(wx / 95, z / 95, 4, 63);
            float bare = smoothstep(0.44f, 0.56f, patches + 0.12f * fine);

            // Paths: a trodden middle and a ragged grassy edge.
            const float width = 4.2f + 1.6f * gradientNoise(x / 70, z / 70, 64);
            const float d = paths[std::size_t(row) * groundSize + col] + 1.6f * gradientNoise(x / 14, z / 14, 65);
            const float path = 1.0f - smoothstep(width - 1.5f, width + 1.5f, d + 1.2f * fine);
            const float trodden = 1.0f - smoothstep(0, width, d);

            // The middle clearing and the pads round the emitters.
            const float hub = 1.0f - smoothstep(14, 24, std::hypot(x, z) + 6 * gradientNoise(x / 12, z / 12, 66));
            float scorch = 0;
            const float pad = emitterPad(x, z, scorch);

            bare = std::max({bare, path, hub, pad});
            bareness[std::size_t(row) * groundSize + col] = bare;

            if (bare > 0) {
                const Colour soil = soilColour(x, z, col, row, std::max(trodden * path, 0.5f * hub));
                // Thin grass survives at the edges of bare ground.
                const float tufts = smoothstep(0.1f, 0.5f, fine + 0.6f * (1.0f - bare));
                c = mix(c, soil, bare * (1.0f - 0.6f * tufts * (1.0f - bare)));
            }
            c = mix(c, rgb(46, 36, 28), 0.8f * scorch);

            // Sand drifts onto the ground by the beach (x = -525) ...
            const float drift = x + 9 * gradientFractal(z / 30, 0.5f, 3, 67);
            const float sand = (1.0f - smoothstep(-518, -500, drift)) * (1.0f - 0.5f * smoothstep(0.1f, 0.5f, fine) *
                                                                              smoothstep(-522, -508, drift));
            c = mix(c, scaled(rgb(200, 182, 138), 1.0f + 0.07f * fine + 0.06f * (hash01(col, row, 71) - 0.5f)), sand);
            // ... and scree gathers where the mountains stand.
            const float edge = std::max(x - 494, std::fabs(z) - 499);
            const float scree = smoothstep(-8, 16, edge + 14 * gradientFractal(x / 45, z / 45, 3, 68));
            const float tone = gradientFractal(x / 10, z / 10, 2, 70);
            const Colour gravel = scaled(mix(rgb(112, 106, 92), rgb(140, 132, 116), smoothstep(-0.4f, 0.4f, tone)),
                                         1.0f + 0.06f * fine + 0.12f * (hash01(col, row, 69) - 0.5f));
            c = mix(c, gravel, scree);
            rough[std::size_t(row) * groundSize + col] = std::max(sand, scree);
            image.at(col, row) = c;
        }
    }
    for (std::size_t i = 0; i < bareness.size(); ++i)
        bareness[i] = std::max(bareness[i], rough[i]);
    scatterFlowers(image, bareness);
    scatterStones(image, rough);
    return image;
}

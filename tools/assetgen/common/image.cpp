#include "common/image.h"

#include "formats/file_formats.h"

#include <cstdio>

void Image::blend(int x, int y, const Colour& c, float alpha)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    Colour& d = at(x, y);
    const float k = clamp01(alpha * c.a);
    d.r += (c.r - d.r) * k;
    d.g += (c.g - d.g) * k;
    d.b += (c.b - d.b) * k;
    d.a = d.a + (1 - d.a) * k;
}

Image reduced(const Image& image, int fx, int fy)
{
    Image out(image.width / fx, image.height / fy);
    const float n = float(fx * fy);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            Colour sum = {0, 0, 0, 0};
            for (int j = 0; j < fy; ++j)
                for (int i = 0; i < fx; ++i) {
                    const Colour& c = image.at(fx * x + i, fy * y + j);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b, sum.a + c.a};
                }
            out.at(x, y) = {sum.r / n, sum.g / n, sum.b / n, sum.a / n};
        }
    return out;
}

namespace {

bool writeTga(const Image& image, const std::string& path, bool withAlpha, bool rle)
{
    const int channels = withAlpha ? 4 : 3;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(image.pixels.size() * channels);
    auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0f)); };
    for (const Colour& c : image.pixels) {
        bytes.push_back(byte(c.r));
        bytes.push_back(byte(c.g));
        bytes.push_back(byte(c.b));
        if (withAlpha)
            bytes.push_back(byte(c.a));
    }
    if (!tgaWrite(path, image.width, image.height, channels, bytes, rle)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool saveTga(const Image& image, const std::string& path, bool withAlpha)
{
    return writeTga(image, path, withAlpha, false);
}

bool saveTgaCompressed(const Image& image, const std::string& path, bool withAlpha)
{
    return writeTga(image, path, withAlpha, true);
}

namespace {

float lattice(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return float(h & 0xffffff) / float(0xffffff);
}

int wrap(int v, int period)
{
    if (period <= 0)
        return v;
    v %= period;
    return v < 0 ? v + period : v;
}

}  // namespace

float valueNoise(float x, float y, std::uint32_t seed, int period)
{
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = x - fx, ty = y - fy;
    const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const int x0 = wrap(ix, period), x1 = wrap(ix + 1, period);
    const int y0 = wrap(iy, period), y1 = wrap(iy + 1, period);
    const float a = lattice(x0, y0, seed), b = lattice(x1, y0, seed);
    const float c = lattice(x0, y1, seed), d = lattice(x1, y1, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

float fractalNoise(float x, float y, int octaves, std::uint32_t seed, int period)
{
    float sum = 0, amplitude = 1, total = 0, frequency = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * valueNoise(x * frequency, y * frequency, seed + 101u * i,
                                      period > 0 ? period * static_cast<int>(frequency) : 0);
        total += amplitude;
        amplitude *= 0.5f;
        frequency *= 2;
    }
    return sum / total;
}

float hash01(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8da6b343u ^ static_cast<std::uint32_t>(y) * 0xd8163841u ^
                      (seed + 0x9e3779b9u) * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return float(h >> 8) / float(1u << 24);
}

namespace {

// Dot product of the lattice point's gradient with the offset (dx, dy).
float gradientDot(int x, int y, std::uint32_t seed, float dx, float dy)
{
    // Sixteen directions evenly around the circle.
    static const float directions[16][2] = {
        {1.0f, 0.0f},       {0.92388f, 0.38268f},  {0.70711f, 0.70711f},  {0.38268f, 0.92388f},
        {0.0f, 1.0f},       {-0.38268f, 0.92388f}, {-0.70711f, 0.70711f}, {-0.92388f, 0.38268f},
        {-1.0f, 0.0f},      {-0.92388f, -0.38268f}, {-0.70711f, -0.70711f}, {-0.38268f, -0.92388f},
        {0.0f, -1.0f},      {0.38268f, -0.92388f},  {0.70711f, -0.70711f},  {0.92388f, -0.38268f}};
    const int index = static_cast<int>(hash01(x, y, seed) * 16.0f) & 15;
    return directions[index][0] * dx + directions[index][1] * dy;
}

}  // namespace

float gradientNoise(float x, float y, std::uint32_t seed, int periodX, int periodY)
{
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = x - fx, ty = y - fy;
    const float sx = tx * tx * tx * (tx * (tx * 6 - 15) + 10);
    const float sy = ty * ty * ty * (ty * (ty * 6 - 15) + 10);
    const int x0 = wrap(ix, periodX), x1 = wrap(ix + 1, periodX);
    const int y0 = wrap(iy, periodY), y1 = wrap(iy + 1, periodY);
    const float a = gradientDot(x0, y0, seed, tx, ty);
    const float b = gradientDot(x1, y0, seed, tx - 1, ty);
    const float c = gradientDot(x0, y1, seed, tx, ty - 1);
    const float d = gradientDot(x1, y1, seed, tx - 1, ty - 1);
    const float top = a + (b - a) * sx, bottom = c + (d - c) * sx;
    return 1.4142f * (top + (bottom - top) * sy);
}

float gradientFractal(float x, float y, int octaves, std::uint32_t seed, int periodX, int periodY,
                      float gain)
{
    float sum = 0, amplitude = 1, power = 0, frequency = 1;
    for (int i = 0; i < octaves; ++i) {
        const int scale = static_cast<int>(frequency);
        sum += amplitude * gradientNoise(x * frequency, y * frequency, seed + 7919u * i,
                                         periodX > 0 ? periodX * scale : 0,
                                         periodY > 0 ? periodY * scale : 0);
        power += amplitude * amplitude;
        amplitude *= gain;
        frequency *= 2;
    }
    // Dividing by the root of the summed powers keeps the spread of the
    // result the same as one layer's, whatever the number of octaves.
    return sum / std::sqrt(power);
}

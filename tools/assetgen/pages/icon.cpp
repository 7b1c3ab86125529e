#include "pages/icon.h"

#include "assetgen.h"
#include "pages/menu_backdrop.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace {

// The tile is painted at the least common multiple of the icon sizes times
// three, so every size is an exact reduction of it.
constexpr int fineSize = 768;

// The planet and its ring, centred in a square cut from a page-shaped canvas
// (the backdrop is laid out on the 800 x 600 page).
Image paintFineTile()
{
    Canvas page(fineSize * 4 / 3, fineSize);   // 1.28 texture pixels per screen pixel both ways
    BackdropPlan plan;
    plan.seed = 15;
    plan.planetX = pageWidth / 2;
    plan.planetY = pageHeight / 2;
    plan.planetRadius = 128;
    plan.ringTilt = -0.42f;
    plan.brightness = 1.15f;
    paintBackdrop(page, plan);
    Image tile(fineSize, fineSize);
    const int left = (page.width() - fineSize) / 2;
    for (int y = 0; y < fineSize; ++y)
        for (int x = 0; x < fineSize; ++x)
            tile.at(x, y) = page.image.at(left + x, y);
    return tile;
}

// Signed distance in pixels from the edge of the rounded tile of a size x
// size icon (a rounded square inset a little), positive inside.
float depthInside(float x, float y, int size)
{
    const float inset = size / 32.0f, radius = size * 0.2f;
    const float half = size / 2.0f - inset;
    const float qx = std::fabs(x - size / 2.0f) - (half - radius);
    const float qy = std::fabs(y - size / 2.0f) - (half - radius);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f);
    return radius - outside;
}

bool savePng(const Image& image, const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(image.pixels.size() * 4);
    auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0f)); };
    for (const Colour& c : image.pixels) {
        bytes.push_back(byte(c.r));
        bytes.push_back(byte(c.g));
        bytes.push_back(byte(c.b));
        bytes.push_back(byte(c.a));
    }
    if (!stbi_write_png(path.c_str(), image.width, image.height, 4, bytes.data(), image.width * 4)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

Image paintIcon(int size)
{
    static const Image fine = paintFineTile();
    Image icon = reduced(fine, fineSize / size, fineSize / size);
    const Colour rim{0.55f, 0.7f, 1.0f};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            Colour& c = icon.at(x, y);
            // A thin light rim just inside the edge sets the tile off dark panels.
            const float rimWidth = std::max(1.0f, size / 64.0f);
            const float d = depthInside(px, py, size);
            c = mix(c, rim, 0.55f * clamp01(1 - std::fabs(d - rimWidth / 2) / rimWidth));
            c.a = clamp01(0.5f + d);   // anti-aliased over one pixel
        }
    return icon;
}

bool generateIcons(const std::string& root)
{
    bool ok = true;
    for (int size : iconSizes) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path folder = std::filesystem::path(root) / name / "apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            std::fprintf(stderr, "assetgen: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
            ok = false;
            continue;
        }
        ok = savePng(paintIcon(size), (folder / "orbitor.png").string()) && ok;
    }
    return ok;
}

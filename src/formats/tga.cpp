#include "formats/file_formats.h"

#include <algorithm>
#include <cstdio>

namespace {

int read16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }

bool fail(std::string& error, const char* why)
{
    error = why;
    return false;
}

}  // namespace

bool tgaCheck(const std::uint8_t* data, std::size_t size, TgaInfo& info, std::string& error)
{
    if (data == nullptr || size < tgaHeaderSize)
        return fail(error, "shorter than a TGA header");
    const int idLength = data[0];
    const int colourMapType = data[1];
    const int imageType = data[2];
    const int mapLength = read16(data + 5);
    const int mapEntryBits = data[7];
    const int width = read16(data + 12);
    const int height = read16(data + 14);
    const int bits = data[16];
    const int descriptor = data[17];

    const bool rle = imageType >= tgaRleColourMapped;
    const int baseType = rle ? imageType - 8 : imageType;
    switch (baseType) {
    case tgaColourMapped:
        if (colourMapType != 1 || bits != 8 || mapLength == 0)
            return fail(error, "colour-mapped image without an 8-bit index and a colour map");
        if (mapEntryBits != 15 && mapEntryBits != 16 && mapEntryBits != 24 && mapEntryBits != 32)
            return fail(error, "unsupported colour map entry size");
        break;
    case tgaTrueColour:
        if (bits != 24 && bits != 32)
            return fail(error, "true-colour image that is not 24 or 32 bits");
        break;
    case tgaGreyscale:
        if (bits != 8)
            return fail(error, "greyscale image that is not 8 bits");
        break;
    default:
        return fail(error, "not a TGA image type the game reads");
    }
    if (colourMapType > 1)
        return fail(error, "bad colour map type");
    if (width == 0 || height == 0)
        return fail(error, "empty image");

    std::size_t offset = tgaHeaderSize + static_cast<std::size_t>(idLength);
    if (colourMapType == 1)
        offset += static_cast<std::size_t>(mapLength) * static_cast<std::size_t>((mapEntryBits + 7) / 8);
    if (offset > size)
        return fail(error, "colour map runs past the end of the file");

    const std::size_t pixelBytes = static_cast<std::size_t>(bits / 8);
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (!rle) {
        if (pixels * pixelBytes > size - offset)
            return fail(error, "pixel data runs past the end of the file");
    } else {
        // Walk the packets: every pixel must be covered before the data ends.
        std::size_t at = offset;
        std::size_t covered = 0;
        while (covered < pixels) {
            if (at >= size)
                return fail(error, "run-length data runs past the end of the file");
            const std::uint8_t packet = data[at++];
            const std::size_t count = (packet & 0x7f) + 1u;
            const std::size_t bytes = (packet & 0x80) ? pixelBytes : count * pixelBytes;
            if (bytes > size - at)
                return fail(error, "run-length data runs past the end of the file");
            at += bytes;
            covered += count;
        }
    }

    info.width = width;
    info.height = height;
    info.imageType = imageType;
    info.bitsPerPixel = bits;
    info.topOrigin = (descriptor & tgaTopOrigin) != 0;
    info.pixelDataOffset = offset;
    return true;
}

bool tgaWrite(const std::string& path, int width, int height, int channels,
              const std::vector<std::uint8_t>& pixels, bool rle)
{
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 ||
        (channels != 3 && channels != 4) ||
        pixels.size() != static_cast<std::size_t>(width) * height * channels)
        return false;

    std::vector<std::uint8_t> out;
    out.reserve(tgaHeaderSize + pixels.size());
    const std::uint8_t header[tgaHeaderSize] = {
        0, 0, static_cast<std::uint8_t>(rle ? tgaRleTrueColour : tgaTrueColour),
        0, 0, 0, 0, 0,
        0, 0, 0, 0,
        static_cast<std::uint8_t>(width & 0xff), static_cast<std::uint8_t>(width >> 8),
        static_cast<std::uint8_t>(height & 0xff), static_cast<std::uint8_t>(height >> 8),
        static_cast<std::uint8_t>(channels * 8),
        static_cast<std::uint8_t>(tgaTopOrigin | (channels == 4 ? 8 : 0)),
    };
    out.insert(out.end(), header, header + tgaHeaderSize);

    // TGA stores blue, green, red (, alpha).
    auto pixelAt = [&](std::size_t i, std::uint8_t* px) {
        const std::uint8_t* s = &pixels[i * channels];
        px[0] = s[2];
        px[1] = s[1];
        px[2] = s[0];
        if (channels == 4)
            px[3] = s[3];
    };
    const std::size_t count = static_cast<std::size_t>(width) * height;
    std::uint8_t px[4], next[4];
    if (!rle) {
        for (std::size_t i = 0; i < count; ++i) {
            pixelAt(i, px);
            out.insert(out.end(), px, px + channels);
        }
    } else {
        // Packets never cross a row, as the format asks.
        for (int y = 0; y < height; ++y) {
            std::size_t i = static_cast<std::size_t>(y) * width;
            const std::size_t rowEnd = i + width;
            while (i < rowEnd) {
                pixelAt(i, px);
                std::size_t run = 1;
                while (i + run < rowEnd && run < 128) {
                    pixelAt(i + run, next);
                    if (!std::equal(px, px + channels, next))
                        break;
                    ++run;
                }
                if (run > 1) {
                    out.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
                    out.insert(out.end(), px, px + channels);
                    i += run;
                    continue;
                }
                // A raw packet up to the next run of two equal pixels.
                std::size_t raw = 1;
                while (i + raw < rowEnd && raw < 128) {
                    pixelAt(i + raw, px);
                    if (i + raw + 1 < rowEnd) {
                        pixelAt(i + raw + 1, next);
                        if (std::equal(px, px + channels, next))
                            break;
                    }
                    ++raw;
                }
                out.push_back(static_cast<std::uint8_t>(raw - 1));
                for (std::size_t k = 0; k < raw; ++k) {
                    pixelAt(i + k, px);
                    out.insert(out.end(), px, px + channels);
                }
                i += raw;
            }
        }
    }

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    // The data usually stays in the stream's buffer until the file is
    // flushed or closed, so a full disk shows only there: every step counts.
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    const bool flushed = written && std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    return written && flushed && closed;
}

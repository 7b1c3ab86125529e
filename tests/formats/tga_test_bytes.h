// TGA files put together byte by byte for the loader tests, independent of
// the game's own writer: any image kind, either origin, with or without
// run-length packets, an image ID and a colour map.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tgabytes {

using Bytes = std::vector<std::uint8_t>;

struct Header {
    int idLength = 0, colourMapType = 0, imageType = 2;
    int mapFirst = 0, mapLength = 0, mapEntryBits = 0;
    int width = 0, height = 0, bits = 24;
    int descriptor = 0;   // 0x20: first stored row is the top row
};

inline void put16(Bytes& b, int v) { b.insert(b.end(), {std::uint8_t(v & 0xff), std::uint8_t((v >> 8) & 0xff)}); }

// Header, image ID (filled with 'i'), colour map bytes, pixel data.
inline Bytes file(const Header& h, const Bytes& map, const Bytes& pixelData)
{
    Bytes b = {std::uint8_t(h.idLength), std::uint8_t(h.colourMapType), std::uint8_t(h.imageType)};
    put16(b, h.mapFirst);
    put16(b, h.mapLength);
    b.push_back(std::uint8_t(h.mapEntryBits));
    for (int v : {0, 0, h.width, h.height})   // x and y origin, size
        put16(b, v);
    b.insert(b.end(), {std::uint8_t(h.bits), std::uint8_t(h.descriptor)});
    b.insert(b.end(), std::size_t(h.idLength), 'i');
    b.insert(b.end(), map.begin(), map.end());
    b.insert(b.end(), pixelData.begin(), pixelData.end());
    return b;
}

// Run-length packets over pixels of `size` bytes each, in stored order: a run
// packet for each stretch of equal pixels, a raw packet of the pixels up to
// the next such stretch. Packets may run on from one row into the next, as
// older writers did.
inline Bytes runLengthEncode(const Bytes& pixels, int size)
{
    const std::size_t count = pixels.size() / size;
    auto same = [&](std::size_t a, std::size_t b) { return b < count && std::equal(&pixels[a * size], &pixels[a * size] + size, &pixels[b * size]); };
    Bytes out;
    for (std::size_t i = 0, n; i < count; i += n) {
        const bool run = same(i, i + 1);
        for (n = 1; i + n < count && n < 128 && (run ? same(i, i + n) : !same(i + n, i + n + 1)); ++n) {
        }
        out.push_back(std::uint8_t((run ? 0x80 : 0) | (n - 1)));
        out.insert(out.end(), pixels.begin() + i * size, pixels.begin() + (i + (run ? 1 : n)) * size);
    }
    return out;
}

// A small picture as R, G, B, A per pixel, top row first: 5 x 3 with runs of
// equal pixels and an odd row length (rows of 15 bytes in RGB).
struct Picture {
    int width = 5, height = 3;
    Bytes rgba = {
        255, 0, 0, 255,    255, 0, 0, 255,    255, 0, 0, 128,    0, 255, 0, 255,    0, 0, 255, 64,
        10, 20, 30, 255,   40, 50, 60, 200,   70, 80, 90, 255,   70, 80, 90, 255,   70, 80, 90, 255,
        255, 255, 255, 0,  0, 0, 0, 255,      0, 0, 0, 255,      128, 64, 32, 16,   1, 2, 3, 4,
    };
    const std::uint8_t* at(int x, int yFromTop) const { return &rgba[(yFromTop * width + x) * 4]; }
    std::uint8_t grey(int x, int yFromTop) const { return at(x, yFromTop)[0] / 2 + at(x, yFromTop)[2] / 3; }
};

// The picture's pixels in file order (BGR / BGRA / grey), rows stored top
// first or bottom first.
inline Bytes storedPixels(const Picture& p, int bytesPerPixel, bool topFirst)
{
    Bytes out;
    for (int r = 0; r < p.height; ++r)
        for (int x = 0, y = topFirst ? r : p.height - 1 - r; x < p.width; ++x) {
            const std::uint8_t* c = p.at(x, y);
            const Bytes bgra = bytesPerPixel == 1 ? Bytes{p.grey(x, y)} : Bytes{c[2], c[1], c[0], c[3]};
            out.insert(out.end(), bgra.begin(), bgra.begin() + bytesPerPixel);
        }
    return out;
}

// The picture as a plain or run-length true-colour (24 or 32 bits) or
// greyscale (8 bits) file.
inline Bytes imageFile(const Picture& p, int bits, bool topFirst, bool rle, int idLength = 0)
{
    const Bytes pixels = storedPixels(p, bits / 8, topFirst);
    return file({.idLength = idLength, .imageType = (bits == 8 ? 3 : 2) + (rle ? 8 : 0), .width = p.width,
                 .height = p.height, .bits = bits, .descriptor = (topFirst ? 0x20 : 0) | (bits == 32 ? 8 : 0)},
                {}, rle ? runLengthEncode(pixels, bits / 8) : pixels);
}
inline Bytes trueColourFile(const Picture& p, int bits, bool topFirst, bool rle, int idLength = 0) { return imageFile(p, bits, topFirst, rle, idLength); }
inline Bytes greyFile(const Picture& p, bool topFirst, bool rle) { return imageFile(p, 8, topFirst, rle); }

// The picture as an 8-bit colour-mapped file: each distinct colour gets a map
// entry (24-bit BGR, 32-bit BGRA or 16-bit A1R5G5B5; in the 16-bit case the
// picture's colours are taken at 5 bits). `first` is the map's first entry
// index: pixel value first + k selects stored entry k.
inline Bytes colourMappedFile(const Picture& p, int entryBits, bool topFirst, bool rle, int first = 0)
{
    Bytes map, indices, colours;   // colours: the distinct BGRA values so far
    const Bytes stored = storedPixels(p, 4, topFirst);
    for (auto c = stored.begin(); c != stored.end(); c += 4) {
        std::size_t k = 0;
        while (k < colours.size() && !std::equal(c, c + 4, colours.begin() + k))
            k += 4;
        if (k == colours.size()) {
            colours.insert(colours.end(), c, c + 4);
            if (entryBits == 16)
                put16(map, ((c[2] >> 3) << 10) | ((c[1] >> 3) << 5) | (c[0] >> 3));
            else
                map.insert(map.end(), c, c + entryBits / 8);
        }
        indices.push_back(std::uint8_t(first + k / 4));
    }
    return file({.colourMapType = 1, .imageType = rle ? 9 : 1, .mapFirst = first, .mapLength = int(colours.size() / 4),
                 .mapEntryBits = entryBits, .width = p.width, .height = p.height, .bits = 8, .descriptor = topFirst ? 0x20 : 0},
                map, rle ? runLengthEncode(indices, 1) : indices);
}

}  // namespace tgabytes

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
    int idLength = 0;
    int colourMapType = 0;
    int imageType = 2;
    int mapFirst = 0;
    int mapLength = 0;
    int mapEntryBits = 0;
    int width = 0;
    int height = 0;
    int bits = 24;
    int descriptor = 0;   // 0x20: first stored row is the top row
};

inline void put16(Bytes& b, int v)
{
    b.push_back(static_cast<std::uint8_t>(v & 0xff));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xff));
}

inline Bytes header(const Header& h)
{
    Bytes b;
    b.push_back(static_cast<std::uint8_t>(h.idLength));
    b.push_back(static_cast<std::uint8_t>(h.colourMapType));
    b.push_back(static_cast<std::uint8_t>(h.imageType));
    put16(b, h.mapFirst);
    put16(b, h.mapLength);
    b.push_back(static_cast<std::uint8_t>(h.mapEntryBits));
    put16(b, 0);   // x origin
    put16(b, 0);   // y origin
    put16(b, h.width);
    put16(b, h.height);
    b.push_back(static_cast<std::uint8_t>(h.bits));
    b.push_back(static_cast<std::uint8_t>(h.descriptor));
    return b;
}

// Header, image ID (filled with 'i'), colour map bytes, pixel data.
inline Bytes file(const Header& h, const Bytes& map, const Bytes& pixelData)
{
    Bytes b = header(h);
    b.insert(b.end(), static_cast<std::size_t>(h.idLength), 'i');
    b.insert(b.end(), map.begin(), map.end());
    b.insert(b.end(), pixelData.begin(), pixelData.end());
    return b;
}

// Run-length packets over pixels of `size` bytes each, in stored order: a run
// packet for two or more equal pixels, raw packets otherwise. Packets may run
// on from one row into the next, as older writers did.
inline Bytes runLengthEncode(const Bytes& pixels, int size)
{
    const std::size_t count = pixels.size() / size;
    auto same = [&](std::size_t a, std::size_t b) {
        for (int k = 0; k < size; ++k)
            if (pixels[a * size + k] != pixels[b * size + k])
                return false;
        return true;
    };
    Bytes out;
    std::size_t i = 0;
    while (i < count) {
        std::size_t run = 1;
        while (i + run < count && run < 128 && same(i, i + run))
            ++run;
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
            out.insert(out.end(), pixels.begin() + i * size, pixels.begin() + (i + 1) * size);
            i += run;
            continue;
        }
        std::size_t raw = 1;
        while (i + raw < count && raw < 128 && !(i + raw + 1 < count && same(i + raw, i + raw + 1)))
            ++raw;
        out.push_back(static_cast<std::uint8_t>(raw - 1));
        out.insert(out.end(), pixels.begin() + i * size, pixels.begin() + (i + raw) * size);
        i += raw;
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
    for (int r = 0; r < p.height; ++r) {
        const int y = topFirst ? r : p.height - 1 - r;
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* c = p.at(x, y);
            if (bytesPerPixel == 1) {
                out.push_back(p.grey(x, y));
                continue;
            }
            out.push_back(c[2]);
            out.push_back(c[1]);
            out.push_back(c[0]);
            if (bytesPerPixel == 4)
                out.push_back(c[3]);
        }
    }
    return out;
}

// The picture as a true-colour file of 24 or 32 bits.
inline Bytes trueColourFile(const Picture& p, int bits, bool topFirst, bool rle, int idLength = 0)
{
    Header h;
    h.imageType = rle ? 10 : 2;
    h.width = p.width;
    h.height = p.height;
    h.bits = bits;
    h.idLength = idLength;
    h.descriptor = (topFirst ? 0x20 : 0) | (bits == 32 ? 8 : 0);
    Bytes pixels = storedPixels(p, bits / 8, topFirst);
    return file(h, {}, rle ? runLengthEncode(pixels, bits / 8) : pixels);
}

inline Bytes greyFile(const Picture& p, bool topFirst, bool rle)
{
    Header h;
    h.imageType = rle ? 11 : 3;
    h.width = p.width;
    h.height = p.height;
    h.bits = 8;
    h.descriptor = topFirst ? 0x20 : 0;
    Bytes pixels = storedPixels(p, 1, topFirst);
    return file(h, {}, rle ? runLengthEncode(pixels, 1) : pixels);
}

// The picture as an 8-bit colour-mapped file: each distinct colour gets a map
// entry (24-bit BGR, 32-bit BGRA or 16-bit A1R5G5B5; in the 16-bit case the
// picture's colours are taken at 5 bits). `first` is the map's first entry
// index: pixel value first + k selects stored entry k.
inline Bytes colourMappedFile(const Picture& p, int entryBits, bool topFirst, bool rle, int first = 0)
{
    const int entryBytes = (entryBits + 7) / 8;
    Bytes map;
    std::vector<const std::uint8_t*> colours;
    Bytes indices;
    for (int r = 0; r < p.height; ++r) {
        const int y = topFirst ? r : p.height - 1 - r;
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* c = p.at(x, y);
            std::size_t k = 0;
            while (k < colours.size() && !std::equal(c, c + 4, colours[k]))
                ++k;
            if (k == colours.size())
                colours.push_back(c);
            indices.push_back(static_cast<std::uint8_t>(first + k));
        }
    }
    for (const std::uint8_t* c : colours) {
        if (entryBytes == 2) {
            const int v = ((c[0] >> 3) << 10) | ((c[1] >> 3) << 5) | (c[2] >> 3);
            put16(map, v);
            continue;
        }
        map.push_back(c[2]);
        map.push_back(c[1]);
        map.push_back(c[0]);
        if (entryBytes == 4)
            map.push_back(c[3]);
    }
    Header h;
    h.colourMapType = 1;
    h.imageType = rle ? 9 : 1;
    h.mapFirst = first;
    h.mapLength = static_cast<int>(colours.size());
    h.mapEntryBits = entryBits;
    h.width = p.width;
    h.height = p.height;
    h.bits = 8;
    h.descriptor = topFirst ? 0x20 : 0;
    return file(h, map, rle ? runLengthEncode(indices, 1) : indices);
}

}  // namespace tgabytes

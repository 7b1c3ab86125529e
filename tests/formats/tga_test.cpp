// The TGA check that guards every texture load, and the writer the asset
// generator uses.
#include "formats/file_formats.h"
#include "formats/tga_test_bytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace tgabytes;

namespace {

bool check(const Bytes& b, TgaInfo& info, std::string& error)
{
    return tgaCheck(b.data(), b.size(), info, error);
}

bool accepted(const Bytes& b)
{
    TgaInfo info;
    std::string error;
    return check(b, info, error);
}

struct Variant {
    const char* name;
    Bytes bytes;
    int imageType, bits;
    bool top;
    std::size_t pixelOffset;
};

std::vector<Variant> allVariants()
{
    const Picture p;
    std::vector<Variant> v;
    for (bool top : {false, true})
        for (bool rle : {false, true}) {
            v.push_back({"true colour 24", trueColourFile(p, 24, top, rle), rle ? 10 : 2, 24, top, 18});
            v.push_back({"true colour 32", trueColourFile(p, 32, top, rle), rle ? 10 : 2, 32, top, 18});
            v.push_back({"greyscale", greyFile(p, top, rle), rle ? 11 : 3, 8, top, 18});
            // The picture has 11 distinct colours.
            v.push_back({"mapped 24", colourMappedFile(p, 24, top, rle), rle ? 9 : 1, 8, top, 18 + 11 * 3});
            v.push_back({"mapped 32", colourMappedFile(p, 32, top, rle), rle ? 9 : 1, 8, top, 18 + 11 * 4});
            v.push_back({"mapped 16", colourMappedFile(p, 16, top, rle), rle ? 9 : 1, 8, top, 18 + 11 * 2});
        }
    v.push_back({"with image ID", trueColourFile(p, 24, false, false, 7), 2, 24, false, 25});
    return v;
}

std::vector<std::uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string tempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("orbitor_tga_test_" + name)).string();
}

// Decodes a true-colour file the way the format defines it, for checking the
// writer: R, G, B(, A) per pixel, top row first.
Bytes decodeTrueColour(const Bytes& b, const TgaInfo& info, bool* packetsStayInRows = nullptr)
{
    const int size = info.bitsPerPixel / 8;
    const std::size_t count = static_cast<std::size_t>(info.width) * info.height;
    Bytes stored;
    std::size_t at = info.pixelDataOffset;
    if (packetsStayInRows)
        *packetsStayInRows = true;
    if (info.imageType == tgaTrueColour) {
        stored.assign(b.begin() + at, b.begin() + at + count * size);
    } else {
        while (stored.size() < count * size) {
            if (packetsStayInRows && (stored.size() / size) % info.width + ((b[at] & 0x7f) + 1u) >
                                         static_cast<std::size_t>(info.width))
                *packetsStayInRows = false;
            const std::uint8_t packet = b[at++];
            const int n = (packet & 0x7f) + 1;
            if (packet & 0x80) {
                for (int k = 0; k < n; ++k)
                    stored.insert(stored.end(), b.begin() + at, b.begin() + at + size);
                at += size;
            } else {
                stored.insert(stored.end(), b.begin() + at, b.begin() + at + n * size);
                at += n * size;
            }
        }
    }
    Bytes out(count * size);
    for (int r = 0; r < info.height; ++r) {
        const int y = info.topOrigin ? r : info.height - 1 - r;
        for (int x = 0; x < info.width; ++x) {
            const std::uint8_t* s = &stored[(static_cast<std::size_t>(r) * info.width + x) * size];
            std::uint8_t* d = &out[(static_cast<std::size_t>(y) * info.width + x) * size];
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
            if (size == 4)
                d[3] = s[3];
        }
    }
    return out;
}

}  // namespace

TEST(TgaCheck, AcceptsEveryKindTheGameReadsAndReportsItsLayout)
{
    for (const Variant& v : allVariants()) {
        TgaInfo info;
        std::string error;
        ASSERT_TRUE(check(v.bytes, info, error)) << v.name << ": " << error;
        EXPECT_EQ(info.width, 5) << v.name;
        EXPECT_EQ(info.height, 3) << v.name;
        EXPECT_EQ(info.imageType, v.imageType) << v.name;
        EXPECT_EQ(info.bitsPerPixel, v.bits) << v.name;
        EXPECT_EQ(info.topOrigin, v.top) << v.name;
        EXPECT_EQ(info.pixelDataOffset, v.pixelOffset) << v.name;
    }
    // Bytes after the image (a TGA 2.0 footer, say) are fine.
    Bytes withFooter = trueColourFile(Picture{}, 24, false, false);
    withFooter.insert(withFooter.end(), 26, 0);
    EXPECT_TRUE(accepted(withFooter));
    // A true-colour image may carry a colour map it does not use.
    Header h;
    h.colourMapType = 1;
    h.mapLength = 2;
    h.mapEntryBits = 24;
    h.width = 1;
    h.height = 1;
    TgaInfo info;
    std::string error;
    ASSERT_TRUE(check(file(h, Bytes(6, 9), {1, 2, 3}), info, error)) << error;
    EXPECT_EQ(info.pixelDataOffset, 24u);
}

TEST(TgaCheck, RejectsEveryTruncationOfEveryKind)
{
    for (const Variant& v : allVariants())
        for (std::size_t size = 0; size < v.bytes.size(); ++size) {
            TgaInfo info;
            std::string error;
            EXPECT_FALSE(tgaCheck(v.bytes.data(), size, info, error)) << v.name << " cut to " << size;
            EXPECT_FALSE(error.empty()) << v.name << " cut to " << size;
        }
    TgaInfo info;
    std::string error;
    EXPECT_FALSE(tgaCheck(nullptr, 0, info, error));
    EXPECT_FALSE(tgaCheck(nullptr, 100, info, error));
    const Bytes empty;
    EXPECT_FALSE(tgaCheck(empty.data(), 0, info, error));
}

TEST(TgaCheck, RejectsKindsTheGameDoesNotRead)
{
    auto withHeader = [](auto change) {
        Bytes b = trueColourFile(Picture{}, 24, false, false);
        change(b);
        return b;
    };
    EXPECT_FALSE(accepted(withHeader([](Bytes& b) { b[2] = 0; })));    // no image
    EXPECT_FALSE(accepted(withHeader([](Bytes& b) { b[2] = 4; })));
    EXPECT_FALSE(accepted(withHeader([](Bytes& b) { b[2] = 8; })));
    EXPECT_FALSE(accepted(withHeader([](Bytes& b) { b[2] = 32; })));   // Huffman-coded kinds
    EXPECT_FALSE(accepted(withHeader([](Bytes& b) { b[2] = 33; })));
    EXPECT_FALSE(accepted(withHeader([](Bytes& b) { b[2] = 255; })));
    EXPECT_FALSE(accepted(withHeader([](Bytes& b) { b[16] = 16; })));  // 16-bit true colour
    EXPECT_FALSE(accepted(withHeader([](Bytes& b) { b[16] = 8; })));
    EXPECT_FALSE(accepted(withHeader([](Bytes& b) { b[1] = 2; })));    // unknown colour map type
    EXPECT_FALSE(accepted(withHeader([](Bytes& b) { b[12] = 0; b[13] = 0; })));   // no width
    EXPECT_FALSE(accepted(withHeader([](Bytes& b) { b[14] = 0; b[15] = 0; })));   // no height

    const Picture p;
    Bytes grey16 = greyFile(p, false, false);
    grey16[16] = 16;
    EXPECT_FALSE(accepted(grey16));
    Bytes mappedWithoutMap = colourMappedFile(p, 24, false, false);
    mappedWithoutMap[1] = 0;
    EXPECT_FALSE(accepted(mappedWithoutMap));
    Bytes emptyMap = colourMappedFile(p, 24, false, false);
    emptyMap[5] = emptyMap[6] = 0;
    EXPECT_FALSE(accepted(emptyMap));
    Bytes oddEntries = colourMappedFile(p, 24, false, false);
    oddEntries[7] = 12;
    EXPECT_FALSE(accepted(oddEntries));
    Bytes wideIndex = colourMappedFile(p, 24, false, false);
    wideIndex[16] = 16;
    EXPECT_FALSE(accepted(wideIndex));

    // Other files entirely.
    const std::string png = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x05\0\0\0\x03\x08\x02\0\0\0";
    EXPECT_FALSE(accepted(Bytes(png.begin(), png.end())));
    EXPECT_FALSE(accepted(Bytes(64, 0)));
}

TEST(TgaCheck, RejectsAColourMapOrPixelsPastTheEnd)
{
    const Picture p;
    // A map that claims more entries than the file holds.
    Bytes longMap = colourMappedFile(p, 24, false, false);
    longMap[5] = 0xff;
    longMap[6] = 0xff;
    TgaInfo info;
    std::string error;
    EXPECT_FALSE(check(longMap, info, error));
    EXPECT_NE(error.find("colour map"), std::string::npos) << error;
    // An image ID running past the end.
    Header h;
    h.idLength = 255;
    h.width = 1;
    h.height = 1;
    EXPECT_FALSE(accepted(file(h, {}, {})));
    // A size far beyond the pixel data.
    Bytes huge = trueColourFile(p, 24, false, false);
    huge[12] = huge[13] = huge[14] = huge[15] = 0xff;
    EXPECT_FALSE(accepted(huge));
    // Run-length data: a raw packet promising more pixels than follow.
    Header r;
    r.imageType = 10;
    r.width = 4;
    r.height = 1;
    EXPECT_FALSE(accepted(file(r, {}, {0x03, 1, 2, 3, 4, 5, 6})));
    EXPECT_FALSE(accepted(file(r, {}, {0x81, 1, 2, 3})));            // two of four pixels
    EXPECT_FALSE(accepted(file(r, {}, {0x81, 1, 2, 3, 0x81, 1, 2}))); // run cut short
    EXPECT_TRUE(accepted(file(r, {}, {0x81, 1, 2, 3, 0x81, 1, 2, 3})));
    // A huge size made of long runs still needs a packet per 128 pixels.
    Header big;
    big.imageType = 10;
    big.width = 65535;
    big.height = 65535;
    EXPECT_FALSE(accepted(file(big, {}, {0xff, 1, 2, 3, 0xff, 1, 2, 3})));
}

TEST(TgaWrite, RoundTripsPlainAndRunLengthEncoded)
{
    const Picture p;
    Bytes rgb;
    for (std::size_t i = 0; i < p.rgba.size(); i += 4)
        rgb.insert(rgb.end(), p.rgba.begin() + i, p.rgba.begin() + i + 3);
    struct Case {
        int channels;
        bool rle;
        const Bytes* pixels;
    };
    for (const Case& c : {Case{3, false, &rgb}, Case{3, true, &rgb}, Case{4, false, &p.rgba},
                          Case{4, true, &p.rgba}}) {
        const std::string path = tempPath("roundtrip.tga");
        ASSERT_TRUE(tgaWrite(path, p.width, p.height, c.channels, *c.pixels, c.rle));
        const Bytes b = readFile(path);
        std::filesystem::remove(path);
        TgaInfo info;
        std::string error;
        ASSERT_TRUE(check(b, info, error)) << error;
        EXPECT_EQ(info.width, p.width);
        EXPECT_EQ(info.height, p.height);
        EXPECT_EQ(info.bitsPerPixel, c.channels * 8);
        EXPECT_EQ(info.imageType, c.rle ? tgaRleTrueColour : tgaTrueColour);
        EXPECT_TRUE(info.topOrigin);
        EXPECT_EQ(b[17] & 0x0f, c.channels == 4 ? 8 : 0);   // alpha bits
        bool rowsKept = false;
        EXPECT_EQ(decodeTrueColour(b, info, &rowsKept), *c.pixels) << c.channels << " " << c.rle;
        EXPECT_TRUE(rowsKept);
        if (!c.rle) {
            EXPECT_EQ(b.size(), 18u + c.pixels->size());
        }
    }
}

TEST(TgaWrite, RunLengthPacketsStayWithinRowsAndShrinkPlainAreas)
{
    // 300 x 2: one colour for long stretches (runs longer than a packet
    // holds), a row of alternating colours (raw packets of 128 at most).
    const int w = 300, h = 2;
    Bytes pixels;
    for (int x = 0; x < w; ++x)
        pixels.insert(pixels.end(), {200, 100, 50});
    for (int x = 0; x < w; ++x)
        pixels.insert(pixels.end(), {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(x * 3), 7});
    const std::string path = tempPath("rle.tga");
    ASSERT_TRUE(tgaWrite(path, w, h, 3, pixels, true));
    const Bytes b = readFile(path);
    std::filesystem::remove(path);
    TgaInfo info;
    std::string error;
    ASSERT_TRUE(check(b, info, error)) << error;
    bool rowsKept = false;
    EXPECT_EQ(decodeTrueColour(b, info, &rowsKept), pixels);
    EXPECT_TRUE(rowsKept);
    // Row one: three run packets of 4 bytes; row two: raw packets.
    EXPECT_EQ(b.size(), 18u + 3 * 4 + 3 + w * 3);
}

TEST(TgaWrite, RefusesBadArgumentsAndUnwritablePaths)
{
    const Bytes four(4 * 3, 1);
    const std::string path = tempPath("bad.tga");
    EXPECT_FALSE(tgaWrite(path, 0, 4, 3, {}));
    EXPECT_FALSE(tgaWrite(path, 2, 2, 2, Bytes(8, 1)));
    EXPECT_FALSE(tgaWrite(path, 2, 2, 3, Bytes(11, 1)));
    EXPECT_FALSE(tgaWrite(path, 2, 2, 4, four));
    EXPECT_FALSE(tgaWrite(path, 70000, 1, 3, Bytes(70000 * 3, 1)));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(tgaWrite("/nonexistent-folder/x.tga", 2, 2, 3, four));
    EXPECT_TRUE(tgaWrite(path, 2, 2, 3, four));
    std::filesystem::remove(path);
}

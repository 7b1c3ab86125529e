// The TGA check that guards every texture load, and the writer the asset
// generator uses.
#include "formats/file_formats.h"
#include "formats/tga_test_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

using namespace tgabytes;

namespace {

bool accepted(const Bytes& b, TgaInfo* info = nullptr, std::string* error = nullptr)
{
    TgaInfo i;
    std::string e;
    return tgaCheck(b.data(), b.size(), info ? *info : i, error ? *error : e);
}

TEST(TgaCheck, AcceptsEveryKindTheGameReadsWithItsLayoutAndRejectsEveryTruncation)
{
    // Kind and pixel size, with the layout the check must report; the
    // picture has 11 distinct colours for the maps.
    const Picture p;
    const struct { const char* name; int bits, type; std::size_t mapBytes; } kinds[] = {
        {"true colour 24", 24, 2, 0}, {"true colour 32", 32, 2, 0}, {"greyscale", 8, 3, 0},
        {"mapped 24", 24, 1, 33},     {"mapped 32", 32, 1, 44},     {"mapped 16", 16, 1, 22}};
    for (const auto& k : kinds)
        for (bool top : {false, true})
            for (bool rle : {false, true})
                for (int id : {0, 7}) {   // with an image ID before the pixels (not in the mapped kinds)
                    if (k.type == 1 && id)
                        continue;
                    const Bytes b = k.type == 1 ? colourMappedFile(p, k.bits, top, rle) : imageFile(p, k.bits, top, rle, id);
                    TgaInfo info;
                    std::string error;
                    const std::string what = std::string(k.name) + (top ? " top" : "") + (rle ? " rle" : "") + (id ? " id" : "");
                    ASSERT_TRUE(accepted(b, &info, &error)) << what << ": " << error;
                    EXPECT_EQ(std::tuple(info.width, info.height, info.imageType, info.bitsPerPixel, info.topOrigin,
                                         info.pixelDataOffset),
                              std::tuple(5, 3, k.type + (rle ? 8 : 0), k.type == 1 ? 8 : k.bits, top, 18 + id + k.mapBytes))
                        << what;
                    for (std::size_t size = 0; size < b.size(); ++size) {
                        EXPECT_FALSE(tgaCheck(b.data(), size, info, error)) << what << " cut to " << size;
                        EXPECT_FALSE(error.empty()) << what << " cut to " << size;
                        error.clear();
                    }
                }
    TgaInfo info;
    std::string error;
    EXPECT_FALSE(tgaCheck(nullptr, 0, info, error) || tgaCheck(nullptr, 100, info, error) || accepted(Bytes{}));
    // Bytes after the image (a TGA 2.0 footer, say) are fine.
    Bytes withFooter = trueColourFile(p, 24, false, false);
    withFooter.insert(withFooter.end(), 26, 0);
    EXPECT_TRUE(accepted(withFooter));
}

TEST(TgaCheck, RejectsKindsTheGameDoesNotReadAndPartsPastTheEnd)
{
    const Picture p;
    const Bytes plain = trueColourFile(p, 24, false, false), grey = greyFile(p, false, false),
                mapped = colourMappedFile(p, 24, false, false);
    // Bytes [at, at + count) of a good file set to `value`; the error says `says`.
    const struct { const char* what; const Bytes& base; int at, count, value; const char* says = ""; } changes[] = {
        {"no image", plain, 2, 1, 0},          {"type 4", plain, 2, 1, 4},
        {"type 8", plain, 2, 1, 8},            {"Huffman 32", plain, 2, 1, 32},
        {"Huffman 33", plain, 2, 1, 33},       {"type 255", plain, 2, 1, 255},
        {"16-bit true colour", plain, 16, 1, 16}, {"8-bit true colour", plain, 16, 1, 8},
        {"unknown map type", plain, 1, 1, 2},  {"no width", plain, 12, 2, 0},
        {"no height", plain, 14, 2, 0},        {"size far past the pixels", plain, 12, 4, 0xff},
        {"16-bit grey", grey, 16, 1, 16},      {"mapped without a map", mapped, 1, 1, 0},
        {"empty map", mapped, 5, 2, 0},        {"12-bit entries", mapped, 7, 1, 12},
        {"16-bit index", mapped, 16, 1, 16},   {"map past the end", mapped, 5, 2, 0xff, "colour map"}};
    for (const auto& c : changes) {
        Bytes b = c.base;
        std::fill_n(b.begin() + c.at, c.count, std::uint8_t(c.value));
        std::string error;
        EXPECT_FALSE(accepted(b, nullptr, &error)) << c.what;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
    }
    // Other files entirely.
    const std::string png = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x05\0\0\0\x03\x08\x02\0\0\0";
    EXPECT_FALSE(accepted(Bytes(png.begin(), png.end())));
    EXPECT_FALSE(accepted(Bytes(64, 0)));
    // An image ID running past the end.
    EXPECT_FALSE(accepted(file({.idLength = 255, .width = 1, .height = 1}, {}, {})));
    // Run-length data of four pixels: a raw packet of four with two pixels,
    // two pixels of four, a run cut short; the whole of it.
    Header r{.imageType = 10, .width = 4, .height = 1};
    EXPECT_EQ((std::vector<bool>{accepted(file(r, {}, {0x03, 1, 2, 3, 4, 5, 6})), accepted(file(r, {}, {0x81, 1, 2, 3})),
                                 accepted(file(r, {}, {0x81, 1, 2, 3, 0x81, 1, 2})),
                                 accepted(file(r, {}, {0x81, 1, 2, 3, 0x81, 1, 2, 3}))}),
              (std::vector<bool>{false, false, false, true}));
    // A huge size made of long runs still needs a packet per 128 pixels.
    r.width = r.height = 65535;
    EXPECT_FALSE(accepted(file(r, {}, {0xff, 1, 2, 3, 0xff, 1, 2, 3})));
}

// Writes the picture with the game's writer and reads the file back.
Bytes written(const Picture& p, int channels, bool rle)
{
    Bytes pixels;
    for (std::size_t i = 0; i < p.rgba.size(); i += 4)
        pixels.insert(pixels.end(), p.rgba.begin() + i, p.rgba.begin() + i + channels);
    const auto path = std::filesystem::temp_directory_path() / "orbitor_tga_test_written.tga";
    EXPECT_TRUE(tgaWrite(path, p.width, p.height, channels, pixels, rle));
    std::ifstream in(path, std::ios::binary);
    Bytes b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::filesystem::remove(path);
    return b;
}

TEST(TgaWrite, WritesTopRowFirstWithAlphaBitsAndRunsOfAtMost128)
{
    // The pixels themselves are read back through the texture loader (the
    // platform tests); here the header and the packets.
    for (const int channels : {3, 4})
        for (const bool rle : {false, true}) {
            const Bytes b = written(Picture{}, channels, rle);
            TgaInfo info;
            std::string error;
            ASSERT_TRUE(accepted(b, &info, &error)) << error;
            EXPECT_EQ(std::tuple(info.width, info.height, info.bitsPerPixel, info.imageType, info.topOrigin, b[17] & 0x0f),
                      std::tuple(5, 3, channels * 8, rle ? tgaRleTrueColour : tgaTrueColour, true, channels == 4 ? 8 : 0));
        }
    // 300 x 2: one colour for stretches longer than a packet holds, as three
    // run packets of 4 bytes; then a row of changing colours as raw packets
    // (no packet runs on into the next row).
    Picture wide{300, 2, {}};
    for (int x = 0; x < 600; ++x)   // the first row's colour is the second row's first
        wide.rgba.insert(wide.rgba.end(), {std::uint8_t(std::max(x, 300)), std::uint8_t(std::max(x, 300) * 3), 7, 255});
    EXPECT_EQ(written(wide, 3, true).size(), 18u + 3 * 4 + 3 + 300 * 3);
}

TEST(TgaWrite, RefusesBadArgumentsAndUnwritablePaths)
{
    const Bytes four(4 * 3, 1);
    const std::string path = (std::filesystem::temp_directory_path() / "orbitor_tga_test_bad.tga").string();
    // No width or no height, two channels, too few bytes for 3 or for 4 channels, wider
    // than the format holds, a folder that does not exist, a full disk (the
    // small picture stays buffered until the file is closed).
    EXPECT_FALSE(tgaWrite(path, 0, 4, 3, {}) || tgaWrite(path, 4, 0, 3, {}) || tgaWrite(path, 2, 2, 2, Bytes(8, 1)) || tgaWrite(path, 2, 2, 3, Bytes(11, 1)) ||
                 tgaWrite(path, 2, 2, 4, four) || tgaWrite(path, 70000, 1, 3, Bytes(70000 * 3, 1)) ||
                 tgaWrite("/nonexistent-folder/x.tga", 2, 2, 3, four));
    EXPECT_FALSE(tgaWrite("/dev/full", 2, 2, 3, four));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(tgaWrite(path, 2, 2, 3, four));
    std::filesystem::remove(path);
}

}  // namespace

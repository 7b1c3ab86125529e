// The MD2 loader: a good file loads with the right counts and bytes; every
// damaged, truncated or inconsistent file is rejected with nothing held and
// the file closed.
#include "entities/md2.h"
#include "entities/md2_test_model.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>

namespace {

int openFileCount()
{
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

void expectHoldsNothing(const Md2Model& model)
{
    EXPECT_EQ(model.header, nullptr);
    EXPECT_EQ(model.skins, nullptr);
    EXPECT_EQ(model.triangles, nullptr);
    EXPECT_EQ(model.texCoords, nullptr);
    EXPECT_EQ(model.frames, nullptr);
    EXPECT_EQ(model.frameVertices, nullptr);
    EXPECT_EQ(model.interpolated, nullptr);
    EXPECT_FALSE(model.loaded());
}

// Loads the bytes into a fresh model and into one that held a good model
// before, from a file and from memory; every load must refuse, hold nothing
// and leave no file open.
void expectRejected(const std::vector<std::uint8_t>& bytes, const std::string& what)
{
    SCOPED_TRACE(what);
    const std::string path = writeModelFile("rejected", bytes);
    const int filesBefore = openFileCount();
    {
        Md2Model model;
        EXPECT_FALSE(model.load(path.c_str()));
        expectHoldsNothing(model);
    }
    {
        Md2Model model;
        const std::string good = writeModelFile("good", md2Bytes(squareModel(2)));
        ASSERT_TRUE(model.load(good.c_str()));
        EXPECT_FALSE(model.load(path.c_str()));
        expectHoldsNothing(model);
        ASSERT_TRUE(model.load(good.c_str()));
        EXPECT_FALSE(model.loadBytes(bytes.data(), bytes.size()));
        expectHoldsNothing(model);
        std::filesystem::remove(good);
    }
    EXPECT_EQ(openFileCount(), filesBefore);
    std::filesystem::remove(path);
}

std::vector<std::uint8_t> withField(std::vector<std::uint8_t> bytes, std::size_t field,
                                    std::int32_t value)
{
    setField(bytes, field, value);
    return bytes;
}

}  // namespace

TEST(Md2Loader, LoadsCountsAndBytesOfABuiltModel)
{
    TestModel built = squareModel(3);
    built.skins.push_back(skinName("players/test/other.pcx"));
    const std::string path = writeModelFile("counts", md2Bytes(built));

    Md2Model model;
    ASSERT_TRUE(model.load(path.c_str()));
    ASSERT_NE(model.header, nullptr);
    EXPECT_EQ(model.header->skinWidth, 64);
    EXPECT_EQ(model.header->skinHeight, 32);
    EXPECT_EQ(model.header->numSkins, 2);
    EXPECT_EQ(model.header->numVertices, 4);
    EXPECT_EQ(model.header->numTexCoords, 4);
    EXPECT_EQ(model.header->numTriangles, 2);
    EXPECT_EQ(model.header->numFrames, 3);

    EXPECT_STREQ(model.skins[0].name, "players/test/skin.pcx");
    EXPECT_STREQ(model.skins[1].name, "players/test/other.pcx");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(model.texCoords[i].s, built.texCoords[i].s);
        EXPECT_EQ(model.texCoords[i].t, built.texCoords[i].t);
    }
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(std::memcmp(&model.triangles[i], &built.triangles[i], sizeof(Md2Triangle)), 0);
    for (int f = 0; f < 3; ++f) {
        EXPECT_FLOAT_EQ(model.frames[f].scale[1], 0.5f + f);
        EXPECT_FLOAT_EQ(model.frames[f].translate[2], -10.0f * f);
        EXPECT_STREQ(model.frames[f].name, ("frame" + std::to_string(f)).c_str());
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(model.frameVertices[f][i].v[0], f + i);
            EXPECT_EQ(model.frameVertices[f][i].v[1], 2 * f + i);
            EXPECT_EQ(model.frameVertices[f][i].v[2], 3 * f + i);
            EXPECT_EQ(model.frameVertices[f][i].normalIndex, i);
        }
    }
    EXPECT_NE(model.interpolated, nullptr);
    EXPECT_TRUE(model.drawable());
    std::filesystem::remove(path);
}

TEST(Md2Loader, OnlyVersionEightOfTheRightMagicLoads)
{
    const std::vector<std::uint8_t> good = md2Bytes(squareModel(2));
    expectRejected(withField(good, fieldVersion, 7), "version 7");
    expectRejected(withField(good, fieldVersion, 9), "version 9");
    expectRejected(withField(good, 0, 0x32504448), "magic IDP1-like");
    Md2Model model;
    const std::string path = writeModelFile("version8", good);
    EXPECT_TRUE(model.load(path.c_str()));
    std::filesystem::remove(path);
}

TEST(Md2Loader, ZeroFramesAndZeroSkinsLoadButDrawNothing)
{
    TestModel built = squareModel(0);
    built.skins.clear();
    const std::string path = writeModelFile("noframes", md2Bytes(built));
    Md2Model model;
    ASSERT_TRUE(model.load(path.c_str()));
    EXPECT_EQ(model.header->numFrames, 0);
    EXPECT_EQ(model.header->numSkins, 0);
    EXPECT_NE(model.frames, nullptr);
    EXPECT_FALSE(model.drawable());
    // Nothing to play: the frame counters fold to 0 and the blend is skipped.
    model.selectAnimation(1);
    model.animate(5.0f);
    model.interpolate();
    EXPECT_EQ(model.currentFrame, 0);
    EXPECT_EQ(model.nextFrame, 0);
    std::filesystem::remove(path);
}

TEST(Md2Loader, HeaderFrameSizeDoesNotChangeHowFramesAreRead)
{
    const std::vector<std::uint8_t> good = md2Bytes(squareModel(3));
    for (std::int32_t frameSize : {0, 1, 57, 40 + 4 * 4 + 4, INT_MAX, -1}) {
        SCOPED_TRACE(frameSize);
        const std::string path = writeModelFile("framesize", withField(good, fieldFrameSize, frameSize));
        Md2Model model;
        ASSERT_TRUE(model.load(path.c_str()));
        EXPECT_FLOAT_EQ(model.frames[2].scale[0], 2.5f);
        EXPECT_EQ(model.frameVertices[2][3].v[2], 3 * 2 + 3);
        std::filesystem::remove(path);
    }
}

TEST(Md2Loader, RejectsAHeaderShorterThan68Bytes)
{
    const std::vector<std::uint8_t> good = md2Bytes(squareModel(1));
    for (std::size_t size : {0, 4, 8, 40, 67}) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(size));
        expectRejected(cut, "header of " + std::to_string(size) + " bytes");
    }
}

TEST(Md2Loader, RejectsNegativeCounts)
{
    const std::vector<std::uint8_t> good = md2Bytes(squareModel(2));
    for (std::size_t field : {fieldNumSkins, fieldNumVertices, fieldNumTexCoords,
                              fieldNumTriangles, fieldNumFrames}) {
        expectRejected(withField(good, field, -1), "count -1 at " + std::to_string(field));
        expectRejected(withField(good, field, INT_MIN), "count INT_MIN at " + std::to_string(field));
    }
}

TEST(Md2Loader, RejectsArraysLyingBeyondTheEndOfTheFile)
{
    const std::vector<std::uint8_t> good = md2Bytes(squareModel(2));
    const auto size = static_cast<std::int32_t>(good.size());
    struct Array {
        std::size_t offsetField;
        std::int32_t bytes;
    };
    const Array arrays[] = {
        {fieldOffsetSkins, 64},
        {fieldOffsetTexCoords, 4 * 4},
        {fieldOffsetTriangles, 2 * 12},
        {fieldOffsetFrames, 2 * (40 + 4 * 4)},
    };
    for (const Array& a : arrays) {
        const std::string name = "array at " + std::to_string(a.offsetField);
        expectRejected(withField(good, a.offsetField, size), name + " starting at the end");
        expectRejected(withField(good, a.offsetField, size + 1000), name + " wholly beyond");
        expectRejected(withField(good, a.offsetField, size - a.bytes + 1), name + " partly beyond");
        expectRejected(withField(good, a.offsetField, -4), name + " at a negative offset");
        expectRejected(withField(good, a.offsetField, INT_MAX), name + " at INT_MAX");
        // A copy of the array placed to end exactly at the end of the file loads.
        std::vector<std::uint8_t> moved = good;
        const auto from = good.begin() + getField(good, a.offsetField);
        moved.insert(moved.end(), from, from + a.bytes);
        setField(moved, a.offsetField, size);
        const std::string path = writeModelFile("fits", moved);
        Md2Model model;
        EXPECT_TRUE(model.load(path.c_str())) << name;
        std::filesystem::remove(path);
    }
    // Counts too large for the file (and for memory).
    expectRejected(withField(good, fieldNumFrames, 3), "one frame more than stored");
    expectRejected(withField(good, fieldNumFrames, INT_MAX), "INT_MAX frames");
    expectRejected(withField(good, fieldNumVertices, 5), "one vertex more per frame");
    expectRejected(withField(good, fieldNumVertices, INT_MAX), "INT_MAX vertices");
    expectRejected(withField(good, fieldNumSkins, 1 << 30), "2^30 skins");
    expectRejected(withField(good, fieldNumTexCoords, INT_MAX), "INT_MAX texture coordinates");
    expectRejected(withField(good, fieldNumTriangles, 3), "one triangle more than stored");
    expectRejected(withField(withField(good, fieldNumFrames, INT_MAX), fieldNumVertices, INT_MAX),
                   "frames x vertices past any size");
}

TEST(Md2Loader, RejectsAFileCutShort)
{
    const std::vector<std::uint8_t> good = md2Bytes(squareModel(3));
    // The frames are stored last: every cut falls into frame data that the
    // loader would otherwise read short.
    for (std::size_t lost : {1, 3, 16, 40, 56, 100}) {
        std::vector<std::uint8_t> cut(good.begin(), good.end() - static_cast<long>(lost));
        expectRejected(cut, "file missing its last " + std::to_string(lost) + " bytes");
    }
    // Cut right after the header: nothing of any array is there.
    expectRejected(std::vector<std::uint8_t>(good.begin(), good.begin() + 68), "header only");
}

TEST(Md2Loader, RejectsTrianglesWithIndicesOutsideTheArrays)
{
    const TestModel good = squareModel(2);
    struct Damage {
        int triangle, corner;
        bool vertex;
        std::int16_t value;
    };
    const Damage damages[] = {
        {0, 0, true, 4},  {1, 2, true, 4},   {1, 1, true, -1},  {0, 2, true, 32767},
        {0, 0, false, 4}, {1, 2, false, 4},  {0, 1, false, -1}, {1, 0, false, -32768},
    };
    for (const Damage& d : damages) {
        TestModel damaged = good;
        Md2Triangle& t = damaged.triangles[d.triangle];
        (d.vertex ? t.vertex : t.texCoord)[d.corner] = d.value;
        expectRejected(md2Bytes(damaged), std::string(d.vertex ? "vertex" : "texture coordinate") +
                                              " index " + std::to_string(d.value));
    }
    // Any triangle with no vertices or no texture coordinates is damaged.
    TestModel noTexCoords = good;
    noTexCoords.texCoords.clear();
    expectRejected(md2Bytes(noTexCoords), "no texture coordinates");
    // The largest valid indices load.
    TestModel edge = good;
    edge.triangles[0] = {{3, 3, 3}, {3, 3, 3}};
    const std::string path = writeModelFile("edge", md2Bytes(edge));
    Md2Model model;
    EXPECT_TRUE(model.load(path.c_str()));
    std::filesystem::remove(path);
}

TEST(Md2Loader, MissingFileIsRejected)
{
    Md2Model model;
    EXPECT_FALSE(model.load("/nonexistent/Modells/tris.md2"));
    EXPECT_FALSE(model.load(nullptr));
    EXPECT_FALSE(model.load(std::filesystem::temp_directory_path().c_str()));   // a directory
    expectHoldsNothing(model);
}

TEST(Md2Loader, ReleaseFreesEverythingAndIsHarmlessTwice)
{
    Md2Model never;
    never.release();
    never.release();
    expectHoldsNothing(never);

    const std::string path = writeModelFile("release", md2Bytes(squareModel(2)));
    Md2Model model;
    ASSERT_TRUE(model.load(path.c_str()));
    model.release();
    expectHoldsNothing(model);
    model.release();
    expectHoldsNothing(model);
    // And it can be loaded again.
    EXPECT_TRUE(model.load(path.c_str()));
    EXPECT_EQ(model.header->numFrames, 2);
    std::filesystem::remove(path);
}

TEST(Md2Loader, ConstructionFillsTheAnimationTable)
{
    Md2Model model;
    const Md2Animation expected[md2AnimationCount] = {
        {0, 39, 9},     {40, 45, 10},   {46, 53, 10},   {54, 57, 7},    {58, 61, 7},
        {62, 65, 7},    {66, 71, 7},    {72, 83, 7},    {84, 94, 7},    {95, 111, 10},
        {112, 122, 7},  {123, 134, 6},  {135, 153, 10}, {154, 159, 7},  {160, 168, 10},
        {169, 172, 7},  {173, 177, 5},  {178, 183, 7},  {184, 189, 7},  {190, 197, 7},
        {198, 198, 5},
    };
    for (int row = 0; row < md2AnimationCount; ++row) {
        EXPECT_EQ(model.animations[row].firstFrame, expected[row].firstFrame) << row;
        EXPECT_EQ(model.animations[row].lastFrame, expected[row].lastFrame) << row;
        EXPECT_EQ(model.animations[row].framesPerSecond, expected[row].framesPerSecond) << row;
    }
    EXPECT_EQ(model.currentFrame, 0);
    EXPECT_EQ(model.lastAdvanceTime, 0.0f);
    expectHoldsNothing(model);
}

// The MD2 model: a good file loads with its counts and bytes; every damaged,
// truncated or inconsistent file is refused with nothing held and the file
// closed; the frame advance, the blend on the packed bytes and the decoding
// of a triangle corner.
#include "entities/md2.h"
#include "support/md2_models.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <tuple>

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
    EXPECT_FALSE(model.loaded());
    EXPECT_TRUE(!model.skins && !model.triangles && !model.texCoords && !model.frames && !model.frameVertices &&
                !model.interpolated);
}

// Loads the bytes into a fresh model and into one that held a good model,
// from a file and from memory: each load must refuse, hold nothing and leave
// no file open.
void expectRefused(const std::vector<std::uint8_t>& bytes, const std::string& what)
{
    SCOPED_TRACE(what);
    const std::string path = writeModelFile("refused", bytes), good = writeModelFile("good", md2Bytes(squareModel(2)));
    const int filesBefore = openFileCount();
    Md2Model fresh, used;
    EXPECT_FALSE(fresh.load(path.c_str()));
    expectHoldsNothing(fresh);
    ASSERT_TRUE(used.load(good.c_str()));
    EXPECT_FALSE(used.load(path.c_str()));
    expectHoldsNothing(used);
    ASSERT_TRUE(used.load(good.c_str()));
    EXPECT_FALSE(used.loadBytes(bytes.data(), bytes.size()));
    expectHoldsNothing(used);
    EXPECT_EQ(openFileCount(), filesBefore);
    std::filesystem::remove(path);
    std::filesystem::remove(good);
}

std::vector<std::uint8_t> withField(std::vector<std::uint8_t> bytes, std::size_t field, std::int32_t value)
{
    std::memcpy(bytes.data() + field, &value, sizeof value);
    return bytes;
}

void load(Md2Model& model, const TestModel& built)
{
    const std::vector<std::uint8_t> bytes = md2Bytes(built);
    ASSERT_TRUE(model.loadBytes(bytes.data(), bytes.size()));
}

// A model whose one vertex holds its frame number in the x byte, so the
// blend shows which two frames are played.
TestModel numberedFrames(int frameCount)
{
    TestModel m;
    m.numVertices = 1;
    m.texCoords = {{0, 0}};
    m.triangles = {{{0, 0, 0}, {0, 0, 0}}};
    for (int f = 0; f < frameCount; ++f)
        m.frames.push_back({frameHeader(1.0f, 0.0f, "n"), {Md2Vertex{{std::uint8_t(f), 0, 0}, 0}}});
    return m;
}

}  // namespace

TEST(Md2Loader, LoadsCountsAndBytesOfABuiltModel)
{
    TestModel built = squareModel(3);
    built.skins.push_back(skinName("players/test/other.pcx"));
    const std::string path = writeModelFile("counts", md2Bytes(built));
    Md2Model model;
    ASSERT_TRUE(model.load(path.c_str()));
    const Md2Header& h = *model.header;
    EXPECT_EQ(std::vector<int>({h.skinWidth, h.skinHeight, h.numSkins, h.numVertices, h.numTexCoords, h.numTriangles,
                                h.numFrames}),
              std::vector<int>({64, 32, 2, 4, 4, 2, 3}));
    EXPECT_STREQ(model.skins[1].name, "players/test/other.pcx");
    EXPECT_TRUE(model.drawable());
    // Released, and loadable again.
    model.release();
    expectHoldsNothing(model);
    EXPECT_TRUE(model.load(path.c_str()));
    std::filesystem::remove(path);
    // A header and nothing else is a model of nothing, not a damaged one.
    const std::vector<std::uint8_t> empty = md2Bytes(TestModel{});
    Md2Data none;
    std::string error;
    EXPECT_TRUE(md2Read(empty.data(), empty.size(), none, error) && none.frames.empty()) << error;
    // No file, no path, a directory.
    EXPECT_FALSE(model.load("/nonexistent/Modells/tris.md2"));
    EXPECT_FALSE(model.load(nullptr));
    EXPECT_FALSE(model.load(std::filesystem::temp_directory_path().c_str()));
    expectHoldsNothing(model);
}

TEST(Md2Loader, RefusesEveryDamagedHeaderArrayAndIndex)
{
    const std::vector<std::uint8_t> good = md2Bytes(squareModel(2));
    const auto size = static_cast<std::int32_t>(good.size());
    const struct {
        std::size_t field;
        std::int32_t value;
    } damages[] = {
        {offsetof(Md2Header, version), 7},          {offsetof(Md2Header, version), 9},
        {offsetof(Md2Header, magic), 0x32504448},
        {offsetof(Md2Header, numSkins), -1},         {offsetof(Md2Header, numVertices), INT_MIN},
        {offsetof(Md2Header, numTexCoords), -1},     {offsetof(Md2Header, numTriangles), -1},
        {offsetof(Md2Header, numFrames), -1},        {offsetof(Md2Header, numFrames), 3},
        {offsetof(Md2Header, numFrames), INT_MAX},   {offsetof(Md2Header, numVertices), 5},
        {offsetof(Md2Header, numSkins), 1 << 30},    {offsetof(Md2Header, numTexCoords), INT_MAX},
        {offsetof(Md2Header, numTriangles), 3},
        {offsetof(Md2Header, offsetSkins), size - 63},        {offsetof(Md2Header, offsetTexCoords), size - 15},
        {offsetof(Md2Header, offsetTriangles), size - 23},    {offsetof(Md2Header, offsetFrames), size - 111},
        {offsetof(Md2Header, offsetFrames), -4},               {offsetof(Md2Header, offsetTriangles), INT_MAX},
        {offsetof(Md2Header, offsetSkins), size + 1000},
    };
    for (const auto& d : damages)
        expectRefused(withField(good, d.field, d.value),
                      "field at " + std::to_string(d.field) + " = " + std::to_string(d.value));
    for (std::size_t keep : {std::size_t(0), std::size_t(67), std::size_t(68), good.size() - 1, good.size() - 40})
        expectRefused(std::vector<std::uint8_t>(good.begin(), good.begin() + long(keep)),
                      "cut to " + std::to_string(keep) + " bytes");
    // Triangle corners naming a vertex or texture coordinate that is not there.
    for (const auto& [corner, vertex, value] : {std::tuple{0, true, 4}, {2, true, -1}, {1, false, 4}, {0, false, -32768}}) {
        TestModel damaged = squareModel(2);
        (vertex ? damaged.triangles[1].vertex : damaged.triangles[1].texCoord)[corner] = std::int16_t(value);
        expectRefused(md2Bytes(damaged), "corner index " + std::to_string(value));
    }
    // The header's frame size is not consulted; the largest indices load.
    TestModel edge = squareModel(2);
    edge.triangles[0] = {{3, 3, 3}, {3, 3, 3}};
    for (std::int32_t frameSize : {0, -1, INT_MAX}) {
        Md2Model model;
        const auto bytes = withField(md2Bytes(edge), offsetof(Md2Header, frameSize), frameSize);
        ASSERT_TRUE(model.loadBytes(bytes.data(), bytes.size()));
        EXPECT_EQ(model.frameVertices[1][3].v[2], 3 + 3);
    }
}

TEST(Md2Animation, AdvancesOneFrameWhenMoreThanAFrameTimeHasPassedAndWraps)
{
    Md2Model model;
    load(model, numberedFrames(46));
    model.selectAnimation(0);
    model.currentFrame = 12;
    model.lastAdvanceTime = 2.0f;
    // Switching to running blends from the frame playing into the row's second.
    model.selectAnimation(1);
    const int first = model.startFrame, last = model.endFrame, rate = model.framesPerSecond;
    ASSERT_GT(rate, 0);
    EXPECT_EQ(model.currentFrame, 12);
    EXPECT_EQ(model.nextFrame, first + 1);
    for (const int row : {-1, md2AnimationCount})   // rows that do not exist change nothing
        model.selectAnimation(row);
    EXPECT_EQ(std::tuple(model.startFrame, model.endFrame, model.animationIndex), std::tuple(first, last, 1));
    model.animate(2.0f + 0.5f / rate);   // half a frame time: no advance, the blend half way
    EXPECT_EQ(model.currentFrame, 12);
    EXPECT_NEAR(model.interpolation, 0.5f, 1e-4f);
    // Then one frame per call however long the pause, round the row.
    float t = 2.0f;
    for (int i = 1; i <= 2 * (last - first + 1); ++i) {
        t += 1.5f / rate + (i == 3 ? 10.0f : 0.0f);
        model.animate(t);
        model.interpolate();
        const int expected = first + i % (last - first + 1);
        EXPECT_EQ(model.currentFrame, expected) << i;
        EXPECT_EQ(model.interpolated[0].v[0], expected);   // fraction 0 right after the advance
    }
}

TEST(Md2Animation, BlendTruncatesTowardZeroOnTheBytesAndStaysInRange)
{
    TestModel m;
    m.numVertices = 3;
    m.texCoords = {{0, 0}};
    m.triangles = {{{0, 1, 2}, {0, 0, 0}}};
    m.frames = {{frameHeader(1.0f, 0.0f, "a"), {{{10, 5, 0}, 0}, {{10, 200, 255}, 0}, {{255, 1, 3}, 0}}},
                {frameHeader(1.0f, 0.0f, "b"), {{{5, 10, 255}, 0}, {{0, 0, 0}, 0}, {{0, 0, 4}, 0}}}};
    Md2Model model;
    load(model, m);
    model.nextFrame = 1;
    const struct {
        float fraction;
        std::uint8_t bytes[3][3];
    } cases[] = {{0.5f, {{7, 7, 127}, {5, 100, 127}, {127, 0, 3}}},
                 {-3.0f, {{25, 0, 0}, {40, 255, 255}, {255, 4, 0}}}};   // a clock that went backwards
    for (const auto& c : cases) {
        model.interpolation = c.fraction;
        model.interpolate();
        for (int i = 0; i < 3; ++i)
            for (int axis = 0; axis < 3; ++axis)
                EXPECT_EQ(model.interpolated[i].v[axis], c.bytes[i][axis]) << c.fraction << ": " << i << "," << axis;
    }
}

TEST(Md2Animation, CornersAreDecodedWithFrameZerosScaleAndTranslate)
{
    Md2Model model;
    load(model, squareModel(2));   // frame 1 has scale 1.5 and translate -10
    model.currentFrame = model.nextFrame = 1;
    model.interpolate();
    // Triangle 1, corner 1 is vertex 2: frame 1 bytes (3, 4, 5), decoded with
    // frame 0's scale 0.5 and translate 0; texture coordinate (64, 32) on a
    // 64 x 32 skin.
    const Md2Corner c = model.corner(1, 1), first = model.corner(0, 0);
    EXPECT_EQ(std::vector<float>({c.x, c.y, c.z, c.s, c.t}), std::vector<float>({1.5f, 2.0f, 2.5f, 1.0f, 0.0f}));
    EXPECT_EQ(first.s + first.t, 1.0f);
    // A skin without width or height gives finite coordinates.
    TestModel noSkin = squareModel(1);
    noSkin.skinWidth = noSkin.skinHeight = 0;
    load(model, noSkin);
    model.interpolate();
    EXPECT_EQ(model.corner(1, 2).s, 0.0f);
    EXPECT_EQ(model.corner(1, 2).t, 1.0f);
}

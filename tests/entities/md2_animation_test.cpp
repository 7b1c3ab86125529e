// The MD2 frame advance, the blend on the packed bytes and the decoding of a
// triangle corner, all without a window.
#include "entities/md2.h"
#include "entities/md2_test_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

// A model of `frameCount` frames whose one vertex holds its frame number in
// the x byte, so the blend shows which two frames are being played.
TestModel numberedFrames(int frameCount)
{
    TestModel m;
    m.numVertices = 1;
    m.texCoords = {{0, 0}};
    m.triangles = {{{0, 0, 0}, {0, 0, 0}}};
    for (int f = 0; f < frameCount; ++f) {
        TestFrame frame;
        frame.header = frameHeader(1.0f, 0.0f, "n");
        frame.vertices = {Md2Vertex{{static_cast<std::uint8_t>(f), 0, 0}, 0}};
        m.frames.push_back(frame);
    }
    return m;
}

void loadModel(Md2Model& model, const TestModel& built, const char* name)
{
    const std::string path = writeModelFile(name, md2Bytes(built));
    ASSERT_TRUE(model.load(path.c_str()));
    std::filesystem::remove(path);
}

}  // namespace

TEST(Md2Animation, AdvancesOnlyWhenMoreThanOneFrameTimeHasPassed)
{
    Md2Model model;
    loadModel(model, numberedFrames(46), "advance");
    model.selectAnimation(1);   // 40-45 at 10 per second
    model.currentFrame = 40;
    model.nextFrame = 41;
    model.lastAdvanceTime = 1.00f;

    model.animate(1.05f);   // 0.05 is not more than 0.1
    EXPECT_EQ(model.currentFrame, 40);
    EXPECT_EQ(model.nextFrame, 41);
    EXPECT_FLOAT_EQ(model.lastAdvanceTime, 1.00f);
    EXPECT_NEAR(model.interpolation, 0.5f, 1e-5f);

    model.animate(1.11f);   // advances once
    EXPECT_EQ(model.currentFrame, 41);
    EXPECT_EQ(model.nextFrame, 42);
    EXPECT_FLOAT_EQ(model.lastAdvanceTime, 1.11f);
    EXPECT_EQ(model.interpolation, 0.0f);

    // A long pause still advances only one frame per call.
    model.animate(9.0f);
    EXPECT_EQ(model.currentFrame, 42);
    EXPECT_EQ(model.nextFrame, 43);
}

TEST(Md2Animation, WrapsFromTheEndFrameToTheStartFrame)
{
    Md2Model model;
    loadModel(model, numberedFrames(46), "wrap");   // 45 is the file's last frame
    model.selectAnimation(1);
    model.currentFrame = 44;
    model.nextFrame = 45;
    model.animate(0.2f);
    EXPECT_EQ(model.currentFrame, 45);
    EXPECT_EQ(model.nextFrame, 40);
    model.animate(0.35f);
    EXPECT_EQ(model.currentFrame, 40);
    EXPECT_EQ(model.nextFrame, 41);
}

TEST(Md2Animation, SwitchingToRunningBlendsFromTheCurrentFrame)
{
    Md2Model model;
    loadModel(model, numberedFrames(46), "switch");
    model.selectAnimation(0);
    model.currentFrame = 12;
    model.nextFrame = 13;
    model.lastAdvanceTime = 2.0f;

    model.selectAnimation(1);
    EXPECT_EQ(model.startFrame, 40);
    EXPECT_EQ(model.endFrame, 45);
    EXPECT_EQ(model.framesPerSecond, 10);
    EXPECT_EQ(model.animationIndex, 1);
    EXPECT_EQ(model.currentFrame, 12);   // kept
    EXPECT_EQ(model.nextFrame, 41);

    model.animate(2.05f);
    model.interpolate();
    EXPECT_EQ(model.currentFrame, 12);
    EXPECT_EQ(model.nextFrame, 41);
    EXPECT_EQ(model.interpolated[0].v[0], 26);   // 12 + 29 x 0.5 = 26.5, truncated

    const int shown[] = {41, 42, 43, 44, 45, 40, 41};
    float t = 2.0f;
    for (int frame : shown) {
        t += 0.15f;
        model.animate(t);
        model.interpolate();
        EXPECT_EQ(model.currentFrame, frame);
        EXPECT_EQ(model.interpolated[0].v[0], frame);   // fraction 0 right after the advance
    }
}

TEST(Md2Animation, FramesTheFileDoesNotHavePlayAsFrameZero)
{
    Md2Model model;
    loadModel(model, numberedFrames(10), "fold");
    model.selectAnimation(0);
    model.currentFrame = 12;
    model.selectAnimation(1);   // next frame 41
    // Before any animate() (the clock still at 0) the blend must not read
    // past the frames: both fold to frame 0.
    model.interpolation = 0.5f;
    model.interpolate();
    EXPECT_EQ(model.interpolated[0].v[0], 0);

    model.animate(0.05f);
    EXPECT_EQ(model.currentFrame, 0);
    EXPECT_EQ(model.nextFrame, 0);
}

TEST(Md2Animation, ARateOfZeroNeverAdvances)
{
    Md2Model model;
    loadModel(model, numberedFrames(46), "rate0");
    model.selectAnimation(1);
    model.framesPerSecond = 0;
    model.currentFrame = 40;
    model.animate(100.0f);
    EXPECT_EQ(model.currentFrame, 40);
    EXPECT_EQ(model.interpolation, 0.0f);
}

TEST(Md2Animation, BlendTruncatesTowardZeroOnTheBytes)
{
    TestModel m;
    m.numVertices = 3;
    m.texCoords = {{0, 0}};
    m.triangles = {{{0, 1, 2}, {0, 0, 0}}};
    TestFrame a, b;
    a.header = b.header = frameHeader(1.0f, 0.0f, "t");
    a.vertices = {{{10, 5, 0}, 0}, {{10, 200, 255}, 0}, {{255, 1, 3}, 0}};
    b.vertices = {{{5, 10, 255}, 0}, {{0, 0, 0}, 0}, {{0, 0, 4}, 0}};
    m.frames = {a, b};
    Md2Model model;
    loadModel(model, m, "trunc");
    model.currentFrame = 0;
    model.nextFrame = 1;

    model.interpolation = 0.5f;
    model.interpolate();
    // 7.5, 7.5, 127.5 / 5, 100, 127.5 / 127.5, 0.5, 3.5
    const std::uint8_t half[3][3] = {{7, 7, 127}, {5, 100, 127}, {127, 0, 3}};
    for (int i = 0; i < 3; ++i)
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_EQ(model.interpolated[i].v[axis], half[i][axis]) << i << "," << axis;

    model.interpolation = 0.55f;
    model.interpolate();
    EXPECT_EQ(model.interpolated[1].v[0], 4);     // 10 - 5.5 = 4.5: not rounded up
    EXPECT_EQ(model.interpolated[0].v[2], 140);   // 255 x 0.55 = 140.25

    model.interpolation = 0.999f;
    model.interpolate();
    EXPECT_EQ(model.interpolated[0].v[2], 254);   // 254.745
    EXPECT_EQ(model.interpolated[2].v[0], 0);     // 0.255

    // A clock that went backwards gives a fraction below 0: the bytes stay
    // in range instead of wrapping.
    model.interpolation = -3.0f;
    model.interpolate();
    EXPECT_EQ(model.interpolated[0].v[2], 0);
    EXPECT_EQ(model.interpolated[1].v[1], 255);
}

TEST(Md2Animation, CornersAreDecodedWithFrameZerosScaleAndTranslate)
{
    TestModel m = squareModel(2);   // frame 1 has scale 1.5 and translate -10
    Md2Model model;
    loadModel(model, m, "frame0");
    model.currentFrame = 1;
    model.nextFrame = 1;
    model.interpolation = 0;
    model.interpolate();
    // Triangle 1, corner 1 is vertex 2: frame 1 bytes (3, 4, 5), decoded with
    // frame 0's scale 0.5 and translate 0.
    const Md2Corner c = model.corner(1, 1);
    EXPECT_FLOAT_EQ(c.x, 1.5f);
    EXPECT_FLOAT_EQ(c.y, 2.0f);
    EXPECT_FLOAT_EQ(c.z, 2.5f);
    // Texture coordinate 2 is (64, 32) on a 64 x 32 skin.
    EXPECT_FLOAT_EQ(c.s, 1.0f);
    EXPECT_FLOAT_EQ(c.t, 0.0f);
    const Md2Corner first = model.corner(0, 0);   // texel (0, 0)
    EXPECT_FLOAT_EQ(first.s, 0.0f);
    EXPECT_FLOAT_EQ(first.t, 1.0f);
}

TEST(Md2Animation, ASkinWithoutWidthOrHeightGivesFiniteCoordinates)
{
    TestModel m = squareModel(1);
    m.skinWidth = 0;
    m.skinHeight = 0;
    Md2Model model;
    loadModel(model, m, "skin0");
    model.interpolate();
    for (int i = 0; i < 2; ++i)
        for (int k = 0; k < 3; ++k) {
            const Md2Corner c = model.corner(i, k);
            EXPECT_TRUE(std::isfinite(c.s) && std::isfinite(c.t));
            EXPECT_EQ(c.s, 0.0f);
            EXPECT_EQ(c.t, 1.0f);
        }
}

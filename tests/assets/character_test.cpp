// The generated player character: the MD2 file read back with the shared
// records, its proportions, its closed mesh, its animation rows and its skin
// file. How it looks on screen is character_view_test.cpp.
#include "assets/character_support.h"
#include "entities/md2.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

using namespace charactertest;

namespace {

class Character : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root = new fs::path(generateInto("main"));
        bytes = new std::vector<std::uint8_t>(readFile(*root / "Modells" / "tris.md2"));
        model = new Model;
        parsed = parse(*bytes, *model);
    }
    static void TearDownTestSuite()
    {
        fs::remove_all(*root);
        delete root;
        delete bytes;
        delete model;
    }
    void SetUp() override { ASSERT_TRUE(parsed) << "the model file does not parse"; }

    // Largest distance any vertex moves between two frames.
    static double largestMove(int a, int b)
    {
        double most = 0;
        for (int v = 0; v < model->header.numVertices; ++v) {
            const Vertex p = model->decode(a, v), q = model->decode(b, v);
            most = std::max(most, std::hypot(p.x - q.x, p.y - q.y, p.z - q.z));
        }
        return most;
    }
    static double lowest(int frame)
    {
        double z = 1e9;
        for (int v = 0; v < model->header.numVertices; ++v)
            z = std::min(z, model->decode(frame, v).z);
        return z;
    }

    static inline fs::path* root = nullptr;
    static inline std::vector<std::uint8_t>* bytes = nullptr;
    static inline Model* model = nullptr;
    static inline bool parsed = false;
};

TEST_F(Character, FileHoldsEveryAnimationRowWithValidIndices)
{
    const Md2Header& h = model->header;
    EXPECT_GE(h.numFrames, 199);
    EXPECT_EQ(h.skinWidth, 512);
    EXPECT_EQ(h.skinHeight, 512);
    EXPECT_EQ(model->skinName, "models/orbitor/hueteotl.pcx");
    EXPECT_GE(h.numTriangles, 300);
    EXPECT_LE(h.numTriangles, 1200);
    for (const Md2Triangle& t : model->triangles) {
        for (int k = 0; k < 3; ++k) {
            ASSERT_GE(t.vertex[k], 0);
            ASSERT_LT(t.vertex[k], h.numVertices);
            ASSERT_GE(t.texCoord[k], 0);
            ASSERT_LT(t.texCoord[k], h.numTexCoords);
        }
        EXPECT_TRUE(t.vertex[0] != t.vertex[1] && t.vertex[1] != t.vertex[2] && t.vertex[0] != t.vertex[2]);
    }
    for (const Md2TexCoord& tc : model->texCoords) {
        EXPECT_TRUE(tc.s >= 0 && tc.s < h.skinWidth && tc.t >= 0 && tc.t < h.skinHeight) << tc.s << "," << tc.t;
    }
    for (const auto& frame : model->vertices)
        for (const Md2Vertex& v : frame)
            ASSERT_LT(v.normalIndex, 162);
}

TEST_F(Character, EveryFrameSharesFrameZerosScaleAndTranslate)
{
    const Md2FrameHeader& f0 = model->frames[0];
    for (const Md2FrameHeader& f : model->frames) {
        for (int a = 0; a < 3; ++a) {
            EXPECT_EQ(f.scale[a], f0.scale[a]);
            EXPECT_EQ(f.translate[a], f0.translate[a]);
        }
    }
    EXPECT_EQ(std::string(model->frames[0].name), "stand01");
    EXPECT_EQ(std::string(model->frames[40].name), "run01");
    EXPECT_EQ(std::string(model->frames[198].name), "boom01");
}

TEST_F(Character, StandsInPlayerProportions)
{
    double top = -1e9, front = -1e9, back = 1e9, left = -1e9, right = 1e9;
    for (int v = 0; v < model->header.numVertices; ++v) {
        const Vertex p = model->decode(0, v);
        top = std::max(top, p.z);
        front = std::max(front, p.x);
        back = std::min(back, p.x);
        left = std::max(left, p.y);
        right = std::min(right, p.y);
    }
    EXPECT_NEAR(lowest(0), -24.0, 0.3);   // feet on the ground
    EXPECT_NEAR(top, 20.0, 0.8);          // about 44 units tall
    EXPECT_GT(left - right, 16.0);        // shoulders wider than deep
    EXPECT_LT(left - right, 26.0);
    EXPECT_LT(front - back, 12.0);
    EXPECT_NEAR(left + right, 0.0, 1.5);  // standing about the middle
    // The feet stay on the ground through the idle and the crouched rows.
    for (int f = 0; f < 40; ++f)
        EXPECT_NEAR(lowest(f), -24.0, 0.3) << "frame " << f;
    for (int f = 135; f < 160; ++f)
        EXPECT_NEAR(lowest(f), -24.0, 0.3) << "frame " << f;
}

// Every edge of the mesh is shared by exactly two triangles running it in
// opposite directions, and the enclosed volume is positive: a closed
// surface wound counter-clockwise seen from outside.
TEST_F(Character, MeshIsClosedAndWoundOutward)
{
    std::map<std::pair<int, int>, int> edges;
    for (const Md2Triangle& t : model->triangles)
        for (int k = 0; k < 3; ++k)
            ++edges[{t.vertex[k], t.vertex[(k + 1) % 3]}];
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1) << edge.first << "-" << edge.second;
        const auto twin = edges.find({edge.second, edge.first});
        EXPECT_TRUE(twin != edges.end() && twin->second == 1) << edge.first << "-" << edge.second;
    }
    for (int frame : {0, 42, 190}) {
        double volume = 0;
        for (const Md2Triangle& t : model->triangles) {
            const Vertex a = model->decode(frame, t.vertex[0]), b = model->decode(frame, t.vertex[1]),
                         c = model->decode(frame, t.vertex[2]);
            volume += (a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) + a.z * (b.x * c.y - b.y * c.x)) / 6;
        }
        EXPECT_GT(volume, 1000.0) << "frame " << frame;
    }
}

TEST_F(Character, RunCycleMovesAndLoops)
{
    double largestStep = 0;
    for (int f = 40; f < 45; ++f) {
        const double step = largestMove(f, f + 1);
        EXPECT_GT(step, 2.0) << "frames " << f << " and " << f + 1 << " look alike";
        largestStep = std::max(largestStep, step);
    }
    const double wrap = largestMove(45, 40);
    EXPECT_GT(wrap, 2.0);
    EXPECT_LE(wrap, largestStep * 1.25);   // 45 -> 40 is one more stride step
    // Half a cycle apart the legs have swapped: more than any single step.
    double halfCycle = 0;
    for (int f = 40; f < 43; ++f)
        halfCycle = std::max(halfCycle, largestMove(f, f + 3));
    EXPECT_GT(halfCycle, largestStep);
}

TEST_F(Character, IdleBreathesGentlyAndLoops)
{
    double largestStep = 0;
    for (int f = 0; f < 39; ++f)
        largestStep = std::max(largestStep, largestMove(f, f + 1));
    EXPECT_GT(largestStep, 0.3);
    EXPECT_LT(largestStep, 2.5);
    EXPECT_LT(largestMove(39, 0), 2.5);
    EXPECT_GT(largestMove(0, 20), 0.5);   // it does move over the loop
}

TEST_F(Character, OtherRowsHaveDistinctPoses)
{
    // First frame of each row against its middle frame.
    const int rows[][2] = {{46, 53}, {54, 57}, {58, 61}, {62, 65}, {66, 71}, {72, 83}, {84, 94},
                           {95, 111}, {112, 122}, {123, 134}, {160, 168}, {169, 172}, {173, 177},
                           {178, 183}, {184, 189}, {190, 197}};
    for (const auto& row : rows)
        EXPECT_GT(largestMove(row[0], (row[0] + row[1] + 1) / 2), 3.0) << "row from " << row[0];
    // Deaths end lying on the ground: nothing reaches hip height any more.
    for (int f : {177, 183, 189, 197, 198}) {
        double top = -1e9;
        for (int v = 0; v < model->header.numVertices; ++v)
            top = std::max(top, model->decode(f, v).z);
        EXPECT_LT(top, 0.0) << "frame " << f;
        EXPECT_NEAR(lowest(f), -24.0, 0.3) << "frame " << f;
    }
}

// Every frame, decoded with its own scale and translate, stays inside the
// box of a player model of this format: feet on its floor at -24, nothing
// above 24. The rows the game plays keep the crown near 20: lower and the
// head leaves the start view, higher and it reaches the crosshair.
TEST_F(Character, EveryFrameFitsThePlayerBox)
{
    const Md2Model table;
    for (int f = 0; f < model->header.numFrames; ++f) {
        const Md2FrameHeader& fh = model->frames[f];
        double lo[3] = {1e9, 1e9, 1e9}, hi[3] = {-1e9, -1e9, -1e9};
        for (const Md2Vertex& v : model->vertices[f])
            for (int a = 0; a < 3; ++a) {
                const double c = v.v[a] * fh.scale[a] + fh.translate[a];
                lo[a] = std::min(lo[a], c);
                hi[a] = std::max(hi[a], c);
            }
        for (int a = 0; a < 2; ++a) {
            EXPECT_GT(lo[a], -28.0) << "frame " << f << " axis " << a;
            EXPECT_LT(hi[a], 28.0) << "frame " << f << " axis " << a;
        }
        EXPECT_GT(lo[2], -24.3) << "frame " << f;
        EXPECT_LE(hi[2], 24.0) << "frame " << f;
        if (f <= table.animations[1].lastFrame) {
            EXPECT_NEAR(hi[2], 20.0, 1.0) << "frame " << f;
        }
    }
}

// The frames of each row of the game's animation table carry one row name
// numbered from 01, a name no other row uses; the table's last row ends on
// the file's last frame.
TEST_F(Character, FramesFollowTheGamesAnimationRows)
{
    const Md2Model table;
    std::map<std::string, int> rowOfName;
    for (int row = 0; row < md2AnimationCount; ++row) {
        const Md2Animation& a = table.animations[row];
        const std::string first = model->frames[a.firstFrame].name;
        ASSERT_GT(first.size(), 2u);
        const std::string name = first.substr(0, first.size() - 2);
        EXPECT_TRUE(rowOfName.emplace(name, row).second) << name << " names two rows";
        for (int f = a.firstFrame; f <= a.lastFrame; ++f) {
            char expected[16];
            std::snprintf(expected, sizeof expected, "%s%02d", name.c_str(), f - a.firstFrame + 1);
            EXPECT_EQ(std::string(model->frames[f].name), expected) << "row " << row;
        }
    }
    EXPECT_EQ(model->header.numFrames, table.animations[md2AnimationCount - 1].lastFrame + 1);
}

TEST(CharacterFiles, GenerationIsDeterministic)
{
    const fs::path a = generateInto("a"), b = generateInto("b");
    EXPECT_EQ(readFile(a / "Modells" / "tris.md2"), readFile(b / "Modells" / "tris.md2"));
    EXPECT_EQ(readFile(a / "Textures" / "hueteotl.tga"), readFile(b / "Textures" / "hueteotl.tga"));
    fs::remove_all(a);
    fs::remove_all(b);
}

TEST(CharacterFiles, SkinIsAColourTgaOfPowerOfTwoSize)
{
    const fs::path root = generateInto("skin");
    const std::vector<std::uint8_t> tga = readFile(root / "Textures" / "hueteotl.tga");
    TgaInfo info;
    std::string error;
    ASSERT_TRUE(tgaCheck(tga.data(), tga.size(), info, error)) << error;
    EXPECT_EQ(info.width, 512);
    EXPECT_EQ(info.height, 512);
    EXPECT_GE(info.bitsPerPixel, 24);
    fs::remove_all(root);
}

}  // namespace

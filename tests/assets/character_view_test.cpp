// The generated character drawn as the game draws it (placed relative to the
// eye, textured with its skin, unlit), and from around it at a distance.
// Pixels are read back and the pictures are kept as screenshots.
#include "assets/character_support.h"
#include "state/game_state.h"
#include "state/resources.h"
#include "entities/md2.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace charactertest;

namespace {

const Rgb background{40, 60, 90};

bool isBackground(Rgb c)
{
    return std::abs(c.r - background.r) < 6 && std::abs(c.g - background.g) < 6 && std::abs(c.b - background.b) < 6;
}
bool isSkin(Rgb c) { return c.r > 110 && c.r > c.g + 15 && c.g > c.b + 10; }

class CharacterView : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root = new fs::path(generateInto("view"));
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
    void SetUp() override
    {
        ASSERT_TRUE(parsed);
        if (!openTestWindow())
            GTEST_SKIP() << "no display";
        if (skin == 0) {
            glGenTextures(1, &skin);
            glBindTexture(GL_TEXTURE_2D, skin);
            const std::string path = (*root / "Textures" / "hueteotl.tga").string();
            ASSERT_EQ(glfwLoadTexture2D(path.c_str(), GLFW_BUILD_MIPMAPS_BIT), 1);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        }
        glViewport(0, 0, 800, 600);
        glClearColor(background.r / 255.0f, background.g / 255.0f, background.b / 255.0f, 1);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glEnable(GL_CULL_FACE);
        glDisable(GL_LIGHTING);
        glDisable(GL_BLEND);
    }

    // The triangles of one frame, with the texture coordinates and the
    // frame-0 decoding the game uses; positions in model units x 0.025.
    static void drawFrame(int frame)
    {
        const Md2Header& h = model->header;
        glColor3f(1, 1, 1);
        glBindTexture(GL_TEXTURE_2D, skin);
        glEnable(GL_TEXTURE_2D);
        glBegin(GL_TRIANGLES);
        for (const Md2Triangle& t : model->triangles) {
            for (int k = 0; k < 3; ++k) {
                const Md2TexCoord& tc = model->texCoords[t.texCoord[k]];
                glTexCoord2f(float(tc.s) / float(h.skinWidth), 1.0f - float(tc.t) / float(h.skinHeight));
                const Vertex p = model->decode(frame, t.vertex[k]);
                glVertex3d(p.x * 0.025, p.y * 0.025, p.z * 0.025);
            }
        }
        glEnd();
        glDisable(GL_TEXTURE_2D);
    }

    static void gameProjection()
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(30.0, 1.0, 0.1, 512.1);
        glMatrixMode(GL_MODELVIEW);
    }

    // The player's view through the game's own model drawing: frame `frame`
    // held still (current = next, no blend), the camera pitched by `pitch`.
    static void drawInGameView(Md2Model& md2, int frame, double pitch)
    {
        gameProjection();
        game.pitch = pitch;
        resources.playerSkinTexture = skin;
        game.lightingEnabled = false;
        game.modelTranslucent = false;
        md2.currentFrame = md2.nextFrame = frame;
        md2.interpolation = 0;
        md2.draw(0, 0, 0, 1.0f);
    }

    // The same view drawn here straight from the file's bytes.
    static void drawDecodedInGameView(int frame, double pitch)
    {
        gameProjection();
        glLoadIdentity();
        glRotated(pitch, 1, 0, 0);
        glTranslatef(0, -1, -1);
        glRotatef(-90, 1, 0, 0);
        glRotatef(-90, 0, 0, 1);
        drawFrame(frame);
    }

    static std::string modelPath() { return (*root / "Modells" / "tris.md2").string(); }

    // The whole figure in a viewport, turned `angle` degrees about its
    // vertical axis (0 shows its front).
    static void drawFromAround(int frame, double angle, int x, int y, int w, int h)
    {
        glViewport(x, y, w, h);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(30.0, double(w) / h, 0.1, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslated(0, -0.05, -3.2);
        glRotated(8, 1, 0, 0);
        glRotatef(-90, 1, 0, 0);
        glRotated(-90 + angle, 0, 0, 1);
        drawFrame(frame);
    }

    static inline fs::path* root = nullptr;
    static inline std::vector<std::uint8_t>* bytes = nullptr;
    static inline Model* model = nullptr;
    static inline bool parsed = false;
    static inline GLuint skin = 0;
};

TEST_F(CharacterView, SkinLoadsThroughTheGameLoaderAtItsSize)
{
    glBindTexture(GL_TEXTURE_2D, skin);
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(w, model->header.skinWidth);
    EXPECT_EQ(h, model->header.skinHeight);
}

TEST_F(CharacterView, GameLoaderAcceptsTheModel)
{
    Md2Model md2;
    ASSERT_TRUE(md2.load(modelPath().c_str()));
    EXPECT_EQ(md2.header->numFrames, model->header.numFrames);
    EXPECT_EQ(md2.header->numVertices, model->header.numVertices);
    EXPECT_EQ(md2.header->numTriangles, model->header.numTriangles);
    EXPECT_EQ(md2.header->numTexCoords, model->header.numTexCoords);
    EXPECT_EQ(md2.header->skinWidth, 512);
    // Every row of the game's animation table lies inside the file.
    for (const Md2Animation& row : md2.animations)
        EXPECT_LT(row.lastFrame, md2.header->numFrames);
}

// The game's drawing of a held frame and a drawing straight from the bytes
// put the same picture on the screen.
TEST_F(CharacterView, GameDrawingMatchesTheFile)
{
    Md2Model md2;
    ASSERT_TRUE(md2.load(modelPath().c_str()));
    for (int frame : {0, 43}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawInGameView(md2, frame, 10.0);
        std::vector<Rgb> game;
        int drawn = 0;
        for (int y = 300; y < 600; y += 7)
            for (int x = 200; x < 600; x += 7) {
                game.push_back(readPixel(x, y));
                drawn += !isBackground(game.back());
            }
        EXPECT_GT(drawn, 500) << "frame " << frame;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawDecodedInGameView(frame, 10.0);
        int differing = 0, i = 0;
        for (int y = 300; y < 600; y += 7)
            for (int x = 200; x < 600; x += 7, ++i) {
                const Rgb c = readPixel(x, y);
                differing += std::abs(c.r - game[i].r) + std::abs(c.g - game[i].g) + std::abs(c.b - game[i].b) > 6;
            }
        EXPECT_LT(differing, 5) << "frame " << frame;
    }
}

// The game shows the head facing the player, in the middle of the bottom
// edge of the screen, with the sky above untouched, standing and running.
TEST_F(CharacterView, GameViewShowsTheFaceAtTheBottomCentre)
{
    Md2Model md2;
    ASSERT_TRUE(md2.load(modelPath().c_str()));
    for (int frame : {0, 10, 20, 30, 40, 41, 42, 43, 44, 45}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawInGameView(md2, frame, 10.0);
        saveScreenshot("character_game_frame" + std::to_string(frame));
        for (int y = 0; y < 280; y += 20)
            for (int x = 0; x < 800; x += 40)
                ASSERT_TRUE(isBackground(readPixel(x, y))) << "frame " << frame << " at " << x << "," << y;
        EXPECT_FALSE(isBackground(readPixel(400, 590))) << "frame " << frame;
        int skinPixels = 0, samples = 0, left = 800, right = -1;
        for (int y = 380; y < 600; y += 4)
            for (int x = 250; x < 550; x += 4, ++samples)
                skinPixels += isSkin(readPixel(x, y));
        for (int x = 0; x < 800; ++x)
            if (!isBackground(readPixel(x, 560))) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        EXPECT_GT(skinPixels, samples / 5) << "frame " << frame << ": too little face";
        EXPECT_NEAR((left + right) / 2.0, 400.0, 60.0) << "frame " << frame;
    }
}

TEST_F(CharacterView, LookingDownShowsMoreOfTheBody)
{
    Md2Model md2;
    ASSERT_TRUE(md2.load(modelPath().c_str()));
    drawInGameView(md2, 0, 40.0);
    saveScreenshot("character_game_pitch40");
    int covered = 0;
    for (int y = 0; y < 600; y += 10)
        covered += !isBackground(readPixel(400, y));
    EXPECT_GT(covered, 20);
}

// Four sides of each frame of a row, for looking at.
TEST_F(CharacterView, TurntableViews)
{
    const struct {
        const char* name;
        int frames[4];
    } sheets[] = {{"stand", {0, 10, 20, 30}}, {"run", {40, 41, 42, 43}}, {"run2", {44, 45, 40, 41}}};
    for (const auto& sheet : sheets) {
        for (int f = 0; f < 4; ++f) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            for (int view = 0; view < 4; ++view)
                drawFromAround(sheet.frames[f], view * 90.0 + 20.0, view * 200, 0, 200, 600);
            saveScreenshot(std::string("character_turn_") + sheet.name + "_" + std::to_string(f));
            for (int view = 0; view < 4; ++view)
                EXPECT_FALSE(isBackground(readPixel(view * 200 + 100, 300))) << sheet.name << " view " << view;
        }
    }
    glViewport(0, 0, 800, 600);
}

// One frame from the middle of every row of the animation table, side by side.
TEST_F(CharacterView, EveryRowContactSheet)
{
    const int first[21] = {0, 40, 46, 54, 58, 62, 66, 72, 84, 95, 112, 123, 135, 154, 160, 169, 173, 178, 184, 190, 198};
    const int last[21] = {39, 45, 53, 57, 61, 65, 71, 83, 94, 111, 122, 134, 153, 159, 168, 172, 177, 183, 189, 197, 198};
    for (int pass = 0; pass < 2; ++pass) {
        glViewport(0, 0, 800, 600);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int row = 0; row < 21; ++row) {
            const int frame = pass == 0 ? (first[row] + last[row] + 1) / 2 : last[row];
            drawFromAround(frame, 35.0, (row % 7) * 114, 400 - (row / 7) * 200, 114, 200);
        }
        saveScreenshot(pass == 0 ? "character_rows_middle" : "character_rows_last");
    }
    glViewport(0, 0, 800, 600);
}

}  // namespace

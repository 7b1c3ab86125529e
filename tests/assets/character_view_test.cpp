// The generated character drawn as the game draws it (placed relative to the
// eye, textured with its skin, unlit), and from around it at a distance.
// Pixels are read back and the pictures are kept as screenshots.
#include "assets/character_support.h"
#include "state/game_state.h"
#include "state/resources.h"
#include "entities/md2.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "support/pixels.h"
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

// The pitch of the first view of a game: the first mouse report sets the
// pitch to the mouse accumulator's starting value.
double startPitch() { return GameState{}.mousePitch; }

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
        drawInGameView(md2, frame, startPitch() + 20);
        std::vector<Rgb> game;
        int drawn = 0;
        for (int y = 300; y < 600; y += 7)
            for (int x = 200; x < 600; x += 7) {
                game.push_back(readPixel(x, y));
                drawn += !isBackground(game.back());
            }
        EXPECT_GT(drawn, 500) << "frame " << frame;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawDecodedInGameView(frame, startPitch() + 20);
        int differing = 0, i = 0;
        for (int y = 300; y < 600; y += 7)
            for (int x = 200; x < 600; x += 7, ++i) {
                const Rgb c = readPixel(x, y);
                differing += std::abs(c.r - game[i].r) + std::abs(c.g - game[i].g) + std::abs(c.b - game[i].b) > 6;
            }
        EXPECT_LT(differing, 5) << "frame " << frame;
    }
}

// At the start pitch the head faces the player from the lower third of the
// screen, in the middle, and nothing of the figure comes near the crosshair:
// every pixel above the lower third, the 140 x 140 square about the screen
// centre included, shows what lies behind (here the clear colour), standing
// and running.
TEST_F(CharacterView, StartViewShowsTheHeadInTheLowerThirdClearOfTheCrosshair)
{
    Md2Model md2;
    ASSERT_TRUE(md2.load(modelPath().c_str()));
    for (int row = 0; row < 2; ++row) {
        for (int frame = md2.animations[row].firstFrame; frame <= md2.animations[row].lastFrame; ++frame) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            drawInGameView(md2, frame, startPitch());
            if (frame == 0 || frame == 43)
                saveScreenshot("character_game_frame" + std::to_string(frame));
            const Frame f = grabFrame();
            const auto drawn = [](Rgb c) { return !isBackground(c); };
            EXPECT_EQ(countPixels(f, drawn, 330, 230, 469, 369), 0) << "frame " << frame << ": near the crosshair";
            const Box figure = boxOf(f, drawn);
            EXPECT_GE(figure.top, 400) << "frame " << frame << ": above the lower third";
            EXPECT_EQ(figure.bottom, 599) << "frame " << frame;
            EXPECT_NEAR((figure.left + figure.right) / 2.0, 400.0, 60.0) << "frame " << frame;
            EXPECT_GT(countPixels(f, isSkin, 300, 400, 499, 599), 4000) << "frame " << frame << ": too little face";
        }
    }
}

// Looking down brings more of the body into view, looking up hides it.
TEST_F(CharacterView, LookingDownShowsMoreOfTheBodyLookingUpHidesIt)
{
    Md2Model md2;
    ASSERT_TRUE(md2.load(modelPath().c_str()));
    const double pitches[] = {startPitch() - 10, startPitch(), startPitch() + 20};
    int covered[3];
    for (int i = 0; i < 3; ++i) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawInGameView(md2, 0, pitches[i]);
        saveScreenshot("character_game_pitch" + std::to_string(static_cast<int>(pitches[i])));
        covered[i] = countPixels(grabFrame(), [](Rgb c) { return !isBackground(c); });
    }
    EXPECT_EQ(covered[0], 0);
    EXPECT_GT(covered[1], 10000);
    EXPECT_GT(covered[2], 2 * covered[1]);
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

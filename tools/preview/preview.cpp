// pack_preview OUTPUT_FOLDER: pictures of the generated pack for a person to look
// at, drawn by the game's own start-up and drawing code. Run in the pack
// folder (build/assets/) with a display; ./play --preview does both and
// writes into build/preview/:
//   page_*.png       the title page per difficulty, the goal page and the help
//                    page, with the cursor where the game puts it
//   view_*.png       the start view turned to four headings (sky, island,
//                    character), and once looking up
//   texture_*.png    every texture file as stored
//   character_*.png  the character from four sides standing and running, one
//                    frame of every animation row, and the game's own view
//   report.txt       figures to read beside the pictures (water loop, beach,
//                    particle rim)
#include "entities/emitters.h"
#include "entities/enemies.h"
#include "entities/md2.h"
#include "entities/particles.h"
#include "entities/player.h"
#include "game/startup.h"
#include "hud/screens.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "platform/texture_decode.h"
#include "render/frustum.h"
#include "render/projection.h"
#include "render/world_texture.h"
#include "state/game_state.h"
#include "state/resources.h"
#include "view/scene.h"
#include "world/sky.h"
#include "world/terrain.h"
#include "world/water.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path outputFolder;
int written = 0;

// The back buffer as a PNG in the output folder.
void saveView(const std::string& name)
{
    std::vector<unsigned char> rgb(800 * 600 * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    const std::string path = (outputFolder / (name + ".png")).string();
    written += stbi_write_png(path.c_str(), 800, 600, 3, rgb.data(), 800 * 3) != 0;
}

void clearFrame(float r, float g, float b)
{
    resetProjection();
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// The menu pages as the title menu draws them (no depth test, no lighting
// before a game), and the help page over a plain background.
void previewPages()
{
    const char* const difficulties[] = {"easy", "normal", "hard"};
    for (int d = 0; d < 3; ++d) {
        game = GameState{};
        game.difficulty = d;
        game.menuCursor = float(d + 1);
        clearFrame(0, 0, 0);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        drawTitleScreen();
        saveView(std::string("page_title_") + difficulties[d]);
    }
    for (int goal : {0, 4}) {
        game = GameState{};
        game.inGoalMenu = true;
        game.goalMode = goal;
        clearFrame(0, 0, 0);
        drawGoalScreen();
        saveView("page_goal_" + std::to_string(goal));
    }
    game = GameState{};
    clearFrame(0.62f, 0.756f, 0.9f);
    drawPauseScreen();
    saveView("page_help");
}

// The game view from the start position: sky, sea, island, emitters, the
// character.
void previewViews()
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    const struct {
        float heading;
        double pitch;
        const char* name;
    } views[] = {{0, 10, "view_heading0"},     {90, 10, "view_heading90"}, {180, 10, "view_heading180"},
                 {270, 10, "view_heading270"}, {45, -40, "view_up"}};
    for (const auto& v : views) {
        game = GameState{};
        game.heading = v.heading;
        game.headingRadians = v.heading * float(M_PI / 180);
        game.pitch = v.pitch;
        clearFrame(0.62f, 0.756f, 0.9f);
        renderScene();
        saveView(v.name);
    }
}

// A texture file as stored, bottom row first like the decoder gives it.
void previewTexture(const fs::path& file)
{
    sys::DecodedPicture picture;
    std::string error;
    if (!sys::readTexturePicture(file.c_str(), picture, error)) {
        std::fprintf(stderr, "preview: %s: %s\n", file.c_str(), error.c_str());
        return;
    }
    const std::string path = (outputFolder / ("texture_" + file.stem().string() + ".png")).string();
    written += stbi_write_png(path.c_str(), picture.width, picture.height, picture.channels, picture.pixels.get(),
                              picture.width * picture.channels) != 0;
}

// One held frame of the model turned `angle` degrees about its vertical
// axis (0 shows its front), filling a viewport.
void drawFromAround(Md2Model& model, int frame, double angle, int x, int y, int w, int h)
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
    model.currentFrame = model.nextFrame = frame;
    model.interpolation = 0;
    model.interpolate();
    glColor3f(1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, resources.playerSkinTexture);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_TRIANGLES);
    for (int t = 0; t < model.header->numTriangles; ++t)
        for (int k = 0; k < 3; ++k) {
            const Md2Corner c = model.corner(t, k);
            glTexCoord2f(c.s, c.t);
            glVertex3f(c.x * 0.025f, c.y * 0.025f, c.z * 0.025f);
        }
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void previewCharacter()
{
    Md2Model model;
    if (!model.load("Modells/tris.md2") || !model.drawable()) {
        std::fprintf(stderr, "preview: Modells/tris.md2 does not load\n");
        return;
    }
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    // Four sides of four frames of the standing and the running rows.
    for (int row = 0; row < 2; ++row) {
        const Md2Animation& a = model.animations[row];
        for (int n = 0; n < 4; ++n) {
            const int frame = a.firstFrame + n * (a.lastFrame - a.firstFrame + 1) / 4;
            clearFrame(0.16f, 0.24f, 0.35f);
            for (int side = 0; side < 4; ++side)
                drawFromAround(model, frame, side * 90.0 + 20.0, side * 200, 0, 200, 600);
            saveView("character_turn_" + std::string(row == 0 ? "stand" : "run") + std::to_string(n));
        }
    }
    // The middle frame of every row of the game's table, then the last.
    for (int last = 0; last < 2; ++last) {
        clearFrame(0.16f, 0.24f, 0.35f);
        for (int row = 0; row < md2AnimationCount; ++row) {
            const Md2Animation& a = model.animations[row];
            const int frame = last ? a.lastFrame : (a.firstFrame + a.lastFrame + 1) / 2;
            drawFromAround(model, frame, 35.0, (row % 7) * 114, 400 - (row / 7) * 200, 114, 200);
        }
        saveView(last ? "character_rows_last" : "character_rows_middle");
    }
    // The player's view of itself at three pitches, as the game draws it.
    for (double pitch : {10.0, 20.0, 40.0}) {
        game = GameState{};
        game.pitch = pitch;
        game.lightingEnabled = false;
        clearFrame(0.16f, 0.24f, 0.35f);
        model.currentFrame = model.nextFrame = 0;
        model.interpolation = 0;
        model.draw(0, 0, 0, 1.0f);
        saveView("character_game_pitch" + std::to_string(int(pitch)));
    }
}

// ---- Figures for the report ---------------------------------------------------

struct Picture {
    int width = 0, height = 0, channels = 0;
    std::vector<unsigned char> bytes;
    double luminance(int x, int y) const
    {
        const unsigned char* p = &bytes[(std::size_t(y) * width + x) * channels];
        return 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2];
    }
};

Picture readPicture(const char* path)
{
    sys::DecodedPicture decoded;
    std::string error;
    Picture p;
    if (sys::readTexturePicture(path, decoded, error)) {
        p.width = decoded.width;
        p.height = decoded.height;
        p.channels = decoded.channels;
        p.bytes.assign(decoded.pixels.get(), decoded.pixels.get() + std::size_t(p.width) * p.height * p.channels);
    }
    return p;
}

double meanDifference(const Picture& a, const Picture& b)
{
    double sum = 0;
    for (std::size_t i = 0; i < a.bytes.size() && i < b.bytes.size(); ++i)
        sum += std::abs(a.bytes[i] - b.bytes[i]);
    return a.bytes.empty() ? 0 : sum / double(a.bytes.size());
}

void writeReport()
{
    std::ofstream report(outputFolder / "report.txt");
    // The water: each frame a small step from the one before, the last as
    // small a step back to the first, frames four apart further apart.
    std::vector<Picture> water;
    for (int f = 0; f < 8; ++f)
        water.push_back(readPicture(("Textures/water" + std::to_string(f) + "_COLOR.tga").c_str()));
    report << "water: mean step between frames (expect above 1 and below 20, even):";
    for (int f = 0; f < 8; ++f)
        report << ' ' << meanDifference(water[f], water[(f + 1) % 8]);
    report << "\nwater: frames 0 and 4 differ by " << meanDifference(water[0], water[4])
           << " (expect more than any step)\n";
    // The beach: darker toward the sea (s = 0.76 wet, 0.86 damp, 0.96 dry,
    // 0.05 dry again across the wrap).
    const Picture beach = readPicture("Textures/beachtex_COLOR.tga");
    report << "beach: column brightness at s = 0.76 0.86 0.96 0.05 (expect rising, the last near the third):";
    for (double s : {0.76, 0.86, 0.96, 0.05}) {
        const int x = std::clamp(int(s * beach.width), 0, std::max(0, beach.width - 1));
        double sum = 0;
        for (int y = 0; y < beach.height; ++y)
            sum += beach.luminance(x, y);
        report << ' ' << (beach.height ? sum / beach.height : 0);
    }
    // The particle glow: bright in the middle, black along the rim (or the
    // sparks show squares).
    const Picture glow = readPicture("Textures/Particle.tga");
    double rim = 0;
    for (int i = 0; i < glow.width; ++i)
        rim = std::max({rim, glow.luminance(i, 0), glow.luminance(i, glow.height - 1), glow.luminance(0, i),
                        glow.luminance(glow.width - 1, i)});
    report << "\nparticle: centre " << (glow.width ? glow.luminance(glow.width / 2, glow.height / 2) : 0)
           << ", brightest rim texel " << rim << " (expect above 230 and 0)\n";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: pack_preview OUTPUT_FOLDER   (run in the asset folder, with a display)\n");
        return 2;
    }
    outputFolder = fs::absolute(argv[1]);
    // The frame buffer and the decoded textures both hold the bottom row first.
    stbi_flip_vertically_on_write(1);
    fs::create_directories(outputFolder);
    if (!glfwInit() || !glfwOpenWindow(800, 600, 0, 0, 0, 0, 16, 0, GLFW_WINDOW)) {
        std::fprintf(stderr, "preview: cannot open a window (no display?)\n");
        return 1;
    }
    // Start-up's GL side, as the game does it before its menu.
    makeExplosionSystems();
    buildStartWorld();
    buildStartViews();
    extractFrustum();
    loadWater();
    buildPendingMipmaps();

    previewPages();
    previewViews();
    std::vector<fs::path> textures;
    for (const auto& entry : fs::directory_iterator("Textures"))
        textures.push_back(entry.path());
    std::sort(textures.begin(), textures.end());
    for (const fs::path& file : textures)
        previewTexture(file);
    previewCharacter();
    writeReport();
    glfwTerminate();
    std::printf("%d pictures and report.txt in %s\n", written, outputFolder.c_str());
    return 0;
}

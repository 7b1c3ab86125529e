// The generated menu pages: they load through the game's texture loader, come
// out byte-identical on every run, and their labels sit on the rows where the
// game draws its menu cursor once the page is stretched over the screen.
#include "assetgen.h"
#include "pages/menu_pages.h"

#include "core/rules.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const pageNames[] = {"sp1.tga", "sp2.tga", "sp3.tga", "sp4.tga", "spHelp.tga"};

// A fresh pack folder holding only the menu pages.
fs::path generateInto(const std::string& tag)
{
    const fs::path root = fs::temp_directory_path() / ("orbitor_menu_" + tag + "_" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "Textures");
    EXPECT_TRUE(generateMenuPages(root.string()));
    return root;
}

// The pack the tests share, generated on first use and removed at exit.
const fs::path& pack()
{
    struct Folder {
        fs::path root = generateInto("a");
        ~Folder() { fs::remove_all(root); }
    };
    static const Folder folder;
    return folder.root;
}

std::vector<char> bytesOf(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

GLuint loadPage(const char* name)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    const std::string path = (pack() / "Textures" / name).string();
    EXPECT_EQ(glfwLoadTexture2D(path.c_str(), GLFW_BUILD_MIPMAPS_BIT), 1) << path;
    glDisable(GL_TEXTURE_2D);
    return texture;
}

// The page as the game shows it: the game perspective, and an 8 x 8 square at
// depth 15 carrying the texture, which stretches it over the whole window.
void drawPage(GLuint texture)
{
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30.0, 1.0, 0.1f, 512.1f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0.62f, 0.756f, 0.9f, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glEnable(GL_COLOR_MATERIAL);
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_POLYGON);
    glTexCoord2f(0, 0);
    glVertex3f(-4, -4, -15);
    glTexCoord2f(1, 0);
    glVertex3f(4, -4, -15);
    glTexCoord2f(1, 1);
    glVertex3f(4, 4, -15);
    glTexCoord2f(0, 1);
    glVertex3f(-4, 4, -15);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

// The menu cursor at a step: a magenta ball with two small blue balls above.
void drawCursor(float step)
{
    static GLUquadric* quadric = gluNewQuadric();
    glLoadIdentity();
    glTranslatef(-20, -8 * step, -115);
    gluQuadricDrawStyle(quadric, GLU_FILL);
    gluQuadricOrientation(quadric, GLU_OUTSIDE);
    glColor3f(1, 0, 1);
    gluSphere(quadric, 3, 15, 10);
    glTranslatef(1.5f, 2, 0);
    glColor3f(0, 0, 1);
    gluSphere(quadric, 1.5, 15, 10);
    glTranslatef(-3, 0, 0);
    gluSphere(quadric, 1.5, 15, 10);
    glColor3f(1, 1, 1);
}

// The whole back buffer, rows from the top.
struct Screen {
    std::vector<unsigned char> rgb = std::vector<unsigned char>(800 * 600 * 3);
    const unsigned char* at(int x, int y) const { return &rgb[(std::size_t(599 - y) * 800 + x) * 3]; }
    bool white(int x, int y) const
    {
        const unsigned char* p = at(x, y);
        return std::min({p[0], p[1], p[2]}) >= 200;
    }
    // Near-white (text) pixels in the rectangle [x0, x1) x [y0, y1).
    int whiteIn(int x0, int y0, int x1, int y1) const
    {
        int n = 0;
        for (int y = std::max(0, y0); y < std::min(600, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(800, x1); ++x)
                n += white(x, y);
        return n;
    }
};

Screen grab()
{
    Screen s;
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, s.rgb.data());
    return s;
}

Screen showPage(const char* name)
{
    const GLuint texture = loadPage(name);
    drawPage(texture);
    Screen s = grab();
    glDeleteTextures(1, &texture);
    return s;
}

// Screen row of menu item k; the fifth goal item sits just above the bottom.
int itemRow(int k) { return std::min(300 + 78 * k, 578); }

}  // namespace

TEST(MenuPages, EveryPageLoadsThroughTheGameLoaderAsAPowerOfTwoTexture)
{
    for (const char* name : pageNames)
        ASSERT_TRUE(fs::exists(pack() / "Textures" / name)) << name;
    if (!openTestWindow())
        GTEST_SKIP() << "no display";
    for (const char* name : pageNames) {
        const GLuint texture = loadPage(name);
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        const bool help = std::string(name) == "spHelp.tga";
        EXPECT_EQ(width, help ? 1024 : 512) << name;
        EXPECT_EQ(height, 512) << name;
        EXPECT_EQ(width & (width - 1), 0) << name;
        EXPECT_EQ(height & (height - 1), 0) << name;
        glDeleteTextures(1, &texture);
    }
}

TEST(MenuPages, GenerationIsDeterministic)
{
    const fs::path again = generateInto("b");
    for (const char* name : pageNames) {
        const std::vector<char> first = bytesOf(pack() / "Textures" / name);
        const std::vector<char> second = bytesOf(again / "Textures" / name);
        EXPECT_GT(first.size(), 512u * 512u * 3u) << name;
        EXPECT_TRUE(first == second) << name << " differs between two runs";
    }
    fs::remove_all(again);
}

TEST(MenuPages, GoalPagePrintsTheGameDifficultyTable)
{
    for (int d = 0; d < 3; ++d) {
        const DifficultyParameters game = difficultyParameters(d);
        const GoalPageLimits page = goalPageLimits(d);
        EXPECT_EQ(page.kills, game.killGoal) << d;
        EXPECT_EQ(page.score, game.scoreGoal) << d;
        EXPECT_EQ(float(page.seconds), game.timeGoal) << d;
    }
}

TEST(MenuPages, LabelsSitOnTheCursorRowsAndLeaveTheCursorColumnFree)
{
    if (!openTestWindow())
        GTEST_SKIP() << "no display";
    struct Page {
        const char* name;
        int items;
    };
    for (const Page page : {Page{"sp1.tga", 4}, Page{"sp2.tga", 4}, Page{"sp3.tga", 4}, Page{"sp4.tga", 5}}) {
        const Screen s = showPage(page.name);
        for (int k = 0; k < page.items; ++k) {
            const int y = itemRow(k);
            // The label starts right of the ball: text in the first 120 pixels past x 200...
            EXPECT_GT(s.whiteIn(200, y - 16, 320, y + 16), 150) << page.name << " item " << k;
            // ...but none between the ball and the label, nor in the ball's column.
            EXPECT_LE(s.whiteIn(90, y - 30, 196, y + 30), 6) << page.name << " item " << k;
        }
    }
}

TEST(MenuPages, TitlePagesDifferOnlyInTheDifficultyItem)
{
    if (!openTestWindow())
        GTEST_SKIP() << "no display";
    const Screen easy = showPage("sp1.tga"), normal = showPage("sp2.tga"), hard = showPage("sp3.tga");
    for (const Screen* other : {&normal, &hard}) {
        int insideRow = 0, elsewhere = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const bool differs = !std::equal(easy.at(x, y), easy.at(x, y) + 3, other->at(x, y));
                (std::abs(y - itemRow(2)) <= 30 ? insideRow : elsewhere) += differs;
            }
        EXPECT_GT(insideRow, 300);
        EXPECT_EQ(elsewhere, 0);
    }
}

TEST(MenuPages, HelpPageFillsBothColumnsWithText)
{
    if (!openTestWindow())
        GTEST_SKIP() << "no display";
    const Screen s = showPage("spHelp.tga");
    // A heading at the top, then text lines down both halves of the page.
    EXPECT_GT(s.whiteIn(250, 30, 550, 100), 300);
    for (int y = 160; y < 520; y += 60) {
        EXPECT_GT(s.whiteIn(30, y, 390, y + 60), 60) << "left column near y " << y;
        EXPECT_GT(s.whiteIn(410, y, 780, y + 60), 60) << "right column near y " << y;
    }
}

// Not a check: pictures of every page with the cursor where the game puts it,
// to look at (build-*/screenshots/menu_*.png).
TEST(MenuPages, Screenshots)
{
    if (!openTestWindow())
        GTEST_SKIP() << "no display";
    struct Shot {
        const char* name;
        float step;   // negative: no cursor
        const char* file;
    };
    for (const Shot& shot : {Shot{"sp1.tga", 0, "menu_title_easy"}, Shot{"sp2.tga", 2, "menu_title_normal"},
                             Shot{"sp3.tga", 3, "menu_title_hard"}, Shot{"sp4.tga", 1, "menu_goal_1"},
                             Shot{"sp4.tga", 4, "menu_goal_4"}, Shot{"spHelp.tga", -1, "menu_help"}}) {
        const GLuint texture = loadPage(shot.name);
        drawPage(texture);
        if (shot.step >= 0)
            drawCursor(shot.step);
        std::printf("%s\n", saveScreenshot(shot.file).c_str());
        glDeleteTextures(1, &texture);
    }
}

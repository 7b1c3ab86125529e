// The world as the game draws it, read back under Xvfb: where the ground,
// the sky, the mountains, the beach and the sea appear (through the depth
// buffer), that culling never takes away what would be drawn, the scene
// passes' sky and light, the registry's objects, the chaser's mirror sphere
// and escape mode, and the GL state each leaves behind.
#include "render/stream_arrays.h"
#include "render/view_volume.h"
#include "support/game_world.h"
#include "support/pixels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace {

class WorldView : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_GAME_WORLD();
        resetView();
    }
    void TearDown() override
    {
        sys::testUseRealClock();
        resetView();
    }
};

// Culling off for one drawing: the objects' switch (F8) off, and the
// terrain's and the sea's spheres, which are always tested, made to hold the
// whole world.
struct NothingCulled {
    TerrainSpheres terrain = terrainBounds;
    Sphere sea = waterSphere;
    NothingCulled()
    {
        game.cullingEnabled = false;
        for (Sphere* s : {&terrainBounds.beach, &terrainBounds.mountains[0], &terrainBounds.mountains[1],
                          &terrainBounds.mountains[2], &waterSphere})
            s->radius = 1.0e7f;
    }
    ~NothingCulled()
    {
        terrainBounds = terrain;
        waterSphere = sea;
    }
};

// The game view with the sea's animation held still, culled or not.
Frame sceneFrame(double x, double z, float heading, double pitch, bool culled)
{
    waterAnimation = WaterAnimation{};
    waterAnimation.lastTime = 10.0f;
    std::optional<NothingCulled> everything;
    if (!culled)
        everything.emplace();
    renderView(x, z, heading, pitch);
    return grabFrame();
}

}  // namespace

TEST_F(WorldView, SkyAboveGroundBelowAndARangeOnEachSide)
{
    renderView(0, 0, 0, 10);
    // The sky box's front face stands 256 ahead and writes depth, so the
    // ground (y -20) ends there, 8.9 degrees below the horizontal: row 278.
    for (int row = 0; row < 600; row += 2) {
        if (row > 270 && row < 290)
            continue;
        const WorldPoint p = worldAt(400, row);
        ASSERT_FALSE(p.sky) << row;
        if (row < 278)
            EXPECT_NEAR(p.z, -256, 12) << "not the sky's front face at row " << row;
        else
            EXPECT_NEAR(p.y, -20, 0.3 + p.z * p.z / 6000) << "not the ground at row " << row;
    }

    // 200 units short of each side but the west, looking out: a range rises
    // above the ground straight ahead, on that side of the island.
    const struct {
        double x, z;
        float heading;
    } sides[] = {{300, 0, 90}, {0, -300, 0}, {0, 300, 180}};
    for (const auto& s : sides) {
        renderView(s.x, s.z, s.heading, 5);
        const WorldPoint p = worldAt(400, 300);
        EXPECT_GT(p.y, -19) << "heading " << s.heading;
        EXPECT_GT(std::max({p.x, -p.z, p.z}), 500) << "heading " << s.heading;
        EXPECT_NEAR(std::hypot(p.x - s.x, p.z - s.z), 230, 30) << "heading " << s.heading;
    }
}

TEST_F(WorldView, PlankBeachAndSeaWestOfTheIsland)
{
    // Near the west edge looking west and down: the ground and the plank's
    // top (y -19) near, then the beach sloping from y -20 under the waves at
    // y -52 (+-2.5), then the open sea, all west of the plank.
    renderView(-450, 0, 270, 15);
    int ground = 0, plank = 0, beach = 0, sea = 0;
    for (int row = 150; row < 600; row += 4)
        for (int col = 20; col < 800; col += 30) {
            const WorldPoint p = worldAt(col, row);
            const double d = std::hypot(p.x + 450, p.y - 20, p.z);
            const double tolerance = 0.3 + d * d / 6000.0;
            if (p.sky || d > 200)
                continue;
            if (std::fabs(p.y + 20) < tolerance && p.x > -525 - tolerance)
                ++ground;
            else if (std::fabs(p.y + 19) < tolerance && p.x > -528 - tolerance)
                ++plank;
            else if (p.x < -526 + tolerance && std::fabs(p.y + 52) < 2.6 + tolerance)
                ++sea;
            else if (p.x < -526 + tolerance && p.y < -20 && p.y > -52)
                ++beach;
            else
                ADD_FAILURE() << "nothing belongs at " << p.x << ", " << p.y << ", " << p.z;
        }
    EXPECT_GT(ground, 200);
    EXPECT_GT(plank, 20);
    EXPECT_GT(beach, 60);
    EXPECT_GT(sea, 60);
}

TEST_F(WorldView, CullingNeverChangesThePicture)
{
    // A sweep of headings from the middle and the corners, and the south-west
    // corner looking at the range 50 to 150 units ahead.
    struct View {
        double x, z;
        float heading;
        double pitch;
    };
    std::vector<View> views;
    for (const auto& [x, z] : {std::pair{0.0, 0.0}, {-480.0, -480.0}, {480.0, -480.0}, {-480.0, 480.0}, {480.0, 480.0}})
        for (int heading = 0; heading < 360; heading += 30)
            views.push_back({x, z, float(heading), 10.0});
    for (double pitch : {0.0, 30.0})
        views.push_back({-470, 470, 135, pitch});
    for (const View& v : views)
        EXPECT_EQ(differentPixels(sceneFrame(v.x, v.z, v.heading, v.pitch, true),
                                  sceneFrame(v.x, v.z, v.heading, v.pitch, false)), 0)
            << "at " << v.x << ", " << v.z << " heading " << v.heading << " pitch " << v.pitch;
}

TEST_F(WorldView, ScenePassesPlaceTheLightAndTheSkyOnlyWhereTheyBelong)
{
    // Eye at (100, 20, 50), heading 90: the world light at (0, 10, -100) is
    // (-150, -10, 100) in eye space; the cube-face pass gives it unmoved.
    const struct {
        void (*pass)();
        float light[3];
        bool sky;
    } passes[] = {{renderScene, {-150, -10, 100}, true},
                  {renderBlurScene, {-150, -10, 100}, false},
                  {renderCubeFaceScene, {0, 10, -100}, true}};
    for (const auto& p : passes) {
        placeCamera(100, 50, 90, 0);
        glClearColor(1.0f, 0.0f, 1.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        WithoutPlayer noPlayer;
        p.pass();
        GLfloat light[4];
        glGetLightfv(GL_LIGHT0, GL_POSITION, light);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(light[i], p.light[i], 1e-3f) << i;
        if (p.pass != renderCubeFaceScene) {
            EXPECT_EQ(near(readPixel(400, 30), {255, 0, 255}, 0), !p.sky);
        }
    }
}

TEST_F(WorldView, RegisteredObjectsAreCulledAndCounted)
{
    // The game's enemy list, drawn where the eye looks level at it.
    placeCamera(0, 0, 0, 0);
    glLoadIdentity();
    applyCameraView();
    extractFrustumPerspective();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ASSERT_TRUE(findByName(enemyName));
    const struct {
        float z;
        bool culling;
        int counted;
    } steps[] = {{-100, true, 1},   // straight ahead
                 {100, true, 1},    // behind: culled
                 {45, true, 2},     // behind, but the sphere reaches the view
                 {100, false, 2}};  // culling off: drawn, not counted
    for (const auto& s : steps) {
        game.cullingEnabled = s.culling;
        EXPECT_TRUE(drawRegistered(0, 20, s.z, 0, 0, 0));
        EXPECT_EQ(game.objectsDrawn, s.counted) << s.z;
    }
    EXPECT_TRUE(near(readPixel(400, 300), {128, 0, 128}, 40));   // the lit magenta body
    // Any other entry is drawn without a test and without counting.
    ASSERT_TRUE(findByName(skyName));
    EXPECT_TRUE(drawRegistered(0, 20, 100, 0, 0, 0));
    EXPECT_EQ(game.objectsDrawn, 2);
}

TEST_F(WorldView, CaptureIsTakenFromTheChaserAndTheMirrorSphereShowsTheWorld)
{
    placeCamera(12.5, -40.25, 77, 33);
    game.chaserX = 20.7f;
    game.chaserZ = -100.6f;
    captureEnvironment();
    resetProjection();
    EXPECT_EQ(std::pair(lastCaptureCameras()[0].x, lastCaptureCameras()[0].z), std::pair(20.0, -100.0));
    EXPECT_EQ(game.playerX + game.playerZ + game.pitch + game.heading, 12.5 - 40.25 + 33 + 77);

    // Off to the right of the view: texels of the world, not one flat colour,
    // across the sphere's disc; and the GL as it was.
    placeCamera(0, 0, 0, 10);
    game.chaserX = 20;
    game.chaserZ = -100;
    renderScene();
    const Pixel centre = screenOf(20, -15, -100);
    const Rgb without = readPixel(centre.x, centre.y);
    const GlState before;
    drawChaserSphere();
    EXPECT_EQ(GlState().text, before.text);
    const Frame f = grabFrame();
    int spread = 0;
    for (int dy = -6; dy <= 6; dy += 3)
        for (int dx = -6; dx <= 6; dx += 3) {
            const Rgb p = f.at(centre.x + dx, centre.y + dy), q = f.at(centre.x, centre.y);
            spread = std::max(spread, std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b));
        }
    EXPECT_GT(spread, 30);
    EXPECT_FALSE(near(f.at(centre.x, centre.y), without, 4));
}

TEST_F(WorldView, EscapeModeTintsTheFrameBlueAndLeavesTheGlAsItFoundIt)
{
    const auto blueShare = [](const Frame& f) {
        double rgb[3] = {0, 0, 0};
        for (int y = 20; y < 600; y += 40)
            for (int x = 20; x < 800; x += 40) {
                const Rgb p = f.at(x, y);
                rgb[0] += p.r, rgb[1] += p.g, rgb[2] += p.b;
            }
        return rgb[2] / (rgb[0] + rgb[1] + rgb[2] + 1);
    };
    renderView(0, 0, 0, 10);
    const double normal = blueShare(grabFrame());
    game.escapeMode = true;
    const GlState before;
    for (int frame = 0; frame < 6; ++frame) {
        sys::testSetTime(200.0 + frame * 0.1);
        drawEscapeFrame();
    }
    EXPECT_EQ(GlState().text, before.text);
    const Frame escape = grabFrame();
    EXPECT_GT(blueShare(escape), normal + 0.05);
    EXPECT_GT(countPixels(escape, [](Rgb c) { return c.r + c.g > 60; }), 10000);   // the world shows through
    // With T the thumbnails take the top left: the bottom of thumbnail 0
    // shows the ground where the full picture shows the upper view.
    game.tunnelTextured = true;
    sys::testSetTime(200.6);
    drawEscapeFrame();
    EXPECT_FALSE(near(readPixel(130, 190), escape.at(130, 190), 13));
}

TEST_F(WorldView, ClipCodesAgreeWithGlusProjection)
{
    // Points unprojected from inside, beside and beyond the picture: a point
    // is outside the view volume exactly when GLU puts it outside.
    placeCamera(30, -40, 35, 12);
    const CameraMatrices m;
    glLoadIdentity();
    applyCameraView();
    const ClipMatrix clip = currentClipMatrix();
    std::vector<float> left, leftAndRight;
    for (double sx : {-90.0, 6.0, 400.0, 794.0, 890.0})
        for (double sy : {-90.0, 6.0, 300.0, 594.0, 690.0})
            for (double sz : {0.3, 0.995, 1.2}) {
                double x, y, z;
                ASSERT_TRUE(gluUnProject(sx, sy, sz, m.model, m.projection, m.viewport, &x, &y, &z));
                const bool inside = sx > 0 && sx < 800 && sy > 0 && sy < 600 && sz < 1;
                EXPECT_EQ(clipOutcode(clip, float(x), float(y), float(z)) == 0, inside) << sx << ' ' << sy << ' ' << sz;
                // (Depths past 1 unproject behind the eye.)
                for (auto [list, take] : {std::pair{&left, sx < 0}, {&leftAndRight, sx < 0 || sx > 800}})
                    if (take && sz < 1)
                        list->insert(list->end(), {float(x), float(y), float(z)});
            }
    // A piece is outside when all its corners lie beyond one same plane.
    EXPECT_TRUE(outsideView(clip, left.data(), int(left.size() / 3)));
    EXPECT_FALSE(outsideView(clip, leftAndRight.data(), int(leftAndRight.size() / 3)));
}

TEST_F(WorldView, TerrainPiecesArePlacedWhereTheirSpheresWereWorkedOut)
{
    // placePoint, which the culling spheres come from, puts a point where
    // the GL's scale, turn and move of a piece put it.
    for (const Placement& p : {beachPlacement, mountainPlacements[0], mountainPlacements[1], mountainPlacements[2]}) {
        glLoadIdentity();
        glScalef(1.0f, p.scaleY, 1.0f);
        glRotatef(p.turnY, 0.0f, 1.0f, 0.0f);
        glTranslatef(p.offset[0], p.offset[1], p.offset[2]);
        GLdouble gl[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, gl);
        double placed[3];
        placePoint(p, 30, 7, 400, placed);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(placed[i], gl[i] * 30 + gl[4 + i] * 7 + gl[8 + i] * 400 + gl[12 + i], 1e-3) << p.turnY << ' ' << i;
    }
}

namespace {

// The vertices a drawing sends (position in the drawing's own units, texture
// coordinate), read back in feedback mode through an orthographic view of the
// box lo..hi with the model-view left as the drawing sets it, back faces too.
std::vector<std::array<double, 5>> sentVertices(void (*draw)(), const double lo[3], const double hi[3])
{
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(lo[0], hi[0], lo[1], hi[1], -hi[2], -lo[2]);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int used = glRenderMode(GL_RENDER);
    std::vector<std::array<double, 5>> out;
    for (int i = 0; i < used;)   // polygon tokens only: a count, then 11 values a vertex
        for (int n = int(buffer[i + 1]), k = (i += 2, 0); k < n; ++k, i += 11)
            out.push_back({lo[0] + buffer[i] / 800 * (hi[0] - lo[0]), lo[1] + buffer[i + 1] / 600 * (hi[1] - lo[1]),
                           hi[2] - buffer[i + 2] * (hi[2] - lo[2]), buffer[i + 7], buffer[i + 8]});
    resetProjection();
    glEnable(GL_CULL_FACE);
    return out;
}

}  // namespace

TEST_F(WorldView, ThePlankIsABoxAndTheMountainsLayTheirTextureByTheGrid)
{
    // The camera at the origin, level: the plank comes 20 below the eye.
    game.pitch = 0;
    const double lo[3] = {-600, -60, -700}, hi[3] = {-500, 0, 600};
    for (const auto& v : sentVertices(drawWoodPlank, lo, hi))
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(std::fabs(v[i] + (i == 1 ? eyeHeight : 0) - plankLow[i]) < 1e-3 ||
                        std::fabs(v[i] + (i == 1 ? eyeHeight : 0) - plankHigh[i]) < 1e-3) << v[0] << ' ' << v[1] << ' ' << v[2];
    // Grid point (k, m) of the range: texture (k / 8, m / divisor).
    const double under[3] = {-10, -10, -10}, over[3] = {200, 200, 1300};
    const auto range = sentVertices([] { glCallList(mountainList); }, under, over);
    EXPECT_GT(range.size(), 2000u);
    for (const auto& v : range) {
        EXPECT_NEAR(v[3], 0.125 * v[0] / mountainMesh.cellSize, 1e-3) << v[0];
        EXPECT_NEAR(v[4], v[2] / mountainMesh.cellSize / mountainMesh.texDivisor, 1e-3) << v[2];
    }
}

TEST_F(WorldView, StreamedBlocksUpToTheBlockSizeGoThroughTheRing)
{
    if (!GLEW_VERSION_1_5)
        GTEST_SKIP() << "no buffer objects";
    const std::vector<unsigned char> data(std::max<std::size_t>(256 * 1024, streamBlockBytes + 16));
    // A beam or particle batch takes some 200 to 500 kB.
    for (const auto& [bytes, ring] : {std::pair{std::size_t(256 * 1024), true}, {streamBlockBytes, true},
                                      {streamBlockBytes + 16, false}}) {
        const StreamPart part{data.data(), bytes};
        const void* pointer = nullptr;
        streamArrays(&part, 1, &pointer);
        GLint bound = 0;
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
        EXPECT_EQ(bound != 0, ring) << bytes;
        EXPECT_EQ(pointer == data.data(), !ring) << bytes;
        endStreamArrays();
    }
}

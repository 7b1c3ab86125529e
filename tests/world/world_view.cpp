#include "world/world_view.h"

#include "core/camera.h"
#include "render/registry.h"
#include "platform/platform.h"
#include "render/frustum.h"
#include "view/scene.h"
#include "world/sky.h"
#include "world/terrain.h"
#include "world/water.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace worldview {

// Set before every test, as other tests of the same process may have
// changed any of it.
void applyGameState()
{
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30.0, 1.0, 0.1, 512.1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glClearDepth(1.0);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    setupLights();
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    // Magenta shows wherever nothing at all was drawn.
    glClearColor(1.0f, 0.0f, 1.0f, 0.0f);
}

bool prepareWorld()
{
    static int state = 0;
    if (state == 0) {
        state = -1;
        if (!openTestWindow())
            return false;
        std::filesystem::current_path(assetDir());
        if (groundList == 0)
            buildWorldGeometry();
        if (!findByName(skyName))
            buildSkyBox();
        if (waterTextures[0] == 0)
            loadWater();
        state = 1;
    }
    if (state == 1)
        applyGameState();
    return state == 1;
}

void placeCamera(double x, double z, float heading, double pitch)
{
    game.playerX = x;
    game.playerZ = z;
    game.heading = heading;
    game.pitch = pitch;
    game.cullRadiusAdjust = 0;
    game.cullingEnabled = true;
    game.lightingEnabled = true;
    game.objectsDrawn = 0;
}

void clearBuffers()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}


void renderView(double x, double z, float heading, double pitch)
{
    placeCamera(x, z, heading, pitch);
    sys::testSetTime(10.0);
    clearBuffers();
    WithoutPlayer noPlayer;
    renderScene();
}

// The world point seen at pixel (px, py), counted from the top-left, through
// the camera of the last pass.
WorldPoint worldAt(int px, int py)
{
    float depth = 1.0f;
    glReadPixels(px, 599 - py, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    applyCameraView();
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glPopMatrix();
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    WorldPoint p{0, 0, 0, depth >= 1.0f};
    gluUnProject(px + 0.5, 599 - py + 0.5, depth, model, projection, viewport, &p.x, &p.y, &p.z);
    return p;
}

std::vector<unsigned char> readRegion(int top, int bottom)
{
    std::vector<unsigned char> pixels(800 * (bottom - top) * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 600 - bottom, 800, bottom - top, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

int countDifferent(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    int n = 0;
    for (std::size_t i = 0; i + 2 < a.size(); i += 3)
        if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2])
            ++n;
    return n;
}

bool isClearColour(Rgb c) { return c.r == 255 && c.g == 0 && c.b == 255; }

// Distance from the eye (playerX, 20, playerZ) to a world point.
double eyeDistance(const WorldPoint& p)
{
    return std::sqrt((p.x - game.playerX) * (p.x - game.playerX) + (p.y - 20) * (p.y - 20) +
                     (p.z - game.playerZ) * (p.z - game.playerZ));
}


// The depth buffer has 16 bits and the near plane is 0.1: one depth step
// spans about d * d / 6500 units at distance d.
double depthTolerance(const WorldPoint& p)
{
    const double d = eyeDistance(p);
    return 0.3 + d * d / 6000.0;
}


PixelRay rayAt(int px, int py)
{
    PixelRay ray;
    glPushMatrix();
    glLoadIdentity();
    applyCameraView();
    glGetDoublev(GL_MODELVIEW_MATRIX, ray.model);
    glPopMatrix();
    glGetDoublev(GL_PROJECTION_MATRIX, ray.projection);
    glGetIntegerv(GL_VIEWPORT, ray.viewport);
    double far[3];
    const double wx = px + 0.5, wy = 599 - py + 0.5;
    gluUnProject(wx, wy, 0.0, ray.model, ray.projection, ray.viewport, &ray.origin[0],
                 &ray.origin[1], &ray.origin[2]);
    gluUnProject(wx, wy, 1.0, ray.model, ray.projection, ray.viewport, &far[0], &far[1], &far[2]);
    for (int i = 0; i < 3; ++i)
        ray.direction[i] = far[i] - ray.origin[i];
    return ray;
}

bool planeHit(const PixelRay& ray, int axis, double value, double lowA, double highA,
              double lowB, double highB, double hit[3])
{
    if (ray.direction[axis] == 0)
        return false;
    const double t = (value - ray.origin[axis]) / ray.direction[axis];
    if (t <= 0 || t > 1)
        return false;
    for (int i = 0; i < 3; ++i)
        hit[i] = ray.origin[i] + t * ray.direction[i];
    const double a = hit[(axis + 1) % 3], b = hit[(axis + 2) % 3];
    return a >= lowA && a <= highA && b >= lowB && b <= highB;
}

double planeDepth(const PixelRay& ray, int axis, double value, double lowA, double highA,
                  double lowB, double highB)
{
    double hit[3];
    if (!planeHit(ray, axis, value, lowA, highA, lowB, highB, hit))
        return 2;
    double wx, wy, wz;
    gluProject(hit[0], hit[1], hit[2], ray.model, ray.projection, ray.viewport, &wx, &wy, &wz);
    return wz;
}


TextureImage textureImage(GLuint texture)
{
    TextureImage image;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &image.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &image.height);
    if (image.width > 0 && image.height > 0) {
        image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, image.rgb.data());
    }
    return image;
}

double depthAt(int px, int py)
{
    float depth = 1.0f;
    glReadPixels(px, 599 - py, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

}  // namespace worldview

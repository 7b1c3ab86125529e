// The ground slab and the wooden plank, and drawing the whole terrain with
// frustum culling. The mountain and beach meshes are in height_grid.cpp.
#include "world/terrain.h"

#include "render/camera_view.h"
#include "render/frustum.h"
#include "render/render_options.h"
#include "render/view_volume.h"
#include "render/world_texture.h"
#include "state/game_state.h"

#include <cmath>

GLuint groundTexture = 0;
GLuint woodTexture = 0;
GLuint groundList = 0;
GLuint mountainStateList = 0;
GLuint beachStateList = 0;
TerrainSpheres terrainBounds{};

namespace {

struct BoxFace {
    float normal[3];
    float corners[4][3];
};

// The six faces of the slab x -525..550, y -25..-20, z -550..550.
constexpr BoxFace groundFaces[6] = {
    {{0, 0, -1}, {{550, -25, -550}, {-525, -25, -550}, {-525, -20, -550}, {550, -20, -550}}},
    {{0, -1, 0}, {{550, -25, 550}, {-525, -25, 550}, {-525, -25, -550}, {550, -25, -550}}},
    {{0, 1, 0}, {{550, -20, -550}, {-525, -20, -550}, {-525, -20, 550}, {550, -20, 550}}},
    {{-1, 0, 0}, {{-525, -20, 550}, {-525, -20, -550}, {-525, -25, -550}, {-525, -25, 550}}},
    {{1, 0, 0}, {{550, -20, -550}, {550, -20, 550}, {550, -25, 550}, {550, -25, -550}}},
    {{0, 0, 1}, {{550, -20, 550}, {-525, -20, 550}, {-525, -25, 550}, {550, -25, 550}}},
};

// The plank plankLow..plankHigh (x -528..-524, y -22..-19, z -580..524); the
// top and the far end carry the whole texture, the long sides a tenth of it.
struct PlankFace {
    BoxFace face;
    float texScale;
};
constexpr PlankFace plankFaces[6] = {
    {{{0, 1, 0}, {{-524, -19, -580}, {-528, -19, -580}, {-528, -19, 524}, {-524, -19, 524}}}, 1.0f},
    {{{0, 0, -1}, {{-524, -22, -580}, {-528, -22, -580}, {-528, -19, -580}, {-524, -19, -580}}}, 1.0f},
    {{{0, -1, 0}, {{-524, -22, 524}, {-528, -22, 524}, {-528, -22, -580}, {-524, -22, -580}}}, 0.1f},
    {{{-1, 0, 0}, {{-528, -19, 524}, {-528, -19, -580}, {-528, -22, -580}, {-528, -22, 524}}}, 0.1f},
    {{{1, 0, 0}, {{-524, -19, -580}, {-524, -19, 524}, {-524, -22, 524}, {-524, -22, -580}}}, 0.1f},
    {{{0, 0, 1}, {{-524, -19, 524}, {-528, -19, 524}, {-528, -22, 524}, {-524, -22, 524}}}, 0.1f},
};

// Corners get texture coordinates (0,0), (0,s), (s,s), (s,0) in order.
void emitFace(const BoxFace& face, float s)
{
    const float tex[4][2] = {{0, 0}, {0, s}, {s, s}, {s, 0}};
    glNormal3fv(face.normal);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2fv(tex[i]);
        glVertex3fv(face.corners[i]);
    }
}

void linearFiltering()
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void buildGroundList()
{
    groundList = glGenLists(1);
    glNewList(groundList, GL_COMPILE);
    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, groundTexture);
    glBegin(GL_QUADS);
    for (const BoxFace& face : groundFaces)
        emitFace(face, 1.0f);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_NORMALIZE);
    glDisable(GL_LIGHTING);
    glEndList();
}

// Identity, then the camera: the frame every terrain step draws in.
void cameraFrame()
{
    glLoadIdentity();
    applyCameraView();
}

}  // namespace

void buildWorldGeometry()
{
    woodTexture = loadWorldTexture("Textures/wood.tga");
    linearFiltering();
    groundTexture = loadWorldTexture("Textures/hm5c.tga");
    linearFiltering();
    buildGroundList();
    buildMountainList();
    buildBeachList();
    terrainBounds = terrainSpheres(mountainHeights, beachHeights);
}

void drawWoodPlank()
{
    glLoadIdentity();
    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, woodTexture);
    glPushMatrix();
    glLoadIdentity();
    applyCameraView();
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    for (const PlankFace& plank : plankFaces)
        emitFace(plank.face, plank.texScale);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_NORMALIZE);
    glDisable(GL_LIGHTING);
    glPopMatrix();
}

void setWoodPlankStateOnly()
{
    // The state drawWoodPlank leaves: its switches, texture, colour (and so
    // the material, under colour material) and the last corner's normal and
    // texture coordinate.
    const PlankFace& last = plankFaces[5];
    glLoadIdentity();
    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, woodTexture);
    glPushMatrix();
    glLoadIdentity();
    applyCameraView();
    glColor3f(1.0f, 1.0f, 1.0f);
    glNormal3fv(last.face.normal);
    glTexCoord2f(last.texScale, 0.0f);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_NORMALIZE);
    glDisable(GL_LIGHTING);
    glPopMatrix();
}

namespace {

bool inView(const Sphere& sphere, float radius)
{
    return sphereInFrustum(sphere.x, sphere.y, sphere.z, radius);
}

// Whether a piece whose sphere passed lies wholly outside the view volume
// all the same (its box, world units, beyond one plane): its list would add
// no fragment. Its list of state changes is called instead, so what follows
// sees the same state. The camera frame is current.
bool boxOutside(const double (&box)[2][3])
{
    if (!renderOptions.shortcuts)
        return false;
    float corners[8][3];
    for (int c = 0; c < 8; ++c)
        for (int i = 0; i < 3; ++i) {
            // Rounded outward to single precision.
            const double v = box[(c >> i) & 1][i];
            const float f = static_cast<float>(v);
            corners[c][i] = (c >> i) & 1 ? (f < v ? std::nextafter(f, 1e30f) : f)
                                         : (f > v ? std::nextafter(f, -1e30f) : f);
        }
    return outsideView(currentClipMatrix(), &corners[0][0], 8);
}

void placePiece(const Placement& placement)
{
    cameraFrame();
    if (placement.scaleY != 1.0f)
        glScalef(1.0f, placement.scaleY, 1.0f);
    if (placement.turnY != 0.0f)
        glRotatef(placement.turnY, 0.0f, 1.0f, 0.0f);
    glTranslatef(placement.offset[0], placement.offset[1], placement.offset[2]);
}

}  // namespace

void drawWorld()
{
    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glColor3f(1.0f, 1.0f, 1.0f);

    // The beach and the plank on its upper edge come and go together.
    const Sphere& beach = terrainBounds.beach;
    if (inView(beach, beach.radius + 5.0f * static_cast<float>(game.cullRadiusAdjust))) {
        cameraFrame();
        const bool outside = boxOutside(terrainBounds.beachBox);
        placePiece(beachPlacement);
        if (outside) {
            glCallList(beachStateList);
            setWoodPlankStateOnly();
        } else {
            glCallList(beachList);
            drawWoodPlank();
        }
    }

    cameraFrame();
    glCallList(groundList);

    for (int i = 0; i < 3; ++i) {
        const Sphere& mountain = terrainBounds.mountains[i];
        if (inView(mountain, mountain.radius)) {
            cameraFrame();
            const bool outside = boxOutside(terrainBounds.mountainBoxes[i]);
            placePiece(mountainPlacements[i]);
            glCallList(outside ? mountainStateList : mountainList);
        }
    }

    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
}

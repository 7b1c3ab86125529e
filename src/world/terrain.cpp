// The ground slab and the wooden plank, and drawing the whole terrain with
// frustum culling. The mountain and beach meshes are in height_grid.cpp.
#include "world/terrain.h"

#include "render/camera_view.h"
#include "render/frustum.h"
#include "render/world_texture.h"
#include "state/game_state.h"

GLuint groundTexture = 0;
GLuint woodTexture = 0;
GLuint groundList = 0;
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

namespace {

bool inView(const Sphere& sphere, float radius)
{
    return sphereInFrustum(sphere.x, sphere.y, sphere.z, radius);
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
        placePiece(beachPlacement);
        glCallList(beachList);
        drawWoodPlank();
    }

    cameraFrame();
    glCallList(groundList);

    for (int i = 0; i < 3; ++i) {
        const Sphere& mountain = terrainBounds.mountains[i];
        if (inView(mountain, mountain.radius)) {
            placePiece(mountainPlacements[i]);
            glCallList(mountainList);
        }
    }

    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
}

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

// The plank x -528..-524, y -22..-19, z -580..524; the top and the far end
// carry the whole texture, the long sides a tenth of it.
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

void drawWorld()
{
    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glColor3f(1.0f, 1.0f, 1.0f);

    // The beach is mirrored in y so its slope runs down into the sea; the
    // plank on its upper edge goes with it.
    const float beachRadius = beachSphere[3] + 5.0f * static_cast<float>(game.cullRadiusAdjust);
    if (sphereInFrustum(beachSphere[0], beachSphere[1], beachSphere[2], beachRadius)) {
        cameraFrame();
        glScalef(1.0f, -1.0f, 1.0f);
        glTranslatef(-814.0f, 120.0f, -671.0f);
        glCallList(beachList);
        drawWoodPlank();
    }

    cameraFrame();
    glCallList(groundList);

    const float* s = mountainSpheres[0];
    if (sphereInFrustum(s[0], s[1], s[2], s[3])) {
        cameraFrame();
        glTranslatef(498.0f, -21.0f, -558.0f);
        glCallList(mountainList);
    }
    s = mountainSpheres[1];
    if (sphereInFrustum(s[0], s[1], s[2], s[3])) {
        cameraFrame();
        glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
        glTranslatef(503.0f, -21.0f, -528.0f);
        glCallList(mountainList);
    }
    s = mountainSpheres[2];
    if (sphereInFrustum(s[0], s[1], s[2], s[3])) {
        cameraFrame();
        glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
        glTranslatef(503.0f, -21.0f, -691.0f);
        glCallList(mountainList);
    }

    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
}

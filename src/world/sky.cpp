#include "world/sky.h"

#include "render/registry.h"
#include "render/world_texture.h"
#include "state/game_state.h"

GLuint skyFrontTexture = 0;
GLuint skyBackTexture = 0;
GLuint skyTopTexture = 0;
GLuint skyLeftTexture = 0;
GLuint skyRightTexture = 0;

namespace {

GLuint loadSkyTexture(const char* path)
{
    const GLuint name = loadWorldTexture(path);
    // Clamped so the seams between the faces show no wrapped texels.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return name;
}

struct SkyCorner {
    float s, t;
    float x, y, z;
};

void emitSkyFace(GLuint texture, const SkyCorner (&corners)[4])
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    for (const SkyCorner& c : corners) {
        glTexCoord2f(c.s, c.t);
        glVertex3f(c.x, c.y, c.z);
    }
    glEnd();
}

// Five faces of a cube of half-size 256 around the eye; no floor.
constexpr SkyCorner frontFace[4] = {
    {1, 0, 256, -256, -256}, {1, 1, 256, 256, -256}, {0, 1, -256, 256, -256}, {0, 0, -256, -256, -256}};
constexpr SkyCorner backFace[4] = {
    {1, 0, 256, -256, 256}, {1, 1, 256, 256, 256}, {0, 1, -256, 256, 256}, {0, 0, -256, -256, 256}};
constexpr SkyCorner leftFace[4] = {
    {1, 0, -256, -256, 256}, {1, 1, -256, 256, 256}, {0, 1, -256, 256, -256}, {0, 0, -256, -256, -256}};
constexpr SkyCorner rightFace[4] = {
    {1, 0, 256, -256, 256}, {1, 1, 256, 256, 256}, {0, 1, 256, 256, -256}, {0, 0, 256, -256, -256}};
constexpr SkyCorner topFace[4] = {
    {0, 1, -256, 256, -256}, {0, 0, -256, 256, 256}, {1, 0, 256, 256, 256}, {1, 1, 256, 256, -256}};

constexpr GLfloat skyColour[4] = {0.62f, 0.756f, 0.9f, 0.0f};

}  // namespace

void buildSkyBox()
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_NORMALIZE);
    skyBackTexture = loadSkyTexture("Textures/Mback_Color.tga");
    skyFrontTexture = loadSkyTexture("Textures/front_Color.tga");
    skyTopTexture = loadSkyTexture("Textures/Mtop.tga");
    skyLeftTexture = loadSkyTexture("Textures/Mleft_Color.tga");
    skyRightTexture = loadSkyTexture("Textures/right_Color.tga");

    glDisable(GL_TEXTURE_2D);
    glLoadIdentity();
    registerDisplayList(skyName, [] {
        glEnable(GL_NORMALIZE);
        glEnable(GL_TEXTURE_2D);
        glColor4fv(skyColour);
        glPushMatrix();
        emitSkyFace(skyFrontTexture, frontFace);
        emitSkyFace(skyBackTexture, backFace);
        emitSkyFace(skyLeftTexture, leftFace);
        emitSkyFace(skyRightTexture, rightFace);
        emitSkyFace(skyTopTexture, topFace);
        glPopMatrix();
    });
    glDisable(GL_TEXTURE_2D);
}

bool drawSkyObject(float x, float y, float z, float rotationX, float rotationY, float rotationZ)
{
    const ObjectListNode<RegistryEntry>* node = registry.cursor;
    if (!node->occupied)
        return false;
    // Only the turn of the camera: the box stays centred on the eye.
    glLoadIdentity();
    glRotated(game.pitch, 1.0, 0.0, 0.0);
    glRotatef(game.heading, 0.0f, 1.0f, 0.0f);
    applyObjectPlacement(x, y, z, rotationX, rotationY, rotationZ);
    glCallList(node->element->displayList);
    glDisable(GL_TEXTURE_2D);
    return true;
}

void setSkyStateOnly()
{
    glEnable(GL_NORMALIZE);
    glColor4fv(skyColour);
    glBindTexture(GL_TEXTURE_2D, skyTopTexture);
    const SkyCorner& last = topFace[3];   // the top face is drawn last
    glTexCoord2f(last.s, last.t);
    glDisable(GL_TEXTURE_2D);
}

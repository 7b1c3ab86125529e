// The two height-grid pieces of the terrain: the mountain range and the beach,
// their grids, their face normals and their display lists.
#include "world/terrain.h"

#include "render/world_texture.h"

#include <algorithm>
#include <cmath>

float mountainHeights[heightGridSize][heightGridSize] = {};
float beachHeights[heightGridSize][heightGridSize] = {};
float faceNormal[3] = {0.0f, 0.0f, 0.0f};

GLuint mountainTexture = 0;
GLuint beachTexture = 0;
GLuint mountainList = 0;
GLuint beachList = 0;

void fillMountainHeights(float grid[heightGridSize][heightGridSize])
{
    // Rows 0 and 9 and columns 0 and 61 stay at 0, so the range falls to its
    // base on every side.
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 60; ++c) {
            const float fr = static_cast<float>(r);
            const float fc = static_cast<float>(c);
            grid[r][c] = std::cos(fr) * std::cos(fc) + 0.2f * fr;
        }
    for (int r = 4; r <= 8; ++r)
        for (int c = 1; c <= 60; ++c) {
            const float fr = static_cast<float>(r);
            const float fc = static_cast<float>(c);
            grid[r][c] = std::sin(fr) * std::sin(fc) + 0.7f * fr;
        }
}

void fillBeachHeights(float grid[heightGridSize][heightGridSize])
{
    // Column 46 stays at 0: the bottom of the slope once the beach is mirrored.
    for (int r = 0; r <= 7; ++r)
        for (int c = 0; c <= 45; ++c) {
            const float fr = static_cast<float>(r);
            const float fc = static_cast<float>(c);
            grid[r][c] = -std::fabs(std::cos(fr) * std::cos(fc)) - fr;
        }
    for (int c = 0; c <= 45; ++c) {
        grid[8][c] = -9.0f;
        grid[9][c] = -10.0f;
    }
}

void placePoint(const Placement& placement, double x, double y, double z, double world[3])
{
    // The calls act on the vertex in reverse: translate, turn, then scale.
    x += placement.offset[0];
    y += placement.offset[1];
    z += placement.offset[2];
    const double angle = placement.turnY * 3.14159265358979323846 / 180.0;
    const double c = std::cos(angle), s = std::sin(angle);
    world[0] = c * x + s * z;
    world[1] = placement.scaleY * y;
    world[2] = -s * x + c * z;
}

namespace {

// The box around every placed vertex of a height mesh, grown from `low` and
// `high`.
void growByMesh(const float grid[heightGridSize][heightGridSize], const HeightMesh& mesh,
                const Placement& placement, double low[3], double high[3])
{
    for (int k = 0; k <= mesh.strips; ++k)
        for (int m = 0; m <= mesh.cells; ++m) {
            double p[3];
            placePoint(placement, mesh.cellSize * k, static_cast<double>(mesh.heightScale * grid[k][m]),
                       mesh.cellSize * m, p);
            for (int i = 0; i < 3; ++i) {
                low[i] = std::min(low[i], p[i]);
                high[i] = std::max(high[i], p[i]);
            }
        }
}

constexpr double unbounded = 1e30;

}  // namespace

TerrainSpheres terrainSpheres(const float mountainGrid[heightGridSize][heightGridSize],
                              const float beachGrid[heightGridSize][heightGridSize])
{
    TerrainSpheres spheres{};
    // The beach and the plank are culled together.
    double low[3] = {plankLow[0], plankLow[1], plankLow[2]};
    double high[3] = {plankHigh[0], plankHigh[1], plankHigh[2]};
    growByMesh(beachGrid, beachMesh, beachPlacement, low, high);
    spheres.beach = sphereAroundBox(low, high);
    for (int i = 0; i < 3; ++i) {
        double mountainLow[3] = {unbounded, unbounded, unbounded};
        double mountainHigh[3] = {-unbounded, -unbounded, -unbounded};
        growByMesh(mountainGrid, mountainMesh, mountainPlacements[i], mountainLow, mountainHigh);
        spheres.mountains[i] = sphereAroundBox(mountainLow, mountainHigh);
    }
    return spheres;
}

void computeFaceNormal(float x1, float y1, float z1, float x2, float y2, float z2,
                       float x3, float y3, float z3)
{
    const float ux = x2 - x1, uy = y2 - y1, uz = z2 - z1;
    const float vx = x3 - x1, vy = y3 - y1, vz = z3 - z1;
    const float nx = uy * vz - uz * vy;
    const float ny = uz * vx - ux * vz;
    const float nz = ux * vy - uy * vx;
    const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
    faceNormal[0] = nx / length;
    faceNormal[1] = ny / length;
    faceNormal[2] = nz / length;
}

namespace {

struct GridPoint {
    float x, y, z;
};

void normalOf(const GridPoint& a, const GridPoint& b, const GridPoint& c)
{
    computeFaceNormal(a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z);
    glNormal3fv(faceNormal);
}

// One four-vertex triangle strip per grid cell. The normals come from the
// grid-space points (cell index, raw height); the positions are scaled by the
// cell size d and the height scale e; texture t runs m / q along a strip.
void emitHeightMesh(const float grid[heightGridSize][heightGridSize], const HeightMesh& mesh)
{
    const float d = mesh.cellSize, e = mesh.heightScale, q = mesh.texDivisor;
    for (int k = 0; k < mesh.strips; ++k) {
        for (int m = 0; m < mesh.cells; ++m) {
            const float fk = static_cast<float>(k);
            const float fm = static_cast<float>(m);
            const float h00 = grid[k][m];
            const float h01 = grid[k][m + 1];
            const float h10 = grid[k + 1][m];
            const float h11 = grid[k + 1][m + 1];
            const GridPoint p00{fk, h00, fm};
            const GridPoint p01{fk, h01, fm + 1.0f};
            const GridPoint p10{fk + 1.0f, h10, fm};
            const GridPoint p11{fk + 1.0f, h11, fm + 1.0f};

            glBegin(GL_TRIANGLE_STRIP);
            glTexCoord2f(0.125f * fk, fm / q);
            normalOf(p00, p10, p01);
            glVertex3f(d * fk, e * h00, d * fm);

            glTexCoord2f(0.125f * fk, (fm + 1.0f) / q);
            normalOf(p01, p00, p11);
            glVertex3f(d * fk, e * h01, d * (fm + 1.0f));

            glTexCoord2f(0.125f * (fk + 1.0f), fm / q);
            normalOf(p10, p11, p00);
            glVertex3f(d * (fk + 1.0f), e * h10, d * fm);

            glTexCoord2f(0.125f * (fk + 1.0f), (fm + 1.0f) / q);
            normalOf(p11, p01, p10);
            glVertex3f(d * (fk + 1.0f), e * h11, d * (fm + 1.0f));
            glEnd();
        }
    }
}

// One height grid made into a textured, lit display list: what the mountains
// and the beach differ in.
struct HeightGridList {
    const char* texturePath;
    GLint minFilter;
    void (*fill)(float grid[heightGridSize][heightGridSize]);
    float (*grid)[heightGridSize];
    HeightMesh mesh;
    bool colourMaterial;
};

// Loads the texture (into `texture`), fills the grid and compiles the list.
GLuint buildHeightGridList(const HeightGridList& piece, GLuint& texture)
{
    texture = loadWorldTexture(piece.texturePath);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, piece.minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    piece.fill(piece.grid);

    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    if (piece.colourMaterial)
        glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPushMatrix();
    emitHeightMesh(piece.grid, piece.mesh);
    glPopMatrix();
    glDisable(GL_NORMALIZE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    if (piece.colourMaterial)
        glDisable(GL_COLOR_MATERIAL);
    glEndList();
    return list;
}

}  // namespace

void buildMountainList()
{
    mountainList = buildHeightGridList({"Textures/mountainsc.tga", GL_LINEAR, fillMountainHeights,
                                        mountainHeights, mountainMesh, false},
                                       mountainTexture);
}

void buildBeachList()
{
    // Mipmapped: the beach is seen at grazing angles over its whole length.
    beachList = buildHeightGridList({"Textures/beachtex_COLOR.tga", GL_LINEAR_MIPMAP_LINEAR,
                                     fillBeachHeights, beachHeights, beachMesh, true},
                                    beachTexture);
}

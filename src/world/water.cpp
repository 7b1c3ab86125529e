#include "world/water.h"

#include "platform/platform.h"
#include "render/render_options.h"
#include "render/stream_arrays.h"
#include "render/view_volume.h"
#include "render/world_texture.h"

#include <algorithm>
#include <cmath>
#include <iostream>

float waveHeights[waveTableRows][waveTableColumns] = {};
GLuint waterTextures[8] = {};
WaterAnimation waterAnimation;
Sphere waterSphere{};

namespace {

constexpr const char* waterTextureFiles[8] = {
    "Textures/water0_COLOR.tga", "Textures/water1_COLOR.tga", "Textures/water2_COLOR.tga",
    "Textures/water3_COLOR.tga", "Textures/water4_COLOR.tga", "Textures/water5_COLOR.tga",
    "Textures/water6_COLOR.tga", "Textures/water7_COLOR.tga",
};

}  // namespace

void fillWaveHeights(float table[waveTableRows][waveTableColumns])
{
    // Each argument and each sine is taken to single precision before use.
    for (int i = 0; i <= 256; ++i) {
        const float si = static_cast<float>(std::sin(static_cast<double>(static_cast<float>(i / 2.5))));
        for (int j = 0; j <= 256; ++j) {
            const float sj = static_cast<float>(std::sin(static_cast<double>(static_cast<float>(j / 2.5))));
            table[i][j] = static_cast<float>(si * sj / 1.570796325);
        }
    }
}

int selectWaterFrame(WaterAnimation& water)
{
    if (water.frame >= 8)
        water.frame = 0;
    return water.frame;
}

void advanceWater(WaterAnimation& water, double now)
{
    // A tenth of the elapsed time gathers toward the next tick; a tick drops
    // the excess, so the waves step about every 0.3 s however often they are
    // drawn.
    water.accumulator = static_cast<float>(water.accumulator + (now - water.lastTime) / 10.0);
    if (water.accumulator > 0.03) {
        water.accumulator = 0.0f;
        ++water.rowOffset;
        ++water.columnOffset;
        ++water.tickCount;
        if (water.tickCount > 11) {
            ++water.frame;
            water.tickCount = 0;
        }
    }
    water.lastTime = static_cast<float>(now);
    if (water.rowOffset >= waveOffsetLimit)
        water.rowOffset = 0;
    if (water.columnOffset >= waveOffsetLimit)
        water.columnOffset = 0;
}

Sphere waterBounds(const float table[waveTableRows][waveTableColumns])
{
    // Every height the surface can take: rows and columns from offset 0 up to
    // the largest offset plus the grid's extent.
    float lowest = 0.0f, highest = 0.0f;
    for (int i = 0; i <= waveOffsetLimit - 1 + waterStrips; ++i)
        for (int j = 0; j <= waveOffsetLimit - 1 + waterCells; ++j) {
            const float h = waveAmplitude * table[i][j];
            lowest = std::min(lowest, h);
            highest = std::max(highest, h);
        }
    const double low[3] = {waterOrigin[0], waterOrigin[1] + static_cast<double>(lowest), waterOrigin[2]};
    const double high[3] = {waterOrigin[0] + static_cast<double>(waterCellSize) * waterStrips,
                            waterOrigin[1] + static_cast<double>(highest),
                            waterOrigin[2] + static_cast<double>(waterCellSize) * waterCells};
    return sphereAroundBox(low, high);
}

void loadWater()
{
    for (int i = 0; i < 8; ++i) {
        waterTextures[i] = loadWorldTexture(waterTextureFiles[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    std::cout << "water" << std::endl;
    fillWaveHeights(waveHeights);
    waterSphere = waterBounds(waveHeights);
}

namespace {

// The surface goes out as client arrays: per cell the four corners of its
// strip, in strip order, and the strip's two triangles (0, 1, 2) and
// (2, 1, 3). Cells wholly outside the view volume would add no fragment and
// are left out; the others keep their order.
constexpr int waterCellCount = waterStrips * waterCells;

struct WaterMesh {
    float gridHeights[waterStrips + 1][waterCells + 1];
    unsigned outcodes[waterStrips + 1][waterCells + 1];
    float texCoords[waterCellCount * 4 * 2];
    float positions[waterCellCount * 4 * 3];
    GLushort indices[waterCellCount * 6];
};

WaterMesh& waterMesh()
{
    static WaterMesh* mesh = new WaterMesh;
    return *mesh;
}

}  // namespace

void drawWater()
{
    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, waterTextures[selectWaterFrame(waterAnimation)]);
    advanceWater(waterAnimation, glfwGetTime());

    // Grid point (k, m) stands at (8k, H(k, m), 8m) with H(k, m) = 4 *
    // waveHeights[row offset + k][column offset + m].
    WaterMesh& mesh = waterMesh();
    const int rows = waterAnimation.rowOffset;
    const int columns = waterAnimation.columnOffset;
    const ClipMatrix clip = currentClipMatrix();
    for (int k = 0; k <= waterStrips; ++k)
        for (int m = 0; m <= waterCells; ++m) {
            const float h = waveAmplitude * waveHeights[rows + k][columns + m];
            mesh.gridHeights[k][m] = h;
            mesh.outcodes[k][m] = clipOutcode(clip, waterCellSize * static_cast<float>(k), h,
                                              waterCellSize * static_cast<float>(m));
        }

    // One strip per cell: (k, m), (k, m + 1), (k + 1, m), (k + 1, m + 1).
    int corners = 0, indices = 0;
    for (int k = 0; k < waterStrips; ++k) {
        for (int m = 0; m < waterCells; ++m) {
            if (renderOptions.shortcuts && (mesh.outcodes[k][m] & mesh.outcodes[k][m + 1] &
                                            mesh.outcodes[k + 1][m] & mesh.outcodes[k + 1][m + 1]))
                continue;
            const float x0 = waterCellSize * static_cast<float>(k);
            const float x1 = waterCellSize * static_cast<float>(k + 1);
            const float z0 = waterCellSize * static_cast<float>(m);
            const float z1 = waterCellSize * static_cast<float>(m + 1);
            const float s0 = static_cast<float>(k) / 32.0f;
            const float s1 = static_cast<float>(k + 1) / 32.0f;
            const float t0 = static_cast<float>(m) / 192.0f;
            const float t1 = static_cast<float>(m + 1) / 192.0f;
            const float corner[4][5] = {
                {s0, t0, x0, mesh.gridHeights[k][m], z0},
                {s0, t1, x0, mesh.gridHeights[k][m + 1], z1},
                {s1, t0, x1, mesh.gridHeights[k + 1][m], z0},
                {s1, t1, x1, mesh.gridHeights[k + 1][m + 1], z1},
            };
            const int first = corners;
            for (const auto& c : corner) {
                mesh.texCoords[corners * 2] = c[0];
                mesh.texCoords[corners * 2 + 1] = c[1];
                mesh.positions[corners * 3] = c[2];
                mesh.positions[corners * 3 + 1] = c[3];
                mesh.positions[corners * 3 + 2] = c[4];
                ++corners;
            }
            for (int i : {0, 1, 2, 2, 1, 3})
                mesh.indices[indices++] = static_cast<GLushort>(first + i);
        }
    }

    if (indices > 0) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        const StreamPart parts[2] = {{mesh.positions, sizeof(float) * 3 * static_cast<std::size_t>(corners)},
                                     {mesh.texCoords, sizeof(float) * 2 * static_cast<std::size_t>(corners)}};
        const void* pointers[2];
        streamArrays(parts, 2, pointers);
        glVertexPointer(3, GL_FLOAT, 0, pointers[0]);
        glTexCoordPointer(2, GL_FLOAT, 0, pointers[1]);
        glDrawElements(GL_TRIANGLES, indices, GL_UNSIGNED_SHORT, mesh.indices);
        endStreamArrays();
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    // As if every corner had been sent one at a time: the far corner's
    // coordinate stays current.
    glTexCoord2f(static_cast<float>(waterStrips) / 32.0f, static_cast<float>(waterCells) / 192.0f);

    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    glDisable(GL_COLOR_MATERIAL);
}

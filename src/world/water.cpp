#include "world/water.h"

#include "platform/platform.h"
#include "world/world_texture.h"

#include <cmath>
#include <iostream>

float waveHeights[waveTableRows][waveTableColumns] = {};
GLuint waterTextures[8] = {};
WaterAnimation waterAnimation;

namespace {

constexpr const char* waterTextureFiles[8] = {
    "Textures/water0_COLOR.tga", "Textures/water1_COLOR.tga", "Textures/water2_COLOR.tga",
    "Textures/water3_COLOR.tga", "Textures/water4_COLOR.tga", "Textures/water5_COLOR.tga",
    "Textures/water6_COLOR.tga", "Textures/water7_COLOR.tga",
};

constexpr int waterStrips = 33;     // along x, 8 units each
constexpr int waterCells = 193;     // along z, 8 units each
constexpr float waveAmplitude = 4.0f;

}  // namespace

void fillWaveHeights(float table[waveTableRows][waveTableColumns])
{
    // Each argument and each sine is taken to single precision before use.
    for (int i = 0; i <= 256; ++i) {
        const float si = static_cast<float>(std::sin(static_cast<float>(i / 2.5)));
        for (int j = 0; j <= 256; ++j) {
            const float sj = static_cast<float>(std::sin(static_cast<float>(j / 2.5)));
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
    if (water.rowOffset >= 32)
        water.rowOffset = 0;
    if (water.columnOffset >= 32)
        water.columnOffset = 0;
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
}

void drawWater()
{
    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, waterTextures[selectWaterFrame(waterAnimation)]);
    advanceWater(waterAnimation, glfwGetTime());

    const int rows = waterAnimation.rowOffset;
    const int columns = waterAnimation.columnOffset;
    auto height = [&](int a, int b) { return waveAmplitude * waveHeights[rows + a][columns + b]; };
    for (int k = 0; k < waterStrips; ++k) {
        for (int m = 0; m < waterCells; ++m) {
            const float x0 = 8.0f * static_cast<float>(k);
            const float x1 = 8.0f * static_cast<float>(k + 1);
            const float z0 = 8.0f * static_cast<float>(m);
            const float z1 = 8.0f * static_cast<float>(m + 1);
            const float s0 = static_cast<float>(k) / 32.0f;
            const float s1 = static_cast<float>(k + 1) / 32.0f;
            const float t0 = static_cast<float>(m) / 192.0f;
            const float t1 = static_cast<float>(m + 1) / 192.0f;
            glBegin(GL_TRIANGLE_STRIP);
            glTexCoord2f(s0, t0);
            glVertex3f(x0, height(k, m), z0);
            glTexCoord2f(s0, t1);
            glVertex3f(x0, height(k, m + 1), z1);
            glTexCoord2f(s1, t0);
            glVertex3f(x1, height(k + 1, m), z0);
            glTexCoord2f(s1, t1);
            glVertex3f(x1, height(k + 1, m + 1), z1);
            glEnd();
        }
    }

    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    glDisable(GL_COLOR_MATERIAL);
}

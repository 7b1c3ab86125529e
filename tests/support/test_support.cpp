#include "support/test_support.h"
#include "support/pixels.h"

#include "platform/bitmap_font.h"
#include "platform/gl.h"
#include "platform/platform.h"

#include <cstdlib>
#include <filesystem>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

bool openTestWindow()
{
    static int state = 0;   // 0 not tried, 1 open, -1 failed
    if (state == 0) {
        state = -1;
        if (std::getenv("DISPLAY") && glfwInit() && glfwOpenWindow(800, 600, 0, 0, 0, 0, 16, 0, GLFW_FULLSCREEN)) {
            static char name[] = "tests";
            static char* argv[] = {name, nullptr};
            int argc = 1;
            initBitmapFonts(&argc, argv);
            state = 1;
        }
    }
    return state == 1;
}

const char* assetDir() { return ORBITOR_ASSET_DIR; }

Rgb readPixel(int x, int y, bool front)
{
    unsigned char px[3] = {0, 0, 0};
    glReadBuffer(front ? GL_FRONT : GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, frameHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px);
    return {px[0], px[1], px[2]};
}

std::string saveScreenshot(const std::string& name, bool front)
{
    const std::filesystem::path dir = std::filesystem::path(ORBITOR_BUILD_DIR) / "screenshots";
    std::filesystem::create_directories(dir);
    stbi_flip_vertically_on_write(1);
    const std::string path = (dir / (name + ".png")).string();
    stbi_write_png(path.c_str(), frameWidth, frameHeight, 3, grabFrame(front).rgb.data(), frameWidth * 3);
    return path;
}

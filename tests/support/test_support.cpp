#include "support/test_support.h"

#include "platform/gl.h"
#include "platform/platform.h"

#include <cstdio>
#include <sys/wait.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

bool openTestWindow()
{
    static int state = 0;   // 0 not tried, 1 open, -1 failed
    if (state == 0) {
        state = -1;
        if (std::getenv("DISPLAY") && glfwInit() &&
            glfwOpenWindow(800, 600, 0, 0, 0, 0, 16, 0, GLFW_FULLSCREEN)) {
            static char name[] = "tests";
            static char* argv[] = {name, nullptr};
            int argc = 1;
            glutInit(&argc, argv);
            state = 1;
        }
    }
    return state == 1;
}

const char* assetDir() { return ORBITOR_ASSET_DIR; }

Rgb readPixel(int x, int y, bool front)
{
    unsigned char px[4] = {0, 0, 0, 0};
    glReadBuffer(front ? GL_FRONT : GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, 599 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    return {px[0], px[1], px[2]};
}

std::string saveScreenshot(const std::string& name, bool front)
{
    const std::filesystem::path dir = std::filesystem::path(ORBITOR_BUILD_DIR) / "screenshots";
    std::filesystem::create_directories(dir);
    std::vector<unsigned char> pixels(800 * 600 * 3);
    glReadBuffer(front ? GL_FRONT : GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    stbi_flip_vertically_on_write(1);
    const std::string path = (dir / (name + ".png")).string();
    stbi_write_png(path.c_str(), 800, 600, 3, pixels.data(), 800 * 3);
    return path;
}

int runCommand(const std::string& command, std::string* out, std::string* err)
{
    const std::filesystem::path tmp = std::filesystem::temp_directory_path();
    const std::string tag = std::to_string(reinterpret_cast<std::uintptr_t>(&command)) + "_" +
                            std::to_string(std::rand());
    const std::string outPath = (tmp / ("orbitor_out_" + tag)).string();
    const std::string errPath = (tmp / ("orbitor_err_" + tag)).string();
    const int status = std::system((command + " >" + outPath + " 2>" + errPath).c_str());
    auto slurp = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    if (out) *out = slurp(outPath);
    if (err) *err = slurp(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

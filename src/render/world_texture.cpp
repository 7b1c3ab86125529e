#include "render/world_texture.h"

#include "platform/platform.h"
#include "render/render_options.h"

#include <iostream>
#include <vector>

namespace {

// Textures whose mipmap levels are still to be built, in load order.
std::vector<GLuint> pendingLevels;

// Building the first mipmaps makes a software rasteriser compile its shaders
// for that (some 0.17 s on llvmpipe), so with the shortcuts the levels are
// built once the title page is on screen. Until then a texture samples
// level 0 alone (its maximum level is 0): the same pixels wherever it is
// magnified, as the title page is.
bool levelsLater() { return renderOptions.shortcuts && glGenerateMipmap != nullptr; }

}  // namespace

GLuint loadWorldTexture(const char* path)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const bool later = levelsLater();
    if (!glfwLoadTexture2D(path, later ? 0 : GLFW_BUILD_MIPMAPS_BIT)) {
        std::cout << "problem" << std::endl;
    } else if (later) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        pendingLevels.push_back(name);
    }
    return name;
}

int pendingMipmaps() { return static_cast<int>(pendingLevels.size()); }

void buildPendingMipmaps()
{
    if (pendingLevels.empty())
        return;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    for (const GLuint name : pendingLevels) {
        if (!glIsTexture(name))
            continue;   // deleted in the meantime
        glBindTexture(GL_TEXTURE_2D, name);
        // The driver's own levels, made from level 0 as at loading.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 1000);
        glGenerateMipmap(GL_TEXTURE_2D);
    }
    pendingLevels.clear();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
}

#include "render/world_texture.h"

#include "platform/platform.h"

#include <iostream>

GLuint loadWorldTexture(const char* path)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    if (!glfwLoadTexture2D(path, GLFW_BUILD_MIPMAPS_BIT))
        std::cout << "problem" << std::endl;
    return name;
}

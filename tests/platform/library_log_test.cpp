// The windowing library's own error reports go to the file ORBITOR_GLFW_LOG
// names, a line each, and nowhere when it names none.
#define ORBITOR_PLATFORM_IMPL   // the library's own names, as in the platform layer
#include "platform/platform.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

TEST(LibraryErrors, GoOnlyToTheFileTheLogVariableNames)
{
    if (!sys::glfwInit())
        GTEST_SKIP() << "no display";
    const std::string log =
        (std::filesystem::temp_directory_path() / ("orbitor_glfw_" + std::to_string(getpid()) + ".log")).string();
    std::filesystem::remove(log);
    for (const char* named : {static_cast<const char*>(nullptr), "", log.c_str()}) {
        named ? setenv("ORBITOR_GLFW_LOG", named, 1) : unsetenv("ORBITOR_GLFW_LOG");
        glfwWindowHint(0, 0);   // no such hint: the library reports an error
    }
    unsetenv("ORBITOR_GLFW_LOG");
    std::ifstream in(log);
    std::string first, second;
    std::getline(in, first);
    EXPECT_EQ(first.rfind("GLFW error 0x10003: ", 0), 0u) << first;   // GLFW_INVALID_ENUM, once
    EXPECT_FALSE(std::getline(in, second)) << second;
    std::filesystem::remove(log);
}

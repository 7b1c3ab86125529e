// assetgen OUTPUT_DIR: writes the asset pack.
#include "assetgen.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen OUTPUT_DIR\n");
        return 2;
    }
    const std::string root = argv[1];
    std::error_code error;
    for (const char* sub : {"Textures", "Modells", "Sound"}) {
        std::filesystem::create_directories(std::filesystem::path(root) / sub, error);
        if (error) {
            std::fprintf(stderr, "assetgen: cannot make %s/%s: %s\n", root.c_str(), sub,
                         error.message().c_str());
            return 1;
        }
    }
    bool ok = true;
    ok = generateTerrainTextures(root) && ok;
    ok = generateSkyTextures(root) && ok;
    ok = generateMenuPages(root) && ok;
    ok = generateCharacter(root) && ok;
    ok = generateSounds(root) && ok;
    return ok ? 0 : 1;
}

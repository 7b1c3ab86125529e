// assetgen OUTPUT_DIR: writes the asset pack.
// assetgen --icons OUTPUT_DIR: writes the desktop icons.
#include "assetgen.h"

#include <cstdio>
#include <filesystem>
#include <string_view>

int main(int argc, char** argv)
{
    const bool icons = argc == 3 && std::string_view(argv[1]) == "--icons";
    if (argc != 2 && !icons) {
        std::fprintf(stderr, "usage: assetgen OUTPUT_DIR\n       assetgen --icons OUTPUT_DIR\n");
        return 2;
    }
    if (icons)
        return generateIcons(argv[2]) ? 0 : 1;
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

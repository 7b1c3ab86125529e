// A TGA picture from its bytes to decoded pixels, with no GL in sight:
// glfwLoadTexture2D reads the file through this and uploads what comes out,
// and the fuzz target feeds it arbitrary bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace sys {

struct DecodedPixelsFree {
    void operator()(std::uint8_t* pixels) const;
};

struct DecodedPicture {
    std::unique_ptr<std::uint8_t, DecodedPixelsFree> pixels;   // bottom row first
    int width = 0;
    int height = 0;
    int channels = 0;   // 1 grey, 2 grey and alpha, 3 RGB, 4 RGBA
};

// Reads a regular file whole and decodes it. False (saying why in `error`)
// when the file cannot be read, is not a whole TGA image of a kind the game
// takes, or cannot be decoded. The file's bytes are freed before it returns.
bool readTexturePicture(const char* name, DecodedPicture& picture, std::string& error);

// The same for bytes already in memory.
bool decodeTexturePicture(const std::uint8_t* data, std::size_t size, DecodedPicture& picture,
                          std::string& error);

}  // namespace sys

// A TGA picture from its bytes to decoded pixels, with no GL in sight:
// glfwLoadTexture2D reads the file through this and uploads what comes out,
// and the fuzz target feeds it arbitrary bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace sys {

// Frees decoded pixels the way the decoder allocated them.
struct DecodedPixelsFree {
    // Called by DecodedPicture's pointer when it lets go of the pixels.
    void operator()(std::uint8_t* pixels) const;
};

// A decoded picture: its pixels and their layout.
struct DecodedPicture {
    std::unique_ptr<std::uint8_t, DecodedPixelsFree> pixels;   // bottom row first
    int width = 0;
    int height = 0;
    int channels = 0;   // 1 grey, 2 grey and alpha, 3 RGB, 4 RGBA
};

// Reads a regular file whole and decodes it. False (saying why in `error`)
// when the file cannot be read, is not a whole TGA image of a kind the game
// takes, or cannot be decoded. The file's bytes are freed before it returns.
// Called by glfwLoadTexture2D for every texture the game loads.
bool readTexturePicture(const char* name, DecodedPicture& picture, std::string& error);

// The same for bytes already in memory, through the same decoding step as
// readTexturePicture. Called only by the texture fuzz target; the game always
// reads from files.
bool decodeTexturePicture(const std::uint8_t* data, std::size_t size, DecodedPicture& picture,
                          std::string& error);

}  // namespace sys

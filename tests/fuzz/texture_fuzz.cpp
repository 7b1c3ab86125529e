// Fuzz target: TGA bytes through the texture path up to the upload: the byte
// check, the colour-map rewrite and the decoder. A picture that decodes must
// have the size the check read from its header and every pixel readable.
#include "formats/file_formats.h"
#include "platform/texture_decode.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TgaInfo info;
    std::string error;
    const bool checked = tgaCheck(data, size, info, error);
    sys::DecodedPicture picture;
    if (!sys::decodeTexturePicture(data, size, picture, error))
        return 0;
    if (!checked || picture.width != info.width || picture.height != info.height ||
        picture.channels < 1 || picture.channels > 4)
        std::abort();   // decoded what the check refused, or at another size
    const std::size_t bytes = static_cast<std::size_t>(picture.width) * picture.height * picture.channels;
    unsigned sum = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        sum += picture.pixels.get()[i];
    volatile unsigned keep = sum;
    (void)keep;
    return 0;
}

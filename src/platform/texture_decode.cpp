// A TGA file's bytes to decoded pixels (texture_decode.h).
// The file is checked whole by tgaCheck before stb_image decodes it, so a
// truncated or damaged file is refused instead of being read past its end.
// Colour maps are put into the form stb_image reads right (toDecoderForm).
//
// Memory: a picture passes through three buffers, the file's bytes, the
// decoded pixels and the driver's texture. Each of the first two is exactly
// as large as it must be, lives only as long as it is needed (the file's
// bytes go before the upload) and is mapped straight from the kernel, so
// that it is given back whole the moment it is freed instead of staying in
// the heap (pageAllocate). The fuzz build takes them from the heap instead,
// where AddressSanitizer sees their bounds.
#include "platform/texture_decode.h"

#include "formats/file_formats.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

namespace sys {
namespace {

// Transient buffers in their own anonymous mappings. The size is kept in
// front of the block so that the block can be unmapped (and reallocated) by
// its address alone, as stb_image frees.
constexpr std::size_t pageHeader = 16;

void* pageAllocate(std::size_t size)
{
    const std::size_t total = size + pageHeader;
    if (total < size)
        return nullptr;
#ifdef ORBITOR_FUZZING
    void* block = std::malloc(total);
    if (block == nullptr)
        return nullptr;
#else
    void* block = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return nullptr;
#endif
    std::memcpy(block, &total, sizeof total);
    return static_cast<unsigned char*>(block) + pageHeader;
}

void pageFree(void* memory)
{
    if (memory == nullptr)
        return;
    unsigned char* block = static_cast<unsigned char*>(memory) - pageHeader;
    std::size_t total = 0;
    std::memcpy(&total, block, sizeof total);
#ifdef ORBITOR_FUZZING
    std::free(block);
#else
    munmap(block, total);
#endif
}

// stb_image reallocates only for formats other than TGA; kept for its contract.
[[maybe_unused]] void* pageReallocate(void* memory, std::size_t size)
{
    if (memory == nullptr)
        return pageAllocate(size);
    std::size_t total = 0;
    std::memcpy(&total, static_cast<unsigned char*>(memory) - pageHeader, sizeof total);
    void* moved = pageAllocate(size);
    if (moved == nullptr)
        return nullptr;
    const std::size_t old = total - pageHeader;
    std::memcpy(moved, memory, old < size ? old : size);
    pageFree(memory);
    return moved;
}

}  // namespace
}  // namespace sys

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#define STBI_MALLOC(size) sys::pageAllocate(size)
#define STBI_REALLOC(memory, size) sys::pageReallocate(memory, size)
#define STBI_FREE(memory) sys::pageFree(memory)
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace sys {
namespace {

struct PageDeleter {
    void operator()(std::uint8_t* memory) const { pageFree(memory); }
};

// A byte buffer of a fixed size in its own mapping.
struct Bytes {
    std::unique_ptr<std::uint8_t, PageDeleter> data;
    std::size_t size = 0;

    bool allocate(std::size_t n)
    {
        data.reset(static_cast<std::uint8_t*>(pageAllocate(n)));
        size = data ? n : 0;
        return data != nullptr;
    }
    void release()
    {
        data.reset();
        size = 0;
    }
    std::uint8_t& operator[](std::size_t i) const { return data.get()[i]; }
};

struct OpenFile {
    int fd = -1;
    explicit OpenFile(const char* name) : fd(::open(name, O_RDONLY | O_CLOEXEC)) {}
    ~OpenFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
};

// Reads a regular file whole into a buffer of its size. A folder (which
// opens like a file on Linux and reports a meaningless size) or any other
// kind of file is refused.
bool readWholeFile(const char* name, Bytes& bytes)
{
    if (name == nullptr)
        return false;
    const OpenFile file(name);
    if (file.fd < 0)
        return false;
    struct stat status {};
    if (fstat(file.fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0)
        return false;
    if (!bytes.allocate(static_cast<std::size_t>(status.st_size)))
        return false;
    std::size_t got = 0;
    while (got < bytes.size) {
        const ssize_t n = ::read(file.fd, bytes.data.get() + got, bytes.size - got);
        if (n < 0)
            return false;
        if (n == 0)
            break;   // the file shrank meanwhile: keep what is there
        got += static_cast<std::size_t>(n);
    }
    bytes.size = got;
    return true;
}

// The checked file in the form stb_image reads correctly. stb_image takes a
// colour map's first-entry index for a number of bytes to skip, and refuses
// true-colour and greyscale files that carry a (meaningless) colour map. So a
// colour map is rewritten to 256 entries starting at index 0, pixel value i
// showing the file's entry i - first, and black where the file has no entry;
// the unused map of other kinds is dropped. Files without a colour map (all
// of the game's) are used as they are.
bool toDecoderForm(Bytes& bytes, const TgaInfo& info)
{
    if (bytes[1] == 0)
        return true;
    const std::size_t mapStart = tgaHeaderSize + bytes[0];
    const bool colourMapped = info.imageType == tgaColourMapped || info.imageType == tgaRleColourMapped;
    const std::size_t entry = (bytes[7] + 7u) / 8u;
    const std::size_t mapBytes = colourMapped ? 256 * entry : 0;
    const std::size_t pixelBytes = bytes.size - info.pixelDataOffset;
    Bytes out;
    if (!out.allocate(mapStart + mapBytes + pixelBytes))
        return false;
    std::memcpy(out.data.get(), bytes.data.get(), mapStart);
    if (!colourMapped) {
        for (int i : {1, 3, 4, 5, 6, 7})
            out[static_cast<std::size_t>(i)] = 0;
    } else {
        const int first = bytes[3] | (bytes[4] << 8);
        const int length = bytes[5] | (bytes[6] << 8);
        out[3] = out[4] = 0;
        out[5] = 0;   // 256 entries
        out[6] = 1;
        std::uint8_t* to = out.data.get() + mapStart;
        for (int value = 0; value < 256; ++value, to += entry) {
            const int k = value - first;
            if (k >= 0 && k < length)
                std::memcpy(to, bytes.data.get() + mapStart + static_cast<std::size_t>(k) * entry, entry);
            else
                std::memset(to, 0, entry);
        }
    }
    std::memcpy(out.data.get() + mapStart + mapBytes, bytes.data.get() + info.pixelDataOffset, pixelBytes);
    bytes = std::move(out);
    return true;
}

// Checks the file's bytes, brings a colour map into the decoder's form and
// decodes; `bytes` is released once the decoder is done with it.
bool decodeBytes(Bytes& bytes, DecodedPicture& picture, std::string& error)
{
    TgaInfo info;
    if (!tgaCheck(bytes.data.get(), bytes.size, info, error))
        return false;
    if (!toDecoderForm(bytes, info)) {
        error = "out of memory";
        return false;
    }
    if (bytes.size > static_cast<std::size_t>(INT_MAX)) {
        error = "larger than the decoder reads";   // it counts bytes in an int
        return false;
    }

    // OpenGL wants the bottom row first. stb_image hands rows top first after
    // honouring the file's origin bit, so ask it to flip.
    stbi_set_flip_vertically_on_load(1);
    int width = 0, height = 0, channels = 0;
    picture.pixels.reset(stbi_load_from_memory(bytes.data.get(), static_cast<int>(bytes.size),
                                               &width, &height, &channels, 0));
    bytes.release();
    if (!picture.pixels) {
        error = stbi_failure_reason();
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.channels = channels;
    return true;
}

}  // namespace

void DecodedPixelsFree::operator()(std::uint8_t* pixels) const { stbi_image_free(pixels); }

bool readTexturePicture(const char* name, DecodedPicture& picture, std::string& error)
{
    Bytes bytes;
    if (!readWholeFile(name, bytes)) {
        error = "cannot be read";
        return false;
    }
    return decodeBytes(bytes, picture, error);
}

bool decodeTexturePicture(const std::uint8_t* data, std::size_t size, DecodedPicture& picture,
                          std::string& error)
{
    Bytes bytes;
    if (data == nullptr || size == 0) {
        error = "empty";
        return false;
    }
    if (!bytes.allocate(size)) {
        error = "out of memory";
        return false;
    }
    std::memcpy(bytes.data.get(), data, size);
    return decodeBytes(bytes, picture, error);
}

}  // namespace sys

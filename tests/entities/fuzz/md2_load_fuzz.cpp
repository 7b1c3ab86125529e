// Mutation fuzzing of the MD2 loader, built with AddressSanitizer and UBSan.
// A valid model's bytes are damaged (bit flips, byte overwrites, truncation,
// extension, counts and offsets overwritten with telling values), loaded, and
// whenever the load succeeds every frame is animated and blended and every
// triangle corner decoded, as the drawing would. The run is deterministic
// (fixed seed) and bounded by an iteration count and a time limit.
//
// Usage: fuzz_md2_loader [iterations] [seconds]
#include "entities/md2.h"
#include "entities/md2_test_model.h"

#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace {

// A model with enough frames for the standing and running rows and a few
// triangles that share vertices.
TestModel seedModel()
{
    TestModel m;
    m.skinWidth = 32;
    m.skinHeight = 16;
    m.numVertices = 6;
    m.skins = {skinName("a.pcx"), skinName("b.pcx")};
    m.texCoords = {{0, 0}, {31, 0}, {31, 15}, {0, 15}, {16, 8}};
    m.triangles = {{{0, 1, 2}, {0, 1, 2}}, {{0, 2, 3}, {0, 2, 3}},
                   {{3, 4, 5}, {4, 3, 1}}, {{5, 4, 1}, {2, 4, 0}}};
    for (int f = 0; f < 47; ++f) {
        TestFrame frame;
        frame.header = frameHeader(0.1f * (f + 1), -3.0f * f, "f");
        for (int i = 0; i < m.numVertices; ++i)
            frame.vertices.push_back({{static_cast<std::uint8_t>(f * 5 + i),
                                       static_cast<std::uint8_t>(255 - f - i),
                                       static_cast<std::uint8_t>(f * i)},
                                      static_cast<std::uint8_t>(i)});
        m.frames.push_back(frame);
    }
    return m;
}

const std::size_t headerFields[] = {
    fieldSkinWidth,   fieldSkinHeight,      fieldFrameSize,        fieldNumSkins,
    fieldNumVertices, fieldNumTexCoords,    fieldNumTriangles,     fieldNumFrames,
    fieldOffsetSkins, fieldOffsetTexCoords, fieldOffsetTriangles,  fieldOffsetFrames,
};

std::int32_t tellingValue(std::mt19937& rng, std::int32_t fileSize, std::int32_t old)
{
    switch (rng() % 12) {
    case 0: return 0;
    case 1: return -1;
    case 2: return 1;
    case 3: return INT_MAX;
    case 4: return INT_MIN;
    case 5: return fileSize;
    case 6: return fileSize - 1;
    case 7: return fileSize + 1;   // files here are far below 2^31 bytes
    case 8: return static_cast<std::int32_t>(static_cast<std::uint32_t>(old) + 1u);
    case 9: return static_cast<std::int32_t>(static_cast<std::uint32_t>(old) - 1u);
    case 10: return static_cast<std::int32_t>(rng() % 512);
    default: return static_cast<std::int32_t>(rng());
    }
}

void mutate(std::vector<std::uint8_t>& bytes, std::mt19937& rng)
{
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
        switch (rng() % 6) {
        case 0: {   // bit flip, half of them in the header
            const std::size_t at = (rng() % 2) ? rng() % std::min<std::size_t>(bytes.size(), 68)
                                               : rng() % bytes.size();
            bytes[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
            break;
        }
        case 1:   // random byte
            bytes[rng() % bytes.size()] = static_cast<std::uint8_t>(rng());
            break;
        case 2:   // truncation
            bytes.resize(rng() % bytes.size());
            break;
        case 3:   // extension
            bytes.resize(bytes.size() + 1 + rng() % 64, static_cast<std::uint8_t>(rng()));
            break;
        default:   // a count or an offset
            if (bytes.size() >= md2HeaderSize) {
                const std::size_t field = headerFields[rng() % std::size(headerFields)];
                setField(bytes, field,
                         tellingValue(rng, static_cast<std::int32_t>(bytes.size()),
                                      getField(bytes, field)));
            }
            break;
        }
    }
}

// Plays what a loaded model offers, the way the game's drawing reads it.
// Returns a checksum so nothing is optimised away.
unsigned exercise(Md2Model& model)
{
    unsigned sum = 0;
    const Md2Header& h = *model.header;
    auto readCorners = [&] {
        if (!model.drawable())
            return;
        for (std::int32_t i = 0; i < h.numTriangles; ++i)
            for (int k = 0; k < 3; ++k) {
                const Md2Corner c = model.corner(i, k);
                sum += static_cast<unsigned>(std::isfinite(c.s) + std::isfinite(c.t)) +
                       static_cast<unsigned>(c.x != c.y);
            }
    };
    for (std::int32_t f = 0; f < h.numFrames; ++f) {
        model.currentFrame = f;
        model.nextFrame = h.numFrames - 1 - f;
        model.interpolation = 0.5f;
        model.interpolate();
        readCorners();
    }
    // The rows as the game selects them, with the clock running on.
    float t = 0.0f;
    for (int row : {0, 1, 20, 12}) {
        model.selectAnimation(row);
        for (int step = 0; step < 8; ++step) {
            model.interpolate();   // before any animate, as with a clock at 0
            t += 0.07f;
            model.animate(t);
            model.interpolate();
            readCorners();
        }
    }
    if (model.drawable())
        for (std::int32_t i = 0; i < h.numVertices; ++i)
            sum += model.interpolated[i].v[0];
    return sum;
}

}  // namespace

int main(int argc, char** argv)
{
    const long iterations = argc > 1 ? std::atol(argv[1]) : 20000;
    const double seconds = argc > 2 ? std::atof(argv[2]) : 8.0;
    // Rewriting one file thousands of times is far quicker in memory.
    if (std::filesystem::is_directory("/dev/shm"))
        ::setenv("TMPDIR", "/dev/shm", 1);
    const std::vector<std::uint8_t> seed = md2Bytes(seedModel());
    const std::string path = writeModelFile("fuzz", seed);
    std::mt19937 rng(20240611u);
    const auto start = std::chrono::steady_clock::now();

    {
        Md2Model check;
        if (!check.load(path.c_str())) {
            std::fprintf(stderr, "the unmutated model does not load\n");
            return 1;
        }
    }

    long done = 0, loaded = 0;
    unsigned sum = 0;
    Md2Model reused;   // also load over whatever the last round left
    for (; done < iterations; ++done) {
        if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > seconds)
            break;
        std::vector<std::uint8_t> bytes = seed;
        mutate(bytes, rng);
        writeModelFile("fuzz", bytes);
        Md2Model model;
        const bool ok = model.load(path.c_str());
        if (ok != reused.load(path.c_str())) {
            std::fprintf(stderr, "a second load of the same bytes disagrees\n");
            return 1;
        }
        if (!ok) {
            if (model.header || model.skins || model.triangles || model.texCoords ||
                model.frames || model.frameVertices || model.interpolated) {
                std::fprintf(stderr, "a rejected model holds data (round %ld)\n", done);
                return 1;
            }
            continue;
        }
        ++loaded;
        sum += exercise(model);
        sum += exercise(reused);
        if (done % 7 == 0)
            model.release();   // and the destructor releases once more
    }
    std::filesystem::remove(path);
    std::printf("md2 fuzz: %ld rounds, %ld loaded, checksum %u, no finding\n", done, loaded, sum);
    return 0;
}

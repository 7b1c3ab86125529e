// Helpers for the sound tests: run the sound service on SDL's disk audio
// driver, which writes everything it mixes to a file, and measure what was
// written (16-bit stereo at 44100 Hz, the format the service opens).
#pragma once

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace capture {

inline constexpr int rate = 44100;
inline constexpr int channels = 2;
using Pcm = std::vector<std::int16_t>;

// A fresh folder of its own for one test.
inline std::filesystem::path scratchFolder(const std::string& name)
{
    const auto folder = std::filesystem::temp_directory_path() / ("orbitor-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Makes the next FSOUND_Init open the disk driver writing into `file`; each
// mixed buffer (about 23 ms of sound) is followed by `delayMs` of waiting.
inline void useDiskDriver(const std::filesystem::path& file, int delayMs)
{
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    ::setenv("SDL_DISKAUDIODELAY", std::to_string(delayMs).c_str(), 1);
}

// Seconds of sound the device has written to `file` so far.
inline double secondsWritten(const std::filesystem::path& file)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    return error ? 0.0 : double(size) / (rate * channels * 2.0);
}

// Polls `done` until it holds or `timeout` seconds have passed.
inline bool waitUntil(const std::function<bool()>& done, double timeout = 20.0)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
    for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(2)))
        if (std::chrono::steady_clock::now() > end)
            return false;
    return true;
}

// The file's 16-bit samples (little-endian, as the machines we run on).
inline Pcm readPcm(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    Pcm pcm(in ? std::size_t(in.tellg()) / 2 : 0);
    in.seekg(0).read(reinterpret_cast<char*>(pcm.data()), std::streamsize(pcm.size() * 2));
    return pcm;
}

// Root-mean-square level (of full scale 32768) of `count` samples from `first`.
inline double rms(const Pcm& pcm, std::size_t first = 0, std::size_t count = SIZE_MAX)
{
    const std::size_t end = first + std::min(count, pcm.size() - std::min(first, pcm.size()));
    double sum = 0;
    for (std::size_t i = first; i < end; ++i)
        sum += double(pcm[i]) * pcm[i];
    return end > first ? std::sqrt(sum / double(end - first)) / 32768.0 : 0.0;
}

inline int peak(const Pcm& pcm)
{
    int largest = 0;
    for (std::int16_t v : pcm)
        largest = std::max(largest, std::abs(int(v)));
    return largest;
}

// Writes a mono 16-bit WAV of a sine tone at half of full scale.
inline void writeToneWav(const std::filesystem::path& file, double frequency, double seconds)
{
    const std::uint32_t frames = std::uint32_t(seconds * rate);
    std::string out;
    const auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += char(v >> (8 * i));
    };
    // RIFF size, "fmt " size, PCM, mono, rate, bytes per second, block size, bits, data size.
    for (const auto& [text, v, bytes] : {std::tuple{"RIFF", 36 + frames * 2, 4}, {"WAVEfmt ", 16u, 4}, {"", 1u, 2},
                                          {"", 1u, 2}, {"", unsigned(rate), 4}, {"", rate * 2u, 4}, {"", 2u, 2},
                                          {"", 16u, 2}, {"data", frames * 2, 4}})
        out += text, put(v, bytes);
    for (std::uint32_t i = 0; i < frames; ++i)
        put(std::uint16_t(std::int16_t(16384 * std::sin(6.283185307 * frequency * i / rate))), 2);
    std::ofstream(file, std::ios::binary) << out;
}

}   // namespace capture

// The asset generator's sound makers, shared by the sounds_*.cpp files:
// synthesised effects as mono float samples in [-1, 1], the music as the
// bytes of a Standard MIDI File, and the writers for the two sample formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr int soundRate = 44100;   // every effect is made at this rate

// A falling sci-fi zap, about 0.4 s.
std::vector<float> synthLaser(int rate);
// A noise burst over a low rumble that dies away within one second.
std::vector<float> synthExplosion(int rate);
// The looping game music: a format-1 Standard MIDI File.
std::vector<std::uint8_t> composeMusic();
// A SoundFont 2 file holding only what `midi` (a Standard MIDI File) plays:
// a preset for each program it uses, sounding over just the notes played on
// it, and a drum kit (bank 128) of the percussion notes it strikes.
std::vector<std::uint8_t> soundFontFor(const std::vector<std::uint8_t>& midi);

// 16-bit PCM mono WAV bytes of the samples (clipped to [-1, 1]).
std::vector<std::uint8_t> wavBytes(const std::vector<float>& samples, int rate);
// MP3 bytes of the samples (mono, constant bit rate, with an Info tag so that
// decoders can trim the encoder's padding). False with `error` on failure.
bool mp3Bytes(const std::vector<float>& samples, int rate, std::vector<std::uint8_t>& out,
              std::string& error);

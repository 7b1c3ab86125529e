// Fuzz target: bytes through the sound files' byte checks (the soundfont's
// too). A sample the check takes (WAV or MP3) is then loaded by SDL_mixer
// from memory on the dummy audio driver, as the game loads it. A song the
// check takes is handed to FluidSynth's MIDI player, which is what the mixer
// plays songs with, and must be read without a single error: a song it
// cannot read is what made it report an error on every audio callback for
// as long as the game ran.
#include "sound/sound_check.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool mixerOpen = false;
fluid_settings_t* settings = nullptr;
fluid_synth_t* synth = nullptr;
int synthErrors = 0;
std::string lastError;

void countErrors(int level, const char* message, void*)
{
    if (level == FLUID_PANIC || level == FLUID_ERR) {
        ++synthErrors;
        lastError = message;
    }
}

// FluidSynth reads the song when the player first runs, from the synth's
// sample timer; a few short blocks of output are enough for that.
void readSong(const std::uint8_t* data, std::size_t size)
{
    fluid_player_t* player = new_fluid_player(synth);
    if (player == nullptr)
        std::abort();
    synthErrors = 0;
    fluid_player_add_mem(player, data, size);
    fluid_player_play(player);
    float left[64], right[64];
    for (int block = 0; block < 4; ++block)
        fluid_synth_write_float(synth, 64, left, 0, 1, right, 0, 1);
    fluid_player_stop(player);
    fluid_player_join(player);
    delete_fluid_player(player);
    fluid_synth_system_reset(synth);
    if (synthErrors != 0) {
        std::fprintf(stderr, "the MIDI check took a song FluidSynth cannot read: %s\n", lastError.c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) == 0) {
        Mix_Init(MIX_INIT_MP3);
        mixerOpen = true;
    }
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, countErrors, nullptr);
    settings = new_fluid_settings();
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.polyphony", 16);
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    synth = new_fluid_synth(settings);
    if (!mixerOpen || synth == nullptr) {
        std::fprintf(stderr, "sound fuzz: no dummy audio device or no synthesiser\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string error;
    // Both sample checks run, whichever of them the sample's first bytes pick.
    wavCheck(data, size, error);
    mp3Check(data, size, error);
    const bool sample = soundFileCheck(SoundFileKind::sample, data, size, error);
    const bool song = soundFileCheck(SoundFileKind::song, data, size, error);
    // The soundfont check, which stands before the synthesiser reads a font.
    soundFileCheck(SoundFileKind::font, data, size, error);

    if (sample) {
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1);
        if (chunk != nullptr)
            Mix_FreeChunk(chunk);
    }
    if (song)
        readSong(data, size);
    return 0;
}

// The sound service over SDL2_mixer. Samples become Mix_Chunks played on the
// numbered mixing channels; the song is a Mix_Music rendered by FluidSynth
// with the game's own soundfont from the asset pack.
#include "sound/sound.h"

#include "sound/sound_check.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

struct FSOUND_SAMPLE {
    Mix_Chunk* chunk = nullptr;
};

struct FMUSIC_MODULE {
    Mix_Music* music = nullptr;
    bool looping = false;
    std::vector<std::uint8_t> bytes;   // the file, read by the music from memory
};

namespace {

// The pack's soundfont, made with the tune: only its instruments and notes.
constexpr const char* defaultSoundFont = "Sound/orbitor.sf2";
constexpr int minimumMixingChannels = 32;
constexpr int defaultMixRate = 44100;
constexpr int bufferFrames = 1024;   // about 23 ms at 44100 Hz

struct SoundService {
    bool audioInitialised = false;   // SDL's audio subsystem is up
    bool deviceOpen = false;         // the mixer has an open device
    int channels = 0;                // allocated mixing channels
    // Every handle handed out, so that a shutdown can free them.
    std::vector<std::unique_ptr<FSOUND_SAMPLE>> samples;
    std::vector<std::unique_ptr<FMUSIC_MODULE>> songs;
    FMUSIC_MODULE* lastStarted = nullptr;   // the song the mixer's music stream holds
    bool soundFontReported = false;         // the missing soundfont has been named
    std::string checkedFonts;               // the soundfont list last checked...
    bool fontsUsable = false;               // ...and whether it may go to the synthesiser
};

// Never destroyed: the game does not shut the sound down, so the mixer's
// samples and songs stay reachable through these handles until the process
// ends (a destructor at exit would orphan them).
SoundService& service = *new SoundService;

bool validChannel(int channel) { return service.deviceOpen && channel >= 0 && channel < service.channels; }

// The soundfont list handed to the MIDI synthesiser.
std::string soundFonts()
{
    const char* fromEnvironment = SDL_getenv("SDL_SOUNDFONTS");
    return fromEnvironment != nullptr && *fromEnvironment != '\0' ? fromEnvironment : defaultSoundFont;
}

// Whether the soundfont list may go to the synthesiser: every font file of
// it that is there passes its byte check (a damaged one is named once on
// standard error, and then no song is loaded: the music stays silent rather
// than the synthesiser reading past a broken list). When none of the files
// is there, one line says the music will be silent. Checked once per list.
bool soundFontsUsable(const std::string& fonts)
{
    if (!service.checkedFonts.empty() && fonts == service.checkedFonts)
        return service.fontsUsable;
    service.checkedFonts = fonts;
    bool anyThere = false, usable = true;
    for (std::size_t start = 0; start <= fonts.size();) {
        const std::size_t end = std::min(fonts.find(':', start), fonts.size());
        const std::string path = fonts.substr(start, end - start);
        std::error_code error;
        if (end > start && std::filesystem::is_regular_file(path, error)) {
            anyThere = true;
            std::vector<std::uint8_t> bytes;
            usable = readSoundFile(path.c_str(), SoundFileKind::font, bytes) && usable;
        }
        start = end + 1;
    }
    if (!anyThere && !service.soundFontReported) {
        std::fprintf(stderr, "Sound font not found: %s (music will be silent)\n", fonts.c_str());
        service.soundFontReported = true;
    }
    service.fontsUsable = usable;
    return usable;
}

}   // namespace

bool FSOUND_Init(int mixRate, int maxChannels, unsigned int /*flags*/)
{
    if (service.deviceOpen)
        return true;
    if (!service.audioInitialised) {
        // SDL would otherwise catch SIGINT and SIGTERM and turn them into
        // quit events that the game never reads: Ctrl+C and kill would then
        // leave the game running.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        service.audioInitialised = true;
    }
    Mix_Init(MIX_INIT_MP3 | MIX_INIT_MID);
    // The device is opened as 16-bit stereo at the asked rate exactly; SDL
    // converts to whatever the hardware takes.
    const int rate = mixRate > 0 ? mixRate : defaultMixRate;
    if (Mix_OpenAudioDevice(rate, AUDIO_S16SYS, 2, bufferFrames, nullptr, 0) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        service.audioInitialised = false;
        return false;
    }
    service.deviceOpen = true;
    service.channels = Mix_AllocateChannels(std::max(maxChannels, minimumMixingChannels));
    return true;
}

FSOUND_SAMPLE* FSOUND_Sample_Load(int /*index*/, const char* name, unsigned int /*mode*/,
                                  int /*offset*/, int /*length*/)
{
    if (!service.deviceOpen || name == nullptr)
        return nullptr;
    // Only a file that passed its byte check reaches the mixer.
    std::vector<std::uint8_t> bytes;
    if (!readSoundFile(name, SoundFileKind::sample, bytes))
        return nullptr;
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
    if (chunk == nullptr) {
        reportDamagedSoundFile(name, Mix_GetError());
        return nullptr;
    }
    service.samples.push_back(std::make_unique<FSOUND_SAMPLE>());
    service.samples.back()->chunk = chunk;
    return service.samples.back().get();
}

int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample)
{
    if (sample == nullptr || sample->chunk == nullptr || !validChannel(channel))
        return -1;
    // Playing on a busy channel stops what it played and starts the new sample.
    return Mix_PlayChannel(channel, sample->chunk, 0);
}

bool FSOUND_SetPaused(int channel, bool paused)
{
    if (!validChannel(channel))
        return false;
    if (paused)
        Mix_Pause(channel);
    else
        Mix_Resume(channel);
    return true;
}

FMUSIC_MODULE* FMUSIC_LoadSong(const char* name)
{
    if (!service.deviceOpen || name == nullptr)
        return nullptr;
    auto song = std::make_unique<FMUSIC_MODULE>();
    if (!readSoundFile(name, SoundFileKind::song, song->bytes))
        return nullptr;
    const std::string fonts = soundFonts();
    if (!soundFontsUsable(fonts))
        return nullptr;
    Mix_SetSoundFonts(fonts.c_str());
    song->music = Mix_LoadMUS_RW(SDL_RWFromConstMem(song->bytes.data(), static_cast<int>(song->bytes.size())), 1);
    if (song->music == nullptr)
        return nullptr;
    service.songs.push_back(std::move(song));
    return service.songs.back().get();
}

bool FMUSIC_SetLooping(FMUSIC_MODULE* song, bool looping)
{
    if (song == nullptr)
        return false;
    song->looping = looping;
    return true;
}

bool FMUSIC_PlaySong(FMUSIC_MODULE* song)
{
    if (song == nullptr || song->music == nullptr || !service.deviceOpen)
        return false;
    if (Mix_PlayMusic(song->music, song->looping ? -1 : 0) != 0)
        return false;
    service.lastStarted = song;
    return true;
}

bool FMUSIC_SetPaused(FMUSIC_MODULE* song, bool paused)
{
    if (song == nullptr || !service.deviceOpen || song != service.lastStarted || Mix_PlayingMusic() == 0)
        return false;
    if (paused)
        Mix_PauseMusic();
    else
        Mix_ResumeMusic();
    return true;
}

namespace soundtest {

void shutdown()
{
    if (service.deviceOpen) {
        Mix_HaltMusic();
        Mix_HaltChannel(-1);
        for (auto& song : service.songs)
            Mix_FreeMusic(song->music);
        for (auto& sample : service.samples)
            Mix_FreeChunk(sample->chunk);
        Mix_CloseAudio();
        Mix_Quit();
    }
    service.songs.clear();
    service.samples.clear();
    if (service.audioInitialised)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    service = SoundService{};
}

bool deviceOpen() { return service.deviceOpen; }

int mixingChannels() { return service.deviceOpen ? service.channels : 0; }

bool channelPlaying(int channel) { return validChannel(channel) && Mix_Playing(channel) != 0; }

bool channelPaused(int channel) { return validChannel(channel) && Mix_Paused(channel) != 0; }

bool musicPlaying() { return service.deviceOpen && Mix_PlayingMusic() != 0; }

bool musicPaused() { return service.deviceOpen && Mix_PausedMusic() != 0; }

bool samplePcm(const FSOUND_SAMPLE* sample, std::vector<std::int16_t>& pcm, int& rate,
               int& channels)
{
    if (sample == nullptr || sample->chunk == nullptr || !service.deviceOpen)
        return false;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0 || format != AUDIO_S16SYS)
        return false;
    pcm.resize(sample->chunk->alen / sizeof(std::int16_t));
    std::memcpy(pcm.data(), sample->chunk->abuf, pcm.size() * sizeof(std::int16_t));
    return true;
}

}   // namespace soundtest

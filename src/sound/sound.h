// The game's sound service: two samples played on fixed channels and one
// looping MIDI song. The calls keep the shape of the classic FSOUND/FMUSIC
// interface the game was written against; underneath is SDL2_mixer, with
// MIDI through FluidSynth and the game's own soundfont, Sound/orbitor.sf2 in
// the asset folder (the working directory). SDL_SOUNDFONTS, when set, names
// the soundfont instead (SDL_mixer's own convention: one or more paths
// separated by ':').
//
// When no audio device can be opened every call does nothing (the game runs
// silently); every call accepts null handles. Results need not be tested.
#pragma once

#include <cstdint>
#include <vector>

struct FSOUND_SAMPLE;    // a loaded sample
struct FMUSIC_MODULE;    // a loaded song

// Opens the audio device (mixing rate in Hz, number of channels; at least 32
// mixing channels are always allocated). The device mixes 16-bit stereo.
// Called once by start-up; a second call while the device is open does
// nothing. False when no device could be opened.
bool FSOUND_Init(int mixRate, int maxChannels, unsigned int flags);
// Loads a sample (WAV, MP3, ...) from a file. `index`, `mode`, `offset` and
// `length` are accepted for the interface's sake; the whole file is loaded.
// Returns null when the file cannot be read or there is no device.
FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* name, unsigned int mode, int offset,
                                  int length);
// Plays the sample once on the given channel, cutting off what that channel
// was playing (and lifting a pause on it). Returns the channel, or -1 when
// nothing was played.
int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample);
// Pauses or resumes a channel. False for a channel that does not exist or
// when there is no device.
bool FSOUND_SetPaused(int channel, bool paused);
// Loads a song (a Standard MIDI File). When none of the soundfont files is
// there, the song could only play silently: the first such load after the
// device opened writes one line naming the soundfont to standard error. A
// soundfont file that fails its byte check is named once as damaged, and
// then no song loads (null): the music stays silent. Called once by start-up.
FMUSIC_MODULE* FMUSIC_LoadSong(const char* name);
bool FMUSIC_SetLooping(FMUSIC_MODULE* song, bool looping);
// Starts the song from its beginning (lifting a pause); it repeats without
// end when looping was set, otherwise it plays once.
bool FMUSIC_PlaySong(FMUSIC_MODULE* song);
// Pauses or resumes the song; resumed, it goes on from where it stopped. The
// game's P key calls it together with FSOUND_SetPaused of channel 1, so that
// P silences the game and P again brings the tune back. False (and nothing
// happens) for a null handle, a song that is not the one started last or has
// finished, and when there is no device.
bool FMUSIC_SetPaused(FMUSIC_MODULE* song, bool paused);

// ---------------------------------------------------------------------------
// Test seam: queries and a full shutdown so that tests can look inside the
// service and open it again under other settings. The game does not call these.
// ---------------------------------------------------------------------------
namespace soundtest {
// Closes the device, frees every sample and song loaded so far (their
// handles become invalid) and shuts the audio subsystem down.
void shutdown();
bool deviceOpen();
int mixingChannels();                 // 0 without a device
bool channelPlaying(int channel);     // a paused channel still counts as playing
bool channelPaused(int channel);
bool musicPlaying();                  // paused music still counts as playing
bool musicPaused();
// The decoded sample as the device plays it: interleaved 16-bit frames of
// `channels` channels at `rate` Hz. False for a null handle.
bool samplePcm(const FSOUND_SAMPLE* sample, std::vector<std::int16_t>& pcm, int& rate,
               int& channels);
}   // namespace soundtest

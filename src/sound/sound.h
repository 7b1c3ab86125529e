// The game's sound service: two samples played on fixed channels and one
// looping MIDI song. The calls keep the shape of the classic FSOUND/FMUSIC
// interface the game was written against; underneath is SDL2_mixer, with
// MIDI through FluidSynth and the TimGM6mb soundfont.
//
// When no audio device can be opened every call does nothing (the game runs
// silently); every call accepts null handles. Results need not be tested.
#pragma once

struct FSOUND_SAMPLE;    // a loaded sample
struct FMUSIC_MODULE;    // a loaded song

// Opens the audio device (mixing rate in Hz, number of channels). Called
// once by start-up. False when no device could be opened.
bool FSOUND_Init(int mixRate, int maxChannels, unsigned int flags);
// Loads a sample (WAV, MP3, ...) from a file. `index`, `mode`, `offset` and
// `length` are accepted for the interface's sake; the whole file is loaded.
// Returns null when the file cannot be read or there is no device.
FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* name, unsigned int mode, int offset,
                                  int length);
// Plays the sample on the given channel, cutting off what that channel was
// playing. Returns the channel, or -1 when nothing was played.
int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample);
// Pauses or resumes a channel.
bool FSOUND_SetPaused(int channel, bool paused);
// Loads a song (a Standard MIDI File).
FMUSIC_MODULE* FMUSIC_LoadSong(const char* name);
bool FMUSIC_SetLooping(FMUSIC_MODULE* song, bool looping);
// Starts the song; it repeats without end when looping was set.
bool FMUSIC_PlaySong(FMUSIC_MODULE* song);

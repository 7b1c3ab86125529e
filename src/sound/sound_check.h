// Byte checks of the sound files, made before the mixer sees them: a file cut
// short or damaged is refused whole, so that it means silence instead of a
// decoder that stumbles over it again and again while the game runs. No SDL
// here; the sound service reads a file through readSoundFile and hands the
// mixer only bytes that passed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// RIFF/WAVE: the RIFF size within the file, every chunk within the RIFF, a
// sane "fmt " chunk (PCM or floating point) before a "data" chunk of whole
// sample frames. Called by soundFileCheck for a sample that starts with "RIFF"
// (and the tests).
bool wavCheck(const std::uint8_t* data, std::size_t size, std::string& error);

// MPEG audio: an optional ID3v2 tag within the file, then MPEG audio frames
// with valid headers back to back to the end of the file (an ID3v1 tag may
// close it). Called by soundFileCheck for any other sample (and the tests).
bool mp3Check(const std::uint8_t* data, std::size_t size, std::string& error);

// Standard MIDI File: an "MThd" header of length 6, format 0 to 2, ticks per
// quarter note, then chunks each within the file, as many "MTrk" chunks as
// the header counts, and in each track events that lie wholly inside it (a
// status for every event, data bytes below 128, meta events of the lengths
// their types take), closed by the end-of-track event. Called by
// soundFileCheck for a song (and the tests).
bool midiCheck(const std::uint8_t* data, std::size_t size, std::string& error);

// SoundFont 2: a RIFF "sfbk" within the file, a version 2 "ifil", the sample
// data, and the nine record lists of "pdta" each of whole records and ended
// by its closing record; the zone indices of presets and instruments ascend
// within their lists, every zone names an instrument or a sample that is
// there, and every sample lies within the sample data. What the synthesiser
// then reads of the file stays inside it. Called by soundFileCheck for the
// music's soundfont (and the tests).
bool sf2Check(const std::uint8_t* data, std::size_t size, std::string& error);

// What a file is loaded as, which decides the check it gets.
enum class SoundFileKind {
    sample,   // a WAV when it starts with "RIFF", an MP3 otherwise
    song,     // a Standard MIDI File
    font,     // a SoundFont 2 file
};

// The check for a file of that kind. Called by readSoundFile once it has the
// bytes (and by the sound fuzz target and the tests).
bool soundFileCheck(SoundFileKind kind, const std::uint8_t* data, std::size_t size, std::string& error);

// Reads the file whole into `bytes` and checks it. A file that cannot be read
// (missing, a folder, no permission) gives false without a word; a damaged one
// gives false and one line on standard error naming it. Called at start-up by
// the sound service's FSOUND_Sample_Load (the two samples) and FMUSIC_LoadSong
// (the music).
bool readSoundFile(const char* name, SoundFileKind kind, std::vector<std::uint8_t>& bytes);

// The line for a file the mixer refused or the check found damaged. Called by
// readSoundFile when the check fails, and by FSOUND_Sample_Load when the mixer
// refuses a sample that passed.
void reportDamagedSoundFile(const char* name, const std::string& why);

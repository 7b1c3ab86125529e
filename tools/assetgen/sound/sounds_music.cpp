// The game music: a spacey tune in A minor on General MIDI instruments (synth
// bass, warm pad, crystal arpeggio, square lead, light drums), 40 bars at 92
// beats per minute, about 104 seconds. Every part ends on the last bar line
// and the closing E chord leads back into the opening A minor, so the song
// loops cleanly. Written as a format-1 Standard MIDI File.
#include "common/image.h"
#include "sound/sounds.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

constexpr int ticksPerQuarter = 480;
constexpr int ticksPerEighth = ticksPerQuarter / 2;
constexpr int ticksPerBar = 4 * ticksPerQuarter;
constexpr int beatsPerMinute = 92;
constexpr int barsPerChord = 2;
constexpr int chordsPerSection = 4;
constexpr int sectionCount = 5;
constexpr int songBars = sectionCount * chordsPerSection * barsPerChord;   // 40
constexpr int songTicks = songBars * ticksPerBar;

// ---- Standard MIDI File tracks -------------------------------------------------

struct MidiEvent {
    int tick;
    int order;   // at equal ticks: meta and set-up, note-offs, then note-ons
    std::vector<std::uint8_t> bytes;
};

struct MidiTrack {
    std::vector<MidiEvent> events;
    int channel = 0;

    void meta(int tick, std::uint8_t type, const std::vector<std::uint8_t>& data)
    {
        std::vector<std::uint8_t> bytes{0xFF, type, std::uint8_t(data.size())};
        bytes.insert(bytes.end(), data.begin(), data.end());
        events.push_back({tick, 0, bytes});
    }
    void name(const std::string& text) { meta(0, 0x03, {text.begin(), text.end()}); }
    void control(int tick, int controller, int value)
    {
        events.push_back({tick, 0, {std::uint8_t(0xB0 | channel), std::uint8_t(controller), std::uint8_t(value)}});
    }
    void program(int tick, int number)
    {
        events.push_back({tick, 0, {std::uint8_t(0xC0 | channel), std::uint8_t(number)}});
    }
    void note(int tick, int length, int pitch, int velocity)
    {
        const int end = std::min(tick + length, songTicks);
        if (end <= tick)
            return;
        events.push_back({tick, 2, {std::uint8_t(0x90 | channel), std::uint8_t(pitch), std::uint8_t(velocity)}});
        events.push_back({end, 1, {std::uint8_t(0x80 | channel), std::uint8_t(pitch), 0}});
    }
    // The usual opening of an instrument part.
    void setUp(const std::string& text, int channelNumber, int programNumber, int volume, int pan,
               int reverb, int chorus)
    {
        channel = channelNumber;
        name(text);
        if (programNumber >= 0)
            program(0, programNumber);
        control(0, 7, volume);
        control(0, 10, pan);
        control(0, 91, reverb);
        control(0, 93, chorus);
    }
};

void putBe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

void putVariableLength(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = std::uint8_t(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(std::uint8_t(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

std::vector<std::uint8_t> smfBytes(std::vector<MidiTrack>& tracks)
{
    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd'};
    putBe(out, 6, 4);
    putBe(out, 1, 2);   // format 1: simultaneous tracks
    putBe(out, std::uint32_t(tracks.size()), 2);
    putBe(out, ticksPerQuarter, 2);
    for (MidiTrack& track : tracks) {
        std::stable_sort(track.events.begin(), track.events.end(), [](const MidiEvent& a, const MidiEvent& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });
        std::vector<std::uint8_t> body;
        int now = 0;
        for (const MidiEvent& event : track.events) {
            putVariableLength(body, std::uint32_t(event.tick - now));
            body.insert(body.end(), event.bytes.begin(), event.bytes.end());
            now = event.tick;
        }
        // Every track ends on the last bar line, so the song's length is exact.
        putVariableLength(body, std::uint32_t(songTicks - now));
        body.insert(body.end(), {0xFF, 0x2F, 0x00});
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        putBe(out, std::uint32_t(body.size()), 4);
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

// ---- Harmony -------------------------------------------------------------------

struct Chord {
    int root;                  // bass note, C2..B2
    std::array<int, 4> tones;  // pitch classes, root first
};

// A minor: Am7 Fmaj7 Cmaj7 G6, and the turn Dm7 Am7 Fmaj7 E7.
const Chord chordAm{45, {9, 0, 4, 7}};
const Chord chordF{41, {5, 9, 0, 4}};
const Chord chordC{36, {0, 4, 7, 11}};
const Chord chordG{43, {7, 11, 2, 4}};
const Chord chordDm{38, {2, 5, 9, 0}};
const Chord chordE{40, {4, 8, 11, 2}};

const std::array<Chord, 4> progressionA{chordAm, chordF, chordC, chordG};
const std::array<Chord, 4> progressionB{chordDm, chordAm, chordF, chordE};

// The sections: opening, theme, answer, theme again, close. The close ends
// on E, which leads back into the opening's A minor when the song repeats.
const std::array<const std::array<Chord, 4>*, sectionCount> sectionHarmony{
    &progressionA, &progressionA, &progressionB, &progressionA, &progressionB};

const Chord& chordAt(int section, int index) { return (*sectionHarmony[section])[index]; }

bool isChordTone(const Chord& chord, int pitch)
{
    return std::find(chord.tones.begin(), chord.tones.end(), pitch % 12) != chord.tones.end();
}

// Steps `steps` notes along the A minor scale (G sharp over the E chord).
int scaleStep(int pitch, int steps, const Chord& chord)
{
    const bool raisedSeventh = isChordTone(chord, 8);
    auto inScale = [&](int p) {
        const int pc = p % 12;
        if (raisedSeventh)
            return pc == 9 || pc == 11 || pc == 0 || pc == 2 || pc == 4 || pc == 5 || pc == 8;
        return pc == 9 || pc == 11 || pc == 0 || pc == 2 || pc == 4 || pc == 5 || pc == 7;
    };
    const int direction = steps < 0 ? -1 : 1;
    for (int n = 0; n != steps; n += direction) {
        pitch += direction;
        while (!inScale(pitch))
            pitch += direction;
    }
    return pitch;
}

int nearestChordTone(int pitch, const Chord& chord)
{
    for (int distance = 0; distance < 12; ++distance) {
        if (isChordTone(chord, pitch - distance))
            return pitch - distance;
        if (isChordTone(chord, pitch + distance))
            return pitch + distance;
    }
    return pitch;
}

// ---- Parts ---------------------------------------------------------------------

void writePad(MidiTrack& track)
{
    for (int section = 0; section < sectionCount; ++section)
        for (int c = 0; c < chordsPerSection; ++c) {
            const Chord& chord = chordAt(section, c);
            const int start = (section * chordsPerSection + c) * barsPerChord * ticksPerBar;
            for (int tone : chord.tones)
                track.note(start, barsPerChord * ticksPerBar, 57 + (tone + 3) % 12, c == 0 ? 74 : 66);
        }
}

void writeBass(MidiTrack& track)
{
    // Eighth-note pattern of a full bar: offset, length, interval above the root.
    struct Step {
        int at, length, interval;
    };
    const std::array<Step, 5> groove{{{0, 3, 0}, {3, 1, 12}, {4, 2, 0}, {6, 1, 7}, {7, 1, 10}}};
    for (int bar = 0; bar < songBars; ++bar) {
        const int section = bar / (chordsPerSection * barsPerChord);
        const Chord& chord = chordAt(section, (bar / barsPerChord) % chordsPerSection);
        const int start = bar * ticksPerBar;
        if (section == 0) {   // the opening: one long note a bar
            track.note(start, ticksPerBar - 30, chord.root, 84);
            continue;
        }
        for (const Step& step : groove) {
            const int interval = (step.interval == 10 && isChordTone(chord, chord.root + 11)) ? 11 : step.interval;
            track.note(start + step.at * ticksPerEighth, step.length * ticksPerEighth - 20, chord.root + interval,
                       step.at == 0 ? 100 : 82);
        }
    }
}

void writeArpeggio(MidiTrack& track)
{
    const std::array<int, 8> order{0, 1, 2, 3, 4, 3, 2, 1};
    for (int bar = 0; bar < songBars; ++bar) {
        const int section = bar / (chordsPerSection * barsPerChord);
        const Chord& chord = chordAt(section, (bar / barsPerChord) % chordsPerSection);
        std::array<int, 5> ladder{};   // the chord tones from A4 upward, then the lowest an octave up
        for (int i = 0; i < 4; ++i)
            ladder[i] = 69 + (chord.tones[i] + 3) % 12;
        std::sort(ladder.begin(), ladder.begin() + 4);
        ladder[4] = ladder[0] + 12;
        for (int e = 0; e < 8; ++e) {
            const int velocity = (e % 2 == 0 ? 62 : 50) + (bar % 2) * 4;
            track.note(bar * ticksPerBar + e * ticksPerEighth, ticksPerEighth, ladder[order[e]], velocity);
        }
    }
}

// A melodic phrase of two bars: a rhythm (eighths; negative lengths are
// rests) and the scale steps from one note to the next. The same phrase over
// another chord keeps its shape and lands on that chord's tones.
struct Phrase {
    std::vector<int> rhythm;
    std::vector<int> steps;
};

const std::array<std::vector<int>, 6> rhythms{{
    {3, 1, 2, 2, 4, 4},
    {2, 2, 2, 2, 6, -2},
    {1, 1, 2, 4, 2, 2, -4},
    {3, 3, 2, 3, 3, -2},
    {2, 1, 1, 4, 2, 6},
    {4, 2, 2, 8},
}};

Phrase makePhrase(Random& random, int rhythmIndex)
{
    Phrase phrase;
    phrase.rhythm = rhythms[rhythmIndex];
    for (std::size_t i = 0; i < phrase.rhythm.size(); ++i) {
        const float r = random.uniform();
        phrase.steps.push_back(r < 0.35f ? 1 : r < 0.7f ? -1 : r < 0.85f ? 2 : -2);
    }
    return phrase;
}

// Plays `phrase` from `start` over `chord`; notes on beats 1 and 3 fall on
// chord tones. Returns the last pitch so the next phrase continues from it.
int playPhrase(MidiTrack& track, const Phrase& phrase, int start, const Chord& chord, int pitch, int velocity)
{
    int at = 0;
    pitch = nearestChordTone(pitch, chord);
    for (std::size_t i = 0; i < phrase.rhythm.size(); ++i) {
        const int length = phrase.rhythm[i];
        if (length < 0) {
            at -= length;
            continue;
        }
        if (i > 0)
            pitch = scaleStep(pitch, phrase.steps[i], chord);
        // Keep the line within E4..C6, turning back at the edges.
        while (pitch > 84)
            pitch = scaleStep(pitch, -3, chord);
        while (pitch < 64)
            pitch = scaleStep(pitch, 3, chord);
        if (at % 4 == 0)
            pitch = nearestChordTone(pitch, chord);
        const bool last = i + 1 == phrase.rhythm.size();
        track.note(start + at * ticksPerEighth, length * ticksPerEighth - (last ? 60 : 15), pitch,
                   velocity + (at % 4 == 0 ? 10 : 0));
        at += length;
    }
    return pitch;
}

void writeMelody(MidiTrack& track)
{
    Random random(0x0F0ull);
    const int phraseTicks = barsPerChord * ticksPerBar;
    // Sections 1 and 3 share the theme, section 2 answers it, section 4 winds
    // down with long notes; the opening section has no melody.
    const Phrase themeA = makePhrase(random, 0);
    const Phrase themeB = makePhrase(random, 2);
    const Phrase themeEnd = makePhrase(random, 4);
    const Phrase themeClose = makePhrase(random, 5);
    const Phrase answerA = makePhrase(random, 1);
    const Phrase answerB = makePhrase(random, 3);
    const Phrase calmA = makePhrase(random, 5);
    const Phrase calmB = makePhrase(random, 4);
    const std::array<std::array<const Phrase*, 4>, 5> plan{{
        {nullptr, nullptr, nullptr, nullptr},
        {&themeA, &themeB, &themeA, &themeEnd},
        {&answerA, &answerB, &answerA, &themeEnd},
        {&themeA, &themeB, &themeA, &themeClose},
        {&calmA, &calmB, &calmA, &calmA},
    }};
    // Each section starts its line afresh: the theme from E5, the answer from
    // D5, the close from A4.
    const std::array<int, 5> openingPitch{76, 76, 74, 76, 69};
    for (int section = 0; section < sectionCount; ++section) {
        int pitch = openingPitch[section];
        for (int c = 0; c < chordsPerSection; ++c)
            if (const Phrase* phrase = plan[section][c]) {
                const int start = (section * chordsPerSection + c) * phraseTicks;
                const int velocity = section == 4 ? 70 : 84;
                pitch = playPhrase(track, *phrase, start, chordAt(section, c), pitch, velocity);
            }
    }
}

void writeDrums(MidiTrack& track)
{
    constexpr int kick = 36, clap = 39, closedHat = 42, openHat = 46, crash = 49;
    for (int bar = 0; bar < songBars; ++bar) {
        const int section = bar / (chordsPerSection * barsPerChord);
        const int start = bar * ticksPerBar;
        if (section == 0) {   // the opening keeps only a soft pulse
            if (bar >= 4)
                for (int beat = 0; beat < 4; ++beat)
                    track.note(start + beat * ticksPerQuarter, 60, closedHat, 40 + bar * 3);
            continue;
        }
        if (bar % 8 == 0)
            track.note(start, 120, crash, 76);
        track.note(start, 120, kick, 104);
        track.note(start + 2 * ticksPerQuarter, 120, kick, 96);
        if (bar % 2 == 1)
            track.note(start + 2 * ticksPerQuarter + ticksPerEighth, 120, kick, 80);
        track.note(start + ticksPerQuarter, 120, clap, 70);
        track.note(start + 3 * ticksPerQuarter, 120, clap, 74);
        for (int e = 0; e < 8; ++e) {
            const bool open = bar % 8 == 7 && e == 7;
            track.note(start + e * ticksPerEighth, 60, open ? openHat : closedHat, e % 2 == 0 ? 64 : 46);
        }
    }
}

}   // namespace

std::vector<std::uint8_t> composeMusic()
{
    std::vector<MidiTrack> tracks(6);
    MidiTrack& conductor = tracks[0];
    conductor.name("UFO");
    const std::uint32_t microsecondsPerQuarter = 60000000u / beatsPerMinute;
    conductor.meta(0, 0x51,
                   {std::uint8_t(microsecondsPerQuarter >> 16), std::uint8_t(microsecondsPerQuarter >> 8),
                    std::uint8_t(microsecondsPerQuarter)});
    conductor.meta(0, 0x58, {4, 2, 24, 8});   // 4/4
    conductor.meta(0, 0x59, {0, 1});          // A minor

    // General MIDI programs, numbered from 0.
    tracks[1].setUp("Bass", 0, 38, 90, 64, 30, 20);       // Synth Bass 1
    tracks[2].setUp("Pad", 1, 89, 80, 50, 110, 80);        // Pad 2 (warm)
    tracks[3].setUp("Arpeggio", 2, 98, 64, 84, 100, 40);   // FX 3 (crystal)
    tracks[4].setUp("Melody", 3, 80, 78, 70, 90, 30);      // Lead 1 (square)
    tracks[4].control(0, 1, 24);                           // a little vibrato
    tracks[5].setUp("Drums", 9, -1, 72, 64, 40, 0);        // percussion channel
    writeBass(tracks[1]);
    writePad(tracks[2]);
    writeArpeggio(tracks[3]);
    writeMelody(tracks[4]);
    writeDrums(tracks[5]);
    return smfBytes(tracks);
}

// The game's own soundfont: only what the tune plays. The tune's bytes are
// read back for the programs each channel plays and the notes it plays on
// them; every program gets one synthesised, looped sample sounding over just
// those notes, and the percussion channel a kit of the drums it strikes.
// Beside them only program 0, a plain tone: the synthesiser's fallback.
// Written as a SoundFont 2 file (RIFF "sfbk"), which the music's synthesiser
// loads instead of a General MIDI set of several megabytes.
#include "common/image.h"
#include "sound/sounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

constexpr float twoPi = 6.28318530718f;
constexpr int percussionChannel = 9;
constexpr int drumBank = 128;

// ---- What the tune plays ---------------------------------------------------------

struct TuneUse {
    std::map<int, std::set<int>> notesByProgram;   // melodic programs and their notes
    std::set<int> drumNotes;
};

std::uint32_t readVariableLength(const std::vector<std::uint8_t>& midi, std::size_t& at, std::size_t end)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4 && at < end; ++i) {
        const std::uint8_t b = midi[at++];
        value = (value << 7) | (b & 0x7F);
        if (!(b & 0x80))
            break;
    }
    return value;
}

// Walks every track of the Standard MIDI File (as composeMusic writes it,
// running status allowed) and notes each sounding note-on.
TuneUse tuneUse(const std::vector<std::uint8_t>& midi)
{
    TuneUse use;
    std::array<int, 16> program{};
    std::size_t at = 14;
    while (at + 8 <= midi.size()) {
        const std::size_t length = (std::size_t(midi[at + 4]) << 24) | (midi[at + 5] << 16) | (midi[at + 6] << 8) |
                                   midi[at + 7];
        const bool track = std::memcmp(&midi[at], "MTrk", 4) == 0;
        at += 8;
        const std::size_t end = std::min(midi.size(), at + length);
        int running = 0;
        while (track && at < end) {
            readVariableLength(midi, at, end);
            if (at >= end)
                break;
            int status = midi[at];
            if (status & 0x80)
                ++at;
            else
                status = running;
            if (status == 0xFF || status == 0xF0 || status == 0xF7) {
                if (status == 0xFF)
                    ++at;
                at += readVariableLength(midi, at, end);
                running = 0;
                continue;
            }
            running = status;
            const int kind = status & 0xF0, channel = status & 0x0F;
            const std::size_t size = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
            if (at + size > end)
                break;
            if (kind == 0xC0)
                program[channel] = midi[at];
            if (kind == 0x90 && midi[at + 1] > 0) {
                if (channel == percussionChannel)
                    use.drumNotes.insert(midi[at]);
                else
                    use.notesByProgram[program[channel]].insert(midi[at]);
            }
            at += size;
        }
        at = end;
    }
    return use;
}

// ---- Voices ---------------------------------------------------------------------

float noteFrequency(int note) { return 440.0f * std::pow(2.0f, float(note - 69) / 12.0f); }

// The volume envelope of a voice, in seconds and decibels of attenuation.
struct Envelope {
    float attack, hold, decay, sustainDb, release;
};

// A sound made of partials, each a whole number of cycles of the loop, so
// the loop repeats without a seam. `cycles` is the fundamental's cycles per
// loop; a partial is (multiple of the fundamental, cycles offset, amplitude).
struct Partial {
    float harmonic;
    int detuneCycles;
    float amplitude;
};

struct TonalVoice {
    const char* name;
    float loopSeconds;
    std::vector<Partial> (*partials)(float frequency);
    Envelope envelope;
    int attenuation;   // centibels, to balance the parts
};

// Harmonics of a sawtooth softened above `corner` Hz, up to 12 kHz.
std::vector<Partial> softSaw(float frequency, float corner, int detune)
{
    std::vector<Partial> out;
    for (int n = 1; n * frequency < 12000.0f; ++n) {
        const float f = n * frequency;
        out.push_back({float(n), detune, 1.0f / (float(n) * (1.0f + (f / corner) * (f / corner)))});
    }
    return out;
}

std::vector<Partial> bassPartials(float frequency) { return softSaw(frequency, 700.0f, 0); }

std::vector<Partial> padPartials(float frequency)
{
    // Two saws a cycle a second apart beat slowly against each other.
    std::vector<Partial> out = softSaw(frequency, 1400.0f, 0);
    for (Partial p : softSaw(frequency, 1400.0f, 1))
        out.push_back({p.harmonic, int(p.harmonic), 0.8f * p.amplitude});
    return out;
}

std::vector<Partial> crystalPartials(float)
{
    return {{1, 0, 1.0f}, {2, 0, 0.35f}, {3, 0, 0.12f}, {4, 0, 0.22f}, {6, 0, 0.06f}};
}

std::vector<Partial> squarePartials(float frequency)
{
    std::vector<Partial> out;
    for (int n = 1; n * frequency < 9000.0f; n += 2)
        out.push_back({float(n), 0, 1.0f / float(n) * (1.0f - 0.4f * float(n) * frequency / 9000.0f)});
    return out;
}

std::vector<Partial> sinePartials(float) { return {{1, 0, 1.0f}, {2, 0, 0.2f}}; }

// The voices by General MIDI program (numbered from 0); a program without
// its own voice gets the plain one.
TonalVoice voiceFor(int program)
{
    switch (program) {
    case 38: return {"Synth Bass", 0.25f, bassPartials, {0.004f, 0.02f, 0.6f, 9.0f, 0.08f}, 30};
    case 89: return {"Warm Pad", 1.0f, padPartials, {0.45f, 0.0f, 0.0f, 0.0f, 1.2f}, 60};
    case 98: return {"Crystal", 0.25f, crystalPartials, {0.002f, 0.0f, 1.4f, 40.0f, 0.4f}, 20};
    case 80: return {"Square Lead", 0.25f, squarePartials, {0.01f, 0.0f, 0.0f, 0.0f, 0.12f}, 200};
    default: return {"Plain", 0.25f, sinePartials, {0.01f, 0.0f, 0.3f, 6.0f, 0.2f}, 20};
    }
}

// A drum: an unlooped sample played at the pitch it was made at.
struct DrumVoice {
    const char* name;
    float seconds;
    float (*sample)(float t, Random& noise, float& memory);
    float release;
};

float kick(float t, Random&, float&)
{
    const float phase = twoPi * (48.0f * t + (150.0f - 48.0f) * 0.04f * (1.0f - std::exp(-t / 0.04f)));
    return std::sin(phase) * std::exp(-t / 0.16f) + 0.3f * std::exp(-t / 0.003f);
}

float clap(float t, Random& noise, float&)
{
    const float bursts = t < 0.03f ? std::exp(-std::fmod(t, 0.01f) / 0.003f) : std::exp(-(t - 0.03f) / 0.09f);
    return (noise.uniform() * 2 - 1) * bursts;
}

// White noise through a first difference: the hiss of a cymbal.
float hiss(Random& noise, float& last)
{
    const float n = noise.uniform() * 2 - 1, out = n - last;
    last = n;
    return 0.6f * out;
}

float closedHat(float t, Random& noise, float& last) { return hiss(noise, last) * std::exp(-t / 0.02f); }

float openHat(float t, Random& noise, float& last) { return hiss(noise, last) * std::exp(-t / 0.15f); }

float crash(float t, Random& noise, float& last)
{
    const float ring = 0.2f * (std::sin(twoPi * 3150.0f * t) + std::sin(twoPi * 4720.0f * t));
    return (hiss(noise, last) + ring) * std::exp(-t / 0.45f) * std::min(1.0f, t / 0.002f);
}

float tick(float t, Random& noise, float&) { return (noise.uniform() * 2 - 1) * std::exp(-t / 0.03f); }

DrumVoice drumFor(int note)
{
    switch (note) {
    case 35:
    case 36: return {"Kick", 0.4f, kick, 0.3f};
    case 39: return {"Clap", 0.3f, clap, 0.3f};
    case 42: return {"Closed Hat", 0.12f, closedHat, 0.1f};
    case 46: return {"Open Hat", 0.5f, openHat, 0.5f};
    case 49: return {"Crash", 1.6f, crash, 1.6f};
    default: return {"Tick", 0.15f, tick, 0.1f};
    }
}

// ---- SoundFont 2 ----------------------------------------------------------------

// Generator operators of the format.
enum Generator : std::uint16_t {
    genAttackVolEnv = 34,
    genHoldVolEnv = 35,
    genDecayVolEnv = 36,
    genSustainVolEnv = 37,
    genReleaseVolEnv = 38,
    genInstrument = 41,
    genKeyRange = 43,
    genInitialAttenuation = 48,
    genSampleId = 53,
    genSampleModes = 54,
    genOverridingRootKey = 58,
};

constexpr int sampleRate = soundRate;
constexpr int sampleGuard = 46;   // zero samples after every sample
constexpr int loopGuard = 8;      // samples before and after a loop

struct Bytes {
    std::vector<std::uint8_t> data;
    void u8(int v) { data.push_back(std::uint8_t(v)); }
    void u16(int v)
    {
        u8(v & 0xFF);
        u8((v >> 8) & 0xFF);
    }
    void u32(std::uint32_t v)
    {
        u16(int(v & 0xFFFF));
        u16(int(v >> 16));
    }
    void name(const std::string& text, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i)
            u8(i < text.size() && i + 1 < size ? text[i] : 0);
    }
    void append(const Bytes& other) { data.insert(data.end(), other.data.begin(), other.data.end()); }
};

Bytes chunk(const char* tag, const Bytes& body)
{
    Bytes out;
    out.data.assign(tag, tag + 4);
    out.u32(std::uint32_t(body.data.size()));
    out.append(body);
    if (body.data.size() % 2)
        out.u8(0);
    return out;
}

Bytes list(const char* type, const std::vector<Bytes>& chunks)
{
    Bytes body;
    body.data.assign(type, type + 4);
    for (const Bytes& c : chunks)
        body.append(c);
    return chunk("LIST", body);
}

struct Sample {
    std::string name;
    std::uint32_t start, end, loopStart, loopEnd;
    int rootKey;
};

struct Zone {
    std::vector<std::pair<Generator, int>> generators;
};

struct Font {
    std::vector<std::int16_t> pcm;
    std::vector<Sample> samples;
    struct Instrument {
        std::string name;
        std::vector<Zone> zones;
    };
    std::vector<Instrument> instruments;
    struct Preset {
        std::string name;
        int program, bank, instrument;
    };
    std::vector<Preset> presets;

    int addSample(const std::string& name, const std::vector<float>& wave, int loopStart, int loopEnd, int root)
    {
        const auto start = std::uint32_t(pcm.size());
        for (float s : wave)
            pcm.push_back(std::int16_t(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f)));
        samples.push_back({name, start, std::uint32_t(pcm.size()), start + std::uint32_t(loopStart),
                           start + std::uint32_t(loopEnd), root});
        pcm.resize(pcm.size() + sampleGuard, 0);
        return int(samples.size()) - 1;
    }
};

int timecents(float seconds) { return int(std::lround(1200.0f * std::log2(std::max(seconds, 0.001f)))); }
int keyRange(int low, int high) { return low | (high << 8); }

void normalise(std::vector<float>& wave, float peak)
{
    float largest = 0;
    for (float s : wave)
        largest = std::max(largest, std::fabs(s));
    if (largest > 0)
        for (float& s : wave)
            s *= peak / largest;
}

// A tonal voice's looped sample at `root`: guard samples, then a loop of a
// whole number of the fundamental's cycles, then guard samples.
void addTonal(Font& font, int program, int low, int high)
{
    const TonalVoice voice = voiceFor(program);
    const int root = (low + high + 1) / 2;
    const float target = noteFrequency(root);
    const int cycles = std::max(1, int(std::lround(target * voice.loopSeconds)));
    const int loop = int(std::lround(float(cycles) * sampleRate / target));
    const float frequency = float(cycles) * sampleRate / float(loop);   // exact for the loop
    std::vector<float> wave(std::size_t(loop + 2 * loopGuard));
    for (const Partial& p : voice.partials(frequency)) {
        const double step = (double(p.harmonic) * cycles + p.detuneCycles) / double(loop);
        for (std::size_t i = 0; i < wave.size(); ++i) {
            const double phase = std::fmod(step * (double(i) - loopGuard), 1.0);
            wave[i] += p.amplitude * float(std::sin(double(twoPi) * phase));
        }
    }
    normalise(wave, 0.9f);
    const int sample = font.addSample(voice.name, wave, loopGuard, loopGuard + loop, root);
    const Envelope& e = voice.envelope;
    Zone zone;
    zone.generators = {{genKeyRange, keyRange(low, high)},
                       {genAttackVolEnv, timecents(e.attack)},
                       {genHoldVolEnv, timecents(e.hold)},
                       {genDecayVolEnv, timecents(e.decay)},
                       {genSustainVolEnv, int(e.sustainDb * 10)},
                       {genReleaseVolEnv, timecents(e.release)},
                       {genInitialAttenuation, voice.attenuation},
                       {genSampleModes, 1},
                       {genSampleId, sample}};
    font.instruments.push_back({voice.name, {zone}});
    font.presets.push_back({voice.name, program, 0, int(font.instruments.size()) - 1});
}

void addDrumKit(Font& font, const std::set<int>& notes)
{
    Font::Instrument kit{"Drums", {}};
    for (int note : notes) {
        const DrumVoice drum = drumFor(note);
        Random noise(std::uint64_t(note) * 7919u + 1u);
        float memory = 0;
        std::vector<float> wave(std::size_t(drum.seconds * sampleRate));
        for (std::size_t i = 0; i < wave.size(); ++i) {
            const float t = float(i) / sampleRate;
            const float fadeOut = std::min(1.0f, (drum.seconds - t) / 0.01f);
            wave[i] = drum.sample(t, noise, memory) * fadeOut;
        }
        normalise(wave, 0.9f);
        const int sample = font.addSample(drum.name, wave, 0, int(wave.size()), note);
        Zone zone;
        zone.generators = {{genKeyRange, keyRange(note, note)},
                           {genReleaseVolEnv, timecents(drum.release)},
                           {genInitialAttenuation, 60},
                           {genOverridingRootKey, note},
                           {genSampleId, sample}};
        kit.zones.push_back(zone);
    }
    font.instruments.push_back(kit);
    font.presets.push_back({"Drums", 0, drumBank, int(font.instruments.size()) - 1});
}

std::vector<std::uint8_t> fontBytes(const Font& font)
{
    Bytes version, engine, name;
    version.u16(2);
    version.u16(1);
    engine.name("EMU8000", 8);
    name.name("Orbitor", 8);

    Bytes pcm;
    for (std::int16_t s : font.pcm)
        pcm.u16(std::uint16_t(s));

    Bytes phdr, pbag, pmod, pgen, inst, ibag, imod, igen, shdr;
    int bag = 0;
    for (const Font::Preset& p : font.presets) {
        phdr.name(p.name, 20);
        phdr.u16(p.program);
        phdr.u16(p.bank);
        phdr.u16(bag++);
        phdr.u32(0);
        phdr.u32(0);
        phdr.u32(0);
        pbag.u16(int(pgen.data.size() / 4));
        pbag.u16(0);
        pgen.u16(genInstrument);
        pgen.u16(p.instrument);
    }
    phdr.name("EOP", 20);
    phdr.u16(0);
    phdr.u16(0);
    phdr.u16(bag);
    phdr.u32(0);
    phdr.u32(0);
    phdr.u32(0);
    pbag.u16(int(pgen.data.size() / 4));
    pbag.u16(0);
    pmod.data.resize(10, 0);
    pgen.u32(0);

    int zones = 0;
    for (const Font::Instrument& i : font.instruments) {
        inst.name(i.name, 20);
        inst.u16(zones);
        for (const Zone& z : i.zones) {
            ibag.u16(int(igen.data.size() / 4));
            ibag.u16(0);
            for (const auto& [op, amount] : z.generators) {
                igen.u16(op);
                igen.u16(amount & 0xFFFF);
            }
            ++zones;
        }
    }
    inst.name("EOI", 20);
    inst.u16(zones);
    ibag.u16(int(igen.data.size() / 4));
    ibag.u16(0);
    imod.data.resize(10, 0);
    igen.u32(0);

    for (const Sample& s : font.samples) {
        shdr.name(s.name, 20);
        for (std::uint32_t v : {s.start, s.end, s.loopStart, s.loopEnd, std::uint32_t(sampleRate)})
            shdr.u32(v);
        shdr.u8(s.rootKey);
        shdr.u8(0);
        shdr.u16(0);
        shdr.u16(1);   // mono
    }
    shdr.name("EOS", 20);
    shdr.data.resize(shdr.data.size() + 26, 0);

    Bytes riff;
    riff.data = {'s', 'f', 'b', 'k'};
    riff.append(list("INFO", {chunk("ifil", version), chunk("isng", engine), chunk("INAM", name)}));
    riff.append(list("sdta", {chunk("smpl", pcm)}));
    riff.append(list("pdta", {chunk("phdr", phdr), chunk("pbag", pbag), chunk("pmod", pmod), chunk("pgen", pgen),
                              chunk("inst", inst), chunk("ibag", ibag), chunk("imod", imod), chunk("igen", igen),
                              chunk("shdr", shdr)}));
    return chunk("RIFF", riff).data;
}

}   // namespace

std::vector<std::uint8_t> soundFontFor(const std::vector<std::uint8_t>& midi)
{
    const TuneUse use = tuneUse(midi);
    Font font;
    for (const auto& [program, notes] : use.notesByProgram)
        addTonal(font, program, *notes.begin(), *notes.rbegin());
    // The synthesiser starts every channel on program 0 and falls back to it
    // for a program the font lacks; without it, it complains about every
    // channel at start-up. A plain tone over the whole keyboard.
    if (!use.notesByProgram.count(0))
        addTonal(font, 0, 0, 127);
    if (!use.drumNotes.empty())
        addDrumKit(font, use.drumNotes);
    return fontBytes(font);
}

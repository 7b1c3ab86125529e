// The two sound effects, synthesised sample by sample from fixed seeds.
#include "common/image.h"
#include "sound/sounds.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float twoPi = 6.28318530718f;

// Coefficient of a one-pole low-pass filter with the given corner frequency.
float lowPassCoefficient(float cutoff, int rate) { return 1.0f - std::exp(-twoPi * cutoff / float(rate)); }

// Rises over `attack` seconds from the start and falls to zero over `release`
// seconds before `length`, so the sample neither clicks in nor out.
float edgeRamp(float t, float length, float attack, float release)
{
    float k = 1.0f;
    if (t < attack)
        k *= t / attack;
    if (t > length - release)
        k *= std::max(0.0f, (length - t) / release);
    return k;
}

void normalise(std::vector<float>& samples, float peak)
{
    float largest = 0.0f;
    for (float s : samples)
        largest = std::max(largest, std::fabs(s));
    if (largest > 0.0f)
        for (float& s : samples)
            s *= peak / largest;
}

}   // namespace

std::vector<float> synthLaser(int rate)
{
    const float length = 0.4f;
    std::vector<float> out(std::size_t(length * float(rate)));
    float phase = 0.0f, phaseHigh = 0.0f;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float t = float(i) / float(rate);
        // The pitch drops fast from a bright whistle to a low buzz, with a quick
        // warble on top.
        const float warble = 1.0f + 0.04f * std::sin(twoPi * 38.0f * t);
        const float frequency = (170.0f + 2600.0f * std::exp(-t / 0.065f)) * warble;
        phase = std::fmod(phase + twoPi * frequency / float(rate), twoPi);
        phaseHigh = std::fmod(phaseHigh + twoPi * frequency * 1.503f / float(rate), twoPi);
        const float tone = 0.55f * std::sin(phase) + 0.35f * std::tanh(4.0f * std::sin(phase)) +
                           0.25f * std::sin(phaseHigh) * std::exp(-t / 0.05f);
        const float envelope = std::exp(-t / 0.13f) * edgeRamp(t, length, 0.002f, 0.03f);
        out[i] = tone * envelope;
    }
    normalise(out, 0.7f);
    return out;
}

std::vector<float> synthExplosion(int rate)
{
    const float length = 1.0f;
    std::vector<float> out(std::size_t(length * float(rate)));
    Random random(0xE4B10510ull);
    float burst = 0.0f, rumbleA = 0.0f, rumbleB = 0.0f, crackle = 0.0f, thumpPhase = 0.0f;
    const float rumbleK = lowPassCoefficient(140.0f, rate);
    const float crackleDecay = std::exp(-1.0f / (0.003f * float(rate)));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float t = float(i) / float(rate);
        const float white = random.range(-1.0f, 1.0f);
        // The burst: noise whose brightness closes down as the blast fades.
        const float cutoff = 300.0f + 6500.0f * std::exp(-t / 0.12f);
        burst += lowPassCoefficient(cutoff, rate) * (white - burst);
        const float burstLevel = std::exp(-t / 0.16f);
        // The rumble: twice-filtered noise, slower to die.
        rumbleA += rumbleK * (white - rumbleA);
        rumbleB += rumbleK * (rumbleA - rumbleB);
        const float rumbleLevel = 7.0f * std::exp(-t / 0.42f);
        // A falling low thump under everything.
        const float thumpFrequency = 34.0f + 50.0f * std::exp(-t / 0.15f);
        thumpPhase = std::fmod(thumpPhase + twoPi * thumpFrequency / float(rate), twoPi);
        const float thump = std::sin(thumpPhase) * std::exp(-t / 0.3f);
        // Crackle: sparse pops during the first half second.
        if (t < 0.5f && random.uniform() < 0.0025f * (1.0f - t / 0.5f))
            crackle = random.range(-1.0f, 1.0f);
        crackle *= crackleDecay;
        out[i] = (0.8f * burst * burstLevel + rumbleB * rumbleLevel + 0.5f * thump + 0.35f * crackle) *
                 edgeRamp(t, length, 0.003f, 0.08f);
    }
    normalise(out, 0.89f);
    return out;
}

#include "DemoSignal.h"

#include <cmath>

namespace
{
constexpr double twoPi = juce::MathConstants<double>::twoPi;
constexpr double stepSeconds = 0.125; // a sixteenth note at 120 BPM
constexpr int stepsPerBar = 16;
constexpr int bars = 4;

// Adds `voice (t)` (t in seconds since the hit) from `startSeconds` on, for
// `lengthSeconds`, with the given left/right gains.
template <typename Voice>
void addVoice (juce::AudioBuffer<float>& out, double startSeconds, double lengthSeconds, float left, float right,
               Voice&& voice)
{
    const int start = (int) std::lround (startSeconds * DemoSignal::sampleRate);
    const int end = juce::jmin (out.getNumSamples(), start + (int) (lengthSeconds * DemoSignal::sampleRate));

    for (int i = start; i < end; ++i)
    {
        const auto x = voice ((i - start) / DemoSignal::sampleRate);
        out.getWritePointer (0)[i] += left * (float) x;
        out.getWritePointer (1)[i] += right * (float) x;
    }
}

void addKick (juce::AudioBuffer<float>& out, double at, float gain)
{
    double phase = 0.0;
    addVoice (out, at, 0.5, gain, gain, [&phase] (double t)
    {
        // The pitch falls from about 160 Hz to 45 Hz; the first milliseconds give the click.
        phase += twoPi * (45.0 + 115.0 * std::exp (-t * 28.0)) / DemoSignal::sampleRate;
        const double body = std::sin (phase) * std::exp (-t * 6.5);
        const double click = std::exp (-t * 900.0) * 0.6;
        return std::tanh (1.8 * (body + click));
    });
}

void addSnare (juce::AudioBuffer<float>& out, double at, float gain, juce::Random& random)
{
    // Separate noise per side makes the snare a little wide.
    for (int ch = 0; ch < 2; ++ch)
    {
        float previous = 0.0f;
        addVoice (out, at, 0.35, ch == 0 ? gain : 0.0f, ch == 1 ? gain : 0.0f, [&] (double t)
        {
            const float noise = random.nextFloat() * 2.0f - 1.0f;
            const float bright = noise - 0.7f * previous;
            previous = noise;
            const double body = std::sin (twoPi * 185.0 * t) * std::exp (-t * 30.0);
            return 0.55 * body + 0.5 * bright * std::exp (-t * 17.0);
        });
    }
}

void addHat (juce::AudioBuffer<float>& out, double at, bool open, float gain, float pan, juce::Random& random)
{
    float x1 = 0.0f, x2 = 0.0f;
    const double decay = open ? 9.0 : 55.0;

    addVoice (out, at, open ? 0.45 : 0.08, gain * (1.0f - pan), gain * pan, [&] (double t)
    {
        // A second difference of white noise leaves mostly the top octaves.
        const float x = random.nextFloat() * 2.0f - 1.0f;
        const float high = 0.25f * (x - 2.0f * x1 + x2);
        x2 = x1;
        x1 = x;
        return high * std::exp (-t * decay);
    });
}

void addBassNote (juce::AudioBuffer<float>& out, double at, double length, double frequency, float gain)
{
    addVoice (out, at, length, gain, gain, [=] (double t)
    {
        // A band-limited saw: harmonics up to the eighth.
        double saw = 0.0;
        for (int n = 1; n <= 8; ++n)
            saw += std::sin (twoPi * frequency * n * t) / n;

        const double attack = juce::jmin (1.0, t / 0.004);
        const double release = juce::jmin (1.0, (length - t) / 0.02);
        return saw * attack * release * (0.6 + 0.4 * std::exp (-t * 12.0));
    });
}

struct BassNote
{
    int step, lengthSteps;
    double frequency;
};

constexpr double e1 = 41.20, g1 = 49.00, a1 = 55.00, d2 = 73.42;
const BassNote bassRiff[] = { { 0, 2, e1 }, { 3, 1, e1 }, { 6, 2, g1 }, { 8, 2, a1 },
                              { 11, 1, a1 }, { 12, 2, g1 }, { 14, 2, d2 } };
} // namespace

juce::AudioBuffer<float> DemoSignal::generate()
{
    juce::AudioBuffer<float> out (numChannels, (int) (lengthSeconds * sampleRate));
    out.clear();
    juce::Random random (20240611);

    for (int bar = 0; bar < bars; ++bar)
    {
        const bool fill = bar % 2 == 1;

        for (int step = 0; step < stepsPerBar; ++step)
        {
            const double at = (bar * stepsPerBar + step) * stepSeconds;

            if (step == 0 || step == 8 || step == 10 || (fill && step == 15))
                addKick (out, at, step == 15 ? 0.6f : 0.9f);

            if (step == 4 || step == 12)
                addSnare (out, at, 0.6f, random);

            if (step % 2 == 0)
            {
                const bool open = fill && step == 14;
                addHat (out, at, open, step % 4 == 0 ? 0.35f : 0.22f, open ? 0.35f : 0.65f, random);
            }
        }

        for (const auto& note : bassRiff)
            addBassNote (out, (bar * stepsPerBar + note.step) * stepSeconds, note.lengthSteps * stepSeconds * 0.9,
                         note.frequency, 0.28f);
    }

    const float peak = juce::jmax (out.getMagnitude (0, 0, out.getNumSamples()),
                                   out.getMagnitude (1, 0, out.getNumSamples()));
    out.applyGain (juce::Decibels::decibelsToGain (-1.0f) / peak);
    return out;
}

#include "ReferenceCompressor.h"

#include <algorithm>
#include <cmath>

ReferenceCompressor::ReferenceCompressor (const PhysicsCompressor& c)
    : settings { c.thresholdDb,     c.ratio,          c.kneeDb,
                 c.rangeDb,         c.physicsMode,    c.safety,
                 c.stability,       c.scB0,           c.scB1,
                 c.scB2,            c.scA1,           c.scA2,
                 c.bigChangeThresholdDb,              c.forceMultiplier,
                 c.damping,         c.releaseMode,    c.rangeExtreme,
                 c.forceExtreme,    c.dampingExtreme, c.oversamplingFactor,
                 c.sampleRate,      c.attackCoeff,    c.releaseCoeff,
                 c.mass,            c.peakHoldDecay,  c.effectiveHoldMs,
                 c.effectiveReleaseMs },
      state { c.scX1,         c.scX2,        c.scY1,          c.scY2,
              c.previousStaticReductionDb,   c.bigChange,     c.gainReductionDb,
              c.envelopeDb,   c.holdTimerMs, c.holdLevelDb,   c.velocity,
              c.position,     c.force,       c.acceleration,  c.smoothedGain,
              c.detectorDb,   c.peakHoldDb,  c.peakDropping,  c.stabilityReductionDb }
{
}

void ReferenceCompressor::process (float* samples, int numSamples, bool oversampled)
{
    const int controlStep = oversampled ? std::max (settings.oversamplingFactor, 1) : 1;

    for (int i = 0; i < numSamples; ++i)
        samples[i] = processSample (samples[i], i % controlStep == 0);
}

float ReferenceCompressor::processSample (float x, bool runControl)
{
    const float detectorInput = filterDetectorInput (x);

    if (runControl)
        runControlStep (detectorInput);

    state.smoothedGain = 0.999f * state.smoothedGain + 0.0009999871f * std::pow (10.0f, state.gainReductionDb / 20.0f);
    return x * state.smoothedGain;
}

float ReferenceCompressor::filterDetectorInput (float x)
{
    // The production code treats a non-finite sample as silence for the
    // detector, so that it cannot poison the filter and detector state.
    const float input = std::isfinite (x) ? x : 0.0f;

    if (settings.scB0 == 0.0f)
        return input;

    const float y = settings.scB0 * input + settings.scB1 * state.scX1 + settings.scB2 * state.scX2
                    - settings.scA1 * state.scY1 - settings.scA2 * state.scY2;
    state.scX2 = state.scX1;
    state.scX1 = input;
    state.scY2 = state.scY1;
    state.scY1 = y;
    return y;
}

void ReferenceCompressor::runControlStep (float detectorInput)
{
    const float levelDb =
        std::clamp (20.0f * std::log10 (std::max ({ std::abs (detectorInput), 1.0e-6f, 1.0e-5f })), -120.0f, 120.0f);

    followPeak (levelDb);
    float g = targetReductionDb (levelDb);

    const float s = settings.stability / 100.0f;
    if (s > 0.0f)
    {
        g = g + (state.stabilityReductionDb - g) * 0.999f * s;
        state.stabilityReductionDb = g;
    }

    if (state.peakDropping && g < state.gainReductionDb - 6.0f)
        g = state.gainReductionDb - 6.0f;

    state.detectorDb = levelDb;

    if (settings.effectiveHoldMs > 0.0f)
        g = applyHold (g, levelDb);

    const float e = followEnvelope (g);

    if (settings.physicsMode == 0 || settings.mass <= 0.0f)
    {
        state.position = e;
        state.gainReductionDb = e;
    }
    else if (settings.releaseMode == 1)
    {
        state.gainReductionDb = moveAir (e);
    }
    else
    {
        state.gainReductionDb = moveBox (e);
    }
}

void ReferenceCompressor::followPeak (float levelDb)
{
    if (levelDb > state.peakHoldDb)
    {
        state.peakHoldDb = levelDb;
        state.peakDropping = false;
    }
    else
    {
        state.peakHoldDb = levelDb + (state.peakHoldDb - levelDb) * settings.peakHoldDecay;
        state.peakDropping = state.peakHoldDb - levelDb > 16.0f * settings.stability / 100.0f + 4.0f;
    }
}

bool ReferenceCompressor::safetyActive() const
{
    return state.bigChange && settings.safety > 0.01f;
}

float ReferenceCompressor::targetReductionDb (float levelDb)
{
    const float L = levelDb, T = settings.thresholdDb, F = settings.forceMultiplier;
    const float slope = 1.0f - 1.0f / settings.ratio;

    float H = settings.rangeExtreme ? std::min (settings.rangeDb, 80.0f) * 4.0f : std::min (settings.rangeDb, 40.0f) * 3.0f;

    const float w = L > T ? std::min (H, slope * (L - T)) : 0.0f;
    state.bigChange = std::abs (w - state.previousStaticReductionDb) >= settings.bigChangeThresholdDb;
    state.previousStaticReductionDb = w;

    float k = settings.kneeDb;
    if (safetyActive())
        k = std::max ((1.0f - 0.7f * settings.safety / 100.0f) * settings.kneeDb, 0.1f);

    // The production code skips the knee whenever the knee setting is 0 (and
    // so k <= 0 never reaches it): the curve divides by the setting, so a
    // knee widened to the 0.1 dB minimum from a setting of 0 would divide by zero.
    float v = L;
    if (settings.kneeDb > 0.0f)
    {
        const float K = T - k / 2.0f;
        if (L >= K && L <= T + k / 2.0f)
            v = K + (L - K) * (L - K) / settings.kneeDb;
    }

    if (v <= T)
        return 0.0f;

    float r = slope * (v - T);

    if (settings.forceExtreme && F > 1.0f)
        r *= F <= 20.0f ? 1.0f + 0.5f * (F - 1.0f) / 19.0f : 1.5f + 1.5f * (F - 20.0f) / 180.0f;

    const float b = std::min ((v - T) / 40.0f, 1.0f);

    switch (settings.physicsMode)
    {
        case 1:
            H *= 0.8f;
            r *= 1.0f + 0.5f * (1.0f - std::pow (b, 0.6f));
            break;
        case 2:
            r *= 1.0f + 0.5f * (1.0f - std::pow (b, 0.8f));
            break;
        case 3:
        {
            float p = 1.2f, h = 0.5f;
            if (F > 1.0f)
            {
                p = settings.forceExtreme ? std::max (1.2f - 1.1f * (F - 1.0f) / 199.0f, 0.1f)
                                          : std::max (1.2f - 0.9f * (F - 1.0f) / 19.0f, 0.3f);
                h = settings.forceExtreme ? 1.0f : 0.5f;
            }
            r *= 1.0f + h * (1.0f - std::pow (b, p));
            H *= 1.3f;
            break;
        }
        default:
            break;
    }

    return -std::min (H, r);
}

float ReferenceCompressor::applyHold (float targetDb, float levelDb)
{
    if (targetDb < state.holdLevelDb - 1.5f || (levelDb > settings.thresholdDb - 3.0f && state.holdTimerMs > 20.0f))
    {
        state.holdLevelDb = targetDb;
        state.holdTimerMs = 0.0f;
        return targetDb;
    }

    state.holdTimerMs += (float) (1000.0 / settings.sampleRate);

    const float limitMs = settings.effectiveReleaseMs > 0.0f && settings.effectiveReleaseMs < settings.effectiveHoldMs
                              ? settings.effectiveReleaseMs
                              : settings.effectiveHoldMs;

    if (state.holdTimerMs < limitMs)
        return state.holdLevelDb;

    state.holdLevelDb = std::max (0.999f * state.holdLevelDb, targetDb);
    return targetDb;
}

float ReferenceCompressor::followEnvelope (float g)
{
    const float e = state.envelopeDb;
    const float d = e - g;
    float c;

    if (e > g)
    {
        c = settings.attackCoeff;
        if (settings.effectiveReleaseMs > 100.0f && d > 1.0f)
            c = c / (1.0f + 0.3f * std::min (settings.effectiveReleaseMs / 1000.0f, 1.0f));
    }
    else
    {
        c = settings.releaseCoeff;
        const float D = settings.damping;
        if (D > 1.0f)
        {
            const float q = std::min (std::abs (d) / std::max (settings.rangeDb, 1.0f), 1.0f);
            const float u = settings.dampingExtreme ? std::min ((D - 1.0f) / 500.0f, 1.0f)
                                                    : std::min ((D - 1.0f) / 1000.0f, 1.0f);
            const float m = settings.dampingExtreme ? 9.0f : 2.0f;
            c = std::pow (c, 1.0f + q * u * m);
        }
    }

    state.envelopeDb = g + d * c;
    return state.envelopeDb;
}

float ReferenceCompressor::moveAir (float e)
{
    float p = state.position;

    if (e < p)
    {
        p = p + (e - p) * std::min (0.3f * settings.forceMultiplier + 0.1f, 0.95f);
    }
    else if (e > p + 0.1f)
    {
        const float openness = std::min (0.25f * std::log10 (std::max (settings.damping, 1.0f)), 1.0f);
        p = p + (e - p) * std::min ((3.0f * openness + 1.0f) * 0.005f, 0.05f);
        if (std::abs (e - p) < 0.05f)
            p = e;
    }
    else
    {
        p = e;
    }

    state.position = p;
    state.velocity = 0.0f;
    return p;
}

float ReferenceCompressor::moveBox (float e)
{
    const bool extremeForce = settings.forceExtreme, extremeDamping = settings.dampingExtreme;
    const float D = settings.damping, W = settings.mass, R = settings.rangeDb;
    const float fs = (float) settings.sampleRate;
    const float p = state.position;

    float F = settings.forceMultiplier;
    if (safetyActive())
        F *= 1.0f + 2.0f * settings.safety / 100.0f;

    const float t = e - p;

    float a = 2.0f;
    if (settings.physicsMode == 3 && F > 1.0f && t > 0.1f)
    {
        const float c = extremeForce ? std::min (2.0f * (F - 1.0f), 200.0f) : std::min (0.5f * (F - 1.0f), 50.0f);
        a = (2.0f + c) * (1.0f + 3.0f * R / 20.0f);
    }

    state.force = a * F * t;
    state.acceleration = state.force / std::max (W, 0.1f);
    if (F > 1.0f)
        state.acceleration *= 1.0f + (F - 1.0f) / 99.0f * (extremeForce ? 500.0f : 79.0f);
    else if (F < 1.0f)
        state.acceleration *= F;

    float v = state.velocity + state.acceleration / fs;

    const float X = D == 1.0f ? 0.99f
                              : 0.99f - 0.98f * std::pow (std::min ((D - 1.0f) / (extremeDamping ? 19999.0f : 9999.0f), 1.0f), 0.2f);
    v *= X;

    const float heavyLimit = extremeDamping ? 200.0f : 100.0f;
    if (D > heavyLimit && std::abs (v) > 0.1f)
        v *= 1.0f - std::min ((D - heavyLimit) / (extremeDamping ? 19800.0f : 9900.0f), 0.95f);

    if (F > 1.0f && std::abs (t) > 0.5f)
        v *= 1.0f + std::min ((F - 1.0f) / 50.0f, 0.3f);

    float n = p + v / fs;
    const float maxSpeed = extremeForce ? 100.0f : 50.0f;
    state.velocity = std::clamp (v, -maxSpeed, maxSpeed);

    const float upper = std::min (0.0f, e + 3.6f * R);
    const float lower = e - 3.6f * R;
    if (n > upper)
    {
        n = upper;
        state.velocity = std::min (0.5f * state.velocity, 0.0f);
    }
    else if (n < lower)
    {
        n = lower;
        state.velocity = std::max (0.5f * state.velocity, 0.0f);
    }

    n = n + (e - n) * 0.005f;
    if (D > 1.0f && n > e)
        n = n + std::min (D / 100.0f, 1.0f) * (e - n) * (extremeDamping ? 0.02f : 0.005f);

    state.position = n;
    return n;
}

#include "PhysicsCompressor.h"

#include "Base2Math.h"
#include "FiniteSamples.h"

// The block functions come in builds for AVX-512, AVX2 and plain x86-64, and
// the loader picks the widest the processor has: the vectorised passes then
// take 16 or 8 samples at a time instead of 4. The AVX-512 build also fuses
// multiply-adds, so its samples can differ from the others' in the last bits.
#if defined(__GNUC__) && defined(__x86_64__) && defined(__linux__) && ! defined(__AVX2__)
 #define WIDE_VECTORS_WHERE_AVAILABLE __attribute__ ((target_clones ("avx512f", "avx2", "default")))
#else
 #define WIDE_VECTORS_WHERE_AVAILABLE
#endif

namespace
{
constexpr float pi = 3.1415927f;
constexpr float sqrt2 = 1.4142135f;

// 1 - 0.999 as the float the smoother was tuned with.
constexpr float gainSmoothing = 0.999f;
constexpr float gainSmoothingComplement = 0.0009999871f;

// 10^(db/20) and 20*log10(x) through base 2; they agree with the decimal
// forms to float rounding.
constexpr float log2Of10Over20 = 0.16609640f;
constexpr float twentyLog10Of2 = 6.0205999f;

float dbToGain (float db) noexcept
{
    return base2::exp2 (db * log2Of10Over20);
}

float gainToDb (float gain) noexcept
{
    return twentyLog10Of2 * base2::log2 (gain);
}

// The base of the mode's power: the overshoot over 40 dB, at most 1. The
// floor lies below any overshoot two float levels can differ by; it keeps
// the logarithm defined where the result is not used, and the power clear of
// the subnormal range, whose arithmetic is slow.
float shapeBase (float overDb) noexcept
{
    return std::max (std::min (overDb / 40.0f, 1.0f), 1.0e-12f);
}
} // namespace

//==============================================================================
void PhysicsCompressor::prepare (double hostSampleRate, int hostMaxBlockSize)
{
    updateCoefficients();

    if (physicsMode >= 0 && physicsMode < 4)
        mass = modeMasses[physicsMode];

    sampleRate = hostSampleRate;
    maxBlockSize = std::max (hostMaxBlockSize, 0);
    updateCoefficients();
    updateOversamplingIfNeeded();
}

void PhysicsCompressor::setPhysicsMode (int newMode)
{
    // The state of one mass makes no sense for another: start it from rest.
    if (newMode != physicsMode)
    {
        holdTimerMs = 0.0f;
        holdLevelDb = 0.0f;
        velocity = 0.0f;
        position = 0.0f;
        force = 0.0f;
        acceleration = 0.0f;
    }

    physicsMode = newMode;

    if (newMode >= 0 && newMode < 4)
        mass = modeMasses[newMode];
}

//==============================================================================
void PhysicsCompressor::updateCoefficients()
{
    effectiveAttackMs = attackMs;
    effectiveReleaseMs = releaseMs;
    effectiveHoldMs = holdMs;

    if (bpmSyncEnabled && tempoFactor > 0.0)
        applyTempoSync();

    if (tilt != 0.0f)
        applyTilt();

    // Per control step at the host rate, also when running oversampled.
    const double samplesPerMs = sampleRate * (double) 0.001f;
    attackCoeff = (float) std::exp (-1.0 / (samplesPerMs * effectiveAttackMs));
    releaseCoeff = (float) std::exp (-1.0 / (samplesPerMs * effectiveReleaseMs));
}

void PhysicsCompressor::applyTempoSync()
{
    const float beat = 60000.0f / (float) (tempoFactor * 120.0);
    float attackBase, holdBase, releaseBase;

    if (bpmSyncMode != 0) // Advanced: tighter note values
    {
        attackBase = beat / 64.0f > 10.0f ? beat / 64.0f : beat / 32.0f;
        holdBase = beat / 8.0f > 150.0f ? beat / 16.0f : beat / 8.0f;
        releaseBase = beat / 4.0f;
    }
    else
    {
        attackBase = beat / 16.0f > 35.0f ? beat / 32.0f : beat / 16.0f;
        holdBase = beat / 4.0f > 150.0f ? beat / 8.0f : beat / 4.0f;
        releaseBase = beat / 2.0f;
    }

    effectiveHoldMs = juce::jlimit (0.0f, 1000.0f, holdBase + holdOffsetMs);
    effectiveReleaseMs = juce::jlimit (1.0f, 5000.0f, releaseBase + releaseOffsetMs);
    effectiveAttackMs = std::max (attackBase + attackOffsetMs, 0.1f);
}

void PhysicsCompressor::applyTilt()
{
    effectiveAttackMs *= calculateTiltMultiplierForValue (effectiveAttackMs, tilt);
    effectiveHoldMs *= calculateTiltMultiplierForValue (effectiveHoldMs, tilt);
    effectiveReleaseMs *= calculateTiltMultiplierForValue (effectiveReleaseMs, tilt);
}

float PhysicsCompressor::calculateTiltMultiplierForValue (float timeMs, float tiltPercent) const
{
    return calculateTiltMultiplier (timeMs, tiltPercent, tempoFactor * 120.0);
}

float PhysicsCompressor::calculateTiltMultiplier (float timeMs, float tiltPercent, double bpm)
{
    if (tiltPercent == 0.0f || timeMs == 0.0f)
        return 1.0f;

    const float beatMs = (float) (60000.0 / std::max (bpm, 1.0));
    const float beats = timeMs / beatMs;

    // Nearest grid entry; the strict comparison lets the lower one win a tie.
    int nearest = 0;
    for (int i = 1; i < 10; ++i)
        if (std::abs (tiltGridBeats[i] - beats) < std::abs (tiltGridBeats[nearest] - beats))
            nearest = i;

    float tilted = beats;

    if (tiltPercent < 0.0f)
    {
        if (nearest > 0)
            tilted = beats + (std::abs (tiltPercent) / 100.0f) * (tiltGridBeats[nearest - 1] - beats);
    }
    else if (nearest < 9)
    {
        tilted = beats + (tiltPercent / 100.0f) * (tiltGridBeats[nearest + 1] - beats);
    }

    return juce::jlimit (0.1f, 10.0f, tilted / beats);
}

//==============================================================================
void PhysicsCompressor::updateSidechainFilter()
{
    if (sidechainHpfHz > 0.0f && sampleRate > 0.0)
    {
        const float rate = (float) sampleRate;
        const float cutoff = std::min (sidechainHpfHz, 0.45f * rate); // stay clear of Nyquist
        const float k = std::tan (pi * cutoff / rate);
        const float kSquared = k * k;
        const float norm = 1.0f / (1.0f + sqrt2 * k + kSquared);

        scB0 = norm;
        scB1 = -2.0f * norm;
        scB2 = norm;
        scA1 = 2.0f * (kSquared - 1.0f) * norm;
        scA2 = (1.0f - sqrt2 * k + kSquared) * norm;
    }
    else
    {
        // Keep the state, so switching back on continues smoothly.
        scB0 = 0.0f;
    }
}

//==============================================================================
int PhysicsCompressor::oversamplingFactorForChoice (int choiceIndex) noexcept
{
    return choiceIndex == 0 ? 1 : (choiceIndex == 1 ? 4 : 8);
}

void PhysicsCompressor::requestOversampling (int choiceIndex)
{
    const int factor = oversamplingFactorForChoice (choiceIndex);

    // Compared with the last request, not with the factor in use: going back
    // to the factor in use while another one is pending must replace that
    // request, or the pending factor would be built against the user's choice.
    if (factor != requestedOversamplingFactor)
    {
        requestedOversamplingFactor = factor;
        oversamplingUpdatePending = true;
    }
}

void PhysicsCompressor::updateOversamplingIfNeeded()
{
    if (! oversamplingUpdatePending.load())
        return;

    oversamplingFactor = requestedOversamplingFactor;

    if (oversamplingFactor < 2)
    {
        oversampler.reset();
        oversamplingLatency = 0;
    }
    else
    {
        // 4x and 8x share this 4x chain; 8x only halves the control rate.
        auto newOversampler = std::make_unique<PolyphaseOversampler>();
        newOversampler->addOversamplingStage (0.05f, -90.0f, 0.06f, -75.0f);
        newOversampler->addOversamplingStage (0.10f, -80.0f, 0.12f, -65.0f);

        if (sampleRate > 0.0)
        {
            newOversampler->initProcessing ((size_t) oversamplerBlockLimit());
            newOversampler->reset();
            oversamplingLatency = (int) newOversampler->getLatencyInSamples();
        }

        oversampler = std::move (newOversampler);
    }

    oversamplingUpdatePending = false;
}

//==============================================================================
WIDE_VECTORS_WHERE_AVAILABLE void PhysicsCompressor::processInternal (float* samples, int numSamples, bool oversampled) noexcept
{
    BlockRun run = startBlock (samples, oversampled);

    for (int start = 0; start < numSamples; start += chunkSize)
    {
        prepareChunk (run, start, std::min (chunkSize, numSamples - start));
        runControlSteps (run);
        finishChunk (run);
    }
}

WIDE_VECTORS_WHERE_AVAILABLE void PhysicsCompressor::processPair (PhysicsCompressor& first, PhysicsCompressor& second, float* firstSamples,
                                     float* secondSamples, int numSamples, bool oversampled) noexcept
{
    // Side by side only while both take their control steps on the same samples.
    if (first.controlStepFor (oversampled) != second.controlStepFor (oversampled))
    {
        first.processInternal (firstSamples, numSamples, oversampled);
        second.processInternal (secondSamples, numSamples, oversampled);
        return;
    }

    BlockRun firstRun = first.startBlock (firstSamples, oversampled);
    BlockRun secondRun = second.startBlock (secondSamples, oversampled);

    for (int start = 0; start < numSamples; start += chunkSize)
    {
        const int length = std::min (chunkSize, numSamples - start);
        prepareChunk (firstRun, start, length);
        prepareChunk (secondRun, start, length);
        runControlStepsSideBySide (firstRun, secondRun);
        convertToGains (firstRun.steps);
        convertToGains (secondRun.steps);
        applyGainsSideBySide (firstRun, secondRun);
    }
}

PhysicsCompressor::BlockRun PhysicsCompressor::startBlock (float* samples, bool oversampled) noexcept
{
    // Until the chunk's first control step the gain of the last one holds.
    return BlockRun { *this, samples, controlStepFor (oversampled), captureBlockSettings(), dbToGain (gainReductionDb) };
}

void PhysicsCompressor::prepareChunk (BlockRun& run, int start, int length) noexcept
{
    run.chunkStart = start;
    run.chunkLength = length;
    run.firstControl = (run.controlStep - start % run.controlStep) % run.controlStep;

    auto& compressor = run.compressor;
    compressor.filterDetectorInputs (run.samples + start, length, run.firstControl, run.controlStep, run.steps);
    measureLevels (run.steps);
    compressor.shapeTargets (run.steps, run.settings.curve);
}

void PhysicsCompressor::finishChunk (BlockRun& run) noexcept
{
    convertToGains (run.steps);
    applyGains (run);
}

PhysicsCompressor::BlockSettings PhysicsCompressor::captureBlockSettings() const noexcept
{
    BlockSettings k {};
    const float d = damping;

    k.curve = curveSettings();
    k.peakHoldDecay = peakHoldDecay;
    k.peakDropThresholdDb = 16.0f * stability / 100.0f + 4.0f;
    k.stabilityWeight = stability / 100.0f;

    k.holdActive = effectiveHoldMs > 0.0f;
    k.holdRestartLevelDb = thresholdDb - 3.0f;
    k.holdStepMs = (float) (1000.0 / sampleRate);
    // A hold longer than the release would only delay the release.
    k.holdLimitMs = (effectiveReleaseMs > 0.0f && effectiveReleaseMs < effectiveHoldMs) ? effectiveReleaseMs
                                                                                       : effectiveHoldMs;

    // Long releases get a gentler attack for large steps.
    k.attackCoeff = attackCoeff;
    k.slowAttackPossible = effectiveReleaseMs > 100.0f;
    k.slowAttackCoeff = attackCoeff / (1.0f + 0.3f * std::min (effectiveReleaseMs / 1000.0f, 1.0f));

    // Damping slows the release the further it still has to travel.
    k.releaseCoeff = releaseCoeff;
    k.dampedRelease = d > 1.0f;
    k.inverseReleaseDepth = 1.0f / (rangeDb > 1.0f ? rangeDb : 1.0f);
    k.log2ReleaseCoeff = (float) std::log2 ((double) releaseCoeff);
    k.releaseDamping = dampingExtreme ? std::min ((d - 1.0f) / 500.0f, 1.0f) : std::min ((d - 1.0f) / 1000.0f, 1.0f);
    k.releaseExponentScale = dampingExtreme ? 9.0f : 2.0f;

    k.massless = physicsMode == 0 || mass <= 0.0f;
    k.air = releaseMode == 1;
    k.boostable = safety > 0.01f;

    k.airAttackRate = std::min (0.3f * forceMultiplier + 0.1f, 0.95f);
    const float openness = std::min (0.25f * std::log10 (std::max (d, 1.0f)), 1.0f);
    k.airReleaseRate = std::min ((3.0f * openness + 1.0f) * 0.005f, 0.05f);

    k.forceTerms = forceTermsFor (forceMultiplier);
    k.boostedForceTerms = forceTermsFor (forceMultiplier * (1.0f + 2.0f * safety / 100.0f));
    k.inverseSampleRate = 1.0f / (float) sampleRate;
    k.inverseMass = 1.0f / std::max (mass, 0.1f);

    if (d == 1.0f)
        k.dampingFactor = 0.99f;
    else
        k.dampingFactor = 0.99f - 0.98f * std::pow (std::min ((d - 1.0f) / (dampingExtreme ? 19999.0f : 9999.0f), 1.0f), 0.2f);

    const float heavyLimit = dampingExtreme ? 200.0f : 100.0f;
    k.heavyDamping = d > heavyLimit;
    k.heavyDampingFactor = 1.0f - std::min ((d - heavyLimit) / (dampingExtreme ? 19800.0f : 9900.0f), 0.95f);

    k.maxSpeed = forceExtreme ? 100.0f : 50.0f;
    k.travelDb = 3.6f * rangeDb;
    k.extraSettling = d > 1.0f;
    k.extraSettlingRate = std::min (d / 100.0f, 1.0f);
    k.extraSettlingScale = dampingExtreme ? 0.02f : 0.005f;
    return k;
}

PhysicsCompressor::ForceTerms PhysicsCompressor::forceTermsFor (float f) const noexcept
{
    ForceTerms t {};
    t.force = f;
    t.scaledForce = 2.0f * f;

    // Heavy mode with extra force pushes hard into deeper reduction.
    t.heavyScaledForce = t.scaledForce;
    if (f > 1.0f)
    {
        const float c = forceExtreme ? std::min (2.0f * (f - 1.0f), 200.0f) : std::min (0.5f * (f - 1.0f), 50.0f);
        t.heavyScaledForce = (2.0f + c) * (1.0f + 3.0f * rangeDb / 20.0f) * f;
    }

    t.accelerationFactor = 1.0f;
    if (f > 1.0f)
        t.accelerationFactor = 1.0f + (f - 1.0f) / 99.0f * (forceExtreme ? 500.0f : 79.0f);
    else if (f < 1.0f)
        t.accelerationFactor = f;

    t.boostFactor = f > 1.0f ? 1.0f + std::min ((f - 1.0f) / 50.0f, 0.3f) : 1.0f;
    t.velocityStep = t.accelerationFactor / std::max (mass, 0.1f) / (float) sampleRate;
    t.deepens = physicsMode == 3 && f > 1.0f;
    t.velocityGain = t.scaledForce * t.velocityStep;
    t.heavyVelocityGain = t.heavyScaledForce * t.velocityStep;
    return t;
}

void PhysicsCompressor::filterDetectorInputs (const float* samples, int numSamples, int firstControl,
                                              int controlStep, ControlSteps& steps) noexcept
{
    // A non-finite sample must not reach the filter or detector state; for
    // them it is silence. The processor zeroes the output sample.
    float input[chunkSize];
    for (int i = 0; i < numSamples; ++i)
        input[i] = isFiniteSample (samples[i]) ? samples[i] : 0.0f;

    // Runs on every sample; only the control samples are kept.
    if (scB0 != 0.0f)
    {
        const float b0 = scB0, b1 = scB1, b2 = scB2, a1 = scA1, a2 = scA2;
        float x1 = scX1, x2 = scX2, y1 = scY1, y2 = scY2;

        for (int i = 0; i < numSamples; ++i)
        {
            const float d = input[i];
            const float y = b0 * d + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
            x2 = x1;
            x1 = d;
            y2 = y1;
            y1 = y;
            input[i] = y;
        }

        scX1 = x1;
        scX2 = x2;
        scY1 = y1;
        scY2 = y2;
    }

    int count = 0;
    for (int i = firstControl; i < numSamples; i += controlStep)
        steps.detectorInput[count++] = input[i];

    steps.count = count;
}

void PhysicsCompressor::measureLevels (ControlSteps& steps) noexcept
{
    // The 1e-5 floor puts silence at -100 dB. Floor and logarithm in passes
    // of their own, since together they do not vectorise.
    for (int j = 0; j < steps.count; ++j)
        steps.levelDb[j] = std::max (std::abs (steps.detectorInput[j]), 1.0e-5f);

    for (int j = 0; j < steps.count; ++j)
        steps.levelDb[j] = juce::jlimit (-120.0f, 120.0f, gainToDb (steps.levelDb[j]));
}

void PhysicsCompressor::followPeak (StepState& state, float levelDb, const BlockSettings& k) noexcept
{
    // Without branches: noisy material makes the comparison unpredictable.
    // With the decay in [0, 1] the decayed peak lies above the level exactly
    // when the level does not rise, so the larger of the two is the new peak.
    const bool rising = levelDb > state.peakHoldDb;
    const float decayed = levelDb + (state.peakHoldDb - levelDb) * k.peakHoldDecay;
    state.peakHoldDb = std::max (decayed, levelDb);
    state.peakDropping = ! rising & (decayed - levelDb > k.peakDropThresholdDb);
}

float PhysicsCompressor::computeTargetReductionDb (float levelDb) noexcept
{
    const CurveSettings c = curveSettings();
    const float plainDb = plainReductionDb (levelDb, c);
    bigChange = std::abs (plainDb - previousStaticReductionDb) >= c.bigChangeThresholdDb;
    previousStaticReductionDb = plainDb;

    const float kneedDb = insideKnee (levelDb, bigChange, c) ? kneeCurveDb (levelDb, bigChange, c) : levelDb;
    const float overDb = kneedDb - c.thresholdDb;
    return finishTargetDb (overDb, c.shaped ? shapeGainFor (shapeBase (overDb), c) : 1.0f, c);
}

float PhysicsCompressor::plainReductionDb (float levelDb, const CurveSettings& c) noexcept
{
    const float reduction = std::min (c.plainLimitDb, c.slope * (levelDb - c.thresholdDb));
    return levelDb > c.thresholdDb ? reduction : 0.0f;
}

float PhysicsCompressor::halfKneeFor (bool bigChangeNow, const CurveSettings& c) noexcept
{
    return bigChangeNow ? c.halfBigChangeKneeDb : c.halfKneeDb;
}

bool PhysicsCompressor::insideKnee (float levelDb, bool bigChangeNow, const CurveSettings& c) noexcept
{
    const float halfKnee = halfKneeFor (bigChangeNow, c);
    return (levelDb >= c.thresholdDb - halfKnee) & (levelDb <= c.thresholdDb + halfKnee);
}

float PhysicsCompressor::kneeCurveDb (float levelDb, bool bigChangeNow, const CurveSettings& c) noexcept
{
    // The curve is scaled by the knee setting even when narrowed.
    const float kneeStart = c.thresholdDb - halfKneeFor (bigChangeNow, c);
    return kneeStart + (levelDb - kneeStart) * (levelDb - kneeStart) / c.kneeDb;
}

float PhysicsCompressor::shapeGainFor (float base, const CurveSettings& c) noexcept
{
    // The modes press harder on small overshoots than on large ones.
    const float power = base2::exp2InRange (c.shapeExponent * base2::log2 (base));
    return 1.0f + c.shapeWeight * (1.0f - power);
}

float PhysicsCompressor::finishTargetDb (float overDb, float shapeGain, const CurveSettings& c) noexcept
{
    // Multiplying by a factor of exactly 1 changes nothing, so the plain
    // curve shares this with the shaped ones.
    const float reduction = -std::min (c.shapedLimitDb, c.slope * overDb * c.forceBoostFactor * shapeGain);
    return overDb > 0.0f ? reduction : 0.0f;
}

void PhysicsCompressor::shapeTargets (ControlSteps& steps, const CurveSettings& curve) noexcept
{
    // Pass by pass, each simple enough to vectorise. A local copy of the
    // settings, so the compiler sees that the stores cannot change them.
    const CurveSettings c = curve;
    const int n = steps.count;

    for (int j = 0; j < n; ++j)
        steps.plainReductionDb[j] = plainReductionDb (steps.levelDb[j], c);

    // A big change compares with the previous step's plain reduction only,
    // so it is known for the whole chunk before the recursion runs.
    if (n > 0)
        steps.bigChange[0] = std::abs (steps.plainReductionDb[0] - previousStaticReductionDb) >= c.bigChangeThresholdDb;

    for (int j = 1; j < n; ++j)
        steps.bigChange[j] = std::abs (steps.plainReductionDb[j] - steps.plainReductionDb[j - 1]) >= c.bigChangeThresholdDb;

    // The knee curve in a pass of its own: computed inside the pick, the
    // compiler would only compute it where picked and not vectorise.
    float* overDb = steps.targetDb; // until the last pass turns it into the target
    for (int j = 0; j < n; ++j)
        overDb[j] = kneeCurveDb (steps.levelDb[j], steps.bigChange[j] != 0, c);

    for (int j = 0; j < n; ++j)
    {
        const float levelDb = steps.levelDb[j];
        overDb[j] = (insideKnee (levelDb, steps.bigChange[j] != 0, c) ? overDb[j] : levelDb) - c.thresholdDb;
    }

    if (c.shaped)
    {
        for (int j = 0; j < n; ++j)
            steps.shapeGain[j] = shapeBase (overDb[j]);
        for (int j = 0; j < n; ++j)
            steps.shapeGain[j] = shapeGainFor (steps.shapeGain[j], c);
    }
    else
    {
        std::fill (steps.shapeGain, steps.shapeGain + n, 1.0f);
    }

    for (int j = 0; j < n; ++j)
        steps.targetDb[j] = finishTargetDb (overDb[j], steps.shapeGain[j], c);

    if (n > 0)
    {
        previousStaticReductionDb = steps.plainReductionDb[n - 1];
        bigChange = steps.bigChange[n - 1] != 0;
    }
}

PhysicsCompressor::CurveSettings PhysicsCompressor::curveSettings() const noexcept
{
    CurveSettings c {};
    const float f = forceMultiplier;

    c.thresholdDb = thresholdDb;
    c.slope = 1.0f - 1.0f / ratio;
    c.plainLimitDb = rangeExtreme ? std::min (rangeDb, 80.0f) * 4.0f : std::min (rangeDb, 40.0f) * 3.0f;

    // With no knee set there is no curve to scale (a knee narrowed to its
    // 0.1 dB minimum would divide by zero), so no level may fall inside it.
    const bool kneeEnabled = kneeDb > 0.0f;
    c.kneeDb = kneeDb;
    c.halfKneeDb = kneeEnabled ? kneeDb / 2.0f : -1.0f;

    // Safety narrows the knee on sudden jumps so they are caught sooner.
    c.halfBigChangeKneeDb = ! kneeEnabled     ? -1.0f
                            : safety > 0.01f ? std::max ((1.0f - 0.7f * safety / 100.0f) * kneeDb, 0.1f) / 2.0f
                                             : c.halfKneeDb;
    c.bigChangeThresholdDb = bigChangeThresholdDb;

    c.forceBoostFactor = ! (forceExtreme && f > 1.0f) ? 1.0f
                         : f <= 20.0f ? 1.0f + 0.5f * (f - 1.0f) / 19.0f
                                      : 1.5f + 1.5f * (f - 20.0f) / 180.0f;

    c.shaped = true;
    c.shapeWeight = 0.5f;
    c.shapedLimitDb = c.plainLimitDb;

    switch (physicsMode)
    {
        case 1:
            c.shapeExponent = 0.6f;
            c.shapedLimitDb = c.plainLimitDb * 0.8f;
            break;
        case 2:
            c.shapeExponent = 0.8f;
            break;
        case 3:
            c.shapeExponent = 1.2f;
            if (f > 1.0f)
            {
                c.shapeExponent = forceExtreme ? std::max (1.2f - 1.1f * (f - 1.0f) / 199.0f, 0.1f)
                                               : std::max (1.2f - 0.9f * (f - 1.0f) / 19.0f, 0.3f);
                c.shapeWeight = forceExtreme ? 1.0f : 0.5f;
            }
            c.shapedLimitDb = c.plainLimitDb * 1.3f;
            break;
        default:
            c.shaped = false; // "Standard" and unknown modes follow the plain curve
            break;
    }

    return c;
}

void PhysicsCompressor::runControlSteps (BlockRun& run) noexcept
{
    auto& steps = run.steps;
    StepState state = run.compressor.loadStepState();

    for (int j = 0; j < steps.count; ++j)
        steps.reductionDb[j] = controlStep (state, steps.levelDb[j], steps.targetDb[j], steps.bigChange[j] != 0, run.settings);

    run.compressor.finishControlSteps (state, steps);
}

void PhysicsCompressor::runControlStepsSideBySide (BlockRun& first, BlockRun& second) noexcept
{
    // Both chunks cover the same samples at the same control rate, so they
    // have the same number of control steps.
    auto& a = first.steps;
    auto& b = second.steps;
    StepState stateA = first.compressor.loadStepState();
    StepState stateB = second.compressor.loadStepState();

    for (int j = 0; j < a.count; ++j)
    {
        a.reductionDb[j] = controlStep (stateA, a.levelDb[j], a.targetDb[j], a.bigChange[j] != 0, first.settings);
        b.reductionDb[j] = controlStep (stateB, b.levelDb[j], b.targetDb[j], b.bigChange[j] != 0, second.settings);
    }

    first.compressor.finishControlSteps (stateA, a);
    second.compressor.finishControlSteps (stateB, b);
}

float PhysicsCompressor::controlStep (StepState& state, float levelDb, float staticTargetDb, bool bigChangeNow,
                                      const BlockSettings& k) noexcept
{
    // Only what depends on the previous step is left here; the choices are
    // mostly picks rather than branches, since noisy material makes them
    // unpredictable.
    followPeak (state, levelDb, k);

    float targetDb = applyStability (state, staticTargetDb, k);

    // A level falling far below its peak must not drop the target too fast.
    targetDb = state.peakDropping ? std::max (targetDb, state.gainReductionDb - 6.0f) : targetDb;

    if (k.holdActive)
        targetDb = applyHold (state, targetDb, levelDb, k);

    const float envelope = followEnvelope (state, targetDb, k);

    if (k.massless)
    {
        state.position = envelope;
        state.gainReductionDb = envelope;
    }
    else if (k.air)
    {
        state.gainReductionDb = moveAir (state, envelope, k);
    }
    else
    {
        // Safety lends the mass extra force on sudden changes.
        const bool boosted = k.boostable && bigChangeNow;
        state.gainReductionDb = moveBox (state, envelope, boosted ? k.boostedForceTerms : k.forceTerms, k);
    }

    return state.gainReductionDb;
}

void PhysicsCompressor::finishControlSteps (const StepState& state, const ControlSteps& steps) noexcept
{
    storeStepState (state);

    if (steps.count > 0)
        detectorDb = steps.levelDb[steps.count - 1];
}

void PhysicsCompressor::convertToGains (ControlSteps& steps) noexcept
{
    for (int j = 0; j < steps.count; ++j)
        steps.gain[j] = base2::clampForExp2 (steps.reductionDb[j] * log2Of10Over20);

    for (int j = 0; j < steps.count; ++j)
        steps.gain[j] = base2::exp2InRange (steps.gain[j]);
}

PhysicsCompressor::StepState PhysicsCompressor::loadStepState() const noexcept
{
    return { peakHoldDb, peakDropping, stabilityReductionDb, holdTimerMs, holdLevelDb, envelopeDb, gainReductionDb,
             position, velocity, force, acceleration };
}

void PhysicsCompressor::storeStepState (const StepState& state) noexcept
{
    peakHoldDb = state.peakHoldDb;
    peakDropping = state.peakDropping;
    stabilityReductionDb = state.stabilityReductionDb;
    holdTimerMs = state.holdTimerMs;
    holdLevelDb = state.holdLevelDb;
    envelopeDb = state.envelopeDb;
    gainReductionDb = state.gainReductionDb;
    position = state.position;
    velocity = state.velocity;
    force = state.force;
    acceleration = state.acceleration;
}

float PhysicsCompressor::applyStability (StepState& state, float targetDb, const BlockSettings& k) noexcept
{
    const float s = k.stabilityWeight;

    if (s > 0.0f)
    {
        targetDb = targetDb + (state.stabilityReductionDb - targetDb) * 0.999f * s;
        state.stabilityReductionDb = targetDb;
    }

    return targetDb;
}

float PhysicsCompressor::applyHold (StepState& state, float targetDb, float levelDb, const BlockSettings& k) noexcept
{
    // Restart on a deeper target, or when the signal is back near threshold.
    if (targetDb < state.holdLevelDb - 1.5f || (levelDb > k.holdRestartLevelDb && state.holdTimerMs > 20.0f))
    {
        state.holdLevelDb = targetDb;
        state.holdTimerMs = 0.0f;
        return targetDb;
    }

    state.holdTimerMs += k.holdStepMs;

    if (state.holdTimerMs < k.holdLimitMs)
        return state.holdLevelDb;

    state.holdLevelDb = std::max (0.999f * state.holdLevelDb, targetDb);
    return targetDb;
}

float PhysicsCompressor::followEnvelope (StepState& state, float targetDb, const BlockSettings& k) noexcept
{
    const float e = state.envelopeDb;
    const float d = e - targetDb;

    // Attack when more reduction is wanted. A pick, not a branch, except
    // where the release needs a power: that one is too slow to wait for on
    // every step.
    const bool attack = e > targetDb;
    const float attackC = (k.slowAttackPossible && d > 1.0f) ? k.slowAttackCoeff : k.attackCoeff;
    float releaseC = k.releaseCoeff;

    if (k.dampedRelease && ! attack)
    {
        const float q = std::min (std::abs (d) * k.inverseReleaseDepth, 1.0f);
        releaseC = base2::exp2 (k.log2ReleaseCoeff * (1.0f + q * k.releaseDamping * k.releaseExponentScale));
    }

    state.envelopeDb = targetDb + d * (attack ? attackC : releaseC);
    return state.envelopeDb;
}

float PhysicsCompressor::moveAir (StepState& state, float envelope, const BlockSettings& k) noexcept
{
    // Fast in, slow glide out; no momentum.
    const float p = state.position;
    const float attacked = p + (envelope - p) * k.airAttackRate;
    const float released = p + (envelope - p) * k.airReleaseRate;
    const float glided = std::abs (envelope - released) < 0.05f ? envelope : released;
    const float n = envelope < p ? attacked : (envelope > p + 0.1f ? glided : envelope);

    state.position = n;
    state.velocity = 0.0f;
    return n;
}

float PhysicsCompressor::moveBox (StepState& state, float envelope, const ForceTerms& f, const BlockSettings& k) noexcept
{
    const float p = state.position;
    const float displacement = envelope - p;

    const bool deepening = f.deepens && displacement > 0.1f;
    const float scale = deepening ? f.heavyScaledForce : f.scaledForce;
    state.force = scale * displacement;
    state.acceleration = state.force * k.inverseMass * f.accelerationFactor;

    // The velocity step takes the displacement times one combined factor, so
    // the recursion does not wait for the force and acceleration products.
    // Only where the heavy scale can apply does it wait for the choice.
    float velocityGain = f.velocityGain;
    if (f.deepens)
        velocityGain = deepening ? f.heavyVelocityGain : f.velocityGain;

    float v = state.velocity + displacement * velocityGain;
    v = v * k.dampingFactor;

    if (k.heavyDamping)
        v = std::abs (v) > 0.1f ? v * k.heavyDampingFactor : v;

    // Most settings have no boost: a factor of 1 would only lengthen the
    // chain from one step to the next.
    if (f.boostFactor != 1.0f)
        v = v * (std::abs (displacement) > 0.5f ? f.boostFactor : 1.0f);

    const float moved = p + v * k.inverseSampleRate;
    const float limited = juce::jlimit (-k.maxSpeed, k.maxSpeed, v);

    // Overshoot may not leave the band around the envelope, nor go above 0 dB.
    const float upper = std::min (0.0f, envelope + k.travelDb);
    const float lower = envelope - k.travelDb;
    const bool above = moved > upper;
    const bool below = moved < lower;

    float n = above ? upper : (below ? lower : moved);
    state.velocity = above ? std::min (0.5f * limited, 0.0f) : (below ? std::max (0.5f * limited, 0.0f) : limited);

    // Always pull a little towards the rest point so the mass cannot drift.
    n = n * 0.995f + envelope * 0.005f;
    if (k.extraSettling)
        n = n > envelope ? n + k.extraSettlingRate * (envelope - n) * k.extraSettlingScale : n;

    state.position = n;
    return n;
}

void PhysicsCompressor::applyGains (BlockRun& run) noexcept
{
    // Smoothing runs on every sample, towards the gain of the latest control step.
    const auto& steps = run.steps;
    float* samples = run.samples + run.chunkStart;
    float smoothed = run.compressor.smoothedGain;
    float held = run.heldGain;
    int next = run.firstControl, j = 0;

    for (int i = 0; i < run.chunkLength; ++i)
    {
        if (i == next)
        {
            held = steps.gain[j++];
            next += run.controlStep;
        }

        smoothed = gainSmoothing * smoothed + gainSmoothingComplement * held;
        samples[i] = samples[i] * smoothed; // the unfiltered sample
    }

    run.compressor.smoothedGain = smoothed;
    run.heldGain = held;
}

void PhysicsCompressor::applyGainsSideBySide (BlockRun& first, BlockRun& second) noexcept
{
    // The same control samples in both chunks.
    float* a = first.samples + first.chunkStart;
    float* b = second.samples + second.chunkStart;
    float smoothedA = first.compressor.smoothedGain, smoothedB = second.compressor.smoothedGain;
    float heldA = first.heldGain, heldB = second.heldGain;
    int next = first.firstControl, j = 0;

    for (int i = 0; i < first.chunkLength; ++i)
    {
        if (i == next)
        {
            heldA = first.steps.gain[j];
            heldB = second.steps.gain[j++];
            next += first.controlStep;
        }

        smoothedA = gainSmoothing * smoothedA + gainSmoothingComplement * heldA;
        smoothedB = gainSmoothing * smoothedB + gainSmoothingComplement * heldB;
        a[i] = a[i] * smoothedA;
        b[i] = b[i] * smoothedB;
    }

    first.compressor.smoothedGain = smoothedA;
    second.compressor.smoothedGain = smoothedB;
    first.heldGain = heldA;
    second.heldGain = heldB;
}

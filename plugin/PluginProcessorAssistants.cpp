// The automatic gain and threshold assistants, stepped once per block.
#include "PluginProcessor.h"

#include "ParameterIDs.h"
#include "RawParameterValues.h"

namespace
{
using raw::isOn;
using raw::valueOr;
} // namespace

float TarnwellCompressorAudioProcessor::makeupForBlock (const BlockLevels& levels)
{
    const float makeupParameterDb = valueOr (makeupGainParam, 0.0f);

    if (! isOn (autoGainParam))
    {
        autoGainLearning = false;
        autoGainSignalSeconds = 0.0;
        return makeupParameterDb;
    }

    if (! autoGainLearning)
    {
        learnedMakeupDb = makeupParameterDb;
        predictedPeakDb = -100.0f;
        autoGainSignalSeconds = 0.0;
        autoGainStartTime = secondsClock();
        autoGainLearning = true;
    }

    if (levels.inputDb > assistantSignalFloorDb)
    {
        // Rise slowly towards more gain, fall fast towards less.
        const float target = juce::jlimit (-24.0f, 24.0f, levels.inputDb - levels.outputDb - 2.0f);
        const float weight = target > learnedMakeupDb ? 0.02f : 0.2f;
        learnedMakeupDb += weight * (target - learnedMakeupDb);
        predictedPeakDb = juce::jmax (predictedPeakDb, levels.outputPeakDb + learnedMakeupDb);
        autoGainSignalSeconds = autoGainSignalSeconds.load() + levels.seconds;
    }

    const float makeupDb = learnedMakeupDb;

    if (autoGainSignalSeconds.load() >= autoGainSignalLimit
        || secondsClock() - autoGainStartTime >= autoGainTimeLimit)
    {
        // Keep the loudest predicted peak at -0.5 dBFS at most.
        setParameterFromPlainValue (ParameterIDs::autoGain, 0.0f);
        setParameterFromPlainValue (ParameterIDs::makeupGain,
                                    predictedPeakDb > -0.5f ? makeupDb - (predictedPeakDb + 0.5f) : makeupDb);
        autoGainSignalSeconds = 0.0;
        autoGainLearning = false;
    }

    return makeupDb;
}

void TarnwellCompressorAudioProcessor::startAutoThreshold()
{
    if (autoThresholdActive || thresholdParam == nullptr || ratioParam == nullptr || makeupGainParam == nullptr
        || rangeParam == nullptr)
        return;

    clearReductionStatistics();
    smoothedInputDb = -100.0f;

    savedThresholdDb = thresholdParam->load();
    savedRatio = ratioParam->load();
    savedMakeupDb = makeupGainParam->load();
    savedRangeDb = rangeParam->load();
    autoThresholdStartTime = secondsClock();
    autoThresholdBlocks = 0;
    autoThresholdSignalSeconds = 0.0;
    autoThresholdIntelligent = isOn (intAutoParam);

    if (autoThresholdIntelligent)
    {
        if (savedRangeDb < 0.1f)
        {
            savedRangeDb = 3.0f;
            setParameterFromPlainValue (ParameterIDs::range, 3.0f);
        }

        setParameterFromPlainValue (ParameterIDs::threshold, 0.0f);
        setParameterFromPlainValue (ParameterIDs::ratio, 2.0f);
        setParameterFromPlainValue (ParameterIDs::makeupGain, -savedRangeDb);
        autoThresholdDb = 0.0f;
        autoRatio = 2.0f;
        autoThresholdState = AutoThresholdState::measuring;
    }
    else
    {
        autoThresholdDb = savedThresholdDb;
        autoRatio = savedRatio;
        autoThresholdState = savedRatio < 2.0f ? AutoThresholdState::rampingRatio : AutoThresholdState::measuring;
    }

    autoThresholdActive = true;
}

void TarnwellCompressorAudioProcessor::cancelAutoThreshold()
{
    const bool restore = autoThresholdActive && autoThresholdState.load() != AutoThresholdState::idle;
    autoThresholdState = AutoThresholdState::idle;
    autoThresholdActive = false;

    if (restore)
    {
        setParameterFromPlainValue (ParameterIDs::threshold, savedThresholdDb);
        setParameterFromPlainValue (ParameterIDs::ratio, savedRatio);
        setParameterFromPlainValue (ParameterIDs::makeupGain, savedMakeupDb);
        setParameterFromPlainValue (ParameterIDs::autoThreshold, 0.0f);
        setParameterFromPlainValue (ParameterIDs::intAuto, 0.0f);
    }
}

void TarnwellCompressorAudioProcessor::clearReductionStatistics()
{
    nearRangeBlocks = 0;
    reductionBlocks = 0;
    peakReductionDb = 0.0f;
    minReductionDb = 100.0f;
    maxReductionDb = -100.0f;
}

void TarnwellCompressorAudioProcessor::updateReductionStatistics (float reduction)
{
    if (reduction > 0.5f)
    {
        minReductionDb = juce::jmin (minReductionDb, reduction);
        maxReductionDb = juce::jmax (maxReductionDb, reduction);
        ++reductionBlocks;
        if (reduction >= 0.95f * savedRangeDb)
            ++nearRangeBlocks;
    }

    peakReductionDb = juce::jmax (peakReductionDb, reduction);
}

void TarnwellCompressorAudioProcessor::stepAutoThreshold (const BlockLevels& levels)
{
    if (autoThresholdState.load() == AutoThresholdState::idle)
        return;

    if (secondsClock() - autoThresholdStartTime >= autoThresholdTimeLimit)
        autoThresholdState = AutoThresholdState::finishing;

    // Only blocks with a signal move the run on, the finish included.
    if (levels.inputDb < assistantSignalFloorDb)
        return;

    if (savedRangeDb < 0.1f)
    {
        // Nothing to fill: give up, and let the switch's reaction restore the settings.
        setParameterFromPlainValue (ParameterIDs::autoThreshold, 0.0f);
        autoThresholdState = AutoThresholdState::idle;
        return;
    }

    const float reduction = compressors.empty() ? 0.0f : std::abs (compressors.front()->gainReductionDb);

    switch (autoThresholdState.load())
    {
        case AutoThresholdState::rampingRatio:
            if (autoRatio < 2.0f)
            {
                autoRatio = juce::jmin (autoRatio + 0.1f, 2.0f);
                setParameterFromPlainValue (ParameterIDs::ratio, autoRatio);
            }
            else
            {
                clearReductionStatistics();
                autoThresholdBlocks = 0;
                autoThresholdSignalSeconds = 0.0;
                autoThresholdState = AutoThresholdState::measuring;
            }
            break;

        case AutoThresholdState::measuring:
            updateReductionStatistics (reduction);
            smoothedInputDb = 0.9f * smoothedInputDb + 0.1f * levels.inputDb;
            countThresholdBlock (levels.seconds);
            if (autoThresholdSignalSeconds.load() >= autoThresholdMeasuringTime)
                autoThresholdState = AutoThresholdState::adjusting;
            break;

        case AutoThresholdState::adjusting:
            adjustAutoThreshold (levels, reduction);
            break;

        case AutoThresholdState::finishing:
            autoThresholdState = AutoThresholdState::idle;
            autoThresholdActive = false;
            setParameterFromPlainValue (ParameterIDs::autoThreshold, 0.0f);
            setParameterFromPlainValue (ParameterIDs::intAuto, 0.0f);
            setParameterFromPlainValue (ParameterIDs::autoGain, 1.0f);
            break;

        case AutoThresholdState::idle:
            break;
    }
}

// Counts one signal block of measuring or adjusting; returns the blocks counted so far.
int TarnwellCompressorAudioProcessor::countThresholdBlock (double seconds)
{
    autoThresholdSignalSeconds = autoThresholdSignalSeconds.load() + seconds;
    return ++autoThresholdBlocks;
}

void TarnwellCompressorAudioProcessor::adjustAutoThreshold (const BlockLevels& levels, float reduction)
{
    const int k = countThresholdBlock (levels.seconds);
    smoothedInputDb = 0.9f * smoothedInputDb + 0.1f * levels.inputDb;
    updateReductionStatistics (reduction);

    const float fill = savedRangeDb > 0.1f ? peakReductionDb / savedRangeDb : 0.0f;

    // Stuck: the reduction sits at the range (or barely moves near it) whatever the threshold does.
    const bool stuck = reductionBlocks >= 20 && minReductionDb <= 50.0f && maxReductionDb >= -50.0f
                       && ((float) nearRangeBlocks / (float) reductionBlocks > 0.9f
                           || (maxReductionDb > 0.8f * savedRangeDb && maxReductionDb - minReductionDb < 2.0f));

    if (k % 3 == 0 && ! (stuck && fill <= 1.0f))
    {
        if (fill < 0.8f)
        {
            const float gap = autoThresholdDb - (smoothedInputDb - 10.0f);
            const float step = gap > 20.0f ? 3.0f : (gap > 10.0f ? 2.0f : 1.0f);
            autoThresholdDb = juce::jmax (autoThresholdDb - step, -60.0f);

            if (autoThresholdIntelligent)
            {
                const float target = juce::jmax (juce::jmin (0.6f * savedRangeDb + 1.0f, 20.0f), 1.0f);
                if (target > autoRatio)
                    autoRatio = juce::jmin (target, autoRatio + 0.25f);
            }
        }
        else if (fill > 1.0f)
        {
            autoThresholdDb = juce::jmin (autoThresholdDb + 0.3f, 0.0f);
        }

        peakReductionDb = 0.0f;
    }

    if (autoThresholdIntelligent)
        moveParameterTowards (ParameterIDs::ratio, autoRatio, 0.25f);
    moveParameterTowards (ParameterIDs::threshold, autoThresholdDb, 0.25f);

    const bool converged = fill >= 0.8f && fill <= 1.0f
                           && (smoothedInputDb >= -30.0f || smoothedInputDb - 10.0f >= autoThresholdDb);

    if ((converged && ! stuck) || autoThresholdSignalSeconds.load() > autoThresholdSignalLimit)
        autoThresholdState = AutoThresholdState::finishing;
}

void TarnwellCompressorAudioProcessor::moveParameterTowards (const char* parameterID, float plainTarget, float fraction)
{
    if (auto* p = parameters.getParameter (parameterID))
    {
        const float current = p->getValue();
        writeParameter (*p, current + fraction * (p->convertTo0to1 (plainTarget) - current));
    }
}

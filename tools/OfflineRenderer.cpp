#include "OfflineRenderer.h"

juce::String OfflineRenderer::prepare (int numChannels, double newSampleRate, int newBlockSize,
                                      std::optional<double> bpm)
{
    if (numChannels < 1 || numChannels > 2)
        return "the input has " + juce::String (numChannels)
               + " channels; only mono and stereo files can be rendered (the plug-in is a stereo effect)";

    const auto set = numChannels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (set);
    layout.outputBuses.add (set);

    if (! processor.setBusesLayout (layout))
        return "the processor does not accept a " + set.getDescription() + " layout";

    blockSize = newBlockSize;
    chunk.setSize (numChannels, blockSize * juce::jmax (1, chunkTargetSamples / blockSize));

    // Without a transport the processor keeps its own 120 BPM.
    if (bpm.has_value())
        playHead.emplace (*bpm);
    else
        playHead.reset();
    processor.setPlayHead (playHead.has_value() ? &*playHead : nullptr);

    // The assistants' time limits count audio time, not the (much shorter)
    // time it takes to render it.
    sampleRate = newSampleRate;
    samplesRendered = 0;
    processor.secondsClock = [this] { return (double) samplesRendered / sampleRate; };

    processor.setNonRealtime (true);
    processor.setRateAndBufferSizeDetails (newSampleRate, blockSize);
    processor.prepareToPlay (newSampleRate, blockSize);
    return {};
}

OfflineRenderer::Result OfflineRenderer::render (juce::AudioFormatReader& reader, juce::AudioFormatWriter& writer,
                                                 RenderAnalysis& analysis,
                                                 const std::function<void (double)>& progress)
{
    Result result;
    const auto total = reader.lengthInSamples;
    const int channels = chunk.getNumChannels();
    juce::int64 processingTicks = 0;

    for (juce::int64 position = 0; position < total;)
    {
        const int chunkLength = (int) juce::jmin ((juce::int64) chunk.getNumSamples(), total - position);

        if (! reader.read (&chunk, 0, chunkLength, position, true, true))
        {
            result.error = "could not read the input at sample " + juce::String (position);
            return result;
        }

        analysis.addInput (chunk, chunkLength, position);
        const auto startTicks = juce::Time::getHighResolutionTicks();

        for (int start = 0; start < chunkLength; start += blockSize)
        {
            const int length = juce::jmin (blockSize, chunkLength - start);
            juce::AudioBuffer<float> block (chunk.getArrayOfWritePointers(), channels, start, length);
            if (playHead.has_value())
                playHead->setTimeInSamples (samplesRendered);
            processor.processBlock (block, midi);
            samplesRendered += length;
            analysis.addGainReduction (-processor.compressors[0]->gainReductionDb, position + start, length);
        }

        processingTicks += juce::Time::getHighResolutionTicks() - startTicks;
        analysis.addOutput (chunk, chunkLength, position);

        if (! writer.writeFromAudioSampleBuffer (chunk, 0, chunkLength))
        {
            result.error = "could not write the output";
            return result;
        }

        position += chunkLength;
        progress ((double) position / (double) total);
    }

    result.processingSeconds = juce::Time::highResolutionTicksToSeconds (processingTicks);
    result.latencySamples = processor.getLatencySamples();
    return result;
}

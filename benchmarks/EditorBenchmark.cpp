// Times opening the editor (constructing it: components, looks, images,
// attachments, listeners, and laying it out at its first size), one refresh
// tick with the repaint of the live region it asks for, and a whole-editor
// paint, all drawn by the software renderer into an image.
#include "DemoSignal.h"
#include "FixedTempoPlayHead.h"
#include "PluginEditor.h"
#include "PluginProcessor.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr int blockSize = 512;
constexpr double secondsOfDemo = 4.0;

void constructEditor (benchmark::State& state)
{
    TarnwellCompressorAudioProcessor processor;

    for (auto _ : state)
    {
        TarnwellCompressorAudioProcessorEditor editor (processor);
        benchmark::DoNotOptimize (&editor);
    }
}

BENCHMARK (constructEditor)->Unit (benchmark::kMillisecond);

// A processor that has played a few seconds of the demo groove with the
// transport running, so the display has a live waveform, and its editor at
// the given size with its own timer stopped (the benchmark ticks it).
struct LiveEditor
{
    TarnwellCompressorAudioProcessor processor;
    FixedTempoPlayHead transport { 120.0 };
    std::unique_ptr<TarnwellCompressorAudioProcessorEditor> editor;
    juce::Image canvas;

    LiveEditor (int width, bool eco)
    {
        processor.ecoMode = eco;
        processor.setPlayHead (&transport);
        processor.prepareToPlay (DemoSignal::sampleRate, blockSize);

        const auto demo = DemoSignal::generate();
        juce::AudioBuffer<float> block (DemoSignal::numChannels, blockSize);
        juce::MidiBuffer midi;
        for (int position = 0; position + blockSize <= (int) (secondsOfDemo * DemoSignal::sampleRate);
             position += blockSize)
        {
            for (int ch = 0; ch < DemoSignal::numChannels; ++ch)
                block.copyFrom (ch, 0, demo, ch, position, blockSize);
            processor.processBlock (block, midi);
        }

        editor.reset (static_cast<TarnwellCompressorAudioProcessorEditor*> (processor.createEditorIfNeeded()));
        editor->stopTimer();
        editor->setSize (width, (int) (width / TarnwellCompressorAudioProcessorEditor::aspectRatio));
        editor->timerCallback(); // the first tick finishes the set-up
        canvas = juce::Image (juce::Image::ARGB, editor->getWidth(), editor->getHeight(), true);
    }

    ~LiveEditor()
    {
        editor.reset();
        processor.setPlayHead (nullptr);
    }

    void paint (juce::Rectangle<int> region)
    {
        juce::Graphics g (canvas);
        g.reduceClipRegion (region);
        editor->paintEntireComponent (g, false);
    }
};

void tickAndRepaintLiveRegion (benchmark::State& state)
{
    LiveEditor live ((int) state.range (0), state.range (1) != 0);

    for (auto _ : state)
    {
        live.editor->timerCallback();
        live.paint (live.editor->liveRegion());
    }
}

BENCHMARK (tickAndRepaintLiveRegion)
    ->ArgNames ({ "width", "eco" })
    ->Args ({ 900, 0 })
    ->Args ({ 900, 1 })
    ->Args ({ 1350, 0 })
    ->Args ({ 1350, 1 })
    ->Unit (benchmark::kMillisecond);

void paintWholeEditor (benchmark::State& state)
{
    LiveEditor live ((int) state.range (0), false);

    for (auto _ : state)
        live.paint (live.editor->getLocalBounds());
}

BENCHMARK (paintWholeEditor)->ArgName ("width")->Arg (900)->Arg (1350)->Unit (benchmark::kMillisecond);
} // namespace

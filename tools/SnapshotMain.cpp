// tarnwell-snapshot: opens the plug-in's editor without a host and writes
// what it shows as a PNG, so the window can be looked at without a DAW.
//
//   tarnwell-snapshot --out editor.png [--size 1350x1080] [--preset NAME] [--set id=value ...]
//                     [--ab A|B] [--note-popup attack|hold|release] [--play SECONDS]
#include "DemoSignal.h"
#include "FixedTempoPlayHead.h"
#include "PluginEditor.h"
#include "PluginProcessor.h"
#include "RenderParameters.h"

#include <iostream>
#include <optional>

namespace
{
// Areas the editor leaves unpainted are laid on this colour instead of transparency.
const juce::Colour canvasColour { 0xff101418 };

// Long enough for the switches' fade-in animations to finish.
constexpr int settleTimeMs = 300;

struct SnapshotOptions
{
    juce::File output;
    int width = TarnwellCompressorAudioProcessorEditor::minimumWidth;
    int height = TarnwellCompressorAudioProcessorEditor::minimumHeight;
    std::optional<juce::String> presetName;
    std::vector<RenderOptions::Assignment> assignments;
    juce::String abSlot;        // "A" or "B": A/B comparison on, showing that slot
    juce::String notePopUpKnob; // "attack", "hold" or "release": that knob's note value pop-up open
    double playSeconds = 0.0;   // the demo groove played this long before the picture is taken
};

// The demo groove is played in blocks of this size with the transport running.
constexpr int playBlockSize = 512;
constexpr double maximumPlaySeconds = 60.0;

const char* const usage =
    "usage: tarnwell-snapshot --out FILE.png [--size WxH] [--preset NAME] [--set id=value ...]\n"
    "  --size    editor size, 900x720 up to 1350x1080 (the window keeps a 1.25 aspect ratio)\n"
    "  --preset  a factory or user preset, applied before the --set values\n"
    "  --set     a parameter in plain units, choices by index, switches as 0 or 1\n"
    "  --ab      A or B: A/B comparison switched on, showing slot A, or slot B after one swap\n"
    "  --note-popup  attack, hold or release: the note value pop-up of that knob opened\n"
    "  --play    play the built-in demo groove for SECONDS (up to 60) with the transport running,\n"
    "            so the display, meters and readouts are live in the picture\n";

std::optional<RenderOptions::Assignment> parseAssignment (const juce::String& text)
{
    const auto id = text.upToFirstOccurrenceOf ("=", false, false).trim();
    const auto valueText = text.fromFirstOccurrenceOf ("=", false, false).trim();

    if (! text.containsChar ('=') || id.isEmpty() || ! valueText.containsOnly ("-+.0123456789eE")
        || valueText.isEmpty())
        return std::nullopt;

    return RenderOptions::Assignment { id, valueText.getDoubleValue(), valueText };
}

std::optional<SnapshotOptions> parseOptions (const juce::StringArray& args, juce::String& error)
{
    SnapshotOptions options;
    bool haveOutput = false;

    for (int i = 0; i < args.size(); ++i)
    {
        const auto& flag = args[i];
        if (i + 1 >= args.size())
        {
            error = flag + " needs a value";
            return std::nullopt;
        }

        const auto value = args[++i];

        if (flag == "--out")
        {
            options.output = juce::File::getCurrentWorkingDirectory().getChildFile (value);
            haveOutput = true;
        }
        else if (flag == "--size")
        {
            const auto w = value.upToFirstOccurrenceOf ("x", false, true);
            const auto h = value.fromFirstOccurrenceOf ("x", false, true);
            if (! w.containsOnly ("0123456789") || ! h.containsOnly ("0123456789") || w.isEmpty() || h.isEmpty())
            {
                error = "--size takes WIDTHxHEIGHT, e.g. 1350x1080";
                return std::nullopt;
            }
            options.width = w.getIntValue();
            options.height = h.getIntValue();
        }
        else if (flag == "--preset")
        {
            options.presetName = value;
        }
        else if (flag == "--ab")
        {
            if (value != "A" && value != "B")
            {
                error = "--ab takes A or B";
                return std::nullopt;
            }
            options.abSlot = value;
        }
        else if (flag == "--note-popup")
        {
            if (value != "attack" && value != "hold" && value != "release")
            {
                error = "--note-popup takes attack, hold or release";
                return std::nullopt;
            }
            options.notePopUpKnob = value;
        }
        else if (flag == "--play")
        {
            const double seconds = value.getDoubleValue();
            if (! value.containsOnly ("0123456789.") || value.isEmpty() || seconds <= 0.0 || seconds > maximumPlaySeconds)
            {
                error = "--play takes a number of seconds above 0 and up to 60, e.g. 3";
                return std::nullopt;
            }
            options.playSeconds = seconds;
        }
        else if (flag == "--set")
        {
            auto assignment = parseAssignment (value);
            if (! assignment)
            {
                error = "--set takes id=value, e.g. threshold=-30";
                return std::nullopt;
            }
            options.assignments.push_back (*assignment);
        }
        else
        {
            error = "unknown option " + flag;
            return std::nullopt;
        }
    }

    if (! haveOutput)
    {
        error = "--out is required";
        return std::nullopt;
    }

    return options;
}

// Clicks the way a user would, once the editor has settled.
void operateEditor (TarnwellCompressorAudioProcessorEditor& editor, const SnapshotOptions& options)
{
    if (options.abSlot.isNotEmpty())
    {
        editor.abButton.triggerClick();
        if (options.abSlot == "B")
            editor.abSwapButton.triggerClick();
    }

    if (options.notePopUpKnob == "attack")
        editor.attackNoteButton.triggerClick();
    else if (options.notePopUpKnob == "hold")
        editor.holdNoteButton.triggerClick();
    else if (options.notePopUpKnob == "release")
        editor.releaseNoteButton.triggerClick();
}

// Plays the demo groove (looped as needed) through the processor with a
// running transport, and ticks the editor's refresh timer as often as it
// would tick in real time over that much audio.
void playDemo (TarnwellCompressorAudioProcessor& processor, TarnwellCompressorAudioProcessorEditor& editor,
               double seconds)
{
    const auto demo = DemoSignal::generate();
    FixedTempoPlayHead transport (120.0);
    processor.setPlayHead (&transport);
    processor.prepareToPlay (DemoSignal::sampleRate, playBlockSize);

    const auto total = (juce::int64) (seconds * DemoSignal::sampleRate);
    const double samplesPerTick = DemoSignal::sampleRate * editor.getTimerInterval() / 1000.0;
    double nextTick = samplesPerTick;
    juce::AudioBuffer<float> block (DemoSignal::numChannels, playBlockSize);
    juce::MidiBuffer midi;

    for (juce::int64 position = 0; position < total; position += playBlockSize)
    {
        for (int i = 0; i < playBlockSize; ++i)
            for (int ch = 0; ch < DemoSignal::numChannels; ++ch)
                block.setSample (ch, i, demo.getSample (ch, (int) ((position + i) % demo.getNumSamples())));

        transport.setTimeInSamples (position);
        processor.processBlock (block, midi);

        for (; nextTick <= (double) (position + playBlockSize); nextTick += samplesPerTick)
            editor.timerCallback();
    }

    processor.setPlayHead (nullptr);
}

// The editor as the window would show it, at the requested size after the
// editor's own size limits have had their say.
juce::Image snapshotEditor (TarnwellCompressorAudioProcessor& processor, const SnapshotOptions& options)
{
    std::unique_ptr<TarnwellCompressorAudioProcessorEditor> editor (
        static_cast<TarnwellCompressorAudioProcessorEditor*> (processor.createEditorIfNeeded()));
    juce::Rectangle<int> bounds (options.width, options.height);
    if (auto* constrainer = editor->getConstrainer())
        constrainer->checkBounds (bounds, editor->getLocalBounds(), {}, false, false, true, true);
    editor->setSize (bounds.getWidth(), bounds.getHeight());
    juce::MessageManager::getInstance()->runDispatchLoopUntil (settleTimeMs);

    operateEditor (*editor, options);
    juce::MessageManager::getInstance()->runDispatchLoopUntil (settleTimeMs);

    if (options.playSeconds > 0.0)
        playDemo (processor, *editor, options.playSeconds);

    juce::Image picture (juce::Image::ARGB, editor->getWidth(), editor->getHeight(), true);
    {
        juce::Graphics g (picture);
        g.fillAll (canvasColour);
        editor->paintEntireComponent (g, true);
    }
    return picture;
}

int run (const juce::StringArray& args)
{
    juce::String error;
    const auto options = parseOptions (args, error);
    if (! options)
    {
        std::cerr << "tarnwell-snapshot: " << error << "\n" << usage;
        return 2;
    }

    TarnwellCompressorAudioProcessor processor;

    if (options->presetName && ! processor.presetManager->loadPreset (*options->presetName))
    {
        std::cerr << "tarnwell-snapshot: no preset named \"" << *options->presetName << "\"\n";
        return 1;
    }

    if (const auto problem = RenderParameters::apply (processor, options->assignments); problem.isNotEmpty())
    {
        std::cerr << "tarnwell-snapshot: " << problem << "\n";
        return 1;
    }

    const auto picture = snapshotEditor (processor, *options);

    options->output.deleteFile();
    juce::FileOutputStream stream (options->output);
    juce::PNGImageFormat png;
    if (! stream.openedOk() || ! png.writeImageToStream (picture, stream))
    {
        std::cerr << "tarnwell-snapshot: cannot write " << options->output.getFullPathName() << "\n";
        return 1;
    }

    std::cout << "wrote " << options->output.getFullPathName() << " (" << picture.getWidth() << "x"
              << picture.getHeight() << ")\n";
    return 0;
}
} // namespace

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juceInit;
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));
    return run (args);
}

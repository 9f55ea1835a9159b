// A long fuzz run over host state blobs and preset files:
//   tarnwell-state-fuzz [--blobs N] [--presets N] [--seed N]
// Every mutated input must load without a crash or a hang, leave only clean
// values in force and saved, and, when refused, change nothing. Inputs that
// fail are written to the folder "fuzz-failures" for replay.
#include "StateFuzzing.h"
#include "TemporaryHome.h"

#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

namespace
{
using Processor = TarnwellCompressorAudioProcessor;

struct Options
{
    int blobs = 100000;
    int presets = 20000;
    juce::int64 seed = 20261211;
};

Options parseOptions (int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2)
    {
        const juce::String name (argv[i]), value (argv[i + 1]);
        if (name == "--blobs")
            options.blobs = value.getIntValue();
        else if (name == "--presets")
            options.presets = value.getIntValue();
        else if (name == "--seed")
            options.seed = value.getLargeIntValue();
    }
    return options;
}

// What a refused blob must leave as it was.
juce::String fingerprintOf (Processor& p)
{
    juce::String text;
    for (auto* parameter : p.getParameters())
        text << juce::String (parameter->getValue(), 9) << " ";
    return text << p.savedBPM << " " << p.manualBPM << " " << p.pendingPresetName;
}

class Run
{
public:
    explicit Run (const Options& optionsToUse) : options (optionsToUse), random (optionsToUse.seed)
    {
        test::setParameter (source, ParameterIDs::ratio, 8.0f);
        test::setParameter (source, ParameterIDs::tilt, 40.0f);
        source.presetManager->currentPresetName = "Fuzz";
    }

    int blobs()
    {
        juce::MemoryBlock good;
        source.getStateInformation (good);
        const auto goodText = test::fuzz::textOf (good);
        Processor target;
        int refused = 0, failures = 0;
        const auto started = juce::Time::getMillisecondCounterHiRes();

        for (int i = 0; i < options.blobs; ++i)
        {
            const auto blob = test::fuzz::mutatedBlob (goodText, random);
            const auto before = fingerprintOf (target);
            watchdog.guard ("blob " + std::to_string (i),
                            [&] { target.setStateInformation (blob.getData(), (int) blob.getSize()); });

            auto problems = test::fuzz::problemsAfterLoad (target);
            if (test::fuzz::isRefused (blob))
            {
                ++refused;
                if (fingerprintOf (target) != before)
                    problems << "a refused blob changed the state; ";
            }

            if (problems.isNotEmpty())
                report ("blob", i, problems, blob, ++failures);
        }

        std::cout << "blobs: " << options.blobs << " in " << secondsSince (started) << " s, " << refused
                  << " refused, " << failures << " failures" << std::endl;
        return failures;
    }

    int presetFiles()
    {
        if (source.presetManager->savePreset ("Good") != PresetManager::saved)
            return 1;

        const auto goodFile = PresetFile::userFolder().getChildFile ("Good.twpreset");
        const auto goodText = goodFile.loadFileAsString().toStdString();
        goodFile.deleteFile();

        constexpr int batchSize = 250;
        int loaded = 0, failures = 0;
        const auto started = juce::Time::getMillisecondCounterHiRes();

        for (int first = 0; first < options.presets; first += batchSize)
        {
            const int count = juce::jmin (batchSize, options.presets - first);
            for (int i = 0; i < count; ++i)
            {
                const auto text = test::fuzz::mutated (goodText, random);
                fileFor (i).replaceWithData (text.data(), text.size());
            }

            // A new instance scans the folder at start-up, as a host creates one.
            std::unique_ptr<Processor> target;
            watchdog.guard ("start-up with batch " + std::to_string (first), [&] { target = std::make_unique<Processor>(); });

            for (const auto& preset : target->presetManager->getPresets())
            {
                if (preset.isFactory)
                    continue;

                watchdog.guard ("preset " + preset.file.getFullPathName().toStdString(),
                                [&] { target->presetManager->loadPreset (preset.name); });
                ++loaded;

                if (const auto problems = test::fuzz::problemsAfterLoad (*target); problems.isNotEmpty())
                {
                    juce::MemoryBlock bytes;
                    preset.file.loadFileAsData (bytes);
                    report ("preset", first, problems, bytes, ++failures);
                }
            }

            for (int i = 0; i < count; ++i)
                fileFor (i).deleteFile();
        }

        std::cout << "preset files: " << options.presets << " in " << secondsSince (started) << " s, " << loaded
                  << " listed and loaded, " << failures << " failures" << std::endl;
        return failures;
    }

private:
    static juce::File fileFor (int i)
    {
        return PresetFile::userFolder().getChildFile ("fuzz" + juce::String (i) + PresetFile::extension);
    }

    static double secondsSince (double startedMs)
    {
        return std::round ((juce::Time::getMillisecondCounterHiRes() - startedMs) / 100.0) / 10.0;
    }

    static void report (const char* kind, int index, const juce::String& problems, const juce::MemoryBlock& input,
                        int failureNumber)
    {
        constexpr int maximumReported = 20;
        if (failureNumber > maximumReported)
            return;

        const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile ("fuzz-failures");
        folder.createDirectory();
        const auto file = folder.getChildFile (juce::String (kind) + "-" + juce::String (index) + ".bin");
        file.replaceWithData (input.getData(), input.getSize());
        std::cout << kind << " " << index << ": " << problems << " (" << file.getFullPathName() << ")" << std::endl;
    }

    const Options options;
    juce::Random random;
    test::Watchdog watchdog;
    Processor source;
};
} // namespace

int main (int argc, char** argv)
{
    const test::TemporaryHome home;
    const juce::ScopedJuceInitialiser_GUI juceInit;
    const auto options = parseOptions (argc, argv);

    Run run (options);
    const auto failures = run.blobs() + run.presetFiles();
    return failures == 0 ? 0 : 1;
}

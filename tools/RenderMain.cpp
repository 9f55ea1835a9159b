// tarnwell-render: runs the Tarnwell Compressor over a WAV or AIFF file
// offline, exactly as a host would run the plug-in, and reports what it did.
#include "DemoSignal.h"
#include "OfflineRenderer.h"
#include "ParameterIDs.h"
#include "RenderOptions.h"
#include "RenderParameters.h"
#include "RenderPlot.h"

#include <iostream>
#include <unistd.h>

namespace
{
enum ExitCode
{
    success = 0,
    fileError = 1,
    usageError = 2
};

int fail (const juce::String& message, ExitCode code)
{
    std::cerr << "tarnwell-render: " << message << std::endl;
    return code;
}

juce::String cannotWrite (const juce::File& file)
{
    const auto folder = file.getParentDirectory();
    return "cannot write " + file.getFullPathName()
           + (folder.isDirectory() ? juce::String() : ": the folder " + folder.getFullPathName() + " does not exist");
}

juce::String dbText (float db)
{
    return std::isfinite (db) ? juce::String (db, 1) : juce::String ("-inf");
}

juce::File defaultOutputFor (const juce::File& input)
{
    return input.getSiblingFile (input.getFileNameWithoutExtension() + "-tarnwell" + input.getFileExtension());
}

std::unique_ptr<juce::AudioFormatReader> openInput (juce::AudioFormatManager& formats, const juce::File& file,
                                                    juce::String& error)
{
    const auto path = file.getFullPathName();

    if (! file.exists())
        error = "cannot open " + path + ": no such file";
    else if (file.isDirectory())
        error = path + " is a folder, not an audio file";
    else if (! file.hasReadAccess())
        error = "cannot read " + path;

    if (error.isNotEmpty())
        return nullptr;

    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));

    if (reader == nullptr)
        error = path + " is not a WAV or AIFF file";
    else if (reader->lengthInSamples <= 0)
        error = path + " holds no audio";

    return error.isEmpty() ? std::move (reader) : nullptr;
}

juce::AudioFormat* formatOf (juce::AudioFormatManager& formats, const juce::AudioFormatReader& reader)
{
    for (auto* format : formats)
        if (format->getFormatName() == reader.getFormatName())
            return format;

    return nullptr;
}

// The output is written in the input's format, so its name must say so.
juce::String checkOutputPath (juce::AudioFormat& format, const juce::File& input, const juce::File& output)
{
    if (output == input)
        return "the output " + output.getFullPathName() + " would overwrite the input";

    if (output.isDirectory())
        return "the output " + output.getFullPathName() + " is a folder";

    if (! format.getFileExtensions().contains (output.getFileExtension(), true))
        return "the output " + output.getFullPathName() + " must end in "
               + format.getFileExtensions().joinIntoString (" or ") + ": it is written as "
               + format.getFormatName() + " like the input";

    return {};
}

// The input's depth when the format can write it, else the deepest it can.
int outputBitDepth (juce::AudioFormat& format, const juce::AudioFormatReader& reader)
{
    const auto depths = format.getPossibleBitDepths();
    return depths.contains ((int) reader.bitsPerSample) ? (int) reader.bitsPerSample : depths.getLast();
}

std::unique_ptr<juce::AudioFormatWriter> createWriter (juce::AudioFormat& format, const juce::File& file, double sampleRate,
                                                       int numChannels, int bits, const juce::StringPairArray& metadata)
{
    auto stream = std::make_unique<juce::FileOutputStream> (file);
    if (! stream->openedOk())
        return nullptr;

    std::unique_ptr<juce::AudioFormatWriter> writer (
        format.createWriterFor (stream.get(), sampleRate, (unsigned int) numChannels, bits, metadata, 0));

    if (writer != nullptr)
        stream.release(); // the writer owns it now

    return writer;
}

juce::String writeDemoInput (const juce::File& file)
{
    const auto demo = DemoSignal::generate();
    juce::TemporaryFile temp (file, juce::TemporaryFile::useHiddenFile);
    juce::WavAudioFormat wav;

    {
        auto writer = createWriter (wav, temp.getFile(), DemoSignal::sampleRate, demo.getNumChannels(), 32, {});
        if (writer == nullptr || ! writer->writeFromAudioSampleBuffer (demo, 0, demo.getNumSamples()))
            return cannotWrite (file);
    }

    return temp.overwriteTargetFileWithTemporary() ? juce::String() : cannotWrite (file);
}

juce::String describeFile (const juce::AudioFormat& format, double sampleRate, int numChannels, int bits,
                           bool floatingPoint, juce::int64 length)
{
    return format.getFormatName().upToFirstOccurrenceOf (" ", false, false) + ", "
           + (numChannels == 1 ? "mono" : "stereo") + ", " + juce::String (juce::roundToInt (sampleRate)) + " Hz, "
           + juce::String (bits) + "-bit" + (floatingPoint ? " float" : "") + ", "
           + juce::String ((double) length / sampleRate, 3) + " s";
}

// A single updating line on a terminal, from a quarter of a second into the
// render on, so that short files print none. Nothing when stdout is not a terminal.
std::function<void (double)> progressLine (juce::int64 totalSamples, double sampleRate)
{
    if (isatty (STDOUT_FILENO) == 0)
        return [] (double) {};

    const auto seconds = (double) totalSamples / sampleRate;
    return [seconds, lastUpdate = juce::Time::getMillisecondCounter()] (double fraction) mutable
    {
        const auto now = juce::Time::getMillisecondCounter();
        if (now - lastUpdate < 250)
            return;

        lastUpdate = now;
        std::cout << "\rRendering " << juce::String (juce::roundToInt (fraction * 100.0)).paddedLeft (' ', 3) << "% ("
                  << juce::String (fraction * seconds, 1) << " of " << juce::String (seconds, 1) << " s)   "
                  << std::flush;
    };
}

void clearProgressLine()
{
    if (isatty (STDOUT_FILENO) != 0)
        std::cout << "\r" << juce::String::repeatedString (" ", 60) << "\r" << std::flush;
}

RenderPlot::Settings plotSettings (TarnwellCompressorAudioProcessor& processor, const juce::File& input,
                                   const juce::String& settingsText, int blockSize, int latency)
{
    auto value = [&processor] (const char* id) { return processor.parameters.getRawParameterValue (id)->load(); };

    RenderPlot::Settings s;
    s.thresholdDb = value (ParameterIDs::threshold);
    s.ratio = value (ParameterIDs::ratio);
    s.kneeDb = value (ParameterIDs::knee);
    s.title = "Tarnwell Compressor " + juce::String::fromUTF8 ("\u2013 ") + input.getFileName();
    s.subtitle = "Settings: " + settingsText + "    Block size " + juce::String (blockSize) + ", latency "
                 + juce::String (latency) + " samples";
    return s;
}

void printFile (const char* label, const juce::File& file, const juce::String& description,
                const RenderAnalysis::Level& level)
{
    std::cout << juce::String (label).paddedRight (' ', 10) << file.getFullPathName() << "\n"
              << "          " << description << "\n"
              << "          peak " << dbText (level.peakDb()) << " dBFS, RMS " << dbText (level.rmsDb()) << " dBFS\n";
}

void printSummary (const RenderAnalysis& analysis, const OfflineRenderer::Result& result,
                   const juce::String& settingsText, int blockSize)
{
    const double audioSeconds = (double) analysis.getTotalSamples() / analysis.getSampleRate();
    const double speed = audioSeconds / juce::jmax (result.processingSeconds, 1.0e-9);
    const double latencyMs = 1000.0 * result.latencySamples / analysis.getSampleRate();

    std::cout << "Settings  " << settingsText << "; block size " << blockSize << "\n"
              << "Reduction largest " << juce::String (analysis.largestReductionDb(), 1) << " dB, average "
              << juce::String (analysis.averageReductionDb(), 1) << " dB (first channel, per block)\n"
              << "Latency   " << result.latencySamples << " samples (" << juce::String (latencyMs, 2)
              << " ms), left in the output as a host receives it\n"
              << "Speed     " << juce::String (speed, 1) << "x realtime (" << juce::String (audioSeconds, 2)
              << " s of audio in " << juce::String (result.processingSeconds, 3) << " s of processing)\n";
}

bool wasSwitchedOn (const RenderOptions& options, const char* id)
{
    for (const auto& a : options.assignments)
        if (a.id == id && a.value > 0.5)
            return true;
    return false;
}

// What the automatic gain and threshold learned, when they were asked to run.
void printAssistants (const RenderOptions& options, TarnwellCompressorAudioProcessor& processor)
{
    const bool autoGain = wasSwitchedOn (options, ParameterIDs::autoGain);
    const bool autoThreshold = wasSwitchedOn (options, ParameterIDs::autoThreshold);
    if (! autoGain && ! autoThreshold)
        return;

    auto value = [&processor] (const char* id) { return processor.parameters.getRawParameterValue (id)->load(); };
    auto state = [&value] (const char* id, const char* name)
    {
        return juce::String (name) + (value (id) > 0.5f ? " still running when the file ended" : " finished");
    };

    juce::StringArray states;
    if (autoThreshold)
        states.add (state (ParameterIDs::autoThreshold, "automatic threshold"));
    if (autoGain || autoThreshold)
        states.add (state (ParameterIDs::autoGain, "automatic gain"));

    std::cout << "Learned   make-up " << juce::String (value (ParameterIDs::makeupGain), 1) << " dB, threshold "
              << juce::String (value (ParameterIDs::threshold), 1) << " dB, ratio "
              << juce::String (value (ParameterIDs::ratio), 1) << ":1\n"
              << "          " << states.joinIntoString ("; ") << "\n";
}

juce::String presetList (const PresetManager& manager)
{
    juce::String list;
    for (const auto& name : manager.getAllPresetNames())
        for (const auto& preset : manager.getPresets())
            if (preset.name == name)
            {
                list << name.paddedRight (' ', 28) << " " << (preset.isFactory ? "factory" : "user") << "\n";
                break;
            }
    return list;
}

ExitCode applyPreset (const RenderOptions& options, PresetManager& manager, juce::String& error)
{
    if (options.presetName.has_value() && ! manager.loadPreset (*options.presetName))
    {
        error = "no preset named \"" + *options.presetName + "\" (see --list-presets)";
        return usageError;
    }

    if (const auto& file = options.presetFile; file.has_value())
    {
        if (! file->existsAsFile())
            error = "cannot open " + file->getFullPathName() + ": no such file";
        else if (! manager.loadPresetFile (*file))
            error = file->getFullPathName() + " is not a preset file";
    }

    return error.isEmpty() ? success : fileError;
}

juce::String describeSettings (const RenderOptions& options, TarnwellCompressorAudioProcessor& processor)
{
    // A preset given on the command line, or the user's "Default" that every
    // new instance starts with.
    const auto assigned = RenderParameters::describe (processor, options.assignments);
    const auto& presetName = processor.presetManager->currentPresetName;
    if (presetName.isEmpty())
        return assigned;

    const auto preset = "preset \"" + presetName + "\"";
    return options.assignments.empty() ? preset : preset + ", " + assigned;
}

int renderFile (const RenderOptions& options, OfflineRenderer& renderer, const juce::File& input,
                const juce::File& output)
{
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();

    juce::String error;
    const auto reader = openInput (formats, input, error);
    if (reader == nullptr)
        return fail (error, fileError);

    auto& format = *formatOf (formats, *reader);
    if (error = checkOutputPath (format, input, output); error.isNotEmpty())
        return fail (error, usageError);

    const int channels = (int) reader->numChannels;
    if (error = renderer.prepare (channels, reader->sampleRate, options.blockSize, options.bpm); error.isNotEmpty())
        return fail (error, fileError);

    // Everything goes to hidden files beside the targets first; they replace
    // the targets only once complete, and vanish on failure.
    juce::TemporaryFile audioTemp (output, juce::TemporaryFile::useHiddenFile);
    const int bits = outputBitDepth (format, *reader);
    auto writer = createWriter (format, audioTemp.getFile(), reader->sampleRate, channels, bits, reader->metadataValues);
    if (writer == nullptr)
        return fail (cannotWrite (output), fileError);

    std::optional<juce::TemporaryFile> plotTemp;
    std::unique_ptr<juce::FileOutputStream> plotStream;
    if (options.plot.has_value())
    {
        plotTemp.emplace (*options.plot, juce::TemporaryFile::useHiddenFile);
        plotStream = plotTemp->getFile().createOutputStream();
        if (plotStream == nullptr)
            return fail (cannotWrite (*options.plot), fileError);
    }

    RenderAnalysis analysis;
    analysis.prepare (reader->lengthInSamples, reader->sampleRate);
    const auto result = renderer.render (*reader, *writer, analysis, progressLine (reader->lengthInSamples, reader->sampleRate));
    clearProgressLine();
    const bool floatingPoint = writer->isFloatingPoint();
    writer.reset(); // completes the file

    if (result.error.isNotEmpty())
        return fail (result.error, fileError);

    const auto settings = describeSettings (options, renderer.processor);

    if (plotStream != nullptr)
    {
        const auto image = RenderPlot::draw (analysis, plotSettings (renderer.processor, input, settings,
                                                                     options.blockSize, result.latencySamples));
        if (! juce::PNGImageFormat().writeImageToStream (image, *plotStream))
            return fail (cannotWrite (*options.plot), fileError);
        plotStream.reset();
    }

    if (! audioTemp.overwriteTargetFileWithTemporary())
        return fail (cannotWrite (output), fileError);
    if (plotTemp.has_value() && ! plotTemp->overwriteTargetFileWithTemporary())
        return fail (cannotWrite (*options.plot), fileError);

    printFile ("Input", input, describeFile (format, reader->sampleRate, channels, (int) reader->bitsPerSample,
                                             reader->usesFloatingPointData, reader->lengthInSamples),
               analysis.input());
    printFile ("Output", output, describeFile (format, reader->sampleRate, channels, bits, floatingPoint,
                                               reader->lengthInSamples),
               analysis.output());
    printSummary (analysis, result, settings, options.blockSize);
    if (options.bpm.has_value())
        std::cout << "Tempo     " << juce::String (*options.bpm, 2) << " BPM, host transport playing\n";
    printAssistants (options, renderer.processor);

    if (options.plot.has_value())
        std::cout << "Plot      " << options.plot->getFullPathName() << "\n";

    return success;
}

int renderDemo (const RenderOptions& options, OfflineRenderer& renderer)
{
    const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile ("out");
    if (! folder.createDirectory())
        return fail ("cannot create the folder " + folder.getFullPathName(), fileError);

    const auto input = folder.getChildFile ("tarnwell-demo-input.wav");
    const auto output = folder.getChildFile ("tarnwell-demo.wav");

    if (const auto error = writeDemoInput (input); error.isNotEmpty())
        return fail (error, fileError);

    const int result = renderFile (options, renderer, input, output);
    if (result == success)
        std::cout << "\nRendered the built-in demo to " << output.getFullPathName()
                  << "\nCompare it with the unprocessed " << input.getFullPathName() << "\n";
    return result;
}

int run (const juce::ArgumentList& args)
{
    juce::String error;
    const auto options = RenderOptions::parse (args, error);
    if (! options.has_value())
        return fail (error, usageError);

    if (options->showHelp)
    {
        std::cout << RenderOptions::helpText();
        return success;
    }

    OfflineRenderer renderer;

    if (options->listParameters)
    {
        std::cout << RenderParameters::list (renderer.processor);
        return success;
    }

    if (options->listPresets)
    {
        std::cout << presetList (*renderer.processor.presetManager);
        return success;
    }

    // Settings are checked before anything is read or written.
    if (const auto code = applyPreset (*options, *renderer.processor.presetManager, error); code != success)
        return fail (error, code);

    if (error = RenderParameters::apply (renderer.processor, options->assignments); error.isNotEmpty())
        return fail (error, usageError);

    if (! options->input.has_value())
        return renderDemo (*options, renderer);

    return renderFile (*options, renderer, *options->input, options->output.value_or (defaultOutputFor (*options->input)));
}
} // namespace

int main (int argc, char* argv[])
{
    // The message thread: parameters are set on it, and the processor's
    // timer and the plot's fonts need JUCE initialised. No display is used.
    juce::ScopedJuceInitialiser_GUI juceInit;
    return run (juce::ArgumentList (argc, argv));
}

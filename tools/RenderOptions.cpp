#include "RenderOptions.h"

#include <cmath>
#include <cstdlib>

namespace
{
// The whole text must be a finite number; "4x" or "" are not.
std::optional<double> parseNumber (const juce::String& text)
{
    const auto* start = text.toRawUTF8();
    char* end = nullptr;
    const double value = std::strtod (start, &end);

    if (text.isEmpty() || end != start + text.getNumBytesAsUTF8() || ! std::isfinite (value))
        return std::nullopt;

    return value;
}

std::optional<RenderOptions::Assignment> parseAssignment (const juce::String& text)
{
    const auto id = text.upToFirstOccurrenceOf ("=", false, false).trim();
    const auto valueText = text.fromFirstOccurrenceOf ("=", false, false).trim();
    const auto value = parseNumber (valueText);

    if (! text.containsChar ('=') || id.isEmpty() || ! value.has_value())
        return std::nullopt;

    return RenderOptions::Assignment { id, *value, valueText };
}

std::optional<int> parseBlockSize (const juce::String& text)
{
    const auto value = parseNumber (text);

    if (! value.has_value() || *value != std::floor (*value) || *value < 1.0
        || *value > RenderOptions::maximumBlockSize)
        return std::nullopt;

    return (int) *value;
}
} // namespace

std::optional<RenderOptions> RenderOptions::parse (const juce::ArgumentList& args, juce::String& error)
{
    RenderOptions options;
    juce::Array<juce::File> files;

    for (int i = 0; i < args.size(); ++i)
    {
        const auto arg = args[i];

        // An option's value may follow as "--name=value" or as the next argument.
        auto takeValue = [&] (const char* name) -> std::optional<juce::String>
        {
            if (arg.text.containsChar ('='))
                return arg.getLongOptionValue();

            if (i + 1 < args.size())
                return args[++i].text;

            error = juce::String (name) + " needs a value";
            return std::nullopt;
        };

        if (arg == "--help|-h")
        {
            options.showHelp = true;
        }
        else if (arg == "--list-params")
        {
            options.listParameters = true;
        }
        else if (arg == "--list-presets")
        {
            options.listPresets = true;
        }
        else if (arg.isLongOption ("--preset"))
        {
            const auto text = takeValue ("--preset");
            if (! text.has_value())
                return std::nullopt;

            options.presetName = *text;
        }
        else if (arg.isLongOption ("--preset-file"))
        {
            const auto text = takeValue ("--preset-file");
            if (! text.has_value())
                return std::nullopt;

            options.presetFile = juce::File::getCurrentWorkingDirectory().getChildFile (*text);
        }
        else if (arg.isLongOption ("--set"))
        {
            const auto text = takeValue ("--set");
            if (! text.has_value())
                return std::nullopt;

            const auto assignment = parseAssignment (*text);
            if (! assignment.has_value())
            {
                error = "malformed --set \"" + *text + "\": expected id=number, e.g. --set ratio=4";
                return std::nullopt;
            }
            options.assignments.push_back (*assignment);
        }
        else if (arg.isLongOption ("--block-size"))
        {
            const auto text = takeValue ("--block-size");
            if (! text.has_value())
                return std::nullopt;

            const auto blockSize = parseBlockSize (*text);
            if (! blockSize.has_value())
            {
                error = "--block-size " + *text + " is not a whole number from 1 to " + juce::String (maximumBlockSize);
                return std::nullopt;
            }
            options.blockSize = *blockSize;
        }
        else if (arg.isLongOption ("--bpm"))
        {
            const auto text = takeValue ("--bpm");
            if (! text.has_value())
                return std::nullopt;

            const auto bpm = parseNumber (*text);
            if (! bpm.has_value() || *bpm < minimumBPM || *bpm > maximumBPM)
            {
                error = "--bpm " + *text + " is not a tempo from 1 to 999";
                return std::nullopt;
            }
            options.bpm = *bpm;
        }
        else if (arg.isLongOption ("--plot"))
        {
            const auto text = takeValue ("--plot");
            if (! text.has_value())
                return std::nullopt;

            options.plot = juce::File::getCurrentWorkingDirectory().getChildFile (*text);
        }
        else if (arg.isOption())
        {
            error = "unknown option " + arg.text + " (see --help)";
            return std::nullopt;
        }
        else
        {
            files.add (arg.resolveAsFile());
        }
    }

    if (options.presetName.has_value() && options.presetFile.has_value())
    {
        error = "give either --preset or --preset-file, not both";
        return std::nullopt;
    }

    if (files.size() > 2)
    {
        error = "too many file names: give at most an input and an output (see --help)";
        return std::nullopt;
    }

    if (files.size() > 0)
        options.input = files[0];
    if (files.size() > 1)
        options.output = files[1];

    return options;
}

juce::String RenderOptions::helpText()
{
    return R"(Usage: tarnwell-render [options] [input] [output]

Runs the Tarnwell Compressor over a WAV or AIFF file, block by block as a host
would, and writes the result in the input's format, sample rate and bit depth.
The output defaults to "<input name>-tarnwell.<ext>" next to the input.

Without an input it renders a built-in demo (8 s of drums and bass, stereo,
48 kHz) to out/tarnwell-demo.wav, with the unprocessed demo beside it as
out/tarnwell-demo-input.wav.

Options:
  --set id=value     Set a parameter in its plain units (dB, ms, %, ...);
                     choices take their index, switches 0 or 1. Repeatable,
                     applied in order. Example: --set threshold=-30 --set ratio=4
  --preset NAME      Start from a factory or user preset, by its exact name
                     (see --list-presets); --set values are applied on top.
                     Without one, a user preset named "Default" applies, as
                     in every new instance of the plug-in.
  --preset-file F    Start from a preset file (.twpreset) that need not be
                     installed. Its saved tempo is not used; see --bpm.
  --block-size N     Samples per processed block, 1 to 65536 (default 512).
  --bpm N            Render with a playing host transport at N BPM (1 to 999),
                     for tempo-synced settings. Without it there is no
                     transport and the plug-in keeps its own 120 BPM.
  --plot file.png    Also draw the input and output levels, the gain reduction
                     and the static curve of the settings into a PNG.
  --list-params      List the parameter IDs with their ranges, defaults, units.
  --list-presets     List the factory presets, then the user presets in
                     ~/.config/Audio/Presets/TARNWELL_PROJECT/TarnwellCompressor/User
                     (on macOS under ~/Library), as the plug-in shows them.
  -h, --help         Show this text.

Channels: a stereo file runs through the plug-in's stereo layout. A mono file
runs with the buses set to mono, i.e. one compressor, as a mono track in a host
does. Files with more channels are refused: the plug-in is a stereo effect.

Latency: the output is exactly what the plug-in gives a host, sample for sample
and as long as the input. With lookahead or oversampling the sound therefore
starts later by the reported latency, which hosts compensate; it is printed.

Formats: a 32-bit float WAV stays 32-bit float; a 32-bit integer WAV is written
as 32-bit float, the only 32-bit WAV the writer knows. A 32-bit AIFF is written
as 24-bit, AIFF's deepest writable format.

Exit status: 0 on success, 2 for a bad command line, 1 when a file cannot be
read or written. Nothing is left at the output path when rendering fails.
)";
}

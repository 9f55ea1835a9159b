// Runs tarnwell-render as a user does, as a separate process on files in a
// temporary folder, and checks its output against the built VST3 bundle
// running in a host.
#include "HostedPlugin.h"
#include "ParameterIDs.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr double rate = 48000.0;

struct Run
{
    int exitCode = -1;
    juce::String output; // stdout or stderr, whichever was asked for
};

// Runs the renderer in `workingDirectory`, capturing one of its streams.
Run runRenderer (const juce::StringArray& args, const juce::File& workingDirectory, int stream)
{
    const auto previous = juce::File::getCurrentWorkingDirectory();
    workingDirectory.setAsCurrentWorkingDirectory();

    juce::StringArray command { TARNWELL_RENDER_EXE };
    command.addArray (args);

    juce::ChildProcess process;
    Run run;
    if (process.start (command, stream))
    {
        run.output = process.readAllProcessOutput();
        process.waitForProcessToFinish (120000);
        run.exitCode = (int) process.getExitCode();
    }

    previous.setAsCurrentWorkingDirectory();
    return run;
}

// A fresh folder under the system's temporary folder, removed afterwards.
struct TempFolder
{
    juce::File folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                            .getNonexistentChildFile ("tarnwell-render-test", {}, false);

    TempFolder() { folder.createDirectory(); }
    ~TempFolder() { folder.deleteRecursively(); }

    juce::File operator/ (const char* name) const { return folder.getChildFile (name); }
};

// Programme-like material: a decaying tone burst every 250 ms over a quiet bed,
// different on each channel, loud enough to be compressed by the defaults.
juce::AudioBuffer<float> makeSignal (int channels, double sampleRate, double seconds)
{
    juce::AudioBuffer<float> buffer (channels, (int) (seconds * sampleRate));
    juce::Random random (7);

    for (int ch = 0; ch < channels; ++ch)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            const double t = i / sampleRate;
            const double envelope = 0.03 + 0.85 * std::exp (-std::fmod (t, 0.25) * 14.0);
            const double tone = std::sin (juce::MathConstants<double>::twoPi * (110.0 + 45.0 * ch) * t);
            buffer.setSample (ch, i, (float) (envelope * tone + 0.01 * (random.nextFloat() - 0.5f)));
        }

    return buffer;
}

void writeAudio (const juce::File& file, const juce::AudioBuffer<float>& buffer, double sampleRate, int bits)
{
    file.deleteFile();
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    auto* format = formats.findFormatForFileExtension (file.getFileExtension());
    ASSERT_NE (format, nullptr);

    auto stream = file.createOutputStream();
    ASSERT_NE (stream, nullptr);
    std::unique_ptr<juce::AudioFormatWriter> writer (
        format->createWriterFor (stream.get(), sampleRate, (unsigned int) buffer.getNumChannels(), bits, {}, 0));
    ASSERT_NE (writer, nullptr);
    stream.release();
    ASSERT_TRUE (writer->writeFromAudioSampleBuffer (buffer, 0, buffer.getNumSamples()));
}

struct Decoded
{
    juce::String formatName;
    double sampleRate = 0.0;
    int bits = 0;
    bool floatingPoint = false;
    juce::AudioBuffer<float> audio;
};

Decoded readAudio (const juce::File& file)
{
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));

    Decoded d;
    if (reader == nullptr)
        return d;

    d.formatName = reader->getFormatName();
    d.sampleRate = reader->sampleRate;
    d.bits = (int) reader->bitsPerSample;
    d.floatingPoint = reader->usesFloatingPointData;
    d.audio.setSize ((int) reader->numChannels, (int) reader->lengthInSamples);
    reader->read (&d.audio, 0, d.audio.getNumSamples(), 0, true, true);
    return d;
}

// Every name in a folder, hidden ones (the renderer's temporary files) included.
juce::StringArray listing (const juce::File& folder)
{
    juce::StringArray names;
    for (const auto& f : folder.findChildFiles (juce::File::findFilesAndDirectories, false))
        names.add (f.getFileName());
    names.sort (false);
    return names;
}

float largestDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b, int channel)
{
    float worst = 0.0f;
    for (int i = 0; i < a.getNumSamples(); ++i)
        worst = juce::jmax (worst, std::abs (a.getSample (channel, i) - b.getSample (channel, i)));
    return worst;
}

//==============================================================================
struct Setting
{
    const char* id;
    const char* hostName; // what a host lists, in plain words
    double value;
};

// Settings away from the defaults that change the audio path: a lower
// threshold, a steeper ratio, the lookahead delay, 4x oversampling, a dry share.
const Setting hostComparisonSettings[] = {
    { ParameterIDs::threshold, "Threshold", -30.0 },
    { ParameterIDs::ratio, "Ratio", 4.0 },
    { ParameterIDs::lookahead, "Lookahead", 1.0 },
    { ParameterIDs::oversampling, "Oversampling", 1.0 },
    { ParameterIDs::mix, "Mix", 70.0 },
};

// A host user types a plain value and the plug-in turns it into its normalised
// form. Switches and choices are steps, which VST3 spreads evenly over 0 to 1.
void setHostedParameter (juce::AudioPluginInstance& instance, const Setting& s)
{
    for (auto* p : instance.getParameters())
    {
        if (p->getName (64) != s.hostName)
            continue;

        p->setValueNotifyingHost (p->isDiscrete() ? (float) s.value / (float) (p->getNumSteps() - 1)
                                                  : p->getValueForText (juce::String (s.value)));
        return;
    }

    FAIL() << "the hosted plug-in has no parameter " << s.hostName;
}

// Runs the host's message loop for a while: the host hands parameter changes
// to the plug-in's controller and hears of latency changes there. The plug-in
// rebuilds its oversamplers on its own message thread, a timer tick after a
// change made on any other thread. A host that sets up a project before
// playback gives it that time; so does this test.
void letThePluginSettle()
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (300);
}

juce::AudioBuffer<float> renderInHost (juce::AudioPluginInstance& instance, const juce::AudioBuffer<float>& input,
                                       int blockSize)
{
    auto output = input;
    juce::MidiBuffer midi;
    letThePluginSettle();
    instance.prepareToPlay (rate, blockSize);
    letThePluginSettle();

    for (int start = 0; start < output.getNumSamples(); start += blockSize)
    {
        juce::AudioBuffer<float> block (output.getArrayOfWritePointers(), output.getNumChannels(), start,
                                        juce::jmin (blockSize, output.getNumSamples() - start));
        instance.processBlock (block, midi);
    }

    letThePluginSettle(); // the latency reaches the host through its message loop
    return output;
}

TEST (Renderer, OutputEqualsTheBundleInAHostSampleForSample)
{
    TempFolder temp;
    const int blockSize = 441; // not the default, and leaves a short last block
    const auto input = makeSignal (2, rate, 2.0);
    writeAudio (temp / "in.wav", input, rate, 32);

    juce::StringArray args { "--block-size", juce::String (blockSize) };
    for (const auto& s : hostComparisonSettings)
        args.addArray ({ "--set", juce::String (s.id) + "=" + juce::String (s.value) });
    args.addArray ({ (temp / "in.wav").getFullPathName(), (temp / "out.wav").getFullPathName() });

    const auto run = runRenderer (args, temp.folder, juce::ChildProcess::wantStdOut);
    ASSERT_EQ (run.exitCode, 0) << run.output;

    juce::String error;
    auto hosted = HostedPlugin::load (juce::File (TARNWELL_VST3_BUNDLE), rate, blockSize, error);
    ASSERT_NE (hosted.instance, nullptr) << error;
    for (const auto& s : hostComparisonSettings)
        setHostedParameter (*hosted.instance, s);

    const auto expected = renderInHost (*hosted.instance, input, blockSize);
    const auto rendered = readAudio (temp / "out.wav");
    ASSERT_EQ (rendered.audio.getNumChannels(), 2);
    ASSERT_EQ (rendered.audio.getNumSamples(), input.getNumSamples());

    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < input.getNumSamples(); ++i)
            ASSERT_EQ (rendered.audio.getSample (ch, i), expected.getSample (ch, i)) << "channel " << ch << " sample " << i;

    // Lookahead and oversampling both delay the sound; the summary says by how much.
    const int latency = hosted.instance->getLatencySamples();
    EXPECT_GT (latency, 960);
    EXPECT_TRUE (run.output.contains ("Latency   " + juce::String (latency) + " samples")) << run.output;
    hosted.instance->releaseResources();
}

//==============================================================================
struct FormatCase
{
    const char* name;
    const char* fileName;
    const char* formatName;
    double sampleRate;
    int channels, bits;
    bool floatingPoint;

    friend void PrintTo (const FormatCase& c, std::ostream* os) { *os << c.name; }
};

template <typename Case>
std::string caseName (const ::testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

class KeepsTheFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P (KeepsTheFormat, WritesTheInputsFormatRateAndDepthNextToTheInput)
{
    const auto& c = GetParam();
    TempFolder temp;
    const auto input = makeSignal (c.channels, c.sampleRate, 1.0);
    writeAudio (temp / c.fileName, input, c.sampleRate, c.bits);

    const auto run = runRenderer ({ (temp / c.fileName).getFullPathName() }, temp.folder, juce::ChildProcess::wantStdOut);
    ASSERT_EQ (run.exitCode, 0) << run.output;

    const auto source = readAudio (temp / c.fileName);
    const auto out = temp.folder.getChildFile (juce::File (c.fileName).getFileNameWithoutExtension() + "-tarnwell"
                                               + juce::File (c.fileName).getFileExtension());
    const auto rendered = readAudio (out);
    EXPECT_EQ (rendered.formatName, c.formatName);
    EXPECT_EQ (rendered.sampleRate, c.sampleRate);
    EXPECT_EQ (rendered.bits, c.bits);
    EXPECT_EQ (rendered.floatingPoint, c.floatingPoint);
    ASSERT_EQ (rendered.audio.getNumChannels(), c.channels);
    ASSERT_EQ (rendered.audio.getNumSamples(), input.getNumSamples());

    // Compressed: quieter peaks than the input, yet far from silent.
    const float inPeak = source.audio.getMagnitude (0, 0, source.audio.getNumSamples());
    const float outPeak = rendered.audio.getMagnitude (0, 0, rendered.audio.getNumSamples());
    EXPECT_LT (outPeak, inPeak * 0.9f);
    EXPECT_GT (outPeak, inPeak * 0.2f);
    EXPECT_EQ (listing (temp.folder).size(), 2) << listing (temp.folder).joinIntoString (", ");
}

INSTANTIATE_TEST_SUITE_P (Renderer, KeepsTheFormat,
                          ::testing::Values (FormatCase { "FloatWav", "float.wav", "WAV file", 48000.0, 2, 32, true },
                                             FormatCase { "MonoWav24", "mono.wav", "WAV file", 44100.0, 1, 24, false },
                                             FormatCase { "Aiff16", "stereo.aiff", "AIFF file", 96000.0, 2, 16, false }),
                          caseName<FormatCase>);

TEST (Renderer, MonoRunsOneCompressorLikeEachSideOfAStereoRender)
{
    // The compressors of the two sides are independent, so a mono render is the
    // left side of a stereo render of the same signal on both sides.
    TempFolder temp;
    const auto mono = makeSignal (1, rate, 1.0);
    juce::AudioBuffer<float> dual (2, mono.getNumSamples());
    dual.copyFrom (0, 0, mono, 0, 0, mono.getNumSamples());
    dual.copyFrom (1, 0, mono, 0, 0, mono.getNumSamples());
    writeAudio (temp / "mono.wav", mono, rate, 32);
    writeAudio (temp / "dual.wav", dual, rate, 32);

    for (const char* name : { "mono.wav", "dual.wav" })
        ASSERT_EQ (runRenderer ({ "--set", "ratio=6", (temp / name).getFullPathName() }, temp.folder,
                                juce::ChildProcess::wantStdOut).exitCode, 0);

    const auto monoOut = readAudio (temp / "mono-tarnwell.wav").audio;
    const auto dualOut = readAudio (temp / "dual-tarnwell.wav").audio;
    ASSERT_EQ (monoOut.getNumChannels(), 1);
    ASSERT_EQ (monoOut.getNumSamples(), mono.getNumSamples());
    EXPECT_GT (monoOut.getMagnitude (0, 0, monoOut.getNumSamples()), 0.1f);
    EXPECT_GT (largestDifference (monoOut, mono, 0), 0.05f) << "the mono file came out unprocessed";
    EXPECT_EQ (largestDifference (monoOut, dualOut, 0), 0.0f);
}

TEST (Renderer, BpmGivesTempoSyncedSettingsAHostTempo)
{
    // With tempo sync the times follow the host: at 60 BPM the release is
    // twice as long as at the built-in 120 BPM, so the sound differs.
    TempFolder temp;
    writeAudio (temp / "in.wav", makeSignal (2, rate, 2.0), rate, 32);

    for (const auto* bpm : { "120", "60" })
    {
        auto run = runRenderer ({ "--bpm", bpm, "--set", "bpmSync=1", "in.wav",
                                  juce::String ("at") + bpm + ".wav" },
                                temp.folder, juce::ChildProcess::wantStdOut);
        ASSERT_EQ (run.exitCode, 0) << run.output;
        EXPECT_TRUE (run.output.contains (juce::String (bpm) + ".00 BPM")) << run.output;
    }
    ASSERT_EQ (runRenderer ({ "--set", "bpmSync=1", "in.wav", "plain.wav" }, temp.folder,
                            juce::ChildProcess::wantStdOut).exitCode, 0);

    const auto at120 = readAudio (temp / "at120.wav").audio;
    EXPECT_EQ (largestDifference (at120, readAudio (temp / "plain.wav").audio, 0), 0.0f)
        << "120 BPM is the tempo the plug-in assumes without a host";
    EXPECT_GT (largestDifference (at120, readAudio (temp / "at60.wav").audio, 0), 1.0e-3f);
}

TEST (Renderer, ReportsWhatTheAssistantsLearned)
{
    TempFolder temp;
    writeAudio (temp / "in.wav", makeSignal (2, rate, 4.0), rate, 32);

    const auto run = runRenderer ({ "--set", "autoThreshold=1", "--set", "intAuto=1", "in.wav" }, temp.folder,
                                  juce::ChildProcess::wantStdOut);
    ASSERT_EQ (run.exitCode, 0) << run.output;
    EXPECT_TRUE (run.output.contains ("Learned   make-up ")) << run.output;
    EXPECT_TRUE (run.output.contains ("automatic threshold ")) << run.output;
    EXPECT_TRUE (run.output.contains ("automatic gain ")) << run.output;
}

TEST (Renderer, WithoutAnInputRendersTheDemoIntoOut)
{
    TempFolder temp;
    const auto run = runRenderer ({}, temp.folder, juce::ChildProcess::wantStdOut);
    ASSERT_EQ (run.exitCode, 0) << run.output;

    const auto demo = temp / "out/tarnwell-demo.wav";
    EXPECT_TRUE (run.output.contains (demo.getFullPathName())) << run.output;
    EXPECT_EQ (listing (temp / "out"), juce::StringArray ({ "tarnwell-demo-input.wav", "tarnwell-demo.wav" }));

    const auto input = readAudio (temp / "out/tarnwell-demo-input.wav");
    const auto output = readAudio (demo);
    EXPECT_EQ (output.sampleRate, 48000.0);
    EXPECT_TRUE (output.floatingPoint);
    ASSERT_EQ (output.audio.getNumChannels(), 2);
    ASSERT_EQ (output.audio.getNumSamples(), input.audio.getNumSamples());
    EXPECT_GE (output.audio.getNumSamples(), (int) (4 * 48000));
    EXPECT_GT (largestDifference (output.audio, input.audio, 0), 0.05f);
}

TEST (Renderer, PlotWritesAPngBesideTheAudio)
{
    TempFolder temp;
    writeAudio (temp / "in.wav", makeSignal (2, rate, 1.0), rate, 24);

    const auto run = runRenderer ({ "--plot", "levels.png", "in.wav" }, temp.folder, juce::ChildProcess::wantStdOut);
    ASSERT_EQ (run.exitCode, 0) << run.output;

    const auto image = juce::ImageFileFormat::loadFrom (temp / "levels.png");
    ASSERT_TRUE (image.isValid());
    EXPECT_GE (image.getWidth(), 800);
    EXPECT_GE (image.getHeight(), 400);
    EXPECT_LE (image.getWidth(), 4000);
    EXPECT_EQ (listing (temp.folder), juce::StringArray ({ "in-tarnwell.wav", "in.wav", "levels.png" }));
}

// The factory preset "16 EX TRIGGER BLEND ADV" as plain --set values.
const char* const preset16Settings[] = { "threshold=-28.9", "ratio=5.6", "attack=9.38", "release=75", "hold=37.5",
                                         "knee=2", "range=40", "physicsMode=3", "forceExtreme=1", "dampingExtreme=1",
                                         "forceMultiplier=200", "damping=20000", "tilt=0", "makeupGain=2.0000002",
                                         "inputGain=2.9802322e-07", "outputGain=2.9802322e-07", "mix=50",
                                         "oversampling=2", "bpmSync=0", "bpmSyncMode=1", "autoGain=0", "bypass=0",
                                         "safety=100", "lookahead=1", "stability=0", "scHPF=0", "rangeExtreme=0",
                                         "holdBypass=0", "noteGrid=1", "releaseMode=1" };

TEST (Renderer, APresetRendersLikeItsValuesSetOneByOne)
{
    TempFolder temp;
    writeAudio (temp / "in.wav", makeSignal (2, rate, 1.0), rate, 24);

    juce::StringArray setArgs;
    for (const auto* setting : preset16Settings)
        setArgs.addArray ({ "--set", setting });
    setArgs.addArray ({ "in.wav", "by-set.wav" });
    ASSERT_EQ (runRenderer (setArgs, temp.folder, juce::ChildProcess::wantStdOut).exitCode, 0);

    const auto run = runRenderer ({ "--preset", "16 EX TRIGGER BLEND ADV", "in.wav", "by-preset.wav" }, temp.folder,
                                  juce::ChildProcess::wantStdOut);
    ASSERT_EQ (run.exitCode, 0) << run.output;
    EXPECT_TRUE (run.output.contains ("Settings  preset \"16 EX TRIGGER BLEND ADV\"; block size 512")) << run.output;

    const auto bySet = readAudio (temp / "by-set.wav");
    const auto byPreset = readAudio (temp / "by-preset.wav");
    ASSERT_EQ (byPreset.audio.getNumSamples(), bySet.audio.getNumSamples());
    for (int ch = 0; ch < 2; ++ch)
        EXPECT_EQ (largestDifference (byPreset.audio, bySet.audio, ch), 0.0f) << "channel " << ch;
}

TEST (Renderer, APresetFileNeedNotBeInstalledAndSetsApplyOnTop)
{
    TempFolder temp;
    writeAudio (temp / "in.wav", makeSignal (2, rate, 1.0), rate, 24);
    ASSERT_TRUE ((temp / "mine.twpreset").replaceWithText ("<TarnwellCompressor presetName=\"Mine\">"
                                                          "<PARAM id=\"threshold\" value=\"-35\"/>"
                                                          "<PARAM id=\"ratio\" value=\"3\"/></TarnwellCompressor>"));

    ASSERT_EQ (runRenderer ({ "--set", "threshold=-35", "--set", "ratio=6", "in.wav", "by-set.wav" }, temp.folder,
                            juce::ChildProcess::wantStdOut).exitCode, 0);
    const auto run = runRenderer ({ "--preset-file", "mine.twpreset", "--set", "ratio=6", "in.wav", "by-file.wav" },
                                  temp.folder, juce::ChildProcess::wantStdOut);
    ASSERT_EQ (run.exitCode, 0) << run.output;
    EXPECT_TRUE (run.output.contains ("Settings  preset \"Mine\", ratio 6.0:1")) << run.output;

    const auto bySet = readAudio (temp / "by-set.wav");
    const auto byFile = readAudio (temp / "by-file.wav");
    for (int ch = 0; ch < 2; ++ch)
        EXPECT_EQ (largestDifference (byFile.audio, bySet.audio, ch), 0.0f) << "channel " << ch;
}

TEST (Renderer, ListsTheFactoryPresetsThenTheUsersOnes)
{
    const auto userFolder = juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory)
                                .getChildFile ("Audio/Presets/TARNWELL_PROJECT/TarnwellCompressor/User");
    ASSERT_TRUE (userFolder.createDirectory());
    const auto file = userFolder.getChildFile ("vocal take.twpreset");
    ASSERT_TRUE (file.replaceWithText ("<TarnwellCompressor presetName=\"Vocal Take\"/>"));

    TempFolder temp;
    const auto run = runRenderer ({ "--list-presets" }, temp.folder, juce::ChildProcess::wantStdOut);
    file.deleteFile();
    ASSERT_EQ (run.exitCode, 0);

    auto lines = juce::StringArray::fromLines (run.output.trim());
    ASSERT_EQ (lines.size(), 17) << run.output;
    EXPECT_TRUE (lines[0].startsWith ("01 Default ") && lines[0].endsWith ("factory")) << lines[0];
    EXPECT_TRUE (lines[15].startsWith ("16 EX TRIGGER BLEND ADV ")) << lines[15];
    EXPECT_TRUE (lines[16].startsWith ("Vocal Take ") && lines[16].endsWith ("user")) << lines[16];
    EXPECT_EQ (listing (temp.folder), juce::StringArray());
}

//==============================================================================
struct ErrorCase
{
    const char* name;
    std::vector<const char*> args; // {in} a good input, {out} an output in an empty folder, {fixtures} the inputs' folder
    const char* message;

    friend void PrintTo (const ErrorCase& c, std::ostream* os) { *os << c.name; }
};

class RejectsBadInput : public ::testing::TestWithParam<ErrorCase> {};

TEST_P (RejectsBadInput, WithOneLineOnStderrAndNoFiles)
{
    TempFolder temp;
    const auto fixtures = temp / "fixtures";
    const auto outFolder = temp / "out";
    const auto workingFolder = temp / "cwd";
    for (const auto& f : { fixtures, outFolder, workingFolder })
        f.createDirectory();

    writeAudio (fixtures.getChildFile ("in.wav"), makeSignal (2, rate, 0.5), rate, 16);
    writeAudio (fixtures.getChildFile ("three.wav"), makeSignal (3, rate, 0.5), rate, 16);
    fixtures.getChildFile ("notes.wav").replaceWithText ("not audio at all\n");
    const auto before = listing (fixtures);

    juce::StringArray args;
    for (auto* a : GetParam().args)
        args.add (juce::String (a)
                      .replace ("{in}", fixtures.getChildFile ("in.wav").getFullPathName())
                      .replace ("{out}", outFolder.getChildFile ("out.wav").getFullPathName())
                      .replace ("{fixtures}", fixtures.getFullPathName()));

    const auto run = runRenderer (args, workingFolder, juce::ChildProcess::wantStdErr);
    const auto error = run.output.trim();

    EXPECT_NE (run.exitCode, 0);
    EXPECT_TRUE (error.contains (GetParam().message)) << error;
    EXPECT_FALSE (error.containsChar ('\n')) << error;
    EXPECT_EQ (listing (outFolder), juce::StringArray());
    EXPECT_EQ (listing (workingFolder), juce::StringArray());
    EXPECT_EQ (listing (fixtures), before);
}

INSTANTIATE_TEST_SUITE_P (
    Renderer, RejectsBadInput,
    ::testing::Values (
        ErrorCase { "MissingInput", { "{fixtures}/missing.wav", "{out}" }, "no such file" },
        ErrorCase { "FolderAsInput", { "{fixtures}", "{out}" }, "is a folder, not an audio file" },
        ErrorCase { "NotAudio", { "{fixtures}/notes.wav", "{out}" }, "is not a WAV or AIFF file" },
        ErrorCase { "ThreeChannels", { "{fixtures}/three.wav", "{out}" }, "has 3 channels; only mono and stereo" },
        ErrorCase { "UnknownParameter", { "--set", "bogus=1", "{in}", "{out}" }, "unknown parameter \"bogus\"" },
        ErrorCase { "RatioAboveRange", { "--set", "ratio=50", "{in}", "{out}" }, "ratio=50 is outside 1 to 20" },
        ErrorCase { "ThresholdBelowRange", { "--set", "threshold=-60.5", "{in}", "{out}" }, "threshold=-60.5 is outside -60 to 0" },
        ErrorCase { "ChoiceNotWhole", { "--set", "oversampling=1.5", "{in}", "{out}" }, "oversampling=1.5 is not one of the whole numbers 0 to 2" },
        ErrorCase { "SetWithoutEquals", { "--set", "ratio", "{in}", "{out}" }, "malformed --set \"ratio\"" },
        ErrorCase { "SetWithoutNumber", { "--set", "ratio=four", "{in}", "{out}" }, "malformed --set \"ratio=four\"" },
        ErrorCase { "SetWithoutValue", { "{in}", "{out}", "--set" }, "--set needs a value" },
        ErrorCase { "BlockSizeZero", { "--block-size", "0", "{in}", "{out}" }, "--block-size 0 is not a whole number from 1 to 65536" },
        ErrorCase { "BlockSizeTooLarge", { "--block-size", "65537", "{in}", "{out}" }, "--block-size 65537 is not a whole number from 1 to 65536" },
        ErrorCase { "UnknownOption", { "--frobnicate", "{in}", "{out}" }, "unknown option --frobnicate" },
        ErrorCase { "TooManyFiles", { "{in}", "{out}", "extra.wav" }, "too many file names" },
        ErrorCase { "OutputFolderMissing", { "{in}", "{fixtures}/no-such-folder/out.wav" }, "cannot write" },
        ErrorCase { "PlotFolderMissing", { "--plot", "{fixtures}/no-such-folder/plot.png", "{in}", "{out}" }, "cannot write" },
        ErrorCase { "OutputIsInput", { "{in}", "{in}" }, "would overwrite the input" },
        ErrorCase { "OutputExtensionOfOtherFormat", { "{in}", "{fixtures}/out.aiff" }, "must end in .wav" },
        ErrorCase { "UnknownPreset", { "--preset", "03 slam kick", "{in}", "{out}" }, "no preset named \"03 slam kick\"" },
        ErrorCase { "PresetFileMissing", { "--preset-file", "{fixtures}/missing.twpreset", "{in}", "{out}" }, "no such file" },
        ErrorCase { "PresetFileNotAPreset", { "--preset-file", "{fixtures}/notes.wav", "{in}", "{out}" }, "is not a preset file" },
        ErrorCase { "PresetAndPresetFile", { "--preset", "01 Default", "--preset-file", "{fixtures}/x.twpreset", "{in}", "{out}" }, "not both" },
        ErrorCase { "TempoOutOfRange", { "--bpm", "0", "{in}", "{out}" }, "--bpm 0 is not a tempo from 1 to 999" },
        // Without an input the demo would be written; a bad setting stops it first.
        ErrorCase { "DemoWithUnknownParameter", { "--set", "bogus=1" }, "unknown parameter \"bogus\"" }),
    caseName<ErrorCase>);
} // namespace

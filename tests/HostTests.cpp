// Loads the built VST3 bundle through JUCE's VST3 hosting and checks what a
// DAW sees: identity, buses, programs, tail, the parameter list, the project
// state and the start-up preset.
#include "HostedPlugin.h"

#include <gtest/gtest.h>

namespace
{
constexpr double testSampleRate = 48000.0;
constexpr int testBlockSize = 512;

class HostedPluginTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        juce::String error;
        plugin = new HostedPlugin (HostedPlugin::load (juce::File (TARNWELL_VST3_BUNDLE),
                                                      testSampleRate, testBlockSize, error));
        loadError = error.toStdString();
    }

    static void TearDownTestSuite()
    {
        delete plugin;
        plugin = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE (plugin->instance, nullptr) << loadError;
    }

    static juce::AudioPluginInstance& instance() { return *plugin->instance; }

    static HostedPlugin* plugin;
    static std::string loadError;
};

HostedPlugin* HostedPluginTest::plugin = nullptr;
std::string HostedPluginTest::loadError;

TEST_F (HostedPluginTest, ReportsItsIdentity)
{
    const auto& d = plugin->description;
    EXPECT_EQ (d.pluginFormatName, "VST3");
    EXPECT_EQ (d.name, "Tarnwell Compressor v3.4.0");
    EXPECT_EQ (d.manufacturerName, "TARNWELL PROJECT");
    EXPECT_EQ (d.version, "3.4.0");
    EXPECT_EQ (d.category, "Fx");
    EXPECT_FALSE (d.isInstrument);
    EXPECT_EQ (instance().getName(), "Tarnwell Compressor v3.4.0");
}

TEST_F (HostedPluginTest, HasOneStereoBusEachWayAndNoMidi)
{
    ASSERT_EQ (instance().getBusCount (true), 1);
    ASSERT_EQ (instance().getBusCount (false), 1);

    auto* in = instance().getBus (true, 0);
    auto* out = instance().getBus (false, 0);
    EXPECT_EQ (in->getName(), "Input");
    EXPECT_EQ (out->getName(), "Output");
    EXPECT_EQ (in->getCurrentLayout(), juce::AudioChannelSet::stereo());
    EXPECT_EQ (out->getCurrentLayout(), juce::AudioChannelSet::stereo());
    EXPECT_TRUE (in->isEnabled());
    EXPECT_TRUE (out->isEnabled());

    EXPECT_FALSE (instance().acceptsMidi());
    EXPECT_FALSE (instance().producesMidi());
}

TEST_F (HostedPluginTest, ReportsNoTailAndNoProgramList)
{
    EXPECT_EQ (instance().getTailLengthSeconds(), 0.0);

    // A plug-in with one unnamed program offers VST3 hosts no program list.
    EXPECT_EQ (instance().getNumPrograms(), 0);
    EXPECT_TRUE (instance().getProgramName (0).isEmpty());
}

TEST_F (HostedPluginTest, ReportsNoLatencyOnDefaults)
{
    instance().prepareToPlay (testSampleRate, testBlockSize);
    EXPECT_EQ (instance().getLatencySamples(), 0);
    instance().releaseResources();
}

struct ExpectedParameter
{
    const char* name;
    const char* minText;
    const char* maxText;
    const char* defaultText;
    const char* unit;
    int steps; // 0 for a continuous parameter
};

// What a host shows for each parameter, in the order it lists them.
const ExpectedParameter expectedParameters[] = {
    { "Threshold", "-60.0", "0.0", "-20.0", "dB", 0 },
    { "Ratio", "1.0", "20.0", "2.0", ":1", 0 },
    { "Attack", "0.10", "100.00", "10.00", "ms", 0 },
    { "Release", "10.00", "5000.00", "100.00", "ms", 0 },
    { "Hold", "0.00", "300.00", "0.00", "ms", 0 },
    { "Hold Bypass", "Off", "On", "Off", "", 2 },
    { "Knee", "0.0", "10.0", "2.0", "dB", 0 },
    { "Range", "0.0", "80.0", "6.0", "dB", 0 },
    { "Physics Mode", "Standard", "F=ma Heavy", "F=ma Medium", "", 4 },
    { "Force", "0.05", "200.00", "1.00", "", 0 },
    { "Damping", "1.0", "20000.0", "1.0", "", 0 },
    { "Release Mode", "BOX", "AIR", "BOX", "", 2 },
    { "Range Extreme", "Off", "On", "Off", "", 2 },
    { "Force Extreme", "Off", "On", "Off", "", 2 },
    { "Damping Extreme", "Off", "On", "Off", "", 2 },
    { "BPM Sync", "Off", "On", "Off", "", 2 },
    { "BPM Sync Mode", "Normal", "Advanced", "Normal", "", 2 },
    { "Note Grid", "Off", "On", "On", "", 2 },
    { "Bypass", "Off", "On", "Off", "", 2 },
    { "Tilt", "-100", "100", "0", "%", 0 },
    { "Makeup Gain", "-20.0", "20.0", "0.0", "dB", 0 },
    { "Input Gain", "-20.0", "20.0", "0.0", "dB", 0 },
    { "Output Gain", "-20.0", "20.0", "0.0", "dB", 0 },
    { "Auto Gain", "Off", "On", "Off", "", 2 },
    { "Mix", "0.0", "100.0", "100.0", "%", 0 },
    { "Safety", "0", "100", "0", "%", 0 },
    { "Stability", "0", "100", "0", "%", 0 },
    { "SC HPF", "0", "300", "0", "Hz", 0 },
    { "Oversampling", "Off", "8x", "Off", "", 3 },
    { "Clamp Waveforms", "Off", "On", "On", "", 2 },
    { "Auto Threshold", "Off", "On", "Off", "", 2 },
    { "Intelligence Auto", "Off", "On", "Off", "", 2 },
    { "Lookahead", "Off", "On", "Off", "", 2 },
};

TEST_F (HostedPluginTest, ListsTheParametersInOrderWithTheirRangesDefaultsAndUnits)
{
    const auto& params = instance().getParameters();
    ASSERT_EQ (params.size(), (int) std::size (expectedParameters));

    for (int i = 0; i < params.size(); ++i)
    {
        const auto& expected = expectedParameters[i];
        auto& p = *params[i];
        SCOPED_TRACE (std::string ("parameter ") + std::to_string (i + 1) + " " + expected.name);

        EXPECT_EQ (p.getName (64), expected.name);
        EXPECT_EQ (p.getLabel(), expected.unit);
        EXPECT_EQ (p.getText (0.0f, 64), expected.minText);
        EXPECT_EQ (p.getText (1.0f, 64), expected.maxText);
        EXPECT_EQ (p.getText (p.getDefaultValue(), 64), expected.defaultText);
        EXPECT_FLOAT_EQ (p.getValue(), p.getDefaultValue()) << "a new instance starts at its defaults";
        EXPECT_TRUE (p.isAutomatable());

        if (expected.steps > 0)
        {
            EXPECT_EQ (p.getNumSteps(), expected.steps);
        }
    }
}

TEST_F (HostedPluginTest, SkewedParametersGiveTheLowEndMoreTravel)
{
    // Part way along the host's slider is well below the same part of the range.
    const struct { int index; float position; const char* text; } cases[] = {
        { 2, 0.4f, "16.08" },  // attack, skew 0.5: 0.1 + 99.9 * 0.4^2
        { 9, 0.5f, "12.55" },  // force, skew 0.25: 0.05 + 199.95 * 0.5^4
        { 10, 0.5f, "1985.2" }, // damping, skew 0.3: 1 + 19999 * 0.5^(1/0.3)
    };

    for (const auto& c : cases)
    {
        auto& p = *instance().getParameters()[c.index];
        SCOPED_TRACE (p.getName (64).toStdString());
        EXPECT_EQ (p.getText (c.position, 64), c.text);
    }
}

TEST_F (HostedPluginTest, HostBypassIsTheBypassParameter)
{
    auto* bypass = instance().getBypassParameter();
    ASSERT_NE (bypass, nullptr);
    EXPECT_EQ (bypass->getName (64), "Bypass");
    EXPECT_EQ (bypass, instance().getParameters()[18]);
}
} // namespace

namespace
{
HostedPlugin loadAnotherInstance()
{
    juce::String error;
    auto another = HostedPlugin::load (juce::File (TARNWELL_VST3_BUNDLE), testSampleRate, testBlockSize, error);
    EXPECT_NE (another.instance, nullptr) << error;
    return another;
}

juce::AudioProcessorParameter* parameterNamed (juce::AudioPluginInstance& p, const juce::String& name)
{
    for (auto* parameter : p.getParameters())
        if (parameter->getName (64) == name)
            return parameter;
    return nullptr;
}

TEST_F (HostedPluginTest, AProjectStateRestoresEveryParameterInANewInstance)
{
    auto saved = loadAnotherInstance();
    ASSERT_NE (saved.instance, nullptr);
    parameterNamed (*saved.instance, "Threshold")->setValueNotifyingHost (0.25f);
    parameterNamed (*saved.instance, "Ratio")->setValueNotifyingHost (0.6f);
    parameterNamed (*saved.instance, "Mix")->setValueNotifyingHost (0.5f);

    juce::MemoryBlock project;
    saved.instance->getStateInformation (project);

    auto restored = loadAnotherInstance();
    ASSERT_NE (restored.instance, nullptr);
    restored.instance->setStateInformation (project.getData(), (int) project.getSize());

    const auto& before = saved.instance->getParameters();
    const auto& after = restored.instance->getParameters();
    ASSERT_EQ (before.size(), after.size());
    for (int i = 0; i < before.size(); ++i)
        EXPECT_FLOAT_EQ (after[i]->getValue(), before[i]->getValue()) << before[i]->getName (64);
}

TEST_F (HostedPluginTest, ANewInstanceStartsWithTheUserPresetNamedDefault)
{
    const auto folder = juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory)
                            .getChildFile ("Audio/Presets/TARNWELL_PROJECT/TarnwellCompressor/User");
    ASSERT_TRUE (folder.createDirectory());
    const auto file = folder.getChildFile ("Default.twpreset");
    ASSERT_TRUE (file.replaceWithText ("<TarnwellCompressor presetName=\"Default\">"
                                       "<PARAM id=\"threshold\" value=\"-45\"/></TarnwellCompressor>"));

    auto fresh = loadAnotherInstance();
    file.deleteFile();
    ASSERT_NE (fresh.instance, nullptr);
    auto* threshold = parameterNamed (*fresh.instance, "Threshold");
    EXPECT_EQ (threshold->getText (threshold->getValue(), 16).getFloatValue(), -45.0f);
}
} // namespace

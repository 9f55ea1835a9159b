// Loads the built VST3 bundle through JUCE's VST3 hosting and checks what a
// DAW sees: identity, buses, programs, tail, the parameter list, the project
// state and the start-up preset.
#include "HostedPlugin.h"
#include "ParameterTable.h"
#include "TarnwellVersion.h"

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
    EXPECT_EQ (d.name, TarnwellVersion::pluginName);
    EXPECT_EQ (d.manufacturerName, "TARNWELL PROJECT");
    EXPECT_EQ (d.version, TarnwellVersion::number);
    EXPECT_EQ (d.category, "Fx");
    EXPECT_FALSE (d.isInstrument);
    EXPECT_EQ (instance().getName(), TarnwellVersion::pluginName);
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

using test::expectedParameters;

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

// The plug-in's reaction to a host's change writes further parameters; the
// host must see those too, not only the plug-in's editor.
TEST_F (HostedPluginTest, TimesThePlugInDerivesFromAHostChangeReachTheHost)
{
    struct HostSetting { const char* parameter; const char* text; };
    const struct { const char* name; std::vector<HostSetting> hostSettings; float attack, hold, release; } cases[] = {
        { "tempo sync, Advanced mode at 120 BPM", { { "BPM Sync", "On" }, { "BPM Sync Mode", "Advanced" } },
          15.63f, 62.5f, 125.0f },
        { "tilt +50 %", { { "Hold", "50" }, { "Tilt", "50" } }, 12.81f, 87.5f, 175.0f },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        auto hosted = loadAnotherInstance();
        ASSERT_NE (hosted.instance, nullptr);
        auto& plugin = *hosted.instance;
        plugin.prepareToPlay (testSampleRate, testBlockSize); // tempo sync derives its times from the compressors

        for (const auto& setting : c.hostSettings)
        {
            auto* parameter = parameterNamed (plugin, setting.parameter);
            parameter->setValueNotifyingHost (parameter->getValueForText (setting.text));
        }

        auto shownMs = [&plugin] (const char* name)
        {
            auto* parameter = parameterNamed (plugin, name);
            return parameter->getText (parameter->getValue(), 16).getFloatValue();
        };

        // The plug-in tells the host from its message thread.
        for (int tick = 0; tick < 200 && std::abs (shownMs ("Attack") - c.attack) > 0.01f; ++tick)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (10);

        EXPECT_NEAR (shownMs ("Attack"), c.attack, 0.01f);
        EXPECT_NEAR (shownMs ("Hold"), c.hold, 0.01f);
        EXPECT_NEAR (shownMs ("Release"), c.release, 0.01f);
        plugin.releaseResources();
    }
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

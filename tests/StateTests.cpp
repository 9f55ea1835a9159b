#include "PresetFile.h"
#include "ProcessorTestSupport.h"
#include "StateFuzzing.h"
#include "TemporaryHome.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

namespace
{
using Processor = TarnwellCompressorAudioProcessor;

// Everything a host state restores.
struct Restorable
{
    std::vector<float> parameters;
    double savedBPM, manualBPM;
    bool bpmFreeMode;
    float offsets[3];
    bool switches[7];
    juce::String pendingPresetName;

    bool operator== (const Restorable& o) const
    {
        return parameters == o.parameters && savedBPM == o.savedBPM && manualBPM == o.manualBPM
               && bpmFreeMode == o.bpmFreeMode && std::equal (offsets, offsets + 3, o.offsets)
               && std::equal (switches, switches + 7, o.switches) && pendingPresetName == o.pendingPresetName;
    }
};

Restorable restorableOf (Processor& p)
{
    Restorable r;
    for (auto* parameter : p.getParameters())
        r.parameters.push_back (test::parameterValue (p, dynamic_cast<juce::RangedAudioParameter*> (parameter)->paramID.toRawUTF8()));

    r.savedBPM = p.savedBPM;
    r.manualBPM = p.manualBPM;
    r.bpmFreeMode = p.bpmFreeMode;
    r.offsets[0] = p.bpmSyncAttackOffset;
    r.offsets[1] = p.bpmSyncHoldOffset;
    r.offsets[2] = p.bpmSyncReleaseOffset;
    const bool switches[] = { p.showCmpCurve, p.showOutCurve, p.showDirtEffect, p.glowEnabled,
                              p.showWaveformBars, p.ecoMode, p.kneeGlowEnabled.load() };
    std::copy (switches, switches + 7, r.switches);
    r.pendingPresetName = p.pendingPresetName;
    return r;
}

std::string replacedOnce (std::string text, const std::string& from, const std::string& to)
{
    if (const auto at = text.find (from); at != std::string::npos)
        text.replace (at, from.size(), to);
    return text;
}

juce::MemoryBlock stateOf (Processor& p)
{
    juce::MemoryBlock blob;
    p.getStateInformation (blob);
    return blob;
}

void restore (Processor& p, const juce::MemoryBlock& blob)
{
    p.setStateInformation (blob.getData(), (int) blob.getSize());
}

juce::MemoryBlock blobOf (const juce::XmlElement& xml)
{
    juce::MemoryBlock blob;
    juce::AudioProcessor::copyXmlToBinary (xml, blob);
    return blob;
}

juce::MemoryBlock blobOf (const juce::String& xmlText)
{
    const auto xml = juce::parseXML (xmlText);
    EXPECT_NE (xml, nullptr) << xmlText;
    return xml != nullptr ? blobOf (*xml) : juce::MemoryBlock();
}

class StateTest : public ::testing::Test
{
protected:
    test::TemporaryHome home;
    Processor source, target;

    float value (Processor& p, const char* id) { return test::parameterValue (p, id); }
};

TEST_F (StateTest, TheBlobIsJucesXmlContainerWithTheSettingsAppendedInOrder)
{
    source.presetManager->currentPresetName = "My Preset";
    const auto blob = stateOf (source);
    const auto* bytes = static_cast<const char*> (blob.getData());
    const auto size = blob.getSize();

    EXPECT_EQ (juce::String (bytes, 4), "VC2!");
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (bytes + 4), (juce::uint32) size - 9);
    EXPECT_EQ (bytes[size - 1], 0);

    const juce::String text (juce::CharPointer_UTF8 (bytes + 8), size - 9);
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_FALSE (text.containsAnyOf ("\r\n"));

    const auto xml = juce::parseXML (text);
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "TarnwellCompressor");
    EXPECT_EQ (xml->getNumChildElements(), source.getParameters().size());

    const juce::StringArray expected { "pluginVersion", "pluginVersionCode", "savedBPM", "manualBPM", "bpmFreeMode",
                                       "bpmSyncAttackOffset", "bpmSyncHoldOffset", "bpmSyncReleaseOffset",
                                       "showCmpCurve", "showOutCurve", "showDirtEffect", "glowEnabled",
                                       "showWaveformBars", "ecoMode", "kneeGlowEnabled", "currentPresetName" };
    juce::StringArray names;
    for (int i = 0; i < xml->getNumAttributes(); ++i)
        names.add (xml->getAttributeName (i));
    EXPECT_EQ (names, expected);

    EXPECT_EQ (xml->getStringAttribute ("pluginVersion"), "3.4.0");
    EXPECT_EQ (xml->getStringAttribute ("pluginVersionCode"), "197632");
    EXPECT_EQ (xml->getStringAttribute ("showCmpCurve"), "1");
    EXPECT_EQ (xml->getStringAttribute ("glowEnabled"), "0");

    // Without a current preset name the attribute is left out, even after a
    // restore put one into the tree.
    restore (source, blob);
    source.presetManager->currentPresetName = {};
    const auto again = juce::parseXML (juce::String (juce::CharPointer_UTF8 (static_cast<const char*> (stateOf (source).getData()) + 8)));
    ASSERT_NE (again, nullptr);
    EXPECT_FALSE (again->hasAttribute ("currentPresetName"));
    EXPECT_EQ (again->getAttributeName (again->getNumAttributes() - 1), "kneeGlowEnabled");
}

TEST_F (StateTest, EveryParameterAndSettingRoundTrips)
{
    // A legal value other than the default for each parameter; the
    // assistants stay off, since switching them on starts them.
    for (auto* parameter : source.getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter);
        if (ranged->paramID == ParameterIDs::autoGain || ranged->paramID == ParameterIDs::autoThreshold)
            continue;
        const float normalised = ranged->getNumSteps() == 2 ? 1.0f - ranged->getDefaultValue() : 0.37f;
        ranged->setValueNotifyingHost (normalised);
    }
    ASSERT_EQ (value (source, ParameterIDs::bpmSync), 1.0f);

    source.savedBPM = 97.5;
    source.manualBPM = 133.25;
    source.bpmFreeMode = true;
    source.bpmSyncAttackOffset = 1.5f;
    source.bpmSyncHoldOffset = -2.25f;
    source.bpmSyncReleaseOffset = 3.1f;
    source.showCmpCurve = source.showOutCurve = source.showDirtEffect = source.showWaveformBars = false;
    source.glowEnabled = source.ecoMode = true;
    source.kneeGlowEnabled = false;
    source.presetManager->currentPresetName = "My Preset";

    restore (target, stateOf (source));

    auto expected = restorableOf (source);
    expected.pendingPresetName = "My Preset";
    const auto restored = restorableOf (target);
    EXPECT_EQ (restored.parameters, expected.parameters);
    EXPECT_TRUE (restored == expected);
    EXPECT_TRUE (target.bpmFreeMode) << "switching tempo sync on while restoring must not lose free mode";
    EXPECT_EQ (target.bpmSyncReleaseOffset, 3.1f) << "restored times must not be taken as new offsets";

    // The editor hands the name over later; until then the manager keeps its own.
    EXPECT_TRUE (target.presetManager->currentPresetName.isEmpty());
}

TEST_F (StateTest, EveryParameterReportsTheRestoredValueEvenWhenTheHostLeftItBetweenSteps)
{
    // A host may set a switch or a stepped value anywhere between its steps.
    // The restored state must still be what each parameter reports afterwards.
    const auto saved = stateOf (source);

    for (auto* parameter : target.getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter);
        if (ranged->paramID == ParameterIDs::autoGain || ranged->paramID == ParameterIDs::autoThreshold)
            continue;
        ranged->setValueNotifyingHost (ranged->getDefaultValue() > 0.5f ? 0.747f : 0.253f);
    }

    restore (target, saved);

    for (auto* parameter : target.getParameters())
    {
        auto* restored = dynamic_cast<juce::RangedAudioParameter*> (parameter);
        auto* original = dynamic_cast<juce::RangedAudioParameter*> (source.getParameters()[parameter->getParameterIndex()]);
        EXPECT_NEAR (restored->getValue(), original->getValue(), 1.0e-6f) << restored->paramID;
    }
}

TEST_F (StateTest, BlobsThatFailTheChecksChangeNothing)
{
    test::setParameter (target, ParameterIDs::threshold, -33.0f);
    target.manualBPM = 140.0;
    const auto before = restorableOf (target);

    source.manualBPM = 90.0;
    test::setParameter (source, ParameterIDs::threshold, -10.0f);
    const auto good = stateOf (source);
    const auto* bytes = static_cast<const char*> (good.getData());
    const auto goodText = test::fuzz::textOf (good);
    test::Watchdog watchdog;

    auto withHeader = [&] (juce::uint32 magic, juce::uint32 length)
    {
        juce::MemoryBlock blob (good);
        static_cast<juce::uint32*> (blob.getData())[0] = juce::ByteOrder::swapIfBigEndian (magic);
        static_cast<juce::uint32*> (blob.getData())[1] = juce::ByteOrder::swapIfBigEndian (length);
        return blob;
    };

    juce::Random random (7);
    juce::MemoryBlock garbage (good.getSize());
    random.fillBitsRandomly (garbage.getData(), garbage.getSize());
    juce::MemoryBlock garbageText (withHeader (0x21324356, (juce::uint32) good.getSize() - 9));
    random.fillBitsRandomly (static_cast<char*> (garbageText.getData()) + 8, garbageText.getSize() - 8);

    const std::vector<std::pair<const char*, juce::MemoryBlock>> blobs {
        { "eight bytes", juce::MemoryBlock (bytes, 8) },
        { "wrong magic", withHeader (0x21324357, (juce::uint32) good.getSize() - 9) },
        { "zero length", withHeader (0x21324356, 0) },
        { "negative length", withHeader (0x21324356, 0x80000000u) },
        { "cut in the middle", juce::MemoryBlock (bytes, good.getSize() / 2) },
        { "random bytes", garbage },
        { "random text after a good header", garbageText },
        { "empty", juce::MemoryBlock() },
        // JUCE's strings step over such a byte forwards and backwards by
        // different amounts; splitting the version at its dots then wrote
        // past a heap block.
        { "a byte that is not UTF-8", test::fuzz::blobAround (replacedOnce (goodText, "3.4.0", "3.4.\xae" "0")) },
        { "an overlong UTF-8 form", test::fuzz::blobAround (replacedOnce (goodText, "3.4.0", "3.4.\xc0\xae" "0")) },
        { "a five-byte UTF-8 form", test::fuzz::blobAround (replacedOnce (goodText, "3.4.0", "3.\xf8\x88\x80\x80\xae" "0")) },
        // JUCE's parser never returns from this.
        { "a processing instruction followed by text",
          test::fuzz::blobAround (replacedOnce (goodText, "<PARAM", "<?pi x?>x<PARAM")) },
    };

    for (const auto& [label, blob] : blobs)
    {
        watchdog.guard (label, [&] { restore (target, blob); });
        EXPECT_TRUE (restorableOf (target) == before) << label;
    }

    target.setStateInformation (nullptr, 100);
    EXPECT_TRUE (restorableOf (target) == before);
}

TEST_F (StateTest, TheSavedVersionDecidesWhetherTheParametersApply)
{
    test::setParameter (source, ParameterIDs::threshold, -33.0f);
    source.manualBPM = 140.0;
    source.showCmpCurve = false;
    auto xml = juce::parseXML (juce::String (juce::CharPointer_UTF8 (static_cast<const char*> (stateOf (source).getData()) + 8)));
    ASSERT_NE (xml, nullptr);

    const std::pair<const char*, bool> versions[] = { { "3.4.0", true }, { "3.4.2", true }, { "3.1.0", true },
                                                      { "2.9.5", true }, { "3", true },     { nullptr, true },
                                                      { "2.8.0", false }, { "4.0.0", false }, { "1", false } };
    for (const auto& [version, applies] : versions)
    {
        Processor fresh;
        if (version != nullptr)
            xml->setAttribute ("pluginVersion", version);
        else
            xml->removeAttribute ("pluginVersion");

        restore (fresh, blobOf (*xml));
        const auto label = version != nullptr ? version : "no version";
        EXPECT_EQ (value (fresh, ParameterIDs::threshold), applies ? -33.0f : -20.0f) << label;
        EXPECT_EQ (fresh.manualBPM, 140.0) << label;
        EXPECT_FALSE (fresh.showCmpCurve) << label;
    }
}

TEST_F (StateTest, TheRootTagIsComparedIgnoringCase)
{
    const std::pair<const char*, bool> tags[] = { { "tarnwellcompressor", true }, { "TARNWELLCOMPRESSOR", true },
                                                  { "OtherCompressor", false } };
    for (const auto& [tag, applies] : tags)
    {
        Processor fresh;
        const auto defaultRatio = value (fresh, ParameterIDs::ratio);
        restore (fresh, blobOf (juce::String ("<") + tag + " manualBPM=\"150\"><PARAM id=\"ratio\" value=\"9\"/></" + tag + ">"));
        EXPECT_EQ (value (fresh, ParameterIDs::ratio), applies ? 9.0f : defaultRatio) << tag;
        EXPECT_EQ (fresh.manualBPM, 150.0) << tag;
    }
}

TEST_F (StateTest, OldRangesAreBroughtIntoTheCurrentModelAndAnnounced)
{
    struct Case
    {
        const char* params;
        const char* id;
        float expected;
    };
    const Case cases[] = {
        { R"(<PARAM id="range" value="60"/><PARAM id="rangeExtreme" value="0"/>)", ParameterIDs::rangeExtreme, 1.0f },
        { R"(<PARAM id="range" value="60"/><PARAM id="rangeExtreme" value="0"/>)", ParameterIDs::range, 60.0f },
        { R"(<PARAM id="forceMultiplier" value="150"/><PARAM id="forceExtreme" value="0"/>)", ParameterIDs::forceMultiplier, 100.0f },
        { R"(<PARAM id="forceMultiplier" value="150"/><PARAM id="forceExtreme" value="1"/>)", ParameterIDs::forceMultiplier, 150.0f },
        { R"(<PARAM id="damping" value="15000"/><PARAM id="dampingExtreme" value="0"/>)", ParameterIDs::damping, 10000.0f },
        { R"(<PARAM id="damping" value="15000"/><PARAM id="dampingExtreme" value="1"/>)", ParameterIDs::damping, 15000.0f },
    };

    struct HostView : juce::AudioProcessorListener
    {
        juce::StringArray changed;
        void audioProcessorParameterChanged (juce::AudioProcessor* p, int index, float) override
        {
            changed.addIfNotAlreadyThere (dynamic_cast<juce::RangedAudioParameter*> (p->getParameters()[index])->paramID);
        }
        void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    };

    for (const auto& c : cases)
    {
        Processor fresh;
        restore (fresh, blobOf (juce::String ("<TarnwellCompressor>") + c.params + "</TarnwellCompressor>"));
        EXPECT_EQ (value (fresh, c.id), c.expected) << c.params;
    }

    // The host hears of the change, not only the processor.
    Processor fresh;
    restore (fresh, blobOf (R"(<TarnwellCompressor><PARAM id="forceMultiplier" value="150"/><PARAM id="forceExtreme" value="1"/></TarnwellCompressor>)"));
    ASSERT_EQ (value (fresh, ParameterIDs::forceMultiplier), 150.0f);
    HostView host;
    fresh.addListener (&host);
    restore (fresh, blobOf (R"(<TarnwellCompressor><PARAM id="forceExtreme" value="0"/></TarnwellCompressor>)"));
    fresh.removeListener (&host);
    EXPECT_TRUE (host.changed.contains (ParameterIDs::forceMultiplier));
}

TEST_F (StateTest, AbsentSettingsTakeTheirDefaultsExceptTheHostTempo)
{
    target.savedBPM = 97.0;
    target.manualBPM = 140.0;
    target.showCmpCurve = false;
    target.glowEnabled = true;
    target.bpmSyncHoldOffset = 4.0f;
    target.pendingPresetName = "Old";

    restore (target, blobOf ("<TarnwellCompressor/>"));

    EXPECT_EQ (target.savedBPM, 97.0);
    EXPECT_EQ (target.manualBPM, 120.0);
    EXPECT_TRUE (target.showCmpCurve);
    EXPECT_FALSE (target.glowEnabled);
    EXPECT_EQ (target.bpmSyncHoldOffset, 0.0f);
    EXPECT_TRUE (target.pendingPresetName.isEmpty());
}

//==============================================================================
// Values that must not reach the compressors, through a host state and through
// a preset file alike.
struct BadValue
{
    const char* text;
    const char* id;
    float expected; // the parameter starts at threshold -33, ratio 6
};

const BadValue badValues[] = { { "nan", ParameterIDs::threshold, -33.0f },  { "inf", ParameterIDs::threshold, -33.0f },
                               { "-inf", ParameterIDs::threshold, -33.0f }, { "1e999", ParameterIDs::threshold, -33.0f },
                               { "abc", ParameterIDs::threshold, -33.0f },  { "", ParameterIDs::threshold, -33.0f },
                               { "-500", ParameterIDs::threshold, -60.0f }, { "500", ParameterIDs::ratio, 20.0f },
                               { "-3", ParameterIDs::ratio, 1.0f },         { "7", ParameterIDs::oversampling, 2.0f } };

juce::String stateWith (const BadValue& bad, const char* extraAttributes = "")
{
    return juce::String ("<TarnwellCompressor ") + extraAttributes + "><PARAM id=\"" + bad.id + "\" value=\"" + bad.text
           + "\"/></TarnwellCompressor>";
}

TEST_F (StateTest, NonFiniteValuesAreSkippedAndOutOfRangeOnesLimited)
{
    for (const auto& bad : badValues)
    {
        Processor fresh;
        test::setParameter (fresh, ParameterIDs::threshold, -33.0f);
        test::setParameter (fresh, ParameterIDs::ratio, 6.0f);
        restore (fresh, blobOf (stateWith (bad, "savedBPM=\"nan\" manualBPM=\"inf\" bpmSyncAttackOffset=\"nan\"")));
        EXPECT_EQ (value (fresh, bad.id), bad.expected) << bad.text;
        EXPECT_EQ (fresh.savedBPM, 120.0);
        EXPECT_EQ (fresh.manualBPM, 120.0);
        EXPECT_EQ (fresh.bpmSyncAttackOffset, 0.0f);

        // Saved again, the state holds the value in force.
        Processor copy;
        restore (copy, stateOf (fresh));
        EXPECT_EQ (value (copy, bad.id), bad.expected) << bad.text;
    }
}

TEST_F (StateTest, NonFiniteValuesInAPresetFileAreSkippedAndOutOfRangeOnesLimited)
{
    const auto file = PresetFile::userFolder().getChildFile ("Bad.twpreset");

    for (const auto& bad : badValues)
    {
        test::setParameter (target, ParameterIDs::threshold, -33.0f);
        test::setParameter (target, ParameterIDs::ratio, 6.0f);
        test::setParameter (target, ParameterIDs::oversampling, 0.0f);
        ASSERT_TRUE (file.replaceWithText (stateWith (bad, "presetName=\"Bad\"")));
        target.presetManager->scanForPresets();

        ASSERT_TRUE (target.presetManager->loadPreset ("Bad")) << bad.text;
        EXPECT_EQ (value (target, bad.id), bad.expected) << bad.text;
    }
}

//==============================================================================
// JUCE applies any child that carries an id, the last one winning, and saves
// foreign children and repeated attributes back out. In force and saved must
// be the same clean values, and a clean state afterwards must leave nothing
// behind.
struct ForeignContent
{
    const char* label;
    const char* children;
    const char* id;
    float expected; // the parameters start at threshold -33, ratio 6, make-up 0
};

const ForeignContent foreignContents[] = {
    { "foreign element last", R"(<PARAM id="threshold" value="-12"/><X id="threshold" value="nan"/>)", ParameterIDs::threshold, -12.0f },
    { "foreign element alone", R"(<X id="threshold" value="nan"/>)", ParameterIDs::threshold, -33.0f },
    { "foreign element in range", R"(<param id="makeupGain" value="-20"/>)", ParameterIDs::makeupGain, 0.0f },
    { "repeated attribute", R"(<PARAM id="threshold" value="-20" value="nan"/>)", ParameterIDs::threshold, -20.0f },
    { "repeated id", R"(<PARAM id="ratio" value="4"/><PARAM id="ratio" value="3"/>)", ParameterIDs::ratio, 3.0f },
    { "nested element", R"(<PARAM id="ratio" value="5"><PARAM id="ratio" value="nan"/></PARAM>)", ParameterIDs::ratio, 5.0f },
    { "unknown id", R"(<PARAM id="nonsense" value="1"/><PARAM id="ratio" value="2"/>)", ParameterIDs::ratio, 2.0f },
};

juce::String stateWithChildren (const char* children, const char* rootAttributes = "")
{
    return juce::String ("<TarnwellCompressor ") + rootAttributes + ">" + children + "</TarnwellCompressor>";
}

class StateWithForeignContent : public StateTest
{
protected:
    void startFrom (Processor& p)
    {
        test::setParameter (p, ParameterIDs::threshold, -33.0f);
        test::setParameter (p, ParameterIDs::ratio, 6.0f);
        test::setParameter (p, ParameterIDs::makeupGain, 0.0f);
    }

    // A clean state with other values for the parameters the table touches.
    juce::MemoryBlock cleanState()
    {
        test::setParameter (source, ParameterIDs::threshold, -7.0f);
        test::setParameter (source, ParameterIDs::ratio, 9.0f);
        test::setParameter (source, ParameterIDs::makeupGain, 3.0f);
        return stateOf (source);
    }

    void expectCleanStateTakesOver (Processor& p, const char* label)
    {
        restore (p, cleanState());
        EXPECT_EQ (restorableOf (p).parameters, restorableOf (source).parameters) << label;
    }
};

TEST_F (StateWithForeignContent, AHostStateAppliesAndSavesOnlyCleanParameters)
{
    for (const auto& c : foreignContents)
    {
        Processor fresh;
        startFrom (fresh);
        restore (fresh, blobOf (stateWithChildren (c.children)));

        EXPECT_EQ (value (fresh, c.id), c.expected) << c.label;
        EXPECT_EQ (test::fuzz::problemsAfterLoad (fresh), "") << c.label;
        expectCleanStateTakesOver (fresh, c.label);
    }
}

TEST_F (StateWithForeignContent, APresetAppliesAndSavesOnlyCleanParameters)
{
    const auto file = PresetFile::userFolder().getChildFile ("Foreign.twpreset");

    for (const auto& c : foreignContents)
    {
        startFrom (target);
        ASSERT_TRUE (file.replaceWithText (stateWithChildren (c.children, "presetName=\"Foreign\"")));
        target.presetManager->scanForPresets();

        ASSERT_TRUE (target.presetManager->loadPreset ("Foreign")) << c.label;
        EXPECT_EQ (value (target, c.id), c.expected) << c.label;
        EXPECT_EQ (test::fuzz::problemsAfterLoad (target), "") << c.label;
        expectCleanStateTakesOver (target, c.label);
    }
}

TEST_F (StateTest, APresetOfAnotherRootTypeStillLeavesARestorableState)
{
    const auto file = PresetFile::userFolder().getChildFile ("Other.twpreset");
    ASSERT_TRUE (file.replaceWithText (R"(<Other presetName="Other"><PARAM id="ratio" value="7"/></Other>)"));
    source.presetManager->scanForPresets();
    ASSERT_TRUE (source.presetManager->loadPreset ("Other"));

    restore (target, stateOf (source));
    EXPECT_EQ (value (target, ParameterIDs::ratio), 7.0f);
}

// The host may hand over a size beyond the data it holds. Here the data ends
// at an inaccessible page, so reading one byte too far crashes.
class BlobAtTheEndOfReadableMemory
{
public:
    explicit BlobAtTheEndOfReadableMemory (const juce::MemoryBlock& blob)
    {
        const auto page = (size_t) sysconf (_SC_PAGESIZE);
        readableSize = (blob.getSize() + page - 1) / page * page;
        mapping = mmap (nullptr, readableSize + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        mprotect (static_cast<char*> (mapping) + readableSize, page, PROT_NONE);
        data = static_cast<char*> (mapping) + readableSize - blob.getSize();
        std::memcpy (data, blob.getData(), blob.getSize());
    }

    ~BlobAtTheEndOfReadableMemory() { munmap (mapping, readableSize + (size_t) sysconf (_SC_PAGESIZE)); }

    char* data = nullptr;

private:
    void* mapping = nullptr;
    size_t readableSize = 0;
};

TEST_F (StateTest, ASizeBeyondTheDataIsReadNoFurtherThanTheBlobDeclares)
{
    test::setParameter (source, ParameterIDs::ratio, 9.0f);
    const auto good = stateOf (source);
    constexpr int beyond = 1 << 20;

    BlobAtTheEndOfReadableMemory exact (good);
    target.setStateInformation (exact.data, (int) good.getSize() + beyond);
    EXPECT_EQ (value (target, ParameterIDs::ratio), 9.0f);

    // A length that overstates the text too: its terminating zero ends it.
    test::setParameter (source, ParameterIDs::ratio, 4.0f);
    auto overstated = stateOf (source);
    static_cast<juce::uint32*> (overstated.getData())[1] = juce::ByteOrder::swapIfBigEndian ((juce::uint32) beyond);
    BlobAtTheEndOfReadableMemory atZero (overstated);
    target.setStateInformation (atZero.data, (int) overstated.getSize() + beyond);
    EXPECT_EQ (value (target, ParameterIDs::ratio), 4.0f);
}

//==============================================================================
// The fuzz runs here are short; tarnwell-state-fuzz runs the same for long.
TEST_F (StateTest, FuzzedBlobsNeverCrashOrHangAndRejectedOnesChangeNothing)
{
    source.presetManager->currentPresetName = "Fuzz";
    test::setParameter (source, ParameterIDs::ratio, 8.0f);
    const auto good = test::fuzz::textOf (stateOf (source));
    juce::Random random (20261211);
    test::Watchdog watchdog;
    int rejected = 0;

    for (int i = 0; i < 3000; ++i)
    {
        const auto blob = test::fuzz::mutatedBlob (good, random);
        const auto before = restorableOf (target);
        watchdog.guard ("blob " + std::to_string (i), [&] { restore (target, blob); });

        if (test::fuzz::isRefused (blob))
        {
            ++rejected;
            ASSERT_TRUE (restorableOf (target) == before) << "mutation " << i;
        }

        ASSERT_EQ (test::fuzz::problemsAfterLoad (target), "") << "mutation " << i;
    }

    EXPECT_GT (rejected, 100);
}

TEST_F (StateTest, FuzzedPresetFilesNeverCrashOrHangAndNeverSetABadValue)
{
    ASSERT_EQ (source.presetManager->savePreset ("Good"), PresetManager::saved);
    const auto good = PresetFile::userFolder().getChildFile ("Good.twpreset").loadFileAsString().toStdString();
    juce::Random random (11122026);
    test::Watchdog watchdog;

    for (int round = 0; round < 4; ++round)
    {
        for (int i = 0; i < 500; ++i)
        {
            const auto text = test::fuzz::mutated (good, random);
            PresetFile::userFolder().getChildFile ("fuzz" + juce::String (i) + ".twpreset").replaceWithData (text.data(), text.size());
        }

        watchdog.guard ("scan", [&] { target.presetManager->scanForPresets(); });
        for (const auto& name : target.presetManager->getAllPresetNames())
        {
            watchdog.guard ("preset " + name.toStdString(), [&] { target.presetManager->loadPreset (name); });
            ASSERT_EQ (test::fuzz::problemsAfterLoad (target), "") << "preset " << name;
        }
    }
}
} // namespace

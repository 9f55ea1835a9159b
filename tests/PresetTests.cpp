#include "PresetFile.h"
#include "ProcessorTestSupport.h"
#include "StateFuzzing.h"
#include "TemporaryHome.h"

#include <gtest/gtest.h>

namespace
{
const juce::StringArray factoryNames { "01 Default", "02 NORMAL KICK", "03 SLAM KICK", "04 SLAM KICK BLEND",
                                       "05 NORMAL SNARE", "06 SLAM SNARE", "07 SLAM SNARE BLEND",
                                       "08 SMASH GRUE DRUMBUS", "09 NORMAL BASS", "10 HARD BASS",
                                       "11 HARD BASS BLEND", "12 NORMAL GUITAR", "13 NORMAL GUITAR BLEND",
                                       "14 PIANO BLEND", "15 VOCAL BLEND", "16 EX TRIGGER BLEND ADV" };

struct RecordingListener : PresetManager::Listener
{
    RecordingListener (juce::StringArray& logToUse, const char* nameToUse) : log (logToUse), name (nameToUse) {}

    void presetLoaded (const juce::String& preset) override { log.add (name + " loaded " + preset); }
    void presetListChanged() override { log.add (name + " list changed"); }

    juce::StringArray& log;
    juce::String name;
};

juce::StringArray filesUnder (const juce::File& folder)
{
    juce::StringArray paths;
    for (const auto& entry : juce::RangedDirectoryIterator (folder, true, "*", juce::File::findFilesAndDirectories))
        paths.add (entry.getFile().getFullPathName());
    paths.sort (false);
    return paths;
}

juce::StringArray userNames (const PresetManager& manager)
{
    auto names = manager.getAllPresetNames();
    names.removeRange (0, factoryNames.size());
    return names;
}

class PresetTest : public ::testing::Test
{
protected:
    test::TemporaryHome home;
    std::unique_ptr<TarnwellCompressorAudioProcessor> processor = std::make_unique<TarnwellCompressorAudioProcessor>();

    PresetManager& presets() { return *processor->presetManager; }
    float value (const char* id) { return test::parameterValue (*processor, id); }
    void set (const char* id, float plainValue) { test::setParameter (*processor, id, plainValue); }

    // A new instance, which reads the preset folder afresh.
    void restart()
    {
        processor.reset();
        processor = std::make_unique<TarnwellCompressorAudioProcessor>();
    }

    static juce::File userFile (const juce::String& fileName) { return PresetFile::userFolder().getChildFile (fileName); }

    static void writeUserFile (const juce::String& fileName, const juce::String& text)
    {
        ASSERT_TRUE (userFile (fileName).replaceWithText (text));
    }
};

TEST_F (PresetTest, StartUpCreatesBothFoldersInTheHomeAndListsTheFactoryPresetsInOrder)
{
    const auto root = home.folder.getChildFile (".config/Audio/Presets/TARNWELL_PROJECT/TarnwellCompressor");
    EXPECT_TRUE (root.getChildFile ("User").isDirectory());
    EXPECT_TRUE (root.getChildFile ("Factory").isDirectory());
    EXPECT_EQ (PresetFile::userFolder(), root.getChildFile ("User"));

    EXPECT_EQ (presets().getAllPresetNames(), factoryNames);
    for (const auto& preset : presets().getPresets())
    {
        EXPECT_TRUE (preset.isFactory);
        EXPECT_EQ (preset.category, "Factory");
    }
}

TEST_F (PresetTest, FactoryPresetsHoldTheirExactFloatsAndSetThirtyParameters)
{
    set (ParameterIDs::clampWaveforms, 0.0f);
    set (ParameterIDs::intAuto, 1.0f);

    for (int n = 0; n < PresetManager::numFactoryPresets; ++n)
    {
        const auto& record = PresetManager::embeddedFactoryPresets[n];
        const auto& preset = presets().getPresets().getReference (n);
        ASSERT_EQ (preset.name, record.name);
        ASSERT_EQ (preset.state.getNumChildren(), PresetManager::numFactoryParameters);

        ASSERT_TRUE (presets().loadPreset (record.name));
        EXPECT_EQ (presets().currentPresetName, record.name);

        for (int i = 0; i < PresetManager::numFactoryParameters; ++i)
        {
            const auto* id = PresetManager::factoryParameterIDs[i];
            const auto child = preset.state.getChild (i);
            EXPECT_EQ (child["id"].toString(), id);
            EXPECT_EQ ((double) child["value"], (double) record.values[i]) << record.name << ": " << id;

            // In force is what the parameter makes of the value: snapped to its interval.
            auto* parameter = processor->parameters.getParameter (id);
            EXPECT_FLOAT_EQ (value (id), parameter->convertFrom0to1 (parameter->convertTo0to1 (record.values[i])))
                << record.name << ": " << id;
        }

        EXPECT_EQ (value (ParameterIDs::clampWaveforms), 0.0f);
        EXPECT_EQ (value (ParameterIDs::intAuto), 1.0f);
    }

    // The data keeps the odd floats rather than rounded ones.
    EXPECT_EQ (PresetManager::embeddedFactoryPresets[0].values[8], 0.9999999f);
    EXPECT_NE (PresetManager::embeddedFactoryPresets[0].values[8], 1.0f);
    EXPECT_EQ (PresetManager::embeddedFactoryPresets[0].values[11], std::nextafter (5.0f, 6.0f));

    // No range rule applies to a preset load.
    ASSERT_TRUE (presets().loadPreset ("16 EX TRIGGER BLEND ADV"));
    EXPECT_EQ (value (ParameterIDs::oversampling), 2.0f);
    EXPECT_EQ (value (ParameterIDs::forceMultiplier), 200.0f);
    EXPECT_EQ (value (ParameterIDs::damping), 20000.0f);
    EXPECT_EQ (value (ParameterIDs::forceExtreme), 1.0f);
    EXPECT_EQ (value (ParameterIDs::dampingExtreme), 1.0f);

    EXPECT_FALSE (presets().loadPreset ("16 ex trigger blend adv"));
}

TEST_F (PresetTest, ASavedPresetFileHasTheFiveAttributesLastAndInOrder)
{
    set (ParameterIDs::threshold, -31.5f);
    ASSERT_EQ (presets().savePreset ("Kick"), PresetManager::saved);

    const auto file = userFile ("Kick.twpreset");
    const auto text = file.loadFileAsString();
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n")) << text;

    const auto xml = juce::parseXML (text);
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "TarnwellCompressor");
    ASSERT_EQ (xml->getNumAttributes(), 5);

    const char* const expected[][2] = { { "presetName", "Kick" }, { "category", "User" }, { "version", "2.8.77" },
                                        { "isFactory", "0" }, { "savedBPM", "120.0" } };
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ (xml->getAttributeName (i), expected[i][0]);
        EXPECT_EQ (xml->getAttributeValue (i), expected[i][1]);
    }

    EXPECT_EQ (xml->getNumChildElements(), processor->getParameters().size());
    EXPECT_EQ (xml->getChildByAttribute ("id", ParameterIDs::threshold)->getDoubleAttribute ("value"), -31.5);

    // After loading a user preset and restoring a host state the live tree
    // carries attributes of its own; the five still come last, in order.
    ASSERT_TRUE (presets().loadPreset ("Kick"));
    juce::MemoryBlock blob;
    processor->getStateInformation (blob);
    processor->setStateInformation (blob.getData(), (int) blob.getSize());
    ASSERT_EQ (presets().savePreset ("Kick"), PresetManager::saved);

    const auto again = juce::parseXML (file);
    ASSERT_NE (again, nullptr);
    const int n = again->getNumAttributes();
    ASSERT_GE (n, 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ (again->getAttributeName (n - 5 + i), expected[i][0]);
}

TEST_F (PresetTest, SavingWritesTheValuesInForceNotTheTreeAsLastFlushed)
{
    // Set and saved at once, before the framework's timer could copy the
    // value into the tree.
    set (ParameterIDs::ratio, 7.5f);
    ASSERT_EQ (presets().savePreset ("Fresh"), PresetManager::saved);

    const auto xml = juce::parseXML (userFile ("Fresh.twpreset"));
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getChildByAttribute ("id", ParameterIDs::ratio)->getDoubleAttribute ("value"), 7.5);
}

TEST_F (PresetTest, SavingNotifiesListChangedThenLoadedInRegistrationOrder)
{
    juce::StringArray log;
    RecordingListener first (log, "first"), second (log, "second");
    presets().addListener (&first);
    presets().addListener (&second);
    presets().addListener (&first); // already registered: once only

    ASSERT_EQ (presets().savePreset ("Bass"), PresetManager::saved);
    EXPECT_EQ (log, juce::StringArray ({ "first list changed", "second list changed", "first loaded Bass",
                                         "second loaded Bass" }));
    EXPECT_EQ (presets().currentPresetName, "Bass");

    log.clear();
    presets().removeListener (&first);
    ASSERT_TRUE (presets().loadPreset ("02 NORMAL KICK"));
    EXPECT_FALSE (presets().loadPreset ("No Such Preset"));
    EXPECT_EQ (log, juce::StringArray ({ "second loaded 02 NORMAL KICK" }));
    presets().removeListener (&second);
}

TEST_F (PresetTest, UserNamesFollowTheFactoryOnesSortedIgnoringCase)
{
    for (const auto* name : { "beta", "Alpha", "gamma" })
        ASSERT_EQ (presets().savePreset (name), PresetManager::saved);

    EXPECT_EQ (userNames (presets()), juce::StringArray ({ "Alpha", "beta", "gamma" }));

    restart();
    auto names = presets().getAllPresetNames();
    EXPECT_EQ (names.size(), 19);
    names.removeRange (16, 3);
    EXPECT_EQ (names, factoryNames);
}

TEST_F (PresetTest, AFactoryNameIsRefusedExactlyAndSavingTwiceKeepsOneFile)
{
    juce::StringArray log;
    RecordingListener listener (log, "editor");
    presets().addListener (&listener);

    EXPECT_EQ (presets().savePreset ("03 SLAM KICK"), PresetManager::factoryNameRefused);
    EXPECT_TRUE (filesUnder (PresetFile::userFolder()).isEmpty());
    EXPECT_TRUE (log.isEmpty());
    EXPECT_TRUE (presets().currentPresetName.isEmpty());

    EXPECT_EQ (presets().savePreset ("03 slam kick"), PresetManager::saved);
    set (ParameterIDs::ratio, 5.0f);
    EXPECT_EQ (presets().savePreset ("03 slam kick"), PresetManager::saved);

    EXPECT_EQ (filesUnder (PresetFile::userFolder()).size(), 1);
    EXPECT_EQ (userNames (presets()), juce::StringArray ({ "03 slam kick" }));
    presets().removeListener (&listener);
}

struct UnsafeName
{
    const char* label;
    juce::String name;
};

class UnsafePresetName : public PresetTest, public ::testing::WithParamInterface<UnsafeName>
{
};

TEST_P (UnsafePresetName, FailsAndWritesNothingAnywhere)
{
    juce::StringArray log;
    RecordingListener listener (log, "editor");
    presets().addListener (&listener);
    const auto before = filesUnder (home.folder);

    EXPECT_EQ (presets().savePreset (GetParam().name), PresetManager::saveFailed);

    EXPECT_EQ (filesUnder (home.folder), before);
    EXPECT_TRUE (log.isEmpty());
    EXPECT_TRUE (presets().currentPresetName.isEmpty());
    presets().removeListener (&listener);
}

INSTANTIATE_TEST_SUITE_P (Presets, UnsafePresetName,
                          ::testing::Values (UnsafeName { "Empty", "" }, UnsafeName { "OnlySpaces", "   " },
                                             UnsafeName { "ParentFolder", "../x" },
                                             UnsafeName { "FarOutside", "../../../../../../../../tmp/x" },
                                             UnsafeName { "SubFolder", "drums/kick" },
                                             UnsafeName { "Backslash", "drums\\kick" },
                                             UnsafeName { "DotDot", ".." }, UnsafeName { "Tab", "kick\tsnare" },
                                             UnsafeName { "LineBreak", "kick\nsnare" },
                                             UnsafeName { "Delete", juce::String::charToString (0x7f) }),
                          [] (const ::testing::TestParamInfo<UnsafeName>& c) { return std::string (c.param.label); });

TEST_F (PresetTest, LoadingAPresetWithoutSomeParametersLeavesThemAsTheyAre)
{
    writeUserFile ("Partial.twpreset", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                       "<TarnwellCompressor presetName=\"Partial\">\n"
                                       "  <PARAM id=\"threshold\" value=\"-12.5\"/>\n"
                                       "</TarnwellCompressor>\n");
    presets().scanForPresets();
    set (ParameterIDs::ratio, 7.0f);

    ASSERT_TRUE (presets().loadPreset ("Partial"));
    EXPECT_EQ (value (ParameterIDs::threshold), -12.5f);
    EXPECT_EQ (value (ParameterIDs::ratio), 7.0f);

    // Saved again, the preset holds the ratio that was in force.
    ASSERT_EQ (presets().savePreset ("Whole"), PresetManager::saved);
    set (ParameterIDs::ratio, 2.0f);
    ASSERT_TRUE (presets().loadPreset ("Whole"));
    EXPECT_EQ (value (ParameterIDs::ratio), 7.0f);
}

TEST_F (PresetTest, AUserPresetNamedDefaultIsAppliedByTheNextInstance)
{
    set (ParameterIDs::threshold, -9.0f);
    ASSERT_EQ (presets().savePreset ("Default"), PresetManager::saved);

    restart();
    EXPECT_EQ (value (ParameterIDs::threshold), -9.0f);
    EXPECT_EQ (presets().currentPresetName, "Default");

    ASSERT_TRUE (userFile ("Default.twpreset").deleteFile());
    restart();
    EXPECT_EQ (value (ParameterIDs::threshold), -20.0f) << "without it the parameters keep their defaults";
    EXPECT_TRUE (presets().currentPresetName.isEmpty());
}

TEST_F (PresetTest, DeleteRemovesTheFileThePresetWasReadFrom)
{
    writeUserFile ("old-file-name.twpreset", "<TarnwellCompressor presetName=\"Renamed\"/>");
    presets().scanForPresets();
    ASSERT_TRUE (presets().loadPreset ("Renamed"));

    juce::StringArray log;
    RecordingListener listener (log, "editor");
    presets().addListener (&listener);

    presets().deletePreset ("Renamed");
    EXPECT_FALSE (userFile ("old-file-name.twpreset").exists());
    EXPECT_TRUE (userNames (presets()).isEmpty());
    EXPECT_EQ (log, juce::StringArray ({ "editor list changed" }));
    EXPECT_EQ (presets().currentPresetName, "Renamed");

    restart();
    EXPECT_TRUE (userNames (presets()).isEmpty()) << "it must not come back";

    // Factory presets cannot be deleted.
    presets().deletePreset ("01 Default");
    EXPECT_EQ (presets().getAllPresetNames(), factoryNames);
    presets().removeListener (&listener);
}

TEST_F (PresetTest, ScanningSkipsWhatIsNotAPresetAndTakesAnyXmlThatIs)
{
    juce::Random random (42);
    juce::MemoryBlock garbage (4096);
    random.fillBitsRandomly (garbage.getData(), garbage.getSize());
    ASSERT_TRUE (userFile ("garbage.twpreset").replaceWithData (garbage.getData(), garbage.getSize()));

    writeUserFile ("empty.twpreset", "");
    writeUserFile ("truncated.twpreset", "<TarnwellCompressor presetName=\"Cut\"><PARAM id=\"ratio\" val");
    writeUserFile ("huge.twpreset", "<TarnwellCompressor presetName=\"Huge\">"
                                        + juce::String::repeatedString (" ", 2 << 20) + "</TarnwellCompressor>");
    writeUserFile ("deep.twpreset", "<TarnwellCompressor presetName=\"Deep\">"
                                        + juce::String::repeatedString ("<a>", 200000)
                                        + juce::String::repeatedString ("</a>", 200000) + "</TarnwellCompressor>");
    writeUserFile ("entities.twpreset", "<?xml version=\"1.0\"?>\n<!DOCTYPE x [<!ENTITY a \"aaaaaaaaaa\">"
                                        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>\n"
                                        "<TarnwellCompressor presetName=\"&b;\"/>");
    ASSERT_TRUE (userFile ("folder.twpreset").createDirectory());
    writeUserFile ("not-a-preset.xml", "<TarnwellCompressor presetName=\"Wrong Extension\"/>");

    // JUCE's parser never returns from a processing instruction followed by text.
    writeUserFile ("instruction.twpreset", "<TarnwellCompressor presetName=\"PI\"><?pi x?>x"
                                           "<PARAM id=\"ratio\" value=\"3\"/></TarnwellCompressor>");
    // An overlong form: not UTF-8, though JUCE's own check lets it through.
    const char overlong[] = "<TarnwellCompressor presetName=\"3.4.\xc0\xae" "0\"/>";
    ASSERT_TRUE (userFile ("utf8.twpreset").replaceWithData (overlong, sizeof (overlong) - 1));

    writeUserFile ("Plain.twpreset", "<anything/>");
    writeUserFile ("flagged.twpreset", "<TarnwellCompressor presetName=\"Flagged\" isFactory=\"1\" category=\"Drums\"/>");

    // A file like these must never stop an instance from starting.
    test::Watchdog watchdog;
    watchdog.guard ("start-up", [&] { restart(); });
    watchdog.guard ("scan", [&] { presets().scanForPresets(); });

    EXPECT_EQ (userNames (presets()), juce::StringArray ({ "Flagged", "Plain" }));
    for (const auto& preset : presets().getPresets())
    {
        if (preset.name == "Plain")
        {
            EXPECT_EQ (preset.category, "User");
        }
        if (preset.name == "Flagged")
        {
            EXPECT_EQ (preset.category, "Drums");
            EXPECT_FALSE (preset.isFactory);
        }
    }
}

const PresetManager::Preset* findPreset (const PresetManager& manager, const juce::String& name)
{
    for (const auto& preset : manager.getPresets())
        if (preset.name == name)
            return &preset;
    return nullptr;
}

TEST_F (PresetTest, EachPresetKeepsItsTempoInItsEntry)
{
    writeUserFile ("a.twpreset", "<TarnwellCompressor presetName=\"A\" savedBPM=\"93.5\"/>");
    writeUserFile ("b.twpreset", "<TarnwellCompressor presetName=\"B\" savedBPM=\"nan\"/>");
    writeUserFile ("c.twpreset", "<TarnwellCompressor presetName=\"C\" savedBPM=\"-5\"/>");
    writeUserFile ("d.twpreset", "<TarnwellCompressor presetName=\"D\"/>");
    restart();

    EXPECT_EQ (processor->savedBPM, 120.0) << "reading the list changes no tempo";
    EXPECT_EQ (findPreset (presets(), "A")->savedBPM, 93.5);
    for (const auto* name : { "B", "C", "D" })
        EXPECT_FALSE (findPreset (presets(), name)->savedBPM.has_value()) << name;
    EXPECT_FALSE (findPreset (presets(), "01 Default")->savedBPM.has_value());

    // Without a host tempo the one in use stays the last known, not the preset's.
    ASSERT_TRUE (presets().loadPreset ("A"));
    EXPECT_EQ (processor->savedBPM, 120.0);
}

TEST_F (PresetTest, SavingOrDeletingNeverMovesTheTempoInUse)
{
    // Listed after the one saved below, so read last by every scan.
    writeUserFile ("slow.twpreset", "<TarnwellCompressor presetName=\"slow\" savedBPM=\"60\"/>");
    presets().scanForPresets();

    test::TestPlayHead playHead;
    playHead.bpm = 120.0;
    processor->setPlayHead (&playHead);
    processor->prepareToPlay (48000.0, 512);
    set (ParameterIDs::bpmSync, 1.0f);
    test::runConstant (*processor, 0.0f, 512, 1);
    set (ParameterIDs::attack, 40.0f);
    const auto attack = value (ParameterIDs::attack);
    const auto offset = processor->bpmSyncAttackOffset;

    const auto expectTempoKept = [&] (const char* after)
    {
        test::runConstant (*processor, 0.0f, 512, 1);
        EXPECT_EQ (processor->savedBPM, 120.0) << after;
        EXPECT_EQ (processor->bpmSyncAttackOffset, offset) << after;
        EXPECT_EQ (value (ParameterIDs::attack), attack) << after;
    };

    ASSERT_EQ (presets().savePreset ("Mine"), PresetManager::saved);
    expectTempoKept ("a save");
    EXPECT_EQ (findPreset (presets(), "Mine")->savedBPM, 120.0);
    EXPECT_EQ (findPreset (presets(), "slow")->savedBPM, 60.0);

    presets().deletePreset ("Mine");
    expectTempoKept ("a delete");

    processor->setPlayHead (nullptr);
}

//==============================================================================
// A preset or an A/B slot holds final values: applying it must give back
// every parameter exactly, whatever the tilt and tempo sync.
struct FinalValuesCase
{
    float tilt;
    bool bpmSync;
};

class FinalValues : public PresetTest, public ::testing::WithParamInterface<FinalValuesCase>
{
protected:
    std::vector<float> parameterValues()
    {
        std::vector<float> values;
        for (auto* parameter : processor->getParameters())
            values.push_back (parameter->getValue());
        return values;
    }

    // Times set after the tilt are final as they stand.
    void setTimesAndTilt()
    {
        processor->prepareToPlay (48000.0, 512);
        set (ParameterIDs::bpmSync, GetParam().bpmSync ? 1.0f : 0.0f);
        set (ParameterIDs::tilt, GetParam().tilt);
        set (ParameterIDs::attack, 12.81f);
        set (ParameterIDs::hold, 25.63f);
        set (ParameterIDs::release, 350.0f);
        set (ParameterIDs::bpmSyncMode, 1.0f);
    }

    // Every setting involved somewhere else.
    void changeEverything()
    {
        set (ParameterIDs::tilt, GetParam().tilt == 0.0f ? 60.0f : 0.0f);
        set (ParameterIDs::attack, 40.0f);
        set (ParameterIDs::hold, 10.0f);
        set (ParameterIDs::release, 200.0f);
        set (ParameterIDs::bpmSyncMode, 0.0f);
        set (ParameterIDs::bpmSync, GetParam().bpmSync ? 0.0f : 1.0f);
    }
};

TEST_P (FinalValues, ASavedPresetLoadsAsItWasSaved)
{
    setTimesAndTilt();
    const auto saved = parameterValues();
    ASSERT_EQ (presets().savePreset ("Times"), PresetManager::saved);

    changeEverything();
    ASSERT_TRUE (presets().loadPreset ("Times"));
    EXPECT_EQ (parameterValues(), saved);

    test::runConstant (*processor, 0.0f, 512, 1);
    EXPECT_EQ (parameterValues(), saved) << "after the next block";
}

TEST_P (FinalValues, TheStartUpPresetLoadsAsItWasSaved)
{
    setTimesAndTilt();
    const auto saved = parameterValues();
    ASSERT_EQ (presets().savePreset ("Default"), PresetManager::saved);

    restart();
    EXPECT_EQ (parameterValues(), saved);
}

TEST_P (FinalValues, ABAndBackGivesEachSlotBack)
{
    setTimesAndTilt();
    const auto slotA = parameterValues();
    presets().setAbModeActive (true);

    changeEverything();
    const auto slotB = parameterValues();

    bool showingB = false;
    for (const auto& expected : { slotB, slotA, slotB, slotA })
    {
        ASSERT_TRUE (presets().swapAbSlots (showingB));
        showingB = ! showingB;
        EXPECT_EQ (parameterValues(), expected) << (showingB ? "on B" : "on A");
    }
}

INSTANTIATE_TEST_SUITE_P (Presets, FinalValues,
                          ::testing::Values (FinalValuesCase { 0.0f, false }, FinalValuesCase { 50.0f, false },
                                             FinalValuesCase { 100.0f, false }, FinalValuesCase { -70.0f, false },
                                             FinalValuesCase { 0.0f, true }, FinalValuesCase { 50.0f, true },
                                             FinalValuesCase { 100.0f, true }, FinalValuesCase { -70.0f, true }),
                          [] (const ::testing::TestParamInfo<FinalValuesCase>& c)
                          {
                              return "Tilt" + std::string (c.param.tilt < 0 ? "Minus" : "")
                                     + std::to_string ((int) std::abs (c.param.tilt))
                                     + (c.param.bpmSync ? "Synced" : "Free");
                          });

//==============================================================================
class AbComparisonTest : public PresetTest
{
protected:
    // The editor's own flag: which slot its label shows.
    bool showingB = false;

    void swap()
    {
        if (presets().swapAbSlots (showingB))
            showingB = ! showingB;
    }
};

TEST_F (AbComparisonTest, SlotANamesTheCurrentPresetOrCurrentState)
{
    presets().setAbModeActive (true);
    EXPECT_EQ (presets().getAbState().nameA, "Current State");

    ASSERT_TRUE (presets().loadPreset ("02 NORMAL KICK"));
    presets().setAbModeActive (true);
    const auto& ab = presets().getAbState();
    EXPECT_TRUE (ab.isActive && ab.hasStateA && ! ab.hasStateB && ! ab.isOnB);
    EXPECT_EQ (ab.nameA, "02 NORMAL KICK");
}

TEST_F (AbComparisonTest, EditsStayWithTheirSlot)
{
    juce::StringArray log;
    RecordingListener listener (log, "editor");
    presets().addListener (&listener);

    set (ParameterIDs::ratio, 3.0f);
    presets().setAbModeActive (true); // slot A: ratio 3, taken at once
    set (ParameterIDs::ratio, 4.0f);              // becomes slot B's starting point

    swap();
    EXPECT_TRUE (showingB);
    EXPECT_EQ (presets().getAbState().nameB, "Slot B");
    EXPECT_EQ (presets().currentPresetName, "Slot B");
    EXPECT_EQ (value (ParameterIDs::ratio), 4.0f) << "slot B is a copy of the live state";
    EXPECT_EQ (log, juce::StringArray ({ "editor loaded Slot B" }));

    set (ParameterIDs::ratio, 6.0f); // an edit on B, swapped away from at once
    swap();
    EXPECT_FALSE (showingB);
    EXPECT_EQ (value (ParameterIDs::ratio), 3.0f);
    EXPECT_EQ (presets().currentPresetName, "Current State");

    set (ParameterIDs::threshold, -40.0f); // an edit on A
    swap();
    EXPECT_EQ (value (ParameterIDs::ratio), 6.0f);
    EXPECT_EQ (value (ParameterIDs::threshold), -20.0f);
    swap();
    EXPECT_EQ (value (ParameterIDs::threshold), -40.0f);
    EXPECT_EQ (value (ParameterIDs::ratio), 3.0f);

    // Switching off keeps what the live slot had.
    swap();
    presets().setAbModeActive (false);
    EXPECT_EQ (value (ParameterIDs::ratio), 6.0f);
    EXPECT_EQ (presets().currentPresetName, "Slot B");
    const auto& ab = presets().getAbState();
    EXPECT_FALSE (ab.isActive || ab.hasStateA || ab.hasStateB || ab.stateA.isValid() || ab.stateB.isValid());

    log.clear();
    EXPECT_FALSE (presets().swapAbSlots (showingB)) << "the swap does nothing while the mode is off";
    EXPECT_EQ (value (ParameterIDs::ratio), 6.0f);
    EXPECT_TRUE (log.isEmpty());
    presets().removeListener (&listener);
}
} // namespace

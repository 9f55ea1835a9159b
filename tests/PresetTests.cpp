#include "PresetFile.h"
#include "ProcessorTestSupport.h"
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
    set ("clampWaveforms", 0.0f);
    set ("intAuto", 1.0f);

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

        EXPECT_EQ (value ("clampWaveforms"), 0.0f);
        EXPECT_EQ (value ("intAuto"), 1.0f);
    }

    // The data keeps the odd floats rather than rounded ones.
    EXPECT_EQ (PresetManager::embeddedFactoryPresets[0].values[8], 0.9999999f);
    EXPECT_NE (PresetManager::embeddedFactoryPresets[0].values[8], 1.0f);
    EXPECT_EQ (PresetManager::embeddedFactoryPresets[0].values[11], std::nextafter (5.0f, 6.0f));

    // No range rule applies to a preset load.
    ASSERT_TRUE (presets().loadPreset ("16 EX TRIGGER BLEND ADV"));
    EXPECT_EQ (value ("oversampling"), 2.0f);
    EXPECT_EQ (value ("forceMultiplier"), 200.0f);
    EXPECT_EQ (value ("damping"), 20000.0f);
    EXPECT_EQ (value ("forceExtreme"), 1.0f);
    EXPECT_EQ (value ("dampingExtreme"), 1.0f);

    EXPECT_FALSE (presets().loadPreset ("16 ex trigger blend adv"));
}

TEST_F (PresetTest, ASavedPresetFileHasTheFiveAttributesLastAndInOrder)
{
    set ("threshold", -31.5f);
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
    EXPECT_EQ (xml->getChildByAttribute ("id", "threshold")->getDoubleAttribute ("value"), -31.5);

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
    set ("ratio", 7.5f);
    ASSERT_EQ (presets().savePreset ("Fresh"), PresetManager::saved);

    const auto xml = juce::parseXML (userFile ("Fresh.twpreset"));
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getChildByAttribute ("id", "ratio")->getDoubleAttribute ("value"), 7.5);
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
    set ("ratio", 5.0f);
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
    set ("ratio", 7.0f);

    ASSERT_TRUE (presets().loadPreset ("Partial"));
    EXPECT_EQ (value ("threshold"), -12.5f);
    EXPECT_EQ (value ("ratio"), 7.0f);

    // Saved again, the preset holds the ratio that was in force.
    ASSERT_EQ (presets().savePreset ("Whole"), PresetManager::saved);
    set ("ratio", 2.0f);
    ASSERT_TRUE (presets().loadPreset ("Whole"));
    EXPECT_EQ (value ("ratio"), 7.0f);
}

TEST_F (PresetTest, AUserPresetNamedDefaultIsAppliedByTheNextInstance)
{
    set ("threshold", -9.0f);
    ASSERT_EQ (presets().savePreset ("Default"), PresetManager::saved);

    restart();
    EXPECT_EQ (value ("threshold"), -9.0f);
    EXPECT_EQ (presets().currentPresetName, "Default");

    ASSERT_TRUE (userFile ("Default.twpreset").deleteFile());
    restart();
    EXPECT_EQ (value ("threshold"), -20.0f) << "without it the parameters keep their defaults";
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

    writeUserFile ("Plain.twpreset", "<anything/>");
    writeUserFile ("flagged.twpreset", "<TarnwellCompressor presetName=\"Flagged\" isFactory=\"1\" category=\"Drums\"/>");

    presets().scanForPresets();

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

TEST_F (PresetTest, AScannedPresetsTempoBecomesTheSavedTempoWhenUsable)
{
    writeUserFile ("a.twpreset", "<TarnwellCompressor presetName=\"A\" savedBPM=\"93.5\"/>");
    restart();
    EXPECT_EQ (processor->savedBPM, 93.5);

    writeUserFile ("b.twpreset", "<TarnwellCompressor presetName=\"B\" savedBPM=\"nan\"/>");
    writeUserFile ("c.twpreset", "<TarnwellCompressor presetName=\"C\" savedBPM=\"-5\"/>");
    restart();
    EXPECT_EQ (processor->savedBPM, 93.5);
}

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

    set ("ratio", 3.0f);
    presets().setAbModeActive (true); // slot A: ratio 3, taken at once
    set ("ratio", 4.0f);              // becomes slot B's starting point

    swap();
    EXPECT_TRUE (showingB);
    EXPECT_EQ (presets().getAbState().nameB, "Slot B");
    EXPECT_EQ (presets().currentPresetName, "Slot B");
    EXPECT_EQ (value ("ratio"), 4.0f) << "slot B is a copy of the live state";
    EXPECT_EQ (log, juce::StringArray ({ "editor loaded Slot B" }));

    set ("ratio", 6.0f); // an edit on B, swapped away from at once
    swap();
    EXPECT_FALSE (showingB);
    EXPECT_EQ (value ("ratio"), 3.0f);
    EXPECT_EQ (presets().currentPresetName, "Current State");

    set ("threshold", -40.0f); // an edit on A
    swap();
    EXPECT_EQ (value ("ratio"), 6.0f);
    EXPECT_EQ (value ("threshold"), -20.0f);
    swap();
    EXPECT_EQ (value ("threshold"), -40.0f);
    EXPECT_EQ (value ("ratio"), 3.0f);

    // Switching off keeps what the live slot had.
    swap();
    presets().setAbModeActive (false);
    EXPECT_EQ (value ("ratio"), 6.0f);
    EXPECT_EQ (presets().currentPresetName, "Slot B");
    const auto& ab = presets().getAbState();
    EXPECT_FALSE (ab.isActive || ab.hasStateA || ab.hasStateB || ab.stateA.isValid() || ab.stateB.isValid());

    log.clear();
    EXPECT_FALSE (presets().swapAbSlots (showingB)) << "the swap does nothing while the mode is off";
    EXPECT_EQ (value ("ratio"), 6.0f);
    EXPECT_TRUE (log.isEmpty());
    presets().removeListener (&listener);
}
} // namespace

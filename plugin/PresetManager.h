#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>
#include <optional>

// The list of presets (compiled-in factory presets first, then the user's
// preset files), loading, saving and deleting them, the name of the current
// preset, and the two states of the A/B comparison. Message thread only.
class PresetManager
{
public:
    struct Preset
    {
        juce::String name;
        juce::String category;
        juce::ValueTree state;
        bool isFactory = false;
        juce::File file; // where a user preset was read from
        std::optional<double> savedBPM; // the tempo a user preset was saved at, when usable
    };

    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void presetLoaded (const juce::String& name) = 0;
        virtual void presetListChanged() = 0;
    };

    struct AbTestState
    {
        juce::ValueTree stateA, stateB;
        juce::String nameA, nameB;
        bool hasStateA = false;
        bool hasStateB = false;
        bool isActive = false;
        bool isOnB = false;
    };

    static constexpr int numFactoryParameters = 30;
    static constexpr int numFactoryPresets = 16;

    struct EmbeddedFactoryPreset
    {
        const char* name;
        const char* category;
        float values[numFactoryParameters]; // plain values, in the order of factoryParameterIDs
    };

    static const char* const factoryParameterIDs[numFactoryParameters];
    static const EmbeddedFactoryPreset embeddedFactoryPresets[numFactoryPresets];

    enum SaveResult
    {
        saved = 0,
        factoryNameRefused = 1,
        saveFailed = 2
    };

    // What the manager needs from the processor that owns it.
    struct Owner
    {
        // The tempo written into saved presets.
        std::function<double()> tempo;

        // Makes the tree the live parameter state. Its values are final: a
        // preset or an A/B slot holds times as they were heard, so nothing
        // derives new times, offsets or a tempo mode from them.
        std::function<void (juce::ValueTree)> applyFinalValues;
    };

    // Creates the preset folders, reads the user presets and adds the factory ones.
    PresetManager (juce::AudioProcessorValueTreeState&, Owner);

    // Rebuilds the user part of the list from disk. Notifies nobody and
    // changes nothing else: each preset keeps its tempo in its entry.
    void scanForPresets();

    // Applies the first preset of that exact name; false when there is none.
    // The tempo in use stays the host's or the typed one, never the preset's.
    bool loadPreset (const juce::String& name);

    // Applies a preset file from anywhere, as if it were installed; false when
    // the file cannot be read as a preset.
    bool loadPresetFile (const juce::File&);

    // A SaveResult.
    int savePreset (const juce::String& name);

    // Factory names in list order, then user names sorted ignoring case.
    juce::StringArray getAllPresetNames() const;

    // Removes the file of the first user preset of that name, then rescans.
    void deletePreset (const juce::String& name);

    void addListener (Listener*);
    void removeListener (Listener*);

    void addEmbeddedFactoryPreset (const EmbeddedFactoryPreset&);

    const juce::Array<Preset>& getPresets() const { return presets; }

    // A/B comparison. Switching on fills slot A from the live parameters;
    // switching off empties both slots and leaves the parameters as they are.
    void setAbModeActive (bool shouldBeActive);

    // Makes the slot not shown the live state, filling slot B from the live
    // parameters the first time. Returns whether the shown slot flips, which is
    // whenever the mode is on.
    bool swapAbSlots (bool showingB);

    const AbTestState& getAbState() const { return abState; }

    // The preset last loaded or saved, or the A/B slot last switched to.
    juce::String currentPresetName;

private:
    // A preset's tree, cleaned, as final values.
    void applyPresetState (const juce::ValueTree&);

    // In registration order. A listener removed during the round is not called
    // after its removal; one added during it waits for the next round.
    template <typename Callback>
    void callListeners (Callback&& callback)
    {
        const auto registered = listeners;
        for (auto* listener : registered)
            if (listeners.contains (listener))
                callback (*listener);
    }

    void makeSlotLive (juce::ValueTree& slot, const juce::String& slotName);

    juce::AudioProcessorValueTreeState& parameters;
    Owner owner;
    juce::Array<Preset> presets;
    juce::Array<Listener*> listeners;
    juce::CriticalSection presetLock;
    AbTestState abState;

    JUCE_DECLARE_NON_COPYABLE (PresetManager)
};

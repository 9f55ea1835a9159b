#include "PresetManager.h"

#include "IncomingState.h"
#include "PresetFile.h"

PresetManager::PresetManager (juce::AudioProcessorValueTreeState& parametersToUse, Owner ownerToUse)
    : parameters (parametersToUse), owner (std::move (ownerToUse))
{
    PresetFile::userFolder().createDirectory();
    PresetFile::factoryFolder().createDirectory();

    scanForPresets();

    for (const auto& record : embeddedFactoryPresets)
        addEmbeddedFactoryPreset (record);
}

void PresetManager::scanForPresets()
{
    const juce::ScopedLock lock (presetLock);

    for (int i = presets.size(); --i >= 0;)
        if (! presets.getReference (i).isFactory)
            presets.remove (i);

    for (const auto& file : PresetFile::list (PresetFile::userFolder()))
    {
        const auto contents = PresetFile::read (file);
        if (! contents.has_value())
            continue;

        presets.add ({ contents->name, contents->category, contents->state, false, file, contents->savedBPM });
    }
}

bool PresetManager::loadPreset (const juce::String& name)
{
    for (const auto& preset : presets)
    {
        if (preset.name != name)
            continue;

        applyPresetState (preset.state);
        currentPresetName = name;
        callListeners ([&name] (Listener& l) { l.presetLoaded (name); });
        return true;
    }

    return false;
}

bool PresetManager::loadPresetFile (const juce::File& file)
{
    const auto contents = PresetFile::read (file);
    if (! contents.has_value())
        return false;

    applyPresetState (contents->state);
    currentPresetName = contents->name;
    callListeners ([&contents] (Listener& l) { l.presetLoaded (contents->name); });
    return true;
}

void PresetManager::applyPresetState (const juce::ValueTree& state)
{
    owner.applyFinalValues (IncomingState::prepare (state, parameters));
}

int PresetManager::savePreset (const juce::String& name)
{
    for (const auto& preset : presets)
        if (preset.isFactory && preset.name == name)
            return factoryNameRefused;

    if (! PresetFile::isSafeName (name))
        return saveFailed;

    // copyState first writes every parameter's value into the tree, so the
    // file holds what is heard now, not what the tree last caught up with.
    const auto state = parameters.copyState();
    const auto folder = PresetFile::userFolder();
    folder.createDirectory();

    if (! state.isValid()
        || ! PresetFile::write (folder.getChildFile (name + PresetFile::extension), state, name, owner.tempo()))
        return saveFailed;

    scanForPresets();
    currentPresetName = name;
    callListeners ([] (Listener& l) { l.presetListChanged(); });
    callListeners ([&name] (Listener& l) { l.presetLoaded (name); });
    return saved;
}

juce::StringArray PresetManager::getAllPresetNames() const
{
    juce::StringArray factoryNames, userNames;

    for (const auto& preset : presets)
        (preset.isFactory ? factoryNames : userNames).add (preset.name);

    userNames.sort (true);
    factoryNames.addArray (userNames);
    return factoryNames;
}

void PresetManager::deletePreset (const juce::String& name)
{
    for (const auto& preset : presets)
    {
        if (preset.isFactory || preset.name != name)
            continue;

        // The file it was read from: its name need not be the preset's name.
        if (preset.file.deleteFile())
        {
            scanForPresets();
            callListeners ([] (Listener& l) { l.presetListChanged(); });
        }
        return;
    }
}

void PresetManager::addListener (Listener* listener)
{
    listeners.addIfNotAlreadyThere (listener);
}

void PresetManager::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

void PresetManager::addEmbeddedFactoryPreset (const EmbeddedFactoryPreset& record)
{
    juce::ValueTree state (parameters.state.getType());

    for (int i = 0; i < numFactoryParameters; ++i)
    {
        juce::ValueTree child ("PARAM");
        child.setProperty ("id", factoryParameterIDs[i], nullptr);
        child.setProperty ("value", (double) record.values[i], nullptr);
        state.appendChild (child, nullptr);
    }

    presets.add ({ juce::String::fromUTF8 (record.name), juce::String::fromUTF8 (record.category), state, true, {}, {} });
}

void PresetManager::setAbModeActive (bool shouldBeActive)
{
    abState = {};

    if (! shouldBeActive)
        return;

    abState.isActive = true;
    abState.stateA = parameters.copyState();
    abState.nameA = currentPresetName.isNotEmpty() ? currentPresetName : juce::String ("Current State");
    abState.hasStateA = true;
}

bool PresetManager::swapAbSlots (bool showingB)
{
    if (! abState.isActive)
        return false;

    if (showingB)
    {
        if (abState.hasStateA)
        {
            abState.isOnB = false;
            makeSlotLive (abState.stateA, abState.nameA);
        }
        return true;
    }

    if (! abState.hasStateB)
    {
        abState.stateB = parameters.copyState();
        abState.nameB = "Slot B";
        abState.hasStateB = true;
    }

    abState.isOnB = true;
    makeSlotLive (abState.stateB, abState.nameB);
    return true;
}

void PresetManager::makeSlotLive (juce::ValueTree& slot, const juce::String& slotName)
{
    // The slot left behind may be the live tree itself: bring it up to date
    // with the parameters so that its latest edits are there when it returns.
    parameters.copyState();

    currentPresetName = slotName;
    // The slot itself, not a copy: from now on edits are written into it.
    owner.applyFinalValues (slot);
    callListeners ([this] (Listener& l) { l.presetLoaded (currentPresetName); });
}

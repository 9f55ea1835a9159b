// The preset bar: the combo box listing the preset manager's presets by
// category, stepping through them, and the save, overwrite and delete
// dialogs. Without a preset manager every control here does nothing.
#include "PluginEditor.h"

#include <initializer_list>

namespace
{
struct DialogButton
{
    const char* text;
    int result;
    juce::KeyPress key;
};

const juce::KeyPress returnKey { juce::KeyPress::returnKey };
const juce::KeyPress escapeKey { juce::KeyPress::escapeKey };

std::unique_ptr<juce::AlertWindow> makeDialog (const juce::String& title, const juce::String& message,
                                               juce::MessageBoxIconType icon,
                                               std::initializer_list<DialogButton> buttons)
{
    auto window = std::make_unique<juce::AlertWindow> (title, message, icon);
    for (const auto& button : buttons)
        window->addButton (button.text, button.result, button.key);
    return window;
}

// Shows the dialog over `owner` without blocking. `onResult` runs when it is
// answered, only while the editor still exists; the window is deleted after.
void openDialog (std::unique_ptr<juce::AlertWindow> dialog, TarnwellCompressorAudioProcessorEditor& owner,
                 std::function<void (int result, juce::AlertWindow&)> onResult)
{
    auto* window = dialog.release();
    window->centreAroundComponent (&owner, window->getWidth(), window->getHeight());

    const juce::Component::SafePointer<TarnwellCompressorAudioProcessorEditor> editor (&owner);
    window->enterModalState (true,
                             juce::ModalCallbackFunction::create ([window, editor, onResult] (int result)
                                                                  {
                                                                      if (editor != nullptr)
                                                                          onResult (result, *window);
                                                                  }),
                             true);
}

juce::String quoted (const juce::String& name) { return "\"" + name + "\""; }
} // namespace

//==============================================================================
void TarnwellCompressorAudioProcessorEditor::presetLoaded (const juce::String& name)
{
    presetComboBox.setText (name, juce::dontSendNotification);
}

void TarnwellCompressorAudioProcessorEditor::presetListChanged()
{
    updatePresetComboBox();
}

void TarnwellCompressorAudioProcessorEditor::updatePresetComboBox()
{
    auto* manager = audioProcessor.presetManager.get();
    if (manager == nullptr)
        return;

    presetComboBox.clear (juce::dontSendNotification);

    const auto& presets = manager->getPresets();

    juce::StringArray categories;
    for (const auto& preset : presets)
        categories.addIfNotAlreadyThere (preset.category);
    categories.sort (false);

    int itemId = 1;
    for (const auto& category : categories)
    {
        juce::StringArray factoryNames, userNames;
        for (const auto& preset : presets)
            if (preset.category == category)
                (preset.isFactory ? factoryNames : userNames).add (preset.name);

        userNames.sort (true);
        factoryNames.addArray (userNames);

        if (factoryNames.isEmpty())
            continue;

        presetComboBox.addSectionHeading (category);
        for (const auto& name : factoryNames)
            presetComboBox.addItem (name, itemId++);
    }

    if (manager->currentPresetName.isNotEmpty())
        presetComboBox.setText (manager->currentPresetName, juce::dontSendNotification);
}

void TarnwellCompressorAudioProcessorEditor::loadChosenPreset()
{
    auto* manager = audioProcessor.presetManager.get();
    const auto name = presetComboBox.getText();

    if (manager != nullptr && name.isNotEmpty())
        manager->loadPreset (name);
}

// Moves through the list in the manager's own order, wrapping at both ends.
// With no current entry, next starts at the first and previous at the
// second-to-last.
void TarnwellCompressorAudioProcessorEditor::stepPreset (int step)
{
    auto* manager = audioProcessor.presetManager.get();
    if (manager == nullptr)
        return;

    const auto& presets = manager->getPresets();
    const int n = presets.size();
    if (n == 0)
        return;

    int current = -1;
    for (int i = 0; i < n; ++i)
    {
        if (presets.getReference (i).name == manager->currentPresetName)
        {
            current = i;
            break;
        }
    }

    const int target = ((current + step) % n + n) % n;
    manager->loadPreset (presets.getReference (target).name);
}

//==============================================================================
void TarnwellCompressorAudioProcessorEditor::savePreset()
{
    auto* manager = audioProcessor.presetManager.get();
    if (manager == nullptr)
        return;

    auto dialog = makeDialog ("Save Preset", "Enter preset name:", juce::MessageBoxIconType::NoIcon,
                              { { "Save", 1, returnKey }, { "Cancel", 0, escapeKey } });
    dialog->addTextEditor ("name", manager->currentPresetName);

    openDialog (std::move (dialog), *this, [this] (int result, juce::AlertWindow& window)
                {
                    const auto name = window.getTextEditorContents ("name");
                    auto* presetManager = audioProcessor.presetManager.get();

                    if (result != 1 || name.isEmpty() || presetManager == nullptr)
                        return;

                    // Factory names are in the list too, so they are offered for
                    // overwriting first and refused after.
                    if (presetManager->getAllPresetNames().contains (name))
                        confirmOverwrite (name);
                    else
                        saveUnderName (name);
                });
}

void TarnwellCompressorAudioProcessorEditor::confirmOverwrite (const juce::String& name)
{
    auto dialog = makeDialog ("Overwrite Preset",
                              "Preset " + quoted (name) + " already exists.\nDo you want to overwrite it?",
                              juce::MessageBoxIconType::WarningIcon,
                              { { "Overwrite", 1, returnKey }, { "Cancel", 0, escapeKey } });

    openDialog (std::move (dialog), *this, [this, name] (int result, juce::AlertWindow&)
                {
                    if (result == 1)
                        saveUnderName (name);
                });
}

// Other failures (an unusable name, a folder that cannot be written) show nothing.
void TarnwellCompressorAudioProcessorEditor::saveUnderName (const juce::String& name)
{
    auto* manager = audioProcessor.presetManager.get();

    if (manager != nullptr && manager->savePreset (name) == PresetManager::factoryNameRefused)
        showFactoryNameConflictAlert (name);
}

void TarnwellCompressorAudioProcessorEditor::showFactoryNameConflictAlert (const juce::String& name)
{
    auto dialog = makeDialog ("Cannot Save Preset",
                              "Cannot save preset with name " + quoted (name)
                                  + " because it conflicts with a factory preset name.\n\n"
                                    "Please choose a different name.",
                              juce::MessageBoxIconType::WarningIcon, { { "OK", 0, returnKey } });

    openDialog (std::move (dialog), *this, [] (int, juce::AlertWindow&) {});
}

void TarnwellCompressorAudioProcessorEditor::deleteCurrentPreset()
{
    auto* manager = audioProcessor.presetManager.get();
    if (manager == nullptr || manager->currentPresetName.isEmpty())
        return;

    const auto name = manager->currentPresetName;
    auto dialog = makeDialog ("Delete Preset", "Are you sure you want to delete " + quoted (name) + "?",
                              juce::MessageBoxIconType::WarningIcon,
                              { { "Delete", 1, returnKey }, { "Cancel", 0, escapeKey } });

    openDialog (std::move (dialog), *this, [this, name] (int result, juce::AlertWindow&)
                {
                    if (auto* presetManager = audioProcessor.presetManager.get(); result == 1 && presetManager != nullptr)
                        presetManager->deletePreset (name);
                });
}

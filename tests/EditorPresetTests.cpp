// The preset bar as a user works it: the combo box's sections, stepping
// through the list, the save, overwrite, conflict and delete dialogs answered
// through their buttons, and the A/B row. Each test has a home of its own.
#include "EditorTestSupport.h"
#include "ParameterIDs.h"
#include "PresetFile.h"
#include "TemporaryHome.h"

#include <gtest/gtest.h>

#include <optional>

namespace
{
namespace ids = ParameterIDs;
using test::click;
using test::dispatchPendingMessages;

//==============================================================================
// Dialogs are top-level windows of their own.

juce::AlertWindow* openDialog()
{
    for (int i = juce::TopLevelWindow::getNumTopLevelWindows(); --i >= 0;)
        if (auto* alert = dynamic_cast<juce::AlertWindow*> (juce::TopLevelWindow::getTopLevelWindow (i)))
            if (alert->isCurrentlyModal (false))
                return alert;
    return nullptr;
}

int numberOfOpenDialogs()
{
    int count = 0;
    for (int i = 0; i < juce::TopLevelWindow::getNumTopLevelWindows(); ++i)
        if (dynamic_cast<juce::AlertWindow*> (juce::TopLevelWindow::getTopLevelWindow (i)) != nullptr)
            ++count;
    return count;
}

juce::StringArray buttonTexts (juce::AlertWindow& window)
{
    juce::StringArray texts;
    for (auto* child : window.getChildren())
        if (auto* button = dynamic_cast<juce::Button*> (child))
            texts.add (button->getButtonText());
    return texts;
}

// What the user sees: title, message, buttons and icon.
struct DialogShown
{
    juce::String title, message;
    juce::StringArray buttons;
    juce::MessageBoxIconType icon;
};

std::optional<DialogShown> dialogShown()
{
    auto* window = openDialog();
    if (window == nullptr)
        return std::nullopt;

    const auto prefix = window->getName() + ". ";
    return DialogShown { window->getName(), window->getDescription().fromFirstOccurrenceOf (prefix, false, false),
                         buttonTexts (*window), window->getAlertType() };
}

// Clicks the dialog's button and runs the message loop until it has gone.
void answer (const juce::String& buttonText)
{
    auto* window = openDialog();
    ASSERT_NE (window, nullptr);

    juce::Button* target = nullptr;
    for (auto* child : window->getChildren())
        if (auto* button = dynamic_cast<juce::Button*> (child); button != nullptr && button->getButtonText() == buttonText)
            target = button;
    ASSERT_NE (target, nullptr) << "no button " << buttonText;

    const juce::Component::SafePointer<juce::Component> answered (window);
    target->triggerClick();
    for (int round = 0; round < 100 && answered != nullptr; ++round)
        dispatchPendingMessages();
    ASSERT_EQ (answered, nullptr) << "the dialog stayed open";
}

void typeIntoDialog (const juce::String& text)
{
    auto* window = openDialog();
    ASSERT_NE (window, nullptr);
    auto* field = window->getTextEditor ("name");
    ASSERT_NE (field, nullptr);
    field->setText (text);
}

//==============================================================================
juce::StringArray factoryNames()
{
    juce::StringArray names;
    for (const auto& preset : PresetManager::embeddedFactoryPresets)
        names.add (preset.name);
    return names;
}

// The combo box as the pop-up lists it: headings in brackets, items with ids.
juce::StringArray comboBoxListing (juce::ComboBox& box)
{
    juce::StringArray listing;
    for (juce::PopupMenu::MenuItemIterator it (*box.getRootMenu()); it.next();)
    {
        const auto& item = it.getItem();
        listing.add (item.isSectionHeader ? "[" + item.text + "]" : juce::String (item.itemID) + " " + item.text);
    }
    return listing;
}

juce::File userFolder() { return PresetFile::userFolder(); }

void writeUserPreset (const juce::String& fileName, const juce::String& name, const juce::String& category)
{
    juce::XmlElement xml ("TarnwellCompressor");
    xml.setAttribute ("presetName", name);
    xml.setAttribute ("category", category);
    ASSERT_TRUE (userFolder().getChildFile (fileName).replaceWithText (xml.toString()));
}

// A fresh home, then a processor and its editor after its first tick.
struct PresetBar : ::testing::Test
{
    test::TemporaryHome home;
    std::optional<test::EditorFixture> f;
    PresetManager* manager = nullptr;

    void open()
    {
        f.emplace();
        manager = f->processor.presetManager.get();
        f->editor->timerCallback();
    }

    void SetUp() override { open(); }

    void TearDown() override
    {
        // A test that failed half-way may leave a dialog open: its last button dismisses it.
        for (int i = 0; i < 5; ++i)
            if (auto* window = openDialog())
                answer (buttonTexts (*window).strings.getLast());
        f.reset();
    }

    // User presets written before the processor starts, as if from an earlier session.
    void restartWithUserPresets (std::initializer_list<std::pair<const char*, const char*>> nameAndCategory)
    {
        f.reset();
        int n = 0;
        for (const auto& [name, category] : nameAndCategory)
            writeUserPreset ("p" + juce::String (n++) + ".twpreset", name, category);
        open();
    }

    TarnwellCompressorAudioProcessorEditor& editor() { return *f->editor; }
    juce::ComboBox& combo() { return f->editor->presetComboBox; }

    void choose (const juce::String& name)
    {
        for (int i = 0; i < combo().getNumItems(); ++i)
            if (combo().getItemText (i) == name)
                combo().setSelectedItemIndex (i, juce::sendNotificationSync);
    }
};

//==============================================================================
// The list.

TEST_F (PresetBar, ComboBoxIsEmptyUntilTheFirstTickThenListsTheFactorySection)
{
    f.emplace();
    EXPECT_EQ (f->editor->presetComboBox.getNumItems(), 0);

    f->editor->timerCallback();

    juce::StringArray expected { "[Factory]" };
    for (int i = 0; i < factoryNames().size(); ++i)
        expected.add (juce::String (i + 1) + " " + factoryNames()[i]);
    EXPECT_EQ (comboBoxListing (f->editor->presetComboBox), expected);
    EXPECT_EQ (f->editor->presetComboBox.getText(), "");
}

TEST_F (PresetBar, CategoriesAreSortedCaseSensitivelyAndUserNamesIgnoringCase)
{
    restartWithUserPresets ({ { "snare", "User" }, { "Kick", "Drums" }, { "Alpha", "User" }, { "bass", "Drums" } });

    const auto listing = comboBoxListing (combo());
    ASSERT_EQ (listing.size(), 3 + 16 + 4);
    EXPECT_EQ (listing.joinIntoString ("|").upToFirstOccurrenceOf ("|[Factory]", false, false),
               "[Drums]|1 bass|2 Kick");
    EXPECT_EQ (listing[3], "[Factory]");
    EXPECT_EQ (listing[4], "3 " + factoryNames()[0]);
    EXPECT_EQ (juce::StringArray (listing.begin() + 20, 3), juce::StringArray ({ "[User]", "19 Alpha", "20 snare" }));
}

TEST_F (PresetBar, ChoosingAnItemLoadsItAndTheNameFollowsLoads)
{
    choose ("02 NORMAL KICK");
    EXPECT_EQ (manager->currentPresetName, "02 NORMAL KICK");

    manager->loadPreset ("05 NORMAL SNARE");
    EXPECT_EQ (combo().getText(), "05 NORMAL SNARE");
    EXPECT_EQ (combo().getSelectedId(), 5);
}

//==============================================================================
// Previous and next, in the manager's list order.

struct StepCase
{
    const char* current; // "" for none
    bool next;
    int expectedIndex; // negative counts from the end
};

class PresetStep : public PresetBar, public ::testing::WithParamInterface<StepCase> {};

TEST_P (PresetStep, LoadsTheNeighbourAndWraps)
{
    const auto c = GetParam();
    const auto& presets = manager->getPresets();
    manager->currentPresetName = c.current;

    click (c.next ? editor().nextPresetButton : editor().previousPresetButton);

    const int index = c.expectedIndex >= 0 ? c.expectedIndex : presets.size() + c.expectedIndex;
    EXPECT_EQ (manager->currentPresetName, presets[index].name);
    EXPECT_EQ (combo().getText(), presets[index].name);
}

INSTANTIATE_TEST_SUITE_P (Cases, PresetStep,
                          ::testing::Values (StepCase { "02 NORMAL KICK", true, 2 },
                                             StepCase { "02 NORMAL KICK", false, 0 },
                                             StepCase { "16 EX TRIGGER BLEND ADV", true, 0 },
                                             StepCase { "01 Default", false, -1 },
                                             StepCase { "", true, 0 },
                                             StepCase { "Slot B", false, -2 },
                                             StepCase { "Current State", true, 0 }));

TEST_F (PresetBar, WithoutAPresetManagerEveryControlIsInert)
{
    f->processor.presetManager.reset();
    manager = nullptr;

    click (editor().nextPresetButton);
    click (editor().savePresetButton);
    click (editor().deletePresetButton);
    click (editor().abButton);
    click (editor().abSwapButton);
    editor().updatePresetComboBox();

    EXPECT_EQ (openDialog(), nullptr);
    EXPECT_FALSE (editor().abButton.getToggleState());
    EXPECT_FALSE (editor().abModeActive);
    EXPECT_TRUE (editor().abSwapButton.getBounds().isEmpty());
}

//==============================================================================
// Saving.

TEST_F (PresetBar, SaveDialogPrefillsTheCurrentNameAndSavesANewOne)
{
    manager->loadPreset ("02 NORMAL KICK");
    click (editor().savePresetButton);

    const auto shown = dialogShown();
    ASSERT_TRUE (shown.has_value());
    EXPECT_EQ (shown->title, "Save Preset");
    EXPECT_EQ (shown->message, "Enter preset name:");
    EXPECT_EQ (shown->buttons, juce::StringArray ({ "Save", "Cancel" }));
    EXPECT_EQ (shown->icon, juce::MessageBoxIconType::NoIcon);
    EXPECT_EQ (openDialog()->getTextEditorContents ("name"), "02 NORMAL KICK");

    typeIntoDialog ("My Kick");
    answer ("Save");

    EXPECT_TRUE (userFolder().getChildFile ("My Kick.twpreset").existsAsFile());
    EXPECT_EQ (combo().getText(), "My Kick");
    EXPECT_EQ (comboBoxListing (combo()).joinIntoString ("|").fromLastOccurrenceOf ("|", false, false), "17 My Kick");
    EXPECT_EQ (openDialog(), nullptr);
}

TEST_F (PresetBar, CancelAndAnEmptyNameSaveNothing)
{
    click (editor().savePresetButton);
    typeIntoDialog ("Never");
    answer ("Cancel");

    click (editor().savePresetButton);
    typeIntoDialog ("");
    answer ("Save");

    EXPECT_EQ (PresetFile::list (userFolder()).size(), 0);
    EXPECT_EQ (openDialog(), nullptr);
}

TEST_F (PresetBar, AFactoryNameIsOfferedForOverwritingThenRefusedWithoutWritingAFile)
{
    click (editor().savePresetButton);
    typeIntoDialog ("02 NORMAL KICK");
    answer ("Save");

    auto shown = dialogShown();
    ASSERT_TRUE (shown.has_value());
    EXPECT_EQ (shown->title, "Overwrite Preset");
    EXPECT_EQ (shown->message, "Preset \"02 NORMAL KICK\" already exists.\nDo you want to overwrite it?");
    EXPECT_EQ (shown->buttons, juce::StringArray ({ "Overwrite", "Cancel" }));
    EXPECT_EQ (shown->icon, juce::MessageBoxIconType::WarningIcon);
    answer ("Overwrite");

    shown = dialogShown();
    ASSERT_TRUE (shown.has_value());
    EXPECT_EQ (shown->title, "Cannot Save Preset");
    EXPECT_EQ (shown->message, "Cannot save preset with name \"02 NORMAL KICK\" because it conflicts with a factory "
                               "preset name.\n\nPlease choose a different name.");
    EXPECT_EQ (shown->buttons, juce::StringArray ({ "OK" }));
    EXPECT_EQ (shown->icon, juce::MessageBoxIconType::WarningIcon);
    answer ("OK");

    EXPECT_EQ (PresetFile::list (userFolder()).size(), 0);
    EXPECT_EQ (numberOfOpenDialogs(), 0);
}

TEST_F (PresetBar, OverwritingAUserPresetStoresTheLiveValues)
{
    restartWithUserPresets ({ { "Mine", "User" } });
    f->set (ids::ratio, 7.0f);

    click (editor().savePresetButton);
    typeIntoDialog ("Mine");
    answer ("Save");
    ASSERT_EQ (dialogShown()->title, "Overwrite Preset");
    answer ("Overwrite");

    EXPECT_EQ (openDialog(), nullptr);
    f->set (ids::ratio, 2.0f);
    ASSERT_TRUE (manager->loadPreset ("Mine"));
    EXPECT_FLOAT_EQ (f->value (ids::ratio), 7.0f);
}

TEST_F (PresetBar, ADialogAnsweredAfterTheEditorClosedDoesNothing)
{
    click (editor().savePresetButton);
    typeIntoDialog ("Orphan");
    f->closeEditor();

    answer ("Save");
    EXPECT_EQ (PresetFile::list (userFolder()).size(), 0);
}

//==============================================================================
// Deleting.

TEST_F (PresetBar, DeletingTheCurrentUserPresetRefillsTheListAndKeepsItsNameAsText)
{
    restartWithUserPresets ({ { "Doomed", "User" } });
    choose ("Doomed");
    ASSERT_EQ (combo().getText(), "Doomed");

    click (editor().deletePresetButton);
    const auto shown = dialogShown();
    ASSERT_TRUE (shown.has_value());
    EXPECT_EQ (shown->title, "Delete Preset");
    EXPECT_EQ (shown->message, "Are you sure you want to delete \"Doomed\"?");
    EXPECT_EQ (shown->buttons, juce::StringArray ({ "Delete", "Cancel" }));
    EXPECT_EQ (shown->icon, juce::MessageBoxIconType::WarningIcon);
    answer ("Delete");

    EXPECT_EQ (PresetFile::list (userFolder()).size(), 0);
    EXPECT_EQ (combo().getNumItems(), 16);
    EXPECT_EQ (combo().getText(), "Doomed");
    EXPECT_EQ (combo().getSelectedId(), 0);
}

TEST_F (PresetBar, DeleteNeedsACurrentNameAndLeavesFactoryPresetsAlone)
{
    click (editor().deletePresetButton);
    EXPECT_EQ (openDialog(), nullptr);

    choose ("05 NORMAL SNARE");
    click (editor().deletePresetButton);
    answer ("Delete");
    EXPECT_EQ (combo().getNumItems(), 16);
}

//==============================================================================
// A/B.

TEST_F (PresetBar, ABShowsItsRowLabelsTheSlotsAndNamesThemInTheComboBox)
{
    manager->loadPreset ("02 NORMAL KICK");
    EXPECT_TRUE (editor().abSwapButton.getBounds().isEmpty());

    click (editor().abButton);
    EXPECT_TRUE (editor().abButton.getToggleState());
    EXPECT_EQ (editor().abButton.findColour (juce::TextButton::buttonColourId), juce::Colour (0xffdc143c));
    EXPECT_EQ (editor().abButton.findColour (juce::TextButton::buttonOnColourId), juce::Colour (0xffdc143c));
    EXPECT_EQ (editor().abSwapButton.getBounds(), juce::Rectangle<int> (311, 35, 40, 20));
    EXPECT_EQ (editor().abStatusLabel.getBounds(), juce::Rectangle<int> (356, 35, 50, 20));
    EXPECT_EQ (editor().abStatusLabel.getText(), "A: 02 NORMAL KICK");
    EXPECT_EQ (editor().abStatusLabel.findColour (juce::Label::textColourId), juce::Colour (0xff00ff00));

    const float ratio = f->value (ids::ratio);
    click (editor().abSwapButton);
    EXPECT_EQ (editor().abStatusLabel.getText(), "B: Slot B");
    EXPECT_EQ (editor().abStatusLabel.findColour (juce::Label::textColourId), juce::Colour (0xffffff00));
    EXPECT_EQ (combo().getText(), "Slot B");
    EXPECT_EQ (combo().getSelectedId(), 0);
    EXPECT_FLOAT_EQ (f->value (ids::ratio), ratio);

    click (editor().abSwapButton);
    EXPECT_EQ (combo().getText(), "02 NORMAL KICK");
    EXPECT_EQ (editor().abStatusLabel.getText(), "A: 02 NORMAL KICK");

    click (editor().abButton);
    EXPECT_FALSE (editor().abButton.getToggleState());
    EXPECT_EQ (editor().abButton.findColour (juce::TextButton::buttonColourId), juce::Colour (0xff555555));
    EXPECT_FALSE (editor().abSwapButton.isVisible());
    EXPECT_FALSE (editor().abStatusLabel.isVisible());
    EXPECT_EQ (editor().abSwapButton.getBounds(), juce::Rectangle<int> (311, 35, 40, 20));
    EXPECT_FALSE (manager->getAbState().isActive);
}

TEST_F (PresetBar, ABWithNoCurrentNameCallsSlotACurrentState)
{
    click (editor().abButton);
    EXPECT_EQ (editor().abStatusLabel.getText(), "A: Current State");
}

TEST_F (PresetBar, EditsOnSlotBComeBackAndSlotAKeepsTheStartingValues)
{
    f->set (ids::ratio, 3.0f);
    click (editor().abButton);
    click (editor().abSwapButton);
    f->set (ids::ratio, 9.0f);

    click (editor().abSwapButton);
    EXPECT_FLOAT_EQ (f->value (ids::ratio), 3.0f);
    click (editor().abSwapButton);
    EXPECT_FLOAT_EQ (f->value (ids::ratio), 9.0f);
}

TEST_F (PresetBar, ANewEditorStartsWithTheABRowClosedAndSwapDoesNothingWhileOff)
{
    click (editor().abSwapButton);
    EXPECT_EQ (combo().getText(), "");

    click (editor().abButton);
    f->reopenEditor();
    f->editor->timerCallback();
    EXPECT_FALSE (editor().abModeActive);
    EXPECT_TRUE (editor().abSwapButton.getBounds().isEmpty());

    // The next click switches it on afresh, from the live state.
    click (editor().abButton);
    EXPECT_TRUE (manager->getAbState().isActive);
    EXPECT_EQ (editor().abStatusLabel.getText(), "A: Current State");
}
} // namespace

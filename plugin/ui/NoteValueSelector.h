#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <vector>

// A small pop-up listing ten straight note lengths, from a 1/512 note to a
// whole note, with their durations at `bpm`. Clicking one reports its
// duration in ms through `onNoteSelected`. The owner places it, sets `bpm`
// and calls updateButtonTexts(); the pop-up does not follow later tempo changes.
class NoteValueSelector : public juce::Component,
                          public juce::Button::Listener
{
public:
    struct NoteValue
    {
        juce::String name;
        float beats; // quarter notes
    };

    static constexpr int width = 200;
    static constexpr int height = 300;

    explicit NoteValueSelector (std::function<void (float)> onNoteSelected);
    ~NoteValueSelector() override;

    void updateButtonTexts();

    // The duration of entry `index` in ms at `bpm`.
    float durationMs (size_t index) const;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;

    std::function<void (float)> onNoteSelected;
    std::vector<std::unique_ptr<juce::TextButton>> noteButtons;
    std::vector<NoteValue> noteValues;
    float bpm = 120.0f;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (NoteValueSelector)
};

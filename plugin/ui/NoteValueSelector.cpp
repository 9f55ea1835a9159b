#include "NoteValueSelector.h"

#include <algorithm>

namespace
{
constexpr float msPerMinute = 60000.0f;

constexpr int buttonWidth = 180;
constexpr int buttonHeight = 28;
constexpr int buttonInset = 8;
constexpr int firstButtonY = 55;
constexpr int buttonPitch = 24;
constexpr int buttonRowHeight = 22;

constexpr float cornerSize = 8.0f;
constexpr float innerCornerSize = 7.0f;
constexpr float headerCornerSize = 5.0f;
constexpr float shadowOffset = 3.0f;
constexpr float headerInset = 4.0f;
constexpr float headerMaxHeight = 45.0f;
constexpr float titleFontHeight = 13.0f;
constexpr float tempoFontHeight = 10.0f;
constexpr float separatorY = 48.0f;

const juce::Colour buttonColour { 0xff3a4a5a };
const juce::Colour buttonOnColour { 0xff4a6a8a };
const juce::Colour buttonTextColour { 0xffc0d8f0 };

const juce::Colour shadowColour { 0x80000000 };
const juce::Colour bodyTop { 0xff2a3a4a }, bodyMiddle { 0xff253545 }, bodyBottom { 0xff1a2530 };
const juce::Colour innerEdgeColour { 0x30ffffff };
const juce::Colour outerEdgeColour { 0xff0a1520 };
const juce::Colour headerTop { 0xff354555 }, headerBottom { 0xff253545 };
const juce::Colour titleColour { 0xffc0d8f0 };
const juce::Colour tempoColour { 0xffdc143c };
const juce::Colour separatorColour { 0x40ffffff };

const std::vector<NoteValueSelector::NoteValue> straightNotes {
    { "1/512", 0.0078125f }, { "1/256", 0.015625f }, { "1/128", 0.03125f }, { "1/64", 0.0625f },
    { "1/32", 0.125f },      { "1/16", 0.25f },      { "1/8", 0.5f },       { "1/4", 1.0f },
    { "1/2", 2.0f },         { "1/1", 4.0f },
};
} // namespace

NoteValueSelector::NoteValueSelector (std::function<void (float)> callback)
    : onNoteSelected (std::move (callback)), noteValues (straightNotes)
{
    for (size_t i = 0; i < noteValues.size(); ++i)
    {
        auto button = std::make_unique<juce::TextButton>();
        button->setSize (buttonWidth, buttonHeight);
        button->addListener (this);
        button->setColour (juce::TextButton::buttonColourId, buttonColour);
        button->setColour (juce::TextButton::buttonOnColourId, buttonOnColour);
        button->setColour (juce::TextButton::textColourOffId, buttonTextColour);
        button->setColour (juce::TextButton::textColourOnId, juce::Colours::white);
        addAndMakeVisible (*button);
        noteButtons.push_back (std::move (button));
    }

    updateButtonTexts();
    setSize (width, height);
}

NoteValueSelector::~NoteValueSelector()
{
    for (auto& button : noteButtons)
        button->removeListener (this);
}

float NoteValueSelector::durationMs (size_t index) const
{
    return msPerMinute / bpm * noteValues[index].beats;
}

void NoteValueSelector::updateButtonTexts()
{
    for (size_t i = 0; i < noteValues.size() && i < noteButtons.size(); ++i)
    {
        const auto text = noteValues[i].name + " - " + juce::String (durationMs (i), 1) + " ms";

        if (noteButtons[i]->getButtonText() != text)
        {
            noteButtons[i]->setButtonText (text);
            noteButtons[i]->repaint();
        }
    }
}

void NoteValueSelector::resized()
{
    for (size_t i = 0; i < noteButtons.size(); ++i)
        noteButtons[i]->setBounds (buttonInset, firstButtonY + buttonPitch * (int) i, getWidth() - 2 * buttonInset,
                                   buttonRowHeight);
}

void NoteValueSelector::buttonClicked (juce::Button* button)
{
    const auto found = std::find_if (noteButtons.begin(), noteButtons.end(),
                                     [button] (const auto& b) { return b.get() == button; });

    if (found == noteButtons.end() || onNoteSelected == nullptr)
        return;

    onNoteSelected (durationMs ((size_t) std::distance (noteButtons.begin(), found)));
}

void NoteValueSelector::paint (juce::Graphics& g)
{
    const auto w = (float) getWidth();
    const auto h = (float) getHeight();

    g.setColour (shadowColour);
    g.fillRoundedRectangle (shadowOffset, shadowOffset, w, h, cornerSize);

    juce::ColourGradient body (bodyTop, 0.0f, 0.0f, bodyBottom, 0.0f, h, false);
    body.addColour (0.5, bodyMiddle);
    g.setGradientFill (body);
    g.fillRoundedRectangle (0.0f, 0.0f, w, h, cornerSize);

    g.setColour (innerEdgeColour);
    g.drawRoundedRectangle (1.0f, 1.0f, w - 2.0f, h - 2.0f, innerCornerSize, 1.0f);
    g.setColour (outerEdgeColour);
    g.drawRoundedRectangle (0.0f, 0.0f, w, h, cornerSize, 2.0f);

    const float headerHeight = juce::jmin (h, headerMaxHeight) - 2.0f * headerInset;
    g.setGradientFill (juce::ColourGradient (headerTop, headerInset, headerInset, headerBottom, headerInset,
                                             headerInset + headerHeight, false));
    g.fillRoundedRectangle (headerInset, headerInset, w - 2.0f * headerInset, headerHeight, headerCornerSize);

    g.setFont (juce::Font (titleFontHeight, juce::Font::bold));
    g.setColour (shadowColour);
    g.drawText ("NOTE VALUE", juce::Rectangle<float> (headerInset + 1.0f, headerInset + 1.0f, w - 8.0f, headerHeight),
                juce::Justification::centred, true);
    g.setColour (titleColour);
    g.drawText ("NOTE VALUE", juce::Rectangle<float> (headerInset, headerInset, w - 8.0f, headerHeight),
                juce::Justification::centred, true);

    g.setFont (juce::Font (tempoFontHeight, juce::Font::bold));
    g.setColour (tempoColour);
    g.drawText ("BPM: " + juce::String (bpm, 1), juce::Rectangle<float> (10.0f, 28.0f, w - 20.0f, 14.0f),
                juce::Justification::centred, true);

    g.setColour (separatorColour);
    g.drawLine (10.0f, separatorY, w - 10.0f, separatorY, 0.5f);
}

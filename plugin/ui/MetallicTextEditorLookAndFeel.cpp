#include "MetallicTextEditorLookAndFeel.h"

namespace
{
constexpr float cornerSize = 3.0f;
constexpr float innerShadowInset = 3.0f;
constexpr juce::uint32 backgroundTopColour = 0xff1a2535;
constexpr juce::uint32 backgroundBottomColour = 0xff2a3a50;
constexpr juce::uint32 innerShadowColour = 0x40000000;
constexpr juce::uint32 outlineColour = 0xff4a5a70;
constexpr float outlineThickness = 1.0f;
constexpr float focusedOutlineThickness = 1.5f;
} // namespace

void MetallicTextEditorLookAndFeel::fillTextEditorBackground (juce::Graphics& g, int width, int height,
                                                              juce::TextEditor&)
{
    g.setGradientFill (juce::ColourGradient (juce::Colour (backgroundTopColour), 0.0f, 0.0f,
                                             juce::Colour (backgroundBottomColour), 0.0f, (float) height, false));
    g.fillRoundedRectangle (0.0f, 0.0f, (float) width, (float) height, cornerSize);

    g.setColour (juce::Colour (innerShadowColour));
    g.drawLine (innerShadowInset, 1.0f, (float) width - innerShadowInset, 1.0f, 1.0f);
}

void MetallicTextEditorLookAndFeel::drawTextEditorOutline (juce::Graphics& g, int width, int height,
                                                           juce::TextEditor& editor)
{
    const bool focused = editor.hasKeyboardFocus (true);

    g.setColour (juce::Colour (focused ? focusColour : outlineColour));
    g.drawRoundedRectangle (juce::Rectangle<float> ((float) width, (float) height).reduced (0.5f),
                            cornerSize, focused ? focusedOutlineThickness : outlineThickness);
}

juce::CaretComponent* MetallicTextEditorLookAndFeel::createCaretComponent (juce::Component* keyFocusOwner)
{
    auto* caret = new juce::CaretComponent (keyFocusOwner);
    caret->setColour (juce::CaretComponent::caretColourId, juce::Colour (focusColour));
    return caret;
}

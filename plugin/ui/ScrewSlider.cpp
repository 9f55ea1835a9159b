#include "ScrewSlider.h"

#include <cmath>

namespace
{
constexpr float bandWidth = 70.0f;
constexpr float screwOffset = 32.0f;
constexpr float fontHeight = 9.0f;
constexpr float glowThreshold = 0.01f;
constexpr int maxTypedCharacters = 4;

const juce::Colour glowBlue { 0xff00a8ff };
const juce::Colour captionColour { 0xffc0d8f0 };
const juce::Colour activeValueColour { 0xffe0f0ff };
const juce::Colour idleValueColour { 0xffa0a0a0 };
const juce::Colour textShadow = juce::Colours::black.withAlpha ((juce::uint8) 0x80);

// The caption, screw and number share a 70-pixel band centred in the component.
struct Layout
{
    explicit Layout (juce::Rectangle<int> bounds)
        : left (((float) bounds.getWidth() - bandWidth) / 2.0f),
          cy ((float) bounds.getHeight() / 2.0f),
          cx (left + screwOffset)
    {
    }

    juce::Rectangle<float> captionBox() const { return { left, cy - 5.0f, 22.0f, 10.0f }; }
    juce::Rectangle<float> valueBox() const   { return { left + 42.0f, cy - 6.0f, 28.0f, 12.0f }; }

    float left, cy, cx;
};

juce::Font boldFont() { return juce::Font (fontHeight, juce::Font::bold); }

// Halves round away from zero, unlike juce::roundToInt.
juce::String wholeNumberText (double value) { return juce::String (std::lround (value)); }

void drawCaption (juce::Graphics& g, const juce::String& caption, juce::Rectangle<float> box)
{
    g.setFont (boldFont());
    g.setColour (textShadow);
    g.drawText (caption, box.translated (0.5f, 0.5f), juce::Justification::centredRight, false);
    g.setColour (captionColour);
    g.drawText (caption, box, juce::Justification::centredRight, false);
}

void drawGlow (juce::Graphics& g, float cx, float cy, float n)
{
    if (n <= glowThreshold)
        return;

    g.setColour (glowBlue.withAlpha (0.15f * n));
    g.fillEllipse (juce::Rectangle<float> (25.2f, 25.2f).withCentre ({ cx, cy }));
    g.setColour (glowBlue.withAlpha (0.25f * n));
    g.fillEllipse (juce::Rectangle<float> (19.6f, 19.6f).withCentre ({ cx, cy }));
}

void drawHead (juce::Graphics& g, float cx, float cy)
{
    g.setColour (juce::Colour (0x66000000));
    g.fillEllipse (cx - 6.0f, cy - 5.5f, 14.0f, 14.0f);

    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff1a1a1a), cx, cy - 7.0f,
                                             juce::Colour (0xff404040), cx, cy + 7.0f, false));
    g.fillEllipse (cx - 7.0f, cy - 7.0f, 14.0f, 14.0f);

    juce::ColourGradient head (juce::Colour (0xffa0a0a0), cx - 3.6f, cy - 4.8f,
                               juce::Colour (0xff505050), cx + 3.6f, cy + 4.8f, true);
    head.addColour (0.3, juce::Colour (0xff909090));
    head.addColour (0.6, juce::Colour (0xff707070));
    g.setGradientFill (head);
    g.fillEllipse (cx - 6.0f, cy - 6.0f, 12.0f, 12.0f);

    juce::Path highlight;
    highlight.addCentredArc (cx, cy, 4.8f, 4.8f, 0.0f, -2.5f, -0.5f, true);
    g.setColour (juce::Colour (0x66ffffff));
    g.strokePath (highlight, juce::PathStrokeType (1.5f));
}

void drawSlot (juce::Graphics& g, float cx, float cy, float n)
{
    const juce::Graphics::ScopedSaveState saved (g);
    g.addTransform (juce::AffineTransform::rotation (n * juce::MathConstants<float>::halfPi, cx, cy));

    g.setColour (juce::Colour (0x99000000));
    g.fillRoundedRectangle (cx - 4.55f, cy - 0.46f, 9.1f, 2.52f, 1.008f);
    g.setColour (juce::Colour (0xff0a0a0a));
    g.fillRoundedRectangle (cx - 4.55f, cy - 1.26f, 9.1f, 2.52f, 1.008f);
    g.setColour (juce::Colour (0xff303030));
    g.fillRoundedRectangle (cx - 3.55f, cy + 0.252f, 7.1f, 0.756f, 0.504f);
}

void drawRim (juce::Graphics& g, float cx, float cy)
{
    g.setColour (juce::Colour (0xff606060));
    g.drawEllipse (cx - 6.0f, cy - 6.0f, 12.0f, 12.0f, 0.5f);
}

void drawValue (juce::Graphics& g, const juce::String& text, juce::Rectangle<float> area, float n)
{
    const auto justification = juce::Justification::centredLeft;
    const bool active = n > glowThreshold;
    g.setFont (boldFont());

    if (active)
    {
        g.setColour (glowBlue.withAlpha (0.3f * n));
        g.drawText (text, area.translated (-0.5f, 0.0f), justification, false);
        g.drawText (text, area.translated (0.5f, 0.0f), justification, false);
    }

    g.setColour (textShadow);
    g.drawText (text, area.translated (0.5f, 0.5f), justification, false);
    g.setColour (active ? activeValueColour : idleValueColour);
    g.drawText (text, area, justification, false);
}
} // namespace

ScrewSlider::ScrewSlider()
{
    setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
    setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    setRange (0.0, 100.0, 1.0);
    setValue (0.0, juce::dontSendNotification);
    setDoubleClickReturnValue (true, 0.0);

    valueEditor.setJustification (juce::Justification::centred);
    valueEditor.setFont (boldFont());
    valueEditor.setColour (juce::TextEditor::backgroundColourId, juce::Colour (0xff333333));
    valueEditor.setColour (juce::TextEditor::textColourId, juce::Colours::white);
    valueEditor.setColour (juce::TextEditor::outlineColourId, juce::Colour (0xff666666));
    valueEditor.setColour (juce::TextEditor::focusedOutlineColourId, juce::Colour (0xff888888));
    valueEditor.setInputRestrictions (maxTypedCharacters, "0123456789");
    valueEditor.addListener (this);
    addChildComponent (valueEditor);
}

ScrewSlider::~ScrewSlider()
{
    valueEditor.removeListener (this);
}

void ScrewSlider::paint (juce::Graphics& g)
{
    const Layout layout (getLocalBounds());
    const auto n = (float) ((getValue() - getMinimum()) / (getMaximum() - getMinimum()));

    drawCaption (g, caption, layout.captionBox());
    drawGlow (g, layout.cx, layout.cy, n);
    drawHead (g, layout.cx, layout.cy);
    drawSlot (g, layout.cx, layout.cy, n);
    drawRim (g, layout.cx, layout.cy);

    if (! valueEditor.isVisible())
    {
        valueTextArea = layout.valueBox();
        drawValue (g, wholeNumberText (getValue()), valueTextArea, n);
    }
}

void ScrewSlider::resized()
{
    juce::Slider::resized();
    const auto box = Layout (getLocalBounds()).valueBox();
    valueEditor.setBounds ((int) box.getX(), (int) box.getY(), (int) box.getWidth(), (int) box.getHeight());
}

void ScrewSlider::mouseDown (const juce::MouseEvent& e)
{
    if (valueTextArea.contains (e.position))
    {
        openEditor();
        return;
    }

    if (valueEditor.isVisible())
        closeEditor (true);

    juce::Slider::mouseDown (e);
}

void ScrewSlider::applyEditorValue()
{
    const auto text = valueEditor.getText();

    if (text.isEmpty())
        return;

    setValue (juce::jlimit (getMinimum(), getMaximum(), text.getDoubleValue()), juce::sendNotificationSync);
}

void ScrewSlider::textEditorReturnKeyPressed (juce::TextEditor&) { closeEditor (true); }
void ScrewSlider::textEditorEscapeKeyPressed (juce::TextEditor&) { closeEditor (false); }

void ScrewSlider::textEditorFocusLost (juce::TextEditor&)
{
    // Hiding the editor also takes its focus away; by then Return or Escape
    // has already decided whether the text counts.
    if (valueEditor.isVisible())
        closeEditor (true);
}

void ScrewSlider::openEditor()
{
    valueEditor.setText (wholeNumberText (getValue()), false);
    valueEditor.setVisible (true);
    valueEditor.grabKeyboardFocus();
    valueEditor.selectAll();
    repaint();
}

void ScrewSlider::closeEditor (bool shouldApply)
{
    if (shouldApply)
        applyEditorValue();

    valueEditor.setVisible (false);
    repaint();
}

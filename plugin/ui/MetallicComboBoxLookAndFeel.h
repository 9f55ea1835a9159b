#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Combo boxes with a raised metallic body and a small arrow, and the pop-up
// menus they open: dark items, a blue highlight and a blue dot on the ticked
// item.
class MetallicComboBoxLookAndFeel : public juce::LookAndFeel_V4
{
public:
    static constexpr juce::uint32 accentColour = 0xff00a8ff;

    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;
    void drawPopupMenuItem (juce::Graphics&, const juce::Rectangle<int>& area,
                            bool isSeparator, bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu,
                            const juce::String& text, const juce::String& shortcutKeyText,
                            const juce::Drawable* icon, const juce::Colour* textColour) override;

    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox&) override;
    juce::Font getComboBoxFont (juce::ComboBox&) override;
    void positionComboBoxText (juce::ComboBox&, juce::Label&) override;
};

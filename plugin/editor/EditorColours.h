#pragma once

#include <juce_core/juce_core.h>

// The editor's own colours (0xAARRGGBB), shared by its construction,
// controls and reactions.
namespace EditorColours
{
inline constexpr juce::uint32 knobFill = 0xffdc143c;
inline constexpr juce::uint32 knobOutline = 0xff2d2d2d;
inline constexpr juce::uint32 knobThumb = 0xfff0f0f0;
inline constexpr juce::uint32 knobTextBoxText = 0xffe0e0e0;
inline constexpr juce::uint32 knobTextBoxBackground = 0xff1a1a1a;

inline constexpr juce::uint32 boxAccent = 0xffe74c3c;
inline constexpr juce::uint32 airAccent = 0xff3498db;
inline constexpr juce::uint32 rangeExtremeAccent = 0xffff6600;
inline constexpr juce::uint32 extremeAccent = 0xffe74c3c;

inline constexpr juce::uint32 assistButton = 0xff2d8659;
inline constexpr juce::uint32 normalButtonActive = 0xff3498db;
inline constexpr juce::uint32 normalButtonInactive = 0xff4a4a5a;
inline constexpr juce::uint32 advancedButtonActive = 0xffe74c3c;
inline constexpr juce::uint32 advancedButtonInactive = 0xff5a4a4a;
inline constexpr juce::uint32 autoButtonIdle = 0xff323c50;

inline constexpr juce::uint32 freeTempoButton = 0xff4caf50;
inline constexpr juce::uint32 syncTempoButton = 0xff2196f3;

inline constexpr juce::uint32 tempoFieldBackground = 0xff2a2a3a;
inline constexpr juce::uint32 tempoFieldText = 0xffe0f0ff;
inline constexpr juce::uint32 tempoFieldOutline = 0xff505050;
inline constexpr juce::uint32 tempoFieldHighlight = 0xff00a8ff;

inline constexpr juce::uint32 presetButton = 0xff3a4a60;
inline constexpr juce::uint32 abStatusText = 0xff00ff00;
} // namespace EditorColours

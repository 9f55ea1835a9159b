#pragma once

#include <juce_core/juce_core.h>

#include <memory>

// XML that comes from outside the program (preset files, host state) is
// checked before JUCE's parser sees it. A document type declaration could make
// the parser expand entities without bound, and very deep nesting could exhaust
// the stack of its recursive descent. Documents this program writes have no
// declaration and a few dozen elements.
struct UntrustedXml
{
    static constexpr int maximumTags = 1024;

    // Whether the text may be handed to the parser.
    static bool isAcceptable (const char* utf8, size_t numBytes);

    // Null when the text is not acceptable or does not parse.
    static std::unique_ptr<juce::XmlElement> parse (const juce::String& text);
};

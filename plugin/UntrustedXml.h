#pragma once

#include <juce_core/juce_core.h>

#include <memory>

// XML that comes from outside the program (preset files, host state) is
// checked before JUCE's parser sees it:
// - a document type declaration could make the parser expand entities
//   without bound;
// - very deep nesting could exhaust the stack of its recursive descent;
// - a processing instruction inside an element followed by text sends the
//   parser round in a loop for ever;
// - bytes that are not well-formed UTF-8 make JUCE's strings step forwards
//   and backwards by different amounts, which ends in reads and writes
//   outside their buffers.
// Documents this program writes are UTF-8, have at most the XML declaration
// before the root element, no document type and a few dozen elements.
struct UntrustedXml
{
    static constexpr int maximumTags = 1024;

    // Whether the text may be handed to the parser. It ends at its first zero
    // byte or after `numBytes`, whichever comes first.
    static bool isAcceptable (const char* utf8, size_t numBytes);

    // Null when the text is not acceptable or does not parse.
    static std::unique_ptr<juce::XmlElement> parse (const juce::String& text);
};

#include "UntrustedXml.h"

#include <cstring>

namespace
{
bool startsWithDeclaration (const char* text, size_t available)
{
    static constexpr char declaration[] = "<!DOCTYPE";
    constexpr size_t length = sizeof (declaration) - 1;

    if (available < length)
        return false;

    for (size_t i = 0; i < length; ++i)
        if (juce::CharacterFunctions::toUpperCase ((juce::juce_wchar) (unsigned char) text[i]) != declaration[i])
            return false;

    return true;
}

bool isContinuation (unsigned char byte, unsigned char lowest = 0x80, unsigned char highest = 0xbf)
{
    return byte >= lowest && byte <= highest;
}

// The length of the well-formed UTF-8 sequence at `text` (shortest form, no
// surrogates, nothing above U+10FFFF), or 0 when there is none. JUCE's own
// check lets five-byte and overlong forms through.
size_t wellFormedSequenceLength (const unsigned char* text, size_t available)
{
    const auto lead = text[0];

    if (lead < 0x80)
        return 1;

    size_t length = 0;
    unsigned char lowest = 0x80, highest = 0xbf; // the range of the second byte

    if (lead >= 0xc2 && lead <= 0xdf)
        length = 2;
    else if (lead >= 0xe0 && lead <= 0xef)
    {
        length = 3;
        if (lead == 0xe0)
            lowest = 0xa0;
        else if (lead == 0xed)
            highest = 0x9f;
    }
    else if (lead >= 0xf0 && lead <= 0xf4)
    {
        length = 4;
        if (lead == 0xf0)
            lowest = 0x90;
        else if (lead == 0xf4)
            highest = 0x8f;
    }

    if (length == 0 || available < length || ! isContinuation (text[1], lowest, highest))
        return 0;

    for (size_t i = 2; i < length; ++i)
        if (! isContinuation (text[i]))
            return 0;

    return length;
}
} // namespace

bool UntrustedXml::isAcceptable (const char* utf8, size_t numBytes)
{
    const auto* bytes = reinterpret_cast<const unsigned char*> (utf8);
    int tags = 0;
    bool insideRootElement = false;

    for (size_t i = 0; i < numBytes && bytes[i] != 0;)
    {
        const auto sequenceLength = wellFormedSequenceLength (bytes + i, numBytes - i);
        if (sequenceLength == 0)
            return false;

        if (bytes[i] == '<')
        {
            if (++tags > maximumTags || startsWithDeclaration (utf8 + i, numBytes - i))
                return false;

            const auto next = i + 1 < numBytes ? bytes[i + 1] : 0;

            // Before the root element a processing instruction is harmless.
            if (next == '?' && insideRootElement)
                return false;

            if (next != '?' && next != '!')
                insideRootElement = true;
        }

        i += sequenceLength;
    }

    return true;
}

std::unique_ptr<juce::XmlElement> UntrustedXml::parse (const juce::String& text)
{
    const auto* utf8 = text.toRawUTF8();

    if (! isAcceptable (utf8, std::strlen (utf8)))
        return nullptr;

    return juce::parseXML (text);
}

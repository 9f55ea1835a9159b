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
} // namespace

bool UntrustedXml::isAcceptable (const char* utf8, size_t numBytes)
{
    int tags = 0;

    for (size_t i = 0; i < numBytes; ++i)
    {
        if (utf8[i] != '<')
            continue;

        if (++tags > maximumTags || startsWithDeclaration (utf8 + i, numBytes - i))
            return false;
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

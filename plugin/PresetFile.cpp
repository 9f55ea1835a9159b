#include "PresetFile.h"

#include "UntrustedXml.h"

#include <cmath>

namespace
{
const juce::Identifier presetNameKey ("presetName"), categoryKey ("category"), versionKey ("version"),
    isFactoryKey ("isFactory"), savedBPMKey ("savedBPM");

juce::File presetRoot()
{
    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory)
        .getChildFile ("Audio/Presets/TARNWELL_PROJECT/TarnwellCompressor");
}
} // namespace

juce::File PresetFile::userFolder()
{
    return presetRoot().getChildFile ("User");
}

juce::File PresetFile::factoryFolder()
{
    return presetRoot().getChildFile ("Factory");
}

bool PresetFile::isSafeName (const juce::String& name)
{
    if (name.trim().isEmpty() || name.containsAnyOf ("/\\") || name.contains (".."))
        return false;

    for (auto c : name)
        if (c < 0x20 || c == 0x7f)
            return false;

    return true;
}

bool PresetFile::write (const juce::File& target, const juce::ValueTree& state, const juce::String& name,
                        double savedBPM)
{
    auto xml = state.createXml();
    if (xml == nullptr)
        return false;

    // Always the last five attributes, in this order, whatever the tree held.
    for (const auto& key : { presetNameKey, categoryKey, versionKey, isFactoryKey, savedBPMKey })
        xml->removeAttribute (key);

    xml->setAttribute (presetNameKey, name);
    xml->setAttribute (categoryKey, "User");
    xml->setAttribute (versionKey, "2.8.77");
    xml->setAttribute (isFactoryKey, "0");
    xml->setAttribute (savedBPMKey, savedBPM);

    return xml->writeTo (target);
}

std::optional<PresetFile::Contents> PresetFile::read (const juce::File& file)
{
    // A size of 0 also keeps pipes and devices from being read.
    const auto size = file.getSize();
    if (! file.existsAsFile() || size <= 0 || size > maximumSize)
        return std::nullopt;

    const auto xml = UntrustedXml::parse (file.loadFileAsString());
    if (xml == nullptr)
        return std::nullopt;

    Contents contents;
    contents.name = xml->getStringAttribute (presetNameKey);
    if (contents.name.trim().isEmpty())
        contents.name = file.getFileNameWithoutExtension();

    contents.category = xml->getStringAttribute (categoryKey, "User");

    if (const auto bpm = xml->getDoubleAttribute (savedBPMKey); std::isfinite (bpm) && bpm > 0.0)
        contents.savedBPM = bpm;

    contents.state = juce::ValueTree::fromXml (*xml);
    if (! contents.state.isValid())
        return std::nullopt;

    return contents;
}

juce::Array<juce::File> PresetFile::list (const juce::File& folder)
{
    if (folder == juce::File() || ! folder.isDirectory())
        return {};

    auto files = folder.findChildFiles (juce::File::findFiles, false, juce::String ("*") + extension);
    files.sort();
    return files;
}

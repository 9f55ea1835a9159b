#include "HostedPlugin.h"

HostedPlugin HostedPlugin::load (const juce::File& bundle, double sampleRate, int blockSize, juce::String& error)
{
    HostedPlugin result;

    if (! bundle.exists())
    {
        error = "no plug-in bundle at " + bundle.getFullPathName();
        return result;
    }

    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> types;
    format.findAllTypesForFile (types, bundle.getFullPathName());

    if (types.isEmpty())
    {
        error = "no VST3 plug-in found in " + bundle.getFullPathName();
        return result;
    }

    result.description = *types.getFirst();
    result.instance = format.createInstanceFromDescription (result.description, sampleRate, blockSize, error);
    return result;
}

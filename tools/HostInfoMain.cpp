// Loads the built VST3 bundle in a VST3 host and prints what a DAW sees.
#include "HostedPlugin.h"

#include <iostream>

namespace
{
juce::String describeBus (const juce::AudioProcessor::Bus* bus)
{
    if (bus == nullptr)
        return "none";

    return "\"" + bus->getName() + "\" " + bus->getCurrentLayout().getDescription()
           + " (" + juce::String (bus->getNumberOfChannels()) + " channels)";
}

juce::String describeParameter (int index, juce::AudioProcessorParameter& p)
{
    auto text = [&p] (float normalised)
    {
        auto label = p.getLabel();
        auto value = p.getText (normalised, 64);
        return label.isEmpty() ? value : value + " " + label;
    };

    auto line = juce::String (index + 1).paddedLeft (' ', 2) + "  " + p.getName (64).paddedRight (' ', 18)
                + "  " + (text (0.0f) + " .. " + text (1.0f)).paddedRight (' ', 28)
                + "  default " + text (p.getDefaultValue());

    if (p.isBoolean())
        line << "  [switch]";
    else if (p.isDiscrete())
        line << "  [" << p.getNumSteps() << " steps]";

    if (p.isMetaParameter())
        line << "  [meta]";

    return line;
}
} // namespace

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juceInit;

    const juce::File bundle (argc > 1 ? juce::String (argv[1]) : juce::String (TARNWELL_VST3_BUNDLE));
    const double sampleRate = 48000.0;
    const int blockSize = 512;

    juce::String error;
    auto plugin = HostedPlugin::load (bundle, sampleRate, blockSize, error);

    if (plugin.instance == nullptr)
    {
        std::cerr << "error: " << error << "\n";
        return 1;
    }

    auto& instance = *plugin.instance;
    instance.prepareToPlay (sampleRate, blockSize);

    const auto& d = plugin.description;
    std::cout << "Bundle:     " << bundle.getFullPathName() << "\n"
              << "Format:     " << d.pluginFormatName << "\n"
              << "Vendor:     " << d.manufacturerName << "\n"
              << "Name:       " << d.name << "\n"
              << "Category:   " << d.category << "\n"
              << "Version:    " << d.version << "\n"
              << "Input:      " << describeBus (instance.getBus (true, 0)) << "\n"
              << "Output:     " << describeBus (instance.getBus (false, 0)) << "\n"
              << "MIDI:       " << (instance.acceptsMidi() ? "in " : "") << (instance.producesMidi() ? "out" : "")
              << (instance.acceptsMidi() || instance.producesMidi() ? "" : "none") << "\n"
              << "Latency:    " << instance.getLatencySamples() << " samples at " << sampleRate << " Hz\n"
              << "Tail:       " << instance.getTailLengthSeconds() << " s\n"
              << "Programs:   " << (instance.getNumPrograms() > 0 ? juce::String (instance.getNumPrograms())
                                                                   : juce::String ("one, unnamed (no program list)"))
              << "\n";

    const auto& params = instance.getParameters();
    std::cout << "Parameters: " << params.size() << "\n";

    for (int i = 0; i < params.size(); ++i)
        std::cout << "  " << describeParameter (i, *params[i]) << "\n";

    if (auto* bypass = instance.getBypassParameter())
        std::cout << "Host bypass: \"" << bypass->getName (64) << "\"\n";

    instance.releaseResources();
    return 0;
}

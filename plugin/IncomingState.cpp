#include "IncomingState.h"

#include <cmath>
#include <optional>

namespace
{
const juce::Identifier parameterType ("PARAM"), idKey ("id"), valueKey ("value");

// Only plain decimal text counts as a number: "nan", "inf" or "12dB" do not.
std::optional<double> finiteNumber (const juce::var& value)
{
    if (value.isString())
    {
        const auto text = value.toString().trim();

        if (text.isEmpty() || ! text.containsOnly ("0123456789+-.eE"))
            return std::nullopt;

        const auto number = text.getDoubleValue();
        return std::isfinite (number) ? std::optional<double> (number) : std::nullopt;
    }

    if (value.isDouble() || value.isInt() || value.isInt64() || value.isBool())
    {
        const auto number = (double) value;
        return std::isfinite (number) ? std::optional<double> (number) : std::nullopt;
    }

    return std::nullopt;
}

// Of several PARAM children with this ID the last one counts, as it would in JUCE.
juce::var incomingValue (const juce::ValueTree& incoming, const juce::String& parameterID)
{
    juce::var value;

    for (const auto& child : incoming)
        if (child.hasType (parameterType) && child[idKey].toString() == parameterID)
            value = child[valueKey];

    return value;
}

double safeValueFor (const juce::RangedAudioParameter& parameter, const juce::var& stored, float current)
{
    const auto number = finiteNumber (stored);

    if (! number.has_value())
        return current;

    const auto& range = parameter.getNormalisableRange();
    return juce::jlimit ((double) range.start, (double) range.end, *number);
}
} // namespace

juce::ValueTree IncomingState::prepare (const juce::ValueTree& incoming,
                                        const juce::AudioProcessorValueTreeState& parameters)
{
    juce::ValueTree tree (parameters.state.getType());

    // Set one by one, so a repeated attribute leaves one property.
    for (int i = 0; i < incoming.getNumProperties(); ++i)
    {
        const auto name = incoming.getPropertyName (i);
        tree.setProperty (name, incoming[name], nullptr);
    }

    for (auto* p : parameters.processor.getParameters())
    {
        auto* parameter = dynamic_cast<juce::RangedAudioParameter*> (p);
        if (parameter == nullptr)
            continue;

        const auto current = parameters.getRawParameterValue (parameter->paramID)->load();

        juce::ValueTree child (parameterType);
        child.setProperty (idKey, parameter->paramID, nullptr);
        child.setProperty (valueKey, safeValueFor (*parameter, incomingValue (incoming, parameter->paramID), current),
                           nullptr);
        tree.appendChild (child, nullptr);
    }

    return tree;
}

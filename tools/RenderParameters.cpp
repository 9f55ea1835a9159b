#include "RenderParameters.h"

namespace
{
juce::RangedAudioParameter* find (juce::AudioProcessor& processor, const juce::String& id)
{
    for (auto* p : processor.getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (p); ranged != nullptr && ranged->paramID == id)
            return ranged;

    return nullptr;
}

// Choices and switches have whole-number values only.
bool takesWholeNumbers (const juce::RangedAudioParameter& p)
{
    return dynamic_cast<const juce::AudioParameterChoice*> (&p) != nullptr
           || dynamic_cast<const juce::AudioParameterBool*> (&p) != nullptr;
}

// Shortest text for a range end or default: "1", "0.1", "-60".
juce::String formatNumber (float value)
{
    auto text = juce::String (value, 4);

    if (text.containsChar ('.'))
        text = text.trimCharactersAtEnd ("0").trimCharactersAtEnd (".");

    return text == "-0" ? "0" : text;
}

juce::String rangeText (const juce::RangedAudioParameter& p)
{
    const auto& range = p.getNormalisableRange();
    return formatNumber (range.start) + " to " + formatNumber (range.end);
}

juce::String unitText (const juce::RangedAudioParameter& p)
{
    if (dynamic_cast<const juce::AudioParameterBool*> (&p) != nullptr)
        return "switch: 0 off, 1 on";

    if (auto* choice = dynamic_cast<const juce::AudioParameterChoice*> (&p))
    {
        juce::StringArray entries;
        for (int i = 0; i < choice->choices.size(); ++i)
            entries.add (juce::String (i) + " " + choice->choices[i]);
        return "choice: " + entries.joinIntoString (", ");
    }

    return p.getLabel();
}

juce::String checkValue (const juce::RangedAudioParameter& p, const RenderOptions::Assignment& a)
{
    const auto& range = p.getNormalisableRange();
    const auto value = (float) a.value;
    const auto assignment = a.id + "=" + a.valueText;

    if (value < range.start || value > range.end)
        return assignment + " is outside " + rangeText (p);

    if (takesWholeNumbers (p) && a.value != std::floor (a.value))
        return assignment + " is not one of the whole numbers " + rangeText (p);

    return {};
}
} // namespace

juce::String RenderParameters::apply (juce::AudioProcessor& processor,
                                      const std::vector<RenderOptions::Assignment>& assignments)
{
    for (const auto& a : assignments)
    {
        auto* p = find (processor, a.id);
        if (p == nullptr)
            return "unknown parameter \"" + a.id + "\" (see --list-params)";

        if (const auto error = checkValue (*p, a); error.isNotEmpty())
            return error;

        p->setValueNotifyingHost (p->convertTo0to1 ((float) a.value));
    }

    return {};
}

juce::String RenderParameters::list (juce::AudioProcessor& processor)
{
    auto row = [] (const juce::String& id, const juce::String& name, const juce::String& range,
                   const juce::String& defaultValue, const juce::String& unit)
    {
        return id.paddedRight (' ', 17) + name.paddedRight (' ', 19) + range.paddedRight (' ', 16)
               + defaultValue.paddedRight (' ', 9) + unit + "\n";
    };

    auto text = row ("ID", "Name", "Range", "Default", "Unit");

    for (auto* parameter : processor.getParameters())
        if (auto* p = dynamic_cast<juce::RangedAudioParameter*> (parameter))
            text << row (p->paramID, p->getName (64), rangeText (*p),
                         formatNumber (p->convertFrom0to1 (p->getDefaultValue())), unitText (*p));

    return text;
}

juce::String RenderParameters::describe (juce::AudioProcessor& processor,
                                         const std::vector<RenderOptions::Assignment>& assignments)
{
    juce::StringArray seen, parts;

    for (const auto& a : assignments)
    {
        auto* p = find (processor, a.id);
        if (p == nullptr || seen.contains (a.id))
            continue;

        // Choices and switches name their value; a ratio's ":1" follows its number directly.
        seen.add (a.id);
        const auto label = takesWholeNumbers (*p) ? juce::String() : p->getLabel();
        const auto separator = label.isEmpty() || label.startsWithChar (':') ? "" : " ";
        parts.add (a.id + " " + p->getCurrentValueAsText() + separator + label);
    }

    return parts.isEmpty() ? juce::String ("defaults") : parts.joinIntoString (", ");
}

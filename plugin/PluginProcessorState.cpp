// The host state: the parameter tree plus the processor's tempo and display
// settings and the current preset's name, as JUCE's XML-in-binary blob.
#include "PluginProcessor.h"

#include "IncomingState.h"
#include "RawParameterValues.h"
#include "UntrustedXml.h"

#include <cmath>

namespace
{
const char* const settingKeys[] = { "pluginVersion", "pluginVersionCode", "savedBPM", "manualBPM", "bpmFreeMode",
                                    "bpmSyncAttackOffset", "bpmSyncHoldOffset", "bpmSyncReleaseOffset",
                                    "showCmpCurve", "showOutCurve", "showDirtEffect", "glowEnabled",
                                    "showWaveformBars", "ecoMode", "kneeGlowEnabled", "currentPresetName" };

const juce::String currentVersion (JucePlugin_VersionString);

// States from this release line, from any 3.x and from 2.9.x share today's
// parameter model; older and newer ones keep only their other settings.
bool parametersAreCompatible (const juce::String& savedVersion)
{
    if (savedVersion.isEmpty() || savedVersion == currentVersion)
        return true;

    juce::StringArray saved, current;
    saved.addTokens (savedVersion, ".", {});
    current.addTokens (currentVersion, ".", {});

    if (saved.size() >= 2 && saved[0] == current[0] && saved[1] == current[1])
        return true;

    if (saved.size() == 1 && saved[0] == current[0])
        return true;

    return savedVersion.startsWith ("2.9") || savedVersion.startsWith ("3.");
}

bool switchAttribute (const juce::XmlElement& xml, const char* key, bool fallback)
{
    return xml.getIntAttribute (key, fallback ? 1 : 0) != 0;
}

float finiteAttribute (const juce::XmlElement& xml, const char* key, float fallback)
{
    const auto value = (float) xml.getDoubleAttribute (key, fallback);
    return std::isfinite (value) ? value : fallback;
}

// The range rules count a switch as on from 0.5 up.
bool isAtLeastHalf (const std::atomic<float>* value)
{
    return raw::valueOr (value, 0.0f) >= 0.5f;
}
} // namespace

void TarnwellCompressorAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    auto xml = parameters.copyState().createXml();
    if (xml == nullptr)
        return;

    // A restored state leaves these in the tree; they are always appended
    // afresh, in this order.
    for (const auto* key : settingKeys)
        xml->removeAttribute (key);

    xml->setAttribute ("pluginVersion", currentVersion);
    xml->setAttribute ("pluginVersionCode", juce::String (JucePlugin_VersionCode));
    xml->setAttribute ("savedBPM", savedBPM);
    xml->setAttribute ("manualBPM", manualBPM);
    xml->setAttribute ("bpmFreeMode", bpmFreeMode ? "1" : "0");
    xml->setAttribute ("bpmSyncAttackOffset", (double) bpmSyncAttackOffset);
    xml->setAttribute ("bpmSyncHoldOffset", (double) bpmSyncHoldOffset);
    xml->setAttribute ("bpmSyncReleaseOffset", (double) bpmSyncReleaseOffset);
    xml->setAttribute ("showCmpCurve", showCmpCurve ? "1" : "0");
    xml->setAttribute ("showOutCurve", showOutCurve ? "1" : "0");
    xml->setAttribute ("showDirtEffect", showDirtEffect ? "1" : "0");
    xml->setAttribute ("glowEnabled", glowEnabled ? "1" : "0");
    xml->setAttribute ("showWaveformBars", showWaveformBars ? "1" : "0");
    xml->setAttribute ("ecoMode", ecoMode ? "1" : "0");
    xml->setAttribute ("kneeGlowEnabled", kneeGlowEnabled.load() ? "1" : "0");

    if (presetManager != nullptr && presetManager->currentPresetName.isNotEmpty())
        xml->setAttribute ("currentPresetName", presetManager->currentPresetName);

    copyXmlToBinary (*xml, destData);
}

void TarnwellCompressorAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    // Checked before JUCE's parser sees the text; the header checks are JUCE's.
    if (data == nullptr || sizeInBytes < 9
        || ! UntrustedXml::isAcceptable (static_cast<const char*> (data) + 8, (size_t) sizeInBytes - 8))
        return;

    const auto xml = getXmlFromBinary (data, sizeInBytes);
    if (xml == nullptr)
        return;

    restoreSettings (*xml);

    if (parametersAreCompatible (xml->getStringAttribute ("pluginVersion"))
        && xml->getTagName().equalsIgnoreCase (parameters.state.getType().toString()))
    {
        // Otherwise switching tempo sync on would leave the restored free
        // mode, a restored time with sync on would become a new offset, and a
        // restored tilt would tilt the restored times once more.
        restoringState = true;
        parameters.replaceState (IncomingState::prepare (juce::ValueTree::fromXml (*xml), parameters));
        restoringState = false;
    }

    pendingPresetName = xml->getStringAttribute ("currentPresetName");
    applyRangeRules();

    // The tempo settings may have changed without any parameter doing so.
    bpmSyncUiDirty = true;
    parameterChanged ({}, 0.0f);
}

void TarnwellCompressorAudioProcessor::restoreSettings (const juce::XmlElement& xml)
{
    if (xml.hasAttribute ("savedBPM"))
        restoreSavedBPM (xml.getDoubleAttribute ("savedBPM"));

    manualBPM = usableTempo (xml.getDoubleAttribute ("manualBPM", 120.0)).value_or (120.0);
    bpmFreeMode = switchAttribute (xml, "bpmFreeMode", false);
    bpmSyncAttackOffset = finiteAttribute (xml, "bpmSyncAttackOffset", 0.0f);
    bpmSyncHoldOffset = finiteAttribute (xml, "bpmSyncHoldOffset", 0.0f);
    bpmSyncReleaseOffset = finiteAttribute (xml, "bpmSyncReleaseOffset", 0.0f);

    showCmpCurve = switchAttribute (xml, "showCmpCurve", true);
    showOutCurve = switchAttribute (xml, "showOutCurve", true);
    showDirtEffect = switchAttribute (xml, "showDirtEffect", true);
    glowEnabled = switchAttribute (xml, "glowEnabled", false);
    showWaveformBars = switchAttribute (xml, "showWaveformBars", true);
    ecoMode = switchAttribute (xml, "ecoMode", false);
    kneeGlowEnabled.store (switchAttribute (xml, "kneeGlowEnabled", true));
}

// Older releases allowed range, force and damping beyond what their switches
// now permit without the extreme settings.
void TarnwellCompressorAudioProcessor::applyRangeRules()
{
    if (raw::valueOr (rangeParam, 0.0f) > 40.0f && ! isAtLeastHalf (rangeExtremeParam))
        setParameterFromPlainValue ("rangeExtreme", 1.0f);

    if (! isAtLeastHalf (forceExtremeParam) && raw::valueOr (forceMultiplierParam, 0.0f) > 100.0f)
        setParameterFromPlainValue ("forceMultiplier", 100.0f);

    if (! isAtLeastHalf (dampingExtremeParam) && raw::valueOr (dampingParam, 0.0f) > 10000.0f)
        setParameterFromPlainValue ("damping", 10000.0f);
}

void TarnwellCompressorAudioProcessor::restoreSavedBPM (double bpm)
{
    if (const auto tempo = usableTempo (bpm))
        savedBPM = *tempo;
}

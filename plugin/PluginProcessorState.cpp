// The host state: the parameter tree plus the processor's tempo and display
// settings and the current preset's name, as JUCE's XML-in-binary blob.
#include "PluginProcessor.h"

#include "IncomingState.h"
#include "ParameterIDs.h"
#include "RawParameterValues.h"
#include "UntrustedXml.h"

#include <cmath>
#include <cstring>

namespace
{
const char* const settingKeys[] = { "pluginVersion", "pluginVersionCode", "savedBPM", "manualBPM", "bpmFreeMode",
                                    "bpmSyncAttackOffset", "bpmSyncHoldOffset", "bpmSyncReleaseOffset",
                                    "showCmpCurve", "showOutCurve", "showDirtEffect", "glowEnabled",
                                    "showWaveformBars", "ecoMode", "kneeGlowEnabled", "currentPresetName" };

const juce::String currentVersion (JucePlugin_VersionString);

const juce::Identifier parameterIdKey ("id"), parameterValueKey ("value");

// JUCE's XML-in-binary blob: a magic number and the text's length, then the text.
constexpr size_t blobHeaderSize = 8;

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
    if (data == nullptr || sizeInBytes < (int) blobHeaderSize + 1)
        return;

    // A host may pass a size beyond the data it holds: read no further than
    // the length the blob's header declares, and stop at the text's end. The
    // text is checked before JUCE's parser sees it; the other header checks
    // are JUCE's.
    const auto* text = static_cast<const char*> (data) + blobHeaderSize;
    const auto declaredLength = juce::ByteOrder::littleEndianInt (static_cast<const char*> (data) + 4);
    const auto textLength = strnlen (text, juce::jmin ((size_t) declaredLength, (size_t) sizeInBytes - blobHeaderSize));

    if (! UntrustedXml::isAcceptable (text, textLength))
        return;

    const auto xml = getXmlFromBinary (data, (int) (blobHeaderSize + textLength));
    if (xml == nullptr)
        return;

    restoreSettings (*xml);

    if (parametersAreCompatible (xml->getStringAttribute ("pluginVersion"))
        && xml->getTagName().equalsIgnoreCase (parameters.state.getType().toString()))
        applyFinalState (IncomingState::prepare (juce::ValueTree::fromXml (*xml), parameters));

    pendingPresetName = xml->getStringAttribute ("currentPresetName");
    applyRangeRules();

    // The tempo settings may have changed without any parameter doing so.
    bpmSyncUiDirty = true;
    parameterChanged ({}, 0.0f);
}

void TarnwellCompressorAudioProcessor::applyFinalState (juce::ValueTree tree)
{
    // Otherwise switching tempo sync on would leave the free mode in force, a
    // time with sync on would become a new offset, a new sync mode would
    // replace the times by tempo-derived ones, and a tilt would tilt the
    // times once more.
    restoringState = true;
    parameters.replaceState (tree);
    settleParametersOnValuesInForce();
    writeValuesInForceIntoTree();
    restoringState = false;

    bpmSyncUiDirty = true;
    parameterChanged ({}, 0.0f);
}

// JUCE skips a parameter whose restored value equals the one it believes in
// force after snapping, although the parameter itself may hold an unsnapped
// value (a switch set to 0.25 by the host is off, restored as off, and would
// keep reporting 0.25). Every parameter then reports exactly what is in force.
void TarnwellCompressorAudioProcessor::settleParametersOnValuesInForce()
{
    constexpr float sameValueTolerance = 1.0e-6f;

    for (auto* parameter : getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter))
            if (const auto* value = parameters.getRawParameterValue (ranged->paramID))
            {
                const auto inForce = ranged->convertTo0to1 (value->load());
                if (std::abs (ranged->getValue() - inForce) > sameValueTolerance)
                    ranged->setValueNotifyingHost (inForce);
            }
}

// JUCE leaves a value in the tree alone when the parameter's value does not
// change by more than a rounding error (a value snapped to its interval, say),
// so the tree would keep, and save, a value other than the one in force.
void TarnwellCompressorAudioProcessor::writeValuesInForceIntoTree()
{
    for (auto child : parameters.state)
        if (const auto* value = parameters.getRawParameterValue (child[parameterIdKey].toString()))
            child.setProperty (parameterValueKey, value->load(), nullptr);
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
        setParameterFromPlainValue (ParameterIDs::rangeExtreme, 1.0f);

    if (! isAtLeastHalf (forceExtremeParam) && raw::valueOr (forceMultiplierParam, 0.0f) > 100.0f)
        setParameterFromPlainValue (ParameterIDs::forceMultiplier, 100.0f);

    if (! isAtLeastHalf (dampingExtremeParam) && raw::valueOr (dampingParam, 0.0f) > 10000.0f)
        setParameterFromPlainValue (ParameterIDs::damping, 10000.0f);
}

void TarnwellCompressorAudioProcessor::restoreSavedBPM (double bpm)
{
    if (const auto tempo = usableTempo (bpm))
        savedBPM = *tempo;
}

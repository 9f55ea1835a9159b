#pragma once

#include "ParameterIDs.h"

// The 33 host parameters in the order hosts list them: what a host shows
// (name, texts at both ends and at the default, unit, steps) and what only
// the processor itself reveals (meta flag, version hint, interval, skew).
namespace test
{
struct ExpectedParameter
{
    const char* id;
    const char* name;
    const char* minText;
    const char* maxText;
    const char* defaultText;
    const char* unit;
    int steps; // 0 for a continuous parameter
    bool meta;
    int versionHint;
    float interval;
    float skew;
};

namespace id = ParameterIDs;

inline constexpr ExpectedParameter expectedParameters[] = {
    { id::threshold, "Threshold", "-60.0", "0.0", "-20.0", "dB", 0, false, 0, 0.1f, 1.0f },
    { id::ratio, "Ratio", "1.0", "20.0", "2.0", ":1", 0, false, 0, 0.1f, 1.0f },
    { id::attack, "Attack", "0.10", "100.00", "10.00", "ms", 0, false, 0, 0.01f, 0.5f },
    { id::release, "Release", "10.00", "5000.00", "100.00", "ms", 0, false, 0, 0.01f, 0.5f },
    { id::hold, "Hold", "0.00", "300.00", "0.00", "ms", 0, true, 0, 0.01f, 0.5f },
    { id::holdBypass, "Hold Bypass", "Off", "On", "Off", "", 2, false, 0, 1.0f, 1.0f },
    { id::knee, "Knee", "0.0", "10.0", "2.0", "dB", 0, false, 0, 0.1f, 1.0f },
    { id::range, "Range", "0.0", "80.0", "6.0", "dB", 0, false, 0, 0.1f, 1.0f },
    { id::physicsMode, "Physics Mode", "Standard", "F=ma Heavy", "F=ma Medium", "", 4, false, 0, 1.0f, 1.0f },
    { id::forceMultiplier, "Force", "0.05", "200.00", "1.00", "", 0, false, 0, 0.01f, 0.25f },
    { id::damping, "Damping", "1.0", "20000.0", "1.0", "", 0, false, 0, 0.1f, 0.3f },
    { id::releaseMode, "Release Mode", "BOX", "AIR", "BOX", "", 2, false, 0, 1.0f, 1.0f },
    { id::rangeExtreme, "Range Extreme", "Off", "On", "Off", "", 2, false, 0, 1.0f, 1.0f },
    { id::forceExtreme, "Force Extreme", "Off", "On", "Off", "", 2, false, 0, 1.0f, 1.0f },
    { id::dampingExtreme, "Damping Extreme", "Off", "On", "Off", "", 2, false, 0, 1.0f, 1.0f },
    { id::bpmSync, "BPM Sync", "Off", "On", "Off", "", 2, true, 0, 1.0f, 1.0f },
    { id::bpmSyncMode, "BPM Sync Mode", "Normal", "Advanced", "Normal", "", 2, false, 0, 1.0f, 1.0f },
    { id::noteGrid, "Note Grid", "Off", "On", "On", "", 2, true, 0, 1.0f, 1.0f },
    { id::bypass, "Bypass", "Off", "On", "Off", "", 2, false, 0, 1.0f, 1.0f },
    { id::tilt, "Tilt", "-100", "100", "0", "%", 0, true, 0, 1.0f, 1.0f },
    { id::makeupGain, "Makeup Gain", "-20.0", "20.0", "0.0", "dB", 0, false, 0, 0.1f, 1.0f },
    { id::inputGain, "Input Gain", "-20.0", "20.0", "0.0", "dB", 0, false, 0, 0.1f, 1.0f },
    { id::outputGain, "Output Gain", "-20.0", "20.0", "0.0", "dB", 0, false, 0, 0.1f, 1.0f },
    { id::autoGain, "Auto Gain", "Off", "On", "Off", "", 2, false, 0, 1.0f, 1.0f },
    { id::mix, "Mix", "0.0", "100.0", "100.0", "%", 0, false, 0, 0.1f, 1.0f },
    { id::safety, "Safety", "0", "100", "0", "%", 0, false, 0, 1.0f, 1.0f },
    { id::stability, "Stability", "0", "100", "0", "%", 0, false, 0, 1.0f, 1.0f },
    { id::scHPF, "SC HPF", "0", "300", "0", "Hz", 0, false, 0, 1.0f, 1.0f },
    { id::oversampling, "Oversampling", "Off", "8x", "Off", "", 3, false, 0, 1.0f, 1.0f },
    { id::clampWaveforms, "Clamp Waveforms", "Off", "On", "On", "", 2, false, 0, 1.0f, 1.0f },
    { id::autoThreshold, "Auto Threshold", "Off", "On", "Off", "", 2, false, 1, 1.0f, 1.0f },
    { id::intAuto, "Intelligence Auto", "Off", "On", "Off", "", 2, false, 1, 1.0f, 1.0f },
    { id::lookahead, "Lookahead", "Off", "On", "Off", "", 2, false, 1, 1.0f, 1.0f },
};
} // namespace test

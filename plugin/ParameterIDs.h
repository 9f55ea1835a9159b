#pragma once

// The IDs of the 33 host parameters, in the order the host lists them. These
// strings are stored in host projects and preset files: never change one.
namespace ParameterIDs
{
inline constexpr const char* threshold = "threshold";
inline constexpr const char* ratio = "ratio";
inline constexpr const char* attack = "attack";
inline constexpr const char* release = "release";
inline constexpr const char* hold = "hold";
inline constexpr const char* holdBypass = "holdBypass";
inline constexpr const char* knee = "knee";
inline constexpr const char* range = "range";
inline constexpr const char* physicsMode = "physicsMode";
inline constexpr const char* forceMultiplier = "forceMultiplier";
inline constexpr const char* damping = "damping";
inline constexpr const char* releaseMode = "releaseMode";
inline constexpr const char* rangeExtreme = "rangeExtreme";
inline constexpr const char* forceExtreme = "forceExtreme";
inline constexpr const char* dampingExtreme = "dampingExtreme";
inline constexpr const char* bpmSync = "bpmSync";
inline constexpr const char* bpmSyncMode = "bpmSyncMode";
inline constexpr const char* noteGrid = "noteGrid";
inline constexpr const char* bypass = "bypass";
inline constexpr const char* tilt = "tilt";
inline constexpr const char* makeupGain = "makeupGain";
inline constexpr const char* inputGain = "inputGain";
inline constexpr const char* outputGain = "outputGain";
inline constexpr const char* autoGain = "autoGain";
inline constexpr const char* mix = "mix";
inline constexpr const char* safety = "safety";
inline constexpr const char* stability = "stability";
inline constexpr const char* scHPF = "scHPF";
inline constexpr const char* oversampling = "oversampling";
inline constexpr const char* clampWaveforms = "clampWaveforms";
inline constexpr const char* autoThreshold = "autoThreshold";
inline constexpr const char* intAuto = "intAuto";
inline constexpr const char* lookahead = "lookahead";

inline constexpr int count = 33;

inline constexpr const char* all[count] = {
    threshold, ratio, attack, release, hold, holdBypass, knee, range, physicsMode,
    forceMultiplier, damping, releaseMode, rangeExtreme, forceExtreme, dampingExtreme,
    bpmSync, bpmSyncMode, noteGrid, bypass, tilt, makeupGain, inputGain, outputGain,
    autoGain, mix, safety, stability, scHPF, oversampling, clampWaveforms, autoThreshold,
    intAuto, lookahead
};
} // namespace ParameterIDs

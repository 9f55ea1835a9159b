#include "PresetManager.h"

#include "ParameterIDs.h"

namespace id = ParameterIDs;

// The factory presets: plain values, choices by index, switches 0 or 1. The
// values are the exact floats the presets were made with, hence the odd ones
// such as 0.9999999f and 5.0000005f; 2.9802322e-07f dB is practically 0 dB.
const char* const PresetManager::factoryParameterIDs[numFactoryParameters] = {
    id::threshold, id::ratio, id::attack, id::release, id::hold, id::knee, id::range, id::physicsMode,
    id::forceMultiplier, id::damping, id::tilt, id::makeupGain, id::inputGain, id::outputGain, id::mix,
    id::oversampling, id::bpmSync, id::bpmSyncMode, id::autoGain, id::bypass, id::safety, id::lookahead,
    id::stability, id::scHPF, id::dampingExtreme, id::forceExtreme, id::rangeExtreme, id::holdBypass,
    id::noteGrid, id::releaseMode,
};

// Each record's values in three rows of ten, in the order of the IDs above.
const PresetManager::EmbeddedFactoryPreset PresetManager::embeddedFactoryPresets[numFactoryPresets] = {
    { "01 Default", "Factory",
      {
        -28.6f, 3.0f, 18.75f, 150.0f, 75.0f, 2.0f, 5.0f, 3.0f, 0.9999999f, 1.0f,
        0.0f, 5.0000005f, 2.9802322e-07f, 2.9802322e-07f, 100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
        100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "02 NORMAL KICK", "Factory",
      {
        -24.9f, 3.0f, 18.75f, 150.0f, 37.5f, 2.5f, 4.0f, 3.0f, 1.0f, 1.0f,
        0.0f, 7.0000005f, 2.9802322e-07f, 2.9802322e-07f, 100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
        100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "03 SLAM KICK", "Factory",
      {
        -22.699999f, 4.0f, 18.75f, 150.0f, 75.0f, 2.6000001f, 12.0f, 3.0f, 6.0f, 2000.0f,
        0.0f, 5.6000004f, 2.9802322e-07f, 2.9802322e-07f, 100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
        100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "04 SLAM KICK BLEND", "Factory",
      {
        -33.5f, 4.0f, 18.75f, 150.0f, 75.0f, 2.6000001f, 13.0f, 3.0f, 50.0f, 6000.0f,
        0.0f, 10.5f, 2.9802322e-07f, 2.9802322e-07f, 50.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
        0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "05 NORMAL SNARE", "Factory",
      {
        -21.5f, 3.0f, 18.75f, 150.0f, 75.0f, 3.5f, 3.0f, 3.0f, 1.0f, 1.0f,
        0.0f, 3.0000002f, 2.9802322e-07f, 2.9802322e-07f, 100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
        100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "06 SLAM SNARE", "Factory",
      {
        -25.1f, 3.0f, 18.75f, 150.0f, 75.0f, 3.5f, 10.0f, 3.0f, 25.0f, 2000.0f,
        0.0f, 4.9000006f, 2.9802322e-07f, 2.9802322e-07f, 100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
        100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "07 SLAM SNARE BLEND", "Factory",
      {
        -29.9f, 2.0f, 18.75f, 150.0f, 75.0f, 3.7f, 30.0f, 3.0f, 40.0f, 7000.0f,
        0.0f, 6.0000005f, 2.9802322e-07f, 2.9802322e-07f, 60.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
        100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "08 SMASH GRUE DRUMBUS", "Factory",
      {
        -22.9f, 3.0f, 18.75f, 150.0f, 75.0f, 4.3f, 12.0f, 3.0f, 80.0f, 8000.0f,
        0.0f, 8.3f, 2.9802322e-07f, 2.9802322e-07f, 40.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
        100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "09 NORMAL BASS", "Factory",
      {
        -23.4f, 2.0f, 18.75f, 150.0f, 75.0f, 4.0f, 4.5f, 3.0f, 1.0f, 1.0f,
        0.0f, 5.6000004f, 2.9802322e-07f, 2.9802322e-07f, 100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
        100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "10 HARD BASS", "Factory",
      {
        -23.9f, 2.0f, 18.75f, 150.0f, 75.0f, 4.0f, 12.0f, 3.0f, 80.0f, 3000.0f,
        0.0f, 4.7000003f, 2.9802322e-07f, 2.9802322e-07f, 100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
        100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "11 HARD BASS BLEND", "Factory",
      {
        -26.5f, 2.0f, 9.38f, 75.0f, 37.5f, 4.0f, 20.0f, 3.0f, 100.0f, 10000.0f,
        0.0f, 8.900001f, 2.9802322e-07f, 2.9802322e-07f, 50.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
        100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "12 NORMAL GUITAR", "Factory",
      {
        -28.3f, 2.0f, 18.75f, 150.0f, 75.0f, 2.0f, 15.0f, 3.0f, 1.0f, 1.0f,
        0.0f, 9.0f, 2.9802322e-07f, 2.9802322e-07f, 100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
        100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "13 NORMAL GUITAR BLEND", "Factory",
      {
        -33.0f, 2.0f, 9.38f, 75.0f, 37.5f, 2.0f, 25.0f, 3.0f, 60.0f, 5500.0f,
        0.0f, 10.400001f, 2.9802322e-07f, 2.9802322e-07f, 50.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
        100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "14 PIANO BLEND", "Factory",
      {
        -25.6f, 3.5f, 9.38f, 75.0f, 37.5f, 1.2f, 8.0f, 3.0f, 1.0f, 1.0f,
        0.0f, 12.1f, 2.9802322e-07f, 2.9802322e-07f, 50.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
        50.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "15 VOCAL BLEND", "Factory",
      {
        -30.6f, 2.0f, 18.75f, 150.0f, 75.0f, 1.2f, 5.4f, 3.0f, 1.0f, 1.0f,
        0.0f, 8.700001f, 2.9802322e-07f, 2.9802322e-07f, 50.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
        50.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f } },
    { "16 EX TRIGGER BLEND ADV", "Factory",
      {
        -28.9f, 5.6f, 9.38f, 75.0f, 37.5f, 2.0f, 40.0f, 3.0f, 200.0f, 20000.0f,
        0.0f, 2.0000002f, 2.9802322e-07f, 2.9802322e-07f, 50.0f, 2.0f, 0.0f, 1.0f, 0.0f, 0.0f,
        100.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f } },
};

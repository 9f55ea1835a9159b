#pragma once

// Attack, hold and release in ms for one beat of `beatMs`, as the tempo-sync
// choices set them and the tempo time labels show them.
struct TempoSyncTimes
{
    double attack, hold, release;

    static TempoSyncTimes normal (double beatMs)
    {
        return { beatMs / 16.0 > 35.0 ? beatMs / 32.0 : beatMs / 16.0,
                 beatMs / 4.0 > 150.0 ? beatMs / 8.0 : beatMs / 4.0,
                 beatMs / 2.0 };
    }

    // Unlike the other rules, the attack rule compares the shorter value with its limit.
    static TempoSyncTimes advanced (double beatMs)
    {
        return { beatMs / 64.0 > 10.0 ? beatMs / 64.0 : beatMs / 32.0,
                 beatMs / 8.0 > 150.0 ? beatMs / 16.0 : beatMs / 8.0,
                 beatMs / 4.0 };
    }
};

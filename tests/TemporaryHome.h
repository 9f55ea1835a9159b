#pragma once

#include <juce_core/juce_core.h>

#include <cstdlib>

#include <unistd.h>

namespace test
{
// Points HOME at a new empty folder for the object's lifetime, so that the
// preset folders the plug-in creates and reads are never the real user's.
class TemporaryHome
{
public:
    TemporaryHome()
        : previous (juce::SystemStats::getEnvironmentVariable ("HOME", {})),
          folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                      // The process ID keeps test processes that CTest runs side by side
                      // apart: each deletes its folder when it ends.
                      .getNonexistentChildFile ("tarnwell-home-" + juce::String ((int) getpid()), {}, false))
    {
        folder.createDirectory();
        setenv ("HOME", folder.getFullPathName().toRawUTF8(), 1);
    }

    ~TemporaryHome()
    {
        setenv ("HOME", previous.toRawUTF8(), 1);
        folder.deleteRecursively();
    }

private:
    const juce::String previous;

public:
    const juce::File folder;

    JUCE_DECLARE_NON_COPYABLE (TemporaryHome)
};
} // namespace test

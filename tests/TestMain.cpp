#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include "TemporaryHome.h"

// The processor rebuilds oversamplers on the message thread; this makes the
// test thread that thread. Every processor the tests create, here or in a
// child process, sees a temporary home folder.
int main (int argc, char** argv)
{
    const test::TemporaryHome home;
    juce::ScopedJuceInitialiser_GUI juceInit;
    ::testing::InitGoogleTest (&argc, argv);
    return RUN_ALL_TESTS();
}

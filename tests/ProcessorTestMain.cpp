#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

// The processor rebuilds oversamplers on the message thread; this makes the
// test thread that thread.
int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juceInit;
    ::testing::InitGoogleTest (&argc, argv);
    return RUN_ALL_TESTS();
}

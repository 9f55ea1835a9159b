#include <juce_gui_basics/juce_gui_basics.h>

#include <benchmark/benchmark.h>

// Fonts, images, components and timers need JUCE's GUI side.
int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juceInit;
    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

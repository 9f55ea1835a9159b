// The editor as a DAW sees it: the built VST3 bundle loaded through JUCE's
// VST3 hosting, its view created, sized and closed while audio runs. (Size
// limits are checked on the in-process editor: embedding the view in a real
// window needs a window manager that the virtual display lacks.)
#include "HostedPlugin.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{
constexpr double testSampleRate = 48000.0;
constexpr int testBlockSize = 256;
constexpr int openCloseCycles = 50;

class HostedEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        juce::String error;
        plugin = HostedPlugin::load (juce::File (TARNWELL_VST3_BUNDLE), testSampleRate, testBlockSize, error);
        ASSERT_NE (plugin.instance, nullptr) << error;
        plugin.instance->prepareToPlay (testSampleRate, testBlockSize);
    }

    void TearDown() override
    {
        if (plugin.instance != nullptr)
            plugin.instance->releaseResources();
    }

    juce::AudioPluginInstance& instance() { return *plugin.instance; }

    HostedPlugin plugin;
};

// Processes blocks of noise on a thread of its own until stopped, as a DAW's
// audio thread does while the user opens and closes the window.
class AudioThread
{
public:
    explicit AudioThread (juce::AudioPluginInstance& p) : processor (p), thread ([this] { run(); }) {}

    ~AudioThread()
    {
        keepRunning = false;
        thread.join();
    }

    int blocksProcessed() const { return blocks.load(); }

private:
    void run()
    {
        juce::AudioBuffer<float> buffer (2, testBlockSize);
        juce::MidiBuffer midi;
        juce::Random random (1);

        while (keepRunning)
        {
            for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
                for (int i = 0; i < testBlockSize; ++i)
                    buffer.setSample (ch, i, random.nextFloat() * 0.5f - 0.25f);
            processor.processBlock (buffer, midi);
            ++blocks;
        }
    }

    juce::AudioPluginInstance& processor;
    std::atomic<bool> keepRunning { true };
    std::atomic<int> blocks { 0 };
    std::thread thread;
};

TEST_F (HostedEditorTest, TheViewOpensAt900By720)
{
    ASSERT_TRUE (instance().hasEditor());
    std::unique_ptr<juce::AudioProcessorEditor> view (instance().createEditorIfNeeded());
    ASSERT_NE (view, nullptr);
    EXPECT_EQ (view->getWidth(), 900);
    EXPECT_EQ (view->getHeight(), 720);
}

TEST_F (HostedEditorTest, OpensAndClosesRepeatedlyWhileAudioRuns)
{
    AudioThread audio (instance());

    for (int cycle = 0; cycle < openCloseCycles; ++cycle)
    {
        std::unique_ptr<juce::AudioProcessorEditor> view (instance().createEditorIfNeeded());
        ASSERT_NE (view, nullptr) << "cycle " << cycle;
        EXPECT_EQ (view->getWidth(), 900) << "cycle " << cycle;
        // Let the editor's timers and posted messages run while it is open.
        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
        view.reset();
        EXPECT_EQ (instance().getActiveEditor(), nullptr) << "cycle " << cycle;
    }

    EXPECT_GT (audio.blocksProcessed(), 0);
}

} // namespace

// The editor's parameter reactions when the host changes a switch on another
// thread (its audio or automation thread): nothing may happen to a component
// there, nothing may be allocated there, and the reaction must still arrive
// on the message thread. Allocations on the calling thread are counted.
#include "AllocationCounter.h"
#include "EditorTestSupport.h"
#include "ParameterIDs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{
namespace ids = ParameterIDs;
using test::EditorFixture;

// Notes every visibility change of the components it watches, and whether it
// happened on the message thread.
struct VisibilityWatcher : juce::ComponentListener
{
    std::atomic<int> changesOnMessageThread { 0 }, changesElsewhere { 0 };

    void componentVisibilityChanged (juce::Component&) override
    {
        if (juce::MessageManager::existsAndIsCurrentThread())
            ++changesOnMessageThread;
        else
            ++changesElsewhere;
    }
};

// Changes the parameters with the editor deaf to them, then calls the
// editor's listener callback on a thread of its own, as the parameter tree
// does when a host automates on its audio thread. Only the editor's share of
// the work is counted there.
void changeOnAnotherThread (EditorFixture& f, const std::vector<std::pair<const char*, float>>& changes,
                            int& allocationsOnThatThread)
{
    std::vector<std::pair<juce::String, float>> calls;
    for (const auto& [id, plainValue] : changes)
    {
        f.processor.parameters.removeParameterListener (id, f.editor.get());
        f.set (id, plainValue);
        f.processor.parameters.addParameterListener (id, f.editor.get());
        calls.emplace_back (id, plainValue);
    }

    std::thread audioThread ([&f, &calls, &allocationsOnThatThread]
                             {
                                 test::startCountingAllocations();
                                 for (const auto& [id, value] : calls)
                                     f.editor->parameterChanged (id, value);
                                 allocationsOnThatThread = test::stopCountingAllocations();
                             });
    audioThread.join();
}

TEST (EditorThreads, AChangeOffTheMessageThreadAllocatesNothingAndTouchesNoComponent)
{
    EditorFixture f;
    auto& e = *f.editor;
    VisibilityWatcher watcher;
    e.attackDottedButton.addComponentListener (&watcher);

    const auto rangeMaximumBefore = e.rangeKnob.getMaximum();
    int allocations = -1;
    changeOnAnotherThread (f,
                           { { ids::noteGrid, 0.0f }, { ids::holdBypass, 1.0f }, { ids::releaseMode, 1.0f },
                             { ids::rangeExtreme, 1.0f }, { ids::forceExtreme, 1.0f },
                             { ids::dampingExtreme, 1.0f }, { ids::bpmSync, 1.0f } },
                           allocations);

    EXPECT_EQ (allocations, 0);
    EXPECT_EQ (watcher.changesElsewhere.load(), 0);
    // Nothing has reacted yet.
    EXPECT_TRUE (e.attackDottedButton.isVisible());
    EXPECT_FALSE (e.rangeExtremeButton.lit);
    EXPECT_EQ (e.rangeKnob.getMaximum(), rangeMaximumBefore);
    EXPECT_EQ (e.releaseModeButton.offText, "BOX");
    EXPECT_FALSE (e.bpmSyncScrewButton.lit);

    e.deliverPendingParameterReactions();

    EXPECT_EQ (watcher.changesOnMessageThread.load(), 1);
    EXPECT_FALSE (e.attackDottedButton.isVisible());
    EXPECT_FALSE (e.noteGridButton.getToggleState());
    EXPECT_EQ (e.holdLabel.findColour (juce::Label::textColourId), juce::Colour (0xff838383));
    EXPECT_EQ (e.releaseModeButton.offText, "AIR");
    EXPECT_TRUE (e.rangeExtremeButton.lit);
    EXPECT_EQ (e.rangeKnob.getMaximum(), 80.0);
    EXPECT_EQ (e.forceMultiplierKnob.getMaximum(), 200.0);
    EXPECT_EQ (e.dampingKnob.getMaximum(), 20000.0);
    EXPECT_TRUE (e.bpmSyncScrewButton.lit);

    e.attackDottedButton.removeComponentListener (&watcher);
}

TEST (EditorThreads, ReactionsArriveThroughTheMessageLoop)
{
    EditorFixture f;
    int allocations = -1;
    changeOnAnotherThread (f, { { ids::rangeExtreme, 1.0f } }, allocations);

    // The editor's own timer delivers it; give the loop up to two seconds.
    const auto deadline = juce::Time::getMillisecondCounter() + 2000;
    while (! f.editor->rangeExtremeButton.lit && juce::Time::getMillisecondCounter() < deadline)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);

    EXPECT_TRUE (f.editor->rangeExtremeButton.lit);
}

TEST (EditorThreads, AnOlderChangeFromAnotherThreadDoesNotOverrideANewerOne)
{
    EditorFixture f;
    int allocations = -1;
    changeOnAnotherThread (f, { { ids::noteGrid, 0.0f } }, allocations);

    f.editor->parameterChanged (ids::noteGrid, 1.0f); // on the message thread, later
    f.editor->deliverPendingParameterReactions();

    EXPECT_TRUE (f.editor->noteGridEnabled);
    EXPECT_TRUE (f.editor->attackDottedButton.isVisible());
}
} // namespace

#pragma once

#include "PluginEditor.h"
#include "ProcessorTestSupport.h"

#include <memory>

namespace test
{
// Runs the message loop until everything posted so far (button clicks, text
// editor commands) has been handled: a marker posted last arrives last.
inline void dispatchPendingMessages()
{
    bool markerSeen = false;
    juce::MessageManager::callAsync ([&markerSeen] { markerSeen = true; });
    while (! markerSeen)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);
}

inline void click (juce::Button& button)
{
    button.triggerClick();
    dispatchPendingMessages();
}

// A processor with its editor open, both on the message thread.
struct EditorFixture
{
    TarnwellCompressorAudioProcessor processor;
    std::unique_ptr<TarnwellCompressorAudioProcessorEditor> editor;

    EditorFixture() { openEditor(); }
    ~EditorFixture() { closeEditor(); }

    void openEditor()
    {
        editor.reset (static_cast<TarnwellCompressorAudioProcessorEditor*> (processor.createEditorIfNeeded()));
    }

    void closeEditor() { editor.reset(); }

    void reopenEditor()
    {
        closeEditor();
        openEditor();
    }

    float value (const char* id) { return parameterValue (processor, id); }
    void set (const char* id, float plainValue) { setParameter (processor, id, plainValue); }
};
} // namespace test

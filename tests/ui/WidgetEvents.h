#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Puts a component in a window of its own and feeds it mouse and keyboard
// input through that window, the way the operating system does. Event times
// are made up, so double-clicks need no waiting.
namespace juce
{
// JUCE's own Linux message pump step, as its plug-in client uses it.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace test
{
// Delivers the messages already posted (text editors tell their listeners
// about Return, Escape and focus loss this way) without waiting for more.
inline void deliverPendingMessages()
{
    while (juce::dispatchNextMessageOnSystemQueue (true))
    {
    }
}

class DesktopWindow
{
public:
    explicit DesktopWindow (juce::Component& componentToShow) : component (componentToShow)
    {
        component.setTopLeftPosition (100, 100);
        component.addToDesktop (0);
        component.setVisible (true);
    }

    ~DesktopWindow() { component.removeFromDesktop(); }

    void press (juce::Point<float> position, juce::ModifierKeys modifiers = {})
    {
        send (position, modifiers.withFlags (juce::ModifierKeys::leftButtonModifier));
    }

    void release (juce::Point<float> position, juce::ModifierKeys modifiers = {})
    {
        send (position, modifiers.withoutMouseButtons());
    }

    // A single click, too long after any earlier one to make a double-click.
    void click (juce::Point<float> position, juce::ModifierKeys modifiers = {})
    {
        waitOutDoubleClick();
        clickAgain (position, modifiers);
    }

    void doubleClick (juce::Point<float> position)
    {
        click (position);
        clickAgain (position);
    }

    void drag (juce::Point<float> from, juce::Point<float> to)
    {
        waitOutDoubleClick();
        press (from);
        press (to); // moving with the button held is a drag
        release (to);
    }

    void type (const juce::String& text)
    {
        for (auto character : text)
            peer().handleKeyPress (juce::KeyPress (character, {}, character));

        deliverPendingMessages();
    }

    void pressKey (int keyCode)
    {
        peer().handleKeyPress (juce::KeyPress (keyCode));
        deliverPendingMessages();
    }

private:
    void clickAgain (juce::Point<float> position, juce::ModifierKeys modifiers = {})
    {
        press (position, modifiers);
        release (position, modifiers);
    }

    static void waitOutDoubleClick() { clock() += 10 * juce::MouseEvent::getDoubleClickTimeout(); }

    juce::ComponentPeer& peer() { return *component.getPeer(); }

    // Like the native window code, keeps the global modifier state (which the
    // events' modifiers are read from) in step with each event.
    void send (juce::Point<float> position, juce::ModifierKeys modifiers)
    {
        juce::ModifierKeys::currentModifiers = modifiers;
        peer().handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, position, modifiers,
                                 juce::MouseInputSource::defaultPressure,
                                 juce::MouseInputSource::defaultOrientation, nextEventTime());
    }

    // One made-up clock for all windows; it only moves forward.
    static juce::int64& clock()
    {
        static juce::int64 time = juce::Time::currentTimeMillis();
        return time;
    }

    static juce::int64 nextEventTime() { return clock() += 50; }

    juce::Component& component;
};
} // namespace test

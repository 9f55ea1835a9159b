#include "CustomSlider.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <algorithm>
#include <limits>

namespace
{
constexpr float dottedFactor = 1.5f;
constexpr float tripletFactor = 2.0f / 3.0f;
constexpr double millisecondsPerMinute = 60000.0;

// A drag this close to the range start lands on it exactly, so that the
// smallest setting stays reachable although the grid has no zero.
constexpr double minimumCatchDistance = 0.1;

// The centre of the knob sits this far above the component's middle.
constexpr float knobCentreLift = 8.0f;
constexpr float capRadiusScale = 0.12f;
constexpr float capRadiusOffset = 3.0f;
constexpr float ringRadiusScale = 0.35f;
} // namespace

void CustomSlider::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isAltDown() && altClickEnabled)
    {
        setValue (altClickValue, juce::sendNotificationSync);
        return;
    }

    juce::Slider::mouseDown (e);
}

void CustomSlider::mouseDrag (const juce::MouseEvent& e)
{
    juce::Slider::mouseDrag (e);

    if (! snapToNoteGrid)
        return;

    const auto value = getValue();

    if (value <= getMinimum() + minimumCatchDistance)
        setValue (getMinimum(), juce::sendNotificationSync);
    else if (gridBpm <= 0.0)
        setValue (value, juce::sendNotificationSync);
    else
        setValue (gridSnapped (value), juce::sendNotificationSync);

    repaint();
}

void CustomSlider::reSnapToGrid()
{
    if (! snapToNoteGrid)
        return;

    const auto value = getValue();
    setValue (gridBpm <= 0.0 ? value : gridSnapped (value), juce::sendNotificationSync);
}

void CustomSlider::mouseDoubleClick (const juce::MouseEvent& e)
{
    if (bypassParameter != nullptr)
    {
        bypassParameter->setValueNotifyingHost (bypassParameter->get() ? 0.0f : 1.0f);
        repaint();
        return;
    }

    if (handleDoubleClickOnCap (e.position))
        return;

    juce::Slider::mouseDoubleClick (e);
}

// The nearest plain, dotted or triplet length picks the note; the knob's own
// dotted and triplet flags then decide which variant of that note is used.
double CustomSlider::gridSnapped (double milliseconds) const
{
    const auto beat = millisecondsPerMinute / gridBpm;
    auto best = std::numeric_limits<double>::max();
    auto chosen = noteMultipliers.front();

    for (const auto multiplier : noteMultipliers)
    {
        const auto plain = std::abs (milliseconds - multiplier * beat);
        const auto dotted = std::abs (milliseconds - (double) (dottedFactor * multiplier) * beat);
        const auto triplet = std::abs (milliseconds - (double) (tripletFactor * multiplier) * beat);

        if (plain < best || dotted < std::min (best, plain) || triplet < std::min ({ best, plain, dotted }))
            chosen = multiplier;

        best = std::min ({ best, plain, dotted, triplet });
    }

    auto factor = 1.0f;

    if (dottedNotes && ! tripletNotes)
        factor = dottedFactor;
    else if (tripletNotes && ! dottedNotes)
        factor = tripletFactor;

    return beat * chosen * factor;
}

bool CustomSlider::handleDoubleClickOnCap (juce::Point<float> position)
{
    if (! onCentreDoubleClick && ! onRingDoubleClick)
        return false;

    const auto width = (float) getWidth();
    const auto height = (float) getHeight();
    const juce::Point<float> centre (width / 2.0f, height / 2.0f - knobCentreLift);
    const auto radius = std::min (width, height) / 2.0f;
    const auto capRadius = capRadiusScale * radius + capRadiusOffset;
    const auto distance = centre.getDistanceFrom (position);

    if (distance <= capRadius && onCentreDoubleClick)
    {
        onCentreDoubleClick();
        return true;
    }

    if (distance > capRadius && distance <= ringRadiusScale * radius && onRingDoubleClick)
    {
        onRingDoubleClick();
        return true;
    }

    return false;
}

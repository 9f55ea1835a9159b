#include "EditorImages.h"

#include <BinaryData.h>

#include <array>

namespace
{
struct EmbeddedImage
{
    const char* data;
    int size;
};

// In resource-number order; see the table in EditorImages.h.
const std::array<EmbeddedImage, EditorImages::count> embeddedImages {{
    { BinaryData::paneltop_png, BinaryData::paneltop_pngSize },
    { BinaryData::panelbottom_png, BinaryData::panelbottom_pngSize },
    { BinaryData::knobfilmstrip_png, BinaryData::knobfilmstrip_pngSize },
    { BinaryData::iconnotenormal_png, BinaryData::iconnotenormal_pngSize },
    { BinaryData::iconnoteon_png, BinaryData::iconnoteon_pngSize },
    { BinaryData::iconnotehover_png, BinaryData::iconnotehover_pngSize },
    { BinaryData::icontripletnormal_png, BinaryData::icontripletnormal_pngSize },
    { BinaryData::icontripleton_png, BinaryData::icontripleton_pngSize },
    { BinaryData::icontriplethover_png, BinaryData::icontriplethover_pngSize },
    { BinaryData::icondottednormal_png, BinaryData::icondottednormal_pngSize },
    { BinaryData::icondottedon_png, BinaryData::icondottedon_pngSize },
    { BinaryData::icondottedhover_png, BinaryData::icondottedhover_pngSize },
    { BinaryData::togglebypassnormal_png, BinaryData::togglebypassnormal_pngSize },
    { BinaryData::togglebypasson_png, BinaryData::togglebypasson_pngSize },
    { BinaryData::togglebypasshover_png, BinaryData::togglebypasshover_pngSize },
    { BinaryData::toggleautogainnormal_png, BinaryData::toggleautogainnormal_pngSize },
    { BinaryData::toggleautogainon_png, BinaryData::toggleautogainon_pngSize },
    { BinaryData::toggleautogainhover_png, BinaryData::toggleautogainhover_pngSize },
    { BinaryData::togglenotegridnormal_png, BinaryData::togglenotegridnormal_pngSize },
    { BinaryData::togglenotegridon_png, BinaryData::togglenotegridon_pngSize },
    { BinaryData::togglenotegridhover_png, BinaryData::togglenotegridhover_pngSize },
    { BinaryData::toggleoversamplingnormal_png, BinaryData::toggleoversamplingnormal_pngSize },
    { BinaryData::toggleoversamplingon_png, BinaryData::toggleoversamplingon_pngSize },
    { BinaryData::toggleoversamplinghover_png, BinaryData::toggleoversamplinghover_pngSize },
    { BinaryData::logo_png, BinaryData::logo_pngSize },
}};
} // namespace

juce::Image EditorImages::get (int resourceIndex)
{
    if (resourceIndex < 0 || resourceIndex >= count)
        return {};

    const auto& image = embeddedImages[(size_t) resourceIndex];
    return juce::ImageCache::getFromMemory (image.data, image.size);
}

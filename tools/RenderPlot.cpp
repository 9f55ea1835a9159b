#include "RenderPlot.h"

#include <cmath>
#include <functional>
#include <iterator>

namespace
{
namespace colours
{
const juce::Colour background { 0xff14171c };
const juce::Colour panel { 0xff1b1f26 };
const juce::Colour border { 0xff2c333d };
const juce::Colour grid { 0x24ffffff };
const juce::Colour minorGrid { 0x10ffffff };
const juce::Colour text { 0xffd6dce4 };
const juce::Colour dimText { 0xff8b949e };
const juce::Colour input { 0xff5aa9e6 };
const juce::Colour output { 0xfff2a541 };
const juce::Colour reduction { 0xffe5534b };
} // namespace colours

constexpr float floorDb = -60.0f;

// Layout: the two time panels on the left share their x axis; the square
// curve panel on the right spans both.
const juce::Rectangle<float> levelArea { 84.0f, 84.0f, 958.0f, 320.0f };
const juce::Rectangle<float> reductionArea { 84.0f, 444.0f, 958.0f, 160.0f };
const juce::Rectangle<float> curveArea { 1132.0f, 84.0f, 520.0f, 520.0f };

juce::Font font (float size, bool bold = false)
{
    return juce::Font (size, bold ? juce::Font::bold : juce::Font::plain);
}

float map (float value, float from, float to, float pixelFrom, float pixelTo)
{
    return juce::jmap (juce::jlimit (juce::jmin (from, to), juce::jmax (from, to), value), from, to, pixelFrom, pixelTo);
}

float toDb (float gain)
{
    return gain > 0.0f ? juce::jmax (floorDb, 20.0f * std::log10 (gain)) : floorDb;
}

// The soft-knee static curve: unity below the knee, threshold plus the excess
// over the ratio above it, a quadratic blend inside.
float staticCurveDb (float x, const RenderPlot::Settings& s)
{
    const float t = s.thresholdDb, k = s.kneeDb, r = s.ratio;

    if (x <= t - k / 2.0f)
        return x;
    if (x >= t + k / 2.0f)
        return t + (x - t) / r;

    const float into = x - t + k / 2.0f;
    return x + (1.0f / r - 1.0f) * into * into / (2.0f * k);
}

// The first of `steps` that puts at most ten labels on `span`.
float niceStep (float span, std::initializer_list<float> steps)
{
    for (auto step : steps)
        if (span / step <= 10.0f)
            return step;
    return *std::prev (steps.end());
}

juce::String timeLabel (float seconds, bool minutes)
{
    if (! minutes)
        return juce::String (seconds, seconds == std::floor (seconds) ? 0 : 1);

    const int whole = juce::roundToInt (seconds);
    return juce::String (whole / 60) + ":" + juce::String (whole % 60).paddedLeft ('0', 2);
}

void drawPanel (juce::Graphics& g, juce::Rectangle<float> area)
{
    g.setColour (colours::panel);
    g.fillRect (area);
    g.setColour (colours::border);
    g.drawRect (area, 1.0f);
}

void drawRotatedLabel (juce::Graphics& g, const juce::String& text, juce::Point<float> centre)
{
    juce::Graphics::ScopedSaveState state (g);
    g.addTransform (juce::AffineTransform::rotation (-juce::MathConstants<float>::halfPi, centre.x, centre.y));
    g.setColour (colours::dimText);
    g.setFont (font (14.0f));
    g.drawText (text, juce::Rectangle<float> (300.0f, 20.0f).withCentre (centre), juce::Justification::centred);
}

// Horizontal grid lines with dB labels left of `area` every `step`, minor lines between.
void drawDbGrid (juce::Graphics& g, juce::Rectangle<float> area, float topDb, float bottomDb, float step)
{
    g.setFont (font (13.0f));

    for (float db = bottomDb; db <= topDb + 0.01f; db += step / 2.0f)
    {
        const float y = map (db, bottomDb, topDb, area.getBottom(), area.getY());
        const bool major = std::fmod (std::abs (db - topDb), step) < 0.01f;
        g.setColour (major ? colours::grid : colours::minorGrid);
        g.drawHorizontalLine (juce::roundToInt (y), area.getX(), area.getRight());

        if (major)
        {
            g.setColour (colours::dimText);
            g.drawText (juce::String (juce::roundToInt (db)), juce::Rectangle<float> (area.getX() - 46.0f, y - 8.0f, 40.0f, 16.0f),
                        juce::Justification::centredRight);
        }
    }
}

// Vertical time lines on both time panels, labelled under the lower one.
void drawTimeGrid (juce::Graphics& g, double lengthSeconds)
{
    const auto length = (float) lengthSeconds;
    const bool minutes = length >= 120.0f;
    const float step = niceStep (length, { 0.1f, 0.2f, 0.5f, 1.0f, 2.0f, 5.0f, 10.0f, 15.0f, 30.0f, 60.0f, 120.0f,
                                           300.0f, 600.0f, 900.0f, 1800.0f, 3600.0f });
    g.setFont (font (13.0f));

    for (float t = 0.0f; t <= length + 1.0e-3f; t += step)
    {
        const float x = map (t, 0.0f, length, levelArea.getX(), levelArea.getRight());
        g.setColour (colours::grid);
        for (auto area : { levelArea, reductionArea })
            g.drawVerticalLine (juce::roundToInt (x), area.getY(), area.getBottom());

        g.setColour (colours::dimText);
        g.drawText (timeLabel (t, minutes), juce::Rectangle<float> (x - 30.0f, reductionArea.getBottom() + 6.0f, 60.0f, 16.0f),
                    juce::Justification::centred);
    }

    g.setColour (colours::dimText);
    g.setFont (font (14.0f));
    g.drawText (minutes ? "Time (min:s)" : "Time (s)",
                juce::Rectangle<float> (levelArea.getX(), reductionArea.getBottom() + 26.0f, levelArea.getWidth(), 18.0f),
                juce::Justification::centred);
}

// The largest value per pixel column, so that long files keep their peaks.
std::vector<float> perColumn (const std::vector<float>& values, int columns)
{
    columns = juce::jmax (1, juce::jmin (columns, (int) values.size()));
    std::vector<float> result ((size_t) columns, 0.0f);

    for (size_t i = 0; i < values.size(); ++i)
    {
        auto& column = result[i * (size_t) columns / values.size()];
        column = juce::jmax (column, values[i]);
    }
    return result;
}

// Fills between the baseline at `baseY` and the trace, and outlines the trace.
void drawTrace (juce::Graphics& g, juce::Rectangle<float> area, const std::vector<float>& columns,
                const std::function<float (float)>& toY, float baseY, juce::Colour fillColour, juce::Colour lineColour)
{
    if (columns.empty())
        return;

    juce::Path outline;
    const float columnWidth = area.getWidth() / (float) columns.size();

    for (size_t i = 0; i < columns.size(); ++i)
    {
        const juce::Point<float> p (area.getX() + ((float) i + 0.5f) * columnWidth, toY (columns[i]));
        if (i == 0)
            outline.startNewSubPath (area.getX(), p.y);
        outline.lineTo (p);
    }
    outline.lineTo (area.getRight(), toY (columns.back()));

    juce::Path fill (outline);
    fill.lineTo (area.getRight(), baseY);
    fill.lineTo (area.getX(), baseY);
    fill.closeSubPath();

    g.setColour (fillColour);
    g.fillPath (fill);
    g.setColour (lineColour);
    g.strokePath (outline, juce::PathStrokeType (1.2f, juce::PathStrokeType::curved));
}

void drawLegend (juce::Graphics& g, juce::Rectangle<float> area)
{
    auto box = juce::Rectangle<float> (area.getRight() - 222.0f, area.getY() + 10.0f, 212.0f, 30.0f);
    g.setColour (colours::background.withAlpha (0.85f));
    g.fillRoundedRectangle (box, 4.0f);

    g.setFont (font (14.0f));
    auto item = box.reduced (10.0f, 7.0f);
    for (auto [name, colour] : { std::pair { "Input peak", colours::input }, std::pair { "Output peak", colours::output } })
    {
        auto slot = item.removeFromLeft (98.0f);
        g.setColour (colour);
        g.fillRect (slot.removeFromLeft (14.0f).withSizeKeepingCentre (14.0f, 10.0f));
        g.setColour (colours::text);
        g.drawText (name, slot.withTrimmedLeft (6.0f), juce::Justification::centredLeft);
    }
}

void drawPanelCaption (juce::Graphics& g, juce::Rectangle<float> area, const juce::String& caption)
{
    g.setColour (colours::text);
    g.setFont (font (15.0f, true));
    g.drawText (caption, area.getX(), area.getY() - 24.0f, area.getWidth(), 20.0f, juce::Justification::centredLeft);
}

void drawLevelPanel (juce::Graphics& g, const RenderAnalysis& analysis, const RenderPlot::Settings& settings)
{
    const auto area = levelArea;
    const float loudest = toDb (juce::jmax (analysis.input().peak, analysis.output().peak));
    const float topDb = juce::jmax (0.0f, std::ceil (loudest / 6.0f) * 6.0f);
    auto toY = [=] (float gain) { return map (toDb (gain), floorDb, topDb, area.getBottom(), area.getY()); };
    const int columns = (int) area.getWidth();

    drawDbGrid (g, area, topDb, floorDb, 12.0f);
    // The output's fill is opaque, so the input shows only where it is louder.
    drawTrace (g, area, perColumn (analysis.inputWindowPeaks(), columns), toY, area.getBottom(),
               colours::input.withAlpha (0.35f), colours::input);
    drawTrace (g, area, perColumn (analysis.outputWindowPeaks(), columns), toY, area.getBottom(),
               colours::panel.interpolatedWith (colours::output, 0.45f), colours::output);

    const float thresholdY = map (settings.thresholdDb, floorDb, topDb, area.getBottom(), area.getY());
    const float dashes[] = { 6.0f, 4.0f };
    g.setColour (colours::text.withAlpha (0.7f));
    g.drawDashedLine ({ area.getX(), thresholdY, area.getRight(), thresholdY }, dashes, 2, 1.0f);
    g.setFont (font (13.0f));
    g.drawText ("threshold " + juce::String (settings.thresholdDb, 1) + " dB",
                juce::Rectangle<float> (area.getRight() - 168.0f, thresholdY - 18.0f, 160.0f, 16.0f),
                juce::Justification::centredRight);

    drawLegend (g, area);
    drawPanelCaption (g, area, "Level, peak per 50 ms");
    drawRotatedLabel (g, "Level (dBFS)", { area.getX() - 62.0f, area.getCentreY() });
}

void drawReductionPanel (juce::Graphics& g, const RenderAnalysis& analysis)
{
    const auto area = reductionArea;
    const float largest = analysis.largestReductionDb();
    const float step = largest <= 12.0f ? 3.0f : (largest <= 24.0f ? 6.0f : 12.0f);
    const float bottomDb = -juce::jmax (2.0f * step, std::ceil (largest / step) * step);
    auto toY = [=] (float reductionDb) { return map (-reductionDb, bottomDb, 0.0f, area.getBottom(), area.getY()); };

    drawDbGrid (g, area, 0.0f, bottomDb, step);
    drawTrace (g, area, perColumn (analysis.windowReductionsDb(), (int) area.getWidth()), toY, area.getY(),
               colours::reduction.withAlpha (0.3f), colours::reduction);

    drawPanelCaption (g, area, "Gain reduction, first channel");
    drawRotatedLabel (g, "Reduction (dB)", { area.getX() - 62.0f, area.getCentreY() });
}

void drawCurvePanel (juce::Graphics& g, const RenderPlot::Settings& settings)
{
    const auto area = curveArea;
    auto toX = [=] (float db) { return map (db, floorDb, 0.0f, area.getX(), area.getRight()); };
    auto toY = [=] (float db) { return map (db, floorDb, 0.0f, area.getBottom(), area.getY()); };

    drawPanel (g, area);

    // The knee region, shaded.
    const float kneeStart = toX (settings.thresholdDb - settings.kneeDb / 2.0f);
    const float kneeEnd = toX (settings.thresholdDb + settings.kneeDb / 2.0f);
    g.setColour (colours::output.withAlpha (0.08f));
    g.fillRect (juce::Rectangle<float> (kneeStart, area.getY(), juce::jmax (1.0f, kneeEnd - kneeStart), area.getHeight()));

    drawDbGrid (g, area, 0.0f, floorDb, 12.0f);
    g.setFont (font (13.0f));
    for (float db = floorDb; db <= 0.0f; db += 6.0f)
    {
        const float x = toX (db);
        const bool major = std::fmod (-db, 12.0f) < 0.01f;
        g.setColour (major ? colours::grid : colours::minorGrid);
        g.drawVerticalLine (juce::roundToInt (x), area.getY(), area.getBottom());

        if (major)
        {
            g.setColour (colours::dimText);
            g.drawText (juce::String (juce::roundToInt (db)), juce::Rectangle<float> (x - 20.0f, area.getBottom() + 6.0f, 40.0f, 16.0f),
                        juce::Justification::centred);
        }
    }

    const float dashes[] = { 6.0f, 4.0f };
    g.setColour (colours::dimText);
    g.drawDashedLine ({ toX (floorDb), toY (floorDb), toX (0.0f), toY (0.0f) }, dashes, 2, 1.0f);

    const float thresholdX = toX (settings.thresholdDb);
    g.setColour (colours::text.withAlpha (0.5f));
    g.drawDashedLine ({ thresholdX, area.getY(), thresholdX, area.getBottom() }, dashes, 2, 1.0f);

    juce::Path curve;
    curve.startNewSubPath (toX (floorDb), toY (staticCurveDb (floorDb, settings)));
    for (float db = floorDb; db <= 0.0f; db += 0.25f)
        curve.lineTo (toX (db), toY (staticCurveDb (db, settings)));
    g.setColour (colours::output);
    g.strokePath (curve, juce::PathStrokeType (2.5f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

    g.setColour (colours::text);
    g.setFont (font (14.0f));
    const auto summary = "threshold " + juce::String (settings.thresholdDb, 1) + " dB\nratio "
                         + juce::String (settings.ratio, 1) + ":1\nknee " + juce::String (settings.kneeDb, 1) + " dB";
    g.drawFittedText (summary, area.reduced (12.0f).removeFromTop (60.0f).toNearestInt(), juce::Justification::topLeft, 3);

    drawPanelCaption (g, area, "Static curve");
    g.setColour (colours::dimText);
    g.setFont (font (14.0f));
    g.drawText ("Input (dBFS)", juce::Rectangle<float> (area.getX(), area.getBottom() + 26.0f, area.getWidth(), 18.0f),
                juce::Justification::centred);
    drawRotatedLabel (g, "Output (dBFS)", { area.getX() - 62.0f, area.getCentreY() });
}

void drawTitle (juce::Graphics& g, const RenderPlot::Settings& settings)
{
    g.setColour (colours::text);
    g.setFont (font (22.0f, true));
    g.drawText (settings.title, 24, 12, RenderPlot::width - 48, 28, juce::Justification::centredLeft);
    g.setColour (colours::dimText);
    g.setFont (font (14.0f));
    g.drawText (settings.subtitle, 24, 38, RenderPlot::width - 48, 18, juce::Justification::centredLeft);
}
} // namespace

juce::Image RenderPlot::draw (const RenderAnalysis& analysis, const Settings& settings)
{
    juce::Image image (juce::Image::RGB, width, height, true, juce::SoftwareImageType());
    juce::Graphics g (image);
    g.fillAll (colours::background);

    // The time grid lies under both time panels' traces.
    drawTitle (g, settings);
    drawPanel (g, levelArea);
    drawPanel (g, reductionArea);
    drawTimeGrid (g, (double) analysis.getTotalSamples() / analysis.getSampleRate());
    drawLevelPanel (g, analysis, settings);
    drawReductionPanel (g, analysis);
    drawCurvePanel (g, settings);
    return image;
}

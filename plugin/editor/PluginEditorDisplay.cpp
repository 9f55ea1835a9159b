// The display in the middle of the editor: a bar graph of the recent input
// level, the compression curve hanging from the threshold, the estimated
// output curve (red near full scale), the static transfer curve, the
// threshold line with its handle and the row of display switches.
#include "PluginEditor.h"

#include "ParameterIDs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace
{
namespace ids = ParameterIDs;

constexpr float displayFloorDb = -60.0f;
constexpr float displayRangeDb = 60.0f;
constexpr float silentLevelDb = -80.0f;
constexpr float levelFloor = 0.0001f;
constexpr float barMeaningfulDb = -40.0f;
constexpr float baselineInset = 2.0f;

constexpr juce::uint32 displayBackground = 0xff1e1e1e;
constexpr juce::uint32 centreLine = 0xff404040;
constexpr juce::uint8 barOverThresholdAlpha = 0xe6;
constexpr juce::uint32 barAudible = 0xccdc143c;
constexpr juce::uint32 barQuiet = 0x66dc143c;

constexpr int curveStep = 2;
constexpr int ecoCurveStep = 4;
constexpr float makeupScaleDb = 40.0f;
constexpr float curveScaleDb = 20.0f;
constexpr int gainReductionWindowBefore = 2, gainReductionWindowAfter = 3;
constexpr int outputDelayEntries = 32;
constexpr int rmsWindowHalf = 32;
constexpr float rmsFloor = 0.00001f;
constexpr float quietOutputDb = -60.0f;
constexpr float levelFloorDb = -100.0f;
constexpr float hotOutputDb = -4.0f;

constexpr juce::uint32 compressionGlow = 0x4c3498db;
constexpr juce::uint32 compressionLine = 0xcc3498db;
constexpr juce::uint32 outputColour = 0xff90ee90;
constexpr juce::uint8 curveGlowAlpha = 0x4c;
constexpr juce::uint8 curveLineAlpha = 0xcc;
constexpr float curveGlowThickness = 4.0f;
constexpr float curveLineThickness = 2.0f;

constexpr float fadeWidth = 50.0f;
constexpr juce::uint32 firstFade = 0xff1e1e1e;
constexpr juce::uint32 secondFade = 0xff1a1a2e;

constexpr float transferCeilingDb = 12.0f;
constexpr float transferSpanDb = 72.0f;
constexpr juce::uint32 diagonalColour = 0xff606060;

constexpr juce::uint32 cmpShown = 0xcc3498db, cmpHidden = 0x4c3498db;
constexpr juce::uint32 outShown = 0xcc90ee90, outHidden = 0x4c90ee90;
constexpr float curveLabelFontHeight = 8.0f;

constexpr juce::uint32 thresholdColour = 0xffff8000;
constexpr juce::uint32 outlineColour = 0xff404040;

constexpr juce::uint8 pauseTextAlpha = 0xcc;
constexpr juce::uint8 pauseOutlineAlpha = 0x4c;
constexpr float toggleFontHeight = 12.0f;

// Text when on, text when off, outline, underline when on.
struct ToggleColours
{
    juce::uint32 on, off, outline, underline;
};

constexpr juce::uint32 orangeRgb = 0x00ffa500, cyanRgb = 0x0000ffff;
constexpr ToggleColours clampColours { 0xb2000000 | cyanRgb, 0xb2000000 | cyanRgb, 0x4c000000 | cyanRgb, 0 };
constexpr ToggleColours waveColours { 0xb2000000 | orangeRgb, 0x4c000000 | orangeRgb, 0x4c000000 | orangeRgb,
                                      0x80000000 | orangeRgb };
constexpr ToggleColours glowColours { 0xe600ccff, 0x4c00ccff, 0x4c00ccff, 0x9900ccff };
constexpr ToggleColours ecoColours { 0xe600ff00, 0x4c00ff00, 0x4c00ff00, 0x9900ff00 };

float finiteOr (float value, float fallback) { return std::isfinite (value) ? value : fallback; }

float levelDb (float linear)
{
    const float magnitude = std::abs (linear);
    return magnitude > levelFloor ? 20.0f * std::log10 (magnitude) : silentLevelDb;
}

float decibelsToGainOrZero (float db) { return db <= levelFloorDb ? 0.0f : std::pow (10.0f, db / 20.0f); }

int historyIndex (int x, int entries, int width)
{
    return juce::jlimit (0, entries - 1, (int) std::floor ((double) x * entries / width));
}

// What the display shows, read once per draw.
struct DisplaySettings
{
    float threshold, makeup, mix, outputGain;
    float sliderThreshold;
    bool eco, clamped, showCmp, showOut;
};

// One point of the two curves, y relative to the display's top; -1 when absent.
struct CurveYResult
{
    float compressionY = -1.0f, outputY = -1.0f;
    bool hot = false;
};

// The three kinds of bar: over the threshold, audible, quiet.
struct BarStyle
{
    juce::Colour colour;
    float thickness;
};

const std::array<BarStyle, 3>& barStyles()
{
    static const std::array<BarStyle, 3> styles { BarStyle { juce::Colours::yellow.withAlpha (barOverThresholdAlpha), 2.0f },
                                                  BarStyle { juce::Colour (barAudible), 1.5f },
                                                  BarStyle { juce::Colour (barQuiet), 1.0f } };
    return styles;
}

// Bars stand on every second pixel column and are at most 2 pixels thick,
// so no two share a pixel, and every column lies on the same background (the
// panel colour and the centre line). So the rows a bar covers fully are the
// same pixels in every column of its kind: they are drawn once into a strip,
// two columns per kind, and copied. Only each bar's partly covered top row,
// and the bars the image's edges cut, are rasterised, all of a kind in one path.
constexpr int stripColumnsPerKind = 2;

void drawBarGraphBackground (juce::Graphics& g, int w, int h)
{
    g.fillAll (juce::Colour (displayBackground));
    g.setColour (juce::Colour (centreLine));
    g.drawLine (0.0f, (float) h / 2.0f, (float) w, (float) h / 2.0f, 0.5f);
}

juce::Image makeBarStrip (int h)
{
    const int w = stripColumnsPerKind * (int) barStyles().size();
    juce::Image strip (juce::Image::ARGB, w, h, true);
    juce::Graphics sg (strip);
    drawBarGraphBackground (sg, w, h);

    const float baseline = (float) h - baselineInset;
    for (size_t kind = 0; kind < barStyles().size(); ++kind)
    {
        const float x = (float) (stripColumnsPerKind * (int) kind + 1);
        sg.setColour (barStyles()[kind].colour);
        sg.drawLine (x, baseline, x, baseline - (float) h, barStyles()[kind].thickness);
    }
    return strip;
}

void drawBarGraph (juce::Image& image, juce::Image& strip, const std::vector<float>& input, float threshold)
{
    const int w = image.getWidth(), h = image.getHeight();
    const int entries = (int) input.size();

    juce::Graphics ig (image);

    if (entries == 0)
    {
        ig.fillAll (juce::Colour (displayBackground));
        return;
    }

    drawBarGraphBackground (ig, w, h);

    if (strip.getHeight() != h)
        strip = makeBarStrip (h);

    const juce::Image::BitmapData source (strip, juce::Image::BitmapData::readOnly);
    juce::Image::BitmapData target (image, juce::Image::BitmapData::readWrite);

    std::array<juce::Path, 3> rasterised;
    const int baselineRow = h - (int) baselineInset;
    const float baseline = (float) baselineRow;

    for (int x = 0; x < w; x += 2)
    {
        const int index = (int) std::floor ((double) x * entries / w);
        if (index >= entries)
            break;

        const float db = levelDb (input[(size_t) index]);
        const float top = baseline - juce::jlimit (0.0f, 1.0f, (db - displayFloorDb) / displayRangeDb) * (float) h;
        const size_t kind = db > threshold ? 0 : (db > barMeaningfulDb ? 1 : 2);

        const float thickness = barStyles()[kind].thickness;

        if (x < 1 || x + 1 >= w)
        {
            rasterised[kind].addLineSegment ({ (float) x, baseline, (float) x, top }, thickness);
            continue;
        }

        const int firstFullRow = std::max (0, (int) std::ceil (top));
        const auto bytes = (size_t) (stripColumnsPerKind * target.pixelStride);
        for (int row = firstFullRow; row < baselineRow; ++row)
            std::memcpy (target.getPixelPointer (x - 1, row),
                         source.getPixelPointer (stripColumnsPerKind * (int) kind, row), bytes);

        if ((float) firstFullRow > top)
            rasterised[kind].addRectangle ((float) x - thickness / 2.0f, top, thickness, (float) firstFullRow - top);
    }

    for (size_t kind = 0; kind < rasterised.size(); ++kind)
    {
        ig.setColour (barStyles()[kind].colour);
        ig.fillPath (rasterised[kind]);
    }
}

// Mean gain reduction around entry i; entries the history lacks count as none.
float averageGainReduction (const std::vector<float>& gainReduction, int i, int entries)
{
    const int available = std::min (entries, (int) gainReduction.size());
    const int first = std::max (i, gainReductionWindowBefore) - gainReductionWindowBefore;
    const int end = std::min (i + gainReductionWindowAfter, available);

    if (end <= first)
        return i < available ? gainReduction[(size_t) i] : 0.0f;

    float sum = 0.0f;
    for (int k = first; k < end; ++k)
        sum += gainReduction[(size_t) k];
    return sum / (float) (end - first);
}

float rmsAround (const std::vector<float>& input, int i, int entries)
{
    const int first = std::max (i - rmsWindowHalf, 0);
    const int end = std::min (i + rmsWindowHalf + 1, entries);
    if (end <= first)
        return 0.0f;

    double sum = 0.0;
    for (int k = first; k < end; ++k)
        sum += (double) input[(size_t) k] * input[(size_t) k];
    return (float) std::sqrt (sum / (end - first));
}

CurveYResult curvePoint (const std::vector<float>& input, const std::vector<float>& gainReduction, int x, int w,
                         int h, const DisplaySettings& s)
{
    const int entries = (int) input.size();
    const float fh = (float) h;
    const float half = fh / 2.0f;
    const int i = historyIndex (x, entries, w);
    const float a = averageGainReduction (gainReduction, i, entries);

    CurveYResult point;

    if (s.showCmp && gainReduction.size() == input.size())
    {
        const float top = juce::jlimit (0.0f, fh, fh - (s.threshold + displayRangeDb) / displayRangeDb * fh
                                                       - s.makeup / makeupScaleDb * fh);
        point.compressionY = top + std::abs (a) / curveScaleDb * half;
        if (s.clamped)
            point.compressionY = std::min (point.compressionY, fh - baselineInset);
    }

    if (s.showOut)
    {
        const int delayedX = x - (int) std::floor ((double) outputDelayEntries * w / entries);
        const int delayedIndex = delayedX < 1 ? 0 : historyIndex (delayedX, entries, w);
        const float rms = rmsAround (input, delayedIndex, entries);
        const float m = rms > rmsFloor ? std::max (20.0f * std::log10 (rms), levelFloorDb) : quietOutputDb;

        const float dry = m > quietOutputDb ? (fh - baselineInset) - half - fh * (m + displayRangeDb) / displayRangeDb
                                            : (fh - baselineInset) - half;
        const float compressedCentre = juce::jlimit (0.0f, fh, half - s.makeup / makeupScaleDb * fh);
        const float mixWeight = 2.0f - 2.0f * std::abs (s.mix - 0.5f);

        point.outputY = dry * (1.0f - s.mix)
                        + (std::abs (a) / curveScaleDb * half + compressedCentre - half) * mixWeight * s.mix + half;
        if (s.clamped)
            point.outputY = std::min (point.outputY, fh - baselineInset);

        const float dryGain = decibelsToGainOrZero (m + s.outputGain);
        const float wetGain = decibelsToGainOrZero (m + a + s.makeup + s.outputGain);
        const float v = dryGain * (1.0f - s.mix) + wetGain * s.mix;
        point.hot = v > 0.0f && std::max (20.0f * std::log10 (v), levelFloorDb) > hotOutputDb;
    }

    return point;
}

// Strokes the neighbouring points that are both present, with a glow unless
// the display is lightened for eco mode. Each segment is stroked on its own
// (where they meet, the later one lies over the earlier); segments the clip
// hides entirely are skipped. The renderer sizes a path's coverage table to
// the clip, so each segment is filled with the clip narrowed to its reach:
// the same pixels, without a table the height of the whole live region.
template <typename YOf, typename ColourOf>
void strokeCurve (juce::Graphics& g, const std::vector<CurveYResult>& points, juce::Point<float> origin, int step,
                  bool eco, YOf yOf, ColourOf colourOf)
{
    juce::Path stroke;
    const auto strokeSegment = [&g, &stroke] (juce::Line<float> segment, float thickness)
    {
        stroke.clear();
        stroke.addLineSegment (segment, thickness);
        g.fillPath (stroke);
    };

    for (size_t j = 0; j + 1 < points.size(); ++j)
    {
        const float y0 = yOf (points[j]), y1 = yOf (points[j + 1]);
        if (y0 < 0.0f || y1 < 0.0f)
            continue;

        const juce::Line<float> segment (origin.x + (float) (j * (size_t) step), origin.y + y0,
                                         origin.x + (float) ((j + 1) * (size_t) step), origin.y + y1);
        const auto reach = juce::Rectangle<float> (segment.getStart(), segment.getEnd())
                               .expanded (curveGlowThickness)
                               .getSmallestIntegerContainer();
        if (! g.clipRegionIntersects (reach))
            continue;

        const auto colour = colourOf (points[j + 1]);
        juce::Graphics::ScopedSaveState withinReach (g);
        g.reduceClipRegion (reach);

        if (! eco)
        {
            g.setColour (colour.withAlpha (curveGlowAlpha));
            strokeSegment (segment, curveGlowThickness);
        }
        g.setColour (colour.withAlpha (curveLineAlpha));
        strokeSegment (segment, curveLineThickness);
    }
}

void drawLeftFade (juce::Graphics& g, juce::Rectangle<float> area, juce::uint32 colour)
{
    const auto opaque = juce::Colour (colour);
    g.setGradientFill (juce::ColourGradient (opaque, area.getX(), area.getY(), opaque.withAlpha ((juce::uint8) 0),
                                             area.getX() + fadeWidth, area.getY(), false));
    g.fillRect (juce::Rectangle<int> ((int) area.getX(), (int) area.getY(), (int) fadeWidth, (int) area.getHeight()));
}

// Output level of the static curve for an input level, all in dB.
float transferOutput (float x, float t, float r, float k)
{
    if (k <= 0.0f)
        return x <= t ? x : t + (x - t) / r;

    const float b = k / 2.0f;
    const float c = (1.0f - 1.0f / r) * b;
    if (x <= t - b)
        return x;
    if (x >= t + b)
        return t + b - c + (x - t - b) / r;
    const float u = (x - (t - b)) / k;
    return x - c * u * u;
}

void drawTransferCurve (juce::Graphics& g, juce::Rectangle<float> area, float t, float r, float k)
{
    const float x0 = area.getX(), w = area.getWidth();
    const auto yFor = [&] (float offset)
    {
        const float in = offset * displayRangeDb / w - displayRangeDb;
        const float out = juce::jlimit (displayFloorDb, transferCeilingDb, transferOutput (in, t, r, k));
        return area.getBottom() - (out - displayFloorDb) * area.getHeight() / transferSpanDb;
    };

    juce::Path curve;
    curve.startNewSubPath (x0, yFor (0.0f));
    for (int offset = 1; (float) offset < w; ++offset)
        curve.lineTo (x0 + (float) offset, yFor ((float) offset));

    if (! g.getClipBounds().isEmpty())
    {
        g.setColour (juce::Colours::white);
        g.strokePath (curve, juce::PathStrokeType (2.0f));
    }
}

void drawCurveLabel (juce::Graphics& g, const juce::String& text, juce::Rectangle<int> box, juce::Colour colour,
                     bool underlined, juce::Line<float> underline)
{
    g.setColour (colour);
    g.drawText (text, box, juce::Justification::centredRight);
    if (underlined)
        g.drawLine (underline, 1.0f);
}

// One switch of the display's toggle row; a switch without an underline
// colour shows its state by its text alone.
void drawToggle (juce::Graphics& g, juce::Rectangle<int> area, const juce::String& text, bool on,
                 const ToggleColours& colours)
{
    const auto box = area.toFloat();
    g.setColour (juce::Colour (on ? colours.on : colours.off));
    g.drawText (text, area, juce::Justification::centred);
    g.setColour (juce::Colour (colours.outline));
    g.drawRoundedRectangle (box, 2.0f, 1.0f);

    if (on && colours.underline != 0)
    {
        g.setColour (juce::Colour (colours.underline));
        g.drawLine (box.getX() + 2.0f, box.getBottom() - 2.0f, box.getRight() - 2.0f, box.getBottom() - 2.0f, 1.5f);
    }
}
} // namespace

//==============================================================================
juce::Rectangle<float> TarnwellCompressorAudioProcessorEditor::displayPanelArea() const
{
    const int w = getWidth(), h = getHeight();
    const int headerHeight = std::min (h, 70);
    const int left = std::min (w, 70);
    const int meterColumn = std::min (w - left, 35);
    const int rest = w - left - meterColumn;
    const int bodyHeight = h - headerHeight;

    return { (float) (left + meterColumn + 10), (float) (headerHeight + 10),
             (float) std::max (rest - std::min (rest, 60) - 20, 0),
             (float) std::max (bodyHeight - std::min (bodyHeight, 250) - 20, 0) };
}

void TarnwellCompressorAudioProcessorEditor::toggleWaveformFreeze()
{
    if (! waveformFrozen)
    {
        frozenInputHistory = inputHistory;
        frozenGainReductionHistory = gainReductionHistory;
        waveformFrozen = true;
        return;
    }

    frozenInputHistory.clear();
    frozenGainReductionHistory.clear();
    if (waveformImage.isValid())
        waveformImage.clear (waveformImage.getBounds(), juce::Colour (displayBackground));
    waveformFrozen = false;
}

void TarnwellCompressorAudioProcessorEditor::drawWaveform (juce::Graphics& g, juce::Rectangle<float> area)
{
    const float X = area.getX(), Y = area.getY(), W = area.getWidth(), H = area.getHeight();
    const int w = (int) W, h = (int) H;

    if (w > 0 && h > 0
        && (! waveformImage.isValid() || waveformImage.getWidth() != w || waveformImage.getHeight() != h
            || waveformImageArea != area))
    {
        waveformImage = juce::Image (juce::Image::ARGB, w, h, true);
        waveformImageArea = area;
    }

    const auto& input = waveformFrozen ? frozenInputHistory : inputHistory;
    const auto& gainReduction = waveformFrozen ? frozenGainReductionHistory : gainReductionHistory;
    const int entries = (int) input.size();

    DisplaySettings s;
    s.threshold = finiteOr (rawValue (ids::threshold, displayFloorDb), displayFloorDb);
    s.makeup = parameterIsOn (ids::autoGain, false) ? audioProcessor.makeupGainInUseDb.load()
                                                    : rawValue (ids::makeupGain, 0.0f);
    s.makeup = finiteOr (s.makeup, 0.0f);
    s.mix = juce::jlimit (0.0f, 1.0f, finiteOr (rawValue (ids::mix, 100.0f), 100.0f) / 100.0f);
    s.outputGain = finiteOr (rawValue (ids::outputGain, 0.0f), 0.0f);
    s.sliderThreshold = thresholdShown();
    s.eco = audioProcessor.ecoMode;
    s.clamped = clampWaveformsShown;
    s.showCmp = showCmpCurveShown;
    s.showOut = showOutCurveShown;

    // Background: the bar graph, or a plain panel with its centre line.
    if (audioProcessor.showWaveformBars && waveformImage.isValid())
    {
        // Rendered only when some of it will be seen.
        if (g.clipRegionIntersects ({ (int) X, (int) Y, w, h }))
        {
            drawBarGraph (waveformImage, waveformBarStrip, input, s.sliderThreshold);
            // Images are drawn at the current colour's opacity: this one is opaque.
            g.setOpacity (1.0f);
            g.drawImageAt (waveformImage, (int) X, (int) Y);
        }
    }
    else
    {
        g.setColour (juce::Colour (displayBackground));
        g.fillRect (area);
        g.setColour (juce::Colour (centreLine));
        g.drawLine (X, Y + H / 2.0f, X + W, Y + H / 2.0f, 0.5f);
    }

    // Curves: they may run below the display when unclamped, never beside it.
    if (entries > 0 && w > 0)
    {
        juce::Graphics::ScopedSaveState saved (g);
        g.reduceClipRegion ((int) X, 0, w, getHeight());

        const int step = s.eco ? ecoCurveStep : curveStep;
        std::vector<CurveYResult> points ((size_t) (w / step));
        for (size_t j = 0; j < points.size(); ++j)
            points[j] = curvePoint (input, gainReduction, (int) j * step, w, h, s);

        const juce::Point<float> origin (X, Y);
        if (s.showCmp)
            strokeCurve (g, points, origin, step, s.eco, [] (const CurveYResult& p) { return p.compressionY; },
                         [] (const CurveYResult&) { return juce::Colour (compressionLine); });
        if (s.showOut)
            strokeCurve (g, points, origin, step, s.eco, [] (const CurveYResult& p) { return p.outputY; },
                         [] (const CurveYResult& p) { return p.hot ? juce::Colours::red : juce::Colour (outputColour); });
    }

    drawLeftFade (g, area, firstFade);

    if (W > 0.0f)
    {
        const float ratio = (float) ratioKnob.getValue();
        drawTransferCurve (g, area, s.sliderThreshold, std::isfinite (ratio) && ratio >= 1.0f ? ratio : 1.0f,
                           std::fmax (finiteOr ((float) kneeKnob.getValue(), 0.0f), 0.0f));
    }

    g.setColour (juce::Colour (diagonalColour));
    g.drawLine (X, Y + H, X + W, Y, 1.0f);

    // Curve labels, which are also the curve switches.
    const int labelX = (int) (X + W - 30.0f);
    cmpButtonArea = { (int) (X + W - 28.0f), (int) (Y + H - 28.0f), 24, 12 };
    outButtonArea = { cmpButtonArea.getX(), (int) (Y + H - 15.0f), 24, 12 };
    g.setFont (juce::Font (curveLabelFontHeight, juce::Font::bold));

    if (! gainReductionHistory.empty() && gainReductionHistory.size() == inputHistory.size())
        drawCurveLabel (g, "CMP", { labelX, cmpButtonArea.getY(), 28, 12 },
                        juce::Colour (showCmpCurveShown ? cmpShown : cmpHidden), showCmpCurveShown,
                        { X + W - 28.0f, Y + H - 16.0f, X + W - 4.0f, Y + H - 16.0f });

    drawCurveLabel (g, "OUT", { labelX, outButtonArea.getY(), 28, 12 },
                    juce::Colour (showOutCurveShown ? outShown : outHidden), showOutCurveShown,
                    { X + W - 28.0f, Y + H - 3.0f, X + W - 4.0f, Y + H - 3.0f });

    drawLeftFade (g, area, secondFade);

    // The threshold line and its handle, pointing in from the left.
    const float thresholdY = Y + H - baselineInset
                             - juce::jlimit (0.0f, 1.0f, (s.sliderThreshold - displayFloorDb) / displayRangeDb) * H;
    g.setColour (juce::Colour (thresholdColour));
    g.drawLine (X, thresholdY, X + W, thresholdY, 2.0f);
    juce::Path handle;
    handle.addTriangle (X - 8.0f, thresholdY - 5.0f, X - 8.0f, thresholdY + 5.0f, X - 2.0f, thresholdY);
    g.fillPath (handle);

    g.setColour (juce::Colour (outlineColour));
    g.drawRoundedRectangle (area, 2.0f, 1.0f);

    if (waveformFrozen)
    {
        g.setColour (juce::Colours::cyan.withAlpha (pauseTextAlpha));
        g.setFont (juce::Font (toggleFontHeight, juce::Font::bold));
        g.drawText ("PAUSE", juce::Rectangle<int> ((int) (X + 10.0f), (int) (Y + 10.0f), 50, 20),
                    juce::Justification::centred);
        g.setColour (juce::Colours::cyan.withAlpha (pauseOutlineAlpha));
        g.drawRoundedRectangle (X + 2.0f, Y + 2.0f, std::fmax (W - 4.0f, 0.0f), std::fmax (H - 4.0f, 0.0f), 2.0f, 2.0f);
    }

    // The switch row.
    const int row = (int) (Y + 10.0f);
    clampButtonArea = { (int) (X + 70.0f), row, 60, 20 };
    waveButtonArea = { (int) (X + 140.0f), row, 50, 20 };
    glowButtonArea = { (int) (X + 200.0f), row, 50, 20 };
    ecoButtonArea = { (int) (X + 260.0f), row, 40, 20 };

    g.setFont (juce::Font (toggleFontHeight, juce::Font::bold));
    drawToggle (g, clampButtonArea, clampWaveformsShown ? "CLAMP" : "FREE", true, clampColours);
    drawToggle (g, waveButtonArea, "WAVE", audioProcessor.showWaveformBars, waveColours);
    drawToggle (g, glowButtonArea, "GLOW", audioProcessor.glowEnabled, glowColours);
    drawToggle (g, ecoButtonArea, "ECO", audioProcessor.ecoMode, ecoColours);
}

#include "ArtworkPainter.h"

#include <cmath>

namespace
{
constexpr int windowWidth = 620;
constexpr int windowHeight = 305;

// Knob travel: from half past seven to half past four, the usual 270 degrees.
constexpr float knobStartAngle = -0.75f * juce::MathConstants<float>::pi;
constexpr float knobEndAngle = 0.75f * juce::MathConstants<float>::pi;

juce::Point<float> onCircle (juce::Point<float> centre, float radius, float angle)
{
    return centre.getPointOnCircumference (radius, angle);
}

/** A slider laid out like one of the editor's, by the look-and-feel base the editor's
    sliders draw with, to tell where a value sits in window coordinates.
*/
class MeasuredSlider
{
public:
    MeasuredSlider (juce::Slider::SliderStyle style, juce::Rectangle<int> bounds, double min, double max,
                    double skew, bool textBoxBelow)
        : origin (bounds.getPosition())
    {
        slider.setLookAndFeel (&lookAndFeel);
        slider.setSliderStyle (style);
        slider.setTextBoxStyle (textBoxBelow ? juce::Slider::TextBoxBelow : juce::Slider::NoTextBox, true, 80, 20);
        slider.setRange (min, max, 0.0);
        slider.setSkewFactor (skew);
        slider.setBounds (bounds);
    }

    ~MeasuredSlider() { slider.setLookAndFeel (nullptr); }

    float x (double value) const { return (float) origin.x + slider.getPositionOfValue (value); }
    float y (double value) const { return (float) origin.y + slider.getPositionOfValue (value); }

private:
    juce::LookAndFeel_V3 lookAndFeel;
    juce::Slider slider;
    juce::Point<int> origin;
};
} // namespace

ArtworkPainter::ArtworkPainter (Typefaces typefaces) : faces (std::move (typefaces)) {}

juce::Font ArtworkPainter::font (const juce::Typeface::Ptr& face, float height, float kerning) const
{
    return juce::Font (face).withHeight (height).withExtraKerningFactor (kerning);
}

//==============================================================================
void ArtworkPainter::drawPanel (juce::Graphics& g, juce::Rectangle<float> area, const Palette& palette) const
{
    constexpr float corner = 5.0f;
    g.setGradientFill ({ palette.panelTop, area.getX(), area.getY(), palette.panelBottom, area.getX(), area.getBottom(), false });
    g.fillRoundedRectangle (area, corner);

    // A soft drop shadow line under the panel and a lit top edge give it depth.
    g.setColour (juce::Colours::black.withAlpha (0.35f));
    g.drawRoundedRectangle (area.expanded (0.5f).translated (0.0f, 1.0f), corner + 0.5f, 1.0f);
    g.setColour (palette.panelBorder);
    g.drawRoundedRectangle (area, corner, 1.0f);
    g.setColour (palette.panelHighlight);
    g.drawHorizontalLine ((int) area.getY() + 1, area.getX() + corner, area.getRight() - corner);
}

void ArtworkPainter::drawPanelDockedRight (juce::Graphics& g, juce::Rectangle<float> area, const Palette& palette) const
{
    // The mode buttons run to the window's edge, so their panel meets it on purpose: rounded on the
    // left only, its outline open where it runs on past the edge.
    constexpr float corner = 5.0f;
    const auto outline = [&] (juce::Rectangle<float> r, float c)
    {
        juce::Path path;
        path.startNewSubPath (r.getRight(), r.getY());
        path.lineTo (r.getX() + c, r.getY());
        path.quadraticTo (r.getX(), r.getY(), r.getX(), r.getY() + c);
        path.lineTo (r.getX(), r.getBottom() - c);
        path.quadraticTo (r.getX(), r.getBottom(), r.getX() + c, r.getBottom());
        path.lineTo (r.getRight(), r.getBottom());
        return path;
    };

    g.setGradientFill ({ palette.panelTop, area.getX(), area.getY(), palette.panelBottom, area.getX(), area.getBottom(), false });
    g.fillPath (outline (area, corner));

    g.setColour (juce::Colours::black.withAlpha (0.35f));
    g.strokePath (outline (area.expanded (0.5f).translated (0.0f, 1.0f), corner + 0.5f), juce::PathStrokeType (1.0f));
    g.setColour (palette.panelBorder);
    g.strokePath (outline (area, corner), juce::PathStrokeType (1.0f));
    g.setColour (palette.panelHighlight);
    g.drawHorizontalLine ((int) area.getY() + 1, area.getX() + corner, area.getRight());
}

void ArtworkPainter::drawHorizontalScale (juce::Graphics& g, const Palette& palette, juce::Rectangle<int> bounds,
                                          const juce::String& caption, const juce::StringArray& marks,
                                          int centreTicks) const
{
    const MeasuredSlider slider (juce::Slider::LinearHorizontal, bounds, 0.0, 1.0, 1.0, false);
    const float x0 = slider.x (0.0);
    const float x1 = slider.x (1.0);
    // The look-and-feel strokes a one-pixel track at half the height; centre the groove on it.
    const float trackY = (float) bounds.getY() + (float) bounds.getHeight() * 0.5f + 0.5f;

    g.setColour (palette.caption);
    g.setFont (font (faces.medium, 10.0f, 0.12f));
    g.drawText (caption, juce::Rectangle<float> (x0 - 2.0f, (float) bounds.getY() + 1.0f, 100.0f, 11.0f),
                juce::Justification::centredLeft, false);

    const juce::Rectangle<float> groove (x0 - 3.0f, trackY - 2.0f, x1 - x0 + 6.0f, 4.0f);
    g.setColour (palette.groove);
    g.fillRoundedRectangle (groove, 2.0f);
    g.setColour (palette.grooveHighlight);
    g.drawHorizontalLine ((int) groove.getBottom(), groove.getX() + 2.0f, groove.getRight() - 2.0f);

    const int tickCount = centreTicks + 2;
    for (int i = 0; i < tickCount; ++i)
    {
        const float tx = std::round (x0 + (x1 - x0) * (float) i / (float) (tickCount - 1));
        const bool major = i == 0 || i == tickCount - 1 || (tickCount % 2 == 1 && i == tickCount / 2);
        g.setColour (palette.tick);
        g.fillRect (juce::Rectangle<float> (tx - 0.5f, trackY + 5.0f, 1.0f, major ? 4.0f : 2.5f));
    }

    g.setColour (palette.scale);
    g.setFont (font (faces.regular, 8.5f, 0.06f));
    for (int i = 0; i < marks.size(); ++i)
    {
        const float mx = x0 + (x1 - x0) * (float) i / (float) juce::jmax (1, marks.size() - 1);
        const float top = trackY + 9.5f;
        if (i == 0)
            g.drawText (marks[i], juce::Rectangle<float> (x0 - 3.0f, top, 60.0f, 10.0f), juce::Justification::centredLeft, false);
        else if (i == marks.size() - 1)
            g.drawText (marks[i], juce::Rectangle<float> (x1 - 57.0f, top, 60.0f, 10.0f), juce::Justification::centredRight, false);
        else
            g.drawText (marks[i], juce::Rectangle<float> (mx - 30.0f, top, 60.0f, 10.0f), juce::Justification::centred, false);
    }
}

void ArtworkPainter::drawGainScale (juce::Graphics& g, const Palette& palette) const
{
    const juce::Rectangle<int> bounds (12, 71, 37, 196);
    const MeasuredSlider slider (juce::Slider::LinearVertical, bounds, -90.0, 10.0, 3.0, true);

    // The track runs from the thumb down to 13 pixels below the slider's own bounds.
    const float trackX = (float) bounds.getX() + (float) bounds.getWidth() * 0.5f + 0.5f;
    const float top = slider.y (10.0);
    const float bottom = (float) bounds.getY() + (float) bounds.getHeight() + 13.0f;

    g.setColour (palette.caption);
    g.setFont (font (faces.medium, 10.0f, 0.12f));
    g.drawText ("GAIN", juce::Rectangle<float> (trackX - 20.0f, 43.0f, 40.0f, 11.0f), juce::Justification::centred, false);

    const juce::Rectangle<float> groove (trackX - 2.0f, top - 3.0f, 4.0f, bottom - top + 3.0f);
    g.setColour (palette.groove);
    g.fillRoundedRectangle (groove, 2.0f);
    g.setColour (palette.grooveHighlight);
    g.drawVerticalLine ((int) groove.getRight(), groove.getY() + 2.0f, groove.getBottom() - 2.0f);

    struct Mark { double value; const char* text; };
    const Mark marks[] = { { 10.0, "+10" }, { 0.0, "0" }, { -10.0, "-10" }, { -30.0, "-30" }, { -90.0, "-90" } };

    g.setFont (font (faces.regular, 8.0f));
    for (const auto& mark : marks)
    {
        const float my = std::round (slider.y (mark.value));
        g.setColour (palette.tick);
        g.fillRect (juce::Rectangle<float> (trackX - 8.0f, my - 0.5f, mark.value == 0.0 ? 4.0f : 3.0f, 1.0f));
        g.setColour (mark.value == 0.0 ? palette.caption : palette.scale);
        g.drawText (mark.text, juce::Rectangle<float> (trackX - 30.0f, my - 5.0f, 20.0f, 10.0f),
                    juce::Justification::centredRight, false);
    }

    g.setColour (palette.scale);
    g.setFont (font (faces.regular, 8.0f, 0.06f));
    g.drawText ("dB", juce::Rectangle<float> (trackX - 30.0f, bottom - 9.0f, 20.0f, 10.0f), juce::Justification::centredRight, false);
}

void ArtworkPainter::drawKnobCaption (juce::Graphics& g, const Palette& palette, juce::Rectangle<int> knob,
                                      const juce::String& caption, const juce::String& low,
                                      const juce::String& high) const
{
    const auto area = knob.toFloat();
    g.setColour (palette.caption);
    g.setFont (font (faces.medium, 10.5f, 0.14f));
    g.drawText (caption, juce::Rectangle<float> (area.getCentreX() - 60.0f, area.getY() - 16.0f, 120.0f, 12.0f),
                juce::Justification::centred, false);

    // The ends of the knob's ring sit at its lower corners; the range reads beside them.
    g.setColour (palette.scale);
    g.setFont (font (faces.regular, 8.5f, 0.06f));
    g.drawText (low, juce::Rectangle<float> (area.getX() - 28.0f, area.getY() + 62.0f, 40.0f, 10.0f),
                juce::Justification::centredRight, false);
    g.drawText (high, juce::Rectangle<float> (area.getRight() - 12.0f, area.getY() + 62.0f, 40.0f, 10.0f),
                juce::Justification::centredLeft, false);
}

void ArtworkPainter::drawThemeSwitch (juce::Graphics& g, const Palette& palette, int variant) const
{
    // The hotspot (322, 74, 166, 32) switches between the two schemes: show it as a
    // small selector with a swatch per scheme, the current one ringed.
    const juce::Rectangle<float> pill (341.0f, 80.0f, 128.0f, 20.0f);
    g.setColour (palette.groove.withAlpha (0.55f));
    g.fillRoundedRectangle (pill, 10.0f);
    g.setColour (palette.tick.withAlpha (0.8f));
    g.drawRoundedRectangle (pill, 10.0f, 1.0f);

    g.setColour (palette.scale);
    g.setFont (font (faces.medium, 8.5f, 0.22f));
    g.drawText ("COLOUR", pill.withTrimmedLeft (13.0f).withWidth (60.0f), juce::Justification::centredLeft, false);

    const juce::Colour swatches[] = { juce::Colour (0xff3b3f47), juce::Colour (0xff2d5d80) };
    for (int i = 0; i < 2; ++i)
    {
        const juce::Point<float> centre (pill.getRight() - 38.0f + 17.0f * (float) i, pill.getCentreY());
        g.setColour (swatches[i]);
        g.fillEllipse (juce::Rectangle<float> (9.0f, 9.0f).withCentre (centre));
        g.setColour (juce::Colours::white.withAlpha (0.25f));
        g.drawEllipse (juce::Rectangle<float> (9.0f, 9.0f).withCentre (centre), 0.8f);
        if (i == variant)
        {
            g.setColour (Palette::accentRed);
            g.drawEllipse (juce::Rectangle<float> (14.0f, 14.0f).withCentre (centre), 1.4f);
        }
    }
}

void ArtworkPainter::drawScopeBay (juce::Graphics& g, const Palette& palette) const
{
    // The scope draws no background of its own: its screen is part of the window.
    const juce::Rectangle<float> view (286.0f, 224.0f, 236.0f, 83.0f);
    const auto bay = view.expanded (2.0f, 2.0f).withHeight (100.0f);

    g.setColour (palette.panelBorder);
    g.fillRoundedRectangle (bay.expanded (1.0f), 5.0f);
    g.setGradientFill ({ palette.screen.brighter (0.08f), 0.0f, bay.getY(), palette.screen, 0.0f, bay.getY() + 30.0f, false });
    g.fillRoundedRectangle (bay, 4.0f);

    g.setColour (palette.screenGrid);
    for (int i = 1; i < 8; ++i)
        g.drawVerticalLine ((int) (view.getX() + view.getWidth() * (float) i / 8.0f), view.getY() + 2.0f, (float) windowHeight);
    const float mid = view.getY() + view.getHeight() * 0.5f;
    g.drawHorizontalLine ((int) (view.getY() + view.getHeight() * 0.25f), view.getX() + 2.0f, view.getRight() - 2.0f);
    g.drawHorizontalLine ((int) (view.getY() + view.getHeight() * 0.75f), view.getX() + 2.0f, view.getRight() - 2.0f);
    g.setColour (palette.screenGrid.withMultipliedAlpha (2.2f));
    g.drawHorizontalLine ((int) mid, view.getX() + 2.0f, view.getRight() - 2.0f);

    // Legend to the left of the screen.
    g.setColour (palette.caption);
    g.setFont (font (faces.medium, 10.0f, 0.14f));
    g.drawText ("SCOPE", juce::Rectangle<float> (206.0f, 230.0f, 70.0f, 11.0f), juce::Justification::centredRight, false);
    g.setFont (font (faces.regular, 8.5f, 0.1f));
    const std::pair<juce::Colour, const char*> legend[] = { { Palette::steelBlue, "LEFT" }, { Palette::accentRed, "RIGHT" } };
    for (int i = 0; i < 2; ++i)
    {
        const float y = 247.0f + 12.0f * (float) i;
        g.setColour (legend[i].first);
        g.fillRoundedRectangle (juce::Rectangle<float> (270.0f, y + 2.0f, 6.0f, 6.0f), 1.5f);
        g.setColour (palette.scale);
        g.drawText (legend[i].second, juce::Rectangle<float> (216.0f, y, 50.0f, 10.0f), juce::Justification::centredRight, false);
    }
}

void ArtworkPainter::drawEchoMark (juce::Graphics& g, juce::Point<float> centre, float radius) const
{
    g.setColour (Palette::accentRed);
    g.fillEllipse (juce::Rectangle<float> (radius * 1.1f, radius * 1.1f).withCentre (centre));
    for (int i = 1; i <= 2; ++i)
    {
        juce::Path arc;
        const float r = radius * (0.55f + 0.55f * (float) i);
        arc.addCentredArc (centre.x, centre.y, r, r, 0.0f, 0.22f * juce::MathConstants<float>::pi,
                           0.78f * juce::MathConstants<float>::pi, true);
        g.setColour (Palette::accentRed.withAlpha (i == 1 ? 0.8f : 0.45f));
        g.strokePath (arc, juce::PathStrokeType (radius * 0.24f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }
}

void ArtworkPainter::drawHeader (juce::Graphics& g, const Palette& palette) const
{
    g.setGradientFill ({ palette.headerTop, 0.0f, 0.0f, palette.headerBottom, 0.0f, 30.0f, false });
    g.fillRect (0, 0, windowWidth, 30);
    g.setColour (palette.panelBorder);
    g.drawHorizontalLine (30, 0.0f, (float) windowWidth);
    g.setGradientFill ({ Palette::accentRed.withAlpha (0.85f), 0.0f, 0.0f, Palette::accentRed.withAlpha (0.0f), 340.0f, 0.0f, false });
    g.fillRect (0, 30, 340, 1);

    // The name sits in the top-left area that opens the about panel.
    drawEchoMark (g, { 15.0f, 15.0f }, 7.0f);
    g.setColour (Palette::textWhite);
    g.setFont (font (faces.bold, 16.5f, 0.2f));
    g.drawText ("LUMARRO", juce::Rectangle<float> (33.0f, 5.0f, 130.0f, 20.0f), juce::Justification::centredLeft, false);

    g.setColour (palette.scale);
    g.setFont (font (faces.regular, 9.0f, 0.3f));
    g.drawText ("STEREO DELAY", juce::Rectangle<float> (172.0f, 10.0f, 120.0f, 11.0f), juce::Justification::centredLeft, false);

    g.setColour (palette.caption);
    g.setFont (font (faces.medium, 9.0f, 0.22f));
    g.drawText ("MIDI", juce::Rectangle<float> (540.0f, 10.0f, 47.0f, 11.0f), juce::Justification::centredRight, false);
}

juce::Image ArtworkPainter::background (const Palette& palette, int variant) const
{
    juce::Image image (juce::Image::RGB, windowWidth, windowHeight, true);
    juce::Graphics g (image);

    g.setGradientFill ({ palette.backgroundTop, 0.0f, 0.0f, palette.backgroundBottom, 0.0f, (float) windowHeight, false });
    g.fillAll();
    g.setGradientFill ({ juce::Colours::white.withAlpha (0.035f), 380.0f, 120.0f,
                         juce::Colours::transparentWhite, 380.0f, 420.0f, true });
    g.fillAll();

    drawHeader (g, palette);

    drawPanel (g, { 6.0f, 36.0f, 192.0f, 263.0f }, palette);
    drawPanel (g, { 204.0f, 36.0f, 352.0f, 182.0f }, palette);
    drawPanelDockedRight (g, { 562.0f, 154.0f, (float) windowWidth + 2.0f - 562.0f, 110.0f }, palette);

    // Left column: the gain fader and the five horizontal sliders with their scales.
    drawGainScale (g, palette);
    g.setColour (palette.panelBorder);
    g.drawVerticalLine (51, 44.0f, 292.0f);
    g.setColour (palette.panelHighlight);
    g.drawVerticalLine (52, 44.0f, 292.0f);

    drawHorizontalScale (g, palette, { 48, 47, 142, 40 }, "INPUT BALANCE", { "L", "C", "R" }, 3);
    drawHorizontalScale (g, palette, { 48, 90, 142, 40 }, "L/R CROSS", { "0 %", "100 %" }, 3);
    g.setColour (palette.panelBorder);
    g.drawHorizontalLine (139, 58.0f, 190.0f);
    g.setColour (palette.panelHighlight);
    g.drawHorizontalLine (140, 58.0f, 190.0f);
    drawHorizontalScale (g, palette, { 48, 149, 142, 40 }, "LOW CUT", { "20 Hz", "500 Hz" }, 3);
    drawHorizontalScale (g, palette, { 48, 193, 142, 40 }, "HIGH CUT", { "20 kHz", "500 Hz" }, 3);
    g.setColour (palette.panelBorder);
    g.drawHorizontalLine (241, 58.0f, 190.0f);
    g.setColour (palette.panelHighlight);
    g.drawHorizontalLine (242, 58.0f, 190.0f);
    drawHorizontalScale (g, palette, { 48, 251, 142, 40 }, "OUTPUT", { "DRY", "MIX", "WET" }, 3);

    // Centre: ping-pong taps, each echo quieter and on the other side, as the panel's emblem.
    g.setColour (palette.tick.withAlpha (0.7f));
    g.drawHorizontalLine (57, 226.0f, 534.0f);
    for (int i = 0; i < 16; ++i)
    {
        const float amplitude = 15.0f * std::pow (0.86f, (float) i);
        const float x = 232.0f + 19.0f * (float) i;
        const bool left = i % 2 == 0;
        const auto colour = left ? Palette::steelBlue.brighter (0.3f) : Palette::accentRed;
        g.setColour (colour.withAlpha (0.85f * std::pow (0.92f, (float) i)));
        g.fillRoundedRectangle (juce::Rectangle<float> (x, left ? 56.0f - amplitude : 58.0f, 4.0f, amplitude), 2.0f);
    }

    drawThemeSwitch (g, palette, variant);
    drawKnobCaption (g, palette, { 295, 124, 70, 70 }, "FEEDBACK", "0 %", "110 %");
    drawKnobCaption (g, palette, { 446, 124, 70, 70 }, "DELAY TIME", "MIN", "MAX");

    // Right: the mode selector.
    g.setColour (palette.caption);
    g.setFont (font (faces.medium, 10.0f, 0.14f));
    g.drawText ("MODE", juce::Rectangle<float> (562.0f, 161.0f, 58.0f, 11.0f), juce::Justification::centred, false);

    drawScopeBay (g, palette);

    g.setColour (palette.scale);
    g.setFont (font (faces.medium, 9.0f, 0.32f));
    g.drawText ("QUELLORY", juce::Rectangle<float> (530.0f, 282.0f, 82.0f, 11.0f), juce::Justification::centredRight, false);
    g.setFont (font (faces.regular, 8.0f, 0.1f));
    g.setColour (palette.tick);
    g.drawText ("v1.1", juce::Rectangle<float> (530.0f, 293.0f, 82.0f, 10.0f), juce::Justification::centredRight, false);

    return image;
}

//==============================================================================
void ArtworkPainter::drawKnobFrame (juce::Graphics& g, float proportion, juce::Colour accent) const
{
    const juce::Point<float> centre (35.0f, 35.0f);
    const float angle = knobStartAngle + proportion * (knobEndAngle - knobStartAngle);

    // Scale dots around the ring.
    for (int i = 0; i <= 10; ++i)
    {
        const float a = knobStartAngle + (float) i / 10.0f * (knobEndAngle - knobStartAngle);
        const float size = (i == 0 || i == 10 || i == 5) ? 2.2f : 1.6f;
        const bool lit = (float) i / 10.0f <= proportion + 1.0e-4f;
        g.setColour (lit ? accent.withMultipliedBrightness (1.1f) : juce::Colour (0xff4d535d));
        g.fillEllipse (juce::Rectangle<float> (size, size).withCentre (onCircle (centre, 33.0f, a)));
    }

    // Value arc: a dark channel, the lit part with a soft glow.
    const float arcRadius = 28.5f;
    juce::Path channel;
    channel.addCentredArc (centre.x, centre.y, arcRadius, arcRadius, 0.0f, knobStartAngle, knobEndAngle, true);
    g.setColour (juce::Colour (0xff08090b));
    g.strokePath (channel, juce::PathStrokeType (4.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

    if (proportion > 0.0f)
    {
        juce::Path value;
        value.addCentredArc (centre.x, centre.y, arcRadius, arcRadius, 0.0f, knobStartAngle, angle, true);
        g.setColour (accent.withAlpha (0.25f));
        g.strokePath (value, juce::PathStrokeType (6.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
        g.setColour (accent);
        g.strokePath (value, juce::PathStrokeType (2.6f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }

    // Shadow under the body.
    for (int i = 0; i < 4; ++i)
    {
        g.setColour (juce::Colours::black.withAlpha (0.16f));
        g.fillEllipse (juce::Rectangle<float> (46.0f + 2.0f * (float) i, 46.0f + 2.0f * (float) i)
                           .withCentre (centre.translated (0.0f, 2.5f)));
    }

    // Body: a machined skirt with knurling that turns with the knob, and a brushed cap.
    const auto body = juce::Rectangle<float> (46.0f, 46.0f).withCentre (centre);
    g.setGradientFill ({ juce::Colour (0xff4f555f), centre.x, body.getY(), juce::Colour (0xff17191d), centre.x, body.getBottom(), false });
    g.fillEllipse (body);

    g.setColour (juce::Colours::black.withAlpha (0.35f));
    for (int i = 0; i < 36; ++i)
    {
        const float a = angle + (float) i / 36.0f * juce::MathConstants<float>::twoPi;
        g.drawLine (juce::Line<float> (onCircle (centre, 19.5f, a), onCircle (centre, 22.5f, a)), 0.9f);
    }

    const auto cap = body.reduced (5.0f);
    g.setGradientFill ({ juce::Colour (0xff3d424a), cap.getX(), cap.getY(), juce::Colour (0xff1f2227), cap.getRight(), cap.getBottom(), false });
    g.fillEllipse (cap);
    g.setGradientFill ({ juce::Colours::white.withAlpha (0.22f), centre.x, cap.getY(), juce::Colours::white.withAlpha (0.0f), centre.x, centre.y + 4.0f, false });
    g.drawEllipse (cap.reduced (0.5f), 1.0f);
    g.setGradientFill ({ juce::Colours::white.withAlpha (0.28f), centre.x, body.getY(), juce::Colours::white.withAlpha (0.0f), centre.x, centre.y, false });
    g.drawEllipse (body.reduced (0.5f), 1.0f);

    // Pointer: a bright line with an accent tip.
    const auto inner = onCircle (centre, 6.0f, angle);
    const auto outer = onCircle (centre, 15.0f, angle);
    g.setColour (juce::Colours::black.withAlpha (0.4f));
    g.drawLine (juce::Line<float> (inner, outer).withShortenedStart (0.0f), 4.0f);
    g.setColour (Palette::textWhite);
    g.drawLine (juce::Line<float> (inner, outer), 2.4f);
    g.setColour (accent);
    g.fillEllipse (juce::Rectangle<float> (3.2f, 3.2f).withCentre (onCircle (centre, 15.5f, angle)));
}

juce::Image ArtworkPainter::knobFilmstrip (juce::Colour accent) const
{
    juce::Image strip (juce::Image::ARGB, knobSize, knobSize * knobFrames, true);
    juce::Graphics g (strip);
    for (int frame = 0; frame < knobFrames; ++frame)
    {
        juce::Graphics::ScopedSaveState state (g);
        g.reduceClipRegion (0, frame * knobSize, knobSize, knobSize);
        g.setOrigin (0, frame * knobSize);
        drawKnobFrame (g, (float) frame / (float) (knobFrames - 1), accent);
    }
    return strip;
}

juce::Image ArtworkPainter::sliderThumb() const
{
    // Drawn scaled to 20 x 20 with its top edge 2 pixels lower than centred, over a dot
    // of the track colour: the ring's centre sits that much above the image's centre,
    // and its hole lets the coloured dot show through.
    juce::Image image (juce::Image::ARGB, 27, 27, true);
    juce::Graphics g (image);
    const juce::Point<float> centre (13.5f, 13.5f - 2.0f * 27.0f / 20.0f);
    const float outer = 9.8f;
    const float hole = 4.6f;

    // The shadow keeps the hole clear too, so the dot shows in its pure colour.
    const auto holeArea = juce::Rectangle<float> (hole * 2.0f, hole * 2.0f).withCentre (centre);
    for (int i = 0; i < 3; ++i)
    {
        juce::Path shadow;
        shadow.addEllipse (juce::Rectangle<float> (outer * 2.0f + 2.0f * (float) i, outer * 2.0f + 2.0f * (float) i)
                               .withCentre (centre.translated (0.0f, 2.0f)));
        shadow.addEllipse (holeArea);
        shadow.setUsingNonZeroWinding (false);
        g.setColour (juce::Colours::black.withAlpha (0.18f));
        g.fillPath (shadow);
    }

    juce::Path ring;
    ring.addEllipse (juce::Rectangle<float> (outer * 2.0f, outer * 2.0f).withCentre (centre));
    ring.addEllipse (juce::Rectangle<float> (hole * 2.0f, hole * 2.0f).withCentre (centre));
    ring.setUsingNonZeroWinding (false);
    g.setGradientFill ({ juce::Colour (0xfff4f5f7), centre.x, centre.y - outer, juce::Colour (0xff8e949d), centre.x, centre.y + outer, false });
    g.fillPath (ring);

    g.setColour (juce::Colour (0xff2a2d33));
    g.drawEllipse (juce::Rectangle<float> (hole * 2.0f, hole * 2.0f).withCentre (centre), 1.0f);
    g.setColour (juce::Colours::black.withAlpha (0.45f));
    g.drawEllipse (juce::Rectangle<float> (outer * 2.0f, outer * 2.0f).withCentre (centre), 0.8f);
    return image;
}

juce::Image ArtworkPainter::gearIcon() const
{
    juce::Image image (juce::Image::ARGB, 22, 22, true);
    juce::Graphics g (image);
    const juce::Point<float> centre (11.0f, 11.0f);

    juce::Path gear;
    constexpr int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i)
    {
        // Each tooth: two points on the outer radius, two on the root radius.
        const float a = (float) i / (float) (teeth * 4) * juce::MathConstants<float>::twoPi
                        - juce::MathConstants<float>::pi / (float) (teeth * 4);
        const float r = (i % 4 == 0 || i % 4 == 1) ? 10.0f : 7.6f;
        const auto p = onCircle (centre, r, a);
        if (i == 0)
            gear.startNewSubPath (p);
        else
            gear.lineTo (p);
    }
    gear.closeSubPath();
    gear.addEllipse (juce::Rectangle<float> (7.0f, 7.0f).withCentre (centre));
    gear.setUsingNonZeroWinding (false);

    g.setColour (juce::Colours::black.withAlpha (0.4f));
    g.fillPath (gear, juce::AffineTransform::translation (0.0f, 1.0f));
    g.setGradientFill ({ juce::Colour (0xffeef0f3), centre.x, 1.0f, juce::Colour (0xffa9afb8), centre.x, 21.0f, false });
    g.fillPath (gear);
    return image;
}

juce::Image ArtworkPainter::modeButton (const juce::String& text, bool down) const
{
    // The buttons stand flush against the window's right edge, which cuts their last
    // two columns, so the text centres on the visible 51 pixels.
    juce::Image image (juce::Image::ARGB, 53, 18, true);
    juce::Graphics g (image);
    const juce::Rectangle<float> visible (0.0f, 0.0f, 51.0f, 18.0f);

    if (down)
    {
        g.setGradientFill ({ juce::Colour (0xfff0204a), 0.0f, 0.0f, juce::Colour (0xffb3002a), 0.0f, 18.0f, false });
        g.fillAll();
        g.setColour (juce::Colours::white.withAlpha (0.3f));
        g.drawHorizontalLine (0, 0.0f, 53.0f);
        g.setColour (juce::Colour (0xff6e0018));
        g.drawVerticalLine (0, 0.0f, 18.0f);
        g.drawHorizontalLine (17, 0.0f, 53.0f);
        g.setColour (Palette::textWhite);
    }
    else
    {
        g.setColour (juce::Colours::black.withAlpha (0.34f));
        g.fillRoundedRectangle (visible.withWidth (60.0f), 2.0f);
        g.setColour (juce::Colours::white.withAlpha (0.09f));
        g.drawRoundedRectangle (visible.withWidth (60.0f).reduced (0.5f), 2.0f, 1.0f);
        g.setColour (juce::Colour (0xffa9b0ba));
    }

    g.setFont (font (faces.medium, 9.5f, 0.16f));
    g.drawText (text, visible, juce::Justification::centred, false);
    return image;
}

juce::Image ArtworkPainter::modePlaceholder (bool down) const
{
    // Shown only until the editor swaps in the real mode images, so keep it neutral.
    juce::Image image (juce::Image::ARGB, 113, 110, true);
    juce::Graphics g (image);
    const auto area = juce::Rectangle<float> (113.0f, 110.0f).reduced (2.0f);
    g.setColour (down ? Palette::accentRed.withAlpha (0.85f) : juce::Colours::black.withAlpha (0.3f));
    g.fillRoundedRectangle (area, 6.0f);
    g.setColour (juce::Colours::white.withAlpha (0.12f));
    g.drawRoundedRectangle (area.reduced (0.5f), 6.0f, 1.0f);
    return image;
}

juce::Image ArtworkPainter::welcomePicture() const
{
    // Drawn at (200, 19) in the window; the panel's title label sits at (21, 71) and its
    // link at (25, 238) of this picture, so those bands stay calm and dark.
    juce::Image image (juce::Image::ARGB, 220, 280, true);
    juce::Graphics g (image);
    const auto card = juce::Rectangle<float> (220.0f, 280.0f).reduced (1.0f);

    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.fillRoundedRectangle (card.expanded (1.0f), 11.0f);
    g.setGradientFill ({ juce::Colour (0xff22252b), 0.0f, 0.0f, juce::Colour (0xff0f1013), 0.0f, 280.0f, false });
    g.fillRoundedRectangle (card, 10.0f);
    g.setGradientFill ({ Palette::accentRed.withAlpha (0.18f), 110.0f, 40.0f, juce::Colours::transparentBlack, 110.0f, 150.0f, true });
    g.fillRoundedRectangle (card, 10.0f);
    g.setColour (juce::Colours::white.withAlpha (0.12f));
    g.drawRoundedRectangle (card.reduced (0.5f), 10.0f, 1.0f);

    // Emblem: a source and its echoes, bouncing left and right.
    drawEchoMark (g, { 98.0f, 40.0f }, 14.0f);
    g.setColour (Palette::steelBlue.withAlpha (0.9f));
    g.fillEllipse (juce::Rectangle<float> (8.0f, 8.0f).withCentre ({ 68.0f, 40.0f }));
    g.setColour (Palette::steelBlue.withAlpha (0.5f));
    g.fillEllipse (juce::Rectangle<float> (5.0f, 5.0f).withCentre ({ 55.0f, 40.0f }));

    g.setColour (juce::Colour (0xff8e96a2));
    g.setFont (font (faces.regular, 9.5f, 0.35f));
    g.drawText ("STEREO DELAY", juce::Rectangle<float> (0.0f, 98.0f, 220.0f, 12.0f), juce::Justification::centred, false);

    juce::ColourGradient rule (Palette::accentRed.withAlpha (0.0f), 30.0f, 0.0f, Palette::accentRed.withAlpha (0.0f), 190.0f, 0.0f, false);
    rule.addColour (0.5, Palette::accentRed.withAlpha (0.8f));
    g.setGradientFill (rule);
    g.fillRect (30, 119, 160, 1);

    const char* lines[] = { "Four time modes with tempo sync",
                            "Ping-pong cross-feed",
                            "Filtered feedback up to 110 %",
                            "MIDI learn on every control" };
    g.setFont (font (faces.regular, 10.5f, 0.02f));
    for (int i = 0; i < 4; ++i)
    {
        const float y = 132.0f + 17.0f * (float) i;
        g.setColour (Palette::accentRed);
        g.fillEllipse (juce::Rectangle<float> (3.0f, 3.0f).withCentre ({ 26.0f, y + 6.0f }));
        g.setColour (juce::Colour (0xffd5d9df));
        g.drawText (lines[i], juce::Rectangle<float> (34.0f, y, 180.0f, 12.0f), juce::Justification::centredLeft, false);
    }

    g.setColour (juce::Colour (0xff7f8793));
    g.setFont (font (faces.medium, 9.0f, 0.3f));
    g.drawText ("DESIGNED BY QUELLORY", juce::Rectangle<float> (0.0f, 211.0f, 220.0f, 11.0f), juce::Justification::centred, false);

    g.setColour (juce::Colours::black.withAlpha (0.35f));
    g.fillRoundedRectangle (juce::Rectangle<float> (22.0f, 236.0f, 176.0f, 26.0f), 13.0f);
    g.setColour (juce::Colours::white.withAlpha (0.08f));
    g.drawRoundedRectangle (juce::Rectangle<float> (22.0f, 236.0f, 176.0f, 26.0f).reduced (0.5f), 13.0f, 1.0f);

    g.setColour (juce::Colour (0xff5d6470));
    g.setFont (font (faces.regular, 7.5f, 0.15f));
    g.drawText ("CLICK ANYWHERE TO CLOSE", juce::Rectangle<float> (0.0f, 266.0f, 220.0f, 9.0f), juce::Justification::centred, false);
    return image;
}

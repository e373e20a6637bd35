#pragma once

#include "Palette.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Draws every picture the plug-in embeds: the two window backgrounds, the knob
    filmstrips, the slider thumb, the gear, the mode buttons and the about picture.

    The backgrounds carry all static captions and scales of the window, so their
    positions follow the editor's control bounds; the scales are placed with real
    sliders laid out by the same look-and-feel base the editor draws with.
*/
class ArtworkPainter
{
public:
    struct Typefaces
    {
        juce::Typeface::Ptr regular, medium, bold;
    };

    explicit ArtworkPainter (Typefaces typefaces);

    juce::Image background (const Palette& palette, int variant) const;
    juce::Image knobFilmstrip (juce::Colour accent) const;
    juce::Image sliderThumb() const;
    juce::Image gearIcon() const;
    juce::Image modeButton (const juce::String& text, bool down) const;
    juce::Image modePlaceholder (bool down) const;
    juce::Image welcomePicture() const;

    static constexpr int knobFrames = 127;
    static constexpr int knobSize = 70;

private:
    juce::Font font (const juce::Typeface::Ptr& face, float height, float kerning = 0.0f) const;

    void drawKnobFrame (juce::Graphics& g, float proportion, juce::Colour accent) const;
    void drawPanel (juce::Graphics& g, juce::Rectangle<float> area, const Palette& palette) const;
    void drawPanelDockedRight (juce::Graphics& g, juce::Rectangle<float> area, const Palette& palette) const;
    void drawHorizontalScale (juce::Graphics& g, const Palette& palette, juce::Rectangle<int> bounds,
                              const juce::String& caption, const juce::StringArray& marks,
                              int centreTicks) const;
    void drawGainScale (juce::Graphics& g, const Palette& palette) const;
    void drawKnobCaption (juce::Graphics& g, const Palette& palette, juce::Rectangle<int> knob,
                          const juce::String& caption, const juce::String& low,
                          const juce::String& high) const;
    void drawThemeSwitch (juce::Graphics& g, const Palette& palette, int variant) const;
    void drawScopeBay (juce::Graphics& g, const Palette& palette) const;
    void drawHeader (juce::Graphics& g, const Palette& palette) const;
    void drawEchoMark (juce::Graphics& g, juce::Point<float> centre, float radius) const;

    Typefaces faces;
};

#pragma once

#include <juce_graphics/juce_graphics.h>

/** The colours of one background scheme. Both schemes share the accents, so the
    knobs, thumbs and buttons sit equally well on either.
*/
struct Palette
{
    juce::Colour backgroundTop, backgroundBottom;
    juce::Colour panelTop, panelBottom, panelBorder, panelHighlight;
    juce::Colour headerTop, headerBottom;
    juce::Colour groove, grooveHighlight;
    juce::Colour caption, scale, tick;
    juce::Colour screen, screenGrid;

    static Palette graphite();
    static Palette midnight();

    // Shared accents: the scope's two traces and the values the editor shows.
    static inline const juce::Colour accentRed { 0xffe10035 };
    static inline const juce::Colour steelBlue { 0xff3e6484 };
    static inline const juce::Colour feedbackTeal { 0xff2a9fc0 };
    static inline const juce::Colour textWhite { 0xfff2f4f7 };
};

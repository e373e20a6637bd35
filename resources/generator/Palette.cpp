#include "Palette.h"

Palette Palette::graphite()
{
    Palette p;
    p.backgroundTop = juce::Colour (0xff1d1f24);
    p.backgroundBottom = juce::Colour (0xff111215);
    p.panelTop = juce::Colour (0xff25282e);
    p.panelBottom = juce::Colour (0xff1b1d21);
    p.panelBorder = juce::Colour (0xff0c0d0f);
    p.panelHighlight = juce::Colour (0x1affffff);
    p.headerTop = juce::Colour (0xff2a2d33);
    p.headerBottom = juce::Colour (0xff1a1c20);
    p.groove = juce::Colour (0xff0a0b0d);
    p.grooveHighlight = juce::Colour (0x14ffffff);
    p.caption = juce::Colour (0xffc8cdd4);
    p.scale = juce::Colour (0xff7a818c);
    p.tick = juce::Colour (0xff4a505a);
    p.screen = juce::Colour (0xff0b0c0e);
    p.screenGrid = juce::Colour (0x10ffffff);
    return p;
}

Palette Palette::midnight()
{
    Palette p;
    p.backgroundTop = juce::Colour (0xff172532);
    p.backgroundBottom = juce::Colour (0xff0c141b);
    p.panelTop = juce::Colour (0xff1d2f3e);
    p.panelBottom = juce::Colour (0xff15222d);
    p.panelBorder = juce::Colour (0xff081017);
    p.panelHighlight = juce::Colour (0x1c9fd0ff);
    p.headerTop = juce::Colour (0xff213546);
    p.headerBottom = juce::Colour (0xff142230);
    p.groove = juce::Colour (0xff060c12);
    p.grooveHighlight = juce::Colour (0x189fd0ff);
    p.caption = juce::Colour (0xffd2e0ea);
    p.scale = juce::Colour (0xff7d97aa);
    p.tick = juce::Colour (0xff3f5a6e);
    p.screen = juce::Colour (0xff060b10);
    p.screenGrid = juce::Colour (0x149fd0ff);
    return p;
}

// Repaint costs of the controls the editor redraws most: a filmstrip knob and the scope.
// After the first paint a knob repaint is an image-cache look-up and one scaled draw.

#include "AltLookAndFeel.h"
#include "Oscillo.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace
{
void knobRepaint (benchmark::State& state)
{
    AltLookAndFeelDelayTime lookAndFeel;
    juce::Slider knob (juce::Slider::RotaryVerticalDrag, juce::Slider::NoTextBox);
    knob.setLookAndFeel (&lookAndFeel);
    knob.setRange (0.0, 1.0);
    knob.setBounds (0, 0, 70, 70);

    juce::Image target (juce::Image::ARGB, 70, 70, true);
    juce::Graphics g (target);
    int step = 0;
    for (auto _ : state)
    {
        knob.setValue ((double) (step++ % 127) / 126.0, juce::dontSendNotification);
        knob.paintEntireComponent (g, false);
        benchmark::DoNotOptimize (target.getPixelAt (35, 35));
    }
    knob.setLookAndFeel (nullptr);
}

void scopeRepaint (benchmark::State& state)
{
    Oscillo::ScopeSamples buffer {};
    for (int i = 0; i < Oscillo::scopeSize; ++i)
    {
        buffer[0][i] = 0.7f * std::sin ((float) i * 0.05f);
        buffer[1][i] = 0.5f * std::sin ((float) i * 0.08f);
    }

    Oscillo scope (&buffer, Oscillo::scopeSize);
    scope.setBounds (0, 0, 236, 83);
    juce::Image target (juce::Image::ARGB, 236, 83, true);
    juce::Graphics g (target);
    for (auto _ : state)
    {
        target.clear (target.getBounds());
        scope.paintEntireComponent (g, false);
        benchmark::DoNotOptimize (target.getPixelAt (100, 40));
    }
}
} // namespace

BENCHMARK (knobRepaint);
BENCHMARK (scopeRepaint);

int main (int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI juceGui;
    AltLookAndFeel lookAndFeel;
    juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);

    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    return 0;
}

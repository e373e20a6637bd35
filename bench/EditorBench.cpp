// The editor's costs as a user meets them: opening it (construction and first paint), a full
// repaint of the window, and the 50 ms timer tick when nothing has changed.

#include "SorvaneAudioProcessor.h"
#include "SorvaneAudioProcessorEditor.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
juce::Image windowImage()
{
    return { juce::Image::ARGB, SorvaneAudioProcessorEditor::editorWidth, SorvaneAudioProcessorEditor::editorHeight, true };
}

void editorOpen (benchmark::State& state)
{
    SorvaneAudioProcessor processor;
    auto target = windowImage();
    juce::Graphics g (target);

    for (auto _ : state)
    {
        // A first open: the pictures are decoded again, not taken from JUCE's image cache.
        state.PauseTiming();
        juce::ImageCache::releaseUnusedImages();
        state.ResumeTiming();

        std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
        static_cast<SorvaneAudioProcessorEditor&> (*editor).timerCallback();
        editor->paintEntireComponent (g, false);
        benchmark::DoNotOptimize (target.getPixelAt (300, 150));
        processor.editorBeingDeleted (editor.get());
    }
}

void editorFullRepaint (benchmark::State& state)
{
    SorvaneAudioProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    static_cast<SorvaneAudioProcessorEditor&> (*editor).timerCallback();
    auto target = windowImage();
    juce::Graphics g (target);

    for (auto _ : state)
    {
        editor->paintEntireComponent (g, false);
        benchmark::DoNotOptimize (target.getPixelAt (300, 150));
    }

    processor.editorBeingDeleted (editor.get());
}

void editorIdleTick (benchmark::State& state)
{
    SorvaneAudioProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    auto& sorvaneEditor = static_cast<SorvaneAudioProcessorEditor&> (*editor);
    sorvaneEditor.timerCallback();

    for (auto _ : state)
    {
        sorvaneEditor.timerCallback();
        benchmark::DoNotOptimize (processor.parametersChanged);
    }

    processor.editorBeingDeleted (editor.get());
}
} // namespace

BENCHMARK (editorOpen)->Unit (benchmark::kMillisecond);
BENCHMARK (editorFullRepaint)->Unit (benchmark::kMillisecond);
BENCHMARK (editorIdleTick)->Unit (benchmark::kMicrosecond);

int main (int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI juceGui;
    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
